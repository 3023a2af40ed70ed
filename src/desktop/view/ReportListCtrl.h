#pragma once

#include "columns/ColumnLayout.h"
#include "report/ReportRows.h"

#include <QColor>
#include <QFont>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

class CBoardPictures;
class CReportListModel;
class CRowFilter;
class CRowFilterProxy;
class QAbstractItemView;
class QItemSelectionModel;
class QListView;
class QStackedWidget;
class QTreeView;

// The list control the report view drives: rows with a key, cell texts and
// an image; a style word whose two lowest bits pick the display style and
// whose bit 8 is the auto-arrange flag. Details are shown by a tree view, the
// other styles by a list view; both share the rows and one selection.
class CReportListCtrl : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kStyleLargeIcons = 0;
    static constexpr int kStyleDetails = 1;
    static constexpr int kStyleSmallIcons = 2;
    static constexpr int kStyleList = 3;
    static constexpr int kStyleMask = 3;
    static constexpr int kAutoArrange = 256;

    explicit CReportListCtrl(QWidget* parent = nullptr);

    // The getters that read rows by number are not const: they first tell the
    // views of the changes kept back (a model flush), so that the numbers
    // are the ones the views know.

    // Appends a row and gives its index.
    // entry (which may be absent) chooses the charset the row is shown in.
    int InsertItem(CReportRow row, const CGameEntry* entry = nullptr);
    void SetItemText(int row, int column, std::string text);
    void SetItemCells(int row, std::vector<std::string> cells, const CGameEntry* entry, bool numbered = false);
    std::string GetItemText(int row, int column);
    void SetItemImage(int row, int image);
    int GetItemImage(int row);
    std::string GetItemKey(int row);
    int FindItem(const std::string& key, std::uint32_t game = 0);
    // Which game of its file the row shows, from 0.
    std::uint32_t GetItemGame(int row);
    void DeleteItem(int row);
    bool DeleteItemByKey(const std::string& key, std::uint32_t game = 0);
    void DeleteAllItems();
    int GetItemCount() const;
    // Room for count rows; the count comes from a file and is capped.
    void SetItemCount(std::int32_t count);

    // The quick filter: the views show only the rows it keeps, in the list's
    // order. Row numbers everywhere else stay those of all rows.
    void SetRowFilter(const CRowFilter& filter);
    bool IsFiltering() const;
    // The duplicates view (see CRowFilterProxy::SetPlaces); the selection is cleared.
    void SetRowPlaces(std::unordered_map<std::string, int> places);
    // The games a position search found (see CRowFilterProxy::SetMatches).
    void SetRowMatches(std::shared_ptr<const std::unordered_map<std::string, int>> matches);
    int GetShownCount();
    // The row number of the shown row at position shown (0 at the top).
    int ShownRow(int shown);

    // Selected rows from the top (shown rows only: hidden ones cannot be selected).
    std::vector<int> GetSelectedRows();
    int GetSelectedCount() const;
    void SelectRow(int row, bool select = true);
    // Selects the rows shown among rows, in one step.
    void SelectRows(const std::vector<int>& rows);
    void ClearSelection();

    int GetStyle() const { return m_style; }
    void SetStyle(int style);
    int GetViewStyle() const { return m_style & kStyleMask; }

    // Sorts, and shows the sort on the details header.
    void SortItems(CSortState& sort, std::size_t columnCount);
    // The details header's arrow on the sort column, pointing its direction;
    // none when nothing is sorted or the column is not there.
    void ShowSortIndicator(const CSortState& sort);
    // Icon position in the two icon styles, in list item coordinates (the
    // view origin added to the window position). A position set by hand is
    // kept with the row until Arrange, also across style switches.
    void SetItemPosition(int row, const QPoint& position);
    QPoint GetItemPosition(int row);
    // The row's icon and label in the icon view's window coordinates; empty
    // when the row is not shown.
    QRect GetItemRect(int row);
    // The scroll offset of the item area.
    QPoint GetViewOrigin() const;
    // Lines the icons up on the grid once.
    void Arrange();

    void SetColumns(const std::vector<CListColumn>& columns);
    int GetColumnCount() const;
    int GetColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);

    // Board pictures in place of the row pictures, in the large-icon style
    // only; the other styles keep their pictures.
    void SetBoardPictures(bool on);
    bool HasBoardPictures() const { return m_boardPictures; }
    CBoardPictures& BoardPictures() const { return *m_pictures; }

    void SetTextColor(const QColor& color);
    QColor GetTextColor() const { return m_textColor; }
    void SetListFont(const QFont& font);
    QFont GetListFont() const { return font(); }
    void SetRedraw(bool redraw);

    CReportListModel& Model() const { return *m_model; }
    QTreeView* DetailsView() const { return m_tree; }
    QListView* IconView() const { return m_list; }
    QItemSelectionModel* SelectionModel() const;
    // The view that shows the current style.
    QAbstractItemView* CurrentView() const;
    // The row of the current item (the focus of the keyboard), or -1.
    int CurrentRow() const;

signals:
    void HeaderClicked(int column);
    // The current item moved to another row (-1: none), by the keys, a
    // click or a change of the rows.
    void CurrentRowChanged(int row);

private:
    void ApplyStyle();
    // The model's place slot of the current style: 0 large icons, 1 small
    // icons, -1 where hand-set places do not apply (other styles, auto arrange).
    int PlaceSlot() const;
    void UpdateGrid();
    // Gives the delegate the pictures when the style shows them.
    void ApplyBoardPictures();
    // A picture asked for at row (a model row) is ready.
    void OnPictureReady(int row, const std::string& path, std::uint32_t game);
    // Adds the shown rows (proxy rows) to the selection in one step.
    void SelectShownRows(std::vector<int> shown);
    // Makes the rows shown anew by change, keeping the current row and the
    // selection of the rows still shown.
    void ReshowRows(const std::function<void()>& change);
    // Emits CurrentRowChanged with the current row as it is now, or once
    // the events waiting now have run.
    void TellCurrentRow();
    void TellCurrentRowLater();

    CReportListModel* m_model = nullptr;
    CRowFilterProxy* m_proxy = nullptr;
    QStackedWidget* m_stack = nullptr;
    QTreeView* m_tree = nullptr;
    QListView* m_list = nullptr;
    CBoardPictures* m_pictures = nullptr;
    bool m_boardPictures = false;
    int m_style = kStyleLargeIcons;
    QColor m_textColor = QColor(0, 0, 0);
    // Set while the rows are made again and the current item put back.
    bool m_holdCurrent = false;
    bool m_tellPending = false;
};
