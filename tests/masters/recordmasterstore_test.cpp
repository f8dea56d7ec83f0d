// SPDX-License-Identifier: GPL-3.0-or-later
// Degrees, classes and convocations kept one row at a time, with their Kannada texts
// (the bytes of those texts are followed through the degree screen).
#include "masters/recordmasters/recordmasterstore.h"
#include "shell/core/legacytext.h"
#include "shell/db/database.h"
#include "support/scriptedprompter.h"
#include "support/testdatabase.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

class RecordMasterStoreTest : public test::InstalledFolderTest
{
protected:
    RecordMasterStore store(const QString &menuCode)
    {
        return RecordMasterStore(*m_db, *RecordMasterKind::find(menuCode));
    }

    test::ScriptedPrompter m_prompter;
};

// Text that would end or comment out a pasted statement is stored as given, apostrophes as grave accents.
TEST_P(RecordMasterStoreTest, ApostrophesBecomeGraveAccentsInEnglishTextsOnly)
{
    RecordMasterStore classes = store(u"MASCLASS"_s);
    ASSERT_TRUE(classes.insert({{u"FC"_s, u"First 'Class'); DROP TABLE class; -- \"Q\" /* x */ # 100% \\"_s, u"a'b"_s}},
                               m_prompter));
    const auto read = classes.find(u"FC"_s);
    EXPECT_EQ(read->values[1], u"First `Class`); DROP TABLE class; -- \"Q\" /* x */ # 100% \\"_s);
    EXPECT_EQ(read->values[2], u"a'b"_s);
}

TEST_P(RecordMasterStoreTest, AnExistingCodeIsNotAddedTwice)
{
    RecordMasterStore convos = store(u"MASCONVOKAN"_s);
    const MasterRecord c26{{u"C26"_s, u"Convocation"_s, legacytext::fromBytes("\xE0\xE4"), u"04/12/2026"_s,
                            legacytext::fromBytes("\xF0\xF2")}};
    ASSERT_TRUE(convos.insert(c26, m_prompter));
    EXPECT_FALSE(convos.insert(c26, m_prompter));
    EXPECT_EQ(m_prompter.last(), u"Convo No. C26 already exists"_s);
    EXPECT_EQ(convos.codes(), QStringList{u"C26"_s});
    EXPECT_EQ(convos.find(u" C26 "_s)->values[4], legacytext::fromBytes("\xF0\xF2")); // a code is found with blanks
}

TEST_P(RecordMasterStoreTest, ADegreeThatCandidatesUseIsNotDeleted)
{
    RecordMasterStore degrees = store(u"DEGREE"_s);
    ASSERT_TRUE(degrees.insert({{u"BA"_s, u"Arts"_s, u"\u00e0"_s}}, m_prompter));
    ASSERT_TRUE(degrees.insert({{u"BCOM"_s, u"Commerce"_s, u"\u00e1"_s}}, m_prompter));
    m_db->exec(u"insert into "_s + m_db->table(u"CONVO"_s) + u" (fregno, fdegree) values (?, ?)"_s, {u"R1"_s, u"BA"_s});

    EXPECT_FALSE(degrees.remove(u"BA"_s, m_prompter));
    EXPECT_EQ(m_prompter.last(), u"1 candidate record(s) use Degree BA: it is not deleted."_s);
    EXPECT_TRUE(degrees.remove(u"BCOM"_s, m_prompter));
    EXPECT_EQ(degrees.codes(), QStringList{u"BA"_s});
}

INSTANTIATE_TEST_SUITE_P(Backends, RecordMasterStoreTest, test::bothBackends(), test::backendName);

TEST(RecordMasterChecks, MandatoryFieldsAndWidths)
{
    Database unopened;
    RecordMasterStore degrees(unopened, *RecordMasterKind::find(u"degree"_s));
    const auto missing = degrees.check({{u"BSC"_s, u"Science"_s, u"  "_s}});
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->field, 2);
    EXPECT_EQ(missing->message, u"Information should be entered"_s);
    // Speciality is not mandatory; the key is at most five characters.
    EXPECT_FALSE(degrees.check({{u"BSC"_s, u"Science"_s, u"\u00e0"_s}}));
    EXPECT_EQ(degrees.check({{u"BSCPH"_s, u"x"_s, u"y"_s}}), std::nullopt);
    EXPECT_EQ(degrees.check({{u"BSCPHY"_s, u"x"_s, u"y"_s}})->field, 0);
}

} // namespace
