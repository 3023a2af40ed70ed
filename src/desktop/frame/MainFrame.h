#pragma once

#include "desktop/app/CommandRouter.h"
#include "desktop/app/DocFrame.h"

#include <QMainWindow>

#include <memory>
#include <string>
#include <vector>

class CCountStatusBar;
class CCustToolBar;
class CDesktopDocHost;
class CDocFramework;
class CDuplicateSearch;
class CPatternMode;
class CPlayersPane;
class CPreviewPane;
class CRecentFileList;
class CVarnexDoc;
class CVarnexView;
class CWndPlacement;
class IPrompts;
class ISettingsStore;
class QDockWidget;
class QMenu;

// The program's one top-level window: menus, the customisable toolbar, the
// status bar with the two count panes, and the report view as its client.
// It remembers its placement and the toolbar's docking state, and adds game
// files dropped on it or on the list to the collection.
class CMainFrame : public QMainWindow, public CTableCommandTarget<CMainFrame>, public IDocFrame
{
    Q_OBJECT
public:
    CMainFrame(CVarnexDoc& doc, CDocFramework& framework, CDesktopDocHost& host, CCommandRouter& router,
               CRecentFileList& recent, ISettingsStore& store, IPrompts& prompts, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The creation steps: menus, view, toolbar, status bar, panes, docking,
    // stored bar state, file drops. False when a part cannot be made.
    bool Create();

    // Restores the stored placement (replacing showCmd when one is stored),
    // then shows the window. -1 keeps the window's present state.
    void ActivateFrame(int showCmd = -1);

    QWidget* DialogParent() override { return this; }
    void ActivateDocFrame() override { ActivateFrame(); }
    void SetCaption(const QString& caption) override { setWindowTitle(caption); }
    void ShowStatusMessage(const QString& text) override;

    // The recent-file items of the File menu, from the list.
    void RefreshRecentFiles() override;

    // The local files of a drop on the frame or on its list, in order, with
    // flags 0: files alone as one batch without an end-of-batch hint, a drop
    // with a folder as a batch like Add Folder.
    void AddDroppedPaths(const std::vector<std::string>& paths);

    CVarnexView* View() const { return m_view; }
    CCustToolBar* ToolBar() const { return m_toolBar; }
    CCountStatusBar* CountStatusBar() const { return m_statusBar; }
    CPreviewPane* Preview() const { return m_preview; }
    QDockWidget* PreviewDock() const { return m_previewDock; }
    QMenu* Menu(int index) const;
    bool HasPlacement() const { return m_placement != nullptr; }
    CDuplicateSearch& DuplicateSearch() const { return *m_duplicates; }
    CPatternMode* PatternMode() const { return m_pattern; }
    CPlayersPane* Players() const { return m_players; }
    QDockWidget* PlayersDock() const { return m_playersDock; }

    // Every command brings the menus' and toolbar's states up to date.
    void OnCommand(int id) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Exit, the bar and pane toggles, and Find Duplicates.
    std::span<const SCommand<CMainFrame>> Commands() const override;
    void OnFindDuplicates();
    // Position Search: the mode on or off.
    void OnPositionSearch();
    void BuildMenus();
    QAction* CommandAction(int id, const char* name, const QString& text, const QKeySequence& key = {});
    void SaveBarState();
    void RestoreBarState();
    // The dock with the board of the current row's game, beside the list.
    void CreatePreview();
    // The dock with every player of the collection and one player's record.
    void CreatePlayers();

    CVarnexDoc& m_doc;
    CDocFramework& m_framework;
    CDesktopDocHost& m_host;
    CCommandRouter& m_router;
    CRecentFileList& m_recent;
    ISettingsStore& m_store;
    IPrompts& m_prompts;

    CCountStatusBar* m_statusBar = nullptr;
    CCustToolBar* m_toolBar = nullptr;
    std::unique_ptr<CWndPlacement> m_placement;
    std::unique_ptr<CDuplicateSearch> m_duplicates;
    CVarnexView* m_view = nullptr;
    QDockWidget* m_previewDock = nullptr;
    CPreviewPane* m_preview = nullptr;
    CPatternMode* m_pattern = nullptr;
    QDockWidget* m_playersDock = nullptr;
    CPlayersPane* m_players = nullptr;
    QMenu* m_fileMenu = nullptr;
    QAction* m_recentSeparator = nullptr;
    QList<QMenu*> m_menus;
    bool m_viewDestroyed = false;
    // A close asked for while Find Duplicates reads: the search stops, then
    // the window closes as usual.
    bool m_closeAfterSearch = false;
};
