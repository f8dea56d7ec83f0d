// SPDX-License-Identifier: GPL-3.0-or-later
// The master screens driven offscreen through the main window, as a clerk uses them.
#include "screensfixture.h"

#include "masters/gridmasters/gridmasterform.h"
#include "masters/mastersscreens.h"
#include "masters/recordmasters/recordmasterform.h"
#include "shell/core/legacytext.h"
#include "shell/forms/commanddispatcher.h"
#include "shell/forms/menutree.h"
#include "shell/forms/screenregistry.h"
#include "shell/ui/mainwindow.h"
#include "shell/forms/kannadabox.h"
#include "support/kannadatyping.h"
#include "support/scriptedprompter.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::MastersScreensTest;

namespace {

TEST_P(MastersScreensTest, ADegreeIsAddedWithItsKannadaBytesAndEditedWithoutLosingThem)
{
    openWindow(u"ADMIN"_s, u"admin"_s);
    auto *form = open<RecordMasterForm>(u"N11"_s);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), u"Degree . . ."_s);
    test::expectKannadaBox(form->text(2), RecordMasterForm::kannadaFont());
    test::expectKannadaBox(form->text(4), RecordMasterForm::kannadaFont());

    QByteArray bytes;
    for (int b = 0x80; b <= 0xE3; ++b)
        bytes.append(char(b));
    QByteArray special; // the rest of the high bytes, in the second Kannada box
    for (int b = 0xE4; b <= 0xFF; ++b)
        special.append(char(b));
    run(Command::Add);
    form->text(0)->setText(u"BSC"_s);
    form->text(1)->setText(u"Bachelor of Science"_s);
    form->text(2)->setText(legacytext::fromBytes(bytes));
    form->text(4)->setText(legacytext::fromBytes(special));
    form->chk(0)->setChecked(true);
    shoot(form, u"degree_add"_s);
    run(Command::Save);
    ASSERT_EQ(form->editMode(), EditMode::Browse) << m_prompter.last().toStdString();
    const QString table = m_folder->db().table(u"DEGREE"_s);
    const QString kannada = u"select fdescpnkan, fspecialkan from "_s + table;
    EXPECT_EQ(legacytext::toBytes(value(kannada)), bytes + '|' + special);
    EXPECT_EQ(value(u"select fcredit from "_s + table), u"T"_s);

    // Edit with an unknown code keeps the cursor in the code box.
    run(Command::Edit);
    form->text(0)->setText(u"NONE"_s);
    form->text(0)->setFocus();
    QTest::keyClick(form->text(0), Qt::Key_Return);
    EXPECT_EQ(m_prompter.last(), u"Invalid Degree"_s);
    form->text(0)->setText(u"BSC"_s);
    QTest::keyClick(form->text(0), Qt::Key_Return);
    EXPECT_EQ(KannadaBox::storedText(form->text(2)), legacytext::fromBytes(bytes));
    form->text(1)->setText(u"Science"_s);
    form->chk(0)->setChecked(false);
    run(Command::Save);
    EXPECT_EQ(value(u"select fdescpn, fcredit from "_s + table), u"Science|F"_s);
    EXPECT_EQ(legacytext::toBytes(value(kannada)), bytes + '|' + special);
}

TEST_P(MastersScreensTest, TheCollegeGridSavesAddedRowsAndDeletesTickedOnes)
{
    openWindow(u"ADMIN"_s, u"admin"_s);
    auto *form = open<GridMasterForm>(u"N12"_s);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), u"Colleges . . ."_s);
    QTableWidget *grid = form->spread();

    run(Command::Add);
    ASSERT_EQ(grid->currentRow(), 0);
    grid->item(0, 0)->setText(u"001"_s);
    grid->item(0, 1)->setText(u"First College"_s);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Down); // leaving the row checks it, records it and opens the next
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->currentRow(), 1);
    EXPECT_EQ(grid->item(0, 0)->background().color(), GridMasterForm::lockedColour());
    grid->item(1, 0)->setText(u"001"_s);
    grid->item(1, 1)->setText(u"Same code"_s);
    QTest::keyClick(grid, Qt::Key_F4);
    EXPECT_EQ(m_prompter.last(), u"College Code already Entered"_s);
    EXPECT_EQ(grid->currentRow(), 0); // the cursor goes to the row that has the code
    grid->item(1, 0)->setText(u"002"_s);
    grid->setCurrentCell(1, 1);
    shoot(form, u"college_add"_s);
    run(Command::Save);
    ASSERT_EQ(form->editMode(), EditMode::Browse) << m_prompter.last().toStdString();
    const QString table = m_folder->db().table(u"COLLEGE"_s);
    EXPECT_EQ(value(u"select count(*) from "_s + table), u"2"_s);
    EXPECT_EQ(test::outcomeOf(form), u"Saved: 2 added, 0 changed, 0 deleted"_s);
    // Browsing shows the table's rows, read-only.
    EXPECT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);

    run(Command::Edit);
    ASSERT_EQ(grid->rowCount(), 2);
    grid->setCurrentCell(0, 1);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_F7);
    EXPECT_EQ(grid->item(0, 2)->checkState(), Qt::Checked);
    grid->item(1, 1)->setText(u"Second College"_s);
    grid->setCurrentCell(1, 1);
    run(Command::Save);
    EXPECT_EQ(value(u"select fcollname, (select count(*) from "_s + table + u") from "_s + table),
              u"Second College|1"_s);
}

// What the clerk types in a cell counts before any check or save, even while its editor is
// still open; a code repeated in the grid is refused as soon as its cell is left.
TEST_P(MastersScreensTest, TheCellBeingTypedCountsAndARepeatedCodeIsRefusedWhereItIsTyped)
{
    openWindow(u"ADMIN"_s, u"admin"_s);
    auto *form = open<GridMasterForm>(u"N12"_s);
    ASSERT_NE(form, nullptr);
    SpreadGrid *grid = form->spread();
    const auto typeAndLeave = [grid](int row, int column, const QString &text, int leaveKey) {
        grid->setFocus();
        grid->setCurrentCell(row, column);
        QTest::keyClick(grid, Qt::Key_F2);
        QTest::keyClicks(QApplication::focusWidget(), text);
        if (leaveKey)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(leaveKey));
        QCoreApplication::processEvents();
    };
    test::press(Qt::Key_F4, {}, m_window.get());
    typeAndLeave(0, 0, u"C1"_s, Qt::Key_Tab);
    EXPECT_EQ(grid->currentColumn(), 1);
    // Save straight from a cell still being typed in: the name is part of the save.
    typeAndLeave(0, 1, u"CITY COLLEGE"_s, 0);
    run(Command::Save);
    ASSERT_EQ(form->editMode(), EditMode::Browse) << m_prompter.last().toStdString();
    EXPECT_EQ(value(u"select fcollname from "_s + m_folder->db().table(u"COLLEGE"_s) + u" where fcollcode = 'C1'"_s),
              u"CITY COLLEGE"_s);
    EXPECT_EQ(test::outcomeOf(form), u"Saved: 1 added, 0 changed, 0 deleted"_s);

    run(Command::Add);
    const int added = grid->currentRow();
    ASSERT_EQ(added, 1);
    typeAndLeave(added, 0, u"C1"_s, Qt::Key_Tab);
    EXPECT_EQ(m_prompter.last(), u"College code already Exist!!"_s);
    EXPECT_EQ(grid->currentRow(), added);
    EXPECT_EQ(grid->currentColumn(), 0);
    // The name cell left empty is refused the same way.
    m_prompter.clear();
    typeAndLeave(added, 0, u"C2"_s, Qt::Key_Tab);
    EXPECT_TRUE(m_prompter.shown().empty()) << m_prompter.last().toStdString();
    typeAndLeave(added, 1, QString(), Qt::Key_Tab);
    EXPECT_EQ(m_prompter.last(), u"College Name should be Entered"_s);
}

INSTANTIATE_TEST_SUITE_P(Backends, MastersScreensTest, test::bothBackends(), test::backendName);

} // namespace
