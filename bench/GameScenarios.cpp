// Figures for the whole-game reader and its board: the corpus read and
// played to the end against a floor that opens each file, reads it whole and
// closes it; a 1,000-move analysed record with comments and variations; and
// a record of 20 MB. Prints; never fails.
#include "CorpusFiles.h"
#include "game/GameTimeline.h"
#include "reader/GameRecordReader.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

std::vector<std::string> Files(const fs::path& root)
{
    return SgfFilesUnder(root);
}

// Seconds of each of runs runs of f, sorted.
std::vector<double> Times(int runs, const std::function<void()>& f)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        f();
        times.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times;
}

std::size_t Floor(const std::vector<std::string>& files)
{
    static char buffer[65536];
    std::size_t bytes = 0;
    for (const std::string& path : files) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            continue;
        for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) > 0;)
            bytes += static_cast<std::size_t>(got);
        ::close(fd);
    }
    return bytes;
}

std::size_t ReadAndPlay(const std::vector<std::string>& files)
{
    std::size_t moves = 0;
    for (const std::string& path : files) {
        const SGameRecord record = ReadGameRecordFile(path);
        const CGameTimeline timeline(record);
        moves += static_cast<std::size_t>(timeline.AtEnd().moveNumber);
    }
    return moves;
}

// A game as an analysis program writes it: a comment on every move and, every
// tenth move, a variation of 20 moves beside the main line.
std::string AnalysedRecord(int moves)
{
    const auto point = [](int i, int salt) {
        std::string p;
        p += static_cast<char>('a' + (i * 7 + salt) % 19);
        p += static_cast<char>('a' + (i * 11 + salt * 3) % 19);
        return p;
    };
    const std::string comment = "C[Win rate 51.3% for black; the engine prefers a move on the other side. "
                                "Visits 1600, score lead 0.8, policy 0.12; an alternative is shown.]";
    std::string tail;
    for (int i = moves - 1; i >= 0; --i) {
        std::string node = std::string(i % 2 ? ";W[" : ";B[") + point(i, 0) + "]" + comment;
        if (i % 10 == 0 && i > 0) {
            std::string variation;
            for (int v = 0; v < 20; ++v)
                variation += std::string((i + v) % 2 ? ";W[" : ";B[") + point(i + v, 5) + "]" + comment;
            tail = "(" + node + tail + ")(" + variation + ")";
        } else {
            tail = node + tail;
        }
    }
    return "(;GM[1]FF[4]SZ[19]KM[6.5]PB[Black]PW[White]" + tail + ")";
}

void Report(const char* label, const std::vector<double>& times)
{
    std::printf("  %s: median %.2f ms, worst %.2f ms\n", label, times[times.size() / 2] * 1e3, times.back() * 1e3);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && argv[1][0] != '\0') {
        const std::vector<std::string> files = Files(argv[1]);
        if (!files.empty()) {
            Floor(files); // brings the files into the page cache
            std::size_t moves = 0;
            const double n = static_cast<double>(files.size());
            const double floor = Times(5, [&] { Floor(files); }).front();
            const double reader = Times(5, [&] { moves = ReadAndPlay(files); }).front();
            std::printf("game reader and board over the corpus: %zu files, %zu moves played\n", files.size(), moves);
            std::printf("  floor: %.0f files/s (open, read whole, close)\n", n / floor);
            std::printf("  read and played to the end: %.0f files/s\n", n / reader);
            std::printf("  ratio reader/floor: %.2f\n", floor / reader);
        }
    }

    const fs::path scratch = fs::temp_directory_path() / "varnex-bench-game";
    fs::create_directories(scratch);
    const std::string analysed = AnalysedRecord(1000);
    const fs::path analysedPath = scratch / "analysed.sgf";
    std::ofstream(analysedPath, std::ios::binary) << analysed;
    std::printf("a 1,000-move analysed record with variations (%zu bytes), target under 20 ms:\n", analysed.size());
    int played = 0;
    Report("read from the file and played to the end", Times(51, [&] {
               const SGameRecord record = ReadGameRecordFile(analysedPath.string());
               played = CGameTimeline(record).AtEnd().moveNumber;
           }));
    std::printf("  (%d moves on the main line)\n", played);
    {
        const SGameRecord record = ReadGameRecordFile(analysedPath.string());
        const CGameTimeline timeline(record);
        int n = 0;
        Report("one position, stepping through all 1,001", Times(1001, [&] { timeline.At(n++); }));
    }

    // 20 MB of moves: the largest record the reader should meet.
    std::string large = "(;SZ[19]";
    for (int i = 0; large.size() < 20'000'000; ++i)
        large += std::string(i % 2 ? ";W[" : ";B[") + static_cast<char>('a' + i * 7 % 19) +
                 static_cast<char>('a' + i * 13 % 19) + "]";
    large += ')';
    const fs::path largePath = scratch / "large.sgf";
    std::ofstream(largePath, std::ios::binary) << large;
    std::printf("a 20 MB record of %zu bytes:\n", large.size());
    Report("read from the file and played to the end", Times(5, [&] {
               const SGameRecord record = ReadGameRecordFile(largePath.string());
               played = CGameTimeline(record).AtEnd().moveNumber;
           }));
    std::printf("  (%d moves played)\n", played);
    std::error_code ec;
    fs::remove_all(scratch, ec);
    return 0;
}
