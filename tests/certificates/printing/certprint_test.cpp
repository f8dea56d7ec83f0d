// SPDX-License-Identifier: GPL-3.0-or-later
// The printing screen driven offscreen: its boxes feed the run, its status bar
// follows it, and the N2F mode only copies.
#include "printingfixture.h"

#include "certificates/printing/certprint.h"
#include "certificates/printing/stationeryledger.h"
#include "shell/forms/commandactions.h"
#include "shell/forms/commanddispatcher.h"
#include "shell/forms/screenregistry.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::TestBackend;

namespace {

class CertPrintTest : public test::PrintingFixture
{
protected:
    std::unique_ptr<CertPrint> open(PrintMode mode)
    {
        auto screen = std::make_unique<CertPrint>(FormContext{m_session, m_prompter, m_dispatcher}, mode);
        screen->setOutput(std::make_unique<FolderOutput>(m_out.path()));
        screen->activated();
        return screen;
    }
    static void fill(CertPrint &screen, std::initializer_list<std::pair<int, QString>> boxes)
    {
        for (const auto &[index, value] : boxes)
            screen.text(index)->setText(value);
    }

    CommandActions m_actions;
    CommandDispatcher m_dispatcher{m_actions, m_prompter};
};

TEST_P(CertPrintTest, OpensWithTheConvocationDateAndPrintsFromItsBoxes)
{
    auto screen = open(PrintMode::Print);
    EXPECT_EQ(screen->objectName(), u"CERTPRINT"_s);
    EXPECT_EQ(screen->windowTitle(), u"Degree Certificate Printing . . ."_s);
    EXPECT_EQ(screen->text(26)->text(), u"20/12/2025"_s);
    EXPECT_EQ(screen->mskdt0()->text(), u"12/03/2013"_s);
    EXPECT_TRUE(screen->chk(0)->isChecked());
    EXPECT_FALSE(screen->chk(0)->isEnabled());
    EXPECT_EQ(screen->text(6)->toolTip(),
              u"Certificate Type, 1 - UG / PG with out Speciality, 2 - UG / PG with Speciality, 3 - PHD, 4 - MPHIL "_s);

    fill(*screen, {{0, u"ba"_s}, {1, u"0"_s}, {2, u"0"_s}, {4, u"a"_s}, {5, u"17"_s}, {30, u"40"_s}, {6, u"1"_s}});
    m_prompter.answer(PromptAnswer::Yes); // R3 without a photograph
    screen->VPSproc(u"print"_s);          // the current layout stores each sheet as it prints
    EXPECT_EQ(m_prompter.last(), u"Printed Successfully"_s);
    EXPECT_EQ(certNo(u"R1"_s), u"A000017"_s);
    EXPECT_EQ(certNo(u"R4"_s), u"A000020"_s);
    EXPECT_EQ(screen->text(5)->text(), u"21"_s);
    EXPECT_TRUE(screen->hint().isEmpty());
    EXPECT_TRUE(QFile::exists(m_session.folder.filePath(u"CSV/DCPDF/DC_003_R1_F_2025_1.pdf"_s)));

    // Nothing is left to print: the run says so and the boxes stay as they are.
    screen->VPSproc(u"print"_s);
    EXPECT_EQ(m_prompter.last(), u"Invalid Degree/No students exists for the degree"_s);
}

TEST_P(CertPrintTest, PdfModeNamesItselfAndWritesOnlyCopies)
{
    m_session.db().exec(u"update convo set fcertno = 'Z000001', fdate = ? where fregno = 'R2'"_s, {QDate(2026, 1, 2)});
    auto screen = open(PrintMode::Pdf);
    EXPECT_EQ(screen->windowTitle(), u"Degree Certificate Printing . . . (PDF for NAD)"_s);
    fill(*screen, {{0, u"BA"_s}, {1, u"0"_s}, {2, u"0"_s}, {6, u"1"_s}});
    screen->VPSproc(u"print"_s);
    EXPECT_EQ(m_prompter.last(), u"Printed Successfully"_s);
    const QString pdf = m_session.folder.filePath(u"CSV/DCPDF/DC_003_R2_F_2025_1.pdf"_s);
    ASSERT_TRUE(QFile::exists(pdf));
    EXPECT_TRUE(test::pdfText(pdf).contains(u"Date of Issue : 02/01/2026"_s));
    EXPECT_EQ(certNo(u"R1"_s), u""_s);
    EXPECT_TRUE(registerRows().isEmpty());
}

// The clerk presses Stop while a sheet prints: the run ends after that sheet.
class ClickingStopOutput final : public SheetOutput
{
public:
    explicit ClickingStopOutput(CertPrint *&screen, bool byClosing = false)
        : m_screen(screen)
        , m_byClosing(byClosing)
    {
    }
    void print(const Document &, const QString &, const QString &) override
    {
        enabledWhilePrinting = m_screen->stopButton()->isEnabled();
        if (++sheets != (m_byClosing ? 1 : 2))
            return;
        if (m_byClosing)
            closed = m_screen->close();
        else
            m_screen->stopButton()->click();
    }
    bool closed = false;
    void preview(const Document &, const QString &, const QString &) override {}
    int sheets = 0;
    bool enabledWhilePrinting = false;

private:
    CertPrint *&m_screen;
    bool m_byClosing;
};

TEST_P(CertPrintTest, StopButtonEndsTheRunBetweenSheets)
{
    CertPrint *raw = nullptr;
    auto output = std::make_unique<ClickingStopOutput>(raw);
    ClickingStopOutput *printer = output.get();
    auto screen = open(PrintMode::Print);
    raw = screen.get();
    screen->setOutput(std::move(output));
    EXPECT_FALSE(screen->stopButton()->isEnabled());
    fill(*screen, {{0, u"BA"_s}, {1, u"0"_s}, {2, u"0"_s}, {4, u"A"_s}, {5, u"17"_s}, {30, u"40"_s}, {6, u"1"_s}});
    screen->VPSproc(u"print"_s);
    EXPECT_TRUE(printer->enabledWhilePrinting);
    EXPECT_FALSE(screen->stopButton()->isEnabled());
    EXPECT_EQ(printer->sheets, 2);
    EXPECT_EQ(m_prompter.last(), u"Printing stopped after 2 of 4 sheets (2 printed, 0 spoiled); last number A000018. "
                                  "The next sheet is A000019."_s);
    EXPECT_EQ(certNo(u"R2"_s), u"A000018"_s);
    EXPECT_EQ(certNo(u"R3"_s), u""_s);
    EXPECT_EQ(screen->text(5)->text(), u"19"_s); // the stationery's next sheet

    // Closing the screen while a sheet prints stops the run instead; afterwards it closes.
    auto closing = std::make_unique<ClickingStopOutput>(raw, true);
    ClickingStopOutput *second = closing.get();
    screen->setOutput(std::move(closing));
    screen->show();
    m_prompter.answer(PromptAnswer::Yes); // R3 without a photograph
    screen->VPSproc(u"print"_s);
    EXPECT_FALSE(second->closed);
    EXPECT_TRUE(screen->isVisible());
    EXPECT_EQ(m_prompter.last(), u"Printing stopped after 1 of 2 sheets (1 printed, 0 spoiled); last number A000019. "
                                  "The next sheet is A000020."_s);
    EXPECT_EQ(certNo(u"R4"_s), u""_s);
    EXPECT_TRUE(screen->close());
}

TEST_P(CertPrintTest, SpoiledSheetsAreCheckedShownAndRegistered)
{
    auto screen = open(PrintMode::Print);
    screen->setOutput(std::make_unique<FolderOutput>(m_out.path()));
    fill(*screen, {{0, u"BA"_s}, {1, u"0"_s}, {2, u"0"_s}, {4, u"A"_s}, {5, u"17"_s}, {30, u"40"_s}, {6, u"1"_s}});
    m_prompter.answer(PromptAnswer::Yes); // R3 without a photograph
    screen->VPSproc(u"print"_s);          // stored as printed, without asking
    ASSERT_EQ(certNo(u"R4"_s), u"A000020"_s);

    // A typing error is named and nothing is asked or registered.
    m_prompter.answerInput(u"19, 2O"_s);
    screen->spoiledButton()->click();
    EXPECT_TRUE(m_prompter.last().startsWith(u"\"2O\" is not a sheet number"_s)) << m_prompter.last().toStdString();

    // The clerk sees what will happen and may still say No.
    m_prompter.answerInput(u"19-20"_s);
    m_prompter.answer(PromptAnswer::No);
    screen->spoiledButton()->click();
    EXPECT_TRUE(m_prompter.last().startsWith(u"A000019: taken back from Reg. No. R3"_s)) << m_prompter.last().toStdString();
    EXPECT_EQ(certNo(u"R3"_s), u"A000019"_s);

    m_prompter.answerInput(u"A000019-A000020"_s);
    m_prompter.answer(PromptAnswer::Yes);
    m_prompter.answerInput(u"ribbon smudged"_s);
    screen->spoiledButton()->click();
    EXPECT_EQ(m_prompter.last(), u"2 sheets registered as spoiled."_s);
    EXPECT_EQ(certNo(u"R3"_s), u""_s);
    EXPECT_EQ(certNo(u"R4"_s), u""_s);
    EXPECT_FALSE(m_prompter.answersLeft());
}

// Sheets a run left waiting for their answer are settled first, one question each.
TEST_P(CertPrintTest, SpoiledSheetsSettlesTheSheetsLeftWaitingFirst)
{
    auto screen = open(PrintMode::Print);
    fill(*screen, {{4, u"a"_s}});
    StationeryLedger ledger(m_session.db(), u"C26"_s, u"CLERK"_s, u"WS1"_s);
    IssueDetails issue;
    issue.issueDate = QDate(2026, 3, 12);
    for (const auto &[number, regno] : {std::pair{30, u"R1"_s}, std::pair{31, u"R2"_s}})
        ASSERT_TRUE(ledger.reserve(u"A"_s, number, u"1"_s, {SheetHolder::Kind::Degree, regno, u"BA"_s, u"101"_s, {}, {}},
                                   issue)
                        .sheet);
    m_prompter.answer(PromptAnswer::Yes); // A000030 came out well
    m_prompter.answer(PromptAnswer::No);  // A000031 did not
    m_prompter.answerInput(std::nullopt); // and no other sheet to register now
    screen->spoiledButton()->click();
    EXPECT_TRUE(m_prompter.texts().value(0).startsWith(u"A000030 (Reg. No. R1, convocation C26): sent to the printer "
                                                       "by CLERK at WS1"_s))
        << m_prompter.texts().join(u'\n').toStdString();
    EXPECT_EQ(certNo(u"R1"_s), u"A000030"_s);
    EXPECT_EQ(certNo(u"R2"_s), u""_s);
    EXPECT_EQ(m_session.db().scalar(u"select fstate from certsheet where fnumber = 31"_s).toString(), u"SPOILED"_s);
    EXPECT_FALSE(m_prompter.answersLeft());
}

TEST_P(CertPrintTest, BothMenuCodesOpenTheOneScreen)
{
    ScreenRegistry screens;
    registerPrintingScreens(screens);
    ASSERT_TRUE(screens.contains(u"N24"_s));
    ASSERT_TRUE(screens.contains(u"N2F"_s));
    EXPECT_EQ(screens.find(u"N2F"_s)->formName, u"CERTPRINT"_s);
    std::unique_ptr<QWidget> pdf(
        screens.find(u"N2F"_s)->create(FormContext{m_session, m_prompter, m_dispatcher}, u"N2F"_s));
    EXPECT_TRUE(pdf->windowTitle().endsWith(u" (PDF for NAD)"_s));
}

INSTANTIATE_TEST_SUITE_P(Backends, CertPrintTest, ::testing::Values(TestBackend::SQLite), test::backendName);

} // namespace
