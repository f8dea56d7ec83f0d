// SPDX-License-Identifier: GPL-3.0-or-later
// Users and passwords on the real databases, and the login they lead to.
#include "shell/core/passwordcodec.h"
#include "shell/db/database.h"
#include "shell/startup/loginstore.h"
#include "shell/users/userstore.h"
#include "support/scriptedprompter.h"
#include "support/testdatabase.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

class UserStoreTest : public test::InstalledFolderTest
{
protected:
    bool canLogIn(const QString &user, const QString &password)
    {
        return !LoginStore(*m_db).check(user, password, u"C26"_s).has_value();
    }

    test::ScriptedPrompter m_prompter;
};

TEST_P(UserStoreTest, ANewUserLogsInWithHisNameAndKeepsHisPasswordThroughEdits)
{
    UserStore users(*m_db);
    ASSERT_TRUE(users.add(u"clerk"_s, u"A"_s, u"N2*N22*"_s, m_prompter)) << m_prompter.last().toStdString();
    EXPECT_TRUE(canLogIn(u"CLERK"_s, u"clerk"_s));
    // Kept as a salted hash, never as the legacy shift.
    EXPECT_TRUE(m_db->scalar(u"select fpasswd from masuser where fusername = ?"_s, {u"CLERK"_s})
                    .toString()
                    .startsWith(u"$argon2id$"_s));

    ASSERT_TRUE(users.update(u"CLERK"_s, u"B"_s, u"N3*N31*"_s, m_prompter));
    const auto clerk = users.find(u"CLERK"_s);
    EXPECT_EQ(clerk->section, u"B"_s);
    EXPECT_EQ(clerk->permission, u"N3*N31*"_s);
    EXPECT_TRUE(canLogIn(u"CLERK"_s, u"CLERK"_s));
}

TEST_P(UserStoreTest, NamesThatAreEmptyTakenOrUnknownAreRefusedAndADeletedUserIsKept)
{
    UserStore users(*m_db);
    EXPECT_FALSE(users.add(u"  "_s, {}, {}, m_prompter));
    EXPECT_EQ(m_prompter.last(), u"Information should be entered"_s);
    EXPECT_FALSE(users.add(u"admin"_s, {}, {}, m_prompter));
    EXPECT_EQ(m_prompter.last(), u"User Name already exists"_s);
    EXPECT_FALSE(users.add(u"ELEVENCHARS"_s, {}, {}, m_prompter));
    EXPECT_FALSE(users.update(u"NOBODY"_s, {}, {}, m_prompter));
    EXPECT_EQ(m_prompter.last(), u"Invalid User Name"_s);
    EXPECT_FALSE(users.remove(u"ADMIN"_s, m_prompter));

    // A deleted user is kept but cannot log in until added again.
    ASSERT_TRUE(users.add(u"TEMP"_s, {}, u"N1*"_s, m_prompter));
    ASSERT_TRUE(users.remove(u"temp"_s, m_prompter));
    EXPECT_FALSE(canLogIn(u"TEMP"_s, u"TEMP"_s));
    EXPECT_FALSE(LoginStore(*m_db).users().contains(u"TEMP"_s));
    EXPECT_EQ(users.list().size(), 1u);
    EXPECT_EQ(users.list(true).size(), 2u);

    ASSERT_TRUE(users.add(u"TEMP"_s, u"C"_s, {}, m_prompter));
    EXPECT_TRUE(canLogIn(u"TEMP"_s, u"TEMP"_s));
}

TEST_P(UserStoreTest, PasswordChangeChecksTheOldOneAndTheConfirmation)
{
    UserStore users(*m_db);
    ASSERT_TRUE(users.add(u"CLERK"_s, {}, {}, m_prompter));
    EXPECT_FALSE(users.changePassword(u"CLERK"_s, u"CLERK"_s, u"new"_s, QString(), m_prompter));
    EXPECT_EQ(m_prompter.last(), u"Information Should be Entered"_s);
    EXPECT_FALSE(users.changePassword(u"CLERK"_s, u"wrong"_s, u"new"_s, u"new"_s, m_prompter));
    EXPECT_EQ(m_prompter.last(), u"Invalid Password"_s);
    EXPECT_FALSE(users.changePassword(u"CLERK"_s, u"clerk"_s, u"new"_s, u"neW1"_s, m_prompter));
    EXPECT_EQ(m_prompter.last(), u"Mismatch - Confirm New Password"_s);
    EXPECT_FALSE(users.changePassword(u"CLERK"_s, u"clerk"_s, u"elevenchars"_s, u"elevenchars"_s, m_prompter));
    EXPECT_TRUE(canLogIn(u"CLERK"_s, u"CLERK"_s));

    ASSERT_TRUE(users.changePassword(u"CLERK"_s, u"clerk"_s, u"s3cret"_s, u"s3cret"_s, m_prompter));
    EXPECT_EQ(m_prompter.last(), u"Password has been changed Successfully"_s);
    EXPECT_TRUE(canLogIn(u"CLERK"_s, u"S3CRET"_s));
    EXPECT_FALSE(canLogIn(u"CLERK"_s, u"CLERK"_s));
}

INSTANTIATE_TEST_SUITE_P(Backends, UserStoreTest, test::bothBackends(), test::backendName);

} // namespace

// The password dialog over the same store.
#include "shell/session.h"
#include "shell/users/passworddialog.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

TEST_P(UserStoreTest, ThePasswordDialogChangesTheLoggedInUsersPasswordAndClearsItsBoxes)
{
    UserStore users(*m_db);
    ASSERT_TRUE(users.add(u"CLERK"_s, {}, {}, m_prompter));
    Session session;
    session.cn = m_folder->connect();
    session.userName = u"CLERK"_s;
    PasswordDialog dialog(session, m_prompter);
    EXPECT_EQ(dialog.windowTitle(), u"Password Change . . ."_s);
    EXPECT_EQ(dialog.box(1)->maxLength(), 10);

    dialog.box(0)->setText(u"clerk"_s);
    dialog.box(1)->setText(u"abc"_s);
    dialog.box(2)->setText(u"abd"_s);
    dialog.okButton()->click();
    EXPECT_EQ(m_prompter.last(), u"Mismatch - Confirm New Password"_s);
    EXPECT_EQ(dialog.box(0)->text(), u"clerk"_s);

    dialog.box(2)->setText(u"abc"_s);
    dialog.okButton()->click();
    EXPECT_EQ(m_prompter.last(), u"Password has been changed Successfully"_s);
    EXPECT_TRUE(dialog.box(0)->text().isEmpty());
    EXPECT_TRUE(canLogIn(u"CLERK"_s, u"ABC"_s));
}

} // namespace
