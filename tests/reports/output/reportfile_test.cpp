// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/output/reportfile.h"
#include "support/stoptext.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(ReportFile, TakesTheFirstFreeNumberAndKeepsItForLaterRuns)
{
    QTemporaryDir dir;
    sw::AppFolder folder(dir.path());
    QFile taken(folder.filePath(u"REP001.Prn"_s));
    ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
    taken.close();

    sw::ReportFile file(folder);
    EXPECT_FALSE(file.isAllocated());
    const QString first = file.path();
    EXPECT_TRUE(first.endsWith(u"/REP002.Prn"_s)) << first.toStdString();
    EXPECT_EQ(file.path(), first);
}

TEST(ReportFile, TwoScreensOpenAtOnceGetDifferentFilesAndClosingDeletesOnlyItsOwn)
{
    QTemporaryDir dir;
    sw::AppFolder folder(dir.path());
    sw::ReportFile a(folder);
    sw::ReportFile b(folder);
    // The first screen has not written anything yet when the second takes its name.
    const QString pathA = a.path();
    const QString pathB = b.path();
    EXPECT_NE(pathA, pathB);
    EXPECT_TRUE(pathB.endsWith(u"REP002.Prn"_s));

    a.remove();
    EXPECT_FALSE(QFile::exists(pathA));
    EXPECT_TRUE(QFile::exists(pathB));
    a.remove(); // already gone: nothing to do
    sw::ReportFile never(folder);
    never.remove(); // never allocated: nothing to do
}

TEST(ReportFile, AllNumbersInUseIsAClearError)
{
    QTemporaryDir dir;
    sw::AppFolder folder(dir.path());
    for (int n = 1; n <= sw::ReportFile::kHighestNumber; ++n) {
        QFile f(folder.filePath(sw::ReportFile::nameFor(n)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    sw::ReportFile file(folder);
    const QString stop = sw::test::stopText([&] { file.path(); });
    EXPECT_TRUE(stop.startsWith(u"Error Message  : Err No. "_s) && stop.contains(u"REP999.Prn"_s))
        << stop.toStdString();
}

TEST(ReportFile, AFolderThatCannotBeWrittenIsNamed)
{
    sw::ReportFile file(sw::AppFolder(u"/proc/no-such-folder"_s));
    EXPECT_TRUE(
        sw::test::stopText([&] { file.path(); }).startsWith(u"Error Message  : Err No. 75  The report file "_s));
}

} // namespace
