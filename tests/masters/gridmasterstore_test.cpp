// SPDX-License-Identifier: GPL-3.0-or-later
// The grid master tables on the real databases: what a save writes, what it
// refuses, and that a failing row leaves the table exactly as it was.
#include "masters/gridmasters/gridmasterstore.h"
#include "shell/db/database.h"
#include "support/scriptedprompter.h"
#include "support/testdatabase.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::TestBackend;

namespace {

QString rowText(const GridRow &r)
{
    return r.code + u'|' + r.name + u'|' + r.date + u'|' + (r.active ? u"T"_s : u"F"_s);
}

class GridMasterStoreTest : public test::InstalledFolderTest
{
protected:
    GridMasterStore store(const QString &menuCode) { return GridMasterStore(*m_db, *GridMasterKind::find(menuCode)); }
    QStringList table(const QString &menuCode)
    {
        QStringList out;
        for (const GridRow &r : store(menuCode).load())
            out << rowText(r);
        return out;
    }
    void addColleges(int count)
    {
        for (int i = 0; i < count; ++i)
            m_db->exec(u"insert into "_s + m_db->table(u"COLLEGE"_s) + u" (fcollcode, fcollname) values (?, ?)"_s,
                       {u"C%1"_s.arg(i, 3, 10, QChar(u'0')), u"College %1"_s.arg(i)});
    }
    // A real failure raised by the server when the row with `code` is inserted.
    void failInsertOf(const QString &code)
    {
        const QString table = m_db->table(u"COLLEGE"_s);
        if (GetParam() == TestBackend::SQLite)
            m_db->exec(u"create trigger refuse_row before insert on "_s + table + u" when new.fcollcode = '"_s + code
                       + u"' begin select raise(abort, 'row refused by the test trigger'); end"_s);
        else
            m_db->exec(u"create trigger refuse_row before insert on "_s + table
                       + u" for each row begin if new.fcollcode = '"_s + code
                       + u"' then signal sqlstate '45000' set message_text = 'row refused by the test trigger'; "
                         "end if; end"_s);
    }

    test::ScriptedPrompter m_prompter;
};

TEST_P(GridMasterStoreTest, SaveAppliesAddsUpdatesAndDeletesFromTheChangeSet)
{
    addColleges(3);
    GridMasterStore colleges = store(u"COLLEGE"_s);
    GridChangeSet set;
    set.reset(colleges.load());
    // Text that would end or comment out a pasted statement is stored as given (apostrophes as grave accents).
    set.record({u"C001"_s, u"O'B'); DROP TABLE college; --"_s}, false);
    set.record({u"C002"_s, u"College 2"_s}, true);
    set.record({u" N1 "_s, u"  New College  "_s}, false);
    // A row typed and then ticked for deletion is neither added nor deleted.
    set.record({u"X1"_s, u"Typed then ticked"_s}, false);
    set.record({u"X1"_s, u"Typed then ticked"_s}, true);
    ASSERT_FALSE(colleges.check(set.rows()));
    ASSERT_TRUE(colleges.save(set.rows(), m_prompter)) << m_prompter.last().toStdString();
    EXPECT_EQ(table(u"COLLEGE"_s), (QStringList{u"C000|College 0||F"_s, u"C001|O`B`); DROP TABLE college; --||F"_s,
                                                u"N1|New College||F"_s}));
}

TEST_P(GridMasterStoreTest, AFailureOnTheFortiethRowLeavesTheTableAsBefore)
{
    addColleges(20);
    const QStringList before = table(u"COLLEGE"_s);
    GridMasterStore colleges = store(u"COLLEGE"_s);
    GridChangeSet set;
    set.reset(colleges.load());
    // Rows 1-20 change or go, rows 21-60 are new; the 40th row of the set is refused.
    for (int i = 0; i < 20; ++i)
        set.record({u"C%1"_s.arg(i, 3, 10, QChar(u'0')), u"Changed %1"_s.arg(i)}, i % 2 == 0);
    for (int i = 0; i < 40; ++i)
        set.record({u"N%1"_s.arg(i, 3, 10, QChar(u'0')), u"New %1"_s.arg(i)}, false);
    ASSERT_EQ(set.rows()[39].code, u"N019"_s);
    failInsertOf(u"N019"_s);
    ASSERT_FALSE(colleges.check(set.rows()));

    EXPECT_FALSE(colleges.save(set.rows(), m_prompter));
    EXPECT_TRUE(m_prompter.last().contains(u"row refused by the test trigger"_s)) << m_prompter.last().toStdString();
    EXPECT_EQ(table(u"COLLEGE"_s), before);
    EXPECT_EQ(m_db->transactionDepth(), 0);
}

TEST_P(GridMasterStoreTest, ConvocationsKeepDateAndActiveFlag)
{
    // Nothing to save is said, and writes nothing.
    EXPECT_FALSE(store(u"MASCONVO"_s).save({}, m_prompter));
    EXPECT_EQ(m_prompter.last(), u"No Details found."_s);
    GridMasterStore convos = store(u"MASCONVO"_s);
    GridChangeSet set;
    set.reset(convos.load());
    set.record({u"C26"_s, u"Convocation 2026"_s, u"04/12/2026"_s, true}, false);
    set.record({u"C25"_s, u"Convocation 2025"_s, QString(), false}, false);
    ASSERT_TRUE(convos.save(set.rows(), m_prompter)) << m_prompter.last().toStdString();
    EXPECT_EQ(table(u"MASCONVO"_s),
              (QStringList{u"C25|Convocation 2025||F"_s, u"C26|Convocation 2026|04/12/2026|T"_s}));

    set.reset(convos.load());
    set.record({u"C26"_s, u"Convocation 2026"_s, u"05/12/2026"_s, false}, false);
    ASSERT_TRUE(convos.save(set.rows(), m_prompter));
    EXPECT_EQ(table(u"MASCONVO"_s).last(), u"C26|Convocation 2026|05/12/2026|F"_s);
}

TEST_P(GridMasterStoreTest, ACodeTypedInLowerCaseIsTheSameCodeOnEveryBackend)
{
    // Found on MariaDB: "c01" was taken beside "C01"; the server compares without case,
    // so renaming one row overwrote the other college.
    addColleges(2);
    GridMasterStore colleges = store(u"COLLEGE"_s);
    GridChangeSet set;
    set.reset(colleges.load());
    set.record({u"c001"_s, u"Lower-case twin"_s}, false);
    // Recorded as the loaded row's change, not as a new row.
    ASSERT_EQ(set.rows().size(), 2u);
    EXPECT_EQ(set.rows()[1].mode, GridRowMode::Updated);
    std::vector<GridRow> typed = colleges.load();
    typed.push_back({u"c000"_s, u"Another twin"_s, {}, false, GridRowMode::Added});
    const auto twin = colleges.checkRow(typed, 2);
    ASSERT_TRUE(twin);
    EXPECT_EQ(twin->message, u"College Code already Entered"_s);
    set.record({u"n1"_s, u"New"_s}, false);
    ASSERT_TRUE(colleges.save(set.rows(), m_prompter)) << m_prompter.last().toStdString();
    EXPECT_EQ(table(u"COLLEGE"_s), (QStringList{u"C000|College 0||F"_s, u"C001|Lower-case twin||F"_s, u"N1|New||F"_s}));
}

TEST_P(GridMasterStoreTest, ACodeThatCandidatesUseIsNotDeletedAndTheCountIsSaid)
{
    for (const QString &code : {u"C000"_s, u"C001"_s})
        m_db->exec(u"insert into "_s + m_db->table(u"COLLEGE"_s) + u" (fcollcode, fcollname) values (?, 'X')"_s,
                   {code});
    m_db->exec(u"insert into "_s + m_db->table(u"MASUNIV"_s)
               + u" (funivcode, funivname) values ('U1', 'X'), ('U2', 'Y')"_s);
    m_db->exec(u"insert into convo (fregno, fcollcode, funivcode, fconvocode) values ('R1', 'C000', 'U1', 'C26'), "
               "('R2', 'c000', 'U1', 'C26')"_s);
    for (const auto &[menu, code, message] :
         {std::tuple{u"COLLEGE"_s, u"C000"_s, u"2 candidate record(s) use College C000: it is not deleted."_s},
          std::tuple{u"MASUNIV"_s, u"U1"_s, u"2 candidate record(s) use University U1: it is not deleted."_s}}) {
        GridMasterStore master = store(menu);
        GridChangeSet set;
        set.reset(master.load());
        const QStringList before = table(menu);
        set.record({code, u"X"_s}, true);
        EXPECT_FALSE(master.save(set.rows(), m_prompter));
        EXPECT_EQ(m_prompter.last(), message);
        EXPECT_EQ(table(menu), before);
    }
    // An unused one goes.
    GridChangeSet set;
    set.reset(store(u"MASUNIV"_s).load());
    set.record({u"U2"_s, u"Y"_s}, true);
    EXPECT_TRUE(store(u"MASUNIV"_s).save(set.rows(), m_prompter));
    EXPECT_EQ(table(u"MASUNIV"_s), QStringList{u"U1|X||F"_s});
}

INSTANTIATE_TEST_SUITE_P(Backends, GridMasterStoreTest, test::bothBackends(), test::backendName);

// The change set and the row checks need no database.
TEST(GridChangeSet, ModesFollowWhatTheUserDidToEachRow)
{
    GridChangeSet set;
    set.reset({{u"A"_s, u"Loaded"_s}, {u"B"_s, u"Loaded"_s}});
    set.record({u"A"_s, u"Edited"_s}, false);
    set.record({u"B"_s, u"Loaded"_s}, true);
    set.record({u"C"_s, u"New"_s}, false);
    set.record({u"C"_s, u"New, renamed"_s}, false);
    ASSERT_EQ(set.rows().size(), 3u);
    EXPECT_EQ(set.rows()[0].mode, GridRowMode::Updated);
    EXPECT_EQ(set.rows()[1].mode, GridRowMode::Deleted);
    EXPECT_EQ(set.rows()[2].mode, GridRowMode::Added);
    EXPECT_EQ(set.rows()[2].name, u"New, renamed"_s);
    // Unticking a deleted row brings an added row back to "A", a loaded one to "U".
    set.record({u"C"_s, u"New"_s}, true);
    EXPECT_EQ(set.rows()[2].mode, GridRowMode::Deleted);
    set.record({u"B"_s, u"Loaded"_s}, false);
    EXPECT_EQ(set.rows()[1].mode, GridRowMode::Updated);
    EXPECT_TRUE(set.contains(u" C "_s));
}

TEST(GridChecks, EachBadCellHasTheScreensMessage)
{
    Database unopened;
    const GridMasterStore universities(unopened, *GridMasterKind::find(u"masuniv"_s));
    EXPECT_EQ(universities.check({{u"  "_s, u"Name"_s, {}, false, GridRowMode::Added}})->message,
              u"University code should be Entered"_s);
    const auto noName = universities.check({{u"U1"_s, u" "_s, {}, false, GridRowMode::Added}});
    EXPECT_EQ(noName->message, u"University Name should be entered."_s);
    EXPECT_EQ(noName->cell, GridProblem::Cell::Name);
    EXPECT_EQ(universities.check({{u"U1"_s, u"Tab\there"_s}})->message,
              u"University U1: the text holds the control character 0x09"_s);
    // Texts beyond the column widths are refused; rows being deleted are not checked.
    EXPECT_TRUE(universities.check({{u"U1234"_s, u"Name"_s}})->message.contains(u"longer than 4"_s));
    EXPECT_FALSE(universities.check({{u"U123"_s, QString(100, u'x')}}));
    EXPECT_TRUE(universities.check({{u"U123"_s, QString(101, u'x')}}));
    EXPECT_FALSE(universities.check({{QString(), QString(), {}, false, GridRowMode::Deleted}}));

    const std::vector<GridRow> twice{
        {u"U1"_s, u"One"_s}, {u"U2"_s, u"Two"_s}, {u"U1 "_s, u"Again"_s, {}, false, GridRowMode::Added}};
    const auto duplicate = universities.checkRow(twice, 2);
    ASSERT_TRUE(duplicate);
    EXPECT_EQ(duplicate->message, u"University Code already Entered"_s);
    EXPECT_EQ(duplicate->row, 0); // the cursor goes to the other row with the code
}

TEST(GridConvocationChecks, DatesMustExistAndOneConvocationIsActive)
{
    Database unopened;
    GridMasterStore convos(unopened, *GridMasterKind::find(u"masconvo"_s));
    const auto bad = convos.check({{u"C26"_s, u"Convocation"_s, u"31/02/2024"_s, false, GridRowMode::Added}});
    ASSERT_TRUE(bad);
    EXPECT_EQ(bad->cell, GridProblem::Cell::Date);
    EXPECT_EQ(bad->message, u"Convocation Date of C26, \"31/02/2024\", is not a date (dd/mm/yyyy)"_s);
    EXPECT_FALSE(convos.check({{u"C26"_s, u"Convocation"_s, u"29/02/2024"_s, true, GridRowMode::Added}}));
    EXPECT_FALSE(convos.check({{u"C26"_s, u"Convocation"_s, QString(), false, GridRowMode::Added}}));

    const std::vector<GridRow> two{{u"C25"_s, u"Old"_s, {}, true}, {u"C26"_s, u"New"_s, {}, true, GridRowMode::Added}};
    EXPECT_EQ(convos.check(two)->message, u"Only one convocation can be active: C25 and C26 are both ticked"_s);
    EXPECT_EQ(convos.checkRow(two, 1)->message, u"Only one convocation can be active: C25 and C26 are both ticked"_s);
    // Unticking the old one in the same save is how the active convocation changes.
    EXPECT_FALSE(convos.check({{u"C25"_s, u"Old"_s, {}, false, GridRowMode::Updated}, two[1]}));
}

} // namespace
