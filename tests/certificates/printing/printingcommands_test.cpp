// SPDX-License-Identifier: GPL-3.0-or-later
// The print, pdf, preview and stationery commands, run as a user would.
#include "printingfixture.h"

#include "shell/db/database.h"

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::endedWith;
using sw::test::TestBackend;

namespace {

class PrintingCommandsTest : public test::PrintingFixture
{
protected:
    static QStringList selectionArgs() { return {u"--degree"_s, u"BA"_s, u"--type"_s, u"1"_s, u"--no-temp"_s}; }
    // Prints from A000017 on, each sheet's question answered by what is typed.
    test::BatchRun printAnswering(const QByteArray &typed) const
    {
        return batch(QStringList{u"--yes"_s, u"print"_s} + selectionArgs()
                         + QStringList{u"--prefix"_s, u"A"_s, u"--start"_s, u"17"_s, u"--end"_s, u"30"_s, u"--output"_s,
                                       m_out.path()},
                     typed);
    }
};

TEST_P(PrintingCommandsTest, RefusalsAndUsageErrorsSayWhatIsWrongAndPreviewStoresNothing)
{
    // The run's first question names what it will print; unanswered, nothing is printed.
    EXPECT_TRUE(endedWith(
        batch(QStringList{u"print"_s} + selectionArgs()
              + QStringList{u"--start"_s, u"1"_s, u"--end"_s, u"9"_s, u"--output"_s, m_out.path(), u"--printed-ok"_s}),
        1,
        u"4 certificates, 000001 to 000004, date of issue "_s + QDate::currentDate().toString(u"dd/MM/yyyy"_s)
            + u": go on?"_s));
    EXPECT_EQ(certNo(u"R1"_s), u""_s);
    EXPECT_TRUE(registerRows().isEmpty());

    EXPECT_TRUE(endedWith(batch({u"stationery"_s, u"--from"_s, u"9"_s, u"--to"_s, u"3"_s}), 2, u"3 is below 9"_s));

    EXPECT_TRUE(endedWith(
        batch(QStringList{u"print"_s} + selectionArgs() + QStringList{u"--start"_s, u"1"_s, u"--end"_s, u"9"_s}), 2,
        u"--printer"_s));

    const test::BatchRun badType =
        batch(QStringList{u"print"_s, u"--degree"_s, u"BA"_s, u"--type"_s, u"4"_s, u"--start"_s, u"1"_s, u"--end"_s,
                          u"9"_s, u"--output"_s, m_out.path()});
    EXPECT_EQ(badType.exitCode, 1);
    EXPECT_TRUE(badType.err.contains(u"Invalid Certificate Type"_s)
                || badType.out.contains(u"Invalid Certificate Type"_s));

    // preview writes pages of the first certificates and stores nothing.
    const test::BatchRun preview = batch(
        QStringList{u"preview"_s} + selectionArgs()
        + QStringList{u"--start"_s, u"1"_s, u"--end"_s, u"9"_s, u"--count"_s, u"2"_s, u"--output"_s, m_out.path()});
    EXPECT_EQ(preview.exitCode, 0) << preview.err.toStdString();
    EXPECT_EQ(QDir(m_out.path()).entryList({u"*.png"_s}).size(), 2) << preview.out.toStdString();
    EXPECT_EQ(certNo(u"R1"_s), u""_s);
    EXPECT_TRUE(registerRows().isEmpty());
}

// print --check lists what the selection's certificates would lack, by register
// number, and prints nothing.
TEST_P(PrintingCommandsTest, CheckListsTheGapsOfTheSelectionAndPrintsNothing)
{
    m_session.db().exec(u"update convo set fnamekan = '' where fregno = 'R2'"_s);
    // Names are in capitals but one, typed where the case is kept: it would print so.
    m_session.db().exec(u"update convo set fname = upper(fname)"_s);
    m_session.db().exec(u"update convo set fname = 'Ganesh' where fregno = 'R4'"_s);
    QFile::remove(m_session.folder.filePath(u"seal.jpg"_s));
    // The check needs only the selection: it once refused to run without --start, --end and --output.
    const test::BatchRun check = batch(QStringList{u"print"_s, u"--check"_s} + selectionArgs());
    EXPECT_EQ(check.exitCode, 1) << check.err.toStdString();
    for (const QString &line : {u"Reg. No. R3: no photograph in Photos (R3.jpg, .jpeg or .bmp)"_s,
                                u"Kannada name not entered for Reg. No. R2"_s,
                                u"Reg. No. R4: the name \"Ganesh\" holds small letters and prints as typed; names "
                                "print in capitals"_s,
                                u"seal.jpg is missing from the application folder: the seal is left out"_s})
        EXPECT_TRUE(check.out.contains(line)) << line.toStdString() << "\n" << check.out.toStdString();
    EXPECT_FALSE(check.out.contains(u"Reg. No. R1:"_s)) << check.out.toStdString();
    EXPECT_TRUE(check.out.contains(u" things missing."_s)) << check.out.toStdString();
    EXPECT_EQ(certNo(u"R1"_s), u""_s);
    EXPECT_TRUE(registerRows().isEmpty());
    EXPECT_TRUE(QDir(m_out.path()).isEmpty());
}

// Asked on the terminal and the input ends: the sheet in the printer is neither
// confirmed nor spoiled, and the run says so.
TEST_P(PrintingCommandsTest, InputEndingAtTheSheetQuestionNamesTheUnconfirmedSheet)
{
    const test::BatchRun stopped = printAnswering("y\n");
    EXPECT_TRUE(endedWith(stopped, 1,
                          u"Printing stopped after 1 of 4 sheets (1 printed, 0 spoiled); last number A000018. "
                          "Certificate A000018 (Reg. No. R2) went to the printer but was not confirmed: it waits "
                          "in the register"_s));
    EXPECT_TRUE(stopped.err.contains(u"No answer for the question \"Is certificate printed Successfully?\": --yes "
                                     "does not answer it."_s))
        << stopped.err.toStdString();
    EXPECT_EQ(certNo(u"R1"_s), u"A000017"_s);
    EXPECT_EQ(certNo(u"R2"_s), u""_s);

    // The next run names the waiting sheet and passes its candidate over.
    const QStringList next = QStringList{u"--yes"_s, u"print"_s} + selectionArgs()
                             + QStringList{u"--prefix"_s, u"A"_s,        u"--start"_s, u"19"_s,          u"--end"_s,
                                           u"30"_s,       u"--output"_s, m_out.path(), u"--printed-ok"_s};
    const test::BatchRun waiting = batch(next);
    EXPECT_TRUE(waiting.err.contains(u"A000018 (Reg. No. R2, convocation C26): sent to the printer by CLERK"_s))
        << waiting.err.toStdString() << waiting.out.toStdString();
    EXPECT_TRUE(waiting.out.contains(u"Reg. No. R2 has sheet A000018 at a printer, not yet confirmed"_s))
        << waiting.out.toStdString();
    EXPECT_EQ(certNo(u"R2"_s), u""_s);

    // The clerk settles it: a typing error settles nothing, then it came out well.
    EXPECT_TRUE(endedWith(
        batch({u"stationery"_s, u"settle"_s, u"--prefix"_s, u"A"_s, u"--numbers"_s, u"18,x"_s, u"--printed"_s}), 1,
        u"\"x\" is not a sheet number"_s));
    const test::BatchRun settle =
        batch({u"stationery"_s, u"settle"_s, u"--prefix"_s, u"a"_s, u"--numbers"_s, u"18"_s, u"--printed"_s});
    EXPECT_EQ(settle.exitCode, 0) << settle.err.toStdString();
    EXPECT_TRUE(settle.out.contains(u"A000018: printed for Reg. No. R2; the number is stored"_s))
        << settle.out.toStdString();
    EXPECT_EQ(certNo(u"R2"_s), u"A000018"_s);
    EXPECT_TRUE(
        endedWith(batch({u"stationery"_s, u"settle"_s, u"--prefix"_s, u"A"_s, u"--numbers"_s, u"18"_s, u"--spoiled"_s}),
                  1, u"Certificate No. A000018 is not waiting for confirmation (it is PRINTED)"_s));
    const test::BatchRun audit =
        batch({u"stationery"_s, u"--prefix"_s, u"a"_s, u"--from"_s, u"17"_s, u"--to"_s, u"22"_s});
    EXPECT_TRUE(audit.out.contains(u"6 numbers: 4 printed, 0 spoiled, 0 void, 0 pending, 2 never used; 0 used more "
                                   "than once"_s))
        << audit.out.toStdString();
}

// Answers from a pipe: one line per sheet, in order.
TEST_P(PrintingCommandsTest, PipedAnswersAreReadOnePerSheet)
{
    const test::BatchRun run = printAnswering("y\nn\ny\ny\n");
    EXPECT_TRUE(endedWith(run, 0));
    EXPECT_TRUE(run.out.contains(u"printed: 3, spoiled: 1, passed over: 0"_s)) << run.out.toStdString();
    EXPECT_EQ(certNo(u"R1"_s), u"A000017"_s);
    EXPECT_EQ(certNo(u"R2"_s), u""_s);
    EXPECT_EQ(certNo(u"R4"_s), u"A000020"_s);
}

// --spoiled is the clerk's word for a sheet, whatever the layout; a number the run
// cannot reach, or of another prefix, is refused before the first sheet.
TEST_P(PrintingCommandsTest, NamedSpoiledSheetsAreCheckedAndKeptByEveryLayout)
{
    const auto printing = [&](const QStringList &extra) {
        return batch(QStringList{u"--yes"_s, u"print"_s, u"--degree"_s, u"BA"_s, u"--type"_s, u"1"_s, u"--prefix"_s,
                                 u"A"_s, u"--end"_s, u"99"_s, u"--output"_s, m_out.path(), u"--printed-ok"_s}
                     + extra);
    };
    const struct
    {
        const char *what;
        QStringList args;
        QString refusal;
    } refused[] = {
        {"outside the range", {u"--start"_s, u"17"_s, u"--spoiled"_s, u"120"_s}, u"Sheet A000120, given as spoiled"_s},
        {"another prefix",
         {u"--start"_s, u"17"_s, u"--spoiled"_s, u"B000018"_s},
         u"\"B000018\" is not a sheet number"_s},
        {"a typing error", {u"--start"_s, u"17"_s, u"--spoiled"_s, u"1B"_s}, u"\"1B\" is not a sheet number"_s},
    };
    for (const auto &c : refused) {
        const test::BatchRun r = printing(c.args);
        EXPECT_EQ(r.exitCode, 1) << c.what;
        EXPECT_TRUE(r.err.contains(c.refusal) || r.out.contains(c.refusal)) << c.what << r.err.toStdString();
    }
    EXPECT_TRUE(registerRows().isEmpty());

    // The current layout stores without asking; the named sheet is spoiled all the same.
    const test::BatchRun current = printing({u"--start"_s, u"17"_s, u"--spoiled"_s, u"18,25"_s});
    EXPECT_EQ(current.exitCode, 0) << current.err.toStdString();
    EXPECT_TRUE(current.out.contains(u"printed: 3, spoiled: 1, passed over: 0, previewed: 0, PDF copies: 3"_s))
        << current.out.toStdString();
    EXPECT_TRUE(current.err.contains(u"The run ended before the sheets given as spoiled: A000025"_s))
        << current.err.toStdString();
    EXPECT_EQ(certNo(u"R2"_s), u""_s);
    EXPECT_EQ(value(u"select fstate from certsheet where fnumber = 18"_s), u"SPOILED"_s);
}

// Issue: the files of spoiled and cancelled sheets stayed beside the reprints with
// nothing saying which is valid. Whatever way a sheet stops being valid (named spoiled
// in the run, registered spoiled after it, cancelled), its sheet and its PDF copy move to
// Spoiled/ or Cancelled/ in that step; what stays beside each other is exactly the valid
// certificates, each copy carrying its candidate's current number.
TEST_P(PrintingCommandsTest, SpoiledAndCancelledSheetsLeaveTheFoldersOfValidOnes)
{
    const QString copies = m_session.folder.filePath(u"CSV/DCPDF"_s);
    const QString sheets = m_out.path();
    const auto pdfs = [](const QString &dir) { return QDir(dir).entryList({u"*.pdf"_s}, QDir::Files, QDir::Name); };
    const auto printFrom = [&](const QString &start, const QStringList &extra = {}) {
        return batch(QStringList{u"--yes"_s, u"print"_s, u"--degree"_s, u"BA"_s, u"--type"_s, u"1"_s, u"--prefix"_s,
                                 u"A"_s, u"--start"_s, start, u"--end"_s, u"99"_s, u"--output"_s, sheets,
                                 u"--printed-ok"_s}
                     + extra);
    };
    // Only valid sheets and copies at the top of each folder: a sheet per printed
    // candidate, named by its number, and a copy per printed candidate stamped with it.
    const auto onlyValidRemain = [&](const char *when) {
        QStringList expectedSheets;
        Rows printed =
            m_session.db().query(u"select fregno, fcertno from convo where fcertno <> '' order by fcertno"_s);
        int holders = 0;
        while (printed.next()) {
            ++holders;
            const QString regno = printed.text(0).trimmed();
            const QString number = printed.text(1).trimmed();
            expectedSheets << number + u'_' + regno + u".pdf"_s;
            const QStringList own = pdfs(copies).filter(u"_"_s + regno + u"_"_s);
            ASSERT_EQ(own.size(), 1) << when << ' ' << regno.toStdString();
            EXPECT_TRUE(test::pdfText(QDir(copies).filePath(own.front())).contains(number))
                << when << ' ' << own.front().toStdString();
        }
        EXPECT_EQ(pdfs(sheets), expectedSheets) << when;
        EXPECT_EQ(pdfs(copies).size(), holders) << when;
    };

    // A sheet named spoiled in the run: R2's sheet A000018 goes to Spoiled/ at once.
    const test::BatchRun first = printFrom(u"17"_s, {u"--spoiled"_s, u"18"_s});
    ASSERT_EQ(first.exitCode, 0) << first.both();
    EXPECT_TRUE(QString(first.out + first.err).contains(u"A000018_R2.pdf moved to Spoiled/A000018_R2.pdf"_s))
        << first.both();
    EXPECT_EQ(pdfs(sheets + u"/Spoiled"_s), QStringList{u"A000018_R2.pdf"_s});
    onlyValidRemain("after the run");

    // Registered spoiled after the run (R3's A000019): its sheet and its copy move.
    const test::BatchRun spoil = batch({u"stationery"_s, u"spoil"_s, u"--prefix"_s, u"A"_s, u"--numbers"_s, u"19"_s,
                                        u"--reason"_s, u"ink smudge"_s, u"--output"_s, sheets});
    ASSERT_EQ(spoil.exitCode, 0) << spoil.both();
    EXPECT_EQ(pdfs(sheets + u"/Spoiled"_s), (QStringList{u"A000018_R2.pdf"_s, u"A000019_R3.pdf"_s}));
    const QStringList spoiledCopies = pdfs(copies + u"/Spoiled"_s);
    ASSERT_EQ(spoiledCopies.size(), 1) << spoil.both();
    EXPECT_TRUE(spoiledCopies.front().startsWith(u"DC_003_R3_F_"_s)) << spoiledCopies.front().toStdString();
    EXPECT_TRUE(spoiledCopies.front().endsWith(u"_A000019.pdf"_s)) << spoiledCopies.front().toStdString();
    EXPECT_TRUE(QString(spoil.out + spoil.err).contains(spoiledCopies.front())) << spoil.both();
    onlyValidRemain("after spoiling");

    // Cancelled (R4's A000020): its sheet and its copy go to Cancelled/.
    const test::BatchRun cancel =
        batch({u"cancel"_s, u"R4"_s, u"--reason"_s, u"Name misspelt"_s, u"--output"_s, sheets});
    ASSERT_EQ(cancel.exitCode, 0) << cancel.both();
    EXPECT_EQ(pdfs(sheets + u"/Cancelled"_s), QStringList{u"A000020_R4.pdf"_s});
    const QStringList cancelledCopies = pdfs(copies + u"/Cancelled"_s);
    ASSERT_EQ(cancelledCopies.size(), 1) << cancel.both();
    EXPECT_TRUE(cancelledCopies.front().endsWith(u"_A000020.pdf"_s)) << cancelledCopies.front().toStdString();
    EXPECT_TRUE(test::pdfText(copies + u"/Cancelled/"_s + cancelledCopies.front()).contains(u"A000020"_s));
    onlyValidRemain("after cancelling");

    // The reprints take the valid places; the set-aside files stay where they went.
    const test::BatchRun reprint = printFrom(u"21"_s);
    ASSERT_EQ(reprint.exitCode, 0) << reprint.both();
    onlyValidRemain("after the reprint");
    EXPECT_EQ(pdfs(copies + u"/Spoiled"_s), spoiledCopies);
    EXPECT_EQ(pdfs(copies + u"/Cancelled"_s), cancelledCopies);

    // A sheet spoiled again after its copy was set aside once keeps both, each under its number.
    const QString r3Number = certNo(u"R3"_s);
    ASSERT_EQ(
        batch({u"stationery"_s, u"spoil"_s, u"--prefix"_s, u"A"_s, u"--numbers"_s, r3Number, u"--output"_s, sheets})
            .exitCode,
        0);
    EXPECT_EQ(pdfs(copies + u"/Spoiled"_s).size(), 2);
    onlyValidRemain("after spoiling a reprint");
}

INSTANTIATE_TEST_SUITE_P(Backends, PrintingCommandsTest, ::testing::Values(TestBackend::SQLite), test::backendName);

} // namespace
