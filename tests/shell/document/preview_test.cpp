// SPDX-License-Identifier: GPL-3.0-or-later
// The on-screen preview, driven offscreen: every page shown, drawn as printed.
#include "documenttesting.h"

#include "shell/core/stoperror.h"
#include "shell/document/documentpreview.h"
#include "support/stoptext.h"

#include <QLabel>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

TEST(DocumentPreviewTest, ShowsEveryPageAndKeepsThemWhenANewDocumentIsBad)
{
    QTemporaryDir dir;
    const QString black = dir.filePath(u"black.png"_s);
    test::writeSolidPicture(black, 4, 4, Qt::black);
    Document doc;
    DocumentBuilder b(doc);
    b.type(u"page one"_s);
    b.picture(black, QRectF(72, 72, 72, 72));
    b.pageBreak();
    b.type(u"page two"_s);
    b.endParagraph();

    DocumentPreview preview;
    preview.resize(900, 700);
    preview.setZoom(1.0);
    preview.setDocument(doc);
    preview.show();
    EXPECT_EQ(preview.pageCount(), 2);
    EXPECT_EQ(preview.pageText(), u"Page 1 of 2"_s);
    // At 96 dpi an inch is 96 pixels: the picture's square starts one inch in.
    const QImage shown = preview.shownPage();
    EXPECT_EQ(shown.width(), qRound(210 / 25.4 * 96));
    const QRect square = test::darkBounds(shown, QRect(60, 60, 140, 140));
    EXPECT_NEAR(square.left(), 96, 1);
    EXPECT_NEAR(square.width(), 96, 1);
    preview.showPage(1);
    EXPECT_EQ(preview.pageText(), u"Page 2 of 2"_s);
    preview.showPage(5); // past the end: the last page
    EXPECT_EQ(preview.currentPage(), 1);

    Document bad = doc;
    DocumentBuilder(bad).picture(dir.filePath(u"missing.png"_s), QRectF(1, 1, 1, 1));
    const QString refusal = test::stopText([&] { preview.setDocument(bad); });
    EXPECT_TRUE(refusal.startsWith(u"The picture file "_s) && refusal.contains(u"missing.png of the "_s)
                && refusal.endsWith(u" does not exist."_s))
        << refusal.toStdString();
    EXPECT_EQ(preview.pageCount(), 2);
    EXPECT_EQ(preview.pageText(), u"Page 2 of 2"_s);
    // Whole page: the page fits the window.
    preview.setZoom(DocumentPreview::kWholePage);
    EXPECT_LE(preview.shownPage().height(), preview.viewport()->height());
}

} // namespace
