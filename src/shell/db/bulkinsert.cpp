// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/db/bulkinsert.h"

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace sw {

bool isRefusedRow(const DbError &error)
{
    // A lock that timed out or a deadlock is the transaction's fault, not the row's
    // (MariaDB 1205 and 1213, SQLite's busy and locked, 5 and 6): the run stops.
    bool numeric = false;
    const int code = error.nativeCode().trimmed().toInt(&numeric);
    if (numeric && (code == 1205 || code == 1213 || code == 5 || code == 6))
        return false;
    switch (error.kind()) {
    case DbErrorKind::Truncation:
    case DbErrorKind::Duplicate:
    case DbErrorKind::Other: return true;
    default: return false;
    }
}

BulkInsert::BulkInsert(Database &db, const QString &table, const QStringList &columns, const QString &rowValues,
                       int rowsPerStatement)
    : m_db(db)
    , m_head(u"insert into "_s + table + u" ("_s + columns.join(u", "_s) + u") values "_s)
    , m_row(u'(' + rowValues + u')')
    , m_valuesPerRow(int(rowValues.count(u'?')))
{
    // Servers cap the bound values of one statement (SQLite at 999 in older builds).
    const int cap = std::max(1, db.dialect().maxBoundValues() / std::max(1, m_valuesPerRow));
    m_rowsPerStatement = std::clamp(rowsPerStatement, 1, cap);
}

QString BulkInsert::statement(int rows) const
{
    QString sql = m_head;
    sql.reserve(m_head.size() + rows * (m_row.size() + 2));
    for (int i = 0; i < rows; ++i) {
        if (i > 0)
            sql += u", "_s;
        sql += m_row;
    }
    return sql;
}

std::vector<BulkInsert::Refused> BulkInsert::add(const QVariantList &values, int tag)
{
    m_values << values;
    m_tags.push_back(tag);
    if (int(m_tags.size()) >= m_rowsPerStatement)
        return flush();
    return {};
}

std::vector<BulkInsert::Refused> BulkInsert::flush()
{
    std::vector<Refused> refused;
    if (m_tags.empty())
        return refused;
    const QVariantList values = std::exchange(m_values, {});
    const std::vector<int> tags = std::exchange(m_tags, {});
    const int rows = int(tags.size());
    try {
        if (rows == m_rowsPerStatement) {
            if (!m_full)
                m_full.emplace(m_db.prepare(statement(rows)));
            m_full->exec(values);
        } else {
            m_db.exec(statement(rows), values);
        }
        return refused;
    } catch (const DbError &e) {
        if (!isRefusedRow(e))
            throw;
    }
    // One of the rows was refused and the statement wrote nothing: find it row by row.
    if (!m_single)
        m_single.emplace(m_db.prepare(statement(1)));
    for (int i = 0; i < rows; ++i) {
        try {
            m_single->exec(values.mid(qsizetype(i) * m_valuesPerRow, m_valuesPerRow));
        } catch (const DbError &e) {
            if (!isRefusedRow(e))
                throw;
            refused.push_back({tags[size_t(i)], e});
        }
    }
    return refused;
}

} // namespace sw
