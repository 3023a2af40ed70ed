#include "players/PlayerAliases.h"
#include "players/PlayerName.h"
#include "players/PlayerTable.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {
void Check(bool condition)
{
    if (!condition) {
        __builtin_trap();
    }
}
} // namespace

// The input is names, one a line, and the same bytes as an alias file.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> names;
    for (std::size_t start = 0; start <= text.size() && names.size() < 64;) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        names.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }

    CPlayerTable table;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string& name = names[i];
        const std::string key = PlayerKey(name);
        // A rank word after a name never makes it another player.
        Check(PlayerKey(name + " 9p") == key || key.empty());
        Check(PlayerKey(name + " \xE4\xB9\x9D\xE6\xAE\xB5") == key || key.empty()); // 九段
        Check(NameWithoutRank(name).size() <= name.size());
        table.AddGame({"f", static_cast<std::uint32_t>(i)},
                      {name, names[(i + 1) % names.size()], static_cast<EResultWinner>(i % 3), 0, 0});
    }

    // An alias file read back from its own export keys every name alike.
    CPlayerAliases aliases;
    aliases.ImportText(text);
    CPlayerAliases again;
    again.ImportText(aliases.ExportText());
    for (const std::vector<std::string>& group : aliases.Groups())
        for (const std::string& name : group)
            Check(again.Key(name) == aliases.Key(name));

    // The counts stay whole through a change of aliases and removals.
    table.SetAliases(aliases);
    std::uint32_t games = 0;
    for (const SPlayerRow& row : table.Rows()) {
        Check(row.record.wins + row.record.losses + row.record.noWinner == row.record.games);
        Check(table.Record(row.key).has_value());
        games += row.record.games;
    }
    Check(games <= 2 * table.GameCount());
    Check(table.RemoveFile("f") == names.size());
    Check(table.Rows().empty() && table.PlayerCount() == 0);
    return 0;
}
