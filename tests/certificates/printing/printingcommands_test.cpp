// SPDX-License-Identifier: GPL-3.0-or-later
// The print, pdf, preview and stationery commands, run as a user would.
#include "printingfixture.h"

#include "../../candidates/entry/batchrun.h"
#include "shell/db/database.h"

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::TestBackend;

namespace {

class PrintingCommandsTest : public test::PrintingFixture
{
protected:
    void SetUp() override
    {
        test::PrintingFixture::SetUp();
        if (IsSkipped())
            return;
        m_session.db().exec(u"update masuser set fpermission = ? where fusername = 'CLERK'"_s,
                            {u"N2*N24*N2F*"_s});
    }
    test::BatchRun batch(const QStringList &command)
    {
        return test::runBatch(QStringList{u"--folder"_s, m_session.folder.root(), u"--user"_s, u"CLERK"_s,
                                          u"--password"_s, u"clerk"_s, u"--convo"_s, u"C26"_s}
                              + command);
    }
    static QStringList selectionArgs()
    {
        return {u"--degree"_s, u"BA"_s, u"--type"_s, u"1"_s, u"--no-temp"_s};
    }
};

TEST_P(PrintingCommandsTest, PrintConfirmsFromItsOptionsAndTheRegisterAccountsForEverySheet)
{
    const test::BatchRun run = batch(QStringList{u"--yes"_s, u"print"_s} + selectionArgs()
                                     + QStringList{u"--prefix"_s, u"A"_s, u"--start"_s, u"17"_s, u"--end"_s, u"30"_s,
                                                   u"--date"_s, u"12/03/2026"_s, u"--output"_s, m_out.path(),
                                                   u"--printed-ok"_s, u"--spoiled"_s, u"18"_s});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(u"A000018: spoiled"_s)) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(u"printed: 3, spoiled: 1, skipped: 0"_s)) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(u"next certificate number: A000021"_s));
    EXPECT_EQ(certNo(u"R1"_s), u"A000017"_s);
    EXPECT_EQ(certNo(u"R2"_s), u""_s);
    EXPECT_EQ(certNo(u"R3"_s), u"A000019"_s);
    EXPECT_EQ(certNo(u"R4"_s), u"A000020"_s);

    const test::BatchRun audit = batch({u"stationery"_s, u"--prefix"_s, u"a"_s, u"--from"_s, u"16"_s, u"--to"_s, u"22"_s});
    EXPECT_EQ(audit.exitCode, 0) << audit.err.toStdString();
    EXPECT_TRUE(audit.out.contains(u"A000018      SPOILED  R2"_s)) << audit.out.toStdString();
    EXPECT_TRUE(audit.out.contains(u"7 numbers, 3 not accounted for, 0 used more than once"_s));

    // The depository copies of what was printed.
    const test::BatchRun pdf = batch(QStringList{u"--yes"_s, u"pdf"_s} + selectionArgs());
    EXPECT_EQ(pdf.exitCode, 0) << pdf.err.toStdString();
    EXPECT_TRUE(QFile::exists(m_session.folder.filePath(u"CSV/DCPDF/DC_003_R4_F_2025_1.pdf"_s)));
}

TEST_P(PrintingCommandsTest, RefusalsAndUsageErrorsSayWhatIsWrong)
{
    // Without an answer for a sheet the run stops at that question and keeps nothing for it.
    const test::BatchRun unanswered =
        batch(QStringList{u"print"_s} + selectionArgs()
              + QStringList{u"--start"_s, u"1"_s, u"--end"_s, u"9"_s, u"--output"_s, m_out.path(), u"--printed-ok"_s});
    EXPECT_EQ(unanswered.exitCode, 1);
    EXPECT_TRUE(unanswered.err.contains(u"Photo not found"_s)) << unanswered.err.toStdString();
    EXPECT_TRUE(unanswered.err.contains(u"Printing stopped after 2 of 4 sheets (2 printed, 0 spoiled); last number "
                                        "000002. The next sheet is 000003."_s))
        << unanswered.err.toStdString();
    EXPECT_TRUE(unanswered.out.contains(u"printed: 2, spoiled: 0"_s)) << unanswered.out.toStdString();
    EXPECT_EQ(certNo(u"R1"_s), u"000001"_s);
    EXPECT_EQ(certNo(u"R3"_s), u""_s);

    const test::BatchRun reversed = batch({u"stationery"_s, u"--from"_s, u"9"_s, u"--to"_s, u"3"_s});
    EXPECT_EQ(reversed.exitCode, 2);
    EXPECT_TRUE(reversed.err.contains(u"--to (3) is below --from (9)"_s)) << reversed.err.toStdString();

    const test::BatchRun both = batch(QStringList{u"print"_s} + selectionArgs()
                                      + QStringList{u"--start"_s, u"1"_s, u"--end"_s, u"9"_s});
    EXPECT_EQ(both.exitCode, 2);
    EXPECT_TRUE(both.err.contains(u"--printer"_s));

    const test::BatchRun badType = batch(QStringList{u"print"_s, u"--degree"_s, u"BA"_s, u"--type"_s, u"4"_s,
                                                     u"--start"_s, u"1"_s, u"--end"_s, u"9"_s, u"--output"_s,
                                                     m_out.path()});
    EXPECT_EQ(badType.exitCode, 1);
    EXPECT_TRUE(badType.err.contains(u"Invalid Certificate Type"_s) || badType.out.contains(u"Invalid Certificate Type"_s));
}

// Asked on the terminal and the input ends: the sheet in the printer is neither
// confirmed nor spoiled, and the run says so.
TEST_P(PrintingCommandsTest, InputEndingAtTheSheetQuestionNamesTheUnconfirmedSheet)
{
    QProcess p;
    p.start(QStringLiteral(SCROLLWISE_BATCH_PATH),
            QStringList{u"--folder"_s, m_session.folder.root(), u"--user"_s, u"CLERK"_s, u"--password"_s, u"clerk"_s,
                        u"--convo"_s, u"C26"_s, u"--yes"_s, u"print"_s}
                + selectionArgs()
                + QStringList{u"--prefix"_s, u"A"_s, u"--start"_s, u"17"_s, u"--end"_s, u"30"_s, u"--output"_s,
                              m_out.path()});
    p.write("y\n");
    p.closeWriteChannel();
    ASSERT_TRUE(p.waitForFinished(120000));
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_EQ(p.exitCode(), 1) << err.toStdString();
    EXPECT_TRUE(err.contains(u"Printing stopped after 1 of 4 sheets (1 printed, 0 spoiled); last number A000017. "
                             "Certificate A000018 (Reg. No. R2) went to the printer but was not confirmed, so nothing "
                             "is stored for it: register that sheet as spoiled. The next sheet is A000019."_s))
        << err.toStdString();
    EXPECT_TRUE(err.contains(u"No answer for the question \"Is certificate printed Successfully?\""_s));
    EXPECT_EQ(certNo(u"R1"_s), u"A000017"_s);
    EXPECT_EQ(certNo(u"R2"_s), u""_s);

    // The clerk registers the sheet that went out unconfirmed; the register accounts for it.
    const test::BatchRun spoil =
        batch({u"stationery"_s, u"spoil"_s, u"--prefix"_s, u"a"_s, u"--numbers"_s, u"18"_s, u"--reason"_s, u"stopped"_s});
    EXPECT_EQ(spoil.exitCode, 0) << spoil.err.toStdString();
    EXPECT_TRUE(spoil.out.contains(u"1 sheets registered as spoiled"_s)) << spoil.out.toStdString();
    const test::BatchRun again = batch({u"stationery"_s, u"spoil"_s, u"--prefix"_s, u"A"_s, u"--numbers"_s, u"18,x"_s});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.err.contains(u"\"x\" is not a sheet number"_s)) << again.err.toStdString();
    const test::BatchRun audit = batch({u"stationery"_s, u"--prefix"_s, u"A"_s, u"--from"_s, u"17"_s, u"--to"_s, u"18"_s});
    EXPECT_TRUE(audit.out.contains(u"2 numbers, 0 not accounted for, 0 used more than once"_s)) << audit.out.toStdString();
}

TEST_P(PrintingCommandsTest, PreviewWritesPagesOfTheFirstCertificatesAndStoresNothing)
{
    const test::BatchRun run = batch(QStringList{u"preview"_s} + selectionArgs()
                                     + QStringList{u"--start"_s, u"1"_s, u"--end"_s, u"9"_s, u"--count"_s, u"2"_s,
                                                   u"--output"_s, m_out.path()});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(QDir(m_out.path()).entryList({u"*.png"_s}).size(), 2) << run.out.toStdString();
    EXPECT_EQ(certNo(u"R1"_s), u""_s);
    EXPECT_TRUE(registerRows().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Backends, PrintingCommandsTest, ::testing::Values(TestBackend::SQLite), test::backendName);

} // namespace
