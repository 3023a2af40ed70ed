// The games of a record file of several game trees: what the list reads of
// each, what the whole-game reader finds for the same game, and where a
// damaged or empty tree leaves the reading.
#include "reader/GameReader.h"
#include "reader/GameRecordReader.h"
#include "reader/TextStream.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct SRead
{
    ERecordResult result = ERecordResult::NotARecord;
    std::vector<std::string> black; // PB of every game, "-" when none
};

SRead ReadAll(std::string_view bytes)
{
    CTextStream stream(bytes);
    CPropertyTable first;
    SMoreGames more;
    SRead read;
    read.result = ReadTextRecord(stream, first, kMaxRecordBytes, &more);
    auto name = [](const CPropertyTable& table) {
        const CPropertyValue pb = table.Find("PB");
        return pb ? std::string(*pb) : std::string("-");
    };
    read.black.push_back(name(first));
    for (const CPropertyTable& table : more.tables)
        read.black.push_back(name(table));
    EXPECT_EQ(more.starts.size(), more.tables.size());
    for (std::size_t i = 0; i < more.starts.size(); ++i)
        EXPECT_EQ(bytes.at(static_cast<std::size_t>(more.starts[i])), '(') << i;
    return read;
}

using Names = std::vector<std::string>;

} // namespace

TEST(GameTrees, EveryTopLevelTreeIsAGameInFileOrder)
{
    // Blanks, line breaks (CR LF too) and text between the trees; brackets
    // and parentheses inside values, escapes, and variations.
    const std::string three = "(;GM[1]PB[Ann]C[a ) and a \\] (;PB[x]];B[aa](;W[bb])(;W[cc]))\r\n"
                              "  junk text\n"
                              "(;PB[Bob]SZ[13];B[dd])\n(\r\n;PB[Cid]C[(])";
    const SRead read = ReadAll(three);
    EXPECT_EQ(read.result, ERecordResult::Read);
    EXPECT_EQ(read.black, (Names{"Ann", "Bob", "Cid"}));

    // A file of one game reads as it always did, trailing text and all.
    EXPECT_EQ(ReadAll("(;PB[Ann];B[aa])\n\nsaved by some editor\n").black, Names{"Ann"});
    // Game information right after the "(" in a later tree, as in the first.
    EXPECT_EQ(ReadAll("(PB[Ann];B[aa])(PB[Bob];B[bb])").black, (Names{"Ann", "Bob"}));
}

TEST(GameTrees, EmptyTreesAreNoGamesAndADamagedTreeEndsTheReading)
{
    // An empty tree, and one of loose properties with no node, hold no game.
    EXPECT_EQ(ReadAll("(;PB[Ann])()(;PB[Bob])( )(CA[UTF-8])(;PB[Cid])").black, (Names{"Ann", "Bob", "Cid"}));
    // As for the first game, loose properties before a tree's first ";" are passed over.
    EXPECT_EQ(ReadAll("()(;PB[Ann])").black, Names{"Ann"});
    // A third tree cut inside its root node is no game; the two before stay.
    EXPECT_EQ(ReadAll("(;PB[Ann])(;PB[Bob])(;PB[Ci").black, (Names{"Ann", "Bob"}));
    // One whose root node is whole but whose moves are cut is a game.
    EXPECT_EQ(ReadAll("(;PB[Ann])(;PB[Bob])(;PB[Cid];B[aa];W[").black, (Names{"Ann", "Bob", "Cid"}));
    // A first tree cut inside a later node ends the reading after it.
    EXPECT_EQ(ReadAll("(;PB[Ann];C[never closed)(;PB[Bob])").black, Names{"Ann"});
}

TEST(GameTrees, TheWholeGameReaderFindsTheGameTheListNamed)
{
    CTempDir dir;
    std::string bytes;
    // 1,000 games of differing board sizes, each with its own moves.
    for (int i = 0; i < 1000; ++i) {
        const int size = i % 3 == 0 ? 9 : i % 3 == 1 ? 13 : 19;
        bytes += "(;GM[1]SZ[" + std::to_string(size) + "]PB[p" + std::to_string(i) + "]C[game (" + std::to_string(i) +
                 ") \\] ]";
        for (int m = 0; m <= i % 5; ++m)
            bytes += std::string(m % 2 ? ";W[" : ";B[") + char('a' + m) + char('a' + m) + "]";
        bytes += ")\n";
    }
    const std::string path = dir.Write("many.sgf", bytes);

    CPropertyTable first;
    SMoreGames more;
    SGameFileBytes whole;
    ASSERT_TRUE(ReadGameFileContents(path, first, DefaultReadHooks(), nullptr, &whole, &more));
    ASSERT_EQ(more.tables.size(), 999u);
    for (std::size_t game : {std::size_t{0}, std::size_t{1}, std::size_t{500}, std::size_t{999}}) {
        const SGameRecord record = ReadGameRecordFile(path, {}, game);
        EXPECT_EQ(record.problem, EGameProblem::None) << game;
        EXPECT_EQ(std::string(*record.root.Find("PB")), "p" + std::to_string(game));
        EXPECT_EQ(record.moves.size(), game % 5 + 1) << game;
        EXPECT_EQ(record.width, game % 3 == 0 ? 9 : game % 3 == 1 ? 13 : 19) << game;
        // The main line made from the one read of the file is the same game.
        const SGameRecord kept = game == 0
                                     ? MainLineOf(whole, first)
                                     : MainLineOf(whole, more.tables[game - 1], kMaxRecordBytes, more.starts[game - 1]);
        EXPECT_EQ(kept.moves.size(), record.moves.size()) << game;
    }
    EXPECT_EQ(ReadGameRecordFile(path, {}, 1000).problem, EGameProblem::NoGameTree);
    // Every game from one read of the file, one at a time, in file order.
    std::vector<std::string> black;
    ASSERT_TRUE(ForEachGameRecord(path, [&](std::size_t game, SGameRecord& record) {
        EXPECT_EQ(game, black.size());
        black.emplace_back(*record.root.Find("PB"));
    }));
    ASSERT_EQ(black.size(), 1000u);
    EXPECT_EQ(black[777], "p777");
}
