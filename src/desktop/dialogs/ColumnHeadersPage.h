#pragma once

#include "columns/HeaderLists.h"
#include "settings/DelimStringArray.h"

#include <QWidget>

class IPrompts;
class QListWidget;
class QPushButton;

// "Column Headers": the definitions whole on the left, the shown headers on
// the right, six buttons between and below them. Writes nothing itself; the
// sheet takes the lists after OK.
class CColumnHeadersPage : public QWidget
{
    Q_OBJECT
public:
    CColumnHeadersPage(const CDelimStringArray& definitions, const CDelimStringArray& shown, IPrompts& prompts,
                       QWidget* parent = nullptr);

    // Rebuilds both lists from the visible ones; called on OK only.
    void Save();
    const CDelimStringArray& Definitions() const { return m_definitions; }
    const CDelimStringArray& Shown() const { return m_shown; }

private:
    void CreateWidgets();
    void Load();
    void Connect();

    // Every button: read the selections, act, show the lists and selections again.
    void Run(void (CColumnHeadersPage::*command)());
    void DoMoveRight() { m_lists.MoveRight(); }
    void DoMoveLeft() { m_lists.MoveLeft(); }
    void DoUp() { m_lists.MoveUp(); }
    void DoDown() { m_lists.MoveDown(); }
    void DoRemove() { m_lists.Remove(); }
    void DoAdd();
    void Show();

    CDelimStringArray m_definitions;
    CDelimStringArray m_shown;
    IPrompts& m_prompts;
    CHeaderLists m_lists;

    QListWidget* m_available = nullptr;
    QListWidget* m_headers = nullptr;
    QPushButton* m_right = nullptr;
    QPushButton* m_left = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_up = nullptr;
    QPushButton* m_down = nullptr;
};
