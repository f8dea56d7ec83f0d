// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace sw {

class Prompter;
class Session;

// The login window ("Sign Up . . . "): user, password and convocation. Accepted
// once a user has logged in and the session values are set; Cancel ends the program.
class LoginDialog : public QDialog
{
    Q_OBJECT
public:
    LoginDialog(Session &session, Prompter &prompter, QWidget *parent = nullptr);

    void reject() override;

private:
    void okClicked();
    bool eventFilter(QObject *watched, QEvent *event) override;

    Session &m_session;
    Prompter &m_prompter;
    QComboBox *m_user;
    QLineEdit *m_password;
    QComboBox *m_convo;
    QPushButton *m_ok;
    QPushButton *m_cancel;
    bool m_accepting = false;
};

} // namespace sw
