// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <optional>
#include <variant>
#include <algorithm>
#include <vector>

namespace sw {

// The document model every certificate, letter, label sheet and printed report is
// composed in. It holds no Qt text objects: the renderer (documentrenderer.h) lays
// it out on a page device, the writer (odtwriter.h) turns it into OpenDocument text.
//
// Units: the page setup is in inches, as layouts give it; everything placed on the
// page (pictures, text boxes, the watermark) is in points (1/72 inch) measured from
// the page's top-left corner; font sizes and paragraph spacing are in points.

inline constexpr double kPointsPerInch = 72.0;

struct PageSetup
{
    // Paper in inches, portrait. A4 (210 x 297 mm) is the default; letters and labels use it too.
    QSizeF paperInches = a4();
    bool landscape = false;
    double topInches = 1.0;
    double bottomInches = 1.0;
    double leftInches = 1.0;
    double rightInches = 1.0;
    // From the paper's top edge to the top of the page header.
    double headerInches = 0.5;

    static QSizeF a4() { return {210 / 25.4, 297 / 25.4}; }
    static QSizeF letter() { return {8.5, 11.0}; }
    static QSizeF legal() { return {8.5, 14.0}; }

    // The page as laid out (landscape swaps the sides), in points.
    QSizeF pagePoints() const;
    // The area the flow of paragraphs fills, in points from the page's corner.
    QRectF bodyPoints() const;
};

struct RunFormat
{
    QString fontName = QStringLiteral("Times New Roman");
    double size = 12.0; // points
    bool bold = false;
    bool italic = false;
    QColor colour = Qt::black;

    bool operator==(const RunFormat &) const = default;
};

// A stretch of text in one format. `field` makes the run a page number or page
// count, filled in per page (page headers: "Page 1 of 3").
struct Run
{
    enum class Field { None, PageNumber, PageCount };
    QString text;
    RunFormat format;
    Field field = Field::None;
};

enum class Alignment { Left, Centre, Right, Justify };

struct ParagraphFormat
{
    Alignment alignment = Alignment::Left;
    double lineSpacing = 1.0; // in lines: 1 single, 1.5, 2 double
    double spaceAfter = 0.0;  // points
    bool operator==(const ParagraphFormat &) const = default;
};

struct Paragraph
{
    std::vector<Run> runs;
    ParagraphFormat format;
    // The format that an empty paragraph's line takes (its height).
    RunFormat endFormat;
};

struct Table
{
    std::vector<double> columnInches;
    // rows of cells, each cell one paragraph; rows are as wide as columnInches.
    std::vector<std::vector<Paragraph>> rows;
    bool borders = true;
    // Rows are at least this tall (label and photo sheets); 0: as tall as their text.
    double minRowInches = 0;
    // Columns drawn without borders even when the table has them: the gaps between
    // the boxes of a photo sheet.
    std::vector<int> borderlessColumns;
    // The first rows, repeated at the top of every further page the table runs on to.
    int headingRows = 0;

    bool bordered(std::size_t column) const
    {
        return borders
               && std::find(borderlessColumns.begin(), borderlessColumns.end(), int(column)) == borderlessColumns.end();
    }
};

// A picture or borderless text box on an absolute page position. It belongs to
// the page on which the flow stood when it was added (`flowIndex` blocks before it).
struct PictureItem
{
    QString name; // how messages name it: "picture seal.jpg"
    QString file;
    QRectF points;
    // A picture the program made (a verification code), drawn from memory; `file` is
    // then empty. Made afresh for each document, it is never written to a file and read back.
    QImage image;
};

struct TextBoxItem
{
    QString name;
    QRectF points;
    std::vector<Paragraph> paragraphs;
};

struct AnchoredItem
{
    std::size_t flowIndex = 0;
    std::variant<PictureItem, TextBoxItem> item;
};

// Repeated on every page: paragraphs starting at the header distance, pictures on
// absolute positions, and a washed-out watermark centred on the page.
struct PageHeader
{
    std::vector<Paragraph> paragraphs;
    std::vector<PictureItem> pictures;
    QString watermarkFile;
    QSizeF watermarkPoints; // empty: the picture's own size at 96 dpi
    bool isEmpty() const { return paragraphs.empty() && pictures.empty() && watermarkFile.isEmpty(); }
};

// The flow goes on on a new page. A section break also starts a new section: its
// pages count from 1 again ("Page 1 of 2" of one college's letter), and its own page
// header, when it has one, stands in for the document's on its pages.
struct PageBreak
{
    bool newSection = false;
    std::optional<PageHeader> header;
};

using Block = std::variant<Paragraph, Table, PageBreak>;

struct Document
{
    PageSetup page;
    PageHeader header;
    std::vector<Block> flow;
    std::vector<AnchoredItem> anchored;
    // Areas of every page that the flow's lines keep out of, in points from the page's
    // corner: the photograph's box on pre-printed stationery. A line that would cross
    // one is made shorter on that side (a centred line on both sides, so it stays
    // centred); text boxes and the header are not moved.
    std::vector<QRectF> keepClear;

    // Every font name the document asks for, each once, in order of first use.
    std::vector<QString> fontNames() const;
};

// Composes a Document in the order a clerk would type it: choose the font and the
// paragraph format, type, end the paragraph; tables, pictures and text boxes in
// between. Text typed inside beginHeader()/endHeader() or beginTextBox()/endTextBox()
// goes there instead of the flow. The builder only writes into the Document it was
// given, which must outlive it.
//
//     Document doc;
//     DocumentBuilder b(doc);
//     b.setFont(u"Arial"_s, 18, true);
//     b.setAlignment(Alignment::Centre);
//     b.type(u"DEGREE CERTIFICATE"_s);
//     b.endParagraph();
//     b.picture(u"/app/seal.jpg"_s, QRectF(250, 600, 90, 90));
class DocumentBuilder
{
public:
    explicit DocumentBuilder(Document &document);

    PageSetup &page() { return m_doc.page; }
    const Document &document() const { return m_doc; }

    void setFont(const QString &name, double size, bool bold = false, bool italic = false);
    void setFontName(const QString &name) { m_run.fontName = name; }
    void setFontSize(double size) { m_run.size = size; }
    void setBold(bool bold) { m_run.bold = bold; }
    void setItalic(bool italic) { m_run.italic = italic; }
    void setColour(const QColor &colour) { m_run.colour = colour; }
    // "&H" BGR text; anything else keeps the current colour and returns false.
    bool setColour(const QString &bgrText);
    const RunFormat &font() const { return m_run; }

    void setAlignment(Alignment alignment) { m_paragraph.alignment = alignment; }
    void setLineSpacing(double lines) { m_paragraph.lineSpacing = lines; }
    void setSpaceAfter(double points) { m_paragraph.spaceAfter = points; }

    // Text at the cursor in the current font; "\n" ends the paragraph as endParagraph() does.
    void type(const QString &text);
    void typeField(Run::Field field);
    // Ends the paragraph (an empty one still takes a line); the next keeps the same formats.
    void endParagraph();
    void pageBreak();
    // A page break that starts a new section: page numbers count from 1 again, and a
    // header begun after it (beginHeader ... endHeader) is the section's own.
    void sectionBreak();

    // A table of the given column widths; fill its cells with cell(), then go on typing.
    void beginTable(std::vector<double> columnInches, bool borders = true, double minRowInches = 0,
                    std::vector<int> borderlessColumns = {});
    // The table's first `rows` rows (its headings) repeat on each page it runs on to.
    void repeatHeadingRows(int rows = 1);
    // Text of a cell in the current formats; rows grow as cells are written. A cell
    // outside the columns, or outside any table, throws StopError.
    void cell(int row, int column, const QString &text);
    void endTable();

    // Floating items on the page where the flow stands now, positioned from the page's corner.
    void picture(const QString &file, const QRectF &points);
    void picture(const QImage &image, const QString &name, const QRectF &points);
    void beginTextBox(const QRectF &points);
    void endTextBox();

    // The page header of the document, or of the section the last sectionBreak() began.
    void beginHeader();
    void endHeader();
    void headerPicture(const QString &file, const QRectF &points);
    void watermark(const QString &file, const QSizeF &points = {});

private:
    void flushOpenParagraph();
    void flushTable();
    PageHeader &currentHeader();

    Document &m_doc;
    RunFormat m_run;
    ParagraphFormat m_paragraph;
    Paragraph m_open;
    bool m_hasOpen = false;
    enum class Target { Flow, Header, TextBox } m_target = Target::Flow;
    TextBoxItem m_textBox;
    std::optional<Table> m_table;
    std::optional<std::size_t> m_sectionBreak; // the flow index of the last section break
};

} // namespace sw
