#include "desktop/app/DesktopDocHost.h"

#include "desktop/app/Prompts.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QCursor>
#include <QGuiApplication>
#include <QWidget>

namespace {
const QString kAddTitle = QStringLiteral("Add Game Files into the Collection");
const QString kAddFilter =
    QStringLiteral("MGT Files (*.mgt, *.sgf)|*.mgt;*.sgf|Glyphon Files (*.gph)|*.gph|All Files (*.*)|*.*||");
} // namespace

CDesktopDocHost::CDesktopDocHost(IPrompts& prompts, QObject* parent) : QObject(parent), m_prompts(prompts) {}

CDesktopDocHost::~CDesktopDocHost()
{
    while (m_waitCursors > 0)
        EndWaitCursor();
}

void CDesktopDocHost::BeginBatch(int total)
{
    m_batches.push_back({total > 0 ? total : 0, 0});
    ShowProgress(true);
}

void CDesktopDocHost::EndBatch()
{
    if (m_batches.empty())
        return;
    m_batches.pop_back();
    ShowProgress(true);
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
    if (!m_batches.empty()) {
        CBatch& batch = m_batches.back();
        if (batch.read < batch.total)
            ++batch.read;
        ShowProgress(false);
    }

    // While files are read the window may not close, and a quit request would
    // try to close it and be dropped; the filter keeps it for later.
    ++m_pumpDepth;
    if (m_pumpDepth == 1)
        QCoreApplication::instance()->installEventFilter(this);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (m_pumpDepth == 1)
        QCoreApplication::instance()->removeEventFilter(this);
    --m_pumpDepth;

    // Between files the idle work refreshes the counts and the commands; doing
    // it for every one of many small files would cost more than the reading.
    if (m_idle && (!m_sinceIdle.isValid() || m_sinceIdle.elapsed() >= kRefreshMs)) {
        m_sinceIdle.start();
        m_idle();
    }
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
    const QString text = QStringLiteral("%1\n%2").arg(QFile::decodeName(QByteArray::fromStdString(path)),
                                                      QString::fromLocal8Bit(message.data(),
                                                                             static_cast<qsizetype>(message.size())));
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
    // The batch ends with the document's hintBatchDone.
    BeginBatch(static_cast<int>(paths.size()));
    return paths;
}

void CDesktopDocHost::BeginWaitCursor()
{
    ++m_waitCursors;
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void CDesktopDocHost::EndWaitCursor()
{
    if (m_waitCursors == 0)
        return;
    --m_waitCursors;
    QGuiApplication::restoreOverrideCursor();
}

void CDesktopDocHost::OnUpdate(int hint, const CHintPayload& payload)
{
    if (hint == hintLoadCount)
        BeginBatch(payload.count);
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
        m_progress(0, 0);
    else
        m_progress(m_batches.back().read, m_batches.back().total);
}
