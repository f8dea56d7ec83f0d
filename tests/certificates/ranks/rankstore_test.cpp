// SPDX-License-Identifier: GPL-3.0-or-later
// The rank register on the real databases: what registering writes and where, the
// refusals (each leaving the register as it was), and editing a loaded grid.
#include "../printing/printingfixture.h"
#include "shell/core/dates.h"

#include "certificates/ranks/rankstore.h"

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

class RankStoreTest : public test::PrintingFixture
{
protected:
    int rankRows() const { return m_session.db().scalar(u"select count(*) from rankreg"_s).toInt(); }
    RankRow added(const QString &regno, const QString &rank, const QString &remarks = {}) const
    {
        return {regno, {}, rank, remarks, u"A"_s};
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
    EXPECT_EQ(m_session.db().scalar(u"select frank from convo where fregno = 'R3'"_s).toString(), u"III"_s);
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
    EXPECT_EQ(m_session.db().scalar(u"select frank from convo where fregno = 'R2'"_s).toString(), u""_s);
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
    EXPECT_EQ(m_session.db().scalar(u"select frank from rankreg where fregno = 'R1' and fcerttype = 'RC'"_s).toString(),
              u"III"_s);
    EXPECT_EQ(
        m_session.db().scalar(u"select fremarks from rankreg where fregno = 'R1' and fcerttype = 'RC'"_s).toString(),
        u"revised"_s);
    EXPECT_EQ(
        m_session.db().scalar(u"select fremarks from rankreg where fregno = 'R1' and fcerttype = 'GC'"_s).toString(),
        u"medal"_s);
    EXPECT_EQ(m_session.db().scalar(u"select count(*) from rankreg"_s).toInt(), 3);
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
