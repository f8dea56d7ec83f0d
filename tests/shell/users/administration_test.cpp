// SPDX-License-Identifier: GPL-3.0-or-later
// Administration that must not break an installation, through the command-line tool
// as an administrator and a clerk use it: who may upgrade, set up again, restore and
// read the audit trail; what an upgrade and a restore leave behind; passwords,
// lockout and the audit lines of a day's administration.
#include "support/batchrun.h"
#include "shell/audit/audittrail.h"
#include "shell/backup/upgraderun.h"
#include "shell/core/inifile.h"
#include "shell/core/passwordcodec.h"
#include "shell/core/versiontext.h"
#include "shell/startup/loginstore.h"
#include "shell/startup/startup.h"
#include "support/scriptedprompter.h"
#include "support/testdatabase.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::BatchRun;
using sw::test::TestBackend;

namespace {

class AdministrationTest : public test::InstalledFolderTest
{
protected:
    void SetUp() override
    {
        InstalledFolderTest::SetUp();
        if (IsSkipped())
            return;
        ASSERT_EQ(
            as(u"ADMIN"_s, u"ADMIN"_s, {u"users"_s, u"add"_s, u"clerk"_s, u"--permit"_s, u"N2*N22*N23"_s}).exitCode, 0);
    }
    BatchRun as(const QString &user, const QString &password, const QStringList &arguments) const
    {
        QStringList all{u"--folder"_s, root()};
        if (!user.isEmpty())
            all << u"--user"_s << user << u"--password"_s << password;
        return test::runBatch(all + arguments);
    }
    QString root() const { return m_folder->folder().root(); }
    QString stamp() const { return m_db->scalar(u"select fversion from control"_s).toString(); }
    QString storedPassword(const QString &user) const
    {
        return m_db->scalar(u"select fpasswd from masuser where fusername = ?"_s, {user}).toString();
    }
};

// Every refusal exits 1 with its reason on standard error and changes nothing.
TEST_P(AdministrationTest, WhatOnlyTheAdministratorMayDoIsRefusedToOthers)
{
    const struct
    {
        const char16_t *user;
        QStringList arguments;
        int exitCode;
        const char16_t *says;
    } cases[] = {
        {u"CLERK", {u"upgrade"_s}, 1, u"Only ADMIN may run \"upgrade\""},
        {u"", {u"upgrade"_s}, 2, u"needs the ADMIN login"},
        {u"CLERK", {u"audit"_s}, 1, u"Only ADMIN may run \"audit\""},
        // init over an installed folder: never without --force, and only ADMIN, who is asked.
        {u"", {u"init"_s, u"--institution"_s, u"008"_s}, 1, u"already holds the database"},
        {u"CLERK", {u"init"_s, u"--institution"_s, u"008"_s, u"--force"_s}, 1, u"Only ADMIN may run \"init --force\""},
        {u"ADMIN", {u"--no"_s, u"init"_s, u"--institution"_s, u"008"_s, u"--force"_s}, 1, u"Nothing was changed."},
    };
    for (const auto &c : cases) {
        const QString user = QString::fromUtf16(c.user);
        QStringList arguments = c.arguments;
        // --yes / --no are global options: they go before the command.
        QStringList global;
        while (!arguments.isEmpty() && (arguments.first() == u"--no"_s || arguments.first() == u"--yes"_s))
            global << arguments.takeFirst();
        QStringList all{u"--folder"_s, root()};
        if (!user.isEmpty())
            all << u"--user"_s << user << u"--password"_s << user;
        const BatchRun r = test::runBatch(all + global + arguments);
        SCOPED_TRACE(c.arguments.join(u' ').toStdString() + " as " + user.toStdString());
        EXPECT_EQ(r.exitCode, c.exitCode) << r.both();
        EXPECT_TRUE(r.err.contains(QString::fromUtf16(c.says))) << r.both();
    }
    if (GetParam() == TestBackend::MariaDB) {
        // A second workstation's folder, set up against the same database, is refused too.
        QTemporaryDir other;
        const auto server = test::MariaDbServer::fromEnvironment();
        const BatchRun r =
            test::runBatch({u"--folder"_s, other.path(), u"init"_s, u"--institution"_s, u"008"_s, u"--type"_s,
                            u"MYSQL"_s, u"--server"_s, server->hostPort, u"--admin-user"_s, server->user,
                            u"--db-password"_s, server->password, u"--db-name"_s, m_folder->databaseName()});
        EXPECT_EQ(r.exitCode, 1) << r.both();
        EXPECT_TRUE(r.err.contains(u"already holds the database"_s)) << r.both();
    }
    EXPECT_EQ(m_db->scalar(u"select funitcode from control"_s).toString(), u"003"_s);
    EXPECT_EQ(stamp(), programVersion());

    // ADMIN who says yes sets the folder's own database up again; his password stays.
    const BatchRun again =
        as(u"ADMIN"_s, u"ADMIN"_s, {u"--yes"_s, u"init"_s, u"--institution"_s, u"008"_s, u"--force"_s});
    ASSERT_EQ(again.exitCode, 0) << again.both();
    EXPECT_EQ(m_db->scalar(u"select funitcode from control"_s).toString(), u"008"_s);
    // The audit trail says who set the folder up again.
    EXPECT_EQ(m_db->scalar(u"select fusername from audit where faction = 'init --force'"_s).toString(), u"ADMIN"_s);
    EXPECT_EQ(as(u"admin"_s, u"admin"_s, {u"login-check"_s}).exitCode, 0);
}

TEST_P(AdministrationTest, UpgradeRefusesANewerDatabaseAndBacksUpAnOlderOneFirst)
{
    m_db->exec(u"update control set fversion = ?"_s, {u"9.0.0"_s});
    BatchRun r = as(u"ADMIN"_s, u"ADMIN"_s, {u"upgrade"_s});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(u"Version Mismatch, Install latest exe or call Quanvex"_s)) << r.both();
    EXPECT_EQ(stamp(), u"9.0.0"_s);

    // 1.0.9 against a program at 1.0.10 is older by number, whatever the text order says.
    m_db->exec(u"update control set fversion = ?"_s, {u"0.0.9"_s});
    r = as(u"admin"_s, u"admin"_s, {u"upgrade"_s});
    ASSERT_EQ(r.exitCode, 0) << r.both();
    const QString backup =
        root() + u"/Backup/"_s + m_db->currentDatabaseName() + QDate::currentDate().toString(u"ddMMyyyy"_s) + u".bak"_s;
    EXPECT_TRUE(r.out.contains(u"A copy of the database as it was before the upgrade: "_s + backup)) << r.both();
    EXPECT_TRUE(QFile::exists(backup));
    EXPECT_EQ(stamp(), programVersion());
    const BatchRun audit = as(u"ADMIN"_s, u"ADMIN"_s, {u"audit"_s, u"--what"_s, u"upgrade"_s});
    ASSERT_EQ(audit.exitCode, 0) << audit.both();
    EXPECT_TRUE(audit.out.contains(u"\tADMIN\t"_s)) << audit.out.toStdString();
    EXPECT_TRUE(audit.out.contains(u"fversion=0.0.9\tfversion="_s + programVersion())) << audit.out.toStdString();
}

TEST_P(AdministrationTest, PermitTicksExactlyTheCodesGivenAndShowListsThem)
{
    EXPECT_EQ(m_db->scalar(u"select fpermission from masuser where fusername = 'CLERK'"_s).toString(),
              u"N2*N22*N23*"_s);
    BatchRun r = as(u"ADMIN"_s, u"ADMIN"_s, {u"users"_s, u"show"_s, u"clerk"_s});
    ASSERT_EQ(r.exitCode, 0) << r.both();
    EXPECT_TRUE(r.out.contains(u"\nN22\t"_s)) << r.out.toStdString();
    for (const QString &notGiven : {u"N41"_s, u"N47"_s, u"N24"_s})
        EXPECT_FALSE(r.out.contains(u'\n' + notGiven + u'\t')) << r.out.toStdString();
    // A top code alone only opens its menu.
    r = as(u"ADMIN"_s, u"ADMIN"_s, {u"users"_s, u"permit"_s, u"clerk"_s, u"N4"_s});
    ASSERT_EQ(r.exitCode, 0) << r.both();
    EXPECT_EQ(r.out, u"permissions of CLERK: N4*\n"_s);
    EXPECT_EQ(as(u"CLERK"_s, u"CLERK"_s, {u"backup"_s}).exitCode, 1);
    // Codes given with commas bring their top menus; an unknown code is a usage error.
    r = as(u"ADMIN"_s, u"ADMIN"_s,
           {u"users"_s, u"add"_s, u"clerk2"_s, u"--section"_s, u"A"_s, u"--permit"_s, u"N22,N42"_s});
    ASSERT_EQ(r.exitCode, 0) << r.both();
    r = as(u"ADMIN"_s, u"ADMIN"_s, {u"users"_s, u"list"_s});
    EXPECT_TRUE(r.out.contains(u"CLERK2\tA\tN2*N22*N4*N42*\n"_s)) << r.out.toStdString();
    EXPECT_EQ(as(u"ADMIN"_s, u"ADMIN"_s, {u"users"_s, u"permit"_s, u"CLERK"_s, u"N99"_s}).exitCode, 2);
}

TEST_P(AdministrationTest, ALegacyPasswordLogsInAndIsStoredAsAHashFromThen)
{
    EXPECT_TRUE(storedPassword(u"CLERK"_s).startsWith(u"$argon2id$"_s));
    m_db->exec(u"update masuser set fpasswd = ? where fusername = 'CLERK'"_s, {passwords::encodeUser(u"old1"_s)});
    EXPECT_TRUE(LoginStore(*m_db).check(u"CLERK"_s, u"wrong"_s, u"ADMN"_s));
    EXPECT_EQ(storedPassword(u"CLERK"_s), passwords::encodeUser(u"old1"_s));
    ASSERT_FALSE(LoginStore(*m_db).check(u"CLERK"_s, u"Old1"_s, u"ADMN"_s));
    EXPECT_TRUE(storedPassword(u"CLERK"_s).startsWith(u"$argon2id$"_s)) << storedPassword(u"CLERK"_s).toStdString();
    EXPECT_FALSE(LoginStore(*m_db).check(u"CLERK"_s, u"OLD1"_s, u"ADMN"_s));
    EXPECT_TRUE(LoginStore(*m_db).check(u"CLERK"_s, u"OLD2"_s, u"ADMN"_s));
}

TEST_P(AdministrationTest, FiveFailedLoginsInARowLockTheUserForAMinute)
{
    const LoginStore login(*m_db);
    for (int i = 0; i < AuditTrail::kFailuresBeforeLock; ++i)
        EXPECT_EQ(login.check(u"CLERK"_s, u"wrong"_s, u"ADMN"_s)->text, u"Invalid Password"_s);
    const auto locked = login.check(u"CLERK"_s, u"CLERK"_s, u"ADMN"_s);
    ASSERT_TRUE(locked);
    EXPECT_TRUE(locked->text.startsWith(u"User CLERK is locked after 5 failed logins"_s)) << locked->text.toStdString();
    // Another user is not locked.
    EXPECT_FALSE(login.check(u"ADMIN"_s, u"ADMIN"_s, u"ADMN"_s));

    // A minute later the right password opens again, and the count starts afresh.
    m_db->exec(u"update audit set fwhen = ? where faction = 'locked'"_s,
               {AuditTrail::stamp(QDateTime::currentDateTime().addSecs(-61))});
    EXPECT_FALSE(login.check(u"CLERK"_s, u"CLERK"_s, u"ADMN"_s));
    EXPECT_EQ(AuditTrail(*m_db).failuresInARow(u"CLERK"_s), 0);

    AuditTrail::Filter logins;
    logins.what = u"login"_s;
    logins.user = u"CLERK"_s;
    QStringList actions;
    for (const AuditTrail::Line &l : AuditTrail(*m_db).lines(logins))
        actions << l.entry.action;
    // Oldest first: the lock was moved a minute back above.
    EXPECT_EQ(actions.join(u' ').toStdString(), "locked failed failed failed failed failed refused login");
}

// A lock is the workstation's: guessing ADMIN's password at one desk does not keep
// ADMIN out at his own.
TEST_P(AdministrationTest, ALockKeepsTheUserOutOfTheGuessingWorkstationOnly)
{
    const QByteArray before = qgetenv("SCROLLWISE_WORKSTATION");
    const auto restore = qScopeGuard([&] { qputenv("SCROLLWISE_WORKSTATION", before); });
    const LoginStore login(*m_db);
    qputenv("SCROLLWISE_WORKSTATION", "CORRIDOR-PC");
    for (int i = 0; i < AuditTrail::kFailuresBeforeLock; ++i)
        login.check(u"ADMIN"_s, u"guess"_s + QString::number(i), u"ADMN"_s);
    const auto locked = login.check(u"ADMIN"_s, u"ADMIN"_s, u"ADMN"_s);
    ASSERT_TRUE(locked);
    EXPECT_TRUE(locked->text.startsWith(u"User ADMIN is locked"_s)) << locked->text.toStdString();

    qputenv("SCROLLWISE_WORKSTATION", "REGISTRAR-PC");
    EXPECT_EQ(AuditTrail(*m_db).failuresInARow(u"ADMIN"_s), 0);
    EXPECT_FALSE(login.check(u"ADMIN"_s, u"ADMIN"_s, u"ADMN"_s));

    Rows where = m_db->query(u"select fworkstation, faction from audit where fwhat = 'login' and fusername = 'ADMIN' "
                             "and faction in ('locked', 'login') and fworkstation in ('CORRIDOR-PC', 'REGISTRAR-PC') "
                             "order by fwhen"_s);
    QStringList lines;
    while (where.next())
        lines << where.text(1) + u'@' + where.text(0);
    EXPECT_EQ(lines, (QStringList{u"locked@CORRIDOR-PC"_s, u"login@REGISTRAR-PC"_s}));
}

// A day's administration leaves its lines: who, what, the old and the new values.
TEST_P(AdministrationTest, TheAuditTrailListsADaysAdministration)
{
    ASSERT_EQ(as(u"ADMIN"_s, u"ADMIN"_s, {u"users"_s, u"permit"_s, u"CLERK"_s, u"N22*N42"_s, u"--section"_s, u"B"_s})
                  .exitCode,
              0);
    ASSERT_EQ(
        as(u"CLERK"_s, u"CLERK"_s, {u"users"_s, u"passwd"_s, u"--old"_s, u"clerk"_s, u"--new"_s, u"pw2"_s}).exitCode,
        0);
    EXPECT_EQ(as(u"CLERK"_s, u"pw2"_s, {u"login-check"_s}).exitCode, 0);
    ASSERT_EQ(as(u"ADMIN"_s, u"ADMIN"_s, {u"users"_s, u"delete"_s, u"CLERK"_s}).exitCode, 0);
    const QString today = QDate::currentDate().toString(u"dd/MM/yyyy"_s);
    const BatchRun r =
        as(u"ADMIN"_s, u"ADMIN"_s, {u"audit"_s, u"--from"_s, today, u"--to"_s, today, u"--what"_s, u"users"_s});
    ASSERT_EQ(r.exitCode, 0) << r.both();
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    const QStringList expected[] = {
        // user, what, action, table, key, old, new
        {u"ADMIN"_s, u"users"_s, u"add"_s, u"masuser"_s, u"CLERK"_s, {}, u"section=; permission=N2*N22*N23*"_s},
        {u"ADMIN"_s, u"users"_s, u"permit"_s, u"masuser"_s, u"CLERK"_s, u"section=; permission=N2*N22*N23*"_s,
         u"section=B; permission=N2*N22*N4*N42*"_s},
        {u"CLERK"_s, u"users"_s, u"password"_s, u"masuser"_s, u"CLERK"_s, {}, {}},
        {u"ADMIN"_s, u"users"_s, u"delete"_s, u"masuser"_s, u"CLERK"_s, u"deleted=F"_s, u"deleted=T"_s},
    };
    ASSERT_EQ(lines.size(), 1 + qsizetype(std::size(expected))) << r.out.toStdString();
    EXPECT_EQ(lines.first(), u"when\tuser\tworkstation\twhat\taction\ttable\tkey\told\tnew"_s);
    for (size_t i = 0; i < std::size(expected); ++i) {
        const QStringList columns = lines.at(qsizetype(i) + 1).split(u'\t');
        ASSERT_EQ(columns.size(), 9) << lines.at(qsizetype(i) + 1).toStdString();
        EXPECT_TRUE(columns.at(0).startsWith(QDate::currentDate().toString(Qt::ISODate)))
            << columns.at(0).toStdString();
        EXPECT_EQ(columns.at(2), AuditTrail::workstation());
        EXPECT_EQ(QStringList{columns.at(1)} + columns.mid(3), expected[i]) << lines.at(qsizetype(i) + 1).toStdString();
    }
}

// The restore writes the database the installation's marker chooses (here CONVODIST),
// also when it is gone or damaged; then the backup's own ADMIN password is asked for.
TEST_P(AdministrationTest, ARestoreGoesToTheMarkedDatabaseAlsoWhenItIsGoneOrDamaged)
{
    BatchRun r = as(u"ADMIN"_s, u"ADMIN"_s, {u"backup"_s});
    ASSERT_EQ(r.exitCode, 0) << r.both();
    const QString file =
        root() + u"/Backup/"_s + m_db->currentDatabaseName() + QDate::currentDate().toString(u"ddMMyyyy"_s) + u".bak"_s;
    ASSERT_TRUE(QFile::exists(file));

    IniFile ini(Startup::iniPath(m_folder->folder()));
    ASSERT_TRUE(ini.load());
    ini.setValue(u"APATH"_s, u"DBNAME"_s, QString());
    ASSERT_TRUE(ini.save());
    QFile::remove(m_folder->folder().filePath(u"CONVO.DBS"_s));
    QFile(m_folder->folder().filePath(u"CONVODIST.DBS"_s)).open(QIODevice::WriteOnly);
    const auto dropDist = qScopeGuard([&] {
        if (GetParam() == TestBackend::MariaDB)
            m_db->exec(u"DROP DATABASE IF EXISTS CONVODIST"_s);
    });
    if (GetParam() == TestBackend::MariaDB)
        m_db->exec(u"DROP DATABASE IF EXISTS CONVODIST"_s);

    r = as(u"ADMIN"_s, u"not-it"_s, {u"--yes"_s, u"restore"_s, file});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(u"not the ADMIN password of the backup: nothing was restored"_s)) << r.both();

    const auto restoredUsers = [&] {
        const auto dist = m_folder->connect();
        EXPECT_EQ(dist->currentDatabaseName(), u"CONVODIST"_s);
        return dist->scalar(u"select count(*) from masuser where fusername = 'CLERK'"_s).toInt();
    };
    r = as(u"ADMIN"_s, u"ADMIN"_s, {u"--yes"_s, u"restore"_s, file});
    ASSERT_EQ(r.exitCode, 0) << r.both();
    EXPECT_TRUE(r.out.contains(u"Restored Database Successfully!!. System will restart now!!"_s)) << r.both();
    EXPECT_EQ(restoredUsers(), 1);
    // The database the installation used before is untouched.
    EXPECT_EQ(m_db->scalar(u"select count(*) from masuser where fusername = 'CLERK'"_s).toInt(), 1);

    // Damaged: the file is no database any more (SQLite), or its tables are gone (MariaDB).
    if (GetParam() == TestBackend::SQLite) {
        QFile damaged(m_folder->folder().filePath(u"CONVODIST.sqlite"_s));
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
        damaged.write(QByteArray(4096, 'x'));
    } else {
        m_db->exec(u"DROP TABLE CONVODIST.control"_s);
    }
    r = as(u"ADMIN"_s, u"ADMIN"_s, {u"restore"_s, file}); // nothing to overwrite: no question
    ASSERT_EQ(r.exitCode, 0) << r.both();
    EXPECT_EQ(restoredUsers(), 1);
    if (GetParam() == TestBackend::SQLite) {
        EXPECT_EQ(QDir(root()).entryList({u"CONVODIST.sqlite.damaged-*"_s}).size(), 1);
    }
    const auto dist = m_folder->connect();
    AuditTrail::Filter restores;
    restores.what = u"restore"_s;
    const auto lines = AuditTrail(*dist).lines(restores);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().user, u"ADMIN"_s);
    EXPECT_EQ(lines.back().entry.newValue, u"from "_s + file);
}

INSTANTIATE_TEST_SUITE_P(Backends, AdministrationTest, test::bothBackends(), test::backendName);

} // namespace
