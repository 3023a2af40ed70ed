// The duplicate search's keys and groups over records read from the input
// (records separated by NUL bytes), each joined by a mirrored copy and a
// copy cut short, the two kinds of copy the search is there to find.
// Whatever the games, the keys, candidate sets and groups keep their shape:
// indexes in range, each in one set or group at most, sets and groups of
// two or more, and games of one canonical form always in one group.
#include "game/DuplicateGroups.h"
#include "game/DuplicateKey.h"
#include "reader/GameRecordReader.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace {

// The record mirrored left to right; false when a move off the board
// keeps it from being the same game.
bool Mirrored(const SGameRecord& record, SGameRecord& mirror)
{
    mirror = record;
    for (SGameMove& move : mirror.moves) {
        if (move.kind != SGameMove::EKind::Play)
            continue;
        if (move.x >= record.width || move.y >= record.height)
            return false;
        move.x = static_cast<std::uint8_t>(record.width - 1 - move.x);
    }
    for (SSetupRect& rect : mirror.setup) {
        const auto left = static_cast<std::uint8_t>(record.width - 1 - rect.right);
        rect.right = static_cast<std::uint8_t>(record.width - 1 - rect.left);
        rect.left = left;
    }
    return true;
}

// Checks that sets are disjoint sets of two or more indexes below count.
void CheckPartition(const std::vector<std::vector<std::size_t>>& sets, std::size_t count)
{
    std::vector<bool> seen(count);
    for (const auto& set : sets) {
        if (set.size() < 2)
            __builtin_trap();
        for (const std::size_t i : set) {
            if (i >= count || seen[i])
                __builtin_trap();
            seen[i] = true;
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    std::vector<SCanonicalGame> games;
    std::vector<SDuplicateKey> keys;
    const auto add = [&](const SGameRecord& record) {
        SCanonicalGame game;
        const bool usable = MakeCanonicalGame(record, game);
        keys.push_back(MakeDuplicateKey(game, usable, !record.comments.empty()));
        games.push_back(std::move(game));
        return usable;
    };
    while (!rest.empty() && games.size() < 48) {
        const std::size_t end = rest.find('\0');
        const SGameRecord record = ReadGameRecordBytes(rest.substr(0, end));
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        const bool usable = add(record);
        const std::size_t original = games.size() - 1;

        SGameRecord mirror;
        if (Mirrored(record, mirror)) {
            const bool mirrorUsable = add(mirror);
            // One game under a symmetry has one canonical form.
            if (mirrorUsable != usable || (usable && (games.back().tokens != games[original].tokens ||
                                                      games.back().moves != games[original].moves ||
                                                      keys.back().gameHash != keys[original].gameHash ||
                                                      keys.back().prefixHash != keys[original].prefixHash)))
                __builtin_trap();
        }
        // A copy cut short, at a length the input picks.
        if (!record.moves.empty()) {
            SGameRecord cut = record;
            const std::size_t keep =
                rest.empty() ? record.moves.size() / 2 : static_cast<unsigned char>(rest.front()) % record.moves.size();
            cut.moves.resize(keep);
            std::erase_if(cut.setup, [keep](const SSetupRect& rect) { return rect.beforeMove > keep; });
            add(cut);
            // It shares the start of the whole game's form.
            if (usable && keep >= kPrefixMoves &&
                (games.back().prefixTokens != games[original].prefixTokens ||
                 keys.back().prefixHash != keys[original].prefixHash))
                __builtin_trap();
        }
    }

    std::vector<const SDuplicateKey*> pointers;
    for (const SDuplicateKey& key : keys)
        pointers.push_back(&key);
    const auto candidates = CandidateSets(pointers);
    CheckPartition(candidates, keys.size());
    for (const auto& set : candidates) {
        for (const std::size_t i : set) {
            if (!keys[i].usable)
                __builtin_trap();
        }
    }

    // Groups are asked for among games that have a form, as the search does.
    std::vector<SCanonicalGame> usableGames;
    for (std::size_t i = 0; i < games.size(); ++i) {
        if (keys[i].usable) {
            usableGames.push_back(games[i]);
        }
    }
    const auto groups = ExactGroups(usableGames);
    CheckPartition(groups, usableGames.size());
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::vector<std::size_t> groupOf(usableGames.size(), kNone);
    for (std::size_t g = 0; g < groups.size(); ++g) {
        for (const std::size_t i : groups[g])
            groupOf[i] = g;
    }
    for (std::size_t i = 0; i < usableGames.size(); ++i) {
        for (std::size_t j = i + 1; j < usableGames.size(); ++j) {
            if (usableGames[i].tokens == usableGames[j].tokens && usableGames[i].identity == usableGames[j].identity &&
                (groupOf[i] != groupOf[j] || groupOf[i] == kNone))
                __builtin_trap();
        }
    }
    // The order of the copies is strict: never both before the other.
    for (std::size_t i = 0; i + 1 < keys.size(); ++i) {
        if (KeepsBefore(keys[i], "a", keys[i + 1], "b") && KeepsBefore(keys[i + 1], "b", keys[i], "a"))
            __builtin_trap();
    }
    return 0;
}
