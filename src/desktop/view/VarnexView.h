#pragma once

#include "collection/UpdateHint.h"
#include "columns/ColumnDef.h"
#include "desktop/app/CommandRouter.h"
#include "report/ReportRows.h"
#include "settings/LogFontRecord.h"

#include <QPoint>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

class CDecodedText;
class CDuplicatesView;
class CGameEntry;
class CQuickFilterBar;
class CReportListCtrl;
class CVarnexDoc;
class IPrompts;
class ISettingsStore;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QLabel;

// The one view of the collection: a report list with one row per game file,
// kept in step with the document through its update hints.
class CVarnexView : public QWidget, public IDocView, public CTableCommandTarget<CVarnexView>
{
    Q_OBJECT
public:
    CVarnexView(CVarnexDoc& doc, ISettingsStore& store, IPrompts& prompts, QWidget* parent = nullptr);
    // Stores the sort settings ("Header"/"ColSort", "Header"/"ColSortCur").
    ~CVarnexView() override;

    // The window creation steps: list, font and colour, full path, images,
    // columns, stored style, drop target. False fails the frame's creation.
    bool Create();
    // The window destruction steps: column widths, all rows, style, text
    // colour, full path and font stored. Runs once; later calls do nothing.
    void Destroy();

    void OnUpdate(int hint, const CHintPayload& payload) override;

    // Appends one row; without an entry the path is looked up in the document.
    void AddRow(const std::string& path, const CGameEntry* entry = nullptr);
    void FillRows();
    // The row of path, or every row when path is null.
    void RemoveRow(const std::string* path);
    // The row of a game file read again gets its cells anew, in place.
    void UpdateRow(const std::string& path);
    // Asks before Delete takes out files of several games; true to go on.
    bool ConfirmDeleteOfSeveralGames(const std::vector<std::string>& paths);
    int FindRow(const std::string& path);
    std::string GetDisplayName(const std::string& path) const;
    void SetRowImage(int row, std::uint32_t flags);

    // Rebuilds the columns from the stored lists; in the details style the
    // current widths are stored first.
    void LoadColumns();
    void SaveColumnWidths();
    void SortRows();
    void OnHeaderClick(int column);

    void ApplyFont(const CLogFontRecord& font, bool redraw);
    CLogFontRecord CurrentFont() const;

    int RowCount() const;
    // The game files of the collection.
    int FileCount() const;
    int SelectedCount() const;
    // Rows the list shows: all of them unless the quick filter is on.
    int ShownCount();
    // The quick filter's text; the Find command opens the field for it.
    void SetFilterText(const QString& text);
    // Opens the quick filter with text in it, as if typed, and leaves the
    // keyboard focus where it was: another pane filters the list this way.
    void FilterTo(const QString& text);
    CQuickFilterBar* FilterBar() const { return m_pFilterBar; }
    bool IsFullPath() const { return m_bFullPath; }
    const std::vector<CColumnDef>& Columns() const { return m_columns; }
    const CSortState& SortState() const { return m_sort; }
    // Reads the stored "Open at" choice the board pictures show.
    void ReadOpenAt();
    bool HasBoardPictures() const { return m_bBoardPictures; }

    // The list control (null before Create).
    CReportListCtrl* ListCtrl() const { return m_pList; }

    // The duplicates view of the list (made by Create); Esc on the list
    // leaves it.
    CDuplicatesView& Duplicates() const { return *m_duplicates; }

    // Whether the list takes file drops; registration cannot fail with Qt,
    // but the failure path stays.
    virtual bool RegisterDropTarget();

signals:
    // Sent at idle time for the status bar: selected rows first.
    // total counts the rows, files the game files they show.
    void StatusCounts(int selected, int total, int files);
    // Sent at idle time with the status counts: the rows shown of all rows,
    // and whether the quick filter is on.
    void ShownCounts(int shown, int total, bool filtering);
    // Sent at idle time before ShownCounts: the games and groups of the
    // duplicates view, and whether it is on.
    void DuplicateCounts(int files, int games, bool on);
    // Local files were dropped on the list: the frame adds them as it adds
    // a drop on itself.
    void FilesDropped(const std::vector<std::string>& paths);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The view's commands: the edit commands on the selected rows, Find,
    // Export, and the View menu's styles and appearance.
    std::span<const SCommand<CVarnexView>> Commands() const override;
    // None before Create made the list.
    bool TakesCommands() const override;
    void OnDeleteFiles();
    void OnFind();
    void OnSortByMeaning();
    // Launch viewer, mark viewed and mark unviewed: one walk over the
    // selection in ascending row order.
    void OnSelectionCommand(int id);
    // Starts the viewer once per row; events run between starts so a
    // long selection does not freeze the window.
    void OnLaunchViewer(const std::vector<int>& rows);
    bool DropGameText(const QDropEvent& event);
    // The item drag of the icon styles: the list reports a drag begun, the
    // moves and the release of the left button.
    void OnBeginDrag(int row, const QPoint& point);
    void OnDragMouseMove(const QPoint& point);
    void OnDragButtonUp(const QPoint& point);
    // Mouse events on the icon list that start, move and end the drag;
    // true when the event is used up.
    bool FilterDragMouse(QEvent* event);
    void OnExport();
    void OnStyle(int code);
    void OnAutoArrange();
    void OnLineUp();
    void OnFullPath();
    void OnBoardPictures();
    void OnSetFont();
    void OnOptions();
    void StoreAppearance();
    bool AcceptsFileDrag(const QDropEvent& event) const;

    CVarnexDoc& m_doc;
    ISettingsStore& m_store;
    IPrompts& m_prompts;

    std::vector<CColumnDef> m_columns;
    CSortState m_sort;
    // The user's names are compared with the players' names as shown.
    std::unique_ptr<CDecodedText> m_shownNames;
    bool m_bFullPath = false;
    bool m_bBoardPictures = false;
    bool m_bCreated = false;
    bool m_bDestroyed = false;
    // A launch is walking the selection (and running events as it goes).
    bool m_bLaunching = false;
    bool m_bCanDrop = false;
    // Set when a drag enters: it carries game text (plain text, no files).
    bool m_bTextDrag = false;
    CReportListCtrl* m_pList = nullptr;

    bool m_bDragging = false;
    int m_nDragItem = -1;
    QPoint m_ptDragOffset;
    QPoint m_ptOrigin;
    QPoint m_ptHotSpot;
    // The row's picture over the list window while a drag lasts (a child of
    // the list window, so Qt owns it).
    QLabel* m_pDragImage = nullptr;
    // Where the left button went down on a row; a drag begins once the
    // pointer has moved far enough from there.
    int m_nPressRow = -1;
    QPoint m_ptPress;
    CQuickFilterBar* m_pFilterBar = nullptr;
    std::unique_ptr<CDuplicatesView> m_duplicates;
};
