#include "desktop/frame/MainFrame.h"

#include "desktop/frame/CountStatusBar.h"
#include "desktop/toolbar/CustToolBar.h"
#include "desktop/app/DesktopDocHost.h"
#include "desktop/app/DocFramework.h"
#include "desktop/frame/ProgramIcon.h"
#include "desktop/app/RecentFileList.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "settings/StringTable.h"
#include "qtcore/ResText.h"
#include "desktop/frame/WndPlacement.h"
#include "collection/VarnexDoc.h"
#include "desktop/view/VarnexView.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QUrl>

CMainFrame::CMainFrame(CVarnexDoc& doc, CDocFramework& framework, CDesktopDocHost& host, CCommandRouter& router,
                       CRecentFileList& recent, ISettingsStore& store, IPrompts& prompts, QWidget* parent)
    : QMainWindow(parent), m_doc(doc), m_framework(framework), m_host(host), m_router(router), m_recent(recent),
      m_store(store), m_prompts(prompts)
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
    m_host.SetProgressSink(nullptr);
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

void CMainFrame::BuildMenus()
{
    QMenuBar* bar = menuBar();

    m_fileMenu = bar->addMenu(QStringLiteral("&File"));
    m_fileMenu->setObjectName(QStringLiteral("menuFile"));
    m_fileMenu->addAction(
        CommandAction(ID_FILE_NEW, "ID_FILE_NEW", QStringLiteral("&New\tCtrl+N"), QKeySequence(QStringLiteral("Ctrl+N"))));
    m_fileMenu->addAction(CommandAction(ID_FILE_OPEN, "ID_FILE_OPEN", QStringLiteral("&Open...\tCtrl+O"),
                                        QKeySequence(QStringLiteral("Ctrl+O"))));
    m_fileMenu->addAction(CommandAction(ID_FILE_SAVE, "ID_FILE_SAVE", QStringLiteral("&Save\tCtrl+S"),
                                        QKeySequence(QStringLiteral("Ctrl+S"))));
    m_fileMenu->addAction(CommandAction(ID_FILE_SAVE_AS, "ID_FILE_SAVE_AS", QStringLiteral("Save &As...")));
    m_fileMenu->addAction(CommandAction(ID_FILE_EXPORT, "ID_FILE_EXPORT", QStringLiteral("&Export...")));
    m_fileMenu->addSeparator();
    static const char* const kRecentNames[] = {"ID_FILE_MRU_FILE1", "ID_FILE_MRU_FILE2", "ID_FILE_MRU_FILE3",
                                               "ID_FILE_MRU_FILE4"};
    for (int i = 0; i < CRecentFileList::kMaxEntries; ++i)
        m_fileMenu->addAction(CommandAction(ID_FILE_MRU_FILE1 + i, kRecentNames[i], QStringLiteral("Recent File")));
    m_recentSeparator = m_fileMenu->addSeparator();
    m_fileMenu->addAction(CommandAction(ID_APP_EXIT, "ID_APP_EXIT", QStringLiteral("E&xit")));

    QMenu* edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("menuEdit"));
    edit->addAction(CommandAction(ID_EDIT_ADD_FILES, "ID_EDIT_ADD_FILES", QStringLiteral("&Add MGT Files...")));
    edit->addAction(CommandAction(ID_EDIT_DELETE_FILES, "ID_EDIT_DELETE_FILES", QStringLiteral("&Delete MGT Files"),
                                  QKeySequence(Qt::Key_Delete)));
    edit->addSeparator();
    edit->addAction(CommandAction(ID_EDIT_MARK_VIEWED, "ID_EDIT_MARK_VIEWED", QStringLiteral("Mark As &Viewed")));
    edit->addAction(
        CommandAction(ID_EDIT_MARK_UNVIEWED, "ID_EDIT_MARK_UNVIEWED", QStringLiteral("Mark As &Unviewed")));
    edit->addSeparator();
    edit->addAction(CommandAction(ID_EDIT_LAUNCH_VIEWER, "ID_EDIT_LAUNCH_VIEWER", QStringLiteral("&Launch Viewer")));

    QMenu* view = bar->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("menuView"));
    QAction* toolbar = CommandAction(ID_VIEW_TOOLBAR, "ID_VIEW_TOOLBAR", QStringLiteral("&Toolbar"));
    toolbar->setCheckable(true);
    view->addAction(toolbar);
    QAction* status = CommandAction(ID_VIEW_STATUS_BAR, "ID_VIEW_STATUS_BAR", QStringLiteral("&Status Bar"));
    status->setCheckable(true);
    view->addAction(status);
    view->addSeparator();
    view->addAction(CommandAction(ID_VIEW_LARGEICON, "ID_VIEW_LARGEICON", QStringLiteral("Lar&ge Icons")));
    view->addAction(CommandAction(ID_VIEW_SMALLICON, "ID_VIEW_SMALLICON", QStringLiteral("S&mall Icons")));
    view->addAction(CommandAction(ID_VIEW_LIST, "ID_VIEW_LIST", QStringLiteral("Li&st")));
    view->addAction(CommandAction(ID_VIEW_DETAILS, "ID_VIEW_DETAILS", QStringLiteral("&Details")));
    view->addSeparator();
    view->addAction(CommandAction(ID_VIEW_LINEUP, "ID_VIEW_LINEUP", QStringLiteral("&Line Up Icons")));
    view->addAction(CommandAction(ID_VIEW_AUTOARRANGE, "ID_VIEW_AUTOARRANGE", QStringLiteral("&Auto Arrange")));
    view->addSeparator();
    view->addAction(CommandAction(ID_VIEW_OPTIONS, "ID_VIEW_OPTIONS", QStringLiteral("&Options...")));
    view->addAction(CommandAction(ID_VIEW_FULL_PATH, "ID_VIEW_FULL_PATH", QStringLiteral("Show F&ull Path")));
    view->addAction(CommandAction(ID_VIEW_SET_FONT, "ID_VIEW_SET_FONT", QStringLiteral("Set &Font...")));

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("menuHelp"));
    help->addAction(CommandAction(ID_APP_ABOUT, "ID_APP_ABOUT", QStringLiteral("&About Varnex...")));

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

    m_toolBar->setWindowTitle(ResText(IDS_TOOLBAR_TITLE));
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_toolBar->setFloatable(true);
    m_toolBar->setMovable(true);
    addToolBar(Qt::TopToolBarArea, m_toolBar);
    RestoreBarState();

    setAcceptDrops(true);

    m_host.SetWindow(this);
    m_host.SetProgressSink([this](int current, int total) { m_statusBar->ShowProgress(current, total); });
    m_framework.SetFrame(this);
    return true;
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

bool CMainFrame::HasLocalFiles(const QMimeData* data)
{
    if (data == nullptr || !data->hasUrls())
        return false;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            return true;
    }
    return false;
}

void CMainFrame::AddDroppedFiles(const QList<QUrl>& urls)
{
    QList<QString> paths;
    for (const QUrl& url : urls) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    if (paths.isEmpty())
        return;
    m_host.BeginBatch(static_cast<int>(paths.size()));
    // One call per file in the order the drop lists them; the document skips
    // files it has or cannot read. No end-of-batch hint follows a drop.
    for (const QString& path : paths)
        m_doc.AddGameFile(QFile::encodeName(path).toStdString(), 0);
    m_host.EndBatch();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (HasLocalFiles(event->mimeData()))
        event->acceptProposedAction();
    else
        QMainWindow::dragEnterEvent(event);
}

void CMainFrame::dragMoveEvent(QDragMoveEvent* event)
{
    if (HasLocalFiles(event->mimeData()))
        event->acceptProposedAction();
    else
        QMainWindow::dragMoveEvent(event);
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    if (!HasLocalFiles(event->mimeData())) {
        QMainWindow::dropEvent(event);
        return;
    }
    // Files dropped from another program count as copied there, never moved.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    AddDroppedFiles(event->mimeData()->urls());
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // Placement and bar state are kept even when the close is then refused.
    if (m_placement)
        m_placement->Save(*this);
    SaveBarState();
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
}

void CMainFrame::RestoreBarState()
{
    const std::optional<std::string> state = ReadBinary(m_store, settings::kBarState);
    if (state)
        restoreState(QByteArray::fromStdString(*state));
}

bool CMainFrame::HasCommand(int id) const
{
    return id == ID_APP_EXIT || id == ID_VIEW_TOOLBAR || id == ID_VIEW_STATUS_BAR;
}

void CMainFrame::OnCommand(int id)
{
    switch (id) {
    case ID_APP_EXIT:
        close();
        break;
    case ID_VIEW_TOOLBAR:
        if (m_toolBar != nullptr)
            m_toolBar->setVisible(m_toolBar->isHidden());
        break;
    case ID_VIEW_STATUS_BAR:
        if (m_statusBar != nullptr)
            m_statusBar->setVisible(m_statusBar->isHidden());
        break;
    default:
        break;
    }
    m_router.UpdateAll();
}

bool CMainFrame::OnUpdateCommand(int id, CCmdUI& ui)
{
    switch (id) {
    case ID_VIEW_TOOLBAR:
        ui.SetCheck(m_toolBar != nullptr && !m_toolBar->isHidden());
        return true;
    case ID_VIEW_STATUS_BAR:
        ui.SetCheck(m_statusBar != nullptr && !m_statusBar->isHidden());
        return true;
    default:
        return false;
    }
}
