// SPDX-License-Identifier: GPL-3.0-or-later
// A candidate's road to "active" through the command-line tool: fee verified, activated;
// and a printed one left alone.
#include "support/batchrun.h"
#include "candidates/entry/seeddata.h"
#include "support/testdatabase.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::runBatch;

namespace {

class GateCommandsTest : public test::SeededFolderTest
{
protected:
    QString column(const QString &regno, const QString &name)
    {
        return m_db->scalar(u"select "_s + name + u" from convo where fregno = ?"_s, {regno}).toString();
    }
};

// Typing a candidate in and the serial number of the entry form's activation are the candidate
// commands' (EntryCommandsTest.AddThenEditActivatesAndPrintsWhatChanged); which rows each gate
// reaches is GateStoreTest's. Here: the commands' ranges, lines and exit codes.
TEST_P(GateCommandsTest, ACandidateIsFeeVerifiedThenActivatedAndLeftAloneByVerification)
{
    test::insertCandidate(*m_db, u"R50"_s);
    test::insertCandidate(*m_db, u"R51"_s);

    // Not yet verified: activation has nothing to show.
    test::BatchRun r = runBatch(as() << u"activate"_s << u"--degree"_s << u"BA"_s << u"--college"_s << u"101"_s);
    EXPECT_EQ(r.exitCode, 1);

    r = runBatch(as() << u"verify"_s << u"--degree"_s << u"ba"_s << u"--college"_s << u"101"_s << u"--from"_s
                      << u"R50"_s << u"--to"_s << u"R50"_s);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(u"R50 ffeepaid: F -> T"_s)) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(u"1 of 2 candidates changed"_s)) << r.out.toStdString();
    // The save writes every row of the grid: R51 is now recorded as not paid.
    EXPECT_EQ(column(u"R51"_s, u"ffeepaid"_s), u"F"_s);

    r = runBatch(as() << u"activate"_s << u"--degree"_s << u"BA"_s << u"--college"_s << u"101"_s);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(u"R50 factive: F -> T"_s)) << r.out.toStdString();
    EXPECT_FALSE(r.out.contains(u"R51"_s)) << r.out.toStdString();
    EXPECT_EQ(column(u"R50"_s, u"factive"_s), u"T"_s);

    // Once active, verification no longer reaches the candidate.
    r = runBatch(as() << u"verify"_s << u"--degree"_s << u"BA"_s << u"--college"_s << u"101"_s << u"--unset"_s);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_FALSE(r.out.contains(u"R50"_s)) << r.out.toStdString();
}

TEST_P(GateCommandsTest, APrintedCandidateIsNeitherDeactivatedNorUnverified)
{
    test::insertCandidate(*m_db, u"R60"_s,
                          {{u"ffeepaid"_s, u"T"_s}, {u"factive"_s, u"T"_s}, {u"fcertno"_s, u"DC000009"_s}});
    test::insertCandidate(*m_db, u"R61"_s, {{u"ffeepaid"_s, u"T"_s}, {u"factive"_s, u"T"_s}});
    test::BatchRun r =
        runBatch(as() << u"activate"_s << u"--degree"_s << u"BA"_s << u"--college"_s << u"101"_s << u"--unset"_s);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(u"R61 factive: T -> F"_s)) << r.out.toStdString();
    EXPECT_FALSE(r.out.contains(u"R60"_s));
    EXPECT_EQ(column(u"R60"_s, u"factive"_s), u"T"_s);

    EXPECT_TRUE(
        test::endedWith(runBatch(as() << u"activate"_s << u"--degree"_s << u"ZZ"_s << u"--college"_s << u"101"_s), 1,
                        u"Invalid Degree Code"_s));
    EXPECT_TRUE(test::endedWith(runBatch(as() << u"verify"_s << u"--degree"_s << u"BA"_s), 2));
}

INSTANTIATE_TEST_SUITE_P(Backends, GateCommandsTest, test::bothBackends(), test::backendName);

} // namespace
