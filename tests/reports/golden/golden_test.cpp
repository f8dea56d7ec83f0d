// SPDX-License-Identifier: GPL-3.0-or-later
// Every text report of the demonstration folder, line by line against the expected
// file kept beside this test (checked by eye against the reports' layouts). When a
// report changes on purpose, run with SCROLLWISE_UPDATE_GOLDEN=1 to write the new
// expected files, and read their diff before committing them.
#include "app/demo/demofolder.h"
#include "reports/lists/certprintedlist.h"
#include "reports/lists/otherlists.h"
#include "reports/lists/studentlist.h"
#include "reports/output/reportoutput.h"
#include "shell/session.h"
#include "support/scriptedprompter.h"
#include "support/testdatabase.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class GoldenReports : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        sw::test::ScriptedPrompter prompter;
        sw::DemoFolder::build(sw::AppFolder(s_dir->filePath(u"demo"_s)), prompter);
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }
    void SetUp() override
    {
        m_session.folder = sw::AppFolder(s_dir->filePath(u"demo"_s));
        m_session.cn = sw::test::connectTo(m_session.folder);
        m_session.convoCode = sw::DemoFolder::currentConvocation();
        m_session.convoName = u"75TH"_s;
        m_header = sw::institutionPageHeader(m_session);
    }
    QString file(const QString &name) const { return s_dir->filePath(name + u".Prn"_s); }

    // Compares the report with its expected file, the day's date in the page header aside.
    void expectGolden(const QString &name)
    {
        QFile written(file(name));
        ASSERT_TRUE(written.open(QIODevice::ReadOnly)) << name.toStdString();
        static const QRegularExpression today(u"^Date : \\d\\d/\\d\\d/\\d{4}"_s, QRegularExpression::MultilineOption);
        QString actual = QString::fromLatin1(written.readAll());
        actual.replace(today, u"Date : DD/MM/YYYY"_s);
        const QString expectedPath = QStringLiteral(SCROLLWISE_GOLDEN_DIR) + u'/' + name + u".Prn"_s;
        if (qEnvironmentVariableIsSet("SCROLLWISE_UPDATE_GOLDEN")) {
            QDir().mkpath(QStringLiteral(SCROLLWISE_GOLDEN_DIR));
            QFile out(expectedPath);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(actual.toLatin1());
            return;
        }
        QFile expectedFile(expectedPath);
        ASSERT_TRUE(expectedFile.open(QIODevice::ReadOnly)) << "no expected file " << expectedPath.toStdString();
        const QStringList expected = QString::fromLatin1(expectedFile.readAll()).split(u"\r\n"_s);
        const QStringList lines = actual.split(u"\r\n"_s);
        for (qsizetype i = 0; i < std::min(expected.size(), lines.size()); ++i)
            ASSERT_EQ(lines[i], expected[i]) << name.toStdString() << " line " << i + 1;
        EXPECT_EQ(lines.size(), expected.size()) << name.toStdString();
    }
    sw::PrintedListSelection december()
    {
        sw::PrintedListSelection s;
        s.normaliseRanges();
        EXPECT_EQ(s.takeDates(u"01/12/2025"_s, u"31/12/2025"_s), QString());
        return s;
    }

    static QTemporaryDir *s_dir;
    sw::Session m_session;
    sw::test::ScriptedPrompter m_prompter;
    sw::PageHeaderSource m_header;
};
QTemporaryDir *GoldenReports::s_dir = nullptr;

TEST_F(GoldenReports, StudentListAndSummary)
{
    sw::StudentListReports reports(m_session, m_prompter, m_header);
    sw::StudentListSelection bsc{u"BSC"_s, {}, {}};
    bsc.normaliseColleges();
    ASSERT_TRUE(reports.studentList(bsc, file(u"student-list"_s)));
    expectGolden(u"student-list"_s);
    ASSERT_TRUE(reports.degreeSummary(bsc, file(u"summary"_s)));
    expectGolden(u"summary"_s);
}

TEST_F(GoldenReports, PrintedListCountAndLedger)
{
    sw::CertPrintedReports reports(m_session, m_prompter, m_header);
    ASSERT_TRUE(reports.printedList(december(), file(u"printed-list"_s)));
    expectGolden(u"printed-list"_s);
    ASSERT_TRUE(reports.countPerConvocation(december(), file(u"printed-count"_s)));
    expectGolden(u"printed-count"_s);
    m_prompter.answer(sw::PromptAnswer::No);
    ASSERT_TRUE(reports.convocationLedger(december(), file(u"printed-ledger"_s)));
    expectGolden(u"printed-ledger"_s);
}

TEST_F(GoldenReports, CancelledActivatedOnlineAndMismatchLists)
{
    sw::OtherListReports reports(m_session, m_prompter, m_header);
    ASSERT_TRUE(reports.cancelledList(december(), file(u"cancelled-list"_s)));
    expectGolden(u"cancelled-list"_s);
    sw::RangeSelection all;
    all.normaliseRanges();
    ASSERT_TRUE(reports.activatedList(all, {true, false}, file(u"activated-list"_s)));
    expectGolden(u"activated-list"_s);
    ASSERT_TRUE(reports.onlineList(all, true, file(u"online-list"_s)));
    expectGolden(u"online-list"_s);
    reports.mismatchList(file(u"mismatch"_s));
    expectGolden(u"mismatch"_s);
}

} // namespace
