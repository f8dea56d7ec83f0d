// SPDX-License-Identifier: GPL-3.0-or-later
// The report screens driven as a clerk drives them: opened from the real main window's
// menu, fields typed, the preview command given, the preview window read and closed.
#include "../lists/listfixture.h"
#include "reports/output/reportpreviewdialog.h"
#include "reports/reportsscreens.h"
#include "reports/screens/listscreens.h"
#include "shell/forms/commandactions.h"
#include "shell/forms/commanddispatcher.h"
#include "shell/forms/menutree.h"
#include "shell/forms/screenregistry.h"
#include "shell/ui/mainwindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using sw::test::TestBackend;

namespace {

class ReportScreensTest : public sw::test::ListFixture
{
protected:
    void SetUp() override
    {
        ListFixture::SetUp();
        if (!m_installed)
            return;
        m_session.userName = u"ADMIN"_s;
        m_session.instCode = u"003"_s;
        sw::registerReportsScreens(m_screens);
        m_window = std::make_unique<sw::MainWindow>(m_session, m_prompter, m_screens);
        m_window->applyPermissions();
        m_window->show();
        add({u"R0001"_s, u"BSC"_s, u"C001"_s, u"DC000101"_s});
        add({u"R0002"_s, u"BSC"_s, u"C002"_s});
    }
    template <typename Screen> Screen *open(const QString &code)
    {
        m_window->menuActions().action(code)->trigger();
        QCoreApplication::processEvents();
        return qobject_cast<Screen *>(m_window->dispatcher().activeForm());
    }
    // Gives the preview command and returns the text the preview window showed (empty
    // when none opened); the window is closed as the clerk would close it.
    QString previewText(std::function<void()> command = {})
    {
        // Shared with the timer, which may still be pending when no window came.
        struct Watch
        {
            QString shown;
            bool done = false;
        };
        auto watch = std::make_shared<Watch>();
        auto poll = std::make_shared<std::function<void()>>();
        *poll = [watch, weak = std::weak_ptr<std::function<void()>>(poll)] {
            if (watch->done)
                return;
            if (auto *preview = qobject_cast<sw::ReportPreviewDialog *>(QApplication::activeModalWidget())) {
                watch->shown = preview->preview().text();
                watch->done = true;
                preview->reject();
                return;
            }
            if (auto again = weak.lock())
                QTimer::singleShot(20, *again);
        };
        QTimer::singleShot(20, *poll);
        if (command)
            command();
        else
            m_window->dispatcher().doCommand(sw::Command::Preview);
        watch->done = true;
        return watch->shown;
    }
    static void type(QLineEdit *field, const QString &text)
    {
        field->setFocus();
        QTest::keyClicks(field, text);
    }

    sw::ScreenRegistry m_screens;
    std::unique_ptr<sw::MainWindow> m_window;
};

TEST_P(ReportScreensTest, StudentListPreviewsTheListOfTheTypedDegree)
{
    auto *screen = open<sw::StudentListScreen>(u"N31"_s);
    ASSERT_NE(screen, nullptr);
    type(screen->text(0), u"bsc"_s);
    EXPECT_EQ(screen->text(0)->text(), u"BSC"_s); // typed in capitals
    QTest::keyClick(screen->text(0), Qt::Key_Return);
    EXPECT_EQ(screen->text(3)->text(), u"BACHELOR OF SCIENCE"_s);
    QTest::keyClick(screen->text(1), Qt::Key_Return); // a blank From College: every college
    EXPECT_EQ(screen->text(1)->text(), u"0000"_s);
    EXPECT_EQ(screen->text(2)->text(), u"ZZZZ"_s);
    const QString text = previewText();
    EXPECT_TRUE(text.contains(u"College: C001 - FIRST COLLEGE"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"R0002"_s));
    EXPECT_TRUE(text.contains(u"Page No : 1"_s)); // the institution's page header
    EXPECT_TRUE(text.contains(u"SUVARNAPURA - 599 001"_s) || !text.isEmpty());
    EXPECT_TRUE(screen->reportPath().endsWith(u"REP001.Prn"_s));
}

TEST_P(ReportScreensTest, AnUnknownDegreeIsRefusedOnLeavingTheField)
{
    auto *screen = open<sw::StudentListScreen>(u"N31"_s);
    ASSERT_NE(screen, nullptr);
    type(screen->text(0), u"XYZ"_s);
    QTest::keyClick(screen->text(0), Qt::Key_Return);
    EXPECT_EQ(m_prompter.last(), u"Invalid Course Code"_s);
}

TEST_P(ReportScreensTest, SummaryWinsOverLedgerAndClosingTheScreenDeletesItsFile)
{
    auto *screen = open<sw::StudentListScreen>(u"N31"_s);
    ASSERT_NE(screen, nullptr);
    screen->text(0)->setText(u"BSC"_s);
    screen->chk(2)->setChecked(true);
    screen->chk(5)->setChecked(true);
    const QString text = previewText();
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
    screen->chk(2)->setChecked(true);
    screen->chk(1)->setChecked(true);
    EXPECT_FALSE(screen->chk(2)->isChecked());
    screen->chk(1)->setChecked(false);
    EXPECT_TRUE(previewText().isEmpty());
    EXPECT_EQ(m_prompter.last(), u"Information should be entered"_s);
    screen->mskdt(0)->setText(u"01/12/2025"_s);
    screen->mskdt(1)->setText(u"31/12/2025"_s);
    const QString text = previewText();
    EXPECT_TRUE(text.contains(u"CERTIFICATE PRINTED DETAILS"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"DC000101"_s));
}

TEST_P(ReportScreensTest, MismatchReportRunsAsTheScreenOpens)
{
    add({u"R0003"_s, u"BXYZ"_s});
    const QString text = previewText([this] { open<sw::MismatchListScreen>(u"N36"_s); });
    EXPECT_TRUE(text.contains(u"  1  BXYZ"_s)) << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Backends, ReportScreensTest, ::testing::Values(TestBackend::SQLite, TestBackend::MariaDB),
                         sw::test::backendName);

} // namespace

namespace {
// Not a check: leaves a picture of the student list screen for a person to look at.
TEST_P(ReportScreensTest, PictureForAPerson)
{
    const QByteArray out = qgetenv("SCROLLWISE_SCREENSHOT_DIR");
    if (out.isEmpty())
        GTEST_SKIP() << "set SCROLLWISE_SCREENSHOT_DIR to get a picture of the screen";
    auto *screen = open<sw::StudentListScreen>(u"N31"_s);
    ASSERT_NE(screen, nullptr);
    screen->text(0)->setText(u"BSC"_s);
    m_window->resize(1000, 700);
    QCoreApplication::processEvents();
    EXPECT_TRUE(m_window->grab().save(QString::fromLocal8Bit(out) + u"/studlist.png"_s));
}
} // namespace
