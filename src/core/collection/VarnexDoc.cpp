#include "collection/VarnexDoc.h"

#include "cache/HeaderCache.h"
#include "collection/CachedRead.h"
#include "files/FolderWalk.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <system_error>
#include <unordered_set>

CVarnexDoc::CBusyScope::CBusyScope(CVarnexDoc& doc) : m_doc(doc)
{
    ++m_doc.m_nBusyDepth;
    m_doc.m_bBusy = true;
}

CVarnexDoc::CBusyScope::~CBusyScope()
{
    --m_doc.m_nBusyDepth;
    m_doc.m_bBusy = m_doc.m_nBusyDepth > 0;
}

CVarnexDoc::CVarnexDoc(IDocHost& host) : m_host(host) {}

void CVarnexDoc::AddView(IDocView* view)
{
    if (view && std::find(m_views.begin(), m_views.end(), view) == m_views.end())
        m_views.push_back(view);
}

void CVarnexDoc::RemoveView(IDocView* view)
{
    m_views.erase(std::remove(m_views.begin(), m_views.end(), view), m_views.end());
}

void CVarnexDoc::UpdateAllViews(int hint, const CHintPayload& payload)
{
    // A view may unregister itself or others while it handles the hint.
    const std::vector<IDocView*> views = m_views;
    for (IDocView* view : views) {
        if (std::find(m_views.begin(), m_views.end(), view) != m_views.end())
            view->OnUpdate(hint, payload);
    }
}

bool CVarnexDoc::AddGameFile(const std::string& path, std::uint32_t flags)
{
    // A NUL ends the name the file system sees: "a.sgf\0junk" would read a.sgf
    // and stand beside it as a second entry.
    if (m_mapFiles.Find(path) || path.find('\0') != std::string::npos)
        return false;

    // The caller's string may live in a view's row, which the hints can delete.
    const std::string key = path;
    auto entry = std::make_unique<CGameEntry>(flags);
    CBusyScope busy(*this);
    if (!ReadEntry(key, *entry))
        return false;
    // The event pump ran during the read; the same path may have been added
    // by a nested command meanwhile.
    if (m_mapFiles.Find(key))
        return false;

    m_mapFiles.Insert(key, std::move(entry));
    CHintPayload payload;
    payload.path = &key;
    UpdateAllViews(hintFileAdded, payload);
    SetModifiedFlag();
    return true;
}

bool CVarnexDoc::RemoveGameFile(const std::string& path)
{
    // Copied first: path may be a row's key that the hint deletes.
    const std::string key = path;
    if (!m_mapFiles.Remove(key))
        return false;
    SetModifiedFlag();
    CHintPayload payload;
    payload.path = &key;
    UpdateAllViews(hintFileRemoved, payload);
    return true;
}

bool CVarnexDoc::ChangeFileFlags(const std::string& path, std::uint32_t setBits, std::uint32_t clearBits,
                                 std::int32_t tag)
{
    CGameEntry* entry = m_mapFiles.Find(path);
    if (!entry)
        return false;
    const std::uint32_t flags = (entry->m_nFlags | setBits) & ~clearBits;
    if (flags == entry->m_nFlags)
        return false;
    SetModifiedFlag();
    entry->m_nFlags = flags;
    CHintPayload payload;
    payload.tag = tag;
    payload.flags = flags;
    UpdateAllViews(hintFlagsChanged, payload);
    return true;
}

void CVarnexDoc::OnAddFiles()
{
    const std::optional<std::vector<std::string>> files = m_host.AskGameFiles();
    if (!files)
        return;
    AddBatch(*files);
}

void CVarnexDoc::OnAddFolder()
{
    const std::optional<std::string> folder = m_host.AskGameFolder();
    if (!folder || folder->empty())
        return;
    AddBatch({*folder});
}

bool CVarnexDoc::HasFolder(const std::vector<std::string>& paths)
{
    return std::any_of(paths.begin(), paths.end(), [](const std::string& path) {
        std::error_code ec;
        return std::filesystem::is_directory(std::filesystem::path(path), ec);
    });
}

void CVarnexDoc::AddCounted(const std::string& path, SAddSummary& summary)
{
    if (m_mapFiles.Find(path))
        ++summary.alreadyPresent;
    else if (AddGameFile(path, 0))
        ++summary.added;
    else if (m_mapFiles.Find(path))
        ++summary.alreadyPresent; // added meanwhile by a command run inside the read
    else
        ++summary.unreadable;
}

SAddSummary CVarnexDoc::AddBatch(const std::vector<std::string>& paths)
{
    SAddSummary summary;
    {
        CBusyScope busy(*this);
        std::vector<std::string> files;
        for (const std::string& path : paths) {
            if (summary.stopped)
                break;
            std::error_code ec;
            if (!std::filesystem::is_directory(std::filesystem::path(path), ec)) {
                files.push_back(path);
                continue;
            }
            CFolderWalk walk(path);
            while (!walk.Done()) {
                m_host.WalkProgress(files.size() + walk.Files().size());
                if (m_host.StopRequested()) {
                    summary.stopped = true;
                    break;
                }
                walk.Step();
            }
            summary.unreadable += static_cast<long long>(walk.Unreadable().size());
            const std::vector<std::string> found = walk.TakeFiles();
            files.insert(files.end(), found.begin(), found.end());
        }

        summary.total = files.size();
        m_host.BatchStarting(files.size());
        // The file being read when the user stops is still added.
        for (const std::string& path : files) {
            if (summary.stopped || m_host.StopRequested()) {
                summary.stopped = true;
                break;
            }
            AddCounted(path, summary);
            ++summary.done;
        }
    }
    FlushHeaderCache();
    UpdateAllViews(hintBatchDone);
    m_host.BatchEnded(summary);
    return summary;
}

bool CVarnexDoc::ReadEntry(const std::string& path, CGameEntry& entry, bool trustCache)
{
    // Held here: a command run by the event pump may open another collection.
    const std::shared_ptr<CHeaderCache> cache = m_pHeaderCache;
    return ReadGameEntry(path, entry, m_host, cache.get(), trustCache);
}

void CVarnexDoc::SetHeaderCache(std::shared_ptr<CHeaderCache> cache)
{
    m_pHeaderCache = std::move(cache);
}

void CVarnexDoc::FlushHeaderCache()
{
    if (m_pHeaderCache)
        m_pHeaderCache->Flush();
}

SAddSummary CVarnexDoc::Refresh(bool everyFile)
{
    SAddSummary summary;
    {
        CBusyScope busy(*this);
        // Paths first: reading runs the event pump, and commands run by it
        // may change the table.
        std::vector<std::string> changed;
        m_mapFiles.ForEach([&](const std::string& path, const CGameEntry& entry) {
            SFileStatus status;
            if (everyFile || !StatGameFile(path, status) || !(status == entry.m_status))
                changed.push_back(path);
        });
        std::vector<CUnreadEntry> back;
        for (const CUnreadEntry& unread : m_unread)
            if (!m_mapFiles.Find(unread.path))
                back.push_back(unread);
        summary.total = changed.size() + back.size();
        m_host.BatchStarting(summary.total);
        std::unordered_set<std::string> unreadPaths;
        for (const CUnreadEntry& unread : m_unread)
            unreadPaths.insert(unread.path);

        for (const std::string& path : changed) {
            if (m_host.StopRequested()) {
                summary.stopped = true;
                break;
            }
            ++summary.done;
            CGameEntry* old = m_mapFiles.Find(path);
            if (!old)
                continue; // removed meanwhile
            auto fresh = std::make_unique<CGameEntry>(old->m_nFlags);
            const bool read = ReadEntry(path, *fresh, !everyFile);
            old = m_mapFiles.Find(path);
            if (!old)
                continue;
            CHintPayload payload;
            payload.path = &path;
            if (read) {
                ++summary.added;
                // The entry stays where it is, so the row keeps its place.
                fresh->m_nFlags = old->m_nFlags;
                old->m_props = std::move(fresh->m_props);
                old->m_status = fresh->m_status;
                UpdateAllViews(hintFileChanged, payload);
            } else {
                ++summary.unreadable;
                // A record kept unread once and added again since is there already.
                if (unreadPaths.insert(path).second)
                    m_unread.push_back(CUnreadEntry{path, old->m_nFlags, true});
                else
                    for (CUnreadEntry& unread : m_unread)
                        if (unread.path == path)
                            unread.flags = old->m_nFlags, unread.tried = true;
                m_mapFiles.Remove(path);
                UpdateAllViews(hintFileRemoved, payload);
            }
        }
        for (const CUnreadEntry& unread : back) {
            if (summary.stopped || m_host.StopRequested()) {
                summary.stopped = true;
                break;
            }
            ++summary.done;
            if (m_mapFiles.Find(unread.path))
                continue;
            auto entry = std::make_unique<CGameEntry>(unread.flags);
            if (!ReadEntry(unread.path, *entry, !everyFile) || m_mapFiles.Find(unread.path)) {
                ++summary.unreadable;
                continue;
            }
            ++summary.added;
            m_mapFiles.Insert(unread.path, std::move(entry));
            CHintPayload payload;
            payload.path = &unread.path;
            UpdateAllViews(hintFileAdded, payload);
        }
        // The records that have their rows again are unread no more.
        std::erase_if(m_unread, [&](const CUnreadEntry& e) { return m_mapFiles.Find(e.path) != nullptr; });
    }
    FlushHeaderCache();
    UpdateAllViews(hintBatchDone);
    return summary;
}

void CVarnexDoc::DeleteContents()
{
    m_pHeaderCache.reset();
    m_mapFiles.Clear();
    m_unread.clear();
    UpdateAllViews(hintFileRemoved);
}

bool CVarnexDoc::HasMissingFiles() const
{
    return std::any_of(m_unread.begin(), m_unread.end(), [](const CUnreadEntry& entry) { return entry.tried; });
}

bool CVarnexDoc::RemoveMissingFiles()
{
    if (!HasMissingFiles())
        return false;
    std::erase_if(m_unread, [](const CUnreadEntry& entry) { return entry.tried; });
    m_unread.shrink_to_fit();
    SetModifiedFlag();
    return true;
}

void CVarnexDoc::OnIdle()
{
    UpdateAllViews(hintIdle);
}
