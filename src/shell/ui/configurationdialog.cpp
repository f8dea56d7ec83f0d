// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/configurationdialog.h"

#include "shell/core/prompter.h"
#include "shell/db/connectionsettings.h"
#include "shell/startup/configwriter.h"
#include "shell/ui/fieldkeys.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace sw {

ConfigurationDialog::ConfigurationDialog(QString iniPath, Prompter &prompter, QWidget *parent)
    : QDialog(parent)
    , m_iniPath(std::move(iniPath))
    , m_prompter(prompter)
{
    setObjectName(u"DbPathaccess"_s);
    setWindowTitle(u"Database Path"_s);
    setModal(true);

    auto *typeLabel = new QLabel(u"Database type"_s, this);
    typeLabel->setObjectName(u"Label1_0"_s);
    m_type = new QComboBox(this);
    m_type->setObjectName(u"txtdbpath"_s);
    m_type->addItems(ConnectionSettings::knownTypes());

    m_serverLabel = new QLabel(u"Server name"_s, this);
    m_serverLabel->setObjectName(u"Label1_1"_s);
    m_server = new QLineEdit(this);
    m_server->setObjectName(u"txtSrvrname"_s);
    upperCaseTyping(m_server);

    m_passwordLabel = new QLabel(u"Password (For SA)"_s, this);
    m_passwordLabel->setObjectName(u"Label1_2"_s);
    m_password = new QLineEdit(this);
    m_password->setObjectName(u"txtPassword"_s);
    m_password->setEchoMode(QLineEdit::Password);

    m_ok = new QPushButton(u"&Ok"_s, this);
    m_ok->setObjectName(u"CmdOk"_s);
    m_cancel = new QPushButton(u"&Cancel"_s, this);
    m_cancel->setObjectName(u"CmdCancel"_s);
    m_ok->setAutoDefault(false);
    m_cancel->setAutoDefault(false);
    // OK is marked as the default; Enter on a focused button presses that button.
    m_ok->setDefault(true);
    enterPressesButtons();

    auto *grid = new QGridLayout;
    grid->addWidget(typeLabel, 0, 0);
    grid->addWidget(m_type, 0, 1);
    grid->addWidget(m_serverLabel, 1, 0);
    grid->addWidget(m_server, 1, 1);
    grid->addWidget(m_passwordLabel, 2, 0);
    grid->addWidget(m_password, 2, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(m_type, &QComboBox::currentIndexChanged, this, &ConfigurationDialog::typeChosen);
    connect(m_ok, &QPushButton::clicked, this, &ConfigurationDialog::okClicked);
    connect(m_cancel, &QPushButton::clicked, this, &ConfigurationDialog::reject);
    m_server->installEventFilter(this);
    m_password->installEventFilter(this);

    m_type->setCurrentIndex(0);
    typeChosen();
    m_type->setFocus();
}

void ConfigurationDialog::typeChosen()
{
    const QString type = m_type->currentText();
    m_serverLabel->setText(ConfigWriter::serverCaption(type));
    const bool server = ConfigWriter::showsServer(type);
    m_serverLabel->setVisible(server);
    m_server->setVisible(server);
    const bool password = ConfigWriter::showsPassword(type);
    m_passwordLabel->setVisible(password);
    m_password->setVisible(password);
}

bool ConfigurationDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent *>(event)->key();
    const bool forward = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Down;
    if (watched == m_server) {
        if (forward && m_password->isVisible() && m_password->isEnabled()) {
            m_password->setFocus();
            return true;
        }
        if (key == Qt::Key_Up) {
            m_type->setFocus();
            return true;
        }
    } else if (watched == m_password) {
        if (forward && m_ok->isEnabled()) {
            m_ok->setFocus();
            return true;
        }
        if (key == Qt::Key_Up) {
            m_server->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ConfigurationDialog::okClicked()
{
    const ConfigWriter::Choice choice{m_type->currentText(), m_server->isVisible() ? m_server->text() : QString(),
                                      m_password->isVisible() ? m_password->text() : QString()};
    if (const auto refusal = ConfigWriter::check(choice)) {
        m_prompter.message(refusal->text, u"Error"_s, PromptIcon::Exclamation);
        switch (refusal->field) {
        case ConfigWriter::Field::Type: m_type->setFocus(); break;
        case ConfigWriter::Field::Server: m_server->setFocus(); break;
        case ConfigWriter::Field::Password: m_password->setFocus(); break;
        }
        return;
    }
    QString error;
    if (!ConfigWriter::write(m_iniPath, choice, &error)) {
        m_prompter.message(u"The configuration file "_s + m_iniPath + u" cannot be written: "_s + error, u"Error"_s,
                           PromptIcon::Critical);
        return;
    }
    m_prompter.message(u"For the New changes to take Effect Restart the Application"_s, u"Message"_s,
                       PromptIcon::Information);
    m_accepting = true;
    accept();
}

void ConfigurationDialog::reject()
{
    if (!m_accepting)
        m_prompter.message(u"Application Terminated."_s, u"Caution!"_s, PromptIcon::Information);
    QDialog::reject();
}

} // namespace sw
