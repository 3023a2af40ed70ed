// Writes a tree of realistic game records for the benchmarks: folders of
// 1000 files, each a root node with the usual game information followed by
// 150 to 300 moves. The same seed always gives the same tree. A tree that is
// complete (its mark file names the count) is left as it is.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr int kFilesPerFolder = 1000;

const char* const kFamily[] = {"Cho", "Lee", "Kim", "Park", "Takemiya", "Kobayashi", "Otake", "Yoda", "Go",
                               "Nie", "Ma", "Chang", "Rin", "Sakata", "Honinbo", "Fujisawa", "Ishida", "Kato",
                               "Yamashita", "Iyama", "Shin", "Ke", "Gu", "Mi", "Tang", "Xie", "Choi", "Ohashi"};
const char* const kGiven[] = {"Chikun", "Sedol", "Jiwoo", "Junghwan", "Masaki", "Koichi", "Hideo", "Norimoto",
                              "Seigen", "Weiping", "Xiaochun", "Hao", "Kaiho", "Eio", "Shusaku", "Hideyuki",
                              "Yoshio", "Masao", "Keigo", "Yuta", "Jinseo", "Jie", "Li", "Yuting", "Weijie"};
const char* const kEvents[] = {"Kisei", "Meijin", "Honinbo", "Judan", "Tengen", "Oza", "Gosei", "Samsung Cup",
                               "LG Cup", "Ing Cup", "Chunlan Cup", "Fujitsu Cup", "Agon Kiriyama", "NHK Cup",
                               "Asian TV Cup", "Korean League", "Chinese A League", "Japan Club Cup"};
const char* const kPlaces[] = {"Tokyo", "Seoul", "Beijing", "Osaka", "Nagoya", "Shanghai", "Busan",
                               "Taipei", "Hangzhou", "Kyoto", "Online"};
const char* const kResults[] = {"B+R", "W+R", "B+0.5", "W+0.5", "B+1.5", "W+2.5", "B+3.5",
                                "W+4.5", "B+T", "W+T", "0", "Void", "?", "B+12.5"};
const char* const kKomi[] = {"6.5", "7.5", "5.5", "0.5", "0"};

template <std::size_t N>
const char* Pick(std::mt19937& rng, const char* const (&items)[N])
{
    return items[std::uniform_int_distribution<std::size_t>(0, N - 1)(rng)];
}

std::string Rank(std::mt19937& rng)
{
    const int kind = std::uniform_int_distribution<int>(0, 9)(rng);
    if (kind < 6)
        return std::to_string(std::uniform_int_distribution<int>(1, 9)(rng)) + "p";
    if (kind < 9)
        return std::to_string(std::uniform_int_distribution<int>(1, 7)(rng)) + "d";
    return std::to_string(std::uniform_int_distribution<int>(1, 20)(rng)) + "k";
}

std::string Player(std::mt19937& rng)
{
    return std::string(Pick(rng, kFamily)) + " " + Pick(rng, kGiven);
}

std::string Game(std::mt19937& rng, int index)
{
    std::ostringstream out;
    const int year = std::uniform_int_distribution<int>(1950, 2025)(rng);
    const int month = std::uniform_int_distribution<int>(1, 12)(rng);
    const int day = std::uniform_int_distribution<int>(1, 28)(rng);
    const int handicap = std::uniform_int_distribution<int>(0, 19)(rng) == 0 ? 2 : 0;
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", year, month, day);
    out << "(;GM[1]FF[4]CA[UTF-8]SZ[19]\n"
        << "PB[" << Player(rng) << "]PW[" << Player(rng) << "]BR[" << Rank(rng) << "]WR[" << Rank(rng) << "]\n"
        << "DT[" << date << "]EV[" << year << " " << Pick(rng, kEvents) << "]RO["
        << std::uniform_int_distribution<int>(1, 7)(rng) << "]\n"
        << "RE[" << Pick(rng, kResults) << "]KM[" << (handicap ? "0.5" : Pick(rng, kKomi)) << "]HA[" << handicap
        << "]PC[" << Pick(rng, kPlaces) << "]GN[Game " << index << "]\n";
    const int moves = std::uniform_int_distribution<int>(150, 300)(rng);
    std::uniform_int_distribution<int> coord(0, 18);
    for (int m = 0; m < moves; ++m) {
        out << ';' << (m % 2 ? 'W' : 'B') << '[' << static_cast<char>('a' + coord(rng))
            << static_cast<char>('a' + coord(rng)) << ']';
        if (m % 10 == 9)
            out << '\n';
    }
    out << ")\n";
    return out.str();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: varnex-gen-games FOLDER [COUNT]\n");
        return 2;
    }
    const fs::path root = argv[1];
    const long count = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 100000;
    if (count < 1 || count > 10000000) {
        std::fprintf(stderr, "varnex-gen-games: COUNT must be between 1 and 10000000\n");
        return 2;
    }
    const fs::path mark = root / "complete";
    {
        std::ifstream in(mark);
        long done = 0;
        if (in >> done && done == count) {
            std::printf("bench data: %ld game files already in %s\n", count, root.c_str());
            return 0;
        }
    }
    std::error_code ec;
    fs::remove_all(root, ec);
    std::mt19937 rng(20261208);
    for (long i = 0; i < count; ++i) {
        char folder[32];
        std::snprintf(folder, sizeof folder, "%03ld", i / kFilesPerFolder);
        const fs::path dir = root / folder;
        if (i % kFilesPerFolder == 0)
            fs::create_directories(dir);
        char name[32];
        std::snprintf(name, sizeof name, "game%06ld.sgf", i);
        std::ofstream out(dir / name, std::ios::binary);
        out << Game(rng, static_cast<int>(i));
        if (!out) {
            std::fprintf(stderr, "varnex-gen-games: cannot write %s\n", (dir / name).c_str());
            return 1;
        }
    }
    std::ofstream(mark) << count << '\n';
    std::printf("bench data: wrote %ld game files to %s\n", count, root.c_str());
    return 0;
}
