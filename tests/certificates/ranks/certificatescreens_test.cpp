// SPDX-License-Identifier: GPL-3.0-or-later
// The rank registration and cancellation screens driven offscreen, with the
// printing screen between them: ranks typed into the grid and printed, gold medals
// and cash prizes printed, a certificate cancelled one by one with its reason and
// reprinted with a new number, and a range of ticked candidates cancelled.
#include "../printing/printingfixture.h"

#include "certificates/cancellation/cancellationform.h"
#include "certificates/printing/certificateprintscreen.h"
#include "certificates/ranks/awardimport.h"
#include "certificates/ranks/rankregistrationform.h"
#include "shell/forms/commandactions.h"
#include "shell/forms/commanddispatcher.h"
#include "support/windowdriver.h"

#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

class CertificateScreensTest : public test::PrintingFixture
{
protected:
    template <typename Screen, typename... Args> std::unique_ptr<Screen> open(Args... args)
    {
        auto screen = std::make_unique<Screen>(FormContext{m_session, m_prompter, m_dispatcher}, args...);
        screen->show();
        screen->activated();
        return screen;
    }
    // Types into a header box and leaves it with Enter, as a clerk would.
    static void enter(QLineEdit *box, const QString &value)
    {
        box->setFocus();
        box->setText(value);
        QTest::keyClick(box, Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    static void setCell(QTableWidget *grid, int row, int column, const QString &value)
    {
        ASSERT_NE(grid->item(row, column), nullptr) << row << "," << column;
        grid->item(row, column)->setText(value);
    }
    static QStringList column(QTableWidget *grid, int column)
    {
        QStringList out;
        for (int row = 0; row < grid->rowCount(); ++row)
            out << (grid->item(row, column) ? grid->item(row, column)->text() : QString());
        return out;
    }
    // The printing screen, run as the clerk runs it for one kind of certificate.
    void printOnScreen(const QString &type, const QString &prefix, const QString &start, int sheets)
    {
        auto screen = std::make_unique<CertificatePrintScreen>(FormContext{m_session, m_prompter, m_dispatcher},
                                                               PrintMode::Print);
        screen->setOutput(std::make_unique<FolderOutput>(m_out.path()));
        screen->activated();
        const std::pair<int, QString> boxes[] = {{0, u"BA"_s}, {1, u"0"_s},   {2, u"0"_s}, {4, prefix},
                                                 {5, start},   {30, u"99"_s}, {6, type}};
        for (const auto &[index, value] : boxes)
            screen->fields().text(index)->setText(value);
        for (int i = 0; i < sheets; ++i)
            m_prompter.answer(PromptAnswer::Yes);
        screen->VPSproc(u"print"_s);
        EXPECT_TRUE(m_prompter.last().startsWith(u"Printed Successfully: "_s))
            << m_prompter.texts().join(u" | "_s).toStdString();
    }
    QString sheetText(const QString &certNo, const QString &regno) const
    {
        return test::pdfText(QDir(m_out.path()).filePath(certNo + u'_' + regno + u".pdf"_s)).simplified();
    }
    void picture(QWidget *screen, const QString &name)
    {
        QCoreApplication::processEvents();
        EXPECT_TRUE(screen->grab().save(QDir::currentPath() + u'/' + name + u".png"_s));
    }

    CommandActions m_actions;
    CommandDispatcher m_dispatcher{m_actions, m_prompter};
};

TEST_P(CertificateScreensTest, RanksAreTypedIntoTheGridCorrectedAndEveryAwardKindPrints)
{
    auto rankreg = open<RankRegistrationForm>();
    EXPECT_EQ(rankreg->objectName(), u"RANKREG"_s);
    rankreg->AEDproc(EditMode::Add);
    enter(rankreg->text(0), u"XX"_s);
    EXPECT_EQ(m_prompter.last(), u"Invalid Degree Code"_s);
    enter(rankreg->text(0), u"BA"_s);
    EXPECT_EQ(rankreg->text(1)->text(), u"Bachelor of Arts"_s);
    EXPECT_EQ(rankreg->editMode(), EditMode::Add);
    QTableWidget *grid = rankreg->spread();
    ASSERT_EQ(grid->rowCount(), 1);
    setCell(grid, 0, RankRegistrationForm::RegNo, u"r2"_s);
    EXPECT_EQ(grid->item(0, RankRegistrationForm::Name)->text(), u"Name R2"_s);
    setCell(grid, 0, RankRegistrationForm::Rank, u"ii"_s);
    EXPECT_EQ(grid->item(0, RankRegistrationForm::Rank)->text(), u"II"_s);
    setCell(grid, 1, RankRegistrationForm::RegNo, u"NOPE"_s);
    EXPECT_EQ(m_prompter.last(), u"Invalid Reg. No."_s);
    EXPECT_TRUE(grid->item(1, RankRegistrationForm::RegNo)->text().isEmpty());
    setCell(grid, 1, RankRegistrationForm::RegNo, u"R2"_s);
    EXPECT_EQ(m_prompter.last(), u"Reg. No. already defined"_s);
    setCell(grid, 1, RankRegistrationForm::RegNo, u"R1"_s);
    setCell(grid, 1, RankRegistrationForm::Rank, u"I"_s);
    setCell(grid, 1, RankRegistrationForm::Remarks, u"Gold medallist"_s);
    picture(rankreg.get(), u"rankreg-screen"_s);
    rankreg->CmdSave_Click();
    EXPECT_EQ(rankreg->editMode(), EditMode::Browse);
    EXPECT_EQ(column(grid, RankRegistrationForm::RegNo), (QStringList{u"R1"_s, u"R2"_s})); // in rank order
    EXPECT_EQ(value(u"select fslno from rankreg where fregno = 'R1'"_s).toInt(), 2);

    // Opened again for the degree, the grid edits the registered ranks.
    rankreg->AEDproc(EditMode::Edit);
    enter(rankreg->text(0), u"BA"_s);
    EXPECT_EQ(rankreg->editMode(), EditMode::Edit);
    ASSERT_EQ(grid->rowCount(), 3);
    setCell(grid, 1, RankRegistrationForm::Rank, u"iii"_s);
    EXPECT_EQ(grid->item(1, RankRegistrationForm::RowState)->text(), u"E"_s);
    rankreg->CmdSave_Click();
    EXPECT_EQ(value(u"select frank from rankreg where fregno = 'R2'"_s), u"III"_s);

    // The stationery is fed in registration order: R2 was typed first.
    printOnScreen(u"R"_s, u"RK"_s, u"1"_s, 2);
    EXPECT_TRUE(
        sheetText(u"RK000001"_s, u"R2"_s).contains(u"Register No. R2 has secured Third Rank in Bachelor of Arts"_s));
    EXPECT_TRUE(sheetText(u"RK000002"_s, u"R1"_s).contains(u"has secured First Rank"_s));

    const QString file =
        test::writeFile(m_out.filePath(u"awards.csv"_s), "GC,R4,BA,101,Prof. Hegde Gold Medal,Political Science,,\n"
                                                         "CC,R1,BA,101,Alumni Prize,English,1001,\n");
    AwardImport import(m_session);
    ASSERT_EQ(import.apply(import.read(file)).inserted, 2);
    printOnScreen(u"G"_s, u"GM"_s, u"1"_s, 1);
    EXPECT_TRUE(sheetText(u"GM000001"_s, u"R4"_s)
                    .contains(u"is awarded Prof. Hegde Gold Medal for securing Political Science"_s));
    printOnScreen(u"C"_s, u"CP"_s, u"1"_s, 1);
    EXPECT_TRUE(sheetText(u"CP000001"_s, u"R1"_s).contains(u"cash prize of Rupees 1001 (One Thousand One only)"_s));
    EXPECT_TRUE(sheetText(u"CP000001"_s, u"R1"_s).contains(u"CASH AWARD CERTIFICATE"_s));
}

TEST_P(CertificateScreensTest, OneCertificateIsCancelledWithItsReasonAndReprintedWithANewNumber)
{
    printAll();

    auto certcan = open<CancellationForm>(CancellationScreen::Register);
    EXPECT_EQ(certcan->objectName(), u"CERTCAN"_s);
    certcan->AEDproc(EditMode::Add);
    enter(certcan->text(0), u"BA"_s);
    enter(certcan->text(3), u"101"_s);
    EXPECT_EQ(certcan->text(2)->text(), u"Govt College"_s);
    EXPECT_EQ(certcan->editMode(), EditMode::Add);
    QTableWidget *grid = certcan->spread();
    ASSERT_EQ(grid->rowCount(), 1);
    setCell(grid, 0, CancellationForm::RegNo, u"R9"_s);
    EXPECT_EQ(m_prompter.last(), u"Invalid Reg. No."_s);
    setCell(grid, 0, CancellationForm::RegNo, u"r2"_s);
    EXPECT_EQ(grid->item(0, CancellationForm::Name)->text(), u"Name R2"_s);
    EXPECT_EQ(grid->item(0, CancellationForm::CertNo)->text(), u"A000018"_s);
    // Without a reason nothing is saved.
    certcan->CmdSave_Click();
    EXPECT_EQ(m_prompter.last(), u"Reason should be entered"_s);
    EXPECT_EQ(certNo(u"R2"_s), u"A000018"_s);
    setCell(grid, 0, CancellationForm::Reason, u"Torn in the printer"_s);
    picture(certcan.get(), u"certcan-screen"_s);
    // The clerk is asked, with the register number and the certificate number; No cancels nothing.
    m_prompter.answer(PromptAnswer::No);
    certcan->CmdSave_Click();
    EXPECT_EQ(m_prompter.last(), u"Cancel certificate A000018 of R2?"_s);
    EXPECT_EQ(certNo(u"R2"_s), u"A000018"_s);
    m_prompter.answer(PromptAnswer::Yes);
    certcan->CmdSave_Click();
    EXPECT_EQ(certNo(u"R2"_s), u""_s);
    EXPECT_EQ(certcan->editMode(), EditMode::Browse);
    EXPECT_EQ(test::outcomeOf(certcan.get()), u"Cancelled 1 certificate: certificate A000018 of R2"_s);
    EXPECT_EQ(column(grid, CancellationForm::CertNo), QStringList{u"A000018"_s});

    printOnScreen(u"1"_s, u"A"_s, u"21"_s, 0);
    EXPECT_EQ(certNo(u"R2"_s), u"A000021"_s);

    // The register keeps the old number; its reason can be corrected.
    certcan->AEDproc(EditMode::Edit);
    enter(certcan->text(0), u"BA"_s);
    enter(certcan->text(3), u"101"_s);
    EXPECT_EQ(certcan->editMode(), EditMode::Edit);
    setCell(grid, 0, CancellationForm::Reason, u"Torn while feeding"_s);
    certcan->CmdSave_Click();
    EXPECT_EQ(value(u"select fremarks from certcan where fcertno = 'A000018'"_s), u"Torn while feeding"_s);
    EXPECT_EQ(certNo(u"R2"_s), u"A000021"_s);
    EXPECT_EQ(value(u"select count(*) from certcan"_s).toInt(), 1);
}

TEST_P(CertificateScreensTest, TickedCandidatesOfTheRangeAreCancelledTogether)
{
    printAll();

    auto range = open<CancellationForm>(CancellationScreen::Range);
    EXPECT_EQ(range->objectName(), u"CERTCANRANGE"_s);
    range->AEDproc(EditMode::Add);
    enter(range->text(0), u"BA"_s);
    enter(range->text(3), u"101"_s);
    QTableWidget *grid = range->spread();
    EXPECT_EQ(column(grid, CancellationForm::RegNo), (QStringList{u"R1"_s, u"R2"_s, u"R3"_s, u"R4"_s}));
    EXPECT_EQ(column(grid, CancellationForm::PrintedDate).first(), u"12/03/2026"_s);
    grid->item(1, CancellationForm::Cancel)->setCheckState(Qt::Checked);
    grid->item(3, CancellationForm::Cancel)->setCheckState(Qt::Checked);
    picture(range.get(), u"certcanrange-screen"_s);

    // Declining the reason saves nothing.
    m_prompter.answerInput(std::nullopt);
    range->CmdSave_Click();
    EXPECT_EQ(certNo(u"R2"_s), u"A000018"_s);

    m_prompter.answerInput(u"Wrong convocation date"_s);
    range->CmdSave_Click();
    EXPECT_EQ(certNo(u"R1"_s), u"A000017"_s);
    EXPECT_EQ(certNo(u"R2"_s), u""_s);
    EXPECT_EQ(certNo(u"R4"_s), u""_s);
    EXPECT_EQ(value(u"select count(*) from certcan"_s).toInt(), 0);
    EXPECT_EQ(column(grid, CancellationForm::RegNo), (QStringList{u"R1"_s, u"R3"_s}));
    EXPECT_EQ(value(u"select count(*) from stationery where foutcome = 'CANCELLED' and fremarks = ?"_s,
                    {u"Wrong convocation date"_s})
                  .toInt(),
              2);
}

INSTANTIATE_TEST_SUITE_P(Backends, CertificateScreensTest, test::bothBackends(), test::backendName);

} // namespace
