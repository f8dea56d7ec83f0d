// SPDX-License-Identifier: GPL-3.0-or-later
// The configuration dialog and the login window, driven as a clerk would, offscreen.
#include "shell/core/inifile.h"
#include "shell/core/passwordcodec.h"
#include "shell/session.h"
#include "shell/ui/configurationdialog.h"
#include "shell/ui/logindialog.h"
#include "support/scriptedprompter.h"
#include "support/testdatabase.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

template <typename T> T *child(QWidget &w, const QString &name)
{
    T *found = w.findChild<T *>(name);
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
}

class DbPathaccessTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_path = m_dir.filePath(u"Morvanta.INI"_s);
        m_dialog = std::make_unique<ConfigurationDialog>(m_path, m_prompter);
        m_dialog->show();
        m_type = child<QComboBox>(*m_dialog, u"txtdbpath"_s);
        m_server = child<QLineEdit>(*m_dialog, u"txtSrvrname"_s);
        m_password = child<QLineEdit>(*m_dialog, u"txtPassword"_s);
        m_ok = child<QPushButton>(*m_dialog, u"CmdOk"_s);
    }
    void choose(const QString &type) { m_type->setCurrentIndex(m_type->findText(type)); }
    QTemporaryDir m_dir;
    QString m_path;
    test::ScriptedPrompter m_prompter;
    std::unique_ptr<ConfigurationDialog> m_dialog;
    QComboBox *m_type = nullptr;
    QLineEdit *m_server = nullptr;
    QLineEdit *m_password = nullptr;
    QPushButton *m_ok = nullptr;
};

TEST_F(DbPathaccessTest, OffersEveryTypeShowsTheBoxesEachNeedsAndRefusesAMissingServer)
{
    QStringList types;
    for (int i = 0; i < m_type->count(); ++i)
        types.append(m_type->itemText(i));
    EXPECT_EQ(types, (QStringList{u"SQLITE"_s, u"MYSQL"_s, u"SQLSRVR"_s, u"ORACLE"_s, u"ACCESS"_s}));
    EXPECT_EQ(m_type->currentIndex(), 0);
    choose(u"SQLSRVR"_s);
    EXPECT_EQ(child<QLabel>(*m_dialog, u"Label1_1"_s)->text(), u"Server name"_s);
    EXPECT_TRUE(m_password->isVisible());
    choose(u"ORACLE"_s);
    EXPECT_EQ(child<QLabel>(*m_dialog, u"Label1_1"_s)->text(), u"Connection string"_s);
    EXPECT_TRUE(m_server->isVisible());
    EXPECT_FALSE(m_password->isVisible());

    // OK refuses a missing server and the dialog stays.
    choose(u"SQLSRVR"_s);
    QTest::mouseClick(m_ok, Qt::LeftButton);
    ASSERT_EQ(m_prompter.shown().size(), 1u);
    EXPECT_EQ(m_prompter.shown()[0].text, u"Server name should be entered"_s);
    EXPECT_EQ(m_prompter.shown()[0].title, u"Error"_s);
    EXPECT_EQ(m_prompter.shown()[0].icon, PromptIcon::Exclamation);
    EXPECT_TRUE(m_dialog->isVisible());
    choose(u"ORACLE"_s);
    QTest::mouseClick(m_ok, Qt::LeftButton);
    EXPECT_EQ(m_prompter.last(), u"Connectiion to the server should be entered"_s);
    EXPECT_FALSE(QFile::exists(m_path));
}

TEST_F(DbPathaccessTest, OkWritesTheTypeServerAndShiftedPassword)
{
    choose(u"SQLSRVR"_s);
    QTest::keyClicks(m_server, u"dbhost"_s);
    EXPECT_EQ(m_server->text(), u"DBHOST"_s); // typed in upper case
    QTest::keyClicks(m_password, u"Pw1"_s);
    // OK is the marked default, and Enter presses it once the focus is on it.
    EXPECT_TRUE(m_ok->isDefault());
    m_ok->setFocus();
    QTest::keyClick(m_ok, Qt::Key_Return);
    EXPECT_EQ(m_prompter.last(), u"For the New changes to take Effect Restart the Application"_s);
    EXPECT_EQ(m_dialog->result(), QDialog::Accepted);
    IniFile ini(m_path);
    ini.load();
    EXPECT_EQ(ini.value(u"APATH"_s, u"DBASEPATH"_s), u"SQLSRVR"_s);
    EXPECT_EQ(ini.value(u"APATH"_s, u"SERVERNAME"_s), u"DBHOST"_s);
    EXPECT_EQ(ini.value(u"APATH"_s, u"PASSWORD"_s), passwords::encodeIni(u"Pw1"_s));
}

TEST_F(DbPathaccessTest, OracleLeavesAnEarlierPasswordAlone)
{
    IniFile before(m_path);
    before.setValue(u"APATH"_s, u"PASSWORD"_s, u"kept"_s);
    before.save();
    choose(u"ORACLE"_s);
    QTest::keyClicks(m_server, u"orcl"_s);
    QTest::mouseClick(m_ok, Qt::LeftButton);
    IniFile ini(m_path);
    ini.load();
    EXPECT_EQ(ini.value(u"APATH"_s, u"DBASEPATH"_s), u"ORACLE"_s);
    EXPECT_EQ(ini.value(u"APATH"_s, u"SERVERNAME"_s), u"ORCL"_s);
    EXPECT_EQ(ini.value(u"APATH"_s, u"PASSWORD"_s), u"kept"_s);
}

TEST_F(DbPathaccessTest, EscapeIsCancel)
{
    QTest::keyClick(m_type, Qt::Key_Escape);
    EXPECT_EQ(m_prompter.last(), u"Application Terminated."_s);
    EXPECT_EQ(m_prompter.shown().back().title, u"Caution!"_s);
    EXPECT_EQ(m_dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(QFile::exists(m_path));
}

class SignUpTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = std::make_unique<test::InstalledFolder>(test::TestBackend::SQLite);
        m_session.cn = m_folder->connect();
        m_session.cn->exec(u"insert into masconvo (fconvocode, fconvoname) values (?, ?)"_s,
                           {u"C26"_s, u"Convocation 2026"_s});
        m_window = std::make_unique<LoginDialog>(m_session, m_prompter);
        m_window->show();
        m_user = child<QComboBox>(*m_window, u"CmbUser"_s);
        m_password = child<QLineEdit>(*m_window, u"Txtpass"_s);
        m_convo = child<QComboBox>(*m_window, u"CmbConvo"_s);
        m_ok = child<QPushButton>(*m_window, u"CmdOK"_s);
    }
    std::unique_ptr<test::InstalledFolder> m_folder;
    Session m_session;
    test::ScriptedPrompter m_prompter;
    std::unique_ptr<LoginDialog> m_window;
    QComboBox *m_user = nullptr;
    QLineEdit *m_password = nullptr;
    QComboBox *m_convo = nullptr;
    QPushButton *m_ok = nullptr;
};

TEST_F(SignUpTest, AWrongPasswordClearsTheBoxAndAllowsAnotherTry)
{
    EXPECT_EQ(m_convo->itemText(0), u"ADMN"_s);
    m_user->setCurrentIndex(m_user->findText(u"ADMIN"_s));
    QTest::keyClicks(m_password, u"wrong"_s);
    EXPECT_EQ(m_password->text(), u"WRONG"_s);
    m_convo->setCurrentIndex(m_convo->findText(u"C26"_s));
    QTest::mouseClick(m_ok, Qt::LeftButton);
    EXPECT_EQ(m_prompter.last(), u"Invalid Password"_s);
    EXPECT_EQ(m_password->text(), QString());
    EXPECT_TRUE(m_window->isVisible());

    QTest::keyClicks(m_password, u"admin"_s);
    QTest::keyClick(m_convo, Qt::Key_Return); // Enter in the convocation list is OK
    EXPECT_EQ(m_window->result(), QDialog::Accepted);
    EXPECT_EQ(m_session.userName, u"ADMIN"_s);
    EXPECT_EQ(m_session.convoName, u"Convocation 2026"_s);
}

TEST_F(SignUpTest, NoUserChosenIsTheFirstCheckAndCancelEndsTheProgram)
{
    // Reached with Tab, OK is pressed with Enter (or Space) like a click.
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        m_prompter.clear();
        m_ok->setFocus();
        QTest::keyClick(m_ok, key);
        EXPECT_EQ(m_prompter.last(), u"Select User"_s) << key;
    }
    QTest::mouseClick(child<QPushButton>(*m_window, u"CmdCancel"_s), Qt::LeftButton);
    EXPECT_EQ(m_prompter.last(), u"Application Terminated"_s);
    EXPECT_EQ(m_prompter.shown().back().icon, PromptIcon::Critical);
    EXPECT_EQ(m_window->result(), QDialog::Rejected);
}

} // namespace
