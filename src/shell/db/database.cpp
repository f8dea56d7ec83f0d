// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/db/database.h"
#include "shell/db/sessionlock.h"
#include "shell/db/statementfault.h"
#include "shell/core/dates.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlError>
#include <QThread>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace sw {

namespace {
constexpr int kStatementAttempts = 8;

void bindAll(QSqlQuery &q, const QVariantList &params)
{
    for (qsizetype i = 0; i < params.size(); ++i)
        q.bindValue(int(i), params.at(i));
}

// The test seam (shell/db/statementfault.h): the statement fails before it reaches the server.
void strikeIfArmed(const Database &db, const QString &sql)
{
    if (auto error = StatementFault::strike(db, sql))
        throw *error;
}
} // namespace

QString Rows::text(const QString &column) const
{
    const QVariant v = m_query->value(column);
    return v.isNull() ? QString() : v.toString();
}

QString Rows::text(int index) const
{
    const QVariant v = m_query->value(index);
    return v.isNull() ? QString() : v.toString();
}

QDate Rows::date(const QString &column) const { return dateOfValue(m_query->value(column)); }

QDate Rows::date(int index) const { return dateOfValue(m_query->value(index)); }

Rows Statement::run(const QVariantList &params)
{
    strikeIfArmed(*m_db, m_sql);
    bindAll(m_query, params);
    if (!m_query.exec())
        m_db->fail(m_query.lastError(), m_sql);
    return Rows(&m_query);
}

int Statement::exec(const QVariantList &params)
{
    strikeIfArmed(*m_db, m_sql);
    bindAll(m_query, params);
    if (!m_query.exec())
        m_db->fail(m_query.lastError(), m_sql);
    return m_query.numRowsAffected();
}

Database::Database()
    : m_dialect(SqlDialect::forBackend(Backend::SqlServer))
{
}

Database::Database(QSqlDatabase handle, std::unique_ptr<SqlDialect> dialect)
    : m_handle(std::move(handle))
    , m_dialect(std::move(dialect))
    , m_connectionName(m_handle.connectionName())
{
}

Database::~Database()
{
    if (m_connectionName.isEmpty())
        return;
    if (m_handle.isOpen())
        m_handle.close();
    m_handle = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
}

bool Database::isOpen() const { return m_handle.isValid() && m_handle.isOpen(); }

QString Database::currentDatabaseName() const
{
    if (!isOpen())
        return {};
    if (const std::optional<QString> sql = m_dialect->currentDatabaseQuery())
        return scalar(*sql).toString();
    const QString file = m_handle.databaseName();
    const qsizetype slash = file.lastIndexOf(u'/');
    QString base = file.mid(slash + 1);
    if (base.endsWith(u".sqlite"_s, Qt::CaseInsensitive))
        base.chop(7);
    return base;
}

namespace {
[[noreturn]] void throwClassified(const SqlDialect &dialect, const QSqlError &error, const QString &sql)
{
    QString description = error.databaseText().trimmed();
    if (description.isEmpty())
        description = error.driverText().trimmed();
    throw DbError(dialect.classify(error), error.nativeErrorCode(), description, sql);
}
} // namespace

void Database::fail(const QSqlError &error, const QString &sql) const { throwClassified(*m_dialect, error, sql); }

void Database::failOpen(QSqlDatabase &handle, Backend backend)
{
    const QSqlError error = handle.lastError();
    const QString name = handle.connectionName();
    handle = QSqlDatabase();
    QSqlDatabase::removeDatabase(name);
    throwClassified(*SqlDialect::forBackend(backend), error, u"CONNECT"_s);
}

namespace {
[[noreturn]] void notConnected(const QString &sql)
{
    throw DbError(
        DbErrorKind::NotConnected, QString::fromLatin1(dberrnum::kNotConnected),
        u"The connection cannot be used to perform this operation. It is either closed or invalid in this context."_s,
        sql);
}
} // namespace

Rows Database::query(const QString &sql, const QVariantList &params) const
{
    if (!isOpen())
        notConnected(sql);
    strikeIfArmed(*this, sql);
    for (int attempt = 1;; ++attempt) {
        QSqlQuery q(m_handle);
        q.setForwardOnly(true);
        // Statements without values go through the plain text protocol: some servers
        // refuse to prepare DDL and session statements.
        const bool ok = params.isEmpty() ? q.exec(sql) : (q.prepare(sql) && (bindAll(q, params), q.exec()));
        if (ok)
            return Rows(std::move(q));
        try {
            fail(q.lastError(), sql);
        } catch (const DbError &e) {
            // Inside a transaction the server has undone more than this statement: the
            // whole scope is made again (retryingConflicts), not the statement.
            if (m_depth > 0 || attempt >= kStatementAttempts || !isConflict(e))
                throw;
        }
        pauseAfterConflict(attempt);
    }
}

int Database::exec(const QString &sql, const QVariantList &params)
{
    Rows rows = query(sql, params);
    return rows.query().numRowsAffected();
}

QVariant Database::scalar(const QString &sql, const QVariantList &params) const
{
    Rows rows = query(sql, params);
    return rows.next() ? rows.value(0) : QVariant();
}

bool Database::exists(const QString &sql, const QVariantList &params) const
{
    Rows rows = query(sql, params);
    return rows.next();
}

Statement Database::prepare(const QString &sql) const
{
    if (!isOpen())
        notConnected(sql);
    QSqlQuery q(m_handle);
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        fail(q.lastError(), sql);
    return Statement(*this, std::move(q), sql);
}

void Database::begin()
{
    if (m_depth++ > 0)
        return;
    m_rollbackOnly = false;
    if (!isOpen())
        notConnected(u"BEGIN"_s);
    try {
        strikeIfArmed(*this, u"BEGIN"_s);
    } catch (const DbError &) {
        m_depth = 0;
        throw;
    }
    // A write scope takes the write lock at its start where the backend would otherwise
    // refuse a reader turning writer instead of waiting for it.
    if (const std::optional<QString> statement = m_dialect->beginWriteStatement()) {
        QSqlQuery begin(m_handle);
        if (!begin.exec(*statement)) {
            m_depth = 0;
            fail(begin.lastError(), *statement);
        }
        return;
    }
    if (!m_handle.transaction()) {
        m_depth = 0;
        fail(m_handle.lastError(), u"BEGIN"_s);
    }
}

void Database::commit()
{
    if (m_depth <= 0)
        return;
    if (--m_depth > 0)
        return;
    if (m_rollbackOnly) {
        m_handle.rollback();
        m_rollbackOnly = false;
        throw DbError(DbErrorKind::Other, u"-1"_s, u"The change was undone because a part of it failed."_s,
                      u"COMMIT"_s);
    }
    if (auto error = StatementFault::strike(*this, u"COMMIT"_s)) {
        m_handle.rollback();
        throw *error;
    }
    if (!m_handle.commit()) {
        const QSqlError error = m_handle.lastError();
        m_handle.rollback();
        fail(error, u"COMMIT"_s);
    }
}

void Database::rollback()
{
    if (m_depth <= 0)
        return;
    if (--m_depth > 0) {
        m_rollbackOnly = true;
        return;
    }
    m_rollbackOnly = false;
    m_handle.rollback();
}

bool isConflict(const DbError &error)
{
    // MariaDB / MySQL: 1213 deadlock (and a cluster's certification conflict), 1205 lock wait timeout.
    const QString code = error.nativeCode().trimmed();
    return code == u"1213"_s || code == u"1205"_s;
}

void pauseAfterConflict(int attempt)
{
    const int ceiling = 20 * (1 << std::min(attempt, 5));
    QThread::msleep(10 + QRandomGenerator::global()->bounded(ceiling));
}

QVariant Database::nullText() { return QVariant(QMetaType::fromType<QString>()); }

WriteScope::WriteScope(Database &db)
    : m_db(db)
{
    m_db.begin();
}

WriteScope::~WriteScope()
{
    if (!m_done)
        m_db.rollback();
}

void WriteScope::commit()
{
    m_done = true;
    m_db.commit();
}

} // namespace sw
