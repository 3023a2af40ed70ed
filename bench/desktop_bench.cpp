// Whole-program figures for the report view on a large collection: opening
// 100,000 files in each display style against the core's own load, switching
// styles, scrolling the large icons with board pictures, and deleting 10,000
// selected rows. Prints figures; never fails.
#include "ToolArgs.h"
#include "ViewBenchSupport.h"
#include "collection/CollectionFile.h"
#include "collection/VarnexDoc.h"
#include "desktop/app/DesktopDocHost.h"
#include "desktop/app/DocFramework.h"
#include "desktop/app/ProgramStart.h"
#include "desktop/app/Prompts.h"
#include "desktop/app/VarnexApp.h"
#include "desktop/frame/MainFrame.h"
#include "desktop/view/BoardPictures.h"
#include "desktop/view/ReportListCtrl.h"
#include "desktop/view/ReportListModel.h"
#include "desktop/view/VarnexView.h"
#include "settings/MemorySettingsStore.h"
#include "settings/StringTable.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QListView>
#include <QMouseEvent>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

class CPrompts : public CBenchPrompts
{
public:
    QString GetExistingDirectory(QWidget*, const QString&) override { return folder; }
    // The folder dialog's answer.
    QString folder;
    // Programs start for real: the viewer figure is the time real starts take.
    bool StartDetached(const std::string& program, const std::vector<std::string>& arguments) override
    {
        return StartDetachedProgram(program, arguments);
    }
};

// Processor time (user and system) of the process or of its waited-for children.
double CpuMs(int who)
{
    rusage usage{};
    ::getrusage(who, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

long RssKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return 0;
}

// A viewer that only notes that it ran, so the figure is the cost of the
// starts themselves.
QString WriteRecordingViewer(const QString& folder)
{
    const QString script = folder + QStringLiteral("/record-viewer.sh");
    std::ofstream out(QFile::encodeName(script).toStdString());
    out << "#!/bin/sh\nprintf '%s\\n' \"$@\" >> '" << QFile::encodeName(folder).toStdString() << "/viewer-calls'\n";
    out.close();
    QFile::setPermissions(script, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return script;
}

void SendMouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(at), target->mapToGlobal(QPointF(at)), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

const char* StyleName(int id)
{
    switch (id) {
    case ID_VIEW_LARGEICON:
        return "large icons";
    case ID_VIEW_SMALLICON:
        return "small icons";
    case ID_VIEW_LIST:
        return "list";
    default:
        return "details";
    }
}

} // namespace

// The large icons scrolled page by page from top to bottom: once without
// board pictures, then with them twice. The first pass with pictures asks
// for each as its page comes into view; the second finds those still kept
// in memory. A frame is a scroll with its paint, or a turn of the event loop
// that draws the pictures made meanwhile; each is timed on its own.
void ScrollPass(CVarnexView& view, const char* pass)
{
    CReportListCtrl& list = *view.ListCtrl();
    QListView& icons = *list.IconView();
    QScrollBar& bar = *icons.verticalScrollBar();
    std::vector<qint64> frames;
    bar.setValue(0);
    Settle(view);
    QElapsedTimer whole;
    whole.start();
    QElapsedTimer frame;
    for (int value = 0;; value += bar.pageStep()) {
        frame.start();
        bar.setValue(std::min(value, bar.maximum()));
        icons.viewport()->repaint();
        frames.push_back(frame.nsecsElapsed());
        frame.start();
        QCoreApplication::processEvents();
        frames.push_back(frame.nsecsElapsed());
        if (value >= bar.maximum())
            break;
    }
    const qint64 wholeMs = whole.elapsed();
    std::sort(frames.begin(), frames.end());
    const auto ms = [](qint64 ns) { return static_cast<double>(ns) / 1e6; };
    const auto over = std::count_if(frames.begin(), frames.end(), [](qint64 ns) { return ns >= 50'000'000; });
    std::printf("scroll %d rows in large icons, %s: %zu frames in %lld ms, median %.2f ms, 99th percentile "
                "%.2f ms, longest %.2f ms, %ld frames of 50 ms or more\n",
                view.RowCount(), pass, frames.size(), static_cast<long long>(wholeMs), ms(frames[frames.size() / 2]),
                ms(frames[frames.size() * 99 / 100]), ms(frames.back()), static_cast<long>(over));
}

void ScrollWithPictures(CVarnexView& view)
{
    ScrollPass(view, "without board pictures");
    view.OnCommand(ID_VIEW_BOARD_PICTURES);
    Settle(view);
    ScrollPass(view, "board pictures, first pass");
    QElapsedTimer made;
    made.start();
    view.ListCtrl()->BoardPictures().WaitUntilDone();
    std::printf("pictures asked for while scrolling made %lld ms after the last frame\n",
                static_cast<long long>(made.elapsed()));
    ScrollPass(view, "board pictures, second pass");
    view.OnCommand(ID_VIEW_BOARD_PICTURES);
}

int main(int argc, char** argv)
{
    // Each figure shows when it is measured, also when the output is a file:
    // a long run at a million rows shows how far it got.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    // After QApplication, which takes the Qt options out of argv.
    if (const auto status = CheckToolArgs(argc, argv, "usage: desktop_bench [COUNT] [GAMES_FOLDER] [VARNEX_CLI]\n"))
        return *status;
    const int count = argc > 1 ? std::max(1000, std::atoi(argv[1])) : 100000;

    QTemporaryDir temp;
    std::vector<std::string> files;
    const QString given = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    if (!given.isEmpty())
        files = GameFiles(given, count);
    if (static_cast<int>(files.size()) < count) {
        std::printf("writing %d game files...\n", count);
        files = WriteGameFiles(temp.path(), count);
    }
    const int n = static_cast<int>(files.size());

    // Every file read once first, so the core figure is not taken on a cold
    // page cache while the view figures that follow run on a warm one.
    {
        std::string sink;
        for (const std::string& path : files) {
            std::ifstream in(path, std::ios::binary);
            sink.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
    }

    {
        CPumpHost host;
        CVarnexDoc doc(host);
        const double before = HeapBytes();
        QElapsedTimer timer;
        timer.start();
        for (const std::string& path : files)
            doc.AddGameFile(path, 0);
        std::printf("core load of %d files: %lld ms, %.0f heap bytes per entry\n", n,
                    static_cast<long long>(timer.elapsed()), (HeapBytes() - before) / n);
        SaveCollectionFile(doc, QFile::encodeName(temp.filePath(QStringLiteral("reopen.vnx"))).toStdString());
    }

    // VARNEX_BENCH_OPEN_ONLY=1: only the core load and the open per style,
    // for profiling the open. VARNEX_BENCH_PARTS=add,filter,reopen,icons,pictures,details
    // (any of them) runs only those parts: at a million rows each takes minutes.
    const bool openOnly = std::getenv("VARNEX_BENCH_OPEN_ONLY") != nullptr;
    const char* parts = std::getenv("VARNEX_BENCH_PARTS");
    auto runs = [parts](const char* part) { return !parts || std::strstr(parts, part) != nullptr; };

    // Add Folder as the user runs it: the program's own window shown, the
    // command chosen, the folder answered by the dialog; timed until every
    // row is in the list, next to varnex-cli add (walk, read, save) of the
    // same tree.
    if (!given.isEmpty() && !openOnly && runs("add")) {
        // Processor time too: on a machine shared with other work the
        // elapsed times swing, the processor time much less.
        const QString cli = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
        qint64 cliMs = -1;
        double cliCpuMs = 0;
        if (!cli.isEmpty()) {
            const double childBefore = CpuMs(RUSAGE_CHILDREN);
            QElapsedTimer timer;
            timer.start();
            QProcess process;
            process.start(cli, {QStringLiteral("add"), temp.filePath(QStringLiteral("cli-add.vnx")), given});
            if (process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
                cliMs = timer.elapsed();
            cliCpuMs = CpuMs(RUSAGE_CHILDREN) - childBefore;
            QFile::remove(temp.filePath(QStringLiteral("cli-add.vnx")));
        }
        CMemorySettingsStore store;
        CPrompts prompts;
        prompts.folder = given;
        CVarnexApp program(store, prompts);
        if (program.InitInstance({}) && program.Frame()) {
            CVarnexView& view = *program.Frame()->View();
            program.Router().Execute(ID_VIEW_DETAILS);
            program.Frame()->resize(1000, 700);
            QCoreApplication::processEvents();
            const double cpuBefore = CpuMs(RUSAGE_SELF);
            QElapsedTimer timer;
            timer.start();
            program.Router().Execute(ID_EDIT_ADD_FOLDER);
            Settle(view);
            const qint64 ms = timer.elapsed();
            const double cpuMs = CpuMs(RUSAGE_SELF) - cpuBefore;
            std::printf("Add Folder of %d files with the window shown (details): %lld ms (%.0f ms processor)\n",
                        view.RowCount(), static_cast<long long>(ms), cpuMs);
            if (cliMs > 0)
                std::printf("varnex-cli add of the same tree: %lld ms (%.0f ms processor); Add Folder takes %.2f "
                            "times as long (%.2f times the processor time)\n",
                            static_cast<long long>(cliMs), cliCpuMs,
                            static_cast<double>(ms) / static_cast<double>(cliMs), cpuMs / cliCpuMs);
            program.Frame()->close();
            program.ExitInstance(0);
        }
    }

    // Add Folder on the tree the files are in (walk, read, rows, sort), then
    // the quick filter typed one key at a time over every row.
    if (!given.isEmpty() && !openOnly && runs("filter")) {
        CMemorySettingsStore store;
        CPrompts prompts;
        CDesktopDocHost host(prompts);
        CVarnexDoc doc(host);
        doc.AddView(&host);
        CVarnexView view(doc, store, prompts);
        view.Create();
        doc.AddView(&view);
        view.resize(1000, 700);
        view.show();
        view.OnCommand(ID_VIEW_DETAILS);
        QCoreApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        const SAddSummary summary = doc.AddBatch({QFile::encodeName(given).toStdString()});
        Settle(view);
        std::printf("add folder (walk and read) of %lld files in details: %lld ms\n",
                    static_cast<long long>(summary.added), static_cast<long long>(timer.elapsed()));

        // Find opens the filter field and makes the texts it compares.
        timer.restart();
        view.OnCommand(ID_EDIT_FIND);
        Settle(view);
        std::printf("Find opened over %d rows: %lld ms\n", view.RowCount(), static_cast<long long>(timer.elapsed()));
        // Keys typed as a fast typist types them, one every 150 ms, the
        // event loop running between them (the idle steps that make the
        // fields of the named terms run there). Each key is timed from the
        // text changing until the list is drawn; the longest time the event
        // loop went unanswered between keys is the longest idle step.
        auto typeKeys = [&](const QString& text, const char* what) {
            qint64 worst = 0;
            qint64 sum = 0;
            qint64 blocked = 0;
            QString worstText;
            for (qsizetype i = 1; i <= text.size(); ++i) {
                timer.restart();
                view.SetFilterText(text.left(i));
                Settle(view);
                const qint64 ms = timer.elapsed();
                if (ms > worst)
                    worstText = text.left(i);
                worst = std::max(worst, ms);
                sum += ms;
                QElapsedTimer pause;
                pause.start();
                QElapsedTimer sinceEvents;
                sinceEvents.start();
                while (pause.elapsed() < 150) {
                    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
                    blocked = std::max(blocked, sinceEvents.restart());
                }
            }
            std::printf("filter keystroke %s over %d rows: %.1f ms on average, %lld ms at worst (at \"%s\"; %d rows "
                        "shown at the end); between keys the event loop blocked for %lld ms at most\n",
                        what, view.RowCount(), static_cast<double>(sum) / static_cast<double>(text.size()),
                        static_cast<long long>(worst), worstText.toUtf8().constData(), view.ShownCount(),
                        static_cast<long long>(blocked));
        };
        // Field terms first, right after Find opened: the first key of each
        // field finds its texts made, or makes those still missing.
        typeKeys(QStringLiteral("player:a date:2000.. -result:void"), "with field terms");
        view.SetFilterText(QString());
        Settle(view);
        typeKeys(QStringLiteral("black 12 w"), "with plain words");
        timer.restart();
        view.SetFilterText(QString());
        Settle(view);
        std::printf("filter cleared over %d rows: %lld ms\n", view.RowCount(), static_cast<long long>(timer.elapsed()));
        doc.RemoveView(&view);
        doc.RemoveView(&host);
        view.Destroy();
    }

    // The collection of these files opened by the window in the details
    // style, as File > Open does: first with no header cache (the open
    // builds it), then with it. Timed until every row is in the list; a
    // timer that fires whenever the event loop runs gives the longest time
    // the window did not answer.
    if (runs("reopen")) {
        const QString cacheHome = temp.filePath(QStringLiteral("cache"));
        ::setenv("XDG_CACHE_HOME", QFile::encodeName(cacheHome).constData(), 1);
        for (const char* pass : {"with no cache (builds it)", "with the cache"}) {
            CMemorySettingsStore store;
            CPrompts prompts;
            CVarnexApp program(store, prompts);
            if (!program.InitInstance({}) || !program.Frame())
                break;
            CVarnexView& view = *program.Frame()->View();
            program.Router().Execute(ID_VIEW_DETAILS);
            program.Frame()->resize(1000, 700);
            QCoreApplication::processEvents();
            QElapsedTimer sinceEvents;
            qint64 blocked = 0;
            QTimer tick;
            QElapsedTimer sinceOpen;
            QObject::connect(&tick, &QTimer::timeout, &tick, [&] {
                const qint64 gap = sinceEvents.restart();
                if (gap > 100 && std::getenv("VARNEX_BENCH_GAPS"))
                    std::printf("  gap of %lld ms ending %lld ms into the open, %d rows\n", static_cast<long long>(gap),
                                static_cast<long long>(sinceOpen.elapsed()), view.RowCount());
                blocked = std::max(blocked, gap);
            });
            tick.start(0);
            sinceOpen.start();
            const double cpuBefore = CpuMs(RUSAGE_SELF);
            QElapsedTimer timer;
            timer.start();
            sinceEvents.start();
            const bool opened = program.Framework().OpenDocumentFile(temp.filePath(QStringLiteral("reopen.vnx")));
            Settle(view);
            const qint64 ms = timer.elapsed();
            tick.stop();
            std::printf("reopen the collection of %d files in details %s: %s%lld ms (%.0f ms processor) until "
                        "every row is in the list, the event loop blocked for %lld ms at most\n",
                        view.RowCount(), pass, opened ? "" : "FAILED ", static_cast<long long>(ms),
                        CpuMs(RUSAGE_SELF) - cpuBefore, static_cast<long long>(blocked));
            program.Frame()->close();
            program.ExitInstance(0);
        }
    }

    const int styles[] = {ID_VIEW_LARGEICON, ID_VIEW_SMALLICON, ID_VIEW_LIST, ID_VIEW_DETAILS};
    for (int style : styles) {
        if (!runs(style == ID_VIEW_DETAILS ? "details" : "icons"))
            continue;
        CMemorySettingsStore store;
        CPrompts prompts;
        CPumpHost host;
        CVarnexDoc doc(host);
        host.m_doc = &doc;
        host.m_idle.start();
        CVarnexView view(doc, store, prompts);
        view.Create();
        doc.AddView(&view);
        view.resize(1000, 700);
        view.show();
        view.OnCommand(style);
        QCoreApplication::processEvents();

        const double before = HeapBytes();
        const long rssBefore = RssKiB();
        QElapsedTimer timer;
        timer.start();
        for (const std::string& path : files)
            doc.AddGameFile(path, 0);
        doc.UpdateAllViews(hintBatchDone);
        Settle(view);
        const qint64 loadMs = timer.elapsed();
        std::printf("open %d files in %s: %lld ms until every row is in the list, %.0f heap bytes per file "
                    "(entry and row), resident size +%ld KiB\n",
                    view.RowCount(), StyleName(style), static_cast<long long>(loadMs), (HeapBytes() - before) / n,
                    RssKiB() - rssBefore);

        if (style == ID_VIEW_LARGEICON) {
            // One icon dragged from press to drop, the list drawn again.
            QAbstractItemView* icons = view.ListCtrl()->CurrentView();
            const QPoint from = icons->visualRect(view.ListCtrl()->Model().index(3, 0)).center();
            timer.restart();
            SendMouse(icons->viewport(), QEvent::MouseButtonPress, from, Qt::LeftButton);
            for (int step = 1; step <= 10; ++step)
                SendMouse(icons->viewport(), QEvent::MouseMove, from + QPoint(8 * step, 5 * step), Qt::LeftButton);
            SendMouse(icons->viewport(), QEvent::MouseButtonRelease, from + QPoint(80, 50), Qt::NoButton);
            icons->viewport()->repaint();
            std::printf("drag one icon in large icons with %d rows, press to drop: %lld ms\n", view.RowCount(),
                        static_cast<long long>(timer.elapsed()));
            if (runs("pictures"))
                ScrollWithPictures(view);
        }
        if (style != ID_VIEW_DETAILS || openOnly)
            continue;

        {
            // The viewer started once for each of 1,000 selected rows.
            store.WriteProfileString("Misc", "MGT Viewer",
                                     QFile::encodeName(WriteRecordingViewer(temp.path())).toStdString());
            CReportListCtrl& list = *view.ListCtrl();
            for (int r = 0; r < 1000 && r < list.GetItemCount(); ++r)
                list.SelectRow(r);
            // A timer that fires whenever the event loop runs: the longest
            // gap between firings is the longest the window was blocked.
            QElapsedTimer sinceEvents;
            qint64 blocked = 0;
            QTimer tick;
            QObject::connect(&tick, &QTimer::timeout, &tick,
                             [&] { blocked = std::max(blocked, sinceEvents.restart()); });
            tick.start(0);
            timer.restart();
            sinceEvents.start();
            view.OnCommand(ID_EDIT_LAUNCH_VIEWER);
            const qint64 launchMs = timer.elapsed();
            QCoreApplication::processEvents();
            tick.stop();
            std::printf("launch the viewer for %d selected rows: %lld ms to start them all, the event loop "
                        "blocked for %lld ms at most\n",
                        list.GetSelectedCount(), static_cast<long long>(launchMs), static_cast<long long>(blocked));
            list.ClearSelection();
        }

        // Style switches with every row in the list.
        int from = ID_VIEW_DETAILS;
        for (int to : {ID_VIEW_LARGEICON, ID_VIEW_SMALLICON, ID_VIEW_LIST, ID_VIEW_DETAILS, ID_VIEW_SMALLICON,
                       ID_VIEW_LARGEICON}) {
            timer.restart();
            view.OnCommand(to);
            Settle(view);
            std::printf("switch %s -> %s with %d rows: %lld ms\n", StyleName(from), StyleName(to), view.RowCount(),
                        static_cast<long long>(timer.elapsed()));
            from = to;
        }

        view.OnHeaderClick(2);
        timer.restart();
        view.OnHeaderClick(2);
        Settle(view);
        std::printf("sort %d rows by a column: %lld ms\n", view.RowCount(), static_cast<long long>(timer.elapsed()));

        // Every tenth row selected in one step (as Select Extra Copies
        // does), then deleted; then every ninth of the rows left.
        CReportListCtrl& list = *view.ListCtrl();
        int step = 10;
        for (int shown : {ID_VIEW_DETAILS, ID_VIEW_LARGEICON}) {
            view.OnCommand(shown);
            Settle(view);
            std::vector<int> scattered;
            for (int r = 0; r < list.GetItemCount(); r += step)
                scattered.push_back(r);
            timer.restart();
            list.SelectRows(scattered);
            Settle(view);
            const int selected = list.GetSelectedCount();
            std::printf("select every %dth row, %d of %d, in one step in %s: %lld ms\n", step, selected,
                        view.RowCount(), StyleName(shown), static_cast<long long>(timer.elapsed()));
            timer.restart();
            const int rowsBefore = view.RowCount();
            view.OnCommand(ID_EDIT_DELETE_FILES);
            Settle(view);
            std::printf("delete %d selected of %d rows in %s: %lld ms\n", selected, rowsBefore, StyleName(shown),
                        static_cast<long long>(timer.elapsed()));
            step = 9;
        }
        doc.RemoveView(&view);
        view.Destroy();
    }
    return 0;
}
