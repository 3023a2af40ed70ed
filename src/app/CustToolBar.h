#pragma once

#include "app/ToolBarLayout.h"

#include <QToolBar>

#include <memory>
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

    // The layout shown now, and showing another one (commands not offered by
    // the resource are left out).
    CToolBarLayout CurrentLayout() const;
    void ApplyLayout(const CToolBarLayout& layout);
    // Writes the current layout to the store.
    void SaveLayout();

    // The right-click menu with its one item "&Customize..." (enabled),
    // owned by the bar; ShowContextMenu runs it at a screen position.
    QMenu* CreateContextMenu();
    void ShowContextMenu(const QPoint& globalPos);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void actionEvent(QActionEvent* event) override;

private:
    void ApplyButtonStyle();

    CCommandRouter& m_router;
    ISettingsStore& m_store;
    IPrompts& m_prompts;
    std::vector<SToolBarButton> m_resourceButtons;
    bool m_flat = true;
};
