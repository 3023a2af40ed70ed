#include "settings/MemorySettingsStore.h"
#include "settings/OptionsValues.h"

#include <gtest/gtest.h>

TEST(OptionsValues, OkWritesTheViewerAlwaysAndTheRestOnlyWhenChanged)
{
    CMemorySettingsStore store;
    store.WriteProfileString("Header", "Index", "1|0");
    const COptionsValues loaded = LoadOptions(store);
    EXPECT_EQ(loaded.viewer, "Glyphon.EXE");
    EXPECT_EQ(loaded.definitions.size(), 8u);

    EXPECT_FALSE(SaveOptions(store, loaded, loaded));
    EXPECT_EQ(store.GetProfileString("Misc", "MGT Viewer", "absent"), "Glyphon.EXE");
    EXPECT_EQ(store.GetProfileString("Header", "Definition", "absent"), "absent");
    EXPECT_EQ(store.GetProfileString("Misc", "My Names", "absent"), "absent");

    COptionsValues edited = loaded;
    edited.shown.SetInt(0, 2);
    EXPECT_TRUE(SaveOptions(store, edited, loaded));
    EXPECT_EQ(store.GetProfileString("Header", "Index"), "2|0");
    EXPECT_EQ(store.GetProfileString("Header", "Definition").substr(0, 13), "Game Name:GN|");
}

TEST(OptionsValues, NamesAreComparedWithTheStoreAsItIsAtOk)
{
    CMemorySettingsStore store;
    store.WriteProfileString("Misc", "My Names", "kato");
    COptionsValues loaded = LoadOptions(store);
    COptionsValues edited = loaded;
    edited.myNames = "Kato";
    EXPECT_TRUE(SaveOptions(store, edited, loaded));
    EXPECT_EQ(store.GetProfileString("Misc", "My Names"), "Kato");

    // Someone else stored the same names meanwhile: nothing to rebuild.
    edited.myNames = "Sato";
    store.WriteProfileString("Misc", "My Names", "Sato");
    EXPECT_FALSE(SaveOptions(store, edited, loaded));
}
