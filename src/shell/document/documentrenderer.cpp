// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/document/documentrenderer.h"

#include "shell/core/kannadatext.h"
#include "shell/core/stoperror.h"
#include "shell/document/fonttable.h"
#include "shell/document/sharedoutlines.h"

#include <QCache>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QPainterPath>
#include <QRawFont>
#include <QImageReader>
#include <QMutex>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>

#include <optional>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

QRectF toUnits(const QRectF &points)
{
    const double k = DocumentRenderer::kUnitsPerPoint;
    return {points.x() * k, points.y() * k, points.width() * k, points.height() * k};
}

QFont fontFor(const RunFormat &format)
{
    // The face comes from the font table, never from the system's fallback: the same sheet
    // must come out the same on every workstation. Characters the face lacks are taken from
    // the table's fallbacks (Unicode Kannada, then DejaVu Sans) before the system is asked.
    const FontTable::Resolution face = FontTable::resolve(format.fontName);
    QFont font;
    font.setFamilies(QStringList{face.drawn} + FontTable::fallbackFamilies());
    // Sized in layout units, not points: the layout must not depend on any device's resolution.
    font.setPixelSize(std::max(1, qRound(format.size * DocumentRenderer::kUnitsPerPoint)));
    font.setBold(format.bold || face.bold);
    font.setItalic(format.italic);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(true);
    // No ligatures in Latin text: Carlito's "ti" and "fi" carry no text of their own, so a
    // PDF reader would read "Certificate" as "Cer ficate". Scripts that need shaping
    // (Kannada) are shaped all the same.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

Qt::Alignment qtAlignment(Alignment a)
{
    switch (a) {
    case Alignment::Centre: return Qt::AlignHCenter;
    case Alignment::Right: return Qt::AlignRight;
    case Alignment::Justify: return Qt::AlignJustify;
    case Alignment::Left: break;
    }
    return Qt::AlignLeft;
}

// A washed-out copy, as a watermark is printed: colours moved most of the way to white.
QImage washedOut(const QImage &source)
{
    QImage image = source.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = line[x];
            auto wash = [](int v) { return 217 + v * 38 / 255; };
            line[x] = qRgba(wash(qRed(c)), wash(qGreen(c)), wash(qBlue(c)), qAlpha(c));
        }
    }
    return image;
}

// Pictures are read once per file and kept (the watermark washed out once too): a
// certificate run draws the same seal, signatures and watermark on every page, and
// the PDF writer embeds a picture it has seen before (the same image) only once.
QImage loadPicture(const QString &file, const QString &itemName, bool washed = false)
{
    static QMutex mutex;
    static QCache<QString, QImage> cache(64);
    const QFileInfo info(file);
    if (!info.isFile())
        throw StopError(u"The picture file "_s + file + u" of the "_s + itemName + u" does not exist."_s);
    const QString key = info.absoluteFilePath() + u'|' + QString::number(info.lastModified().toMSecsSinceEpoch()) + u'|'
                        + QString::number(info.size()) + (washed ? u"|washed"_s : QString());
    QMutexLocker lock(&mutex);
    if (const QImage *hit = cache.object(key))
        return *hit;
    QImageReader reader(file);
    QImage image = reader.read();
    if (image.isNull())
        throw StopError(u"The picture file "_s + file + u" of the "_s + itemName + u" cannot be read: "_s
                        + reader.errorString() + u'.');
    if (washed)
        image = washedOut(image);
    cache.insert(key, new QImage(image));
    return image;
}

QString runText(const Run &run, int page, int pages)
{
    switch (run.field) {
    case Run::Field::PageNumber: return QString::number(page);
    case Run::Field::PageCount: return QString::number(pages);
    case Run::Field::None: break;
    }
    // A "\n" inside a run is a line break within its paragraph (the lines of an address label).
    if (run.text.contains(u'\n'))
        return QString(run.text).replace(u'\n', QChar::LineSeparator);
    return run.text;
}

// What a run puts on the page. Kannada in a legacy font that is installed is drawn in
// it, code for code; where the font is missing, the run's Unicode reading is drawn in
// the installed Unicode Kannada font at the run's size and colour, shaped by Qt.
//
// Either way the glyphs of Kannada are drawn as outlines and the Unicode text is laid
// over them invisibly: a PDF then holds the Unicode Kannada as its text (what a reader
// copies or searches), which neither the legacy codes nor the ligatures of shaped
// Unicode would give.
struct ShownRun
{
    QString text;
    RunFormat format;
    // How the drawn text reads as Unicode: -1 not Kannada, 0 it is Unicode, else the legacy font + 1.
    int kannada = -1;
};

constexpr int kKannadaProperty = QTextFormat::UserProperty + 1;
// The line height a stretch of Unicode Kannada takes when it stands in for a missing
// legacy font: the legacy font's own (as the system resolves its name), not the Unicode
// font's. Unicode Kannada fonts keep a deep descent and a wide leading for stacked
// signs; at their own height a certificate's lines would run off the sheet's printed
// frame and its last lines onto a second page.
constexpr int kLineHeightProperty = QTextFormat::UserProperty + 2;

ShownRun shownRun(const Run &run, int page, int pages)
{
    ShownRun shown{runText(run, page, pages), run.format};
    const auto legacy = kannada::legacyFont(run.format.fontName);
    if (!legacy || FontTable::unicodeKannadaFamily().isEmpty())
        return shown;
    if (kannada::hasUnicodeKannada(shown.text)) { // a text given in Unicode already is drawn as it is
        shown.kannada = 0;
        shown.format.fontName = FontTable::unicodeKannadaFamily();
    } else if (FontTable::readsAsUnicode(run.format.fontName)) {
        shown.text = kannada::toUnicode(shown.text, *legacy).text;
        shown.kannada = 0;
        shown.format.fontName = FontTable::unicodeKannadaFamily();
    } else {
        shown.kannada = int(*legacy) + 1;
    }
    return shown;
}

// The invisible Unicode text over a drawn Kannada stretch: the letters one glyph each
// (no shaping, so each glyph names its letter), stretched to the stretch's width. The
// stretch is a scale of the whole run, not wider gaps between its glyphs: a reader of
// the PDF would take a gap for a space between words.
void drawTextLayer(QPainter &painter, const QString &unicode, const QRectF &over, double pixelSize)
{
    if (unicode.trimmed().isEmpty() || over.width() <= 0)
        return;
    QFont font(FontTable::unicodeKannadaFamily());
    font.setPixelSize(std::max(1, qRound(pixelSize)));
    // Design widths, as the layout's: hinted ones follow the machine's font settings.
    font.setHintingPreference(QFont::PreferNoHinting);
    const QRawFont raw = QRawFont::fromFont(font);
    if (!raw.isValid())
        return;
    QList<quint32> glyphs = raw.glyphIndexesForString(unicode);
    QList<QPointF> advances = raw.advancesForGlyphIndexes(glyphs, QRawFont::UseDesignMetrics);
    double width = 0;
    QList<QPointF> positions;
    for (const QPointF &a : advances) {
        positions << QPointF(width, 0);
        width += a.x();
    }
    if (width <= 0)
        return;
    QGlyphRun run;
    run.setRawFont(raw);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    painter.save();
    painter.translate(over.left(), over.bottom() - over.height() * 0.25);
    painter.scale(over.width() / width, 1.0);
    painter.setPen(QColor(0, 0, 0, 0));
    painter.drawGlyphRun(QPointF(), run);
    painter.restore();
}

// A face at one size, as the outlines of its glyphs are kept by.
QString faceKey(const QRawFont &font)
{
    return u"%1|%2|%3|%4|%5"_s.arg(font.familyName(), font.styleName())
        .arg(font.pixelSize())
        .arg(font.weight())
        .arg(int(font.style()));
}

// The outlines of a face's glyphs at one size, made once per thread: a batch of
// certificates draws the same few hundred glyphs again and again.
QHash<quint32, QPainterPath> &glyphOutlines(const QString &face)
{
    thread_local QHash<QString, QHash<quint32, QPainterPath>> faces;
    if (faces.size() > 64 && !faces.contains(face))
        faces.clear();
    return faces[face];
}

// A stretch of Kannada as its glyphs stand, relative to the first one: the faces, the glyphs,
// their places and the colour decide its outline, so the same words are drawn from the
// outline made the first time.
struct GlyphStretch
{
    std::optional<QPointF> origin;
    QRectF over; // what the glyphs cover, in the painter's units
    QByteArray key;
    std::vector<QString> faces; // of each glyph run
};

GlyphStretch glyphStretch(const QList<QGlyphRun> &runs, const QPointF &shift, const QColor &colour)
{
    GlyphStretch s;
    auto append = [&s](const auto &value) { s.key.append(reinterpret_cast<const char *>(&value), sizeof value); };
    append(colour.rgba());
    for (const QGlyphRun &run : runs) {
        s.faces.push_back(faceKey(run.rawFont()));
        s.key.append(reinterpret_cast<const char *>(s.faces.back().constData()),
                     s.faces.back().size() * qsizetype(sizeof(QChar)));
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        append(glyphs.size());
        for (qsizetype g = 0; g < glyphs.size() && g < positions.size(); ++g) {
            if (!s.origin)
                s.origin = QPointF(std::round(positions[g].x() + shift.x()), std::round(positions[g].y() + shift.y()));
            const QPointF at = positions[g] + shift - *s.origin;
            append(glyphs[g]);
            append(at.x());
            append(at.y());
        }
        s.over = s.over.united(run.boundingRect().translated(shift));
    }
    return s;
}

// The outline of the stretch, relative to its origin, in whole layout units (1/1200 inch,
// finer than any printer's dot): a PDF then writes each point of it as two short integers
// instead of two nine-digit fractions, so a page of Kannada is half the bytes to write and
// to compress.
QPainterPath stretchOutline(const QList<QGlyphRun> &runs, const GlyphStretch &s, const QPointF &shift)
{
    QPainterPath outlines;
    for (std::size_t r = 0; r < std::size_t(runs.size()); ++r) {
        const QGlyphRun &run = runs[qsizetype(r)];
        const QRawFont font = run.rawFont();
        QHash<quint32, QPainterPath> &outlineOf = glyphOutlines(s.faces[r]);
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype g = 0; g < glyphs.size() && g < positions.size(); ++g) {
            auto outline = outlineOf.find(glyphs[g]);
            if (outline == outlineOf.end())
                outline = outlineOf.insert(glyphs[g], font.pathForGlyph(glyphs[g]));
            outlines.addPath(outline->translated(positions[g] + shift - *s.origin));
        }
    }
    for (int i = 0; i < outlines.elementCount(); ++i) {
        const QPainterPath::Element e = outlines.elementAt(i);
        outlines.setElementPositionAt(i, std::round(e.x), std::round(e.y));
    }
    return outlines;
}

// One line of a laid-out paragraph. Lines without Kannada are drawn by Qt as they are.
void drawLine(QPainter &painter, const QTextLayout &layout, const QTextLine &line, const QPointF &shift,
              SharedOutlines *shared)
{
    const QList<QTextLayout::FormatRange> ranges = layout.formats();
    const bool hasKannada = std::any_of(ranges.begin(), ranges.end(), [](const QTextLayout::FormatRange &r) {
        return r.format.hasProperty(kKannadaProperty);
    });
    if (!hasKannada) {
        line.draw(&painter, shift);
        return;
    }
    const int lineEnd = line.textStart() + line.textLength();
    for (const QTextLayout::FormatRange &range : ranges) {
        const int from = std::max(range.start, line.textStart());
        const int to = std::min(range.start + range.length, lineEnd);
        if (from >= to)
            continue;
        const QColor colour = range.format.foreground().color();
        const QList<QGlyphRun> runs = line.glyphRuns(from, to - from);
        if (!range.format.hasProperty(kKannadaProperty)) {
            painter.setPen(colour);
            for (const QGlyphRun &run : runs)
                painter.drawGlyphRun(shift, run);
            continue;
        }
        // The outline is built relative to the stretch's first glyph, so the same words
        // give the same outline wherever a line puts them (a PDF keeps it once).
        const GlyphStretch stretch = glyphStretch(runs, shift, colour);
        const QRectF &over = stretch.over;
        if (!stretch.origin) {
        } else if (!shared) {
            painter.fillPath(stretchOutline(runs, stretch, shift).translated(*stretch.origin), colour);
        } else if (!shared->fillKnown(painter, stretch.key, *stretch.origin)) {
            shared->fill(painter, stretchOutline(runs, stretch, shift), *stretch.origin, colour, stretch.key);
        }
        const int legacy = range.format.intProperty(kKannadaProperty);
        const QString drawn = layout.text().mid(from, to - from);
        const QString unicode = legacy == 0 ? drawn : kannada::toUnicode(drawn, kannada::LegacyFont(legacy - 1)).text;
        drawTextLayer(painter, unicode, over, range.format.font().pixelSize());
    }
}

// The height a line takes in the flow: its own, unless it holds Unicode Kannada standing
// in for a legacy font; then each stretch counts at the height of its font, the Unicode
// Kannada at the legacy font's.
double lineHeight(const QTextLayout &layout, const QTextLine &line)
{
    const QList<QTextLayout::FormatRange> ranges = layout.formats();
    const int lineEnd = line.textStart() + line.textLength();
    double height = 0;
    bool standsIn = false;
    for (const QTextLayout::FormatRange &range : ranges) {
        if (range.start >= lineEnd || range.start + range.length <= line.textStart())
            continue;
        if (range.format.hasProperty(kLineHeightProperty)) {
            standsIn = true;
            height = std::max(height, range.format.doubleProperty(kLineHeightProperty));
        } else {
            height = std::max(height, QFontMetricsF(range.format.font()).lineSpacing());
        }
    }
    return standsIn ? height : line.height();
}

// A table cell's text keeps this distance from the cell's left and right edges.
constexpr double kCellPaddingPoints = 5.4;
constexpr double kCellPaddingVerticalPoints = 1.0;

// What decides a paragraph's layout, as bytes: a laid-out paragraph is found again by it.
QByteArray layoutKey(const Paragraph &paragraph, double widthUnits, int page, int pages, const QByteArray &insets)
{
    QByteArray key;
    key.reserve(256);
    auto number = [&key](double value) { key.append(reinterpret_cast<const char *>(&value), sizeof value); };
    auto text = [&key, &number](const QString &s) {
        number(double(s.size()));
        key.append(reinterpret_cast<const char *>(s.constData()), s.size() * qsizetype(sizeof(QChar)));
    };
    auto format = [&](const RunFormat &f) {
        text(f.fontName);
        number(f.size);
        number(f.bold * 2 + f.italic);
        number(double(f.colour.rgba()));
    };
    bool fields = false;
    for (const Run &run : paragraph.runs) {
        text(run.text);
        format(run.format);
        number(double(run.field));
        fields = fields || run.field != Run::Field::None;
    }
    format(paragraph.endFormat);
    number(double(paragraph.format.alignment));
    number(paragraph.format.lineSpacing);
    number(paragraph.format.spaceAfter);
    number(widthUnits);
    number(fields ? page : 0);
    number(fields ? pages : 0);
    key.append(insets);
    return key;
}

// The layouts of the innermost LayoutReuse of this thread.
thread_local LayoutReuse::Layouts *t_reuse = nullptr;

} // namespace

struct LayoutReuse::Layouts
{
    struct Laid
    {
        std::shared_ptr<QTextLayout> layout;
        double height = 0;
    };
    QHash<QByteArray, Laid> byKey;
    // A run of thousands of letters with no wording in common keeps no more than this.
    static constexpr qsizetype kMost = 4096;
};

LayoutReuse::LayoutReuse()
{
    if (t_reuse)
        return;
    m_layouts = std::make_unique<Layouts>();
    t_reuse = m_layouts.get();
}

LayoutReuse::~LayoutReuse()
{
    if (m_layouts)
        t_reuse = nullptr;
}

namespace {

std::shared_ptr<QTextLayout> layOut(const Paragraph &paragraph, double widthUnits, double *height, int page, int pages,
                                    const LineInsets &insets);

} // namespace

std::shared_ptr<QTextLayout> layoutParagraph(const Paragraph &paragraph, double widthUnits, double *height, int page,
                                             int pages, const KeyedInsets &insets)
{
    if (!t_reuse || (insets.insets && insets.key.isEmpty()))
        return layOut(paragraph, widthUnits, height, page, pages, insets.insets);
    const QByteArray key = layoutKey(paragraph, widthUnits, page, pages, insets.key);
    auto found = t_reuse->byKey.constFind(key);
    if (found == t_reuse->byKey.constEnd()) {
        if (t_reuse->byKey.size() >= LayoutReuse::Layouts::kMost)
            t_reuse->byKey.clear();
        LayoutReuse::Layouts::Laid laid;
        laid.layout = layOut(paragraph, widthUnits, &laid.height, page, pages, insets.insets);
        found = t_reuse->byKey.insert(key, laid);
    }
    if (height)
        *height = found->height;
    return found->layout;
}

namespace {

std::shared_ptr<QTextLayout> layOut(const Paragraph &paragraph, double widthUnits, double *height, int page, int pages,
                                    const LineInsets &insets)
{
    QString text;
    QList<QTextLayout::FormatRange> ranges;
    for (const Run &run : paragraph.runs) {
        const ShownRun shown = shownRun(run, page, pages);
        const QString &piece = shown.text;
        QTextCharFormat f;
        f.setFont(fontFor(shown.format), QTextCharFormat::FontPropertiesAll);
        f.setForeground(shown.format.colour);
        if (shown.kannada >= 0)
            f.setProperty(kKannadaProperty, shown.kannada);
        if (shown.kannada == 0 && kannada::legacyFont(run.format.fontName))
            f.setProperty(kLineHeightProperty, QFontMetricsF(fontFor(run.format)).lineSpacing());
        ranges.append({int(text.size()), int(piece.size()), f});
        text += piece;
    }
    const RunFormat baseFormat =
        paragraph.runs.empty() ? paragraph.endFormat : shownRun(paragraph.runs.front(), page, pages).format;
    auto layout = std::make_shared<QTextLayout>(text, fontFor(baseFormat));
    QTextOption option(qtAlignment(paragraph.format.alignment));
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // A tab goes to the next half inch, as in a word processor: Qt's default stop is 80
    // layout units (1/15 inch), which runs "Reg. No: R0001" into "Cert. No: ..." after it.
    option.setTabStopDistance(DocumentRenderer::kUnitsPerInch / 2);
    option.setUseDesignMetrics(true);
    layout->setTextOption(option);
    layout->setFormats(ranges);
    layout->setCacheEnabled(true);
    layout->beginLayout();
    double y = 0;
    const double spacing = paragraph.format.lineSpacing > 0 ? paragraph.format.lineSpacing : 1.0;
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLeadingIncluded(true);
        line.setLineWidth(widthUnits);
        const double height = lineHeight(*layout, line);
        const auto [left, right] = insets ? insets(y, y + height) : std::pair{0.0, 0.0};
        if (left > 0 || right > 0)
            line.setLineWidth(std::max(1.0, widthUnits - left - right));
        line.setPosition(QPointF(left, y));
        y += height * spacing;
    }
    layout->endLayout();
    if (height)
        *height = y + paragraph.format.spaceAfter * DocumentRenderer::kUnitsPerPoint;
    return layout;
}

} // namespace

// Fills pages with the flow: paragraphs line by line, table rows whole, page breaks.
class DocumentRenderer::Flow
{
public:
    Flow(DocumentRenderer &r)
        : m_r(r)
        , m_body(toUnits(r.m_doc.page.bodyPoints()))
        , m_y(m_body.top())
    {
        m_r.m_pages.emplace_back();
    }

    void paragraph(const Paragraph &p)
    {
        double height = 0;
        auto layout = layoutParagraph(p, m_body.width(), &height, 1, 1, keepClear(p.format.alignment));
        const int lines = layout->lineCount();
        int first = 0;
        double consumed = 0; // of the paragraph's own y, already placed on earlier pages
        for (int i = 0; i < lines; ++i) {
            const QTextLine line = layout->lineAt(i);
            const double bottom = line.y() + lineHeight(*layout, line) - consumed;
            if (m_y + bottom > m_body.bottom() + 0.5 && !(i == first && m_y == m_body.top())) {
                if (i > first)
                    place(layout, first, i - first, consumed);
                newPage();
                first = i;
                consumed = line.y();
            }
        }
        place(layout, first, lines - first, consumed);
        m_y += height - consumed;
    }

    void table(const Table &t)
    {
        std::vector<double> widths;
        for (double w : t.columnInches)
            widths.push_back(w * kUnitsPerInch);
        const std::size_t headingRows = std::min(std::size_t(std::max(0, t.headingRows)), t.rows.size());
        std::vector<Row> heading;
        for (std::size_t r = 0; r < t.rows.size(); ++r) {
            const Row row = measure(t, r, widths);
            double needed = row.height;
            if (r == 0 && headingRows > 0 && headingRows < t.rows.size()) {
                // The headings start on a page that has room for the first row under them too.
                for (std::size_t h = 1; h < headingRows; ++h)
                    needed += measure(t, h, widths).height;
                needed += measure(t, headingRows, widths).height;
            }
            if (m_y + needed > m_body.bottom() + 0.5 && m_y > m_body.top()) {
                newPage();
                if (r >= headingRows) {
                    for (const Row &h : heading) // a table that runs on repeats its headings
                        place(h, widths, t);
                }
            }
            place(row, widths, t);
            if (r < headingRows)
                heading.push_back(row);
        }
    }

    void newPage(bool newSection = false)
    {
        m_r.m_pages.emplace_back();
        if (newSection)
            ++m_section;
        m_r.m_pages.back().section = m_section;
        m_y = m_body.top();
    }

    int currentPage() const { return int(m_r.m_pages.size()) - 1; }
    double y() const { return m_y; }

private:
    struct Row
    {
        std::vector<std::shared_ptr<QTextLayout>> cells;
        double height = 0;
    };

    // The insets that keep a paragraph's lines out of the document's keep-clear areas,
    // as the paragraph stands from the flow's position now (a paragraph that runs on to
    // the next page keeps the insets of the page it started on).
    KeyedInsets keepClear(Alignment alignment) const
    {
        if (m_r.m_doc.keepClear.empty())
            return {};
        std::vector<QRectF> areas;
        QByteArray key;
        auto number = [&key](double value) { key.append(reinterpret_cast<const char *>(&value), sizeof value); };
        for (const QRectF &points : m_r.m_doc.keepClear) {
            areas.push_back(toUnits(points));
            for (const double v : {points.x(), points.y(), points.width(), points.height()})
                number(v);
        }
        // The insets follow from the areas, the alignment, the body and where the paragraph starts.
        for (const double v : {double(alignment), m_body.x(), m_body.y(), m_body.width(), m_body.height(), m_y})
            number(v);
        LineInsets insets = [areas, alignment, body = m_body, top = m_y](double lineTop, double lineBottom) {
            const double gap = 0.1 * kUnitsPerInch; // between the area and the text beside it
            double left = 0;
            double right = 0;
            for (const QRectF &area : areas) {
                if (area.bottom() <= top + lineTop || area.top() >= top + lineBottom)
                    continue;
                if (area.center().x() < body.center().x())
                    left = std::max(left, area.right() + gap - body.left());
                else
                    right = std::max(right, body.right() - (area.left() - gap));
            }
            if (alignment == Alignment::Centre)
                left = right = std::max(left, right);
            return std::pair{left, right};
        };
        return {std::move(insets), key};
    }

    Page &page() { return m_r.m_pages.back(); }
    void place(const std::shared_ptr<QTextLayout> &layout, int first, int count, double consumed)
    {
        page().texts.push_back({layout, first, count, QPointF(m_body.left(), m_y - consumed)});
    }

    static Row measure(const Table &t, std::size_t r, const std::vector<double> &widths)
    {
        const double k = kUnitsPerPoint;
        Row row;
        const auto &cells = t.rows[r];
        for (std::size_t c = 0; c < cells.size() && c < widths.size(); ++c) {
            double h = 0;
            row.cells.push_back(layoutParagraph(cells[c], std::max(1.0, widths[c] - 2 * kCellPaddingPoints * k), &h));
            row.height = std::max(row.height, h);
        }
        row.height = std::max(row.height + 2 * kCellPaddingVerticalPoints * k, t.minRowInches * kUnitsPerInch);
        return row;
    }

    void place(const Row &row, const std::vector<double> &widths, const Table &t)
    {
        const double k = kUnitsPerPoint;
        double x = m_body.left();
        for (std::size_t c = 0; c < row.cells.size(); ++c) {
            page().texts.push_back({row.cells[c], 0, row.cells[c]->lineCount(),
                                    QPointF(x + kCellPaddingPoints * k, m_y + kCellPaddingVerticalPoints * k)});
            if (t.bordered(c))
                page().cellFrames.emplace_back(x, m_y, widths[c], row.height);
            x += widths[c];
        }
        m_y += row.height;
    }

    DocumentRenderer &m_r;
    QRectF m_body;
    double m_y;
    int m_section = 0;
};

DocumentRenderer::DocumentRenderer(const Document &document)
    : m_doc(document)
{
    layoutFlow();
    placeAnchored();
    for (Section &section : m_sections)
        prepareHeader(section);
}

DocumentRenderer::DocumentRenderer(const Document &document, FlowOnly)
    : m_doc(document)
{
    layoutFlow();
}

DocumentRenderer::~DocumentRenderer() = default;

void DocumentRenderer::prepareHeader(Section &section) const
{
    const PageHeader &header = *section.header;
    for (const PictureItem &p : header.pictures) {
        checkOnPage(p.name, p.points);
        section.pictures.push_back({p.image.isNull() ? loadPicture(p.file, p.name) : p.image, toUnits(p.points)});
    }
    if (!header.watermarkFile.isEmpty()) {
        const QImage source = loadPicture(header.watermarkFile, u"watermark"_s, true);
        QSizeF size = header.watermarkPoints;
        if (size.isEmpty())
            size = QSizeF(source.width(), source.height()) * (kPointsPerInch / 96.0);
        const QSizeF page = m_doc.page.pagePoints();
        const QRectF centred((page.width() - size.width()) / 2, (page.height() - size.height()) / 2, size.width(),
                             size.height());
        // Centred, a watermark larger than the sheet runs off its edges as it does on paper.
        section.watermark = source;
        section.watermarkUnits = toUnits(centred);
    }
}

void DocumentRenderer::layoutFlow()
{
    Flow flow(*this);
    m_sections.push_back({&m_doc.header, 0, 0, {}, {}, {}});
    for (const Block &block : m_doc.flow) {
        m_pageAtBlock.push_back(flow.currentPage());
        m_unitsAtBlock.push_back(flow.y());
        if (const auto *p = std::get_if<Paragraph>(&block)) {
            flow.paragraph(*p);
        } else if (const auto *t = std::get_if<Table>(&block)) {
            flow.table(*t);
        } else {
            const auto &pageBreak = std::get<PageBreak>(block);
            flow.newPage(pageBreak.newSection);
            if (pageBreak.newSection) {
                const PageHeader *header = pageBreak.header ? &*pageBreak.header : &m_doc.header;
                m_sections.push_back({header, flow.currentPage(), 0, {}, {}, {}});
            }
        }
    }
    m_pageAtBlock.push_back(flow.currentPage());
    m_unitsAtBlock.push_back(flow.y());
    for (const Page &page : m_pages)
        ++m_sections[std::size_t(page.section)].pageCount;
}

void DocumentRenderer::checkOnPage(const QString &name, const QRectF &points) const
{
    const QSizeF page = m_doc.page.pagePoints();
    // A hundredth of an inch of tolerance: layouts give positions to that precision.
    const double slack = 0.72;
    if (points.width() < 0 || points.height() < 0 || points.left() < -slack || points.top() < -slack
        || points.right() > page.width() + slack || points.bottom() > page.height() + slack) {
        throw StopError(u"The "_s + name + u" lies off the page: it is placed at "_s + QString::number(points.x())
                        + u", "_s + QString::number(points.y()) + u" pt, "_s + QString::number(points.width())
                        + u" x "_s + QString::number(points.height()) + u" pt, on a page of "_s
                        + QString::number(page.width(), 'f', 1) + u" x "_s + QString::number(page.height(), 'f', 1)
                        + u" pt."_s);
    }
}

void DocumentRenderer::placeAnchored()
{
    for (const AnchoredItem &a : m_doc.anchored) {
        // The page on which the next block starts; after a page break that is the page it opened.
        const int page = m_pageAtBlock[std::min(a.flowIndex, m_pageAtBlock.size() - 1)];
        m_anchoredPage.push_back(page);
        Page &target = m_pages[std::size_t(page)];
        if (const auto *picture = std::get_if<PictureItem>(&a.item)) {
            checkOnPage(picture->name, picture->points);
            target.pictures.push_back(
                {picture->image.isNull() ? loadPicture(picture->file, picture->name) : picture->image,
                 toUnits(picture->points)});
        } else if (const auto *box = std::get_if<TextBoxItem>(&a.item)) {
            checkOnPage(box->name, box->points);
            const QRectF units = toUnits(box->points);
            double y = units.top();
            for (const Paragraph &p : box->paragraphs) {
                double h = 0;
                auto layout = layoutParagraph(p, units.width(), &h);
                target.texts.push_back({layout, 0, layout->lineCount(), QPointF(units.left(), y)});
                y += h;
            }
        }
    }
}

std::vector<QRectF> DocumentRenderer::textLinesPoints(int page) const
{
    std::vector<QRectF> lines;
    for (const TextPiece &piece : m_pages.at(std::size_t(page)).texts) {
        for (int i = piece.firstLine; i < piece.firstLine + piece.lineCount; ++i) {
            const QRectF units = piece.layout->lineAt(i).naturalTextRect().translated(piece.shift);
            if (units.width() <= 0)
                continue; // an empty line covers nothing
            const double k = kUnitsPerPoint;
            lines.emplace_back(units.x() / k, units.y() / k, units.width() / k, units.height() / k);
        }
    }
    return lines;
}

QRectF DocumentRenderer::textUnder(const QRectF &points, int page) const
{
    for (const QRectF &line : textLinesPoints(page))
        if (line.intersects(points))
            return line;
    return {};
}

void DocumentRenderer::drawPieces(QPainter &painter, const std::vector<TextPiece> &pieces, SharedOutlines *shared)
{
    for (const TextPiece &piece : pieces)
        for (int i = piece.firstLine; i < piece.firstLine + piece.lineCount; ++i)
            drawLine(painter, *piece.layout, piece.layout->lineAt(i), piece.shift, shared);
}

void DocumentRenderer::drawHeader(QPainter &painter, int page, SharedOutlines *shared) const
{
    const Section &section = m_sections[std::size_t(m_pages[std::size_t(page)].section)];
    if (!section.watermark.isNull())
        painter.drawImage(section.watermarkUnits, section.watermark);
    for (const PlacedPicture &p : section.pictures)
        painter.drawImage(p.units, p.image);
    if (section.header->paragraphs.empty())
        return;
    // Laid out per page: the header may carry the page number (counted within its section).
    const QRectF body = toUnits(m_doc.page.bodyPoints());
    double y = m_doc.page.headerInches * kUnitsPerInch;
    std::vector<TextPiece> pieces;
    for (const Paragraph &p : section.header->paragraphs) {
        double h = 0;
        auto layout = layoutParagraph(p, body.width(), &h, page - section.firstPage + 1, section.pageCount);
        pieces.push_back({layout, 0, layout->lineCount(), QPointF(body.left(), y)});
        y += h;
    }
    drawPieces(painter, pieces, shared);
}

void DocumentRenderer::drawPage(QPainter &painter, int page, double dotsPerInch, SharedOutlines *shared) const
{
    const Page &p = m_pages.at(std::size_t(page));
    painter.save();
    painter.scale(dotsPerInch / kUnitsPerInch, dotsPerInch / kUnitsPerInch);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::Antialiasing);
    drawHeader(painter, page, shared);
    if (!p.cellFrames.empty()) {
        painter.setPen(QPen(Qt::black, 0.5 * kUnitsPerPoint));
        painter.setBrush(Qt::NoBrush);
        for (const QRectF &frame : p.cellFrames)
            painter.drawRect(frame);
    }
    // A PDF draws a black-and-white picture (a verification code) as a mask in the pen's
    // colour: black, whatever colour the header's text left the pen in.
    painter.setPen(Qt::black);
    for (const PlacedPicture &picture : p.pictures)
        painter.drawImage(picture.units, picture.image);
    drawPieces(painter, p.texts, shared);
    painter.restore();
}

void DocumentRenderer::drawAll(QPainter &painter, QPagedPaintDevice &device) const
{
    const double dpi = device.logicalDpiX();
    for (int i = 0; i < pageCount(); ++i) {
        if (i > 0)
            device.newPage();
        drawPage(painter, i, dpi);
    }
}

QImage DocumentRenderer::pageImage(int page, double dotsPerInch) const
{
    const QSizeF points = m_doc.page.pagePoints();
    QImage image(qRound(points.width() * dotsPerInch / kPointsPerInch),
                 qRound(points.height() * dotsPerInch / kPointsPerInch), QImage::Format_RGB888);
    const int dotsPerMeter = qRound(dotsPerInch / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    QPainter painter(&image);
    drawPage(painter, page, dotsPerInch);
    painter.end();
    return image;
}

namespace {

constexpr double kFitStep = 0.95;

void scaleParagraph(Paragraph &p, double factor)
{
    for (Run &run : p.runs)
        run.format.size *= factor;
    p.endFormat.size *= factor;
    p.format.spaceAfter *= factor;
}

} // namespace

double fitFlowOnOnePage(Document &doc, double smallest)
{
    double scale = 1.0;
    for (;;) {
        if (DocumentRenderer(doc, DocumentRenderer::FlowOnly{}).pageCount() == 1)
            return scale;
        if (scale * kFitStep < smallest)
            return 0.0;
        scale *= kFitStep;
        for (Block &block : doc.flow) {
            if (auto *p = std::get_if<Paragraph>(&block))
                scaleParagraph(*p, kFitStep);
        }
    }
}

double fitFlowAbove(Document &doc, std::size_t block, double topPoints, double smallest)
{
    double scale = 1.0;
    // Each try lays the whole document out: the loop lays it out once per step, not twice.
    for (;;) {
        const DocumentRenderer r(doc, DocumentRenderer::FlowOnly{});
        if (r.pageCount() == 1 && r.blockTopPoints(block) <= topPoints)
            return scale;
        if (scale * kFitStep < smallest)
            return 0.0;
        scale *= kFitStep;
        // Only the text above gives way: the closing lines keep their size.
        for (std::size_t i = 0; i < block && i < doc.flow.size(); ++i) {
            if (auto *p = std::get_if<Paragraph>(&doc.flow[i]))
                scaleParagraph(*p, kFitStep);
        }
    }
}

bool fitTextBox(TextBoxItem &box, double smallestPoints)
{
    // A box too narrow for its text wraps it on to lines below the box; the lines its
    // text has of its own (line breaks typed in it) are no sign of that.
    const double width = box.points.width() * DocumentRenderer::kUnitsPerPoint;
    auto lines = [&box](double atWidth) {
        int count = 0;
        for (const Paragraph &p : box.paragraphs)
            count += layoutParagraph(p, atWidth, nullptr)->lineCount();
        return count;
    };
    auto largest = [&box] {
        double size = 0;
        for (const Paragraph &p : box.paragraphs)
            for (const Run &run : p.runs)
                size = std::max(size, run.format.size);
        return size;
    };
    const int own = lines(1e9);
    while (lines(width) > own && largest() * kFitStep >= smallestPoints) {
        for (Paragraph &p : box.paragraphs)
            scaleParagraph(p, kFitStep);
    }
    if (lines(width) == own)
        return true;
    // Smaller would not be read: the text wraps, and the box grows down to hold its lines.
    double height = 0;
    for (const Paragraph &p : box.paragraphs) {
        double h = 0;
        layoutParagraph(p, width, &h);
        height += h;
    }
    box.points.setHeight(std::max(box.points.height(), height / DocumentRenderer::kUnitsPerPoint));
    return false;
}

} // namespace sw
