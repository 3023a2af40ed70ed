#include "desktop/view/DuplicatesView.h"

#include "desktop/app/WaitCursor.h"
#include "desktop/view/QuickFilterBar.h"
#include "desktop/view/ReportListCtrl.h"

#include <QString>

#include <algorithm>
#include <unordered_map>

void CDuplicatesView::Show(std::vector<std::vector<std::string>> groups)
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

void CDuplicatesView::PlaceRows()
{
    std::unordered_map<std::string, int> places;
    int place = 0;
    for (const std::vector<std::string>& group : m_groups) {
        for (const std::string& path : group)
            places.emplace(path, place++);
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
    m_nFiles = m_nGames = 0;
    // A game whose other files were taken out of the collection is held in
    // one file now: it is no longer a duplicate, and its row leaves the view.
    const auto before = m_groups.size();
    std::erase_if(m_groups, [this](const std::vector<std::string>& group) {
        const auto there = std::count_if(group.begin(), group.end(),
                                         [this](const std::string& path) { return m_list.FindItem(path) >= 0; });
        if (there < 2)
            return true;
        m_nFiles += static_cast<int>(there);
        ++m_nGames;
        return false;
    });
    if (m_groups.size() != before)
        PlaceRows();
}

void CDuplicatesView::SelectExtraCopies()
{
    if (!m_bShowing)
        return;
    CWaitCursor busy;
    // The first copy of a group still in the list is the one kept: a kept
    // copy deleted meanwhile hands its place to the next.
    std::vector<int> extra;
    for (const std::vector<std::string>& group : m_groups) {
        bool kept = false;
        for (const std::string& path : group) {
            const int row = m_list.FindItem(path);
            if (row < 0)
                continue;
            if (kept)
                extra.push_back(row);
            kept = true;
        }
    }
    m_list.ClearSelection();
    m_list.SelectRows(extra);
}
