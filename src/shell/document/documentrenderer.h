// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/document/document.h"

#include <QByteArray>
#include <QImage>
#include <QLineF>
#include <QPointF>

#include <functional>
#include <memory>
#include <vector>

class QPainter;
class QPagedPaintDevice;
class QTextLayout;

namespace sw {

class SharedOutlines;

// The one renderer: lays a Document out once, then draws its pages on any painter
// (printer, PDF writer, preview image). The layout is done at 1200 units per inch
// with design metrics and fonts sized in those units, so line breaks and positions
// are the same on every device; drawing only scales. Positions are exact to the
// device's pixel.
//
// Construction checks what would spoil a page and throws StopError naming the item:
// a picture file that is missing or unreadable, an item that lies off the page.
// Every family is drawn in the face the font table resolves it to (see FontTable); Kannada in
// a missing legacy font is drawn as its Unicode reading in the table's Unicode Kannada face.
// The renderer refers to the document it was given, which must outlive it.
class DocumentRenderer
{
public:
    static constexpr double kUnitsPerInch = 1200.0;
    static constexpr double kUnitsPerPoint = kUnitsPerInch / kPointsPerInch;

    explicit DocumentRenderer(const Document &document);
    // The flow alone laid out: its pages and where its blocks start, for a check of where
    // the text falls before anything is drawn. Items placed on the page (boxes, pictures)
    // and the page header are left out, so such a renderer must not draw.
    struct FlowOnly
    {
    };
    DocumentRenderer(const Document &document, FlowOnly);
    ~DocumentRenderer();
    DocumentRenderer(const DocumentRenderer &) = delete;
    DocumentRenderer &operator=(const DocumentRenderer &) = delete;

    const Document &document() const { return m_doc; }
    int pageCount() const { return int(m_pages.size()); }
    // Sections (see PageBreak): the first holds the pages before any section break.
    int sectionCount() const { return int(m_sections.size()); }
    int sectionPageCount(int section) const { return m_sections.at(std::size_t(section)).pageCount; }
    // The page (0-based) an anchored item of the document lands on.
    int pageOfAnchored(std::size_t anchoredIndex) const { return m_anchoredPage.at(anchoredIndex); }
    // Where flow block `block` starts on its page, in points from the page's top
    // (flow.size(): where the flow ends).
    double blockTopPoints(std::size_t block) const { return m_unitsAtBlock.at(block) / kUnitsPerPoint; }

    // Draws page `page` (0-based) with the painter's origin at the paper's top-left
    // corner and `dotsPerInch` device pixels to the inch. On a PDF, `shared` (when
    // given) keeps the outlines of drawn Kannada for the whole PDF (see SharedOutlines).
    void drawPage(QPainter &painter, int page, double dotsPerInch, SharedOutlines *shared = nullptr) const;
    // Every page on a paged device, one after another (the painter is active on it).
    void drawAll(QPainter &painter, QPagedPaintDevice &device) const;
    // One page as an image at `dotsPerInch`, on white, three bytes a pixel as PNG stores it.
    QImage pageImage(int page, double dotsPerInch) const;
    // Where the lines of text stand on page `page` (the flow, tables and text boxes), in
    // points from the paper's corner: what a box placed over the page must not cover.
    std::vector<QRectF> textLinesPoints(int page) const;
    // The first line of text of page `page` that `points` would cover; empty when none.
    QRectF textUnder(const QRectF &points, int page = 0) const;

private:
    struct TextPiece
    {
        std::shared_ptr<QTextLayout> layout;
        int firstLine = 0;
        int lineCount = 0;
        QPointF shift; // added to the lines' own positions, in layout units
    };
    struct PlacedPicture
    {
        QImage image;
        QRectF units;
    };
    struct Page
    {
        std::vector<TextPiece> texts;
        std::vector<QRectF> cellFrames;
        std::vector<PlacedPicture> pictures;
        int section = 0;
    };
    // The page header a section's pages carry, with its pictures read once.
    struct Section
    {
        const PageHeader *header = nullptr;
        int firstPage = 0;
        int pageCount = 0;
        std::vector<PlacedPicture> pictures;
        QImage watermark;
        QRectF watermarkUnits;
    };
    class Flow;

    void layoutFlow();
    void placeAnchored();
    void prepareHeader(Section &section) const;
    void checkOnPage(const QString &name, const QRectF &points) const;
    void drawHeader(QPainter &painter, int page, SharedOutlines *shared) const;
    static void drawPieces(QPainter &painter, const std::vector<TextPiece> &pieces, SharedOutlines *shared);

    const Document &m_doc;
    std::vector<Page> m_pages;
    std::vector<Section> m_sections;
    std::vector<int> m_anchoredPage;
    std::vector<int> m_pageAtBlock;     // the page each flow block starts on, plus one for the end
    std::vector<double> m_unitsAtBlock; // and how far down that page, in layout units
};

// Pre-printed stationery takes one sheet: when the flow of `doc` runs on to a second
// page, its fonts and paragraph spacing are made smaller in steps of 5 % until it fits
// on one, down to `smallest` of their size. Returns the scale used (1: it fitted at
// once), or 0 when it does not fit even at `smallest`.
double fitFlowOnOnePage(Document &doc, double smallest = 0.6);
// The same until flow block `block` (the closing lines below a text, say) starts on the
// first page no lower than `topPoints` from its top: the text above it is made smaller
// (the closing lines keep their size), so it keeps clear of what is placed below it.
// Returns 0 when it does not fit even at `smallest`.
double fitFlowAbove(Document &doc, std::size_t block, double topPoints, double smallest = 0.6);
// A text box too narrow for its text (a long name in a box made for a line): its
// fonts are made smaller likewise until the text no longer wraps, but its largest type no
// smaller than `smallestPoints`; past that the text wraps and the box grows down to hold
// it. Returns whether the text fitted on its own lines.
bool fitTextBox(TextBoxItem &box, double smallestPoints = 8);

// What a line gives up of the paragraph's width on its left and on its right, given
// where it lies (from its top to its bottom, in layout units from the paragraph's first line).
using LineInsets = std::function<std::pair<double, double>(double top, double bottom)>;
// The insets with what decides them, so that a paragraph laid out under the same insets can
// be laid out once (see LayoutReuse); `key` empty: not to be reused.
struct KeyedInsets
{
    LineInsets insets;
    QByteArray key;
};

// A paragraph laid out at `widthUnits` in layout units, lines placed from y = 0;
// its height (with the space after) in `height`. Page fields take `page` / `pages`.
std::shared_ptr<QTextLayout> layoutParagraph(const Paragraph &paragraph, double widthUnits, double *height,
                                             int page = 1, int pages = 1, const KeyedInsets &insets = {});

// While one lives, the paragraphs this thread lays out are laid out once each: the same
// paragraph (runs, formats, width, page fields and insets alike) gets the layout made
// before. A printing run lays the same wording out on every certificate, and each
// certificate two or three times (the fit check, the check of what is placed over the text,
// the drawing). Layouts hold the thread's fonts, so each thread keeps its own; the scope
// ends them while the fonts are still there. An inner scope uses the outer one's layouts.
class LayoutReuse
{
public:
    LayoutReuse();
    ~LayoutReuse();
    LayoutReuse(const LayoutReuse &) = delete;
    LayoutReuse &operator=(const LayoutReuse &) = delete;

    struct Layouts;

private:
    std::unique_ptr<Layouts> m_layouts; // null in an inner scope
};

} // namespace sw
