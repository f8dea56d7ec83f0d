// SPDX-License-Identifier: GPL-3.0-or-later
// The report screens driven as a clerk drives them: opened from the real main window's
// menu, fields typed, the preview command given, the preview window read and closed.
#include "../lists/listfixture.h"
#include "../reportwindowfixture.h"
#include "reports/screens/listscreens.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

using namespace Qt::StringLiterals;
using sw::test::TestBackend;

namespace {

class ReportScreensTest : public sw::test::ReportWindowFixture<sw::test::ListFixture>
{
protected:
    void SetUp() override
    {
        ReportWindowFixture::SetUp();
        if (!m_window)
            return;
        add({u"R0001"_s, u"BSC"_s, u"C001"_s, u"DC000101"_s});
        add({u"R0002"_s, u"BSC"_s, u"C002"_s});
    }
    static void type(QLineEdit *field, const QString &text)
    {
        field->setFocus();
        QTest::keyClicks(field, text);
    }
};

TEST_P(ReportScreensTest, StudentListPreviewsTheListOfTheTypedDegree)
{
    auto *screen = open<sw::StudentListScreen>(u"N31"_s);
    ASSERT_NE(screen, nullptr);
    type(screen->fields().text(0), u"bsc"_s);
    EXPECT_EQ(screen->fields().text(0)->text(), u"BSC"_s); // typed in capitals
    QTest::keyClick(screen->fields().text(0), Qt::Key_Return);
    EXPECT_EQ(screen->fields().text(3)->text(), u"BACHELOR OF SCIENCE"_s);
    QTest::keyClick(screen->fields().text(1), Qt::Key_Return); // a blank From College: every college
    EXPECT_EQ(screen->fields().text(1)->text(), u"0000"_s);
    EXPECT_EQ(screen->fields().text(2)->text(), u"ZZZZ"_s);
    const QString text = preview();
    EXPECT_TRUE(text.contains(u"College: C001 - FIRST COLLEGE"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"R0002"_s));
    EXPECT_TRUE(text.contains(u"Page No : 1"_s)); // the institution's page header
    EXPECT_TRUE(screen->reportPath().endsWith(u"REP001.Prn"_s));
}

TEST_P(ReportScreensTest, AnUnknownDegreeIsRefusedOnLeavingTheField)
{
    auto *screen = open<sw::StudentListScreen>(u"N31"_s);
    ASSERT_NE(screen, nullptr);
    type(screen->fields().text(0), u"XYZ"_s);
    QTest::keyClick(screen->fields().text(0), Qt::Key_Return);
    EXPECT_EQ(m_prompter.last(), u"Invalid Course Code"_s);
}

TEST_P(ReportScreensTest, SummaryWinsOverLedgerAndClosingTheScreenDeletesItsFile)
{
    auto *screen = open<sw::StudentListScreen>(u"N31"_s);
    ASSERT_NE(screen, nullptr);
    screen->fields().text(0)->setText(u"BSC"_s);
    screen->fields().chk(2)->setChecked(true);
    screen->fields().chk(5)->setChecked(true);
    picture(screen, u"studlist"_s);
    const QString text = preview();
    EXPECT_TRUE(text.contains(u"Elig."_s)) << text.toStdString();
    const QString file = screen->reportPath();
    EXPECT_TRUE(QFile::exists(file));
    m_window->dispatcher().doCommand(sw::Command::Exit);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(QFile::exists(file));
}

TEST_P(ReportScreensTest, PrintedListChecksItsDatesAndItsOptionsExcludeEachOther)
{
    auto *screen = open<sw::PrintedListScreen>(u"N33"_s);
    ASSERT_NE(screen, nullptr);
    screen->fields().chk(2)->setChecked(true);
    screen->fields().chk(1)->setChecked(true);
    EXPECT_FALSE(screen->fields().chk(2)->isChecked());
    screen->fields().chk(1)->setChecked(false);
    EXPECT_TRUE(preview().isEmpty());
    EXPECT_EQ(m_prompter.last(), u"Information should be entered"_s);
    screen->fields().mskdt(0)->setText(u"01/12/2025"_s);
    screen->fields().mskdt(1)->setText(u"31/12/2025"_s);
    const QString text = preview();
    EXPECT_TRUE(text.contains(u"CERTIFICATE PRINTED DETAILS"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"DC000101"_s));
}

TEST_P(ReportScreensTest, MismatchReportRunsAsTheScreenOpens)
{
    add({u"R0003"_s, u"BXYZ"_s});
    const QString text = preview([this] { open<sw::MismatchListScreen>(u"N36"_s); });
    EXPECT_TRUE(text.contains(u"  1  BXYZ"_s)) << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Backends, ReportScreensTest, sw::test::bothBackends(), sw::test::backendName);

} // namespace
