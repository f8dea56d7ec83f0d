// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up sequence from the configuration file to the settings row.
#include "shell/core/inifile.h"
#include "shell/core/passwordcodec.h"
#include "shell/core/versiontext.h"
#include "shell/session.h"
#include "shell/startup/startup.h"
#include "support/scriptedprompter.h"
#include "support/testdatabase.h"

#include <QFile>
#include <QTemporaryDir>

#include <optional>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::TestBackend;

namespace {

class RecordingUi final : public StartupUi
{
public:
    Prompter &prompter() override { return m_prompter; }
    void showConfigurationDialog(const QString &iniFile) override { dialogs.append(iniFile); }
    void showUpgrade(Database &, const AppFolder &) override { ++upgrades; }
    void processEvents() override { }
    bool offersRestore() const override { return restores; }

    test::ScriptedPrompter m_prompter;
    bool restores = false;
    QStringList dialogs;
    int upgrades = 0;
};

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Start-up in a folder that has no installation, only what each test writes.
class BareStartupTest : public ::testing::Test
{
protected:
    Startup::Outcome run() { return Startup(AppFolder(m_dir.path()), m_ui).run(m_session); }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
    RecordingUi m_ui;
    Session m_session;
};

TEST_F(BareStartupTest, AMissingConfigurationOpensTheDialogFirst)
{
    EXPECT_EQ(run(), Startup::Outcome::Ended);
    EXPECT_EQ(m_ui.dialogs, QStringList{path(u"Morvanta.INI"_s)});
    EXPECT_TRUE(m_ui.m_prompter.shown().empty());
}

TEST_F(BareStartupTest, AnEmptyTypeAsksWhetherToDefineIt)
{
    writeFile(path(u"Morvanta.INI"_s), "[APATH]\r\nDBASEPATH=  \r\n");
    m_ui.m_prompter.answer(PromptAnswer::No);
    EXPECT_EQ(run(), Startup::Outcome::Ended);
    ASSERT_EQ(m_ui.m_prompter.shown().size(), 1u);
    EXPECT_EQ(m_ui.m_prompter.shown()[0].text, u"Database type not specified. Define database type?"_s);
    EXPECT_EQ(m_ui.m_prompter.shown()[0].title, u"Rivoder"_s);
    EXPECT_TRUE(m_ui.dialogs.isEmpty());

    m_ui.m_prompter.answer(PromptAnswer::Yes);
    EXPECT_EQ(run(), Startup::Outcome::Ended);
    EXPECT_EQ(m_ui.dialogs.size(), 1);
}

// The program's window offers the administrator a restore when the database is gone;
// the backup's own ADMIN password lets it in, and nothing is written without it.
TEST_F(BareStartupTest, TheAdministratorRestoresAMissingDatabaseFromTheStartup)
{
    const test::InstalledFolder source(TestBackend::SQLite);
    const QString backup = path(u"CONVO01012026.bak"_s);
    ASSERT_TRUE(QFile::copy(source.folder().filePath(u"CONVO.sqlite"_s), backup));
    writeFile(path(u"Morvanta.INI"_s), "[APATH]\r\nDBASEPATH=SQLITE\r\n");
    writeFile(path(u"CONVO.DBS"_s), "");
    m_ui.restores = true;

    m_ui.m_prompter.answer(PromptAnswer::Yes);
    m_ui.m_prompter.answerFile(backup);
    m_ui.m_prompter.answerInput(u"clerk"_s);
    EXPECT_EQ(run(), Startup::Outcome::Ended);
    EXPECT_TRUE(m_ui.m_prompter.last().endsWith(u"nothing was restored."_s)) << m_ui.m_prompter.last().toStdString();
    EXPECT_FALSE(QFile::exists(path(u"CONVO.sqlite"_s)));

    m_ui.m_prompter.answer(PromptAnswer::Yes);
    m_ui.m_prompter.answerFile(backup);
    m_ui.m_prompter.answerInput(u"admin"_s);
    EXPECT_EQ(run(), Startup::Outcome::Ended);
    EXPECT_EQ(m_ui.m_prompter.last(), u"Restored Database Successfully!!. System will restart now!!"_s);
    EXPECT_TRUE(m_ui.dialogs.isEmpty());
    EXPECT_EQ(run(), Startup::Outcome::ReadyForLogin);
}

// What start-up says when a file of the folder is missing or spoiled.
struct BrokenFolder
{
    const char *name;
    QByteArray ini;                     // Morvanta.INI
    bool marker;                        // CONVO.DBS, the file that names the database
    std::optional<QByteArray> database; // CONVO.sqlite
    enum Match { Whole, Start, Part } match;
    QString message; // "%1" stands for the database file's path
    int dialogs;     // how often the configuration dialog opened; -1: not looked at
    bool critical = false;
};

const BrokenFolder kBrokenFolders[] = {
    {"a garbage configuration asks for the type", QByteArray("\xff\xfe\x00garbage\n[[", 13), false, std::nullopt,
     BrokenFolder::Whole, u"Database type not specified. Define database type?"_s, 0},
    {"no marker file names no database", "[APATH]\r\nDBASEPATH=SQLITE\r\n", false, std::nullopt, BrokenFolder::Whole,
     u"DB name not specified!!"_s, -1, true},
    {"a missing database file asks for another connection", "[APATH]\r\nDBASEPATH=SQLITE\r\n", true, std::nullopt,
     BrokenFolder::Whole, u"Change the Connection String\rThe database file %1 does not exist."_s, 1},
    {"Access opens nothing and the first query fails", "[APATH]\r\nDBASEPATH=ACCESS\r\n", false, std::nullopt,
     BrokenFolder::Start, u"3709  The connection cannot be used"_s, 0},
    {"a database without the control table", "[APATH]\r\nDBASEPATH=SQLITE\r\n", true, QByteArray(), BrokenFolder::Start,
     u"-2147217865  "_s, -1},
    {"a garbage database file is named and left alone", "[APATH]\r\nDBASEPATH=SQLITE\r\n", true,
     QByteArray(2048, '\x7f'), BrokenFolder::Part, u"not a database"_s, -1},
};

TEST_F(BareStartupTest, ABrokenFolderEndsWithAMessageAndLeavesAGarbageDatabaseAlone)
{
    for (const BrokenFolder &c : kBrokenFolders) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        RecordingUi ui;
        ui.m_prompter.answer(PromptAnswer::No); // "Define database type?"
        writeFile(dir.filePath(u"Morvanta.INI"_s), c.ini);
        if (c.marker)
            writeFile(dir.filePath(u"CONVO.DBS"_s), "");
        if (c.database)
            writeFile(dir.filePath(u"CONVO.sqlite"_s), *c.database);
        EXPECT_EQ(Startup(AppFolder(dir.path()), ui).run(m_session), Startup::Outcome::Ended);
        const QString said = ui.m_prompter.last();
        const QString expected = QString(c.message).replace(u"%1"_s, dir.filePath(u"CONVO.sqlite"_s));
        const bool matches = c.match == BrokenFolder::Whole   ? said == expected
                             : c.match == BrokenFolder::Start ? said.startsWith(expected)
                                                              : said.contains(expected);
        EXPECT_TRUE(matches) << said.toStdString();
        if (c.critical) {
            EXPECT_EQ(ui.m_prompter.shown().back().icon, PromptIcon::Critical);
        }
        if (c.dialogs >= 0) {
            EXPECT_EQ(ui.dialogs.size(), c.dialogs);
        }
        // An empty file is an empty SQLite database, which SQLite writes its header into.
        if (c.database && !c.database->isEmpty()) {
            QFile f(dir.filePath(u"CONVO.sqlite"_s));
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            EXPECT_EQ(f.readAll(), *c.database);
        }
    }
}

TEST(StartupFolder, AMissingApplicationFolderIsNamed)
{
    RecordingUi ui;
    Session session;
    EXPECT_EQ(Startup(AppFolder(u"/no/such/scrollwise/folder"_s), ui).run(session), Startup::Outcome::Ended);
    EXPECT_EQ(ui.m_prompter.last(), u"The application folder /no/such/scrollwise/folder does not exist."_s);
}

// Start-up on installed folders, on every backend.
class StartupTest : public test::InstalledFolderTest
{
protected:
    Startup::Outcome run() { return Startup(m_folder->folder(), m_ui).run(m_session); }
    RecordingUi m_ui;
    Session m_session;
};

TEST_P(StartupTest, EqualVersionsLoadTheSettingsRowAndTitleAndANullCodeIsABlank)
{
    m_db->exec(u"update control set fadd1 = ?, fadd2 = ?"_s, {u"Campus Road"_s, u"Mysuru"_s});
    writeFile(m_folder->folder().filePath(u"Institution.ini"_s),
              "[TITLES]\n003=Sample College of Arts, Mysuru\n001=Other University\n");
    ASSERT_EQ(run(), Startup::Outcome::ReadyForLogin);
    EXPECT_TRUE(m_ui.m_prompter.shown().empty());
    EXPECT_EQ(m_ui.upgrades, 0);
    EXPECT_EQ(m_session.instCode, u"003"_s);
    EXPECT_EQ(m_session.instTitle, u"Sample College of Arts, Mysuru"_s);
    EXPECT_EQ(Startup::mainWindowCaption(m_session), u"Scrollwise, Sample College of Arts, Mysuru"_s);
    EXPECT_EQ(m_session.instAddress[0], u"Campus Road"_s);
    EXPECT_EQ(m_session.instAddress[1], u"Mysuru"_s);
    EXPECT_EQ(m_session.instAddress[2], QString());
    EXPECT_EQ(m_session.dbType, GetParam() == TestBackend::SQLite ? u"SQLITE"_s : u"MYSQL"_s);

    // A null institution code becomes a blank, which has no title.
    m_db->exec(u"update control set funitcode = NULL"_s);
    ASSERT_EQ(run(), Startup::Outcome::ReadyForLogin);
    EXPECT_EQ(m_session.instCode, u" "_s);
    EXPECT_EQ(m_session.instTitle, QString());
}

TEST_P(StartupTest, AnOlderDatabaseGoesToTheUpgradeAndANewerOneIsRefused)
{
    m_db->exec(u"update control set fversion = ?"_s, {u"0.9.9"_s});
    EXPECT_EQ(run(), Startup::Outcome::Ended);
    EXPECT_EQ(m_ui.upgrades, 1);

    m_db->exec(u"update control set fversion = ?"_s, {u"1.10.0"_s});
    EXPECT_EQ(run(), Startup::Outcome::Ended);
    EXPECT_EQ(m_ui.upgrades, 1);
    EXPECT_EQ(m_ui.m_prompter.last(), u"Version Mismatch, Install latest exe or call Quanvex"_s);
    EXPECT_EQ(m_db->scalar(u"select fversion from control"_s).toString(), u"1.10.0"_s);
}

TEST_P(StartupTest, AnEmptyControlTableGetsTheDefaultRow)
{
    m_db->exec(u"delete from control"_s);
    EXPECT_EQ(run(), Startup::Outcome::Ended); // the default row's version was not read: upgrade
    EXPECT_EQ(m_ui.upgrades, 1);
    Rows row = m_db->query(u"select funitcode, fcompany, fversion from control"_s);
    ASSERT_TRUE(row.next());
    EXPECT_EQ(row.text(0), u"9999"_s);
    EXPECT_EQ(row.text(1), u"Quanvex"_s);
    EXPECT_EQ(row.text(2), programVersion());
    EXPECT_FALSE(row.next());

    // The next start finds equal versions; 9999 has no title.
    EXPECT_EQ(run(), Startup::Outcome::ReadyForLogin);
    EXPECT_EQ(Startup::mainWindowCaption(m_session), u"Scrollwise, "_s);
}

INSTANTIATE_TEST_SUITE_P(Backends, StartupTest, test::bothBackends(), test::backendName);

TEST(MariaDbStartup, ARefusedLoginShowsTheNumberAndOpensTheDialog)
{
    if (!test::backendAvailable(TestBackend::MariaDB))
        return;
    test::InstalledFolder folder(TestBackend::MariaDB);
    IniFile ini(Startup::iniPath(folder.folder()));
    ini.load();
    ini.setValue(u"APATH"_s, u"PASSWORD"_s, passwords::encodeIni(u"not-the-password"_s));
    ini.save();
    RecordingUi ui;
    Session session;
    EXPECT_EQ(Startup(folder.folder(), ui).run(session), Startup::Outcome::Ended);
    EXPECT_TRUE(ui.m_prompter.last().startsWith(u"-2147217843  "_s)) << ui.m_prompter.last().toStdString();
    EXPECT_EQ(ui.dialogs.size(), 1);
}

} // namespace
