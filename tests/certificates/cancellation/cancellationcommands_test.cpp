// SPDX-License-Identifier: GPL-3.0-or-later
// cancel and cancel-range, run as a user would.
#include "../printing/printingfixture.h"

#include "support/batchrun.h"

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

class CancellationCommandsTest : public test::PrintingFixture
{
protected:
    void SetUp() override
    {
        test::PrintingFixture::SetUp();
        if (IsSkipped())
            return;
        m_session.db().exec(u"update masuser set fpermission = ? where fusername = 'CLERK'"_s, {u"N2*N24*N25*N29*"_s});
        for (int i = 0; i < 5; ++i)
            m_prompter.answer(PromptAnswer::Yes);
        ASSERT_EQ(print(selection()).printed, 4);
    }
    test::BatchRun batch(const QStringList &command)
    {
        return test::runBatch(QStringList{u"--folder"_s, m_session.folder.root(), u"--user"_s, u"CLERK"_s,
                                          u"--password"_s, u"clerk"_s, u"--convo"_s, u"C26"_s}
                              + command);
    }
};

TEST_P(CancellationCommandsTest, CancelOneWithAReasonAndThenARange)
{
    const test::BatchRun one = batch({u"cancel"_s, u"r1"_s, u"--reason"_s, u"Photograph of another candidate"_s});
    EXPECT_EQ(one.exitCode, 0) << one.err.toStdString();
    EXPECT_EQ(one.out, u"certificate A000017 of R1 cancelled\n"_s);
    EXPECT_EQ(certNo(u"R1"_s), u""_s);
    EXPECT_EQ(m_session.db().scalar(u"select fremarks from certcan where fregno = 'R1'"_s).toString(),
              u"Photograph of another candidate"_s);

    // The range asks first.
    const QStringList range = {u"cancel-range"_s, u"--degree"_s, u"BA"_s,   u"--college"_s,
                               u"101"_s,          u"--regno"_s,  u"R2,r4"_s};
    const test::BatchRun unanswered = batch(range);
    EXPECT_EQ(unanswered.exitCode, 1);
    EXPECT_TRUE(unanswered.err.contains(u"Cancel 2 certificates of degree BA and college 101?"_s))
        << unanswered.err.toStdString();
    EXPECT_EQ(certNo(u"R2"_s), u"A000018"_s);

    const test::BatchRun ranged = batch(QStringList{u"--yes"_s} + range);
    EXPECT_EQ(ranged.exitCode, 0) << ranged.err.toStdString();
    EXPECT_TRUE(ranged.out.endsWith(u"R2 A000018 cancelled\nR4 A000020 cancelled\n2 certificates cancelled\n"_s))
        << ranged.out.toStdString();
    EXPECT_EQ(certNo(u"R2"_s), u""_s);
    EXPECT_EQ(certNo(u"R3"_s), u"A000019"_s);
    EXPECT_EQ(m_session.db().scalar(u"select count(*) from certcan"_s).toInt(), 1);

    const test::BatchRun rest = batch({u"--yes"_s, u"cancel-range"_s, u"--degree"_s, u"BA"_s, u"--college"_s, u"101"_s,
                                       u"--all-printed"_s, u"--reason"_s, u"Reprint on new stationery"_s});
    EXPECT_EQ(rest.exitCode, 0) << rest.err.toStdString();
    EXPECT_EQ(certNo(u"R3"_s), u""_s);
    EXPECT_EQ(m_session.db().scalar(u"select count(*) from stationery where foutcome = 'CANCELLED'"_s).toInt(), 4);

    const test::BatchRun audit =
        batch({u"stationery"_s, u"--prefix"_s, u"A"_s, u"--from"_s, u"17"_s, u"--to"_s, u"20"_s});
    EXPECT_TRUE(audit.out.contains(
        u"4 numbers: 0 printed, 0 spoiled, 4 void, 0 pending, 0 never used; 0 used more than once"_s))
        << audit.out.toStdString();
}

TEST_P(CancellationCommandsTest, RefusalsNameWhatIsWrongAndCancelNothing)
{
    const test::BatchRun noReason = batch({u"cancel"_s, u"R1"_s});
    EXPECT_EQ(noReason.exitCode, 2);
    EXPECT_TRUE(noReason.err.contains(u"--reason"_s)) << noReason.err.toStdString();
    const test::BatchRun unknown = batch({u"cancel"_s, u"ZZ9"_s, u"--reason"_s, u"lost"_s});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_TRUE(unknown.err.contains(u"Invalid Reg. No.: ZZ9 is not a candidate of convocation C26."_s))
        << unknown.err.toStdString();

    const test::BatchRun notPrinted = batch(
        {u"--yes"_s, u"cancel-range"_s, u"--degree"_s, u"BA"_s, u"--college"_s, u"101"_s, u"--regno"_s, u"R1,R9"_s});
    EXPECT_EQ(notPrinted.exitCode, 1);
    EXPECT_TRUE(
        notPrinted.err.contains(u"Not printed candidates of degree BA and college 101: R9. Nothing was cancelled."_s))
        << notPrinted.err.toStdString();
    const test::BatchRun both = batch({u"--yes"_s, u"cancel-range"_s, u"--degree"_s, u"BA"_s, u"--college"_s, u"101"_s,
                                       u"--regno"_s, u"R1"_s, u"--all-printed"_s});
    EXPECT_EQ(both.exitCode, 2);
    const test::BatchRun badCollege =
        batch({u"--yes"_s, u"cancel-range"_s, u"--degree"_s, u"BA"_s, u"--college"_s, u"999"_s, u"--all-printed"_s});
    EXPECT_EQ(badCollege.exitCode, 1);
    EXPECT_TRUE(badCollege.err.contains(u"Invalid College Code"_s)) << badCollege.err.toStdString();
    for (const QString &regno : {u"R1"_s, u"R2"_s, u"R3"_s, u"R4"_s})
        EXPECT_FALSE(certNo(regno).isEmpty()) << regno.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Backends, CancellationCommandsTest, test::bothBackends(), test::backendName);

} // namespace
