// SPDX-License-Identifier: GPL-3.0-or-later
// rank add, rank list and awards import, run as a user would.
#include "../printing/printingfixture.h"

#include "support/batchrun.h"

#include <QFile>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

class RankCommandsTest : public test::PrintingFixture
{
protected:
    void SetUp() override
    {
        test::PrintingFixture::SetUp();
        if (IsSkipped())
            return;
        m_session.db().exec(u"update masuser set fpermission = ? where fusername = 'CLERK'"_s, {u"N2*N2B*N24*"_s});
    }
    test::BatchRun batch(const QStringList &command)
    {
        return test::runBatch(QStringList{u"--folder"_s, m_session.folder.root(), u"--user"_s, u"CLERK"_s,
                                          u"--password"_s, u"clerk"_s, u"--convo"_s, u"C26"_s}
                              + command);
    }
    QString writeFile(const QByteArray &content)
    {
        const QString path = m_out.filePath(u"prizes.csv"_s);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        return path;
    }
};

TEST_P(RankCommandsTest, RanksAndAwardsAreRegisteredListedAndPrinted)
{
    const test::BatchRun add = batch({u"rank"_s, u"add"_s, u"--degree"_s, u"ba"_s, u"--regno"_s, u"r1"_s, u"--rank"_s,
                                      u"i"_s, u"--remarks"_s, u"university first"_s});
    EXPECT_EQ(add.exitCode, 0) << add.err.toStdString();
    EXPECT_TRUE(add.out.contains(u"R1 Name R1: rank I of BA registered"_s)) << add.out.toStdString();

    const test::BatchRun again =
        batch({u"rank"_s, u"add"_s, u"--degree"_s, u"BA"_s, u"--regno"_s, u"R1"_s, u"--rank"_s, u"II"_s});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.err.contains(u"Reg. No. already defined"_s)) << again.err.toStdString();

    const test::BatchRun imported =
        batch({u"awards"_s, u"import"_s, writeFile("CC,R2,BA,101,Endowment,Kannada,2500.50\n")});
    EXPECT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    EXPECT_TRUE(imported.out.contains(u"1 award of prizes.csv registered"_s)) << imported.out.toStdString();

    const test::BatchRun printed = batch({u"--yes"_s, u"print"_s, u"--degree"_s, u"BA"_s, u"--type"_s, u"R"_s,
                                          u"--prefix"_s, u"R"_s, u"--start"_s, u"7"_s, u"--end"_s, u"9"_s, u"--date"_s,
                                          u"12/03/2026"_s, u"--output"_s, m_out.path(), u"--printed-ok"_s});
    EXPECT_EQ(printed.exitCode, 0) << printed.err.toStdString();

    const test::BatchRun list = batch({u"rank"_s, u"list"_s});
    EXPECT_EQ(list.exitCode, 0) << list.err.toStdString();
    EXPECT_EQ(list.out, u"BA\tR1\tName R1\tRC\trank I\tR000007\n"
                        "BA\tR2\tName R2\tCC\tKannada, Rs. 2500.50\tnot printed\n"
                        "2 awards\n"_s);
}

// As with degree certificates: an award sheet that went to the printer without its answer
// is named, nothing is stored for it, and the run says which sheet comes next.
TEST_P(RankCommandsTest, AnUnansweredSheetQuestionNamesTheAwardSheetInThePrinter)
{
    ASSERT_EQ(batch({u"rank"_s, u"add"_s, u"--degree"_s, u"BA"_s, u"--regno"_s, u"R1"_s, u"--rank"_s, u"I"_s}).exitCode,
              0);
    const test::BatchRun stopped =
        batch({u"--yes"_s, u"print"_s, u"--degree"_s, u"BA"_s, u"--type"_s, u"R"_s, u"--prefix"_s, u"R"_s, u"--start"_s,
               u"7"_s, u"--end"_s, u"9"_s, u"--date"_s, u"12/03/2026"_s, u"--output"_s, m_out.path()});
    EXPECT_EQ(stopped.exitCode, 1) << stopped.err.toStdString();
    EXPECT_TRUE(stopped.err.contains(u"Printing stopped after 0 of 1 sheets (0 printed, 0 spoiled); last number "
                                     "R000007. Certificate R000007 (Reg. No. R1) went to the printer but was not "
                                     "confirmed: it waits in the register"_s))
        << stopped.err.toStdString();
    EXPECT_TRUE(stopped.err.contains(u"The next sheet is R000008."_s)) << stopped.err.toStdString();
    EXPECT_EQ(m_session.db().scalar(u"select count(*) from rankreg where fcertno <> ''"_s).toInt(), 0);
    // Settled as printed, the award gets its number.
    const test::BatchRun settled =
        batch({u"stationery"_s, u"settle"_s, u"--prefix"_s, u"R"_s, u"--numbers"_s, u"7"_s, u"--printed"_s});
    EXPECT_EQ(settled.exitCode, 0) << settled.err.toStdString();
    EXPECT_EQ(m_session.db().scalar(u"select fcertno from rankreg where fregno = 'R1'"_s).toString(), u"R000007"_s);
}

TEST_P(RankCommandsTest, AnAwardFilesBadLinesAreNamedAndRejectedAndItsGoodOnesRegistered)
{
    const test::BatchRun run = batch({u"awards"_s, u"import"_s,
                                      writeFile("type,regno,degree,college,donor,subject,amount\n"
                                                "CC,R1,BA,101,Endowment,History,100\n"
                                                "CC,R2,BA,101,Endowment,History,one hundred\n"
                                                "GC,R9,BA,101,Medal,History,\n")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.startsWith(
        u"prizes.csv, line 3, field amount: \"one hundred\" is not an amount in rupees (digits, up to two decimals)\n"
        "prizes.csv, line 4, field regno: R9 is not a candidate of degree BA and college 101 in convocation C26\n"
        "rejected lines: "_s))
        << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(u"1 award of prizes.csv registered\ntotal records: 3, imported records: 1"_s))
        << run.out.toStdString();
    EXPECT_EQ(m_session.db().scalar(u"select count(*) from rankreg"_s).toInt(), 1);

    const test::BatchRun usage = batch({u"awards"_s, u"import"_s});
    EXPECT_EQ(usage.exitCode, 2);
    const test::BatchRun badRank =
        batch({u"rank"_s, u"add"_s, u"--degree"_s, u"BA"_s, u"--regno"_s, u"R2"_s, u"--rank"_s, u"XII"_s});
    EXPECT_EQ(badRank.exitCode, 1);
    EXPECT_TRUE(badRank.err.contains(u"type it as a Roman numeral from I to X"_s)) << badRank.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Backends, RankCommandsTest, test::bothBackends(), test::backendName);

} // namespace
