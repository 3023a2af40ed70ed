// The players table over the root nodes of the generated tree: filled from
// the entries as the window fills it (each game's names, winner and year
// taken from its entry, then counted), one player's record, a refresh of a
// thousand files, and a change of aliases. 100,000 games are the tree's; for
// 1,000,000 each game is counted ten times under ten ids, the players of
// each round but the first named apart (a round number after the name), so
// the table holds ten times the players too.
#include "CorpusFiles.h"
#include "ToolArgs.h"

#include "collection/GameEntry.h"
#include "players/PlayerTable.h"
#include "reader/GameReader.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct SEntry
{
    std::string path;
    CGameEntry entry;
};

// One fill: every entry's games, rounds times, then the rows a view shows.
void Fill(CPlayerTable& table, const std::vector<SEntry>& entries, int rounds)
{
    for (int round = 0; round < rounds; ++round) {
        std::string suffix;
        if (round > 0)
            suffix = ' ' + std::to_string(round);
        for (const SEntry& file : entries) {
            for (std::size_t i = 0; i < file.entry.GameCount(); ++i) {
                SPlayedGame game = PlayedGameOf(file.entry.Game(i));
                if (!suffix.empty()) {
                    game.black += suffix;
                    game.white += suffix;
                }
                table.AddGame({file.path, static_cast<std::uint32_t>(round * 1000 + i)}, game);
            }
        }
    }
}

void Measure(const std::vector<SEntry>& entries, int rounds)
{
    CPlayerTable table;
    const Clock::time_point start = Clock::now();
    const std::clock_t cpuStart = std::clock();
    Fill(table, entries, rounds);
    const std::vector<SPlayerRow> rows = table.Rows();
    const double fill = MsSince(start);
    // Other builds share the machine: the processor time shows what the fill itself took.
    const double fillCpu = 1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;

    // The player with the most games has the longest record to make.
    const SPlayerRow& top = *std::max_element(rows.begin(), rows.end(), [](const SPlayerRow& a, const SPlayerRow& b) {
        return a.record.games < b.record.games;
    });
    constexpr int kRecords = 5;
    const Clock::time_point recordStart = Clock::now();
    std::size_t opponents = 0;
    for (int i = 0; i < kRecords; ++i)
        opponents += table.Record(top.key)->opponents.size();
    const double record = MsSince(recordStart) / kRecords;

    // A refresh of 1,000 files: each game taken out and counted again.
    const std::size_t refreshed = std::min<std::size_t>(1000, entries.size());
    const Clock::time_point refreshStart = Clock::now();
    for (std::size_t f = 0; f < refreshed; ++f) {
        const SEntry& file = entries[f];
        table.RemoveFile(file.path);
        for (std::size_t i = 0; i < file.entry.GameCount(); ++i)
            table.AddGame({file.path, static_cast<std::uint32_t>(i)}, PlayedGameOf(file.entry.Game(i)));
    }
    const double refresh = MsSince(refreshStart);

    // Joining two players keys every spelling again and counts afresh.
    CPlayerAliases aliases;
    aliases.Join({rows[0].name, rows[1].name});
    const Clock::time_point aliasStart = Clock::now();
    table.SetAliases(aliases);
    const double alias = MsSince(aliasStart);

    std::printf("players, %zu games (%zu players): fill and rows %.0f ms (processor %.0f ms); record of the top "
                "player (%u games, %zu opponents) %.1f ms; refresh of %zu files %.1f ms; a change of aliases %.0f ms\n",
                table.GameCount(), rows.size(), fill, fillCpu, top.record.games, opponents / kRecords, record,
                refreshed, refresh, alias);
}

} // namespace

int main(int argc, char** argv)
{
    if (const std::optional<int> status = CheckToolArgs(argc, argv, "usage: varnex-bench-players DATA_DIR\n"))
        return *status;
    if (argc != 2) {
        std::fprintf(stderr, "usage: varnex-bench-players DATA_DIR\n");
        return 2;
    }
    std::vector<SEntry> entries;
    for (const std::string& path : SgfFilesUnder(argv[1])) {
        SEntry file{path, CGameEntry()};
        if (ReadGameFile(path, file.entry.m_props))
            entries.push_back(std::move(file));
    }
    if (entries.empty()) {
        std::fprintf(stderr, "varnex-bench-players: no game files under %s\n", argv[1]);
        return 1;
    }
    Measure(entries, 1);
    Measure(entries, 10);
    return 0;
}
