// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/backup/registercarryover.h"
#include "shell/core/appfolder.h"
#include "shell/core/progress.h"
#include "shell/db/sqldialect.h"

#include <QDate>
#include <QString>

namespace sw {

class BackupEngine;

class Database;
class DbError;
class Prompter;
class Session;
class SessionLock;
struct ConnectionSettings;

// "User Backup": copies the application database to Backup/ + database name +
// ddmmyyyy + ".bak" (one file per database and day; a later one replaces it) and,
// only once that copy is complete, removes the candidates without a convocation code.
class BackupRun
{
public:
    BackupRun(Session &session, Prompter &prompter, Progress progress = {});

    static QString fileName(const QString &databaseName, const QDate &day);

    struct Result
    {
        bool done = false;
        QString file;
        int removedCandidates = 0;
    };
    Result run(const QDate &day = QDate::currentDate());

private:
    Session &m_session;
    Prompter &m_prompter;
    Progress m_progress;
};

// "Restore Database": puts a backup in place of the application database after
// asking whether to overwrite an existing one. The program ends after a restore.
// A database other programs are working on is never replaced: the restore is
// refused, naming them (SQLite: the session lock of every connection, held by the
// restore to its end; MariaDB: the sessions every server of a cluster sees, with the
// restore's gate written first and kept to its end). The stationery register and the
// audit trail written since the backup was taken are carried into the restored
// database (RegisterCarryOver).
class RestoreRun
{
public:
    RestoreRun(AppFolder folder, Prompter &prompter, Progress progress = {});

    // The restoring program's own connection, which does not count as another session.
    void setOwnSession(const Database &db);
    // Who restores, for the audit trail of the restored database.
    void setUser(const QString &user) { m_user = user; }
    // Where no usable database is left to log in to, the ADMIN password given here is
    // checked against the copy's own users before the copy goes in.
    void requireAdministratorOfCopy(const QString &password)
    {
        m_copyPassword = password;
        m_checkCopy = true;
    }

    enum class Outcome { Restored, Declined, Refused };
    Outcome run(const QString &backupFile);

private:
    // Whether the look for the database to replace failed because there is none.
    bool isNoDatabase(const DbError &error, Backend backend, const ConnectionSettings &settings) const;
    // Refuses a copy whose ADMIN password is not the one given (requireAdministratorOfCopy).
    void checkAdministratorOfCopy(Database &copy) const;
    // Carries the register and the audit trail into the copy and records the restore there.
    RegisterCarryOver::Result prepareCopy(const BackupEngine &engine, Database &copy, const RegisterCarryOver &kept,
                                          const QString &databaseName, const QString &file) const;
    // What the clerk is told was kept.
    static QStringList carriedOverText(const RegisterCarryOver::Result &result);
    struct Exclusion;
    QStringList otherSessions(const BackupEngine &engine, const ConnectionSettings &settings, Database *probe,
                              Exclusion &exclusion) const;
    void reportCarriedOver(const QStringList &lines) const;

    AppFolder m_folder;
    Prompter &m_prompter;
    Progress m_progress;
    QStringList m_ownSession;
    QString m_user;
    QString m_copyPassword;
    bool m_checkCopy = false;
};

} // namespace sw
