// SPDX-License-Identifier: GPL-3.0-or-later
// The main window driven as a clerk drives it, offscreen: the menu tree as each
// user's permission string leaves it, screens opened through menus, toolbar and
// keys, and the status bar.
#include "formsfixture.h"
#include "support/windowdriver.h"

#include "shell/forms/commandactions.h"
#include "shell/forms/commanddispatcher.h"
#include "shell/core/permissions.h"
#include "shell/document/fonttable.h"
#include "shell/forms/menutree.h"
#include "shell/forms/screenregistry.h"
#include "shell/ui/mainwindow.h"
#include "support/scriptedprompter.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::TestBackend;

namespace {

// The governed codes that name an item (N46 and N48 are governed but have none).
QStringList governedItems()
{
    QStringList out;
    for (const QString &code : permissions::governedCodes().split(u'*', Qt::SkipEmptyParts)) {
        if (findMenuEntry(code))
            out.append(code);
    }
    return out;
}
const QStringList kGoverned = governedItems();
const QStringList kAlwaysOpen{u"mnuwindow"_s, u"mnuFilemain"_s, u"mnuAlt"_s, u"mnuhlpsearch"_s, u"MnuExit"_s};
const QStringList kNeverGoverned{u"N14"_s, u"N15"_s, u"N2A"_s, u"N2B"_s, u"N2C"_s,
                                 u"N2D"_s, u"N2E"_s, u"N2F"_s, u"N3A"_s};

class MainWindowTest : public ::testing::TestWithParam<TestBackend>
{
protected:
    void SetUp() override
    {
        if (!test::backendAvailable(GetParam()))
            GTEST_SKIP();
        m_folder = std::make_unique<test::LoggedInFolder>(GetParam());
        m_screens.add(u"N24"_s, {u"CERTPRINT"_s, false, [this](const FormContext &, const QString &code) {
                                     m_printingOpenedWith.append(code);
                                     auto *w = new QWidget;
                                     w->setObjectName(u"CERTPRINT"_s);
                                     w->setWindowTitle(u"Certificate Printing"_s);
                                     return w;
                                 }});
        m_screens.add(u"N2F"_s, *m_screens.find(u"N24"_s));
        m_screens.add(u"N13"_s, {u"EXAMPLE"_s, false, [](const FormContext &c, const QString &) {
                                     return new test::ExampleForm(c, u"EXAMPLE"_s);
                                 }});
    }
    std::unique_ptr<MainWindow> open(const QString &user, const QString &password, const QString &convocation)
    {
        m_folder->login(user, password, convocation);
        auto window = std::make_unique<MainWindow>(m_folder->session, m_prompter, m_screens);
        window->applyPermissions();
        window->setUpStatusBar();
        test::showActive(*window);
        return window;
    }
    static bool enabled(MainWindow &w, const QString &code) { return w.menuActions().action(code)->isEnabled(); }

    std::unique_ptr<test::LoggedInFolder> m_folder;
    test::ScriptedPrompter m_prompter;
    ScreenRegistry m_screens;
    QStringList m_printingOpenedWith;
};

TEST_P(MainWindowTest, TheTreeIsCompleteWithItsCaptionsCodesAndConvocationFlagsUnderTheCentredCaption)
{
    m_folder->db().exec(u"update control set funitcode = '000'"_s); // an institution without a title
    auto w = open(u"admin"_s, u"admin"_s, u"C26"_s); // the administrator in any letter case has every item
    for (QAction *a : w->menuActions().actions())
        EXPECT_TRUE(a->isSeparator() || a->isEnabled()) << a->objectName().toStdString();
    EXPECT_EQ(m_folder->session.instTitle, u"CONVO"_s);
    // Half of five rounds to the even two: 78 blanks.
    EXPECT_EQ(w->windowTitle(), QString(78, u' ') + u"CONVO"_s);
    QStringList tops;
    for (QAction *a : w->menuBar()->actions())
        tops.append(a->objectName());
    EXPECT_EQ(tops, (QStringList{u"N1"_s, u"N2"_s, u"N3"_s, u"N4"_s, u"mnuwindow"_s, u"mnuFilemain"_s, u"MnuExit"_s}));
    // Every menu code of the governed list and every code outside it is an action of the window.
    for (const QString &code : kGoverned + kNeverGoverned)
        EXPECT_NE(w->menuActions().action(code), nullptr) << code.toStdString();
    EXPECT_EQ(w->menuActions().action(u"N22"_s)->text(), u"&Student Entry"_s);
    EXPECT_EQ(w->menuActions().action(u"N2D"_s)->text(), u"Import App Data (&Online)"_s);
    EXPECT_TRUE(findMenuEntry(u"N22"_s)->convocationCommand);
    EXPECT_FALSE(findMenuEntry(u"N2B"_s)->convocationCommand);
    // The Alternate Keys submenu carries the fourteen commands with their tags and keys.
    QMenu *keys = w->findChild<QMenu *>(u"mnuAlt_menu"_s);
    ASSERT_NE(keys, nullptr);
    ASSERT_EQ(keys->actions().size(), kCommandCount);
    EXPECT_EQ(keys->actions().at(0)->objectName(), u"mnuFile_1"_s);
    EXPECT_EQ(keys->actions().at(0)->data().toString(), u"add"_s);
    EXPECT_EQ(keys->actions().at(5)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_T));
    EXPECT_EQ(keys->actions().at(13)->text(), u"&Last"_s);
}

// Permission strings as the security screen and hand edits have left them, and the
// menus every user has.
TEST_P(MainWindowTest, AwkwardPermissionStringsGiveTheRightMenu)
{
    struct Case
    {
        QString permissions;
        QStringList granted; // governed codes that end up enabled
    };
    const std::vector<Case> cases = {
        {QString(), {}},
        {u"*"_s, {}},
        {u"N99*X1**"_s, {}},
        {u"N31*N31*N31"_s, {u"N3"_s, u"N31"_s}},
        {u"**N12**"_s, {u"N1"_s, u"N12"_s}},
        {u"N2*N11"_s, {u"N1"_s, u"N11"_s, u"N2"_s}},
        // One granted item brings its top menu and nothing else that is governed.
        {u"N21"_s, {u"N2"_s, u"N21"_s}},
        // Security and restore stay with the administrator.
        {u"N4*N41*N43*N45"_s, {u"N4"_s, u"N41"_s}},
    };
    int n = 0;
    for (const Case &c : cases) {
        const QString user = u"U"_s + QString::number(++n);
        m_folder->addUser(user, u"pw"_s, c.permissions);
        auto w = open(user, u"pw"_s, u"C26"_s);
        for (const QString &code : kGoverned)
            EXPECT_EQ(enabled(*w, code), c.granted.contains(code))
                << "permissions \"" << c.permissions.toStdString() << "\", item " << code.toStdString();
        for (const QString &code : kNeverGoverned + kAlwaysOpen)
            EXPECT_TRUE(enabled(*w, code)) << code.toStdString();
    }
}

TEST_P(MainWindowTest, ADisabledItemCannotBeChosenFromTheMenu)
{
    m_folder->addUser(u"CLERK"_s, u"pw"_s, u"N1*N12"_s);
    auto w = open(u"CLERK"_s, u"pw"_s, u"C26"_s);
    QMenu *masters = w->findChild<QMenu *>(u"N1_menu"_s);
    ASSERT_NE(masters, nullptr);
    test::chooseFromMenu(*w, masters, w->menuActions().action(u"N13"_s));
    EXPECT_TRUE(w->mdiArea()->subWindowList().isEmpty());
    w->openScreen(u"N13"_s); // nor when asked for directly
    EXPECT_TRUE(w->mdiArea()->subWindowList().isEmpty());
    test::chooseFromMenu(*w, masters, w->menuActions().action(u"N12"_s));
    ASSERT_EQ(w->mdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(w->mdiArea()->subWindowList().first()->widget()->objectName(), u"N12"_s);
}

TEST_P(MainWindowTest, UnbuiltScreensOpenANotYetAvailableChildOnceAndThePrintingScreenOnce)
{
    auto w = open(u"ADMIN"_s, u"admin"_s, u"C26"_s);
    w->menuActions().action(u"N33"_s)->trigger();
    w->menuActions().action(u"N33"_s)->trigger();
    ASSERT_EQ(w->mdiArea()->subWindowList().size(), 1);
    QMdiSubWindow *sub = w->mdiArea()->subWindowList().first();
    EXPECT_EQ(sub->windowTitle(), u"Certificate Printed List"_s);
    EXPECT_TRUE(sub->widget()->findChild<QLabel *>(u"notYetAvailable"_s)->text().contains(u"not yet available"_s));
    EXPECT_EQ(w->statusPanel(5)->text(), u"Certificate Printed List"_s);
    // A child that takes no commands leaves the toolbar with nothing to offer.
    for (int i = 1; i <= kCommandCount; ++i)
        EXPECT_FALSE(w->commandActions().isEnabled(commandAt(i)));
    // The printing screen opened twice keeps its first mode.
    w->menuActions().action(u"N2F"_s)->trigger();
    w->menuActions().action(u"N24"_s)->trigger();
    EXPECT_EQ(m_printingOpenedWith, (QStringList{u"N2F"_s}));
    EXPECT_EQ(w->mdiArea()->subWindowList().size(), 2);
}

TEST_P(MainWindowTest, TheAdministrativeConvocationOpensNoConvocationCommand)
{
    auto w = open(u"ADMIN"_s, u"admin"_s, u"ADMN"_s);
    EXPECT_FALSE(enabled(*w, u"N22"_s));
    EXPECT_FALSE(enabled(*w, u"N14"_s));
    EXPECT_TRUE(enabled(*w, u"N2B"_s));
    EXPECT_TRUE(enabled(*w, u"N43"_s));
    // Even asked directly, the screen does not open.
    w->openScreen(u"N22"_s);
    w->openScreen(u"N24"_s);
    EXPECT_TRUE(w->mdiArea()->subWindowList().isEmpty());
    EXPECT_TRUE(m_printingOpenedWith.isEmpty());
    w->openScreen(u"N2B"_s);
    EXPECT_EQ(w->mdiArea()->subWindowList().size(), 1);
}

TEST_P(MainWindowTest, StatusBarShowsVersionSessionAndClicksAnswerAndHelpPointsAtItsPage)
{
    auto w = open(u"ADMIN"_s, u"admin"_s, u"C26"_s);
    EXPECT_TRUE(w->statusPanel(3)->text().startsWith(u"Version:"_s));
    EXPECT_TRUE(w->statusPanel(4)->text().startsWith(u"C26 / "_s));
    EXPECT_TRUE(w->statusPanel(4)->text().endsWith(u" / ADMIN"_s));
    EXPECT_EQ(w->statusPanel(1)->text(), QDate::currentDate().toString(u"dd/MM/yyyy"_s));
    // Without the legacy Kannada fonts the status bar says once that Kannada is read through
    // Unicode, in a panel of its own: the date, the convocation and the user stay in view.
    const auto *notice = w->findChild<QLabel *>(u"StatusBar1_notice"_s);
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->toolTip(), FontTable::kannadaNotice());
    if (!FontTable::isInstalled(u"Nudi 01 e"_s)) {
        EXPECT_TRUE(notice->isVisible());
        EXPECT_TRUE(notice->toolTip().contains(u"\"Nudi 01 e\""_s));
        EXPECT_TRUE(notice->toolTip().contains(u"Kannada is shown through Unicode"_s));
    }
    for (int panel : {1, 4})
        EXPECT_TRUE(w->statusPanel(panel)->isVisible()) << panel;
    QTest::mouseClick(w->statusPanel(4), Qt::LeftButton);
    QTest::mouseClick(w->statusPanel(5), Qt::LeftButton);
    EXPECT_EQ(m_prompter.texts(), (QStringList{u"option to change user"_s, u"About the application"_s}));
    // Help search points at the configured page; a missing page is said, not opened.
    EXPECT_EQ(w->helpPageUrl(), QUrl::fromLocalFile(m_folder->folder().filePath(u"Help/index.html"_s)));
    w->menuActions().action(u"mnuhlpsearch"_s)->trigger();
    EXPECT_TRUE(m_prompter.last().startsWith(u"The help page "_s));
}

TEST_P(MainWindowTest, QuittingAsksFirstFromTheMenuAndFromTheWindow)
{
    auto w = open(u"ADMIN"_s, u"admin"_s, u"C26"_s);
    m_prompter.answer(PromptAnswer::No);
    w->menuActions().action(u"MnuExit"_s)->trigger();
    EXPECT_TRUE(w->isVisible());
    m_prompter.answer(PromptAnswer::No);
    w->close();
    EXPECT_TRUE(w->isVisible());
    ASSERT_EQ(m_prompter.shown().size(), 2u);
    EXPECT_EQ(m_prompter.shown()[0].text, u"Are You Sure About Quiting ?"_s);
    EXPECT_EQ(m_prompter.shown()[1].text, u"Are You sure about Quiting ?"_s);
    EXPECT_EQ(m_prompter.shown()[1].icon, PromptIcon::Critical);
    m_prompter.answer(PromptAnswer::Yes);
    w->menuActions().action(u"MnuExit"_s)->trigger();
    EXPECT_FALSE(w->isVisible());
}

TEST_P(MainWindowTest, LoadingReadsTheSettingsRowAndRemovesLeftoverReports)
{
    m_folder->db().exec(u"update control set fsignauth1 = 'REGISTRAR', ffontsize = NULL, fphone = '0821-123', "
                        "ffax = NULL, femail = 'cs@uni.in', ftdcol = NULL, ftocol = '&HFF00'"_s);
    const QString root = m_folder->folder().root();
    for (const QString &name : {u"REP001.Prn"_s, u"rep002.txt"_s, u"Rep003.DOC"_s, u"report.csv"_s}) {
        QFile f(root + u'/' + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    auto w = open(u"ADMIN"_s, u"admin"_s, u"C26"_s);
    const Session &s = m_folder->session;
    EXPECT_EQ(s.signAuthority1, u"REGISTRAR"_s);
    EXPECT_EQ(s.fontSize, u"8"_s);
    EXPECT_EQ(s.contactLine, u"Tel - 0821-123, E-mail: cs@uni.in"_s);
    EXPECT_EQ(s.fieldColour, u"&HFFFFFF"_s);
    EXPECT_EQ(s.editColour, u"&HFF00"_s);
    for (const QString &name : {u"REP001.Prn"_s, u"rep002.txt"_s, u"Rep003.DOC"_s, u"report.csv"_s})
        EXPECT_EQ(QFile::exists(root + u'/' + name), name == u"report.csv"_s) << name.toStdString();
}

TEST_P(MainWindowTest, DoubleClickOnTheEmptyAreaChoosesTheBackgroundPicture)
{
    auto w = open(u"ADMIN"_s, u"admin"_s, u"C26"_s);
    const QString notAPicture = m_folder->folder().filePath(u"notes.txt"_s);
    QFile text(notAPicture);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a picture");
    text.close();
    const QString picture = m_folder->folder().filePath(u"wall.png"_s);
    QImage red(8, 8, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(picture));

    m_prompter.answerFile(notAPicture);
    QTest::mouseDClick(w->mdiArea()->viewport(), Qt::LeftButton);
    EXPECT_EQ(m_prompter.shown().back().icon, PromptIcon::Critical);
    EXPECT_TRUE(m_prompter.last().contains(u"notes.txt"_s));
    m_prompter.answerFile(picture);
    QTest::mouseDClick(w->mdiArea()->viewport(), Qt::LeftButton);
    EXPECT_EQ(w->mdiArea()->background().textureImage().pixelColor(0, 0), QColor(Qt::red));
}

INSTANTIATE_TEST_SUITE_P(Backends, MainWindowTest, sw::test::bothBackends(), test::backendName);

} // namespace
