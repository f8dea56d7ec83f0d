// SPDX-License-Identifier: GPL-3.0-or-later
// The shared routines: colours and appearance, the small helpers, and the record
// set the screens browse.
#include "formsfixture.h"

#include "shell/common/appearance.h"
#include "shell/forms/fieldframe.h"
#include "shell/forms/recordset.h"
#include "shell/forms/spreadgrid.h"
#include "shell/ui/fieldkeys.h"
#include "support/scriptedprompter.h"
#include "support/windowdriver.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::TestBackend;

namespace {

class CommonStoreTest : public ::testing::TestWithParam<TestBackend>
{
protected:
    void SetUp() override
    {
        if (!test::backendAvailable(GetParam()))
            GTEST_SKIP();
        m_folder = std::make_unique<test::LoggedInFolder>(GetParam());
    }
    std::unique_ptr<test::LoggedInFolder> m_folder;
};

TEST_P(CommonStoreTest, AppearanceTakesTheDefaultsForNullsAndInsertsAMissingRow)
{
    m_folder->db().exec(u"update control set fscol = NULL, ffont = NULL, ffontsize = NULL, ffontcol = NULL, "
                        "flbfontcol = NULL, ftocol = '&HFF'"_s);
    Appearance a = Appearance::read(m_folder->db());
    EXPECT_EQ(a.screenColour, u"&H808000"_s);
    EXPECT_EQ(a.font, u"MS Sans Serif"_s);
    EXPECT_EQ(a.pointSize(), 8.0);
    EXPECT_EQ(a.fontColour, u"&H808000"_s);
    EXPECT_EQ(a.labelColour, u"&HFFFFFF"_s);
    EXPECT_EQ(a.onlineFieldColour, u"&HFF"_s);

    m_folder->db().exec(u"delete from control"_s);
    a = Appearance::read(m_folder->db());
    EXPECT_EQ(a.screenColour, u"&H808000"_s);
    EXPECT_EQ(m_folder->db().scalar(u"select fcompany from control"_s).toString(), u"Quanvex"_s);
}

TEST_P(CommonStoreTest, RecordSetStandsOnItsRowsLikeTheScreensExpect)
{
    RecordSet rows;
    rows.open(m_folder->db(),
              u"select fconvocode, fconvoname, fdate from masconvo where fconvocode like ? "
              "order by fconvocode"_s,
              {u"C%"_s});
    ASSERT_EQ(rows.count(), 2);
    EXPECT_EQ(rows.absolutePosition(), 1);
    EXPECT_EQ(rows.text(u"FCONVOCODE"_s), u"C25"_s); // any letter case
    rows.movePrevious();
    EXPECT_TRUE(rows.bof());
    EXPECT_TRUE(rows.text(u"fconvocode"_s).isEmpty());
    rows.moveLast();
    rows.moveNext();
    EXPECT_TRUE(rows.eof());
    rows.moveNext(); // stays past the end
    EXPECT_TRUE(rows.eof());
    rows.moveTo(7);
    EXPECT_EQ(rows.text(u"fconvocode"_s), u"C26"_s);
    m_folder->db().exec(u"delete from masconvo"_s);
    rows.requery(m_folder->db());
    EXPECT_TRUE(rows.isEmpty());
    EXPECT_TRUE(rows.bof() && rows.eof());
    EXPECT_EQ(rows.absolutePosition(), 0);
}

INSTANTIATE_TEST_SUITE_P(Backends, CommonStoreTest, sw::test::bothBackends(), test::backendName);

TEST(Colours, AmpersandHTextIsBlueGreenRed)
{
    EXPECT_EQ(colourFromBgrText(u"&HC0FFFF"_s), QColor(0xFF, 0xFF, 0xC0));
    EXPECT_EQ(colourFromBgrText(u"&H808000"_s), QColor(0x00, 0x80, 0x80));
    EXPECT_EQ(colourFromBgrText(u"&hff&"_s), QColor(0xFF, 0, 0));
    EXPECT_EQ(colourFromBgrText(u" &H00C07000 "_s), QColor(0x00, 0x70, 0xC0));
    // A colour of the desktop's scheme: the palette's on screen, black on a page.
    EXPECT_TRUE(colourFromBgrText(u"&H80000008"_s).isValid());
    EXPECT_EQ(colourFromBgrText(u"&H80000008&"_s, SystemColour::Black), QColor(Qt::black));
    for (const QString &bad : {u""_s, u"C0FFFF"_s, u"#FF0000"_s, u"&H"_s, u"&HXYZ"_s, u"&H1FFFFFF"_s})
        EXPECT_FALSE(colourFromBgrText(bad).isValid()) << bad.toStdString();
    EXPECT_EQ(bgrTextFromColour(QColor(0xFF, 0xFF, 0xC0)), u"&HC0FFFF"_s);
    EXPECT_EQ(bgrTextFromColour(QColor(0xFF, 0, 0)), u"&H0000FF"_s);
}

TEST(Colours, AppearancePaintsEachKindOfControl)
{
    QWidget form;
    auto *layout = new QVBoxLayout(&form);
    auto *label = new QLabel(u"Code"_s);
    auto *edit = new QLineEdit;
    auto *box = new QCheckBox(u"Active"_s);
    auto *grid = new QTableWidget(1, 1);
    for (QWidget *w : std::initializer_list<QWidget *>{label, edit, box, grid})
        layout->addWidget(w);
    Appearance a;
    a.fontSize = u"11"_s;
    a.apply(&form, u"9"_s, AppFolder());
    EXPECT_EQ(form.palette().color(QPalette::Window), colourFromBgrText(a.screenColour));
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(box->palette().color(QPalette::WindowText), QColor(Qt::white));
    EXPECT_EQ(edit->palette().color(QPalette::Base), colourFromBgrText(u"&HC0FFFF"_s));
    EXPECT_EQ(edit->palette().color(QPalette::Text), colourFromBgrText(a.fontColour));
    EXPECT_EQ(edit->font().pointSizeF(), 11.0);
    EXPECT_TRUE(edit->font().bold());
    EXPECT_EQ(grid->font().pointSizeF(), 9.0);
    EXPECT_FALSE(grid->font().bold());
}

// The watcher that lets Enter press a focused button was taken for installed as soon as
// the application had any child object, so Enter pressed nothing anywhere.
TEST(FieldKeys, EnterPressesAFocusedButtonThoughTheApplicationHasOtherChildren)
{
    QObject otherChild(QCoreApplication::instance());
    enterPressesButtons();
    QWidget window;
    auto *button = new QPushButton(u"OK"_s, &window);
    int pressed = 0;
    QObject::connect(button, &QPushButton::clicked, [&pressed] { ++pressed; });
    test::showActive(window);
    button->setFocus();
    test::press(Qt::Key_Return);
    test::press(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(pressed, 2);
}

// A misspelt key in the mandatory list or the field order would drop its box's
// "Information should be entered" check, or its place in the order, in silence: the frame
// names each key no box of it has, once, whichever list names it (a debug build stops on
// it as the screen opens; the gallery test requires none of every screen).
TEST(FieldFrameKeys, NamesEachKeyNoBoxHasOnce)
{
    sw::Session session;
    sw::test::ScriptedPrompter prompter;
    QWidget screen;
    auto *frame = new sw::FieldFrame(&screen, session, prompter);
    frame->addText(0, u"Code"_s, u"Code"_s, 4);
    frame->addDate(0, u"Date"_s, u"Date"_s);
    frame->addCheck(2, u"Active"_s);
    const struct
    {
        QString mandatory, order;
        QStringList unknown;
    } cases[] = {
        {u"T0,M0"_s, u"T0,M0,C2"_s, {}},        {u"T0, M0 "_s, u" C2 ,T0"_s, {}},
        {u"T0,T1"_s, u"T0,M0"_s, {u"T1"_s}},    {u"T0,M1"_s, u"C2,M1,T9"_s, {u"M1"_s, u"T9"_s}},
        {u"t0"_s, u"C0"_s, {u"t0"_s, u"C0"_s}},
    };
    for (const auto &c : cases) {
        frame->setMandatoryFields(c.mandatory);
        frame->setFieldOrder(c.order);
        EXPECT_EQ(frame->unknownKeys(), c.unknown) << c.mandatory.toStdString() << " / " << c.order.toStdString();
    }
}

} // namespace

namespace {

// Issue: grid columns cut the register numbers ("2KD9900...") and pushed the search grid's
// Active? column off the right. A register number typed or loaded widens its column; when
// the columns are wider than the grid together, the widest after the first gives way
// (its cut cells keep their whole text as a tooltip) and the last column stays on screen.
TEST(SpreadGridColumns, RegisterNumbersStayWholeAndTheLastColumnOnScreen)
{
    sw::SpreadGrid grid(
        {{u"Reg. No."_s}, {u"Name"_s}, {u"Cert. No."_s}, {u"E mail"_s}, {u"Active?"_s, sw::SpreadColumn::Kind::Check}});
    grid.resize(700, 300);
    grid.show();
    QCoreApplication::processEvents();
    const QString regno = u"2KD9900123"_s;
    const QString mail = u"raghavendra.kulkarni.of.the.longest.address@example.edu.in"_s;
    for (int i = 0; i < 30; ++i)
        grid.appendRow({sw::SpreadGrid::shownItem(regno), sw::SpreadGrid::shownItem(u"RAGHAVENDRA KULKARNI"_s),
                        sw::SpreadGrid::shownItem(u"DC000132"_s), sw::SpreadGrid::shownItem(mail),
                        sw::SpreadGrid::checkItem(true)});
    grid.fitColumns();
    QCoreApplication::processEvents();

    const int needed = grid.fontMetrics().horizontalAdvance(regno);
    EXPECT_GT(grid.columnWidth(0), needed);
    const int last = 4;
    EXPECT_LE(grid.columnViewportPosition(last) + grid.horizontalHeader()->sectionSizeHint(last),
              grid.viewport()->width())
        << "the Active? column is off the right";
    EXPECT_EQ(grid.item(0, 3)->toolTip(), mail) << "the column that gave way keeps the whole text";

    // A longer register number typed in a cell widens its column at once.
    const QString longer = u"2KD9900123456789"_s;
    grid.item(1, 0)->setText(longer);
    EXPECT_GT(grid.columnWidth(0), grid.fontMetrics().horizontalAdvance(longer));
}

} // namespace
