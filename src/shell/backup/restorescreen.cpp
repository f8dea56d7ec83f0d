// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/backup/restorescreen.h"

#include "shell/core/prompter.h"
#include "shell/forms/commanddispatcher.h"
#include "shell/forms/fieldframe.h"
#include "shell/forms/screenregistry.h"
#include "shell/session.h"

#include <QApplication>
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
    screens.add(u"N45"_s,
                {u"RESTOREDB"_s, false, [](const FormContext &c, const QString &) { return new RestoreScreen(c); }});
}

RestoreScreen::RestoreScreen(const FormContext &context)
    : ChildForm(context, u"RESTOREDB"_s, u"Restore Database . . ."_s)
    , m_fields(addFieldFrame())
    , m_restore(new QPushButton(u"&Restore"_s))
    , m_browse(new QPushButton(u"..."_s))
{
    // A path is long: its box shows about this many letters and scrolls beyond.
    constexpr int pathBoxWidth = 380, pathLength = 1024;
    m_path = m_fields->addText(0, u"File Path"_s, u"Backup file Path"_s, pathLength);
    m_fields->keepCase(m_path);
    m_path->setMinimumWidth(pathBoxWidth);
    m_browse->setObjectName(u"cmd_1"_s);
    m_browse->setToolTip(u"Browse"_s);
    m_browse->setFixedWidth(32);
    // Browsing from the box is no leaving it: a click keeps the focus where it is.
    m_browse->setFocusPolicy(Qt::TabFocus);
    m_fields->moveBeside(m_browse, m_path);
    m_restore->setObjectName(u"cmd_0"_s);
    m_restore->setToolTip(u"Restores the database from the backup file; Enter presses it"_s);
    m_fields->addField(u"B0"_s, {}, m_restore);
    m_fields->setFieldOrder(u"T0,B0"_s);
    connect(m_restore, &QPushButton::clicked, this, [this] { cmd_Click(0); });
    connect(m_browse, &QPushButton::clicked, this, [this] { cmd_Click(1); });
    m_endProgram = [] { QCoreApplication::exit(0); };
}

void RestoreScreen::activated()
{
    commands().setToolMode(ToolMode::Disabled);
    if (m_firstActivate) {
        m_firstActivate = false;
        m_fields->focusFirst();
    }
}

void RestoreScreen::cmd_Click(int index)
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
    setHint({});
    switch (outcome) {
    case RestoreRun::Outcome::Restored: m_endProgram(); return;
    case RestoreRun::Outcome::Declined: showOutcome(u"Not restored: the database was kept"_s); break;
    case RestoreRun::Outcome::Refused:
        showOutcome(u"Not restored"_s);
        m_fields->returnFocusTo(m_path);
        break;
    }
}

} // namespace sw
