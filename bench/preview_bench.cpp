// The preview while the user presses Down through 1,000 rows of real records
// in the details style: the time from each key to the board painted with
// the new row's game, and the longest the GUI thread was busy at a stretch.
// Prints figures; never fails.
#include "ViewBenchSupport.h"

#include "desktop/app/VarnexApp.h"
#include "desktop/frame/MainFrame.h"
#include "desktop/preview/BoardView.h"
#include "desktop/preview/PreviewPane.h"
#include "desktop/view/ReportListCtrl.h"
#include "desktop/view/VarnexView.h"
#include "settings/MemorySettingsStore.h"
#include "settings/StringTable.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QKeyEvent>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

class CPrompts : public CBenchPrompts
{
public:
    QString GetExistingDirectory(QWidget*, const QString&) override { return folder; }
    QString folder;
};

// Counts the board's paint events.
class CPaintCounter : public QObject
{
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
    int paints = 0;
};

double Ms(qint64 ns)
{
    return static_cast<double>(ns) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    if (argc < 2 || argv[1][0] == '\0') {
        std::printf("preview_bench: no corpus given; no figures\n");
        return 0;
    }
    CMemorySettingsStore store;
    CPrompts prompts;
    prompts.folder = QString::fromLocal8Bit(argv[1]);
    CVarnexApp program(store, prompts);
    if (!program.InitInstance({}) || !program.Frame())
        return 0;
    program.Router().Execute(ID_VIEW_DETAILS);
    program.Frame()->resize(1200, 800);
    program.Router().Execute(ID_EDIT_ADD_FOLDER);
    CVarnexView& view = *program.Frame()->View();
    Settle(view);
    CReportListCtrl& list = *view.ListCtrl();
    CPreviewPane& pane = *program.Frame()->Preview();
    CPaintCounter counter;
    pane.Board()->installEventFilter(&counter);

    QAbstractItemView* shown = list.CurrentView();
    shown->setFocus();
    list.SelectionModel()->setCurrentIndex(shown->model()->index(0, 0),
                                           QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    const int keys = std::min(1000, list.GetShownCount() - 1);
    std::vector<double> latencies;
    double longestBusy = 0;
    double longestKey = 0;
    int missed = 0;
    QElapsedTimer clock;
    for (int k = 0; k < keys; ++k) {
        // Lets the last board settle, so each key starts from a quiet loop.
        QCoreApplication::processEvents();
        const int paintsBefore = counter.paints;
        clock.start();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier);
        QApplication::sendEvent(shown, &press);
        QApplication::sendEvent(shown, &release);
        longestKey = std::max(longestKey, Ms(clock.nsecsElapsed()));
        const std::string wanted = list.GetItemKey(list.CurrentRow());
        for (;;) {
            if (pane.ShownPath() == wanted && counter.paints > paintsBefore)
                break;
            if (clock.elapsed() > 5000) {
                ++missed;
                break;
            }
            const qint64 before = clock.nsecsElapsed();
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            longestBusy = std::max(longestBusy, Ms(clock.nsecsElapsed() - before));
        }
        latencies.push_back(Ms(clock.nsecsElapsed()));
    }
    std::sort(latencies.begin(), latencies.end());
    std::printf("preview, Down through %d rows of real records (details style):\n", keys);
    if (!latencies.empty())
        std::printf("  key to board painted: median %.2f ms, worst %.2f ms (targets 16 and 100 ms)\n",
                    latencies[latencies.size() / 2], latencies.back());
    std::printf("  longest the GUI thread was busy: %.2f ms at a stretch, %.2f ms for one key (target 50 ms)\n",
                longestBusy, longestKey);
    if (missed > 0)
        std::printf("  %d keys never got their board within 5 s\n", missed);
    program.Frame()->close();
    program.ExitInstance(0);
    return 0;
}
