// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace sw {

namespace schema {
struct IndexDefinition;
}

class Database;
class Prompter;

// What one upgrade did, for the command-line tool and the tests.
struct UpgradeReport
{
    QStringList createdTables;
    QStringList addedColumns; // "TABLE.COLUMN"
    int redeclaredColumns = 0;
    QStringList createdIndexes;
    QStringList skippedStatements; // statement text + " -- " + the database's reason
    bool stoppedEarly = false;
};

// Brings every table of the schema to its definitions: creates missing tables,
// adds missing columns in definition order and re-declares existing ones where the
// backend can. A statement that fails as wrong command text or as truncation is
// skipped; any other failure is shown and ends the upgrade early.
class SchemaUpgrade
{
public:
    SchemaUpgrade(Database &db, Prompter &prompter);

    UpgradeReport run();

    // Stamps every control row with `version`.
    void stampVersion(const QString &version);

private:
    bool treatTable(const QString &table, const QString &columns, UpgradeReport &report);
    bool execOrSkip(const QString &sql, UpgradeReport &report);
    void createIndexes(UpgradeReport &report);
    // The keys of a unique index that rows of its table already repeat (at most `limit`).
    QStringList repeatedKeys(const schema::IndexDefinition &index, int limit) const;

    Database &m_db;
    Prompter &m_prompter;
};

} // namespace sw
