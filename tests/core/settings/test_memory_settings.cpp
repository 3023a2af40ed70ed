#include "settings/MemorySettingsStore.h"

#include <gtest/gtest.h>

TEST(MemorySettingsStore, AbsentValuesReadAsTheCallersDefault)
{
    const CMemorySettingsStore store;
    EXPECT_EQ(store.GetProfileInt("Frame", "Flatbar", 1), 1);
    EXPECT_EQ(store.GetProfileInt("Header", "ColSortCur", -1), -1);
    EXPECT_EQ(store.GetProfileString("Misc", "MGT Viewer", "Glyphon.EXE"), "Glyphon.EXE");
    EXPECT_EQ(store.GetProfileString("Misc", "My Names"), "");
    EXPECT_FALSE(store.GetProfileBinary("Frame", "Placement").has_value());
}

TEST(MemorySettingsStore, ValuesReadBackExactly)
{
    CMemorySettingsStore store;
    const std::string bytes("\x00\xFF\x80|\\\n", 6);
    store.WriteProfileString("Misc", "cur dir", bytes);
    store.WriteProfileInt("Header", "ColSortCur", -2147483647 - 1);
    store.WriteProfileInt("Misc", "Text Color", 0x00FFFFFF);
    store.WriteProfileBinary("Frame", "Placement", std::string(44, '\0'));
    store.WriteProfileBinary("", "Toolbar", "");

    EXPECT_EQ(store.GetProfileString("Misc", "cur dir"), bytes);
    EXPECT_EQ(store.GetProfileInt("Header", "ColSortCur", 0), -2147483647 - 1);
    EXPECT_EQ(store.GetProfileInt("Misc", "Text Color", 0), 0x00FFFFFF);
    EXPECT_EQ(store.GetProfileBinary("Frame", "Placement"), std::string(44, '\0'));
    EXPECT_EQ(store.GetProfileBinary("", "Toolbar"), std::string());
}

TEST(MemorySettingsStore, StringReadsAsNumberOnlyWhenItIsOne)
{
    CMemorySettingsStore store;
    store.WriteProfileString("S", "number", "-42");
    store.WriteProfileString("S", "text", "12abc");
    store.WriteProfileString("S", "empty", "");
    store.WriteProfileString("S", "huge", "99999999999");
    EXPECT_EQ(store.GetProfileInt("S", "number", 7), -42);
    EXPECT_EQ(store.GetProfileInt("S", "text", 7), 7);
    EXPECT_EQ(store.GetProfileInt("S", "empty", 7), 7);
    EXPECT_EQ(store.GetProfileInt("S", "huge", 7), 7);

    store.WriteProfileInt("S", "int", 5);
    EXPECT_EQ(store.GetProfileString("S", "int"), "5");
}
