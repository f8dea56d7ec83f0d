// SPDX-License-Identifier: GPL-3.0-or-later
// The rank register on the real databases: what registering writes and where, the
// refusals (each leaving the register as it was), editing a loaded grid, and the
// commands.
#include "../printing/printingfixture.h"
#include "shell/core/dates.h"

#include "certificates/ranks/rankstore.h"

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::endedWith;

namespace {

class RankStoreTest : public test::PrintingFixture
{
protected:
    int rankRows() const { return value(u"select count(*) from rankreg"_s).toInt(); }
    RankRow added(const QString &regno, const QString &rank, const QString &remarks = {}) const
    {
        return {regno, {}, rank, remarks, u"A"_s};
    }
    QString writeFile(const QByteArray &content) { return test::writeFile(m_out.filePath(u"prizes.csv"_s), content); }
    static QStringList printRanks()
    {
        return {u"--yes"_s,   u"print"_s, u"--degree"_s, u"BA"_s, u"--type"_s, u"R"_s,          u"--prefix"_s, u"R"_s,
                u"--start"_s, u"7"_s,     u"--end"_s,    u"9"_s,  u"--date"_s, u"12/03/2026"_s, u"--output"_s};
    }
};

TEST_P(RankStoreTest, RegisteringWritesTheRankLineAndMarksThatOneCandidate)
{
    // R1 also sat BSC, and was a candidate of the previous convocation: neither row is touched.
    test::insertCandidate(m_session.db(), u"R1"_s, {{u"fdegree"_s, u"BSC"_s}});
    test::insertCandidate(m_session.db(), u"R1"_s, {{u"fconvocode"_s, u"C25"_s}});
    RankStore store(m_session, m_prompter);
    EXPECT_FALSE(store.hasRanks(u"BA"_s));
    ASSERT_EQ(store.save(u"BA"_s, {added(u"r2"_s, u"ii"_s, u"Tied with D'Souza"_s), added(u"R1"_s, u"I"_s)}), 2);
    EXPECT_TRUE(store.hasRanks(u"BA"_s));

    Rows rows = m_session.db().query(u"select fregno, frank, fslno, fcerttype, fconvocode, fusername, fremarks, fdate, "
                                     "ftime from rankreg order by fslno"_s);
    ASSERT_TRUE(rows.next());
    EXPECT_EQ(rows.text(0), u"R2"_s);
    EXPECT_EQ(rows.text(1), u"II"_s);
    EXPECT_EQ(rows.value(2).toInt(), 1);
    EXPECT_EQ(rows.text(3), u"RC"_s);
    EXPECT_EQ(rows.text(4), u"C26"_s);
    EXPECT_EQ(rows.text(5), u"CLERK"_s);
    EXPECT_EQ(rows.text(6), u"Tied with D`Souza"_s); // apostrophes are stored as grave accents
    EXPECT_EQ(rows.date(7), QDate::currentDate());
    EXPECT_TRUE(rows.text(8).endsWith(u"am"_s) || rows.text(8).endsWith(u"pm"_s)) << rows.text(8).toStdString();
    ASSERT_TRUE(rows.next());
    EXPECT_EQ(rows.text(0), u"R1"_s);
    EXPECT_EQ(rows.value(2).toInt(), 2);

    Rows marked = m_session.db().query(u"select fdegree, fconvocode, frank, fdate from convo where fregno = 'R1' "
                                       "order by fconvocode, fdegree"_s);
    QStringList seen;
    while (marked.next())
        seen << marked.text(0) + u'/' + marked.text(1) + u'/' + marked.text(2) + u'/'
                    + (marked.date(3).isValid() ? formatDmy(marked.date(3)) : u"-"_s);
    EXPECT_EQ(seen, (QStringList{u"BA/C25//-"_s, u"BA/C26/I/"_s + formatDmy(QDate::currentDate()), u"BSC/C26//-"_s}));

    // Loaded back in rank order with names.
    const std::vector<RankRow> grid = store.load(u"BA"_s);
    ASSERT_EQ(grid.size(), 2u);
    EXPECT_EQ(grid[0].regno, u"R1"_s);
    EXPECT_EQ(grid[0].name, u"Name R1"_s);
    EXPECT_EQ(grid[1].rank, u"II"_s);

    // A printed candidate's date is the date of issue on its sheet: the rank leaves it alone.
    m_session.db().exec(u"update convo set fcertno = 'A000017', fdate = ? where fregno = 'R3'"_s, {QDate(2026, 3, 12)});
    ASSERT_EQ(store.save(u"BA"_s, {added(u"R3"_s, u"III"_s)}), 1);
    EXPECT_EQ(m_session.db().scalar(u"select fdate from convo where fregno = 'R3'"_s).toDate(), QDate(2026, 3, 12));
    EXPECT_EQ(value(u"select frank from convo where fregno = 'R3'"_s), u"III"_s);
}

TEST_P(RankStoreTest, RefusedLinesSayWhyAndLeaveTheRegisterAsItWas)
{
    RankStore store(m_session, m_prompter);
    ASSERT_EQ(store.save(u"BA"_s, {added(u"R1"_s, u"I"_s)}), 1);
    struct Case
    {
        std::vector<RankRow> grid;
        QString message;
    };
    const std::vector<Case> cases = {
        {{}, u"No student Details found"_s},
        {{added(u"R2"_s, u"II"_s), added(u"NOPE"_s, u"III"_s)}, u"Invalid Reg. No."_s},
        {{added(u"R2"_s, u"II"_s), added(u"R2"_s, u"III"_s)}, u"Reg. No. already defined"_s},
        {{added(u"R2"_s, u""_s)}, u"Rank No. should be entered"_s},
        {{added(u"R2"_s, u"XI"_s)}, u"The rank \"XI\" cannot be printed: type it as a Roman numeral from I to X."_s},
        {{added(u"R1"_s, u"II"_s)}, u"Reg. No. R1 already holds rank I of degree BA: edit that line instead."_s},
    };
    for (const Case &c : cases) {
        m_prompter.clear();
        EXPECT_EQ(store.save(u"BA"_s, c.grid), 0) << c.message.toStdString();
        EXPECT_EQ(m_prompter.last(), c.message);
        EXPECT_EQ(rankRows(), 1) << c.message.toStdString();
    }
    // A candidate of another degree is not a candidate of this one.
    test::insertCandidate(m_session.db(), u"S1"_s, {{u"fdegree"_s, u"BSC"_s}});
    EXPECT_EQ(store.save(u"BA"_s, {added(u"S1"_s, u"II"_s)}), 0);
    EXPECT_EQ(m_prompter.last(), u"Invalid Reg. No."_s);
    EXPECT_EQ(store.save(u"MA"_s, {added(u"R2"_s, u"II"_s)}), 0);
    EXPECT_EQ(m_prompter.last(), u"Invalid Degree Code"_s);
    EXPECT_EQ(rankRows(), 1);
    EXPECT_EQ(value(u"select frank from convo where fregno = 'R2'"_s), u""_s);
}

TEST_P(RankStoreTest, EditingALoadedLineChangesOnlyItsRankLine)
{
    RankStore store(m_session, m_prompter);
    ASSERT_EQ(store.save(u"BA"_s, {added(u"R1"_s, u"I"_s), added(u"R2"_s, u"II"_s)}), 2);
    // R1 also holds a gold medal of the same degree.
    m_session.db().exec(u"insert into rankreg (fdegree, fregno, fconvocode, fcerttype, fsubject, fremarks) values "
                        "('BA', 'R1', 'C26', 'GC', 'History', 'medal')"_s);
    std::vector<RankRow> grid = store.load(u"BA"_s);
    ASSERT_EQ(grid.size(), 2u);
    grid[0].rank = u"III"_s;
    grid[0].remarks = u"revised"_s;
    grid[0].state = u"E"_s;
    ASSERT_EQ(store.save(u"BA"_s, grid), 2);
    EXPECT_EQ(value(u"select frank from rankreg where fregno = 'R1' and fcerttype = 'RC'"_s), u"III"_s);
    EXPECT_EQ(value(u"select fremarks from rankreg where fregno = 'R1' and fcerttype = 'RC'"_s), u"revised"_s);
    EXPECT_EQ(value(u"select fremarks from rankreg where fregno = 'R1' and fcerttype = 'GC'"_s), u"medal"_s);
    EXPECT_EQ(value(u"select count(*) from rankreg"_s).toInt(), 3);
}

// rank add, rank list and awards import, run as a user would.
TEST_P(RankStoreTest, RanksAndAwardsAreRegisteredListedAndPrinted)
{
    const test::BatchRun add = batch({u"rank"_s, u"add"_s, u"--degree"_s, u"ba"_s, u"--regno"_s, u"r1"_s, u"--rank"_s,
                                      u"i"_s, u"--remarks"_s, u"university first"_s});
    EXPECT_TRUE(endedWith(add, 0));
    EXPECT_TRUE(add.out.contains(u"R1 Name R1: rank I of BA registered"_s)) << add.out.toStdString();
    EXPECT_TRUE(
        endedWith(batch({u"rank"_s, u"add"_s, u"--degree"_s, u"BA"_s, u"--regno"_s, u"R1"_s, u"--rank"_s, u"II"_s}), 1,
                  u"Reg. No. already defined"_s));

    const test::BatchRun imported =
        batch({u"awards"_s, u"import"_s, writeFile("CC,R2,BA,101,Endowment,Kannada,2500.50\n")});
    EXPECT_TRUE(endedWith(imported, 0));
    EXPECT_TRUE(imported.out.contains(u"1 award of prizes.csv registered"_s)) << imported.out.toStdString();
    EXPECT_TRUE(endedWith(batch(printRanks() << m_out.path() << u"--printed-ok"_s), 0));

    const test::BatchRun list = batch({u"rank"_s, u"list"_s});
    EXPECT_TRUE(endedWith(list, 0));
    EXPECT_EQ(list.out, u"BA\tR1\tName R1\tRC\trank I\tR000007\n"
                        "BA\tR2\tName R2\tCC\tKannada, Rs. 2500.50\tnot printed\n"
                        "2 awards\n"_s);
}

// As with degree certificates: an award sheet that went to the printer without its answer
// is named, nothing is stored for it, and the run says which sheet comes next.
TEST_P(RankStoreTest, AnUnansweredSheetQuestionNamesTheAwardSheetInThePrinter)
{
    ASSERT_TRUE(
        endedWith(batch({u"rank"_s, u"add"_s, u"--degree"_s, u"BA"_s, u"--regno"_s, u"R1"_s, u"--rank"_s, u"I"_s}), 0));
    const test::BatchRun stopped = batch(printRanks() << m_out.path());
    EXPECT_TRUE(endedWith(stopped, 1,
                          u"Printing stopped after 0 of 1 sheets (0 printed, 0 spoiled); last number R000007. "
                          "Certificate R000007 (Reg. No. R1) went to the printer but was not confirmed: it waits in "
                          "the register"_s));
    EXPECT_TRUE(stopped.err.contains(u"The next sheet is R000008."_s)) << stopped.err.toStdString();
    EXPECT_EQ(value(u"select count(*) from rankreg where fcertno <> ''"_s).toInt(), 0);
    // Settled as printed, the award gets its number.
    EXPECT_TRUE(endedWith(
        batch({u"stationery"_s, u"settle"_s, u"--prefix"_s, u"R"_s, u"--numbers"_s, u"7"_s, u"--printed"_s}), 0));
    EXPECT_EQ(value(u"select fcertno from rankreg where fregno = 'R1'"_s), u"R000007"_s);
}

TEST_P(RankStoreTest, AnAwardFilesBadLinesAreNamedAndRejectedAndItsGoodOnesRegistered)
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
    EXPECT_EQ(value(u"select count(*) from rankreg"_s).toInt(), 1);

    EXPECT_EQ(batch({u"awards"_s, u"import"_s}).exitCode, 2);
    EXPECT_TRUE(
        endedWith(batch({u"rank"_s, u"add"_s, u"--degree"_s, u"BA"_s, u"--regno"_s, u"R2"_s, u"--rank"_s, u"XII"_s}), 1,
                  u"type it as a Roman numeral from I to X"_s));
}

TEST(RankWords, RomanNumeralsOneToTenOnly)
{
    EXPECT_EQ(RankStore::rankInWords(u"I"_s), u"First"_s);
    EXPECT_EQ(RankStore::rankInWords(u" iv "_s), u"Fourth"_s);
    EXPECT_EQ(RankStore::rankInWords(u"X"_s), u"Tenth"_s);
    EXPECT_EQ(RankStore::rankInWords(u"XI"_s), std::nullopt);
    EXPECT_EQ(RankStore::rankInWords(u"1"_s), std::nullopt);
    EXPECT_EQ(RankStore::rankInWords(u""_s), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Backends, RankStoreTest, test::bothBackends(), test::backendName);

} // namespace
