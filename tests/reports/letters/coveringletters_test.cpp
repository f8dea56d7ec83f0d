// SPDX-License-Identifier: GPL-3.0-or-later
// The dispatch list read from its report file; the letters read from their PDF by
// pdftotext and from their OpenDocument file by Python's zipfile.
#include "dispatchfixture.h"
#include "reports/labels/addresslabels.h"
#include "reports/letters/coveringletters.h"
#include "reports/output/reportoutput.h"
#include "support/fontsets.h"

#include <QImage>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

class CoveringLettersTest : public sw::test::DispatchFixture
{
protected:
    sw::CoveringLetters letters() { return {m_session, m_prompter, header, QDate(2026, 1, 5)}; }
};

TEST_P(CoveringLettersTest, ListGivesThreeCertificatesALineWithDegreeAndCollegeTotals)
{
    for (int i = 1; i <= 4; ++i)
        add({u"R000"_s + QString::number(i), u"BSC"_s, u"C001"_s, u"DC00010"_s + QString::number(i)});
    add({u"R0005"_s, u"MSCPH"_s, u"C001"_s, u"DC000105"_s});
    add({u"R0006"_s, u"BSC"_s, u"C002"_s, u"DC000106"_s});
    add({u"R0007"_s, u"BSC"_s, u"C002"_s, u"DC000107"_s, QDate(2025, 11, 30)}); // printed before the range
    add({u"R0008"_s, u"BSC"_s, u"C002"_s});                                     // not printed
    m_session.convoName = u"75th"_s;
    ASSERT_TRUE(letters().dispatchList(december(), false, m_file));
    const QStringList lines = readLines(m_file);
    const QString all = lines.join(u'\n');
    for (const QString &part :
         {u"75th Convocation"_s, u"Certificate Printed Details : 01/12/2025 to 31/12/2025"_s,
          u"College: C001 - FIRST COLLEGE, SUVARNAPURA"_s, u"College: C002 - SECOND COLLEGE, MALLIGEPURA"_s})
        EXPECT_TRUE(all.contains(part)) << part.toStdString();
    for (const QString &line :
         {u"  Reg. No.   Cert. no.    Reg. No.  Cert. no.     Reg. No.  Cert. no."_s, u"BSC - BACHELOR OF SCIENCE"_s,
          u"~~~~~~~~~~~~~~~~~~~~~~~~~"_s, u"  R0001      DC000101     R0002      DC000102     R0003      DC000103"_s,
          u"  R0004      DC000104"_s, u"  R0005      DC000105"_s, u"  College Total (C001) : 5"_s,
          u"  College Total (C002) : 1"_s, u"Total Certificates : 6"_s})
        EXPECT_TRUE(lines.contains(line)) << line.toStdString() << "\n in \n" << all.toStdString();
    EXPECT_FALSE(all.contains(u"R0007"_s));
    EXPECT_FALSE(all.contains(u"R0008"_s));
    EXPECT_EQ(all.count(u'\f'), 0);

    // Ejecting at each college starts the second college on its own page, with its title.
    ASSERT_TRUE(letters().dispatchList(december(), true, m_file));
    const QString ejected = readLines(m_file).join(u'\n');
    ASSERT_EQ(ejected.count(u'\f'), 1);
    EXPECT_TRUE(ejected.section(u'\f', 1).contains(u"College: C002 - SECOND COLLEGE, MALLIGEPURA"_s));
    EXPECT_FALSE(ejected.section(u'\f', 1).contains(u"C001 - FIRST"_s));
}

// Without ejecting, pages 2 and 3 of the list were headed "College: C001" whatever they held.
TEST_P(CoveringLettersTest, EveryPageOfTheListIsHeadedWithTheCollegeItContinues)
{
    m_session.db().exec(
        u"insert into college (fcollcode, fcollname, ftown) values ('C003', 'THIRD COLLEGE', 'HUBLI')"_s);
    // The register number's letter tells the college: A for C001, B for C002, C for C003.
    const QStringList colleges = {u"C001"_s, u"C002"_s, u"C003"_s};
    for (int c = 0; c < colleges.size(); ++c) {
        for (int i = 1; i <= 160; ++i)
            add({QChar(u'A' + c) + QString::number(i).rightJustified(4, u'0'), u"BSC"_s, colleges[c],
                 u"DC"_s + QString::number(c * 1000 + i).rightJustified(6, u'0')});
    }
    for (bool eject : {false, true}) {
        SCOPED_TRACE(eject ? "ejecting at each college" : "colleges running on");
        ASSERT_TRUE(letters().dispatchList(december(), eject, m_file));
        const QStringList pages = readLines(m_file).join(u'\n').split(QChar(12));
        ASSERT_GE(pages.size(), 4);
        for (const QString &page : pages) {
            const qsizetype title = page.indexOf(u"College: C00"_s);
            ASSERT_GE(title, 0) << page.toStdString();
            const QChar headed = page.at(title + 12); // the college's last digit
            // The first candidate on the page (a page may hold the closing totals only).
            static const QRegularExpression candidate(u"\n  ([ABC])\\d{4} "_s);
            const QRegularExpressionMatch first = candidate.match(page);
            if (first.hasMatch()) {
                EXPECT_EQ(QChar(u'A' + headed.digitValue() - 1), first.captured(1).at(0)) << page.toStdString();
            }
        }
    }
}

TEST_P(CoveringLettersTest, EmptyRangesSayNoDataAndWriteNothing)
{
    add({u"R0001"_s, u"BSC"_s, u"C001"_s, u"DC000101"_s, QDate(2025, 11, 2)});
    EXPECT_FALSE(letters().dispatchList(december(), false, m_file));
    EXPECT_EQ(m_prompter.last(), u"No records found for the range"_s);
    EXPECT_FALSE(QFile::exists(m_file));
    for (auto kind : {sw::CoveringLetters::Kind::College, sw::CoveringLetters::Kind::Checklist,
                      sw::CoveringLetters::Kind::Student, sw::CoveringLetters::Kind::StudentWithoutAck}) {
        const QString odt = m_dir.filePath(u"out.odt"_s);
        EXPECT_FALSE(letters().writeDocument(kind, december(), odt, m_dir.filePath(u"out.pdf"_s)));
        EXPECT_EQ(m_prompter.last(), u"No Data found for the given for the range"_s);
        EXPECT_FALSE(QFile::exists(odt));
    }
}

TEST_P(CoveringLettersTest, CollegeLetterPerCollegeWithItsTableAndClosingAndThePictureOfTheHead)
{
    add({u"R0001"_s, u"BSC"_s, u"C001"_s, u"DC000101"_s});
    add({u"R0002"_s, u"MSCPH"_s, u"C001"_s, u"DC000102"_s});
    add({u"R0003"_s, u"BSC"_s, u"C002"_s, u"DC000103"_s});
    const auto document = letters().collegeLetters(december());
    ASSERT_TRUE(document);
    EXPECT_TRUE(document->header.pictures.empty()) << "no ms.jpg: no picture, no error";
    const QStringList pages = pdfPages(*document);
    ASSERT_EQ(pages.size(), 2);
    const QString &first = pages[0];
    EXPECT_TRUE(first.contains(u"VARADA UNIVERSITY"_s));
    EXPECT_TRUE(first.contains(u"Vidya Nagar, Suvarnapura - 599 001"_s));
    EXPECT_EQ(lineWith(first, u"Page "_s), u"Page 1 of 1"_s); // each college's letter counts its own pages
    EXPECT_TRUE(lineWith(first, u"Ref :"_s).startsWith(u"Ref : KU/EXAM/CONVO"_s));
    EXPECT_TRUE(lineWith(first, u"Ref :"_s).endsWith(u"Date: 05/01/2026"_s));
    EXPECT_EQ(lineWith(first, u"C001 - "_s), u"C001 - FIRST COLLEGE"_s);
    EXPECT_EQ(lineWith(first, u"Subject:"_s), u"Subject: Dispatching of the Degree certificates."_s);
    EXPECT_EQ(lineWith(first, u"Sl.no"_s), u"Sl.no Degree Reg.no. Student Name Cert. no."_s);
    EXPECT_EQ(lineWith(first, u"R0001"_s), u"1 BACHELOR OF SCIENCE R0001 NAME OF R0001 DC000101"_s);
    EXPECT_EQ(lineWith(first, u"R0002"_s), u"2 MASTER OF SCIENCE (PHYSICS) R0002 NAME OF R0002 DC000102"_s);
    EXPECT_EQ(lineWith(first, u"Yours"_s), u"Yours Faithfully"_s);
    EXPECT_EQ(lineWith(first, u"Registrar"_s), u"Registrar (Evaluation)"_s);
    EXPECT_EQ(lineWith(first, u"Enclosed"_s), u"Enclosed: Total 2 Degree Certificates"_s);
    EXPECT_FALSE(first.contains(u"R0003"_s));
    // The letter head is at the top, above the reference line.
    EXPECT_LT(first.indexOf(u"VARADA UNIVERSITY"_s), first.indexOf(u"Ref :"_s));

    const QString &second = pages[1];
    EXPECT_TRUE(second.contains(u"VARADA UNIVERSITY"_s)) << "the letter head repeats on every page";
    EXPECT_EQ(lineWith(second, u"C002 - "_s), u"C002 - SECOND COLLEGE"_s);
    EXPECT_TRUE(second.contains(u"MALLIGEPURA"_s));
    EXPECT_EQ(lineWith(second, u"R0003"_s), u"1 BACHELOR OF SCIENCE R0003 NAME OF R0003 DC000103"_s);
    EXPECT_EQ(lineWith(second, u"Enclosed"_s), u"Enclosed: Total 1 Degree Certificates"_s);

    // Written as OpenDocument and PDF, with the picture of the head.
    QImage picture(300, 100, QImage::Format_RGB32);
    picture.fill(Qt::darkBlue);
    ASSERT_TRUE(picture.save(m_session.folder.filePath(u"MS.JPG"_s)));
    const QString odt = m_dir.filePath(u"letters.odt"_s);
    const QString pdf = m_dir.filePath(u"letters.pdf"_s);
    ASSERT_TRUE(letters().writeDocument(sw::CoveringLetters::Kind::College, december(), odt, pdf));
    EXPECT_EQ(m_prompter.last(), u"Report Generated Successfully"_s);
    const QString xml = odtContent(odt);
    EXPECT_TRUE(xml.contains(u"Dispatching of the Degree certificates."_s));
    EXPECT_TRUE(xml.contains(u"NAME OF R0001"_s));
    EXPECT_TRUE(xml.contains(u"<table:table "_s));
    EXPECT_EQ(pdfPages(pdf).size(), 2);
    // The picture sits between the head's lines; the body still starts below the head.
    const auto pictured = letters().collegeLetters(december());
    ASSERT_EQ(pictured->header.pictures.size(), 1u);
    const QRectF at = pictured->header.pictures[0].points;
    EXPECT_NEAR(at.height(), 0.6 * 72, 0.01);
    EXPECT_NEAR(at.width(), 3 * 0.6 * 72, 0.01);
    EXPECT_GT(pictured->page.topInches * 72, at.bottom());
}

TEST_P(CoveringLettersTest, ChecklistInCertificateOrderWithPrintedDates)
{
    add({u"R0001"_s, u"BSC"_s, u"C002"_s, u"DC000103"_s, QDate(2025, 12, 3)});
    add({u"R0002"_s, u"MSCPH"_s, u"C001"_s, u"DC000101"_s, QDate(2025, 12, 1)});
    add({u"R0003"_s, u"BSC"_s, u"C001"_s, u"DC000102"_s, QDate(2025, 12, 2)});
    const auto document = letters().checklist(december());
    ASSERT_TRUE(document);
    const QStringList pages = pdfPages(*document);
    ASSERT_EQ(pages.size(), 1);
    const QString &page = pages[0];
    EXPECT_EQ(lineWith(page, u"Certificate Printed"_s), u"Certificate Printed Details from 01/12/2025 to 31/12/2025"_s);
    EXPECT_EQ(lineWith(page, u"Sl.no"_s), u"Sl.no College Degree Reg.no. Student Name Cert. no. Printed Date"_s);
    EXPECT_LT(page.indexOf(u"DC000101"_s), page.indexOf(u"DC000102"_s));
    EXPECT_LT(page.indexOf(u"DC000102"_s), page.indexOf(u"DC000103"_s));
    // The degree and its speciality fit the column in Calibri's widths (Carlito's).
    EXPECT_EQ(lineWith(page, u"DC000101"_s),
              u"1 C001 MASTER OF SCIENCE (PHYSICS) R0002 NAME OF R0002 DC000101 01/12/2025"_s);
    EXPECT_EQ(lineWith(page, u"DC000103"_s), u"3 C002 BACHELOR OF SCIENCE R0001 NAME OF R0001 DC000103 03/12/2025"_s);
    EXPECT_EQ(lineWith(page, u"Total No."_s), u"Total No. of Certificates : 3"_s);
}

TEST_P(CoveringLettersTest, StudentLettersOnlyForCandidatesWithAFeeRecord)
{
    add({u"R0001"_s, u"BSC"_s, u"C001"_s, u"DC000101"_s});
    add({u"R0002"_s, u"MSCPH"_s, u"C001"_s, u"DC000102"_s});
    add({u"R0003"_s, u"BSC"_s, u"C002"_s, u"DC000103"_s}); // no fee record: no letter
    fee({u"R0001"_s, u"A1001"_s});
    fee({u"R0002"_s, u"A1002"_s, u"Tatkal"_s});
    const auto withAck = letters().studentLetters(december());
    ASSERT_TRUE(withAck);
    const QStringList pages = pdfPages(*withAck);
    ASSERT_EQ(pages.size(), 2);
    const QString &first = pages[0];
    EXPECT_EQ(lineWith(first, u"Mr / Mrs"_s), u"Mr / Mrs NAME OF R0001 [A1001]"_s);
    EXPECT_EQ(lineWith(first, u"House 1"_s), u"House 1, R0001"_s);
    EXPECT_EQ(lineWith(first, u"KOTEBETTA"_s), u"KOTEBETTA"_s);
    EXPECT_EQ(lineWith(first, u"Pincode"_s), u"Pincode: 580020"_s);
    EXPECT_EQ(lineWith(first, u"Mobile"_s), u"Mobile: 9876500000"_s);
    EXPECT_EQ(lineWith(first, u"Subject"_s), u"Subject: Dispatching of the Degree certificate."_s);
    EXPECT_TRUE(first.contains(u"within 30 days."_s));
    EXPECT_EQ(lineWith(first, u"Sl.no"_s), u"Sl.no Degree Reg.no. Student Name Cert. no. Quota Amount"_s);
    EXPECT_EQ(lineWith(first, u"DC000101"_s), u"1 BACHELOR OF SCIENCE R0001 NAME OF R0001 DC000101 Normal 500.00"_s)
        << first.toStdString();
    EXPECT_TRUE(first.contains(QString(142, u'-'))) << first.toStdString();
    EXPECT_EQ(lineWith(first, u"Office"_s), u"Office Copy"_s);
    EXPECT_EQ(first.count(u"Ref : KU/EXAM/CONVO"_s), 2);
    EXPECT_TRUE(pages[1].contains(u"[A1002]"_s));
    EXPECT_TRUE(pages[1].contains(u"Tatkal"_s));
    EXPECT_FALSE(QString(pages[0] + pages[1]).contains(u"R0003"_s));

    const auto withoutAck = letters().studentLettersWithoutAck(december());
    ASSERT_TRUE(withoutAck);
    const QStringList plain = pdfPages(*withoutAck);
    ASSERT_EQ(plain.size(), 2);
    EXPECT_FALSE(plain[0].contains(u"Office Copy"_s));
    EXPECT_EQ(plain[0].count(u"Ref : KU/EXAM/CONVO"_s), 1);
    EXPECT_EQ(lineWith(plain[0], u"Yours"_s), u"Yours Faithfully"_s);
}

// College letters numbered their pages "n of 8" across different colleges' letters, and a
// table that ran on to another page lost its heading row there.
TEST_P(CoveringLettersTest, EachLetterNumbersItsOwnPagesAndItsTableRepeatsItsHeadings)
{
    for (int i = 1; i <= 70; ++i) {
        const QString regno = u"R"_s + QString::number(i).rightJustified(4, u'0');
        add({regno, u"BSC"_s, u"C001"_s, u"DC"_s + QString::number(i).rightJustified(6, u'0')});
    }
    add({u"R0900"_s, u"BSC"_s, u"C002"_s, u"DC000900"_s});
    fee({u"R0001"_s, u"A1"_s});
    fee({u"R0002"_s, u"A2"_s});
    struct Case
    {
        sw::CoveringLetters::Kind kind;
        QString headings;    // the table's heading row, as pdftotext reads it
        QStringList numbers; // the page numbers, page by page
    };
    using Kind = sw::CoveringLetters::Kind;
    const QString letterHeadings = u"Sl.no Degree Reg.no. Student Name Cert. no."_s;
    const Case cases[] = {
        {Kind::College, letterHeadings, {u"Page 1 of 2"_s, u"Page 2 of 2"_s, u"Page 1 of 1"_s}},
        {Kind::Checklist,
         u"Sl.no College Degree Reg.no. Student Name Cert. no. Printed Date"_s,
         {u"Page 1 of 2"_s, u"Page 2 of 2"_s}},
        {Kind::StudentWithoutAck,
         u"Sl.no Degree Reg.no. Student Name Cert. no. Quota Amount"_s,
         {u"Page 1 of 1"_s, u"Page 1 of 1"_s}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.kind));
        const QString odt = m_dir.filePath(u"letters.odt"_s);
        const QString pdf = m_dir.filePath(u"letters.pdf"_s);
        ASSERT_TRUE(letters().writeDocument(c.kind, december(), odt, pdf));
        const QStringList pages = pdfPages(pdf);
        QStringList numbers;
        for (const QString &page : pages) {
            numbers << lineWith(page, u"Page "_s);
            EXPECT_EQ(lineWith(page, u"Sl.no"_s), c.headings) << page.toStdString();
        }
        EXPECT_EQ(numbers, c.numbers);
        // The OpenDocument file says the same to the word processor: heading rows that
        // repeat, and each letter's pages numbered from 1.
        EXPECT_TRUE(odtContent(odt).contains(u"<table:table-header-rows>"_s));
        if (c.kind != Kind::Checklist) {
            EXPECT_TRUE(odtContent(odt).contains(u"style:page-number=\"1\""_s));
        }
    }
}

// Run by the next test in a process of its own, under each set of fonts: the labels, each
// kind of letter and a text report as PDF.
TEST_P(CoveringLettersTest, WritesTheDispatchPagesForTheFontComparison)
{
    if (sw::test::pagesOutFolder().isEmpty() || GetParam() != sw::test::TestBackend::SQLite)
        GTEST_SKIP() << "run by TheDispatchPagesAreTheSameWithEveryFontOfTheMachine";
    const QDir out(sw::test::pagesOutFolder());
    add({u"R0001"_s, u"BSC"_s, u"C001"_s, u"DC000101"_s});
    add({u"R0002"_s, u"MSCPH"_s, u"C001"_s, u"DC000102"_s});
    add({u"R0003"_s, u"BSC"_s, u"C002"_s, u"DC000103"_s});
    for (const QString &regno : {u"R0001"_s, u"R0002"_s, u"R0003"_s})
        fee({regno, u"A"_s + regno});
    using Kind = sw::CoveringLetters::Kind;
    for (const auto &[kind, name] : {std::pair{Kind::College, u"college"_s}, std::pair{Kind::Checklist, u"checklist"_s},
                                     std::pair{Kind::Student, u"student"_s}}) {
        ASSERT_TRUE(letters().writeDocument(kind, december(), m_dir.filePath(name + u".odt"_s),
                                            out.filePath(name + u".pdf"_s)));
    }
    ASSERT_TRUE(letters().dispatchList(december(), false, m_file));
    sw::writeReportPdf(m_file, out.filePath(u"list-report.pdf"_s));
    sw::LabelSelection labels{december(), {}, {}};
    labels.normaliseRanges();
    EXPECT_EQ(sw::AddressLabels(m_session, m_prompter)
                  .labelSheets(labels, m_dir.filePath(u"labels.odt"_s), out.filePath(u"labels.pdf"_s)),
              3);
}

// Labels, letters and reports embed the same faces and set every word in the same place
// whatever other fonts the machine has.
TEST_P(CoveringLettersTest, TheDispatchPagesAreTheSameWithEveryFontOfTheMachine)
{
    if (!sw::test::pagesOutFolder().isEmpty() || GetParam() != sw::test::TestBackend::SQLite)
        GTEST_SKIP() << "compared once, on SQLite";
    const QStringList differences =
        sw::test::pagesThatDependOnFonts(u"*CoveringLettersTest.WritesTheDispatchPages*SQLite*"_s);
    EXPECT_TRUE(differences.isEmpty()) << differences.join(u'\n').toStdString();
}

TEST(CoveringLetterKinds, NamesOfTheCommandLine)
{
    using Kind = sw::CoveringLetters::Kind;
    for (const auto &[name, kind] : {std::pair{u"list"_s, Kind::List}, std::pair{u"College"_s, Kind::College},
                                     std::pair{u"checklist"_s, Kind::Checklist}, std::pair{u"student"_s, Kind::Student},
                                     std::pair{u"student-no-ack"_s, Kind::StudentWithoutAck}})
        EXPECT_EQ(sw::CoveringLetters::kindFromName(name), kind) << name.toStdString();
    EXPECT_FALSE(sw::CoveringLetters::kindFromName(u"students"_s));
}

INSTANTIATE_TEST_SUITE_P(Backends, CoveringLettersTest, sw::test::bothBackends(), sw::test::backendName);

} // namespace
