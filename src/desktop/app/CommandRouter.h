#pragma once

#include <QObject>

#include <map>
#include <span>
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

// One command of a target's table: the step that carries it out and the
// update step that decides its menu item's state (none: always enabled).
template <class Target> struct SCommand
{
    int id;
    void (*handler)(Target& target, int id);
    void (*update)(Target& target, int id, CCmdUI& ui) = nullptr;
};

// A command target whose commands are declared once, in one table: the
// routing questions are all answered from it.
template <class Target> class CTableCommandTarget : public ICommandTarget
{
public:
    bool HasCommand(int id) const override { return TakesCommands() && Find(id) != nullptr; }
    void OnCommand(int id) override
    {
        if (const SCommand<Target>* command = TakesCommands() ? Find(id) : nullptr)
            command->handler(static_cast<Target&>(*this), id);
    }
    bool OnUpdateCommand(int id, CCmdUI& ui) override
    {
        const SCommand<Target>* command = TakesCommands() ? Find(id) : nullptr;
        if (command == nullptr || command->update == nullptr)
            return false;
        command->update(static_cast<Target&>(*this), id, ui);
        return true;
    }

protected:
    virtual std::span<const SCommand<Target>> Commands() const = 0;
    // Whether the target answers at all now (a view before its window is
    // made does not): the commands then go to the next target.
    virtual bool TakesCommands() const { return true; }

private:
    const SCommand<Target>* Find(int id) const
    {
        for (const SCommand<Target>& command : Commands()) {
            if (command.id == id)
                return &command;
        }
        return nullptr;
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
