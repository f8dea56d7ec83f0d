// SPDX-License-Identifier: GPL-3.0-or-later
// The command-line tool as a user runs it: the real program, its output and exit codes.
#include "support/testdatabase.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "support/batchrun.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using sw::test::TestBackend;

namespace {

using sw::test::BatchRun;
using sw::test::runBatch;

class BatchTest : public ::testing::TestWithParam<TestBackend>
{
protected:
    void SetUp() override
    {
        if (!sw::test::backendAvailable(GetParam()))
            return;
        m_folder = m_dir.filePath(u"app"_s);
        QStringList init{u"--folder"_s, m_folder, u"init"_s, u"--institution"_s, u"008"_s};
        if (GetParam() == TestBackend::MariaDB) {
            const auto server = sw::test::MariaDbServer::fromEnvironment();
            m_dbName = sw::test::uniqueName(u"swbatch"_s);
            init << u"--type"_s << u"MYSQL"_s << u"--server"_s << server->hostPort << u"--admin-user"_s << server->user
                 << u"--db-password"_s << server->password << u"--db-name"_s << m_dbName;
        }
        const BatchRun r = runBatch(init);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    }
    void TearDown() override
    {
        if (m_dbName.isEmpty())
            return;
        const auto server = sw::test::MariaDbServer::fromEnvironment();
        sw::test::ScratchMariaDb scratch; // any connection to the server will do
        scratch.db().exec(u"DROP DATABASE IF EXISTS `"_s + m_dbName + u'`');
    }
    QStringList as(const QString &user, const QString &password) const
    {
        return {u"--folder"_s, m_folder, u"--user"_s, user, u"--password"_s, password};
    }
    QTemporaryDir m_dir;
    QString m_folder;
    QString m_dbName;
};

// One initialised folder: what login-check prints, a wrong password, and upgrade (init run again:
// AdministrationTest.WhatOnlyTheAdministratorMayDoIsRefusedToOthers).
TEST_P(BatchTest, InitThenLoginCheckAndUpgrade)
{
    {
        SCOPED_TRACE("login-check prints the session");
        const BatchRun r = runBatch(as(u"ADMIN"_s, u"admin"_s) << u"login-check"_s);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        for (const QString &line :
             {u"InstCode=008\n"_s, u"UserName=ADMIN\n"_s, u"UserSection=A\n"_s, u"ConvoCode=ADMN\n"_s,
              u"ConvoName=\n"_s, GetParam() == TestBackend::SQLite ? u"Database=CONVO\n"_s : u"Database="_s + m_dbName})
            EXPECT_TRUE(r.out.contains(line)) << line.toStdString() << r.out.toStdString();
    }
    {
        SCOPED_TRACE("a wrong password is refused with the Windows message");
        const BatchRun r = runBatch(as(u"ADMIN"_s, u"wrong"_s) << u"login-check"_s);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err.trimmed(), u"Invalid Password"_s);
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    }
    {
        SCOPED_TRACE("upgrade on a current database stamps it and says so");
        const BatchRun r = runBatch(as(u"ADMIN"_s, u"ADMIN"_s) << u"upgrade"_s);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.contains(u"Database modified successfully. Restart the Application"_s));
        EXPECT_TRUE(r.out.contains(u"tables created: \n"_s));
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, BatchTest, sw::test::bothBackends(), sw::test::backendName);

TEST(BatchUsage, UsageErrorsExitWithTwo)
{
    EXPECT_EQ(runBatch({}).exitCode, 2);
    EXPECT_EQ(runBatch({u"no-such-command"_s}).exitCode, 2);
    EXPECT_EQ(runBatch({u"init"_s, u"--no-such-option"_s}).exitCode, 2);
    const BatchRun missingValue = runBatch({u"init"_s, u"--institution"_s});
    EXPECT_EQ(missingValue.exitCode, 2);
    EXPECT_TRUE(missingValue.err.contains(u"--institution"_s));
    const BatchRun help = runBatch({u"help"_s});
    EXPECT_EQ(help.exitCode, 0);
    for (const QString &command : {u"init"_s, u"upgrade"_s, u"login-check"_s, u"demo"_s})
        EXPECT_TRUE(help.out.contains(u"  "_s + command)) << command.toStdString();
}

// A word a command does not take is a usage error, before anything is done: "init DIR"
// must not quietly set up the program's own folder instead.
TEST(BatchUsage, AWordACommandDoesNotTakeIsRefusedBeforeAnythingIsDone)
{
    QTemporaryDir dir;
    const QString elsewhere = dir.filePath(u"elsewhere"_s);
    const BatchRun init = runBatch({u"--folder"_s, dir.path(), u"init"_s, elsewhere, u"--institution"_s, u"003"_s});
    EXPECT_EQ(init.exitCode, 2);
    EXPECT_TRUE(init.err.contains(u"\"init\" takes options only, not \""_s + elsewhere + u"\"."_s))
        << init.err.toStdString();
    EXPECT_TRUE(QDir(dir.path()).isEmpty());

    const BatchRun users = runBatch({u"help"_s, u"users"_s});
    EXPECT_EQ(users.exitCode, 0) << users.err.toStdString();
    EXPECT_TRUE(users.out.contains(u"  users add NAME"_s)) << users.out.toStdString();
    EXPECT_FALSE(users.out.contains(u"  init"_s));
    const BatchRun unknown = runBatch({u"help"_s, u"nothing"_s});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_TRUE(unknown.err.contains(u"No command \"nothing\""_s)) << unknown.err.toStdString();
}

TEST(BatchUsage, LoginCheckOnAFolderWithoutConfigurationSaysWhatToRun)
{
    QTemporaryDir dir;
    const BatchRun r =
        runBatch({u"--folder"_s, dir.path(), u"--user"_s, u"ADMIN"_s, u"--password"_s, u"ADMIN"_s, u"login-check"_s});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(u"run scrollwise-batch init"_s)) << r.err.toStdString();
}

// Start-up's refusals go to standard error, say what is wrong (the missing file by its
// name) and carry no driver warnings; standard output stays empty.
TEST(BatchUsage, StartupFailuresAreNamedOnStandardErrorWithoutDriverWarnings)
{
    const struct
    {
        const char *databaseFile; // nullptr: none
        const char16_t *says;
    } cases[] = {
        {nullptr, u"Change the Connection String\nThe database file "},
        {"this is no database, only text that fills the first page of the file................", u"not a database"},
    };
    for (const auto &c : cases) {
        QTemporaryDir dir;
        QFile ini(dir.filePath(u"Morvanta.INI"_s));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[APATH]\r\nDBASEPATH=SQLITE\r\n");
        ini.close();
        QFile(dir.filePath(u"CONVO.DBS"_s)).open(QIODevice::WriteOnly);
        if (c.databaseFile) {
            QFile db(dir.filePath(u"CONVO.sqlite"_s));
            ASSERT_TRUE(db.open(QIODevice::WriteOnly));
            db.write(QByteArray(c.databaseFile).repeated(64));
        }
        const BatchRun r = runBatch(
            {u"--folder"_s, dir.path(), u"--user"_s, u"ADMIN"_s, u"--password"_s, u"ADMIN"_s, u"login-check"_s});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf16(c.says))) << r.err.toStdString();
        if (!c.databaseFile) {
            EXPECT_TRUE(r.err.contains(dir.filePath(u"CONVO.sqlite"_s))) << r.err.toStdString();
        }
        EXPECT_FALSE(r.err.contains(u"removeDatabase"_s)) << r.err.toStdString();
    }
}

TEST(BatchUsage, InitRefusesABadInstitutionCodeAndAnUnknownType)
{
    QTemporaryDir dir;
    BatchRun r = runBatch({u"--folder"_s, dir.path(), u"init"_s, u"--institution"_s, u"0'1"_s});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(u"institution code"_s));
    r = runBatch({u"--folder"_s, dir.path(), u"init"_s, u"--institution"_s, u"001"_s, u"--type"_s, u"DBASE"_s});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(u"Unknown database type"_s));
}

} // namespace
