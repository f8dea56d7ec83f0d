// SPDX-License-Identifier: GPL-3.0-or-later
// The Kannada name library on the real databases.
#include "candidates/entry/seeddata.h"
#include "masters/namelibrary/kannadanameupdate.h"
#include "masters/namelibrary/namelibrary.h"
#include "shell/core/legacytext.h"
#include "support/scriptedprompter.h"
#include "support/testdatabase.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

class NameLibraryTest : public test::InstalledFolderTest
{
protected:
    int rows() { return m_db->scalar(u"select count(*) from kanlib"_s).toInt(); }
};

TEST_P(NameLibraryTest, WordsSplitAtBlanksWithoutEmptyWords)
{
    EXPECT_EQ(NameLibrary::words(u"  RAMA  KRISHNA "_s), (QStringList{u"RAMA"_s, u"KRISHNA"_s}));
    EXPECT_TRUE(NameLibrary::words(u"   "_s).isEmpty());
    EXPECT_TRUE(NameLibrary::needsFill(u"A B"_s, u""_s));
    EXPECT_TRUE(NameLibrary::needsFill(u"A B C"_s, u"x y"_s));
    EXPECT_FALSE(NameLibrary::needsFill(u"A B"_s, u"x y"_s));
    EXPECT_FALSE(NameLibrary::needsFill(u""_s, u""_s));
    // 0xA0 is a letter of the legacy font though Unicode calls it a blank.
    EXPECT_EQ(NameLibrary::trimBlanks(legacytext::fromBytes("  \xA0X\xA0 ")), legacytext::fromBytes("\xA0X\xA0"));
}

TEST_P(NameLibraryTest, LearningTakesEqualWordCountsKeepsKnownSpellingsAndComposingSkipsUnknownWords)
{
    NameLibrary library(*m_db);
    EXPECT_EQ(library.learn(u"Rama Rao"_s, u"gÁªÀÄ gÁªï"_s, NameLibrary::WordCase::AsTyped),
              (QStringList{u"Rama"_s, u"Rao"_s}));
    // Stored as typed.
    EXPECT_EQ(m_db->scalar(u"select fengname from kanlib where fkanname = 'gÁªï'"_s).toString(), u"Rao"_s);
    // Two English words, three Kannada: nothing.
    EXPECT_TRUE(library.learn(u"ASHA DEVI"_s, u"a b c"_s, NameLibrary::WordCase::Upper).isEmpty());
    EXPECT_EQ(rows(), 2);
    // Known words are not added again nor respelled; the bulk form stores upper case.
    EXPECT_EQ(library.learn(u"rao kumar"_s, u"other kk"_s, NameLibrary::WordCase::Upper), QStringList{u"KUMAR"_s});
    EXPECT_EQ(rows(), 3);
    EXPECT_EQ(library.spelling(u"RAO"_s, NameLibrary::WordCase::Upper), u"gÁªï"_s);
    EXPECT_EQ(library.spelling(u"nobody"_s), QString());
    // Composing skips the words the library lacks.
    EXPECT_EQ(library.compose(u"Rama Krishna Rao kumar"_s), u"gÁªÀÄ gÁªï kk"_s);
    EXPECT_EQ(library.compose(u"KRISHNA"_s), QString());
}

TEST_P(NameLibraryTest, FillComposesOnlyNamesShortOfWordsAndLeavesPrintedOnesAlone)
{
    m_db->exec(u"insert into kanlib (fengname, fkanname) values ('ASHA', 'a1'), ('RAO', 'r1'), ('RAMA', 'm1')"_s);
    test::insertCandidate(
        *m_db, u"R1"_s,
        {{u"fname"_s, u"Asha Kumari Rao"_s}, {u"ffatname"_s, u"RAMA RAO"_s}, {u"ffatnamekan"_s, u"x y"_s}});
    // The same register number unprinted in another convocation is reached too; printed, not.
    test::insertCandidate(*m_db, u"R1"_s, {{u"fconvocode"_s, u"C25"_s}, {u"fname"_s, u"Asha Kumari Rao"_s}});
    test::insertCandidate(*m_db, u"R2"_s, {{u"fname"_s, u"RAMA"_s}, {u"fcertno"_s, u"DC1"_s}});
    test::insertCandidate(*m_db, u"R3"_s, {{u"fname"_s, u"RAMA"_s}, {u"fkanupdated"_s, u"T"_s}});
    test::ScriptedPrompter prompter;
    QStringList statuses;
    KannadaNameUpdate run(*m_db, prompter, [&](const QString &status, int) { statuses << status; });
    const KannadaNameUpdate::Result result = run.fill();
    ASSERT_TRUE(result.done) << prompter.last().toStdString();
    EXPECT_EQ(prompter.last(), u"Library Updated Successfully"_s);
    EXPECT_EQ(result.rows, 2);
    Rows rows = m_db->query(u"select fconvocode, fnamekan, ffatnamekan from convo where fregno = 'R1' "
                            "order by fconvocode"_s);
    QStringList names;
    while (rows.next())
        names << rows.text(0) + u':' + rows.text(1) + u':' + rows.text(2);
    EXPECT_EQ(names, (QStringList{u"C25:a1 r1:"_s, u"C26:a1 r1:x y"_s}));
    EXPECT_TRUE(m_db->scalar(u"select fnamekan from convo where fregno = 'R2'"_s).toString().isEmpty());
    EXPECT_TRUE(m_db->scalar(u"select fnamekan from convo where fregno = 'R3'"_s).toString().isEmpty());
    EXPECT_TRUE(statuses.contains(u"Updating Reg. No.: R1"_s));
    EXPECT_EQ(statuses.first(), u"Updating Kannada Names"_s);
}

TEST_P(NameLibraryTest, NothingToDoIsSaidAndChangesNothing)
{
    test::insertCandidate(*m_db, u"R1"_s, {{u"fcertno"_s, u"DC1"_s}});
    test::ScriptedPrompter prompter;
    KannadaNameUpdate run(*m_db, prompter);
    EXPECT_FALSE(run.fill().done);
    EXPECT_EQ(prompter.last(), u"No Names available for Updation"_s);
    EXPECT_FALSE(run.build().done);
    EXPECT_EQ(prompter.last(), u"No Names available for Updation"_s);
    EXPECT_EQ(prompter.shown().back().icon, PromptIcon::Exclamation);
}

INSTANTIATE_TEST_SUITE_P(Backends, NameLibraryTest, test::bothBackends(), test::backendName);

} // namespace
