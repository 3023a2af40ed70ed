#include "settings/LogFontRecord.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Int32Le(std::int32_t value)
{
    std::string out;
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((static_cast<std::uint32_t>(value) >> shift) & 0xFFu));
    return out;
}

} // namespace

TEST(LogFontRecord, EncodesTheSixtyByteLayoutLittleEndian)
{
    CLogFontRecord font;
    font.lfHeight = -13;
    font.lfWidth = 0;
    font.lfEscapement = 900;
    font.lfOrientation = -1;
    font.lfWeight = 700;
    font.lfItalic = 1;
    font.lfUnderline = 0;
    font.lfStrikeOut = 1;
    font.lfCharSet = 0x80;
    font.lfOutPrecision = 3;
    font.lfClipPrecision = 2;
    font.lfQuality = 1;
    font.lfPitchAndFamily = 0x22;
    font.SetFaceName("Arial");

    std::string expected = Int32Le(-13) + Int32Le(0) + Int32Le(900) + Int32Le(-1) + Int32Le(700);
    expected += std::string("\x01\x00\x01\x80\x03\x02\x01\x22", 8);
    expected += "Arial";
    expected.append(32 - 5, '\0');

    const std::string bytes = font.Encode();
    ASSERT_EQ(bytes.size(), 60u);
    EXPECT_EQ(bytes, expected);

    const auto decoded = CLogFontRecord::Decode(bytes);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->Encode(), bytes);
    EXPECT_EQ(decoded->lfHeight, -13);
    EXPECT_EQ(decoded->lfOrientation, -1);
    EXPECT_EQ(decoded->lfCharSet, 0x80);
    EXPECT_EQ(decoded->FaceName(), "Arial");
}

TEST(LogFontRecord, RefusesRecordsThatAreNotSixtyBytesLong)
{
    EXPECT_FALSE(CLogFontRecord::Decode(""));
    EXPECT_FALSE(CLogFontRecord::Decode(std::string(59, 'x')));
    EXPECT_FALSE(CLogFontRecord::Decode(std::string(61, 'x')));
    EXPECT_TRUE(CLogFontRecord::Decode(std::string(60, '\0')));
}

TEST(LogFontRecord, FaceNameWithoutItsZeroStaysInsideTheRecord)
{
    std::string bytes(28, '\0');
    bytes.append(32, 'F');
    const auto decoded = CLogFontRecord::Decode(bytes);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->FaceName(), std::string(31, 'F'));
}

TEST(LogFontRecord, LongFaceNamesAreCutToThirtyOneBytesWithoutSplittingACharacter)
{
    CLogFontRecord font;
    font.SetFaceName(std::string(40, 'a'));
    EXPECT_EQ(font.FaceName(), std::string(31, 'a'));

    // 30 ASCII bytes and a two-byte character: the character does not fit.
    font.SetFaceName(std::string(30, 'b') + "\xC3\xA9");
    EXPECT_EQ(font.FaceName(), std::string(30, 'b'));
}
