// Whole-collection figures for the core: the reader against a floor that only
// opens each file and reads its first 4 KiB, the command-line tool's info
// against the same floor, adding files to a document, and storing, saving
// and loading a large collection. Prints; never fails.
#include "cache/HeaderCache.h"
#include "collection/CollectionFile.h"
#include "collection/VarnexDoc.h"
#include "reader/GameReader.h"

#include "ToolArgs.h"

#include <malloc.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

std::vector<std::string> GameFiles(const fs::path& root)
{
    std::vector<std::string> files;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file())
            continue;
        std::string ext = it->path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
        if (ext == ".sgf" || ext == ".mgt")
            files.push_back(it->path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Seconds for one run of f; the best of runs.
double Best(int runs, const std::function<void()>& f)
{
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        f();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

std::size_t Floor(const std::vector<std::string>& files)
{
    static char buffer[4096];
    std::size_t bytes = 0;
    for (const std::string& path : files) {
        if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
            bytes += std::fread(buffer, 1, sizeof buffer, f);
            std::fclose(f);
        }
    }
    return bytes;
}

std::size_t Read(const std::vector<std::string>& files)
{
    std::size_t ok = 0;
    for (const std::string& path : files) {
        CPropertyTable table;
        ok += ReadGameFile(path, table);
    }
    return ok;
}

// Returns the reader's time per file.
double ReaderAgainstFloor(const char* label, const std::vector<std::string>& files, int runs)
{
    const double n = static_cast<double>(files.size());
    Floor(files); // brings the files into the page cache
    std::size_t ok = 0;
    const double floor = Best(runs, [&] { Floor(files); });
    const double reader = Best(runs, [&] { ok = Read(files); });
    std::printf("%s: %zu files, %zu read\n", label, files.size(), ok);
    std::printf("  floor: %.0f files/s (open, read 4 KiB, close)\n", n / floor);
    std::printf("  reader: %.0f files/s\n", n / reader);
    std::printf("  ratio reader/floor: %.2f (target >= 0.70)\n", floor / reader);
    return reader / n;
}

// A word the shell takes as it is.
std::string ShellQuoted(const std::string& word)
{
    std::string quoted = "'";
    for (const char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// varnex-cli info over every file, as xargs hands them over, its output
// thrown away: the figure includes starting the tool once per command line.
void InfoAgainstFloor(const std::string& cli, const std::vector<std::string>& files, int runs)
{
    const fs::path list = fs::temp_directory_path() / "varnex-bench-info-files";
    {
        std::ofstream out(list, std::ios::binary);
        for (const std::string& path : files)
            out << path << '\0';
    }
    const std::string command =
        "xargs -0 -a " + ShellQuoted(list.string()) + " " + ShellQuoted(cli) + " info >/dev/null 2>&1";
    const double n = static_cast<double>(files.size());
    Floor(files);
    int status = 0;
    const double info = Best(runs, [&] { status = std::system(command.c_str()); });
    const double floor = Best(runs, [&] { Floor(files); });
    std::printf("varnex-cli info over the generated files: %zu files%s\n", files.size(),
                status == 0 ? "" : " (the command failed)");
    std::printf("  floor: %.0f files/s (open, read 4 KiB, close)\n", n / floor);
    std::printf("  info: %.0f files/s (xargs, output to /dev/null)\n", n / info);
    std::printf("  ratio info/floor: %.2f (target >= 0.60)\n", floor / info);
    std::error_code ec;
    fs::remove(list, ec);
}

// Bytes in use on the heap now, as the allocator counts them.
std::size_t HeapInUse()
{
    return mallinfo2().uordblks;
}

// The heap each game file costs: its property table alone, and its whole
// place in a document (path, entry and table).
void HeapPerEntry(const std::vector<std::string>& files)
{
    const double n = static_cast<double>(files.size());
    std::vector<CPropertyTable> tables(files.size());
    const std::size_t before = HeapInUse();
    for (std::size_t i = 0; i < files.size(); ++i)
        ReadGameFile(files[i], tables[i]);
    const double tablesBytes = static_cast<double>(HeapInUse() - before);
    tables.clear();
    tables.shrink_to_fit();

    const std::size_t docBefore = HeapInUse();
    {
        CVarnexDoc doc;
        for (const std::string& path : files)
            doc.AddGameFile(path, 0);
        doc.UpdateAllViews(hintBatchDone);
        const double docBytes = static_cast<double>(HeapInUse() - docBefore);
        std::printf("heap per entry: %.0f bytes of property table, %.0f bytes in the document with its path "
                    "(target <= 400 for the table)\n",
                    tablesBytes / n, docBytes / n);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (const auto status =
            CheckToolArgs(argc, argv, "usage: varnex-bench-core GAMES_FOLDER CORPUS_FOLDER [VARNEX_CLI]\n"))
        return *status;
    if (argc < 3) {
        std::fprintf(stderr, "usage: varnex-bench-core GAMES_FOLDER CORPUS_FOLDER [VARNEX_CLI]\n");
        return 2;
    }
    const auto games = GameFiles(argv[1]);
    const auto corpus = GameFiles(argv[2]);
    if (games.empty()) {
        std::fprintf(stderr, "varnex-bench-core: no game files in %s\n", argv[1]);
        return 1;
    }

    if (!corpus.empty())
        ReaderAgainstFloor("reader over the corpus", corpus, 5);
    const double readerPerFile = ReaderAgainstFloor("reader over the generated files", games, 3);
    if (argc > 3)
        InfoAgainstFloor(argv[3], games, 3);
    const double n = static_cast<double>(games.size());
    HeapPerEntry(games);

    // Each run into a fresh document; the last one is kept for the file figures.
    auto doc = std::make_unique<CVarnexDoc>();
    const double add = Best(3, [&] {
        doc = std::make_unique<CVarnexDoc>();
        for (const std::string& path : games)
            doc->AddGameFile(path, 0);
        doc->UpdateAllViews(hintBatchDone);
    });
    std::printf("AddGameFile: %zu entries in %.3f s, %.0f files/s\n", doc->m_mapFiles.size(), add, n / add);
    std::printf("  ratio AddGameFile/reader: %.2f (target <= 1.30)\n", add / (readerPerFile * n));

    std::string bytes;
    const double store = Best(5, [&] { bytes = StoreCollection(*doc); });
    std::printf("StoreCollection of %zu entries: %.3f s, %zu bytes (target < 0.2 s)\n", doc->m_mapFiles.size(), store,
                bytes.size());
    const fs::path saved = fs::temp_directory_path() / "varnex-bench-collection.vnx";
    std::string error;
    bool savedOk = false;
    const double save = Best(3, [&] { savedOk = SaveCollectionFile(*doc, saved.string(), &error); });
    std::printf("StoreCollection + SaveCollectionFile: %.3f s%s%s (target < 0.2 s)\n", save,
                savedOk ? "" : ", failed: ", savedOk ? "" : error.c_str());

    {
        CVarnexDoc loaded;
        const auto start = Clock::now();
        const bool ok = LoadCollectionFile(loaded, saved.string(), &error);
        const double load = std::chrono::duration<double>(Clock::now() - start).count();
        std::printf("LoadCollectionFile of %zu entries, every game file read again: %.3f s, %.0f files/s%s\n",
                    loaded.m_mapFiles.size(), load, n / load, ok ? "" : " (failed)");
    }
    {
        // Reopening through the header cache: first with none (every file
        // read, every row written), then with the rows in place.
        const fs::path caches = fs::temp_directory_path() / "varnex-bench-header-cache";
        std::error_code removed;
        fs::remove_all(caches, removed);
        for (const char* cache :
             {"an empty header cache (every file read, rows written)", "the header cache (unchanged files from it)"}) {
            CVarnexDoc loaded;
            const auto start = Clock::now();
            loaded.SetHeaderCache(CHeaderCache::Open(caches.string(), saved.string()));
            const bool ok = LoadCollectionFile(loaded, saved.string(), &error);
            loaded.FlushHeaderCache();
            const double load = std::chrono::duration<double>(Clock::now() - start).count();
            const long long hits = loaded.HeaderCache() ? loaded.HeaderCache()->Counts().hits : -1;
            std::printf("LoadCollectionFile of %zu entries with %s: %.3f s, %.0f files/s, %lld from the cache%s\n",
                        loaded.m_mapFiles.size(), cache, load, n / load, hits, ok ? "" : " (failed)");
        }
        fs::remove_all(caches, removed);
    }
    {
        // The collection bytes alone: the same records with paths where no
        // file exists, so each record costs its parse and one failed open.
        std::string missing;
        const auto mark = static_cast<std::uint32_t>(kCollectionVersionMark);
        const auto count = static_cast<std::uint32_t>(games.size());
        for (std::uint32_t v : {mark, count})
            for (int i = 0; i < 4; ++i)
                missing += static_cast<char>((v >> (8 * i)) & 0xFF);
        for (const std::string& path : games) {
            AppendCollectionString(missing, "/nonexistent" + path);
            missing.append(4, '\0');
        }
        CVarnexDoc loaded;
        const auto start = Clock::now();
        LoadCollection(loaded, missing);
        const double load = std::chrono::duration<double>(Clock::now() - start).count();
        std::printf("LoadCollection of %zu records whose game files are missing (parse + failed open): %.3f s\n",
                    games.size(), load);
    }
    std::error_code ec;
    fs::remove(saved, ec);
    return 0;
}
