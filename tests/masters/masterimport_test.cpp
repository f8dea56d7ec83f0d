// SPDX-License-Identifier: GPL-3.0-or-later
// Loading master tables from files: a good file, and every kind of bad one, which
// is named with its line and field and leaves the table untouched.
#include "masters/masterimport.h"
#include "shell/core/legacytext.h"
#include "shell/db/database.h"
#include "support/testdatabase.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::TestBackend;

namespace {

class MasterImportTest : public ::testing::TestWithParam<TestBackend>
{
protected:
    void SetUp() override
    {
        if (!test::backendAvailable(GetParam()))
            GTEST_SKIP();
        m_folder = std::make_unique<test::InstalledFolder>(GetParam());
        m_db = m_folder->connect();
    }
    QString file(const QByteArray &content)
    {
        const QString path = m_dir.filePath(u"colleges.csv"_s);
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(content);
        return path;
    }
    int count(const QString &table) { return m_db->scalar(u"select count(*) from "_s + m_db->table(table)).toInt(); }
    struct BatchRun
    {
        int exitCode;
        QString out;
        QString err;
    };
    BatchRun batch(const QStringList &arguments)
    {
        QProcess p;
        p.start(QStringLiteral(SCROLLWISE_BATCH_PATH),
                QStringList{u"--folder"_s, m_folder->folder().root(), u"--user"_s, u"ADMIN"_s, u"--password"_s,
                            u"ADMIN"_s}
                    + arguments);
        p.waitForFinished(60000);
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }

    QTemporaryDir m_dir;
    std::unique_ptr<test::InstalledFolder> m_folder;
    std::unique_ptr<Database> m_db;
};

TEST_P(MasterImportTest, AGoodFileAddsEveryRow)
{
    MasterImport import(*m_db);
    const auto result = import.run(u"COLLEGE"_s, file("FCOLLNAME,fcollcode\r\n\"Govt. College, Town\",001\r\nSt. Mary's,002\r\n"));
    ASSERT_TRUE(result.done) << result.error.toStdString();
    EXPECT_EQ(result.rows, 2);
    EXPECT_EQ(m_db->scalar(u"select fcollname from "_s + m_db->table(u"COLLEGE"_s) + u" where fcollcode = ?"_s,
                           {u"002"_s})
                  .toString(),
              u"St. Mary`s"_s);
}

TEST_P(MasterImportTest, EachBadFileIsNamedWithLineAndFieldAndNothingIsSaved)
{
    MasterImport import(*m_db);
    const std::pair<QByteArray, QString> cases[] = {
        {"fcollcode,fcollname\n001,One\n002,Two\n003,\n", u"colleges.csv line 4, field fcollname: College Name should be entered."_s},
        {"fcollcode,fcollname\n001,One\n,Two\n", u"colleges.csv line 3, field fcollcode: College code should be Entered"_s},
        {"fcollcode,fcollname\n001,One\n002,Two\n001,Again\n",
         u"colleges.csv line 4, field fcollcode: College Code already Entered on line 2"_s},
        {"fcollcode,fcollname\n00001,One\n", u"colleges.csv line 2, field fcollcode: College code 00001 is longer than 4 characters"_s},
        {"fcollcode\n001\n", u"colleges.csv line 1: column \"fcollname\" is missing"_s},
        {"fcollcode,fcollname,ftown\n001,One,X\n", u"colleges.csv line 1: unknown column \"ftown\" (known: fcollcode, fcollname)"_s},
        {"fcollcode,fcollname\n001,One\n002,Two,extra\n", u"colleges.csv line 3: 3 fields where the header names 2"_s},
    };
    for (const auto &[content, message] : cases) {
        const auto result = import.run(u"college"_s, file(content));
        EXPECT_FALSE(result.done);
        EXPECT_EQ(result.error.toStdString(), message.toStdString());
        EXPECT_EQ(count(u"COLLEGE"_s), 0) << message.toStdString();
    }
}

TEST_P(MasterImportTest, ACodeAlreadyInTheTableIsRefused)
{
    MasterImport import(*m_db);
    ASSERT_TRUE(import.run(u"masuniv"_s, file("funivcode,funivname\nU1,First\n")).done);
    const auto again = import.run(u"masuniv"_s, file("funivcode,funivname\nU2,Second\nU1,First again\n"));
    EXPECT_EQ(again.error, u"colleges.csv line 3, field funivcode: University code already Exist!!"_s);
    EXPECT_EQ(count(u"MASUNIV"_s), 1);
}

TEST_P(MasterImportTest, DegreeKannadaBytesComeThroughTheFileUnchanged)
{
    QByteArray kannada;
    for (int b = 0x80; b <= 0xE3; ++b) // 100 bytes, the column's width
        if (b != '"' && b != ',')
            kannada.append(char(b));
    MasterImport import(*m_db);
    const auto result = import.run(
        u"degree"_s, file("fdegree,fdescpn,fdescpnkan,fcredit\nBSC,Science,\"" + kannada + "\",T\nBA,Arts,\xFF\xFE,F\n"));
    ASSERT_TRUE(result.done) << result.error.toStdString();
    Rows rows = m_db->query(u"select fdescpnkan, fcredit from "_s + m_db->table(u"DEGREE"_s) + u" order by fdegree"_s);
    ASSERT_TRUE(rows.next());
    EXPECT_EQ(legacytext::toBytes(rows.text(0)), QByteArray("\xFF\xFE"));
    EXPECT_EQ(rows.text(1), u"F"_s);
    ASSERT_TRUE(rows.next());
    EXPECT_EQ(legacytext::toBytes(rows.text(0)), kannada);
    EXPECT_EQ(rows.text(1), u"T"_s);

    const auto twice = import.run(u"degree"_s, file("fdegree,fdescpn,fdescpnkan\nMA,Master,\xE0\nMA,Again,\xE1\n"));
    EXPECT_EQ(twice.error, u"colleges.csv line 3, field fdegree: Degree MA is also on line 2"_s);
    EXPECT_EQ(count(u"DEGREE"_s), 2);
}

TEST_P(MasterImportTest, TheCommandLineLoadsAndListsATable)
{
    const QString path = file("fconvocode,fconvoname,fdate,factive\nC26,Convocation 2026,04/12/2026,T\n");
    const BatchRun load = batch({u"masters"_s, u"import"_s, u"masconvo"_s, path});
    ASSERT_EQ(load.exitCode, 0) << load.err.toStdString();
    EXPECT_EQ(load.out, u"rows added to masconvo: 1\n"_s);

    const BatchRun list = batch({u"masters"_s, u"list"_s, u"masconvo"_s});
    ASSERT_EQ(list.exitCode, 0) << list.err.toStdString();
    EXPECT_TRUE(list.out.startsWith(u"fconvocode\tfconvoname\tfdate\tfactive\t"_s)) << list.out.toStdString();
    EXPECT_TRUE(list.out.contains(u"\nC26\tConvocation 2026\t04/12/2026\tT\t"_s)) << list.out.toStdString();

    const BatchRun bad = batch({u"masters"_s, u"import"_s, u"masconvo"_s, file("fconvocode,fconvoname\nC27,\n")});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.err, u"colleges.csv line 2, field fconvoname: Convocation Name should be entered.\n"_s);
    const BatchRun unknown = batch({u"masters"_s, u"list"_s, u"convo"_s});
    EXPECT_EQ(unknown.exitCode, 2);
}

INSTANTIATE_TEST_SUITE_P(Backends, MasterImportTest, ::testing::Values(TestBackend::SQLite, TestBackend::MariaDB),
                         test::backendName);

} // namespace
