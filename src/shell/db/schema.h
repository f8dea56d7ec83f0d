// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace sw::schema {

// The key column the backends that need a declared primary key add to every table
// (SqlDialect::rowKeyDefinition); no statement of the system names it.
inline const QString kRowKeyColumn = QStringLiteral("FROWID");

// One table of the application database: its name and its column-definition
// text, definitions separated by ", ", each "NAME TYPE".
struct TableDefinition
{
    QString name;
    QString columns;
};

// The application's tables, in the order the upgrade treats them.
const std::vector<TableDefinition> &tables();
const TableDefinition *find(const QString &table);

// The column definitions of a definition text, split at ", ".
QStringList splitDefinitions(const QString &columns);
// The column name of one definition: the text up to its first blank, trimmed.
QString columnName(const QString &definition);
// The declared width of a text column (VARCHAR(n)), the table and column named in any
// letter case; 0 for a column without one (dates, numbers) or unknown. Every store
// and import holds values to these widths before a statement runs, so each backend
// refuses a value that does not fit with the same message.
int columnWidth(const QString &table, const QString &column);

// The legacy Kannada font a column's text is typed in ("Nudi 01 e" for the candidates'
// names, "BRH Kannada" for the masters' texts and the name library), given the column's
// name with or without its table ("convo.fnamekan"); empty for a column of other text.
QString kannadaFont(const QString &column);

// Indexes on the columns the screens filter by, which change no behaviour, and the
// unique keys that guard what must never be stored twice.
struct IndexDefinition
{
    QString name;
    QString table;
    QStringList columns;
    bool unique = false;
};
const std::vector<IndexDefinition> &indexes();

} // namespace sw::schema
