// SPDX-License-Identifier: GPL-3.0-or-later
// Every screen of the menu, opened through the main window on the demonstration
// folder as a clerk would open it, and photographed: build/screens/<code>-<form>.png.
// A screen must open without an error message and draw something; menu codes that
// have no screen yet are listed in build/screens/not-yet-available.txt, not failed.
#include "app/demo/demofolder.h"
#include "candidates/candidatesscreens.h"
#include "certificates/certificatesscreens.h"
#include "masters/mastersscreens.h"
#include "reports/reportsscreens.h"
#include "shell/forms/childform.h"
#include "shell/forms/commanddispatcher.h"
#include "shell/forms/formsfixture.h"
#include "shell/forms/menutree.h"
#include "shell/forms/recordform.h"
#include "shell/forms/screenregistry.h"
#include "support/windowdriver.h"
#include "shell/db/database.h"
#include "shell/db/schema.h"
#include "shell/startup/loginstore.h"
#include "shell/startup/startup.h"
#include "shell/ui/helpwindow.h"
#include "shell/ui/listdialog.h"
#include "shell/ui/noticepanel.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/qtprompter.h"
#include "support/scriptedprompter.h"
#include "shell/shellscreens.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <set>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

const QString kShots = QStringLiteral(SCROLLWISE_SCREENS_DIR);

// More than one colour: a screen that drew nothing is one grey or white field.
bool drawsSomething(const QImage &image)
{
    if (image.isNull())
        return false;
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); y += 3) {
        for (int x = 0; x < image.width(); x += 3) {
            if (image.pixel(x, y) != first)
                return true;
        }
    }
    return false;
}

class ScreenGallery : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        test::ScriptedPrompter prompter;
        DemoFolder::build(AppFolder(s_dir->filePath(u"demo"_s)), prompter);
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }

    void SetUp() override
    {
        registerShellScreens(m_screens);
        registerMastersScreens(m_screens);
        registerCandidatesScreens(m_screens);
        registerCertificatesScreens(m_screens);
        registerReportsScreens(m_screens);
        m_session.folder = AppFolder(s_dir->filePath(u"demo"_s));
        test::QuietStartup ui(m_prompter);
        ASSERT_EQ(Startup(m_session.folder, ui).run(m_session), Startup::Outcome::ReadyForLogin)
            << m_prompter.last().toStdString();
        ASSERT_FALSE(
            LoginStore(m_session.db()).login(m_session, u"ADMIN"_s, u"ADMIN"_s, DemoFolder::currentConvocation()));
        m_window = std::make_unique<MainWindow>(m_session, *m_windowPrompter, m_screens);
        m_window->applyPermissions();
        m_window->setUpStatusBar();
        // The office screen the tests run on (1366 x 768, see CMakeLists.txt), the window's
        // frame within it.
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        m_window->setGeometry(screen);
        test::showActive(*m_window);
        const QRect frame = m_window->frameGeometry(), inner = m_window->geometry();
        m_window->setGeometry(
            screen.marginsRemoved(QMargins(inner.left() - frame.left(), inner.top() - frame.top(),
                                           frame.right() - inner.right(), frame.bottom() - inner.bottom())));
        QDir().mkpath(kShots);
    }

    // The menu items that open something: everything under a top menu but the
    // separators and the window's own items (exit, window list, help, keys).
    static std::vector<const MenuEntry *> screenItems()
    {
        std::vector<const MenuEntry *> items;
        for (const MenuEntry &e : menuTree()) {
            if (!e.parent.isEmpty() && !e.separator && e.code.startsWith(u'N'))
                items.push_back(&e);
        }
        return items;
    }

    // Opens one screen as the menu does. A modal screen is photographed and closed
    // from inside its own event loop; a screen in the window is photographed with
    // the window around it. Returns the file written, empty when nothing opened.
    QString openAndPhotograph(const MenuEntry &item, const ScreenEntry &entry)
    {
        const QString file = kShots + u'/' + item.code + u'-' + entry.formName + u".png"_s;
        // Questions a screen asks on opening are declined; nothing is changed.
        for (int i = 0; i < 4; ++i) {
            m_prompter.answer(PromptAnswer::No);
            m_prompter.answerInput(std::nullopt);
            m_prompter.answerFile(std::nullopt);
        }
        QString written;
        QTimer modalWatch;
        modalWatch.setInterval(20);
        QObject::connect(&modalWatch, &QTimer::timeout, [&] {
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
                QCoreApplication::processEvents();
                if (dialog->grab().save(file) && drawsSomething(QImage(file)))
                    written = file;
                dialog->reject();
            }
        });
        modalWatch.start();
        m_window->menuActions().action(item.code)->trigger();
        QCoreApplication::processEvents();
        modalWatch.stop();
        if (!written.isEmpty())
            return written;
        ChildForm *form = m_window->dispatcher().activeForm();
        QMdiSubWindow *sub = m_window->mdiArea()->activeSubWindow();
        if (!form && !sub)
            return {};
        if (sub)
            sub->showMaximized();
        QCoreApplication::processEvents();
        const QImage shot = m_window->grab().toImage();
        if (!shot.save(file) || !drawsSomething(shot))
            return {};
        return file;
    }

    // The offscreen platform has no window manager to give the window the focus back
    // after a dialog or a closed screen has had it; a desktop's does.
    void keepActive()
    {
        if (QApplication::activeWindow() != m_window.get()) {
            m_window->activateWindow();
            QCoreApplication::processEvents();
        }
    }

    void closeEverything()
    {
        for (int i = 0; i < 4; ++i)
            m_prompter.answer(PromptAnswer::No);
        m_window->mdiArea()->closeAllSubWindows();
        QCoreApplication::processEvents();
    }

    static QTemporaryDir *s_dir;
    test::ScriptedPrompter m_prompter;
    // What the main window and its screens ask through.
    Prompter *m_windowPrompter = &m_prompter;
    ScreenRegistry m_screens;
    Session m_session;
    std::unique_ptr<MainWindow> m_window;
};

QTemporaryDir *ScreenGallery::s_dir = nullptr;

TEST_F(ScreenGallery, EveryRegisteredScreenOpensOnTheDemoFolderAndIsPhotographed)
{
    // First the window the clerk lands in, with every menu of the demo's administrator open.
    const QImage shot = test::renderWithMenus(*m_window);
    ASSERT_TRUE(shot.save(kShots + u"/mainwindow.png"_s));
    EXPECT_TRUE(drawsSomething(shot));
    QStringList missing, photographed, gallery;
    for (const MenuEntry *item : screenItems()) {
        const ScreenEntry *entry = m_screens.find(item->code);
        if (!entry) {
            missing << item->code + u'\t' + item->caption;
            continue;
        }
        const std::size_t shownBefore = m_prompter.shown().size();
        const QString file = openAndPhotograph(*item, *entry);
        for (std::size_t i = shownBefore; i < m_prompter.shown().size(); ++i) {
            const auto &shown = m_prompter.shown()[i];
            EXPECT_NE(shown.icon, PromptIcon::Critical)
                << item->code.toStdString() << " (" << entry->formName.toStdString()
                << ") showed an error on opening: " << shown.text.toStdString();
        }
        // A screen that does its work without a window (a question and a run) has no picture.
        if (file.isEmpty()) {
            EXPECT_GT(m_prompter.shown().size(), shownBefore)
                << item->code.toStdString() << " (" << entry->formName.toStdString()
                << ") opened nothing and said nothing";
        } else {
            photographed << file;
            gallery << item->code + u'\t' + entry->formName + u'\t' + QString(item->caption).remove(u'&') + u'\t'
                           + QFileInfo(file).fileName();
        }
        closeEverything();
    }
    // The list the help page shows the pictures by (copied to docs/screens/ with them).
    QFile listing(kShots + u"/gallery.tsv"_s);
    ASSERT_TRUE(listing.open(QIODevice::WriteOnly | QIODevice::Truncate));
    listing.write((gallery.join(u'\n') + u'\n').toUtf8());
    QFile list(kShots + u"/not-yet-available.txt"_s);
    ASSERT_TRUE(list.open(QIODevice::WriteOnly | QIODevice::Truncate));
    list.write((missing.join(u'\n') + u'\n').toUtf8());
    std::cout << photographed.size() << " screens photographed in " << kShots.toStdString() << "; " << missing.size()
              << " menu codes have no screen yet (not-yet-available.txt)\n";
    EXPECT_FALSE(photographed.isEmpty());
}

// The help page made at build time holds the clerks' guide and every picture of the
// gallery kept in docs/screens, and "Help Search" finds it beside the program.
QString shippedHelp()
{
    QFile page(QStringLiteral(SCROLLWISE_HELP_DIR) + u"/index.html"_s);
    return page.open(QIODevice::ReadOnly) ? QString::fromUtf8(page.readAll()) : QString();
}

TEST(HelpPage, ShipsTheGuideAndTheScreenGallery)
{
    const QString folder = QStringLiteral(SCROLLWISE_HELP_DIR);
    const QString html = shippedHelp();
    ASSERT_FALSE(html.isEmpty()) << folder.toStdString();
    EXPECT_TRUE(html.contains(u"A convocation"_s));
    EXPECT_TRUE(html.contains(u"<table>"_s)); // the guide's tables came through
    QFile listing(QStringLiteral(SCROLLWISE_DOCS_SCREENS) + u"/gallery.tsv"_s);
    ASSERT_TRUE(listing.open(QIODevice::ReadOnly));
    int shown = 0;
    for (const QString &line : QString::fromUtf8(listing.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
        const QString picture = line.section(u'\t', 3);
        EXPECT_TRUE(html.contains(u"screens/"_s + picture)) << picture.toStdString();
        EXPECT_TRUE(QFileInfo::exists(folder + u"/screens/"_s + picture)) << picture.toStdString();
        ++shown;
    }
    EXPECT_GT(shown, 20);
}

// F1 opens every menu item's own section: each item, each top menu and the session
// items have an anchor in the page.
TEST(HelpPage, EveryMenuItemHasItsSection)
{
    const QString html = shippedHelp();
    ASSERT_FALSE(html.isEmpty());
    QStringList codes{u"mnuLogOut"_s, u"mnuChangeConvo"_s, u"mnuClose"_s};
    for (const MenuEntry &e : menuTree()) {
        if (!e.separator)
            codes.append(e.code);
    }
    for (const QString &code : codes)
        EXPECT_TRUE(html.contains(u"name=\""_s + code + u'"')) << "no section for " << code.toStdString();
}

// The page speaks to a clerk: none of the names the program is written in reaches it.
TEST(HelpPage, NamesNoCodeOnlyWhatTheClerkSees)
{
    QString text = shippedHelp();
    ASSERT_FALSE(text.isEmpty());
    // What the browser shows: the text without its tags.
    text.remove(QRegularExpression(u"<style>.*</style>"_s, QRegularExpression::DotMatchesEverythingOption));
    text.remove(QRegularExpression(u"<[^>]*>"_s));
    const struct
    {
        const char *what;
        QString pattern;
    } codeNames[] = {
        {"a namespace", uR"(\w+::\w*)"_s},
        {"a source path", uR"(\b(?:src|tests|scripts|cmake|build)/)"_s},
        {"a source file", uR"(\b\w+\.(?:cpp|h|py|cmake)\b)"_s},
        {"a procedure name", uR"(\b(?:AEDproc|VPSproc|Gen_\w+|Upload_Data|display_record|\w+_Click|frmHLPItem)\b)"_s},
        {"an identifier with an underscore", uR"(\b[A-Za-z][A-Za-z0-9]*_[A-Za-z0-9_]+\b)"_s},
        {"a class name", uR"(\b(?!DigiLocker\b)[A-Z][a-z]+(?:[A-Z][a-z0-9]+)+\b)"_s},
        {"a function or member name", uR"(\b[a-z]+[A-Z][A-Za-z0-9]*\b)"_s},
        {"a table's column", uR"(\b[a-z]+\.[fF][A-Za-z]+\b)"_s},
        {"a table or column name",
         uR"(\b(?:masuser|convofee|kanlib|rankreg|CERTSHEET|CERTCAN|STATIONERY|AUDIT|PRESENCE|FDELETED|f(?:regno|certno|degree|collcode|convocode|permission|active|feepaid|printord)|FPERMISSION)\b)"_s},
    };
    for (const auto &[what, pattern] : codeNames) {
        const QRegularExpression re(pattern);
        ASSERT_TRUE(re.isValid()) << what;
        for (auto m = re.globalMatch(text); m.hasNext();) {
            const QRegularExpressionMatch found = m.next();
            ADD_FAILURE() << "the help names " << what << ": \"" << found.captured().toStdString() << "\" in \""
                          << text.mid(std::max<qsizetype>(0, found.capturedStart() - 40), 90).simplified().toStdString()
                          << '"';
        }
    }
    // Nor a screen's form name (STUDENT, CERTPRINT): the clerk knows the screens by their captions.
    QFile listing(QStringLiteral(SCROLLWISE_DOCS_SCREENS) + u"/gallery.tsv"_s);
    ASSERT_TRUE(listing.open(QIODevice::ReadOnly));
    for (const QString &line : QString::fromUtf8(listing.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
        const QString form = line.section(u'\t', 1, 1);
        if (form.size() < 5 || form != form.toUpper())
            continue;
        EXPECT_FALSE(text.contains(QRegularExpression(u"\\b"_s + form + u"\\b"_s))) << form.toStdString();
    }
}

// The screens of the frame open with the focus in their first box and its tip in the
// hint panel; Enter walks their boxes (across the pages of a tabbed frame) to the button
// that acts, and Up walks back as far as a box that keeps its arrows (a list, a choice).
TEST_F(ScreenGallery, EnterWalksEachScreensBoxesToItsButtonAndUpWalksBack)
{
    const struct
    {
        QString menu;
        QStringList walk; // the first box, then each one Enter reaches
        int upSteps;
    } screens[] = {
        {u"N28"_s, {u"text_0"_s, u"cmd_1"_s}, 1},
        {u"N21"_s, {u"DIRBOX"_s, u"FILEBOX"_s}, 0},
        {u"N2C"_s, {u"text_0"_s, u"text_1"_s, u"text_2"_s, u"text_3"_s, u"cmd_1"_s}, 4},
        {u"N2A"_s, {u"chk"_s, u"cmd"_s}, 1},
        {u"N44"_s, {u"text_0"_s, u"text_1"_s, u"cmd_0"_s}, 2},
        {u"N45"_s, {u"text_0"_s, u"cmd_0"_s}, 1},
        {u"N48"_s, {u"mskdt_0"_s, u"mskdt_1"_s, u"text_0"_s, u"cmbwhat"_s, u"cmdshow"_s}, 1},
        {u"N49"_s,
         {u"text_0"_s, u"text_1"_s, u"text_2"_s, u"text_3"_s, u"text_4"_s, u"text_5"_s, u"text_6"_s, u"cmdok"_s},
         7},
    };
    for (const auto &screen : screens) {
        ChildForm *form = test::openScreen(*m_window, screen.menu);
        ASSERT_NE(form, nullptr) << screen.menu.toStdString();
        ASSERT_NE(test::focused(), nullptr);
        const QString first = test::focused()->objectName();
        EXPECT_FALSE(form->hint().isEmpty()) << screen.menu.toStdString();
        const QStringList walked = QStringList{first} + test::focusWalk(Qt::Key_Return, int(screen.walk.size()) - 1);
        EXPECT_EQ(walked, screen.walk) << screen.menu.toStdString();
        QStringList back(screen.walk.begin(), screen.walk.end() - 1);
        std::reverse(back.begin(), back.end());
        back = back.mid(0, screen.upSteps);
        EXPECT_EQ(test::focusWalk(Qt::Key_Up, screen.upSteps), back) << screen.menu.toStdString();
        EXPECT_TRUE(m_prompter.shown().empty()) << screen.menu.toStdString() << ": " << m_prompter.last().toStdString();
        closeEverything();
        m_prompter.clear();
    }
}

// Every Kannada text of the database, as stored: table, row and the raw characters.
QStringList kannadaValues(Database &db)
{
    QStringList values;
    for (const schema::TableDefinition &table : schema::tables()) {
        QStringList columns;
        for (const QString &definition : schema::splitDefinitions(table.columns)) {
            if (!schema::kannadaFont(table.name + u'.' + schema::columnName(definition)).isEmpty())
                columns << schema::columnName(definition);
        }
        if (columns.isEmpty())
            continue;
        Rows rows = db.query(u"select "_s + columns.join(u", "_s) + u" from "_s + table.name);
        while (rows.next()) {
            QStringList row;
            for (int i = 0; i < columns.size(); ++i)
                row << rows.text(i);
            values << table.name + u": "_s + row.join(u'|');
        }
    }
    values.sort();
    return values;
}

// Kannada is shown through Unicode where the legacy fonts are missing, and saved back as
// the legacy codes: a day of bringing up records with Kannada on their screens and saving
// them unchanged leaves every stored character as it was.
TEST_F(ScreenGallery, SavingKannadaRecordsUnchangedChangesNoStoredCharacter)
{
    const QStringList before = kannadaValues(m_session.db());
    ASSERT_GT(before.size(), 50);
    const struct
    {
        QString menu;
        QString record;
    } day[] = {{u"N11"_s, u"BA"_s},  {u"N11"_s, u"BCOM"_s},       {u"N13"_s, u"FC"_s},
               {u"N13"_s, u"FCD"_s}, {u"N22"_s, u"2KD0121115"_s}, {u"N22"_s, u"2KD0321135"_s}};
    for (const auto &step : day) {
        ChildForm *form = test::openScreen(*m_window, step.menu);
        ASSERT_NE(form, nullptr) << step.menu.toStdString();
        test::press(Qt::Key_F5);
        test::enter(step.record);
        test::press(Qt::Key_F6);
        const auto *record = dynamic_cast<const RecordForm *>(form);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->editMode(), EditMode::Browse)
            << step.menu.toStdString() << ' ' << step.record.toStdString() << ": " << m_prompter.last().toStdString();
        EXPECT_TRUE(test::outcomeOf(form).startsWith(u"Saved"_s)) << test::outcomeOf(form).toStdString();
        closeEverything();
    }
    const QStringList after = kannadaValues(m_session.db());
    ASSERT_EQ(after.size(), before.size());
    for (qsizetype i = 0; i < before.size(); ++i)
        EXPECT_EQ(after[i], before[i]);
}

// Every screen closes from the keyboard: Exit's Ctrl+T, Esc and the Window menu's Close
// (Ctrl+F4), the import screens and the Kannada name update among them.
// F1 on a highlighted menu item opens the program's own help window at that item's
// section, and F1 on a screen at the screen's; in a box that takes a code, F1 lists the
// codes instead. Help Search opens the same window ready to find a word.
TEST_F(ScreenGallery, F1OpensTheHelpWindowAtTheSectionOfTheMenuItemOrScreen)
{
    // The page that ships with the program, as the demo folder of an installation has it.
    const QString page = m_session.folder.filePath(u"Help/index.html"_s);
    QDir().mkpath(QFileInfo(page).path());
    QFile::remove(page);
    ASSERT_TRUE(QFile::copy(QStringLiteral(SCROLLWISE_HELP_DIR) + u"/index.html"_s, page));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();

    const struct
    {
        QString menu, item, heading;
    } items[] = {
        {u"N2"_s, u"N22"_s, u"Student Entry"_s},
        {u"N2"_s, u"N24"_s, u"Degree Certificate Printing"_s},
        {u"N3"_s, u"N3A"_s, u"NAD Report"_s},
        {u"N4"_s, u"N43"_s, u"Security"_s},
        {u"N4"_s, u"mnuLogOut"_s, u"Change Convocation and Log Out"_s},
        {u"mnuFilemain"_s, u"mnuhlpsearch"_s, u"The Help menu"_s},
    };
    for (const auto &[top, code, heading] : items) {
        QMenu *menu = m_window->menuActions().action(top)->menu();
        ASSERT_NE(menu, nullptr) << top.toStdString();
        menu->popup(m_window->mapToGlobal(QPoint(20, 20)));
        test::settle();
        QAction *item = nullptr;
        for (QAction *a : menu->actions())
            item = a->objectName() == code ? a : item;
        ASSERT_NE(item, nullptr) << code.toStdString();
        menu->setActiveAction(item);
        QTest::keyClick(menu, Qt::Key_F1);
        test::settle();
        HelpWindow *help = m_window->helpWindow();
        ASSERT_NE(help, nullptr);
        EXPECT_TRUE(help->isVisible());
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "the menu stayed open";
        EXPECT_EQ(help->topic(), code);
        EXPECT_EQ(help->firstLineInView(), heading) << code.toStdString();
        EXPECT_TRUE(screen.contains(help->frameGeometry())) << "the help window is larger than the screen";
        // Esc closes it, and the clerk is back where he was.
        test::press(Qt::Key_Escape, {}, help);
        EXPECT_FALSE(help->isVisible());
        keepActive();
    }

    // On a screen whose box takes no code: the screen's section.
    ASSERT_NE(test::openScreen(*m_window, u"N27"_s), nullptr);
    keepActive();
    test::press(Qt::Key_F1, {}, m_window.get());
    ASSERT_TRUE(m_window->helpWindow()->isVisible());
    EXPECT_EQ(m_window->helpWindow()->topic(), u"N27"_s);
    EXPECT_EQ(m_window->helpWindow()->firstLineInView(), u"Student Search"_s);
    m_window->helpWindow()->close();
    closeEverything();

    // In the printing screen's Degree box F1 lists the degrees, and the help stays shut.
    ASSERT_NE(test::openScreen(*m_window, u"N24"_s), nullptr);
    keepActive();
    ASSERT_NE(test::focused(), nullptr);
    ASSERT_EQ(test::focused()->objectName(), u"text_0"_s);
    QString lookup;
    test::whenModalOpens(m_window.get(), [&lookup](QWidget &modal) { lookup = modal.windowTitle(); });
    test::press(Qt::Key_F1);
    EXPECT_EQ(lookup, u"Help"_s); // the lookup window's caption
    EXPECT_FALSE(m_window->helpWindow()->isVisible());
    closeEverything();
    keepActive();

    // Help Search: the cursor in Find; Enter finds a word and the next place, and says
    // when the page has it nowhere.
    m_window->menuActions().action(u"mnuhlpsearch"_s)->trigger();
    test::settle();
    HelpWindow *help = m_window->helpWindow();
    ASSERT_TRUE(help->isVisible());
    EXPECT_EQ(test::focused(), help->findBox());
    test::type(u"spoiled"_s);
    test::press(Qt::Key_Return);
    const int first = help->page()->textCursor().position();
    EXPECT_EQ(help->page()->textCursor().selectedText().toLower(), u"spoiled"_s);
    test::press(Qt::Key_Return);
    EXPECT_GT(help->page()->textCursor().position(), first);
    help->findBox()->selectAll();
    test::type(u"xylophone"_s);
    test::press(Qt::Key_Return);
    EXPECT_EQ(help->findChild<QLabel *>(u"helpFound"_s)->text(), u"Not found"_s);
    help->close();
}

// The status bar's notice on the office screen: a short one is shown whole; one longer
// than the bar has room for is shortened at a word's end with a pointer to the rest,
// never cut at the edge, and its whole text is its tip and comes up on a click. The
// window stays within the screen and the session panels stay in view.
TEST_F(ScreenGallery, ANoticeTooLongForTheBarIsShortenedAtAWordAndShownWholeOnAClick)
{
    const QString sentence = u"The legacy Kannada fonts \"Nudi 01 e\", \"Nudi 01 k\", \"BRH Kannada\" are not "
                             u"installed: Kannada is shown through Unicode in Lohit Kannada, and stored in the legacy "
                             u"codes as before."_s;
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const struct
    {
        const char *story;
        QString text;
        bool shortened;
    } notices[] = {
        {"a short notice", u"Kannada is shown through Unicode."_s, false},
        {"a long notice", sentence + u' ' + sentence, true},
        {"a very long notice", QStringList(6, sentence).join(u' '), true},
    };
    NoticePanel *panel = m_window->noticePanel();
    for (const auto &n : notices) {
        m_window->showNotice(n.text, 0);
        test::settle();
        ASSERT_TRUE(panel->isVisible()) << n.story;
        EXPECT_EQ(panel->shortened(), n.shortened) << n.story;
        const QString shown = panel->text();
        // What is shown fits the panel, and is the notice's beginning up to a word's end.
        EXPECT_LE(panel->fontMetrics().horizontalAdvance(shown), panel->contentsRect().width()) << n.story;
        if (n.shortened) {
            const QString kept = shown.section(u" ... "_s, 0, 0);
            EXPECT_TRUE(shown.endsWith(u" ... (click for the whole notice)"_s)) << shown.toStdString();
            EXPECT_TRUE(n.text.startsWith(kept)) << shown.toStdString();
            EXPECT_GT(kept.size(), 20) << shown.toStdString();
            EXPECT_FALSE(n.text.at(kept.size()).isLetterOrNumber()) << "cut inside a word: " << shown.toStdString();
        } else {
            EXPECT_EQ(shown, n.text);
        }
        EXPECT_EQ(panel->toolTip(), n.text) << n.story;
        const QRect at(panel->mapTo(m_window.get(), QPoint(0, 0)), panel->size());
        EXPECT_TRUE(m_window->rect().contains(at)) << n.story;
        EXPECT_TRUE(screen.contains(m_window->frameGeometry())) << n.story;
        for (int i : {1, 4}) {
            QLabel *p = m_window->statusPanel(i);
            EXPECT_TRUE(p->isVisible()) << n.story;
            EXPECT_TRUE(m_window->rect().contains(QRect(p->mapTo(m_window.get(), QPoint(0, 0)), p->size())))
                << n.story << " panel " << i;
        }
        QTest::mouseClick(panel, Qt::LeftButton);
        EXPECT_EQ(m_prompter.last(), n.text) << n.story;
    }
    m_window->showNotice({}, 0);
    EXPECT_FALSE(panel->isVisible());
}

TEST_F(ScreenGallery, EveryScreenClosesWithCtrlTEscAndCtrlF4)
{
    const QStringList menus{u"N28"_s, u"N2C"_s, u"N2A"_s, u"N21"_s, u"N2D"_s, u"N44"_s,
                            u"N45"_s, u"N49"_s, u"N13"_s, u"N31"_s, u"N24"_s, u"N27"_s};
    const struct
    {
        const char *name;
        int key;
        Qt::KeyboardModifiers modifiers;
    } keys[] = {{"Ctrl+T", Qt::Key_T, Qt::ControlModifier},
                {"Esc", Qt::Key_Escape, {}},
                {"Ctrl+F4", Qt::Key_F4, Qt::ControlModifier}};
    for (const QString &menu : menus) {
        for (const auto &k : keys) {
            ChildForm *form = test::openScreen(*m_window, menu);
            ASSERT_NE(form, nullptr) << menu.toStdString();
            keepActive();
            // Where the offscreen platform left no box with the focus (a screen that grew to
            // fit its hint after it opened), the keys go to the screen, as a clerk's click on it.
            if (!QApplication::focusWidget())
                form->setFocus(Qt::OtherFocusReason);
            test::press(k.key, k.modifiers, m_window.get());
            test::settle();
            EXPECT_TRUE(m_window->mdiArea()->subWindowList().isEmpty()) << menu.toStdString() << ' ' << k.name;
            EXPECT_EQ(m_window->dispatcher().activeForm(), nullptr) << menu.toStdString() << ' ' << k.name;
            closeEverything();
        }
    }
    EXPECT_TRUE(m_prompter.shown().empty()) << m_prompter.last().toStdString();
    // The Window menu names the key.
    QAction *close = m_window->findChild<QAction *>(u"mnuClose"_s);
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->text(), u"&Close"_s);
    EXPECT_EQ(close->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F4));
}

// From the login on, the status bar shows the date, the convocation and the user, a notice
// beside them; Change Convocation moves the whole window to another convocation and Log
// Out ends it for the next login.
TEST_F(ScreenGallery, TheStatusBarShowsTheSessionAndTheConvocationChangesWithoutQuitting)
{
    for (int panel : {1, 4}) {
        EXPECT_TRUE(m_window->statusPanel(panel)->isVisible()) << panel;
        EXPECT_FALSE(m_window->statusPanel(panel)->text().isEmpty()) << panel;
    }
    EXPECT_TRUE(m_window->statusPanel(4)->text().startsWith(DemoFolder::currentConvocation() + u" / "_s));
    EXPECT_TRUE(m_window->statusPanel(4)->text().endsWith(u" / ADMIN"_s));

    QAction *change = m_window->findChild<QAction *>(u"mnuChangeConvo"_s);
    QAction *logOut = m_window->findChild<QAction *>(u"mnuLogOut"_s);
    ASSERT_NE(change, nullptr);
    ASSERT_NE(logOut, nullptr);
    EXPECT_EQ(change->text(), u"Change Con&vocation..."_s);
    EXPECT_EQ(logOut->text(), u"Log &Out"_s);

    ChildForm *form = test::openScreen(*m_window, u"N22"_s);
    ASSERT_NE(form, nullptr);
    m_prompter.answerInput(u"admn"_s);
    change->trigger();
    test::settle();
    EXPECT_EQ(m_session.convoCode, u"ADMN"_s);
    EXPECT_TRUE(m_window->mdiArea()->subWindowList().isEmpty()); // the screens of the old convocation closed
    EXPECT_TRUE(m_window->statusPanel(4)->text().startsWith(u"ADMN / "_s));
    EXPECT_FALSE(m_window->menuActions().action(u"N22"_s)->isEnabled());
    m_prompter.answerInput(u"NOSUCH"_s);
    change->trigger();
    EXPECT_EQ(m_prompter.last(), u"There is no convocation NOSUCH; the work goes on in ADMN."_s);
    m_prompter.answerInput(DemoFolder::currentConvocation());
    change->trigger();
    EXPECT_TRUE(m_window->menuActions().action(u"N22"_s)->isEnabled());

    // The window closes as the program's would; this process has more tests to run.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    logOut->trigger();
    test::settle();
    QGuiApplication::setQuitOnLastWindowClosed(true);
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_EQ(m_window->ending(), MainWindow::Ending::LogOut);
}

// A day's screens at 1366 x 768 with real dialogs: no window is larger than the screen,
// and no question whose Yes loses work, uses stationery or ends the program has Yes as
// the button Enter presses. Each question is answered with Esc, except the check before
// printing, which is answered Y so the run's own question is asked too.
class OfficeScreen : public ScreenGallery
{
protected:
    OfficeScreen() { m_windowPrompter = &m_real; }

    struct Question
    {
        QString text;
        QString defaultButton;
    };

    // Watches the windows while the test drives: every visible top-level window's size,
    // and every question, which it answers.
    void watch()
    {
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (!w->isVisible() || qobject_cast<QMenu *>(w) || w->windowType() == Qt::ToolTip)
                continue;
            const QSize size = w->frameGeometry().size();
            if (size.width() > screen.width() || size.height() > screen.height())
                m_tooLarge.insert(QString::fromLatin1(w->metaObject()->className()) + u" \""_s + w->windowTitle()
                                  + u"\" "_s + QString::number(size.width()) + u'x' + QString::number(size.height()));
        }
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || m_answering)
            return;
        m_answering = true;
        QString text;
        QAbstractButton *byEnter = nullptr;
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            text = box->text();
            byEnter = box->defaultButton();
        } else if (auto *list = qobject_cast<ListDialog *>(modal)) {
            text = list->findChild<QLabel *>(u"question"_s)->text();
            byEnter = list->defaultButton();
        }
        if (byEnter) {
            m_questions.push_back({text, byEnter->text().remove(u'&')});
            const bool goOn = text == u"Go on all the same?"_s;
            QWidget *target = QApplication::focusWidget();
            if (!target || target->window() != modal)
                target = modal;
            QTest::keyClick(target, goOn ? Qt::Key_Y : Qt::Key_Escape);
        } else if (auto *dialog = qobject_cast<QDialog *>(modal)) {
            dialog->reject();
        }
        m_answering = false;
    }

    // The questions a clerk must answer with their own key.
    static bool destructive(const QString &text)
    {
        static const QStringList risky{u"Confirm cancel"_s, u"Confirm deletion"_s,    u"Confirm Deletion"_s,
                                       u": go on?"_s,       u"Go on all the same?"_s, u"as spoiled?"_s,
                                       u"without photo?"_s, u"overwrite"_s,           u"Replace it"_s,
                                       u"Quiting ?"_s,      u"Cancel certificate"_s};
        for (const QString &r : risky) {
            if (text.contains(r))
                return true;
        }
        return false;
    }

    QtPrompter m_real;
    std::set<QString> m_tooLarge;
    std::vector<Question> m_questions;
    bool m_answering = false;
};

TEST_F(OfficeScreen, NoWindowIsLargerThanTheScreenAndNoRiskyQuestionDefaultsToYes)
{
    QTimer watcher;
    watcher.setInterval(15);
    QObject::connect(&watcher, &QTimer::timeout, [this] { watch(); });
    watcher.start();
    m_real.setParent(m_window.get());
    std::set<QString> screensLarger;
    const QSize room = m_window->mdiArea()->viewport()->size();
    for (const MenuEntry *item : screenItems()) {
        if (!m_screens.find(item->code) || item->code == u"N47"_s) // the backup runs on choosing it
            continue;
        ChildForm *form = test::openScreen(*m_window, item->code);
        keepActive();
        if (QMdiSubWindow *sub = m_window->mdiArea()->activeSubWindow()) {
            if (sub->width() > room.width() || sub->height() > room.height())
                screensLarger.insert(item->code + u' ' + QString::number(sub->width()) + u'x'
                                     + QString::number(sub->height()));
        }
        // A change begun and cancelled on every record screen asks "Confirm cancel".
        if (auto *record = dynamic_cast<RecordForm *>(form); record && m_window->dispatcher().isEnabled(Command::Add)) {
            test::press(Qt::Key_F4, {}, m_window.get());
            if (!record->browsing()) {
                test::press(Qt::Key_F11, {}, m_window.get());
                record->cmdCancel_Click();
            }
        }
        // The printing screen: Ctrl+P with a whole selection asks the check's and the run's questions.
        if (item->code == u"N24"_s && form) {
            for (const auto &[index, value] : {std::pair{0, u"BA"_s},
                                               {1, u"0"_s},
                                               {2, u"0"_s},
                                               {4, u"T"_s},
                                               {5, u"900001"_s},
                                               {30, u"900400"_s},
                                               {6, u"1"_s}}) {
                if (auto *box = form->findChild<QLineEdit *>(u"text_"_s + QString::number(index)))
                    box->setText(value);
            }
            test::press(Qt::Key_P, Qt::ControlModifier, m_window.get());
        }
        test::settle();
        m_window->mdiArea()->closeAllSubWindows();
        test::settle();
    }
    m_window->close(); // "Are You sure about Quiting ?", answered Esc
    test::settle();
    watcher.stop();

    for (const QString &window : m_tooLarge)
        ADD_FAILURE() << "larger than the screen: " << window.toStdString();
    for (const QString &screen : screensLarger)
        ADD_FAILURE() << "screen larger than the window's area: " << screen.toStdString();
    int risky = 0;
    for (const Question &q : m_questions) {
        if (!destructive(q.text))
            continue;
        ++risky;
        EXPECT_NE(q.defaultButton, u"Yes"_s) << "Enter answers Yes to: " << q.text.toStdString();
    }
    // Confirm cancel on every record screen, the check, the run's question, quitting.
    EXPECT_GE(risky, 6);
    EXPECT_TRUE(std::any_of(m_questions.begin(), m_questions.end(),
                            [](const Question &q) { return q.text.endsWith(u": go on?"_s); }));
    EXPECT_TRUE(m_window->isVisible()); // Esc kept the program running
}

} // namespace
