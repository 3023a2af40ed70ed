// Google Benchmark figures for core functions on inputs in memory.
#include "collection/CollectionFile.h"
#include "collection/PathTable.h"
#include "reader/GameReader.h"
#include "report/ExportWriter.h"
#include "report/KeyIndex.h"
#include "report/ReportRows.h"
#include "report/RowFilter.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

namespace {

const std::string kRecord = "(;GM[1]FF[4]CA[UTF-8]SZ[19]\nPB[Cho Chikun]PW[Kobayashi Koichi]BR[9p]WR[9p]\n"
                            "DT[1986-03-12]EV[10th Kisei]RO[7]\nRE[W+R]KM[5.5]HA[0]PC[Tokyo]GN[Game 7]\n"
                            ";B[pd];W[dp];B[pq];W[dd];B[fq];W[cn];B[jp];W[qf];B[nc];W[rd])\n";

void TextRecordInMemory(benchmark::State& state)
{
    for (auto _ : state) {
        CTextStream stream(kRecord);
        CPropertyTable table;
        benchmark::DoNotOptimize(ReadTextRecord(stream, table));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(TextRecordInMemory);

const char* const kGrades[] = {"k", "d", "p", " dan"};

std::vector<CReportRow> Rows(std::size_t count)
{
    std::mt19937 rng(7);
    std::vector<CReportRow> rows(count);
    for (std::size_t i = 0; i < count; ++i) {
        rows[i].key = "/games/" + std::to_string(i) + ".sgf";
        rows[i].cells = {std::to_string(rng()) + ".sgf", "Game " + std::to_string(rng() % 1000),
                         std::to_string(1950 + rng() % 70) + "-0" + std::to_string(1 + rng() % 9) + "-10",
                         std::to_string(1 + rng() % 9) + kGrades[rng() % 4]};
    }
    return rows;
}

void SortRowsByText(benchmark::State& state)
{
    const auto rows = Rows(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto copy = rows;
        CSortState sort;
        sort.Click(2);
        state.ResumeTiming();
        SortReportRows(copy, sort, 2);
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(SortRowsByText)->Arg(100000)->Unit(benchmark::kMillisecond);

// 100,000 rows on the date column (2) and the rank column (3), by bytes (0)
// and by meaning (1): the meaning of each value is read once per sort.
void SortRowsByMeaning(benchmark::State& state)
{
    const auto rows = Rows(100000);
    for (auto _ : state) {
        state.PauseTiming();
        auto copy = rows;
        CSortState sort;
        sort.Click(static_cast<std::int32_t>(state.range(0)));
        sort.m_bByMeaning = state.range(1) != 0;
        state.ResumeTiming();
        SortReportRows(copy, sort, 3);
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(SortRowsByMeaning)
    ->ArgNames({"column", "meaning"})
    ->Args({2, 0})
    ->Args({2, 1})
    ->Args({3, 0})
    ->Args({3, 1})
    ->Unit(benchmark::kMillisecond);

void ExportLines(benchmark::State& state)
{
    const auto rows = Rows(100000);
    for (auto _ : state) {
        std::string out;
        for (const auto& row : rows)
            AppendExportLine(out, row.cells);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(ExportLines)->Unit(benchmark::kMillisecond);

// A filter of many field terms (A:x B:x ... ZZ:x, up to 702 of them) over
// 3,000 rows, each row given its fields as the window adds them (absent
// unless a record holds them) and then matched: the cost must grow with
// terms times rows, not with the square of the terms.
void FieldTermsOnRows(benchmark::State& state)
{
    const auto terms = static_cast<std::size_t>(state.range(0));
    std::string typed;
    for (std::size_t t = 0; t < terms; ++t) {
        std::string id(1, static_cast<char>('A' + t % 26));
        if (t >= 26)
            id.insert(id.begin(), static_cast<char>('A' + (t - 26) / 26));
        typed += "-" + id + ":x ";
    }
    const CRowFilter filter(typed, [](std::string_view text) { return std::string(text); });
    const auto rows = Rows(3000);
    const std::string value = "cho chikun";
    for (auto _ : state) {
        std::size_t kept = 0;
        for (const CReportRow& row : rows) {
            CSearchText text;
            text.cells = row.cells[1];
            for (const std::string& id : filter.FieldIds())
                if (!text.HasField(id))
                    text.AddField(id, id.size() == 2 && id[1] == 'B' ? &value : nullptr);
            kept += filter.Matches(text) ? 1 : 0;
        }
        benchmark::DoNotOptimize(kept);
    }
    state.SetItemsProcessed(state.iterations() * 3000);
}
BENCHMARK(FieldTermsOnRows)->ArgName("terms")->Arg(100)->Arg(300)->Arg(702)->Unit(benchmark::kMillisecond);

// Paths as a folder walk gives them: long shared folders, short names.
std::vector<std::string> ManyPaths(int count)
{
    std::vector<std::string> paths;
    paths.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        paths.push_back("/home/player/games/archive/" + std::to_string(i / 1000) + "/game-" + std::to_string(i) +
                        ".sgf");
    return paths;
}

// Adding paths one by one to an empty table, then finding each once and
// removing every tenth.
void PathTableAddFindRemove(benchmark::State& state)
{
    const std::vector<std::string> paths = ManyPaths(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CPathTable table;
        for (const std::string& path : paths)
            table.Insert(path, std::make_unique<CGameEntry>());
        for (const std::string& path : paths)
            benchmark::DoNotOptimize(table.Find(path));
        for (std::size_t i = 0; i < paths.size(); i += 10)
            table.Remove(paths[i]);
        benchmark::DoNotOptimize(table.size());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(PathTableAddFindRemove)->Arg(100000)->Unit(benchmark::kMillisecond);

// The report list's index of rows by path: built, searched, thinned.
void KeyIndexAddFindErase(benchmark::State& state)
{
    const std::vector<std::string> paths = ManyPaths(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CKeyIndex index([&paths](int position) { return std::string_view(paths[static_cast<std::size_t>(position)]); });
        for (std::size_t i = 0; i < paths.size(); ++i)
            index.Insert(paths[i], static_cast<int>(i));
        for (const std::string& path : paths)
            benchmark::DoNotOptimize(index.Find(path));
        for (std::size_t i = 0; i < paths.size(); i += 10)
            index.Erase(paths[i]);
        benchmark::DoNotOptimize(index.size());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(KeyIndexAddFindErase)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
