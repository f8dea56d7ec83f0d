// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/forms/command.h"

#include <QObject>

#include <array>

class QAction;

namespace sw {

// The fourteen shared command actions. One QAction per command serves the toolbar
// button, the "Alternate Keys" menu item (object names mnuFile_1 .. mnuFile_14) and
// the function key, so enabling or disabling a command always reaches all three.
// Each action's data is its command name (the item's tag). Owned by the main window.
class CommandActions : public QObject
{
    Q_OBJECT
public:
    explicit CommandActions(QObject *parent = nullptr);

    QAction *action(Command c) const { return m_actions[slot(c)]; }
    bool isEnabled(Command c) const;
    void setEnabled(Command c, bool enabled);

    ToolStates states() const;
    void setStates(const ToolStates &states);

signals:
    // A command was chosen from the menu, the toolbar or its key.
    void triggered(sw::Command command);

private:
    std::array<QAction *, kCommandCount> m_actions{};
};

} // namespace sw
