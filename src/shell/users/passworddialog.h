// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace sw {

class Prompter;
class Session;

// "Password Change . . .": the logged-in user types his old password and the new
// one twice. A change that succeeds is said and the boxes are cleared; Cancel closes.
class PasswordDialog : public QDialog
{
    Q_OBJECT
public:
    PasswordDialog(Session &session, Prompter &prompter, QWidget *parent = nullptr);

    QLineEdit *box(int index) const { return m_boxes[index]; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

    void cmdok_Click();

private:
    Session &m_session;
    Prompter &m_prompter;
    QLineEdit *m_boxes[3];
    QPushButton *m_ok;
    QPushButton *m_cancel;
};

} // namespace sw
