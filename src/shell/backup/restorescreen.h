// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/backup/backuprun.h"
#include "shell/forms/childform.h"

#include <functional>

class QLineEdit;
class QPushButton;

namespace sw {

class ScreenRegistry;

// Registers "&User Backup" (N47: the backup runs at once, no screen) and
// "&Restore Database" (N45: RESTOREDB) in the main window's registry.
void registerBackupScreens(ScreenRegistry &screens);

// "Restore Database . . .": the path of a backup file (typed, or chosen with the
// browse button `cmd(1)`) and "&Restore" (`cmd(0)`), in the screens' frame: Enter
// leaves the path for "&Restore" and presses it there. A restore refused or declined
// says so in the message panel; after a restore the program ends: no screen may go
// on working on the database that was replaced.
class RestoreScreen : public ChildForm
{
    Q_OBJECT
public:
    explicit RestoreScreen(const FormContext &context);

    QLineEdit *text() const { return m_path; }
    QPushButton *cmd(int index) const { return index == 0 ? m_restore : m_browse; }

    void activated() override;
    void cmd_Click(int index);

    // What ends the program after a restore; a test replaces it.
    void setEndProgram(std::function<void()> end) { m_endProgram = std::move(end); }

private:
    FieldFrame *m_fields;
    QLineEdit *m_path;
    QPushButton *m_restore;
    QPushButton *m_browse;
    std::function<void()> m_endProgram;
};

} // namespace sw
