#pragma once

#include "settings/ToolBarLayout.h"

#include <QHash>
#include <QToolBar>

#include <vector>

class CCommandRouter;
class IPrompts;
class ISettingsStore;
class QMenu;

// The main frame's toolbar. Its buttons are the router's actions for the
// commands of the toolbar resource; the user rearranges them in the
// customisation dialog (right-click menu or Shift+double-click), and the
// layout is kept in the settings store as the binary value "Toolbar"
// directly under the application key.
class CCustToolBar : public QToolBar
{
    Q_OBJECT
public:
    CCustToolBar(CCommandRouter& router, ISettingsStore& store, IPrompts& prompts, QWidget* parent = nullptr);
    // Stores the current layout.
    ~CCustToolBar() override;

    // Always adjustable; flat buttons and a gripper only when flat.
    bool Create(bool flat);
    // Shows the buttons of the resource, then the stored layout if there is
    // one that fits them. False when the resource does not exist.
    bool LoadToolBar(int resource = 128);
    // Stores the current layout and runs the customisation dialog.
    void Customize();

    // The buttons the resource offers (what the dialog lists as available).
    const std::vector<SToolBarButton>& ResourceButtons() const { return m_resourceButtons; }
    int ButtonCount() const { return static_cast<int>(m_resourceButtons.size()); }
    bool IsFlat() const { return m_flat; }

    // The layout shown now, and showing another one (commands the resource
    // does not offer, and second copies of a button, are left out).
    const CToolBarLayout& CurrentLayout() const { return m_layout; }
    void ApplyLayout(const CToolBarLayout& layout);
    // Writes the current layout to the store.
    void SaveLayout();

    // The right-click menu with its one item "&Customize..." (enabled),
    // owned by the bar; ShowContextMenu runs it at a screen position.
    QMenu* CreateContextMenu();
    void ShowContextMenu(const QPoint& globalPos);

    // A button's picture, and its tool-tip text (empty for New, Open, Save,
    // Save As and About).
    static QIcon ButtonIcon(int command);
    static QString ToolTipText(int command);

signals:
    void LayoutChanged();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void actionEvent(QActionEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ApplyButtonStyle();
    void ShowPrompt(const QString& text);

    CCommandRouter& m_router;
    ISettingsStore& m_store;
    IPrompts& m_prompts;
    std::vector<SToolBarButton> m_resourceButtons;
    // Kept apart from the widget's actions so the layout is saved whole even
    // when the router's actions are gone before the bar.
    CToolBarLayout m_layout;
    std::vector<QAction*> m_separators;
    QHash<const QAction*, int> m_commandOf;
    bool m_flat = true;
    bool m_loaded = false;
};
