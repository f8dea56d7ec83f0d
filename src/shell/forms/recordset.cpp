// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/forms/recordset.h"
#include "shell/core/dates.h"

#include "shell/db/database.h"

#include <QSqlRecord>

#include <algorithm>

namespace sw {

void RecordSet::open(const Database &db, const QString &sql, const QVariantList &params)
{
    m_sql = sql;
    m_params = params;
    requery(db);
}

void RecordSet::requery(const Database &db)
{
    Rows rows = db.query(m_sql, m_params);
    const QSqlRecord record = rows.query().record();
    std::vector<QVariantList> read;
    QStringList columns;
    QHash<QString, int> index;
    for (int i = 0; i < record.count(); ++i) {
        columns.append(record.fieldName(i));
        index.insert(record.fieldName(i).toLower(), i);
    }
    while (rows.next()) {
        QVariantList values;
        values.reserve(record.count());
        for (int i = 0; i < record.count(); ++i)
            values.append(rows.value(i));
        read.push_back(std::move(values));
    }
    m_rows = std::move(read);
    m_columns = std::move(columns);
    m_index = std::move(index);
    m_open = true;
    m_position = m_rows.empty() ? 0 : 1;
}

void RecordSet::close()
{
    m_rows.clear();
    m_open = false;
    m_position = 0;
}

void RecordSet::moveFirst() { m_position = m_rows.empty() ? 0 : 1; }

void RecordSet::moveLast() { m_position = count(); }

void RecordSet::moveNext()
{
    if (!eof())
        ++m_position;
}

void RecordSet::movePrevious()
{
    if (!bof())
        --m_position;
}

void RecordSet::moveTo(int position) { m_position = m_rows.empty() ? 0 : std::clamp(position, 1, count()); }

QVariant RecordSet::value(const QString &column) const
{
    if (!onRow())
        return {};
    const auto it = m_index.constFind(column.toLower());
    if (it == m_index.constEnd())
        return {};
    return m_rows[std::size_t(m_position - 1)].at(*it);
}

QString RecordSet::text(const QString &column) const
{
    const QVariant v = value(column);
    return v.isNull() ? QString() : v.toString();
}

QDate RecordSet::date(const QString &column) const { return dateOfValue(value(column)); }

} // namespace sw
