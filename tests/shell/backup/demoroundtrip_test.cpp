// SPDX-License-Identifier: GPL-3.0-or-later
// The demonstration database backed up, spoiled and restored: every row of every table
// comes back exactly, on SQLite and on MariaDB (whose copy goes through the client tools).
#include "app/demo/demofolder.h"
#include "shell/backup/backuprun.h"
#include "shell/db/schema.h"
#include "shell/session.h"
#include "support/scriptedprompter.h"
#include "support/testdatabase.h"

#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::TestBackend;

namespace {

using Snapshot = std::map<QString, QStringList>;

QStringList columnsOf(const schema::TableDefinition &table)
{
    QStringList columns;
    for (const QString &definition : schema::splitDefinitions(table.columns))
        columns << schema::columnName(definition);
    return columns;
}

// Every row of every application table as text, the rows of a table sorted.
Snapshot snapshot(Database &db)
{
    Snapshot out;
    for (const schema::TableDefinition &table : schema::tables()) {
        const QStringList columns = columnsOf(table);
        QStringList rows;
        Rows r = db.query(u"select "_s + columns.join(u", "_s) + u" from "_s + db.table(table.name));
        while (r.next()) {
            QStringList values;
            for (int i = 0; i < columns.size(); ++i) {
                const QVariant v = r.value(i);
                values << (v.isNull() ? u"<null>"_s : v.toString());
            }
            rows << values.join(u'|');
        }
        rows.sort();
        out[table.name] = rows;
    }
    return out;
}

// The demo's rows copied into another installed database, table by table.
void copyRows(Database &from, Database &to)
{
    WriteScope scope(to);
    for (const schema::TableDefinition &table : schema::tables()) {
        const QStringList columns = columnsOf(table);
        to.exec(u"delete from "_s + to.table(table.name));
        Statement insert = to.prepare(u"insert into "_s + to.table(table.name) + u" ("_s + columns.join(u", "_s)
                                      + u") values ("_s + QStringList(columns.size(), u"?"_s).join(u", "_s) + u')');
        Rows r = from.query(u"select "_s + columns.join(u", "_s) + u" from "_s + from.table(table.name));
        while (r.next()) {
            QVariantList values;
            for (int i = 0; i < columns.size(); ++i)
                values << r.value(i);
            insert.exec(values);
        }
    }
    scope.commit();
}

using DemoRoundTripTest = ::testing::TestWithParam<TestBackend>;

TEST_P(DemoRoundTripTest, EveryRowOfTheDemoComesBackAfterARestore)
{
    if (!test::backendAvailable(GetParam()))
        GTEST_SKIP() << "no server for this backend";
    if (GetParam() == TestBackend::MariaDB && QStandardPaths::findExecutable(u"mariadb-dump"_s).isEmpty()
        && QStandardPaths::findExecutable(u"mysqldump"_s).isEmpty())
        GTEST_SKIP() << "the MariaDB client tools are not installed";

    test::ScriptedPrompter prompter;
    QTemporaryDir demoDir;
    const AppFolder demo(demoDir.path());
    DemoFolder::build(demo, prompter);

    test::InstalledFolder folder(GetParam());
    Session session;
    session.folder = folder.folder();
    session.cn = folder.connect();
    {
        const auto demoDb = test::connectTo(demo);
        copyRows(*demoDb, session.db());
    }
    const Snapshot before = snapshot(session.db());
    ASSERT_GT(before.at(u"CONVO"_s).size(), 250);
    ASSERT_FALSE(before.at(u"KANLIB"_s).isEmpty());

    const BackupRun::Result backup = BackupRun(session, prompter).run(QDate(2026, 12, 6));
    ASSERT_TRUE(backup.done) << prompter.last().toStdString();

    // Spoil the database every way a day's work could.
    Database &db = session.db();
    db.exec(u"delete from convo where fregno like '%1%'"_s);
    db.exec(u"update convo set fname = 'SPOILT', fnamekan = null"_s);
    db.exec(u"delete from kanlib"_s);
    db.exec(u"update masuser set fpermission = ''"_s);
    db.exec(u"insert into college (fcollcode, fcollname) values ('ZZZ', 'ADDED AFTER THE BACKUP')"_s);
    session.cn.reset();

    prompter.answer(PromptAnswer::Yes);
    ASSERT_EQ(RestoreRun(folder.folder(), prompter).run(backup.file), RestoreRun::Outcome::Restored)
        << prompter.last().toStdString();
    const Snapshot after = snapshot(*folder.connect());
    for (const auto &[table, rows] : before) {
        // The audit trail goes on: the restored database gains the restore's own line.
        if (table == u"AUDIT"_s) {
            EXPECT_EQ(after.at(table).size(), rows.size() + 1) << table.toStdString();
            continue;
        }
        EXPECT_EQ(after.at(table), rows) << table.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, DemoRoundTripTest, test::bothBackends(), test::backendName);

} // namespace
