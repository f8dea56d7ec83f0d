// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/forms/commandactions.h"

#include <QAction>

using namespace Qt::StringLiterals;

namespace sw {

CommandActions::CommandActions(QObject *parent)
    : QObject(parent)
{
    for (int i = 1; i <= kCommandCount; ++i) {
        const Command c = commandAt(i);
        auto *a = new QAction(commandCaption(c), this);
        a->setObjectName(u"mnuFile_"_s + QString::number(i));
        a->setData(commandName(c));
        a->setShortcut(commandShortcut(c));
        // The keys work wherever the focus is inside the main window, child screens included.
        a->setShortcutContext(Qt::WindowShortcut);
        a->setEnabled(enabledAtDesign(c));
        connect(a, &QAction::triggered, this, [this, c] { emit triggered(c); });
        m_actions[slot(c)] = a;
    }
}

bool CommandActions::isEnabled(Command c) const { return action(c)->isEnabled(); }

void CommandActions::setEnabled(Command c, bool enabled) { action(c)->setEnabled(enabled); }

ToolStates CommandActions::states() const
{
    ToolStates s{};
    for (std::size_t i = 0; i < s.size(); ++i)
        s[i] = m_actions[i]->isEnabled();
    return s;
}

void CommandActions::setStates(const ToolStates &states)
{
    for (std::size_t i = 0; i < states.size(); ++i)
        m_actions[i]->setEnabled(states[i]);
}

} // namespace sw
