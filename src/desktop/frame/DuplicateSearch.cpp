#include "desktop/frame/DuplicateSearch.h"

#include "collection/GameEntry.h"
#include "collection/VarnexDoc.h"
#include "desktop/app/DesktopDocHost.h"
#include "desktop/frame/CountStatusBar.h"
#include "desktop/view/DuplicatesView.h"
#include "desktop/view/VarnexView.h"

#include <QPointer>

#include <climits>

namespace {

int Clamped(std::size_t count)
{
    return static_cast<int>(std::min<std::size_t>(count, INT_MAX));
}

} // namespace

bool CDuplicateSearch::Run(CVarnexView& view)
{
    // Events run between files: the command may come again, and a file may
    // be added by a nested command, which the document must be free for.
    if (m_running || m_doc.IsBusy())
        return false;
    m_running = true;
    const QPointer<CVarnexView> alive(&view);
    // The window may not close while files are read.
    CVarnexDoc::CBusyScope busy(m_doc);

    // Named by the finder's own copies: the path table may change while events run.
    CDuplicateFinder::CFiles paths;
    paths.reserve(m_doc.m_mapFiles.size());
    m_doc.m_mapFiles.ForEach(
        [this, &paths](const std::string& path, const CGameEntry&) { paths.push_back(m_finder.Track(path)); });

    const CDuplicateFinder::CFiles toRead = m_finder.FilesToRead(paths);
    m_host.BeginBatch(Clamped(toRead.size()), true);
    // The document as it stands when each file is read: events run between files.
    const bool read = m_finder.ReadKeys(toRead, m_host, [this](const std::string& path) {
        const CGameEntry* entry = m_doc.m_mapFiles.Find(path);
        return entry != nullptr && entry->GameCount() > 1;
    });
    m_host.EndBatch();

    std::optional<std::vector<CDuplicateGroup>> groups;
    if (read) {
        const std::vector<CDuplicateFinder::CGames> sets = m_finder.CandidateSets(paths);
        std::size_t candidates = 0;
        for (const CDuplicateFinder::CGames& set : sets)
            candidates += set.size();
        m_host.BeginBatch(Clamped(candidates), true);
        groups = m_finder.ConfirmGroups(sets, m_host);
        m_host.EndBatch();
    }
    m_running = false;
    if (!groups) {
        m_host.ShowMessage(QStringLiteral("Finding duplicates stopped"));
        return false;
    }
    if (!alive)
        return false;
    const int files = CDuplicatesView::CountFiles(*groups);
    const int games = Clamped(groups->size());
    view.Duplicates().Show(std::move(*groups));
    m_host.ShowMessage(CCountStatusBar::DuplicatesText(files, games));
    return true;
}
