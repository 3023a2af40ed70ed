#include "settings/OptionsValues.h"

#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "settings/StringTable.h"

COptionsValues LoadOptions(const ISettingsStore& store)
{
    COptionsValues values;
    values.viewer = ReadString(store, settings::kViewer);
    values.myNames = ReadString(store, settings::kMyNames);
    values.definitions.LoadWithDefault(store, settings::kDefinitions.section, settings::kDefinitions.key,
                                       IDS_DEFAULT_DEFINITIONS, 1);
    values.shown.LoadFromProfile(store, settings::kShownColumns.section, settings::kShownColumns.key);
    values.noneCharset = ReadString(store, settings::kNoneCharset);
    return values;
}

bool SaveOptions(ISettingsStore& store, const COptionsValues& edited, const COptionsValues& loaded)
{
    bool changed = false;
    WriteString(store, settings::kViewer, edited.viewer);
    // Compared with the store as it is now, not as it was when the sheet opened.
    if (ReadString(store, settings::kMyNames) != edited.myNames) {
        WriteString(store, settings::kMyNames, edited.myNames);
        changed = true;
    }
    if (!edited.definitions.IsEqual(loaded.definitions) || !edited.shown.IsEqual(loaded.shown)) {
        edited.definitions.SaveToProfile(store, settings::kDefinitions.section, settings::kDefinitions.key);
        edited.shown.SaveToProfile(store, settings::kShownColumns.section, settings::kShownColumns.key);
        changed = true;
    }
    // Another charset shows the rows' names anew.
    if (ReadString(store, settings::kNoneCharset) != edited.noneCharset) {
        WriteString(store, settings::kNoneCharset, edited.noneCharset);
        changed = true;
    }
    return changed;
}
