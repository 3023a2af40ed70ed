// Writes a tree of game records shaped like a real archive, for the position
// search benchmarks: the 19x19 games of the shared corpus (read in place),
// each written in the 8 symmetries of the board and with the colours
// exchanged or not, cut after a varying number of moves, so that openings
// repeat as they do in real collections (games of random moves would make
// every pattern rare and every search look fast). Beside the tree it writes
// a set of queries taken from real positions of those games, one a line:
// RECT ROWS with an optional third word "fixed", RECT two SGF points
// ("aa:gg") or "all", ROWS the rectangle's rows from the top joined by "/"
// in the signs X O . x o *. The same corpus and count always give the same
// tree and queries; a complete tree (its mark file names the count) is left
// as it is.
#include "CorpusFiles.h"
#include "ToolArgs.h"

#include "game/GameTimeline.h"
#include "reader/GameRecord.h"
#include "reader/GameRecordReader.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kSide = 19;
constexpr int kFilesPerFolder = 1000;
// Games shorter than this are problems and fragments rather than games.
constexpr std::size_t kMinMoves = 60;
constexpr int kMinCut = 30;

struct SSource
{
    std::string name;
    SGameRecord record;
};

std::vector<SSource> CorpusGames(const fs::path& corpus)
{
    const std::vector<std::string> paths = SgfFilesUnder(corpus);
    std::vector<SSource> games;
    for (const std::string& path : paths) {
        SGameRecord record = ReadGameRecordFile(path);
        if (!record.HasGame() || record.width != kSide || record.height != kSide)
            continue;
        std::size_t played = 0;
        for (const SGameMove& move : record.moves)
            played += move.kind == SGameMove::EKind::Play && move.x < kSide && move.y < kSide;
        if (played >= kMinMoves)
            games.push_back({fs::path(path).filename().string(), std::move(record)});
    }
    return games;
}

// One of the 8 symmetries of the board: bit 0 mirrors left and right, bit 1
// top and bottom, bit 2 exchanges the axes (after the mirrors).
void Transform(int symmetry, int& x, int& y)
{
    if (symmetry & 1)
        x = kSide - 1 - x;
    if (symmetry & 2)
        y = kSide - 1 - y;
    if (symmetry & 4)
        std::swap(x, y);
}

std::string Point(int x, int y)
{
    return {static_cast<char>('a' + x), static_cast<char>('a' + y)};
}

char Colour(EStone stone, bool exchange)
{
    const bool black = stone == EStone::Black;
    return black != exchange ? 'B' : 'W';
}

// The result with its winner exchanged along with the colours.
std::string Result(const SGameRecord& record, bool exchange)
{
    const CPropertyValue value = record.root.Find("RE");
    std::string result(value ? *value : "?");
    if (exchange && !result.empty() && (result[0] == 'B' || result[0] == 'W'))
        result[0] = result[0] == 'B' ? 'W' : 'B';
    return result;
}

std::string Player(const SGameRecord& record, const char* id, const std::string& fallback)
{
    const CPropertyValue value = record.root.Find(id);
    std::string name(value ? *value : fallback);
    // Kept to plain bytes that need no escaping in a value.
    name.erase(std::remove_if(name.begin(), name.end(), [](char c) { return c == ']' || c == '\\' || c == '\n'; }),
               name.end());
    return name.empty() ? fallback : name;
}

std::string Game(const SSource& source, long index, int symmetry, bool exchange, int cut)
{
    const SGameRecord& record = source.record;
    std::ostringstream out;
    const std::string black = Player(record, "PB", "Black");
    const std::string white = Player(record, "PW", "White");
    out << "(;GM[1]FF[4]CA[UTF-8]SZ[19]\nPB[" << (exchange ? white : black) << "]PW[" << (exchange ? black : white)
        << "]\nRE[" << Result(record, exchange) << "]GN[" << source.name << " " << index << "]\n";
    const std::vector<SSetupPoint> setup = ExpandSetup(record);
    std::size_t nextSetup = 0;
    // The setup points that apply before move m, as AB/AW/AE of the node.
    const auto writeSetup = [&](std::uint32_t m) {
        std::string ids[3];
        for (; nextSetup < setup.size() && setup[nextSetup].beforeMove <= m; ++nextSetup) {
            const SSetupPoint& p = setup[nextSetup];
            int x = p.x;
            int y = p.y;
            Transform(symmetry, x, y);
            const int slot = p.stone == EStone::Empty ? 2 : Colour(p.stone, exchange) == 'B' ? 0 : 1;
            ids[slot].append(1, '[').append(Point(x, y)).append(1, ']');
        }
        const char* names[3] = {"AB", "AW", "AE"};
        for (int slot = 0; slot < 3; ++slot)
            if (!ids[slot].empty())
                out << names[slot] << ids[slot];
    };
    writeSetup(0);
    int written = 0;
    for (std::uint32_t m = 0; m < record.moves.size() && written < cut; ++m) {
        const SGameMove& move = record.moves[m];
        out << ';';
        if (m > 0)
            writeSetup(m);
        out << Colour(move.colour, exchange) << '[';
        if (move.kind == SGameMove::EKind::Play && move.x < kSide && move.y < kSide) {
            int x = move.x;
            int y = move.y;
            Transform(symmetry, x, y);
            out << Point(x, y);
        }
        out << ']';
        if (++written % 10 == 0)
            out << '\n';
    }
    out << ")\n";
    return out.str();
}

// The signs of the stones of a rectangle of board, rows joined by '/'.
std::string Rows(const CBoard& board, int left, int top, int right, int bottom)
{
    std::string rows;
    for (int y = top; y <= bottom; ++y) {
        if (y > top)
            rows += '/';
        for (int x = left; x <= right; ++x) {
            const EStone stone = board.At(x, y);
            rows += stone == EStone::Black ? 'X' : stone == EStone::White ? 'O' : '.';
        }
    }
    return rows;
}

int Stones(const std::string& rows)
{
    return static_cast<int>(std::count_if(rows.begin(), rows.end(), [](char c) { return c == 'X' || c == 'O'; }));
}

struct SQueryShape
{
    int left, top, right, bottom;
    int fromMove, toMove; // the moves of the game the position is taken at
    int minStones;
    // Wildcards: every k-th point becomes this sign (0: none).
    int wildEvery = 0;
    char wild = '*';
    bool fixed = false;
};

// The queries: corners, sides, centre, the whole board, some with
// wildcards, a few with fixed colours, each from a position of a corpus
// game picked by the seed, with enough stones to be a real shape.
std::vector<std::string> Queries(const std::vector<SSource>& games, std::mt19937& rng)
{
    const int e = kSide - 1;
    std::vector<SQueryShape> shapes;
    // Corners of several sizes in all four corners.
    for (const int size : {5, 6, 7}) {
        const int s = size - 1;
        shapes.push_back({0, 0, s, s, 8, 40, 3});
        shapes.push_back({e - s, 0, e, s, 8, 40, 3});
        shapes.push_back({0, e - s, s, e, 8, 40, 3});
        shapes.push_back({e - s, e - s, e, e, 8, 40, 3});
    }
    // Sides: touching one edge, free to slide along it.
    shapes.push_back({6, 0, 12, 4, 15, 60, 3});
    shapes.push_back({0, 5, 4, 12, 15, 60, 3});
    shapes.push_back({14, 7, 18, 12, 20, 70, 3});
    shapes.push_back({4, 15, 10, 18, 20, 70, 3});
    shapes.push_back({7, 0, 11, 3, 10, 50, 2});
    shapes.push_back({0, 3, 3, 9, 10, 50, 2});
    // The centre, touching no edge.
    shapes.push_back({6, 6, 12, 12, 30, 90, 3});
    shapes.push_back({2, 2, 6, 6, 10, 40, 3});
    shapes.push_back({12, 3, 16, 7, 10, 40, 3});
    shapes.push_back({4, 9, 8, 13, 30, 80, 3});
    shapes.push_back({8, 4, 11, 7, 30, 90, 2});
    // The whole board early in the game.
    shapes.push_back({0, 0, e, e, 4, 8, 4});
    shapes.push_back({0, 0, e, e, 8, 14, 8});
    shapes.push_back({0, 0, e, e, 2, 4, 2});
    // Wildcards and the one-colour-or-empty signs.
    shapes.push_back({0, 0, 6, 6, 10, 40, 3, 5, '*'});
    shapes.push_back({e - 8, 0, e, 6, 10, 50, 4, 4, '*'});
    shapes.push_back({5, 0, 13, 5, 15, 60, 3, 3, '*'});
    shapes.push_back({0, 0, e, e, 6, 12, 5, 7, '*'});
    shapes.push_back({0, e - 6, 6, e, 10, 40, 3, 6, 'x'});
    shapes.push_back({e - 6, e - 6, e, e, 10, 40, 3, 6, 'o'});
    // Colours fixed.
    shapes.push_back({0, 0, 6, 6, 8, 40, 3, 0, '*', true});
    shapes.push_back({e - 5, e - 5, e, e, 8, 40, 3, 0, '*', true});
    shapes.push_back({0, 0, e, e, 4, 10, 4, 0, '*', true});
    shapes.push_back({6, 0, 12, 4, 15, 60, 3, 4, '*', true});

    std::vector<std::string> queries;
    std::uniform_int_distribution<std::size_t> pickGame(0, games.size() - 1);
    for (const SQueryShape& shape : shapes) {
        // Positions are tried until one holds a shape of enough stones.
        for (int attempt = 0; attempt < 200; ++attempt) {
            const SGameRecord& record = games[pickGame(rng)].record;
            const CGameTimeline timeline(record);
            const int move = std::uniform_int_distribution<int>(shape.fromMove, shape.toMove)(rng);
            if (move > timeline.PlayedCount())
                continue;
            std::string rows = Rows(timeline.At(move).board, shape.left, shape.top, shape.right, shape.bottom);
            if (Stones(rows) < shape.minStones)
                continue;
            if (shape.wildEvery > 0) {
                int k = 0;
                for (char& c : rows) {
                    if (c == '/' || ++k % shape.wildEvery != 0)
                        continue;
                    // 'x' stands for a black stone or none, so it replaces
                    // those only (and 'o' the white ones and none).
                    if (shape.wild == '*' || (shape.wild == 'x' && c != 'O') || (shape.wild == 'o' && c != 'X'))
                        c = shape.wild;
                }
            }
            const bool whole = shape.left == 0 && shape.top == 0 && shape.right == e && shape.bottom == e;
            std::string query = whole ? std::string("all") : Point(shape.left, shape.top);
            if (!whole)
                query.append(1, ':').append(Point(shape.right, shape.bottom));
            query.append(1, ' ').append(rows);
            if (shape.fixed)
                query += " fixed";
            queries.push_back(query);
            break;
        }
    }
    return queries;
}

} // namespace

int main(int argc, char** argv)
{
    const char* usage = "usage: varnex-gen-archive FOLDER COUNT CORPUS QUERIES\n"
                        "Writes COUNT game files made from the corpus games to FOLDER, and the\n"
                        "queries taken from their positions to the file QUERIES.\n";
    if (const auto status = CheckToolArgs(argc, argv, usage))
        return *status;
    if (argc != 5) {
        std::fputs(usage, stderr);
        return 2;
    }
    const fs::path root = argv[1];
    const long count = std::strtol(argv[2], nullptr, 10);
    if (count < 1 || count > 10000000) {
        std::fprintf(stderr, "varnex-gen-archive: COUNT must be between 1 and 10000000\n");
        return 2;
    }
    const std::vector<SSource> games = CorpusGames(argv[3]);
    if (games.empty()) {
        std::fprintf(stderr, "varnex-gen-archive: no 19x19 games of %zu moves or more in %s\n", kMinMoves, argv[3]);
        return 1;
    }
    std::mt19937 rng(20261210);
    const std::vector<std::string> queries = Queries(games, rng);
    {
        std::ofstream out(argv[4], std::ios::binary | std::ios::trunc);
        for (const std::string& query : queries)
            out << query << '\n';
        if (!out) {
            std::fprintf(stderr, "varnex-gen-archive: cannot write %s\n", argv[4]);
            return 1;
        }
    }

    const fs::path mark = root / "complete";
    const std::string kind = "archive-of-" + std::to_string(games.size());
    {
        std::ifstream in(mark);
        long done = 0;
        std::string doneKind;
        if (in >> done >> doneKind && done == count && doneKind == kind) {
            std::printf("bench data: %ld archive game files already in %s, %zu queries\n", count, root.c_str(),
                        queries.size());
            return 0;
        }
    }
    std::error_code ec;
    fs::remove_all(root, ec);
    // Game i is source i mod n, so every source appears in turn; its
    // symmetry, colours and cut are drawn, so the copies of one game differ.
    std::uniform_int_distribution<int> symmetry(0, 7);
    std::bernoulli_distribution exchange(0.5);
    for (long i = 0; i < count; ++i) {
        char folder[32];
        std::snprintf(folder, sizeof folder, "%04ld", i / kFilesPerFolder);
        const fs::path dir = root / folder;
        if (i % kFilesPerFolder == 0)
            fs::create_directories(dir);
        const SSource& source = games[static_cast<std::size_t>(i) % games.size()];
        const int length = static_cast<int>(source.record.moves.size());
        // Most games whole, the rest cut anywhere from early on.
        const int cut = std::uniform_int_distribution<int>(0, 2)(rng) == 0
                            ? std::uniform_int_distribution<int>(std::min(kMinCut, length), length)(rng)
                            : length;
        char name[32];
        std::snprintf(name, sizeof name, "game%07ld.sgf", i);
        std::ofstream out(dir / name, std::ios::binary);
        out << Game(source, i, symmetry(rng), exchange(rng), cut);
        if (!out) {
            std::fprintf(stderr, "varnex-gen-archive: cannot write %s\n", (dir / name).c_str());
            return 1;
        }
    }
    std::ofstream(mark) << count << ' ' << kind << '\n';
    std::printf("bench data: wrote %ld archive game files from %zu corpus games to %s, %zu queries to %s\n", count,
                games.size(), root.c_str(), queries.size(), argv[4]);
    return 0;
}
