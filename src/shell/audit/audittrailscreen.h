// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/forms/childform.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace sw {

class ScreenRegistry;

// Registers "Audit &Trail" (N48, the administrator's alone) in the main window's registry.
void registerAuditScreens(ScreenRegistry &screens);

// "Audit Trail . . .": the lines of the audit trail between two dates (today's at
// first), of one user or kind when chosen, oldest first. Read only. The choices stand
// in the screens' frame: Enter and Down walk them to "&Show", F1 in the user box
// lists the users, a date is checked as it is left; the count of lines shown goes to
// the message panel.
class AuditTrailScreen : public ChildForm
{
    Q_OBJECT
public:
    explicit AuditTrailScreen(const FormContext &context);

    void activated() override;
    // Fills the grid from the boxes; a bad date is named and the grid left as it was.
    void show_Click();

    QLineEdit *fromBox() const { return m_from; }
    QLineEdit *toBox() const { return m_to; }
    QLineEdit *userBox() const { return m_user; }
    QComboBox *whatBox() const { return m_what; }
    QTableWidget *grid() const { return m_grid; }

private:
    bool checkDate(QLineEdit *box);

    FieldFrame *m_fields;
    QLineEdit *m_from;
    QLineEdit *m_to;
    QLineEdit *m_user;
    QComboBox *m_what;
    QPushButton *m_show;
    QTableWidget *m_grid;
};

} // namespace sw
