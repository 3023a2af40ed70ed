// Display decoding on a large collection, offscreen: opening a tree whose
// players are partly in GB2312, Shift_JIS or EUC-KR (varnex-gen-games
// --mixed-charsets) against the same open of the all-ASCII tree, in the
// details view, and the heap each row takes beyond the core entry. Prints
// figures; never fails.
#include "ToolArgs.h"
#include "ViewBenchSupport.h"
#include "collection/VarnexDoc.h"
#include "desktop/app/Prompts.h"
#include "desktop/view/VarnexView.h"
#include "settings/MemorySettingsStore.h"
#include "settings/StringTable.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct SOpen
{
    qint64 ms = 0;
    double heapPerFile = 0;
    int rows = 0;
};

// The entries alone, no view: what the core keeps per file.
double CoreHeapPerEntry(const std::vector<std::string>& files)
{
    CPumpHost host;
    CVarnexDoc doc(host);
    const double before = HeapBytes();
    for (const std::string& path : files)
        doc.AddGameFile(path, 0);
    return (HeapBytes() - before) / static_cast<double>(files.size());
}

// Every file opened into a shown details view until every row is in the list.
SOpen OpenInDetails(const std::vector<std::string>& files)
{
    CMemorySettingsStore store;
    CBenchPrompts prompts;
    CPumpHost host;
    CVarnexDoc doc(host);
    host.m_doc = &doc;
    host.m_idle.start();
    CVarnexView view(doc, store, prompts);
    view.Create();
    doc.AddView(&view);
    view.resize(1000, 700);
    view.show();
    view.OnCommand(ID_VIEW_DETAILS);
    QCoreApplication::processEvents();

    const double before = HeapBytes();
    QElapsedTimer timer;
    timer.start();
    for (const std::string& path : files)
        doc.AddGameFile(path, 0);
    doc.UpdateAllViews(hintBatchDone);
    Settle(view);
    SOpen open;
    open.ms = timer.elapsed();
    open.heapPerFile = (HeapBytes() - before) / static_cast<double>(files.size());
    open.rows = view.RowCount();
    doc.RemoveView(&view);
    view.Destroy();
    return open;
}

// The best time of runs; the heap figure of the first.
SOpen BestOpen(const std::vector<std::string>& files, int runs)
{
    SOpen best = OpenInDetails(files);
    for (int i = 1; i < runs; ++i)
        best.ms = std::min(best.ms, OpenInDetails(files).ms);
    return best;
}

void ReadAll(const std::vector<std::string>& files)
{
    std::string sink;
    for (const std::string& path : files) {
        std::ifstream in(path, std::ios::binary);
        sink.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
}

} // namespace

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    // After QApplication, which takes the Qt options out of argv.
    if (const auto status = CheckToolArgs(argc, argv, "usage: charset_bench COUNT ASCII_FOLDER MIXED_FOLDER\n"))
        return *status;
    if (argc < 4) {
        std::fprintf(stderr, "usage: charset_bench COUNT ASCII_FOLDER MIXED_FOLDER\n");
        return 2;
    }
    const int count = std::max(1, std::atoi(argv[1]));
    const std::vector<std::string> ascii = GameFiles(QString::fromLocal8Bit(argv[2]), count);
    const std::vector<std::string> mixed = GameFiles(QString::fromLocal8Bit(argv[3]), count);
    if (ascii.empty() || ascii.size() != mixed.size()) {
        std::fprintf(stderr, "charset_bench: the two trees must hold the same number of game files (%zu, %zu)\n",
                     ascii.size(), mixed.size());
        return 1;
    }
    // Both trees in the page cache, so neither open pays for the disk.
    ReadAll(ascii);
    ReadAll(mixed);

    constexpr int kRuns = 2;
    const double asciiCore = CoreHeapPerEntry(ascii);
    const SOpen asciiOpen = BestOpen(ascii, kRuns);
    const double mixedCore = CoreHeapPerEntry(mixed);
    const SOpen mixedOpen = BestOpen(mixed, kRuns);

    std::printf("open %d all-ASCII rows in details: %lld ms, %.0f heap bytes per row beyond the core entry\n",
                asciiOpen.rows, static_cast<long long>(asciiOpen.ms), asciiOpen.heapPerFile - asciiCore);
    std::printf("open %d mixed-charset rows in details (a third GB2312/Shift_JIS/EUC-KR with CA, a tenth "
                "without CA): %lld ms, %.0f heap bytes per row beyond the core entry (target < 1024)\n",
                mixedOpen.rows, static_cast<long long>(mixedOpen.ms), mixedOpen.heapPerFile - mixedCore);
    std::printf("  ratio mixed/ASCII: %.2f (target <= 1.20)\n",
                static_cast<double>(mixedOpen.ms) / static_cast<double>(std::max<qint64>(1, asciiOpen.ms)));
    return 0;
}
