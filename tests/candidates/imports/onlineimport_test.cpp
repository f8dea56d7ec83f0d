// SPDX-License-Identifier: GPL-3.0-or-later
// The online application import against a real portal database on the MariaDB server.
#include "candidates/imports/onlineimport.h"
#include "importfixture.h"

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
        if (IsSkipped())
            return;
        if (!test::backendAvailable(TestBackend::MariaDB))
            return;
        m_portal = std::make_unique<test::TestPortal>(m_session.folder, u"003"_s);
    }
    void addTransaction(const QString &appNo, const QString &regno, const QString &status, const QString &addr1)
    {
        m_portal->db().exec(
            u"insert into dctran (fappno, fregno, fname, fdob, fmobile, femail, fpostaddr1, fpostaddr2, fpostaddr3, "
            "fpostaddr4, famount, fphotopath, fregdate, fregip, fpaytype, fpaystatus, fpaydate, ftranid, fcatpath, "
            "freccer, fscheme, fcity, fstate, fpincode) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s,
            {appNo, regno, QString(u"NAME "_s + regno), u"01/01/2000"_s, u"9876543210"_s, QString(regno + u"@mail.test"_s), addr1,
             u"STREET 2"_s, u"TOWN"_s, u"DISTRICT"_s, 550.0, QString(u"photos/"_s + appNo + u".jpg"_s), QDate(2026, 3, 1),
             u"10.0.0.1"_s, u"NETBANKING"_s, status, u"02/03/2026"_s, QString(u"TX"_s + appNo), QString(u"cat/"_s + appNo), u"POST"_s,
             u"REG"_s, u"MYSURU"_s, u"KARNATAKA"_s, u"570001"_s});
    }
    void addStudent(const QString &regno, const QString &certNo = {})
    {
        m_portal->db().exec(u"insert into dcstud (fregno, fcertno) values (?, ?)"_s,
                            {regno, certNo.isEmpty() ? Database::nullText() : QVariant(certNo)});
    }
    void addCandidate(const QString &regno, const QString &convo, const QString &feePaid = {})
    {
        m_session.db().exec(u"insert into convo (fregno, fname, fdegree, fcollcode, fconvocode, ffeepaid) values (?, ?, ?, ?, ?, ?)"_s,
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
    if (!m_portal)
        GTEST_SKIP();
    addStudent(u"R1"_s);
    addStudent(u"R2"_s);
    addStudent(u"R3"_s, u"DC000001"_s); // printed on the portal: not read
    addTransaction(u"A2"_s, u"R1"_s, u"success"_s, u"1, O'BRIEN ROAD"_s);
    addTransaction(u"A1"_s, u"R1"_s, u"success"_s, u"SECOND ADDRESS"_s);
    addTransaction(u"A3"_s, u"R2"_s, u"failed"_s, u"X"_s);
    addTransaction(u"A4"_s, u"R3"_s, u"success"_s, u"X"_s);
    addCandidate(u"R1"_s, u"C26"_s);
    addCandidate(u"R1"_s, u"C25"_s); // every convocation's unprinted row
    addCandidate(u"R2"_s, u"C26"_s);

    const auto counts = importOnline();
    ASSERT_TRUE(counts) << m_prompter.last().toStdString();
    EXPECT_EQ(m_prompter.last(), u"Completed Successfully"_s);
    EXPECT_EQ(counts->remoteRows, 2);
    EXPECT_EQ(counts->newApplications, 2);
    EXPECT_EQ(count(u"select count(*) from convofee"_s), 2);

    // Both transactions are stored; the candidate takes the first one's address.
    Rows fee = m_session.db().query(u"select fappno, fregno, faddr1, famount, fregdate, fphotopath, fpaystatus, fpincode "
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

    for (const QString &convo : {u"C26"_s, u"C25"_s}) {
        const auto r1 = candidate(u"R1"_s, u"BA"_s, u"C01"_s, convo);
        EXPECT_EQ(r1.at(u"ffeepaid"_s), u"T"_s);
        EXPECT_EQ(r1.at(u"fmobile"_s), u"9876543210"_s);
        EXPECT_EQ(r1.at(u"femail"_s), u"R1@mail.test"_s);
        EXPECT_EQ(r1.at(u"faddr2"_s), u"STREET 2"_s);
        // A1 comes first for R1 in the portal's order only by chance; whichever came first stays.
        EXPECT_FALSE(r1.at(u"faddr1"_s).isEmpty());
    }
    EXPECT_NE(candidate(u"R2"_s, u"BA"_s, u"C01"_s).at(u"ffeepaid"_s), u"T"_s);

    // Running again adds nothing and leaves paid candidates alone.
    m_session.db().exec(u"update convo set faddr3 = 'KEPT' where fregno = 'R1'"_s);
    const auto again = importOnline();
    ASSERT_TRUE(again);
    EXPECT_EQ(again->newApplications, 0);
    EXPECT_EQ(again->candidatesMarked, 0);
    EXPECT_EQ(count(u"select count(*) from convofee"_s), 2);
    EXPECT_EQ(candidate(u"R1"_s, u"BA"_s, u"C01"_s, u"C26"_s).at(u"faddr3"_s), u"KEPT"_s);
}

TEST_P(OnlineImportTest, NothingPaidSaysSo)
{
    if (!m_portal)
        GTEST_SKIP();
    addStudent(u"R1"_s);
    addTransaction(u"A1"_s, u"R1"_s, u"pending"_s, u"X"_s);
    EXPECT_FALSE(importOnline());
    EXPECT_EQ(m_prompter.last(), u"No Records found to import"_s);
}

TEST_P(OnlineImportTest, APortalWithoutTheTablesStopsWithTheServersMessage)
{
    if (!m_portal)
        GTEST_SKIP();
    m_portal->db().exec(u"drop table dctran"_s);
    EXPECT_FALSE(importOnline());
    EXPECT_TRUE(m_prompter.last().startsWith(u"Error Occurred : "_s)) << m_prompter.last().toStdString();
    EXPECT_TRUE(m_prompter.last().contains(u"dctran"_s)) << m_prompter.last().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Backends, OnlineImportTest, ::testing::Values(TestBackend::SQLite, TestBackend::MariaDB),
                         test::backendName);

} // namespace
