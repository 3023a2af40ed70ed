#include "desktop/view/DuplicatesView.h"

#include "desktop/app/WaitCursor.h"
#include "desktop/view/QuickFilterBar.h"
#include "desktop/view/ReportListCtrl.h"
#include "report/ReportRows.h"

#include <QString>

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>

void CDuplicatesView::Show(std::vector<CDuplicateGroup> groups)
{
    m_groups = std::move(groups);
    m_bShowing = true;
    m_bStale = true;
    PlaceRows();
    m_bar.SetNote(QStringLiteral("Only games held in more than one file are shown: Esc, or Edit > "
                                 "Find Duplicates again, shows all games."));
    Count();
}

void CDuplicatesView::Hide()
{
    if (!m_bShowing)
        return;
    m_bShowing = false;
    m_groups.clear();
    m_list.SetRowPlaces({});
    m_bar.SetNote(QString());
    Count();
}

int CDuplicatesView::RowOf(const SFileGame& game)
{
    return m_list.FindItem(game.path, game.game);
}

int CDuplicatesView::CountFiles(const std::vector<CDuplicateGroup>& groups)
{
    std::unordered_set<std::string_view> files;
    for (const CDuplicateGroup& group : groups) {
        for (const SFileGame& game : group)
            files.insert(game.path);
    }
    return static_cast<int>(files.size());
}

void CDuplicatesView::PlaceRows()
{
    std::unordered_map<std::string, int> places;
    int place = 0;
    for (const CDuplicateGroup& group : m_groups) {
        for (const SFileGame& game : group)
            places.emplace(GameKey(game.path, game.game), place++);
    }
    // A place for nothing still means "only these rows": a key no row has.
    if (places.empty())
        places.emplace(std::string(1, '\0'), 0);
    m_list.SetRowPlaces(std::move(places));
}

void CDuplicatesView::Count()
{
    if (!m_bShowing) {
        m_nFiles = m_nGames = 0;
        return;
    }
    if (!m_bStale)
        return;
    m_bStale = false;
    // A game whose other copies were taken out of the collection is held
    // once now: it is no longer a duplicate, and its row leaves the view.
    const auto before = m_groups.size();
    for (CDuplicateGroup& group : m_groups)
        std::erase_if(group, [this](const SFileGame& game) { return RowOf(game) < 0; });
    std::erase_if(m_groups, [](const CDuplicateGroup& group) { return group.size() < 2; });
    m_nFiles = CountFiles(m_groups);
    m_nGames = static_cast<int>(m_groups.size());
    if (m_groups.size() != before)
        PlaceRows();
}

void CDuplicatesView::SelectExtraCopies()
{
    if (!m_bShowing)
        return;
    CWaitCursor busy;
    // The first copy of a group still in the list is the one kept: a kept
    // copy deleted meanwhile hands its place to the next. Delete takes a
    // game's whole file, so a copy in the file of a kept one stays
    // unselected: taking it would take the kept game too.
    std::vector<std::pair<int, const std::string*>> copies;
    std::unordered_set<std::string_view> keptFiles;
    for (const CDuplicateGroup& group : m_groups) {
        bool kept = false;
        for (const SFileGame& game : group) {
            const int row = RowOf(game);
            if (row < 0)
                continue;
            if (kept)
                copies.emplace_back(row, &game.path);
            else
                keptFiles.insert(game.path);
            kept = true;
        }
    }
    std::vector<int> extra;
    for (const auto& [row, path] : copies) {
        if (!keptFiles.count(*path))
            extra.push_back(row);
    }
    m_list.ClearSelection();
    m_list.SelectRows(extra);
}
