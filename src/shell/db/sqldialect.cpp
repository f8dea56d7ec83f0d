// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/db/sqldialect.h"

#include <QRegularExpression>
#include <QSqlError>

#include <algorithm>
#include <initializer_list>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

bool codeIn(const QString &code, std::initializer_list<int> codes)
{
    bool ok = false;
    const int value = code.trimmed().toInt(&ok);
    return ok && std::find(codes.begin(), codes.end(), value) != codes.end();
}

bool textHas(const QSqlError &error, const QString &needle)
{
    return error.databaseText().contains(needle, Qt::CaseInsensitive)
           || error.driverText().contains(needle, Qt::CaseInsensitive);
}

QString joinedDefinitions(const SqlDialect &dialect, const QStringList &definitions)
{
    QStringList out;
    out.reserve(definitions.size());
    for (const QString &d : definitions)
        out.append(dialect.columnDefinition(d));
    return out.join(u", "_s);
}

// --- SQLite --------------------------------------------------------------

class SqliteDialect final : public SqlDialect
{
public:
    Backend backend() const override { return Backend::SQLite; }
    QString name() const override { return u"SQLITE"_s; }
    QString qtDriver() const override { return u"QSQLITE"_s; }

    QStringList sessionStatements() const override
    {
        // A larger page cache keeps a long import's index pages in memory instead of spilling them.
        return {u"PRAGMA journal_mode=WAL"_s, u"PRAGMA synchronous=NORMAL"_s, u"PRAGMA cache_size=-8192"_s};
    }

    // Text columns compare without regard to case, as on the SQL Server installations.
    QString columnDefinition(const QString &definition) const override
    {
        if (definition.contains(u"VARCHAR"_s, Qt::CaseInsensitive))
            return definition + u" COLLATE NOCASE"_s;
        return definition;
    }

    std::optional<QString> alterColumn(const QString &, const QString &) const override { return std::nullopt; }
    QString nowSeconds() const override { return u"CAST(strftime('%s', 'now') AS INTEGER)"_s; }

    BoundSql columnListing(const QString &table) const override
    {
        return {u"SELECT ?, name, 0 FROM pragma_table_info(?) ORDER BY cid"_s, {table, table}};
    }

    BoundSql indexListing(const QString &table, const QString &index) const override
    {
        return {
            u"SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = ? COLLATE NOCASE AND name = ? COLLATE NOCASE"_s,
            {table, index}};
    }

    QString createIndex(const QString &index, const QString &table, const QStringList &columns,
                        bool unique) const override
    {
        return (unique ? u"CREATE UNIQUE INDEX IF NOT EXISTS "_s : u"CREATE INDEX IF NOT EXISTS "_s) + index + u" ON "_s
               + table + u" ("_s + columns.join(u", "_s) + u')';
    }

    QString createTemporaryTable(const QString &table, const QStringList &definitions) const override
    {
        return u"CREATE TEMP TABLE "_s + temporaryTableName(table) + u" ("_s + joinedDefinitions(*this, definitions)
               + u')';
    }

    // SQLite starts a deferred transaction as a reader and fails at once, without waiting,
    // when it must become a writer after another connection wrote (another program's, or
    // this program's own presence beat). Taking the write lock at the start waits instead.
    std::optional<QString> beginWriteStatement() const override { return u"BEGIN IMMEDIATE"_s; }
    std::optional<QString> currentDatabaseQuery() const override { return std::nullopt; }

    DbErrorKind classify(const QSqlError &error) const override
    {
        const QString code = error.nativeErrorCode();
        // 26: not a database at all; 11: a database whose pages are damaged (overwritten, cut short).
        if (codeIn(code, {26, 11}) || textHas(error, u"not a database"_s) || textHas(error, u"malformed"_s))
            return DbErrorKind::NotADatabase;
        if (codeIn(code, {14}) || textHas(error, u"unable to open database"_s))
            return DbErrorKind::ServerUnreachable;
        if (textHas(error, u"no such table"_s))
            return DbErrorKind::MissingTable;
        if (codeIn(code, {2067, 1555}) || textHas(error, u"UNIQUE constraint failed"_s))
            return DbErrorKind::Duplicate;
        if (codeIn(code, {1}) || textHas(error, u"syntax error"_s) || textHas(error, u"no such column"_s)
            || textHas(error, u"duplicate column"_s))
            return DbErrorKind::CommandText;
        if (codeIn(code, {18}))
            return DbErrorKind::Truncation;
        return DbErrorKind::Other;
    }
};

// --- MySQL / MariaDB -----------------------------------------------------

class MySqlDialect final : public SqlDialect
{
public:
    Backend backend() const override { return Backend::MySql; }
    QString name() const override { return u"MYSQL"_s; }
    QString qtDriver() const override { return u"QMYSQL"_s; }

    QString concat(const QStringList &parts) const override { return u"CONCAT("_s + parts.join(u", "_s) + u')'; }
    QString length(const QString &expression) const override { return u"CHAR_LENGTH("_s + expression + u')'; }
    QString tableName(const QString &name) const override { return name.toLower(); }
    int maxBoundValues() const override { return 65535; }

    // Strict mode makes a value that does not fit an error, as on the other servers,
    // instead of a silently shortened value.
    QStringList sessionStatements() const override
    {
        return {u"SET SESSION sql_mode = 'STRICT_TRANS_TABLES,ERROR_FOR_DIVISION_BY_ZERO,NO_ENGINE_SUBSTITUTION'"_s,
                u"SET NAMES utf8mb4"_s};
    }

    QString createTable(const QString &table, const QStringList &definitions) const override
    {
        return u"CREATE TABLE "_s + tableName(table) + u" ("_s + joinedDefinitions(*this, definitions)
               + u") DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci"_s;
    }
    QString addColumn(const QString &table, const QString &definition) const override
    {
        return u"ALTER TABLE "_s + tableName(table) + u" ADD "_s + columnDefinition(definition);
    }
    std::optional<QString> alterColumn(const QString &table, const QString &definition) const override
    {
        return u"ALTER TABLE "_s + tableName(table) + u" MODIFY COLUMN "_s + columnDefinition(definition);
    }
    QString nowSeconds() const override { return u"UNIX_TIMESTAMP()"_s; }
    std::optional<QString> rowKeyDefinition() const override
    {
        return u"FROWID BIGINT NOT NULL AUTO_INCREMENT PRIMARY KEY"_s;
    }

    BoundSql columnListing(const QString &table) const override
    {
        return {u"SELECT table_name, column_name, character_maximum_length FROM information_schema.columns "
                "WHERE table_schema = DATABASE() AND table_name = ? ORDER BY ordinal_position"_s,
                {tableName(table)}};
    }
    BoundSql indexListing(const QString &table, const QString &index) const override
    {
        return {u"SELECT index_name FROM information_schema.statistics WHERE table_schema = DATABASE() "
                "AND table_name = ? AND index_name = ?"_s,
                {tableName(table), index}};
    }
    QString createIndex(const QString &index, const QString &table, const QStringList &columns,
                        bool unique) const override
    {
        return SqlDialect::createIndex(index, tableName(table), columns, unique);
    }
    std::optional<QString> joinedUpdate(const QString &table, const QString &source, const QStringList &keys,
                                        const QStringList &columns, const QStringList &fixed,
                                        const QString &condition) const override
    {
        QStringList on, sets;
        for (const QString &k : keys)
            on << u"c."_s + k + u" = s."_s + k;
        for (const QString &c : columns)
            sets << u"c."_s + c + u" = s."_s + c;
        for (const QString &f : fixed)
            sets << u"c."_s + f;
        return u"UPDATE "_s + tableName(table) + u" c JOIN "_s + temporaryTableName(source) + u" s ON "_s
               + on.join(u" AND "_s) + u" SET "_s + sets.join(u", "_s)
               + (condition.isEmpty() ? QString() : u" WHERE "_s + condition);
    }
    QString createTemporaryTable(const QString &table, const QStringList &definitions) const override
    {
        // The collation of the tables it is joined with, whatever the server's default.
        return u"CREATE TEMPORARY TABLE "_s + temporaryTableName(table) + u" ("_s
               + joinedDefinitions(*this, definitions) + u") DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci"_s;
    }
    QString dropTemporaryTable(const QString &table) const override
    {
        return u"DROP TEMPORARY TABLE IF EXISTS "_s + temporaryTableName(table);
    }
    std::optional<QString> currentDatabaseQuery() const override { return u"SELECT DATABASE()"_s; }

    DbErrorKind classify(const QSqlError &error) const override
    {
        const QString code = error.nativeErrorCode();
        if (codeIn(code, {1045, 1044, 1698}))
            return DbErrorKind::LoginRefused;
        if (codeIn(code, {2002, 2003, 2005, 2006, 2013, 2055, 1049, 1130, 1047}))
            return DbErrorKind::ServerUnreachable;
        if (codeIn(code, {1146}))
            return DbErrorKind::MissingTable;
        if (codeIn(code, {1062, 1586}))
            return DbErrorKind::Duplicate;
        if (codeIn(code, {1265, 1406, 1264, 1366}))
            return DbErrorKind::Truncation;
        if (codeIn(code, {1064, 1054, 1060, 1061, 1091, 1072, 1050, 1166, 1170}))
            return DbErrorKind::CommandText;
        if (error.type() == QSqlError::ConnectionError)
            return DbErrorKind::ServerUnreachable;
        return DbErrorKind::Other;
    }
};

// --- ODBC servers: SQL Server and Oracle ---------------------------------

// QODBC reports the SQLSTATE in its text and the server's own number as the native
// code; both are looked at, so any SQL Server or Oracle ODBC driver classifies alike.
DbErrorKind classifyOdbc(const QSqlError &error, std::initializer_list<int> loginCodes,
                         std::initializer_list<int> missingTableCodes, std::initializer_list<int> truncationCodes,
                         std::initializer_list<int> commandTextCodes)
{
    const QString code = error.nativeErrorCode();
    static const QRegularExpression sqlState(
        u"\\b(28000|08001|08S01|08004|HYT00|42S02|22001|42000|42S21|42S22|37000)\\b"_s);
    const QString text = error.databaseText() + u' ' + error.driverText() + u' ' + code;
    const QString state = sqlState.match(text).captured(1);
    if (codeIn(code, loginCodes) || state == u"28000"_s)
        return DbErrorKind::LoginRefused;
    if (state == u"08001"_s || state == u"08S01"_s || state == u"08004"_s || state == u"HYT00"_s)
        return DbErrorKind::ServerUnreachable;
    if (codeIn(code, missingTableCodes) || state == u"42S02"_s)
        return DbErrorKind::MissingTable;
    // SQL Server's 2627 and 2601, Oracle's ORA-00001: a unique key refused the row.
    if (codeIn(code, {2627, 2601}) || text.contains(u"ORA-00001"_s))
        return DbErrorKind::Duplicate;
    if (codeIn(code, truncationCodes) || state == u"22001"_s)
        return DbErrorKind::Truncation;
    if (codeIn(code, commandTextCodes) || state == u"42000"_s || state == u"42S21"_s || state == u"42S22"_s
        || state == u"37000"_s)
        return DbErrorKind::CommandText;
    if (error.type() == QSqlError::ConnectionError)
        return DbErrorKind::ServerUnreachable;
    return DbErrorKind::Other;
}

class SqlServerDialect final : public SqlDialect
{
public:
    Backend backend() const override { return Backend::SqlServer; }
    QString name() const override { return u"SQLSRVR"_s; }
    QString qtDriver() const override { return u"QODBC"_s; }

    QString concat(const QStringList &parts) const override { return u'(' + parts.join(u" + "_s) + u')'; }
    QString length(const QString &expression) const override { return u"LEN("_s + expression + u')'; }

    QStringList sessionStatements() const override { return {u"SET QUOTED_IDENTIFIER OFF"_s, u"SET DATEFORMAT DMY"_s}; }
    std::optional<QString> alterColumn(const QString &table, const QString &definition) const override
    {
        return u"ALTER TABLE "_s + table + u" ALTER COLUMN "_s + definition;
    }
    std::optional<QString> rowKeyDefinition() const override
    {
        return u"FROWID BIGINT IDENTITY(1,1) NOT NULL PRIMARY KEY"_s;
    }
    BoundSql columnListing(const QString &table) const override
    {
        return {u"SELECT SYSOBJECTS.NAME, SYSCOLUMNS.NAME, SYSCOLUMNS.LENGTH FROM SYSCOLUMNS, "
                "SYSOBJECTS WHERE SYSOBJECTS.ID=SYSCOLUMNS.ID AND SYSOBJECTS.TYPE='U' AND SYSOBJECTS.NAME=? "
                "ORDER BY SYSCOLUMNS.COLID"_s,
                {table}};
    }
    BoundSql indexListing(const QString &table, const QString &index) const override
    {
        return {u"SELECT name FROM sys.indexes WHERE object_id = OBJECT_ID(?) AND name = ?"_s, {table, index}};
    }
    QString temporaryTableName(const QString &table) const override { return u'#' + table; }
    QString createTemporaryTable(const QString &table, const QStringList &definitions) const override
    {
        return u"CREATE TABLE "_s + temporaryTableName(table) + u" ("_s + joinedDefinitions(*this, definitions) + u')';
    }
    std::optional<QString> currentDatabaseQuery() const override { return u"SELECT DB_NAME()"_s; }

    DbErrorKind classify(const QSqlError &error) const override
    {
        return classifyOdbc(error, {18456, 18452, 4060}, {208}, {8152, 2628}, {102, 156, 207, 2705, 4922, 5074, 1913});
    }
};

class OracleDialect final : public SqlDialect
{
public:
    Backend backend() const override { return Backend::Oracle; }
    QString name() const override { return u"ORACLE"_s; }
    QString qtDriver() const override { return u"QODBC"_s; }

    QString coalesce(const QString &expression, const QString &replacement) const override
    {
        return u"NVL("_s + expression + u", "_s + replacement + u')';
    }
    QString columnDefinition(const QString &definition) const override
    {
        QString d = definition;
        d.replace(QRegularExpression(u"\\bVARCHAR\\("_s, QRegularExpression::CaseInsensitiveOption), u"VARCHAR2("_s);
        d.replace(QRegularExpression(u"\\bDATETIME\\b"_s, QRegularExpression::CaseInsensitiveOption), u"DATE"_s);
        return d;
    }
    QString addColumn(const QString &table, const QString &definition) const override
    {
        return u"ALTER TABLE "_s + table + u" ADD ("_s + columnDefinition(definition) + u')';
    }
    std::optional<QString> alterColumn(const QString &table, const QString &definition) const override
    {
        return u"ALTER TABLE "_s + table + u" MODIFY ("_s + columnDefinition(definition) + u')';
    }
    QString nowSeconds() const override
    {
        return u"ROUND((CAST(SYS_EXTRACT_UTC(SYSTIMESTAMP) AS DATE) - DATE '1970-01-01') * 86400)"_s;
    }
    std::optional<QString> rowKeyDefinition() const override
    {
        return u"FROWID NUMBER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY"_s;
    }
    BoundSql columnListing(const QString &table) const override
    {
        return {u"SELECT table_name, column_name, data_length FROM user_tab_columns WHERE table_name = UPPER(?) "
                "ORDER BY column_id"_s,
                {table}};
    }
    BoundSql indexListing(const QString &table, const QString &index) const override
    {
        return {u"SELECT index_name FROM user_indexes WHERE table_name = UPPER(?) AND index_name = UPPER(?)"_s,
                {table, index}};
    }
    QString createTemporaryTable(const QString &table, const QStringList &definitions) const override
    {
        return u"CREATE GLOBAL TEMPORARY TABLE "_s + temporaryTableName(table) + u" ("_s
               + joinedDefinitions(*this, definitions) + u") ON COMMIT PRESERVE ROWS"_s;
    }
    std::optional<QString> currentDatabaseQuery() const override
    {
        return u"SELECT SYS_CONTEXT('USERENV','DB_NAME') FROM DUAL"_s;
    }

    DbErrorKind classify(const QSqlError &error) const override
    {
        // ORA-01017 login refused, 12541/12545/12154 no listener or unknown service,
        // 00942 missing table, 12899/01401 too long, 00904/00907/00933/01430/01442 statement text.
        const QString text = error.databaseText() + u' ' + error.driverText();
        if (text.contains(u"ORA-01017"_s))
            return DbErrorKind::LoginRefused;
        if (text.contains(u"ORA-12541"_s) || text.contains(u"ORA-12545"_s) || text.contains(u"ORA-12154"_s))
            return DbErrorKind::ServerUnreachable;
        if (text.contains(u"ORA-00942"_s))
            return DbErrorKind::MissingTable;
        if (text.contains(u"ORA-12899"_s) || text.contains(u"ORA-01401"_s) || text.contains(u"ORA-01441"_s))
            return DbErrorKind::Truncation;
        if (text.contains(u"ORA-00904"_s) || text.contains(u"ORA-00907"_s) || text.contains(u"ORA-00933"_s)
            || text.contains(u"ORA-01430"_s) || text.contains(u"ORA-01442"_s))
            return DbErrorKind::CommandText;
        return classifyOdbc(error, {1017}, {942}, {12899}, {904, 907, 933, 1430, 1442});
    }
};

} // namespace

SqlDialect::~SqlDialect() = default;

QString SqlDialect::coalesce(const QString &expression, const QString &replacement) const
{
    return u"COALESCE("_s + expression + u", "_s + replacement + u')';
}

QString SqlDialect::concat(const QStringList &parts) const { return u'(' + parts.join(u" || "_s) + u')'; }

QString SqlDialect::length(const QString &expression) const { return u"LENGTH("_s + expression + u')'; }

QString SqlDialect::nowSeconds() const { return u"DATEDIFF(SECOND, '19700101', GETUTCDATE())"_s; }

QString SqlDialect::createTable(const QString &table, const QStringList &definitions) const
{
    return u"CREATE TABLE "_s + tableName(table) + u" ("_s + joinedDefinitions(*this, definitions) + u')';
}

QString SqlDialect::addColumn(const QString &table, const QString &definition) const
{
    return u"ALTER TABLE "_s + tableName(table) + u" ADD "_s + columnDefinition(definition);
}

QString SqlDialect::createIndex(const QString &index, const QString &table, const QStringList &columns,
                                bool unique) const
{
    return (unique ? u"CREATE UNIQUE INDEX "_s : u"CREATE INDEX "_s) + index + u" ON "_s + table + u" ("_s
           + columns.join(u", "_s) + u')';
}

std::optional<QString> SqlDialect::joinedUpdate(const QString &, const QString &, const QStringList &,
                                                const QStringList &, const QStringList &, const QString &) const
{
    return std::nullopt;
}

QString SqlDialect::createTemporaryTable(const QString &table, const QStringList &definitions) const
{
    return u"CREATE TEMPORARY TABLE "_s + temporaryTableName(table) + u" ("_s + joinedDefinitions(*this, definitions)
           + u')';
}

QString SqlDialect::dropTemporaryTable(const QString &table) const
{
    return u"DROP TABLE "_s + temporaryTableName(table);
}

std::optional<Backend> backendOfType(const QString &type)
{
    for (const Backend backend : {Backend::SQLite, Backend::MySql, Backend::SqlServer, Backend::Oracle}) {
        if (type.trimmed().compare(SqlDialect::forBackend(backend)->name(), Qt::CaseInsensitive) == 0)
            return backend;
    }
    return std::nullopt;
}

std::unique_ptr<SqlDialect> SqlDialect::forBackend(Backend backend)
{
    switch (backend) {
    case Backend::SQLite: return std::make_unique<SqliteDialect>();
    case Backend::MySql: return std::make_unique<MySqlDialect>();
    case Backend::SqlServer: return std::make_unique<SqlServerDialect>();
    case Backend::Oracle: return std::make_unique<OracleDialect>();
    }
    return nullptr;
}

} // namespace sw
