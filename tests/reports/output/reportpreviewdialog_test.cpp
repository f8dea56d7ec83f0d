// SPDX-License-Identifier: GPL-3.0-or-later
// The preview window driven as a clerk drives it, offscreen.
#include "reports/output/reportpreviewdialog.h"
#include "reports/output/reportwriter.h"
#include "shell/core/appfolder.h"
#include "support/scriptedprompter.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class ReportPreviewDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        sw::ReportLayout layout;
        layout.titles = {u"STUDENT LIST"_s};
        sw::ReportWriter writer(m_report, layout,
                                [](int, int page) { return QStringList{u"Page No : "_s + QString::number(page)}; });
        for (int i = 1; i <= 100; ++i)
            writer.writeRow(sw::reportline::number(i, 5) + u"  CANDIDATE "_s + QString::number(i));
        writer.finish();
    }
    QPushButton *buttonNamed(sw::ReportPreviewDialog &w, const char *name)
    {
        return w.findChild<QPushButton *>(QString::fromLatin1(name));
    }

    QTemporaryDir m_dir;
    sw::AppFolder m_folder{m_dir.path()};
    QString m_report = m_dir.filePath(u"REP001.Prn"_s);
    sw::test::ScriptedPrompter m_prompter;
};

TEST_F(ReportPreviewDialogTest, ShowsOnePageReadOnlyInAFixedPitchFontAndTurnsPagesWithinTheReport)
{
    sw::ReportPreviewDialog w(m_report, m_folder, m_prompter, {});
    EXPECT_EQ(w.windowTitle(), u"Preview . . ."_s);
    EXPECT_TRUE(w.textBox()->isReadOnly());
    EXPECT_TRUE(QFontInfo(w.textBox()->font()).fixedPitch());
    EXPECT_TRUE(w.textBox()->toPlainText().contains(u"   45  CANDIDATE 45"_s));
    // One page at a time.
    EXPECT_FALSE(w.textBox()->toPlainText().contains(u"CANDIDATE 46"_s));
    EXPECT_EQ(w.preview().pageCount(), 3);
    EXPECT_EQ(w.currentPage(), 1);

    w.goToPage(2);
    EXPECT_EQ(w.currentPage(), 2);
    EXPECT_TRUE(w.textBox()->toPlainText().trimmed().startsWith(u"Page No : 2"_s));
    QTest::mouseClick(buttonNamed(w, "cmdnext"), Qt::LeftButton);
    EXPECT_EQ(w.currentPage(), 3);
    EXPECT_TRUE(w.textBox()->toPlainText().contains(u"End of Report"_s));
    QTest::mouseClick(buttonNamed(w, "cmdnext"), Qt::LeftButton);
    EXPECT_EQ(w.currentPage(), 3); // no page after the last
    w.goToPage(0);
    EXPECT_EQ(w.currentPage(), 1);
    QTest::mouseClick(buttonNamed(w, "cmdprevious"), Qt::LeftButton);
    EXPECT_EQ(w.currentPage(), 1);
}

TEST_F(ReportPreviewDialogTest, SearchSelectsTheHitOnItsPageAndSearchingAgainGoesOn)
{
    sw::ReportPreviewDialog w(m_report, m_folder, m_prompter, {});
    m_prompter.answerInput(u"candidate 1"_s);
    QTest::mouseClick(buttonNamed(w, "cmdsearch"), Qt::LeftButton);
    EXPECT_EQ(w.textBox()->textCursor().selectedText(), u"CANDIDATE 1"_s);
    const int first = w.textBox()->textCursor().position();
    m_prompter.answerInput(u"candidate 1"_s);
    QTest::mouseClick(buttonNamed(w, "cmdsearch"), Qt::LeftButton);
    EXPECT_GT(w.textBox()->textCursor().position(), first); // CANDIDATE 10 comes next
    for (const auto &shown : m_prompter.shown())
        EXPECT_TRUE(shown.question) << "unexpected message: " << shown.text.toStdString();

    m_prompter.answerInput(u"CANDIDATE 95"_s);
    w.search();
    EXPECT_EQ(w.currentPage(), 3);
    EXPECT_EQ(w.textBox()->textCursor().selectedText(), u"CANDIDATE 95"_s);

    // A blank string is asked for again: the input box, then the message.
    m_prompter.clear();
    m_prompter.answerInput(u"   "_s);
    w.search();
    ASSERT_EQ(m_prompter.shown().size(), 2u);
    EXPECT_EQ(m_prompter.last(), u"Enter Search String"_s);
    EXPECT_EQ(m_prompter.shown().back().icon, sw::PromptIcon::Exclamation);
}

TEST_F(ReportPreviewDialogTest, SaveWritesTheTextOrAsksForAName)
{
    sw::ReportPreviewDialog w(m_report, m_folder, m_prompter, {});
    m_prompter.answerFile(std::nullopt);
    w.save();
    EXPECT_EQ(m_prompter.last(), u"Select Save file name"_s);

    const QString copy = m_dir.filePath(u"list.txt"_s);
    m_prompter.answerFile(copy);
    w.save();
    QFile saved(copy), original(m_report);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), original.readAll());
}

TEST_F(ReportPreviewDialogTest, PrintingThroughWindowsUsesTheDocumentPrinterWithTheConfiguredName)
{
    QString printedFile, printedOn;
    sw::ReportPrinting printing;
    printing.printer = u"Certificates-A4"_s;
    printing.throughDocumentPrinter = [&](const QString &file, const QString &printer) {
        printedFile = file;
        printedOn = printer;
    };
    sw::ReportPreviewDialog w(m_report, m_folder, m_prompter, printing);
    w.findChild<QRadioButton *>(u"Opt_1"_s)->setChecked(true);
    QTest::mouseClick(buttonNamed(w, "cmdprint"), Qt::LeftButton);
    EXPECT_EQ(printedFile, m_report);
    EXPECT_EQ(printedOn, u"Certificates-A4"_s);

    sw::ReportPreviewDialog without(m_report, m_folder, m_prompter, {});
    without.findChild<QRadioButton *>(u"Opt_1"_s)->setChecked(true);
    without.print();
    EXPECT_TRUE(m_prompter.last().contains(u"choose DOS"_s)) << m_prompter.last().toStdString();

    // Not a check: a picture of the window for a person to look at, when asked for.
    const QByteArray out = qgetenv("SCROLLWISE_SCREENSHOT_DIR");
    if (!out.isEmpty()) {
        without.resize(900, 600);
        without.show();
        EXPECT_TRUE(without.grab().save(QString::fromLocal8Bit(out) + u"/previewfrm.png"_s));
    }
}

} // namespace
