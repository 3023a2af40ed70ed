#include "desktop/app/CommandRouter.h"

#include <QAction>

#include <algorithm>

CCommandRouter::CCommandRouter(QObject* parent) : QObject(parent) {}

void CCommandRouter::AddTarget(ICommandTarget* target)
{
    if (target != nullptr && std::find(m_targets.begin(), m_targets.end(), target) == m_targets.end())
        m_targets.push_back(target);
}

void CCommandRouter::RemoveTarget(ICommandTarget* target)
{
    m_targets.erase(std::remove(m_targets.begin(), m_targets.end(), target), m_targets.end());
}

QAction* CCommandRouter::Action(int id)
{
    if (QAction* existing = FindAction(id))
        return existing;
    auto* action = new QAction(this);
    action->setData(id);
    // A command no target has stays disabled until an update step says otherwise.
    action->setEnabled(Update(id).m_enabled);
    connect(action, &QAction::triggered, this, [this, id] { Execute(id); });
    m_actions.emplace(id, action);
    return action;
}

QAction* CCommandRouter::FindAction(int id) const
{
    const auto it = m_actions.find(id);
    return it == m_actions.end() ? nullptr : it->second;
}

bool CCommandRouter::Execute(int id)
{
    // A target may remove targets while it runs, so pick it before calling.
    for (ICommandTarget* target : m_targets) {
        if (target->HasCommand(id)) {
            if (!Update(id).m_enabled)
                return false;
            target->OnCommand(id);
            return true;
        }
    }
    return false;
}

CCmdUI CCommandRouter::Update(int id)
{
    CCmdUI ui;
    for (ICommandTarget* target : m_targets) {
        if (target->OnUpdateCommand(id, ui))
            return ui;
        if (target->HasCommand(id))
            return ui;
    }
    ui.Enable(false);
    return ui;
}

void CCommandRouter::UpdateAll()
{
    for (const auto& [id, action] : m_actions) {
        const CCmdUI ui = Update(id);
        // QAction emits changed() only on a real change, so repeating the
        // same state costs no repaint.
        action->setEnabled(ui.m_enabled);
        if (ui.m_checkable) {
            action->setCheckable(true);
            action->setChecked(ui.m_checked);
        }
    }
}
