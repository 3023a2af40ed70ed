#pragma once

#include "collection/ResultWinner.h"
#include "files/FileStatus.h"
#include "reader/PropertyTable.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class IJoinedNames;
class ISettingsStore;
class IShownText;

// Bit 0 of an entry's flags word: the file has been viewed. The other bits
// mean nothing to the program and are kept as they were loaded.
constexpr std::uint32_t ENTRY_VIEWED = 1;

// One game file of the collection. It does not know its own path: the path
// is its key in the document's path table. Its property table is the first
// game's; a record of several game trees keeps each further game as an entry
// of its own (only its properties mean anything), so every function that
// takes an entry takes one game of a file as well.
class CGameEntry
{
public:
    explicit CGameEntry(std::uint32_t flags = 0) : m_nFlags(flags) {}
    CGameEntry(CGameEntry&&) noexcept = default;
    CGameEntry& operator=(CGameEntry&&) noexcept = default;

    // How many games the file holds: one row each.
    std::size_t GameCount() const { return 1 + (m_pMoreGames ? m_pMoreGames->size() : 0); }
    // Game 0 is this entry itself; the flags and status are always the file's.
    const CGameEntry& Game(std::size_t game) const { return game == 0 ? *this : (*m_pMoreGames)[game - 1]; }
    // Takes the root nodes of the games after the first (none for a file
    // of one game).
    void SetMoreGames(std::vector<CPropertyTable> tables)
    {
        if (tables.empty()) {
            m_pMoreGames.reset();
            return;
        }
        auto games = std::make_unique<std::vector<CGameEntry>>(tables.size());
        for (std::size_t i = 0; i < tables.size(); ++i)
            (*games)[i].m_props = std::move(tables[i]);
        m_pMoreGames = std::move(games);
    }

    // The text of a report column with this signature: a property identifier,
    // or a derived value starting with '$'. False when there is no value;
    // value is then left as it was. The opponent values read "Misc"/"My Names"
    // from store each time; a player is one of them when the name's bytes, or
    // the name as shown (when shown is given), equal one, or when joined
    // (when given) says the name stands for one.
    bool GetValue(std::string_view signature, std::string& value, const ISettingsStore& store,
                  IShownText* shown = nullptr, const IJoinedNames* joined = nullptr) const;

    // Who won, by the result as the list shows it (shown, when given,
    // decodes it), as the Winner column reads it.
    EResultWinner Winner(IShownText* shown = nullptr) const;

    CPropertyTable m_props;
    std::uint32_t m_nFlags = 0;
    // The file's status when it was read, so a refresh can tell which files
    // changed since.
    SFileStatus m_status;
    // The games after the first of a record of several game trees, in file
    // order; none (and no allocation) for a file of one game.
    std::unique_ptr<std::vector<CGameEntry>> m_pMoreGames;
};
