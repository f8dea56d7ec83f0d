// SPDX-License-Identifier: GPL-3.0-or-later
// The online application import against a real portal database on the MariaDB server.
#include "candidates/imports/onlineimport.h"
#include "importfixture.h"

#include <QDateTime>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::TestBackend;

namespace {

class OnlineImportTest : public test::ImportTest
{
protected:
    void SetUp() override
    {
        test::ImportTest::SetUp();
        if (IsSkipped() || !test::backendAvailable(TestBackend::MariaDB))
            GTEST_SKIP();
        m_portal = std::make_unique<test::TestPortal>(m_session.folder, u"003"_s);
    }
    void addTransaction(const QString &appNo, const QString &regno, const QString &status, const QString &addr1,
                        const QString &payDate = u"02/03/2026"_s, const QString &mobile = u"9876543210"_s,
                        const QDateTime &regDate = QDate(2026, 3, 1).startOfDay())
    {
        // What differs between the tests is bound; the rest of the row is the same every time.
        m_portal->db().exec(
            u"insert into dctran (fappno, fregno, fname, fdob, fmobile, femail, fpostaddr1, fpostaddr2, fpostaddr3, "
            "fpostaddr4, famount, fphotopath, fregdate, fregip, fpaytype, fpaystatus, fpaydate, ftranid, fcatpath, "
            "freccer, fscheme, fcity, fstate, fpincode) values (?, ?, ?, '01/01/2000', ?, ?, ?, 'STREET 2', 'TOWN', "
            "'DISTRICT', 550, ?, ?, '10.0.0.1', 'NETBANKING', ?, ?, ?, ?, 'POST', 'REG', 'MYSURU', 'KARNATAKA', "
            "'570001')"_s,
            {appNo, regno, QString(u"NAME "_s + regno), mobile, QString(regno.trimmed() + u"@mail.test"_s), addr1,
             QString(u"photos/"_s + appNo + u".jpg"_s), regDate, status, payDate, QString(u"TX"_s + appNo),
             QString(u"cat/"_s + appNo)});
    }
    void addStudent(const QString &regno, const QString &certNo = {})
    {
        m_portal->db().exec(u"insert into dcstud (fregno, fcertno) values (?, ?)"_s,
                            {regno, certNo.isEmpty() ? Database::nullText() : QVariant(certNo)});
    }
    void addCandidate(const QString &regno, const QString &convo, const QString &feePaid = {})
    {
        m_session.db().exec(
            u"insert into convo (fregno, fname, fdegree, fcollcode, fconvocode, ffeepaid) values (?, ?, ?, ?, ?, ?)"_s,
            {regno, u"N"_s, u"BA"_s, u"C01"_s, convo, feePaid});
    }
    std::optional<OnlineApplicationImport::Counts> importOnline()
    {
        OnlineApplicationImport run(m_session, m_prompter);
        return run.run();
    }
    std::unique_ptr<test::TestPortal> m_portal;
};

TEST_P(OnlineImportTest, PaidApplicationsAreTakenOverAndMarkUnpaidCandidates)
{
    addStudent(u"R1"_s);
    addStudent(u"R2"_s);
    addStudent(u"R3"_s, u"DC000001"_s); // printed on the portal: not read
    // Two payments of R1: the later one's address is the one the candidate keeps, whatever
    // order the portal lists them in.
    addTransaction(u"A2"_s, u"R1"_s, u"success"_s, u"1, O'BRIEN ROAD"_s, u"05/03/2026 09:00:00"_s);
    addTransaction(u"A1"_s, u"R1"_s, u"success"_s, u"SECOND ADDRESS"_s, u"04/03/2026 18:30:00"_s);
    addTransaction(u"A3"_s, u"R2"_s, u"failed"_s, u"X"_s);
    addTransaction(u"A4"_s, u"R3"_s, u"success"_s, u"X"_s);
    addCandidate(u"R1"_s, u"C26"_s);
    addCandidate(u"R1"_s, u"C25"_s); // every convocation's unprinted row
    addCandidate(u"R2"_s, u"C26"_s);

    const auto counts = importOnline();
    ASSERT_TRUE(counts) << m_prompter.last().toStdString();
    EXPECT_TRUE(
        m_prompter.last().startsWith(u"Completed Successfully\r\rApplications Read: 2\rNew Applications: 2\r"_s))
        << m_prompter.last().toStdString();
    EXPECT_EQ(counts->remoteRows, 2);
    EXPECT_EQ(counts->newApplications, 2);
    EXPECT_EQ(counts->candidatesMarked, 2);
    EXPECT_EQ(count(u"select count(*) from convofee"_s), 2);

    // Both transactions are stored.
    Rows fee =
        m_session.db().query(u"select fappno, fregno, faddr1, famount, fregdate, fphotopath, fpaystatus, fpincode "
                             "from convofee order by fappno"_s);
    ASSERT_TRUE(fee.next());
    EXPECT_EQ(fee.text(0), u"A1"_s);
    EXPECT_DOUBLE_EQ(fee.value(3).toDouble(), 550.0);
    EXPECT_EQ(fee.date(u"fregdate"_s), QDate(2026, 3, 1));
    EXPECT_EQ(fee.text(5), u"photos/A1.jpg"_s);
    EXPECT_EQ(fee.text(6), u"success"_s);
    EXPECT_EQ(fee.text(7), u"570001"_s);
    ASSERT_TRUE(fee.next());
    EXPECT_EQ(fee.text(2), u"1, O`BRIEN ROAD"_s);

    for (const QString &convo : {u"C26"_s, u"C25"_s})
        EXPECT_EQ(test::columns(candidate(u"R1"_s, u"BA"_s, u"C01"_s, convo),
                                {u"ffeepaid"_s, u"fmobile"_s, u"femail"_s, u"faddr2"_s, u"faddr1"_s}),
                  u"T|9876543210|R1@mail.test|STREET 2|1, O`BRIEN ROAD"_s)
            << convo.toStdString();
    EXPECT_NE(candidate(u"R2"_s, u"BA"_s, u"C01"_s).at(u"ffeepaid"_s), u"T"_s);

    // Running again adds nothing and leaves paid candidates alone.
    m_session.db().exec(u"update convo set faddr3 = 'KEPT' where fregno = 'R1'"_s);
    const auto again = importOnline();
    ASSERT_TRUE(again);
    EXPECT_EQ(again->newApplications, 0);
    EXPECT_EQ(again->knownApplications, 2);
    EXPECT_EQ(again->candidatesMarked, 0);
    EXPECT_EQ(count(u"select count(*) from convofee"_s), 2);
    EXPECT_EQ(candidate(u"R1"_s, u"BA"_s, u"C01"_s, u"C26"_s).at(u"faddr3"_s), u"KEPT"_s);
}

// A portal that asks for the student's ABC ID gives it in a column of its own: a good one
// is stored on the candidate, a bad one or one another student holds refuses the application.
TEST_P(OnlineImportTest, AnAbcIdColumnOfThePortalIsCheckedAndStored)
{
    m_portal->db().exec(u"alter table dctran add abc_account_id varchar(20)"_s);
    const std::pair<QString, QString> applications[] = {
        {u"R1"_s, u"111111111111"_s}, {u"R2"_s, u"11111"_s}, {u"R3"_s, u"999999999999"_s}, {u"R4"_s, QString()}};
    int n = 0;
    for (const auto &[regno, abcId] : applications) {
        const QString appNo = u"A"_s + QString::number(++n);
        addStudent(regno);
        addTransaction(appNo, regno, u"success"_s, u"ROAD"_s);
        m_portal->db().exec(u"update dctran set abc_account_id = ? where fappno = ?"_s, {abcId, appNo});
        addCandidate(regno, u"C26"_s);
    }
    m_session.db().exec(u"update convo set fabcid = '444444444444' where fregno = 'R4'"_s);
    m_session.db().exec(u"insert into convo (fregno, fname, fdegree, fcollcode, fconvocode, fabcid) values "
                        "('R9', 'ANOTHER', 'BA', 'C01', 'C25', '999999999999')"_s);

    const auto counts = importOnline();
    ASSERT_TRUE(counts) << m_prompter.last().toStdString();
    EXPECT_EQ(counts->rejected, 2);
    EXPECT_EQ(counts->candidatesMarked, 2);
    EXPECT_EQ(candidate(u"R1"_s, u"BA"_s, u"C01"_s).at(u"fabcid"_s), u"111111111111"_s);
    EXPECT_EQ(candidate(u"R4"_s, u"BA"_s, u"C01"_s).at(u"fabcid"_s), u"444444444444"_s);
    EXPECT_NE(candidate(u"R2"_s, u"BA"_s, u"C01"_s).at(u"ffeepaid"_s), u"T"_s);
    const auto lines = rejectFile(m_session.folder.filePath(u"CSV/dctran"_s));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].mid(0, 5), (QStringList{u"2"_s, u"rejected"_s, u"ABC_ACCOUNT_ID"_s, u"11111"_s,
                                               u"application A2: ABC ID: must be 12 digits"_s}));
    EXPECT_TRUE(lines[2].value(4).startsWith(u"application A3: ABC ID: 999999999999 is already held by R9 ANOTHER"_s))
        << lines[2].value(4).toStdString();
}

TEST_P(OnlineImportTest, ThePortalsOdditiesAreMetAndEveryApplicationAccountedFor)
{
    // A register number typed with a trailing blank on the portal: stored, but the
    // candidate was never marked paid.
    addStudent(u"R5 "_s);
    addTransaction(u"A5"_s, u"R5 "_s, u"success"_s, u"ADDRESS"_s, u"02/03/2026"_s, u"9876543210"_s,
                   QDateTime(QDate(2026, 3, 1), QTime(10, 15, 30)));
    addCandidate(u"R5"_s, u"C26"_s);
    // An e-mail address the portal keeps but the candidate's column cannot names the application.
    addStudent(u"R6"_s);
    addTransaction(u"A6"_s, u"R6"_s, u"success"_s, u"ADDRESS"_s);
    m_portal->db().exec(u"update dctran set femail = ? where fappno = 'A6'"_s,
                        {QString(QString(52, u'x') + u"@mail.test"_s)});
    addCandidate(u"R6"_s, u"C26"_s);
    // A paid application of a student who is no candidate here.
    addStudent(u"R7"_s);
    addTransaction(u"A7"_s, u"R7"_s, u"success"_s, u"ADDRESS"_s);

    const auto counts = importOnline();
    ASSERT_TRUE(counts) << m_prompter.last().toStdString();
    EXPECT_EQ(counts->remoteRows, 3);
    EXPECT_EQ(counts->newApplications, 2);
    EXPECT_EQ(counts->rejected, 1);
    EXPECT_EQ(counts->unmatched, QStringList{u"A7 (R7)"_s});
    EXPECT_EQ(candidate(u"R5"_s, u"BA"_s, u"C01"_s).at(u"ffeepaid"_s), u"T"_s);
    EXPECT_EQ(m_session.db().scalar(u"select fregno from convofee where fappno = 'A5'"_s).toString(), u"R5"_s);
    // The registration keeps its time.
    EXPECT_EQ(m_session.db().scalar(u"select fregdate from convofee where fappno = 'A5'"_s).toDateTime(),
              QDateTime(QDate(2026, 3, 1), QTime(10, 15, 30)));
    EXPECT_NE(candidate(u"R6"_s, u"BA"_s, u"C01"_s).at(u"ffeepaid"_s), u"T"_s);
    EXPECT_EQ(count(u"select count(*) from convofee where fappno = 'A6'"_s), 0);
    EXPECT_TRUE(m_prompter.last().contains(u"Applications of no candidate (1): A7 (R7)"_s))
        << m_prompter.last().toStdString();
    EXPECT_TRUE(m_prompter.last().contains(u"dctran.rejected.csv"_s)) << m_prompter.last().toStdString();
    const auto rejects = rejectFile(m_session.folder.filePath(u"CSV/dctran"_s));
    ASSERT_EQ(rejects.size(), 2u);
    EXPECT_EQ(rejects[1].value(2), u"FEMAIL"_s);
    EXPECT_EQ(rejects[1].value(4), u"application A6: holds 62 characters; the candidate's FEMAIL takes 50"_s);
}

TEST_P(OnlineImportTest, NothingPaidIsSaidAndAPortalWithoutTheTablesStopsWithTheServersMessage)
{
    addStudent(u"R1"_s);
    addTransaction(u"A1"_s, u"R1"_s, u"pending"_s, u"X"_s);
    // Nothing to import is no failure: the command line exits 0.
    const auto counts = importOnline();
    ASSERT_TRUE(counts);
    EXPECT_EQ(counts->remoteRows, 0);
    EXPECT_EQ(m_prompter.last(), u"No Records found to import"_s);

    m_portal->db().exec(u"drop table dctran"_s);
    EXPECT_FALSE(importOnline());
    EXPECT_TRUE(m_prompter.last().startsWith(u"Error Occurred : "_s)) << m_prompter.last().toStdString();
    EXPECT_TRUE(m_prompter.last().contains(u"dctran"_s)) << m_prompter.last().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Backends, OnlineImportTest, test::bothBackends(), test::backendName);

} // namespace
