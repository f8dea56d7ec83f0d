// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/forms/command.h"
#include "shell/forms/toolstatestore.h"

#include <QObject>
#include <QPointer>

namespace sw {

class ChildForm;
class CommandActions;
class Prompter;
class RecordForm;
class RecordSet;

// Hands the fourteen commands to the active screen and keeps the toolbar in step
// with it (`DoCommand`, `SetToolMode`, `SaveToolState`, `RestoreToolState`).
//
// The main window tells it which child is active (activate()); record screens get
// add/edit/delete/save/cancel/search and the navigation commands, report screens
// preview/print/spool, every screen exit. A command the active screen does not
// answer, or any command while no screen is active, does nothing. Toolbar buttons
// and "Alternate Keys" items are the same actions, so every change of state
// reaches both. One per main window; GUI thread only.
class CommandDispatcher : public QObject
{
    Q_OBJECT
public:
    CommandDispatcher(CommandActions &actions, Prompter &prompter, QObject *parent = nullptr);

    void doCommand(Command command);

    // "N": add, edit, delete and exit (and the four moves when the active screen
    // has rows); "U": save and cancel; "D": exit while a screen is active (every
    // screen closes from the keyboard), else nothing. Everything else is disabled.
    void setToolMode(ToolMode mode);
    // Sets every command at once (screens whose toolbar is not one of the modes).
    void setToolStates(const ToolStates &states);
    void saveToolState(const QString &formName);
    void restoreToolState(const QString &formName);
    bool isEnabled(Command command) const;
    const ToolStateStore &toolStateStore() const { return m_store; }

    // The screen that has the focus: the previous one's toolbar is remembered, the
    // new one is told. nullptr for a child that takes no commands (the toolbar goes to "D").
    void activate(ChildForm *form);
    ChildForm *activeForm() const { return m_active; }
    RecordForm *activeRecordForm() const;

    // Index (1..14) of the last add, edit or delete chosen; 0 before any.
    int lastModeIndex() const { return m_lastModeIndex; }
    void setLastModeIndex(int index) { m_lastModeIndex = index; }

signals:
    // The active screen's caption, for status panel 5 (empty when none is active).
    void activeCaptionChanged(const QString &caption);
    // The active screen's mode ("edit Mode"; empty while browsing or when none is
    // active), for status panel 6.
    void modeTextChanged(const QString &text);
    // The active screen was closed through "exit".
    void exited();

private:
    void dispatch(Command command);
    void save(RecordForm &form);
    void navigate(RecordForm &form, Command command);
    RecordSet *activeRows() const;
    void showMode();

    CommandActions &m_actions;
    Prompter &m_prompter;
    ToolStateStore m_store;
    QPointer<ChildForm> m_active;
    int m_lastModeIndex = 0;
};

} // namespace sw
