// SPDX-License-Identifier: GPL-3.0-or-later
// The builder composes in the order callers type: formats carry over, paragraphs
// end where asked, and text goes to the header or a text box while one is open.
#include "shell/core/stoperror.h"
#include "shell/document/document.h"
#include "support/stoptext.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

TEST(DocumentBuilderTest, TypingKeepsFormatsAndSplitsParagraphsAtNewLines)
{
    Document doc;
    DocumentBuilder b(doc);
    b.setFont(u"Arial"_s, 12);
    b.type(u"Reg. "_s);
    b.type(u"No: "_s); // same format: one run
    b.setBold(true);
    b.type(u"123\nnext"_s);
    b.setAlignment(Alignment::Right);
    b.endParagraph();
    b.endParagraph(); // an empty paragraph still takes its line
    ASSERT_EQ(doc.flow.size(), 3u);
    const auto &first = std::get<Paragraph>(doc.flow[0]);
    ASSERT_EQ(first.runs.size(), 2u);
    EXPECT_EQ(first.runs[0].text, u"Reg. No: "_s);
    EXPECT_FALSE(first.runs[0].format.bold);
    EXPECT_EQ(first.runs[1].text, u"123"_s);
    EXPECT_TRUE(first.runs[1].format.bold);
    EXPECT_EQ(first.format.alignment, Alignment::Left) << "the format in force when it ended";
    const auto &second = std::get<Paragraph>(doc.flow[1]);
    EXPECT_EQ(second.format.alignment, Alignment::Right);
    const auto &empty = std::get<Paragraph>(doc.flow[2]);
    EXPECT_TRUE(empty.runs.empty());
    EXPECT_TRUE(empty.endFormat.bold);
    EXPECT_EQ(doc.fontNames(), std::vector<QString>{u"Arial"_s});
}

TEST(DocumentBuilderTest, HeaderTextBoxAndTableTakeTheirOwnText)
{
    Document doc;
    DocumentBuilder b(doc);
    EXPECT_EQ(test::stopText([&] { b.cell(0, 0, u"no table yet"_s); }), u"A table cell was written outside a table."_s);
    b.type(u"open paragraph"_s); // ended by what follows
    b.beginHeader();
    b.type(u"letter head"_s);
    b.endHeader();
    b.beginTextBox(QRectF(10, 20, 30, 40));
    b.type(u"boxed"_s);
    b.endTextBox();
    b.beginTable({1.0, 2.0});
    b.cell(2, 1, u"c"_s);
    EXPECT_EQ(test::stopText([&] { b.cell(0, 2, u"no such column"_s); }),
              u"The table has 2 columns: cell (1, 3) lies outside it."_s);
    EXPECT_EQ(test::stopText([&] { b.cell(-1, 0, u"no such row"_s); }),
              u"The table has 2 columns: cell (0, 1) lies outside it."_s);
    b.pageBreak();
    b.picture(u"/x/seal.jpg"_s, QRectF(1, 2, 3, 4));
    ASSERT_EQ(doc.header.paragraphs.size(), 1u);
    EXPECT_EQ(doc.header.paragraphs[0].runs[0].text, u"letter head"_s);
    ASSERT_EQ(doc.flow.size(), 3u); // paragraph, table, page break
    const auto &table = std::get<Table>(doc.flow[1]);
    ASSERT_EQ(table.rows.size(), 3u);
    EXPECT_EQ(table.rows[2][1].runs[0].text, u"c"_s);
    EXPECT_TRUE(table.rows[0][0].runs.empty());
    EXPECT_TRUE(std::holds_alternative<PageBreak>(doc.flow[2]));
    ASSERT_EQ(doc.anchored.size(), 2u);
    const auto &box = std::get<TextBoxItem>(doc.anchored[0].item);
    EXPECT_EQ(box.paragraphs[0].runs[0].text, u"boxed"_s);
    EXPECT_EQ(doc.anchored[0].flowIndex, 1u);
    EXPECT_EQ(doc.anchored[1].flowIndex, 3u);
    EXPECT_EQ(std::get<PictureItem>(doc.anchored[1].item).name, u"picture seal.jpg"_s);
}

TEST(PageSetupTest, TheBodyIsThePaperLessTheMargins)
{
    PageSetup p;
    p.leftInches = 1.5;
    p.rightInches = 0.5;
    p.topInches = 2;
    p.bottomInches = 1;
    const QSizeF a4 = PageSetup::a4() * 72;
    EXPECT_EQ(p.bodyPoints(), QRectF(108, 144, a4.width() - 144, a4.height() - 216));
    p.landscape = true;
    EXPECT_EQ(p.pagePoints(), a4.transposed());
}

} // namespace
