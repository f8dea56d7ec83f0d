// SPDX-License-Identifier: GPL-3.0-or-later
#include "listfixture.h"
#include "reports/lists/certprintedlist.h"
#include "support/python.h"
#include "support/testportal.h"

#include <QJsonArray>

using namespace Qt::StringLiterals;

namespace {

class CertPrintedTest : public sw::test::ListFixture
{
protected:
    sw::CertPrintedReports reports() { return {m_session, m_prompter, header}; }
};

TEST_P(CertPrintedTest, ListsPrintedCertificatesOfTheDateRangeByDateOfIssue)
{
    add({u"R0001"_s, u"BSC"_s, u"C001"_s, u"DC000101"_s, QDate(2025, 12, 2)});
    add({u"R0002"_s, u"MSCPH"_s, u"C002"_s, u"DC000102"_s, QDate(2025, 12, 31)});
    add({u"R0003"_s, u"BSC"_s, u"C001"_s, u"DC000103"_s, QDate(2026, 1, 1)}); // printed after the range
    add({u"R0004"_s, u"BSC"_s, u"C001"_s});                                   // not printed
    add({u"R0005"_s, u"BSC"_s, u"C001"_s, u"DC000105"_s, QDate(2025, 12, 5), u"C024"_s});
    ASSERT_TRUE(reports().printedList(december(), m_file));
    const QStringList lines = readLines(m_file);
    const QString all = lines.join(u'\n');
    EXPECT_TRUE(lines.contains(sw::reportline::centred(u"CERTIFICATE PRINTED DETAILS"_s, 80)));
    EXPECT_TRUE(lines.contains(u"Date: 20/12/2025"_s));
    EXPECT_TRUE(lines.contains(u"  1  R0001       NAME OF R0001         DC000101  BACHELOR OF SCI  FIRST COLLEGE  "_s))
        << all.toStdString();
    EXPECT_TRUE(all.contains(u"R0002"_s)); // the last day of the range counts
    EXPECT_FALSE(all.contains(u"R0003"_s));
    EXPECT_FALSE(all.contains(u"R0004"_s));
    EXPECT_FALSE(all.contains(u"R0005"_s));
}

TEST_P(CertPrintedTest, CountsEveryConvocationAndTotals)
{
    add({u"R0001"_s, u"BSC"_s, u"C001"_s, u"DC000101"_s});
    add({u"R0002"_s, u"BSC"_s, u"C002"_s, u"DC000102"_s});
    add({u"R0003"_s, u"BSC"_s, u"C001"_s, u"DC000103"_s, {}, u"C024"_s});
    ASSERT_TRUE(reports().countPerConvocation(december(), m_file));
    EXPECT_EQ(m_prompter.last(),
              u" You are going to generate the Certificate Printed Details (Summary) of all convocations"_s);
    const QStringList lines = readLines(m_file);
    EXPECT_TRUE(lines.contains(u"  1   C024     74TH Convocation                           1"_s))
        << lines.join(u'\n').toStdString();
    EXPECT_TRUE(lines.contains(u"  2   C025     75TH Convocation                           2"_s));
    EXPECT_TRUE(lines.contains(u"         Total Certificates                               3"_s));
}

TEST_P(CertPrintedTest, LedgerGivesEachDegreeItsOwnPagesOfTwentyFiveLines)
{
    for (int i = 1; i <= 30; ++i)
        add({QStringLiteral("B%1").arg(i, 4, 10, QChar(u'0')), u"BSC"_s, u"C001"_s,
             QStringLiteral("DC%1").arg(i, 6, 10, QChar(u'0'))});
    add({u"M0001"_s, u"MSCPH"_s, u"C001"_s, u"DC000900"_s});
    m_prompter.answer(sw::PromptAnswer::Yes);
    ASSERT_TRUE(reports().convocationLedger(december(), m_file));
    const QString text = readLines(m_file).join(u'\n');
    const QStringList pages = text.split(QChar(12));
    // 30 BSC lines (plus the college heading) need two pages; MSc starts a third.
    ASSERT_EQ(pages.size(), 3) << text.toStdString();
    EXPECT_TRUE(pages[0].contains(u"COURSE: BSC - BACHELOR OF SCIENCE"_s));
    EXPECT_TRUE(pages[0].contains(u"CONVOCATION LEDGER - 75TH CONVOCATION [20/12/2025]"_s));
    EXPECT_TRUE(pages[0].contains(u"C001 - FIRST COLLEGE, SUVARNAPURA"_s));
    EXPECT_TRUE(pages[1].contains(u"B0030"_s));
    EXPECT_TRUE(pages[2].contains(u"COURSE: MSCPH - MASTER OF SCIENCE[PHYSICS]"_s));
    EXPECT_TRUE(
        pages[2].contains(u"   31  M0001       NAME OF M0001                   FC       DC000900    01/12/2025"_s))
        << pages[2].toStdString();
    EXPECT_EQ(text.split(u'\n').first().size(), QStringLiteral("HEADER 1").size());
    const QStringList firstPage = pages[0].split(u'\n');
    qsizetype rowLines = 0;
    for (const QString &line : firstPage)
        rowLines += line.startsWith(u"  "_s) && line.contains(u"NAME OF"_s) ? 1 : 0;
    EXPECT_EQ(rowLines, 23); // the college heading and its underline take the other two lines
}

TEST_P(CertPrintedTest, CsvFileOfTheDayIsReplacedByALaterRun)
{
    add({u"R0001"_s, u"BSC"_s, u"C001"_s, u"DC000101"_s, QDate(2025, 12, 2)});
    const QDate today(2025, 12, 6);
    EXPECT_EQ(reports().certificateDetailsCsv(december(), today), 1);
    EXPECT_EQ(m_prompter.last(), u"Total No. of Records Exported : 1"_s);
    const QString path = m_session.folder.filePath(u"CSV/CERTDET06122025.csv"_s);
    EXPECT_EQ(readLines(path).first(), u"BSC,2025,1,C001,R0001,DC000101,02/12/2025,20/12/2025"_s);
    // Read as any CSV reader reads it: one record of eight fields.
    const QJsonObject read = sw::test::runPython(
        u"import csv, json, sys\nprint(json.dumps({'rows': list(csv.reader(open(sys.argv[1], newline='')))}))"_s,
        {path});
    const QJsonArray rows = read[u"rows"_s].toArray();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].toArray().size(), 8);
    EXPECT_EQ(rows[0].toArray()[5].toString(), u"DC000101"_s);
    add({u"R0002"_s, u"BSC"_s, u"C001"_s, u"DC000102"_s, QDate(2025, 12, 3)});
    EXPECT_EQ(reports().certificateDetailsCsv(december(), today), 2);
    EXPECT_EQ(readLines(path).size(), 3); // two lines and the empty rest after the last CR LF
}

TEST_P(CertPrintedTest, NothingInTheRangeWritesNothing)
{
    EXPECT_FALSE(reports().printedList(december(), m_file));
    EXPECT_EQ(reports().certificateDetailsCsv(december()), -1);
    EXPECT_EQ(m_prompter.last(), u"No records found for the range"_s);
}

TEST_P(CertPrintedTest, OnlineUpdateWritesNumbersAndDatesIntoThePortal)
{
    if (!sw::test::MariaDbServer::fromEnvironment()) {
        if (sw::test::MariaDbServer::required())
            FAIL() << "the portal needs the MariaDB server";
        GTEST_SKIP() << "no MariaDB server for the portal";
    }
    m_session.instCode = u"003"_s;
    sw::test::TestPortal portal(m_session.folder, u"003"_s);
    add({u"R0001"_s, u"BSC"_s, u"C001"_s, u"DC000101"_s});
    add({u"R0002"_s, u"BSC"_s, u"C002"_s, u"DC000102"_s});
    for (const QString &regno : {u"R0001"_s, u"R0002"_s})
        portal.db().exec(u"insert into dcstud (fregno, fdegree, fcollcode, fcnvno) values (?, 'BSC', ?, 'C025')"_s,
                         {regno, regno == u"R0001"_s ? u"C001"_s : u"C002"_s});
    m_session.db().exec(u"insert into convofee (fappno, fregno) values ('A1', 'R0002')"_s);
    m_session.db().exec(u"insert into convofee (fappno, fregno) values ('A2', 'R0002')"_s); // paid twice

    m_prompter.answer(sw::PromptAnswer::Cancel);
    EXPECT_EQ(reports().updatePortal(december()), -1);
    EXPECT_EQ(portal.db().scalar(u"select count(*) from dcstud where fcertno is not null"_s).toInt(), 0);

    m_prompter.answer(sw::PromptAnswer::Yes); // only those who paid online
    EXPECT_EQ(reports().updatePortal(december()), 1);
    EXPECT_EQ(m_prompter.last(), u"Total No. of Records Updated : 1"_s);
    EXPECT_EQ(portal.db().scalar(u"select fcertno from dcstud where fregno = 'R0002'"_s).toString(), u"DC000102"_s);
    EXPECT_EQ(portal.db().scalar(u"select fcertdate from dcstud where fregno = 'R0002'"_s).toString(), u"2025-12-20"_s);
    EXPECT_TRUE(portal.db().scalar(u"select fcertno from dcstud where fregno = 'R0001'"_s).isNull());

    // A second run finds the row already up to date: still counted, not reported missing.
    m_prompter.answer(sw::PromptAnswer::Yes);
    EXPECT_EQ(reports().updatePortal(december()), 1);
    EXPECT_EQ(m_prompter.last(), u"Total No. of Records Updated : 1"_s);

    // A candidate the portal never had is named, not counted.
    add({u"R0003"_s, u"BSC"_s, u"C001"_s, u"DC000103"_s});
    m_prompter.answer(sw::PromptAnswer::No); // everyone printed in the range
    EXPECT_EQ(reports().updatePortal(december()), 2);
    EXPECT_EQ(m_prompter.last(), u"Total No. of Records Updated : 2\r\nNot in the portal (1): R0003"_s);
    EXPECT_EQ(portal.db().scalar(u"select fcertno from dcstud where fregno = 'R0001'"_s).toString(), u"DC000101"_s);
    EXPECT_EQ(portal.db().scalar(u"select count(*) from dcstud"_s).toInt(), 2);
}

INSTANTIATE_TEST_SUITE_P(Backends, CertPrintedTest, sw::test::bothBackends(), sw::test::backendName);

TEST(PrintedListSelection, DateBoxesAreCheckedInTheScreensOrder)
{
    sw::PrintedListSelection s;
    EXPECT_EQ(s.takeDates(u"__/__/____"_s, u"01/01/2025"_s), u"Information should be entered"_s);
    EXPECT_EQ(s.takeDates(u"31/02/2025"_s, u"01/03/2025"_s), u"Invalid date format"_s);
    EXPECT_EQ(s.takeDates(u"02/01/2025"_s, u"01/01/2025"_s), u"From Date should be < To Date"_s);
    EXPECT_EQ(s.takeDates(u"01/01/2025"_s, u"01/01/2025"_s), QString());
    EXPECT_EQ(s.fromDate, QDate(2025, 1, 1));
}

TEST(PrintedListSelection, ABlankOrZeroFirstFieldMeansTheWholeRange)
{
    sw::PrintedListSelection s;
    s.fromDegree = u"0"_s;
    s.fromCollege = u"C002"_s;
    s.normaliseRanges();
    EXPECT_EQ(s.fromDegree, u"00000"_s);
    EXPECT_EQ(s.toDegree, u"ZZZZZ"_s);
    EXPECT_EQ(s.toCollege, u"C002"_s);
}

} // namespace
