#include "pattern/PositionIndex.h"
#include "pattern/PositionRow.h"
#include "reader/GameRecordReader.h"
#include "util/Fnv1a.h"

#include <gtest/gtest.h>

namespace {

std::string Hex(std::string_view bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

const char* const kLongerGame = "(;SZ[19]AB[pd]AW[dp];B[dd];W[pp];B[qc];W[pc];B[qd];W[od];B[oc];W[nc];B[pb]"
                                "(;W[ob];B[qq];W[];B[dd];AE[pp]AB[jj];W[jj];B[pp])(;W[aa]))";

} // namespace

TEST(PositionRows, AMoveItsCaptureAndSetupAreWrittenAsUnits)
{
    const std::string row = BuildPositionRow(ReadGameRecordBytes("(;SZ[3];B[ab];W[aa];B[ba])"));
    // Version, 3x3, four units: Black at ab (3), White at aa (0), Black at
    // ba (1), aa (0) taken; then the hash.
    EXPECT_EQ(Hex(row.substr(0, row.size() - 4)), "0103030403000010010000"
                                                  "30");
    const SPositionRow setup = PlayPositionRow(ReadGameRecordBytes("(;SZ[3]AB[cc]AW[bb];B[];AE[cc];W[bb];B[ab])"));
    // cc black (8) and bb white (4) at the root, a pass, cc emptied, then
    // White onto the taken bb is skipped and Black plays ab.
    EXPECT_EQ(setup.units, (std::vector<std::uint16_t>{0x5008, 0x6004, 0x2000, 0x4008, 0x2000, 0x0003}));
}

TEST(PositionRows, ReadBackWhatWasWritten)
{
    const SGameRecord game = ReadGameRecordBytes(kLongerGame);
    const SPositionRow played = PlayPositionRow(game);
    const std::optional<SPositionRow> parsed = ParsePositionRow(BuildPositionRow(game));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->width, 19);
    EXPECT_EQ(parsed->height, 19);
    EXPECT_EQ(parsed->units, played.units);
    // 15 moves (a pass and two skipped ones among them), pc taken by pb,
    // two stones of root setup and the later node's two changes.
    EXPECT_EQ(played.units.size(), 15u + 1u + 2u + 2u);
}

TEST(PositionRows, ADamagedRowIsRefused)
{
    const std::string row = BuildPositionRow(ReadGameRecordBytes(kLongerGame));
    for (std::size_t i = 0; i < row.size(); ++i) {
        EXPECT_FALSE(ParsePositionRow(row.substr(0, i))) << "cut at " << i;
        for (const int flip : {0x01, 0x80, 0xff}) {
            std::string damaged = row;
            damaged[i] = static_cast<char>(damaged[i] ^ flip);
            EXPECT_FALSE(ParsePositionRow(damaged)) << "byte " << i << " ^ " << flip;
        }
    }
    EXPECT_FALSE(ParsePositionRow(row + "x"));
    EXPECT_FALSE(ParsePositionRow(""));
}

TEST(PositionRows, UnitsNoGameCouldGiveAreRefusedDespiteTheirHash)
{
    const auto refused = [](int width, std::vector<std::uint16_t> units) {
        return !ParsePositionRow(EncodePositionRow({width, width, std::move(units)}));
    };
    EXPECT_FALSE(refused(3, {0x0000, 0x1001, 0x0003, 0x3000 | 1}));
    EXPECT_TRUE(refused(3, {0x0000, 0x1000}));         // onto a stone
    EXPECT_TRUE(refused(3, {0x0000, 0x2000, 0x3000})); // a capture after a pass
    EXPECT_TRUE(refused(3, {0x0001, 0x3000}));         // an empty point taken
    EXPECT_TRUE(refused(3, {0x0009}));                 // off the board
    EXPECT_TRUE(refused(3, {0x7000}));                 // no such unit
    EXPECT_TRUE(refused(3, {0x2001}));                 // a pass with a point
    EXPECT_TRUE(refused(3, {0x5000, 0x5000}));         // setup that changes nothing
    EXPECT_TRUE(refused(0, {}));
    // A count of none is the byte 00, never 80 00: one row, one form.
    const auto withHash = [](std::string body) {
        const auto hash = static_cast<std::uint32_t>(Fnv1a(kFnv1aStart, body));
        for (int i = 0; i < 4; ++i)
            body.push_back(static_cast<char>((hash >> (8 * i)) & 0xff));
        return body;
    };
    EXPECT_TRUE(ParsePositionRow(withHash(std::string("\x01\x03\x03\x00", 4))));
    EXPECT_FALSE(ParsePositionRow(withHash(std::string("\x01\x03\x03\x80\x00", 5))));
    EXPECT_TRUE(refused(53, {}));
}

TEST(PositionRows, TheIndexKeepsEachGamesBitmapsAndUnits)
{
    CPositionIndex index;
    EXPECT_FALSE(index.AddRow("\x01\x13", EStone::Black));
    const std::optional<std::uint32_t> first =
        index.AddRow(BuildPositionRow(ReadGameRecordBytes("(;SZ[3];B[ab];W[aa];B[ba])")), EStone::White);
    const std::uint32_t second = index.AddGame(ReadGameRecordBytes("(;SZ[5]AW[ee])"), EStone::Empty);
    ASSERT_EQ(first, 0u);
    EXPECT_EQ(second, 1u);
    EXPECT_EQ(index.GameCount(), 2u);
    const SIndexedGame small = index.Game(0);
    EXPECT_EQ(small.width, 3);
    EXPECT_EQ(small.unitCount, 4u);
    EXPECT_EQ(small.everBlack[0], 0x0a); // ab (3) and ba (1)
    EXPECT_EQ(small.everWhite[0], 0x01); // aa (0)
    EXPECT_EQ(small.everBlack[1], 0x00);
    // Three positions after the start: the first half is 0 and 1, with ab
    // only; ab alone stays filled through positions 2 and 3.
    EXPECT_TRUE(small.hasSecondHalf);
    EXPECT_EQ(small.half, 1u);
    EXPECT_EQ(small.firstHalfBlack[0], 0x08);
    EXPECT_EQ(small.firstHalfWhite[0], 0x00);
    EXPECT_EQ(small.filledInSecondHalf[0], 0x08);
    EXPECT_EQ(index.Winner(0), EStone::White);
    const SIndexedGame setup = index.Game(1);
    EXPECT_EQ(setup.width, 5);
    EXPECT_EQ(setup.unitCount, 1u);
    EXPECT_FALSE(setup.hasSecondHalf);
    EXPECT_EQ(setup.half, 0u);
    EXPECT_EQ(setup.everWhite[3], 0x01); // ee (24)
    EXPECT_EQ(setup.Unit(0), 0x6018);
    EXPECT_EQ(index.Winner(1), EStone::Empty);
}
