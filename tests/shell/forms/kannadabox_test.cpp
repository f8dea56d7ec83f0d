// SPDX-License-Identifier: GPL-3.0-or-later
// A Kannada box where its legacy font is missing: what it shows, and what it stores
// from codes the screen set and from text the clerk typed.
#include "shell/document/fonttable.h"
#include "shell/forms/fieldframe.h"
#include "shell/forms/kannadabox.h"
#include "support/kannadatyping.h"

#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QTableWidget>
#include <QStyledItemDelegate>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

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

// The rows of `image` (within `columns`) holding ink: their first and last, as a height.
int inkHeight(const QImage &image, int fromX, int toX)
{
    int top = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = fromX; x < std::min(toX, image.width()); ++x) {
            if (qGray(image.pixel(x, y)) < 96) {
                if (top < 0)
                    top = y;
                bottom = y;
                break;
            }
        }
    }
    return top < 0 ? 0 : bottom - top + 1;
}

// Issue: the Kannada boxes (21 px) clipped the lower parts of stacked letters. At every
// font size the settings allow, the box draws the whole of a stacked name: as much ink,
// top to bottom, as the same text drawn with nothing around it.
TEST(KannadaBoxHeightTest, StackedLettersAreDrawnWholeAtEveryFontSize)
{
    if (!test::kannadaShownThroughUnicode())
        GTEST_SKIP() << "\"Nudi 01 e\" is installed (or no Unicode Kannada font is): the box draws the codes";
    for (const double size : {8.0, 10.0, 13.0, 16.0}) {
        for (const QString &word : {u"ಲಕ್ಷ್ಮೀ"_s, u"ಭೌತಶಾಸ್ತ್ರ"_s, u"ಶ್ರೀ ಕೃಷ್ಣ"_s}) {
            FieldBox box(20);
            KannadaBox::attach(&box, u"Nudi 01 e"_s, size);
            test::typeThroughInputMethod(&box, word);
            ASSERT_EQ(box.text(), word);
            box.resize(std::max(box.sizeHint().width(), 400), box.sizeHint().height());
            box.setCursorPosition(0);
            box.deselect();
            QImage shown(box.size(), QImage::Format_RGB32);
            shown.fill(Qt::white);
            box.render(&shown);

            QImage alone(600, 300, QImage::Format_RGB32);
            alone.fill(Qt::white);
            {
                QPainter painter(&alone);
                painter.setPen(Qt::black);
                painter.setFont(box.font());
                painter.drawText(QPointF(20, 150), word);
            }
            // The box's own frame and its trailing marker are left out of its ink.
            const int drawn = inkHeight(shown.copy(0, 2, shown.width(), shown.height() - 4), 4, shown.width() - 40);
            EXPECT_GE(drawn, inkHeight(alone, 0, alone.width()) - 1)
                << word.toStdString() << " at " << size << " points in a box " << box.height() << " px high";
        }
    }
}

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
