// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/document/document.h"
#include "shell/core/bgrcolour.h"

#include "shell/core/stoperror.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace sw {

QSizeF PageSetup::pagePoints() const
{
    const QSizeF inches = landscape ? paperInches.transposed() : paperInches;
    return inches * kPointsPerInch;
}

QRectF PageSetup::bodyPoints() const
{
    const QSizeF p = pagePoints();
    const double left = leftInches * kPointsPerInch;
    const double top = topInches * kPointsPerInch;
    return {left, top, p.width() - left - rightInches * kPointsPerInch,
            p.height() - top - bottomInches * kPointsPerInch};
}

std::vector<QString> Document::fontNames() const
{
    std::vector<QString> names;
    auto note = [&names](const QString &name) {
        if (std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
    };
    auto paragraphs = [&note](const std::vector<Paragraph> &list) {
        for (const Paragraph &p : list) {
            note(p.endFormat.fontName);
            for (const Run &r : p.runs)
                note(r.format.fontName);
        }
    };
    paragraphs(header.paragraphs);
    for (const Block &block : flow) {
        if (const auto *p = std::get_if<Paragraph>(&block))
            paragraphs({*p});
        else if (const auto *b = std::get_if<PageBreak>(&block); b && b->header)
            paragraphs(b->header->paragraphs);
        else if (const auto *t = std::get_if<Table>(&block))
            for (const auto &row : t->rows)
                paragraphs(row);
    }
    for (const AnchoredItem &a : anchored)
        if (const auto *box = std::get_if<TextBoxItem>(&a.item))
            paragraphs(box->paragraphs);
    return names;
}

DocumentBuilder::DocumentBuilder(Document &document)
    : m_doc(document)
{
}

void DocumentBuilder::setFont(const QString &name, double size, bool bold, bool italic)
{
    m_run.fontName = name;
    m_run.size = size;
    m_run.bold = bold;
    m_run.italic = italic;
}

bool DocumentBuilder::setColour(const QString &bgrText)
{
    const QColor c = colourFromBgrText(bgrText, SystemColour::Black);
    if (!c.isValid())
        return false;
    m_run.colour = c;
    return true;
}

void DocumentBuilder::type(const QString &text)
{
    const QStringList parts = text.split(u'\n');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0)
            endParagraph();
        if (parts[i].isEmpty())
            continue;
        m_hasOpen = true;
        Run run{parts[i], m_run, Run::Field::None};
        if (!m_open.runs.empty() && m_open.runs.back().format == m_run && m_open.runs.back().field == Run::Field::None)
            m_open.runs.back().text += parts[i];
        else
            m_open.runs.push_back(std::move(run));
    }
}

void DocumentBuilder::typeField(Run::Field field)
{
    m_hasOpen = true;
    m_open.runs.push_back(Run{{}, m_run, field});
}

void DocumentBuilder::endParagraph()
{
    m_open.format = m_paragraph;
    m_open.endFormat = m_run;
    Paragraph done = std::move(m_open);
    m_open = {};
    m_hasOpen = false;
    switch (m_target) {
    case Target::Header: currentHeader().paragraphs.push_back(std::move(done)); break;
    case Target::TextBox: m_textBox.paragraphs.push_back(std::move(done)); break;
    case Target::Flow: m_doc.flow.emplace_back(std::move(done)); break;
    }
}

void DocumentBuilder::flushOpenParagraph()
{
    if (m_hasOpen)
        endParagraph();
}

void DocumentBuilder::pageBreak()
{
    flushOpenParagraph();
    flushTable();
    m_doc.flow.emplace_back(PageBreak{});
}

void DocumentBuilder::sectionBreak()
{
    flushOpenParagraph();
    flushTable();
    m_sectionBreak = m_doc.flow.size();
    m_doc.flow.emplace_back(PageBreak{true, std::nullopt});
}

PageHeader &DocumentBuilder::currentHeader()
{
    if (!m_sectionBreak)
        return m_doc.header;
    auto &brk = std::get<PageBreak>(m_doc.flow[*m_sectionBreak]);
    if (!brk.header)
        brk.header.emplace();
    return *brk.header;
}

void DocumentBuilder::beginTable(std::vector<double> columnInches, bool borders, double minRowInches,
                                 std::vector<int> borderlessColumns)
{
    flushOpenParagraph();
    flushTable();
    m_table = Table{std::move(columnInches), {}, borders, minRowInches, std::move(borderlessColumns), 0};
}

void DocumentBuilder::repeatHeadingRows(int rows)
{
    if (!m_table)
        throw StopError(u"Heading rows were asked for outside a table."_s);
    m_table->headingRows = std::max(0, rows);
}

void DocumentBuilder::cell(int row, int column, const QString &text)
{
    if (!m_table)
        throw StopError(u"A table cell was written outside a table."_s);
    const std::size_t columns = m_table->columnInches.size();
    if (row < 0 || column < 0 || std::size_t(column) >= columns)
        throw StopError(u"The table has "_s + QString::number(columns) + u" columns: cell ("_s
                        + QString::number(row + 1) + u", "_s + QString::number(column + 1) + u") lies outside it."_s);
    while (m_table->rows.size() <= std::size_t(row)) {
        std::vector<Paragraph> empty(columns);
        for (Paragraph &p : empty) {
            p.format = m_paragraph;
            p.endFormat = m_run;
        }
        m_table->rows.push_back(std::move(empty));
    }
    Paragraph &p = m_table->rows[std::size_t(row)][std::size_t(column)];
    p.runs = {Run{text, m_run, Run::Field::None}};
    p.format = m_paragraph;
    p.endFormat = m_run;
}

void DocumentBuilder::endTable() { flushTable(); }

void DocumentBuilder::flushTable()
{
    if (!m_table)
        return;
    m_doc.flow.emplace_back(std::move(*m_table));
    m_table.reset();
}

void DocumentBuilder::picture(const QString &file, const QRectF &points)
{
    flushOpenParagraph();
    flushTable();
    m_doc.anchored.push_back(
        {m_doc.flow.size(), PictureItem{u"picture "_s + QFileInfo(file).fileName(), file, points, {}}});
}

void DocumentBuilder::picture(const QImage &image, const QString &name, const QRectF &points)
{
    flushOpenParagraph();
    flushTable();
    m_doc.anchored.push_back({m_doc.flow.size(), PictureItem{name, {}, points, image}});
}

void DocumentBuilder::beginTextBox(const QRectF &points)
{
    flushOpenParagraph();
    flushTable();
    m_textBox = TextBoxItem{u"text box "_s + QString::number(m_doc.anchored.size() + 1), points, {}};
    m_target = Target::TextBox;
}

void DocumentBuilder::endTextBox()
{
    if (m_target != Target::TextBox)
        return;
    flushOpenParagraph();
    m_target = Target::Flow;
    m_doc.anchored.push_back({m_doc.flow.size(), std::move(m_textBox)});
    m_textBox = {};
}

void DocumentBuilder::beginHeader()
{
    flushOpenParagraph();
    flushTable();
    if (m_sectionBreak) // a section's header is its own from the start, not added to the one before
        std::get<PageBreak>(m_doc.flow[*m_sectionBreak]).header.emplace();
    m_target = Target::Header;
}

void DocumentBuilder::endHeader()
{
    if (m_target != Target::Header)
        return;
    flushOpenParagraph();
    m_target = Target::Flow;
}

void DocumentBuilder::headerPicture(const QString &file, const QRectF &points)
{
    currentHeader().pictures.push_back({u"header picture "_s + QFileInfo(file).fileName(), file, points});
}

void DocumentBuilder::watermark(const QString &file, const QSizeF &points)
{
    PageHeader &header = currentHeader();
    header.watermarkFile = file;
    header.watermarkPoints = points;
}

} // namespace sw
