#pragma once

#include <QObject>

#include <map>
#include <vector>

class QAction;

// What an update step may say about a command's menu item and toolbar button.
class CCmdUI
{
public:
    void Enable(bool enable = true) { m_enabled = enable; }
    void SetCheck(bool check = true)
    {
        m_checkable = true;
        m_checked = check;
    }
    bool m_enabled = true;
    bool m_checkable = false;
    bool m_checked = false;
};

// One object that takes part in command routing: view, document, frame or
// application.
class ICommandTarget
{
public:
    virtual ~ICommandTarget() = default;
    // Whether this object carries out command id.
    virtual bool HasCommand(int id) const = 0;
    virtual void OnCommand(int id) = 0;
    // The update step: true when this object decided the item's state.
    virtual bool OnUpdateCommand(int id, CCmdUI& ui)
    {
        (void)id;
        (void)ui;
        return false;
    }
};

// One QAction per command number, shared by menu and toolbar. A command goes
// to the first target that has it, in the order the targets were added
// (view, document, frame, application); the update step asks the same
// targets in the same order. A command no target has is disabled.
class CCommandRouter : public QObject
{
    Q_OBJECT
public:
    explicit CCommandRouter(QObject* parent = nullptr);

    void AddTarget(ICommandTarget* target);
    void RemoveTarget(ICommandTarget* target);

    // The action of command id, created on first use (text set by the caller).
    QAction* Action(int id);
    QAction* FindAction(int id) const;
    const std::map<int, QAction*>& Actions() const { return m_actions; }

    // Carries out id as a menu choice would; false when no target has it.
    bool Execute(int id);
    // The update step for one command and for every action.
    CCmdUI Update(int id);
    void UpdateAll();

private:
    std::vector<ICommandTarget*> m_targets;
    std::map<int, QAction*> m_actions;
};
