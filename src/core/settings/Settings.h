#pragma once

#include "settings/SettingsStore.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Every value the program keeps in the settings store, each declared once
// with its section, key and the value read when it is absent, so a reader
// and its writer can never spell a key two ways.
struct SIntSetting
{
    std::string_view section;
    std::string_view key;
    std::int32_t fallback;
};

struct SStringSetting
{
    std::string_view section;
    std::string_view key;
    std::string_view fallback;
};

// Absent binary values read as nothing; the caller keeps its own default.
struct SBinarySetting
{
    std::string_view section;
    std::string_view key;
};

namespace settings {
inline constexpr SStringSetting kCurDir{"Misc", "cur dir", ""};
inline constexpr SStringSetting kMyNames{"Misc", "My Names", ""};
inline constexpr SStringSetting kViewer{"Misc", "MGT Viewer", "Glyphon.EXE"};
inline constexpr SIntSetting kTextColor{"Misc", "Text Color", 0};
inline constexpr SBinarySetting kLogfont{"Misc", "Logfont"};
// The charset of records that name none; empty is automatic.
inline constexpr SStringSetting kNoneCharset{"Misc", "Charset", ""};

inline constexpr SIntSetting kFlatbar{"Frame", "Flatbar", 1};
inline constexpr SBinarySetting kPlacement{"Frame", "Placement"};
inline constexpr SIntSetting kStyle{"Frame", "Style", 0};
inline constexpr SIntSetting kFullPath{"Frame", "Full Path", 0};
// Board Pictures: the large icons show each game's board.
inline constexpr SIntSetting kBoardPictures{"Frame", "Board Pictures", 0};
// The bars' docking state, in the toolkit's own form.
inline constexpr SBinarySetting kBarState{"Frame", "Bar State"};

// The board preview beside the list: shown or not, and which position a
// game opens at (0 its end, 1 the move "Move", 2 its start).
inline constexpr SIntSetting kPreviewShown{"Preview", "Shown", 1};
inline constexpr SIntSetting kPreviewAt{"Preview", "At", 0};
inline constexpr SIntSetting kPreviewMove{"Preview", "Move", 50};

// The user's aliases of players, one player per line: NAME<TAB>ALIAS...
inline constexpr SStringSetting kPlayerAliases{"Players", "Aliases", ""};
// The players dock beside the list: shown or not.
inline constexpr SIntSetting kPlayersShown{"Players", "Shown", 0};

// String lists in the delimited form; the definitions fall back to the
// string table's default list.
inline constexpr SStringSetting kDefinitions{"Header", "Definition", ""};
inline constexpr SStringSetting kShownColumns{"Header", "Index", ""};
inline constexpr SIntSetting kWidthCount{"Header", "nWidth", 0};
inline constexpr SBinarySetting kWidths{"Header", "Width"};
inline constexpr SIntSetting kColSort{"Header", "ColSort", 0};
inline constexpr SIntSetting kColSortCur{"Header", "ColSortCur", -1};
// Sort by Meaning: ranks and dates sort by what they say.
inline constexpr SIntSetting kSortByMeaning{"Header", "Sort by Meaning", 0};

// The toolbar's button layout sits directly under the application key.
inline constexpr SBinarySetting kToolbarLayout{"", "Toolbar"};
} // namespace settings

inline std::int32_t ReadInt(const ISettingsStore& store, const SIntSetting& setting)
{
    return store.GetProfileInt(setting.section, setting.key, setting.fallback);
}

inline void WriteInt(ISettingsStore& store, const SIntSetting& setting, std::int32_t value)
{
    store.WriteProfileInt(setting.section, setting.key, value);
}

inline std::string ReadString(const ISettingsStore& store, const SStringSetting& setting)
{
    return store.GetProfileString(setting.section, setting.key, setting.fallback);
}

inline void WriteString(ISettingsStore& store, const SStringSetting& setting, std::string_view value)
{
    store.WriteProfileString(setting.section, setting.key, value);
}

inline std::optional<std::string> ReadBinary(const ISettingsStore& store, const SBinarySetting& setting)
{
    return store.GetProfileBinary(setting.section, setting.key);
}

inline void WriteBinary(ISettingsStore& store, const SBinarySetting& setting, std::string_view bytes)
{
    store.WriteProfileBinary(setting.section, setting.key, bytes);
}
