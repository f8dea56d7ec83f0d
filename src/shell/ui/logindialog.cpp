// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/logindialog.h"

#include "shell/core/prompter.h"
#include "shell/core/stoperror.h"
#include "shell/session.h"
#include "shell/startup/loginstore.h"
#include "shell/ui/fieldkeys.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace sw {

LoginDialog::LoginDialog(Session &session, Prompter &prompter, QWidget *parent)
    : QDialog(parent)
    , m_session(session)
    , m_prompter(prompter)
{
    setObjectName(u"FrmSignUp"_s);
    setWindowTitle(u"Sign Up . . . "_s);
    setModal(true);

    auto *heading = new QLabel(u"Login . . ."_s, this);
    heading->setObjectName(u"lblHeading"_s);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSize(headingFont.pointSize() + 4);
    heading->setFont(headingFont);

    m_user = new QComboBox(this);
    m_user->setObjectName(u"CmbUser"_s);
    m_password = new QLineEdit(this);
    m_password->setObjectName(u"Txtpass"_s);
    m_password->setEchoMode(QLineEdit::Password);
    upperCaseTyping(m_password);
    m_convo = new QComboBox(this);
    m_convo->setObjectName(u"CmbConvo"_s);
    m_convo->setEditable(true);
    m_convo->setInsertPolicy(QComboBox::NoInsert);
    m_ok = new QPushButton(u"&OK"_s, this);
    m_ok->setObjectName(u"CmdOK"_s);
    m_cancel = new QPushButton(u"&Cancel"_s, this);
    m_cancel->setObjectName(u"CmdCancel"_s);
    m_ok->setAutoDefault(false);
    m_cancel->setAutoDefault(false);
    // OK is marked as the default; Enter on a focused button presses that button.
    m_ok->setDefault(true);
    enterPressesButtons();

    auto *form = new QFormLayout;
    form->addRow(u"User"_s, m_user);
    form->addRow(u"Password"_s, m_password);
    form->addRow(u"Convocation"_s, m_convo);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(form);
    layout->addLayout(buttons);

    setTabOrder(m_user, m_password);
    setTabOrder(m_password, m_convo);
    setTabOrder(m_convo, m_ok);
    setTabOrder(m_ok, m_cancel);

    const LoginStore store(m_session.db());
    m_user->addItems(store.users());
    m_user->setCurrentIndex(-1);
    m_convo->addItems(store.convocations());
    m_convo->setCurrentIndex(-1);

    connect(m_ok, &QPushButton::clicked, this, &LoginDialog::okClicked);
    connect(m_cancel, &QPushButton::clicked, this, &LoginDialog::reject);
    m_user->installEventFilter(this);
    m_password->installEventFilter(this);
    m_convo->installEventFilter(this);
    m_user->setFocus();
}

bool LoginDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut && watched == m_convo) {
        const auto *focusEvent = static_cast<QFocusEvent *>(event);
        const QWidget *next = QApplication::focusWidget();
        const bool toCancel = next == m_cancel;
        if (focusEvent->reason() != Qt::ActiveWindowFocusReason && !toCancel && !m_accepting
            && m_convo->currentText().trimmed().isEmpty() && next && next->window() == this) {
            m_prompter.message(u"Convocation should be Selected"_s, u"Message"_s, PromptIcon::Information);
            m_convo->setFocus();
        }
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent *>(event)->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (watched == m_user && enter) {
        m_password->setFocus();
        return true;
    }
    if (watched == m_password) {
        if (enter) {
            m_convo->setFocus();
            return true;
        }
        if (key == Qt::Key_Up) {
            m_user->setFocus();
            return true;
        }
    }
    if (watched == m_convo) {
        if (enter) {
            okClicked();
            return true;
        }
        if (key == Qt::Key_Up && m_convo->currentIndex() <= 0) {
            m_password->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void LoginDialog::okClicked()
{
    const LoginStore store(m_session.db());
    const QString user = m_user->currentText();
    const QString convocation = m_convo->currentText().trimmed();
    try {
        if (const auto refusal = store.check(user, m_password->text(), convocation)) {
            m_prompter.message(refusal->text, refusal->title, refusal->icon);
            if (refusal->clearPassword)
                m_password->clear();
            switch (refusal->field) {
            case LoginStore::Field::User: m_user->setFocus(); break;
            case LoginStore::Field::Password: m_password->setFocus(); break;
            case LoginStore::Field::Convocation: m_convo->setFocus(); break;
            }
            return;
        }
        store.establish(m_session, user, convocation);
    } catch (const StopError &e) {
        m_prompter.message(e.text(), e.title(), e.icon());
        m_accepting = true;
        done(QDialog::Rejected);
        return;
    } catch (const DbError &e) {
        m_prompter.message(e.screenMessage(), u"Message"_s, PromptIcon::Exclamation);
        return;
    }
    m_accepting = true;
    accept();
}

void LoginDialog::reject()
{
    if (!m_accepting)
        m_prompter.message(u"Application Terminated"_s, u"Message"_s, PromptIcon::Critical);
    m_accepting = true;
    QDialog::reject();
}

} // namespace sw
