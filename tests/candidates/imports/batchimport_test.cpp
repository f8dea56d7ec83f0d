// SPDX-License-Identifier: GPL-3.0-or-later
// The import commands of scrollwise-batch, run as a user runs them.
#include "candidates/imports/cnvwriter.h"
#include "shell/online/onlinelink.h"
#include "support/testdatabase.h"

#include <QTemporaryDir>

#include "support/batchrun.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

using sw::test::BatchRun;
using sw::test::runBatch;

class BatchImportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_app = m_dir.filePath(u"app"_s);
        const BatchRun r = runBatch({u"--folder"_s, m_app, u"init"_s, u"--institution"_s, u"003"_s});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        // The masters the candidates below refer to, loaded as a clerk loads them.
        for (const auto &[table, content] :
             {std::pair{u"degree"_s, QByteArray("fdegree,fdescpn,fdescpnkan\nBA,ARTS,\xb1\nBCOM,COMMERCE,\xb2\n")},
              std::pair{u"college"_s, QByteArray("fcollcode,fcollname\nC01,ONE\n")}}) {
            const QString file = m_dir.filePath(table + u".csv"_s);
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(content);
            f.close();
            const BatchRun loaded = runBatch(as(u"ADMN"_s) << u"masters"_s << u"import"_s << table << file);
            ASSERT_EQ(loaded.exitCode, 0) << loaded.err.toStdString();
        }
    }
    QStringList as(const QString &convo = u"C26"_s) const
    {
        return {u"--folder"_s, m_app, u"--user"_s, u"ADMIN"_s, u"--password"_s, u"ADMIN"_s, u"--convo"_s, convo};
    }
    QTemporaryDir m_dir;
    QString m_app;
};

TEST_F(BatchImportTest, ImportFilePrintsProgressEveryFewPercentAndTheCounts)
{
    const QString file = m_dir.filePath(u"BIG_STU.cnv"_s);
    {
        CnvWriter writer(file, CnvWriter::candidateFields(false));
        for (int i = 0; i < 1000; ++i)
            writer.add(
                {u"R"_s + QString::number(i).rightJustified(5, u'0'), u"NAME"_s, u"BA"_s, {}, u"C01"_s, u"FC"_s});
    }
    const BatchRun r = runBatch(as() << u"import-file"_s << file);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    const qsizetype percentLines = std::count_if(lines.begin(), lines.end(), [](const QString &l) {
        return l.contains(u"% Importing, Please wait, College: C01"_s);
    });
    EXPECT_GE(percentLines, 15);
    EXPECT_LE(percentLines, 25);
    EXPECT_TRUE(r.out.contains(u"Imported Successfully\n\nTotal Records: 1000\nImported Records: 1000\n"_s))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(u"total records: 1000, imported records: 1000"_s));
}

// The tool driven from outside with a statement failing (SCROLLWISE_FAIL_STATEMENT, here the
// look-up of the second block of 2000 rows): it stops at the first record not written, and
// the rows before it are kept for the next import to refresh.
TEST_F(BatchImportTest, AFailingStatementStopsTheImportAtTheRecordItReached)
{
    const QString file = m_dir.filePath(u"BIG_STU.cnv"_s);
    {
        CnvWriter writer(file, CnvWriter::candidateFields(false));
        for (int i = 1; i <= 3000; ++i)
            writer.add(
                {u"R"_s + QString::number(i).rightJustified(5, u'0'), u"NAME"_s, u"BA"_s, {}, u"C01"_s, u"FC"_s});
    }
    // The look-up asks for 900 register numbers at a time: the fourth is the second block's first.
    qputenv("SCROLLWISE_FAIL_STATEMENT", "4:select fregno, fdegree, fcollcode, fconvocode");
    const BatchRun stopped = runBatch(as() << u"import-file"_s << file);
    qunsetenv("SCROLLWISE_FAIL_STATEMENT");
    EXPECT_TRUE(test::endedWith(stopped, 1, u"Record: 2001"_s));
    EXPECT_TRUE(stopped.err.contains(u"the records before it stay written"_s)) << stopped.both();

    const BatchRun again = runBatch(as() << u"import-file"_s << file);
    ASSERT_EQ(again.exitCode, 0) << again.both();
    EXPECT_TRUE(again.out.contains(u"Total Records: 3000\nImported Records: 1000\nRefreshed Records: 2000\n"_s))
        << again.out.toStdString();
}

TEST_F(BatchImportTest, ImportDirWithoutAnAnswerNamesTheQuestion)
{
    const QString dir = m_dir.filePath(u"results"_s);
    QDir().mkpath(dir);
    {
        CnvWriter writer(dir + u"/ASTU.cnv"_s, CnvWriter::candidateFields(true));
        writer.add({u"R1"_s, u"ONE"_s, u"BA"_s, {}, u"C01"_s, u"FC"_s, {}, {}, {}, {}, {}, u"FC"_s});
    }
    ASSERT_EQ(runBatch(as(u"C25"_s) << u"import-dir"_s << dir).exitCode, 0);
    const BatchRun unanswered = runBatch(as() << u"import-dir"_s << dir);
    EXPECT_EQ(unanswered.exitCode, 1);
    EXPECT_TRUE(unanswered.err.contains(u"This Student (R1) may Applied for Improvement!!"_s))
        << unanswered.err.toStdString();
    const BatchRun yes = runBatch(QStringList{u"--yes"_s} << as() << u"import-dir"_s << dir);
    EXPECT_EQ(yes.exitCode, 0) << yes.err.toStdString();
    EXPECT_TRUE(yes.out.contains(u"ASTU.cnv: total records: 1, imported records: 0"_s)) << yes.out.toStdString();
    EXPECT_TRUE(yes.out.contains(u"Imported data Successfully"_s));
}

TEST_F(BatchImportTest, PortalInitCreatesTheTablesOnTheServer)
{
    if (!test::backendAvailable(test::TestBackend::MariaDB))
        return;
    const auto server = test::MariaDbServer::fromEnvironment();
    const QString name = test::uniqueName(u"swportalinit"_s);
    const QStringList args{u"portal-init"_s, u"--server"_s,    server->hostPort, u"--user"_s, server->user,
                           u"--password"_s,  server->password, u"--database"_s,  name};
    const BatchRun r = runBatch(args);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(runBatch(args).exitCode, 0); // running it again changes nothing
    auto db = OnlineLink::connect(u"QMYSQL"_s, server->hostPort, server->user, server->password, name);
    EXPECT_EQ(db->query(u"select fregno, fpaystatus, fpostaddr4 from dctran"_s).query().size(), 0);
    EXPECT_EQ(db->query(u"select fcnvno, ftotsec, fdeleted from dcstud"_s).query().size(), 0);
    db->exec(u"DROP DATABASE `"_s + name + u'`');
}

} // namespace
