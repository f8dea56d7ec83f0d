// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/startup/startup.h"

#include "shell/backup/backuprun.h"
#include "shell/core/inifile.h"
#include "shell/core/institutionconfig.h"
#include "shell/core/maker.h"
#include "shell/core/prompter.h"
#include "shell/core/stoperror.h"
#include "shell/core/versiontext.h"
#include "shell/db/connectionsettings.h"
#include "shell/db/connector.h"
#include "shell/db/presence.h"
#include "shell/session.h"
#include "shell/settings/controlstore.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace sw {

StartupUi::~StartupUi() = default;

Startup::Startup(AppFolder folder, StartupUi &ui)
    : m_folder(std::move(folder))
    , m_ui(ui)
{
}

QString Startup::iniPath(const AppFolder &folder)
{
    const QString existing = folder.findFileAnyCase(iniFileName());
    return existing.isEmpty() ? folder.filePath(iniFileName()) : existing;
}

QString Startup::mainWindowCaption(const Session &session) { return u"Scrollwise, "_s + session.instTitle; }

Startup::Outcome Startup::run(Session &session)
{
    Prompter &prompter = m_ui.prompter();
    if (!m_folder.rootExists()) {
        prompter.message(u"The application folder "_s + m_folder.root() + u" does not exist."_s, u"Message"_s,
                         PromptIcon::Critical);
        return Outcome::Ended;
    }
    session.folder = m_folder;
    try {
        if (readConfiguration(session) == Outcome::Ended)
            return Outcome::Ended;
        if (connect(session) == Outcome::Ended)
            return Outcome::Ended;
        if (checkVersion(session) == Outcome::Ended)
            return Outcome::Ended;
        loadControl(session);
    } catch (const StopError &e) {
        prompter.message(e.text(), e.title(), e.icon());
        return Outcome::Ended;
    } catch (const DbError &e) {
        switch (e.kind()) {
        case DbErrorKind::LoginRefused:
            prompter.message(e.startupMessage(), u"Message"_s, PromptIcon::None);
            m_ui.showConfigurationDialog(session.iniFile);
            break;
        case DbErrorKind::ServerUnreachable:
            // The second line says what could not be reached: the server, or the database file by name.
            prompter.message(u"Change the Connection String"_s
                                 + (e.description().isEmpty() ? QString() : u'\r' + e.description()),
                             u"Message"_s, PromptIcon::Information);
            if (!offerRestore())
                m_ui.showConfigurationDialog(session.iniFile);
            break;
        case DbErrorKind::MissingTable:
        case DbErrorKind::NotADatabase:
            prompter.message(e.startupMessage(), u"Message"_s, PromptIcon::None);
            offerRestore();
            break;
        default: prompter.message(e.startupMessage(), u"Message"_s, PromptIcon::None); break;
        }
        return Outcome::Ended;
    }
    return Outcome::ReadyForLogin;
}

bool Startup::offerRestore()
{
    if (!m_ui.offersRestore())
        return false;
    Prompter &prompter = m_ui.prompter();
    if (!prompter.askYesNo(u"The database cannot be opened. Restore it from a backup now? (ADMIN only)"_s,
                           u"Restore Database"_s, PromptIcon::Question, PromptAnswer::No))
        return false;
    const auto file = prompter.chooseFile(u"Backup file Path"_s, m_folder.filePath(u"Backup"_s), u"*.bak"_s,
                                          Prompter::FileMode::Open);
    if (!file)
        return true;
    const auto password = prompter.inputSecret(u"The ADMIN password of the backup"_s, u"Restore Database"_s);
    if (!password)
        return true;
    RestoreRun restore(m_folder, prompter);
    restore.setUser(u"ADMIN"_s);
    restore.requireAdministratorOfCopy(*password);
    restore.run(*file);
    return true;
}

Startup::Outcome Startup::readConfiguration(Session &session)
{
    session.iniFile = iniPath(m_folder);
    IniFile ini(session.iniFile);
    if (!ini.exists()) {
        m_ui.showConfigurationDialog(session.iniFile);
        return Outcome::Ended;
    }
    if (!ini.load())
        throw StopError(u"The configuration file "_s + session.iniFile + u" cannot be read: "_s + ini.errorString());
    m_settings = ConnectionSettings::read(ini);
    session.serverName = m_settings.serverName;
    session.dbPassword = m_settings.dbPassword;
    if (m_settings.dbType.trimmed().isEmpty()) {
        if (m_ui.prompter().askYesNo(u"Database type not specified. Define database type?"_s, u"Rivoder"_s))
            m_ui.showConfigurationDialog(session.iniFile);
        return Outcome::Ended;
    }
    // The original waited a second here for the splash to paint; repainting is enough.
    m_ui.processEvents();
    session.dbType = m_settings.dbType.trimmed();
    return Outcome::ReadyForLogin;
}

Startup::Outcome Startup::connect(Session &session)
{
    session.cn = Connector::open(m_settings, m_folder);
    Presence::join(*session.cn, m_settings, m_folder, QCoreApplication::applicationName());
    return Outcome::ReadyForLogin;
}

Startup::Outcome Startup::checkVersion(Session &session)
{
    Database &db = session.db();
    const QString program = programVersion();
    ControlStore control(db);
    const QString database = control.ensureRow(u"9999"_s, program) ? QString() : control.version();
    switch (compareVersionText(program, database)) {
    case VersionOrder::DatabaseOlder: m_ui.showUpgrade(db, m_folder); return Outcome::Ended;
    case VersionOrder::DatabaseNewer:
        m_ui.prompter().message(versionMismatchMessage(), u"Message"_s, PromptIcon::Critical);
        return Outcome::Ended;
    case VersionOrder::Equal: break;
    }
    return Outcome::ReadyForLogin;
}

void Startup::loadControl(Session &session)
{
    const InstitutionDetails institution = ControlStore(session.db()).institution();
    if (!institution.rowExists)
        return;
    session.instCode = institution.unitCode;
    session.instTitle = InstitutionConfig::load(session.folder).title(session.instCode);
    session.instAddress = institution.address;
}

} // namespace sw
