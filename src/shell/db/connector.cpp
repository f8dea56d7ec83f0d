// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/db/connector.h"

#include "shell/core/stoperror.h"
#include "shell/db/sessionlock.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>

#include <algorithm>
#include <atomic>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

void checkIdentifier(const QString &name)
{
    static const QRegularExpression plain(u"^[A-Za-z0-9_]{1,64}$"_s);
    if (!plain.match(name).hasMatch())
        throw DbError(DbErrorKind::CommandText, {},
                      u"The database name \""_s + name + u"\" may hold only letters, digits and underscores."_s);
}

// The Database takes the connection over; the caller's copy is let go at once, so that
// a statement failing next (a file that is no database) removes the connection without
// Qt's warning that it is still in use.
std::unique_ptr<Database> wrap(QSqlDatabase &handle, Backend backend)
{
    auto db = std::make_unique<Database>(handle, SqlDialect::forBackend(backend));
    handle = QSqlDatabase();
    return db;
}

void sendSessionStatements(Database &db)
{
    const QStringList statements = db.dialect().sessionStatements();
    for (const QString &s : statements)
        db.query(s);
}

QString chosenDatabase(const ConnectionSettings &settings, const AppFolder &folder, const Connector::Options &options)
{
    return options.database.isEmpty() ? Connector::databaseName(settings, folder) : options.database;
}

std::unique_ptr<Database> openSqlite(const ConnectionSettings &settings, const AppFolder &folder,
                                     const Connector::Options &options)
{
    const QString name = chosenDatabase(settings, folder, options);
    const QString file = folder.filePath(name + u".sqlite"_s);
    if (!options.createIfMissing && !QFileInfo::exists(file))
        throw DbError(DbErrorKind::ServerUnreachable, {}, u"The database file "_s + file + u" does not exist."_s);
    // Taken before the file is opened: a session never starts on a database being restored.
    auto lock = SessionLock::shared(file);
    if (!lock)
        throw DbError(DbErrorKind::Other, QString::fromLatin1(dberrnum::kUnspecified), Connector::restoreInProgress());
    QSqlDatabase handle = QSqlDatabase::addDatabase(u"QSQLITE"_s, Connector::newConnectionName());
    handle.setDatabaseName(file);
    handle.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=15000"_s);
    if (!handle.open())
        Database::failOpen(handle, Backend::SQLite);
    auto db = wrap(handle, Backend::SQLite);
    db->holdSessionLock(std::move(lock));
    // Reading the schema version fails at once on a file that is not a database,
    // before anything could be written to it.
    db->query(u"PRAGMA schema_version"_s);
    sendSessionStatements(*db);
    return db;
}

// When the server goes, Qt's MariaDB driver says "unable to free statement handle" once
// for every statement the program had prepared: the run's own message already says the
// connection was lost, and a screenful of these hides it.
QtMessageHandler g_nextHandler = nullptr;

void quietLostStatements(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && message.startsWith(u"QMYSQLResult::cleanup: unable to free statement handle"_s))
        return;
    if (g_nextHandler)
        g_nextHandler(type, context, message);
}

std::unique_ptr<Database> openMysql(const ConnectionSettings &settings, const AppFolder &folder,
                                    const Connector::Options &options)
{
    static const bool quiet = [] {
        g_nextHandler = qInstallMessageHandler(quietLostStatements);
        return true;
    }();
    Q_UNUSED(quiet);
    const QString name = chosenDatabase(settings, folder, options);
    checkIdentifier(name);
    const auto [host, port] = Connector::mysqlHostPort(settings.serverName);
    QSqlDatabase handle = QSqlDatabase::addDatabase(u"QMYSQL"_s, Connector::newConnectionName());
    handle.setHostName(host);
    handle.setPort(port);
    handle.setUserName(settings.effectiveAdminUser());
    handle.setPassword(settings.dbPassword);
    handle.setConnectOptions(u"MYSQL_OPT_CONNECT_TIMEOUT="_s + QString::number(options.connectTimeoutSeconds));
    if (!handle.open())
        Database::failOpen(handle, Backend::MySql);
    auto db = wrap(handle, Backend::MySql);
    if (options.createIfMissing)
        db->query(u"CREATE DATABASE IF NOT EXISTS `"_s + name
                  + u"` CHARACTER SET utf8mb4 COLLATE utf8mb4_general_ci"_s);
    db->query(u"USE `"_s + name + u'`');
    sendSessionStatements(*db);
    return db;
}

std::unique_ptr<Database> openOdbc(const QString &connectionString, Backend backend, int timeoutSeconds)
{
    QSqlDatabase handle = QSqlDatabase::addDatabase(u"QODBC"_s, Connector::newConnectionName());
    handle.setDatabaseName(connectionString);
    handle.setConnectOptions(u"SQL_ATTR_LOGIN_TIMEOUT="_s + QString::number(timeoutSeconds));
    if (!handle.open())
        Database::failOpen(handle, backend);
    return wrap(handle, backend);
}

} // namespace

QString Connector::restoreInProgress()
{
    return u"The database is being restored from a backup on another workstation. Wait until the restore has "
           "finished, then start again."_s;
}

QString Connector::newConnectionName()
{
    static std::atomic<int> counter{0};
    return u"scrollwise-"_s + QString::number(++counter);
}

QString Connector::markedDatabase(const AppFolder &folder)
{
    if (!folder.findFileAnyCase(u"CONVO.DBS"_s).isEmpty())
        return u"CONVO"_s;
    if (!folder.findFileAnyCase(u"CONVODIST.DBS"_s).isEmpty())
        return u"CONVODIST"_s;
    return {};
}

QString Connector::databaseName(const ConnectionSettings &settings, const AppFolder &folder)
{
    const QString marked = markedDatabase(folder);
    if (marked.isEmpty())
        throw StopError(u"DB name not specified!!"_s, PromptIcon::Critical);
    return settings.databaseName.isEmpty() ? marked : settings.databaseName;
}

QString Connector::odbcValue(const QString &value)
{
    static const QString special = u"[]{}(),;?*=!@"_s;
    const bool plain = std::none_of(value.begin(), value.end(), [](QChar c) { return special.contains(c); })
                       && value.trimmed() == value;
    if (plain)
        return value;
    QString braced = value;
    braced.replace(u"}"_s, u"}}"_s);
    return u'{' + braced + u'}';
}

QString Connector::sqlServerConnectionString(const ConnectionSettings &settings)
{
    return u"Driver={"_s + settings.effectiveOdbcDriver() + u"};Server="_s + odbcValue(settings.serverName) + u";Uid="_s
           + odbcValue(settings.effectiveAdminUser()) + u";Pwd="_s + odbcValue(settings.dbPassword.trimmed()) + u';';
}

QString Connector::oracleConnectionString(const ConnectionSettings &settings)
{
    return u"Driver={"_s + settings.effectiveOdbcDriver() + u"};Dbq="_s + odbcValue(settings.serverName) + u";Uid="_s
           + odbcValue(settings.effectiveOracleUser()) + u";Pwd="_s + odbcValue(settings.effectiveOraclePassword())
           + u';';
}

std::pair<QString, int> Connector::mysqlHostPort(const QString &serverName)
{
    const QString s = serverName.trimmed();
    const qsizetype colon = s.lastIndexOf(u':');
    if (colon > 0) {
        bool ok = false;
        const int port = s.mid(colon + 1).toInt(&ok);
        if (ok && port > 0 && port < 65536)
            return {s.left(colon), port};
    }
    return {s.isEmpty() ? u"localhost"_s : s, 3306};
}

std::unique_ptr<Database> Connector::open(const ConnectionSettings &settings, const AppFolder &folder,
                                          const Options &options)
{
    const std::optional<Backend> backend = settings.backend();
    // ACCESS and anything else open nothing; the first statement then fails.
    if (!backend)
        return std::make_unique<Database>();
    switch (*backend) {
    case Backend::SQLite: return openSqlite(settings, folder, options);
    case Backend::MySql: return openMysql(settings, folder, options);
    case Backend::SqlServer: {
        auto db = openOdbc(sqlServerConnectionString(settings), Backend::SqlServer, options.connectTimeoutSeconds);
        const QString name = chosenDatabase(settings, folder, options);
        checkIdentifier(name);
        db->query(u"USE ["_s + name + u']');
        sendSessionStatements(*db);
        return db;
    }
    case Backend::Oracle:
        return openOdbc(oracleConnectionString(settings), Backend::Oracle, options.connectTimeoutSeconds);
    }
    return std::make_unique<Database>();
}

} // namespace sw
