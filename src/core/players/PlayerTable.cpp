#include "players/PlayerTable.h"

#include "collection/GameEntry.h"
#include "collection/ShownText.h"
#include "players/PlayerName.h"
#include "util/OpenAddressing.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <map>
#include <unordered_map>

namespace {

constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Two digits at text[at], as a number; -1 when they are not there.
int TwoDigits(std::string_view text, std::size_t at)
{
    if (at + 2 > text.size() || !IsDigit(text[at]) || !IsDigit(text[at + 1]))
        return -1;
    if (at + 2 < text.size() && IsDigit(text[at + 2]))
        return -1;
    return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

// What a game means to one of its players.
enum class EOutcome { Win, Loss, NoWinner };

void Count(SWinLoss& record, EOutcome outcome, int sign)
{
    const auto step = static_cast<std::uint32_t>(sign);
    record.games += step;
    switch (outcome) {
    case EOutcome::Win:
        record.wins += step;
        break;
    case EOutcome::Loss:
        record.losses += step;
        break;
    case EOutcome::NoWinner:
        record.noWinner += step;
        break;
    }
}

} // namespace

void ReadGameDate(std::string_view dt, int& year, std::uint32_t& day)
{
    year = 0;
    day = 0;
    for (std::size_t i = 0; i + 4 <= dt.size(); ++i) {
        if (!IsDigit(dt[i]) || (i > 0 && IsDigit(dt[i - 1])))
            continue;
        std::size_t end = i;
        while (end < dt.size() && IsDigit(dt[end]))
            ++end;
        if (end - i != 4) {
            i = end;
            continue;
        }
        year = (dt[i] - '0') * 1000 + (dt[i + 1] - '0') * 100 + (dt[i + 2] - '0') * 10 + (dt[i + 3] - '0');
        if (year == 0)
            return;
        int month = end < dt.size() && dt[end] == '-' ? TwoDigits(dt, end + 1) : -1;
        int date = month > 0 && end + 3 < dt.size() && dt[end + 3] == '-' ? TwoDigits(dt, end + 4) : -1;
        if (month < 1 || month > 12)
            month = 0;
        if (month == 0 || date < 1 || date > 31)
            date = 0;
        day = static_cast<std::uint32_t>(year * 10000 + month * 100 + date);
        return;
    }
}

SPlayedGame PlayedGameOf(const CGameEntry& game, IShownText* shown)
{
    SPlayedGame played;
    auto name = [&](std::string_view id) {
        const CPropertyValue value = game.m_props.Find(id);
        if (value == nullptr)
            return std::string();
        if (shown && !IsAscii(*value))
            return shown->ShownUtf8(game, *value);
        return std::string(*value);
    };
    played.black = name("PB");
    played.white = name("PW");
    played.winner = game.Winner(shown);
    if (const CPropertyValue dt = game.m_props.Find("DT"))
        ReadGameDate(*dt, played.year, played.day);
    return played;
}

std::size_t SGameIdHash::operator()(const SGameId& id) const noexcept
{
    return std::hash<std::string_view>()(id.path) ^ (static_cast<std::size_t>(id.game) * 0x9E3779B97F4A7C15ull);
}

double SWinLoss::WinRate() const
{
    const std::uint32_t decided = wins + losses;
    return decided == 0 ? -1.0 : static_cast<double>(wins) / decided;
}

struct CPlayerTable::SImpl
{
    // One way a name is written, as the games write it.
    struct SSpelling
    {
        std::string text;
        std::string withoutRank;
        std::string baseKey; // PlayerKey, before aliases
        std::uint32_t player = kNone;
        std::uint32_t games = 0;
    };

    struct SPlayer
    {
        std::string key;
        std::vector<std::uint32_t> spellings; // first seen first
        std::vector<std::uint32_t> games;     // slots, in no order
        SWinLoss total;
        // Games by year (years with a game only, ascending), for the first
        // and last year as games come and go.
        std::vector<std::pair<int, std::uint32_t>> years;
    };

    struct SSlot
    {
        SGameId id;
        bool live = false;
        std::uint32_t blackSpelling = kNone;
        std::uint32_t whiteSpelling = kNone;
        std::uint32_t black = kNone; // players; a game of one player with itself has only black
        std::uint32_t white = kNone;
        std::uint32_t blackAt = 0; // where the slot stands in its players' game lists
        std::uint32_t whiteAt = 0;
        std::uint32_t day = 0;
        int year = 0;
        EResultWinner winner = EResultWinner::None;
    };

    std::vector<SSpelling> spellings;
    std::unordered_map<std::string, std::uint32_t> spellingOf;
    std::vector<SPlayer> players;
    std::unordered_map<std::string, std::uint32_t> playerOf;
    // The index of the games by id: a place holds the id's hash and its slot
    // + 1, so a probe touches a slot only when the hashes agree. At a
    // million games a node per game made the lookups the fill's main cost.
    struct SIdPlace
    {
        static constexpr std::uint32_t kRemoved = std::numeric_limits<std::uint32_t>::max();
        std::uint64_t hash = 0;
        std::uint32_t slot = 0;

        bool Empty() const { return slot == 0; }
        bool Removed() const { return slot == kRemoved; }
    };

    std::vector<SSlot> slots;
    std::vector<std::uint32_t> freeSlots;
    COpenAddressing<SIdPlace> slotOf;
    std::size_t livePlayers = 0;

    std::uint32_t PlayerFor(const std::string& key)
    {
        const auto [it, added] = playerOf.try_emplace(key, static_cast<std::uint32_t>(players.size()));
        if (added) {
            players.emplace_back();
            players.back().key = key;
        }
        return it->second;
    }

    std::uint32_t SpellingFor(const std::string& text, const CPlayerAliases& aliases)
    {
        if (text.empty())
            return kNone;
        const auto found = spellingOf.find(text);
        if (found != spellingOf.end())
            return found->second;
        SSpelling spelling;
        spelling.text = text;
        spelling.withoutRank = NameWithoutRank(text);
        spelling.baseKey = KeyOfNameWithoutRank(spelling.withoutRank);
        if (spelling.baseKey.empty())
            return kNone;
        const auto index = static_cast<std::uint32_t>(spellings.size());
        spelling.player = PlayerFor(aliases.KeyOfKey(spelling.baseKey));
        players[spelling.player].spellings.push_back(index);
        spellings.push_back(std::move(spelling));
        spellingOf.emplace(text, index);
        return index;
    }

    static EOutcome OutcomeFor(const SSlot& slot, bool asBlack)
    {
        if (slot.winner == EResultWinner::None || slot.black == slot.white)
            return EOutcome::NoWinner;
        return (slot.winner == EResultWinner::Black) == asBlack ? EOutcome::Win : EOutcome::Loss;
    }

    void CountYear(SPlayer& player, int year, int sign)
    {
        if (year == 0)
            return;
        auto at = std::lower_bound(player.years.begin(), player.years.end(), std::pair<int, std::uint32_t>(year, 0));
        if (sign > 0) {
            if (at == player.years.end() || at->first != year)
                at = player.years.insert(at, {year, 0});
            ++at->second;
        } else if (at != player.years.end() && at->first == year && --at->second == 0) {
            player.years.erase(at);
        }
    }

    void LinkSide(std::uint32_t slotIndex, std::uint32_t playerIndex, bool asBlack)
    {
        SSlot& slot = slots[slotIndex];
        SPlayer& player = players[playerIndex];
        if (player.total.games == 0)
            ++livePlayers;
        (asBlack ? slot.blackAt : slot.whiteAt) = static_cast<std::uint32_t>(player.games.size());
        player.games.push_back(slotIndex);
        Count(player.total, OutcomeFor(slot, asBlack), 1);
        CountYear(player, slot.year, 1);
    }

    void UnlinkSide(std::uint32_t slotIndex, std::uint32_t playerIndex, bool asBlack)
    {
        SSlot& slot = slots[slotIndex];
        SPlayer& player = players[playerIndex];
        const std::uint32_t at = asBlack ? slot.blackAt : slot.whiteAt;
        const std::uint32_t moved = player.games.back();
        player.games[at] = moved;
        player.games.pop_back();
        if (moved != slotIndex) {
            SSlot& other = slots[moved];
            (other.black == playerIndex ? other.blackAt : other.whiteAt) = at;
        }
        Count(player.total, OutcomeFor(slot, asBlack), -1);
        CountYear(player, slot.year, -1);
        if (player.total.games == 0)
            --livePlayers;
    }

    void Link(std::uint32_t slotIndex)
    {
        SSlot& slot = slots[slotIndex];
        slot.black = slot.blackSpelling == kNone ? kNone : spellings[slot.blackSpelling].player;
        slot.white = slot.whiteSpelling == kNone ? kNone : spellings[slot.whiteSpelling].player;
        if (slot.black == kNone && slot.white != kNone) {
            // Only white has a name: it is the slot's one player, as white.
            LinkSide(slotIndex, slot.white, false);
        } else {
            if (slot.black != kNone)
                LinkSide(slotIndex, slot.black, true);
            if (slot.white != kNone && slot.white != slot.black)
                LinkSide(slotIndex, slot.white, false);
        }
        for (std::uint32_t spelling : {slot.blackSpelling, slot.whiteSpelling})
            if (spelling != kNone)
                ++spellings[spelling].games;
    }

    void Unlink(std::uint32_t slotIndex)
    {
        const SSlot& slot = slots[slotIndex];
        if (slot.black != kNone)
            UnlinkSide(slotIndex, slot.black, true);
        if (slot.white != kNone && slot.white != slot.black)
            UnlinkSide(slotIndex, slot.white, false);
        for (std::uint32_t spelling : {slot.blackSpelling, slot.whiteSpelling})
            if (spelling != kNone)
                --spellings[spelling].games;
    }

    std::string ShownName(const SPlayer& player) const
    {
        // As ShownPlayerName, on the forms kept with each spelling.
        std::vector<std::pair<const std::string*, std::size_t>> forms;
        for (std::uint32_t index : player.spellings) {
            const SSpelling& spelling = spellings[index];
            const auto same = std::find_if(forms.begin(), forms.end(),
                                           [&](const auto& form) { return *form.first == spelling.withoutRank; });
            if (same != forms.end())
                same->second += spelling.games;
            else
                forms.emplace_back(&spelling.withoutRank, spelling.games);
        }
        const std::pair<const std::string*, std::size_t>* best = nullptr;
        for (const auto& form : forms)
            if (!best || form.second > best->second)
                best = &form;
        return best ? *best->first : std::string();
    }

    auto IdMatches(const SGameId& id, std::uint64_t hash) const
    {
        return
            [this, &id, hash](const SIdPlace& place) { return place.hash == hash && slots[place.slot - 1].id == id; };
    }

    const SPlayer* Find(std::string_view key) const
    {
        const auto found = playerOf.find(std::string(key));
        if (found == playerOf.end() || players[found->second].total.games == 0)
            return nullptr;
        return &players[found->second];
    }
};

CPlayerTable::CPlayerTable() : m_impl(std::make_unique<SImpl>()) {}

CPlayerTable::~CPlayerTable() = default;

void CPlayerTable::AddGame(const SGameId& id, const SPlayedGame& game)
{
    SImpl& impl = *m_impl;
    const std::uint64_t hash = SGameIdHash()(id);
    impl.slotOf.MakeRoomForOne([](const SImpl::SIdPlace& place) { return place.hash; });
    // One probe finds the game's place whether it is new or replaced.
    const auto probe = impl.slotOf.Probe(hash, impl.IdMatches(id, hash));
    std::uint32_t index;
    if (probe.found) {
        index = impl.slotOf[probe.at].slot - 1;
        impl.Unlink(index);
    } else {
        if (!impl.freeSlots.empty()) {
            index = impl.freeSlots.back();
            impl.freeSlots.pop_back();
        } else {
            index = static_cast<std::uint32_t>(impl.slots.size());
            impl.slots.emplace_back();
        }
        impl.slots[index].id = id;
        impl.slotOf.Put(probe.at, {hash, index + 1});
    }
    SImpl::SSlot& slot = impl.slots[index];
    slot.live = true;
    slot.blackSpelling = impl.SpellingFor(game.black, m_aliases);
    slot.whiteSpelling = impl.SpellingFor(game.white, m_aliases);
    slot.winner = game.winner;
    slot.year = game.year;
    slot.day = game.day;
    impl.Link(index);
    ++m_generation;
}

bool CPlayerTable::RemoveGame(const SGameId& id)
{
    SImpl& impl = *m_impl;
    const std::uint64_t hash = SGameIdHash()(id);
    const std::size_t at = impl.slotOf.Find(hash, impl.IdMatches(id, hash));
    if (at == COpenAddressing<SImpl::SIdPlace>::npos)
        return false;
    const std::uint32_t index = impl.slotOf[at].slot - 1;
    impl.Unlink(index);
    impl.slots[index] = SImpl::SSlot();
    impl.freeSlots.push_back(index);
    impl.slotOf.Remove(at, {0, SImpl::SIdPlace::kRemoved});
    ++m_generation;
    return true;
}

std::size_t CPlayerTable::RemoveFile(std::string_view path)
{
    SGameId id{std::string(path), 0};
    while (RemoveGame(id))
        ++id.game;
    return id.game;
}

void CPlayerTable::Clear()
{
    m_impl = std::make_unique<SImpl>();
    ++m_generation;
}

void CPlayerTable::SetAliases(const CPlayerAliases& aliases)
{
    if (aliases == m_aliases)
        return;
    m_aliases = aliases;
    SImpl& impl = *m_impl;
    for (std::uint32_t i = 0; i < impl.slots.size(); ++i)
        if (impl.slots[i].live)
            impl.Unlink(i);
    impl.players.clear();
    impl.playerOf.clear();
    impl.livePlayers = 0;
    for (std::uint32_t i = 0; i < impl.spellings.size(); ++i) {
        SImpl::SSpelling& spelling = impl.spellings[i];
        spelling.player = impl.PlayerFor(m_aliases.KeyOfKey(spelling.baseKey));
        impl.players[spelling.player].spellings.push_back(i);
    }
    for (std::uint32_t i = 0; i < impl.slots.size(); ++i)
        if (impl.slots[i].live)
            impl.Link(i);
    ++m_generation;
}

std::size_t CPlayerTable::GameCount() const
{
    return m_impl->slotOf.size();
}

std::size_t CPlayerTable::PlayerCount() const
{
    return m_impl->livePlayers;
}

std::vector<SPlayerRow> CPlayerTable::Rows() const
{
    const SImpl& impl = *m_impl;
    std::vector<SPlayerRow> rows;
    rows.reserve(impl.livePlayers);
    for (const SImpl::SPlayer& player : impl.players) {
        if (player.total.games == 0)
            continue;
        SPlayerRow row;
        row.key = player.key;
        row.name = impl.ShownName(player);
        row.record = player.total;
        if (!player.years.empty()) {
            row.firstYear = player.years.front().first;
            row.lastYear = player.years.back().first;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::optional<SPlayerRecord> CPlayerTable::Record(std::string_view playerKey) const
{
    const SImpl& impl = *m_impl;
    const SImpl::SPlayer* player = impl.Find(playerKey);
    if (!player)
        return std::nullopt;
    const auto self = static_cast<std::uint32_t>(player - impl.players.data());

    SPlayerRecord record;
    record.key = player->key;
    record.name = impl.ShownName(*player);
    record.total = player->total;
    std::map<int, SWinLoss> years;
    std::unordered_map<std::uint32_t, SOpponentRecord> opponents;
    for (std::uint32_t index : player->games) {
        const SImpl::SSlot& slot = impl.slots[index];
        const bool asBlack = slot.black == self;
        const EOutcome outcome = SImpl::OutcomeFor(slot, asBlack);
        Count(asBlack ? record.asBlack : record.asWhite, outcome, 1);
        Count(years[slot.year], outcome, 1);
        const std::uint32_t other = asBlack ? slot.white : slot.black;
        if (other == kNone || other == self)
            continue;
        SOpponentRecord& opponent = opponents[other];
        Count(opponent.record, outcome, 1);
        opponent.lastDay = std::max(opponent.lastDay, slot.day);
        opponent.lastYear = std::max(opponent.lastYear, slot.year);
    }
    for (const auto& [year, counts] : years)
        record.years.push_back({year, counts});
    record.opponents.reserve(opponents.size());
    for (auto& [other, opponent] : opponents) {
        opponent.key = impl.players[other].key;
        opponent.name = impl.ShownName(impl.players[other]);
        record.opponents.push_back(std::move(opponent));
    }
    std::sort(record.opponents.begin(), record.opponents.end(), [](const SOpponentRecord& a, const SOpponentRecord& b) {
        if (a.record.games != b.record.games)
            return a.record.games > b.record.games;
        return a.name != b.name ? a.name < b.name : a.key < b.key;
    });
    return record;
}

std::vector<std::string> CPlayerTable::Spellings(std::string_view playerKey) const
{
    std::vector<std::string> texts;
    if (const SImpl::SPlayer* player = m_impl->Find(playerKey))
        for (std::uint32_t index : player->spellings)
            if (m_impl->spellings[index].games > 0)
                texts.push_back(m_impl->spellings[index].text);
    return texts;
}

std::vector<SGameId> CPlayerTable::GamesOf(std::string_view playerKey, std::string_view opponentKey) const
{
    const SImpl& impl = *m_impl;
    std::vector<SGameId> ids;
    const SImpl::SPlayer* player = impl.Find(playerKey);
    if (!player)
        return ids;
    const SImpl::SPlayer* opponent = opponentKey.empty() ? nullptr : impl.Find(opponentKey);
    if (!opponentKey.empty() && !opponent)
        return ids;
    const auto self = static_cast<std::uint32_t>(player - impl.players.data());
    const auto other = opponent ? static_cast<std::uint32_t>(opponent - impl.players.data()) : kNone;
    for (std::uint32_t index : player->games) {
        const SImpl::SSlot& slot = impl.slots[index];
        if (opponent && (slot.black == self ? slot.white : slot.black) != other)
            continue;
        ids.push_back(slot.id);
    }
    return ids;
}
