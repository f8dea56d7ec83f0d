// SPDX-License-Identifier: GPL-3.0-or-later
// Paragraphs laid out once while a LayoutReuse lives: found again only when everything that
// decides their lines is the same.
#include "shell/document/document.h"
#include "shell/document/documentrenderer.h"

#include <QTextLayout>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

Paragraph paragraph(const QString &text, Run::Field field = Run::Field::None)
{
    Paragraph p;
    p.runs.push_back({text, RunFormat{}, Run::Field::None});
    if (field != Run::Field::None)
        p.runs.push_back({{}, RunFormat{}, field});
    return p;
}

struct Laying
{
    Paragraph paragraph;
    double width = 6000;
    int page = 1;
    int pages = 1;
    KeyedInsets insets;
};

struct ReuseCase
{
    const char *what;
    Laying second;
    bool sameLayout;
};

TEST(LayoutReuseTest, AParagraphIsLaidOutAgainOnlyWhenWhatDecidesItsLinesDiffers)
{
    const Paragraph words = paragraph(u"This is to certify that"_s);
    const Paragraph numbered = paragraph(u"Page "_s, Run::Field::PageNumber);
    const LineInsets indent = [](double, double) { return std::pair{600.0, 0.0}; };
    const Laying first{words};
    Paragraph bold = words;
    bold.runs[0].format.bold = true;
    Paragraph spaced = words;
    spaced.format.spaceAfter = 6;
    const ReuseCase cases[] = {
        {"the same paragraph", {words}, true},
        {"the same words in another paragraph", {paragraph(u"This is to certify that"_s)}, true},
        {"another page, no page fields", {words, 6000, 2, 3}, true},
        {"other words", {paragraph(u"This is to certify this"_s)}, false},
        {"bold", {bold}, false},
        {"space after", {spaced}, false},
        {"narrower", {words, 5000}, false},
        {"insets with a key", {words, 6000, 1, 1, {indent, "left 600"}}, false},
        {"insets without a key", {words, 6000, 1, 1, {indent, {}}}, false},
    };
    for (const ReuseCase &c : cases) {
        const LayoutReuse reuse;
        const auto a = layoutParagraph(first.paragraph, first.width, nullptr, first.page, first.pages, first.insets);
        const auto b = layoutParagraph(c.second.paragraph, c.second.width, nullptr, c.second.page, c.second.pages,
                                       c.second.insets);
        EXPECT_EQ(a == b, c.sameLayout) << c.what;
    }

    // A page field is filled per page: page 2 is not page 1's layout.
    {
        const LayoutReuse reuse;
        EXPECT_NE(layoutParagraph(numbered, 6000, nullptr, 1, 2), layoutParagraph(numbered, 6000, nullptr, 2, 2));
        EXPECT_EQ(layoutParagraph(numbered, 6000, nullptr, 2, 2), layoutParagraph(numbered, 6000, nullptr, 2, 2));
        const KeyedInsets keyed{indent, "left 600"};
        EXPECT_EQ(layoutParagraph(words, 6000, nullptr, 1, 1, keyed),
                  layoutParagraph(words, 6000, nullptr, 1, 1, keyed));
        // An inner scope uses the outer one's layouts.
        const auto outer = layoutParagraph(words, 6000, nullptr);
        const LayoutReuse inner;
        EXPECT_EQ(layoutParagraph(words, 6000, nullptr), outer);
    }
    // Without a scope, nothing is kept.
    EXPECT_NE(layoutParagraph(words, 6000, nullptr), layoutParagraph(words, 6000, nullptr));
}

// The same wording beside a photograph and below it: lines beside it give way, lines below
// do not, with the layouts reused exactly as when each is laid out afresh.
TEST(LayoutReuseTest, TheSameWordingBesideAndBelowAKeepClearAreaKeepsItsOwnLines)
{
    Document doc;
    const QRectF body = doc.page.bodyPoints();
    doc.keepClear.push_back(QRectF(body.left(), body.top(), 120, 150));
    const Paragraph words =
        paragraph(u"conferred on the candidate named above the degree of Bachelor of Arts, in the first class"_s);
    for (int i = 0; i < 6; ++i)
        doc.flow.emplace_back(words);

    const std::vector<QRectF> fresh = DocumentRenderer(doc).textLinesPoints(0);
    std::vector<QRectF> reused;
    {
        const LayoutReuse reuse;
        const DocumentRenderer once(doc); // the layouts are kept from this one
        reused = DocumentRenderer(doc).textLinesPoints(0);
    }
    ASSERT_EQ(reused.size(), fresh.size());
    for (std::size_t i = 0; i < fresh.size(); ++i)
        EXPECT_EQ(reused[i], fresh[i]) << "line " << i;
    // The first lines stand beside the area, the last at the margin.
    ASSERT_GT(fresh.size(), 6u);
    EXPECT_GT(fresh.front().left(), body.left() + 120);
    EXPECT_LT(fresh.back().left(), body.left() + 1);
}

} // namespace
