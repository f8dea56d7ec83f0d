// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/backup/backupengine.h"

#include "shell/core/stoperror.h"
#include "shell/db/connector.h"
#include "shell/db/database.h"
#include "shell/db/presence.h"
#include "shell/db/sessionlock.h"
#include "shell/settings/controlstore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QSqlDriver>
#include <QStandardPaths>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// A file written under a temporary name beside its final one, renamed on success.
class PendingFile
{
public:
    explicit PendingFile(QString finalPath)
        : m_final(std::move(finalPath))
        , m_temporary(m_final + u".partial"_s)
    {
        QFile::remove(m_temporary);
    }
    ~PendingFile() { QFile::remove(m_temporary); }
    const QString &path() const { return m_temporary; }
    void commit()
    {
        QFile::remove(m_final);
        if (!QFile::rename(m_temporary, m_final))
            throw StopError(u"The backup could not be saved as "_s + m_final + u'.');
    }

private:
    QString m_final;
    QString m_temporary;
};

sqlite3 *sqliteHandle(const Database &db)
{
    const QVariant handle = db.handle().driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw StopError(u"The SQLite connection does not expose its handle."_s);
    return *static_cast<sqlite3 *const *>(handle.data());
}

// Copies every page of `from` into `to` in one step: the destination sees either
// all of the source or, on failure, nothing of it.
void copySqlite(sqlite3 *from, sqlite3 *to, const QString &what)
{
    sqlite3_backup *copy = sqlite3_backup_init(to, "main", from, "main");
    if (!copy)
        throw StopError(what + u": "_s + QString::fromUtf8(sqlite3_errmsg(to)));
    const int step = sqlite3_backup_step(copy, -1);
    sqlite3_backup_finish(copy);
    if (step != SQLITE_DONE)
        throw StopError(what + u": "_s + QString::fromUtf8(sqlite3_errstr(step)));
}

// "ok", or what SQLite's quick check of the file finds wrong.
QString quickCheck(sqlite3 *db)
{
    sqlite3_stmt *check = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &check, nullptr) != SQLITE_OK)
        return QString::fromUtf8(sqlite3_errmsg(db));
    QStringList findings;
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(check)) == SQLITE_ROW)
        findings << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(check, 0)));
    sqlite3_finalize(check);
    if (step != SQLITE_DONE)
        findings << QString::fromUtf8(sqlite3_errstr(step));
    return findings.join(u"; "_s);
}

// A database file through the program's own connection type.
std::unique_ptr<Database> openFile(const QString &file)
{
    QSqlDatabase handle = QSqlDatabase::addDatabase(u"QSQLITE"_s, Connector::newConnectionName());
    handle.setDatabaseName(file);
    if (!handle.open())
        Database::failOpen(handle, Backend::SQLite);
    return std::make_unique<Database>(std::move(handle), SqlDialect::forBackend(Backend::SQLite));
}

// The live database to restore into; a file that is no database any more, or whose
// pages are damaged, is put aside under a name of its own (kept, not deleted) and the
// copy goes into a new file.
std::unique_ptr<Database> openUsable(const ConnectionSettings &target, const AppFolder &folder,
                                     const Connector::Options &options)
{
    try {
        auto db = Connector::open(target, folder, options);
        if (quickCheck(sqliteHandle(*db)) == u"ok"_s)
            return db;
    } catch (const DbError &) {
    }
    const QString live = folder.filePath(target.databaseName + u".sqlite"_s);
    const QString aside = live + u".damaged-"_s + QDateTime::currentDateTime().toString(u"yyyyMMddHHmmss"_s);
    for (const QString &suffix : {QString(), u"-wal"_s, u"-shm"_s}) {
        if (QFileInfo::exists(live + suffix) && !QFile::rename(live + suffix, aside + suffix))
            throw StopError(u"The damaged database file "_s + live + suffix + u" cannot be moved aside to "_s + aside
                            + suffix + u'.');
    }
    return Connector::open(target, folder, options);
}

class SqliteBackup final : public BackupEngine
{
public:
    void backup(Database &db, const QString &file) override
    {
        PendingFile pending(file);
        sqlite3 *target = nullptr;
        if (sqlite3_open(QFile::encodeName(pending.path()).constData(), &target) != SQLITE_OK) {
            const QString reason = QString::fromUtf8(sqlite3_errmsg(target));
            sqlite3_close(target);
            throw StopError(u"The backup file "_s + file + u" cannot be written: "_s + reason);
        }
        try {
            copySqlite(sqliteHandle(db), target, u"The backup failed"_s);
        } catch (...) {
            sqlite3_close(target);
            throw;
        }
        sqlite3_close(target);
        pending.commit();
    }

    void restore(const ConnectionSettings &settings, const AppFolder &folder, const QString &file,
                 const CopyStep &step) override
    {
        sqlite3 *source = nullptr;
        const int opened = sqlite3_open_v2(QFile::encodeName(file).constData(), &source, SQLITE_OPEN_READONLY, nullptr);
        const auto closeSource = qScopeGuard([&] { sqlite3_close(source); });
        if (opened != SQLITE_OK)
            throw StopError(u"The file "_s + file + u" cannot be read: "_s + QString::fromUtf8(sqlite3_errmsg(source)));
        // Only a copy of an application database is put in its place.
        sqlite3_stmt *probe = nullptr;
        const int prepared = sqlite3_prepare_v2(source, "select fversion from control", -1, &probe, nullptr);
        sqlite3_finalize(probe);
        if (prepared != SQLITE_OK)
            throw StopError(u"The file "_s + file + u" is not a backup of a Scrollwise database: "_s
                            + QString::fromUtf8(sqlite3_errmsg(source)));
        // A damaged copy is refused before anything of the database is touched.
        const QString findings = quickCheck(source);
        if (findings != u"ok"_s)
            throw StopError(u"The file "_s + file + u" is damaged and cannot be restored: "_s + findings);
        // The database the installation uses: CONVO or CONVODIST by its marker file.
        ConnectionSettings target = settings;
        if (target.databaseName.isEmpty())
            target.databaseName = Connector::databaseName(settings, folder);
        if (target.databaseName.isEmpty())
            target.databaseName = u"CONVO"_s;

        // The copy is made ready in a file of its own beside the database (the backup file
        // stays as it is), so whatever fails there leaves the database as it was.
        const QString staging = folder.filePath(target.databaseName + u".sqlite.restoring"_s);
        QFile::remove(staging);
        const auto removeStaging = qScopeGuard([&] { QFile::remove(staging); });
        std::unique_ptr<Database> ready = openFile(staging);
        copySqlite(source, sqliteHandle(*ready), u"The restore failed"_s);
        if (step)
            step(*ready);

        // The copy goes into the live database in one write transaction of its own, so a
        // failure half-way leaves the database as it was, and the connections the program
        // still holds see either the old or the new database, never a file swapped under them.
        Connector::Options options;
        options.createIfMissing = true;
        std::unique_ptr<Database> db = openUsable(target, folder, options);
        copySqlite(sqliteHandle(*ready), sqliteHandle(*db), u"The restore failed"_s);
    }

    FileExclusion excludeOthers(const ConnectionSettings &settings, const AppFolder &folder) const override
    {
        const QString file = folder.filePath(Connector::databaseName(settings, folder) + u".sqlite"_s);
        if (!QFileInfo::exists(file))
            return {};
        FileExclusion exclusion;
        exclusion.lock = SessionLock::exclusive(file);
        exclusion.refused = !exclusion.lock;
        return exclusion;
    }
    bool restoresOverDamage() const override { return true; }
    void forgetCopiedSessions(Database &restored) const override { Presence::forgetOthers(restored); }
};

// MariaDB and MySQL: the server's client tools write and read a dump; the restore
// loads it into a database of its own and then swaps all tables in one RENAME.
class MysqlBackup final : public BackupEngine
{
public:
    void backup(Database &db, const QString &file) override
    {
        const QString dump = tool({u"mariadb-dump"_s, u"mysqldump"_s});
        PendingFile pending(file);
        const QSqlDatabase h = db.handle();
        QStringList args = connectionArguments(h.hostName(), h.port(), h.userName());
        args << u"--single-transaction"_s << u"--skip-add-locks"_s << u"--routines"_s
             << u"--result-file="_s + pending.path() << db.currentDatabaseName();
        run(dump, args, h.password(), {});
        pending.commit();
    }

    void restore(const ConnectionSettings &settings, const AppFolder &folder, const QString &file,
                 const CopyStep &step) override
    {
        const QString client = tool({u"mariadb"_s, u"mysql"_s});
        // The database the installation uses: DBNAME, else CONVO or CONVODIST by the marker file.
        const QString name = Connector::databaseName(settings, folder);
        const QString loading = name + u"_restore"_s;
        const QString previous = name + u"_previous"_s;

        ConnectionSettings server = settings;
        server.databaseName = name;
        Connector::Options options;
        options.createIfMissing = true;
        const auto db = Connector::open(server, folder, options);
        db->exec(u"DROP DATABASE IF EXISTS `"_s + loading + u'`');
        db->exec(u"DROP DATABASE IF EXISTS `"_s + previous + u'`');
        db->exec(u"CREATE DATABASE `"_s + loading + u"` CHARACTER SET utf8mb4 COLLATE utf8mb4_general_ci"_s);
        db->exec(u"CREATE DATABASE `"_s + previous + u"` CHARACTER SET utf8mb4 COLLATE utf8mb4_general_ci"_s);
        const auto dropHelpers = qScopeGuard([&] {
            try {
                db->exec(u"DROP DATABASE IF EXISTS `"_s + loading + u'`');
                db->exec(u"DROP DATABASE IF EXISTS `"_s + previous + u'`');
            } catch (const DbError &) {
            }
        });

        const auto [host, port] = Connector::mysqlHostPort(settings.serverName);
        QStringList args = connectionArguments(host, port, settings.effectiveAdminUser());
        args << u"--database="_s + loading;
        run(client, args, settings.dbPassword, file);

        // Only a copy of an application database goes in, and only one the caller accepts.
        Connector::Options copyOptions;
        copyOptions.database = loading;
        {
            const auto copy = Connector::open(server, folder, copyOptions);
            try {
                ControlStore(*copy).version();
            } catch (const DbError &e) {
                throw StopError(u"The file "_s + file + u" is not a backup of a Scrollwise database: "_s
                                + e.description());
            }
            if (step)
                step(*copy);
        }

        QStringList moves;
        Rows loaded =
            db->query(u"SELECT table_name FROM information_schema.tables WHERE table_schema = ?"_s, {loading});
        while (loaded.next()) {
            const QString t = loaded.text(0);
            // The programs working on the database now, the restore's gate among them, stay.
            if (t.compare(u"presence"_s, Qt::CaseInsensitive) == 0)
                continue;
            if (db->exists(
                    u"SELECT table_name FROM information_schema.tables WHERE table_schema = ? AND table_name = ?"_s,
                    {name, t}))
                moves << quoted(name, t) + u" TO "_s + quoted(previous, t);
            moves << quoted(loading, t) + u" TO "_s + quoted(name, t);
        }
        if (moves.isEmpty())
            throw StopError(u"The file "_s + file + u" holds no tables."_s);
        db->exec(u"RENAME TABLE "_s + moves.join(u", "_s));
    }

private:
    static QString quoted(const QString &schema, const QString &table)
    {
        return u'`' + schema + u"`.`"_s + table + u'`';
    }

    static QString tool(const QStringList &names)
    {
        for (const QString &n : names) {
            const QString path = QStandardPaths::findExecutable(n);
            if (!path.isEmpty())
                return path;
        }
        throw StopError(u"The MariaDB client tools ("_s + names.join(u" or "_s)
                        + u") are not installed: install mariadb-client to back up or restore this database."_s);
    }

    static QStringList connectionArguments(const QString &host, int port, const QString &user)
    {
        return {u"--no-defaults"_s,  u"--protocol=TCP"_s,
                u"--host="_s + host, u"--port="_s + QString::number(port),
                u"--user="_s + user, u"--default-character-set=utf8mb4"_s};
    }

    // The password goes through the environment, never the command line other users can read.
    static void run(const QString &program, const QStringList &args, const QString &password, const QString &input)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"MYSQL_PWD"_s, password);
        p.setProcessEnvironment(env);
        if (!input.isEmpty())
            p.setStandardInputFile(input);
        p.start(program, args);
        if (!p.waitForStarted(10000))
            throw StopError(program + u" could not be started: "_s + p.errorString());
        p.waitForFinished(-1);
        if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
            throw StopError(QFileInfo(program).fileName() + u" failed: "_s
                            + QString::fromLocal8Bit(p.readAllStandardError()).trimmed());
    }
};

// SQL Server backs up and restores on the server itself.
class SqlServerBackup final : public BackupEngine
{
public:
    void backup(Database &db, const QString &file) override
    {
        db.exec(u"backup database "_s + db.currentDatabaseName() + u" to disk = ?"_s, {file});
    }

    void restore(const ConnectionSettings &settings, const AppFolder &folder, const QString &file,
                 const CopyStep &step) override
    {
        ConnectionSettings master = settings;
        master.databaseName = u"master"_s;
        const auto db = Connector::open(master, folder);
        QDir().mkpath(folder.filePath(u"DATABASE"_s));
        db->exec(u"RESTORE DATABASE CONVO FROM DISK = ? WITH REPLACE, MOVE 'CONVO_DATA' TO ?, MOVE 'CONVO_LOG' TO ?"_s,
                 {file.trimmed(), QDir::toNativeSeparators(folder.filePath(u"DATABASE/CONVO.mdf"_s)),
                  QDir::toNativeSeparators(folder.filePath(u"DATABASE/CONVO.ldf"_s))});
        if (step)
            step(*Connector::open(settings, folder));
    }
};

} // namespace

BackupEngine::~BackupEngine() = default;

std::unique_ptr<BackupEngine> BackupEngine::forBackend(Backend backend)
{
    switch (backend) {
    case Backend::SQLite: return std::make_unique<SqliteBackup>();
    case Backend::MySql: return std::make_unique<MysqlBackup>();
    case Backend::SqlServer: return std::make_unique<SqlServerBackup>();
    case Backend::Oracle: break;
    }
    return nullptr;
}

} // namespace sw
