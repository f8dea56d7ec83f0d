// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/db/database.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <optional>
#include <vector>

namespace sw {

// Rows inserted into one table with multi-row statements, so that a server gets many
// rows a round trip instead of one. Values are always bound. Each row carries a tag
// of the caller's (a record or line number) so that a row the database refuses can be
// named: when a multi-row statement fails (and so wrote nothing), its rows are
// inserted one by one and the refused ones are handed back with the reason.
// A lost connection is not a refusal: it is thrown.
class BulkInsert
{
public:
    struct Refused
    {
        int tag;
        DbError error;
    };

    // `rowValues` is the text of one row's value list, "?" for each bound value, other
    // values written in ("?, ?, 'F', ?").
    BulkInsert(Database &db, const QString &table, const QStringList &columns, const QString &rowValues,
               int rowsPerStatement = 500);

    // Queues a row; writes the queue when it is full. The refusals of that write.
    std::vector<Refused> add(const QVariantList &values, int tag);
    // Writes the queued rows; the rows refused.
    std::vector<Refused> flush();
    int queued() const { return int(m_tags.size()); }
    int rowsPerStatement() const { return m_rowsPerStatement; }

private:
    QString statement(int rows) const;

    Database &m_db;
    QString m_head;
    QString m_row;
    int m_valuesPerRow;
    int m_rowsPerStatement;
    std::optional<Statement> m_full;
    std::optional<Statement> m_single;
    QVariantList m_values;
    std::vector<int> m_tags;
};

// Whether a failed statement is the database refusing the values (a row to reject)
// rather than the connection or the statement itself failing (a run to stop).
bool isRefusedRow(const DbError &error);

} // namespace sw
