// SPDX-License-Identifier: GPL-3.0-or-later
// The library's bulk paths answer from memory: they must agree with what the table says.
#include "masters/namelibrary/kannadanameupdate.h"
#include "masters/namelibrary/namelibrary.h"
#include "shell/core/legacytext.h"
#include "support/scriptedprompter.h"
#include "support/testdatabase.h"

#include "support/batchrun.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

class NameLibraryBulkTest : public test::InstalledFolderTest
{
protected:
    QString spelling(const QString &word)
    {
        return m_db->scalar(u"select fkanname from kanlib where fengname = ?"_s, {word}).toString();
    }
    int count(const QString &word)
    {
        return m_db->scalar(u"select count(*) from kanlib where upper(fengname) = ?"_s, {word}).toInt();
    }
};

TEST_P(NameLibraryBulkTest, BuildingLearnsUpperCaseWordsOfEqualCountsKeepsKnownOnesAndTheFirstSpelling)
{
    // A word the candidate form stored as typed counts as known in upper case.
    m_db->exec(u"insert into kanlib (fengname, fkanname) values ('Rama', ?)"_s, {legacytext::fromBytes("\xF0")});
    const QString first = legacytext::fromBytes("\xE6\xD2");
    const QString second = legacytext::fromBytes("\xE7\xD3");
    m_db->exec(u"insert into convo (fregno, fname, fnamekan) values ('A1', 'RAMA KUMAR', ?)"_s,
               {QString(legacytext::fromBytes("\xF1 ") + first)});
    m_db->exec(u"insert into convo (fregno, fname, fnamekan) values ('A2', 'KUMAR', ?)"_s, {second});
    // A name typed in lower case teaches upper-case words; a surname of one English word
    // and two Kannada ones teaches nothing.
    m_db->exec(u"insert into convo (fregno, fname, fnamekan, fsirname, fsirnamekan) values "
               "('A3', 'asha rao', 'a1 r1', 'DEVI', 'd1 d2'), ('A4', 'RAO', 'other', null, null)"_s);
    test::ScriptedPrompter prompter;
    const KannadaNameUpdate::Result result = KannadaNameUpdate(*m_db, prompter).build();
    ASSERT_TRUE(result.done) << prompter.last().toStdString();
    EXPECT_EQ(result.wordsAdded, 3);
    EXPECT_EQ(count(u"RAMA"_s), 1);
    EXPECT_EQ(spelling(u"Rama"_s), legacytext::fromBytes("\xF0"));
    EXPECT_EQ(count(u"KUMAR"_s), 1);
    EXPECT_EQ(m_db->scalar(u"select fengname from kanlib where fkanname = 'a1'"_s).toString(), u"ASHA"_s);
    EXPECT_EQ(count(u"DEVI"_s), 0);
    // Rows are read in English name order, whatever the case: "KUMAR" before "RAMA KUMAR",
    // "asha rao" before "RAO".
    EXPECT_EQ(spelling(u"KUMAR"_s), second);
    EXPECT_EQ(spelling(u"RAO"_s), u"r1"_s);
}

TEST_P(NameLibraryBulkTest, TheCommandFillsTheNamesAndPrintsALinePerPercentNotPerCandidate)
{
    m_db->exec(u"insert into kanlib (fengname, fkanname) values ('RAVI', ?)"_s, {legacytext::fromBytes("\xF2\xB5")});
    {
        WriteScope scope(*m_db);
        for (int i = 0; i < 300; ++i)
            m_db->exec(u"insert into convo (fregno, fname, fconvocode) values (?, 'RAVI', 'C26')"_s,
                       {QString(u"N%1"_s.arg(i, 4, 10, QChar(u'0')))});
        scope.commit();
    }
    m_db.reset();
    const test::BatchRun r = test::runBatch({u"--folder"_s, m_folder->folder().root(), u"--user"_s, u"ADMIN"_s,
                                             u"--password"_s, u"ADMIN"_s, u"kannada-fill"_s});
    EXPECT_EQ(r.exitCode, 0) << r.both();
    EXPECT_TRUE(r.out.contains(u"Kannada names filled: 300\n"_s)) << r.both();
    EXPECT_LE(r.out.count(u"Updating Reg. No.: "_s), 101) << r.both();
    EXPECT_EQ(m_folder->connect()->scalar(u"select count(*) from convo where fnamekan is not null"_s).toInt(), 300);
}

INSTANTIATE_TEST_SUITE_P(Backends, NameLibraryBulkTest, test::bothBackends(), test::backendName);

} // namespace
