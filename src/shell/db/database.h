// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/db/dberror.h"
#include "shell/db/sqldialect.h"

#include <QDate>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <memory>

namespace sw {

class Database;
class PresenceKeeper;
class SessionLock;

// The rows of one executed statement. Readers treat a null as an empty text,
// as every reader of this schema must.
class Rows
{
public:
    Rows(Rows &&other) noexcept
        : m_owned(std::move(other.m_owned))
        , m_query(other.m_query == &other.m_owned ? &m_owned : other.m_query)
    {
    }
    Rows(const Rows &) = delete;
    Rows &operator=(const Rows &) = delete;
    Rows &operator=(Rows &&) = delete;

    bool next() { return m_query->next(); }
    QVariant value(const QString &column) const { return m_query->value(column); }
    QVariant value(int index) const { return m_query->value(index); }
    // The column as text: null reads as "".
    QString text(const QString &column) const;
    QString text(int index) const;
    // The column as a date (DATETIME columns hold dates only); invalid when null.
    QDate date(const QString &column) const;
    QDate date(int index) const;
    QSqlQuery &query() { return *m_query; }

private:
    friend class Database;
    friend class Statement;
    // Rows of a one-off statement own their query.
    explicit Rows(QSqlQuery query)
        : m_owned(std::move(query))
        , m_query(&m_owned)
    {
    }
    // Rows of a prepared Statement read its query in place: they are valid until the
    // statement runs again or is destroyed.
    explicit Rows(QSqlQuery *borrowed)
        : m_query(borrowed)
    {
    }
    QSqlQuery m_owned;
    QSqlQuery *m_query;
};

// A statement prepared once and executed for many rows (imports, printing runs).
class Statement
{
public:
    // Executes with `params` bound in order; throws DbError.
    Rows run(const QVariantList &params = {});
    // Executes and returns the number of rows changed.
    int exec(const QVariantList &params = {});
    // Lets go of rows not read to the end: on SQLite an unfinished statement keeps its
    // read snapshot, and a later write of the same connection would find it stale.
    void finish() { m_query.finish(); }

private:
    friend class Database;
    Statement(const Database &db, QSqlQuery query, QString sql)
        : m_db(&db)
        , m_query(std::move(query))
        , m_sql(std::move(sql))
    {
    }
    const Database *m_db;
    QSqlQuery m_query;
    QString m_sql;
};

// The one connection of a session (`cn`) and its dialect. Every statement of the
// system goes through here with its values bound: nothing read from a user, a file
// or the portal is ever put into the statement's text. Failures throw DbError,
// classified by the dialect. Not thread-safe: one Database per thread.
class Database
{
public:
    // A connection that was never opened (a database type that opens nothing):
    // every statement fails with DbErrorKind::NotConnected.
    Database();
    Database(QSqlDatabase handle, std::unique_ptr<SqlDialect> dialect);
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    bool isOpen() const;
    const SqlDialect &dialect() const { return *m_dialect; }
    Backend backend() const { return m_dialect->backend(); }
    QSqlDatabase handle() const { return m_handle; }
    // The name of the connection's current database, as the status bar shows it.
    QString currentDatabaseName() const;
    // The dialect's name for a table of the schema.
    QString table(const QString &name) const { return m_dialect->tableName(name); }
    // The dialect's name for a temporary table of the connection.
    QString temporaryTable(const QString &name) const { return m_dialect->temporaryTableName(name); }

    // Runs a statement and returns its rows.
    Rows query(const QString &sql, const QVariantList &params = {}) const;
    // Runs a statement and returns the number of rows it changed.
    int exec(const QString &sql, const QVariantList &params = {});
    // The first column of the first row, or an invalid QVariant when there is none.
    QVariant scalar(const QString &sql, const QVariantList &params = {}) const;
    bool exists(const QString &sql, const QVariantList &params = {}) const;
    Statement prepare(const QString &sql) const;

    // Transactions; see WriteScope, which is how callers use them.
    void begin();
    void commit();
    void rollback();
    int transactionDepth() const { return m_depth; }

    [[noreturn]] void fail(const QSqlError &error, const QString &sql) const;
    // A connection that did not open: the connection is removed (its last copy in
    // `handle` released first, so Qt has nothing to warn about) and its error thrown,
    // classified for `backend`.
    [[noreturn]] static void failOpen(QSqlDatabase &handle, Backend backend);

    // Held as long as the connection is open (an SQLite file's session lock).
    void holdSessionLock(std::shared_ptr<SessionLock> lock) { m_sessionLock = std::move(lock); }

    // The session's presence (shell/db/presence.h), kept alive as long as the connection is open.
    void holdPresence(std::shared_ptr<PresenceKeeper> keeper) { m_presence = std::move(keeper); }
    const std::shared_ptr<PresenceKeeper> &presence() const { return m_presence; }

    // A bound null of text type (QVariant() binds as null too, but some drivers want a type).
    static QVariant nullText();

private:
    QSqlDatabase m_handle;
    std::unique_ptr<SqlDialect> m_dialect;
    QString m_connectionName;
    int m_depth = 0;
    bool m_rollbackOnly = false;
    std::shared_ptr<SessionLock> m_sessionLock;
    std::shared_ptr<PresenceKeeper> m_presence;
};

// A change stopped by the server because another workstation's change came first: a
// deadlock, a lock waited for too long, or (on a cluster) a certification conflict
// between two servers. Made again, it succeeds.
bool isConflict(const DbError &error);
// A pause that grows with the attempt and differs between workstations, so that two
// changes that met once do not meet again.
void pauseAfterConflict(int attempt);

// Runs `change` (a whole write scope) again, after a short random pause, while the
// server stops it for a conflict; a statement outside any transaction is retried by
// the Database itself.
template <typename Change> auto retryingConflicts(Change change)
{
    constexpr int kAttempts = 8;
    for (int attempt = 1;; ++attempt) {
        try {
            return change();
        } catch (const DbError &e) {
            if (attempt >= kAttempts || !isConflict(e))
                throw;
            pauseAfterConflict(attempt);
        }
    }
}

// An RAII write scope for multi-row changes: commit explicitly, rolled back by the
// destructor otherwise. A scope opened inside another joins it; if the inner one is
// left without commit the whole outer transaction is rolled back at its end.
class WriteScope
{
public:
    explicit WriteScope(Database &db);
    ~WriteScope();
    WriteScope(const WriteScope &) = delete;
    WriteScope &operator=(const WriteScope &) = delete;

    void commit();

private:
    Database &m_db;
    bool m_done = false;
};

} // namespace sw
