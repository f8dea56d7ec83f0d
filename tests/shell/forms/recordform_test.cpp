// SPDX-License-Identifier: GPL-3.0-or-later
// The record-form machine on a small example screen: modes, toolbar states,
// navigation, keys, field checks, the per-screen toolbar memory and report screens.
#include "formsfixture.h"
#include "support/windowdriver.h"

#include "shell/common/appearance.h"
#include "shell/forms/commandactions.h"
#include "shell/forms/commanddispatcher.h"
#include "shell/forms/lookupdialog.h"
#include "shell/forms/menutree.h"
#include "shell/forms/screenregistry.h"
#include "shell/ui/mainwindow.h"
#include "support/scriptedprompter.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QTableWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::TestBackend;

namespace {

using C = Command;

ToolStates only(std::initializer_list<Command> enabled)
{
    ToolStates s{};
    for (Command c : enabled)
        s[slot(c)] = true;
    return s;
}

std::string describe(const ToolStates &s)
{
    std::string out;
    for (int i = 1; i <= kCommandCount; ++i) {
        if (s[slot(commandAt(i))])
            out += commandName(commandAt(i)).toStdString() + ' ';
    }
    return out;
}

const ToolStates kBrowseWithRows = only({C::Add, C::Edit, C::Delete, C::Exit, C::First, C::Previous, C::Next, C::Last});
const ToolStates kUpdate = only({C::Save, C::Cancel});

class RecordFormTest : public ::testing::TestWithParam<TestBackend>
{
protected:
    void SetUp() override
    {
        if (!test::backendAvailable(GetParam()))
            GTEST_SKIP();
        m_folder = std::make_unique<test::LoggedInFolder>(GetParam());
        m_folder->db().exec(u"insert into masconvo (fconvocode, fconvoname, fdate) values ('C27', 'THIRD', NULL)"_s);
        for (const auto &[code, name] : {std::pair{u"N13"_s, u"EXAMPLE"_s}, std::pair{u"N12"_s, u"EXAMPLE2"_s}}) {
            const QString formName = name;
            m_screens.add(code, {formName, false, [formName](const FormContext &c, const QString &) {
                                     return new test::ExampleForm(c, formName);
                                 }});
        }
        m_screens.add(u"N31"_s, {u"EXAMPLELIST"_s, false,
                                 [](const FormContext &c, const QString &) { return new test::ExampleReport(c); }});
        m_folder->login(u"ADMIN"_s, u"admin"_s, u"C26"_s);
        m_window = std::make_unique<MainWindow>(m_folder->session, m_prompter, m_screens);
        m_window->applyPermissions();
        test::showActive(*m_window);
    }

    test::ExampleForm *openExample(const QString &code = u"N13"_s)
    {
        m_window->menuActions().action(code)->trigger();
        QCoreApplication::processEvents();
        auto *form = qobject_cast<test::ExampleForm *>(m_window->dispatcher().activeForm());
        EXPECT_NE(form, nullptr);
        return form;
    }
    ToolStates states() const { return m_window->commandActions().states(); }
    // A key as the clerk presses it: to whatever has the focus.
    void press(int key, Qt::KeyboardModifiers modifiers = {}) { test::press(key, modifiers, m_window.get()); }
    void type(const QString &text) { test::type(text); }
    QString stored(const QString &code, const QString &column)
    {
        return m_folder->db()
            .scalar(u"select "_s + column + u" from masconvo where fconvocode = ?"_s, {code})
            .toString();
    }

    std::unique_ptr<test::LoggedInFolder> m_folder;
    test::ScriptedPrompter m_prompter;
    ScreenRegistry m_screens;
    std::unique_ptr<MainWindow> m_window;
};

TEST_P(RecordFormTest, WithoutAScreenEveryCommandIsOffAndAnEmptyTableOffersOnlyAddEditDeleteAndExitInTheSettingsLook)
{
    EXPECT_EQ(states(), ToolStates{}) << describe(states());
    for (int i = 1; i <= kCommandCount; ++i)
        m_window->dispatcher().doCommand(commandAt(i));
    EXPECT_TRUE(m_prompter.shown().empty());

    // A screen over an empty table offers only add, edit, delete and exit; it opens with the settings row's look.
    m_folder->db().exec(u"delete from masconvo"_s);
    m_folder->db().exec(u"update control set fscol = '&HFF0000', ffontsize = NULL, flbfontcol = '&H0000FF'"_s);
    test::ExampleForm *form = openExample();
    EXPECT_EQ(states(), only({C::Add, C::Edit, C::Delete, C::Exit})) << describe(states());
    EXPECT_EQ(form->editMode(), EditMode::Browse);
    EXPECT_EQ(form->legend(), u" F4-Add, F5-Edit, F6-Save, F7-Delete, F11-Cancel"_s);
    EXPECT_FALSE(form->text(0)->isEnabled());
    EXPECT_EQ(form->mskdt(0)->displayText(), u"__/__/____"_s);
    EXPECT_EQ(m_window->statusPanel(5)->text(), u"Example . . ."_s);
    EXPECT_EQ(form->palette().color(QPalette::Window), QColor(0, 0, 255));
    QLabel *label = form->findChild<QLabel *>(u"Label1_0"_s);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(label->font().pointSizeF(), 8.0);
    EXPECT_TRUE(label->font().bold());
}

// Issue: "Generating, Please Wait ..." stayed under the message that ended a run. A busy
// hint goes as soon as a message blocks the window; an ordinary hint stays.
TEST_P(RecordFormTest, ABusyHintGoesWhenAMessageBlocksTheWindow)
{
    test::ExampleForm *form = openExample();
    ASSERT_NE(form, nullptr);
    const auto blockWithAMessage = [this] {
        QMessageBox box(QMessageBox::Information, u"Message"_s, u"No records found"_s, QMessageBox::Ok, m_window.get());
        box.open();
        QCoreApplication::processEvents();
        box.close();
        QCoreApplication::processEvents();
    };
    form->setBusyHint(u"Generating, Please Wait ..."_s);
    EXPECT_EQ(form->hint(), u"Generating, Please Wait ..."_s);
    blockWithAMessage();
    EXPECT_EQ(form->hint(), QString());

    form->setHint(u"Convocation name, Maximum length 100"_s);
    blockWithAMessage();
    EXPECT_EQ(form->hint(), u"Convocation name, Maximum length 100"_s);
}

TEST_P(RecordFormTest, AddFromTheToolbarTypesUpperCaseMovesWithEnterAndSavesWithF6)
{
    test::ExampleForm *form = openExample();
    EXPECT_EQ(states(), kBrowseWithRows) << describe(states());
    test::clickToolbar(*m_window, C::Add);
    EXPECT_EQ(form->editMode(), EditMode::Add);
    EXPECT_EQ(states(), kUpdate) << describe(states());
    EXPECT_EQ(m_window->statusPanel(6)->text(), u"add Mode"_s);
    EXPECT_EQ(m_window->dispatcher().lastModeIndex(), 1);
    EXPECT_EQ(QApplication::focusWidget(), form->text(0));
    EXPECT_EQ(form->legend(), RecordForm::editLegend());

    type(u"c28"_s);
    EXPECT_EQ(form->text(0)->text(), u"C28"_s);
    press(Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), form->text(1));
    EXPECT_EQ(form->hint(), u"Convocation name, Maximum length 100"_s);
    type(u"fourth one"_s);
    press(Qt::Key_Up);
    EXPECT_EQ(QApplication::focusWidget(), form->text(0));
    press(Qt::Key_Down);
    press(Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), form->mskdt(0));
    type(u"01022028"_s);
    press(Qt::Key_Enter);
    EXPECT_EQ(QApplication::focusWidget(), form->chk(0));
    press(Qt::Key_F6);

    EXPECT_EQ(stored(u"C28"_s, u"fconvoname"_s), u"FOURTH ONE"_s);
    EXPECT_EQ(stored(u"C28"_s, u"fdate"_s), u"01/02/2028"_s);
    EXPECT_EQ(form->editMode(), EditMode::Browse);
    EXPECT_EQ(states(), kBrowseWithRows) << describe(states());
    EXPECT_TRUE(form->text(0)->text().isEmpty());
    EXPECT_EQ(form->rsdisp().count(), 4);
    EXPECT_TRUE(m_prompter.shown().empty()) << m_prompter.last().toStdString();
}

TEST_P(RecordFormTest, RefusalsKeepTheChangeOpenWithTheFocusWhereItWas)
{
    test::ExampleForm *form = openExample();
    press(Qt::Key_F4);
    // A mandatory field left empty.
    press(Qt::Key_Return);
    test::settle();
    EXPECT_EQ(m_prompter.last(), u"Information should be entered"_s);
    EXPECT_EQ(m_prompter.shown().back().icon, PromptIcon::Information);
    EXPECT_EQ(QApplication::focusWidget(), form->text(0));
    // A code that exists.
    type(u"C26"_s);
    press(Qt::Key_Return);
    type(u"AGAIN"_s);
    press(Qt::Key_F6);
    EXPECT_EQ(m_prompter.last(), u"Code already exists."_s);
    EXPECT_EQ(m_prompter.shown().back().icon, PromptIcon::Exclamation);
    EXPECT_EQ(form->editMode(), EditMode::Add);
    EXPECT_EQ(states(), kUpdate);
    EXPECT_EQ(stored(u"C26"_s, u"fconvoname"_s), u"CONVOCATION 2026"_s);
    // Esc in the grid belongs to the grid: a question here would fail the test.
    form->findChild<QTableWidget *>(u"spread"_s)->setFocus();
    press(Qt::Key_Escape);
    EXPECT_EQ(form->editMode(), EditMode::Add);

    // Editing a code that does not exist.
    m_prompter.answer(PromptAnswer::Yes);
    m_window->dispatcher().doCommand(C::Cancel);
    press(Qt::Key_F5);
    form->text(0)->setText(u"ZZ9"_s);
    form->text(1)->setText(u"X"_s);
    press(Qt::Key_F6);
    EXPECT_EQ(m_prompter.last(), u"Enter valid code."_s);
    EXPECT_EQ(form->editMode(), EditMode::Edit);
}

TEST_P(RecordFormTest, CancelAnsweredNoKeepsEverythingAndYesReturnsToBrowsingAndFieldsArePaintedForTheMode)
{
    test::ExampleForm *form = openExample();
    const QColor edit = colourFromBgrText(m_folder->session.editColour);
    const QColor plain = colourFromBgrText(m_folder->session.fieldColour);
    press(Qt::Key_F4);
    EXPECT_EQ(form->text(1)->palette().color(QPalette::Base), edit);
    EXPECT_TRUE(form->text(1)->font().bold());
    type(u"C3"_s);
    m_prompter.answer(PromptAnswer::No);
    press(Qt::Key_F11);
    ASSERT_FALSE(m_prompter.shown().empty());
    EXPECT_EQ(m_prompter.shown().back().text, u"Confirm cancel"_s);
    EXPECT_EQ(m_prompter.shown().back().title, u"Cancel"_s);
    // Yes throws the typing away: Enter must not say it.
    EXPECT_EQ(m_prompter.shown().back().defaultAnswer, PromptAnswer::No);
    EXPECT_EQ(form->editMode(), EditMode::Add);
    EXPECT_EQ(form->text(0)->text(), u"C3"_s);
    EXPECT_EQ(QApplication::focusWidget(), form->text(0));
    // Esc asks the same question.
    m_prompter.answer(PromptAnswer::Yes);
    press(Qt::Key_Escape);
    EXPECT_EQ(m_prompter.shown().size(), 2u);
    EXPECT_EQ(form->editMode(), EditMode::Browse);
    EXPECT_TRUE(form->text(0)->text().isEmpty());
    EXPECT_EQ(states(), kBrowseWithRows);
    EXPECT_FALSE(m_folder->db().exists(u"select 1 from masconvo where fconvocode = 'C3'"_s));
    // Browsing, Esc closes the screen as Exit does: it holds nothing to lose.
    press(Qt::Key_Escape);
    test::settle();
    EXPECT_EQ(m_window->dispatcher().activeForm(), nullptr);
    EXPECT_EQ(m_prompter.shown().size(), 2u);
    form = openExample();
    // Delete mode paints the code only.
    press(Qt::Key_F7);
    EXPECT_EQ(form->editMode(), EditMode::Delete);
    EXPECT_EQ(form->text(0)->palette().color(QPalette::Base), edit);
    EXPECT_EQ(form->text(1)->palette().color(QPalette::Base), plain);
    EXPECT_FALSE(form->text(1)->font().bold());
}

TEST_P(RecordFormTest, NavigationMovesThroughTheRowsAndFollowsTheTableOfStates)
{
    test::ExampleForm *form = openExample();
    const ToolStates atFirst = only({C::Add, C::Edit, C::Delete, C::Exit, C::Next, C::Last});
    const ToolStates atLast = only({C::Add, C::Edit, C::Delete, C::Exit, C::First, C::Previous});
    press(Qt::Key_Down); // last
    EXPECT_EQ(form->text(0)->text(), u"C27"_s);
    EXPECT_EQ(states(), atLast) << describe(states());
    // "next" on the last row keeps the row.
    m_window->dispatcher().doCommand(C::Next);
    EXPECT_EQ(form->text(0)->text(), u"C27"_s);
    EXPECT_EQ(states(), atLast);
    press(Qt::Key_Right); // next is off: the key does nothing
    EXPECT_EQ(form->displayed.size(), 2);
    press(Qt::Key_Left);
    EXPECT_EQ(form->text(0)->text(), u"C26"_s);
    EXPECT_EQ(states(), kBrowseWithRows);
    press(Qt::Key_F2);
    EXPECT_EQ(form->text(0)->text(), u"C25"_s);
    EXPECT_EQ(states(), kBrowseWithRows); // the first row is only known when passed
    press(Qt::Key_F2);
    EXPECT_EQ(form->text(0)->text(), u"C25"_s);
    EXPECT_EQ(states(), atFirst) << describe(states());
    press(Qt::Key_F3);
    EXPECT_EQ(form->text(0)->text(), u"C26"_s);
    press(Qt::Key_Up); // first
    EXPECT_EQ(form->text(0)->text(), u"C25"_s);
    EXPECT_EQ(states(), atFirst);
    EXPECT_EQ(form->displayed,
              (QStringList{u"last"_s, u"next"_s, u"previous"_s, u"previous"_s, u"previous"_s, u"next"_s, u"first"_s}));
}

TEST_P(RecordFormTest, EditAndDeleteWriteTheCurrentRow)
{
    test::ExampleForm *form = openExample();
    press(Qt::Key_F3); // second row
    ASSERT_EQ(form->text(0)->text(), u"C26"_s);
    press(Qt::Key_F5);
    EXPECT_EQ(form->editMode(), EditMode::Edit);
    EXPECT_EQ(m_window->statusPanel(6)->text(), u"edit Mode"_s);
    form->text(1)->setFocus();
    form->text(1)->clear();
    type(u"renamed"_s);
    form->chk(0)->setChecked(true);
    press(Qt::Key_F6);
    EXPECT_EQ(stored(u"C26"_s, u"fconvoname"_s), u"RENAMED"_s);
    EXPECT_EQ(stored(u"C26"_s, u"factive"_s), u"T"_s);
    // The row the save started on is the current one again.
    EXPECT_EQ(form->rsdisp().absolutePosition(), 2);

    press(Qt::Key_F3);
    press(Qt::Key_F7);
    EXPECT_EQ(m_window->statusPanel(6)->text(), u"delete Mode"_s);
    ASSERT_EQ(form->text(0)->text(), u"C27"_s);
    press(Qt::Key_F6);
    EXPECT_FALSE(m_folder->db().exists(u"select 1 from masconvo where fconvocode = 'C27'"_s));
    EXPECT_EQ(form->rsdisp().count(), 2);
    // Saved on the third row, now past the end: the last row is current.
    EXPECT_EQ(form->rsdisp().absolutePosition(), 2);
}

TEST_P(RecordFormTest, EachScreenGetsItsOwnToolbarBackWhenItIsActivatedAgain)
{
    test::ExampleForm *first = openExample(u"N13"_s);
    press(Qt::Key_F9); // last row
    const ToolStates firstLeft = states();
    test::ExampleForm *second = openExample(u"N12"_s);
    ASSERT_NE(first, second);
    EXPECT_EQ(states(), kBrowseWithRows);
    press(Qt::Key_F4);
    EXPECT_EQ(states(), kUpdate);

    QMdiArea *area = m_window->mdiArea();
    // A screen's sub-window is its parent.
    const auto subOf = [](QWidget *form) { return qobject_cast<QMdiSubWindow *>(form->parentWidget()); };
    area->setActiveSubWindow(subOf(first));
    EXPECT_EQ(m_window->dispatcher().activeForm(), first);
    EXPECT_EQ(states(), firstLeft) << describe(states());
    area->setActiveSubWindow(subOf(second));
    EXPECT_EQ(states(), kUpdate) << describe(states());
    EXPECT_EQ(second->editMode(), EditMode::Add);
    EXPECT_EQ(m_window->dispatcher().toolStateStore().size(), 2);
}

TEST_P(RecordFormTest, ExitClosesTheScreenOnlyWhileBrowsing)
{
    test::ExampleForm *form = openExample();
    press(Qt::Key_F4);
    EXPECT_EQ(m_window->statusPanel(6)->text(), u"add Mode"_s);
    press(Qt::Key_T, Qt::ControlModifier); // exit is off while adding
    EXPECT_EQ(m_window->mdiArea()->subWindowList().size(), 1);
    m_window->dispatcher().doCommand(C::Exit); // not even when the command is sent directly
    EXPECT_EQ(states(), kUpdate);
    EXPECT_EQ(form->editMode(), EditMode::Add);

    m_prompter.answer(PromptAnswer::Yes);
    press(Qt::Key_F11);
    EXPECT_EQ(test::outcomeOf(form), u"Cancelled: nothing was saved"_s);
    EXPECT_TRUE(m_window->statusPanel(6)->text().isEmpty()); // the mode panel follows the screen
    test::clickToolbar(*m_window, C::Exit);
    test::settle();
    EXPECT_TRUE(m_window->mdiArea()->subWindowList().isEmpty());
    EXPECT_EQ(m_window->dispatcher().activeForm(), nullptr);
    EXPECT_EQ(states(), ToolStates{}) << describe(states());
    EXPECT_TRUE(m_window->statusPanel(5)->text().isEmpty());
    EXPECT_TRUE(m_window->statusPanel(6)->text().isEmpty());
}

// Closing a screen, or the program, while a change is open asks whether to save it:
// Yes saves (and closes only when the save went through), No drops it, Cancel keeps it.
struct CloseDuringEdit
{
    const char *name;
    bool wholeProgram; // the main window closed (Alt+F4, Exit), else the sub-window's [X]
    const char *code;  // what was typed in the key box ("" leaves it empty)
    PromptAnswer answer;
    bool closes;
    bool stored;
};

TEST_P(RecordFormTest, ClosingDuringAnEditAsksYesNoCancel)
{
    const CloseDuringEdit cases[] = {
        {"sub-window, Cancel keeps the edit", false, "C30", PromptAnswer::Cancel, false, false},
        {"sub-window, No drops it", false, "C30", PromptAnswer::No, true, false},
        {"sub-window, Yes saves it", false, "C30", PromptAnswer::Yes, true, true},
        {"sub-window, Yes with a refused save stays open", false, "", PromptAnswer::Yes, false, false},
        {"program, Cancel keeps it running", true, "C30", PromptAnswer::Cancel, false, false},
        {"program, Yes saves before it ends", true, "C30", PromptAnswer::Yes, true, true},
    };
    for (const CloseDuringEdit &c : cases) {
        SCOPED_TRACE(c.name);
        m_folder->db().exec(u"delete from masconvo where fconvocode = 'C30'"_s);
        m_prompter.clear();
        test::ExampleForm *form = openExample();
        ASSERT_NE(form, nullptr);
        press(Qt::Key_F4);
        type(QString::fromLatin1(c.code));
        press(Qt::Key_Tab);
        type(u"THIRTIETH"_s);
        if (c.wholeProgram)
            m_prompter.answer(PromptAnswer::Yes); // "Are You sure about Quiting ?"
        m_prompter.answer(c.answer);
        QMdiSubWindow *sub = m_window->mdiArea()->subWindowList().first();
        // Alt+F4 is the window manager's: it closes the main window as close() does.
        if (c.wholeProgram)
            m_window->close();
        else
            sub->close();
        QCoreApplication::processEvents();
        EXPECT_FALSE(m_prompter.answersLeft());
        EXPECT_TRUE(m_prompter.texts().join(u'|').contains(u"Save them before closing?"_s));
        if (c.wholeProgram)
            EXPECT_EQ(m_window->isVisible(), !c.closes);
        else
            EXPECT_EQ(m_window->mdiArea()->subWindowList().isEmpty(), c.closes);
        EXPECT_EQ(stored(u"C30"_s, u"fconvoname"_s), c.stored ? u"THIRTIETH"_s : QString());
        // Back to a clean window for the next case.
        if (c.wholeProgram && !c.closes) {
            EXPECT_EQ(form->editMode(), EditMode::Add);
            EXPECT_EQ(form->text(1)->text(), u"THIRTIETH"_s); // the clerk's typing is kept
        }
        if (c.wholeProgram && c.closes)
            test::showActive(*m_window);
        for (QMdiSubWindow *open : m_window->mdiArea()->subWindowList())
            delete open;
        QCoreApplication::processEvents();
    }
}

TEST_P(RecordFormTest, ReportScreensAnswerPreviewPrintAndSpoolOnly)
{
    m_window->menuActions().action(u"N31"_s)->trigger();
    auto *report = qobject_cast<test::ExampleReport *>(m_window->dispatcher().activeForm());
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(states(), only({C::Preview, C::Print, C::Spool, C::Exit})) << describe(states());
    press(Qt::Key_W, Qt::ControlModifier);
    test::clickToolbar(*m_window, C::Print);
    m_window->dispatcher().doCommand(C::Spool);
    // Record commands reach a report screen as nothing at all.
    m_window->dispatcher().doCommand(C::Add);
    m_window->dispatcher().doCommand(C::Next);
    EXPECT_EQ(report->operations, (QStringList{u"preview"_s, u"print"_s, u"spool"_s}));
    EXPECT_TRUE(m_prompter.shown().empty());

    // Back from a record screen, the report's toolbar is as it left it.
    openExample();
    m_window->mdiArea()->setActiveSubWindow(m_window->mdiArea()->subWindowList().first());
    EXPECT_EQ(states(), only({C::Preview, C::Print, C::Spool, C::Exit}));
    press(Qt::Key_T, Qt::ControlModifier);
    test::settle();
    EXPECT_EQ(m_window->mdiArea()->subWindowList().size(), 1);
    // The record screen left in front gets its own toolbar back.
    EXPECT_EQ(states(), kBrowseWithRows) << describe(states());
}

INSTANTIATE_TEST_SUITE_P(Backends, RecordFormTest, test::bothBackends(), test::backendName);

} // namespace

namespace {

// F1 from the code field, with the lookup window driven as the clerk drives it.
class LookupFromFieldTest : public RecordFormTest
{
protected:
    // Runs `step` on the lookup window once it is up; any other modal window is a failure.
    void whenLookupOpens(std::function<void(LookupDialog &)> step)
    {
        test::whenModalOpens(m_window.get(), [step](QWidget &modal) {
            auto *window = qobject_cast<LookupDialog *>(&modal);
            ASSERT_NE(window, nullptr) << "another modal window: " << modal.objectName().toStdString();
            step(*window);
        });
    }
};

TEST_P(LookupFromFieldTest, TheChosenCodeGoesIntoTheField)
{
    test::ExampleForm *form = openExample();
    press(Qt::Key_F4);
    QString status;
    whenLookupOpens([&status](LookupDialog &window) {
        EXPECT_EQ(window.windowTitle(), u"Help"_s);
        auto *search = window.findChild<QLineEdit *>(u"txtSearch"_s);
        QTest::keyClicks(search, u"c26"_s);
        status = window.findChild<QLabel *>(u"StatusBar1_1"_s)->text();
        QTest::keyClick(search, Qt::Key_Return);
    });
    press(Qt::Key_F1);
    EXPECT_EQ(status, u"Code : C26"_s);
    EXPECT_EQ(form->text(0)->text(), u"C26"_s);
    // The main window takes the focus back once the lookup has gone.
    EXPECT_TRUE(QTest::qWaitFor([form] { return QApplication::focusWidget() == form->text(0); }, 1000));
}

TEST_P(LookupFromFieldTest, LeavingTheWindowOrFindingNoRowsLeavesTheFieldAsItWas)
{
    test::ExampleForm *form = openExample();
    press(Qt::Key_F4);
    type(u"C9"_s);
    whenLookupOpens([](LookupDialog &window) {
        auto *list = window.findChild<QTableView *>(u"DataList1"_s);
        QTest::keyClick(list, Qt::Key_Down);
        EXPECT_EQ(window.currentCode(), u"C26"_s);
        QTest::keyClick(list, Qt::Key_Escape);
    });
    press(Qt::Key_F1);
    EXPECT_EQ(form->text(0)->text(), u"C9"_s);
    EXPECT_TRUE(m_prompter.shown().empty()) << m_prompter.last().toStdString();

    // A lookup without rows says so.
    m_folder->db().exec(u"delete from masconvo"_s);
    press(Qt::Key_F1);
    EXPECT_EQ(m_prompter.last(), u"No data found."_s);
    EXPECT_EQ(m_prompter.shown().back().title, u"Message"_s);
    EXPECT_EQ(form->text(0)->text(), u"C9"_s);
}

INSTANTIATE_TEST_SUITE_P(Backends, LookupFromFieldTest, test::bothBackends(), test::backendName);

} // namespace
