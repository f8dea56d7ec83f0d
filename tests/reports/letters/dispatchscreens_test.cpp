// SPDX-License-Identifier: GPL-3.0-or-later
// NADEXP, COVLETT and ADDENV driven as a clerk drives them: opened from the real main
// window's menu, fields filled, options chosen, the preview command given.
#include "../nad/resulttables.h"
#include "../reportwindowfixture.h"
#include "dispatchfixture.h"
#include "support/windowdriver.h"
#include "reports/labels/addresslabelsscreen.h"
#include "reports/letters/coveringlettersscreen.h"
#include "reports/nad/nadexportscreen.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>

using namespace Qt::StringLiterals;

namespace {

class DispatchScreensTest : public sw::test::ReportWindowFixture<sw::test::DispatchFixture>
{
protected:
    void SetUp() override
    {
        ReportWindowFixture::SetUp();
        if (!m_window)
            return;
        add({u"R0001"_s, u"BSC"_s, u"C001"_s, u"DC000101"_s});
        add({u"R0002"_s, u"BSC"_s, u"C002"_s, u"DC000102"_s});
        add({u"R0003"_s, u"BSC"_s, u"C002"_s});
        fee({u"R0001"_s, u"A1"_s, u"Tatkal"_s});
    }
};

TEST_P(DispatchScreensTest, NadExportWritesTheChosenLayout)
{
    auto *screen = open<sw::NadExportScreen>(u"N3A"_s);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->windowTitle(), u"NAD Export . . ."_s);
    picture(screen, u"nadexp"_s);
    EXPECT_TRUE(preview().isEmpty());
    EXPECT_EQ(m_prompter.last(), u"Error in selection"_s);

    m_session.db().exec(u"update control set fnadid = 'NAD9'"_s);
    m_session.db().exec(u"update degree set fcoursecode = 'C1', feventid = 'E1'"_s);
    QDir().mkpath(m_session.folder.filePath(u"CSV/DCPDF"_s));
    QFile copy(m_session.folder.filePath(u"CSV/DCPDF/DC_003_R0001_F_2025_1.pdf"_s));
    ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
    copy.close();
    screen->fields().opt(0)->setChecked(true);
    preview();
    EXPECT_EQ(screen->lastOutput(), m_session.folder.filePath(u"Output/NAD_CDSL.xlsx"_s));
    EXPECT_TRUE(
        m_prompter.texts().join(u'|').contains(u"1 certificate(s) left out: no PDF copy in CSV/DCPDF (R0002)"_s))
        << m_prompter.texts().join(u'|').toStdString();
    // What the workbook holds is the export's own (NadExportTest); the screen writes the layout chosen.
    EXPECT_TRUE(QFile::exists(screen->lastOutput()));

    // NSDL without the result tables: the message names them and no workbook is left.
    screen->fields().opt(1)->setChecked(true);
    m_prompter.answerInput(u"y"_s);
    preview();
    EXPECT_TRUE(m_prompter.last().contains(u"the table student is missing"_s)) << m_prompter.last().toStdString();
    EXPECT_FALSE(QFile::exists(m_session.folder.filePath(u"Output/NAD_NSDL.xlsx"_s)));

    // DigiLocker: a copy that was never signed is named and nothing is zipped.
    screen->fields().opt(2)->setChecked(true);
    preview();
    EXPECT_TRUE(m_prompter.last().startsWith(u"0 certificate(s) written; "_s)) << m_prompter.last().toStdString();
    EXPECT_TRUE(m_prompter.last().contains(u"R0001 ("_s)
                && m_prompter.last().contains(u"no signed copy DC_003_R0001_F_2025_1_signed.pdf in CSV/DCPDF"_s))
        << m_prompter.last().toStdString();
    EXPECT_FALSE(QFile::exists(m_session.folder.filePath(u"Output/DigiLocker.zip"_s)));
}

// Only the exact answer "Y" limits the NSDL workbook to passes.
TEST_P(DispatchScreensTest, NsdlAsksWhetherPassesOnly)
{
    sw::Database &db = m_session.db();
    sw::test::addDegreeResultColumns(db);
    sw::test::createResultTables(db);
    for (const QString &regno : {u"S1"_s, u"S2"_s})
        sw::test::addStudent(db, regno);
    sw::test::addResult(db, u"A"_s, u"S1"_s, u"P"_s, u"0"_s);
    sw::test::addResult(db, u"B"_s, u"S2"_s, u"F"_s, u"0"_s);
    auto *screen = open<sw::NadExportScreen>(u"N3A"_s);
    ASSERT_NE(screen, nullptr);
    screen->fields().opt(1)->setChecked(true);
    const auto dataRows = [this] {
        return sw::test::runPython(
                   u"import json, sys, openpyxl\n"
                   "print(json.dumps({'rows': openpyxl.load_workbook(sys.argv[1])['Data'].max_row}))\n"_s,
                   {m_session.folder.filePath(u"Output/NAD_NSDL.xlsx"_s)})[u"rows"_s]
            .toInt();
    };
    for (const auto &[answer, rows] : {std::pair{u"y"_s, 3}, std::pair{u"Y"_s, 2}, std::pair{u""_s, 3}}) {
        m_prompter.clear();
        m_prompter.answerInput(answer);
        preview();
        EXPECT_EQ(m_prompter.texts().value(0),
                  u"Do you want to generate the details for Pass students only?. Press Y for Yes, Esc for No"_s);
        EXPECT_EQ(dataRows(), rows) << answer.toStdString();
    }
    m_prompter.answerInput(std::nullopt); // Esc
    preview();
    EXPECT_EQ(dataRows(), 3);
    EXPECT_EQ(screen->lastOutput(), m_session.folder.filePath(u"Output/NAD_NSDL.xlsx"_s));
}

TEST_P(DispatchScreensTest, CoveringLettersListOrStudentCopy)
{
    auto *screen = open<sw::CoveringLettersScreen>(u"N38"_s);
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(preview().isEmpty());
    EXPECT_EQ(m_prompter.last(), u"Information should be entered"_s);
    screen->fields().mskdt(0)->setText(u"01/12/2025"_s);
    screen->fields().mskdt(1)->setText(u"31/12/2025"_s);
    screen->fields().chk(0)->setChecked(true);
    picture(screen, u"covlett"_s);
    const QString list = preview();
    EXPECT_TRUE(list.contains(u"  College Total (C001) : 1"_s)) << list.toStdString();
    EXPECT_TRUE(list.contains(u"Total Certificates : 2"_s));

    // Check list and student copy both ticked: the check list.
    screen->fields().chk(2)->setChecked(true);
    screen->fields().chk(3)->setChecked(true);
    m_prompter.clear();
    EXPECT_TRUE(preview().isEmpty());
    EXPECT_EQ(screen->lastOutput(), m_session.folder.filePath(u"Output/CheckList.odt"_s));
    // Without a desktop to open it, the document is named instead.
    EXPECT_EQ(m_prompter.texts(),
              (QStringList{u"Report Generated Successfully"_s, u"Written to "_s + screen->lastOutput()}));
    EXPECT_TRUE(pdfPages(m_session.folder.filePath(u"Output/CheckList.pdf"_s)).join(u'\f').contains(u"DC000102"_s));

    screen->fields().chk(2)->setChecked(false);
    m_prompter.answer(sw::PromptAnswer::No);
    m_prompter.clear();
    preview();
    EXPECT_EQ(m_prompter.texts().value(0), u"Do you want Student copy with Acknowledgement?"_s);
    EXPECT_EQ(m_prompter.shown().front().title, u"Student Copy"_s);
    EXPECT_EQ(screen->lastOutput(), m_session.folder.filePath(u"Output/StudentLetters.odt"_s));
    const QStringList pages = pdfPages(m_session.folder.filePath(u"Output/StudentLetters.pdf"_s));
    ASSERT_EQ(pages.size(), 1); // R0002 has no fee record
    EXPECT_TRUE(pages[0].contains(u"[A1]"_s));
    EXPECT_FALSE(pages[0].contains(u"Office Copy"_s));
    EXPECT_FALSE(m_prompter.answersLeft());
}

// Issue: Covering Letter let 31/02/2025 leave its box and said "Invalid date format" later,
// naming no box. Every date box of these screens refuses a date that is none as it is
// left, naming the box, and keeps the focus; a real date goes on to the next box.
TEST_P(DispatchScreensTest, ADateThatIsNoneIsRefusedAtItsBoxByName)
{
    const struct
    {
        const char *menu;
        int box;
        QString caption;
    } boxes[] = {
        {"N38", 0, u"From Date"_s}, {"N38", 1, u"To Date"_s}, {"N34", 0, u"From Date"_s}, {"N34", 1, u"To Date"_s}};
    for (const auto &b : boxes) {
        auto *screen = sw::test::openScreen(*m_window, QString::fromLatin1(b.menu));
        ASSERT_NE(screen, nullptr) << b.menu;
        auto *date = screen->findChild<QLineEdit *>(u"mskdt_"_s + QString::number(b.box));
        ASSERT_NE(date, nullptr) << b.menu;
        for (const QString &typed : {u"31022025"_s, u"3112"_s}) {
            date->setFocus();
            date->selectAll();
            m_prompter.clear();
            sw::test::enter(typed);
            const QString shown = date->displayText();
            EXPECT_EQ(m_prompter.last(), b.caption + u": \""_s + shown + u"\" is not a date (dd/mm/yyyy)"_s)
                << b.menu << ' ' << typed.toStdString();
            EXPECT_EQ(sw::test::focused(), date) << b.menu;
        }
        date->selectAll();
        m_prompter.clear();
        sw::test::enter(u"28022025"_s);
        EXPECT_TRUE(m_prompter.texts().isEmpty()) << b.menu << m_prompter.texts().join(u'|').toStdString();
        EXPECT_NE(sw::test::focused(), date) << b.menu;
        screen->unload();
    }
}

TEST_P(DispatchScreensTest, AddressLabelsNeedTheirDates)
{
    auto *screen = open<sw::AddressLabelsScreen>(u"N34"_s);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->windowTitle(), u"Address on Envelopes . . ."_s);
    preview();
    EXPECT_EQ(m_prompter.last(), u"From Date has to be entered"_s);
    EXPECT_EQ(m_prompter.shown().back().title, u"Validation"_s);
    screen->fields().mskdt(0)->setText(u"01/12/2025"_s);
    screen->fields().mskdt(1)->setText(u"31/12/2025"_s);
    screen->fields().chk(1)->setChecked(true); // post only
    picture(screen, u"addenv"_s);
    m_prompter.clear();
    preview();
    EXPECT_EQ(m_prompter.texts().value(0), u"Report Generated Successfully"_s);
    const QStringList pages = pdfPages(m_session.folder.filePath(u"Output/AddressLabels.pdf"_s));
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(pages[0].contains(u"APPLICANT R0001"_s));
    EXPECT_TRUE(pages[0].contains(u"[Tatkal]"_s));
    EXPECT_TRUE(QFile::exists(m_session.folder.filePath(u"Output/AddressLabels.odt"_s)));

    screen->fields().text(4)->setText(u"DC000200"_s);
    preview();
    EXPECT_EQ(m_prompter.last(), u"No Data found for the given for the range"_s);
}

INSTANTIATE_TEST_SUITE_P(Backends, DispatchScreensTest, sw::test::bothBackends(), sw::test::backendName);

} // namespace
