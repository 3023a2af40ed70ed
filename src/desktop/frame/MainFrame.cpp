#include "desktop/frame/MainFrame.h"

#include "collection/VarnexDoc.h"
#include "desktop/app/DesktopDocHost.h"
#include "desktop/app/DocFramework.h"
#include "desktop/app/RecentFileList.h"
#include "desktop/frame/CountStatusBar.h"
#include "desktop/frame/DuplicateSearch.h"
#include "desktop/frame/ProgramIcon.h"
#include "desktop/frame/WndPlacement.h"
#include "desktop/pattern/PatternMode.h"
#include "desktop/players/PlayersPane.h"
#include "desktop/preview/PreviewPane.h"
#include "desktop/toolbar/CustToolBar.h"
#include "desktop/view/DuplicatesView.h"
#include "desktop/view/ReportListCtrl.h"
#include "desktop/view/TextDrop.h"
#include "desktop/view/VarnexView.h"
#include "qtcore/ResText.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "settings/StringTable.h"

#include <QAction>
#include <QCloseEvent>
#include <QDockWidget>
#include <QGuiApplication>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>

#include <span>

namespace {

bool IsShown(const QWidget* widget)
{
    return widget != nullptr && !widget->isHidden();
}

void ToggleShown(QWidget* widget)
{
    if (widget != nullptr)
        widget->setVisible(widget->isHidden());
}

} // namespace

CMainFrame::CMainFrame(CVarnexDoc& doc, CDocFramework& framework, CDesktopDocHost& host, CCommandRouter& router,
                       CRecentFileList& recent, ISettingsStore& store, IPrompts& prompts, QWidget* parent)
    : QMainWindow(parent), m_doc(doc), m_framework(framework), m_host(host), m_router(router), m_recent(recent),
      m_store(store), m_prompts(prompts), m_duplicates(std::make_unique<CDuplicateSearch>(doc, host))
{
    setObjectName(QStringLiteral("MainFrame"));
    setWindowIcon(ProgramIcon());
    setWindowTitle(ResText(AFX_IDS_APP_TITLE));
    // Where the window manager would put a new window, at a size that shows
    // the list; a stored placement replaces it at the first activation.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize area = screen->availableGeometry().size();
        resize(std::min(900, area.width() * 3 / 4), std::min(600, area.height() * 3 / 4));
    }
}

CMainFrame::~CMainFrame()
{
    // The list and the dock tell of their last changes while they go; the
    // frame, half gone by then, must not hear them.
    if (m_previewDock != nullptr)
        disconnect(m_previewDock, nullptr, this, nullptr);
    if (m_playersDock != nullptr)
        disconnect(m_playersDock, nullptr, this, nullptr);
    if (m_view != nullptr && m_view->ListCtrl() != nullptr)
        disconnect(m_view->ListCtrl(), nullptr, this, nullptr);
    m_host.SetProgressSink(nullptr);
    m_host.SetMessageSink(nullptr);
    m_host.SetWindow(nullptr);
    m_framework.SetFrame(nullptr);
    m_router.RemoveTarget(this);
    m_router.RemoveTarget(&m_framework);
    if (m_view != nullptr) {
        m_view->Destroy();
        m_doc.RemoveView(m_view);
        m_router.RemoveTarget(m_view);
    }
}

QAction* CMainFrame::CommandAction(int id, const char* name, const QString& text, const QKeySequence& key)
{
    QAction* action = m_router.Action(id);
    action->setObjectName(QLatin1String(name));
    action->setText(text);
    QString iconText = text.section(QLatin1Char('\t'), 0, 0);
    iconText.remove(QLatin1Char('&'));
    if (iconText.endsWith(QLatin1String("...")))
        iconText.chop(3);
    action->setIconText(iconText);
    action->setStatusTip(ResPrompt(id));
    const QString tip = ResToolTip(id);
    if (!tip.isEmpty())
        action->setToolTip(tip);
    if (!key.isEmpty())
        action->setShortcut(key);
    return action;
}

namespace {
// One menu item: its command, the menu text and the shortcut. Id 0 is a
// separator; kRecentFiles stands for the recent-file items and the
// separator after them. The action is named after the command's constant.
struct SMenuItem
{
    int id;
    const char* name;
    const char* text;
    const char* shortcut;
};

#define VARNEX_MENU_ITEM(id, text, shortcut)                                                                           \
    SMenuItem                                                                                                          \
    {                                                                                                                  \
        id, #id, text, shortcut                                                                                        \
    }

constexpr int kRecentFiles = -1;
constexpr SMenuItem kSeparator{0, nullptr, nullptr, nullptr};

constexpr SMenuItem kFileMenu[] = {
    VARNEX_MENU_ITEM(ID_FILE_NEW, "&New\tCtrl+N", "Ctrl+N"),
    VARNEX_MENU_ITEM(ID_FILE_OPEN, "&Open...\tCtrl+O", "Ctrl+O"),
    VARNEX_MENU_ITEM(ID_FILE_SAVE, "&Save\tCtrl+S", "Ctrl+S"),
    VARNEX_MENU_ITEM(ID_FILE_SAVE_AS, "Save &As...", nullptr),
    VARNEX_MENU_ITEM(ID_FILE_EXPORT, "&Export...", nullptr),
    kSeparator,
    {kRecentFiles, nullptr, nullptr, nullptr},
    VARNEX_MENU_ITEM(ID_APP_EXIT, "E&xit", nullptr),
};

constexpr SMenuItem kEditMenu[] = {
    VARNEX_MENU_ITEM(ID_EDIT_ADD_FILES, "&Add MGT Files...", nullptr),
    VARNEX_MENU_ITEM(ID_EDIT_ADD_FOLDER, "Add F&older...", nullptr),
    VARNEX_MENU_ITEM(ID_EDIT_DELETE_FILES, "&Delete MGT Files", "Del"),
    VARNEX_MENU_ITEM(ID_EDIT_REMOVE_MISSING, "Remove &Missing Files", nullptr),
    VARNEX_MENU_ITEM(ID_EDIT_REFRESH, "&Refresh\tF5", "F5"),
    VARNEX_MENU_ITEM(ID_EDIT_REFRESH_ALL, "R&efresh All\tShift+F5", "Shift+F5"),
    kSeparator,
    VARNEX_MENU_ITEM(ID_EDIT_MARK_VIEWED, "Mark As &Viewed", nullptr),
    VARNEX_MENU_ITEM(ID_EDIT_MARK_UNVIEWED, "Mark As &Unviewed", nullptr),
    kSeparator,
    VARNEX_MENU_ITEM(ID_EDIT_LAUNCH_VIEWER, "&Launch Viewer", nullptr),
    kSeparator,
    VARNEX_MENU_ITEM(ID_EDIT_FIND, "&Find...\tCtrl+F", "Ctrl+F"),
    VARNEX_MENU_ITEM(ID_EDIT_FIND_DUPLICATES, "Find D&uplicates", nullptr),
    VARNEX_MENU_ITEM(ID_EDIT_SELECT_EXTRA_COPIES, "Select E&xtra Copies", nullptr),
};

constexpr SMenuItem kViewMenu[] = {
    VARNEX_MENU_ITEM(ID_VIEW_TOOLBAR, "&Toolbar", nullptr),
    VARNEX_MENU_ITEM(ID_VIEW_STATUS_BAR, "&Status Bar", nullptr),
    VARNEX_MENU_ITEM(ID_VIEW_PREVIEW, "&Preview", nullptr),
    VARNEX_MENU_ITEM(ID_VIEW_PLAYERS, "&Players", nullptr),
    VARNEX_MENU_ITEM(ID_VIEW_POSITION_SEARCH, "Position &Search\tCtrl+Shift+F", "Ctrl+Shift+F"),
    kSeparator,
    VARNEX_MENU_ITEM(ID_VIEW_LARGEICON, "Lar&ge Icons", nullptr),
    VARNEX_MENU_ITEM(ID_VIEW_SMALLICON, "S&mall Icons", nullptr),
    VARNEX_MENU_ITEM(ID_VIEW_LIST, "Li&st", nullptr),
    VARNEX_MENU_ITEM(ID_VIEW_DETAILS, "&Details", nullptr),
    VARNEX_MENU_ITEM(ID_VIEW_BOARD_PICTURES, "Board &Pictures", nullptr),
    kSeparator,
    VARNEX_MENU_ITEM(ID_VIEW_LINEUP, "&Line Up Icons", nullptr),
    VARNEX_MENU_ITEM(ID_VIEW_AUTOARRANGE, "&Auto Arrange", nullptr),
    kSeparator,
    VARNEX_MENU_ITEM(ID_VIEW_OPTIONS, "&Options...", nullptr),
    VARNEX_MENU_ITEM(ID_VIEW_FULL_PATH, "Show F&ull Path", nullptr),
    VARNEX_MENU_ITEM(ID_VIEW_SORT_MEANING, "Sort by &Meaning", nullptr),
    VARNEX_MENU_ITEM(ID_VIEW_SET_FONT, "Set &Font...", nullptr),
};

constexpr SMenuItem kHelpMenu[] = {
    VARNEX_MENU_ITEM(ID_APP_ABOUT, "&About Varnex...", nullptr),
};

#undef VARNEX_MENU_ITEM
} // namespace

void CMainFrame::BuildMenus()
{
    auto addMenu = [this](const char* title, const char* name, std::span<const SMenuItem> items) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(title));
        menu->setObjectName(QLatin1String(name));
        for (const SMenuItem& item : items) {
            if (item.id == 0) {
                menu->addSeparator();
            } else if (item.id == kRecentFiles) {
                static const char* const kRecentNames[] = {"ID_FILE_MRU_FILE1", "ID_FILE_MRU_FILE2",
                                                           "ID_FILE_MRU_FILE3", "ID_FILE_MRU_FILE4"};
                for (int i = 0; i < CRecentFileList::kMaxEntries; ++i)
                    menu->addAction(
                        CommandAction(ID_FILE_MRU_FILE1 + i, kRecentNames[i], QStringLiteral("Recent File")));
                m_recentSeparator = menu->addSeparator();
            } else {
                const QKeySequence key =
                    item.shortcut ? QKeySequence(QString::fromUtf8(item.shortcut)) : QKeySequence();
                menu->addAction(CommandAction(item.id, item.name, QString::fromUtf8(item.text), key));
            }
        }
        return menu;
    };
    m_fileMenu = addMenu("&File", "menuFile", kFileMenu);
    QMenu* edit = addMenu("&Edit", "menuEdit", kEditMenu);
    QMenu* view = addMenu("&View", "menuView", kViewMenu);
    QMenu* help = addMenu("&Help", "menuHelp", kHelpMenu);
    // The bar and pane toggles carry a check mark while theirs is shown.
    m_router.Action(ID_VIEW_TOOLBAR)->setCheckable(true);
    m_router.Action(ID_VIEW_STATUS_BAR)->setCheckable(true);
    m_router.Action(ID_VIEW_PREVIEW)->setCheckable(true);
    m_router.Action(ID_VIEW_PLAYERS)->setCheckable(true);
    m_router.Action(ID_VIEW_POSITION_SEARCH)->setCheckable(true);

    m_menus = {m_fileMenu, edit, view, help};
    // Enabling and check marks are brought up to date before a menu opens.
    for (QMenu* menu : m_menus)
        connect(menu, &QMenu::aboutToShow, this, [this] { m_router.UpdateAll(); });
    connect(m_fileMenu, &QMenu::aboutToShow, this, &CMainFrame::RefreshRecentFiles);
    RefreshRecentFiles();
}

bool CMainFrame::Create()
{
    BuildMenus();

    m_view = new CVarnexView(m_doc, m_store, m_prompts, this);
    m_view->setObjectName(QStringLiteral("VarnexView"));
    if (!m_view->Create())
        return false;
    setCentralWidget(m_view);
    m_doc.AddView(m_view);
    // Routing order: view, document, frame; the application adds itself last.
    m_router.AddTarget(m_view);
    m_router.AddTarget(&m_framework);
    m_router.AddTarget(this);

    const bool flat = ReadInt(m_store, settings::kFlatbar) != 0;
    m_toolBar = new CCustToolBar(m_router, m_store, m_prompts, this);
    m_toolBar->setObjectName(QStringLiteral("Toolbar"));
    if (!m_toolBar->Create(flat) || !m_toolBar->LoadToolBar(IDR_MAINFRAME))
        return false;

    m_statusBar = new CCountStatusBar(this);
    setStatusBar(m_statusBar);
    m_statusBar->InitPanes();
    connect(m_view, &CVarnexView::StatusCounts, m_statusBar, &CCountStatusBar::SetCounts);
    connect(m_view, &CVarnexView::DuplicateCounts, m_statusBar, &CCountStatusBar::SetDuplicateCounts);
    connect(m_view, &CVarnexView::ShownCounts, m_statusBar, &CCountStatusBar::SetShownCounts);
    connect(m_view, &CVarnexView::FilesDropped, this, &CMainFrame::AddDroppedPaths);

    m_toolBar->setWindowTitle(ResText(IDS_TOOLBAR_TITLE));
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    // Movable or not was decided by the bar's own style ("Flatbar").
    m_toolBar->setFloatable(m_toolBar->isMovable());
    addToolBar(Qt::TopToolBarArea, m_toolBar);
    CreatePreview();
    CreatePlayers();
    RestoreBarState();
    m_previewDock->setVisible(ReadInt(m_store, settings::kPreviewShown) != 0);
    m_playersDock->setVisible(ReadInt(m_store, settings::kPlayersShown) != 0);

    setAcceptDrops(true);

    m_host.SetWindow(this);
    m_host.SetProgressSink(
        [this](int current, int total, bool stoppable) { m_statusBar->ShowProgress(current, total, stoppable); });
    m_host.SetMessageSink([this](const QString& text) { m_statusBar->ShowMessage(text); });
    connect(m_statusBar, &CCountStatusBar::CancelClicked, this, [this] { m_host.RequestStop(); });
    m_framework.SetFrame(this);
    return true;
}

void CMainFrame::CreatePreview()
{
    m_previewDock = new QDockWidget(ResText(IDS_PREVIEW_TITLE), this);
    m_previewDock->setObjectName(QStringLiteral("PreviewDock"));
    m_previewDock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    m_preview = new CPreviewPane(m_store, m_prompts, m_previewDock);
    m_previewDock->setWidget(m_preview);
    addDockWidget(Qt::RightDockWidgetArea, m_previewDock);
    // Wide enough for a board that can be read; a stored bar state replaces it.
    resizeDocks({m_previewDock}, {std::max(360, width() * 2 / 5)}, Qt::Horizontal);
    // Closed by its own button, the pane's menu item loses its check mark.
    connect(m_previewDock, &QDockWidget::visibilityChanged, this, [this] { m_router.UpdateAll(); });
    CReportListCtrl* list = m_view->ListCtrl();
    m_pattern = new CPatternMode(m_doc, m_host, *m_preview, *list, this);
    connect(m_pattern, &CPatternMode::Message, this, [this](const QString& text) { m_statusBar->ShowMessage(text); });
    connect(m_pattern, &CPatternMode::Changed, this, [this] {
        m_statusBar->SetPatternText(m_pattern->StatusText(), m_pattern->FoundGames());
        m_router.UpdateAll();
    });
    // The board pictures show what the preview opens at.
    connect(m_preview, &CPreviewPane::OpenAtChanged, m_view, &CVarnexView::ReadOpenAt);
    // A game found by the position search opens at its first hit.
    connect(list, &CReportListCtrl::CurrentRowChanged, this, [this, list](int row) {
        const std::string path = row >= 0 ? list->GetItemKey(row) : std::string();
        const std::uint32_t game = row >= 0 ? list->GetItemGame(row) : 0;
        m_preview->ShowGame(path, m_pattern->FirstHit(path, game), game);
    });
}

void CMainFrame::CreatePlayers()
{
    m_playersDock = new QDockWidget(ResText(IDS_PLAYERS_TITLE), this);
    m_playersDock->setObjectName(QStringLiteral("PlayersDock"));
    m_playersDock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    m_players = new CPlayersPane(m_doc, m_store, m_prompts, m_playersDock);
    m_playersDock->setWidget(m_players);
    addDockWidget(Qt::LeftDockWidgetArea, m_playersDock);
    // Wide enough for a name beside seven counts; a stored bar state replaces it.
    resizeDocks({m_playersDock}, {std::max(540, width() * 9 / 20)}, Qt::Horizontal);
    m_doc.AddView(m_players);
    connect(m_playersDock, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        // A hidden dock keeps its table counted but leaves its rows alone.
        m_players->SetShowing(visible);
        m_router.UpdateAll();
    });
    connect(m_players, &CPlayersPane::FilterList, m_view, &CVarnexView::FilterTo);
}

void CMainFrame::ActivateFrame(int showCmd)
{
    if (!m_placement)
        m_placement = std::make_unique<CWndPlacement>(m_store, std::string(settings::kPlacement.section));
    m_placement->Restore(*this, showCmd);

    switch (showCmd) {
    case static_cast<int>(CWindowPlacementRecord::kShowMaximized):
        showMaximized();
        break;
    case static_cast<int>(CWindowPlacementRecord::kShowMinimized):
        if (windowState() & Qt::WindowMaximized)
            setWindowState(Qt::WindowMinimized | Qt::WindowMaximized);
        showMinimized();
        break;
    case static_cast<int>(CWindowPlacementRecord::kShowNormal):
        showNormal();
        break;
    default:
        show();
        break;
    }
    raise();
    activateWindow();
}

void CMainFrame::RefreshRecentFiles()
{
    for (int i = 0; i < CRecentFileList::kMaxEntries; ++i) {
        QAction* action = m_router.Action(ID_FILE_MRU_FILE1 + i);
        if (m_recent.IsEmpty()) {
            // The one greyed placeholder while there is nothing to reopen.
            action->setText(QStringLiteral("Recent File"));
            action->setVisible(i == 0);
            action->setEnabled(false);
        } else if (i < m_recent.Size()) {
            action->setText(m_recent.MenuText(i));
            action->setStatusTip(ResText(ID_FILE_MRU_FILE1 + i));
            action->setVisible(true);
            action->setEnabled(true);
        } else {
            action->setVisible(false);
        }
    }
}

QMenu* CMainFrame::Menu(int index) const
{
    return index >= 0 && index < m_menus.size() ? m_menus[index] : nullptr;
}

void CMainFrame::AddDroppedPaths(const std::vector<std::string>& paths)
{
    if (paths.empty())
        return;
    // A folder in the drop makes it a batch like Add Folder: walked, able to
    // be stopped, sorted and summed up at the end.
    if (CVarnexDoc::HasFolder(paths)) {
        m_doc.AddBatch(paths);
        return;
    }
    m_host.BeginBatch(static_cast<int>(paths.size()));
    // One call per file in the order the drop lists them; the document skips
    // files it has or cannot read. No end-of-batch hint follows a drop.
    for (const std::string& path : paths)
        m_doc.AddGameFile(path, 0);
    m_host.EndBatch();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (!DroppedLocalFiles(event->mimeData()).empty())
        event->acceptProposedAction();
    else
        QMainWindow::dragEnterEvent(event);
}

void CMainFrame::dragMoveEvent(QDragMoveEvent* event)
{
    if (!DroppedLocalFiles(event->mimeData()).empty())
        event->acceptProposedAction();
    else
        QMainWindow::dragMoveEvent(event);
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    const std::vector<std::string> paths = DroppedLocalFiles(event->mimeData());
    if (paths.empty()) {
        QMainWindow::dropEvent(event);
        return;
    }
    // Files dropped from another program count as copied there, never moved.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    AddDroppedPaths(paths);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // Placement and bar state are kept even when the close is then refused.
    if (m_placement)
        m_placement->Save(*this);
    SaveBarState();
    if (m_duplicates->IsRunning()) {
        m_closeAfterSearch = true;
        m_host.RequestStop();
        event->ignore();
        return;
    }
    if (!m_framework.CanCloseFrame()) {
        event->ignore();
        return;
    }
    if (m_view != nullptr)
        m_view->Destroy();
    event->accept();
}

void CMainFrame::SaveBarState()
{
    const QByteArray state = saveState();
    WriteBinary(m_store, settings::kBarState, std::string_view(state.constData(), state.size()));
    if (m_previewDock != nullptr)
        WriteInt(m_store, settings::kPreviewShown, m_previewDock->isHidden() ? 0 : 1);
    if (m_playersDock != nullptr)
        WriteInt(m_store, settings::kPlayersShown, m_playersDock->isHidden() ? 0 : 1);
}

void CMainFrame::RestoreBarState()
{
    const std::optional<std::string> state = ReadBinary(m_store, settings::kBarState);
    if (state)
        restoreState(QByteArray::fromStdString(*state));
}

std::span<const SCommand<CMainFrame>> CMainFrame::Commands() const
{
    using F = CMainFrame;
    static constexpr SCommand<F> kCommands[] = {
        {ID_APP_EXIT, [](F& f, int) { f.close(); }},
        {ID_VIEW_TOOLBAR, [](F& f, int) { ToggleShown(f.m_toolBar); },
         [](F& f, int, CCmdUI& ui) { ui.SetCheck(IsShown(f.m_toolBar)); }},
        {ID_VIEW_STATUS_BAR, [](F& f, int) { ToggleShown(f.m_statusBar); },
         [](F& f, int, CCmdUI& ui) { ui.SetCheck(IsShown(f.m_statusBar)); }},
        {ID_VIEW_PREVIEW, [](F& f, int) { ToggleShown(f.m_previewDock); },
         [](F& f, int, CCmdUI& ui) { ui.SetCheck(IsShown(f.m_previewDock)); }},
        {ID_VIEW_PLAYERS, [](F& f, int) { ToggleShown(f.m_playersDock); },
         [](F& f, int, CCmdUI& ui) { ui.SetCheck(IsShown(f.m_playersDock)); }},
        {ID_EDIT_FIND_DUPLICATES, [](F& f, int) { f.OnFindDuplicates(); },
         [](F& f, int, CCmdUI& ui) {
             const bool on = f.m_view != nullptr && f.m_view->Duplicates().IsShowing();
             ui.Enable(on || (!f.m_duplicates->IsRunning() && !f.m_doc.IsBusy()));
             ui.SetCheck(on);
         }},
        {ID_VIEW_POSITION_SEARCH, [](F& f, int) { f.OnPositionSearch(); },
         [](F& f, int, CCmdUI& ui) {
             ui.Enable(f.m_pattern != nullptr && !f.m_duplicates->IsRunning());
             ui.SetCheck(f.m_pattern != nullptr && f.m_pattern->IsOn());
         }},
    };
    return kCommands;
}

void CMainFrame::OnCommand(int id)
{
    CTableCommandTarget::OnCommand(id);
    m_router.UpdateAll();
}

void CMainFrame::OnPositionSearch()
{
    if (m_pattern == nullptr)
        return;
    // The pattern board lives in the preview, which is shown for it.
    if (!m_pattern->IsOn())
        m_previewDock->setVisible(true);
    m_pattern->SetOn(!m_pattern->IsOn());
}

void CMainFrame::OnFindDuplicates()
{
    // The same command again leaves the duplicates view.
    if (m_view != nullptr && m_view->Duplicates().IsShowing())
        m_view->Duplicates().Hide();
    else if (m_view != nullptr)
        m_duplicates->Run(*m_view);
    if (m_closeAfterSearch) {
        m_closeAfterSearch = false;
        close();
    }
}

void CMainFrame::ShowStatusMessage(const QString& text)
{
    m_statusBar->ShowNotice(text);
}
