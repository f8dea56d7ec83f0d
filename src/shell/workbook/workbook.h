// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QPointF>
#include <QSizeF>
#include <QString>

#include <memory>
#include <vector>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

namespace sw {

class AppFolder;

// How a cell looks. Compared by value: each distinct format is created once per workbook.
struct CellFormat
{
    enum class Align { General, Left, Centre, Right };
    enum class VAlign { Bottom, Top, Centre };

    QString numberFormat; // "@" keeps a value as text; "0.00", "dd/mm/yyyy"; empty: General
    QString fontName;     // empty: the workbook's default (Calibri)
    double fontSize = 0;  // points; 0: default
    bool bold = false;
    Align align = Align::General;
    VAlign valign = VAlign::Bottom;
    bool wrap = false;
    bool border = false; // a thin border on all four sides

    bool operator==(const CellFormat &) const = default;
};

// A page header or footer, built from its parts into the spreadsheet's codes so that
// no text reads as a code: "&" is doubled, and text that starts with a digit is kept
// apart from the font size before it by the blank the spreadsheet expects there
// ("&14 75TH": without the blank, "&1475TH" is size 1475 and the text loses "75").
//
//     PageText().at(PageText::Section::Centre).font(14, true).text(u"75TH Convocation"_s)
class PageText
{
public:
    enum class Section { Left, Centre, Right };
    enum class Field { Page, Pages, Date, Time };

    PageText &at(Section section);
    // The font of the text that follows: the sheet's font name, this size and weight.
    PageText &font(double size, bool bold = false);
    // Text as it is to be printed; "\n" starts a new line.
    PageText &text(const QString &text);
    PageText &field(Field field);

    const QString &codes() const { return m_codes; }

private:
    QString m_codes;
    bool m_afterSize = false;
};

class Workbook;

// One sheet of a Workbook; owned by it. Rows and columns count from 0.
class Worksheet
{
public:
    QString name() const { return m_name; }

    void write(int row, int column, const QString &text, const CellFormat &format = {});
    void write(int row, int column, double number, const CellFormat &format = {});

    void setRowHeight(int row, double points);
    // Width in characters of the default font, as the spreadsheet measures columns.
    void setColumnWidth(int firstColumn, int lastColumn, double characters);
    // Width and the format of the columns' empty cells (a whole sheet as text: "@").
    void setColumn(int firstColumn, int lastColumn, double characters, const CellFormat &format);
    void merge(int firstRow, int firstColumn, int lastRow, int lastColumn, const QString &text,
               const CellFormat &format = {});
    // A picture over cell (row, column), moved `offsetPixels` into it and sized in points.
    void insertPicture(int row, int column, const QString &file, const QSizeF &points,
                       const QPointF &offsetPixels = {});

    // Page setup for printing.
    void setRepeatRows(int firstRow, int lastRow);
    void setHeader(const PageText &text);
    void setFooter(const PageText &text);
    void setMarginsInches(double left, double right, double top, double bottom);
    // Distance of the header and footer from the paper's edge.
    void setHeaderFooterMarginsInches(double header, double footer);
    void setPrintGridlines(bool print);
    void setCentreHorizontally();
    // The spreadsheet's paper codes: 9 is A4, 1 Letter, 5 Legal.
    void setPaper(int code);
    void setLandscape(bool landscape);
    void setZoom(int percent);
    // The sheet shown when the workbook is opened.
    void select();

private:
    friend class Workbook;
    Worksheet(Workbook &book, lxw_worksheet *sheet, QString name);
    void check(int error, const QString &what) const;

    Workbook &m_book;
    lxw_worksheet *m_sheet;
    QString m_name;
    // libxlsxwriter sets a header or footer together with its margin.
    QString m_header;
    QString m_footer;
    double m_headerMargin = 0.3;
    double m_footerMargin = 0.3;
};

// A spreadsheet workbook (.xlsx) written with libxlsxwriter for the lists and the
// depository upload files that a clerk opens, checks and saves. Written under a
// temporary name; close() puts it in place, so a failed run leaves no partial file
// under the final name. Errors throw StopError naming the sheet, cell or file.
//
// In constant-memory mode (large lists) rows must be written in order and merges
// are not available; memory stays flat whatever the row count.
class Workbook
{
public:
    enum class Memory { Normal, Constant };

    explicit Workbook(QString path, Memory memory = Memory::Normal);
    ~Workbook(); // a workbook not closed is discarded
    Workbook(const Workbook &) = delete;
    Workbook &operator=(const Workbook &) = delete;

    QString path() const { return m_path; }
    Worksheet &addSheet(const QString &name);
    Worksheet *sheet(const QString &name);
    void rename(Worksheet &sheet, const QString &newName);

    // Writes the file and puts it under its name.
    void close();

private:
    friend class Worksheet;
    lxw_format *format(const CellFormat &format);
    void checkSheetName(const QString &name) const;

    QString m_path;
    QString m_partPath;
    lxw_workbook *m_book = nullptr;
    std::vector<std::unique_ptr<Worksheet>> m_sheets;
    QHash<QString, lxw_format *> m_formats;
    std::vector<char *> m_retiredNames;
    QByteArray m_tmpDir;
};

} // namespace sw
