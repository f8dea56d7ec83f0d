// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/db/schemaupgrade.h"

#include "shell/core/prompter.h"
#include "shell/db/database.h"
#include "shell/db/schema.h"

using namespace Qt::StringLiterals;

namespace sw {

SchemaUpgrade::SchemaUpgrade(Database &db, Prompter &prompter)
    : m_db(db)
    , m_prompter(prompter)
{
}

bool SchemaUpgrade::execOrSkip(const QString &sql, UpgradeReport &report)
{
    try {
        m_db.exec(sql);
        return true;
    } catch (const DbError &e) {
        if (e.kind() == DbErrorKind::CommandText || e.kind() == DbErrorKind::Truncation) {
            report.skippedStatements.append(sql + u" -- "_s + e.description());
            return false;
        }
        throw;
    }
}

bool SchemaUpgrade::treatTable(const QString &table, const QString &columns, UpgradeReport &report)
{
    const QStringList definitions = schema::splitDefinitions(columns);
    if (definitions.size() < 2)
        return true;

    const SqlDialect &dialect = m_db.dialect();
    const BoundSql listing = dialect.columnListing(table);
    QStringList existing;
    Rows rows = m_db.query(listing.sql, listing.params);
    while (rows.next())
        existing.append(rows.text(1));

    // Every table has a primary key: a cluster replicates a row by it, and one that
    // insists on keys refuses a table without.
    const std::optional<QString> rowKey = dialect.rowKeyDefinition();
    if (existing.isEmpty()) {
        QStringList withKey = definitions;
        if (rowKey)
            withKey.append(*rowKey);
        if (execOrSkip(dialect.createTable(table, withKey), report))
            report.createdTables.append(table);
        return true;
    }
    if (rowKey && !existing.contains(schema::kRowKeyColumn, Qt::CaseInsensitive)) {
        if (execOrSkip(u"ALTER TABLE "_s + dialect.tableName(table) + u" ADD "_s + *rowKey, report))
            report.addedColumns.append(table + u'.' + schema::kRowKeyColumn);
    }

    for (const QString &definition : definitions) {
        const QString column = schema::columnName(definition);
        const bool found = existing.contains(column, Qt::CaseInsensitive);
        if (!found) {
            if (execOrSkip(dialect.addColumn(table, definition), report))
                report.addedColumns.append(table + u'.' + column);
            continue;
        }
        if (const auto alter = dialect.alterColumn(table, definition)) {
            if (execOrSkip(*alter, report))
                ++report.redeclaredColumns;
        }
    }
    return true;
}

QStringList SchemaUpgrade::repeatedKeys(const schema::IndexDefinition &index, int limit) const
{
    const QString columns = index.columns.join(u", "_s);
    Rows rows = m_db.query(u"select "_s + columns + u", count(*) from "_s + m_db.table(index.table) + u" group by "_s
                           + columns + u" having count(*) > 1"_s);
    QStringList out;
    while (rows.next() && out.size() < limit) {
        QStringList key;
        for (int i = 0; i < index.columns.size(); ++i)
            key << rows.text(i);
        out << key.join(u' ') + u" ("_s + rows.text(int(index.columns.size())) + u" rows)"_s;
    }
    return out;
}

void SchemaUpgrade::createIndexes(UpgradeReport &report)
{
    const SqlDialect &dialect = m_db.dialect();
    for (const schema::IndexDefinition &index : schema::indexes()) {
        const BoundSql listing = dialect.indexListing(index.table, index.name);
        if (m_db.exists(listing.sql, listing.params))
            continue;
        const QString sql = dialect.createIndex(index.name, index.table, index.columns, index.unique);
        if (index.unique) {
            // Rows stored twice before the key existed cannot be merged by a program: which
            // one is right is the section's decision. The key waits, and they are named.
            if (const QStringList repeated = repeatedKeys(index, 20); !repeated.isEmpty()) {
                report.skippedStatements.append(sql + u" -- rows stored more than once under "_s
                                                + index.columns.join(u", "_s) + u": "_s + repeated.join(u"; "_s));
                continue;
            }
        }
        if (execOrSkip(sql, report))
            report.createdIndexes.append(index.name);
    }
}

UpgradeReport SchemaUpgrade::run()
{
    UpgradeReport report;
    try {
        for (const schema::TableDefinition &t : schema::tables())
            treatTable(t.name, t.columns, report);
        createIndexes(report);
    } catch (const DbError &e) {
        report.stoppedEarly = true;
        m_prompter.message(e.message(ErrorForm::Numbered), u"Message"_s, PromptIcon::Exclamation);
    }
    return report;
}

void SchemaUpgrade::stampVersion(const QString &version) { m_db.exec(u"update control set fversion = ?"_s, {version}); }

} // namespace sw
