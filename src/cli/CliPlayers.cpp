#include "cli/CliPlayers.h"

#include "cache/HeaderCache.h"
#include "cli/CliCommands.h"
#include "cli/CliDocHost.h"
#include "cli/CliEscape.h"
#include "cli/CliUtf8.h"
#include "collection/CollectionFile.h"
#include "collection/VarnexDoc.h"
#include "pattern/PositionRow.h"
#include "players/PlayerAliases.h"
#include "players/PlayerTable.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>

namespace {

struct SPlayersArgs
{
    std::string collection;
    std::optional<std::string> player;
    std::optional<std::string> aliases;
};

bool TakeValue(const std::vector<std::string>& args, std::size_t& i, std::string_view name,
               std::optional<std::string>& value, std::string& error)
{
    const std::string& arg = args[i];
    if (arg == name) {
        if (i + 1 >= args.size())
            error = std::string(name) + " needs a value";
        else
            value = args[++i];
        return true;
    }
    if (arg.size() > name.size() && arg.compare(0, name.size(), name) == 0 && arg[name.size()] == '=') {
        value = arg.substr(name.size() + 1);
        return true;
    }
    return false;
}

std::optional<SPlayersArgs> ParsePlayersArgs(const std::vector<std::string>& args, std::string& error)
{
    SPlayersArgs parsed;
    std::vector<std::string> operands;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size() && error.empty(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-')
            operands.push_back(arg);
        else if (arg == "--")
            optionsEnded = true;
        else if (!TakeValue(args, i, "--player", parsed.player, error) &&
                 !TakeValue(args, i, "--aliases", parsed.aliases, error))
            error = "unknown option " + arg;
    }
    if (error.empty() && operands.size() != 1)
        error = "players needs exactly one collection file";
    if (error.empty() && parsed.player && parsed.player->empty())
        error = "--player needs a name";
    if (!error.empty())
        return std::nullopt;
    parsed.collection = operands.front();
    return parsed;
}

// A record's texts as the list shows them: by the charset chosen for the
// record, which its folder may have taught.
class CShownInFolder : public IShownText
{
public:
    CShownInFolder(IUtf8Converter& utf8, const std::string& path) : m_utf8(utf8), m_path(path) {}

    std::string ShownUtf8(const CGameEntry& entry, std::string_view text) override
    {
        return m_utf8.TextsToUtf8({std::string(text)}, entry, m_path).front();
    }

private:
    IUtf8Converter& m_utf8;
    const std::string& m_path;
};

void AppendCount(std::string& text, std::uint32_t count)
{
    text += '\t';
    text += std::to_string(count);
}

void AppendYear(std::string& text, int year)
{
    text += '\t';
    if (year != 0)
        text += std::to_string(year);
}

// yyyymmdd as 2016-03-09, 2016-03 or 2016.
std::string DayText(std::uint32_t day)
{
    if (day == 0)
        return {};
    char text[16];
    const unsigned year = day / 10000, month = day / 100 % 100, date = day % 100;
    if (month == 0)
        std::snprintf(text, sizeof text, "%04u", year);
    else if (date == 0)
        std::snprintf(text, sizeof text, "%04u-%02u", year, month);
    else
        std::snprintf(text, sizeof text, "%04u-%02u-%02u", year, month, date);
    return text;
}

std::string PlayersText(const CPlayerTable& table)
{
    std::vector<SPlayerRow> rows = table.Rows();
    std::sort(rows.begin(), rows.end(), [](const SPlayerRow& a, const SPlayerRow& b) {
        if (a.record.games != b.record.games)
            return a.record.games > b.record.games;
        return a.name != b.name ? a.name < b.name : a.key < b.key;
    });
    std::string text;
    for (const SPlayerRow& row : rows) {
        AppendEscapedCell(text, row.name);
        AppendCount(text, row.record.games);
        AppendCount(text, row.record.wins);
        AppendCount(text, row.record.losses);
        AppendCount(text, row.record.noWinner);
        AppendYear(text, row.firstYear);
        AppendYear(text, row.lastYear);
        text += '\n';
    }
    return text;
}

std::string OpponentsText(const SPlayerRecord& record)
{
    std::string text;
    for (const SOpponentRecord& opponent : record.opponents) {
        AppendEscapedCell(text, opponent.name);
        AppendCount(text, opponent.record.games);
        AppendCount(text, opponent.record.wins);
        AppendCount(text, opponent.record.losses);
        text += '\t';
        text += opponent.lastDay != 0 ? DayText(opponent.lastDay)
                                      : (opponent.lastYear != 0 ? std::to_string(opponent.lastYear) : std::string());
        text += '\n';
    }
    return text;
}

} // namespace

int RunPlayersCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                      const std::string& cacheFolder, IUtf8Converter& utf8, const CPlayerAliases& aliases)
{
    std::string error;
    const std::optional<SPlayersArgs> parsed = ParsePlayersArgs(args, error);
    if (!parsed) {
        err << "varnex-cli: " << error << " (see varnex-cli players --help)\n";
        return kExitUsage;
    }
    CPlayerAliases joined = aliases;
    if (parsed->aliases) {
        std::ifstream in(*parsed->aliases, std::ios::binary);
        if (!in) {
            err << "varnex-cli: players: cannot read alias file " << EscapeField(*parsed->aliases) << ": "
                << std::strerror(errno) << '\n';
            return kExitUsage;
        }
        joined.ImportText(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    }

    CCliDocHost host(err);
    CVarnexDoc doc(host);
    doc.SetHeaderCache(CHeaderCache::Open(cacheFolder, parsed->collection));
    doc.SetPositionRowBuilder(BuildPositionRow);
    std::string loadError;
    const bool loaded = LoadCollectionFile(doc, parsed->collection, &loadError);
    doc.FlushHeaderCache();
    if (!loaded) {
        err << "varnex-cli: cannot open collection " << EscapeField(parsed->collection) << ": " << loadError << '\n';
        return kExitFailure;
    }

    // Every record is noted first, so that records the detector cannot
    // place take their folder's charset, as in the list.
    doc.m_mapFiles.ForEach([&](const std::string& path, const CGameEntry& entry) { utf8.NoteRecord(path, entry); });
    CPlayerTable table;
    table.SetAliases(joined);
    doc.m_mapFiles.ForEach([&](const std::string& path, const CGameEntry& entry) {
        CShownInFolder shown(utf8, path);
        for (std::size_t i = 0; i < entry.GameCount(); ++i)
            table.AddGame({path, static_cast<std::uint32_t>(i)}, PlayedGameOf(entry.Game(i), &shown));
    });

    std::string text;
    if (parsed->player) {
        const std::optional<SPlayerRecord> record = table.Record(table.KeyOf(*parsed->player));
        if (!record) {
            err << "varnex-cli: players: no game names the player " << EscapeField(*parsed->player) << '\n';
            return kExitFailure;
        }
        text = OpponentsText(*record);
    } else {
        text = PlayersText(table);
    }
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    if (!out) {
        err << "varnex-cli: cannot write to standard output\n";
        return kExitFailure;
    }
    return kExitOk;
}
