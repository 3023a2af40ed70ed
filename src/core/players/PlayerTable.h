#pragma once

#include "collection/ResultWinner.h"
#include "players/PlayerAliases.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CGameEntry;
class IShownText;

// A game as the players table counts it.
struct SPlayedGame
{
    std::string black; // UTF-8, as the list shows PB
    std::string white; // UTF-8, as the list shows PW
    // Who won, as the Winner column reads it; None (a draw, a void game, an
    // unknown result) is a game without a winner, never a loss.
    EResultWinner winner = EResultWinner::None;
    // The first 4-digit year of DT, 0 when it has none.
    int year = 0;
    // The first full date of DT as yyyymmdd (a month or year alone has 00
    // for the rest), 0 when it has none: orders the last games.
    std::uint32_t day = 0;
};

// The year and day of a DT value, as SPlayedGame holds them.
void ReadGameDate(std::string_view dt, int& year, std::uint32_t& day);

// One game of a file (entry.Game(i)) as the table counts it; shown, when
// given, decodes the names and the result as the list shows them.
SPlayedGame PlayedGameOf(const CGameEntry& game, IShownText* shown = nullptr);

// A game's place in the window: the file's path and the game's number in it.
struct SGameId
{
    std::string path;
    std::uint32_t game = 0;

    bool operator==(const SGameId&) const = default;
};

struct SGameIdHash
{
    std::size_t operator()(const SGameId& id) const noexcept;
};

// Games, wins, losses and games without a winner.
struct SWinLoss
{
    std::uint32_t games = 0;
    std::uint32_t wins = 0;
    std::uint32_t losses = 0;
    std::uint32_t noWinner = 0;

    // Wins over the games that had a winner, from 0 to 1; -1 when none had.
    double WinRate() const;
    bool operator==(const SWinLoss&) const = default;
};

// One row of the players table.
struct SPlayerRow
{
    std::string key;  // the player's key (aliases followed)
    std::string name; // the name it is shown under
    SWinLoss record;
    int firstYear = 0; // 0 when no game has a year
    int lastYear = 0;
};

struct SYearRecord
{
    int year = 0; // 0 for the games without a year
    SWinLoss record;
};

struct SOpponentRecord
{
    std::string key;
    std::string name;
    SWinLoss record;           // the player's wins and losses against this opponent
    std::uint32_t lastDay = 0; // yyyymmdd of their last game, 0 when none has a date
    int lastYear = 0;          // the year of their last game, 0 when none has one
};

// One player's record.
struct SPlayerRecord
{
    std::string key;
    std::string name;
    SWinLoss total;
    SWinLoss asBlack;
    SWinLoss asWhite;
    std::vector<SYearRecord> years;         // by year, ascending, 0 first when there are such games
    std::vector<SOpponentRecord> opponents; // most games first, then by name
};

// The players of a collection, kept up to date game by game: adding or
// removing a game changes only its two players' counts. A player is every
// spelling with one key (PlayerKey, aliases followed); a game whose two
// names have one key counts once, without a winner. An empty name is no
// player.
class CPlayerTable
{
public:
    CPlayerTable();
    ~CPlayerTable();
    CPlayerTable(const CPlayerTable&) = delete;
    CPlayerTable& operator=(const CPlayerTable&) = delete;

    // A game already in the table is replaced.
    void AddGame(const SGameId& id, const SPlayedGame& game);
    // False when the game is not in the table.
    bool RemoveGame(const SGameId& id);
    // Removes the games 0, 1, 2... of path until one is missing: what was
    // added for a file, before it is read again. Returns how many.
    std::size_t RemoveFile(std::string_view path);
    void Clear();

    // Keys every spelling again under aliases and counts afresh.
    void SetAliases(const CPlayerAliases& aliases);
    const CPlayerAliases& Aliases() const { return m_aliases; }
    // The key a name counts under here.
    std::string KeyOf(std::string_view name) const { return m_aliases.Key(name); }

    std::size_t GameCount() const;
    // Players with at least one game.
    std::size_t PlayerCount() const;
    // Counts every change, so a view can tell that its copy is stale.
    std::uint64_t Generation() const { return m_generation; }

    // Every player with at least one game, in no particular order.
    std::vector<SPlayerRow> Rows() const;
    // Nothing when no game names the player.
    std::optional<SPlayerRecord> Record(std::string_view playerKey) const;
    // The spellings of a player, as the games write them, first seen first.
    std::vector<std::string> Spellings(std::string_view playerKey) const;
    // The games of a player; with opponentKey, only those against them.
    std::vector<SGameId> GamesOf(std::string_view playerKey, std::string_view opponentKey = {}) const;

private:
    struct SImpl;

    CPlayerAliases m_aliases;
    std::uint64_t m_generation = 0;
    std::unique_ptr<SImpl> m_impl;
};
