// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/backup/backuprun.h"

#include "shell/audit/audittrail.h"
#include "shell/backup/backupengine.h"
#include "shell/core/passwordcodec.h"
#include "shell/core/inifile.h"
#include "shell/core/prompter.h"
#include "shell/core/session.h"
#include "shell/core/stoperror.h"
#include "shell/db/connector.h"
#include "shell/db/sessionlock.h"
#include "shell/settings/controlstore.h"
#include "shell/startup/startup.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>

using namespace Qt::StringLiterals;

namespace sw {

namespace {
std::unique_ptr<BackupEngine> engineFor(Backend backend)
{
    auto engine = BackupEngine::forBackend(backend);
    if (!engine)
        throw StopError(u"Backup and restore are not available for this database type."_s);
    return engine;
}
} // namespace

BackupRun::BackupRun(Session &session, Prompter &prompter, Progress progress)
    : m_session(session)
    , m_prompter(prompter)
    , m_progress(std::move(progress))
{
}

QString BackupRun::fileName(const QString &databaseName, const QDate &day)
{
    return databaseName + day.toString(u"ddMMyyyy"_s) + u".bak"_s;
}

BackupRun::Result BackupRun::run(const QDate &day)
{
    Result result;
    Database &db = m_session.db();
    try {
        const QString folder = m_session.folder.filePath(u"Backup"_s);
        if (!QDir().mkpath(folder))
            throw StopError(u"The folder "_s + folder + u" cannot be created."_s);
        result.file = folder + u'/' + fileName(db.currentDatabaseName(), day);
        report(m_progress, u"Taking backup of "_s + db.currentDatabaseName());
        engineFor(db.backend())->backup(db, result.file);
        result.removedCandidates = db.exec(u"delete from convo where coalesce(fconvocode, '') = ''"_s);
    } catch (const DbError &e) {
        m_prompter.message(e.screenMessage(), u"Message"_s, PromptIcon::Critical);
        return result;
    } catch (const StopError &e) {
        m_prompter.message(e.text(), e.title(), e.icon());
        return result;
    }
    result.done = true;
    // The clerk is told where the copy went: it is the file a restore asks for.
    m_prompter.message(u"Backup Taken Successfully: "_s + QDir::toNativeSeparators(result.file), u"Message"_s,
                       PromptIcon::Information);
    return result;
}

RestoreRun::RestoreRun(AppFolder folder, Prompter &prompter, Progress progress)
    : m_folder(std::move(folder))
    , m_prompter(prompter)
    , m_progress(std::move(progress))
{
}

RestoreRun::Outcome RestoreRun::run(const QString &backupFile)
{
    const QString file = backupFile.trimmed();
    if (file.isEmpty() || !QFileInfo(file).isFile()) {
        m_prompter.message(u"Invalid File path!!"_s, u"Message"_s, PromptIcon::Exclamation);
        return Outcome::Refused;
    }
    try {
        report(m_progress, u"Checking for existing Database, Please wait..."_s);
        IniFile ini(Startup::iniPath(m_folder));
        ini.load();
        const ConnectionSettings settings = ConnectionSettings::read(ini);
        bool exists = false;
        Backend backend = Backend::SQLite;
        std::unique_ptr<Database> probe;
        try {
            probe = Connector::open(settings, m_folder);
            backend = probe->backend();
            ControlStore(*probe).version();
            exists = true;
        } catch (const DbError &e) {
            // No usable database: nothing to overwrite, nothing to ask.
            if (e.kind() != DbErrorKind::ServerUnreachable && e.kind() != DbErrorKind::MissingTable
                && e.kind() != DbErrorKind::NotADatabase)
                throw;
            const QString type = settings.dbType.trimmed().toUpper();
            backend = type == u"MYSQL"_s ? Backend::MySql : type == u"SQLSRVR"_s ? Backend::SqlServer : Backend::SQLite;
        }
        // Held until the restore is over: no session starts on the database meanwhile.
        std::shared_ptr<SessionLock> alone;
        const QStringList others = otherSessions(backend, settings, probe.get(), alone);
        probe.reset();
        if (!others.isEmpty())
            throw StopError(u"The database is in use by "_s + others.join(u", "_s)
                                + u". A restore replaces it under every program working on it, and a printing run "
                                  "would lose the sheets it printed: close the program on the other workstations "
                                  "(and end every scrollwise-batch run), then restore again."_s,
                            PromptIcon::Exclamation);
        if (exists
            && !m_prompter.askYesNo(u"Database already exists!!. Do you want to overwrite the existing one"_s,
                                    u"Message"_s, PromptIcon::Question))
            return Outcome::Declined;
        report(m_progress, u"Restoring the database, Please wait..."_s);
        BackupEngine::CopyCheck check;
        if (!exists && m_checkCopy)
            check = [this](Database &copy) {
                const QVariant stored = copy.scalar(u"select fpasswd from masuser where fusername = ? and "
                                                    "coalesce(fdeleted, '') <> 'T'"_s,
                                                    {u"ADMIN"_s});
                if (m_user != u"ADMIN"_s || !stored.isValid()
                    || !passwords::matchesUser(stored.toString(), m_copyPassword))
                    throw StopError(u"There is no database to log in to, and the password given is not the ADMIN "
                                    "password of the backup: nothing was restored."_s);
            };
        engineFor(backend)->restore(settings, m_folder, file, check);
        recordRestore(settings, file);
    } catch (const DbError &e) {
        m_prompter.message(e.number() + u' ' + e.description(), u"Message"_s, PromptIcon::Exclamation);
        return Outcome::Refused;
    } catch (const StopError &e) {
        m_prompter.message(e.text(), e.title(), e.icon());
        return Outcome::Refused;
    }
    report(m_progress, u"Restoring database completed!!"_s);
    m_prompter.message(u"Restored Database Successfully!!. System will restart now!!"_s, u"Message"_s,
                       PromptIcon::Information);
    return Outcome::Restored;
}

void RestoreRun::recordRestore(const ConnectionSettings &settings, const QString &file) const
{
    const auto restored = Connector::open(settings, m_folder);
    AuditTrail(*restored).record(m_user, {u"restore"_s,
                                          u"restore"_s,
                                          {},
                                          restored->currentDatabaseName(),
                                          {},
                                          u"from "_s + QFileInfo(file).absoluteFilePath()});
}

void RestoreRun::setOwnSession(const Database &db)
{
    if (db.backend() == Backend::MySql)
        m_ownConnection = db.scalar(u"select connection_id()"_s).toString();
}

QStringList RestoreRun::otherSessions(Backend backend, const ConnectionSettings &settings, const Database *probe,
                                      std::shared_ptr<SessionLock> &alone) const
{
    if (backend == Backend::SQLite) {
        const QString file = m_folder.filePath(Connector::databaseName(settings, m_folder) + u".sqlite"_s);
        if (!QFileInfo::exists(file))
            return {};
        alone = SessionLock::exclusive(file);
        return alone ? QStringList() : QStringList{u"another program on this computer or the network"_s};
    }
    if (backend != Backend::MySql || !probe)
        return {};
    // A connection closed a moment ago (this program's own, just before the restore) can
    // still be listed while the server ends its thread: it is asked again for a while,
    // and only connections that stay count.
    QStringList others;
    for (int attempt = 0; attempt < 15; ++attempt) {
        if (attempt > 0)
            QThread::msleep(200);
        others.clear();
        Rows rows = probe->query(u"select user, host from information_schema.processlist where db = database() and "
                                 "id <> connection_id() and id <> ?"_s,
                                 {m_ownConnection.isEmpty() ? u"0"_s : m_ownConnection});
        while (rows.next())
            others << rows.text(0) + u'@' + rows.text(1).section(u':', 0, 0);
        if (others.isEmpty())
            break;
    }
    return others;
}

} // namespace sw
