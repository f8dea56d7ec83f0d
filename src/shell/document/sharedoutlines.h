// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QPainterPath>
#include <QRectF>

#include <vector>

class QPainter;
class QPDF;
class QPDFObjectHandle;

namespace sw {

// The outlines of drawn Kannada that a PDF shows again and again (a layout's fixed
// wording on every certificate of a batch), written once per PDF as a form that every
// page draws by reference.
//
// Qt's PDF writer puts a filled path into the page's own content, so a batch of fifty
// certificates held, and compressed, the same outlines fifty times: most of the time a
// PDF copy took. Instead, the renderer draws a marker picture of two pixels (numbered
// shape, signature) where an outline goes, and apply() turns each marker's picture into
// a form holding that outline. Printers and page pictures are drawn without this table.
class SharedOutlines
{
public:
    // Fills `outline`, given in the painter's units relative to `origin`, at `origin`.
    // `glyphs`, when given, names the outline by what it was made from (face, glyphs, their
    // places, colour), so that the same words drawn again are found by fillKnown().
    void fill(QPainter &painter, const QPainterPath &outline, QPointF origin, const QColor &colour,
              const QByteArray &glyphs = {});
    // Draws the outline that `glyphs` named before at `origin`; false when there is none, and
    // the outline is to be made and given to fill().
    bool fillKnown(QPainter &painter, const QByteArray &glyphs, QPointF origin);
    bool empty() const { return m_shapes.empty(); }
    int shapeCount() const { return int(m_shapes.size()); }

    // `pdf`, as Qt wrote it with this table's markers, with every marker made its form.
    // Throws StopError when the PDF cannot be read or written again.
    QByteArray apply(const QByteArray &pdf) const;
    // The same on a PDF libqpdf has read already (libqpdf's exceptions pass through).
    void applyTo(QPDF &pdf) const;

private:
    struct Shape
    {
        QImage marker;
        QByteArray compressed; // the form's content (colour, path, fill) as a zlib stream
        QRectF box;            // the outline's bounds, relative to its origin
    };
    void drawMarker(QPainter &painter, int shape, QPointF origin) const;
    // Turns `object` into its shape's form when it is a marker's picture.
    void makeForm(QPDFObjectHandle &object) const;

    QHash<QByteArray, int> m_index;    // content -> shape
    QHash<QByteArray, int> m_byGlyphs; // what an outline was made from -> shape
    std::vector<Shape> m_shapes;
};

} // namespace sw
