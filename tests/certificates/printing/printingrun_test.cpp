// SPDX-License-Identifier: GPL-3.0-or-later
// Whole printing runs on the real databases: numbers, spoiled sheets, refusals,
// collisions, the stationery register, and runs that stop before their end.
#include "printingfixture.h"

#include "certificates/printing/stationeryreport.h"
#include "shell/core/stoperror.h"
#include "shell/db/database.h"

#include <QFile>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

using PrintingRunTest = test::PrintingFixture;

TEST_P(PrintingRunTest, SpoiledSheetUsesItsNumberAndARefusedPhotographUsesNone)
{
    // R1 good, R2 spoiled, R3 has no photograph and is passed over, R4 good.
    m_prompter.answer(PromptAnswer::Yes);
    m_prompter.answer(PromptAnswer::No);
    m_prompter.answer(PromptAnswer::No);
    m_prompter.answer(PromptAnswer::Yes);
    const PrintingResult r = print(selection());

    EXPECT_TRUE(r.completed);
    EXPECT_EQ(r.printed, 2);
    EXPECT_EQ(r.spoiled, 1);
    EXPECT_EQ(r.skipped, 1);
    EXPECT_EQ(r.nextNumber, 20);
    EXPECT_EQ(certNo(u"R1"_s), u"A000017"_s);
    EXPECT_EQ(certNo(u"R2"_s), u""_s);
    EXPECT_EQ(certNo(u"R3"_s), u""_s);
    EXPECT_EQ(certNo(u"R4"_s), u"A000019"_s);
    EXPECT_TRUE(m_prompter.texts().contains(u"Remove the waste certificate and click ok to continue"_s));
    // The last message counts what the run did and names its numbers.
    // The spoiled sheet's file left the good ones, and the message says where it went.
    EXPECT_EQ(m_prompter.last(),
              u"Printed Successfully: 2 certificates and 1 spoiled sheet, A000017 to A000019, in "
              "the folder "_s
                  + QDir::toNativeSeparators(m_out.path())
                  + u". 1 candidate was passed over.\nA000018_R2.pdf moved to Spoiled/A000018_R2.pdf in "_s
                  + QDir::toNativeSeparators(m_out.path()));

    // Who printed it and when is stored with the number.
    Rows row =
        m_session.db().query(u"select fdate, fprintedby, fprintdate, fprinttime from convo where fregno = 'R1'"_s);
    ASSERT_TRUE(row.next());
    EXPECT_EQ(row.date(u"fdate"_s), QDate(2026, 3, 12));
    EXPECT_EQ(row.text(1), u"CLERK"_s);
    EXPECT_EQ(row.date(u"fprintdate"_s), QDate::currentDate());
    EXPECT_TRUE(row.text(3).endsWith(u"M"_s)) << row.text(3).toStdString();

    EXPECT_EQ(registerRows(), (QStringList{u" SKIPPED R3 WS1"_s, u"A000017 PRINTED R1 WS1"_s,
                                           u"A000018 SPOILED R2 WS1"_s, u"A000019 PRINTED R4 WS1"_s}));

    // The sheets went to the printer with their numbers: one per sheet, the spoiled one in Spoiled/.
    const QDir out(m_out.path());
    EXPECT_EQ(out.entryList({u"*.pdf"_s}, QDir::Files, QDir::Name),
              (QStringList{u"A000017_R1.pdf"_s, u"A000019_R4.pdf"_s}));
    EXPECT_EQ(QDir(out.filePath(u"Spoiled"_s)).entryList({u"*.pdf"_s}, QDir::Files), QStringList{u"A000018_R2.pdf"_s});
    const QString text = test::pdfText(out.filePath(u"A000017_R1.pdf"_s));
    EXPECT_TRUE(text.contains(u"Name R1"_s));
    EXPECT_TRUE(text.contains(u"Varada University"_s));
    EXPECT_TRUE(text.contains(u"Date : 12/03/2026"_s));

    // A second run selects the two left and starts where the stationery stands.
    PrintSelection next = selection();
    next.startNumber = u"20"_s;
    m_prompter.answer(PromptAnswer::Yes);
    m_prompter.answer(PromptAnswer::Yes); // R3 without photograph: print anyway
    m_prompter.answer(PromptAnswer::Yes);
    EXPECT_EQ(print(next).printed, 2);
    EXPECT_EQ(certNo(u"R2"_s), u"A000020"_s);
    EXPECT_EQ(certNo(u"R3"_s), u"A000021"_s);
}

TEST_P(PrintingRunTest, CollidingRangeIsRefusedListingEveryHolderBeforeAnythingPrints)
{
    test::insertCandidate(m_session.db(), u"X1"_s, {{u"fdegree"_s, u"BSC"_s}, {u"fcertno"_s, u"A000018"_s}});
    test::insertCandidate(m_session.db(), u"X2"_s, {{u"fdegree"_s, u"BSC"_s}, {u"fcertno"_s, u"A000020"_s}});
    // A number belongs to its sheet for ever: another convocation's holder collides too.
    test::insertCandidate(m_session.db(), u"X3"_s, {{u"fconvocode"_s, u"C25"_s}, {u"fcertno"_s, u"A000017"_s}});
    const PrintingResult r = print(selection());
    EXPECT_EQ(r.printed, 0);
    EXPECT_EQ(m_prompter.last(),
              u"Certificate No. already exist!!\nX3 - A000017 (convocation C25)\nX1 - A000018\nX2 - A000020"_s);
    EXPECT_EQ(r.nextNumber, 19); // the first free number from the start
    EXPECT_TRUE(registerRows().isEmpty());
    EXPECT_TRUE(QDir(m_out.path()).isEmpty());

    // Just past the colliding numbers the range is free (four candidates: 21..24).
    PrintSelection s = selection();
    s.startNumber = u"21"_s;
    printAll(s);
}

TEST_P(PrintingRunTest, SelectionIsCheckedBeforeAnythingPrintsAndASingleRegisterNumberTakesItsCollege)
{
    using Change = std::function<void(PrintSelection &)>;
    const auto colleges = [](QString from, QString to) -> Change {
        return [=](PrintSelection &s) {
            s.collegeFrom = from;
            s.collegeTo = to;
        };
    };
    const auto regnos = [](QString from, QString to) -> Change {
        return [=](PrintSelection &s) {
            s.regnoFrom = from;
            s.regnoTo = to;
        };
    };
    struct Case
    {
        const char *what;
        Change change;
        QString message;
    };
    const std::vector<Case> cases = {
        {"empty degree", [](PrintSelection &s) { s.degree.clear(); }, u"Information should be entered"_s},
        {"degree without candidates", [](PrintSelection &s) { s.degree = u"BSC"_s; },
         u"Invalid Degree/No students exists for the degree"_s},
        {"unknown college", colleges(u"999"_s, u"999"_s), u"Invalid College/No students exists for the college"_s},
        {"end equal to start", [](PrintSelection &s) { s.endNumber = s.startNumber; },
         u"Value should be greater than From certificate no"_s},
        {"start above end",
         [](PrintSelection &s) {
             s.startNumber = u"50"_s;
             s.endNumber = u"20"_s;
         },
         u"Value should be greater than From certificate no"_s},
        {"type 4 is named by the hint but refused", [](PrintSelection &s) { s.certType = u"4"_s; },
         u"Invalid Certificate Type"_s},
        {"empty register range", regnos(u"S1"_s, u"S9"_s), u"Reg. No. S1 is not a candidate of convocation C26."_s},
        {"range without candidates", regnos(u"R5"_s, u"R9"_s), u"Reg. No. R5 is not a candidate of convocation C26."_s},
        {"register numbers reversed", regnos(u"R4"_s, u"R1"_s), u"No records found for the given range"_s},
        {"colleges reversed", colleges(u"101"_s, u"0000"_s), u"No records found for the given range"_s},
    };
    for (const Case &c : cases) {
        PrintSelection s = selection();
        c.change(s);
        m_prompter.clear();
        EXPECT_EQ(print(s).printed, 0) << c.what;
        EXPECT_EQ(m_prompter.last(), c.message) << c.what;
    }
    PrintSelection blank = selection();
    blank.prefix = u"A B"_s;
    print(blank);
    EXPECT_TRUE(m_prompter.last().contains(u"contains a blank"_s)) << m_prompter.last().toStdString();
    PrintSelection badDate = selection();
    badDate.issueDate = u"31/02/2026"_s;
    print(badDate);
    EXPECT_TRUE(m_prompter.last().contains(u"31/02/2026"_s));
    EXPECT_TRUE(registerRows().isEmpty());
    EXPECT_TRUE(QDir(m_out.path()).isEmpty());
    EXPECT_EQ(certNo(u"R1"_s), u""_s);

    // A single register number is checked and takes its college.
    PrintSelection s = selection();
    s.regnoFrom = s.regnoTo = u"R2"_s;
    PrintingRun run(m_session, m_prompter);
    ASSERT_TRUE(run.check(s));
    EXPECT_EQ(s.collegeFrom, u"101"_s);
    EXPECT_EQ(s.collegeTo, u"ZZZZ"_s);

    m_session.db().exec(u"update convo set fcertno = 'Z1' where fregno = 'R2'"_s);
    EXPECT_FALSE(run.check(s));
    EXPECT_EQ(m_prompter.last(), u"Certificate is already printed for this Reg. No."_s);

    // Without a photograph the clerk is asked; No keeps the box.
    s.regnoFrom = s.regnoTo = u"R3"_s;
    m_prompter.answer(PromptAnswer::No);
    EXPECT_FALSE(run.check(s));
    EXPECT_EQ(m_prompter.last(), u"Student photo is not available for printing. Do you want to continue?"_s);

    m_session.db().exec(u"update convo set factive = 'F' where fregno = 'R4'"_s);
    s.regnoFrom = s.regnoTo = u"R4"_s;
    EXPECT_FALSE(run.check(s));
    EXPECT_EQ(m_prompter.last(), u"Student is not active for printing"_s);
}

TEST_P(PrintingRunTest, RunStopsAtTheEndOfTheStationery)
{
    PrintSelection s = selection();
    s.startNumber = u"1"_s;
    s.endNumber = u"2"_s;
    m_prompter.answer(PromptAnswer::Yes);
    m_prompter.answer(PromptAnswer::Yes);
    const PrintingResult r = print(s);
    EXPECT_FALSE(r.completed);
    EXPECT_EQ(r.printed, 2);
    EXPECT_EQ(r.nextNumber, 3);
    EXPECT_EQ(m_prompter.last(),
              u"The certificate range ends at A000002; 2 candidates are left for the next run with new stationery."_s);
    EXPECT_EQ(certNo(u"R3"_s), u""_s);
}

TEST_P(PrintingRunTest, MissingKannadaExamDateStopsBeforeTheSheetAndKeepsEarlierNumbers)
{
    m_session.db().exec(u"update convo set fexamdate = 'MAY 2025' where fregno = 'R2'"_s);
    m_prompter.answer(PromptAnswer::Yes);
    const PrintingResult r = print(selection());
    EXPECT_EQ(r.printed, 1);
    EXPECT_EQ(m_prompter.last(), u"Error in kannada exam date MAY 2025"_s);
    EXPECT_EQ(certNo(u"R1"_s), u"A000017"_s);
    EXPECT_EQ(certNo(u"R2"_s), u""_s);
    EXPECT_EQ(registerRows(), QStringList{u"A000017 PRINTED R1 WS1"_s});
}

// While a sheet prints, another workstation changes its candidate: the sheet is
// registered as spoiled with the reason and the run goes on with the next one.
class OtherWorkstationOutput final : public SheetOutput
{
public:
    OtherWorkstationOutput(std::unique_ptr<Database> other, QString change)
        : m_other(std::move(other))
        , m_change(std::move(change))
    {
    }
    void print(const Document &, const QString &, const QString &regno) override
    {
        if (regno == u"R1"_s)
            m_other->exec(m_change, {regno});
    }

private:
    std::unique_ptr<Database> m_other;
    QString m_change;
};

TEST_P(PrintingRunTest, CandidateChangedElsewhereWhileItsSheetPrintedGetsNoNumber)
{
    const struct
    {
        const char *what;
        QString change;
        QString reason;
    } cases[] = {
        {"printed", u"update convo set fcertno = 'B000001' where fregno = ?"_s,
         u"Reg. No. R1 was printed on another workstation (certificate B000001)"_s},
        {"deactivated", u"update convo set factive = 'F' where fregno = ?"_s,
         u"Reg. No. R1 was deactivated or withdrawn"_s},
        {"withdrawn", u"update convo set factive = 'F', fprintord = null where fregno = ?"_s,
         u"Reg. No. R1 was deactivated or withdrawn"_s},
    };
    int start = 17;
    for (const auto &c : cases) {
        m_session.db().exec(u"update convo set fcertno = null, factive = 'T'"_s);
        OtherWorkstationOutput output(m_folder->connect(), c.change);
        PrintingRun run(m_session, m_prompter);
        run.setWorkstation(u"WS1"_s);
        PrintSelection s = selection();
        s.startNumber = QString::number(start);
        s.regnoFrom = u"R1"_s;
        s.regnoTo = u"R2"_s;
        m_prompter.clear();
        m_prompter.answer(PromptAnswer::Yes); // R1's sheet came out well, but R1 changed meanwhile
        m_prompter.answer(PromptAnswer::Yes); // R2
        const PrintingResult r = run.run(s, output);
        EXPECT_TRUE(r.completed) << c.what;
        EXPECT_EQ(r.printed, 1) << c.what;
        EXPECT_EQ(r.spoiled, 1) << c.what;
        EXPECT_NE(certNo(u"R1"_s), s.certificateNumber(start)) << c.what;
        EXPECT_EQ(certNo(u"R2"_s), s.certificateNumber(start + 1)) << c.what;
        EXPECT_TRUE(m_prompter.texts().contains(u"Certificate "_s + s.certificateNumber(start)
                                                + u" is registered as spoiled: "_s + c.reason
                                                + u". Take that sheet out; the run goes on with the next candidate."_s))
            << c.what << '\n'
            << m_prompter.texts().join(u'\n').toStdString();
        EXPECT_EQ(value(u"select fstate from certsheet where fnumber = ?"_s, {start}), u"SPOILED"_s) << c.what;
        start += 2;
    }
}

// A screen's run (one with a progress callback) is told while a batch of copies is made on
// the other threads, so its window keeps answering; the copies are the same.
TEST_P(PrintingRunTest, PdfCopiesForAScreenReportWhileTheirBatchIsMade)
{
    printAll();
    m_prompter.answer(PromptAnswer::Yes); // R3's copy without a photograph
    PrintSelection s = selection();
    s.mode = PrintMode::Pdf;
    QStringList statuses;
    FolderOutput output(m_out.path());
    PrintingRun run(m_session, m_prompter, [&](const QString &status, int) { statuses << status; });
    EXPECT_EQ(run.run(s, output).copies, 4);
    EXPECT_TRUE(statuses.contains(u"Writing the PDF copies, Please Wait ..."_s)) << statuses.join(u'|').toStdString();
    for (const QString &regno : {u"R1"_s, u"R2"_s, u"R3"_s, u"R4"_s})
        EXPECT_TRUE(test::pdfText(m_session.folder.filePath(u"CSV/DCPDF/DC_003_"_s + regno + u"_F_2025_1.pdf"_s))
                        .contains(certNo(regno)))
            << regno.toStdString();
}

TEST_P(PrintingRunTest, PdfModeCopiesPrintedCertificatesAndWritesNothingToTheCandidatesAndTheStationeryReportShowsGaps)
{
    printAll();
    m_prompter.answer(PromptAnswer::Yes); // R3's copy without a photograph
    PrintSelection s = selection();
    s.mode = PrintMode::Pdf;
    s.temp = true;
    s.startNumber.clear();
    s.endNumber.clear();
    s.issueDate.clear();
    const PrintingResult r = print(s);
    EXPECT_EQ(r.copies, 4);
    const QString pdf = m_session.folder.filePath(u"CSV/DCPDF/DC_003_R4_F_2025_1.pdf"_s);
    ASSERT_TRUE(QFile::exists(pdf));
    const QString text = test::pdfText(pdf);
    EXPECT_TRUE(text.contains(u"A000020"_s)) << text.toStdString(); // the stored number, stamped at the top
    EXPECT_TRUE(text.contains(u"Date of Issue : 12/03/2026"_s));
    EXPECT_EQ(certNo(u"R4"_s), u"A000020"_s);
    EXPECT_EQ(test::fileText(m_session.folder.filePath(u"mcverifypdf.log"_s)).count(u"CREATED"_s), 4);
    // Four printed, no more register rows: copies use no stationery.
    EXPECT_EQ(registerRows().size(), 4);

    // The stationery report shows gaps and numbers used twice: a sheet journaled twice before the ledger kept every
    // number once.
    m_session.db().exec(u"insert into stationery (fprefix, fnumber, fcertno, fregno, foutcome, fconvocode) values "
                        "('A', 18, 'A000018', 'X9', 'SPOILED', 'C26')"_s);
    const StationeryReport report(m_session.db());
    const QStringList lines = report.lines(u"A"_s, 16, 21);
    ASSERT_EQ(lines.size(), 10) << lines.join(u'\n').toStdString();
    EXPECT_EQ(lines[0], u"A000016      NEVER USED"_s);
    EXPECT_TRUE(lines[1].startsWith(u"A000017      PRINTED  R1"_s));
    EXPECT_EQ(lines[4], u"A000018      USED 2 TIMES"_s);
    EXPECT_EQ(lines[7], u"A000021      NEVER USED"_s);
    EXPECT_EQ(lines[8], u"Never used: A000016, A000021"_s);
    EXPECT_EQ(lines[9], u"6 numbers: 4 printed, 0 spoiled, 0 void, 0 pending, 2 never used; 1 used more than once"_s);
    // Another prefix is another stack of stationery.
    EXPECT_EQ(report.lines(u"B"_s, 17, 17).last(),
              u"1 numbers: 0 printed, 0 spoiled, 0 void, 0 pending, 1 never used; 0 used more than once"_s);
}

TEST(PrintingRunDates, IssueDateIsTheDayNeverAFixedOne)
{
    EXPECT_EQ(PrintingRun::defaultIssueDate(QDate(2026, 1, 5)), u"05/01/2026"_s);
    EXPECT_EQ(PrintingRun::defaultIssueDate(QDate(2013, 3, 12)), u"12/03/2013"_s);
    EXPECT_EQ(PrintingRun::defaultIssueDate(QDate(2027, 12, 31)), u"31/12/2027"_s);
    PrintSelection s;
    s.prefix = u"A"_s;
    EXPECT_EQ(s.certificateNumber(17), u"A000017"_s);
    EXPECT_EQ(s.certificateNumber(1234567), u"A1234567"_s);
    s.collegeFrom = u"0"_s;
    s.regnoFrom = u"0"_s;
    s.expandAllRanges();
    EXPECT_EQ(s.collegeFrom + s.collegeTo + s.regnoFrom + s.regnoTo, u"0000ZZZZ00000000ZZZZZZZZ"_s);
}

INSTANTIATE_TEST_SUITE_P(Backends, PrintingRunTest, test::bothBackends(), test::backendName);

// Runs that end before their last candidate: a Stop between sheets, a printer that
// fails, pictures that are missing. What was confirmed stays stored, nothing is stored
// for the sheet that was not, and the run says how far it got.
// Stands in for the printer; on the sheet numbered `atSheet` (1-based) it asks the
// run to stop, or fails as a printer does.
class InterruptingPrinter final : public SheetOutput
{
public:
    enum class Then { Stop, Fail };
    InterruptingPrinter(PrintingRun &run, int atSheet, Then then)
        : m_run(run)
        , m_at(atSheet)
        , m_then(then)
    {
    }
    void print(const Document &, const QString &certNo, const QString &) override
    {
        if (++m_sheets == m_at && m_then == Then::Fail)
            throw StopError(u"The printer \"Office\" reports: out of paper."_s);
        if (m_sheets == m_at)
            m_run.requestStop(); // the clerk presses Stop while this sheet prints
        printed << certNo;
    }
    QStringList printed;

private:
    PrintingRun &m_run;
    int m_at;
    Then m_then;
    int m_sheets = 0;
};

class RunStopsTest : public test::PrintingFixture
{
protected:
    PrintingResult runWith(InterruptingPrinter::Then then, int atSheet, const PrintSelection &s = selection())
    {
        PrintingRun run(m_session, m_prompter);
        run.setWorkstation(u"WS1"_s);
        InterruptingPrinter printer(run, atSheet, then);
        const PrintingResult r = run.run(s, printer);
        m_printed = printer.printed;
        return r;
    }
    QStringList m_printed;
};

TEST_P(RunStopsTest, StopBetweenSheetsKeepsTheConfirmedSheetsAndSaysHowFar)
{
    // R1 good, R2 spoiled; Stop is pressed while R2's sheet prints.
    m_prompter.answer(PromptAnswer::Yes);
    m_prompter.answer(PromptAnswer::No);
    const PrintingResult r = runWith(InterruptingPrinter::Then::Stop, 2);
    EXPECT_FALSE(r.completed);
    EXPECT_EQ(r.printed, 1);
    EXPECT_EQ(r.spoiled, 1);
    EXPECT_EQ(r.nextNumber, 19);
    EXPECT_EQ(m_prompter.last(), u"Printing stopped after 2 of 4 sheets (1 printed, 1 spoiled); last number A000018. "
                                 "The next sheet is A000019."_s);
    EXPECT_FALSE(m_prompter.answersLeft());
    EXPECT_EQ(certNo(u"R1"_s), u"A000017"_s);
    EXPECT_EQ(certNo(u"R3"_s), u""_s);
    EXPECT_EQ(registerRows(), (QStringList{u"A000017 PRINTED R1 WS1"_s, u"A000018 SPOILED R2 WS1"_s}));

    // The next run starts where the stationery stands; a Stop during its first sheet.
    m_prompter.clear();
    PrintSelection next = selection();
    next.startNumber = u"19"_s;
    m_prompter.answer(PromptAnswer::Yes);
    const PrintingResult second = runWith(InterruptingPrinter::Then::Stop, 1, next);
    EXPECT_EQ(second.printed, 1);
    EXPECT_EQ(m_prompter.last(), u"Printing stopped after 1 of 3 sheets (1 printed, 0 spoiled); last number A000019. "
                                 "The next sheet is A000020."_s);
    EXPECT_EQ(certNo(u"R2"_s), u"A000019"_s);
}

// PDF copies are written in batches: a Stop writes the copies composed so far first.
TEST_P(RunStopsTest, StoppedCopyRunWritesTheCopiesItComposed)
{
    m_prompter.answer(PromptAnswer::Yes); // R3 without a photograph: printed all the same
    PrintSelection printing = selection();
    printing.temp = true;
    ASSERT_EQ(print(printing).printed, 4);

    m_prompter.clear();
    PrintSelection s = selection();
    s.mode = PrintMode::Pdf;
    s.startNumber = u"1"_s;
    s.endNumber = u"999999"_s;
    PrintingRun *self = nullptr;
    int sheets = 0;
    PrintingRun run(m_session, m_prompter, [&](const QString &status, int) {
        if (status.startsWith(u"Printing Certificate "_s) && ++sheets == 3)
            self->requestStop(); // pressed while the third copy is composed
    });
    self = &run;
    FolderOutput unused(m_out.path());
    m_prompter.answer(PromptAnswer::Yes); // R3's copy without a photograph
    const PrintingResult r = run.run(s, unused);
    EXPECT_EQ(r.copies, 3);
    EXPECT_EQ(m_prompter.last(), u"PDF copies stopped after 3 of 4 certificates; 3 copies are written."_s);
    const QDir copies(m_session.folder.filePath(u"CSV/DCPDF"_s));
    // The run printing with the current layout kept a copy of each; the stopped run rewrote three.
    EXPECT_EQ(test::fileText(m_session.folder.filePath(u"mcverifypdf.log"_s)).count(u"CREATED"_s), 7);
    EXPECT_TRUE(copies.entryList({u"*.part"_s}).isEmpty());
}

TEST_P(RunStopsTest, FailingPrinterStopsWithItsMessageAndSpoilsThatSheet)
{
    m_prompter.answer(PromptAnswer::Yes); // R1's sheet came out well
    const PrintingResult r = runWith(InterruptingPrinter::Then::Fail, 2);
    EXPECT_FALSE(r.completed);
    EXPECT_EQ(r.printed, 1);
    EXPECT_EQ(r.spoiled, 1);
    EXPECT_EQ(m_prompter.last(), u"The printer \"Office\" reports: out of paper.\nCertificate A000018 is registered as "
                                 "spoiled: take that sheet out of the printer. The next sheet is A000019."_s);
    EXPECT_EQ(certNo(u"R1"_s), u"A000017"_s);
    EXPECT_EQ(certNo(u"R2"_s), u""_s);
    // The sheet may have been half printed: its number is used up, with the printer's reason.
    EXPECT_EQ(registerRows(), (QStringList{u"A000017 PRINTED R1 WS1"_s, u"A000018 SPOILED R2 WS1"_s}));
    EXPECT_TRUE(value(u"select fremarks from certsheet where fnumber = 18"_s).contains(u"out of paper"_s));
    EXPECT_EQ(m_printed, QStringList{u"A000017"_s});

    // A printer that does not exist is refused by name before any number is used.
    m_prompter.clear();
    PrinterOutput missing(u"No Such Printer"_s);
    PrintingRun run(m_session, m_prompter);
    PrintSelection s = selection();
    s.startNumber = u"19"_s;
    EXPECT_EQ(run.run(s, missing).printed, 0);
    EXPECT_EQ(m_prompter.last(), u"The printer \"No Such Printer\" does not exist."_s);
    EXPECT_EQ(certNo(u"R2"_s), u""_s);
    EXPECT_EQ(registerRows().size(), 2);
    EXPECT_FALSE(m_session.db().exists(u"select 1 from certsheet where fnumber = 19"_s));
}

// The seal and the signature are the institution's pictures: a sheet without them
// still prints (the stationery may carry them), the photograph has its own question.
TEST_P(RunStopsTest, MissingSealAndSignaturePrintWithoutThem)
{
    QFile::remove(m_session.folder.filePath(u"seal.jpg"_s));
    QFile::remove(m_session.folder.filePath(u"vcm.jpg"_s));
    PrintSelection s = selection();
    s.regnoFrom = s.regnoTo = u"R1"_s;
    m_prompter.answer(PromptAnswer::Yes);
    const PrintingResult r = print(s);
    EXPECT_TRUE(r.completed);
    EXPECT_EQ(r.printed, 1);
    const QString text = test::pdfText(QDir(m_out.path()).filePath(u"A000017_R1.pdf"_s));
    EXPECT_TRUE(text.contains(u"Name R1"_s)) << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Backends, RunStopsTest, test::bothBackends(), test::backendName);

} // namespace
