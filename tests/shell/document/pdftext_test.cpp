// SPDX-License-Identifier: GPL-3.0-or-later
// Text in the PDF read back with poppler: where each word stands (pdftotext -bbox),
// page flow and page numbers, and which fonts went into the file (pdffonts).
#include "documenttesting.h"

#include "shell/core/legacytext.h"
#include "shell/document/document.h"
#include "shell/document/documentoutput.h"
#include "shell/document/documentrenderer.h"
#include "shell/document/fonttable.h"
#include "support/pdftext.h"
#include "support/scriptedprompter.h"

#include <QFile>
#include <QRegularExpression>
#include <QFontDatabase>
#include <QFontInfo>
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

// A hundredth of an inch.
constexpr double kExact = 0.72;
constexpr double kPageWidth = 210 / 25.4 * 72;
constexpr double kPageHeight = 297 / 25.4 * 72;

class PdfTextTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!test::haveTool(u"pdftotext"_s))
            GTEST_SKIP() << "poppler's pdftotext is not installed";
    }
    std::vector<test::Word> render(const Document &doc)
    {
        const QString pdf = m_dir.filePath(u"out.pdf"_s);
        documentoutput::writePdf(doc, pdf);
        return test::pdfWords(pdf);
    }
    QTemporaryDir m_dir;
};

TEST_F(PdfTextTest, AlignedParagraphsStartAtTheMarginsAndCentreOnTheBody)
{
    Document doc;
    doc.page.leftInches = 1.25;
    doc.page.rightInches = 0.75;
    doc.page.topInches = 2.0;
    DocumentBuilder b(doc);
    b.setFont(u"DejaVu Serif"_s, 14);
    b.type(u"LEFTWORD"_s);
    b.endParagraph();
    b.setAlignment(Alignment::Centre);
    b.type(u"CENTREWORD"_s);
    b.endParagraph();
    b.setAlignment(Alignment::Right);
    b.type(u"RIGHTWORD"_s);
    b.endParagraph();
    const auto words = render(doc);
    const test::Word *left = test::findWord(words, u"LEFTWORD"_s);
    const test::Word *centre = test::findWord(words, u"CENTREWORD"_s);
    const test::Word *right = test::findWord(words, u"RIGHTWORD"_s);
    ASSERT_TRUE(left && centre && right);
    EXPECT_NEAR(left->xMin, 1.25 * 72, kExact);
    EXPECT_NEAR(left->yMin, 2.0 * 72, 1.5); // the font's ascent box starts at the line's top
    const double bodyCentre = (1.25 * 72 + kPageWidth - 0.75 * 72) / 2;
    EXPECT_NEAR((centre->xMin + centre->xMax) / 2, bodyCentre, kExact);
    EXPECT_NEAR(right->xMax, kPageWidth - 0.75 * 72, kExact);
    EXPECT_GT(centre->yMin, left->yMin);
    EXPECT_GT(right->yMin, centre->yMin);
}

TEST_F(PdfTextTest, ThePrinterPathPlacesTextAsThePdfDoes)
{
    Document doc;
    doc.page.landscape = true;
    DocumentBuilder b(doc);
    b.setFont(u"DejaVu Sans"_s, 12);
    b.beginTextBox(QRectF(500.25, 300.5, 200, 30));
    b.type(u"PRINTED"_s);
    b.endTextBox();
    b.pageBreak();
    b.type(u"NEXTSHEET"_s);
    b.endParagraph();
    const QString file = m_dir.filePath(u"printer.pdf"_s);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    documentoutput::print(doc, printer);
    const auto words = test::pdfWords(file);
    const test::Word *printed = test::findWord(words, u"PRINTED"_s);
    const test::Word *next = test::findWord(words, u"NEXTSHEET"_s);
    ASSERT_TRUE(printed && next);
    EXPECT_NEAR(printed->xMin, 500.25, kExact);
    EXPECT_NEAR(printed->yMin, 300.5, 1.5);
    EXPECT_EQ(next->page, 2);
    EXPECT_NEAR(next->yMin, 72, 1.5);
}

TEST_F(PdfTextTest, LineSpacingAndSpaceAfterMoveTheNextLines)
{
    auto pitch = [this](double spacing, double after) {
        Document doc;
        DocumentBuilder b(doc);
        b.setFont(u"DejaVu Sans"_s, 12);
        b.setLineSpacing(spacing);
        b.setSpaceAfter(after);
        b.type(u"ONE"_s);
        b.endParagraph();
        b.type(u"TWO"_s);
        b.endParagraph();
        const auto words = render(doc);
        const test::Word *one = test::findWord(words, u"ONE"_s);
        const test::Word *two = test::findWord(words, u"TWO"_s);
        return one && two ? two->yMin - one->yMin : -1.0;
    };
    const double single = pitch(1, 0);
    ASSERT_GT(single, 10);
    EXPECT_NEAR(pitch(2, 0), 2 * single, kExact);
    EXPECT_NEAR(pitch(1.5, 0), 1.5 * single, kExact);
    EXPECT_NEAR(pitch(1, 12), single + 12, kExact);
}

TEST_F(PdfTextTest, TextBoxesAndTablesPlaceTheirText)
{
    Document doc;
    DocumentBuilder b(doc);
    b.setFont(u"DejaVu Sans"_s, 11);
    b.beginTextBox(QRectF(333.5, 612.25, 150, 30));
    b.type(u"BOXED"_s);
    b.endTextBox();
    b.beginTable({1.5, 2.5});
    b.cell(0, 0, u"KEY"_s);
    b.cell(0, 1, u"VALUE"_s);
    b.cell(1, 1, u"LOWER"_s);
    b.endTable();
    const auto words = render(doc);
    const test::Word *boxed = test::findWord(words, u"BOXED"_s);
    const test::Word *key = test::findWord(words, u"KEY"_s);
    const test::Word *value = test::findWord(words, u"VALUE"_s);
    const test::Word *lower = test::findWord(words, u"LOWER"_s);
    ASSERT_TRUE(boxed && key && value && lower);
    EXPECT_NEAR(boxed->xMin, 333.5, kExact);
    EXPECT_NEAR(boxed->yMin, 612.25, 1.5);
    // Cell text keeps the cell's padding from the column's edge.
    EXPECT_NEAR(key->xMin, 72 + 5.4, kExact);
    EXPECT_NEAR(value->xMin, 72 + 1.5 * 72 + 5.4, kExact);
    EXPECT_NEAR(lower->xMin, value->xMin, 0.01);
    EXPECT_GT(lower->yMin, value->yMax - 1);
}

TEST_F(PdfTextTest, LabelRowsKeepTheirMinimumHeight)
{
    Document doc;
    DocumentBuilder b(doc);
    b.setFont(u"DejaVu Sans"_s, 10);
    b.beginTable({3.5, 3.5}, false, 1.5);
    b.cell(0, 0, u"FIRSTLABEL"_s);
    b.cell(1, 0, u"SECONDLABEL"_s);
    b.cell(2, 1, u"THIRDLABEL"_s);
    b.endTable();
    const auto words = render(doc);
    const test::Word *first = test::findWord(words, u"FIRSTLABEL"_s);
    const test::Word *second = test::findWord(words, u"SECONDLABEL"_s);
    const test::Word *third = test::findWord(words, u"THIRDLABEL"_s);
    ASSERT_TRUE(first && second && third);
    EXPECT_NEAR(second->yMin - first->yMin, 1.5 * 72, kExact);
    EXPECT_NEAR(third->yMin - first->yMin, 3 * 72, kExact);
    EXPECT_NEAR(third->xMin, 72 + 3.5 * 72 + 5.4, kExact);
}

TEST_F(PdfTextTest, TheFlowRunsOntoNewPagesAndTheHeaderNumbersThem)
{
    Document doc;
    DocumentBuilder b(doc);
    b.beginHeader();
    b.setFont(u"DejaVu Sans"_s, 9);
    b.setAlignment(Alignment::Right);
    b.type(u"Page "_s);
    b.typeField(Run::Field::PageNumber);
    b.type(u" of "_s);
    b.typeField(Run::Field::PageCount);
    b.endParagraph();
    b.endHeader();
    b.setAlignment(Alignment::Left);
    b.setFont(u"DejaVu Sans"_s, 12);
    for (int i = 1; i <= 120; ++i) {
        b.type(u"LINE"_s + QString::number(i));
        b.endParagraph();
    }
    b.pageBreak();
    b.type(u"AFTERBREAK"_s);
    b.endParagraph();
    const auto words = render(doc);
    int pages = 0;
    for (const test::Word &w : words) {
        pages = std::max(pages, w.page);
        if (w.text.startsWith(u"LINE"_s)) {
            EXPECT_GE(w.yMin, 72 - 1.5) << w.text.toStdString();
            EXPECT_LE(w.yMax, kPageHeight - 72 + 1.5) << w.text.toStdString() << " runs into the bottom margin";
        }
    }
    ASSERT_GE(pages, 3);
    // The lines keep their order across pages; the break opens a page of its own.
    int lastPage = 1;
    for (int i = 1; i <= 120; ++i) {
        const test::Word *w = test::findWord(words, u"LINE"_s + QString::number(i));
        ASSERT_TRUE(w) << i;
        EXPECT_GE(w->page, lastPage);
        lastPage = w->page;
    }
    const test::Word *after = test::findWord(words, u"AFTERBREAK"_s);
    ASSERT_TRUE(after);
    EXPECT_EQ(after->page, lastPage + 1);
    EXPECT_EQ(after->page, pages);
    EXPECT_NEAR(after->yMin, 72, 1.5);
    for (int page = 1; page <= pages; ++page) {
        const test::Word *number = nullptr;
        for (const test::Word &w : words)
            if (w.page == page && w.text == QString::number(page) && w.yMin < 72)
                number = &w;
        EXPECT_TRUE(number) << "no page number on page " << page;
        const test::Word *count = nullptr;
        for (const test::Word &w : words)
            if (w.page == page && w.yMin < 72 && w.text == QString::number(pages))
                count = &w;
        EXPECT_TRUE(count) << "no page count on page " << page;
        if (count) {
            EXPECT_NEAR(count->yMin, 36, 1.5) << "the header stands at the header distance";
        }
    }
}

// A stand-in for the legacy font, made from a free font by renaming its family
// (same length, so the file stays valid): the test then sees whether the bytes
// reach the PDF in the font named, unchanged.
QString makeLegacyFont(const QString &folder)
{
    const QString source = u"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"_s;
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = in.readAll();
    auto utf16 = [](const char *latin) {
        QByteArray out;
        for (const char *p = latin; *p; ++p)
            out.append('\0').append(*p);
        return out;
    };
    bytes.replace("DejaVu Sans", "BRH Kannada");
    bytes.replace(utf16("DejaVu Sans"), utf16("BRH Kannada"));
    bytes.replace("DejaVuSans", "BRHKannada");
    bytes.replace(utf16("DejaVuSans"), utf16("BRHKannada"));
    const QString path = folder + u"/brhkannada.ttf"_s;
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
        return {};
    return path;
}

// A page with Kannada in both legacy fonts, a Latin line between them.
Document kannadaPage()
{
    Document doc;
    DocumentBuilder b(doc);
    b.setFont(u"BRH Kannada"_s, 15, true);
    b.type(u"¢£ÁAPÀ gÀAzÀÄ £ÀqÉzÀ"_s); // ದಿನಾಂಕ ರಂದು ನಡೆದ, a fixed text of the layouts
    b.endParagraph();
    b.setFont(u"DejaVu Serif"_s, 12);
    b.type(u"LATIN"_s);
    b.endParagraph();
    b.setFont(u"Nudi 01 e"_s, 19, true);
    b.setColour(u"&H00675825"_s);
    b.type(u"¸ÀÆAiÀÄð¥ÀæPÁ±ï ®QëäÃ"_s); // ಸೂರ್ಯಪ್ರಕಾಶ್ ಲಕ್ಷ್ಮೀ, a name as the database holds it
    b.endParagraph();
    return doc;
}

// Without the legacy fonts (this machine) the page draws the Unicode reading and the
// PDF's text is that Unicode Kannada: a copy can be searched for a name.
TEST_F(PdfTextTest, KannadaWithoutItsLegacyFontReadsAsUnicodeInThePdf)
{
    if (FontTable::unicodeKannadaFamily().isEmpty())
        GTEST_SKIP() << "no Unicode Kannada font is installed (fonts-lohit-knda)";
    ASSERT_TRUE(FontTable::readsAsUnicode(u"Nudi 01 e"_s));
    const QString pdf = m_dir.filePath(u"unicode.pdf"_s);
    documentoutput::writePdf(kannadaPage(), pdf);
    const QString text = test::pdfText(pdf);
    for (const QString &word : {u"ದಿನಾಂಕ"_s, u"ರಂದು"_s, u"ನಡೆದ"_s, u"ಲಕ್ಷ್ಮೀ"_s, u"LATIN"_s})
        EXPECT_TRUE(text.contains(word)) << word.toStdString() << " not in: " << text.toStdString();
    EXPECT_FALSE(text.contains(u"£À"_s)) << "legacy codes leaked into the text: " << text.toStdString();
}

// With a legacy font installed (a stand-in under its name), its glyphs are drawn, and
// the PDF's text is still the Unicode reading, not the font's Latin codes.
TEST_F(PdfTextTest, KannadaInAnInstalledLegacyFontStillReadsAsUnicodeInThePdf)
{
    if (FontTable::unicodeKannadaFamily().isEmpty())
        GTEST_SKIP() << "no Unicode Kannada font is installed (fonts-lohit-knda)";
    const QString fontFile = makeLegacyFont(m_dir.path());
    if (fontFile.isEmpty())
        GTEST_SKIP() << "DejaVu Sans is not installed to make the stand-in font from";
    ASSERT_GE(QFontDatabase::addApplicationFont(fontFile), 0);
    FontTable::rescan();
    ASSERT_TRUE(FontTable::isInstalled(u"BRH Kannada"_s));
    ASSERT_FALSE(FontTable::readsAsUnicode(u"BRH Kannada"_s));

    const QString pdf = m_dir.filePath(u"legacy.pdf"_s);
    documentoutput::writePdf(kannadaPage(), pdf);
    const QString text = test::pdfText(pdf);
    for (const QString &word : {u"ದಿನಾಂಕ"_s, u"ನಡೆದ"_s, u"LATIN"_s})
        EXPECT_TRUE(text.contains(word)) << word.toStdString() << " not in: " << text.toStdString();
    EXPECT_FALSE(text.contains(u"¢£ÁAPÀ"_s)) << text.toStdString();
}

// Pages that repeat a Kannada wording (the certificates of a batch) hold its outline once,
// as a form every page draws; what each page shows and reads is what it drew alone.
TEST_F(PdfTextTest, RepeatedKannadaIsKeptOnceAndEachPageLooksAsItsPicture)
{
    if (FontTable::unicodeKannadaFamily().isEmpty() || !test::haveTool(u"pdftoppm"_s))
        GTEST_SKIP() << "no Unicode Kannada font (fonts-lohit-knda) or no pdftoppm";
    const QStringList names = {u"ಸೂರ್ಯಪ್ರಕಾಶ್"_s, u"ಲಕ್ಷ್ಮೀ"_s, u"ರಾಘವೇಂದ್ರ"_s};
    std::vector<Document> pages;
    for (const QString &name : names) {
        Document doc;
        DocumentBuilder b(doc);
        b.setFont(u"Nudi 01 e"_s, 15, true);
        b.setAlignment(Alignment::Centre);
        b.type(u"ವಿಶ್ವವಿದ್ಯಾನಿಲಯದ ಮೊಹರಿನೊಂದಿಗೆ ನೀಡಿದೆ."_s); // the same on every page
        b.endParagraph();
        b.setColour(u"&H00675825"_s);
        b.type(name); // the candidate's own
        b.endParagraph();
        pages.push_back(std::move(doc));
    }
    std::vector<const Document *> all;
    for (const Document &doc : pages)
        all.push_back(&doc);
    const QString pdf = m_dir.filePath(u"batch.pdf"_s);
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const QByteArray bytes = documentoutput::pdfOf(all);
    file.write(bytes);
    file.close();

    EXPECT_EQ(bytes.count("/Subtype /Form"), 1 + names.size()) << "one form for the shared wording, one a name";
    const test::ToolRun images = test::runTool(u"pdfimages"_s, {u"-list"_s, pdf});
    EXPECT_FALSE(images.out.contains(u"     2     1 "_s)) << "a marker picture was left:\n" << images.out.toStdString();

    const QString text = test::pdfText(pdf);
    EXPECT_EQ(text.count(u"ಮೊಹರಿನೊಂದಿಗೆ"_s), 3) << text.toStdString();
    for (const QString &name : names)
        EXPECT_TRUE(text.contains(name)) << name.toStdString() << " not in: " << text.toStdString();

    // Each page as poppler draws it against the same page drawn straight into a picture:
    // the forms stand where the outlines stood, upright and at their size.
    constexpr int dpi = 100;
    ASSERT_EQ(
        test::runTool(u"pdftoppm"_s, {u"-r"_s, QString::number(dpi), u"-png"_s, pdf, m_dir.filePath(u"p"_s)}).exitCode,
        0);
    for (int page = 0; page < int(pages.size()); ++page) {
        const QImage drawn = DocumentRenderer(pages[std::size_t(page)]).pageImage(0, dpi);
        const QImage shown(m_dir.filePath(u"p-%1.png"_s.arg(page + 1)));
        ASSERT_FALSE(shown.isNull());
        const QRect area(0, 0, std::min(drawn.width(), shown.width()), drawn.height() / 3);
        const QRect inDrawn = test::darkBounds(drawn, area), inShown = test::darkBounds(shown, area);
        ASSERT_FALSE(inDrawn.isEmpty());
        for (const auto &[a, b] : {std::pair{inDrawn.left(), inShown.left()},
                                   {inDrawn.right(), inShown.right()},
                                   {inDrawn.top(), inShown.top()},
                                   {inDrawn.bottom(), inShown.bottom()}})
            EXPECT_NEAR(a, b, 2) << "page " << page + 1;
        // The same pixels dark in both (an outline upside down or mirrored keeps its box).
        int both = 0, either = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) {
                const bool a = qGray(drawn.pixel(x, y)) < 128, b = qGray(shown.pixel(x, y)) < 128;
                both += a && b;
                either += a || b;
            }
        EXPECT_GT(double(both) / either, 0.75) << "page " << page + 1;
    }
}

// One file per document out of one drawing: each reads as its own document alone, and holds
// only what its own pages draw (another candidate's name, picture or wording never rides along).
TEST_F(PdfTextTest, EachDocumentOfABatchIsAFileOfItsOwnPagesOnly)
{
    if (FontTable::unicodeKannadaFamily().isEmpty())
        GTEST_SKIP() << "no Unicode Kannada font (fonts-lohit-knda)";
    const QStringList names = {u"ALPHA"_s, u"BRAVO"_s, u"CHARLIE"_s};
    std::vector<Document> documents;
    for (int i = 0; i < names.size(); ++i) {
        Document doc;
        DocumentBuilder b(doc);
        b.setFont(u"Nudi 01 e"_s, 15, true);
        b.type(u"ವಿಶ್ವವಿದ್ಯಾನಿಲಯದ ಮೊಹರಿನೊಂದಿಗೆ ನೀಡಿದೆ."_s); // the same in every document
        b.endParagraph();
        b.setFont(u"Arial"_s, 12);
        b.type(names[i]);
        b.endParagraph();
        // A picture of each document's own: a one-bit square, a different size each.
        QImage own(8 * (i + 1), 8 * (i + 1), QImage::Format_Mono);
        own.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        own.fill(0);
        b.picture(own, u"own picture"_s, QRectF(400, 50, 72, 72));
        if (i == 1) { // the second runs on to a second page
            b.pageBreak();
            b.type(u"SECOND PAGE"_s);
            b.endParagraph();
        }
        documents.push_back(std::move(doc));
    }
    std::vector<const Document *> all;
    for (const Document &doc : documents)
        all.push_back(&doc);
    const std::vector<QByteArray> files = documentoutput::pdfsOf(all);
    ASSERT_EQ(files.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        const QString path = m_dir.filePath(u"copy%1.pdf"_s.arg(i));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(files[std::size_t(i)]);
        file.close();
        const QString text = test::pdfText(path);
        for (int j = 0; j < 3; ++j)
            EXPECT_EQ(text.contains(names[j]), i == j) << "file " << i << ": " << text.toStdString();
        EXPECT_EQ(text.contains(u"SECOND PAGE"_s), i == 1) << text.toStdString();
        EXPECT_EQ(text.count(u"ಮೊಹರಿನೊಂದಿಗೆ"_s), 1) << text.toStdString();
        // Its cross-reference table, stream lengths and objects as a second reader checks them.
        const test::ToolRun check = test::runTool(u"qpdf"_s, {u"--check"_s, path});
        EXPECT_EQ(check.exitCode, 0) << check.out.toStdString() << check.err.toStdString();
        EXPECT_FALSE(check.out.contains(u"WARNING"_s, Qt::CaseInsensitive)) << check.out.toStdString();
        const test::ToolRun info = test::runTool(u"pdfinfo"_s, {path});
        EXPECT_TRUE(info.out.contains(QRegularExpression(u"Pages: +%1\\n"_s.arg(i == 1 ? 2 : 1))))
            << info.out.toStdString();
        // Its own picture only, at its own size.
        const test::ToolRun images = test::runTool(u"pdfimages"_s, {u"-list"_s, path});
        const QStringList rows = images.out.split(u'\n', Qt::SkipEmptyParts).mid(2);
        ASSERT_EQ(rows.size(), 1) << images.out.toStdString();
        EXPECT_EQ(rows.front().simplified().section(u' ', 3, 4), u"%1 %1"_s.arg(8 * (i + 1)))
            << images.out.toStdString();
    }
}

// Every family a layout names resolves to the same face on every machine: the table's
// faces are loaded from the packages the program depends on, never found by fontconfig.
TEST(FontTableTest, EveryNamedFamilyResolvesToTheTablesFace)
{
    for (const FontTable::Face &face : FontTable::faces()) {
        const FontTable::Resolution r = FontTable::resolve(face.named);
        EXPECT_NE(r.source, FontTable::Source::Unresolved)
            << face.named.toStdString() << ": install " << face.package.toStdString();
        if (r.source == FontTable::Source::Table) {
            EXPECT_EQ(r.drawn, face.drawn) << face.named.toStdString();
            // The family, or the family with its foundry ("P052 [UKWN]") where the machine has it too.
            EXPECT_TRUE(QFontInfo(QFont(r.drawn)).family().startsWith(r.drawn))
                << "the face itself is drawn, not a fallback: " << face.named.toStdString();
        }
    }
    struct Case
    {
        QString named, drawn;
        bool bold;
    };
    const Case cases[] = {
        {u"Calibri"_s, u"Carlito"_s, false},
        {u"cambria"_s, u"Caladea"_s, false},
        {u"Times New Roman"_s, u"Liberation Serif"_s, false},
        {u"Arial"_s, u"Liberation Sans"_s, false},
        {u"Book Antiqua"_s, u"P052"_s, false},
        {u"Bookman Old Style"_s, u"URW Bookman"_s, false},
        {u"Algerian"_s, u"C059"_s, true},
        {u"Old English Text MT"_s, u"Blankenburg_UNZ1A"_s, false},
        {u"Lucida Console"_s, u"DejaVu Sans Mono"_s, false},
    };
    for (const Case &c : cases) {
        if (FontTable::isInstalled(c.named))
            continue; // the real font, on a machine that has it
        const FontTable::Resolution r = FontTable::resolve(c.named);
        EXPECT_EQ(r.drawn, c.drawn) << c.named.toStdString();
        EXPECT_EQ(r.bold, c.bold) << c.named.toStdString();
    }
    EXPECT_EQ(FontTable::unicodeKannadaFamily(), u"Lohit Kannada"_s);
}

TEST(FontTableTest, AFamilyTheTableCannotResolveIsNamedOnceWithTheFaceDrawn)
{
    EXPECT_TRUE(FontTable::isInstalled(u"DejaVu Sans"_s));
    EXPECT_TRUE(FontTable::isInstalled(u"dejavu sans"_s));
    EXPECT_FALSE(FontTable::isInstalled(u"Nudi 01 e"_s));
    // A legacy Kannada font is drawn through its Unicode reading: nothing to name.
    const QStringList named = {u"Nudi 01 e"_s, u"Calibri"_s, u"Garamond Premier"_s, u"Garamond Premier"_s};
    EXPECT_EQ(FontTable::unresolved(named), QStringList{u"Garamond Premier"_s});
    EXPECT_EQ(FontTable::drawnFamily(u"Garamond Premier"_s), FontTable::defaultFamily());
    const QString warning = FontTable::warning(named);
    EXPECT_TRUE(warning.contains(u"\"Garamond Premier\" (drawn in Liberation Serif)"_s)) << warning.toStdString();
    EXPECT_FALSE(warning.contains(u"Calibri"_s));
    EXPECT_TRUE(FontTable::warning({u"DejaVu Sans"_s, u"Arial"_s}).isEmpty());
    EXPECT_TRUE(FontTable::layoutFonts().contains(u"Nudi 01 e"_s));
    EXPECT_TRUE(FontTable::layoutFonts().contains(u"Old English Text MT"_s));

    test::ScriptedPrompter prompter;
    EXPECT_TRUE(FontTable::warnMissing(named, prompter));
    ASSERT_EQ(prompter.shown().size(), 1u) << "one warning for every unresolved font";
    EXPECT_EQ(prompter.shown()[0].icon, PromptIcon::Exclamation);
    EXPECT_FALSE(FontTable::warnMissing({u"Verdana"_s}, prompter));
    EXPECT_EQ(prompter.shown().size(), 1u);
}

} // namespace
