// Find Duplicates over 100,000 game files of which a tenth are copies of
// others: rotated, mirrored, cut short, commented. It takes 90,000 files of
// the generated tree, writes 10,000 copies of some of them beside it (once;
// the same tree gives the same copies), and compares the search with
// `varnex-cli info` over the same files. The heap is counted here, so the
// peak the search adds on top of the open collection is measured exactly.
#include "collection/DocHost.h"
#include "collection/DuplicateFinder.h"
#include "collection/GameEntry.h"
#include "collection/VarnexDoc.h"

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::atomic<long long> g_live{0};
std::atomic<long long> g_peak{0};

void Counted(void* p)
{
    if (!p)
        throw std::bad_alloc();
    const long long live = g_live += static_cast<long long>(malloc_usable_size(p));
    long long peak = g_peak.load();
    while (live > peak && !g_peak.compare_exchange_weak(peak, live)) {
    }
}

} // namespace

void* operator new(std::size_t size)
{
    void* p = std::malloc(size ? size : 1);
    Counted(p);
    return p;
}
void operator delete(void* p) noexcept
{
    if (p)
        g_live -= static_cast<long long>(malloc_usable_size(p));
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    operator delete(p);
}

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kFiles = 100'000;
constexpr std::size_t kCopies = kFiles / 10;

std::vector<std::string> GameFiles(const fs::path& root)
{
    std::vector<std::string> files;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        std::string ext = it->path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
        if (it->is_regular_file() && (ext == ".sgf" || ext == ".mgt"))
            files.push_back(it->path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A copy of a record: kind 0-3 turns or mirrors every point, 4 cuts it after
// 60 to 120 moves, 5 puts a comment on every move.
std::string Copy(const std::string& text, std::size_t kind, std::size_t seed)
{
    std::string out;
    int moves = 0;
    const int cutAt = 60 + static_cast<int>(seed % 61);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool move = i + 5 < text.size() && (text[i] == ';') && (text[i + 1] == 'B' || text[i + 1] == 'W') &&
                          text[i + 2] == '[' && text[i + 5] == ']';
        if (!move) {
            out += text[i];
            continue;
        }
        if (kind == 4 && ++moves > cutAt) {
            out += ")";
            return out;
        }
        int x = text[i + 3] - 'a';
        int y = text[i + 4] - 'a';
        if (kind == 0)
            std::swap(x, y);
        else if (kind == 1)
            x = 18 - x;
        else if (kind == 2)
            x = 18 - x, y = 18 - y;
        else if (kind == 3)
            y = 18 - y, std::swap(x, y);
        out += ';';
        out += text[i + 1];
        out += '[';
        out += static_cast<char>('a' + x);
        out += static_cast<char>('a' + y);
        out += ']';
        if (kind == 5)
            out += "C[a comment on this move]";
        i += 5;
    }
    return out;
}

std::string ShellQuoted(const std::string& word)
{
    std::string quoted = "'";
    for (const char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: varnex-bench-dups GAMES_FOLDER COPIES_FOLDER [VARNEX_CLI]\n");
        return 2;
    }
    std::vector<std::string> games = GameFiles(argv[1]);
    if (games.size() < kFiles) {
        std::fprintf(stderr, "varnex-bench-dups: %zu game files in %s, %zu needed\n", games.size(), argv[1], kFiles);
        return 1;
    }
    games.resize(kFiles - kCopies);
    const fs::path copies = argv[2];
    if (GameFiles(copies).size() != kCopies) {
        fs::remove_all(copies);
        fs::create_directories(copies);
        for (std::size_t i = 0; i < kCopies; ++i) {
            const std::string name = (copies / ("copy" + std::to_string(100000 + i) + ".sgf")).string();
            std::ofstream(name, std::ios::binary) << Copy(ReadAll(games[i * 9]), i % 6, i);
        }
    }
    std::vector<std::string> files = games;
    for (const std::string& copy : GameFiles(copies))
        files.push_back(copy);

    // The collection as the window holds it, then the search on top of it.
    auto doc = std::make_unique<CVarnexDoc>();
    for (const std::string& path : files)
        doc->AddGameFile(path, 0);
    const long long collection = g_live.load();
    g_peak = collection;
    // As the window's search does: the paths are the finder's own copies.
    const auto start = Clock::now();
    auto finder = std::make_unique<CDuplicateFinder>();
    CDuplicateFinder::CFiles paths;
    doc->m_mapFiles.ForEach([&](const std::string& path, const CGameEntry&) { paths.push_back(finder->Track(path)); });
    // As the window's search does: only files of several games are read past their first game.
    const auto several = [&doc](const std::string& path) {
        const CGameEntry* entry = doc->m_mapFiles.Find(path);
        return entry != nullptr && entry->GameCount() > 1;
    };
    const auto groups = finder->FindGroups(paths, DefaultDocHost(), several);
    const double find = Seconds(start);
    const long long peak = g_peak.load() - collection;
    std::size_t grouped = 0;
    for (const CDuplicateGroup& group : groups.value_or(std::vector<CDuplicateGroup>{}))
        grouped += group.size();
    const double n = static_cast<double>(files.size());
    std::printf("Find Duplicates over %zu files (%zu copies): %.3f s, %zu groups of %zu files\n", files.size(), kCopies,
                find, groups ? groups->size() : 0, grouped);
    std::printf("  peak memory beyond the collection: %.0f bytes per file (target < 256)\n",
                static_cast<double>(peak) / n);
    std::printf("  keys kept after the search: %.0f bytes per file\n",
                static_cast<double>(g_live.load() - collection) / n);
    const auto again = Clock::now();
    finder->FindGroups(paths, DefaultDocHost(), several);
    std::printf("  a second search, nothing new: %.3f s\n", Seconds(again));

    if (argc > 3) {
        const fs::path list = fs::temp_directory_path() / "varnex-bench-dups-files";
        {
            std::ofstream out(list, std::ios::binary);
            for (const std::string& path : files)
                out << path << '\0';
        }
        const std::string command =
            "xargs -0 -a " + ShellQuoted(list.string()) + " " + ShellQuoted(argv[3]) + " info >/dev/null 2>&1";
        const auto infoStart = Clock::now();
        const int status = std::system(command.c_str());
        const double info = Seconds(infoStart);
        std::printf("varnex-cli info over the same files: %.3f s%s\n", info, status == 0 ? "" : " (failed)");
        std::printf("  ratio Find Duplicates/info: %.2f (target <= 3)\n", find / info);
        fs::remove(list);
    }
    return 0;
}
