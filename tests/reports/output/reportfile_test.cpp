// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/output/reportfile.h"
#include "support/stoptext.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(ReportFile, TakesTheFirstFreeNumberAndClosingDeletesOnlyItsOwn)
{
    QTemporaryDir dir;
    sw::AppFolder folder(dir.path());
    QFile taken(folder.filePath(u"REP001.Prn"_s));
    ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
    taken.close();

    sw::ReportFile a(folder);
    EXPECT_FALSE(a.isAllocated());
    const QString pathA = a.path();
    EXPECT_TRUE(pathA.endsWith(u"/REP002.Prn"_s)) << pathA.toStdString();
    EXPECT_EQ(a.path(), pathA); // kept for later runs
    // A second screen open at once gets another file, though the first wrote nothing yet.
    sw::ReportFile b(folder);
    const QString pathB = b.path();
    EXPECT_TRUE(pathB.endsWith(u"/REP003.Prn"_s)) << pathB.toStdString();

    a.remove();
    EXPECT_FALSE(QFile::exists(pathA));
    EXPECT_TRUE(QFile::exists(pathB));
    EXPECT_TRUE(QFile::exists(folder.filePath(u"REP001.Prn"_s)));
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
