// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/document/odtwriter.h"
#include "shell/core/filewrite.h"

#include "shell/core/stoperror.h"
#include "shell/document/documentrenderer.h"
#include "shell/document/zipbuilder.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QMimeDatabase>
#include <QXmlStreamWriter>

#include <algorithm>
#include <deque>
#include <functional>
#include <optional>
#include <utility>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

const QString kMimeType = u"application/vnd.oasis.opendocument.text"_s;

QString inches(double value) { return QString::number(value, 'f', 4) + u"in"_s; }

QString points(double value) { return QString::number(value, 'f', 2) + u"pt"_s; }

void declareNamespaces(QXmlStreamWriter &w)
{
    w.writeNamespace(u"urn:oasis:names:tc:opendocument:xmlns:office:1.0"_s, u"office"_s);
    w.writeNamespace(u"urn:oasis:names:tc:opendocument:xmlns:style:1.0"_s, u"style"_s);
    w.writeNamespace(u"urn:oasis:names:tc:opendocument:xmlns:text:1.0"_s, u"text"_s);
    w.writeNamespace(u"urn:oasis:names:tc:opendocument:xmlns:table:1.0"_s, u"table"_s);
    w.writeNamespace(u"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"_s, u"draw"_s);
    w.writeNamespace(u"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"_s, u"fo"_s);
    w.writeNamespace(u"http://www.w3.org/1999/xlink"_s, u"xlink"_s);
    w.writeNamespace(u"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"_s, u"svg"_s);
}

const QString office = u"urn:oasis:names:tc:opendocument:xmlns:office:1.0"_s;
const QString style = u"urn:oasis:names:tc:opendocument:xmlns:style:1.0"_s;
const QString text = u"urn:oasis:names:tc:opendocument:xmlns:text:1.0"_s;
const QString table = u"urn:oasis:names:tc:opendocument:xmlns:table:1.0"_s;
const QString draw = u"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"_s;
const QString fo = u"urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"_s;
const QString xlink = u"http://www.w3.org/1999/xlink"_s;
const QString svg = u"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"_s;

QString textAlign(Alignment a)
{
    switch (a) {
    case Alignment::Centre: return u"center"_s;
    case Alignment::Right: return u"end"_s;
    case Alignment::Justify: return u"justify"_s;
    case Alignment::Left: break;
    }
    return u"start"_s;
}

void writeTextProperties(QXmlStreamWriter &w, const RunFormat &f)
{
    w.writeStartElement(style, u"text-properties"_s);
    w.writeAttribute(style, u"font-name"_s, f.fontName);
    w.writeAttribute(fo, u"font-size"_s, points(f.size));
    w.writeAttribute(fo, u"font-weight"_s, f.bold ? u"bold"_s : u"normal"_s);
    w.writeAttribute(fo, u"font-style"_s, f.italic ? u"italic"_s : u"normal"_s);
    w.writeAttribute(fo, u"color"_s, f.colour.name());
    w.writeEndElement();
}

// The automatic styles one XML part needs, named as they are first asked for.
class StyleSet
{
public:
    explicit StyleSet(QString prefix)
        : m_prefix(std::move(prefix))
    {
    }

    // `masterPage`: the paragraph opens a section on a page of that master page, its
    // pages numbered from 1.
    QString paragraph(const Paragraph &p, bool breakBefore, const QString &masterPage = {})
    {
        const QString key = QString::number(int(p.format.alignment)) + u'|' + QString::number(p.format.lineSpacing)
                            + u'|' + QString::number(p.format.spaceAfter) + u'|' + runKey(p.endFormat) + u'|'
                            + QString::number(breakBefore) + u'|' + masterPage;
        auto it = m_paragraphKeys.find(key);
        if (it != m_paragraphKeys.end())
            return it.value();
        const QString name = m_prefix + u'P' + QString::number(m_paragraphs.size() + 1);
        m_paragraphKeys.insert(key, name);
        m_paragraphs.push_back({name, p.format, p.endFormat, breakBefore, masterPage});
        noteFont(p.endFormat.fontName);
        return name;
    }

    QString run(const RunFormat &f)
    {
        const QString key = runKey(f);
        auto it = m_runKeys.find(key);
        if (it != m_runKeys.end())
            return it.value();
        const QString name = m_prefix + u'T' + QString::number(m_runs.size() + 1);
        m_runKeys.insert(key, name);
        m_runs.push_back({name, f});
        noteFont(f.fontName);
        return name;
    }

    void noteFont(const QString &font)
    {
        if (std::find(m_fonts.begin(), m_fonts.end(), font) == m_fonts.end())
            m_fonts.push_back(font);
    }

    const std::vector<QString> &fonts() const { return m_fonts; }

    void write(QXmlStreamWriter &w) const
    {
        for (const auto &p : m_paragraphs) {
            w.writeStartElement(style, u"style"_s);
            w.writeAttribute(style, u"name"_s, p.name);
            w.writeAttribute(style, u"family"_s, u"paragraph"_s);
            if (!p.masterPage.isEmpty())
                w.writeAttribute(style, u"master-page-name"_s, p.masterPage);
            w.writeStartElement(style, u"paragraph-properties"_s);
            w.writeAttribute(fo, u"text-align"_s, textAlign(p.format.alignment));
            w.writeAttribute(fo, u"line-height"_s, QString::number(qRound(p.format.lineSpacing * 100)) + u'%');
            w.writeAttribute(fo, u"margin-top"_s, u"0in"_s);
            w.writeAttribute(fo, u"margin-bottom"_s, points(p.format.spaceAfter));
            if (!p.masterPage.isEmpty())
                w.writeAttribute(style, u"page-number"_s, u"1"_s);
            else if (p.breakBefore)
                w.writeAttribute(fo, u"break-before"_s, u"page"_s);
            w.writeEndElement();
            writeTextProperties(w, p.endFormat);
            w.writeEndElement();
        }
        for (const auto &r : m_runs) {
            w.writeStartElement(style, u"style"_s);
            w.writeAttribute(style, u"name"_s, r.name);
            w.writeAttribute(style, u"family"_s, u"text"_s);
            writeTextProperties(w, r.format);
            w.writeEndElement();
        }
    }

private:
    static QString runKey(const RunFormat &f)
    {
        return f.fontName + u'|' + QString::number(f.size) + u'|' + QString::number(f.bold) + QString::number(f.italic)
               + u'|' + f.colour.name();
    }
    struct ParagraphStyle
    {
        QString name;
        ParagraphFormat format;
        RunFormat endFormat;
        bool breakBefore;
        QString masterPage;
    };
    struct RunStyle
    {
        QString name;
        RunFormat format;
    };
    QString m_prefix;
    QHash<QString, QString> m_paragraphKeys;
    QHash<QString, QString> m_runKeys;
    std::vector<ParagraphStyle> m_paragraphs;
    std::vector<RunStyle> m_runs;
    std::vector<QString> m_fonts;
};

struct Picture
{
    QString path; // inside the package
    QByteArray bytes;
    QString mediaType;
};

// Gathers the pictures to embed, each file once.
class PictureSet
{
public:
    QString add(const QString &file)
    {
        const QString key = QFileInfo(file).absoluteFilePath();
        auto it = m_byFile.find(key);
        if (it != m_byFile.end())
            return it.value();
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            throw StopError(u"The picture file "_s + file + u" cannot be read: "_s + f.errorString() + u'.');
        const QString suffix = QFileInfo(file).suffix().toLower();
        const QString path = u"Pictures/picture"_s + QString::number(m_pictures.size() + 1) + u'.' + suffix;
        m_pictures.push_back({path, f.readAll(), QMimeDatabase().mimeTypeForFile(file).name()});
        m_byFile.insert(key, path);
        return path;
    }
    // A picture the program made, as PNG.
    QString add(const QImage &image)
    {
        const QString key = u"image:"_s + QString::number(image.cacheKey());
        auto it = m_byFile.find(key);
        if (it != m_byFile.end())
            return it.value();
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG"))
            throw StopError(u"A picture made for the document cannot be written as PNG."_s);
        const QString path = u"Pictures/picture"_s + QString::number(m_pictures.size() + 1) + u".png"_s;
        m_pictures.push_back({path, png, u"image/png"_s});
        m_byFile.insert(key, path);
        return path;
    }
    QString add(const PictureItem &picture) { return picture.image.isNull() ? add(picture.file) : add(picture.image); }
    const std::vector<Picture> &pictures() const { return m_pictures; }

private:
    QHash<QString, QString> m_byFile;
    std::vector<Picture> m_pictures;
};

// Writes paragraphs with their spans; runs of spaces and tabs as ODF wants them.
class ParagraphWriter
{
public:
    ParagraphWriter(QXmlStreamWriter &w, StyleSet &styles)
        : m_w(w)
        , m_styles(styles)
    {
    }

    // In a header of one of several sections, the page count is that section's own,
    // which no field of the format counts: it is written as the number.
    void setSectionPageCount(std::optional<int> count) { m_sectionPageCount = count; }

    void write(const Paragraph &p, bool breakBefore, const std::function<void()> &inside = {},
               const QString &masterPage = {})
    {
        m_w.writeStartElement(text, u"p"_s);
        m_w.writeAttribute(text, u"style-name"_s, m_styles.paragraph(p, breakBefore, masterPage));
        if (inside)
            inside();
        for (const Run &run : p.runs) {
            m_w.writeStartElement(text, u"span"_s);
            m_w.writeAttribute(text, u"style-name"_s, m_styles.run(run.format));
            switch (run.field) {
            case Run::Field::PageNumber:
                m_w.writeStartElement(text, u"page-number"_s);
                m_w.writeAttribute(text, u"select-page"_s, u"current"_s);
                m_w.writeCharacters(u"1"_s);
                m_w.writeEndElement();
                break;
            case Run::Field::PageCount:
                if (m_sectionPageCount)
                    characters(QString::number(*m_sectionPageCount));
                else
                    m_w.writeTextElement(text, u"page-count"_s, u"1"_s);
                break;
            case Run::Field::None: characters(run.text); break;
            }
            m_w.writeEndElement();
        }
        m_w.writeEndElement();
    }

private:
    void characters(const QString &s)
    {
        QString pending;
        int spaces = 0;
        auto flushSpaces = [&] {
            if (spaces == 0)
                return;
            // The first space of a run is kept as text; the rest are counted.
            pending += u' ';
            m_w.writeCharacters(pending);
            pending.clear();
            if (spaces > 1) {
                m_w.writeStartElement(text, u"s"_s);
                m_w.writeAttribute(text, u"c"_s, QString::number(spaces - 1));
                m_w.writeEndElement();
            }
            spaces = 0;
        };
        for (QChar c : s) {
            if (c == u' ') {
                ++spaces;
                continue;
            }
            flushSpaces();
            if (c == u'\t') {
                m_w.writeCharacters(pending);
                pending.clear();
                m_w.writeEmptyElement(text, u"tab"_s);
            } else if (c == u'\n' || c == QChar::LineSeparator) {
                m_w.writeCharacters(pending);
                pending.clear();
                m_w.writeEmptyElement(text, u"line-break"_s);
            } else if (c.unicode() < 0x20) {
                // XML cannot hold the other control characters; the legacy fonts have no glyph for them.
                continue;
            } else {
                pending += c;
            }
        }
        flushSpaces();
        m_w.writeCharacters(pending);
    }

    QXmlStreamWriter &m_w;
    StyleSet &m_styles;
    std::optional<int> m_sectionPageCount;
};

void writeFrameStyle(QXmlStreamWriter &w, const QString &name, bool watermark)
{
    w.writeStartElement(style, u"style"_s);
    w.writeAttribute(style, u"name"_s, name);
    w.writeAttribute(style, u"family"_s, u"graphic"_s);
    w.writeStartElement(style, u"graphic-properties"_s);
    w.writeAttribute(style, u"wrap"_s, u"run-through"_s);
    w.writeAttribute(style, u"run-through"_s, watermark ? u"background"_s : u"foreground"_s);
    w.writeAttribute(fo, u"border"_s, u"none"_s);
    w.writeAttribute(fo, u"padding"_s, u"0in"_s);
    w.writeAttribute(fo, u"background-color"_s, u"transparent"_s);
    w.writeAttribute(style, u"horizontal-pos"_s, watermark ? u"center"_s : u"from-left"_s);
    w.writeAttribute(style, u"horizontal-rel"_s, u"page"_s);
    w.writeAttribute(style, u"vertical-pos"_s, watermark ? u"middle"_s : u"from-top"_s);
    w.writeAttribute(style, u"vertical-rel"_s, u"page"_s);
    if (watermark)
        w.writeAttribute(draw, u"color-mode"_s, u"watermark"_s);
    w.writeEndElement();
    w.writeEndElement();
}

void writeFramePosition(QXmlStreamWriter &w, const QString &styleName, const QString &anchor, const QRectF &pt)
{
    w.writeAttribute(draw, u"style-name"_s, styleName);
    w.writeAttribute(text, u"anchor-type"_s, anchor);
    w.writeAttribute(svg, u"x"_s, points(pt.x()));
    w.writeAttribute(svg, u"y"_s, points(pt.y()));
    w.writeAttribute(svg, u"width"_s, points(pt.width()));
    w.writeAttribute(svg, u"height"_s, points(pt.height()));
}

void writeImageFrame(QXmlStreamWriter &w, const QString &styleName, const QString &anchor, const QRectF &pt,
                     const QString &href)
{
    w.writeStartElement(draw, u"frame"_s);
    writeFramePosition(w, styleName, anchor, pt);
    w.writeStartElement(draw, u"image"_s);
    w.writeAttribute(xlink, u"href"_s, href);
    w.writeAttribute(xlink, u"type"_s, u"simple"_s);
    w.writeAttribute(xlink, u"show"_s, u"embed"_s);
    w.writeAttribute(xlink, u"actuate"_s, u"onLoad"_s);
    w.writeEndElement();
    w.writeEndElement();
}

void writeFontFaces(QXmlStreamWriter &w, const std::vector<QString> &fonts)
{
    w.writeStartElement(office, u"font-face-decls"_s);
    for (const QString &font : fonts) {
        w.writeStartElement(style, u"font-face"_s);
        w.writeAttribute(style, u"name"_s, font);
        w.writeAttribute(svg, u"font-family"_s, u'\'' + font + u'\'');
        w.writeEndElement();
    }
    w.writeEndElement();
}

class PackageBuilder
{
    struct TableStyle
    {
        std::vector<double> columns;
        bool borders;
        bool breakBefore;
        double minRowInches;
        bool anyBorderless;
        QString masterPage;
    };
    // One master page per distinct header and section page count: the first is
    // "Standard", on which the document starts.
    struct MasterPage
    {
        QString name;
        const PageHeader *header;
        std::optional<int> pageCount; // the section's count, in a document of several sections
    };

public:
    PackageBuilder(const Document &doc, const DocumentRenderer &layout)
        : m_doc(doc)
        , m_layout(layout)
    {
        std::vector<const PageHeader *> headers = {&doc.header};
        for (const Block &block : doc.flow) {
            if (const auto *b = std::get_if<PageBreak>(&block); b && b->newSection)
                headers.push_back(b->header ? &*b->header : &doc.header);
        }
        const bool several = layout.sectionCount() > 1;
        for (int section = 0; section < layout.sectionCount(); ++section) {
            const PageHeader *header = headers.at(std::size_t(section));
            const std::optional<int> count =
                several ? std::optional<int>(layout.sectionPageCount(section)) : std::nullopt;
            const auto same = std::find_if(m_masters.begin(), m_masters.end(), [&](const MasterPage &m) {
                return m.header == header && m.pageCount == count;
            });
            if (same != m_masters.end()) {
                m_sectionMaster.push_back(same->name);
                continue;
            }
            const QString name = m_masters.empty() ? u"Standard"_s : u"Section"_s + QString::number(m_masters.size());
            m_masters.push_back({name, header, count});
            m_sectionMaster.push_back(name);
        }
    }

    QByteArray content()
    {
        StyleSet styles(QString{});
        // A first pass over the body only gathers the styles and tables it names:
        // the automatic styles come before the body in the file.
        {
            QByteArray scratch;
            QXmlStreamWriter w(&scratch);
            writeBody(w, styles);
        }
        const std::vector<TableStyle> tables = std::exchange(m_tables, {});
        QByteArray out;
        QXmlStreamWriter w(&out);
        w.writeStartDocument();
        declareNamespaces(w);
        w.writeStartElement(office, u"document-content"_s);
        w.writeAttribute(office, u"version"_s, u"1.3"_s);
        writeFontFaces(w, styles.fonts());
        w.writeStartElement(office, u"automatic-styles"_s);
        styles.write(w);
        writeFrameStyle(w, u"fr1"_s, false);
        writeTableStyles(w, tables);
        w.writeEndElement();
        w.writeStartElement(office, u"body"_s);
        w.writeStartElement(office, u"text"_s);
        writeBody(w, styles);
        w.writeEndElement();
        w.writeEndElement();
        w.writeEndElement();
        w.writeEndDocument();
        return out;
    }

    QByteArray stylesPart()
    {
        StyleSet styles(u"H"_s);
        bool header = false;
        for (const MasterPage &master : m_masters) {
            header = header || !master.header->isEmpty();
            for (const Paragraph &p : master.header->paragraphs) {
                styles.paragraph(p, false);
                for (const Run &r : p.runs)
                    styles.run(r.format);
            }
        }
        const PageSetup &page = m_doc.page;
        QByteArray out;
        QXmlStreamWriter w(&out);
        w.writeStartDocument();
        declareNamespaces(w);
        w.writeStartElement(office, u"document-styles"_s);
        w.writeAttribute(office, u"version"_s, u"1.3"_s);
        writeFontFaces(w, styles.fonts());
        w.writeStartElement(office, u"styles"_s);
        w.writeStartElement(style, u"default-style"_s);
        w.writeAttribute(style, u"family"_s, u"paragraph"_s);
        w.writeStartElement(style, u"paragraph-properties"_s);
        w.writeAttribute(fo, u"margin-top"_s, u"0in"_s);
        w.writeAttribute(fo, u"margin-bottom"_s, u"0in"_s);
        w.writeEndElement();
        w.writeEndElement();
        w.writeEndElement();

        w.writeStartElement(office, u"automatic-styles"_s);
        const QSizeF paper = page.pagePoints() / kPointsPerInch;
        w.writeStartElement(style, u"page-layout"_s);
        w.writeAttribute(style, u"name"_s, u"pm1"_s);
        w.writeStartElement(style, u"page-layout-properties"_s);
        w.writeAttribute(fo, u"page-width"_s, inches(paper.width()));
        w.writeAttribute(fo, u"page-height"_s, inches(paper.height()));
        w.writeAttribute(style, u"print-orientation"_s, page.landscape ? u"landscape"_s : u"portrait"_s);
        w.writeAttribute(fo, u"margin-top"_s, inches(header ? page.headerInches : page.topInches));
        w.writeAttribute(fo, u"margin-bottom"_s, inches(page.bottomInches));
        w.writeAttribute(fo, u"margin-left"_s, inches(page.leftInches));
        w.writeAttribute(fo, u"margin-right"_s, inches(page.rightInches));
        w.writeEndElement();
        if (header) {
            // The header fills the band from the header distance to the top margin, where the body starts.
            w.writeStartElement(style, u"header-style"_s);
            w.writeStartElement(style, u"header-footer-properties"_s);
            w.writeAttribute(fo, u"min-height"_s, inches(std::max(0.0, page.topInches - page.headerInches)));
            w.writeAttribute(fo, u"margin-bottom"_s, u"0in"_s);
            w.writeAttribute(style, u"dynamic-spacing"_s, u"false"_s);
            w.writeEndElement();
            w.writeEndElement();
        }
        w.writeEndElement();
        styles.write(w);
        writeFrameStyle(w, u"Hfr1"_s, false);
        writeFrameStyle(w, u"Hwm1"_s, true);
        w.writeEndElement();

        w.writeStartElement(office, u"master-styles"_s);
        for (const MasterPage &master : m_masters) {
            w.writeStartElement(style, u"master-page"_s);
            w.writeAttribute(style, u"name"_s, master.name);
            w.writeAttribute(style, u"page-layout-name"_s, u"pm1"_s);
            if (!master.header->isEmpty())
                writeHeader(w, styles, master);
            w.writeEndElement();
        }
        w.writeEndElement();
        w.writeEndElement();
        w.writeEndDocument();
        return out;
    }

    const PictureSet &pictures() const { return m_pictures; }

private:
    void writeHeader(QXmlStreamWriter &w, StyleSet &styles, const MasterPage &master)
    {
        const PageHeader &h = *master.header;
        w.writeStartElement(style, u"header"_s);
        ParagraphWriter paragraphs(w, styles);
        paragraphs.setSectionPageCount(master.pageCount);
        // Pictures and the watermark hang on the header's first paragraph, placed relative to the page.
        auto frames = [&] {
            if (!h.watermarkFile.isEmpty()) {
                QSizeF size = h.watermarkPoints;
                if (size.isEmpty())
                    size = QSizeF(QImageReader(h.watermarkFile).size()) * (kPointsPerInch / 96.0);
                const QSizeF page = m_doc.page.pagePoints();
                writeImageFrame(w, u"Hwm1"_s, u"paragraph"_s,
                                QRectF((page.width() - size.width()) / 2, (page.height() - size.height()) / 2,
                                       size.width(), size.height()),
                                m_pictures.add(h.watermarkFile));
            }
            for (const PictureItem &p : h.pictures)
                writeImageFrame(w, u"Hfr1"_s, u"paragraph"_s, p.points, m_pictures.add(p));
        };
        if (h.paragraphs.empty()) {
            paragraphs.write(Paragraph{}, false, frames);
        } else {
            bool first = true;
            for (const Paragraph &p : h.paragraphs) {
                paragraphs.write(p, false, first ? frames : std::function<void()>{});
                first = false;
            }
        }
        w.writeEndElement();
    }

    void writeBody(QXmlStreamWriter &w, StyleSet &styles)
    {
        // Frames anchored to a page come first in the text, each naming its page.
        for (std::size_t i = 0; i < m_doc.anchored.size(); ++i) {
            const QString page = QString::number(m_layout.pageOfAnchored(i) + 1);
            if (const auto *picture = std::get_if<PictureItem>(&m_doc.anchored[i].item)) {
                w.writeStartElement(draw, u"frame"_s);
                writeFramePosition(w, u"fr1"_s, u"page"_s, picture->points);
                w.writeAttribute(text, u"anchor-page-number"_s, page);
                w.writeStartElement(draw, u"image"_s);
                w.writeAttribute(xlink, u"href"_s, m_pictures.add(*picture));
                w.writeAttribute(xlink, u"type"_s, u"simple"_s);
                w.writeAttribute(xlink, u"show"_s, u"embed"_s);
                w.writeAttribute(xlink, u"actuate"_s, u"onLoad"_s);
                w.writeEndElement();
                w.writeEndElement();
            } else if (const auto *box = std::get_if<TextBoxItem>(&m_doc.anchored[i].item)) {
                w.writeStartElement(draw, u"frame"_s);
                writeFramePosition(w, u"fr1"_s, u"page"_s, box->points);
                w.writeAttribute(text, u"anchor-page-number"_s, page);
                w.writeStartElement(draw, u"text-box"_s);
                ParagraphWriter paragraphs(w, styles);
                for (const Paragraph &p : box->paragraphs)
                    paragraphs.write(p, false);
                w.writeEndElement();
                w.writeEndElement();
            }
        }
        ParagraphWriter paragraphs(w, styles);
        // What the next block starts with: a new page, or a new section on its master page.
        bool breakPending = false;
        QString masterPending;
        std::size_t section = 0;
        for (const Block &block : m_doc.flow) {
            if (const auto *p = std::get_if<Paragraph>(&block)) {
                paragraphs.write(*p, breakPending, {}, masterPending);
            } else if (const auto *t = std::get_if<Table>(&block)) {
                writeTable(w, paragraphs, *t, breakPending, masterPending);
            } else {
                if (breakPending || !masterPending.isEmpty())
                    paragraphs.write(Paragraph{}, breakPending, {}, masterPending);
                const bool newSection = std::get<PageBreak>(block).newSection;
                masterPending = newSection ? m_sectionMaster.at(++section) : QString();
                breakPending = !newSection;
                continue;
            }
            breakPending = false;
            masterPending.clear();
        }
        if (breakPending || !masterPending.isEmpty())
            paragraphs.write(Paragraph{}, breakPending, {}, masterPending);
    }

    void writeTable(QXmlStreamWriter &w, ParagraphWriter &paragraphs, const Table &t, bool breakBefore,
                    const QString &masterPage)
    {
        const int index = int(m_tables.size()) + 1;
        m_tables.push_back(
            {t.columnInches, t.borders, breakBefore, t.minRowInches, !t.borderlessColumns.empty(), masterPage});
        const QString name = u"Tab"_s + QString::number(index);
        w.writeStartElement(table, u"table"_s);
        w.writeAttribute(table, u"name"_s, u"Table"_s + QString::number(index));
        w.writeAttribute(table, u"style-name"_s, name);
        for (std::size_t c = 0; c < t.columnInches.size(); ++c) {
            w.writeStartElement(table, u"table-column"_s);
            w.writeAttribute(table, u"style-name"_s, name + u'.' + QString::number(c + 1));
            w.writeEndElement();
        }
        const std::size_t headingRows = std::size_t(std::max(0, t.headingRows));
        for (std::size_t r = 0; r < t.rows.size(); ++r) {
            const auto &row = t.rows[r];
            if (r == 0 && headingRows > 0)
                w.writeStartElement(table, u"table-header-rows"_s); // repeated on every page the table runs on to
            w.writeStartElement(table, u"table-row"_s);
            if (t.minRowInches > 0)
                w.writeAttribute(table, u"style-name"_s, name + u".row"_s);
            for (std::size_t column = 0; column < row.size(); ++column) {
                const Paragraph &cell = row[column];
                w.writeStartElement(table, u"table-cell"_s);
                w.writeAttribute(table, u"style-name"_s,
                                 name + (t.bordered(column) || !t.borders ? u".cell"_s : u".gap"_s));
                w.writeAttribute(office, u"value-type"_s, u"string"_s);
                paragraphs.write(cell, false);
                w.writeEndElement();
            }
            w.writeEndElement();
            if (r + 1 == std::min(headingRows, t.rows.size()))
                w.writeEndElement();
        }
        w.writeEndElement();
    }

    static void writeTableStyles(QXmlStreamWriter &w, const std::vector<TableStyle> &tables)
    {
        for (std::size_t i = 0; i < tables.size(); ++i) {
            const QString name = u"Tab"_s + QString::number(i + 1);
            const TableStyle &t = tables[i];
            double total = 0;
            for (double c : t.columns)
                total += c;
            w.writeStartElement(style, u"style"_s);
            w.writeAttribute(style, u"name"_s, name);
            w.writeAttribute(style, u"family"_s, u"table"_s);
            if (!t.masterPage.isEmpty())
                w.writeAttribute(style, u"master-page-name"_s, t.masterPage);
            w.writeStartElement(style, u"table-properties"_s);
            w.writeAttribute(style, u"width"_s, inches(total));
            w.writeAttribute(table, u"align"_s, u"left"_s);
            if (!t.masterPage.isEmpty())
                w.writeAttribute(style, u"page-number"_s, u"1"_s);
            else if (t.breakBefore)
                w.writeAttribute(fo, u"break-before"_s, u"page"_s);
            w.writeEndElement();
            w.writeEndElement();
            for (std::size_t c = 0; c < t.columns.size(); ++c) {
                w.writeStartElement(style, u"style"_s);
                w.writeAttribute(style, u"name"_s, name + u'.' + QString::number(c + 1));
                w.writeAttribute(style, u"family"_s, u"table-column"_s);
                w.writeStartElement(style, u"table-column-properties"_s);
                w.writeAttribute(style, u"column-width"_s, inches(t.columns[c]));
                w.writeEndElement();
                w.writeEndElement();
            }
            if (t.minRowInches > 0) {
                w.writeStartElement(style, u"style"_s);
                w.writeAttribute(style, u"name"_s, name + u".row"_s);
                w.writeAttribute(style, u"family"_s, u"table-row"_s);
                w.writeStartElement(style, u"table-row-properties"_s);
                w.writeAttribute(style, u"min-row-height"_s, inches(t.minRowInches));
                w.writeEndElement();
                w.writeEndElement();
            }
            w.writeStartElement(style, u"style"_s);
            w.writeAttribute(style, u"name"_s, name + u".cell"_s);
            w.writeAttribute(style, u"family"_s, u"table-cell"_s);
            w.writeStartElement(style, u"table-cell-properties"_s);
            w.writeAttribute(fo, u"border"_s, t.borders ? u"0.5pt solid #000000"_s : u"none"_s);
            w.writeAttribute(fo, u"padding-left"_s, u"5.4pt"_s);
            w.writeAttribute(fo, u"padding-right"_s, u"5.4pt"_s);
            w.writeAttribute(fo, u"padding-top"_s, u"1pt"_s);
            w.writeAttribute(fo, u"padding-bottom"_s, u"1pt"_s);
            w.writeEndElement();
            w.writeEndElement();
            if (t.anyBorderless) {
                w.writeStartElement(style, u"style"_s);
                w.writeAttribute(style, u"name"_s, name + u".gap"_s);
                w.writeAttribute(style, u"family"_s, u"table-cell"_s);
                w.writeStartElement(style, u"table-cell-properties"_s);
                w.writeAttribute(fo, u"border"_s, u"none"_s);
                w.writeEndElement();
                w.writeEndElement();
            }
        }
    }

    const Document &m_doc;
    const DocumentRenderer &m_layout;
    PictureSet m_pictures;
    std::vector<TableStyle> m_tables;
    std::vector<MasterPage> m_masters;
    std::vector<QString> m_sectionMaster; // the master page of each section
};

QByteArray manifest(const PictureSet &pictures)
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    const QString ns = u"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0"_s;
    w.writeStartDocument();
    w.writeNamespace(ns, u"manifest"_s);
    w.writeStartElement(ns, u"manifest"_s);
    w.writeAttribute(ns, u"version"_s, u"1.3"_s);
    auto entry = [&](const QString &path, const QString &type) {
        w.writeStartElement(ns, u"file-entry"_s);
        w.writeAttribute(ns, u"full-path"_s, path);
        w.writeAttribute(ns, u"media-type"_s, type);
        w.writeEndElement();
    };
    entry(u"/"_s, kMimeType);
    entry(u"content.xml"_s, u"text/xml"_s);
    entry(u"styles.xml"_s, u"text/xml"_s);
    for (const Picture &p : pictures.pictures())
        entry(p.path, p.mediaType);
    w.writeEndElement();
    w.writeEndDocument();
    return out;
}

} // namespace

QByteArray OdtWriter::package(const Document &document)
{
    const DocumentRenderer layout(document);
    PackageBuilder builder(document, layout);
    const QByteArray content = builder.content();
    const QByteArray styles = builder.stylesPart();
    ZipBuilder zip(u"The document package"_s);
    zip.add(u"mimetype"_s, kMimeType.toUtf8(), true);
    zip.add(u"content.xml"_s, content);
    zip.add(u"styles.xml"_s, styles);
    for (const Picture &p : builder.pictures().pictures())
        zip.add(p.path, p.bytes, true);
    zip.add(u"META-INF/manifest.xml"_s, manifest(builder.pictures()));
    return zip.finish();
}

void OdtWriter::write(const Document &document, const QString &path) { writeWholeFile(path, package(document)); }

} // namespace sw
