// SPDX-License-Identifier: GPL-3.0-or-later
// The Kannada name library on the real databases.
#include "masters/namelibrary/namelibrary.h"
#include "support/testdatabase.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::TestBackend;

namespace {

class NameLibraryTest : public ::testing::TestWithParam<TestBackend>
{
protected:
    void SetUp() override
    {
        if (!test::backendAvailable(GetParam()))
            GTEST_SKIP();
        m_folder = std::make_unique<test::InstalledFolder>(GetParam());
        m_db = m_folder->connect();
    }
    int rows() { return m_db->scalar(u"select count(*) from kanlib"_s).toInt(); }

    std::unique_ptr<test::InstalledFolder> m_folder;
    std::unique_ptr<Database> m_db;
};

TEST_P(NameLibraryTest, WordsSplitAtBlanksWithoutEmptyWords)
{
    EXPECT_EQ(NameLibrary::words(u"  RAMA  KRISHNA "_s), (QStringList{u"RAMA"_s, u"KRISHNA"_s}));
    EXPECT_TRUE(NameLibrary::words(u"   "_s).isEmpty());
    EXPECT_TRUE(NameLibrary::needsFill(u"A B"_s, u""_s));
    EXPECT_TRUE(NameLibrary::needsFill(u"A B C"_s, u"x y"_s));
    EXPECT_FALSE(NameLibrary::needsFill(u"A B"_s, u"x y"_s));
    EXPECT_FALSE(NameLibrary::needsFill(u""_s, u""_s));
}

TEST_P(NameLibraryTest, LearningTakesEqualWordCountsAndKeepsKnownSpellings)
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
}

TEST_P(NameLibraryTest, ComposingSkipsWordsTheLibraryLacks)
{
    m_db->exec(u"insert into kanlib (fengname, fkanname) values ('RAMA', 'r'), ('Rao', 'o')"_s);
    NameLibrary library(*m_db);
    EXPECT_EQ(library.compose(u"Rama Krishna Rao"_s), u"r o"_s);
    EXPECT_EQ(library.compose(u"KRISHNA"_s), QString());
}

INSTANTIATE_TEST_SUITE_P(Backends, NameLibraryTest, ::testing::Values(TestBackend::SQLite, TestBackend::MariaDB),
                         test::backendName);

} // namespace
