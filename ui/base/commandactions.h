#pragma once

#include <QAction>
#include <QObject>
#include <QString>

#include <map>

namespace qb {

// The menu actions of a command holder, one per command, each running its
// command when triggered.
template <class Command> class CommandActions {
public:
    // A new action owned by `owner` that calls run(c) when triggered.
    template <class Run> QAction* make(QObject* owner, Command c, const QString& text, Run run)
    {
        auto* a = new QAction(text, owner);
        QObject::connect(a, &QAction::triggered, owner, [run, c] { run(c); });
        m_actions[c] = a;
        return a;
    }
    QAction* action(Command c) const
    {
        const auto it = m_actions.find(c);
        return it == m_actions.end() ? nullptr : it->second;
    }
    void enableAll(bool on)
    {
        for (auto& [c, a] : m_actions) a->setEnabled(on);
    }

private:
    std::map<Command, QAction*> m_actions;
};

} // namespace qb
