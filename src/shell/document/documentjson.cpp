// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/document/documentjson.h"

#include "shell/core/stoperror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

class Reader
{
public:
    Reader(QString source, QString baseFolder, Document &doc)
        : m_source(std::move(source))
        , m_base(std::move(baseFolder))
        , m_b(doc)
    {
    }

    void document(const QJsonObject &root)
    {
        keys(root, u"document"_s, {u"page"_s, u"header"_s, u"body"_s});
        if (root.contains(u"page"_s))
            page(object(root, u"page"_s, u"page"_s));
        if (root.contains(u"header"_s))
            header(object(root, u"header"_s, u"header"_s));
        const QJsonArray body = array(root, u"body"_s, u"body"_s);
        for (qsizetype i = 0; i < body.size(); ++i)
            block(body[i], u"body["_s + QString::number(i) + u']');
    }

private:
    [[noreturn]] void fail(const QString &where, const QString &what) const
    {
        throw StopError(m_source + u": "_s + where + u": "_s + what);
    }

    void keys(const QJsonObject &o, const QString &where, const QStringList &allowed) const
    {
        for (auto it = o.begin(); it != o.end(); ++it)
            if (!allowed.contains(it.key()))
                fail(where, u"unknown key \""_s + it.key() + u"\" (known: "_s + allowed.join(u", "_s) + u")."_s);
    }

    QJsonObject object(const QJsonObject &o, const QString &key, const QString &where) const
    {
        const QJsonValue v = o.value(key);
        if (!v.isObject())
            fail(where, u"an object is expected."_s);
        return v.toObject();
    }

    QJsonArray array(const QJsonObject &o, const QString &key, const QString &where) const
    {
        const QJsonValue v = o.value(key);
        if (v.isUndefined())
            return {};
        if (!v.isArray())
            fail(where, u"a list is expected."_s);
        return v.toArray();
    }

    double number(const QJsonObject &o, const QString &key, const QString &where, double fallback) const
    {
        const QJsonValue v = o.value(key);
        if (v.isUndefined())
            return fallback;
        if (!v.isDouble())
            fail(where + u'.' + key, u"a number is expected."_s);
        return v.toDouble();
    }

    bool boolean(const QJsonObject &o, const QString &key, const QString &where, bool fallback) const
    {
        const QJsonValue v = o.value(key);
        if (v.isUndefined())
            return fallback;
        if (!v.isBool())
            fail(where + u'.' + key, u"true or false is expected."_s);
        return v.toBool();
    }

    QString string(const QJsonObject &o, const QString &key, const QString &where) const
    {
        const QJsonValue v = o.value(key);
        if (v.isUndefined())
            return {};
        if (!v.isString())
            fail(where + u'.' + key, u"a text is expected."_s);
        return v.toString();
    }

    void page(const QJsonObject &o)
    {
        keys(o, u"page"_s, {u"paper"_s, u"landscape"_s, u"top"_s, u"bottom"_s, u"left"_s, u"right"_s, u"header"_s});
        PageSetup &p = m_b.page();
        const QJsonValue paper = o.value(u"paper"_s);
        if (paper.isString()) {
            const QString name = paper.toString().toLower();
            if (name == u"a4"_s)
                p.paperInches = PageSetup::a4();
            else if (name == u"letter"_s)
                p.paperInches = PageSetup::letter();
            else if (name == u"legal"_s)
                p.paperInches = PageSetup::legal();
            else
                fail(u"page.paper"_s,
                     u"unknown paper \""_s + paper.toString() + u"\" (A4, Letter, Legal or [width, height])."_s);
        } else if (paper.isArray()) {
            const QJsonArray wh = paper.toArray();
            if (wh.size() != 2 || !wh[0].isDouble() || !wh[1].isDouble() || wh[0].toDouble() <= 0
                || wh[1].toDouble() <= 0)
                fail(u"page.paper"_s, u"[width, height] in inches is expected."_s);
            p.paperInches = QSizeF(wh[0].toDouble(), wh[1].toDouble());
        } else if (!paper.isUndefined()) {
            fail(u"page.paper"_s, u"a paper name or [width, height] is expected."_s);
        }
        p.landscape = boolean(o, u"landscape"_s, u"page"_s, false);
        p.topInches = number(o, u"top"_s, u"page"_s, p.topInches);
        p.bottomInches = number(o, u"bottom"_s, u"page"_s, p.bottomInches);
        p.leftInches = number(o, u"left"_s, u"page"_s, p.leftInches);
        p.rightInches = number(o, u"right"_s, u"page"_s, p.rightInches);
        p.headerInches = number(o, u"header"_s, u"page"_s, p.headerInches);
        const QRectF body = p.bodyPoints();
        if (body.width() <= 0 || body.height() <= 0)
            fail(u"page"_s, u"the margins leave no room on the paper."_s);
    }

    void header(const QJsonObject &o)
    {
        keys(o, u"header"_s, {u"paragraphs"_s, u"pictures"_s, u"watermark"_s});
        m_b.beginHeader();
        const QJsonArray paragraphs = array(o, u"paragraphs"_s, u"header.paragraphs"_s);
        for (qsizetype i = 0; i < paragraphs.size(); ++i)
            paragraph(paragraphs[i], u"header.paragraphs["_s + QString::number(i) + u']');
        m_b.endHeader();
        const QJsonArray pictures = array(o, u"pictures"_s, u"header.pictures"_s);
        for (qsizetype i = 0; i < pictures.size(); ++i) {
            const QString where = u"header.pictures["_s + QString::number(i) + u']';
            if (!pictures[i].isObject())
                fail(where, u"an object is expected."_s);
            QString file;
            const QRectF rect = pictureRect(pictures[i].toObject(), where, &file);
            m_b.headerPicture(file, rect);
        }
        if (o.contains(u"watermark"_s)) {
            const QJsonObject w = object(o, u"watermark"_s, u"header.watermark"_s);
            keys(w, u"header.watermark"_s, {u"file"_s, u"width"_s, u"height"_s});
            m_b.watermark(filePath(w, u"header.watermark"_s), QSizeF(number(w, u"width"_s, u"header.watermark"_s, 0),
                                                                     number(w, u"height"_s, u"header.watermark"_s, 0)));
        }
    }

    QString filePath(const QJsonObject &o, const QString &where) const
    {
        const QString file = string(o, u"file"_s, where);
        if (file.isEmpty())
            fail(where + u".file"_s, u"the picture's file is missing."_s);
        return QDir(m_base).filePath(file);
    }

    QRectF pictureRect(const QJsonObject &o, const QString &where, QString *file) const
    {
        keys(o, where, {u"file"_s, u"x"_s, u"y"_s, u"width"_s, u"height"_s});
        *file = filePath(o, where);
        return box(o, where);
    }

    QRectF box(const QJsonObject &o, const QString &where) const
    {
        for (const QString &k : {u"x"_s, u"y"_s, u"width"_s, u"height"_s})
            if (!o.contains(k))
                fail(where, u"\""_s + k + u"\" (points) is missing."_s);
        return {number(o, u"x"_s, where, 0), number(o, u"y"_s, where, 0), number(o, u"width"_s, where, 0),
                number(o, u"height"_s, where, 0)};
    }

    void block(const QJsonValue &v, const QString &where)
    {
        if (!v.isObject() || v.toObject().size() != 1)
            fail(where, u"an object with one of paragraph, table, pageBreak, picture, textBox is expected."_s);
        const QJsonObject o = v.toObject();
        const QString kind = o.begin().key();
        const QJsonValue body = o.begin().value();
        if (kind == u"paragraph"_s) {
            paragraph(body, where + u".paragraph"_s);
        } else if (kind == u"pageBreak"_s) {
            m_b.pageBreak();
        } else if (kind == u"table"_s) {
            table(body, where + u".table"_s);
        } else if (kind == u"picture"_s) {
            if (!body.isObject())
                fail(where + u".picture"_s, u"an object is expected."_s);
            QString file;
            const QRectF rect = pictureRect(body.toObject(), where + u".picture"_s, &file);
            m_b.picture(file, rect);
        } else if (kind == u"textBox"_s) {
            textBox(body, where + u".textBox"_s);
        } else {
            fail(where, u"unknown item \""_s + kind + u"\" (paragraph, table, pageBreak, picture, textBox)."_s);
        }
    }

    void textBox(const QJsonValue &v, const QString &where)
    {
        if (!v.isObject())
            fail(where, u"an object is expected."_s);
        const QJsonObject o = v.toObject();
        keys(o, where, {u"x"_s, u"y"_s, u"width"_s, u"height"_s, u"paragraphs"_s});
        m_b.beginTextBox(box(o, where));
        const QJsonArray paragraphs = array(o, u"paragraphs"_s, where + u".paragraphs"_s);
        for (qsizetype i = 0; i < paragraphs.size(); ++i)
            paragraph(paragraphs[i], where + u".paragraphs["_s + QString::number(i) + u']');
        m_b.endTextBox();
    }

    void table(const QJsonValue &v, const QString &where)
    {
        if (!v.isObject())
            fail(where, u"an object is expected."_s);
        const QJsonObject o = v.toObject();
        keys(o, where, {u"columns"_s, u"borders"_s, u"minRowHeight"_s, u"rows"_s});
        std::vector<double> columns;
        for (const QJsonValue c : array(o, u"columns"_s, where + u".columns"_s)) {
            if (!c.isDouble() || c.toDouble() <= 0)
                fail(where + u".columns"_s, u"widths in inches are expected."_s);
            columns.push_back(c.toDouble());
        }
        if (columns.empty())
            fail(where + u".columns"_s, u"the column widths are missing."_s);
        m_b.beginTable(columns, boolean(o, u"borders"_s, where, true), number(o, u"minRowHeight"_s, where, 0));
        const QJsonArray rows = array(o, u"rows"_s, where + u".rows"_s);
        for (qsizetype r = 0; r < rows.size(); ++r) {
            const QString rowWhere = where + u".rows["_s + QString::number(r) + u']';
            if (!rows[r].isArray())
                fail(rowWhere, u"a list of cells is expected."_s);
            const QJsonArray cells = rows[r].toArray();
            if (std::size_t(cells.size()) > columns.size())
                fail(rowWhere, u"more cells than columns."_s);
            for (qsizetype c = 0; c < cells.size(); ++c) {
                const QString cellWhere = rowWhere + u'[' + QString::number(c) + u']';
                if (cells[c].isString()) {
                    m_b.cell(int(r), int(c), cells[c].toString());
                } else if (cells[c].isObject()) {
                    const QJsonObject cell = cells[c].toObject();
                    const RunFormat saved = m_b.font();
                    paragraphFormat(cell, cellWhere, {u"text"_s});
                    m_b.cell(int(r), int(c), string(cell, u"text"_s, cellWhere));
                    restore(saved);
                } else {
                    fail(cellWhere, u"a text or a paragraph object is expected."_s);
                }
            }
        }
        m_b.endTable();
    }

    void restore(const RunFormat &f)
    {
        m_b.setFont(f.fontName, f.size, f.bold, f.italic);
        m_b.setColour(f.colour);
    }

    void runFormat(const QJsonObject &o, const QString &where)
    {
        if (o.contains(u"font"_s))
            m_b.setFontName(string(o, u"font"_s, where));
        if (o.contains(u"size"_s)) {
            const double size = number(o, u"size"_s, where, 12);
            if (size <= 0 || size > 1638)
                fail(where + u".size"_s, u"a font size in points is expected."_s);
            m_b.setFontSize(size);
        }
        m_b.setBold(boolean(o, u"bold"_s, where, m_b.font().bold));
        m_b.setItalic(boolean(o, u"italic"_s, where, m_b.font().italic));
        if (o.contains(u"colour"_s) && !m_b.setColour(string(o, u"colour"_s, where)))
            fail(where + u".colour"_s, u"an \"&H\" colour (blue, green, red) is expected."_s);
    }

    // The paragraph keys of `o`: its format and its default font.
    void paragraphFormat(const QJsonObject &o, const QString &where, QStringList extraKeys)
    {
        keys(o, where,
             extraKeys << QStringList{u"align"_s, u"lineSpacing"_s, u"spaceAfter"_s, u"font"_s, u"size"_s, u"bold"_s,
                                      u"italic"_s, u"colour"_s});
        const QString align = string(o, u"align"_s, where).toLower();
        if (align.isEmpty() || align == u"left"_s)
            m_b.setAlignment(Alignment::Left);
        else if (align == u"centre"_s || align == u"center"_s)
            m_b.setAlignment(Alignment::Centre);
        else if (align == u"right"_s)
            m_b.setAlignment(Alignment::Right);
        else if (align == u"justify"_s)
            m_b.setAlignment(Alignment::Justify);
        else
            fail(where + u".align"_s, u"left, centre, right or justify is expected."_s);
        m_b.setLineSpacing(number(o, u"lineSpacing"_s, where, 1.0));
        m_b.setSpaceAfter(number(o, u"spaceAfter"_s, where, 0.0));
        runFormat(o, where);
    }

    void paragraph(const QJsonValue &v, const QString &where)
    {
        if (v.isString()) {
            m_b.type(v.toString());
            m_b.endParagraph();
            return;
        }
        if (!v.isObject())
            fail(where, u"a text or a paragraph object is expected."_s);
        const QJsonObject o = v.toObject();
        const RunFormat saved = m_b.font();
        paragraphFormat(o, where, {u"text"_s, u"runs"_s});
        const RunFormat paragraphFont = m_b.font();
        m_b.type(string(o, u"text"_s, where));
        const QJsonArray runs = array(o, u"runs"_s, where + u".runs"_s);
        for (qsizetype i = 0; i < runs.size(); ++i) {
            const QString runWhere = where + u".runs["_s + QString::number(i) + u']';
            if (runs[i].isString()) {
                m_b.type(runs[i].toString());
                continue;
            }
            if (!runs[i].isObject())
                fail(runWhere, u"a text or a run object is expected."_s);
            const QJsonObject run = runs[i].toObject();
            keys(run, runWhere, {u"text"_s, u"field"_s, u"font"_s, u"size"_s, u"bold"_s, u"italic"_s, u"colour"_s});
            runFormat(run, runWhere);
            const QString field = string(run, u"field"_s, runWhere);
            if (field == u"page"_s)
                m_b.typeField(Run::Field::PageNumber);
            else if (field == u"pages"_s)
                m_b.typeField(Run::Field::PageCount);
            else if (!field.isEmpty())
                fail(runWhere + u".field"_s, u"page or pages is expected."_s);
            m_b.type(string(run, u"text"_s, runWhere));
            restore(paragraphFont);
        }
        m_b.endParagraph();
        restore(saved);
    }

    QString m_source;
    QString m_base;
    DocumentBuilder m_b;
};

} // namespace

Document DocumentJson::parse(const QByteArray &json, const QString &sourceName, const QString &baseFolder)
{
    QJsonParseError error;
    const QJsonDocument parsed = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError) {
        const QByteArray before = json.left(error.offset);
        const qsizetype line = before.count('\n') + 1;
        const qsizetype column = error.offset - (before.lastIndexOf('\n') + 1) + 1;
        throw StopError(sourceName + u": line "_s + QString::number(line) + u", column "_s + QString::number(column)
                        + u": "_s + error.errorString() + u'.');
    }
    if (!parsed.isObject())
        throw StopError(sourceName + u": the document must be a JSON object."_s);
    Document doc;
    Reader(sourceName, baseFolder, doc).document(parsed.object());
    return doc;
}

Document DocumentJson::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw StopError(u"The document file "_s + path + u" cannot be read: "_s + file.errorString() + u'.');
    return parse(file.readAll(), path, QFileInfo(path).absolutePath());
}

} // namespace sw
