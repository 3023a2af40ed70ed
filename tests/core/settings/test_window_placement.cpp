#include "settings/WindowPlacementRecord.h"

#include <gtest/gtest.h>

TEST(WindowPlacementRecord, EncodesTheFortyFourLittleEndianBytesInRecordOrder)
{
    CWindowPlacementRecord record;
    record.flags = CWindowPlacementRecord::kRestoreToMaximized;
    record.showCmd = CWindowPlacementRecord::kShowMaximized;
    record.left = 10;
    record.top = -20;
    record.right = 810;
    record.bottom = 0x01020304;
    const std::string bytes = record.Encode();
    ASSERT_EQ(bytes.size(), 44u);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x2c\0\0\0", 4));
    EXPECT_EQ(bytes.substr(4, 4), std::string("\x02\0\0\0", 4));
    EXPECT_EQ(bytes.substr(8, 4), std::string("\x03\0\0\0", 4));
    EXPECT_EQ(bytes.substr(12, 4), std::string("\xff\xff\xff\xff", 4)); // no minimised position
    EXPECT_EQ(bytes.substr(32, 4), std::string("\xec\xff\xff\xff", 4));
    EXPECT_EQ(bytes.substr(40, 4), std::string("\x04\x03\x02\x01", 4));
}

TEST(WindowPlacementRecord, DecodesWhatItEncodesAndIgnoresBytesBeyondTheRecord)
{
    CWindowPlacementRecord record;
    record.showCmd = CWindowPlacementRecord::kShowMinimized;
    record.minX = -32000;
    record.maxY = 7;
    record.left = -1920;
    record.top = 5;
    record.right = -100;
    record.bottom = 1000;
    const auto decoded = CWindowPlacementRecord::Decode(record.Encode() + "extra");
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->Encode(), record.Encode());
    EXPECT_EQ(decoded->left, -1920);
}

TEST(WindowPlacementRecord, AValueShorterThanTheRecordIsNothing)
{
    EXPECT_FALSE(CWindowPlacementRecord::Decode(CWindowPlacementRecord().Encode().substr(0, 43)));
    EXPECT_FALSE(CWindowPlacementRecord::Decode(""));
}
