// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/users/passworddialog.h"

#include "shell/core/passwordcodec.h"
#include "shell/session.h"
#include "shell/users/userstore.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace sw {

PasswordDialog::PasswordDialog(Session &session, Prompter &prompter, QWidget *parent)
    : QDialog(parent)
    , m_session(session)
    , m_prompter(prompter)
{
    setObjectName(u"FRMPASS"_s);
    setWindowTitle(u"Password Change . . ."_s);
    auto *form = new QFormLayout;
    const QString labels[] = {u"Old Password"_s, u"New Password"_s, u"Confirm Password"_s};
    const QString hints[] = {u"Enter Old Password Max 10 characters"_s, u"Enter New Password Max 10 characters"_s,
                             u"Enter New Password Max 10 characters"_s};
    for (int i = 0; i < 3; ++i) {
        m_boxes[i] = new QLineEdit(this);
        m_boxes[i]->setObjectName(u"Text_%1"_s.arg(i));
        m_boxes[i]->setEchoMode(QLineEdit::Password);
        m_boxes[i]->setMaxLength(passwords::kMaxUserPasswordLength);
        m_boxes[i]->setToolTip(hints[i]);
        m_boxes[i]->setStatusTip(hints[i]);
        form->addRow(labels[i], m_boxes[i]);
    }
    m_ok = new QPushButton(u"&OK"_s, this);
    m_ok->setObjectName(u"cmdok"_s);
    m_ok->setDefault(true);
    m_cancel = new QPushButton(u"&Cancel"_s, this);
    m_cancel->setObjectName(u"cmdcancel"_s);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, &PasswordDialog::cmdok_Click);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void PasswordDialog::cmdok_Click()
{
    UserStore users(m_session.db(), m_session.userName);
    if (!users.changePassword(m_session.userName, m_boxes[0]->text(), m_boxes[1]->text(), m_boxes[2]->text(),
                              m_prompter))
        return;
    for (QLineEdit *box : m_boxes)
        box->clear();
    m_boxes[0]->setFocus();
}

} // namespace sw
