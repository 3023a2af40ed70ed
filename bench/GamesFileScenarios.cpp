// One file of many games against as many files of one game: the generated
// games are joined into one record file, then each form is added to a
// document and listed as the report's rows. The file of games must add in
// at most the time of the files, its entries and rows must cost no more
// heap, and its bytes must be read once.
#include "CorpusFiles.h"
#include "ToolArgs.h"
#include "collection/GameEntry.h"
#include "collection/VarnexDoc.h"
#include "columns/ColumnLayout.h"
#include "report/ReportRows.h"
#include "settings/MemorySettingsStore.h"

#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

std::size_t HeapInUse()
{
    return mallinfo2().uordblks;
}

// The bytes this process has read through read() so far, cached or not.
long long BytesRead()
{
    std::ifstream io("/proc/self/io");
    std::string name;
    long long value = 0;
    while (io >> name >> value) {
        if (name == "rchar:")
            return value;
    }
    return -1;
}

struct SFigures
{
    double seconds = 0;
    double entryBytes = 0; // the document: paths, entries, tables
    double rowBytes = 0;   // the report's rows, one per game
    long long bytesRead = 0;
    std::size_t games = 0;
};

// Adds paths to a fresh document and makes every game's row, as the list
// and varnex-cli list do.
SFigures AddAndList(const std::vector<std::string>& paths)
{
    SFigures figures;
    CMemorySettingsStore store;
    const CColumnLayout layout = BuildColumnLayout(store);
    const std::size_t before = HeapInUse();
    const long long readBefore = BytesRead();
    const auto start = Clock::now();
    auto doc = std::make_unique<CVarnexDoc>();
    for (const std::string& path : paths)
        doc->AddGameFile(path, 0);
    doc->UpdateAllViews(hintBatchDone);
    figures.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    figures.bytesRead = BytesRead() - readBefore;
    const std::size_t entries = HeapInUse();
    figures.entryBytes = static_cast<double>(entries - before);

    std::vector<CReportRow> rows;
    doc->m_mapFiles.ForEach([&](const std::string& path, const CGameEntry& entry) {
        for (std::size_t game = 0; game < entry.GameCount(); ++game)
            rows.push_back(MakeReportRow(path, &entry, layout.columns, false, store, nullptr, game));
    });
    rows.shrink_to_fit();
    figures.rowBytes = static_cast<double>(HeapInUse() - entries);
    figures.games = rows.size();
    return figures;
}

// The game files joined into one, a line break after each tree.
bool JoinGames(const std::vector<std::string>& files, const fs::path& joined, long long& bytes)
{
    std::ofstream out(joined, std::ios::binary | std::ios::trunc);
    for (const std::string& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        out << text << '\n';
    }
    out.flush();
    bytes = static_cast<long long>(out.tellp());
    return static_cast<bool>(out);
}

void Print(const char* label, const SFigures& figures)
{
    const double n = static_cast<double>(figures.games);
    std::printf("%s: %zu games added in %.3f s (%.0f games/s)\n", label, figures.games, figures.seconds,
                n / figures.seconds);
    std::printf("  heap: %.0f bytes per game in the document, %.0f bytes per game's row; %lld bytes read\n",
                figures.entryBytes / n, figures.rowBytes / n, figures.bytesRead);
}

} // namespace

int main(int argc, char** argv)
{
    const char* usage = "usage: varnex-bench-games-file GAMES_FOLDER JOINED_FILE\n";
    if (const auto status = CheckToolArgs(argc, argv, usage))
        return *status;
    if (argc != 3) {
        std::fputs(usage, stderr);
        return 2;
    }
    // Absolute, as a collection stores its paths: the rows' keys are theirs.
    const std::vector<std::string> files = SgfFilesUnder(fs::absolute(argv[1]));
    if (files.empty()) {
        std::fprintf(stderr, "varnex-bench-games-file: no game files in %s\n", argv[1]);
        return 1;
    }
    const std::string joinedPath = fs::absolute(argv[2]).string();
    long long joinedBytes = 0;
    if (!JoinGames(files, joinedPath, joinedBytes)) {
        std::fprintf(stderr, "varnex-bench-games-file: cannot write %s\n", argv[2]);
        return 1;
    }

    // Each form once before it is measured, so both find their bytes cached.
    AddAndList(files);
    const SFigures apart = AddAndList(files);
    AddAndList({joinedPath});
    const SFigures joined = AddAndList({joinedPath});
    Print("files of one game", apart);
    Print("one file of all the games", joined);
    std::printf("  games: %zu in the file, %zu files (target: equal)\n", joined.games, apart.games);
    std::printf("  ratio time file/files: %.2f (target <= 1.00)\n", joined.seconds / apart.seconds);
    std::printf("  ratio heap file/files: %.2f for the document, %.2f for the rows (target <= 1.00)\n",
                joined.entryBytes / apart.entryBytes, joined.rowBytes / apart.rowBytes);
    std::printf("  bytes read/file size: %.2f (target < 1.10: no game read twice)\n",
                static_cast<double>(joined.bytesRead) / static_cast<double>(joinedBytes));
    return 0;
}
