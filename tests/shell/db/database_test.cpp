// SPDX-License-Identifier: GPL-3.0-or-later
// The statement helper: bound values, nulls, dates, write scopes and error kinds.
#include "shell/db/database.h"
#include "shell/db/statementfault.h"
#include "support/testdatabase.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::TestBackend;

namespace {

class DatabaseTest : public test::InstalledFolderTest
{
protected:
    int count(const QString &table) { return m_db->scalar(u"SELECT COUNT(*) FROM "_s + table).toInt(); }
};

// The error a statement fails with; an error of kind Other with number "(none)" when it ran.
template <typename Step> DbError errorOf(Step &&step)
{
    try {
        step();
    } catch (const DbError &e) {
        return e;
    }
    return DbError(DbErrorKind::Other, u"(none)"_s, u"the statement ran"_s);
}

TEST_P(DatabaseTest, ValuesAreBoundAndReadBackAsStored)
{
    // Quotes and statement text in a value are text.
    const QString hostile = u"O'Brien'); DELETE FROM masuser; --"_s;
    m_db->exec(u"INSERT INTO college (fcollcode, fcollname) VALUES (?, ?)"_s, {u"C1"_s, hostile});
    EXPECT_EQ(m_db->scalar(u"SELECT fcollname FROM college WHERE fcollcode = ?"_s, {u"C1"_s}).toString(), hostile);
    EXPECT_EQ(count(u"masuser"_s), 1);

    // Nulls read as empty text; dates round-trip.
    m_db->exec(u"INSERT INTO convo (fregno, fdate, fname) VALUES (?, ?, ?)"_s,
               {u"R1"_s, QDate(2026, 12, 6), Database::nullText()});
    Rows rows = m_db->query(u"SELECT fname, fdate, fcertno FROM convo WHERE fregno = ?"_s, {u"R1"_s});
    ASSERT_TRUE(rows.next());
    EXPECT_TRUE(rows.value(u"fname"_s).isNull());
    EXPECT_EQ(rows.text(u"fname"_s), QString());
    EXPECT_EQ(rows.text(u"fcertno"_s), QString());
    EXPECT_EQ(rows.date(u"fdate"_s), QDate(2026, 12, 6));

    // Text compares without regard to case.
    m_db->exec(u"INSERT INTO degree (fdegree, fdescpn) VALUES (?, ?)"_s, {u"BSC"_s, u"Bachelor of Science"_s});
    EXPECT_TRUE(m_db->exists(u"SELECT fdegree FROM degree WHERE fdegree = ?"_s, {u"bsc"_s}));
    EXPECT_TRUE(m_db->exists(u"SELECT fdegree FROM degree WHERE fdegree BETWEEN '0000' AND 'ZZZZ'"_s));

    // Eight-bit characters of a legacy Kannada font are stored unchanged, including the
    // 0x80..0x9F range where Windows-1252 and Latin-1 differ.
    const QString kannada = u"\u00C1\u00DA\u00A8\u00B0\u20AC\u0192\u2020\u00FE"_s;
    m_db->exec(u"INSERT INTO kanlib (fengname, fkanname) VALUES (?, ?)"_s, {u"RAMA"_s, kannada});
    EXPECT_EQ(m_db->scalar(u"SELECT fkanname FROM kanlib WHERE fengname = ?"_s, {u"RAMA"_s}).toString(), kannada);
}

TEST_P(DatabaseTest, WriteScopesRollBackUnlessEveryOneIsCommitted)
{
    {
        WriteScope scope(*m_db);
        m_db->exec(u"INSERT INTO college (fcollcode) VALUES (?)"_s, {u"A"_s});
    }
    EXPECT_EQ(count(u"college"_s), 0);
    {
        WriteScope scope(*m_db);
        m_db->exec(u"INSERT INTO college (fcollcode) VALUES (?)"_s, {u"B"_s});
        scope.commit();
    }
    EXPECT_EQ(count(u"college"_s), 1);

    // An inner scope left uncommitted undoes the outer one.
    {
        WriteScope outer(*m_db);
        m_db->exec(u"INSERT INTO college (fcollcode) VALUES (?)"_s, {u"C"_s});
        {
            WriteScope inner(*m_db);
            m_db->exec(u"INSERT INTO college (fcollcode) VALUES (?)"_s, {u"D"_s});
        }
        EXPECT_THROW(outer.commit(), DbError);
        EXPECT_EQ(m_db->transactionDepth(), 0);
    }
    EXPECT_EQ(count(u"college"_s), 1);

    // A failure halfway leaves none of the scope's rows.
    const auto insertAll = [this] {
        WriteScope scope(*m_db);
        Statement insert = m_db->prepare(u"INSERT INTO college (fcollcode, fcollname) VALUES (?, ?)"_s);
        insert.exec({u"E"_s, u"one"_s});
        insert.exec({u"F"_s, u"two"_s});
        m_db->exec(u"INSERT INTO no_such_table (x) VALUES (?)"_s, {1});
        scope.commit();
    };
    EXPECT_THROW(insertAll(), DbError);
    EXPECT_EQ(count(u"college"_s), 1);
}

TEST_P(DatabaseTest, ErrorsAreClassified)
{
    const DbError missing = errorOf([&] { m_db->query(u"SELECT * FROM no_such_table"_s); });
    EXPECT_EQ(missing.kind(), DbErrorKind::MissingTable);
    EXPECT_EQ(missing.number(), u"-2147217865"_s);
    EXPECT_TRUE(missing.screenMessage().startsWith(u"Error Occurred : -2147217865 . "_s));
    const DbError misspelt = errorOf([&] { m_db->query(u"SELEC fregno FROM convo"_s); });
    EXPECT_EQ(misspelt.kind(), DbErrorKind::CommandText);
    EXPECT_EQ(misspelt.number(), u"-2147217900"_s);
    EXPECT_EQ(errorOf([&] { m_db->query(u"SELECT no_such_column FROM convo"_s); }).kind(), DbErrorKind::CommandText);
    if (GetParam() == TestBackend::MariaDB) {
        // Strict mode refuses a value too long for its column.
        const DbError tooLong =
            errorOf([&] { m_db->exec(u"INSERT INTO college (fcollcode) VALUES (?)"_s, {u"TOO-LONG"_s}); });
        EXPECT_EQ(tooLong.kind(), DbErrorKind::Truncation);
        EXPECT_EQ(tooLong.number(), u"-2147217833"_s);
    }
}

TEST_P(DatabaseTest, TheStatementFaultFailsTheNthStatementOnceAsALostConnection)
{
    const QString insert = u"INSERT INTO college (fcollcode) VALUES (?)"_s;
    const auto writeThree = [&] {
        WriteScope scope(*m_db);                         // BEGIN
        m_db->exec(insert, {u"A"_s});                    // 2
        Statement prepared = m_db->prepare(insert);      // not run: not counted
        prepared.exec({u"B"_s});                         // 3
        m_db->scalar(u"SELECT COUNT(*) FROM college"_s); // 4
        scope.commit();                                  // COMMIT, 5
    };
    {
        const ScopedStatementFault counting({0, {}, m_db.get()});
        writeThree();
        EXPECT_EQ(counting.counted(), 5);
        EXPECT_FALSE(counting.fired());
    }
    m_db->exec(u"DELETE FROM college"_s);
    // Whichever statement fails, the scope leaves nothing and the connection is usable.
    for (int nth = 1; nth <= 5; ++nth) {
        SCOPED_TRACE(nth);
        const ScopedStatementFault fault({nth, {}, m_db.get()});
        const DbError error = errorOf(writeThree);
        EXPECT_TRUE(fault.fired());
        EXPECT_EQ(error.kind(), DbErrorKind::ServerUnreachable);
        EXPECT_EQ(error.number(), u"-2147467259"_s);
        EXPECT_FALSE(error.statement().isEmpty());
        EXPECT_EQ(m_db->transactionDepth(), 0);
        EXPECT_EQ(count(u"college"_s), 0);
    }
    // A pattern counts its statements only; another connection's statements do not count.
    const auto other = m_folder->connect();
    {
        const ScopedStatementFault fault({2, u"into college"_s, m_db.get()});
        other->exec(insert, {u"X"_s});
        m_db->exec(insert, {u"C"_s});
        m_db->scalar(u"SELECT COUNT(*) FROM college"_s);
        EXPECT_EQ(errorOf([&] { m_db->exec(insert, {u"D"_s}); }).statement(), insert);
        m_db->exec(insert, {u"E"_s});
        EXPECT_EQ(fault.counted(), 3);
    }
    EXPECT_EQ(count(u"college"_s), 3);
}

INSTANTIATE_TEST_SUITE_P(Backends, DatabaseTest, test::bothBackends(), test::backendName);

TEST(NotConnected, EveryStatementFailsWithTheClosedConnectionError)
{
    Database db;
    const DbError e = errorOf([&] { db.query(u"select fversion from control"_s); });
    EXPECT_EQ(e.kind(), DbErrorKind::NotConnected);
    EXPECT_EQ(e.startupMessage().left(6), u"3709  "_s);
}

} // namespace
