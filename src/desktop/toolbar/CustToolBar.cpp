#include "desktop/toolbar/CustToolBar.h"

#include "desktop/app/CommandRouter.h"
#include "desktop/app/Prompts.h"
#include "desktop/toolbar/ToolBarCustomizeDialog.h"
#include "qtcore/ResText.h"
#include "settings/Settings.h"
#include "settings/SettingsStore.h"
#include "settings/StringTable.h"

#include <QAction>
#include <QActionEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QIcon>
#include <QMainWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QStatusTipEvent>
#include <QToolButton>

#include <set>

// The pictures live in this static library; nothing else refers to them, so
// they are registered by hand.
static void InitToolBarPictures()
{
    Q_INIT_RESOURCE(toolbar);
}

namespace {
// The prompt and tool-tip parts of a command's string.
QString PromptText(int command)
{
    return command > 0 ? ResPrompt(command) : QString();
}
} // namespace

CCustToolBar::CCustToolBar(CCommandRouter& router, ISettingsStore& store, IPrompts& prompts, QWidget* parent)
    : QToolBar(parent), m_router(router), m_store(store), m_prompts(prompts)
{
    // The frame saves docking state by object name.
    setObjectName(QStringLiteral("Toolbar"));
    setIconSize(QSize(16, 15));
}

CCustToolBar::~CCustToolBar()
{
    if (m_loaded)
        SaveLayout();
}

bool CCustToolBar::Create(bool flat)
{
    m_flat = flat;
    // Without the flat style the bar has no gripper and cannot be dragged away.
    setMovable(flat);
    ApplyButtonStyle();
    return true;
}

bool CCustToolBar::LoadToolBar(int resource)
{
    const std::vector<SToolBarButton>& buttons = ToolBarResource(resource);
    if (buttons.empty())
        return false;
    m_resourceButtons = buttons;
    for (const SToolBarButton& button : m_resourceButtons) {
        if (button.IsSeparator())
            continue;
        QAction* action = m_router.Action(button.command);
        // The picture belongs on the bar only; menus stay without pictures.
        action->setIcon(ButtonIcon(button.command));
        action->setIconVisibleInMenu(false);
        m_commandOf.insert(action, button.command);
        const QString tip = ToolTipText(button.command);
        if (!tip.isEmpty())
            action->setToolTip(tip);
        if (action->statusTip().isEmpty())
            action->setStatusTip(PromptText(button.command));
    }
    m_loaded = true;
    ApplyLayout(CToolBarLayout::FromResource(m_resourceButtons));
    if (const std::optional<std::string> stored = ReadBinary(m_store, settings::kToolbarLayout)) {
        // A value that does not describe buttons of this bar is ignored.
        const std::optional<CToolBarLayout> layout = CToolBarLayout::Decode(*stored);
        if (layout && layout->FitsButtons(m_resourceButtons))
            ApplyLayout(*layout);
    }
    return true;
}

void CCustToolBar::Customize()
{
    SaveLayout();
    CToolBarCustomizeDialog dialog(*this, m_prompts, parentWidget() ? parentWidget() : this);
    m_prompts.ExecDialog(dialog);
}

void CCustToolBar::ApplyLayout(const CToolBarLayout& layout)
{
    std::set<int> offered;
    for (const SToolBarButton& button : m_resourceButtons)
        offered.insert(button.command);

    clear();
    std::vector<int> shown;
    std::set<int> used;
    std::size_t separators = 0;
    for (int command : layout.Commands()) {
        if (offered.count(command) == 0)
            continue;
        if (command == 0) {
            // Separator actions are reused, so applying layouts again and
            // again does not pile them up.
            if (separators == m_separators.size()) {
                auto* separator = new QAction(this);
                separator->setSeparator(true);
                m_separators.push_back(separator);
            }
            addAction(m_separators[separators++]);
        } else {
            if (!used.insert(command).second)
                continue;
            addAction(m_router.Action(command));
        }
        shown.push_back(command);
    }
    m_layout = CToolBarLayout(std::move(shown));
    // The buttons are new: they take the bar's style only now.
    ApplyButtonStyle();
    // Docked, the frame's layout follows the bar; floating, the bar's own
    // window has to fit its buttons.
    if (isFloating())
        adjustSize();
    emit LayoutChanged();
}

void CCustToolBar::SaveLayout()
{
    WriteBinary(m_store, settings::kToolbarLayout, m_layout.Encode());
}

QMenu* CCustToolBar::CreateContextMenu()
{
    auto* menu = new QMenu(QStringLiteral("Pop Up"), this);
    QAction* customize = menu->addAction(QStringLiteral("&Customize..."));
    customize->setData(int{ID_CUSTOMIZE});
    customize->setStatusTip(PromptText(ID_CUSTOMIZE));
    // Nothing in the frame handles this command, so it is enabled here.
    customize->setEnabled(true);
    connect(customize, &QAction::triggered, this, &CCustToolBar::Customize);
    // The frame's status bar shows the highlighted item's prompt.
    connect(menu, &QMenu::hovered, this, [this](QAction* action) { ShowPrompt(action->statusTip()); });
    connect(menu, &QMenu::aboutToHide, this, [this] { ShowPrompt(QString()); });
    return menu;
}

void CCustToolBar::ShowContextMenu(const QPoint& globalPos)
{
    QMenu* menu = CreateContextMenu();
    menu->exec(globalPos);
    menu->deleteLater();
}

QIcon CCustToolBar::ButtonIcon(int command)
{
    struct SIcon
    {
        int command;
        const char* theme;
        const char* file;
    };
    static const SIcon icons[] = {
        {ID_FILE_NEW, "document-new", "new"},
        {ID_FILE_OPEN, "document-open", "open"},
        {ID_FILE_SAVE, "document-save", "save"},
        {ID_FILE_SAVE_AS, "document-save-as", "saveas"},
        {ID_EDIT_ADD_FILES, "list-add", "add"},
        {ID_EDIT_ADD_FOLDER, "folder-new", "open"},
        {ID_EDIT_DELETE_FILES, "list-remove", "delete"},
        {ID_EDIT_LAUNCH_VIEWER, "system-run", "launch"},
        {ID_EDIT_MARK_VIEWED, "varnex-mark-viewed", "viewed"},
        {ID_EDIT_MARK_UNVIEWED, "varnex-mark-unviewed", "unviewed"},
        {ID_VIEW_LARGEICON, "view-list-icons", "largeicons"},
        {ID_VIEW_SMALLICON, "view-list-compact", "smallicons"},
        {ID_VIEW_LIST, "view-list-text", "list"},
        {ID_VIEW_DETAILS, "view-list-details", "details"},
        {ID_VIEW_SET_FONT, "preferences-desktop-font", "font"},
        {ID_VIEW_FULL_PATH, "varnex-full-path", "fullpath"},
        {ID_VIEW_LINEUP, "varnex-line-up", "lineup"},
        {ID_VIEW_POSITION_SEARCH, "varnex-position-search", "pattern"},
        {ID_APP_ABOUT, "help-about", "about"},
    };
    static const bool pictures = (InitToolBarPictures(), true);
    (void)pictures;
    for (const SIcon& icon : icons) {
        if (icon.command != command)
            continue;
        // The compiled-in picture keeps the bar readable where the desktop
        // theme has no such icon.
        const QIcon fallback(QStringLiteral(":/toolbar/%1.png").arg(QLatin1StringView(icon.file)));
        return QIcon::fromTheme(QLatin1StringView(icon.theme), fallback);
    }
    return {};
}

QString CCustToolBar::ToolTipText(int command)
{
    return command > 0 ? ResToolTip(command) : QString();
}

void CCustToolBar::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
    ShowContextMenu(event->globalPos());
}

void CCustToolBar::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ShiftModifier)) {
        event->accept();
        Customize();
        return;
    }
    QToolBar::mouseDoubleClickEvent(event);
}

void CCustToolBar::actionEvent(QActionEvent* event)
{
    QToolBar::actionEvent(event);
    if (event->type() == QEvent::ActionAdded) {
        if (QWidget* widget = widgetForAction(event->action())) {
            if (auto* button = qobject_cast<QToolButton*>(widget)) {
                button->setAutoRaise(m_flat);
                button->installEventFilter(this);
            }
        }
    }
}

bool CCustToolBar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        // A button whose command has no tool-tip text shows none, rather than
        // the action's menu text.
        if (auto* button = qobject_cast<QToolButton*>(watched)) {
            const int command = m_commandOf.value(button->defaultAction(), 0);
            if (command > 0 && ToolTipText(command).isEmpty())
                return true;
        }
    }
    return QToolBar::eventFilter(watched, event);
}

void CCustToolBar::ApplyButtonStyle()
{
    for (QAction* action : actions()) {
        if (auto* button = qobject_cast<QToolButton*>(widgetForAction(action)))
            button->setAutoRaise(m_flat);
    }
}

void CCustToolBar::ShowPrompt(const QString& text)
{
    // The prompt goes to the main window even while the bar floats.
    QWidget* target = parentWidget();
    while (target && !qobject_cast<QMainWindow*>(target))
        target = target->parentWidget();
    if (!target)
        target = this;
    QStatusTipEvent tip(text);
    QCoreApplication::sendEvent(target, &tip);
}
