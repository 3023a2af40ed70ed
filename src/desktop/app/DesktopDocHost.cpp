#include "desktop/app/DesktopDocHost.h"

#include "desktop/app/Prompts.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QWidget>

#include <algorithm>
#include <climits>

namespace {
const QString kAddTitle = QStringLiteral("Add Game Files into the Collection");
const QString kAddFilter =
    QStringLiteral("MGT Files (*.mgt, *.sgf)|*.mgt;*.sgf|Glyphon Files (*.gph)|*.gph|All Files (*.*)|*.*||");
const QString kAddFolderTitle = QStringLiteral("Add a Folder of Game Files into the Collection");
} // namespace

CDesktopDocHost::CDesktopDocHost(IPrompts& prompts, QObject* parent) : QObject(parent), m_prompts(prompts) {}

CDesktopDocHost::~CDesktopDocHost() = default;

void CDesktopDocHost::BeginBatch(int total, bool stoppable)
{
    m_batches.push_back({total > 0 ? total : 0, 0, stoppable});
    // The batch's first file gets the events at once.
    m_sincePump.invalidate();
    if (m_batches.size() == 1)
        m_slowestPumpMs = 0;
    ShowProgress(true);
}

void CDesktopDocHost::EndBatch()
{
    if (m_batches.empty())
        return;
    m_batches.pop_back();
    // A stop asked for ends with the last batch it could reach.
    if (m_batches.empty() && m_walks == 0)
        m_stopRequested = false;
    ShowProgress(true);
}

bool CDesktopDocHost::CanStop() const
{
    if (m_walks > 0)
        return true;
    return std::any_of(m_batches.begin(), m_batches.end(), [](const CBatch& batch) { return batch.stoppable; });
}

void CDesktopDocHost::RequestStop()
{
    if (CanStop())
        m_stopRequested = true;
}

std::optional<std::string> CDesktopDocHost::AskGameFolder()
{
    const QString folder = m_prompts.GetExistingDirectory(m_window, kAddFolderTitle);
    if (folder.isEmpty())
        return std::nullopt;
    return QFile::encodeName(folder).toStdString();
}

void CDesktopDocHost::WalkProgress(std::size_t found)
{
    // Each step of the walk is one folder read; the window gets its events
    // between them, at most every refresh period for the text.
    ++m_walks;
    if (m_message && (!m_sinceProgress.isValid() || m_sinceProgress.elapsed() >= kRefreshMs)) {
        m_sinceProgress.start();
        m_message(QStringLiteral("Finding game files: %1 found").arg(found));
        if (m_progress)
            m_progress(0, 0, true);
    }
    PumpEvents();
    --m_walks;
}

void CDesktopDocHost::BatchStarting(std::size_t total)
{
    // The batch ends with the document's hintBatchDone.
    BeginBatch(static_cast<int>(std::min<std::size_t>(total, INT_MAX)), true);
}

void CDesktopDocHost::BatchEnded(const SAddSummary& summary)
{
    if (!m_message)
        return;
    if (summary.stopped)
        m_message(StoppedText(summary));
    else
        m_message(QStringLiteral("Added %1 game files (%2 already present, %3 unreadable)")
                      .arg(summary.added)
                      .arg(summary.alreadyPresent)
                      .arg(summary.unreadable));
}

QString CDesktopDocHost::StoppedText(const SAddSummary& summary)
{
    return QStringLiteral("Stopped after %1 of %2 files").arg(summary.done).arg(summary.total);
}

void CDesktopDocHost::ShowMessage(const QString& text)
{
    if (m_message)
        m_message(text);
}

void CDesktopDocHost::EndBatchesTo(int depth)
{
    while (BatchDepth() > depth && BatchDepth() > 0)
        EndBatch();
}

bool CDesktopDocHost::TakePendingQuit()
{
    const bool pending = m_quitPending;
    m_quitPending = false;
    return pending;
}

void CDesktopDocHost::BeforeRead()
{
    bool first = false;
    if (!m_batches.empty()) {
        CBatch& batch = m_batches.back();
        if (batch.read < batch.total)
            ++batch.read;
        first = batch.read == 1;
    }
    // A small file reads in microseconds, far quicker than a pump with the
    // list's layout and painting of a long list: inside a batch the events
    // run again only after a gap of kPumpMs, or of kPumpShare times what the
    // last pump took when painting is slow, so the window keeps answering
    // while the pumps take a bounded share of the time. A file read on its
    // own always gets them.
    const bool inBatch = !m_batches.empty();
    if (inBatch && m_sincePump.isValid() && m_sincePump.elapsed() < m_pumpGapMs)
        return;
    QElapsedTimer cost;
    cost.start();
    if (inBatch)
        ShowProgress(first);
    PumpEvents();

    // Between files the idle work refreshes the counts and the commands; doing
    // it for every one of many small files would cost more than the reading.
    if (m_idle && (!m_sinceIdle.isValid() || m_sinceIdle.elapsed() >= kRefreshMs)) {
        m_sinceIdle.start();
        m_idle();
    }
    // A pump that lays out a long list takes long: the gap before the next
    // one shrinks, so a gap and such a pump stay within kMaxUnansweredMs.
    m_slowestPumpMs = std::max(m_slowestPumpMs, cost.elapsed());
    const qint64 longest =
        std::max<qint64>(kPumpMs, std::min<qint64>(kMaxPumpGapMs, kMaxUnansweredMs - m_slowestPumpMs));
    m_pumpGapMs = std::clamp<qint64>(kPumpShare * cost.elapsed(), kPumpMs, longest);
    m_sincePump.start();
}

void CDesktopDocHost::PumpEvents()
{
    // While files are read the window may not close, and a quit request would
    // try to close it and be dropped; the filter keeps it for later.
    ++m_pumpDepth;
    if (m_pumpDepth == 1)
        QCoreApplication::instance()->installEventFilter(this);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (m_pumpDepth == 1)
        QCoreApplication::instance()->removeEventFilter(this);
    --m_pumpDepth;
}

bool CDesktopDocHost::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == QCoreApplication::instance() && event->type() == QEvent::Quit) {
        m_quitPending = true;
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void CDesktopDocHost::ReportFileError(const std::string& path, const std::string& message)
{
    const QString text =
        QStringLiteral("%1\n%2").arg(QFile::decodeName(QByteArray::fromStdString(path)),
                                     QString::fromLocal8Bit(message.data(), static_cast<qsizetype>(message.size())));
    m_prompts.MessageBox(m_window, text, IPrompts::EIcon::Error);
}

std::optional<std::vector<std::string>> CDesktopDocHost::AskGameFiles()
{
    const QStringList files = m_prompts.GetOpenFileNames(m_window, kAddTitle, kAddFilter);
    if (files.isEmpty())
        return std::nullopt;
    std::vector<std::string> paths;
    paths.reserve(static_cast<std::size_t>(files.size()));
    for (const QString& file : files)
        paths.push_back(QFile::encodeName(file).toStdString());
    return paths;
}

void CDesktopDocHost::BeginWaitCursor()
{
    m_waitCursors.emplace_back();
}

void CDesktopDocHost::EndWaitCursor()
{
    // An end without a begin must not take another's busy pointer away.
    if (!m_waitCursors.empty())
        m_waitCursors.pop_back();
}

void CDesktopDocHost::OnUpdate(int hint, const CHintPayload& payload)
{
    // A collection being opened can be stopped like a batch of additions.
    if (hint == hintLoadCount)
        BeginBatch(payload.count, true);
    else if (hint == hintBatchDone)
        EndBatch();
}

void CDesktopDocHost::ShowProgress(bool force)
{
    if (!m_progress)
        return;
    if (!force && m_sinceProgress.isValid() && m_sinceProgress.elapsed() < kRefreshMs)
        return;
    m_sinceProgress.start();
    if (m_batches.empty() || m_batches.back().total == 0)
        m_progress(0, 0, false);
    else
        m_progress(m_batches.back().read, m_batches.back().total, CanStop());
}
