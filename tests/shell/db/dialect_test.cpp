// SPDX-License-Identifier: GPL-3.0-or-later
// What differs between the servers: the database type read into a backend, and the
// constructs each dialect supplies for it.
#include "shell/db/connectionsettings.h"
#include "shell/db/database.h"
#include "support/testdatabase.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

// The database type is read once into a backend; everything else asks the backend.
TEST(DatabaseType, NamesItsBackendWhateverTheCaseAndBlanks)
{
    const struct
    {
        QString type;
        std::optional<Backend> backend;
    } cases[] = {
        {u"SQLITE"_s, Backend::SQLite},
        {u"sqlite"_s, Backend::SQLite},
        {u" MySql "_s, Backend::MySql},
        {u"SQLSRVR"_s, Backend::SqlServer},
        {u"oracle\t"_s, Backend::Oracle},
        // Offered by the configuration dialog, but opens no database.
        {u"ACCESS"_s, std::nullopt},
        {u""_s, std::nullopt},
        {u"SQL SERVER"_s, std::nullopt},
        {u"MYSQL5"_s, std::nullopt},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(backendOfType(c.type), c.backend) << c.type.toStdString();
        ConnectionSettings s;
        s.dbType = c.type;
        EXPECT_EQ(s.backend(), c.backend) << c.type.toStdString();
    }
    // Every dialect's own name reads back as its backend.
    for (const Backend b : {Backend::SQLite, Backend::MySql, Backend::SqlServer, Backend::Oracle})
        EXPECT_EQ(backendOfType(SqlDialect::forBackend(b)->name()), b);
}

// Temporary tables, the write lock and the database's name, in each server's own form.
TEST(DialectForms, EachBackendWritesItsOwn)
{
    const QStringList definitions = {u"fregno VARCHAR(100)"_s};
    const struct
    {
        Backend backend;
        QString addressed;
        QString create;
        QString drop;
        std::optional<QString> beginWrite;
        bool asksDatabaseName;
    } cases[] = {
        {Backend::SQLite, u"tmpx"_s, u"CREATE TEMP TABLE tmpx (fregno VARCHAR(100) COLLATE NOCASE)"_s,
         u"DROP TABLE tmpx"_s, u"BEGIN IMMEDIATE"_s, false},
        {Backend::MySql, u"tmpx"_s,
         u"CREATE TEMPORARY TABLE tmpx (fregno VARCHAR(100)) DEFAULT CHARSET=utf8mb4 COLLATE=utf8mb4_general_ci"_s,
         u"DROP TEMPORARY TABLE IF EXISTS tmpx"_s, std::nullopt, true},
        {Backend::SqlServer, u"#tmpx"_s, u"CREATE TABLE #tmpx (fregno VARCHAR(100))"_s, u"DROP TABLE #tmpx"_s,
         std::nullopt, true},
        {Backend::Oracle, u"tmpx"_s,
         u"CREATE GLOBAL TEMPORARY TABLE tmpx (fregno VARCHAR2(100)) ON COMMIT PRESERVE ROWS"_s, u"DROP TABLE tmpx"_s,
         std::nullopt, true},
    };
    for (const auto &c : cases) {
        const auto d = SqlDialect::forBackend(c.backend);
        SCOPED_TRACE(d->name().toStdString());
        EXPECT_EQ(d->temporaryTableName(u"tmpx"_s), c.addressed);
        EXPECT_EQ(d->createTemporaryTable(u"tmpx"_s, definitions), c.create);
        EXPECT_EQ(d->dropTemporaryTable(u"tmpx"_s), c.drop);
        EXPECT_EQ(d->beginWriteStatement(), c.beginWrite);
        EXPECT_EQ(d->currentDatabaseQuery().has_value(), c.asksDatabaseName);
    }
}

class DialectTest : public test::InstalledFolderTest
{
};

// A temporary table made by the dialect is found under the name it gives, and is the
// connection's own.
TEST_P(DialectTest, TemporaryTableIsReachedByItsDialectName)
{
    const QString tmp = m_db->temporaryTable(u"tmpdialect"_s);
    m_db->exec(m_db->dialect().createTemporaryTable(u"tmpdialect"_s, {u"fregno VARCHAR(20)"_s}));
    m_db->exec(u"insert into "_s + tmp + u" (fregno) values (?)"_s, {u"R1"_s});
    EXPECT_EQ(m_db->scalar(u"select count(*) from "_s + tmp + u" where fregno = ?"_s, {u"r1"_s}).toInt(), 1);
    auto other = m_folder->connect();
    EXPECT_THROW(other->scalar(u"select count(*) from "_s + other->temporaryTable(u"tmpdialect"_s)), DbError);
    m_db->exec(m_db->dialect().dropTemporaryTable(u"tmpdialect"_s));
    EXPECT_THROW(m_db->scalar(u"select count(*) from "_s + tmp), DbError);
}

INSTANTIATE_TEST_SUITE_P(Backends, DialectTest, test::bothBackends(), test::backendName);

} // namespace
