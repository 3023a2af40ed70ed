// Writes a tree of realistic game records for the benchmarks: folders of
// 1000 files, each a root node with the usual game information followed by
// 150 to 300 moves. The same seed always gives the same tree. A tree that is
// complete (its mark file names the count and the kind) is left as it is.
//
// With --mixed-charsets the tree is the same but for the players of some
// records, to measure display decoding: a third of the records name real
// Chinese, Japanese or Korean players in GB2312, Shift_JIS or EUC-KR and say
// so in CA; a tenth carry such bytes with no CA at all, so the charset has to
// be detected; the rest stay ASCII.
#include "ToolArgs.h"

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

const char* const kFamily[] = {"Cho",     "Lee",      "Kim",    "Park", "Takemiya",  "Kobayashi", "Otake",
                               "Yoda",    "Go",       "Nie",    "Ma",   "Chang",     "Rin",       "Sakata",
                               "Honinbo", "Fujisawa", "Ishida", "Kato", "Yamashita", "Iyama",     "Shin",
                               "Ke",      "Gu",       "Mi",     "Tang", "Xie",       "Choi",      "Ohashi"};
const char* const kGiven[] = {"Chikun",   "Sedol",    "Jiwoo",   "Junghwan", "Masaki", "Koichi", "Hideo",
                              "Norimoto", "Seigen",   "Weiping", "Xiaochun", "Hao",    "Kaiho",  "Eio",
                              "Shusaku",  "Hideyuki", "Yoshio",  "Masao",    "Keigo",  "Yuta",   "Jinseo",
                              "Jie",      "Li",       "Yuting",  "Weijie"};
const char* const kEvents[] = {
    "Kisei",         "Meijin",      "Honinbo",      "Judan",         "Tengen",           "Oza",
    "Gosei",         "Samsung Cup", "LG Cup",       "Ing Cup",       "Chunlan Cup",      "Fujitsu Cup",
    "Agon Kiriyama", "NHK Cup",     "Asian TV Cup", "Korean League", "Chinese A League", "Japan Club Cup"};
const char* const kPlaces[] = {"Tokyo", "Seoul",  "Beijing",  "Osaka", "Nagoya", "Shanghai",
                               "Busan", "Taipei", "Hangzhou", "Kyoto", "Online"};
const char* const kResults[] = {"B+R",   "W+R", "B+0.5", "W+0.5", "B+1.5", "W+2.5", "B+3.5",
                                "W+4.5", "B+T", "W+T",   "0",     "Void",  "?",     "B+12.5"};
const char* const kKomi[] = {"6.5", "7.5", "5.5", "0.5", "0"};

// The legacy charsets and, for each, real player names in its bytes.
struct SCharsetNames
{
    const char* ca;
    const char* names[10];
};

const SCharsetNames kCharsetNames[] = {
    {"GB2312",
     {
         "\xC4\xF4\xCE\xC0\xC6\xBD", // Nie Weiping
         "\xC2\xED\xCF\xFE\xB4\xBA", // Ma Xiaochun
         "\xB3\xA3\xEA\xBB",         // Chang Hao
         "\xB9\xC5\xC1\xA6",         // Gu Li
         "\xBF\xC2\xBD\xE0",         // Ke Jie
         "\xB3\xC2\xD2\xAB\xEC\xC7", // Chen Yaoye
         "\xB7\xB6\xCD\xA2\xEE\xDA", // Fan Tingyu
         "\xD8\xC2\xEA\xC5\xCD\xA2", // Mi Yuting
         "\xCA\xB1\xD4\xBD",         // Shi Yue
         "\xCC\xC6\xCE\xA4\xD0\xC7", // Tang Weixing
     }},
    {"Shift_JIS",
     {
         "\x88\xE4\x8E\x52\x97\x54\x91\xBE",         // Iyama Yuta
         "\xE6\xE2\x8E\xA1\x8C\x4D",                 // Cho Chikun
         "\x8F\xAC\x97\xD1\x8C\xF5\x88\xEA",         // Kobayashi Koichi
         "\x95\x90\x8B\x7B\x90\xB3\x8E\xF7",         // Takemiya Masaki
         "\x96\x7B\x88\xF6\x96\x56\x8F\x47\x8D\xF4", // Honinbo Shusaku
         "\x91\xE5\x92\x7C\x89\x70\x97\x59",         // Otake Hideo
         "\x88\xCB\x93\x63\x8B\x49\x8A\xEE",         // Yoda Norimoto
         "\x8E\x52\x89\xBA\x8C\x68\x8C\xE1",         // Yamashita Keigo
         "\x92\xA3\x9E\x7A",                         // Cho U
         "\x88\xEA\x97\xCD\x97\xC9",                 // Ichiriki Ryo
     }},
    {"EUC-KR",
     {
         "\xC0\xCC\xBC\xBC\xB5\xB9", // Lee Sedol
         "\xC1\xB6\xC8\xC6\xC7\xF6", // Cho Hunhyun
         "\xC0\xCC\xC3\xA2\xC8\xA3", // Lee Changho
         "\xB9\xDA\xC1\xA4\xC8\xAF", // Park Junghwan
         "\xBD\xC5\xC1\xF8\xBC\xAD", // Shin Jinseo
         "\xC3\xD6\xC1\xA4",         // Choi Jeong
         "\xC0\xAF\xC3\xA2\xC7\xF5", // Yoo Changhyuk
         "\xBC\xAD\xBA\xC0\xBC\xF6", // Seo Bongsoo
         "\xB1\xE8\xC1\xF6\xBC\xAE", // Kim Jiseok
         "\xBA\xAF\xBB\xF3\xC0\xCF", // Byun Sangil
     }},
};

// How the players of record index are written in a mixed-charset tree. Out
// of every 30 records, 10 declare their legacy charset and 3 leave it out.
struct SPlayers
{
    const char* ca = "UTF-8";    // nullptr: no CA
    const char* black = nullptr; // nullptr: the ASCII name drawn for it
    const char* white = nullptr;
};

SPlayers MixedPlayers(long index)
{
    const long slot = index % 30;
    if (slot >= 13)
        return {};
    const SCharsetNames& charset = kCharsetNames[index % 3];
    const char* black = charset.names[index / 3 % 10];
    const char* white = charset.names[(index / 3 + 1 + index / 30 % 9) % 10];
    return {slot < 10 ? charset.ca : nullptr, black, white};
}

template <std::size_t N> const char* Pick(std::mt19937& rng, const char* const (&items)[N])
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

std::string Game(std::mt19937& rng, int index, const SPlayers& players)
{
    std::ostringstream out;
    const int year = std::uniform_int_distribution<int>(1950, 2025)(rng);
    const int month = std::uniform_int_distribution<int>(1, 12)(rng);
    const int day = std::uniform_int_distribution<int>(1, 28)(rng);
    const int handicap = std::uniform_int_distribution<int>(0, 19)(rng) == 0 ? 2 : 0;
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", year, month, day);
    // The ASCII names are drawn in every case, so that a mixed tree differs
    // from the plain one in its players alone.
    const std::string black = Player(rng);
    const std::string white = Player(rng);
    out << "(;GM[1]FF[4]";
    if (players.ca)
        out << "CA[" << players.ca << "]";
    out << "SZ[19]\n"
        << "PB[" << (players.black ? players.black : black) << "]PW[" << (players.white ? players.white : white)
        << "]BR[" << Rank(rng) << "]WR[" << Rank(rng) << "]\n"
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
    if (const auto status = CheckToolArgs(argc, argv, "usage: varnex-gen-games FOLDER [COUNT] [--mixed-charsets]\n",
                                          {"--mixed-charsets"}))
        return *status;
    const bool mixed = argc > 1 && std::string(argv[argc - 1]) == "--mixed-charsets";
    if (mixed)
        --argc;
    if (argc < 2) {
        std::fprintf(stderr, "usage: varnex-gen-games FOLDER [COUNT] [--mixed-charsets]\n");
        return 2;
    }
    const fs::path root = argv[1];
    const long count = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 100000;
    const std::string kind = mixed ? "mixed-charsets" : "ascii";
    if (count < 1 || count > 10000000) {
        std::fprintf(stderr, "varnex-gen-games: COUNT must be between 1 and 10000000\n");
        return 2;
    }
    const fs::path mark = root / "complete";
    {
        std::ifstream in(mark);
        long done = 0;
        std::string doneKind;
        if (in >> done >> doneKind && done == count && doneKind == kind) {
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
        out << Game(rng, static_cast<int>(i), mixed ? MixedPlayers(i) : SPlayers{});
        if (!out) {
            std::fprintf(stderr, "varnex-gen-games: cannot write %s\n", (dir / name).c_str());
            return 1;
        }
    }
    std::ofstream(mark) << count << ' ' << kind << '\n';
    std::printf("bench data: wrote %ld game files (%s) to %s\n", count, kind.c_str(), root.c_str());
    return 0;
}
