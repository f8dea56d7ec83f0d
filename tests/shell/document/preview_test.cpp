// SPDX-License-Identifier: GPL-3.0-or-later
// The on-screen preview, driven offscreen: every page shown, drawn as printed.
#include "documenttesting.h"

#include "shell/core/stoperror.h"
#include "shell/ui/documentpreview.h"
#include "support/stoptext.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

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

// The preview window stands within the screen with the whole page fitted to it; the arrow
// keys scroll a page larger than the window, Page Down scrolls it and then turns the page.
TEST(PreviewWindowTest, FitsTheScreenFitsThePageAndScrollsWithTheKeys)
{
    Document doc;
    DocumentBuilder b(doc);
    b.type(u"page one"_s);
    b.pageBreak();
    b.type(u"page two"_s);
    b.endParagraph();
    PreviewWindow window({{doc, u"DC000211, Reg. No. R1"_s}}, u"Preview"_s);
    window.show();
    QCoreApplication::processEvents();
    const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
    EXPECT_LE(window.frameGeometry().height(), screen.height());
    EXPECT_LE(window.frameGeometry().width(), screen.width());
    DocumentPreview *preview = window.preview();
    EXPECT_EQ(preview->zoom(), DocumentPreview::kWholePage);
    EXPECT_LE(preview->shownPage().height(), preview->viewport()->height());
    EXPECT_EQ(window.findChild<QLabel *>(u"lblPage"_s)->text(), u"Page 1 of 2: DC000211, Reg. No. R1"_s);

    const auto press = [&](int key) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &window, Qt::Key(key));
    };
    // At twice the size the page is taller than the window: Down and Page Down scroll it.
    for (int i = 0; i < 5; ++i)
        press(Qt::Key_Plus);
    QScrollBar *bar = preview->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    press(Qt::Key_Down);
    EXPECT_GT(bar->value(), 0);
    EXPECT_EQ(preview->currentPage(), 0); // the arrows never reach the buttons
    while (bar->value() < bar->maximum())
        press(Qt::Key_PageDown);
    EXPECT_EQ(preview->currentPage(), 0);
    press(Qt::Key_PageDown);
    EXPECT_EQ(preview->currentPage(), 1);
    EXPECT_EQ(bar->value(), 0);
    EXPECT_EQ(window.findChild<QLabel *>(u"lblPage"_s)->text(), u"Page 2 of 2: DC000211, Reg. No. R1"_s);
    // Page Up from the top goes to the foot of the page before.
    press(Qt::Key_PageUp);
    EXPECT_EQ(preview->currentPage(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());
}

} // namespace
