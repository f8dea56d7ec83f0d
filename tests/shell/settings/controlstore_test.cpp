// SPDX-License-Identifier: GPL-3.0-or-later
// The settings row: institution details and appearance on the real databases.
#include "shell/db/database.h"
#include "shell/settings/controlstore.h"
#include "support/scriptedprompter.h"
#include "support/testdatabase.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

class ControlStoreTest : public test::InstalledFolderTest
{
protected:
    int rows() { return m_db->scalar(u"select count(*) from "_s + m_db->table(u"CONTROL"_s)).toInt(); }

    test::ScriptedPrompter m_prompter;
};

TEST_P(ControlStoreTest, DetailsAreSavedIntoTheOneRowAndReadBack)
{
    ControlStore store(*m_db);
    const QString unitBefore = m_db->scalar(u"select funitcode from "_s + m_db->table(u"CONTROL"_s)).toString();
    InstitutionDetails d;
    d.company = u"  University of the Plains "_s;
    d.address = {u"Registrar's Office"_s, u"Main Road"_s, QString(), u"560001"_s};
    d.signingAuthority1 = u"Registrar"_s;
    d.convocationDate = QDate(2026, 12, 4);
    d.degreeInKannada = true;
    ASSERT_TRUE(store.saveInstitution(d, m_prompter)) << m_prompter.last().toStdString();
    const InstitutionDetails read = store.institution();
    EXPECT_EQ(read.company, u"University of the Plains"_s);
    EXPECT_EQ(read.address[0], u"Registrar`s Office"_s);
    EXPECT_EQ(read.address[3], u"560001"_s);
    EXPECT_EQ(read.convocationDate, QDate(2026, 12, 4));
    EXPECT_TRUE(read.degreeInKannada);
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(m_db->scalar(u"select funitcode from "_s + m_db->table(u"CONTROL"_s)).toString(), unitBefore);

    d.convocationDate = QDate();
    d.degreeInKannada = false;
    ASSERT_TRUE(store.saveInstitution(d, m_prompter));
    EXPECT_FALSE(store.institution().convocationDate.isValid());
    EXPECT_TRUE(m_db->scalar(u"select fconvdate from "_s + m_db->table(u"CONTROL"_s)).isNull());
}

TEST_P(ControlStoreTest, AnEmptyTableGetsItsRowAndMissingNamesAreRefused)
{
    m_db->exec(u"delete from "_s + m_db->table(u"CONTROL"_s));
    ControlStore store(*m_db);
    InstitutionDetails d;
    d.company = u"Name"_s;
    EXPECT_FALSE(store.saveInstitution(d, m_prompter));
    EXPECT_EQ(m_prompter.last(), u"Information should be entered"_s);
    EXPECT_EQ(rows(), 0);
    d.address[0] = u"Line 1"_s;
    ASSERT_TRUE(store.saveInstitution(d, m_prompter));
    EXPECT_EQ(rows(), 1);
    EXPECT_TRUE(m_db->scalar(u"select funitcode from "_s + m_db->table(u"CONTROL"_s)).isNull());
}

TEST_P(ControlStoreTest, ATextWiderThanItsColumnIsRefusedAlikeOnEveryBackend)
{
    // Found in the field: the screen let 100 characters into the 50-wide address lines
    // (and only 50 into the 100-wide signing authorities); MariaDB refused, SQLite kept them.
    ControlStore store(*m_db);
    InstitutionDetails d;
    d.company = u"Name"_s;
    d.address[0] = QString(51, u'A');
    EXPECT_FALSE(store.saveInstitution(d, m_prompter));
    EXPECT_EQ(m_prompter.last(), u"fadd1 holds 51 characters; at most 50 are kept."_s);
    d.address[0] = QString(50, u'A');
    d.signingAuthority1 = QString(100, u'S');
    ASSERT_TRUE(store.saveInstitution(d, m_prompter)) << m_prompter.last().toStdString();
    EXPECT_EQ(store.institution().signingAuthority1.size(), 100);
}

TEST_P(ControlStoreTest, AppearanceDefaultsSavesAndRefusesWhatIsNotAColour)
{
    ControlStore store(*m_db);
    m_db->exec(u"update "_s + m_db->table(u"CONTROL"_s) + u" set ftdcol = null, ffont = null"_s);
    EXPECT_EQ(store.appearance().fieldColour, u"&HFFFFFF"_s);
    EXPECT_EQ(store.appearance().font, u"Tahoma"_s);

    AppearanceSettings s;
    s.screenColour = u"&HC0C0C0"_s;
    s.font = u"DejaVu Sans"_s;
    s.fontSize = u"10"_s;
    ASSERT_TRUE(store.saveAppearance(s, m_prompter)) << m_prompter.last().toStdString();
    EXPECT_EQ(store.appearance(), s);

    AppearanceSettings bad = s;
    bad.labelColour = u"red"_s;
    EXPECT_FALSE(store.saveAppearance(bad, m_prompter));
    EXPECT_EQ(m_prompter.last(), u"Label Color: \"red\" is not a colour"_s);
    bad = s;
    bad.fontSize = u"x"_s;
    EXPECT_FALSE(store.saveAppearance(bad, m_prompter));
    EXPECT_EQ(store.appearance(), s);

    store.restoreDefaultAppearance();
    EXPECT_EQ(store.appearance(), AppearanceSettings());
}

INSTANTIATE_TEST_SUITE_P(Backends, ControlStoreTest, test::bothBackends(), test::backendName);

} // namespace
