// SPDX-License-Identifier: GPL-3.0-or-later
// The GUI's questions answered with real keys, offscreen: a question whose Yes loses work
// or uses stationery takes no Space and gives No to Enter and Esc; a long list scrolls in
// a dialog that stays on the screen with its question and buttons in view.
#include "support/windowdriver.h"

#include "shell/ui/listdialog.h"
#include "shell/ui/qtprompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

struct Keys
{
    int key;
    Qt::KeyboardModifiers modifiers = {};
};

// Asks `ask` while the keys are pressed, one after another, on whatever has the focus in
// the dialog; what the dialog answered, and whether it was still open after each key but
// the last (a key that answered too early shows as an early close).
struct Asked
{
    PromptAnswer answer;
    int openAfter = 0; // keys after which the dialog was still open
    QSize frame;       // the dialog's size, its frame around it
    QString kind;      // the class of the dialog
};

Asked askWithKeys(const std::function<PromptAnswer()> &ask, std::vector<Keys> keys)
{
    Asked asked{};
    QObject owner;
    test::whenModalOpens(&owner, [&](QWidget &dialog) {
        asked.frame = dialog.frameGeometry().size();
        asked.kind = QString::fromLatin1(dialog.metaObject()->className());

        for (const Keys &k : keys) {
            QWidget *target = QApplication::focusWidget();
            if (!target || target->window() != &dialog)
                target = &dialog;
            QTest::keyClick(target, Qt::Key(k.key), k.modifiers);
            // A message box's letters and Alt keys press their button with its animation.
            if (QTest::qWaitFor([&] { return !dialog.isVisible(); }, 300))
                return;
            ++asked.openAfter;
        }
    });
    asked.answer = ask();
    return asked;
}

QStringList findings(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << u"Reg. No. 2KD01211%1: no photograph in Photos"_s.arg(i, 2, 10, QChar(u'0'));
    return lines;
}

TEST(GuardedQuestions, SpaceAnswersNothingEnterAndEscSayNoAndOnlyYSaysYes)
{
    QtPrompter prompter;
    const auto risky = [&] {
        return prompter.askRisky(u"Confirm cancel"_s, u"Cancel"_s) ? PromptAnswer::Yes : PromptAnswer::No;
    };
    const struct
    {
        const char *story;
        std::vector<Keys> keys;
        PromptAnswer answer;
        int openAfter;
    } cases[] = {
        {"Space, then Enter", {{Qt::Key_Space}, {Qt::Key_Return}}, PromptAnswer::No, 1},
        {"Space twice, then Esc", {{Qt::Key_Space}, {Qt::Key_Space}, {Qt::Key_Escape}}, PromptAnswer::No, 2},
        {"a word typed, then Y",
         {{Qt::Key_J}, {Qt::Key_A}, {Qt::Key_M}, {Qt::Key_Space}, {Qt::Key_Y}},
         PromptAnswer::Yes,
         4},
        {"Alt+Y", {{Qt::Key_Y, Qt::AltModifier}}, PromptAnswer::Yes, 0},
        {"Tab, then Space", {{Qt::Key_Tab}, {Qt::Key_Space}, {Qt::Key_Escape}}, PromptAnswer::No, 2},
    };
    for (const auto &c : cases) {
        const Asked asked = askWithKeys(risky, c.keys);
        EXPECT_EQ(asked.answer, c.answer) << c.story;
        EXPECT_EQ(asked.openAfter, c.openAfter) << c.story;
    }
    // A question whose Yes is the safe way keeps Enter for Yes.
    const Asked plain = askWithKeys(
        [&] {
            return prompter.askYesNo(u"Do you want Student copy with Acknowledgement?"_s) ? PromptAnswer::Yes
                                                                                          : PromptAnswer::No;
        },
        {{Qt::Key_Return}});
    EXPECT_EQ(plain.answer, PromptAnswer::Yes);
    EXPECT_EQ(plain.kind, u"QMessageBox"_s);
}

// "Is certificate printed Successfully?": Yes stores the number on the candidate, No
// registers the sheet spoiled. Neither may be a hurried key's: Enter, Esc and Space do
// nothing, only Y or N answer, in a message box and in the list dialog alike.
TEST(QuestionsWithoutDefault, EnterEscAndSpaceAnswerNothingOnlyYOrNDo)
{
    QtPrompter prompter;
    const QString longText = u"Is certificate printed Successfully?\n"_s + findings(40).join(u'\n');
    const struct
    {
        const char *story;
        bool asList;
        std::vector<Keys> keys;
        PromptAnswer answer;
    } cases[] = {
        {"Enter, Esc, Space, then Y",
         false,
         {{Qt::Key_Return}, {Qt::Key_Escape}, {Qt::Key_Space}, {Qt::Key_Y}},
         PromptAnswer::Yes},
        {"keypad Enter, then N", false, {{Qt::Key_Enter, Qt::KeypadModifier}, {Qt::Key_N}}, PromptAnswer::No},
        {"Tab, Space, Esc, then Alt+N",
         false,
         {{Qt::Key_Tab}, {Qt::Key_Space}, {Qt::Key_Escape}, {Qt::Key_N, Qt::AltModifier}},
         PromptAnswer::No},
        {"a list: Enter, Esc, then Y", true, {{Qt::Key_Return}, {Qt::Key_Escape}, {Qt::Key_Y}}, PromptAnswer::Yes},
        {"a list: Space, Enter, then N", true, {{Qt::Key_Space}, {Qt::Key_Return}, {Qt::Key_N}}, PromptAnswer::No},
    };
    for (const auto &c : cases) {
        const Asked asked = askWithKeys(
            [&] {
                return prompter.askEither(c.asList ? longText : u"Is certificate printed Successfully?"_s)
                           ? PromptAnswer::Yes
                           : PromptAnswer::No;
            },
            c.keys);
        EXPECT_EQ(asked.answer, c.answer) << c.story;
        // Open after every key but the last, which answered.
        EXPECT_EQ(asked.openAfter, int(c.keys.size()) - 1) << c.story;
        EXPECT_EQ(asked.kind, c.asList ? u"sw::ListDialog"_s : u"QMessageBox"_s) << c.story;
    }
    // The list dialog's close button answers nothing either; Y still does.
    ListDialog dialog(u"Is certificate printed Successfully?"_s, findings(3), {}, u"Message"_s, PromptIcon::Question,
                      PromptButtons::YesNo, PromptAnswer::None);
    EXPECT_EQ(dialog.defaultButton(), nullptr);
    test::showActive(dialog);
    dialog.reject();
    EXPECT_TRUE(dialog.isVisible());
    QTest::keyClick(&dialog, Qt::Key_Y);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.answer(), PromptAnswer::Yes);
}

TEST(ListDialogs, AHundredFindingsScrollUnderTheirQuestionWithinTheScreen)
{
    QtPrompter prompter;
    const QSize room = ListDialog::roomOnScreen(nullptr);
    std::vector<Keys> keys{{Qt::Key_Space}, {Qt::Key_Down}, {Qt::Key_PageDown}, {Qt::Key_End}, {Qt::Key_Return}};
    int scrolledTo = -1, last = -1;
    bool questionShown = false, buttonsShown = false;
    QObject owner;
    test::whenModalOpens(&owner, [&](QWidget &window) {
        auto *dialog = qobject_cast<ListDialog *>(&window);
        ASSERT_NE(dialog, nullptr);
        EXPECT_LE(dialog->frameGeometry().height(), room.height() + 48);
        EXPECT_LE(dialog->frameGeometry().width(), room.width() + 16);
        const auto *question = dialog->findChild<QLabel *>(u"question"_s);
        questionShown = question && question->isVisible() && question->text() == u"Go on all the same?"_s
                        && dialog->rect().contains(question->geometry());
        QAbstractButton *no = dialog->button(PromptAnswer::No);
        buttonsShown = no && no->isVisible() && dialog->defaultButton() == no
                       && dialog->rect().contains(no->mapTo(dialog, no->rect().bottomRight()));
        QScrollBar *bar = dialog->list()->verticalScrollBar();
        EXPECT_GT(bar->maximum(), 0); // the list is longer than its room
        // The list has the dialog's focus (the offscreen platform does not always make the
        // dialog the active window, so the keys go to the dialog's own focus widget).
        QWidget *focus = dialog->focusWidget();
        ASSERT_EQ(focus, dialog->list());
        for (const Keys &k : keys) {
            QTest::keyClick(focus, Qt::Key(k.key), k.modifiers);
            if (k.key == Qt::Key_PageDown)
                scrolledTo = bar->value();
            if (k.key == Qt::Key_End)
                last = bar->value() == bar->maximum() ? 1 : 0;
        }
    });
    const PromptAnswer answer = prompter.askWithList(u"The check before printing found:"_s, findings(100),
                                                     u"Go on all the same?"_s, u"Check before printing"_s,
                                                     PromptIcon::Exclamation, PromptButtons::YesNo, PromptAnswer::No);
    EXPECT_EQ(answer, PromptAnswer::No); // Space scrolled or did nothing; Enter gave the default
    EXPECT_TRUE(questionShown);
    EXPECT_TRUE(buttonsShown);
    EXPECT_GT(scrolledTo, 1);
    EXPECT_EQ(last, 1);
}

// A message or question too long for a message box is shown by the list dialog: the
// last paragraph (the question) below the list, the box never taller than the screen.
TEST(ListDialogs, LongMessagesAndQuestionsBecomeListsThatFit)
{
    QtPrompter prompter;
    const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
    const QString longText = u"Imported Successfully\r\r"_s + findings(80).join(u'\r');
    Asked shown = askWithKeys(
        [&] {
            prompter.message(longText, u"Message"_s, PromptIcon::Information);
            return PromptAnswer::Ok;
        },
        {{Qt::Key_Space}, {Qt::Key_Return}});
    EXPECT_EQ(shown.kind, u"sw::ListDialog"_s);
    EXPECT_EQ(shown.openAfter, 1);
    EXPECT_LE(shown.frame.height(), screen.height());

    Asked asked = askWithKeys(
        [&] {
            return prompter.ask(findings(60).join(u'\n') + u"\n\nGo on all the same?"_s, u"Message"_s,
                                PromptIcon::Question, PromptButtons::YesNo, PromptAnswer::No);
        },
        {{Qt::Key_Y}});
    EXPECT_EQ(asked.kind, u"sw::ListDialog"_s);
    EXPECT_EQ(asked.answer, PromptAnswer::Yes);
    EXPECT_LE(asked.frame.height(), screen.height());

    // Short texts keep their message box.
    Asked small = askWithKeys(
        [&] {
            prompter.message(u"Saved"_s, u"Message"_s, PromptIcon::Information);
            return PromptAnswer::Ok;
        },
        {{Qt::Key_Return}});
    EXPECT_EQ(small.kind, u"QMessageBox"_s);
}

} // namespace
