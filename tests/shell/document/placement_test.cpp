// SPDX-License-Identifier: GPL-3.0-or-later
// Items land where they are placed: found by their pixels at 300 dpi, in the
// renderer's own images and in the PDF as poppler rasterises it.
#include "documenttesting.h"

#include "shell/document/document.h"
#include "shell/document/documentoutput.h"
#include "shell/document/documentrenderer.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

constexpr double kDpi = 300;

QRect expectedPixels(const QRectF &points)
{
    const double k = kDpi / 72.0;
    return QRectF(points.x() * k, points.y() * k, points.width() * k, points.height() * k).toAlignedRect();
}

void expectNear(const QRect &found, const QRectF &points)
{
    const double k = kDpi / 72.0;
    ASSERT_FALSE(found.isNull()) << "nothing drawn";
    EXPECT_NEAR(found.left(), points.left() * k, 1.0);
    EXPECT_NEAR(found.top(), points.top() * k, 1.0);
    EXPECT_NEAR(found.right() + 1, points.right() * k, 1.0);
    EXPECT_NEAR(found.bottom() + 1, points.bottom() * k, 1.0);
}

class PlacementTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_black = m_dir.filePath(u"black.png"_s);
        test::writeSolidPicture(m_black, 8, 8, Qt::black);
    }
    // Pictures at awkward positions: whole points, fractions, near the page's far corner.
    Document picturesDocument() const
    {
        Document doc;
        DocumentBuilder b(doc);
        b.type(u"first page"_s);
        b.endParagraph();
        b.picture(m_black, m_first);
        b.picture(m_black, m_fraction);
        b.picture(m_black, m_corner);
        b.pageBreak();
        b.picture(m_black, m_secondPage);
        b.type(u"second page"_s);
        b.endParagraph();
        return doc;
    }

    QTemporaryDir m_dir;
    QString m_black;
    const QRectF m_first{72, 144, 36, 18};
    const QRectF m_fraction{300.5, 400.25, 20.1, 30.7};
    const QRectF m_corner{595 - 31.5, 842 - 22.25, 30, 20};
    const QRectF m_secondPage{200, 300, 50, 50};
};

TEST_F(PlacementTest, PicturesAreFoundAtTheirPixelsOnTheRenderedPage)
{
    const Document doc = picturesDocument();
    const DocumentRenderer renderer(doc);
    ASSERT_EQ(renderer.pageCount(), 2);
    const QImage page1 = renderer.pageImage(0, kDpi);
    EXPECT_EQ(page1.width(), qRound(210 / 25.4 * kDpi));
    for (const QRectF &item : {m_first, m_fraction, m_corner})
        expectNear(test::darkBounds(page1, expectedPixels(item).adjusted(-20, -20, 20, 20)), item);
    // The picture added after the page break is on the second page only.
    EXPECT_TRUE(test::darkBounds(page1, expectedPixels(m_secondPage)).isNull());
    expectNear(test::darkBounds(renderer.pageImage(1, kDpi), expectedPixels(m_secondPage).adjusted(-20, -20, 20, 20)),
               m_secondPage);
}

TEST_F(PlacementTest, ThePdfPutsPicturesAtTheSamePixelsWhenPopplerRastersIt)
{
    if (!test::haveTool(u"pdftoppm"_s))
        GTEST_SKIP() << "poppler's pdftoppm is not installed";
    const QString pdf = m_dir.filePath(u"pictures.pdf"_s);
    documentoutput::writePdf(picturesDocument(), pdf);
    const test::ToolRun r =
        test::runTool(u"pdftoppm"_s, {u"-r"_s, u"300"_s, u"-png"_s, pdf, m_dir.filePath(u"poppler"_s)});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QImage page1(m_dir.filePath(u"poppler-1.png"_s));
    const QImage page2(m_dir.filePath(u"poppler-2.png"_s));
    ASSERT_FALSE(page1.isNull());
    ASSERT_FALSE(page2.isNull());
    for (const QRectF &item : {m_first, m_fraction, m_corner})
        expectNear(test::darkBounds(page1, expectedPixels(item).adjusted(-20, -20, 20, 20)), item);
    expectNear(test::darkBounds(page2, expectedPixels(m_secondPage).adjusted(-20, -20, 20, 20)), m_secondPage);
}

TEST_F(PlacementTest, TableFramesStartAtTheMarginsAndSpanTheColumnWidths)
{
    Document doc;
    doc.page.topInches = 1.5;
    doc.page.leftInches = 0.75;
    DocumentBuilder b(doc);
    b.setFont(u"DejaVu Sans"_s, 10);
    b.beginTable({2.0, 3.0});
    b.cell(0, 0, u"Reg. No."_s);
    b.cell(0, 1, u"12345"_s);
    b.endTable();
    const QImage page = DocumentRenderer(doc).pageImage(0, kDpi);
    // The frame's left and top edges, drawn half a point wide on the edge itself.
    const QRect frame = test::darkBounds(page, QRect(0, 0, page.width(), int(1.5 * kDpi) + 200), 160);
    EXPECT_NEAR(frame.left(), 0.75 * kDpi, 2.0);
    EXPECT_NEAR(frame.top(), 1.5 * kDpi, 2.0);
    EXPECT_NEAR(frame.right(), (0.75 + 5.0) * kDpi, 2.0);
}

TEST_F(PlacementTest, TheWatermarkIsWashedOutAndCentredOnThePage)
{
    Document doc;
    DocumentBuilder b(doc);
    const QString blue = m_dir.filePath(u"blue.png"_s);
    test::writeSolidPicture(blue, 10, 10, QColor(0, 0, 255));
    b.watermark(blue, QSizeF(100, 60));
    const QImage page = DocumentRenderer(doc).pageImage(0, kDpi);
    QRect tinted;
    for (int y = 0; y < page.height(); y += 2)
        for (int x = 0; x < page.width(); x += 2)
            if (page.pixel(x, y) != qRgb(255, 255, 255))
                tinted |= QRect(x, y, 1, 1);
    const QPointF centre(210 / 25.4 * kDpi / 2, 297 / 25.4 * kDpi / 2);
    EXPECT_NEAR(tinted.center().x(), centre.x(), 3);
    EXPECT_NEAR(tinted.center().y(), centre.y(), 3);
    EXPECT_NEAR(tinted.width(), 100 * kDpi / 72, 4);
    const QColor c = page.pixelColor(int(centre.x()), int(centre.y()));
    EXPECT_GT(c.red(), 200) << "a watermark is printed faint";
    EXPECT_GT(c.blue(), c.red()) << "but keeps its colour";
}

TEST_F(PlacementTest, LandscapePagesSwapTheSides)
{
    Document doc;
    doc.page.landscape = true;
    DocumentBuilder b(doc);
    b.picture(m_black, QRectF(700, 500, 20, 20)); // would be off a portrait A4 page
    const DocumentRenderer renderer(doc);
    const QImage page = renderer.pageImage(0, 72);
    EXPECT_EQ(page.width(), qRound(297 / 25.4 * 72));
    EXPECT_EQ(page.height(), qRound(210 / 25.4 * 72));
}

} // namespace
