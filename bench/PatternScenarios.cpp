// Figures for the position search: games of the corpus in their 8
// symmetries, with colours exchanged or not, cut at various lengths, so
// that openings repeat as in a real archive; their index rows built, loaded
// and searched with patterns cut from real positions. Prints; never fails.
#include "CorpusFiles.h"
#include "game/GameTimeline.h"
#include "pattern/PatternPlacements.h"
#include "pattern/PatternSearch.h"
#include "pattern/PositionRow.h"
#include "reader/GameRecordReader.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double Since(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::vector<SGameRecord> CorpusGames(const fs::path& root)
{
    const std::vector<std::string> files = SgfFilesUnder(root);
    std::vector<SGameRecord> games;
    for (const std::string& path : files) {
        SGameRecord record = ReadGameRecordFile(path);
        if (record.width == 19 && record.height == 19 && record.moves.size() >= 30)
            games.push_back(std::move(record));
    }
    return games;
}

// The game under a symmetry of the board, colours exchanged or not, its
// moves cut after keep.
SGameRecord Variant(const SGameRecord& game, int symmetry, bool exchanged, std::size_t keep)
{
    SGameRecord out;
    out.width = out.height = 19;
    const auto colour = [&](EStone s) { return exchanged && s != EStone::Empty ? Opponent(s) : s; };
    for (std::size_t i = 0; i < std::min(keep, game.moves.size()); ++i) {
        SGameMove move = game.moves[i];
        if (move.kind == SGameMove::EKind::Play && move.x < 19 && move.y < 19) {
            const SGridPoint p = ApplySymmetry(symmetry, 19, 19, {move.x, move.y});
            move.x = static_cast<std::uint8_t>(p.x);
            move.y = static_cast<std::uint8_t>(p.y);
        }
        move.colour = colour(move.colour);
        out.moves.push_back(move);
    }
    for (const SSetupPoint& point : ExpandSetup(game)) {
        if (point.beforeMove > keep)
            continue;
        const SGridPoint p = ApplySymmetry(symmetry, 19, 19, {point.x, point.y});
        out.setup.push_back({point.beforeMove, colour(point.stone), static_cast<std::uint8_t>(p.x),
                             static_cast<std::uint8_t>(p.y), static_cast<std::uint8_t>(p.x),
                             static_cast<std::uint8_t>(p.y)});
    }
    return out;
}

struct SQuery
{
    std::string kind;
    SPattern pattern;
};

// The signs of the rectangle at the first position from move on where it
// holds at least three stones, as a player would ask about a real shape.
SPattern Cut(const SGameRecord& game, int move, int left, int top, int width, int height, bool stars,
             std::mt19937& random)
{
    const CGameTimeline timeline(game);
    SGamePosition position = timeline.At(move);
    const auto stones = [&] {
        int count = 0;
        for (int y = top; y < top + height; ++y) {
            for (int x = left; x < left + width; ++x)
                count += position.board.At(x, y) != EStone::Empty ? 1 : 0;
        }
        return count;
    };
    while (stones() < 3 && move < timeline.PlayedCount())
        position = timeline.At(++move);
    SPattern pattern;
    pattern.left = left;
    pattern.top = top;
    pattern.width = width;
    pattern.height = height;
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) {
            const EStone stone = position.board.At(x, y);
            char sign = stone == EStone::Black ? 'X' : stone == EStone::White ? 'O' : '.';
            if (stars && random() % 5 == 0)
                sign = '*';
            pattern.signs.push_back(sign);
        }
    }
    return pattern;
}

std::vector<SQuery> Queries(const std::vector<SGameRecord>& games)
{
    std::mt19937 random(19);
    std::vector<SQuery> queries;
    const auto game = [&]() -> const SGameRecord& {
        // One long enough for the positions asked of it.
        while (true) {
            const SGameRecord& picked = games[random() % games.size()];
            if (picked.moves.size() >= 100)
                return picked;
        }
    };
    for (int i = 0; i < 10; ++i) {
        const int size = 5 + i % 3;
        queries.push_back({"corner", Cut(game(), 10 + i * 4, 0, 0, size, size, false, random)});
    }
    for (int i = 0; i < 8; ++i)
        queries.push_back({"side", Cut(game(), 20 + i * 5, 5 + i, 0, 5, 4, false, random)});
    for (int i = 0; i < 8; ++i)
        queries.push_back({"centre", Cut(game(), 40 + i * 6, 6 + i % 4, 6 + i % 3, 4, 4, false, random)});
    for (int i = 0; i < 4; ++i)
        queries.push_back({"board", Cut(game(), 6 + 4 * i, 0, 0, 19, 19, false, random)});
    for (int i = 0; i < 4; ++i)
        queries.push_back({"corner*", Cut(game(), 15 + 5 * i, 0, 0, 7, 6, true, random)});
    for (int i = 0; i < 2; ++i)
        queries.push_back({"side*", Cut(game(), 30 + 9 * i, 3 + 2 * i, 0, 9, 5, true, random)});
    return queries;
}

// Processor seconds of this process: the figure to go by on a machine
// shared with other work.
double ProcessorSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || std::string(argv[1]).empty()) {
        std::printf("pattern: no corpus, no figures\n");
        return 0;
    }
    const std::size_t wanted = argc > 2 ? std::stoul(argv[2]) : 100000;
    const std::vector<SGameRecord> corpus = CorpusGames(argv[1]);
    if (corpus.empty()) {
        std::printf("pattern: no 19x19 games in the corpus\n");
        return 0;
    }
    // Each corpus game gives 16 variants; each variant is cut at one of
    // several lengths, and the set repeats with other cuts until enough.
    std::mt19937 random(7);
    std::vector<std::string> rows;
    std::vector<EStone> winners;
    rows.reserve(wanted);
    double buildSeconds = 0;
    std::size_t moves = 0;
    for (std::size_t round = 0; rows.size() < wanted; ++round) {
        for (std::size_t g = 0; g < corpus.size() && rows.size() < wanted; ++g) {
            for (int v = 0; v < 16 && rows.size() < wanted; ++v) {
                const std::size_t length = corpus[g].moves.size();
                const std::size_t keep = round == 0 && v % 4 == 0 ? length : 20 + random() % length;
                const SGameRecord variant = Variant(corpus[g], v % 8, v >= 8, keep);
                moves += variant.moves.size();
                const auto start = Clock::now();
                rows.push_back(BuildPositionRow(variant));
                buildSeconds += Since(start);
                winners.push_back(static_cast<EStone>(random() % 3));
            }
        }
    }
    std::size_t rowBytes = 0;
    for (const std::string& row : rows)
        rowBytes += row.size();
    std::printf("pattern: %zu games from %zu corpus games, %.0f moves a game on average\n", rows.size(), corpus.size(),
                static_cast<double>(moves) / static_cast<double>(rows.size()));
    std::printf("pattern: rows built in %.2f s (%.1f us a game), %.0f bytes a row\n", buildSeconds,
                1e6 * buildSeconds / static_cast<double>(rows.size()),
                static_cast<double>(rowBytes) / static_cast<double>(rows.size()));

    const auto loadStart = Clock::now();
    CPositionIndex index;
    // The rows' units and, per game, its header and five bitmaps.
    index.Reserve(rows.size(), rowBytes + rows.size() * (7 + 5 * 46));
    for (std::size_t i = 0; i < rows.size(); ++i)
        index.AddRow(rows[i], winners[i]);
    const double load = Since(loadStart);
    std::printf("pattern: index loaded from rows in %.3f s, %.0f bytes a game in memory\n", load,
                static_cast<double>(index.MemoryBytes()) / static_cast<double>(index.GameCount()));

    std::vector<double> all;
    std::vector<double> single;
    const std::string only = argc > 3 ? argv[3] : "";
    for (const SQuery& query : Queries(corpus)) {
        if (!only.empty() && query.kind != only)
            continue;
        const auto start = Clock::now();
        const SPatternResult result = SearchPattern(index, query.pattern);
        const double seconds = Since(start);
        // The best of three: other work on the machine only ever adds.
        double best = 0;
        for (int run = 0; run < 3; ++run) {
            const double processorStart = ProcessorSeconds();
            SearchPattern(index, query.pattern, 1);
            const double spent = ProcessorSeconds() - processorStart;
            best = run == 0 ? spent : std::min(best, spent);
        }
        single.push_back(best);
        all.push_back(seconds);
        std::printf("pattern: %-8s %s %dx%d  %7zu games  %4zu continuations  %7.1f ms  (one thread: %6.1f ms of "
                    "processor, best of 3)\n",
                    query.kind.c_str(), SgfPointName(query.pattern.left, query.pattern.top).c_str(),
                    query.pattern.width, query.pattern.height, result.hits.size(), result.continuations.size(),
                    1e3 * seconds, 1e3 * single.back());
    }
    if (all.empty())
        return 0;
    std::printf("pattern: %zu queries, median %.1f ms, worst %.1f ms (one thread, processor time: median %.1f ms, "
                "worst %.1f ms)\n",
                all.size(), 1e3 * Median(all), 1e3 * *std::max_element(all.begin(), all.end()), 1e3 * Median(single),
                1e3 * *std::max_element(single.begin(), single.end()));
    return 0;
}
