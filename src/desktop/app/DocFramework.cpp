#include "desktop/app/DocFramework.h"

#include "cache/HeaderCache.h"
#include "collection/CollectionFile.h"
#include "collection/VarnexDoc.h"
#include "desktop/app/DesktopDocHost.h"
#include "desktop/app/ElidePath.h"
#include "desktop/app/Prompts.h"
#include "desktop/app/RecentFileList.h"
#include "files/CollectionLock.h"
#include "qtcore/CacheFolder.h"
#include "qtcore/ResText.h"
#include "settings/StringTable.h"

#include <QFile>
#include <QFileInfo>
#include <QWidget>

namespace {

// Less than the longest time the window may go unanswered while it opens.
constexpr int kCacheBusyTimeoutMs = 150;

} // namespace

const QString CDocFramework::kOpenFilter = QStringLiteral("Varnex Files (*.vnx)|*.vnx|All Files (*.*)|*.*||");
const QString CDocFramework::kSaveFilter = QStringLiteral("Varnex Files (*.vnx)|*.vnx||");

namespace {
const QString kUntitled = QStringLiteral("Untitled");

std::string BytesOf(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

// The same key the header cache trusts: a replacement, a write or a change
// of mode or owner all show in it.
std::optional<SFileStatus> StatusOf(const QString& path)
{
    SFileStatus status;
    if (!StatGameFile(BytesOf(path), status))
        return std::nullopt;
    return status;
}

QString LocalText(const std::string& text)
{
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

QString UnreadFilesText(std::size_t count)
{
    const std::string text = LoadResString(count == 1 ? IDS_UNREAD_FILE : IDS_UNREAD_FILES);
    return QString::asprintf(text.c_str(), static_cast<int>(count));
}
} // namespace

CDocFramework::CDocFramework(CVarnexDoc& doc, CDesktopDocHost& host, IPrompts& prompts, CRecentFileList& recent)
    : m_doc(doc), m_host(host), m_prompts(prompts), m_recent(recent)
{
}

void CDocFramework::SetFrame(IDocFrame* frame)
{
    m_frame = frame;
    UpdateCaption();
}

QWidget* CDocFramework::DialogParent() const
{
    return m_frame ? m_frame->DialogParent() : nullptr;
}

bool CDocFramework::OnFileNew()
{
    if (!SaveModified())
        return false;
    m_doc.DeleteContents();
    m_doc.SetModifiedFlag(false);
    SetPathName(QString());
    m_stamp = {};
    if (m_frame)
        m_frame->ActivateDocFrame();
    return true;
}

bool CDocFramework::OnFileOpen()
{
    if (!SaveModified())
        return false;
    const QString path = m_prompts.GetOpenFileName(DialogParent(), QStringLiteral("Open"), kOpenFilter);
    if (path.isEmpty())
        return false;
    return OpenFile(path);
}

bool CDocFramework::OpenDocumentFile(const QString& path, bool askSaveChanges, QString* failure)
{
    if (askSaveChanges && !SaveModified())
        return false;
    return OpenFile(path, failure);
}

void CDocFramework::ReportOpenFailure(const QString& text, QString* failure)
{
    if (failure)
        *failure = text;
    else
        m_prompts.MessageBox(DialogParent(), text, IPrompts::EIcon::Error);
}

bool CDocFramework::OpenFile(const QString& path, QString* failure)
{
    const QString full = QFileInfo(path).absoluteFilePath();
    const QString shown = ElidePath(full);
    // A file that cannot be opened leaves the open collection as it is. The
    // check never waits: a pipe given as the collection is refused.
    {
        std::string problem;
        if (!CanOpenCollectionFile(BytesOf(full), &problem)) {
            ReportOpenFailure(LocalText(problem).replace(LocalText(BytesOf(full)), shown), failure);
            return false;
        }
    }
    // Taken before the read: a change made while it reads counts as a change.
    const std::optional<SFileStatus> stamp = StatusOf(full);
    const int depth = m_host.BatchDepth();
    std::string error;
    SAddSummary summary;
    // The open collection is cleared only once the file has proved to be a
    // whole collection: one that is not, or is cut short, changes nothing.
    // Game files unchanged since they were last read come from the cache.
    // The window waits only briefly for another program's hold on the cache:
    // past that the cache is left alone, and the open reads the files.
    SHeaderCacheOptions cacheOptions;
    cacheOptions.busyTimeoutMs = kCacheBusyTimeoutMs;
    const bool loaded = OpenCollectionFile(m_doc, BytesOf(full), &error, &summary,
                                           CHeaderCache::Open(HeaderCacheFolder(), BytesOf(full), cacheOptions));
    if (loaded)
        m_doc.FlushHeaderCache();
    // A load cut short sends no end of batch.
    m_host.EndBatchesTo(depth);
    if (!loaded) {
        QString text = QStringLiteral("Cannot open the collection %1.").arg(shown);
        if (!error.empty())
            text += QLatin1Char('\n') + LocalText(error).replace(LocalText(BytesOf(full)), shown);
        ReportOpenFailure(text, failure);
        return false;
    }
    // A stop changes nothing stored: the records not read are kept unread.
    m_doc.SetModifiedFlag(false);
    SetPathName(full);
    m_stamp = stamp;
    if (summary.stopped) {
        // The records merely not read are no failure; only the files that
        // were tried and could not be read are named after the stop.
        QString text = CDesktopDocHost::StoppedText(summary);
        if (summary.unreadable > 0)
            text += QStringLiteral("; ") + UnreadFilesText(summary.unreadable);
        m_host.ShowMessage(text);
    } else if (!m_doc.m_unread.empty() && m_frame) {
        // Once, after opening; the next command prompt replaces it.
        m_frame->ShowStatusMessage(UnreadFilesText(m_doc.m_unread.size()));
    }
    m_recent.Add(full);
    m_recent.Save();
    if (m_frame) {
        m_frame->RefreshRecentFiles();
        m_frame->ActivateDocFrame();
    }
    return true;
}

void CDocFramework::OnRefresh(bool everyFile)
{
    const SAddSummary summary = m_doc.Refresh(everyFile);
    if (summary.stopped)
        m_host.ShowMessage(CDesktopDocHost::StoppedText(summary));
    else if (everyFile)
        m_host.ShowMessage(QStringLiteral("Read every game file again: %1 read, %2 unreadable")
                               .arg(summary.added)
                               .arg(summary.unreadable));
    else
        m_host.ShowMessage(QStringLiteral("Read %1 changed game files again (%2 unreadable)")
                               .arg(summary.added)
                               .arg(summary.unreadable));
    UpdateCaption();
}

bool CDocFramework::OnFileSave()
{
    if (m_path.isEmpty())
        return OnFileSaveAs();
    if (!MayOverwrite(m_path))
        return false;
    return DoSave(m_path);
}

bool CDocFramework::MayOverwrite(const QString& path)
{
    const std::optional<SFileStatus> now = StatusOf(path);
    // A file that is gone holds nothing to lose.
    if (!now || now == m_stamp)
        return true;
    const std::string text = LoadResString(IDS_CHANGED_ON_DISK);
    return m_prompts.AskYesNo(DialogParent(), QString::asprintf(text.c_str(), path.toUtf8().constData())) ==
           IPrompts::EAnswer::Yes;
}

bool CDocFramework::OnFileSaveAs()
{
    const QString initial = m_path.isEmpty() ? Title() + QStringLiteral(".vnx") : m_path;
    const QString path = m_prompts.GetSaveFileName(DialogParent(), QStringLiteral("Save As"), kSaveFilter,
                                                   QStringLiteral("vnx"), initial);
    if (path.isEmpty())
        return false;
    return DoSave(QFileInfo(path).absoluteFilePath());
}

bool CDocFramework::DoSave(const QString& path)
{
    // The command-line tool holds the lock while it reads, adds and saves;
    // a save in the middle would be lost to its save, or lose its additions.
    CCollectionLock lock(BytesOf(path));
    if (lock.TryLock() == CCollectionLock::EState::Busy) {
        const std::string text = LoadResString(IDS_COLLECTION_IN_USE);
        m_prompts.MessageBox(DialogParent(), QString::asprintf(text.c_str(), path.toUtf8().constData()),
                             IPrompts::EIcon::Warning);
        return false;
    }
    std::string error;
    if (!SaveCollectionFile(m_doc, BytesOf(path), &error)) {
        QString text = QStringLiteral("Cannot save the collection %1.").arg(path);
        if (!error.empty())
            text += QLatin1Char('\n') + LocalText(error);
        m_prompts.MessageBox(DialogParent(), text, IPrompts::EIcon::Error);
        return false;
    }
    m_doc.SetModifiedFlag(false);
    SetPathName(path);
    m_stamp = StatusOf(path);
    m_recent.Add(path);
    m_recent.Save();
    if (m_frame)
        m_frame->RefreshRecentFiles();
    return true;
}

bool CDocFramework::SaveModified()
{
    if (!m_doc.IsModified())
        return true;
    switch (m_prompts.AskSaveChanges(DialogParent(), Title())) {
    case IPrompts::EAnswer::Yes:
        return OnFileSave();
    case IPrompts::EAnswer::No:
        return true;
    case IPrompts::EAnswer::Cancel:
        break;
    }
    return false;
}

bool CDocFramework::CanCloseFrame()
{
    if (!m_doc.CanCloseFrame())
        return false;
    return SaveModified();
}

QString CDocFramework::Title() const
{
    return m_path.isEmpty() ? kUntitled : QFileInfo(m_path).fileName();
}

QString CDocFramework::Caption() const
{
    return QStringLiteral("%1 - %2").arg(Title(), ResText(AFX_IDS_APP_TITLE));
}

void CDocFramework::SetPathName(const QString& path)
{
    m_path = path;
    UpdateCaption();
}

void CDocFramework::UpdateCaption()
{
    if (m_frame)
        m_frame->SetCaption(Caption());
}

std::span<const SCommand<CDocFramework>> CDocFramework::Commands() const
{
    using D = CDocFramework;
    static constexpr SCommand<D> kCommands[] = {
        {ID_FILE_SAVE, [](D& d, int) { d.OnFileSave(); }},
        {ID_FILE_SAVE_AS, [](D& d, int) { d.OnFileSaveAs(); }},
        {ID_EDIT_ADD_FILES, [](D& d, int) { d.m_doc.OnAddFiles(); }},
        {ID_EDIT_REMOVE_MISSING,
         [](D& d, int) {
             if (d.m_doc.RemoveMissingFiles())
                 d.UpdateCaption();
         },
         [](D& d, int, CCmdUI& ui) { ui.Enable(d.m_doc.HasMissingFiles()); }},
        {ID_EDIT_ADD_FOLDER, [](D& d, int) { d.m_doc.OnAddFolder(); }},
        {ID_EDIT_REFRESH, [](D& d, int) { d.OnRefresh(); }},
        {ID_EDIT_REFRESH_ALL, [](D& d, int) { d.OnRefresh(true); }},
    };
    return kCommands;
}
