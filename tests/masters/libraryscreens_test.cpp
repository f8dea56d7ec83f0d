// SPDX-License-Identifier: GPL-3.0-or-later
// The Kannada name library screens driven offscreen: the word library by hand, and
// the bulk update that fills candidates' Kannada names or teaches the library.
#include "screensfixture.h"

#include "masters/namelibrary/kannadalibraryscreen.h"
#include "masters/namelibrary/kannadanameupdatescreen.h"
#include "masters/recordmasters/recordmasterform.h"
#include "shell/core/legacytext.h"
#include "shell/forms/kannadabox.h"
#include "support/kannadatyping.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::MastersScreensTest;

namespace {

using LibraryScreensTest = MastersScreensTest;

// The high bytes of the legacy font in four words of 32 bytes: every byte 0x80..0xFF once.
QByteArray highBytes(int word)
{
    QByteArray bytes;
    for (int b = 0x80 + 32 * word; b < 0x80 + 32 * (word + 1); ++b)
        bytes.append(char(b));
    return bytes;
}

TEST_P(LibraryScreensTest, EveryHighByteOfTheLegacyFontSurvivesTheLibraryScreenAndItsReload)
{
    openWindow(u"ADMIN"_s, u"admin"_s);
    auto *form = open<KannadaLibraryScreen>(u"N44"_s);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), u"Kannada Library . . ."_s);
    test::expectKannadaBox(form->text(1), RecordMasterForm::kannadaFont());

    const QString words[] = {u"ASHA"_s, u"BHAGYA"_s, u"CHANDRA"_s, u"DEVI"_s};
    for (int w = 0; w < 4; ++w) {
        form->text(0)->setText(u"  "_s + words[w] + u' ');
        form->text(1)->setText(legacytext::fromBytes(highBytes(w)));
        form->cmd(0)->click();
    }
    ASSERT_EQ(form->spread()->rowCount(), 4);
    shoot(form, u"autocorrect"_s);
    const QString table = m_folder->db().table(u"KANLIB"_s);
    for (int w = 0; w < 4; ++w) {
        EXPECT_EQ(legacytext::toBytes(value(u"select fkanname from "_s + table + u" where fengname = ?"_s, {words[w]})),
                  highBytes(w))
            << w;
        // The grid, reloaded from the table, shows the same bytes; a click brings them back to the boxes.
        EXPECT_EQ(legacytext::toBytes(form->spread()->item(w, 1)->text()), highBytes(w)) << w;
    }
    form->text(0)->clear();
    form->text(1)->clear();
    QTest::mouseClick(form->spread()->viewport(), Qt::LeftButton, {},
                      form->spread()->visualItemRect(form->spread()->item(2, 0)).center());
    EXPECT_EQ(form->text(0)->text(), u"CHANDRA"_s);
    EXPECT_EQ(legacytext::toBytes(KannadaBox::storedText(form->text(1))), highBytes(2));

    // Storing a word that exists asks first: No leaves the spelling, Yes replaces it.
    form->text(1)->setText(legacytext::fromBytes("\xC1\xC2"));
    m_prompter.answer(PromptAnswer::No);
    form->cmd(0)->click();
    EXPECT_EQ(m_prompter.last(), u"This Code already exist. Do you want to replace old one"_s);
    EXPECT_EQ(legacytext::toBytes(value(u"select fkanname from "_s + table + u" where fengname = 'CHANDRA'"_s)),
              highBytes(2));
    m_prompter.answer(PromptAnswer::Yes);
    form->cmd(0)->click();
    EXPECT_EQ(legacytext::toBytes(value(u"select fkanname from "_s + table + u" where fengname = 'CHANDRA'"_s)),
              QByteArray("\xC1\xC2"));

    EXPECT_EQ(test::outcomeOf(form), u"Replaced the spelling of CHANDRA"_s);

    // Either box empty: nothing is stored, and the empty box gets the focus.
    form->text(0)->setText(u"   "_s);
    form->cmd(0)->click();
    EXPECT_EQ(m_prompter.last(), u"Replace or With fields should be Entered"_s);
    EXPECT_EQ(test::focused(), form->text(0));
    EXPECT_EQ(test::outcomeOf(form), u"Nothing stored"_s);
    EXPECT_EQ(value(u"select count(*) from "_s + table), u"4"_s);

    // From the keyboard: the word typed in capitals, Enter to the spelling, to OK, and OK
    // pressed; the focus is back in the word for the next one.
    form->text(0)->selectAll();
    test::type(u"eshwar"_s);
    EXPECT_EQ(form->text(0)->text(), u"ESHWAR"_s);
    EXPECT_EQ(test::focusWalk(Qt::Key_Return, 1), QStringList{u"text_1"_s});
    form->text(1)->setText(legacytext::fromBytes("\xC3\xC4"));
    EXPECT_EQ(test::focusWalk(Qt::Key_Down, 1), QStringList{u"cmd_0"_s});
    test::press(Qt::Key_Return);
    EXPECT_EQ(test::outcomeOf(form), u"Stored ESHWAR"_s);
    EXPECT_EQ(test::focused(), form->text(0));
    EXPECT_EQ(form->text(0)->selectedText(), u"ESHWAR"_s);
    EXPECT_EQ(legacytext::toBytes(value(u"select fkanname from "_s + table + u" where fengname = 'ESHWAR'"_s)),
              QByteArray("\xC3\xC4"));
    // Enter on a row of the grid brings its word to the boxes, the spelling to correct.
    form->spread()->setCurrentCell(0, 0);
    form->spread()->setFocus();
    test::press(Qt::Key_Return);
    EXPECT_EQ(form->text(0)->text(), u"ASHA"_s);
    EXPECT_EQ(test::focused(), form->text(1));
    m_prompter.clear();

    // Delete in the grid asks, then removes the active row's word.
    form->spread()->setCurrentCell(1, 0);
    form->spread()->setFocus();
    m_prompter.answer(PromptAnswer::No);
    QTest::keyClick(form->spread(), Qt::Key_Delete);
    EXPECT_EQ(value(u"select count(*) from "_s + table), u"5"_s);
    m_prompter.answer(PromptAnswer::Yes);
    QTest::keyClick(form->spread(), Qt::Key_Delete);
    EXPECT_EQ(m_prompter.last(), u"Are you sure?"_s);
    EXPECT_EQ(value(u"select count(*) from "_s + table + u" where fengname = 'BHAGYA'"_s), u"0"_s);
    EXPECT_EQ(form->spread()->rowCount(), 4);
    EXPECT_EQ(test::outcomeOf(form), u"Deleted BHAGYA"_s);

    // A word typed in Unicode Kannada (where the legacy font is missing) is stored as
    // the font's codes, and the grid shows it as it was typed.
    if (!test::kannadaShownThroughUnicode(RecordMasterForm::kannadaFont()))
        return;
    form->text(0)->setText(u"SURYA"_s);
    form->text(1)->clear();
    form->text(1)->setFocus();
    test::typeThroughInputMethod(form->text(1), u"ಸೂರ್ಯ"_s);
    EXPECT_EQ(test::focusWalk(Qt::Key_Return, 1), QStringList{u"cmd_0"_s}); // Enter leaves a Kannada box too
    test::press(Qt::Key_Return);
    EXPECT_EQ(value(u"select fkanname from "_s + table + u" where fengname = 'SURYA'"_s), u"¸ÀÆAiÀÄð"_s);
    const QList<QTableWidgetItem *> surya = form->spread()->findItems(u"SURYA"_s, Qt::MatchExactly);
    ASSERT_EQ(surya.size(), 1);
    const QTableWidgetItem *kannada = form->spread()->item(surya.front()->row(), 1);
    EXPECT_EQ(kannada->text(), u"¸ÀÆAiÀÄð"_s);
    const auto *shown = dynamic_cast<const QStyledItemDelegate *>(form->spread()->itemDelegateForColumn(1));
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->displayText(kannada->data(Qt::DisplayRole), QLocale()), u"ಸೂರ್ಯ"_s);
}

TEST_P(LibraryScreensTest, TheUpdateScreenTeachesTheLibraryThenFillsTheMissingNames)
{
    openWindow(u"ADMIN"_s, u"admin"_s);
    Database &db = m_folder->db();
    const QByteArray ramaKan("\xF0\xA0"); // 0xA0 is a letter of the font, not a blank
    const QByteArray kumarKan("\xE6\xD2\x85");
    db.exec(u"insert into convo (fregno, fname, fnamekan, fconvocode) values ('K1', 'RAMA KUMAR', ?, 'C26')"_s,
            {legacytext::fromBytes(ramaKan + ' ' + kumarKan)});
    db.exec(u"insert into convo (fregno, fname, fconvocode) values ('K2', 'KUMAR SWAMY RAMA', 'C26')"_s);
    db.exec(u"insert into convo (fregno, fname, fconvocode, fcertno) values ('K3', 'RAMA', 'C26', 'DC000001')"_s);

    auto *form = open<KannadaNameUpdateScreen>(u"N2A"_s);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), u"Update Kannada Names . . ."_s);
    // Enter on the ticked box goes to Upload; Enter there runs it.
    ASSERT_EQ(test::focused(), form->libraryBox());
    test::press(Qt::Key_Space);
    EXPECT_TRUE(form->libraryBox()->isChecked());
    EXPECT_EQ(test::focusWalk(Qt::Key_Return, 1), QStringList{u"cmd"_s});
    test::press(Qt::Key_Return);
    EXPECT_EQ(m_prompter.last(), u"Library Updated Successfully"_s);
    EXPECT_EQ(test::outcomeOf(form), u"2 word(s) added to the library from 1 name row(s)"_s);
    const QString table = db.table(u"KANLIB"_s);
    EXPECT_EQ(legacytext::toBytes(value(u"select fkanname from "_s + table + u" where fengname = 'RAMA'"_s)), ramaKan);
    EXPECT_EQ(legacytext::toBytes(value(u"select fkanname from "_s + table + u" where fengname = 'KUMAR'"_s)),
              kumarKan);

    form->libraryBox()->setChecked(false);
    form->cmd()->click();
    EXPECT_EQ(m_prompter.last(), u"Library Updated Successfully"_s);
    EXPECT_EQ(test::outcomeOf(form), u"1 Kannada name(s) filled in 2 candidate row(s)"_s);
    EXPECT_EQ(form->PB()->value(), 0);
    // SWAMY is not in the library: a two-word Kannada name in the English order.
    EXPECT_EQ(legacytext::toBytes(value(u"select fnamekan from convo where fregno = 'K2'"_s)),
              kumarKan + ' ' + ramaKan);
    EXPECT_EQ(legacytext::toBytes(value(u"select fnamekan from convo where fregno = 'K1'"_s)),
              ramaKan + ' ' + kumarKan);
    EXPECT_EQ(value(u"select fnamekan from convo where fregno = 'K3'"_s), QString()); // printed: left alone
    shoot(form, u"updkanname"_s);
}

INSTANTIATE_TEST_SUITE_P(Backends, LibraryScreensTest, test::bothBackends(), test::backendName);

} // namespace
