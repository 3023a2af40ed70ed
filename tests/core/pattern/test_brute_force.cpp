#include "BruteForceSearch.h"
#include "TestSupport.h"
#include "game/GameTimeline.h"
#include "pattern/PatternSearch.h"
#include "reader/GameRecordReader.h"

#include <algorithm>
#include <filesystem>
#include <random>

namespace {

// Real 19x19 games of the corpus, a spread of them in path order.
std::vector<SGameRecord> CorpusGames(std::size_t wanted)
{
    std::vector<std::filesystem::path> paths;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(CorpusDir())) {
        if (entry.is_regular_file() && entry.path().extension() == ".sgf")
            paths.push_back(entry.path());
    }
    std::sort(paths.begin(), paths.end());
    std::vector<SGameRecord> games;
    const std::size_t stride = std::max<std::size_t>(1, paths.size() / (wanted * 3));
    for (std::size_t i = 0; i < paths.size() && games.size() < wanted; i += stride) {
        SGameRecord record = ReadGameRecordFile(paths[i].string());
        if (record.width == 19 && record.height == 19 && record.moves.size() >= 20 && record.moves.size() <= 400)
            games.push_back(std::move(record));
    }
    return games;
}

enum class EShape { Corner, Side, Centre, Board };

// A rectangle of the given kind, at random.
void PickRegion(std::mt19937& random, EShape shape, int& left, int& top, int& width, int& height)
{
    const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const int n = 19;
    switch (shape) {
    case EShape::Corner:
        width = pick(2, 7);
        height = pick(2, 7);
        left = pick(0, 1) ? 0 : n - width;
        top = pick(0, 1) ? 0 : n - height;
        break;
    case EShape::Side:
        width = pick(3, 8);
        height = pick(2, 5);
        left = pick(1, n - width - 1);
        top = pick(0, 1) ? 0 : n - height;
        if (pick(0, 1)) {
            std::swap(width, height);
            std::swap(left, top);
        }
        break;
    case EShape::Centre:
        width = pick(2, 5);
        height = pick(2, 5);
        left = pick(1, n - width - 1);
        top = pick(1, n - height - 1);
        break;
    case EShape::Board:
        left = top = 0;
        width = height = n;
        break;
    }
}

// The stones of a real position inside the rectangle, some of the signs
// loosened to wildcards that the position still meets.
SPattern PatternFromPosition(std::mt19937& random, const SGameRecord& game, EShape shape, bool wildcards)
{
    const CGameTimeline timeline(game);
    const int k = std::uniform_int_distribution<int>(0, std::min(timeline.PlayedCount(), 120))(random);
    const SGamePosition position = timeline.At(k);
    SPattern pattern;
    PickRegion(random, shape, pattern.left, pattern.top, pattern.width, pattern.height);
    pattern.fixedColours = std::uniform_int_distribution<int>(0, 2)(random) == 0;
    std::uniform_int_distribution<int> loosen(0, 5);
    for (int y = pattern.top; y < pattern.top + pattern.height; ++y) {
        for (int x = pattern.left; x < pattern.left + pattern.width; ++x) {
            const EStone stone = position.board.At(x, y);
            char sign = stone == EStone::Black ? 'X' : stone == EStone::White ? 'O' : '.';
            const int roll = loosen(random);
            if (wildcards && roll == 0)
                sign = '*';
            else if (wildcards && roll == 1 && stone != EStone::White)
                sign = 'x';
            else if (wildcards && roll == 2 && stone != EStone::Black)
                sign = 'o';
            pattern.signs.push_back(sign);
        }
    }
    return pattern;
}

void ExpectSameResult(const SPatternResult& expected, const SPatternResult& actual, const std::string& what)
{
    ASSERT_EQ(expected.hits.size(), actual.hits.size()) << what;
    for (std::size_t i = 0; i < expected.hits.size(); ++i) {
        const SPatternHit& e = expected.hits[i];
        const SPatternHit& a = actual.hits[i];
        EXPECT_EQ(e.game, a.game) << what;
        EXPECT_EQ(e.firstHit, a.firstHit) << what << " game " << e.game;
        ASSERT_EQ(e.continuation.has_value(), a.continuation.has_value()) << what << " game " << e.game;
        if (e.continuation) {
            EXPECT_EQ(SgfPointName(e.continuation->x, e.continuation->y),
                      SgfPointName(a.continuation->x, a.continuation->y))
                << what << " game " << e.game;
            EXPECT_EQ(e.continuation->colour, a.continuation->colour) << what << " game " << e.game;
            EXPECT_EQ(e.continuation->exchanged, a.continuation->exchanged) << what << " game " << e.game;
        }
    }
    ASSERT_EQ(expected.continuations.size(), actual.continuations.size()) << what;
    for (std::size_t i = 0; i < expected.continuations.size(); ++i) {
        const SContinuationStats& e = expected.continuations[i];
        const SContinuationStats& a = actual.continuations[i];
        EXPECT_EQ(SgfPointName(e.x, e.y), SgfPointName(a.x, a.y)) << what << " row " << i;
        EXPECT_EQ(e.colour, a.colour) << what << " row " << i;
        EXPECT_EQ(e.games, a.games) << what << " row " << i;
        EXPECT_EQ(e.blackWins, a.blackWins) << what << " row " << i;
        EXPECT_EQ(e.whiteWins, a.whiteWins) << what << " row " << i;
    }
}

} // namespace

// Patterns cut from real positions, of every kind of rectangle, with and
// without wildcards and fixed colours: the index finds the games, first
// hits and continuations that trying everything finds.
TEST(PatternBruteForce, IndexAgreesWithTryingEveryPositionAndPlacement)
{
    VARNEX_REQUIRE_CORPUS();
    const std::vector<SGameRecord> records = CorpusGames(60);
    ASSERT_GE(records.size(), 30u);
    std::mt19937 random(2026);
    std::vector<SReferenceGame> reference;
    CPositionIndex index;
    // Each game twice, the second time mirrored and with colours
    // exchanged, so that patterns are found in games besides their own.
    std::vector<SGameRecord> all = records;
    for (SGameRecord mirrored : records) {
        for (SGameMove& move : mirrored.moves) {
            if (move.kind == SGameMove::EKind::Play && move.x < 19)
                move.x = static_cast<std::uint8_t>(18 - move.x);
            move.colour = Opponent(move.colour);
        }
        for (SSetupRect& rect : mirrored.setup) {
            const int left = 18 - rect.right;
            rect.right = static_cast<std::uint8_t>(18 - rect.left);
            rect.left = static_cast<std::uint8_t>(left);
            if (rect.stone != EStone::Empty)
                rect.stone = Opponent(rect.stone);
        }
        all.push_back(std::move(mirrored));
    }
    for (std::size_t g = 0; g < all.size(); ++g) {
        const EStone winner = g % 3 == 0 ? EStone::Black : g % 3 == 1 ? EStone::White : EStone::Empty;
        reference.push_back(PlayReferenceGame(all[g], winner));
        ASSERT_TRUE(index.AddRow(BuildPositionRow(all[g]), winner));
    }
    const EShape shapes[] = {EShape::Corner, EShape::Side, EShape::Centre, EShape::Board};
    int withHits = 0;
    int withContinuations = 0;
    for (int q = 0; q < 64; ++q) {
        const EShape shape = shapes[q % 4];
        const SGameRecord& source = all[std::uniform_int_distribution<std::size_t>(0, all.size() - 1)(random)];
        const SPattern pattern = PatternFromPosition(random, source, shape, q % 8 >= 4);
        const SPatternResult expected = BruteForceSearch(reference, pattern);
        const SPatternResult actual = SearchPattern(index, pattern, 1 + q % 2);
        std::string what = "query " + std::to_string(q) + " at " + SgfPointName(pattern.left, pattern.top) + " " +
                           std::to_string(pattern.width) + "x" + std::to_string(pattern.height) + " " + pattern.signs +
                           (pattern.fixedColours ? " fixed" : "");
        ExpectSameResult(expected, actual, what);
        withHits += expected.hits.empty() ? 0 : 1;
        withContinuations += expected.continuations.empty() ? 0 : 1;
    }
    // Cut from the games searched, every pattern is found at least once.
    EXPECT_EQ(withHits, 64);
    EXPECT_GT(withContinuations, 32);
}
