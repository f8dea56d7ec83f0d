// SPDX-License-Identifier: GPL-3.0-or-later
// The login rules: lists, checks, the session values a login sets.
#include "shell/core/passwordcodec.h"
#include "shell/session.h"
#include "shell/core/stoperror.h"
#include "shell/startup/loginstore.h"
#include "support/testdatabase.h"
#include "support/stoptext.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

class LoginTest : public test::InstalledFolderTest
{
protected:
    void SetUp() override
    {
        InstalledFolderTest::SetUp();
        if (IsSkipped())
            return;
        addUser(u"CLERK"_s, u"pass1"_s, u"N2*N22"_s, u"B"_s);
        addUser(u"O'NEIL"_s, u"it's"_s, QString(), QString());
        m_db->exec(u"insert into masconvo (fconvocode, fconvoname) values (?, ?)"_s, {u"C26"_s, u"Convocation 2026"_s});
        m_db->exec(u"insert into masconvo (fconvocode, fconvoname) values (?, ?)"_s, {u"C25"_s, Database::nullText()});
    }
    void addUser(const QString &name, const QString &password, const QString &permissions, const QString &section)
    {
        m_db->exec(u"insert into masuser (fusername, fpasswd, fpermission, fsection) values (?, ?, ?, ?)"_s,
                   {name, passwords::encodeUser(password), permissions,
                    section.isNull() ? Database::nullText() : QVariant(section)});
    }
};

TEST_P(LoginTest, ListsAndChecksInTheWindowsOrder)
{
    const LoginStore store(*m_db);
    EXPECT_EQ(store.users(), (QStringList{u"ADMIN"_s, u"CLERK"_s, u"O'NEIL"_s}));
    EXPECT_EQ(store.convocations(), (QStringList{u"ADMN"_s, u"C25"_s, u"C26"_s}));

    EXPECT_EQ(store.check(QString(), u"x"_s, u"C26"_s)->text, u"Select User"_s);
    EXPECT_EQ(store.check(u"CLERK"_s, u"   "_s, u"C26"_s)->text, u"Enter Password"_s);
    EXPECT_EQ(store.check(u"CLERK"_s, u"pass1"_s, u" "_s)->text, u"Select Convocation"_s);
    const auto wrong = store.check(u"CLERK"_s, u"pass2"_s, u"C26"_s);
    ASSERT_TRUE(wrong);
    EXPECT_EQ(wrong->text, u"Invalid Password"_s);
    EXPECT_EQ(wrong->title, u"Caution"_s);
    EXPECT_TRUE(wrong->clearPassword);
    EXPECT_EQ(wrong->field, LoginStore::Field::Password);
    const auto blanks = store.check(u"CLERK"_s, u" pass1"_s, u"C26"_s);
    ASSERT_TRUE(blanks);
    EXPECT_EQ(blanks->text, passwords::outerBlanksMessage());

    // Passwords compare without regard to case; apostrophes log in as any other letter.
    EXPECT_FALSE(store.check(u"CLERK"_s, u"PASS1"_s, u"C26"_s));
    EXPECT_FALSE(store.check(u"CLERK"_s, u"pass1"_s, u"C26"_s));
    EXPECT_FALSE(store.check(u"ADMIN"_s, u"admin"_s, u"ADMN"_s));
    EXPECT_FALSE(store.check(u"O'NEIL"_s, u"IT'S"_s, u"C26"_s));
    EXPECT_TRUE(store.check(u"O'NEIL"_s, u"' or '1'='1"_s, u"C26"_s));
    EXPECT_TRUE(store.check(u"' or '1'='1"_s, u"x"_s, u"C26"_s));
}

TEST_P(LoginTest, ALoginSetsTheSessionValuesAndAUserWithoutARowHasNoPermissions)
{
    const LoginStore store(*m_db);
    Session session;
    ASSERT_FALSE(store.login(session, u"CLERK"_s, u"pass1"_s, u"C26"_s));
    EXPECT_EQ(session.userName, u"CLERK"_s);
    EXPECT_EQ(session.userSection, u"B"_s);
    EXPECT_EQ(session.convoCode, u"C26"_s);
    EXPECT_EQ(session.convoName, u"Convocation 2026"_s);
    EXPECT_EQ(session.permissions, u"N2*N22"_s);
    EXPECT_FALSE(session.isAdministrator());
    EXPECT_FALSE(session.isAdminConvocation());

    ASSERT_FALSE(store.login(session, u"O'NEIL"_s, u"it's"_s, u"ADMN"_s));
    EXPECT_EQ(session.userSection, u"A"_s); // null section
    EXPECT_EQ(session.convoName, QString());
    EXPECT_TRUE(session.isAdminConvocation());
    // A typed convocation without a row logs in with an empty name.
    ASSERT_FALSE(store.login(session, u"CLERK"_s, u"pass1"_s, u"X99"_s));
    EXPECT_EQ(session.convoCode, u"X99"_s);
    EXPECT_EQ(session.convoName, QString());
    ASSERT_FALSE(store.login(session, u"CLERK"_s, u"pass1"_s, u"C25"_s));
    EXPECT_EQ(session.convoName, QString());
    session.userName = u"admin"_s;
    EXPECT_TRUE(session.isAdministrator());

    EXPECT_EQ(test::stopText([&] { store.establish(session, u"NOBODY"_s, u"C26"_s); }),
              u"You have no permissions to use the Software, Contact Admin."_s);
}

INSTANTIATE_TEST_SUITE_P(Backends, LoginTest, test::bothBackends(), test::backendName);

} // namespace
