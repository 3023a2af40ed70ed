#pragma once

#include "collection/ResultWinner.h"
#include "files/FileStatus.h"
#include "reader/PropertyTable.h"

#include <cstdint>
#include <string>
#include <string_view>

class ISettingsStore;
class IShownText;

// Bit 0 of an entry's flags word: the file has been viewed. The other bits
// mean nothing to the program and are kept as they were loaded.
constexpr std::uint32_t ENTRY_VIEWED = 1;

// One game file of the collection. It does not know its own path: the path
// is its key in the document's path table.
class CGameEntry
{
public:
    explicit CGameEntry(std::uint32_t flags = 0) : m_nFlags(flags) {}

    // The text of a report column with this signature: a property identifier,
    // or a derived value starting with '$'. False when there is no value;
    // value is then left as it was. The opponent values read "Misc"/"My Names"
    // from store each time; a player is one of them when the name's bytes, or
    // the name as shown (when shown is given), equal one.
    bool GetValue(std::string_view signature, std::string& value, const ISettingsStore& store,
                  IShownText* shown = nullptr) const;

    // Who won, by the result as the list shows it (shown, when given,
    // decodes it), as the Winner column reads it.
    EResultWinner Winner(IShownText* shown = nullptr) const;

    CPropertyTable m_props;
    std::uint32_t m_nFlags = 0;
    // The file's status when it was read, so a refresh can tell which files
    // changed since.
    SFileStatus m_status;
};
