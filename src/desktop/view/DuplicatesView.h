#pragma once

#include "collection/DuplicateFinder.h"

#include <string>
#include <vector>

class CQuickFilterBar;
class CReportListCtrl;

// The duplicates view of the report list: only the rows of the groups' games,
// each group together in its order (the copy to keep first), the groups in
// their order. The filter bar says so while it is on. Rows deleted meanwhile
// leave their groups; a group with one game left no longer leaves the view.
class CDuplicatesView
{
public:
    CDuplicatesView(CReportListCtrl& list, CQuickFilterBar& bar) : m_list(list), m_bar(bar) {}

    void Show(std::vector<CDuplicateGroup> groups);
    // Every row shown again; nothing happens when the view is off.
    void Hide();
    bool IsShowing() const { return m_bShowing; }

    // Rows came or went: the next Count() looks at the groups again.
    void RowsChanged() { m_bStale = true; }
    // Drops the groups with fewer than two rows left and counts the rest.
    void Count();
    // The files holding the copies and the games they are copies of,
    // counted last (0 while the view is off).
    int Files() const { return m_nFiles; }
    int Games() const { return m_nGames; }

    // Selects every row of each group but the first one still in the list.
    void SelectExtraCopies();

    // The files the copies of groups are held in: two copies in one file
    // count once.
    static int CountFiles(const std::vector<CDuplicateGroup>& groups);

private:
    void PlaceRows();
    int RowOf(const SFileGame& game);

    CReportListCtrl& m_list;
    CQuickFilterBar& m_bar;
    std::vector<CDuplicateGroup> m_groups;
    bool m_bShowing = false;
    bool m_bStale = true;
    int m_nFiles = 0;
    int m_nGames = 0;
};
