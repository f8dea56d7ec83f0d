// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QHash>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <vector>

namespace sw {

class Database;

// The rows a record screen browses (`rsdisp`): the result of the screen's statement,
// read whole, with a current-row position that behaves like the installations'
// record sets: moving before the first row sets bof(), past the last eof(), and
// the dispatcher moves back onto the row. Positions are 1-based; 0 means no row.
class RecordSet
{
public:
    RecordSet() = default;

    // Runs the statement and stands on the first row (bof and eof when there is none).
    void open(const Database &db, const QString &sql, const QVariantList &params = {});
    // Runs the same statement again and stands on the first row.
    void requery(const Database &db);
    void close();

    bool isOpen() const { return m_open; }
    int count() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.empty(); }
    bool bof() const { return m_position < 1; }
    bool eof() const { return m_rows.empty() || m_position > count(); }
    bool onRow() const { return !bof() && !eof(); }
    // 1..count on a row, 0 otherwise.
    int absolutePosition() const { return onRow() ? m_position : 0; }

    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();
    // Moves to row `position`, kept within the rows.
    void moveTo(int position);

    // The current row's column (any letter case); null when off the rows.
    QVariant value(const QString &column) const;
    // Null reads as "".
    QString text(const QString &column) const;
    QDate date(const QString &column) const;
    QStringList columns() const { return m_columns; }

private:
    std::vector<QVariantList> m_rows;
    QStringList m_columns;
    QHash<QString, int> m_index; // lower-case column name -> field
    QString m_sql;
    QVariantList m_params;
    int m_position = 0;
    bool m_open = false;
};

} // namespace sw
