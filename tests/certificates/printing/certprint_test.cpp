// SPDX-License-Identifier: GPL-3.0-or-later
// The printing screen driven offscreen: its boxes feed the run, its status bar
// follows it, and the N2F mode only copies.
#include "printingfixture.h"

#include "certificates/printing/certificateprintscreen.h"
#include "certificates/printing/stationeryledger.h"
#include "shell/core/stoperror.h"
#include "shell/forms/commandactions.h"
#include "shell/forms/commanddispatcher.h"
#include "shell/forms/fieldframe.h"
#include "shell/forms/screenregistry.h"
#include "shell/ui/documentpreview.h"
#include "support/cupsqueue.h"
#include "support/windowdriver.h"

#include <QAbstractItemModel>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "certificates/layouts/certificatepdf.h"
#include "support/signing.h"

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::TestBackend;

namespace {

class CertPrintTest : public test::PrintingFixture
{
protected:
    // The screen as the clerk has it: shown, active, the focus in Degree.
    std::unique_ptr<CertificatePrintScreen> open(PrintMode mode, bool ownOutput = true)
    {
        auto screen = std::make_unique<CertificatePrintScreen>(FormContext{m_session, m_prompter, m_dispatcher}, mode);
        if (ownOutput)
            screen->setOutput(std::make_unique<FolderOutput>(m_out.path()));
        test::showActive(*screen);
        screen->activated();
        return screen;
    }
    static void fill(CertificatePrintScreen &screen, std::initializer_list<std::pair<int, QString>> boxes)
    {
        for (const auto &[index, value] : boxes)
            screen.fields().text(index)->setText(value);
    }

    CommandActions m_actions;
    CommandDispatcher m_dispatcher{m_actions, m_prompter};
};

TEST_P(CertPrintTest, PdfModeNamesItselfAndWritesOnlyCopies)
{
    m_session.db().exec(u"update convo set fcertno = 'Z000001', fdate = ? where fregno = 'R2'"_s, {QDate(2026, 1, 2)});
    auto screen = open(PrintMode::Pdf);
    EXPECT_EQ(screen->windowTitle(), u"Degree Certificate Printing . . . (PDF for NAD)"_s);
    fill(*screen, {{0, u"BA"_s}, {1, u"0"_s}, {2, u"0"_s}, {6, u"1"_s}});
    screen->VPSproc(u"print"_s);
    EXPECT_EQ(m_prompter.last(), u"Printed Successfully: 1 PDF copy in "_s
                                     + QDir::toNativeSeparators(m_session.folder.filePath(u"CSV/DCPDF"_s)) + u'.');
    const QString pdf = m_session.folder.filePath(u"CSV/DCPDF/DC_003_R2_F_2025_1.pdf"_s);
    ASSERT_TRUE(QFile::exists(pdf));
    EXPECT_TRUE(test::pdfText(pdf).contains(u"Date of Issue : 02/01/2026"_s));
    EXPECT_EQ(certNo(u"R1"_s), u""_s);
    EXPECT_TRUE(registerRows().isEmpty());
}

// With Sign ticked each copy is also signed; the PIN is asked once and a wrong one stops
// the run before any copy. Verify Signed Copies names a copy changed since.
TEST_P(CertPrintTest, PdfModeSignsEachCopyWhenSignIsTickedAndVerifiesThem)
{
    if (!ThrowAwaySigner::certutilAvailable())
        GTEST_SKIP() << "certutil (libnss3-tools) is not installed";
    test::configureSigning(m_session.folder);
    for (const QString &regno : {u"R1"_s, u"R2"_s})
        m_session.db().exec(u"update convo set fcertno = ?, fdate = ? where fregno = ?"_s,
                            {QString(u"Z"_s + regno), QDate(2026, 1, 2), regno});
    auto screen = open(PrintMode::Pdf);
    fill(*screen, {{0, u"BA"_s}, {1, u"0"_s}, {2, u"0"_s}, {6, u"1"_s}});
    QTest::mouseClick(screen->fields().chk(3), Qt::LeftButton, {}, QPoint(4, screen->fields().chk(3)->height() / 2));
    ASSERT_TRUE(screen->fields().chk(3)->isChecked());
    EXPECT_TRUE(screen->selection().sign);

    m_prompter.answerInput(u"not the PIN"_s);
    screen->VPSproc(u"print"_s);
    EXPECT_TRUE(m_prompter.last().startsWith(u"The PIN is wrong"_s)) << m_prompter.last().toStdString();
    EXPECT_FALSE(QFile::exists(m_session.folder.filePath(u"CSV/DCPDF/DC_003_R1_F_2025_1.pdf"_s)));

    m_prompter.answerInput(test::testSigner().pin);
    screen->VPSproc(u"print"_s);
    EXPECT_TRUE(m_prompter.last().endsWith(u", 2 signed by The Registrar."_s)) << m_prompter.last().toStdString();
    QStringList signedCopies;
    for (const QString &regno : {u"R1"_s, u"R2"_s}) {
        signedCopies.append(m_session.folder.filePath(u"CSV/DCPDF/DC_003_"_s + regno + u"_F_2025_1_signed.pdf"_s));
        EXPECT_TRUE(verifyPdfSignature(signedCopies.back(), test::testSigner().database).valid) << regno.toStdString();
    }
    EXPECT_EQ(test::fileText(certificatepdf::logPath(m_session.folder)).count(u" SIGNED "_s), 2);

    screen->verifyButton()->click();
    EXPECT_EQ(m_prompter.last(), u"2 signed copies checked: 2 valid, 0 not valid."_s);
    QFile first(signedCopies[0]);
    ASSERT_TRUE(first.open(QIODevice::ReadOnly));
    const QByteArray good = first.readAll();
    first.close();
    ASSERT_TRUE(test::writeBytes(signedCopies[0], test::spoiled(good, test::Spoil::AppendUpdate)));
    screen->verifyButton()->click();
    EXPECT_TRUE(m_prompter.last().startsWith(u"2 signed copies checked: 1 valid, 1 not valid.\n\n"
                                             "DC_003_R1_F_2025_1_signed.pdf: NOT VALID: the document was changed"_s))
        << m_prompter.last().toStdString();
}

// The clerk presses Stop while a sheet prints: the run ends after that sheet.
class ClickingStopOutput final : public SheetOutput
{
public:
    explicit ClickingStopOutput(CertificatePrintScreen *&screen, bool byClosing = false)
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
    int sheets = 0;
    bool enabledWhilePrinting = false;

private:
    CertificatePrintScreen *&m_screen;
    bool m_byClosing;
};

// The printer refuses the second sheet of a run.
class JammingOutput final : public SheetOutput
{
public:
    void print(const Document &, const QString &, const QString &) override
    {
        if (++m_sheets == 2)
            throw StopError(u"The printer reports a paper jam"_s);
    }

private:
    int m_sheets = 0;
};

TEST_P(CertPrintTest, StopButtonEndsTheRunBetweenSheets)
{
    CertificatePrintScreen *raw = nullptr;
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
    EXPECT_EQ(test::outcomeOf(screen.get()), m_prompter.last()); // and the screen keeps saying it
    EXPECT_EQ(certNo(u"R2"_s), u"A000018"_s);
    EXPECT_EQ(certNo(u"R3"_s), u""_s);
    EXPECT_EQ(screen->fields().text(5)->text(), u"19"_s); // the stationery's next sheet

    // Closing the screen while a sheet prints stops the run instead; afterwards it closes.
    auto closing = std::make_unique<ClickingStopOutput>(raw, true);
    ClickingStopOutput *second = closing.get();
    screen->setOutput(std::move(closing));
    screen->show();
    screen->VPSproc(u"print"_s);
    EXPECT_FALSE(second->closed);
    EXPECT_TRUE(screen->isVisible());
    EXPECT_EQ(m_prompter.last(), u"Printing stopped after 1 of 2 sheets (1 printed, 0 spoiled); last number A000019. "
                                 "The next sheet is A000020."_s);
    EXPECT_EQ(certNo(u"R4"_s), u""_s);
    EXPECT_TRUE(screen->close());
}

// A run that a failure stops says on the screen how far it got, under the failure's own message.
TEST_P(CertPrintTest, ARunStoppedByTheOutputSaysHowFarItGot)
{
    auto screen = open(PrintMode::Print);
    screen->setOutput(std::make_unique<JammingOutput>());
    fill(*screen, {{0, u"BA"_s}, {1, u"0"_s}, {2, u"0"_s}, {4, u"A"_s}, {5, u"17"_s}, {30, u"40"_s}, {6, u"1"_s}});
    screen->VPSproc(u"print"_s);
    EXPECT_TRUE(m_prompter.last().startsWith(u"The printer reports a paper jam"_s)) << m_prompter.last().toStdString();
    EXPECT_EQ(test::outcomeOf(screen.get()),
              u"Printing stopped after 2 of 4 sheets (1 printed, 1 spoiled); last number "
              "A000018. The next sheet is A000019."_s);
    EXPECT_EQ(screen->fields().text(5)->text(), u"19"_s);
}

// Up and Shift+Tab go back without checking the box left (a college whose candidates are
// all printed no longer traps the clerk); going forward, Preview or Print checks it.
TEST_P(CertPrintTest, GoingBackLeavesABoxFreelyAndItIsCheckedGoingForward)
{
    using test::focused;
    using test::press;
    auto screen = open(PrintMode::Print);
    test::enter(u"ba"_s);
    test::enter(u"101"_s);
    ASSERT_EQ(focused(), screen->fields().text(28));
    test::type(u"999"_s);
    for (const auto &[key, modifiers] : {std::pair{Qt::Key_Up, Qt::KeyboardModifiers{}},
                                         std::pair{Qt::Key_Backtab, Qt::KeyboardModifiers{Qt::ShiftModifier}}}) {
        press(key, modifiers);
        test::settle();
        EXPECT_EQ(focused(), screen->fields().text(1));
        EXPECT_TRUE(m_prompter.shown().empty()) << m_prompter.last().toStdString();
        screen->fields().text(28)->setFocus(Qt::TabFocusReason);
    }
    press(Qt::Key_Return);
    EXPECT_EQ(m_prompter.last(), u"Invalid College/No students exists for the college"_s);
    EXPECT_EQ(focused(), screen->fields().text(28));
    // Left backwards again, the run's check finds it before anything is printed.
    m_prompter.clear();
    press(Qt::Key_Up);
    fill(*screen, {{2, u"0"_s}, {4, u"A"_s}, {5, u"17"_s}, {30, u"40"_s}, {6, u"1"_s}});
    screen->VPSproc(u"preview"_s);
    EXPECT_EQ(m_prompter.last(), u"Invalid College/No students exists for the college"_s);
    EXPECT_EQ(focused(), screen->fields().text(28));
}

// The date of issue a run printed is the one the screen opens with next time on this
// workstation; the run's question names it, and its Yes is not the default.
TEST_P(CertPrintTest, TheScreenOpensOnTheLastDateOfIssuePrintedAndTheRunAsksForItsOwnYes)
{
    m_session.iniFile = QDir(m_out.path()).filePath(u"Morvanta.INI"_s);
    {
        auto screen = open(PrintMode::Print);
        fill(*screen, {{0, u"BA"_s}, {1, u"0"_s}, {2, u"0"_s}, {4, u"A"_s}, {5, u"17"_s}, {30, u"40"_s}, {6, u"1"_s}});
        screen->fields().mskdt(0)->setText(u"01/02/2026"_s);
        screen->VPSproc(u"print"_s);
        const auto &shown = m_prompter.shown();
        const auto asked = std::find_if(shown.begin(), shown.end(), [](const auto &s) {
            return s.text.endsWith(u"date of issue 01/02/2026: go on?"_s);
        });
        ASSERT_NE(asked, shown.end()) << m_prompter.texts().join(u'\n').toStdString();
        EXPECT_EQ(asked->defaultAnswer, PromptAnswer::No);
        EXPECT_EQ(certNo(u"R1"_s), u"A000017"_s);
    }
    auto again = open(PrintMode::Print);
    EXPECT_EQ(again->fields().mskdt(0)->text(), u"01/02/2026"_s);
}

// Spoiled sheets: the reason is asked before the question, so nothing typed for it
// answers the question; the question lists the sheets and the reason, and defaults to No.
TEST_P(CertPrintTest, SpoiledSheetsAsksTheReasonFirstAndItsQuestionDefaultsToNo)
{
    auto screen = open(PrintMode::Print);
    fill(*screen, {{4, u"a"_s}});
    m_prompter.answerInput(u"31"_s);
    m_prompter.answerInput(u"paper jam"_s);
    m_prompter.answer(PromptAnswer::No);
    screen->spoiledButton()->click();
    ASSERT_GE(m_prompter.shown().size(), 3u) << m_prompter.texts().join(u'\n').toStdString();
    const auto &question = m_prompter.shown()[2];
    EXPECT_EQ(m_prompter.shown()[1].text, u"Why were they spoiled?"_s);
    EXPECT_TRUE(question.text.endsWith(u"Reason: paper jam\n\nRegister these sheets as spoiled?"_s))
        << question.text.toStdString();
    EXPECT_EQ(question.defaultAnswer, PromptAnswer::No);
    EXPECT_TRUE(registerRows().isEmpty());

    m_prompter.answerInput(u"31"_s);
    m_prompter.answerInput(u"paper jam"_s);
    m_prompter.answer(PromptAnswer::Yes);
    screen->spoiledButton()->click();
    EXPECT_EQ(value(u"select fstate from certsheet where fnumber = 31"_s), u"SPOILED"_s);
    EXPECT_EQ(m_prompter.last(), u"1 sheet registered as spoiled."_s);
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
        ASSERT_TRUE(
            ledger.reserve(u"A"_s, number, u"1"_s, {SheetHolder::Kind::Degree, regno, u"BA"_s, u"101"_s, {}, {}}, issue)
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
    EXPECT_EQ(value(u"select fstate from certsheet where fnumber = 31"_s), u"SPOILED"_s);
    EXPECT_FALSE(m_prompter.answersLeft());
}

// The selection typed as a clerk types it: lower case, Enter after each box, Up to go
// back; each box is checked and described as it is left, and a refused box keeps the focus.
TEST_P(CertPrintTest, TheClerkTypesTheSelectionBoxByBox)
{
    using test::enter;
    using test::focused;
    using test::press;
    auto screen = open(PrintMode::Print);
    ASSERT_EQ(focused(), screen->fields().text(0));
    enter(u"ba"_s);
    EXPECT_EQ(screen->fields().text(0)->text(), u"BA"_s);
    EXPECT_EQ(screen->fields().text(7)->text(), u"Bachelor of Arts"_s);
    EXPECT_EQ(focused(), screen->fields().text(1));
    enter(u"0"_s);
    EXPECT_EQ(screen->fields().text(1)->text(), u"0000"_s);
    EXPECT_EQ(screen->fields().text(28)->text(), u"ZZZZ"_s);
    EXPECT_EQ(focused(), screen->fields().text(28));
    press(Qt::Key_Up);
    EXPECT_EQ(focused(), screen->fields().text(1));
    press(Qt::Key_Down);
    press(Qt::Key_Return);
    EXPECT_EQ(focused(), screen->fields().text(2));
    // A single candidate names its college and town, and is the whole range.
    enter(u"r1"_s);
    EXPECT_EQ(screen->fields().text(1)->text(), u"101"_s);
    EXPECT_TRUE(screen->fields().text(8)->text().startsWith(u"Govt College"_s))
        << screen->fields().text(8)->text().toStdString();
    EXPECT_EQ(screen->fields().text(3)->text(), u"R1"_s);
    press(Qt::Key_Return);
    // The date of issue is labelled and preset to the day; the clerk sees what will be printed.
    ASSERT_EQ(focused(), screen->fields().mskdt(0));
    EXPECT_EQ(screen->fields().mskdt(0)->text(), QDate::currentDate().toString(u"dd/MM/yyyy"_s));
    EXPECT_TRUE(screen->fields().mskdt(0)->toolTip().startsWith(u"Date of Issue"_s));
    bool labelled = false;
    for (const QLabel *label : screen->findChildren<QLabel *>())
        labelled = labelled || (label->text() == u"Date of Issue"_s && label->isVisible());
    EXPECT_TRUE(labelled);
    press(Qt::Key_Return);
    enter(u"a"_s);
    EXPECT_EQ(screen->fields().text(4)->text(), u"A"_s);
    enter(u"17"_s);
    enter(u"9"_s);
    EXPECT_EQ(m_prompter.last(), u"Value should be greater than From certificate no"_s);
    EXPECT_EQ(focused(), screen->fields().text(30));
    enter(u"40"_s); // the refused text is selected: typing replaces it
    EXPECT_EQ(screen->fields().text(30)->text(), u"40"_s);
    enter(u"4"_s);
    EXPECT_EQ(m_prompter.last(), u"Invalid Certificate Type"_s);
    EXPECT_EQ(focused(), screen->fields().text(6));
    enter(u"1"_s);
    EXPECT_NE(focused(), screen->fields().text(6));

    // Print finds the box left empty and puts the focus there.
    screen->fields().text(5)->clear();
    screen->VPSproc(u"print"_s);
    EXPECT_EQ(m_prompter.last(), u"Information should be entered"_s);
    EXPECT_EQ(focused(), screen->fields().text(5));
    enter(u"17"_s);
    screen->VPSproc(u"print"_s);
    EXPECT_EQ(m_prompter.last(), u"Printed Successfully: 1 certificate, A000017, in the folder "_s
                                     + QDir::toNativeSeparators(m_out.path()) + u'.');
    EXPECT_EQ(certNo(u"R1"_s), u"A000017"_s);
    EXPECT_EQ(certNo(u"R2"_s), u""_s);
}

// Each box refuses what it cannot take with its own message as it is left, and keeps the focus.
TEST_P(CertPrintTest, EachBoxRefusesAsItIsLeft)
{
    m_session.db().exec(u"update convo set factive = 'F' where fregno = 'R4'"_s);
    struct Case
    {
        int box;
        QString typed;
        QString message;
    };
    const std::vector<Case> cases = {
        {0, u"xx"_s, u"Invalid Degree/No students exists for the degree"_s},
        {1, u"999"_s, u"Invalid College/No students exists for the college"_s},
        {28, u"102"_s, u"Invalid College/No students exists for the college"_s},
        {2, u"r9"_s, u"Reg. No. R9 is not a candidate of convocation C26."_s},
        {2, u"r4"_s, u"Student is not active for printing"_s},
        {4, u"a b"_s,
         u"The certificate prefix \"A B\" contains a blank: the prefix is printed before every number "
         "and may not hold blanks."_s},
        {6, u"4"_s, u"Invalid Certificate Type"_s},
    };
    auto screen = open(PrintMode::Print);
    screen->fields().text(0)->setText(u"BA"_s);
    for (const Case &c : cases) {
        screen->fields().returnFocusTo(screen->fields().text(c.box));
        screen->fields().text(c.box)->clear();
        test::enter(c.typed);
        EXPECT_EQ(m_prompter.last(), c.message) << c.typed.toStdString();
        EXPECT_EQ(test::focused(), screen->fields().text(c.box)) << c.typed.toStdString();
    }
}

// F1 lists only what there is to print; the degrees show their speciality, so two
// degrees of one name are told apart; the chosen code is described as it is left.
TEST_P(CertPrintTest, LookupsListWhatThereIsToPrint)
{
    Database &db = m_session.db();
    db.exec(u"insert into degree (fdegree, fdescpn, fspecial) values ('MSCCH', 'MASTER OF SCIENCE', 'CHEMISTRY'), "
            "('MSCPH', 'MASTER OF SCIENCE', 'PHYSICS')"_s);
    test::insertCandidate(db, u"R5"_s, {{u"fdegree"_s, u"MSCCH"_s}, {u"factive"_s, u"T"_s}});
    test::insertCandidate(db, u"R6"_s, {{u"fdegree"_s, u"MSCPH"_s}, {u"factive"_s, u"T"_s}});
    auto screen = open(PrintMode::Print);
    QStringList listed;
    test::whenModalOpens(screen.get(), [&listed](QWidget &window) {
        const QAbstractItemModel *model = window.findChild<QTableView *>(u"DataList1"_s)->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < model->columnCount(); ++column)
                cells << model->index(row, column).data().toString().trimmed();
            listed << cells.join(u'|');
        }
        auto *search = window.findChild<QLineEdit *>(u"txtSearch"_s);
        QTest::keyClicks(search, u"mscph"_s);
        QTest::keyClick(search, Qt::Key_Return);
    });
    test::press(Qt::Key_F1);
    EXPECT_EQ(listed, (QStringList{u"BA|Bachelor of Arts|"_s, u"MSCCH|MASTER OF SCIENCE|CHEMISTRY"_s,
                                   u"MSCPH|MASTER OF SCIENCE|PHYSICS"_s}));
    EXPECT_EQ(screen->fields().text(0)->text(), u"MSCPH"_s);
    ASSERT_TRUE(QTest::qWaitFor([&screen] { return test::focused() == screen->fields().text(0); }, 1000));
    test::press(Qt::Key_Return);
    EXPECT_EQ(screen->fields().text(7)->text(), u"MASTER OF SCIENCE (PHYSICS)"_s);

    // The colleges of the degree only: R6's.
    listed.clear();
    test::whenModalOpens(screen.get(), [&listed](QWidget &window) {
        const QAbstractItemModel *model = window.findChild<QTableView *>(u"DataList1"_s)->model();
        for (int row = 0; row < model->rowCount(); ++row)
            listed << model->index(row, 0).data().toString().trimmed();
        QTest::keyClick(window.findChild<QTableView *>(u"DataList1"_s), Qt::Key_Return);
    });
    test::press(Qt::Key_F1);
    EXPECT_EQ(listed, QStringList{u"101"_s});
    EXPECT_EQ(screen->fields().text(1)->text(), u"101"_s);
}

// Preview shows the composed sheets in a window of the program: page by page, zoomed,
// printed from there; nothing is stored and no file written.
TEST_P(CertPrintTest, PreviewShowsTheSheetsStoresNothingAndItsPrintedSheetsCanBeSpoiled)
{
    auto screen = open(PrintMode::Print);
    fill(*screen, {{0, u"BA"_s}, {1, u"0"_s}, {2, u"0"_s}, {4, u"A"_s}, {5, u"17"_s}, {30, u"40"_s}, {6, u"1"_s}});
    screen->VPSproc(u"preview"_s);
    PreviewWindow *window = screen->previewWindow();
    ASSERT_NE(window, nullptr) << m_prompter.texts().join(u'\n').toStdString();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_EQ(window->preview()->pageCount(), 4);
    auto *page = window->findChild<QLabel *>(u"lblPage"_s);
    EXPECT_EQ(page->text(), u"Page 1 of 4: A000017, Reg. No. R1"_s);
    QTest::keyClick(window, Qt::Key_PageDown);
    EXPECT_EQ(page->text(), u"Page 2 of 4: A000018, Reg. No. R2"_s);
    QTest::keyClick(window, Qt::Key_End);
    EXPECT_EQ(page->text(), u"Page 4 of 4: A000020, Reg. No. R4"_s);
    EXPECT_FALSE(window->findChild<QPushButton *>(u"cmdNext"_s)->isEnabled());
    window->grab().save(QDir::currentPath() + u"/certprint-preview.png"_s);
    const int wholePage = window->preview()->shownPage().width();
    QTest::keyClick(window, Qt::Key_Plus);
    EXPECT_GT(window->preview()->shownPage().width(), wholePage);

    EXPECT_EQ(certNo(u"R1"_s), u""_s);
    EXPECT_TRUE(registerRows().isEmpty());
    EXPECT_TRUE(QDir(m_out.path()).isEmpty());
    EXPECT_FALSE(QDir(m_session.folder.filePath(u"Output/preview"_s)).exists());

    // Print from the preview prints what was shown, asking nothing the check asked before.
    const qsizetype asked = m_prompter.texts().filter(u"Go on all the same?"_s).size();
    window->findChild<QPushButton *>(u"cmdPrint"_s)->click();
    EXPECT_EQ(m_prompter.texts().filter(u"Go on all the same?"_s).size(), asked);
    EXPECT_EQ(certNo(u"R1"_s), u"A000017"_s);
    ASSERT_EQ(certNo(u"R4"_s), u"A000020"_s);

    // Spoiled sheets: a typing error is named and nothing is asked or registered.
    m_prompter.answerInput(u"19, 2O"_s);
    screen->spoiledButton()->click();
    EXPECT_TRUE(m_prompter.last().startsWith(u"\"2O\" is not a sheet number"_s)) << m_prompter.last().toStdString();

    // The clerk sees what will happen and may still say No.
    m_prompter.answerInput(u"19-20"_s);
    m_prompter.answerInput(u"ribbon smudged"_s);
    m_prompter.answer(PromptAnswer::No);
    screen->spoiledButton()->click();
    EXPECT_TRUE(m_prompter.last().startsWith(u"A000019: taken back from Reg. No. R3"_s))
        << m_prompter.last().toStdString();
    EXPECT_EQ(certNo(u"R3"_s), u"A000019"_s);

    m_prompter.answerInput(u"A000019-A000020"_s);
    m_prompter.answerInput(u"ribbon smudged"_s);
    m_prompter.answer(PromptAnswer::Yes);
    screen->spoiledButton()->click();
    // The copies of the numbers taken back leave the valid ones, and the message says so.
    const QString copies = QDir::toNativeSeparators(m_session.folder.filePath(u"CSV/DCPDF"_s));
    EXPECT_EQ(m_prompter.last(),
              u"2 sheets registered as spoiled.\n"_s
                  + u"DC_003_R3_F_2025_1.pdf moved to Spoiled/DC_003_R3_F_2025_1_A000019.pdf in "_s + copies
                  + u"\nDC_003_R4_F_2025_1.pdf moved to Spoiled/DC_003_R4_F_2025_1_A000020.pdf in "_s + copies);
    EXPECT_EQ(certNo(u"R3"_s), u""_s);
    EXPECT_EQ(certNo(u"R4"_s), u""_s);
    EXPECT_FALSE(m_prompter.answersLeft());
}

// The screen opens with the convocation's date and prints from its boxes; the sheets go
// to a printer of the workstation or a PDF folder, remembered for the next time.
TEST_P(CertPrintTest, PrintsFromItsBoxesToThePdfFolderChosenAndRemembersIt)
{
    m_session.iniFile = QDir(m_out.path()).filePath(u"Morvanta.INI"_s);
    const QString folder = QDir(m_out.path()).filePath(u"sheets"_s);
    {
        auto screen = open(PrintMode::Print, false);
        EXPECT_EQ(screen->windowTitle(), u"Degree Certificate Printing . . ."_s);
        EXPECT_EQ(screen->fields().text(26)->text(), u"20/12/2025"_s);
        EXPECT_EQ(screen->fields().mskdt(0)->text(), QDate::currentDate().toString(u"dd/MM/yyyy"_s));
        screen->fields().mskdt(0)->setText(u"12/03/2026"_s);
        EXPECT_TRUE(screen->fields().chk(0)->isChecked());
        EXPECT_FALSE(screen->fields().chk(0)->isEnabled());
        QComboBox *printer = screen->printerBox();
        ASSERT_NE(printer, nullptr);
        const int pdf = printer->findData(CertificatePrintScreen::pdfFolderChoice());
        ASSERT_GE(pdf, 0);
        EXPECT_EQ(pdf, printer->count() - 1); // after the printers the system knows
        printer->setCurrentIndex(pdf);
        EXPECT_TRUE(screen->folderBox()->isEnabled());
        fill(*screen, {{0, u"ba"_s}, {1, u"0"_s}, {2, u"0"_s}, {4, u"a"_s}, {5, u"17"_s}, {30, u"40"_s}, {6, u"1"_s}});
        screen->folderBox()->clear();
        screen->VPSproc(u"print"_s);
        EXPECT_EQ(m_prompter.last(), u"Information should be entered"_s);
        EXPECT_EQ(test::focused(), screen->folderBox());
        screen->folderBox()->setText(folder);
        screen->VPSproc(u"print"_s); // the current layout stores each sheet as it prints
        // The check listed R3 without a photograph and the clerk went on: asked once, not per sheet.
        EXPECT_EQ(m_prompter.texts().filter(u"Reg. No. R3: no photograph in Photos"_s).size(), 1)
            << m_prompter.texts().join(u'\n').toStdString();
        EXPECT_TRUE(
            m_prompter.texts().contains(u"4 certificates, A000017 to A000020, date of issue 12/03/2026: go on?"_s))
            << m_prompter.texts().join(u'\n').toStdString();
        EXPECT_EQ(m_prompter.last(), u"Printed Successfully: 4 certificates, A000017 to A000020, in the folder "_s
                                         + QDir::toNativeSeparators(folder) + u'.');
        EXPECT_EQ(certNo(u"R1"_s), u"A000017"_s);
        EXPECT_EQ(certNo(u"R4"_s), u"A000020"_s);
        EXPECT_EQ(screen->fields().text(5)->text(), u"21"_s);
        EXPECT_TRUE(screen->hint().isEmpty());
        EXPECT_TRUE(QFile::exists(QDir(folder).filePath(u"A000017_R1.pdf"_s)));
        EXPECT_TRUE(QFile::exists(QDir(folder).filePath(u"A000020_R4.pdf"_s)));
        EXPECT_TRUE(QFile::exists(m_session.folder.filePath(u"CSV/DCPDF/DC_003_R1_F_2025_1.pdf"_s)));
        // Nothing is left to print: the run says so.
        screen->VPSproc(u"print"_s);
        EXPECT_EQ(m_prompter.last(), u"Invalid Degree/No students exists for the degree"_s);
    }
    auto again = open(PrintMode::Print, false);
    EXPECT_EQ(again->printerBox()->currentData().toString(), CertificatePrintScreen::pdfFolderChoice());
    EXPECT_EQ(again->folderBox()->text(), folder);
    // The copies of N2F always go to the depository's folder: no destination there.
    EXPECT_EQ(open(PrintMode::Pdf, false)->printerBox(), nullptr);
}

// A printer the system knows is offered by name and the sheets go to it; the last
// message names it. The printer is a CUPS queue of the test's own that makes a PDF.
TEST_P(CertPrintTest, SheetsGoToThePrinterChosen)
{
    test::CupsQueue queue;
    if (!test::cupsQueueReady(queue))
        return;
    m_session.db().exec(u"update convo set factive = 'F' where fregno <> 'R1'"_s);
    auto screen = open(PrintMode::Print, false);
    QComboBox *printer = screen->printerBox();
    const int index = printer->findData(queue.name());
    // CUPS keeps the server it first talked to for the whole process: a test before this
    // one in the same process hides the queue (ctest runs each test in a process of its own).
    if (index < 0)
        GTEST_SKIP() << "the printers were listed before this test's CUPS queue started";
    printer->setCurrentIndex(index);
    EXPECT_FALSE(screen->folderBox()->isEnabled());
    fill(*screen, {{0, u"BA"_s}, {1, u"0"_s}, {2, u"0"_s}, {4, u"A"_s}, {5, u"17"_s}, {30, u"40"_s}, {6, u"1"_s}});
    screen->VPSproc(u"print"_s);
    EXPECT_EQ(m_prompter.last(),
              u"Printed Successfully: 1 certificate, A000017, on the printer "_s + queue.name() + u'.');
    const QString pdf = queue.waitForPdf();
    ASSERT_FALSE(pdf.isEmpty()) << queue.problem().toStdString();
    EXPECT_TRUE(test::pdfText(pdf).contains(u"Name R1"_s)) << test::pdfText(pdf).toStdString();
    EXPECT_EQ(certNo(u"R1"_s), u"A000017"_s);
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
