#include "game/BoardPicture.h"
#include "reader/GameRecordReader.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The rows of a picture as X (black), O (white) and . (empty), "/" between.
std::string Rows(const CBoardPicture& picture)
{
    std::string rows;
    for (int y = 0; y < picture.Height(); ++y) {
        if (y > 0)
            rows += '/';
        for (int x = 0; x < picture.Width(); ++x)
            rows += ".XO"[static_cast<int>(picture.At(x, y))];
    }
    return rows;
}

// A problem on 5 by 5: two setup stones, then black plays and takes the
// white stone in the corner, then white plays on.
constexpr std::string_view kGame = "(;SZ[5]AB[ba]AW[aa];B[ab];W[dd];B[cc])";

} // namespace

TEST(BoardPicture, ShowsTheGameAtEachOpenAtChoice)
{
    const SGameRecord record = ReadGameRecordBytes(kGame);
    EXPECT_EQ(Rows(PictureOfGame(record, OpenAtOfChoice(2, 7))), "OX.../...../...../...../.....")
        << "the start shows the setup alone, as a problem is posed";
    EXPECT_EQ(Rows(PictureOfGame(record, OpenAtOfChoice(1, 1))), ".X.../X..../...../...../.....")
        << "move 1 takes the corner stone";
    EXPECT_EQ(Rows(PictureOfGame(record, OpenAtOfChoice(1, 2))), ".X.../X..../...../...O./.....");
    EXPECT_EQ(Rows(PictureOfGame(record, OpenAtOfChoice(0, 1))), ".X.../X..../..X../...O./.....");
    EXPECT_EQ(Rows(PictureOfGame(record, OpenAtOfChoice(1, 99))), Rows(PictureOfGame(record, kOpenAtEnd)))
        << "a move past the end shows the end";
}

TEST(BoardPicture, KeepsTheBoardsShapeAndHasNoneForARecordWithoutAGame)
{
    const CBoardPicture wide = PictureOfGame(ReadGameRecordBytes("(;SZ[7:3];B[fb])"), kOpenAtEnd);
    EXPECT_EQ(Rows(wide), "......./.....X./.......");
    EXPECT_TRUE(PictureOfGame(ReadGameRecordBytes("no game here"), kOpenAtEnd).IsEmpty());
    EXPECT_TRUE(PictureOfGame(ReadGameRecordBytes(std::string("\x06\x00\x00", 3)), kOpenAtEnd).IsEmpty());
}

TEST(BoardPicture, StoredBytesGiveTheSamePictureAndAnythingElseIsRefused)
{
    const CBoardPicture picture = PictureOfGame(ReadGameRecordBytes(kGame), kOpenAtEnd);
    const std::string bytes = picture.Encode();
    // Mark, 5 by 5, then 25 points at four a byte.
    ASSERT_EQ(bytes.size(), 3u + 7u);
    EXPECT_EQ(bytes.substr(0, 3), std::string("P\x05\x05"));
    EXPECT_EQ(CBoardPicture::Decode(bytes), picture);
    EXPECT_EQ(CBoardPicture::Decode(CBoardPicture().Encode()), CBoardPicture());

    EXPECT_FALSE(CBoardPicture::Decode(""));
    EXPECT_FALSE(CBoardPicture::Decode("Q" + bytes.substr(1))) << "another mark";
    EXPECT_FALSE(CBoardPicture::Decode(bytes.substr(0, bytes.size() - 1))) << "cut short";
    EXPECT_FALSE(CBoardPicture::Decode(bytes + '\0')) << "a byte too many";
    EXPECT_FALSE(CBoardPicture::Decode(std::string("P\x35\x01", 3) + std::string(14, '\0'))) << "53 points wide";
    EXPECT_FALSE(CBoardPicture::Decode(std::string("P\x00\x05", 3))) << "no width but a height";
    std::string three = bytes;
    three[3] = '\x03';
    EXPECT_FALSE(CBoardPicture::Decode(three)) << "a point that is no stone";
    std::string past = bytes;
    past.back() = '\x04';
    EXPECT_FALSE(CBoardPicture::Decode(past)) << "a stone beyond the last point";
}
