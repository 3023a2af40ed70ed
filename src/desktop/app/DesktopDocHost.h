#pragma once

#include "collection/DocHost.h"
#include "collection/UpdateHint.h"
#include "desktop/app/WaitCursor.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

#include <deque>
#include <functional>
#include <vector>

class IPrompts;
class QWidget;

// The document's platform services in the desktop program. Before a game
// file is read it runs the event pump (inside a batch at most every
// kPumpMs), so the window repaints and commands run in the middle of a long
// addition, and it keeps the progress of the batch being read. It also
// listens to the document's hints, which announce the batches of a
// collection being loaded.
class CDesktopDocHost : public QObject, public IDocHost, public IDocView
{
    Q_OBJECT
public:
    // The progress is shown at most this often while a batch runs, and the
    // idle work inside the pump runs at most this often too.
    static constexpr int kRefreshMs = 50;
    // Inside a batch the events run before a file only when this long has
    // passed since they last ran, and kPumpShare times as long as they took
    // then, but never more than kMaxPumpGapMs: with a pump of a long list
    // taking tens of milliseconds, the window then answers within 200 ms.
    static constexpr int kPumpMs = 16;
    static constexpr int kPumpShare = 4;
    static constexpr int kMaxPumpGapMs = 100;
    // A gap and the slowest pump of the batch so far stay within this.
    static constexpr int kMaxUnansweredMs = 180;

    explicit CDesktopDocHost(IPrompts& prompts, QObject* parent = nullptr);
    ~CDesktopDocHost() override;

    // The window that parents the host's dialogs.
    void SetWindow(QWidget* window) { m_window = window; }
    // The application's idle work, run by the pump after the events.
    void SetIdleWork(std::function<void()> idle) { m_idle = std::move(idle); }
    // Told (file being read, files in the batch, whether the user can stop
    // it); (0, 0) hides the progress.
    void SetProgressSink(std::function<void(int current, int total, bool stoppable)> sink)
    {
        m_progress = std::move(sink);
    }
    // Told the text for the message pane while a folder is walked, after a
    // batch of AddBatch and after an open that was stopped.
    void SetMessageSink(std::function<void(const QString&)> sink) { m_message = std::move(sink); }
    void ShowMessage(const QString& text);
    // "Stopped after i of n files".
    static QString StoppedText(const SAddSummary& summary);

    // A batch of total files about to be read; batches nest. The document's
    // own batches (AddBatch) and the load of a collection can be stopped.
    void BeginBatch(int total, bool stoppable = false);
    void EndBatch();
    int BatchDepth() const { return static_cast<int>(m_batches.size()); }
    // Ends every batch above depth (a load that stopped half-way sends no end hint).
    void EndBatchesTo(int depth);

    // A quit request that arrived while a file was being read: the window may
    // not close then, so it is kept for when the reading is over.
    bool IsQuitPending() const { return m_quitPending; }
    bool TakePendingQuit();

    // The Cancel button and the Esc key: the running batch stops after the
    // file being read. Nothing happens while no batch can be stopped.
    void RequestStop();
    bool CanStop() const;

    void BeforeRead() override;
    std::optional<std::string> AskGameFolder() override;
    void WalkProgress(std::size_t found) override;
    void BatchStarting(std::size_t total) override;
    void BatchEnded(const SAddSummary& summary) override;
    bool StopRequested() override { return m_stopRequested; }
    void ReportFileError(const std::string& path, const std::string& message) override;
    std::optional<std::vector<std::string>> AskGameFiles() override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;

    void OnUpdate(int hint, const CHintPayload& payload) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct CBatch
    {
        int total = 0;
        int read = 0;
        bool stoppable = false;
    };
    void ShowProgress(bool force);
    void PumpEvents();

    IPrompts& m_prompts;
    QPointer<QWidget> m_window;
    std::function<void()> m_idle;
    std::function<void(int, int, bool)> m_progress;
    std::function<void(const QString&)> m_message;
    std::vector<CBatch> m_batches;
    QElapsedTimer m_sinceProgress;
    QElapsedTimer m_sinceIdle;
    QElapsedTimer m_sincePump;
    qint64 m_pumpGapMs = kPumpMs;
    qint64 m_slowestPumpMs = 0;
    int m_pumpDepth = 0;
    // One per BeginWaitCursor not ended yet; the host's end ends them all.
    std::deque<CWaitCursor> m_waitCursors;
    bool m_quitPending = false;
    int m_walks = 0;
    bool m_stopRequested = false;
};
