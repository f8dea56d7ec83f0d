// SPDX-License-Identifier: GPL-3.0-or-later
// The four import screens opened from the main window's menu and driven as a clerk
// drives them, offscreen: file and folder choice, the checks before a run, the
// messages and counts of the runs, the progress bar and status bar around a run, and
// the main window's caption once the online link has been opened.
#include "../../shell/forms/formsfixture.h"
#include "support/windowdriver.h"
#include "candidates/imports/cnvwriter.h"
#include "candidates/imports/importscreens.h"
#include "importfixture.h"

#include "shell/forms/commandactions.h"
#include "shell/forms/commanddispatcher.h"
#include "shell/forms/menutree.h"
#include "shell/forms/screenregistry.h"
#include "shell/ui/mainwindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QSqlRecord>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::TestBackend;

namespace {

// The beginning of the final message: the total and the new rows; the other counts follow.
QString imported(int total, int inserted)
{
    return u"Imported Successfully\r\rTotal Records: %1\rImported Records: %2\r"_s.arg(total).arg(inserted);
}

class ImportScreensTest : public ::testing::TestWithParam<TestBackend>
{
protected:
    void SetUp() override
    {
        if (!test::backendAvailable(GetParam()))
            GTEST_SKIP();
        m_folder = std::make_unique<test::LoggedInFolder>(GetParam());
        registerImportScreens(m_screens);
        m_folder->login(u"ADMIN"_s, u"admin"_s, u"C26"_s);
        // The masters the files' candidates name: imports check their codes.
        m_folder->db().exec(u"insert into degree (fdegree, fdescpn) values ('BA', 'ARTS'), ('BSC', 'SCIENCE')"_s);
        m_folder->db().exec(
            u"insert into college (fcollcode, fcollname) values ('C01', 'ONE'), ('KSC', 'AUTONOMOUS')"_s);
        m_folder->db().exec(u"insert into masuniv (funivcode, funivname) values ('U27', 'UNIVERSITY')"_s);
        m_window = std::make_unique<MainWindow>(m_folder->session, m_prompter, m_screens);
        m_window->applyPermissions();
        test::showActive(*m_window);
    }
    template <typename Screen> Screen *open(const QString &menuCode)
    {
        return qobject_cast<Screen *>(test::openScreen(*m_window, menuCode));
    }
    // A click as the mouse gives it, then whatever the click set going.
    static void click(QAbstractButton *button)
    {
        QTest::mouseClick(button, Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    static void shoot(QWidget *screen, const QString &name)
    {
        QWidget *frame = screen->parentWidget() ? screen->parentWidget() : screen;
        EXPECT_TRUE(frame->grab().save(QStringLiteral(SCROLLWISE_SHOT_DIR) + u"/importscreen-"_s + name + u".png"_s));
    }
    QString writeStu(const QString &name, const std::vector<test::StuRow> &rows, bool directoryFields = false)
    {
        test::writeStuFile(m_inputs.filePath(name), rows, directoryFields);
        return m_inputs.filePath(name);
    }
    // The first row of a query, its columns joined by "|" when there are several.
    QString value(const QString &sql)
    {
        Rows rows = m_folder->db().query(sql);
        QStringList values;
        const int columns = rows.next() ? rows.query().record().count() : 0;
        for (int i = 0; i < columns; ++i)
            values << rows.text(i);
        return values.join(u'|');
    }
    // No run going: the bar hidden, no run's status left in the hint panel.
    void expectIdle(ImportScreen *screen)
    {
        EXPECT_FALSE(screen->progressBar()->isVisible());
        EXPECT_EQ(screen->progressBar()->value(), 0);
        EXPECT_FALSE(screen->hint().contains(u"Importing"_s, Qt::CaseInsensitive)) << screen->hint().toStdString();
    }

    std::unique_ptr<test::LoggedInFolder> m_folder;
    test::ScriptedPrompter m_prompter;
    ScreenRegistry m_screens;
    std::unique_ptr<MainWindow> m_window;
    QTemporaryDir m_inputs;
};

test::StuRow stu(const QString &regno, const QString &name, const QString &degree = u"BA"_s)
{
    return {regno,     name,   degree, {},      u"C01"_s, u"FC"_s,        u"APRIL 2026"_s,
            u"2026"_s, u"R"_s, u"F"_s, u"GM"_s, u"I"_s,   u"APRIL 2026"_s};
}

// Each screen opens with the focus in its first box and its tip in the hint panel (how
// Enter and Up walk the boxes is the screen gallery's test).
TEST_P(ImportScreensTest, EachMenuItemOpensItsScreenWithTheRecordCommandsOff)
{
    struct Expected
    {
        QString code, formName, caption, hint;
    };
    const Expected screens[] = {
        {u"N28"_s, u"IMPORTDATA"_s, u"Import Data Filewise. . ."_s, u"Select / Enter File Path, Maximum length 1024"_s},
        {u"N21"_s, u"IMPORTDATADIR"_s, u"Import Data Directorywise. . ."_s,
         u"The folder whose .cnv files are imported, Maximum length 1024"_s},
        {u"N2C"_s, u"IMPORTDATA_AUTO"_s, u"Import Data Filewise. . ."_s,
         u"University code, F1-Help, Maximum length 4"_s},
        {u"N2D"_s, u"IMPORTAPPONLINE"_s, u"Import Application Data from Online . . ."_s,
         u"Starts the import; Enter presses it"_s}};
    for (const Expected &e : screens) {
        auto *screen = open<ImportScreen>(e.code);
        ASSERT_NE(screen, nullptr);
        EXPECT_EQ(screen->objectName(), e.formName);
        EXPECT_EQ(screen->windowTitle(), e.caption);
        EXPECT_EQ(m_window->statusPanel(5)->text(), e.caption);
        // No record commands; Exit (Ctrl+T) closes the screen.
        ToolStates onlyExit{};
        onlyExit[slot(Command::Exit)] = true;
        EXPECT_EQ(m_window->commandActions().states(), onlyExit) << e.code.toStdString();
        EXPECT_EQ(screen->hint(), e.hint) << e.code.toStdString();
        expectIdle(screen);
        shoot(screen, e.formName.toLower());
        screen->unload();
        QCoreApplication::processEvents();
    }
    EXPECT_TRUE(m_prompter.shown().empty()) << m_prompter.last().toStdString();
}

TEST_P(ImportScreensTest, TheFileScreenChecksThePathAndTheFileFirst)
{
    auto *screen = open<ImportDataScreen>(u"N28"_s);
    ASSERT_NE(screen, nullptr);
    click(screen->cmd(1));
    EXPECT_EQ(m_prompter.last(), u"Path Should be Entered"_s);
    EXPECT_EQ(m_prompter.shown().back().icon, PromptIcon::Exclamation);
    EXPECT_EQ(QApplication::focusWidget(), screen->text(0));
    EXPECT_EQ(screen->outcome(), u"Nothing imported"_s);

    screen->text(0)->setText(m_inputs.filePath(u"NOSUCHSTU.cnv"_s));
    click(screen->cmd(1));
    EXPECT_EQ(m_prompter.last(), u"Invalid Path"_s);
    EXPECT_EQ(QApplication::focusWidget(), screen->text(0));

    // A file without a field the import reads is named with the field, and nothing of it imported.
    const QString broken = m_inputs.filePath(u"BROKENSTU.cnv"_s);
    CnvWriter(broken, {{u"FREGNO"_s, 'C', 10}, {u"FCOLLCODE"_s, 'C', 5}, {u"FDEGREE"_s, 'C', 5}})
        .add({u"R1"_s, u"C01"_s, u"BA"_s});
    screen->text(0)->setText(broken);
    click(screen->cmd(1));
    EXPECT_TRUE(m_prompter.last().startsWith(u"Error Occurred : "_s)) << m_prompter.last().toStdString();
    EXPECT_TRUE(m_prompter.last().contains(u"BROKENSTU.cnv"_s)) << m_prompter.last().toStdString();
    EXPECT_TRUE(m_prompter.last().contains(u"Field: FNAME"_s, Qt::CaseInsensitive)) << m_prompter.last().toStdString();
    EXPECT_EQ(value(u"select count(*) from convo"_s), u"0"_s);
    expectIdle(screen);
    EXPECT_TRUE(screen->cmd(1)->isEnabled());
}

TEST_P(ImportScreensTest, TheFileScreenImportsTheChosenFileAndSaysTheCounts)
{
    const QString path =
        writeStu(u"2026BASTU.cnv"_s, {stu(u"R1"_s, u"ANU O'NEIL"_s), stu(u"R2"_s, u"RAVI"_s), stu(u"R3"_s, {})});
    auto *screen = open<ImportDataScreen>(u"N28"_s);
    ASSERT_NE(screen, nullptr);
    // A cancelled dialog leaves the path alone; a chosen file fills it.
    screen->text(0)->setText(u"typed"_s);
    m_prompter.answerFile(std::nullopt);
    click(screen->cmd(0));
    EXPECT_EQ(screen->text(0)->text(), u"typed"_s);
    m_prompter.answerFile(path);
    click(screen->cmd(0));
    EXPECT_EQ(screen->text(0)->text(), path);

    // Enter leaves the path for the button, and presses it there.
    screen->text(0)->setFocus();
    test::press(Qt::Key_Return);
    EXPECT_EQ(test::focused(), screen->cmd(1));
    test::press(Qt::Key_Return);
    EXPECT_TRUE(m_prompter.last().startsWith(imported(3, 2))) << m_prompter.last().toStdString();
    EXPECT_EQ(screen->outcome(), u"2026BASTU.cnv: total records: 3, imported records: 2, refreshed: 0, "
                                 "printed left alone: 0, skipped: 1, rejected: 0"_s);
    EXPECT_EQ(value(u"select fname, fconvocode, fusername from convo where fregno = 'R1'"_s),
              u"ANU O`NEIL|C26|ADMIN"_s);
    expectIdle(screen);
    EXPECT_TRUE(screen->cmd(1)->isEnabled());
    shoot(screen, u"importdata-done"_s);

    // The same file again refreshes every row and inserts none.
    click(screen->cmd(1));
    EXPECT_TRUE(m_prompter.last().startsWith(imported(3, 0))) << m_prompter.last().toStdString();
    EXPECT_EQ(value(u"select count(*) from convo"_s), u"2"_s);
    EXPECT_FALSE(m_prompter.answersLeft());
}

TEST_P(ImportScreensTest, TheOnlineOnlyBoxIsOfferedOnlyWithTheUpload)
{
    auto *screen = open<ImportDirectoryScreen>(u"N21"_s);
    ASSERT_NE(screen, nullptr);
    EXPECT_FALSE(screen->onlineOnlyBox()->isVisible());
    click(screen->uploadToOnlineBox());
    EXPECT_TRUE(screen->onlineOnlyBox()->isVisible());
    click(screen->onlineOnlyBox());
    EXPECT_TRUE(screen->onlineOnlyBox()->isChecked());
    click(screen->uploadToOnlineBox());
    EXPECT_FALSE(screen->onlineOnlyBox()->isVisible());
    EXPECT_FALSE(screen->onlineOnlyBox()->isChecked());
}

TEST_P(ImportScreensTest, TheFolderScreenListsImportsAndAsksAboutEarlierConvocations)
{
    const QString folder = m_inputs.filePath(u"results"_s);
    writeStu(u"results/sub/2026BCOMSTU.cnv"_s, {stu(u"R9"_s, u"NINE"_s, u"BCOM"_s)}, true);
    writeStu(u"results/2026BASTU.cnv"_s, {stu(u"R1"_s, u"ONE"_s), stu(u"R2"_s, u"TWO"_s)}, true);
    writeStu(u"results/NOTES.cnv"_s, {stu(u"X1"_s, u"SKIPPED"_s)}, true);
    {
        CnvWriter degrees(m_inputs.filePath(u"results/2026DEG.cnv"_s), CnvWriter::degreeFields());
        degrees.add({u"BCOM"_s, u"BACHELOR OF COMMERCE"_s});
    }
    // R2 already belongs to the previous convocation.
    m_folder->db().exec(
        u"insert into convo (fregno, fname, fdegree, fcollcode, fconvocode) values ('R2', 'OLD', 'BA', 'C01', 'C25')"_s);

    auto *screen = open<ImportDirectoryScreen>(u"N21"_s);
    ASSERT_NE(screen, nullptr);
    click(screen->cmd(1));
    EXPECT_EQ(m_prompter.last(), u"No files are selected for Importing"_s);

    // A folder that is not there is named as the box is left.
    screen->folderBox()->setFocus();
    test::enter(folder + u"/nosuch"_s);
    EXPECT_EQ(m_prompter.last(), u"Folder not found: "_s + folder + u"/nosuch"_s);
    EXPECT_EQ(test::focused(), screen->folderBox());

    m_prompter.answerFile(folder);
    click(screen->cmd(0));
    EXPECT_EQ(screen->folderBox()->text(), folder);
    ASSERT_EQ(screen->fileBox()->count(), 4);
    QStringList listed;
    for (int i = 0; i < screen->fileBox()->count(); ++i)
        listed << screen->fileBox()->item(i)->text();
    // The degree file first, since the candidates' codes come with it.
    EXPECT_EQ(listed, (QStringList{u"2026DEG.cnv"_s, u"2026BASTU.cnv"_s, u"sub/2026BCOMSTU.cnv"_s, u"NOTES.cnv"_s}));
    shoot(screen, u"importdatadir-listed"_s);

    m_prompter.clear();
    m_prompter.answer(PromptAnswer::No);
    // At the question about R2 the candidates file has been read; its rows wait for the answer.
    bool watched = false;
    m_prompter.onQuestion = [&] {
        watched = true;
        EXPECT_TRUE(screen->progressBar()->isVisible());
        EXPECT_EQ(screen->progressBar()->value(), 100);
        EXPECT_EQ(screen->hint(), u"Importing, Please wait, College: C01, Reg. No.: R2 Record No.: 2 / 2"_s);
        EXPECT_EQ(screen->windowTitle(), u"Import Data Directorywise . . . Total Files Selected: 4, "
                                         "Imported Files : 1, Remaining Files : 3"_s);
        EXPECT_EQ(screen->fileBox()->currentRow(), 1);
        EXPECT_FALSE(screen->cmd(1)->isEnabled());
        shoot(screen, u"importdatadir-running"_s);
    };
    click(screen->cmd(1));
    m_prompter.onQuestion = nullptr;
    EXPECT_TRUE(watched);
    ASSERT_EQ(m_prompter.shown().size(), 2u) << m_prompter.texts().join(u" / "_s).toStdString();
    EXPECT_TRUE(m_prompter.shown().front().question);
    EXPECT_TRUE(m_prompter.shown().front().text.startsWith(u"This Student (R2) may Applied for Improvement!!"_s));
    EXPECT_TRUE(m_prompter.last().startsWith(u"Imported data Successfully\r\r"_s)) << m_prompter.last().toStdString();
    // The degree file's new degree, R1 and R9 are new; R2, answered No, is skipped.
    EXPECT_EQ(screen->outcome(), u"3 of 4 files imported: 3 new, 0 refreshed, 1 skipped, 0 rejected"_s);
    EXPECT_EQ(value(u"select fconvocode, fname from convo where fregno = 'R2'"_s), u"C25|OLD"_s);
    EXPECT_EQ(value(u"select count(*) from convo where fconvocode = 'C26' and fregno in ('R1', 'R9')"_s), u"2"_s);
    EXPECT_EQ(value(u"select fdescpn from degree where fdegree = 'BCOM'"_s), u"BACHELOR OF COMMERCE"_s);
    // The last file taken stays highlighted; the caption is the screen's own again.
    EXPECT_EQ(screen->fileBox()->currentRow(), 3);
    EXPECT_EQ(screen->windowTitle(), u"Import Data Directorywise. . ."_s);
    expectIdle(screen);
}

TEST_P(ImportScreensTest, TheAutonomousScreenWantsEveryCodeThenImportsTheFile)
{
    const QString path = m_inputs.filePath(u"auto.csv"_s);
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("SLNO|REGNO|NAME|SEX|CASTE|5|6|7|8|9|10|11|12|13|CLASS|YEAR|TYPE|DATE\r\n"
                "1|101|ANU D'SOUZA|F|SC|a|b|c|d|e|f|g|h|i|NEWC|2026|R|APRIL 2026\r\n"
                "\r\n"
                "2|102|RAVI|M|GM|a|b|c|d|e|f|g|h|i|NEWC|2026|R|APRIL 2026\r\n");
    }
    auto *screen = open<ImportAutonomousScreen>(u"N2C"_s);
    ASSERT_NE(screen, nullptr);
    ASSERT_EQ(test::focused(), screen->text(0));
    m_prompter.answerFile(path);
    click(screen->cmd(0));
    EXPECT_EQ(screen->text(3)->text(), path);
    test::type(u"u27"_s); // typed codes are capitals
    EXPECT_EQ(screen->text(0)->text(), u"U27"_s);
    click(screen->cmd(1));
    EXPECT_EQ(m_prompter.last(), u"Degree, College code and Univ code should be entered"_s);
    EXPECT_EQ(QApplication::focusWidget(), screen->text(1));
    EXPECT_EQ(screen->outcome(), u"Nothing imported"_s);
    EXPECT_EQ(value(u"select count(*) from convo"_s), u"0"_s);

    // Each code is checked against its master as it is left, and described beside it.
    screen->text(0)->setFocus();
    test::press(Qt::Key_Return);
    EXPECT_EQ(screen->text(10)->text(), u"UNIVERSITY"_s);
    ASSERT_EQ(test::focused(), screen->text(1));
    test::enter(u"zz"_s);
    EXPECT_EQ(m_prompter.last(), u"Invalid College Code"_s);
    ASSERT_EQ(test::focused(), screen->text(1));
    EXPECT_EQ(screen->text(1)->selectedText(), u"ZZ"_s);
    test::enter(u"ksc"_s);
    EXPECT_EQ(screen->text(11)->text(), u"AUTONOMOUS"_s);
    ASSERT_EQ(test::focused(), screen->text(2));
    // F1 lists the degrees; the one chosen comes into the box.
    QStringList listed;
    test::whenModalOpens(screen, [&listed](QWidget &window) {
        const QAbstractItemModel *model = window.findChild<QTableView *>(u"DataList1"_s)->model();
        for (int row = 0; row < model->rowCount(); ++row)
            listed << model->index(row, 0).data().toString().trimmed();
        auto *search = window.findChild<QLineEdit *>(u"txtSearch"_s);
        QTest::keyClicks(search, u"bsc"_s);
        QTest::keyClick(search, Qt::Key_Return);
    });
    test::press(Qt::Key_F1);
    EXPECT_EQ(listed, (QStringList{u"BA"_s, u"BSC"_s}));
    EXPECT_EQ(screen->text(2)->text(), u"BSC"_s);
    ASSERT_TRUE(QTest::qWaitFor([screen] { return test::focused() == screen->text(2); }, 1000));
    test::press(Qt::Key_Return);
    EXPECT_EQ(screen->text(12)->text(), u"SCIENCE"_s);
    EXPECT_EQ(test::focusWalk(Qt::Key_Return, 1), QStringList{u"cmd_1"_s});
    test::press(Qt::Key_Return);
    EXPECT_TRUE(m_prompter.last().startsWith(imported(2, 2))) << m_prompter.last().toStdString();
    EXPECT_TRUE(screen->outcome().startsWith(u"auto.csv: total records: 2, imported records: 2"_s))
        << screen->outcome().toStdString();
    EXPECT_EQ(value(u"select fname, funivcode, fdegree, fcollcode from convo where fregno = 'ZQ101'"_s),
              u"ANU D`SOUZA|U27|BSC|KSC"_s);
    expectIdle(screen);
    shoot(screen, u"importdata_auto-done"_s);
}

TEST_P(ImportScreensTest, AnUnreachablePortalIsReportedAndTheMainWindowTakesTheOnlineTitle)
{
    // A closed port on the loopback: the link fails at once.
    test::TestPortal::writeLink(m_folder->folder(), u"003"_s, u"127.0.0.1:9"_s, u"nobody"_s, u"x"_s, u"portal"_s,
                                u"VARADA UNIVERSITY ONLINE"_s);
    auto *screen = open<ImportOnlineScreen>(u"N2D"_s);
    ASSERT_NE(screen, nullptr);
    EXPECT_FALSE(m_window->windowTitle().contains(u"VARADA UNIVERSITY ONLINE"_s));
    click(screen->cmd(1));
    EXPECT_TRUE(m_prompter.last().startsWith(u"Error in connecting to database!!"_s))
        << m_prompter.last().toStdString();
    EXPECT_EQ(screen->outcome(), u"Nothing imported"_s);
    EXPECT_EQ(m_folder->session.instTitle, u"VARADA UNIVERSITY ONLINE"_s);
    EXPECT_EQ(m_window->windowTitle(), u"Scrollwise, VARADA UNIVERSITY ONLINE"_s);
    expectIdle(screen);
}

INSTANTIATE_TEST_SUITE_P(Backends, ImportScreensTest, ::testing::Values(TestBackend::SQLite), test::backendName);

// The online screens against a real portal database on the test MariaDB server.
class ImportScreensPortalTest : public ImportScreensTest
{
protected:
    void SetUp() override
    {
        ImportScreensTest::SetUp();
        if (IsSkipped() || !test::backendAvailable(TestBackend::MariaDB))
            GTEST_SKIP();
        m_portal = std::make_unique<test::TestPortal>(m_folder->folder(), u"003"_s, u"VARADA UNIVERSITY ONLINE"_s);
    }
    std::unique_ptr<test::TestPortal> m_portal;
};

TEST_P(ImportScreensPortalTest, TheOnlineScreenTakesOverPaidApplications)
{
    m_portal->db().exec(u"insert into dcstud (fregno) values ('R1')"_s);
    m_portal->db().exec(
        u"insert into dctran (fappno, fregno, fname, fmobile, femail, fpostaddr1, fpostaddr2, fpostaddr3, fpostaddr4, "
        "famount, fpaystatus) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s,
        {u"A1"_s, u"R1"_s, u"ANU"_s, u"9876543210"_s, u"anu@mail.test"_s, u"1, O'BRIEN ROAD"_s, u"TOWN"_s, u"DIST"_s,
         u"STATE"_s, 750.0, u"success"_s});
    m_folder->db().exec(
        u"insert into convo (fregno, fname, fdegree, fcollcode, fconvocode) values ('R1', 'ANU', 'BA', 'C01', 'C26')"_s);

    auto *screen = open<ImportOnlineScreen>(u"N2D"_s);
    ASSERT_NE(screen, nullptr);
    click(screen->cmd(1));
    EXPECT_TRUE(m_prompter.last().startsWith(u"Completed Successfully\r\r"_s)) << m_prompter.last().toStdString();
    EXPECT_EQ(value(u"select count(*) from convofee where fappno = 'A1'"_s), u"1"_s);
    EXPECT_EQ(value(u"select faddr1, ffeepaid from convo where fregno = 'R1'"_s), u"1, O`BRIEN ROAD|T"_s);
    EXPECT_EQ(m_window->windowTitle(), u"Scrollwise, VARADA UNIVERSITY ONLINE"_s);
    expectIdle(screen);

    // Nothing new the second time round except the message.
    click(screen->cmd(1));
    EXPECT_TRUE(m_prompter.last().startsWith(u"Completed Successfully\r\r"_s)) << m_prompter.last().toStdString();
    EXPECT_EQ(value(u"select count(*) from convofee"_s), u"1"_s);
}

TEST_P(ImportScreensPortalTest, TheFolderScreenPublishesCandidatesToThePortalOnly)
{
    const QString folder = m_inputs.filePath(u"online"_s);
    writeStu(u"online/2026BASTU.cnv"_s, {stu(u"R1"_s, u"ONE"_s), stu(u"R2"_s, u"TWO"_s)}, true);
    auto *screen = open<ImportDirectoryScreen>(u"N21"_s);
    ASSERT_NE(screen, nullptr);
    screen->folderBox()->setText(folder);
    click(screen->uploadToOnlineBox());
    click(screen->onlineOnlyBox());
    click(screen->cmd(1));
    EXPECT_TRUE(m_prompter.last().startsWith(u"Imported data Successfully"_s)) << m_prompter.last().toStdString();
    EXPECT_EQ(m_portal->db().scalar(u"select count(*) from dcstud"_s).toInt(), 2);
    EXPECT_EQ(value(u"select count(*) from convo"_s), u"0"_s);
    EXPECT_EQ(m_window->windowTitle(), u"Scrollwise, VARADA UNIVERSITY ONLINE"_s);
    expectIdle(screen);
}

INSTANTIATE_TEST_SUITE_P(Backends, ImportScreensPortalTest, ::testing::Values(TestBackend::SQLite), test::backendName);

} // namespace
