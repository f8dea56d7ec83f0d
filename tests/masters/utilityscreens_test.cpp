// SPDX-License-Identifier: GPL-3.0-or-later
// The utilities driven offscreen through the main window: users and their permissions,
// the institution's details, the appearance, backup and restore.
#include "screensfixture.h"

#include "shell/audit/audittrailscreen.h"
#include "shell/backup/restorescreen.h"
#include "shell/core/dates.h"
#include "shell/settings/institutionform.h"
#include "shell/settings/projectsettingsscreen.h"
#include "shell/users/usersscreen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTableWidget>
#include <QDir>
#include <QLabel>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::MastersScreensTest;

namespace {

using UtilityScreensTest = MastersScreensTest;

void tick(UsersScreen *form, const QString &code, bool on)
{
    QTreeWidgetItem *item = form->node(code);
    ASSERT_NE(item, nullptr) << code.toStdString();
    item->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
}

bool ticked(UsersScreen *form, const QString &code) { return form->node(code)->checkState(0) == Qt::Checked; }

TEST_P(UtilityScreensTest, TheAdministratorAddsEditsAndDeletesAUserWithHisTicks)
{
    openWindow(u"ADMIN"_s, u"admin"_s);
    auto *form = open<UsersScreen>(u"N43"_s);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), u"Permissions . . ."_s);
    // The tree lists the menu codes only: no window list, help or separators.
    EXPECT_EQ(form->tvwoptions()->topLevelItemCount(), 4);
    EXPECT_EQ(form->node(u"N14sep"_s), nullptr);
    // The items every user opens are shown ticked, fixed and why; the others are the clerk's to tick.
    for (const QString &open : {u"N14"_s, u"N15"_s, u"N2A"_s, u"N2B"_s, u"N2E"_s, u"N2F"_s, u"N3A"_s}) {
        EXPECT_TRUE(ticked(form, open)) << open.toStdString();
        EXPECT_FALSE(form->node(open)->flags() & Qt::ItemIsEnabled) << open.toStdString();
        EXPECT_TRUE(form->node(open)->text(0).endsWith(u" (all users)"_s)) << open.toStdString();
    }
    EXPECT_EQ(form->node(u"N2A"_s)->text(0), u"Update Kannada Names (all users)"_s);
    EXPECT_FALSE(ticked(form, u"N22"_s));
    EXPECT_TRUE(form->node(u"N22"_s)->flags() & Qt::ItemIsUserCheckable);
    ASSERT_NE(form->findChild<QLabel *>(u"lblopen"_s), nullptr);
    EXPECT_TRUE(form->findChild<QLabel *>(u"lblopen"_s)->text().contains(u"every user who can log in"_s));

    const auto enterName = [form](const QString &name) {
        form->text(0)->setText(name);
        form->text(0)->setFocus();
        QTest::keyClick(form->text(0), Qt::Key_Return);
    };
    run(Command::Add);
    enterName(u"clerk2"_s);
    form->text(6)->setText(u"EXAM"_s);
    tick(form, u"N2"_s, true); // the whole menu comes with its top
    EXPECT_TRUE(ticked(form, u"N22"_s));
    EXPECT_TRUE(ticked(form, u"N2F"_s));
    tick(form, u"N2"_s, false);
    tick(form, u"N22"_s, true); // an item brings its top menu
    EXPECT_TRUE(ticked(form, u"N2"_s));
    tick(form, u"N41"_s, true);
    tick(form, u"N41"_s, false); // the last item unticked takes the top menu with it
    EXPECT_FALSE(ticked(form, u"N4"_s));
    tick(form, u"N31"_s, true);
    shoot(form, u"users_add"_s);
    run(Command::Save);
    ASSERT_EQ(form->editMode(), EditMode::Browse) << m_prompter.last().toStdString();
    // Issue: F6 on a new user left a blank screen and never said the first password.
    EXPECT_EQ(m_prompter.last(), u"User CLERK2 is added. His first password is CLERK2: tell it to him, and ask him "
                                 "to change it at once (Utilities > Password)."_s);
    EXPECT_EQ(test::outcomeOf(form), u"User CLERK2 added"_s);
    const QString table = m_folder->db().table(u"MASUSER"_s);
    const QString clerk2 = u"select fpermission, fsection from "_s + table + u" where fusername = 'CLERK2'"_s;
    EXPECT_EQ(value(clerk2), u"N2*N22*N3*N31*|EXAM"_s);

    // A name that is taken is refused where it is typed.
    run(Command::Add);
    enterName(u"CLERK2"_s);
    EXPECT_EQ(m_prompter.last(), u"User Name already exists"_s);
    EXPECT_TRUE(form->text(0)->hasFocus());
    m_prompter.answer(PromptAnswer::Yes); // "Confirm cancel"
    run(Command::Cancel);

    // Editing: an unknown name is refused; a known one brings his ticks.
    run(Command::Edit);
    enterName(u"NOBODY"_s);
    EXPECT_EQ(m_prompter.last(), u"Invalid User Name"_s);
    enterName(u"CLERK2"_s);
    EXPECT_EQ(form->text(6)->text(), u"EXAM"_s);
    EXPECT_TRUE(ticked(form, u"N22"_s));
    EXPECT_FALSE(ticked(form, u"N21"_s));
    form->text(6)->setText(u"CERT"_s);
    tick(form, u"N44"_s, true);
    run(Command::Save);
    ASSERT_EQ(form->editMode(), EditMode::Browse) << m_prompter.last().toStdString();
    EXPECT_EQ(value(clerk2), u"N2*N22*N3*N31*N4*N44*|CERT"_s);

    // Deleting marks the user and the screen no longer browses him.
    m_prompter.answer(PromptAnswer::Yes);
    run(Command::Delete);
    enterName(u"CLERK2"_s);
    EXPECT_EQ(m_prompter.last(), u"Confirm deletion"_s);
    EXPECT_EQ(value(u"select fdeleted from "_s + table + u" where fusername = 'CLERK2'"_s), u"T"_s);
    EXPECT_EQ(form->rsdisp().count(), 1); // ADMIN alone
}

TEST_P(UtilityScreensTest, UsersWithoutTheMenuItemsCannotOpenTheScreens)
{
    // Security and restore are the administrator's even when the string grants them.
    m_folder->addUser(u"CLERK"_s, u"clerk"_s, u"N4*N43*N45*N47*"_s);
    openWindow(u"CLERK"_s, u"clerk"_s);
    for (const QString &code : {u"N43"_s, u"N45"_s, u"N48"_s, u"N41"_s, u"N44"_s, u"N49"_s, u"N11"_s, u"N12"_s})
        EXPECT_FALSE(m_window->menuActions().action(code)->isEnabled()) << code.toStdString();
    EXPECT_TRUE(m_window->menuActions().action(u"N47"_s)->isEnabled());
}

TEST_P(UtilityScreensTest, TheControlScreenWritesTheSettingsRowAndRefusesABadDate)
{
    openWindow(u"ADMIN"_s, u"admin"_s);
    auto *form = open<InstitutionForm>(u"N41"_s);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), u"Control . . ."_s);
    // Each box takes what its column holds: the address lines 50, the signing authorities 100.
    EXPECT_EQ(form->text(0)->maxLength(), 100);
    for (int box = 1; box <= 4; ++box)
        EXPECT_EQ(form->text(box)->maxLength(), 50) << box;
    EXPECT_EQ(form->text(8)->maxLength(), 100);
    EXPECT_EQ(form->text(9)->maxLength(), 100);
    const QString table = m_folder->db().table(u"CONTROL"_s);

    run(Command::Edit);
    form->text(0)->setText(u"UNIVERSITY OF VARADA"_s);
    form->text(1)->setText(u"VIDYA BHAVANA"_s);
    form->text(2)->setText(u"VISHWAVIDYANILAYA KARYASOUDHA"_s);
    form->text(7)->setText(u"registrar@varada.example"_s);
    form->text(8)->setText(u"REGISTRAR'S OFFICE"_s);
    form->mskdt(0)->setText(u"31022026"_s);
    form->chk(0)->setChecked(true);
    run(Command::Save);
    EXPECT_EQ(m_prompter.last(), u"Convocation Date: \"31/02/2026\" is not a date (dd/mm/yyyy)"_s);
    EXPECT_EQ(form->editMode(), EditMode::Edit);
    EXPECT_NE(value(u"select fcompany from "_s + table), u"UNIVERSITY OF VARADA"_s);

    form->mskdt(0)->setText(u"15032026"_s);
    shoot(form, u"controle_edit"_s);
    run(Command::Save);
    ASSERT_EQ(form->editMode(), EditMode::Browse) << m_prompter.last().toStdString();
    EXPECT_EQ(value(u"select fcompany, femail, fsignauth1, fdegkan from "_s + table),
              u"UNIVERSITY OF VARADA|registrar@varada.example|REGISTRAR`S OFFICE|T"_s);
    EXPECT_EQ(m_folder->db().scalar(u"select fconvdate from "_s + table).toDate(), QDate(2026, 3, 15));
    EXPECT_EQ(form->text(0)->text(), u"UNIVERSITY OF VARADA"_s);

    // An empty date box stores no date; the name is mandatory.
    run(Command::Edit);
    form->mskdt(0)->clear();
    form->chk(0)->setChecked(false);
    form->text(0)->clear();
    run(Command::Save);
    EXPECT_EQ(m_prompter.last(), u"Information should be entered"_s);
    form->text(0)->setText(u"UNIVERSITY OF VARADA"_s);
    run(Command::Save);
    ASSERT_EQ(form->editMode(), EditMode::Browse) << m_prompter.last().toStdString();
    EXPECT_TRUE(m_folder->db().scalar(u"select fconvdate from "_s + table).isNull());
    EXPECT_EQ(value(u"select fdegkan from "_s + table), u"F"_s);
}

TEST_P(UtilityScreensTest, ProjectSettingsWriteTheAppearanceAndTheDefaultButtonWritesAtOnce)
{
    openWindow(u"ADMIN"_s, u"admin"_s);
    auto *form = open<ProjectSettingsScreen>(u"N49"_s);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), u"Project Settings . . ."_s);
    const QString table = m_folder->db().table(u"CONTROL"_s);
    form->setChoosers([](const QColor &) { return std::optional<QColor>(QColor(0x11, 0x22, 0x33)); },
                      [](const QFont &) {
                          QFont f(u"DejaVu Sans"_s);
                          f.setPointSize(11);
                          return std::optional<QFont>(f);
                      });
    form->cmddef()->click();
    EXPECT_EQ(value(u"select ftocol from "_s + table), u"&HC0FFFF"_s);
    EXPECT_EQ(form->text(5)->text(), u"Tahoma"_s);
    EXPECT_EQ(test::outcomeOf(form), u"Default colours and font written"_s);

    // Down walks the boxes of both pages to OK; F1 in a box opens its dialog as its button does.
    form->text(0)->setFocus();
    EXPECT_EQ(form->hint(), u"Colour of the screens, F1 to choose"_s);
    EXPECT_EQ(test::focusWalk(Qt::Key_Down, 2), (QStringList{u"text_1"_s, u"text_2"_s}));
    test::press(Qt::Key_F1); // "Fields (Online)": the colour is held blue byte first
    EXPECT_EQ(form->text(2)->text(), u"&H332211"_s);
    EXPECT_EQ(test::focusWalk(Qt::Key_Return, 3), (QStringList{u"text_3"_s, u"text_4"_s, u"text_5"_s}));
    test::press(Qt::Key_F1);
    EXPECT_EQ(form->text(5)->text(), u"DejaVu Sans"_s);
    EXPECT_EQ(form->text(6)->text(), u"11"_s);
    // A size of nothing is refused as it is left.
    test::press(Qt::Key_Down);
    form->text(6)->selectAll();
    test::enter(u"0"_s);
    EXPECT_EQ(m_prompter.last(), u"Size: \"0\" is not a font size (1 to 99)"_s);
    EXPECT_EQ(test::focused(), form->text(6));
    test::type(u"11"_s);
    EXPECT_EQ(test::focusWalk(Qt::Key_Return, 1), QStringList{u"cmdok"_s});
    EXPECT_EQ(test::focusWalk(Qt::Key_Up, 3), (QStringList{u"text_6"_s, u"text_5"_s, u"text_4"_s}));
    shoot(form, u"settings"_s);
    form->cmdok()->click();
    QCoreApplication::processEvents();
    const QString appearance = u"select ftocol, ffont, ffontsize, fscol from "_s + table;
    EXPECT_EQ(value(appearance), u"&H332211|DejaVu Sans|11|&H808000"_s);
    // Fields being edited take the new colour from now on.
    EXPECT_EQ(m_folder->session.editColour, u"&H332211"_s);

    // "&Default" then "&Cancel": the defaults stay written.
    form = open<ProjectSettingsScreen>(u"N49"_s);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->text(2)->text(), u"&H332211"_s);
    form->cmddef()->click();
    form->cmdcancel()->click();
    EXPECT_TRUE(value(appearance).startsWith(u"&HC0FFFF|Tahoma|"_s)) << value(appearance).toStdString();
}

// The administrator's audit screen lists the day's lines: his login and the settings
// he changed, with the old and the new values.
TEST_P(UtilityScreensTest, TheAuditTrailScreenListsTheDaysLoginsAndChanges)
{
    openWindow(u"ADMIN"_s, u"admin"_s);
    auto *settings = open<ProjectSettingsScreen>(u"N49"_s);
    ASSERT_NE(settings, nullptr);
    settings->cmddef()->click();
    auto *form = open<AuditTrailScreen>(u"N48"_s);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), u"Audit Trail . . ."_s);
    QStringList rows;
    for (int row = 0; row < form->grid()->rowCount(); ++row) {
        QStringList cells;
        for (int column = 1; column < form->grid()->columnCount(); ++column)
            cells << (form->grid()->item(row, column) ? form->grid()->item(row, column)->text() : QString());
        rows << cells.join(u'|');
    }
    EXPECT_TRUE(rows.filter(u"ADMIN|"_s).filter(u"|login|login|masuser|ADMIN|"_s).size() >= 1)
        << rows.join(u'\n').toStdString();
    EXPECT_EQ(rows.filter(u"|settings|defaults|control|"_s).size(), 1) << rows.join(u'\n').toStdString();
    shoot(form, u"audit"_s);

    EXPECT_EQ(test::outcomeOf(form), u"%1 line(s) shown"_s.arg(form->grid()->rowCount()));

    // From the keyboard: a wrong date is refused as it is left; Enter walks to Show and
    // presses it; a kind chosen narrows the list.
    ASSERT_EQ(test::focused(), form->fromBox());
    test::enter(u"31022026"_s);
    EXPECT_EQ(m_prompter.last(), u"From: \"31/02/2026\" is not a date (dd/mm/yyyy)"_s);
    EXPECT_EQ(test::focused(), form->fromBox());
    test::type(formatDmy(QDate::currentDate()).remove(u'/'));
    EXPECT_EQ(test::focusWalk(Qt::Key_Return, 3), (QStringList{u"mskdt_1"_s, u"text_0"_s, u"cmbwhat"_s}));
    form->whatBox()->setCurrentText(u"settings"_s);
    EXPECT_EQ(test::focusWalk(Qt::Key_Return, 1), QStringList{u"cmdshow"_s});
    test::press(Qt::Key_Return);
    EXPECT_EQ(form->grid()->rowCount(), 1);
    EXPECT_EQ(test::outcomeOf(form), u"1 line(s) shown"_s);
}

TEST_P(UtilityScreensTest, BackupFromTheMenuThenRestoreFromTheScreenEndsTheProgram)
{
    openWindow(u"ADMIN"_s, u"admin"_s);
    Database &db = m_folder->db();
    db.exec(u"insert into convo (fregno, fname, fconvocode) values ('R1', 'ASHA', 'C26')"_s);
    m_window->menuActions().action(u"N47"_s)->trigger();
    QCoreApplication::processEvents();
    const QDir backups(m_folder->folder().filePath(u"Backup"_s));
    const QStringList files = backups.entryList({u"*.bak"_s}, QDir::Files);
    ASSERT_EQ(files.size(), 1);
    // The message names the file written.
    EXPECT_EQ(m_prompter.last(), u"Backup Taken Successfully: "_s + backups.filePath(files.front()));

    db.exec(u"update convo set fname = 'CHANGED'"_s);
    auto *form = open<RestoreScreen>(u"N45"_s);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), u"Restore Database . . ."_s);
    bool ended = false;
    form->setEndProgram([&ended] { ended = true; });
    // Typed as it stands, Enter to the button and Enter again.
    ASSERT_EQ(test::focused(), form->text());
    test::enter(m_folder->folder().filePath(u"Backup/none.bak"_s));
    EXPECT_EQ(test::focused(), form->cmd(0));
    test::press(Qt::Key_Return);
    EXPECT_EQ(m_prompter.last(), u"Invalid File path!!"_s);
    EXPECT_EQ(test::outcomeOf(form), u"Not restored"_s);
    EXPECT_EQ(test::focused(), form->text());
    EXPECT_FALSE(ended);

    m_prompter.answerFile(backups.filePath(files.front()));
    form->cmd(1)->click();
    EXPECT_EQ(form->text()->text(), backups.filePath(files.front()));
    shoot(form, u"restoredb"_s);
    m_prompter.answer(PromptAnswer::No);
    form->cmd(0)->click();
    EXPECT_EQ(test::outcomeOf(form), u"Not restored: the database was kept"_s);
    EXPECT_FALSE(ended);
    m_prompter.answer(PromptAnswer::Yes);
    form->cmd(0)->click();
    EXPECT_EQ(m_prompter.last(), u"Restored Database Successfully!!. System will restart now!!"_s);
    EXPECT_TRUE(ended);
    // What the copy holds and what a backup removes: BackupTest.
    EXPECT_EQ(value(u"select fname from convo where fregno = 'R1'"_s), u"ASHA"_s);
}

INSTANTIATE_TEST_SUITE_P(Backends, UtilityScreensTest, test::bothBackends(), test::backendName);

} // namespace
