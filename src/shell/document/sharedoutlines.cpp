// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/document/sharedoutlines.h"

#include "shell/core/stoperror.h"

#include <QPainter>

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <cmath>
#include <cstring>
#include <set>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// The second pixel of every marker: what tells a marker from a photograph's pixels.
constexpr QRgb kSignature = 0x53574f; // "SWO"

QByteArray number(double value)
{
    if (value == std::round(value))
        return QByteArray::number(qint64(value));
    return QByteArray::number(value, 'g', 10);
}

QByteArray pathContent(const QPainterPath &path, const QColor &colour)
{
    QByteArray out = number(std::round(colour.redF() * 1000) / 1000) + ' '
                     + number(std::round(colour.greenF() * 1000) / 1000) + ' '
                     + number(std::round(colour.blueF() * 1000) / 1000) + " rg\n";
    out.reserve(path.elementCount() * 16);
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const QByteArray point = number(e.x) + ' ' + number(e.y);
        switch (e.type) {
        case QPainterPath::MoveToElement: out += point + " m\n"; break;
        case QPainterPath::LineToElement: out += point + " l\n"; break;
        case QPainterPath::CurveToElement: out += point + ' '; break;
        case QPainterPath::CurveToDataElement:
            // The second control point ends its line, the end point ends the curve.
            out += point
                   + (i + 1 < path.elementCount() && path.elementAt(i + 1).type == QPainterPath::CurveToDataElement
                          ? QByteArray(" ")
                          : QByteArray(" c\n"));
            break;
        }
    }
    out += path.fillRule() == Qt::OddEvenFill ? "f*\n" : "f\n";
    return out;
}

// What tells two outlines apart: their points and kinds as they are in memory, and the
// colour. Far cheaper than writing the content out for every outline a page draws.
QByteArray keyOf(const QPainterPath &path, const QColor &colour)
{
    constexpr std::size_t kElementBytes = 2 * sizeof(double) + sizeof(int);
    QByteArray key(qsizetype(path.elementCount() * kElementBytes + sizeof(QRgb) + 1), Qt::Uninitialized);
    char *at = key.data();
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const int type = int(e.type);
        std::memcpy(at, &e.x, sizeof(double));
        std::memcpy(at + sizeof(double), &e.y, sizeof(double));
        std::memcpy(at + 2 * sizeof(double), &type, sizeof(int));
        at += kElementBytes;
    }
    const QRgb rgb = colour.rgb();
    std::memcpy(at, &rgb, sizeof rgb);
    key[key.size() - 1] = path.fillRule() == Qt::OddEvenFill ? 'e' : 'w';
    return key;
}

// A zlib stream, as a PDF's FlateDecode reads it (qCompress puts the length in front).
QByteArray zlibStream(const QByteArray &content) { return qCompress(content).mid(4); }

QImage markerOf(int shape)
{
    QImage marker(2, 1, QImage::Format_RGB888);
    marker.setPixel(0, 0, QRgb(shape) & 0xffffff);
    marker.setPixel(1, 0, kSignature);
    return marker;
}

// The shape a picture of the PDF marks, or -1 when it is a picture of the page itself.
int markedShape(QPDFObjectHandle &object)
{
    if (!object.isStream())
        return -1;
    QPDFObjectHandle dict = object.getDict();
    if (!dict.getKey("/Subtype").isNameAndEquals("/Image") || !dict.getKey("/Width").isInteger()
        || !dict.getKey("/Height").isInteger() || dict.getKey("/Width").getIntValue() != 2
        || dict.getKey("/Height").getIntValue() != 1)
        return -1;
    const std::shared_ptr<Buffer> pixels = object.getStreamData(qpdf_dl_generalized);
    if (pixels->getSize() != 6)
        return -1;
    const unsigned char *p = pixels->getBuffer();
    if (QRgb(p[3] << 16 | p[4] << 8 | p[5]) != kSignature)
        return -1;
    return p[0] << 16 | p[1] << 8 | p[2];
}

} // namespace

void SharedOutlines::fill(QPainter &painter, const QPainterPath &outline, QPointF origin, const QColor &colour,
                          const QByteArray &glyphs)
{
    const QRectF box = outline.boundingRect();
    if (colour.alpha() != 255 || box.width() <= 0 || box.height() <= 0) {
        painter.fillPath(outline.translated(origin), colour);
        return;
    }
    const QByteArray key = keyOf(outline, colour);
    int shape = m_index.value(key, -1);
    if (shape < 0) {
        shape = int(m_shapes.size());
        m_shapes.push_back({markerOf(shape), zlibStream(pathContent(outline, colour)), box});
        m_index.insert(key, shape);
    }
    if (!glyphs.isEmpty())
        m_byGlyphs.insert(glyphs, shape);
    drawMarker(painter, shape, origin);
}

bool SharedOutlines::fillKnown(QPainter &painter, const QByteArray &glyphs, QPointF origin)
{
    const auto shape = m_byGlyphs.constFind(glyphs);
    if (shape == m_byGlyphs.constEnd())
        return false;
    drawMarker(painter, *shape, origin);
    return true;
}

void SharedOutlines::drawMarker(QPainter &painter, int shape, QPointF origin) const
{
    const Shape &s = m_shapes[std::size_t(shape)];
    painter.save();
    painter.setRenderHint(QPainter::LosslessImageRendering);
    painter.drawImage(s.box.translated(origin), s.marker);
    painter.restore();
}

void SharedOutlines::applyTo(QPDF &pdf) const
{
    // Qt draws every marker on a page, so each is named in a page's pictures: looking there,
    // not through every object of the PDF, keeps a batch of many pages quick to read.
    std::set<QPDFObjGen> seen;
    for (QPDFPageObjectHelper &page : QPDFPageDocumentHelper(pdf).getAllPages()) {
        QPDFObjectHandle pictures = page.getAttribute("/Resources", false).getKeyIfDict("/XObject");
        if (!pictures.isDictionary())
            continue;
        for (const std::string &name : pictures.getKeys()) {
            QPDFObjectHandle object = pictures.getKey(name);
            if (object.isIndirect() && seen.insert(object.getObjGen()).second)
                makeForm(object);
        }
    }
}

void SharedOutlines::makeForm(QPDFObjectHandle &object) const
{
    const int shape = markedShape(object);
    if (shape < 0 || shape >= int(m_shapes.size()))
        return;
    const Shape &s = m_shapes[std::size_t(shape)];
    // The marker's picture fills its unit square; the form's matrix maps the
    // outline's box onto that square (upside down, as a picture is drawn).
    const double w = s.box.width(), h = s.box.height();
    QPDFObjectHandle form = QPDFObjectHandle::newDictionary();
    form.replaceKey("/Type", QPDFObjectHandle::newName("/XObject"));
    form.replaceKey("/Subtype", QPDFObjectHandle::newName("/Form"));
    form.replaceKey("/BBox", QPDFObjectHandle::newArray(QPDFObjectHandle::Rectangle(s.box.left(), s.box.top(),
                                                                                    s.box.right(), s.box.bottom())));
    form.replaceKey("/Matrix", QPDFObjectHandle::newArray(QPDFObjectHandle::Matrix(
                                   1 / w, 0, 0, -1 / h, -s.box.left() / w, 1 + s.box.top() / h)));
    form.replaceKey("/Resources", QPDFObjectHandle::newDictionary());
    object.replaceDict(form);
    // Compressed here, once: the files split from this PDF copy the form as it is.
    object.replaceStreamData(s.compressed.toStdString(), QPDFObjectHandle::newName("/FlateDecode"),
                             QPDFObjectHandle::newNull());
}

QByteArray SharedOutlines::apply(const QByteArray &bytes) const
{
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processMemoryFile("outlines", bytes.constData(), std::size_t(bytes.size()));
        applyTo(pdf);
        QPDFWriter writer(pdf);
        writer.setOutputMemory();
        // Every stream stays as it was compressed.
        writer.setDecodeLevel(qpdf_dl_none);
        writer.write();
        const std::shared_ptr<Buffer> out = writer.getBufferSharedPointer();
        return QByteArray(reinterpret_cast<const char *>(out->getBuffer()), qsizetype(out->getSize()));
    } catch (const std::exception &e) {
        throw StopError(u"The PDF's shared outlines cannot be written: "_s + QString::fromLocal8Bit(e.what()));
    }
}

} // namespace sw
