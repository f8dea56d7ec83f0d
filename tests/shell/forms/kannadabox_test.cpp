// SPDX-License-Identifier: GPL-3.0-or-later
// A Kannada box where its legacy font is missing: what it shows, and what it stores
// from codes the screen set and from text the clerk typed.
#include "shell/document/fonttable.h"
#include "shell/forms/kannadabox.h"
#include "support/kannadatyping.h"

#include <QLineEdit>
#include <QTableWidget>
#include <QStyledItemDelegate>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

struct BoxCase
{
    const char *name;
    int columnWidth;      // the box's maximum length, in legacy codes
    QString stored;       // the codes the screen sets
    QString typedUnicode; // then typed at the end through an input method
    QString typedKeys;    // or typed on the keyboard (Latin keys: legacy codes as before)
    QString shown;
    QString storedBack;
};

void PrintTo(const BoxCase &c, std::ostream *os) { *os << c.name; }

const BoxCase kCases[] = {
    {"untouched codes are stored exactly", 60, u"¸ÀÆAiÀÄð¥ÀæPÁ±ï"_s, {}, {}, u"ಸೂರ್ಯಪ್ರಕಾಶ್"_s, u"¸ÀÆAiÀÄð¥ÀæPÁ±ï"_s},
    // Codes typed in an order of their own read right and, untouched, are not rewritten.
    {"untouched codes in a typing order of their own", 60, u"PÀÌÄ"_s, {}, {}, u"ಕ್ಕು"_s, u"PÀÌÄ"_s},
    {"codes that form no syllable stay", 60, u"À PÀÃ"_s, {}, {}, u"À ಕÃ"_s, u"À PÀÃ"_s},
    {"empty", 60, {}, {}, {}, {}, {}},
    // A reading longer than its codes was cut to the box's maximum length, and the
    // cut reading written back as other codes: the stored name changed on save.
    {"a reading longer than the column is shown whole and stored unchanged",
     4,
     u"QQQQ"_s,
     {},
     {},
     u"ಕಿಕಿಕಿಕಿ"_s,
     u"QQQQ"_s},
    {"typed Unicode is stored as the codes", 60, {}, u"ಲಕ್ಷ್ಮೀ"_s, {}, u"ಲಕ್ಷ್ಮೀ"_s, u"®QëäÃ"_s},
    {"typed after stored codes", 60, u"gÁªÀÄ"_s, u" ಕೃಷ್ಣ"_s, {}, u"ರಾಮ ಕೃಷ್ಣ"_s, u"gÁªÀÄ PÀÈµÀÚ"_s},
    // ಕ is two codes: the third would not fit in four.
    {"typing past the column width in codes is refused", 4, {}, u"ಕಕಕ"_s, {}, u"ಕಕ"_s, u"PÀPÀ"_s},
    {"a letter of another script is refused", 60, {}, u"ರಾम"_s, {}, u"ರಾ"_s, u"gÁ"_s},
    {"codes typed on the keyboard are stored as typed", 60, {}, {}, u"gAa"_s, u"gAa"_s, u"gAa"_s},
};

class KannadaBoxTest : public testing::TestWithParam<BoxCase>
{
protected:
    void SetUp() override
    {
        if (!test::kannadaShownThroughUnicode())
            GTEST_SKIP() << "\"Nudi 01 e\" is installed (or no Unicode Kannada font is): the box draws the codes";
    }
};

TEST_P(KannadaBoxTest, ShowsTheReadingAndStoresTheCodes)
{
    const BoxCase &c = GetParam();
    QLineEdit box;
    box.setMaxLength(c.columnWidth);
    KannadaBox::attach(&box, u"Nudi 01 e"_s, 13);
    test::expectKannadaBox(&box, u"Nudi 01 e"_s);
    EXPECT_EQ(KannadaBox::maxLength(&box), c.columnWidth);

    box.setText(c.stored);
    box.end(false);
    if (!c.typedUnicode.isEmpty())
        test::typeThroughInputMethod(&box, c.typedUnicode);
    if (!c.typedKeys.isEmpty())
        QTest::keyClicks(&box, c.typedKeys);
    EXPECT_EQ(box.text(), c.shown);
    EXPECT_EQ(KannadaBox::storedText(&box), c.storedBack);
    EXPECT_LE(KannadaBox::storedText(&box).size(), c.columnWidth);

    // The next record's codes replace whatever was typed.
    box.setText(u"zÀ"_s);
    EXPECT_EQ(box.text(), u"ದ"_s);
    EXPECT_EQ(KannadaBox::storedText(&box), u"zÀ"_s);
}

INSTANTIATE_TEST_SUITE_P(Boxes, KannadaBoxTest, testing::ValuesIn(kCases));

TEST(KannadaColumnTest, AGridColumnShowsTheReadingOverTheStoredCodes)
{
    if (!test::kannadaShownThroughUnicode(u"BRH Kannada"_s))
        GTEST_SKIP() << "\"BRH Kannada\" is installed: the column draws the codes";
    QTableWidget grid(1, 2);
    grid.setItem(0, 0, new QTableWidgetItem(u"RAMA"_s));
    grid.setItem(0, 1, new QTableWidgetItem(u"gÁªÀÄ"_s));
    KannadaBox::showColumn(&grid, 1, u"BRH Kannada"_s, 13);
    KannadaBox::showColumn(&grid, 1, u"BRH Kannada"_s, 13); // a second call changes nothing
    const auto *shown = dynamic_cast<const QStyledItemDelegate *>(grid.itemDelegateForColumn(1));
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->displayText(grid.item(0, 1)->data(Qt::DisplayRole), QLocale()), u"ರಾಮ"_s);
    EXPECT_EQ(grid.item(0, 1)->text(), u"gÁªÀÄ"_s) << "the model keeps the codes";
    EXPECT_EQ(grid.itemDelegateForColumn(0), nullptr);
}

} // namespace
