// SPDX-License-Identifier: GPL-3.0-or-later
// Runs that end before their last candidate: a Stop between sheets, a printer
// that fails, a selection that selects nothing, pictures that are missing. What
// was confirmed stays stored, nothing is stored for the sheet that was not, and
// the run says how far it got.
#include "printingfixture.h"

#include "shell/core/stoperror.h"
#include "shell/db/database.h"

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

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
    void preview(const Document &, const QString &, const QString &) override { }
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
    QFile log(m_session.folder.filePath(u"mcverifypdf.log"_s));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(log.readAll()).count(u"CREATED"_s), 7);
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
    EXPECT_TRUE(m_session.db()
                    .scalar(u"select fremarks from certsheet where fnumber = 18"_s)
                    .toString()
                    .contains(u"out of paper"_s));
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

TEST_P(RunStopsTest, RangesThatSelectNobodyAreRefusedBeforeAnySheet)
{
    const std::vector<std::pair<const char *, std::function<void(PrintSelection &)>>> cases = {
        {"register numbers reversed",
         [](PrintSelection &s) {
             s.regnoFrom = u"R4"_s;
             s.regnoTo = u"R1"_s;
         }},
        {"colleges reversed",
         [](PrintSelection &s) {
             s.collegeFrom = u"101"_s;
             s.collegeTo = u"0000"_s;
         }},
    };
    for (const auto &[what, change] : cases) {
        PrintSelection s = selection();
        change(s);
        m_prompter.clear();
        const PrintingResult r = runWith(InterruptingPrinter::Then::Stop, 99, s);
        EXPECT_EQ(m_prompter.last(), u"No records found for the given range"_s) << what;
        EXPECT_EQ(r.printed, 0) << what;
    }
    EXPECT_TRUE(m_printed.isEmpty());
    EXPECT_TRUE(registerRows().isEmpty());
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
