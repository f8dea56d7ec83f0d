// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/backup/backuprun.h"

#include "shell/audit/audittrail.h"
#include "shell/backup/backupengine.h"
#include "shell/backup/registercarryover.h"
#include "shell/core/passwordcodec.h"
#include "shell/core/inifile.h"
#include "shell/core/prompter.h"
#include "shell/session.h"
#include "shell/core/stoperror.h"
#include "shell/db/connector.h"
#include "shell/db/failures.h"
#include "shell/db/presence.h"
#include "shell/db/sessionlock.h"
#include "shell/settings/controlstore.h"
#include "shell/startup/startup.h"

#include <QDir>
#include <QFileInfo>
#include <QUuid>

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
    } catch (const std::exception &) {
        showFailure(m_prompter, ErrorForm::Screen);
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

// What keeps every other program off the database from the check to the end of the restore.
struct RestoreRun::Exclusion
{
    std::shared_ptr<SessionLock> fileLock; // SQLite
    std::unique_ptr<Presence::Lease> gate; // a server: the gate every session looks for
};

RestoreRun::Outcome RestoreRun::run(const QString &backupFile)
{
    const QString file = backupFile.trimmed();
    if (file.isEmpty() || !QFileInfo(file).isFile()) {
        m_prompter.message(u"Invalid File path!!"_s, u"Message"_s, PromptIcon::Exclamation);
        return Outcome::Refused;
    }
    QStringList carried;
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
            backend = settings.backend().value_or(Backend::SQLite);
            // No usable database: nothing to overwrite, nothing to ask. A server or a file
            // that did not answer is no such sign: the restore stops, the database as it is.
            if (!isNoDatabase(e, backend, settings))
                throw;
            probe.reset();
        }
        // Held until the restore is over: no session starts on the database meanwhile. The
        // probe stays open as long, since on a server the gate is its lease.
        const std::unique_ptr<BackupEngine> engine = engineFor(backend);
        Exclusion exclusion;
        const QStringList others = otherSessions(*engine, settings, probe.get(), exclusion);
        if (!others.isEmpty())
            throw StopError(u"The database is in use by "_s + others.join(u", "_s)
                                + u". A restore replaces it under every program working on it, and a printing run "
                                  "would lose the sheets it printed: close the program on the other workstations "
                                  "(and end every scrollwise-batch run), then restore again."_s,
                            PromptIcon::Exclamation);
        if (exists
            && !m_prompter.askRisky(u"Database already exists!!. Do you want to overwrite the existing one"_s,
                                    u"Message"_s, PromptIcon::Question))
            return Outcome::Declined;
        report(m_progress, u"Restoring the database, Please wait..."_s);
        // The sheets printed and the lines written since the backup are read before the
        // database goes, and put into the copy before it takes the database's place.
        const RegisterCarryOver kept = exists ? RegisterCarryOver::read(*probe) : RegisterCarryOver();
        RegisterCarryOver::Result keptResult;
        const auto prepare = [&](Database &copy) {
            if (!exists && m_checkCopy)
                checkAdministratorOfCopy(copy);
            keptResult = prepareCopy(*engine, copy, kept, Connector::databaseName(settings, m_folder), file);
        };
        engine->restore(settings, m_folder, file, prepare);
        carried = carriedOverText(keptResult);
    } catch (const std::exception &) {
        showFailure(m_prompter, ErrorForm::Numbered, PromptIcon::Exclamation);
        return Outcome::Refused;
    }
    report(m_progress, u"Restoring database completed!!"_s);
    if (!carried.isEmpty())
        m_prompter.message(carried.join(u'\n'), u"Message"_s, PromptIcon::Information);
    m_prompter.message(u"Restored Database Successfully!!. System will restart now!!"_s, u"Message"_s,
                       PromptIcon::Information);
    return Outcome::Restored;
}

bool RestoreRun::isNoDatabase(const DbError &error, Backend backend, const ConnectionSettings &settings) const
{
    if (error.kind() == DbErrorKind::MissingTable || error.kind() == DbErrorKind::NotADatabase)
        return true;
    if (error.kind() != DbErrorKind::ServerUnreachable)
        return false;
    // An SQLite file that is there holds a database; a server names a database it does not hold (1049).
    if (backend == Backend::SQLite)
        return !QFileInfo::exists(m_folder.filePath(Connector::databaseName(settings, m_folder) + u".sqlite"_s));
    return error.nativeCode().trimmed() == u"1049"_s;
}

void RestoreRun::checkAdministratorOfCopy(Database &copy) const
{
    const QVariant stored = copy.scalar(u"select fpasswd from masuser where fusername = ? and "
                                        "coalesce(fdeleted, '') <> 'T'"_s,
                                        {u"ADMIN"_s});
    if (m_user != u"ADMIN"_s || !stored.isValid() || !passwords::matchesUser(stored.toString(), m_copyPassword))
        throw StopError(u"There is no database to log in to, and the password given is not the ADMIN "
                        "password of the backup: nothing was restored."_s);
}

RegisterCarryOver::Result RestoreRun::prepareCopy(const BackupEngine &engine, Database &copy,
                                                  const RegisterCarryOver &kept, const QString &databaseName,
                                                  const QString &file) const
{
    // The copy's sessions are those of programs long gone (a server keeps its own table of them).
    engine.forgetCopiedSessions(copy);
    const RegisterCarryOver::Result result = kept.apply(copy);
    AuditTrail(copy).record(m_user, {u"restore"_s,
                                     u"restore"_s,
                                     {},
                                     databaseName.isEmpty() ? u"CONVO"_s : databaseName,
                                     {},
                                     u"from "_s + QFileInfo(file).absoluteFilePath()});
    return result;
}

QStringList RestoreRun::carriedOverText(const RegisterCarryOver::Result &result)
{
    QStringList lines;
    if (result.empty())
        return lines;
    lines << u"Kept from the database replaced, written after the backup was taken: %1 sheet(s) of the stationery "
             "register, %2 line(s) of its journal and %3 line(s) of the audit trail. The numbers of sheets printed "
             "since stay used."_s.arg(result.sheets)
                 .arg(result.journalLines)
                 .arg(result.auditLines);
    if (result.statuses > 0)
        lines << u"The status lists keep %1 certificate(s) as the database replaced had them (revoked, on hold, or "
                 "printed since)."_s.arg(result.statuses);
    if (!result.unprintedInCopy.isEmpty())
        lines << u"The backup shows these candidates unprinted, but their certificates were printed (the stationery "
                 "list names them too):"_s
              << result.unprintedInCopy;
    return lines;
}

void RestoreRun::setOwnSession(const Database &db) { m_ownSession = Presence::ownIds(db); }

QStringList RestoreRun::otherSessions(const BackupEngine &engine, const ConnectionSettings &settings, Database *probe,
                                      Exclusion &exclusion) const
{
    const BackupEngine::FileExclusion file = engine.excludeOthers(settings, m_folder);
    if (file.refused)
        return {u"another program on this computer or the network"_s};
    exclusion.fileLock = file.lock;
    if (!probe)
        return {};
    // The gate first, the look for sessions second: a session starting meanwhile writes
    // its row first and looks for the gate second, so one of the two sees the other.
    QStringList others;
    try {
        Presence::join(*probe, settings, m_folder, u"restore"_s);
        exclusion.gate = Presence::hold(*probe, Presence::Kind::Restore,
                                        QUuid::createUuid().toString(QUuid::WithoutBraces), m_user, u"restore"_s);
        for (const Presence::Entry &e : Presence::others(*probe, m_ownSession))
            others << e.describe();
    } catch (const DbError &e) {
        // A damaged file keeps no sessions worth asking; the file lock answers for it.
        if (!engine.restoresOverDamage() || e.kind() != DbErrorKind::NotADatabase)
            throw;
    }
    if (!others.isEmpty())
        exclusion.gate.reset();
    return others;
}

} // namespace sw
