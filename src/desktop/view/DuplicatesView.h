#pragma once

#include <string>
#include <vector>

class CQuickFilterBar;
class CReportListCtrl;

// The duplicates view of the report list: only the rows of the groups, each
// group together in its order (the copy to keep first), the groups in their
// order. The filter bar says so while it is on. Rows deleted meanwhile
// leave their groups; a group held in one file no longer leaves the view.
class CDuplicatesView
{
public:
    CDuplicatesView(CReportListCtrl& list, CQuickFilterBar& bar) : m_list(list), m_bar(bar) {}

    void Show(std::vector<std::vector<std::string>> groups);
    // Every row shown again; nothing happens when the view is off.
    void Hide();
    bool IsShowing() const { return m_bShowing; }

    // Rows came or went: the next Count() looks at the groups again.
    void RowsChanged() { m_bStale = true; }
    // Drops the groups with fewer than two rows left and counts the rest.
    void Count();
    // The files and games counted last (0 while the view is off).
    int Files() const { return m_nFiles; }
    int Games() const { return m_nGames; }

    // Selects every row of each group but the first one still in the list.
    void SelectExtraCopies();

private:
    void PlaceRows();

    CReportListCtrl& m_list;
    CQuickFilterBar& m_bar;
    std::vector<std::vector<std::string>> m_groups;
    bool m_bShowing = false;
    bool m_bStale = true;
    int m_nFiles = 0;
    int m_nGames = 0;
};
