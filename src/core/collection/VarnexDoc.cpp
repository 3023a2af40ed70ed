#include "collection/VarnexDoc.h"

#include "cache/HeaderCache.h"
#include "collection/CachedRead.h"
#include "collection/PositionRowMaker.h"
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

CVarnexDoc::SReadStep CVarnexDoc::ReadOne(const std::string& path, bool held, bool trustCache)
{
    SReadStep step;
    const std::uint64_t generation = m_mapFiles.Generation();
    step.held = m_mapFiles.Find(path);
    if ((step.held != nullptr) != held)
        return step;
    // A NUL ends the name the file system sees: "a.sgf\0junk" would read a.sgf
    // and stand beside it as a second entry.
    auto fresh = std::make_unique<CGameEntry>();
    if (path.find('\0') != std::string::npos || !ReadEntry(path, *fresh, trustCache))
        step.outcome = EReadOutcome::Unreadable;
    else
        step.outcome = EReadOutcome::Read;
    // The event pump ran during the read: the entry found before it may be gone.
    if (m_mapFiles.Generation() != generation)
        step.held = m_mapFiles.Find(path);
    if ((step.held != nullptr) != held) {
        step.outcome = EReadOutcome::Overtaken;
        step.held = nullptr;
        return step;
    }
    if (step.outcome == EReadOutcome::Read)
        step.fresh = std::move(fresh);
    return step;
}

void CVarnexDoc::InsertEntry(const std::string& path, std::unique_ptr<CGameEntry> entry)
{
    m_mapFiles.Insert(path, std::move(entry));
    CHintPayload payload;
    payload.path = &path;
    UpdateAllViews(hintFileAdded, payload);
}

bool CVarnexDoc::AddGameFile(const std::string& path, std::uint32_t flags)
{
    // The caller's string may live in a view's row, which the hints can delete.
    const std::string key = path;
    CBusyScope busy(*this);
    SReadStep step = ReadOne(key, false, true);
    if (step.outcome != EReadOutcome::Read)
        return false;
    step.fresh->m_nFlags = flags;
    InsertEntry(key, std::move(step.fresh));
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
    // Copied first: path may be a row's key. A view finds every row of the
    // file by it (each game of a file of several has one).
    const std::string key = path;
    CHintPayload payload;
    payload.path = &key;
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
        if (!summary.stopped) {
            // The file being read when the user stops is still added.
            auto pathOf = [](const std::string& path) -> const std::string& { return path; };
            summary.done = ReadEach(files, pathOf, false, true, [&](const std::string& path, SReadStep& step) {
                switch (step.outcome) {
                case EReadOutcome::Read:
                    InsertEntry(path, std::move(step.fresh));
                    SetModifiedFlag();
                    ++summary.added;
                    break;
                case EReadOutcome::Unreadable:
                    ++summary.unreadable;
                    break;
                case EReadOutcome::NotAsAsked:
                case EReadOutcome::Overtaken: // added by a command run inside the read
                    ++summary.alreadyPresent;
                    break;
                }
            });
            summary.stopped = summary.done < files.size();
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
    return ReadGameEntry(path, entry, m_host, cache.get(), trustCache, m_rowMaker.get());
}

void CVarnexDoc::SetHeaderCache(std::shared_ptr<CHeaderCache> cache)
{
    // The rows of files read so far go to the cache they were read for.
    FinishPositionRows();
    m_pHeaderCache = std::move(cache);
}

CVarnexDoc::~CVarnexDoc()
{
    FinishPositionRows();
}

void CVarnexDoc::SetPositionRowBuilder(PositionRowBuilder build)
{
    FinishPositionRows();
    m_rowMaker.reset();
    m_buildPositions = std::move(build);
    if (m_buildPositions)
        m_rowMaker = std::make_unique<CPositionRowMaker>(m_buildPositions);
}

void CVarnexDoc::FinishPositionRows()
{
    if (!m_rowMaker)
        return;
    if (m_pHeaderCache)
        m_rowMaker->Finish(*m_pHeaderCache);
    else
        m_rowMaker->Drop();
}

void CVarnexDoc::FlushHeaderCache()
{
    FinishPositionRows();
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

        auto pathOf = [](const std::string& path) -> const std::string& { return path; };
        summary.done = ReadEach(changed, pathOf, true, !everyFile, [&](const std::string& path, SReadStep& step) {
            CGameEntry* old = step.held;
            CHintPayload payload;
            payload.path = &path;
            switch (step.outcome) {
            case EReadOutcome::Read:
                ++summary.added;
                // The entry stays where it is, so the row keeps its place.
                old->m_props = std::move(step.fresh->m_props);
                old->m_status = step.fresh->m_status;
                old->m_pMoreGames = std::move(step.fresh->m_pMoreGames);
                UpdateAllViews(hintFileChanged, payload);
                break;
            case EReadOutcome::Unreadable:
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
                break;
            case EReadOutcome::NotAsAsked:
            case EReadOutcome::Overtaken:
                break; // removed meanwhile
            }
        });
        summary.stopped = summary.done < changed.size();
        if (!summary.stopped) {
            auto unreadPath = [](const CUnreadEntry& unread) -> const std::string& { return unread.path; };
            const std::size_t taken =
                ReadEach(back, unreadPath, false, !everyFile, [&](const CUnreadEntry& unread, SReadStep& step) {
                    switch (step.outcome) {
                    case EReadOutcome::Read:
                        ++summary.added;
                        step.fresh->m_nFlags = unread.flags;
                        InsertEntry(unread.path, std::move(step.fresh));
                        break;
                    case EReadOutcome::Unreadable:
                    case EReadOutcome::Overtaken:
                        ++summary.unreadable;
                        break;
                    case EReadOutcome::NotAsAsked:
                        break; // added meanwhile
                    }
                });
            summary.done += taken;
            summary.stopped = taken < back.size();
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
    FinishPositionRows();
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
