// SPDX-License-Identifier: GPL-3.0-or-later
// Candidate search on the real databases: match modes, application numbers, the
// convocation's bounds, and the plan of the indexed searches.
#include "candidates/entry/candidatesearch.h"
#include "candidates/entry/seeddata.h"
#include "shell/session.h"
#include "support/testdatabase.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::TestBackend;

namespace {

class CandidateSearchTest : public test::InstalledSessionTest
{
protected:
    void SetUp() override
    {
        InstalledSessionTest::SetUp();
        if (IsSkipped())
            return;
        Database &db = m_session.db();
        test::seedMasters(db);
        test::insertCandidate(db, u"R1"_s, {{u"fname"_s, u"KAVYA SHREE"_s}, {u"factive"_s, u"T"_s}});
        test::insertCandidate(db, u"R2"_s, {{u"fname"_s, u"ANIL KUMAR"_s}, {u"fcertno"_s, u"DC000001"_s}});
        test::insertCandidate(db, u"R3"_s, {{u"fname"_s, u"D`SOUZA MARY"_s}});
        test::insertCandidate(db, u"S4"_s, {{u"fname"_s, u"KAVERI RAO"_s}});
        test::insertCandidate(db, u"R5"_s, {{u"fname"_s, u"KAVYA OLD"_s}, {u"fconvocode"_s, u"C25"_s}});
        db.exec(u"update convo set fdate = ? where fregno = 'R2'"_s, {QDate(2026, 3, 9)});
        db.exec(u"insert into convofee (fappno, fregno, fmobile, femail) values ('A100', 'R1', '9000000001', "
                "'k@x.in'), ('A101', 'R1', '9000000002', 'k2@x.in'), ('B200', 'S4', '', '')"_s);
    }
    QStringList regnos(const SearchCriteria &c)
    {
        QStringList out;
        for (const SearchHit &h : CandidateSearch(m_session).find(c))
            out << h.regno;
        return out;
    }
};

TEST_P(CandidateSearchTest, EachBoxFindsItsCandidatesWithEveryColumnFilled)
{
    SearchCriteria c;
    c.appno = u"A10"_s;
    std::vector<SearchHit> hits = CandidateSearch(m_session).find(c);
    ASSERT_EQ(hits.size(), 2U);
    EXPECT_EQ(hits[0].regno, u"R1"_s);
    EXPECT_TRUE(hits[0].active);
    QStringList appnos{hits[0].appno, hits[1].appno};
    appnos.sort();
    EXPECT_EQ(appnos, (QStringList{u"A100"_s, u"A101"_s}));
    EXPECT_EQ(hits[0].mobile.left(9), u"900000000"_s);

    // The boxes combine, and every column is filled.
    c = {};
    c.regno = u"R"_s;
    c.certno = u"DC"_s;
    hits = CandidateSearch(m_session).find(c);
    ASSERT_EQ(hits.size(), 1U);
    EXPECT_EQ(hits[0].regno, u"R2"_s);
    EXPECT_EQ(hits[0].name, u"ANIL KUMAR"_s);
    EXPECT_EQ(hits[0].certno, u"DC000001"_s);
    EXPECT_EQ(hits[0].printedDate, u"09/03/2026"_s);
    EXPECT_TRUE(hits[0].appno.isEmpty());
    EXPECT_FALSE(hits[0].active);

    EXPECT_TRUE(CandidateSearch(m_session).find(SearchCriteria{}).empty());
    // An apostrophe searches for the grave accent it became.
    c = {};
    c.name = u"D'SOUZA"_s;
    EXPECT_EQ(regnos(c), QStringList{u"R3"_s});
}

// "_" and "%" matched every candidate: typed, they are those characters, not wildcards.
TEST_P(CandidateSearchTest, UnderscoreAndPercentAreTheCharactersTyped)
{
    test::insertCandidate(m_session.db(), u"R_6"_s, {{u"fname"_s, u"RAO_100% PASS!"_s}});
    for (const SearchMatch match : {SearchMatch::BeginsWith, SearchMatch::Contains, SearchMatch::EndsWith}) {
        SearchCriteria c;
        c.match = match;
        c.name = match == SearchMatch::BeginsWith ? u"RAO_"_s : match == SearchMatch::EndsWith ? u"% PASS!"_s : u"_"_s;
        EXPECT_EQ(regnos(c), QStringList{u"R_6"_s}) << int(match);
        c.name = u"%"_s; // in the middle of the name only
        EXPECT_EQ(regnos(c), match == SearchMatch::Contains ? QStringList{u"R_6"_s} : QStringList{}) << int(match);
    }
    SearchCriteria byRegno;
    byRegno.regno = u"R_"_s;
    EXPECT_EQ(regnos(byRegno), QStringList{u"R_6"_s});
}

TEST_P(CandidateSearchTest, RegisterNumberAndNamePrefixSearchesUseAnIndex)
{
    if (GetParam() != TestBackend::SQLite)
        GTEST_SKIP() << "the plan is read from SQLite; bench/candidates prints MariaDB's";
    for (const bool byName : {false, true}) {
        SearchCriteria c;
        (byName ? c.name : c.regno) = u"R1"_s;
        const BoundSql bound = CandidateSearch(m_session).statement(c);
        Rows plan = m_session.db().query(u"EXPLAIN QUERY PLAN "_s + bound.sql, bound.params);
        QString text;
        while (plan.next())
            text += plan.text(3) + u'\n';
        SCOPED_TRACE(text.toStdString());
        // Register numbers are found through either index that leads with convocation and register number.
        EXPECT_TRUE(byName ? text.contains(u"ix_convo_convo_name"_s)
                           : text.contains(u"ix_convo_convo_regno"_s) || text.contains(u"ux_convo_candidate"_s));
        EXPECT_FALSE(text.contains(u"SCAN convo"_s));
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, CandidateSearchTest, test::bothBackends(), test::backendName);

} // namespace
