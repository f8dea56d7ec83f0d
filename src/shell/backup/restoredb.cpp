// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/backup/restoredb.h"

#include "shell/core/prompter.h"
#include "shell/core/session.h"
#include "shell/forms/commanddispatcher.h"
#include "shell/forms/screenregistry.h"

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// The backup has no screen: an hourglass while it runs, then its message.
QWidget *takeBackup(const FormContext &context)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    BackupRun(context.session, context.prompter).run();
    QApplication::restoreOverrideCursor();
    return nullptr;
}

} // namespace

void registerBackupScreens(ScreenRegistry &screens)
{
    screens.add(u"N47"_s, {u"BACKUP"_s, false, [](const FormContext &c, const QString &) { return takeBackup(c); }});
    screens.add(u"N45"_s, {u"RESTOREDB"_s, false,
                           [](const FormContext &c, const QString &) { return new RestoreDb(c); }});
}

RestoreDb::RestoreDb(const FormContext &context)
    : ChildForm(context, u"RESTOREDB"_s, u"Restore Database . . ."_s)
    , m_path(new QLineEdit(this))
    , m_restore(new QPushButton(u"&Restore"_s, this))
    , m_browse(new QPushButton(u"..."_s, this))
{
    m_path->setObjectName(u"text_0"_s);
    m_path->setToolTip(u"Backup file Path"_s);
    m_path->setMinimumWidth(360);
    m_restore->setObjectName(u"cmd_0"_s);
    m_browse->setObjectName(u"cmd_1"_s);
    m_browse->setFixedWidth(32);
    auto *pathRow = new QHBoxLayout;
    pathRow->addWidget(m_path, 1);
    pathRow->addWidget(m_browse);
    auto *form = new QFormLayout;
    form->addRow(u"File Path"_s, pathRow);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_restore);
    body()->addLayout(form);
    body()->addLayout(buttons);
    body()->addStretch();
    connect(m_restore, &QPushButton::clicked, this, [this] { cmd_Click(0); });
    connect(m_browse, &QPushButton::clicked, this, [this] { cmd_Click(1); });
    m_endProgram = [] { QCoreApplication::exit(0); };
}

void RestoreDb::activated()
{
    commands().setToolMode(ToolMode::Disabled);
}

void RestoreDb::cmd_Click(int index)
{
    if (index == 1) {
        if (const auto chosen = prompter().chooseFile(u"Restore Database"_s, session().folder.filePath(u"Backup"_s),
                                                      u"*.bak"_s, Prompter::FileMode::Open))
            m_path->setText(*chosen);
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    RestoreRun restore(session().folder, prompter(), [this](const QString &status, int) {
        setHint(status);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    restore.setOwnSession(session().db());
    restore.setUser(session().userName);
    const RestoreRun::Outcome outcome = restore.run(m_path->text());
    QApplication::restoreOverrideCursor();
    if (outcome == RestoreRun::Outcome::Restored)
        m_endProgram();
}

} // namespace sw
