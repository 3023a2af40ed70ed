// The window's position search on a large collection, offscreen with the
// real widgets: the collection opened, the pattern mode on, then each query
// of the archive's set drawn on the pattern board and searched by the Enter
// key, timed from the key to the list and the continuation letters shown;
// then the most played continuation clicked, timed the same way. The
// longest stretch the GUI thread was busy is watched throughout. Prints
// figures; never fails.
#include "ViewBenchSupport.h"

#include "desktop/app/VarnexApp.h"
#include "desktop/frame/MainFrame.h"
#include "desktop/pattern/PatternBoard.h"
#include "desktop/pattern/PatternMode.h"
#include "desktop/pattern/PatternPanel.h"
#include "desktop/preview/PreviewPane.h"
#include "desktop/view/ReportListCtrl.h"
#include "desktop/view/VarnexView.h"
#include "pattern/Pattern.h"
#include "settings/MemorySettingsStore.h"
#include "settings/StringTable.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

double Ms(qint64 ns)
{
    return static_cast<double>(ns) / 1e6;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The longest the event loop went without running a timer of 5 ms.
class CStallWatch : public QObject
{
public:
    CStallWatch()
    {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (m_last.isValid())
                longest = std::max(longest, m_last.nsecsElapsed());
            m_last.restart();
        });
    }
    void Start()
    {
        longest = 0;
        m_last.invalidate();
        m_timer.start();
    }
    void Stop() { m_timer.stop(); }
    qint64 longest = 0;

private:
    QTimer m_timer;
    QElapsedTimer m_last;
};

struct SQueryLine
{
    std::string region;
    std::string rows;
    bool fixed = false;
};

std::vector<SQueryLine> ReadQueries(const char* path)
{
    std::vector<SQueryLine> queries;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        SQueryLine query;
        std::string third;
        if (!(words >> query.region >> query.rows))
            continue;
        query.fixed = (words >> third) && third == "fixed";
        queries.push_back(query);
    }
    return queries;
}

// The query as the user would have drawn it on the board.
bool Draw(CPatternPanel& panel, const SQueryLine& query)
{
    const SPatternParse parse = ParsePattern(query.region, query.rows);
    if (!parse.pattern)
        return false;
    const SPattern& pattern = *parse.pattern;
    CPatternSketch sketch(pattern.boardSize);
    if (query.region != "all")
        sketch.SetRect(pattern.left, pattern.top, pattern.left + pattern.width - 1, pattern.top + pattern.height - 1);
    for (int y = 0; y < pattern.height; ++y) {
        for (int x = 0; x < pattern.width; ++x)
            sketch.SetSign(pattern.left + x, pattern.top + y, pattern.SignAt(x, y));
    }
    panel.Board()->SetSketch(sketch);
    panel.FixedColours()->setChecked(query.fixed);
    return true;
}

// Runs the events until the search is shown, then lets the list and the
// board paint: what the user then sees.
void WaitShown(CPatternMode& mode, CVarnexView& view, CPatternBoard& board)
{
    while (mode.IsSearching())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    Settle(view);
    board.repaint();
}

// The offscreen platform tells at every window that it cannot do what a
// window manager does; the figures would drown in it.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& text)
{
    if (type != QtWarningMsg || !text.startsWith(QStringLiteral("This plugin does not support")))
        std::fprintf(stderr, "%s\n", qPrintable(text));
}

} // namespace

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    qInstallMessageHandler(QuietMessages);
    QApplication app(argc, argv);
    if (argc < 3) {
        std::printf("pattern_bench: no collection or queries given; no figures\n");
        return 0;
    }
    const std::vector<SQueryLine> queries = ReadQueries(argv[2]);
    CMemorySettingsStore store;
    CBenchPrompts prompts;
    CVarnexApp program(store, prompts);
    QElapsedTimer clock;
    clock.start();
    if (!program.InitInstance({QString::fromLocal8Bit(argv[1])}) || !program.Frame())
        return 0;
    program.Router().Execute(ID_VIEW_DETAILS);
    program.Frame()->resize(1400, 900);
    program.Frame()->show();
    CVarnexView& view = *program.Frame()->View();
    Settle(view);
    const int games = view.ListCtrl()->GetItemCount();
    std::printf("collection of %d games opened in %.0f ms\n", games, Ms(clock.nsecsElapsed()));

    program.Router().Execute(ID_VIEW_POSITION_SEARCH);
    CPatternMode& mode = *program.Frame()->PatternMode();
    CPatternPanel& panel = *program.Frame()->Preview()->PatternPanel();
    CPatternBoard& board = *panel.Board();
    CStallWatch stalls;

    const auto enter = [&] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(&board, &press);
    };
    // The first search completes the index: rows from the header cache,
    // those missing made from the files.
    if (queries.empty() || !Draw(panel, queries.front()))
        return 0;
    clock.restart();
    enter();
    WaitShown(mode, view, board);
    std::printf("first search, the index completed (%d games): %.0f ms\n", games, Ms(clock.nsecsElapsed()));

    std::vector<double> searches;
    std::vector<double> refines;
    std::vector<double> engineTimes;
    qint64 longestStall = 0;
    int index = 0;
    for (const SQueryLine& query : queries) {
        ++index;
        if (!Draw(panel, query))
            continue;
        stalls.Start();
        clock.restart();
        enter();
        WaitShown(mode, view, board);
        const double searched = Ms(clock.nsecsElapsed());
        const double engine = mode.LastSearchMs();
        const int found = view.ListCtrl()->GetShownCount();
        searches.push_back(searched);
        engineTimes.push_back(engine);
        double refined = -1;
        double refinedEngine = -1;
        if (!board.Letters().empty()) {
            const QPoint at = board.PointCentre(board.Letters().front().x, board.Letters().front().y);
            clock.restart();
            QMouseEvent press(QEvent::MouseButtonPress, at, board.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                              Qt::NoModifier);
            QApplication::sendEvent(&board, &press);
            QMouseEvent release(QEvent::MouseButtonRelease, at, board.mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                                Qt::NoModifier);
            QApplication::sendEvent(&board, &release);
            WaitShown(mode, view, board);
            refined = Ms(clock.nsecsElapsed());
            refinedEngine = mode.LastSearchMs();
            refines.push_back(refined);
        }
        stalls.Stop();
        longestStall = std::max(longestStall, stalls.longest);
        std::printf("query %2d %-5s %s: %6d games, %6.1f ms to the list and letters (search %6.1f); "
                    "continuation A %6.1f ms (search %6.1f)\n",
                    index, query.region.c_str(), query.fixed ? "fixed" : "     ", found, searched, engine, refined,
                    refinedEngine);
        // Esc shows every game again for the next query.
        mode.Escape();
    }
    const auto worst = [](const std::vector<double>& v) {
        return v.empty() ? 0 : *std::max_element(v.begin(), v.end());
    };
    std::printf("searches from the key: median %.1f ms, worst %.1f ms (%zu queries)\n", Median(searches),
                worst(searches), searches.size());
    std::printf("of which the search on its thread: median %.1f ms, worst %.1f ms\n", Median(engineTimes),
                worst(engineTimes));
    std::printf("continuation clicked: median %.1f ms, worst %.1f ms (%zu)\n", Median(refines), worst(refines),
                refines.size());
    std::printf("longest the window did not answer during the searches: %.1f ms\n", Ms(longestStall));
    program.Frame()->close();
    program.ExitInstance(0);
    return 0;
}
