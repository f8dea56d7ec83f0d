// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/workbook/workbook.h"

#include "shell/core/appfolder.h"
#include "shell/core/stoperror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <xlsxwriter.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

QString cellName(int row, int column)
{
    QString letters;
    for (int c = column + 1; c > 0; c = (c - 1) / 26)
        letters.prepend(QChar(u'A' + (c - 1) % 26));
    return letters + QString::number(row + 1);
}

QString errorText(int error) { return QString::fromUtf8(lxw_strerror(lxw_error(error))); }

QString formatKey(const CellFormat &f)
{
    return f.numberFormat + u'\x1f' + f.fontName + u'\x1f' + QString::number(f.fontSize) + u'\x1f'
           + QString::number(f.bold) + QString::number(int(f.align)) + QString::number(f.wrap)
           + QString::number(f.border) + QString::number(int(f.valign));
}

// The name with its quotes, as references to the sheet spell it.
char *quotedName(const QString &name)
{
    QString quoted = name;
    quoted.replace(u'\'', u"''"_s);
    return strdup((u'\'' + quoted + u'\'').toUtf8().constData());
}

} // namespace

Worksheet::Worksheet(Workbook &book, lxw_worksheet *sheet, QString name)
    : m_book(book)
    , m_sheet(sheet)
    , m_name(std::move(name))
{
}

void Worksheet::check(int error, const QString &what) const
{
    if (error != LXW_NO_ERROR)
        throw StopError(u"Sheet \""_s + m_name + u"\", "_s + what + u": "_s + errorText(error) + u'.');
}

void Worksheet::write(int row, int column, const QString &text, const CellFormat &format)
{
    check(worksheet_write_string(m_sheet, lxw_row_t(row), lxw_col_t(column), text.toUtf8().constData(),
                                 m_book.format(format)),
          u"cell "_s + cellName(row, column));
}

void Worksheet::write(int row, int column, double number, const CellFormat &format)
{
    check(worksheet_write_number(m_sheet, lxw_row_t(row), lxw_col_t(column), number, m_book.format(format)),
          u"cell "_s + cellName(row, column));
}

void Worksheet::setColumn(int firstColumn, int lastColumn, double characters, const CellFormat &format)
{
    check(
        worksheet_set_column(m_sheet, lxw_col_t(firstColumn), lxw_col_t(lastColumn), characters, m_book.format(format)),
        u"columns "_s + QString::number(firstColumn + 1) + u'-' + QString::number(lastColumn + 1));
}

void Worksheet::setRowHeight(int row, double points)
{
    check(worksheet_set_row(m_sheet, lxw_row_t(row), points, nullptr), u"row "_s + QString::number(row + 1));
}

void Worksheet::setColumnWidth(int firstColumn, int lastColumn, double characters)
{
    check(worksheet_set_column(m_sheet, lxw_col_t(firstColumn), lxw_col_t(lastColumn), characters, nullptr),
          u"columns "_s + cellName(0, firstColumn).chopped(1) + u':' + cellName(0, lastColumn).chopped(1));
}

void Worksheet::merge(int firstRow, int firstColumn, int lastRow, int lastColumn, const QString &text,
                      const CellFormat &format)
{
    check(worksheet_merge_range(m_sheet, lxw_row_t(firstRow), lxw_col_t(firstColumn), lxw_row_t(lastRow),
                                lxw_col_t(lastColumn), text.toUtf8().constData(), m_book.format(format)),
          u"merge "_s + cellName(firstRow, firstColumn) + u':' + cellName(lastRow, lastColumn));
}

void Worksheet::insertPicture(int row, int column, const QString &file, const QSizeF &points,
                              const QPointF &offsetPixels)
{
    const QString where = u"picture at "_s + cellName(row, column);
    QImageReader reader(file);
    const QSize pixels = reader.size();
    if (!QFileInfo(file).isFile() || !pixels.isValid())
        throw StopError(u"Sheet \""_s + m_name + u"\", "_s + where + u": the picture file "_s + file
                        + (QFileInfo(file).isFile() ? u" cannot be read."_s : u" does not exist."_s));
    // The spreadsheet shows a picture of w pixels at w * 96 / its own dpi; scale it to the size wanted.
    const QImage probe = reader.read();
    auto dpi = [](int dotsPerMeter) {
        const double d = dotsPerMeter * 0.0254;
        return d > 1 ? d : 96.0;
    };
    lxw_image_options options{};
    options.x_offset = int32_t(qRound(offsetPixels.x()));
    options.y_offset = int32_t(qRound(offsetPixels.y()));
    options.x_scale = points.width() * dpi(probe.dotsPerMeterX()) / (72.0 * pixels.width());
    options.y_scale = points.height() * dpi(probe.dotsPerMeterY()) / (72.0 * pixels.height());
    options.object_position = LXW_OBJECT_MOVE_AND_SIZE;
    check(worksheet_insert_image_opt(m_sheet, lxw_row_t(row), lxw_col_t(column), QFile::encodeName(file).constData(),
                                     &options),
          where);
}

void Worksheet::setRepeatRows(int firstRow, int lastRow)
{
    check(worksheet_repeat_rows(m_sheet, lxw_row_t(firstRow), lxw_row_t(lastRow)), u"title rows"_s);
}

PageText &PageText::at(Section section)
{
    static const QString codes[] = {u"&L"_s, u"&C"_s, u"&R"_s};
    m_codes += codes[int(section)];
    m_afterSize = false;
    return *this;
}

PageText &PageText::font(double size, bool bold)
{
    m_codes += (bold ? u"&\"-,Bold\"&"_s : u"&\"-,Regular\"&"_s) + QString::number(size);
    m_afterSize = true;
    return *this;
}

PageText &PageText::text(const QString &text)
{
    if (text.isEmpty())
        return *this;
    if (m_afterSize && text.front().isDigit())
        m_codes += u' ';
    m_codes += QString(text).replace(u'&', u"&&"_s);
    m_afterSize = false;
    return *this;
}

PageText &PageText::field(Field field)
{
    static const QString codes[] = {u"&P"_s, u"&N"_s, u"&D"_s, u"&T"_s};
    m_codes += codes[int(field)];
    m_afterSize = false;
    return *this;
}

void Worksheet::setHeader(const PageText &text)
{
    m_header = text.codes();
    lxw_header_footer_options options{};
    options.margin = m_headerMargin;
    check(worksheet_set_header_opt(m_sheet, m_header.toUtf8().constData(), &options), u"header"_s);
}

void Worksheet::setFooter(const PageText &text)
{
    m_footer = text.codes();
    lxw_header_footer_options options{};
    options.margin = m_footerMargin;
    check(worksheet_set_footer_opt(m_sheet, m_footer.toUtf8().constData(), &options), u"footer"_s);
}

void Worksheet::setMarginsInches(double left, double right, double top, double bottom)
{
    worksheet_set_margins(m_sheet, left, right, top, bottom);
}

void Worksheet::setHeaderFooterMarginsInches(double header, double footer)
{
    m_headerMargin = header;
    m_footerMargin = footer;
    lxw_header_footer_options options{};
    options.margin = header;
    check(worksheet_set_header_opt(m_sheet, m_header.toUtf8().constData(), &options), u"header"_s);
    options.margin = footer;
    check(worksheet_set_footer_opt(m_sheet, m_footer.toUtf8().constData(), &options), u"footer"_s);
}

void Worksheet::setPrintGridlines(bool print)
{
    worksheet_gridlines(m_sheet, print ? LXW_SHOW_ALL_GRIDLINES : LXW_SHOW_SCREEN_GRIDLINES);
}

void Worksheet::setCentreHorizontally() { worksheet_center_horizontally(m_sheet); }

void Worksheet::setPaper(int code) { worksheet_set_paper(m_sheet, uint8_t(code)); }

void Worksheet::setLandscape(bool landscape)
{
    if (landscape)
        worksheet_set_landscape(m_sheet);
    else
        worksheet_set_portrait(m_sheet);
}

void Worksheet::setZoom(int percent) { worksheet_set_zoom(m_sheet, uint16_t(std::clamp(percent, 10, 400))); }

void Worksheet::select() { worksheet_activate(m_sheet); }

Workbook::Workbook(QString path, Memory memory)
    : m_path(std::move(path))
    , m_partPath(m_path + u".part"_s)
{
    const QFileInfo target(m_path);
    if (!target.absoluteDir().exists())
        throw StopError(u"The workbook "_s + m_path + u" cannot be written: its folder does not exist."_s);
    // Constant-memory sheets spool to temporary files: beside the workbook, not in a memory-backed /tmp.
    m_tmpDir = QFile::encodeName(target.absolutePath());
    lxw_workbook_options o{};
    o.constant_memory = memory == Memory::Constant ? LXW_TRUE : LXW_FALSE;
    o.tmpdir = m_tmpDir.data();
    m_book = workbook_new_opt(QFile::encodeName(m_partPath).constData(), &o);
    if (!m_book)
        throw StopError(u"The workbook "_s + m_path + u" cannot be started."_s);
}

Workbook::~Workbook()
{
    if (!m_book)
        return;
    // Not closed: a run stopped halfway. The workbook is dropped unwritten; nothing is left behind.
    lxw_workbook_free(m_book);
    QFile::remove(m_partPath);
    for (char *name : m_retiredNames)
        std::free(name);
}

void Workbook::checkSheetName(const QString &name) const
{
    for (const auto &s : m_sheets)
        if (s->name().compare(name, Qt::CaseInsensitive) == 0)
            throw StopError(u"The workbook already has a sheet named \""_s + name + u"\"."_s);
    const lxw_error error = workbook_validate_sheet_name(m_book, name.toUtf8().constData());
    if (error != LXW_NO_ERROR)
        throw StopError(u"The sheet name \""_s + name + u"\" cannot be used: "_s + errorText(error) + u'.');
}

Worksheet &Workbook::addSheet(const QString &name)
{
    checkSheetName(name);
    lxw_worksheet *sheet = workbook_add_worksheet(m_book, name.toUtf8().constData());
    if (!sheet)
        throw StopError(u"The sheet \""_s + name + u"\" cannot be added."_s);
    m_sheets.push_back(std::unique_ptr<Worksheet>(new Worksheet(*this, sheet, name)));
    return *m_sheets.back();
}

Worksheet *Workbook::sheet(const QString &name)
{
    for (const auto &s : m_sheets)
        if (s->name().compare(name, Qt::CaseInsensitive) == 0)
            return s.get();
    return nullptr;
}

void Workbook::rename(Worksheet &sheet, const QString &newName)
{
    if (sheet.m_name == newName)
        return;
    checkSheetName(newName);
    // libxlsxwriter names a sheet once, when it is added, and reads the name only
    // when the file is written. The new name replaces it there; the old strings stay
    // alive until then because the library's name index still points at them.
    m_retiredNames.push_back(sheet.m_sheet->name);
    m_retiredNames.push_back(sheet.m_sheet->quoted_name);
    sheet.m_sheet->name = strdup(newName.toUtf8().constData());
    sheet.m_sheet->quoted_name = quotedName(newName);
    sheet.m_name = newName;
}

lxw_format *Workbook::format(const CellFormat &f)
{
    if (f == CellFormat{})
        return nullptr;
    const QString key = formatKey(f);
    if (lxw_format *known = m_formats.value(key))
        return known;
    lxw_format *format = workbook_add_format(m_book);
    if (!f.numberFormat.isEmpty())
        format_set_num_format(format, f.numberFormat.toUtf8().constData());
    if (!f.fontName.isEmpty())
        format_set_font_name(format, f.fontName.toUtf8().constData());
    if (f.fontSize > 0)
        format_set_font_size(format, f.fontSize);
    if (f.bold)
        format_set_bold(format);
    switch (f.align) {
    case CellFormat::Align::Left: format_set_align(format, LXW_ALIGN_LEFT); break;
    case CellFormat::Align::Centre: format_set_align(format, LXW_ALIGN_CENTER); break;
    case CellFormat::Align::Right: format_set_align(format, LXW_ALIGN_RIGHT); break;
    case CellFormat::Align::General: break;
    }
    switch (f.valign) {
    case CellFormat::VAlign::Top: format_set_align(format, LXW_ALIGN_VERTICAL_TOP); break;
    case CellFormat::VAlign::Centre: format_set_align(format, LXW_ALIGN_VERTICAL_CENTER); break;
    case CellFormat::VAlign::Bottom: break;
    }
    if (f.wrap)
        format_set_text_wrap(format);
    if (f.border)
        format_set_border(format, LXW_BORDER_THIN);
    m_formats.insert(key, format);
    return format;
}

void Workbook::close()
{
    if (!m_book)
        return;
    lxw_workbook *book = std::exchange(m_book, nullptr);
    const lxw_error error = workbook_close(book);
    // The library no longer refers to the sheets' former names.
    for (char *name : m_retiredNames)
        std::free(name);
    m_retiredNames.clear();
    if (error != LXW_NO_ERROR) {
        QFile::remove(m_partPath);
        throw StopError(u"The workbook "_s + m_path + u" cannot be written: "_s + errorText(error) + u'.');
    }
    std::error_code ec;
    std::filesystem::rename(QFile::encodeName(m_partPath).toStdString(), QFile::encodeName(m_path).toStdString(), ec);
    if (ec) {
        QFile::remove(m_partPath);
        throw StopError(u"The workbook "_s + m_path + u" cannot be put in place: "_s
                        + QString::fromStdString(ec.message()) + u'.');
    }
}

} // namespace sw
