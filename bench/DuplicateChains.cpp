// Find Duplicates' grouping of cut copies of one long game: copy i holds the
// first 50 + i moves, so every copy is the start of all the longer ones, and
// each is turned or mirrored another way. The long game is a real game of
// the corpus, its moves played over again until it is long enough. The
// forms are made first (as reading the files would), then grouped as the
// search groups one candidate set. Prints; never fails.
#include "CorpusFiles.h"
#include "game/DuplicateGroups.h"
#include "reader/GameRecordReader.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// The first 19 x 19 record of the corpus, in path order, whose main line
// holds at least 200 moves and no setup stones.
bool RealGame(const fs::path& corpus, SGameRecord& game, std::string& name)
{
    const std::vector<std::string> files = SgfFilesUnder(corpus);
    for (const std::string& file : files) {
        game = ReadGameRecordFile(file);
        if (game.HasGame() && game.width == 19 && game.height == 19 && game.setup.empty() && game.moves.size() >= 200) {
            name = fs::relative(file, corpus).string();
            return true;
        }
    }
    return false;
}

// The first count moves of the game played on and on, under symmetry t.
SGameRecord Cut(const SGameRecord& game, std::size_t count, int t)
{
    SGameRecord copy;
    copy.moves.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        SGameMove move = game.moves[i % game.moves.size()];
        move.colour = i % 2 == 0 ? EStone::Black : EStone::White;
        if (move.kind == SGameMove::EKind::Play) {
            if (t & 1)
                move.x = static_cast<std::uint8_t>(18 - move.x);
            if (t & 2)
                move.y = static_cast<std::uint8_t>(18 - move.y);
            if (t & 4)
                std::swap(move.x, move.y);
        }
        copy.moves.push_back(move);
    }
    return copy;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: varnex-bench-dup-chains CORPUS [COPIES...]\n");
        return 2;
    }
    SGameRecord game;
    std::string name;
    if (!RealGame(argv[1], game, name)) {
        std::fprintf(stderr, "varnex-bench-dup-chains: no game of 200 moves in %s\n", argv[1]);
        return 1;
    }
    std::vector<std::size_t> counts;
    for (int i = 2; i < argc; ++i)
        counts.push_back(std::strtoul(argv[i], nullptr, 10));
    if (counts.empty())
        counts = {1000, 2000, 4000, 6000, 20000};
    std::printf("cut copies of %s (%zu moves, played on and on)\n", name.c_str(), game.moves.size());
    for (const std::size_t count : counts) {
        const auto made = Clock::now();
        std::vector<SCanonicalGame> forms(count);
        for (std::size_t i = 0; i < count; ++i)
            MakeCanonicalGame(Cut(game, kPrefixMoves + i, static_cast<int>(i % 8)), forms[i]);
        const double making = Seconds(made);
        const auto start = Clock::now();
        const std::vector<std::vector<std::size_t>> groups = ExactGroups(forms);
        const double grouping = Seconds(start);
        std::printf("%6zu copies of 50 to %zu moves: grouped in %.3f s%s (forms made in %.3f s), %zu group of %zu\n",
                    count, kPrefixMoves + count - 1, grouping, count == 20000 ? " (target < 2 s)" : "", making,
                    groups.size(), groups.empty() ? std::size_t{0} : groups.front().size());
    }
    return 0;
}
