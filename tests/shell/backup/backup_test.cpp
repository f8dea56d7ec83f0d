// SPDX-License-Identifier: GPL-3.0-or-later
// Backup and restore round trips on the real databases.
#include "shell/audit/audittrail.h"
#include "shell/backup/backuprun.h"
#include "shell/db/connector.h"
#include "shell/db/presence.h"
#include "shell/db/schemaupgrade.h"
#include "shell/session.h"
#include "support/scriptedprompter.h"
#include "support/statementfaults.h"
#include "support/stoptext.h"
#include "support/testdatabase.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::TestBackend;

namespace {

class BackupTest : public ::testing::TestWithParam<TestBackend>
{
protected:
    void SetUp() override
    {
        if (!test::backendAvailable(GetParam()))
            GTEST_SKIP();
        m_folder = std::make_unique<test::InstalledFolder>(GetParam());
        m_session.folder = m_folder->folder();
        m_session.cn = m_folder->connect();
        Database &db = m_session.db();
        for (int i = 0; i < 40; ++i)
            db.exec(u"insert into convo (fregno, fname, fconvocode, fnamekan, fdate) values (?, ?, ?, ?, ?)"_s,
                    {QString(u"R"_s + QString::number(i)), QString(u"Name "_s + QString::number(i)), u"C26"_s,
                     QString(QString(QChar(0x80 + i)) + QChar(0xFF - i)), QDate(2026, 1, 1 + i % 28)});
        db.exec(u"insert into convo (fregno, fconvocode) values (?, ?)"_s, {u"NOCODE1"_s, QString()});
        db.exec(u"insert into convo (fregno) values (?)"_s, {u"NOCODE2"_s});
    }
    // `file` restored by ADMIN, who answers Yes to the restore's question.
    void restoreByAdmin(const QString &file)
    {
        using namespace Qt::StringLiterals;
        m_prompter.answer(PromptAnswer::Yes);
        RestoreRun restore(m_folder->folder(), m_prompter);
        restore.setUser(u"ADMIN"_s);
        ASSERT_EQ(restore.run(file), RestoreRun::Outcome::Restored) << m_prompter.last().toStdString();
    }
    QStringList candidates()
    {
        QStringList out;
        const auto db = m_folder->connect();
        Rows rows = db->query(u"select fregno, fname, fnamekan, fdate from convo order by fregno"_s);
        while (rows.next())
            out << rows.text(0) + u'|' + rows.text(1) + u'|' + rows.text(2) + u'|' + rows.date(u"fdate"_s).toString();
        return out;
    }
    QString backupFolder() const { return m_folder->folder().filePath(u"Backup"_s); }

    std::unique_ptr<test::InstalledFolder> m_folder;
    Session m_session;
    test::ScriptedPrompter m_prompter;
};

TEST_P(BackupTest, BackupWritesTheDatedFileThenRemovesCandidatesWithoutConvocation)
{
    BackupRun run(m_session, m_prompter);
    const BackupRun::Result result = run.run(QDate(2026, 12, 4));
    ASSERT_TRUE(result.done) << m_prompter.last().toStdString();
    const QString expected = backupFolder() + u'/' + m_session.db().currentDatabaseName() + u"04122026.bak"_s;
    EXPECT_EQ(result.file, expected);
    EXPECT_TRUE(QFile::exists(expected));
    EXPECT_EQ(result.removedCandidates, 2);
    EXPECT_EQ(candidates().size(), 40);
    EXPECT_EQ(m_prompter.last(), u"Backup Taken Successfully: "_s + expected);

    // A second backup on the same day replaces the first: one file, no leftovers.
    ASSERT_TRUE(BackupRun(m_session, m_prompter).run(QDate(2026, 12, 4)).done);
    EXPECT_EQ(QDir(backupFolder()).entryList(QDir::Files).size(), 1);
}

TEST_P(BackupTest, RestoreBringsBackEveryRowExactly)
{
    // The copy is taken before the candidates without convocation are removed.
    const QStringList before = candidates();
    const BackupRun::Result backup = BackupRun(m_session, m_prompter).run(QDate(2026, 12, 4));
    ASSERT_TRUE(backup.done) << m_prompter.last().toStdString();

    m_session.db().exec(u"delete from convo where fregno like 'R1%'"_s);
    m_session.db().exec(u"update convo set fname = 'changed'"_s);
    m_session.cn.reset();

    m_prompter.answer(PromptAnswer::Yes);
    QStringList statuses;
    RestoreRun restore(m_folder->folder(), m_prompter, [&](const QString &s, int) { statuses << s; });
    ASSERT_EQ(restore.run(backup.file), RestoreRun::Outcome::Restored) << m_prompter.last().toStdString();
    EXPECT_EQ(m_prompter.last(), u"Restored Database Successfully!!. System will restart now!!"_s);
    EXPECT_EQ(statuses,
              (QStringList{u"Checking for existing Database, Please wait..."_s,
                           u"Restoring the database, Please wait..."_s, u"Restoring database completed!!"_s}));
    EXPECT_EQ(candidates(), before);
}

TEST_P(BackupTest, ARestoreOfAFileThatIsNoBackupOrDeclinedChangesNothing)
{
    const QStringList before = candidates();
    const QString bogus = m_folder->folder().filePath(u"bogus.bak"_s);
    QFile f(bogus);
    f.open(QIODevice::WriteOnly);
    f.write("this is not a backup\n");
    f.close();
    m_prompter.answer(PromptAnswer::Yes);
    EXPECT_EQ(RestoreRun(m_folder->folder(), m_prompter).run(bogus), RestoreRun::Outcome::Refused);
    EXPECT_NE(m_prompter.last(), u"Restored Database Successfully!!. System will restart now!!"_s);
    EXPECT_EQ(candidates(), before);
    EXPECT_EQ(RestoreRun(m_folder->folder(), m_prompter).run(m_folder->folder().filePath(u"none.bak"_s)),
              RestoreRun::Outcome::Refused);
    EXPECT_EQ(m_prompter.last(), u"Invalid File path!!"_s);

    const BackupRun::Result backup = BackupRun(m_session, m_prompter).run(QDate(2026, 12, 4));
    ASSERT_TRUE(backup.done);
    m_session.db().exec(u"delete from convo"_s);
    test::ScriptedPrompter declining; // a prompter of its own: the first may still hold its Yes
    declining.answer(PromptAnswer::No);
    RestoreRun restore(m_folder->folder(), declining);
    restore.setOwnSession(m_session.db()); // the clerk's own connection is not another session
    EXPECT_EQ(restore.run(backup.file), RestoreRun::Outcome::Declined);
    EXPECT_EQ(declining.last(), u"Database already exists!!. Do you want to overwrite the existing one"_s);
    EXPECT_TRUE(candidates().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Backends, BackupTest, test::bothBackends(), test::backendName);

TEST(SqliteRestore, OntoAFolderWithoutDatabaseAsksNothing)
{
    test::InstalledFolder source(TestBackend::SQLite);
    Session session;
    session.folder = source.folder();
    session.cn = source.connect();
    test::ScriptedPrompter prompter;
    const BackupRun::Result backup = BackupRun(session, prompter).run(QDate(2026, 12, 4));
    ASSERT_TRUE(backup.done);

    test::InstalledFolder target(TestBackend::SQLite);
    QFile::remove(target.folder().filePath(u"CONVO.sqlite"_s));
    EXPECT_EQ(RestoreRun(target.folder(), prompter).run(backup.file), RestoreRun::Outcome::Restored);
    for (const auto &shown : prompter.shown())
        EXPECT_FALSE(shown.question) << shown.text.toStdString();
    EXPECT_EQ(target.connect()->scalar(u"select count(*) from masuser"_s).toInt(), 1);
}

} // namespace

namespace {

// An SQLite folder of `candidates` candidates and the session working on it.
struct SqliteFolderWithCandidates
{
    explicit SqliteFolderWithCandidates(int candidates)
        : folder(TestBackend::SQLite)
    {
        session.folder = folder.folder();
        session.cn = folder.connect();
        for (int i = 0; i < candidates; ++i)
            session.db().exec(u"insert into convo (fregno, fname, fconvocode) values (?, ?, 'C26')"_s,
                              {QString(u"R%1"_s.arg(i)), QString(u"CANDIDATE NUMBER %1 WITH A LONG NAME"_s.arg(i))});
    }
    test::InstalledFolder folder;
    Session session;
};

TEST(SqliteRestore, ADamagedBackupIsRefusedAndTheDatabaseStaysAsItWas)
{
    // Enough candidates that their pages, not the tables' and indexes' own, fill the file's second half.
    SqliteFolderWithCandidates made(2000);
    test::InstalledFolder &folder = made.folder;
    Session &session = made.session;
    test::ScriptedPrompter prompter;
    const BackupRun::Result backup = BackupRun(session, prompter).run(QDate(2026, 12, 4));
    ASSERT_TRUE(backup.done);
    session.db().exec(u"delete from convo where fregno like 'R1%'"_s);
    const int kept = session.db().scalar(u"select count(*) from convo"_s).toInt();

    // The header and the schema stay readable; the pages after them are garbage.
    QFile file(backup.file);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const qint64 size = file.size();
    ASSERT_GT(size, 8 * 4096);
    file.seek(size / 2);
    file.write(QByteArray(int(size / 4), '\x55'));
    file.close();

    prompter.answer(PromptAnswer::Yes);
    EXPECT_EQ(RestoreRun(folder.folder(), prompter).run(backup.file), RestoreRun::Outcome::Refused);
    EXPECT_TRUE(prompter.last().contains(u"is damaged and cannot be restored"_s)) << prompter.last().toStdString();
    EXPECT_EQ(folder.connect()->scalar(u"select count(*) from convo"_s).toInt(), kept);
}

} // namespace

namespace {

// The sheets printed and the lines written since the backup was taken outlive a
// restore of it: the paper exists, and what was done stays on record.
TEST_P(BackupTest, ARestoreKeepsTheRegisterAndTheAuditTrailWrittenSinceTheBackup)
{
    Database &db = m_session.db();
    db.exec(u"update convo set fdegree = 'BA', fcollcode = '101' where fregno in ('R1', 'R2')"_s);
    const auto sheet = [&](long long number, const QString &regno, const QString &state) {
        db.exec(u"insert into certsheet (fprefix, fnumber, fcertno, fstate, fcerttype, fregno, fdegree, fcollcode, "
                "fconvocode, frunid) values ('A', ?, ?, ?, '1', ?, 'BA', '101', 'C26', 'run-1')"_s,
                {number, QString(u"A%1"_s.arg(number, 6, 10, QChar(u'0'))), state, regno});
    };
    sheet(1, u"R1"_s, u"PENDING"_s);
    const BackupRun::Result backup = BackupRun(m_session, m_prompter).run(QDate(2026, 12, 4));
    ASSERT_TRUE(backup.done) << m_prompter.last().toStdString();

    // After the backup: R1's sheet came out well, R2 printed on the next one.
    db.exec(u"update certsheet set fstate = 'PRINTED' where fnumber = 1"_s);
    sheet(2, u"R2"_s, u"PRINTED"_s);
    db.exec(u"update convo set fcertno = case fregno when 'R1' then 'A000001' else 'A000002' end "
            "where fregno in ('R1', 'R2')"_s);
    db.exec(u"insert into stationery (fprefix, fnumber, fcertno, fregno, foutcome) values "
            "('A', 2, 'A000002', 'R2', 'PRINTED')"_s);
    AuditTrail(db).record(u"ADMIN"_s, {u"users"_s, u"add"_s, u"masuser"_s, u"NEWCLERK"_s, {}, u"section=A"_s});
    m_session.cn.reset();

    ASSERT_NO_FATAL_FAILURE(restoreByAdmin(backup.file));

    const auto restored = m_folder->connect();
    QStringList sheets;
    Rows rows = restored->query(u"select fcertno, fstate from certsheet order by fnumber"_s);
    while (rows.next())
        sheets << rows.text(0) + u' ' + rows.text(1);
    EXPECT_EQ(sheets, (QStringList{u"A000001 PRINTED"_s, u"A000002 PRINTED"_s}));
    EXPECT_EQ(restored->scalar(u"select count(*) from stationery where fcertno = 'A000002'"_s).toInt(), 1);
    EXPECT_EQ(restored->scalar(u"select count(*) from audit where fkey = 'NEWCLERK'"_s).toInt(), 1);
    EXPECT_EQ(restored->scalar(u"select count(*) from audit where fwhat = 'restore'"_s).toInt(), 1);
    // The candidates are the backup's: both show no number, and the clerk is told so.
    EXPECT_EQ(restored->scalar(u"select count(*) from convo where fcertno is not null and fcertno <> ''"_s).toInt(), 0);
    QString told;
    for (const auto &shown : m_prompter.shown())
        told += shown.text + u'\n';
    EXPECT_TRUE(told.contains(u"2 sheet(s) of the stationery register, 1 line(s) of its journal and 1 line(s) of "
                              "the audit trail"_s))
        << told.toStdString();
    EXPECT_TRUE(told.contains(u"Reg. No. R1 (BA): certificate A000001 was printed after the backup was taken"_s));
    EXPECT_TRUE(told.contains(u"Reg. No. R2 (BA): certificate A000002 was printed after the backup was taken"_s));
}

// Whichever statement of a restore fails, the database is either the one it was to
// replace, as it was, or the backup's with the register and the audit trail written since
// kept: never the backup's without them.
TEST_P(BackupTest, AStatementFailingAnywhereInARestoreLeavesTheOldDatabaseOrTheWholeRestore)
{
    Database &db = m_session.db();
    const BackupRun::Result backup = BackupRun(m_session, m_prompter).run(QDate(2026, 12, 4));
    ASSERT_TRUE(backup.done) << m_prompter.last().toStdString();
    // After the backup: a candidate added, a sheet printed and its number stored.
    db.exec(u"insert into convo (fregno, fname, fconvocode) values ('LATE', 'Late Name', 'C26')"_s);
    db.exec(u"insert into certsheet (fprefix, fnumber, fcertno, fstate, fcerttype, fregno, fdegree, fcollcode, "
            "fconvocode, frunid) values ('A', 1, 'A000001', 'PRINTED', '1', 'R1', 'BA', '101', 'C26', 'run-1')"_s);
    AuditTrail(db).record(u"ADMIN"_s, {u"users"_s, u"add"_s, u"masuser"_s, u"NEWCLERK"_s, {}, u"section=A"_s});
    const BackupRun::Result live = BackupRun(m_session, m_prompter).run(QDate(2026, 12, 5));
    ASSERT_TRUE(live.done) << m_prompter.last().toStdString();
    m_session.cn.reset();
    const QStringList before = candidates();
    ASSERT_NO_FATAL_FAILURE(restoreByAdmin(backup.file));
    const QStringList restored = candidates();
    ASSERT_NE(before, restored);
    const auto kept = [&] {
        const auto now = m_folder->connect();
        return now->scalar(u"select fstate from certsheet where fcertno = 'A000001'"_s).toString() == u"PRINTED"_s
               && now->exists(u"select 1 from audit where fkey = 'NEWCLERK'"_s);
    };

    RestoreRun::Outcome outcome = RestoreRun::Outcome::Refused;
    std::optional<test::ScriptedPrompter> prompter;
    const auto restore = [&] {
        prompter.emplace();
        prompter->answer(PromptAnswer::Yes);
        RestoreRun run(m_folder->folder(), *prompter);
        run.setUser(u"ADMIN"_s);
        outcome = run.run(backup.file);
    };
    // The database as it was before each restore: the copy taken of it.
    const auto reset = [&] { ASSERT_NO_FATAL_FAILURE(restoreByAdmin(live.file)); };
    const auto text = [](const QStringList &rows) { return rows.join(u'\n').toStdString(); };
    const int statements = test::failEachStatement(nullptr, reset, restore, [&](int) {
        const std::string now = text(candidates());
        EXPECT_EQ(now, text(outcome == RestoreRun::Outcome::Restored ? restored : before))
            << prompter->texts().join(u'\n').toStdString();
        EXPECT_TRUE(kept()) << prompter->texts().join(u'\n').toStdString();
    });
    EXPECT_GT(statements, 5);
}

// A revocation or a hold made after the backup outlives its restore, also into a copy
// taken before the status lists existed (the restore gives it their table).
TEST_P(BackupTest, ARestoreKeepsTheCertificatesStatusEvenInACopyOlderThanTheLists)
{
    Database &db = m_session.db();
    db.exec(u"drop table "_s + db.table(u"CERTSTATUS"_s));
    const BackupRun::Result backup = BackupRun(m_session, m_prompter).run(QDate(2026, 12, 4));
    ASSERT_TRUE(backup.done) << m_prompter.last().toStdString();
    SchemaUpgrade(db, m_prompter).run();
    const auto status = [&](const QString &certNo, int index, const QString &revoked, const QString &held,
                            const QString &reason) {
        db.exec(u"insert into certstatus (fcertno, flist, findex, fregno, fdegree, frevoked, fsuspended, freason, "
                "fkind) values (?, 1, ?, 'R1', 'BA', ?, ?, ?, 'D')"_s,
                {certNo, index, revoked, held, reason});
    };
    status(u"A000001"_s, 77, u"T"_s, u"F"_s, u"cancelled: Name misspelt"_s);
    status(u"A000002"_s, 78, u"F"_s, u"T"_s, {});
    m_session.cn.reset();

    ASSERT_NO_FATAL_FAILURE(restoreByAdmin(backup.file));

    const auto restored = m_folder->connect();
    QStringList kept;
    Rows rows = restored->query(u"select fcertno, findex, frevoked, fsuspended, freason from certstatus "
                                "order by fcertno"_s);
    while (rows.next())
        kept << QStringList{rows.text(0), rows.text(1), rows.text(2), rows.text(3), rows.text(4)}.join(u' ');
    EXPECT_EQ(kept, (QStringList{u"A000001 77 T F cancelled: Name misspelt"_s, u"A000002 78 F T "_s}));
    // A server's restore leaves a table its copy lacks as it was; a file's restore brings it back
    // from the register kept, and says so.
    QString told;
    for (const auto &shown : m_prompter.shown())
        told += shown.text + u'\n';
    if (GetParam() == test::TestBackend::SQLite) {
        EXPECT_TRUE(told.contains(u"The status lists keep 2 certificate(s)"_s)) << told.toStdString();
    }
}

// From the restore's first look for other sessions to its end, no session starts and
// no sheet is reserved; a session that started first makes the restore wait for it.
TEST_P(BackupTest, NoSessionStartsWhileARestoreHoldsTheDatabase)
{
    const BackupRun::Result backup = BackupRun(m_session, m_prompter).run(QDate(2026, 12, 4));
    ASSERT_TRUE(backup.done);
    m_session.cn.reset();
    {
        const auto printing = m_folder->connectSession(u"printing run"_s);
        m_prompter.answer(PromptAnswer::Yes);
        EXPECT_EQ(RestoreRun(m_folder->folder(), m_prompter).run(backup.file), RestoreRun::Outcome::Refused);
        EXPECT_TRUE(m_prompter.last().startsWith(u"The database is in use by a program on "_s + Presence::workstation()
                                                 + u" (printing run)"_s))
            << m_prompter.last().toStdString();
    }
    const auto restoring = m_folder->connectSession(u"restore"_s);
    const auto gate = Presence::hold(*restoring, Presence::Kind::Restore, u"gate"_s, u"ADMIN"_s, u"restore"_s);
    ASSERT_TRUE(gate);
    EXPECT_TRUE(test::stopText([&] { m_folder->connectSession(); }).startsWith(Connector::restoreInProgress()));
    EXPECT_EQ(m_folder->connect()->scalar(u"select count(*) from presence where fkind = 'SESSION'"_s).toInt(), 1);
}

} // namespace

namespace {

// A database file damaged in the middle or cut short is put aside (kept) and the
// backup goes in its place.
TEST(SqliteRestore, ADamagedOrTruncatedDatabaseIsRestoredAndKeptAside)
{
    enum class Damage { Overwritten, Truncated };
    for (const Damage damage : {Damage::Overwritten, Damage::Truncated}) {
        SCOPED_TRACE(damage == Damage::Overwritten ? "overwritten" : "truncated");
        SqliteFolderWithCandidates made(2000);
        test::InstalledFolder &folder = made.folder;
        Session &session = made.session;
        test::ScriptedPrompter prompter;
        const BackupRun::Result backup = BackupRun(session, prompter).run(QDate(2026, 12, 4));
        ASSERT_TRUE(backup.done);
        session.cn.reset();

        const QString live = folder.folder().filePath(u"CONVO.sqlite"_s);
        QFile file(live);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        const qint64 size = file.size();
        ASSERT_GT(size, 160 * 1024);
        if (damage == Damage::Overwritten) {
            file.seek(size / 3);
            file.write(QByteArray(80 * 1024, '\x55'));
        } else {
            file.resize(size / 2);
        }
        file.close();

        prompter.answer(PromptAnswer::Yes);
        RestoreRun restore(folder.folder(), prompter);
        restore.setUser(u"ADMIN"_s);
        restore.requireAdministratorOfCopy(u"ADMIN"_s);
        ASSERT_EQ(restore.run(backup.file), RestoreRun::Outcome::Restored) << prompter.last().toStdString();
        EXPECT_EQ(folder.connect()->scalar(u"select count(*) from convo"_s).toInt(), 2000);
        const QStringList aside = QDir(folder.folder().root()).entryList({u"CONVO.sqlite.damaged-*"_s}, QDir::Files);
        EXPECT_EQ(aside.filter(QRegularExpression(u"damaged-\\d+$"_s)).size(), 1) << aside.join(u' ').toStdString();
    }
}

} // namespace
