// SPDX-License-Identifier: GPL-3.0-or-later
// Schema creation and upgrade on every backend the tests can reach.
#include "shell/db/schema.h"
#include "shell/backup/upgraderun.h"
#include "shell/db/schemaupgrade.h"
#include "support/scriptedprompter.h"
#include "support/testdatabase.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::TestBackend;

namespace {

QStringList columnsOf(Database &db, const QString &table)
{
    const BoundSql listing = db.dialect().columnListing(table);
    QStringList out;
    Rows rows = db.query(listing.sql, listing.params);
    while (rows.next())
        out.append(rows.text(1).toUpper());
    return out;
}

QStringList definedColumns(const QString &table)
{
    QStringList out;
    for (const QString &d : schema::splitDefinitions(schema::find(table)->columns))
        out.append(schema::columnName(d));
    return out;
}

class SchemaTest : public test::InstalledFolderTest
{
protected:
    // The columns a table has on this backend: its defined ones, then the key column the
    // servers that need a declared primary key add.
    QStringList expectedColumns(const QString &table) const
    {
        QStringList out = definedColumns(table);
        if (m_db->dialect().rowKeyDefinition())
            out << schema::kRowKeyColumn;
        return out;
    }
    // The tables a server holds without a primary key (none may lack one on a cluster).
    QStringList tablesWithoutPrimaryKey() const
    {
        QStringList out;
        if (GetParam() != TestBackend::MariaDB)
            return out;
        Rows rows = m_db->query(u"select t.table_name from information_schema.tables t where t.table_schema = "
                                "database() and not exists (select 1 from information_schema.table_constraints c "
                                "where c.table_schema = t.table_schema and c.table_name = t.table_name and "
                                "c.constraint_type = 'PRIMARY KEY')"_s);
        while (rows.next())
            out << rows.text(0);
        return out;
    }
    test::ScriptedPrompter m_prompter;
};

TEST_P(SchemaTest, InstallCreatesEveryTableWithItsColumnsInOrderAndAnUpgradeOfItChangesNothing)
{
    // The fourteen, the stationery register's journal and sheets, the audit trail and the
    // programs working on the database, and the certificates' places on the status lists.
    ASSERT_EQ(schema::tables().size(), 19u);
    for (const schema::TableDefinition &t : schema::tables())
        EXPECT_EQ(columnsOf(*m_db, t.name), expectedColumns(t.name)) << t.name.toStdString();
    EXPECT_EQ(m_folder->installResult().schema.createdTables.size(), 19);
    EXPECT_EQ(tablesWithoutPrimaryKey(), QStringList());
    EXPECT_TRUE(columnsOf(*m_db, u"COLLEGE"_s).contains(u"FTOWN"_s));
    EXPECT_TRUE(columnsOf(*m_db, u"CONTROL"_s).contains(u"FNADID"_s));
    for (const schema::IndexDefinition &index : schema::indexes()) {
        const BoundSql listing = m_db->dialect().indexListing(index.table, index.name);
        EXPECT_TRUE(m_db->exists(listing.sql, listing.params)) << index.name.toStdString();
    }

    // An upgrade of the database just made changes nothing.
    const UpgradeReport report = SchemaUpgrade(*m_db, m_prompter).run();
    EXPECT_TRUE(report.createdTables.isEmpty());
    EXPECT_TRUE(report.addedColumns.isEmpty());
    EXPECT_TRUE(report.createdIndexes.isEmpty());
    EXPECT_FALSE(report.stoppedEarly);
    EXPECT_TRUE(m_prompter.shown().empty());
}

TEST_P(SchemaTest, TheCandidateKeyWaitsWhileRowsRepeatItAndTheyAreNamed)
{
    // A database the older imports left with a candidate stored twice: the upgrade cannot
    // know which row is right, so the key waits and the rows are named, and nothing stops.
    m_db->exec(u"DROP INDEX ux_convo_candidate"_s + (GetParam() == TestBackend::MariaDB ? u" ON convo"_s : QString()));
    const QString insert =
        u"insert into convo (fregno, fname, fdegree, fcollcode, fconvocode) values (?, ?, 'BA', 'C01', 'C26')"_s;
    m_db->exec(insert, {u"R1"_s, u"ONE"_s});
    m_db->exec(insert, {u"R1"_s, u"TWICE"_s});
    SchemaUpgrade upgrade(*m_db, m_prompter);
    UpgradeReport report = upgrade.run();
    EXPECT_FALSE(report.stoppedEarly);
    EXPECT_FALSE(report.createdIndexes.contains(u"ux_convo_candidate"_s));
    ASSERT_EQ(report.skippedStatements.size(), 1);
    EXPECT_TRUE(report.skippedStatements.front().endsWith(u"C26 R1 BA C01 (2 rows)"_s))
        << report.skippedStatements.front().toStdString();

    m_db->exec(u"delete from convo where fname = 'TWICE'"_s);
    report = upgrade.run();
    EXPECT_EQ(report.createdIndexes, QStringList{u"ux_convo_candidate"_s});
    EXPECT_THROW(m_db->exec(insert, {u"r1"_s, u"AGAIN"_s}), DbError);
}

TEST_P(SchemaTest, UpgradeCreatesMissingTablesAndAddsMissingColumnsInOrder)
{
    m_db->exec(u"DROP TABLE "_s + m_db->table(u"RECCERT"_s));
    m_db->exec(u"DROP TABLE "_s + m_db->table(u"KANLIB"_s));
    // An older KANLIB held only the English name; rows already in it must stay.
    m_db->exec(u"CREATE TABLE "_s + m_db->table(u"KANLIB"_s) + u" (FENGNAME VARCHAR(50))"_s);
    m_db->exec(u"INSERT INTO kanlib (fengname) VALUES (?)"_s, {u"RAMA"_s});
    m_db->exec(u"DROP TABLE "_s + m_db->table(u"MASUNIV"_s));
    m_db->exec(u"CREATE TABLE "_s + m_db->table(u"MASUNIV"_s) + u" (FUNIVCODE VARCHAR(4))"_s);

    SchemaUpgrade upgrade(*m_db, m_prompter);
    const UpgradeReport report = upgrade.run();
    EXPECT_EQ(report.createdTables, QStringList{u"RECCERT"_s});
    QStringList added{u"KANLIB.FKANNAME"_s, u"MASUNIV.FUNIVNAME"_s, u"MASUNIV.FDELETED"_s};
    if (m_db->dialect().rowKeyDefinition())
        added = QStringList{u"KANLIB.FROWID"_s, u"KANLIB.FKANNAME"_s, u"MASUNIV.FROWID"_s, u"MASUNIV.FUNIVNAME"_s,
                            u"MASUNIV.FDELETED"_s};
    EXPECT_EQ(report.addedColumns, added);
    // The key column comes first on a table that lacked it: it is added before the missing ones.
    QStringList masuniv = definedColumns(u"MASUNIV"_s);
    if (m_db->dialect().rowKeyDefinition())
        masuniv.insert(1, schema::kRowKeyColumn);
    EXPECT_EQ(columnsOf(*m_db, u"MASUNIV"_s), masuniv);
    EXPECT_EQ(tablesWithoutPrimaryKey(), QStringList());
    EXPECT_EQ(m_db->scalar(u"SELECT fengname FROM kanlib"_s).toString(), u"RAMA"_s);
    EXPECT_FALSE(report.stoppedEarly);
}

TEST_P(SchemaTest, TablesLackingTheirLastColumnsGainThemWithoutLosingRows)
{
    // A control table from a program that did not know the last three columns.
    m_db->exec(u"DROP TABLE "_s + m_db->table(u"CONTROL"_s));
    QStringList defs = schema::splitDefinitions(schema::find(u"CONTROL"_s)->columns);
    defs.resize(defs.size() - 3);
    m_db->exec(m_db->dialect().createTable(u"CONTROL"_s, defs));
    m_db->exec(u"INSERT INTO control (funitcode, fversion) VALUES (?, ?)"_s, {u"008"_s, u"0.9.0"_s});
    m_db->exec(u"INSERT INTO control (funitcode) VALUES (?)"_s, {u"001"_s});

    SchemaUpgrade upgrade(*m_db, m_prompter);
    const UpgradeReport report = upgrade.run();
    ASSERT_FALSE(report.stoppedEarly);
    upgrade.stampVersion(u"1.0.0"_s);
    QStringList added{u"CONTROL.FCONVDATE"_s, u"CONTROL.FDEGKAN"_s, u"CONTROL.FNADID"_s};
    if (m_db->dialect().rowKeyDefinition())
        added.prepend(u"CONTROL.FROWID"_s);
    EXPECT_EQ(report.addedColumns, added);
    EXPECT_EQ(tablesWithoutPrimaryKey(), QStringList());
    EXPECT_TRUE(m_db->exists(u"SELECT 1 FROM control WHERE funitcode = '008'"_s));
    // The stamp goes on every row.
    EXPECT_EQ(m_db->scalar(u"SELECT count(*) FROM control WHERE fversion = '1.0.0'"_s).toInt(), 2);
}

TEST_P(SchemaTest, ACandidateTableWithoutTheAbcIdGainsItAndItsIndexKeepingItsRows)
{
    // The candidate table of a database made before the academic account ID was held.
    m_db->exec(u"DROP TABLE "_s + m_db->table(u"CONVO"_s));
    QStringList defs = schema::splitDefinitions(schema::find(u"CONVO"_s)->columns);
    ASSERT_EQ(schema::columnName(defs.last()), u"FABCID"_s);
    defs.removeLast();
    m_db->exec(m_db->dialect().createTable(u"CONVO"_s, defs));
    m_db->exec(u"INSERT INTO convo (fregno, fname, fconvocode) VALUES ('R1', 'ASHA', 'C26')"_s);

    const UpgradeReport report = SchemaUpgrade(*m_db, m_prompter).run();
    ASSERT_FALSE(report.stoppedEarly);
    EXPECT_TRUE(report.addedColumns.contains(u"CONVO.FABCID"_s)) << report.addedColumns.join(u' ').toStdString();
    EXPECT_TRUE(report.createdIndexes.contains(u"ix_convo_abcid"_s));
    QStringList columns = columnsOf(*m_db, u"CONVO"_s);
    columns.removeAll(schema::kRowKeyColumn);
    EXPECT_EQ(columns, definedColumns(u"CONVO"_s));
    EXPECT_EQ(m_db->scalar(u"SELECT fname FROM convo WHERE fregno = 'R1'"_s).toString(), u"ASHA"_s);
    m_db->exec(u"UPDATE convo SET fabcid = '123456789012'"_s);
    EXPECT_EQ(m_db->scalar(u"SELECT fregno FROM convo WHERE fabcid = '123456789012'"_s).toString(), u"R1"_s);
}

INSTANTIATE_TEST_SUITE_P(Backends, SchemaTest, test::bothBackends(), test::backendName);

// Only MariaDB re-declares columns (SQLite cannot), so the two skipped error kinds
// are proven on the server.
class MariaDbUpgradeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!test::backendAvailable(TestBackend::MariaDB))
            GTEST_SKIP();
        m_folder = std::make_unique<test::InstalledFolder>(TestBackend::MariaDB);
        m_db = m_folder->connect();
    }
    std::unique_ptr<test::InstalledFolder> m_folder;
    std::unique_ptr<Database> m_db;
    test::ScriptedPrompter m_prompter;
};

TEST_F(MariaDbUpgradeTest, ReDeclaresColumnsToTheirDefinedWidths)
{
    m_db->exec(u"ALTER TABLE college MODIFY COLUMN FCOLLNAME VARCHAR(20)"_s);
    const UpgradeReport report = SchemaUpgrade(*m_db, m_prompter).run();
    EXPECT_GT(report.redeclaredColumns, 150);
    EXPECT_EQ(m_db->scalar(u"SELECT character_maximum_length FROM information_schema.columns WHERE "
                           "table_schema = DATABASE() AND table_name = 'college' AND column_name = 'FCOLLNAME'"_s)
                  .toInt(),
              100);
}

TEST_F(MariaDbUpgradeTest, TruncationIsSkippedAndTheColumnKeepsItsData)
{
    // The column was widened by hand and holds a longer value than the definition allows.
    m_db->exec(u"ALTER TABLE masuniv MODIFY COLUMN FUNIVCODE VARCHAR(12)"_s);
    m_db->exec(u"INSERT INTO masuniv (funivcode, funivname) VALUES (?, ?)"_s, {u"TOOLONGCODE1"_s, u"X"_s});
    const UpgradeReport report = SchemaUpgrade(*m_db, m_prompter).run();
    EXPECT_FALSE(report.stoppedEarly);
    ASSERT_EQ(report.skippedStatements.size(), 1) << report.skippedStatements.join(u'\n').toStdString();
    EXPECT_TRUE(report.skippedStatements.first().contains(u"FUNIVCODE"_s));
    EXPECT_EQ(m_db->scalar(u"SELECT funivcode FROM masuniv"_s).toString(), u"TOOLONGCODE1"_s);
    // The rest of the list was still treated.
    EXPECT_GT(report.redeclaredColumns, 150);
    EXPECT_TRUE(m_prompter.shown().empty());
}

// A view standing where a table is expected: its columns are listed, but a view cannot
// be altered. MariaDB reports that as a wrong object type (not command text), so the
// upgrade shows it and stops early. An upgrade that stopped early keeps the old stamp,
// so the next start tries again; the copy it took first is there and named.
TEST_F(MariaDbUpgradeTest, AnErrorThatIsNotCommandTextStopsTheUpgradeUnstampedAndItsCopyIsKept)
{
    m_db->exec(u"update control set fversion = '0.9.0'"_s);
    m_db->exec(u"DROP TABLE masuniv"_s);
    m_db->exec(u"CREATE VIEW masuniv AS SELECT fcollcode AS FUNIVCODE, fcollname AS FUNIVNAME FROM college"_s);
    const UpgradeRun::Result result = UpgradeRun(*m_db, m_folder->folder(), m_prompter).run(u"1.1.0"_s);
    m_db->exec(u"DROP VIEW masuniv"_s);
    EXPECT_EQ(result.outcome, UpgradeRun::Outcome::Incomplete);
    // Where the copy went, the error that stopped it, and what that means.
    ASSERT_EQ(m_prompter.shown().size(), 3u) << m_prompter.texts().join(u'|').toStdString();
    EXPECT_EQ(m_prompter.shown()[1].icon, PromptIcon::Exclamation);
    EXPECT_EQ(m_db->scalar(u"SELECT fversion FROM control"_s).toString(), u"0.9.0"_s);
    EXPECT_TRUE(QFile::exists(result.backupFile)) << result.backupFile.toStdString();
    EXPECT_EQ(m_prompter.last(), u"The upgrade did not complete: the database keeps its version 0.9.0 and is upgraded "
                                 "again at the next start."_s);
}

} // namespace
