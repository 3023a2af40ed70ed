#include "settings/OptionsValues.h"

#include "settings/SettingsStore.h"
#include "settings/StringTable.h"

COptionsValues LoadOptions(const ISettingsStore& store)
{
    COptionsValues values;
    values.viewer = store.GetProfileString("Misc", "MGT Viewer", "Glyphon.EXE");
    values.myNames = store.GetProfileString("Misc", "My Names", "");
    values.definitions.LoadWithDefault(store, "Header", "Definition", IDS_DEFAULT_DEFINITIONS, 1);
    values.shown.LoadFromProfile(store, "Header", "Index");
    return values;
}

bool SaveOptions(ISettingsStore& store, const COptionsValues& edited, const COptionsValues& loaded)
{
    bool changed = false;
    store.WriteProfileString("Misc", "MGT Viewer", edited.viewer);
    // Compared with the store as it is now, not as it was when the sheet opened.
    if (store.GetProfileString("Misc", "My Names", "") != edited.myNames) {
        store.WriteProfileString("Misc", "My Names", edited.myNames);
        changed = true;
    }
    if (!edited.definitions.IsEqual(loaded.definitions) || !edited.shown.IsEqual(loaded.shown)) {
        edited.definitions.SaveToProfile(store, "Header", "Definition");
        edited.shown.SaveToProfile(store, "Header", "Index");
        changed = true;
    }
    return changed;
}
