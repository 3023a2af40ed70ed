#pragma once

#include "settings/ToolBarLayout.h"

#include <QDialog>

class CCustToolBar;
class IPrompts;
class QListWidget;
class QPushButton;

// Rearranges the buttons of a toolbar while it is open: every change shows on
// the bar at once. Reset goes back to the layout the bar had when the dialog
// opened. Available buttons are the bar's resource entries not on the bar
// now; separators are always available.
class CToolBarCustomizeDialog : public QDialog
{
    Q_OBJECT
public:
    CToolBarCustomizeDialog(CCustToolBar& bar, IPrompts& prompts, QWidget* parent = nullptr);

    QListWidget* AvailableList() const { return m_available; }
    QListWidget* CurrentList() const { return m_current; }
    const CToolBarLayout& LayoutAtOpen() const { return m_atOpen; }

    // What the buttons do, for the buttons and for code driving the dialog.
    // Add puts the selected available entry before the selected bar button
    // (at the end when none is selected).
    void AddSelected();
    void RemoveSelected();
    void MoveUp();
    void MoveDown();
    void Reset();
    void Help();

private:
    void Fill(int currentRow, int availableRow);
    void ApplyCurrentList();
    void UpdateButtons();

    CCustToolBar& m_bar;
    IPrompts& m_prompts;
    const CToolBarLayout m_atOpen;
    QListWidget* m_available = nullptr;
    QListWidget* m_current = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_up = nullptr;
    QPushButton* m_down = nullptr;
};
