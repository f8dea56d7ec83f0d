// SPDX-License-Identifier: GPL-3.0-or-later
// The spreadsheet lists of the student list screen.
#include "reports/lists/studentlist.h"
#include "shell/core/dates.h"

#include "shell/core/kannadatext.h"
#include "shell/document/fonttable.h"
#include "shell/core/prompter.h"
#include "shell/session.h"
#include "shell/workbook/workbook.h"

#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

const QStringList kPhotoExtensions = {u"jpg"_s, u"jpeg"_s, u"bmp"_s};

// The spreadsheet's "auto-fit" of the lists: each column as wide as its longest text.
class ColumnFit
{
public:
    void see(int column, const QString &text)
    {
        if (size_t(column) >= m_widths.size())
            m_widths.resize(size_t(column) + 1, 0);
        for (const QString &line : text.split(u'\n'))
            m_widths[size_t(column)] = std::max(m_widths[size_t(column)], int(line.size()));
    }
    void apply(Worksheet &sheet, const CellFormat &format) const
    {
        for (size_t c = 0; c < m_widths.size(); ++c)
            sheet.setColumn(int(c), int(c), std::max(4, m_widths[c] + 2), format);
    }

private:
    std::vector<int> m_widths;
};

// The page setup every list sheet shares: the header row on every page, grid lines
// printed, centred on the paper, quarter-inch side margins.
void listPageSetup(Worksheet &sheet)
{
    sheet.setRepeatRows(0, 0);
    sheet.setPrintGridlines(true);
    sheet.setCentreHorizontally();
    sheet.setMarginsInches(0.25, 0.25, 0.75, 0.75);
}

QString safeFilePart(QString text)
{
    for (QChar &c : text) {
        if (!c.isLetterOrNumber())
            c = u'_';
    }
    return text;
}

} // namespace

void StudentListReports::noSheetRows()
{
    m_prompter.message(u"No Records found for the given range"_s, u"Message"_s, PromptIcon::Exclamation);
}

QString StudentListReports::candidateQuery(const StudentListSelection &s, bool withActive,
                                           const QString &extraColumns) const
{
    const Database &db = m_session.db();
    return u"select convo.*, college.fcollname"_s + extraColumns
           + u" from convo, college, degree where convo.fdegree = degree.fdegree and convo.fdegree = ? "
             "and convo.fcollcode between ? and ? and convo.fcollcode = college.fcollcode"_s
           + (s.printedOnly ? u" and "_s + db.dialect().coalesce(u"convo.fcertno"_s, u"''"_s) + u" <> ''"_s : QString())
           + (withActive && s.activeOnly ? u" and convo.factive = 'T'"_s : QString())
           + u" and convo.fconvocode = ? order by convo.fdegree, convo.fcollcode, convo.fregno"_s;
}

QString StudentListReports::kannadaNamesWorkbook(const StudentListSelection &s)
{
    Rows rows =
        m_session.db().query(candidateQuery(s, true, {}), {s.degree, s.fromCollege, s.toCollege, m_session.convoCode});
    if (!rows.next()) {
        noSheetRows();
        return {};
    }
    Workbook book(m_session.folder.outputPath(u"StudentList_"_s + safeFilePart(s.degree) + u".xlsx"_s));
    Worksheet &sheet = book.addSheet(u"Sheet1"_s);
    CellFormat cell;
    cell.numberFormat = u"@"_s;
    cell.align = CellFormat::Align::Centre;
    cell.valign = CellFormat::VAlign::Centre;
    CellFormat left = cell;
    left.align = CellFormat::Align::Left;
    CellFormat kannada = cell;
    const QString unicodeFont = FontTable::unicodeKannadaFamily();
    kannada.fontName = !s.unicodeKannada       ? u"BRH Kannada"_s
                       : unicodeFont.isEmpty() ? u"Noto Sans Kannada"_s
                                               : unicodeFont;
    kannada.fontSize = 16;
    CellFormat heading = cell;
    heading.bold = true;
    heading.fontSize = 12;

    static const QStringList headers = {u"Sl.No."_s,
                                        u"College"_s,
                                        u"Reg.No."_s,
                                        u"Name (In English)"_s,
                                        u"Name (In Kannada)"_s,
                                        u"Father Name (In English)"_s,
                                        u"Father Name (In Kannada)"_s,
                                        u"Mother Name (In English)"_s,
                                        u"Mother Name (In Kannada)"_s,
                                        u"Surname (In English)"_s,
                                        u"Surname (In Kannada)"_s,
                                        u"Activation No."_s,
                                        u"Cert.No."_s,
                                        u"Cert.Date"_s};
    ColumnFit fit;
    sheet.setRowHeight(0, 25);
    for (int c = 0; c < headers.size(); ++c) {
        sheet.write(0, c, headers[c], heading);
        fit.see(c, headers[c]);
    }
    static const char *const columns[] = {"fcollcode", "fregno",      "fname",     "fnamekan",
                                          "ffatname",  "ffatnamekan", "fmotname",  "fmotnamekan",
                                          "fsirname",  "fsirnamekan", "fprintord", "fcertno"};
    int row = 1;
    do {
        sheet.setRowHeight(row, 25);
        sheet.write(row, 0, QString::number(row), cell);
        for (int c = 0; c < int(std::size(columns)); ++c) {
            const QString column = QString::fromLatin1(columns[c]);
            const bool isKannada = column.endsWith(u"kan"_s);
            const QString value =
                isKannada && s.unicodeKannada ? kannada::readable(rows.text(column)) : rows.text(column);
            // Register number and name read better from the left.
            sheet.write(row, c + 1, value, isKannada ? kannada : (c == 1 || c == 2 ? left : cell));
            fit.see(c + 1, value);
        }
        const QString date = formatDmy(rows.date(u"fdate"_s));
        sheet.write(row, 13, date, cell);
        fit.see(13, date);
        ++row;
    } while (rows.next());
    CellFormat text;
    text.numberFormat = u"@"_s;
    fit.apply(sheet, text);
    listPageSetup(sheet);
    book.close();
    return book.path();
}

QString StudentListReports::convocationWorkbook(const StudentListSelection &s)
{
    StudentListSelection all = s;
    all.printedOnly = false;
    Rows rows = m_session.db().query(candidateQuery(all, false, u", college.ftown"_s),
                                     {s.degree, s.fromCollege, s.toCollege, m_session.convoCode});
    if (!rows.next()) {
        noSheetRows();
        return {};
    }
    Workbook book(m_session.folder.outputPath(u"ConvocationList_"_s + safeFilePart(s.degree) + u".xlsx"_s));
    Worksheet &sheet = book.addSheet(u"Sheet1"_s);
    CellFormat centre;
    centre.numberFormat = u"@"_s;
    centre.align = CellFormat::Align::Centre;
    centre.valign = CellFormat::VAlign::Centre;
    CellFormat left = centre;
    left.align = CellFormat::Align::Left;
    CellFormat heading = centre;
    heading.bold = true;
    heading.fontSize = 12;
    heading.wrap = true;
    CellFormat collegeLine = left;
    collegeLine.bold = true;

    sheet.setColumn(0, 0, 6.5, centre);
    sheet.setColumn(1, 1, 11, centre);
    sheet.setColumn(2, 2, 50, left);
    sheet.setColumn(3, 3, 10, centre);
    sheet.setColumn(4, 4, 20, left);
    sheet.setRowHeight(0, 32);
    const QStringList headers = {u"Sl.No."_s, u"Reg.No."_s, u"Student Name"_s, u"Class / \nGrade"_s, u"Pass \nMonth"_s};
    for (int c = 0; c < headers.size(); ++c)
        sheet.write(0, c, headers[c], heading);

    int row = 1;
    int serial = 0;
    QString college;
    bool first = true;
    do {
        const QString code = rows.text(u"fcollcode"_s);
        if (first || code != college) {
            first = false;
            college = code;
            sheet.setRowHeight(row, 20);
            sheet.merge(row, 0, row, 4,
                        u"College Code and Name: "_s + code + u" - "_s + rows.text(u"fcollname"_s) + u", "_s
                            + rows.text(u"ftown"_s),
                        collegeLine);
            ++row;
            serial = 0;
        }
        sheet.setRowHeight(row, 20);
        sheet.write(row, 0, QString::number(++serial), centre);
        sheet.write(row, 1, rows.text(u"fregno"_s), centre);
        sheet.write(row, 2, rows.text(u"fname"_s), left);
        sheet.write(row, 3, rows.text(u"fclasscode"_s), centre);
        sheet.write(row, 4, rows.text(u"fexamdate"_s), left);
        ++row;
    } while (rows.next());
    listPageSetup(sheet);
    book.close();
    return book.path();
}

namespace {

// The ledger's candidates: every one of the selection, or only the rank holders (with
// their rank and both certificate numbers) in the order of the rank register.
Rows ledgerRows(Database &db, const StudentListSelection &s, const QString &convoCode, bool rankOnly)
{
    const SqlDialect &d = db.dialect();
    const QString printed = s.printedOnly ? u" and "_s + d.coalesce(u"c.fcertno"_s, u"''"_s) + u" <> ''"_s : QString();
    const QString active = s.activeOnly ? u" and c.factive = 'T'"_s : QString();
    if (rankOnly) {
        return db.query(
            u"select c.fregno, c.fname, d.fdescpn, d.fspecial, r.frank, l.fcollname, l.ftown, c.fexamdate, "
            "c.faddr1, c.faddr2, c.faddr3, c.faddr4, r.fcertno as rcertno, c.fcertno as ccertno, c.fmobile "
            "from convo c, rankreg r, college l, degree d where c.fdegree = d.fdegree and c.fregno = r.fregno "
            "and c.fdegree = ? and c.fcollcode between ? and ? and c.fconvocode = ?"_s
                + printed + active + u" and c.fcollcode = l.fcollcode and "_s + d.coalesce(u"r.frank"_s, u"''"_s)
                + u" <> '' order by "_s + d.coalesce(u"r.fslno"_s, u"0"_s),
            {s.degree, s.fromCollege, s.toCollege, convoCode});
    }
    return db.query(
        u"select c.*, l.fcollname, l.ftown, d.fdescpn, d.fspecial as fdegreespecial from convo c, college l, "
        "degree d where c.fdegree = d.fdegree and c.fdegree = ? and c.fcollcode between ? and ? "
        "and c.fcollcode = l.fcollcode"_s
            + printed + active + u" and c.fconvocode = ? order by c.fdegree, c.fcollcode, c.fregno"_s,
        {s.degree, s.fromCollege, s.toCollege, convoCode});
}

CellFormat ledgerCell(CellFormat::Align align, bool bold = false, CellFormat::VAlign v = CellFormat::VAlign::Centre)
{
    CellFormat f;
    f.align = align;
    f.valign = v;
    f.bold = bold;
    f.wrap = true;
    f.border = true;
    return f;
}

// The ledger's page (A4 landscape, centred, page numbers), its two-line page header
// and the row of column headings.
void layOutLedger(Worksheet &sheet, const QString &institution, const QString &heading)
{
    sheet.setHeaderFooterMarginsInches(0.25, 0.25);
    sheet.setHeader(PageText()
                        .at(PageText::Section::Centre)
                        .font(16, true)
                        .text(institution)
                        .font(11)
                        .text(u"\n"_s)
                        .font(14, true)
                        .text(heading));
    sheet.setFooter(PageText()
                        .at(PageText::Section::Centre)
                        .field(PageText::Field::Page)
                        .text(u" / "_s)
                        .field(PageText::Field::Pages));
    sheet.setRepeatRows(0, 0);
    sheet.setPrintGridlines(true);
    sheet.setPaper(5);
    sheet.setCentreHorizontally();
    sheet.setMarginsInches(2, 0.25, 1, 0.75);
    sheet.setLandscape(true);
    sheet.setZoom(100);

    const double widths[] = {6, 11, 30, 10, 30, 30, 12.5, 12.5, 15, 17};
    for (int c = 0; c < 10; ++c)
        sheet.setColumnWidth(c, c, widths[c]);
    CellFormat heading12 = ledgerCell(CellFormat::Align::Centre, true);
    heading12.fontSize = 12;
    const QStringList headers = {u"Sl.No."_s,
                                 u"Reg.No."_s,
                                 u"Name of the Candidate"_s,
                                 u"Secured Rank"_s,
                                 u"College / Department /\n Study Center"_s,
                                 u"Address of Candidate"_s,
                                 u"Cert. No. \nDC/RC/GC"_s,
                                 u"Photograph"_s,
                                 u"Contact no"_s,
                                 u"Signature"_s};
    for (int c = 0; c < headers.size(); ++c)
        sheet.write(0, c, headers[c], heading12);
}

// A candidate's cells, column by column; the photograph and signature cells are left
// empty (the photograph is a picture over its cell).
QStringList ledgerValues(const Rows &r, int serial, bool rankOnly)
{
    QString address;
    for (const QString &column : {u"faddr1"_s, u"faddr2"_s, u"faddr3"_s, u"faddr4"_s}) {
        if (!r.text(column).trimmed().isEmpty())
            address += r.text(column) + u'\n';
    }
    // A rank holder's degree and rank certificate numbers, one under the other.
    QStringList certificates;
    for (const QString &column : rankOnly ? QStringList{u"ccertno"_s, u"rcertno"_s} : QStringList{u"fcertno"_s}) {
        if (!rankOnly || !r.text(column).trimmed().isEmpty())
            certificates << r.text(column);
    }
    return {QString::number(serial),
            r.text(u"fregno"_s),
            r.text(u"fname"_s),
            rankOnly ? r.text(u"frank"_s) : QString(),
            r.text(u"fcollname"_s) + u", "_s + r.text(u"ftown"_s),
            address,
            certificates.join(u'\n'),
            QString(),
            r.text(u"fmobile"_s),
            QString()};
}

} // namespace

QString StudentListReports::ledgerWorkbook(const StudentListSelection &s)
{
    const bool rankOnly = m_prompter.ask(u"Do you want to generate Ledger only for Rank Students?"_s, u"Ledger"_s,
                                         PromptIcon::Information, PromptButtons::YesNo, PromptAnswer::Yes)
                          == PromptAnswer::Yes;
    Database &db = m_session.db();
    Rows rows = ledgerRows(db, s, m_session.convoCode, rankOnly);
    if (!rows.next()) {
        noSheetRows();
        return {};
    }
    Rows convocation =
        db.query(u"select fconvoname, fdate from masconvo where fconvocode = ?"_s, {m_session.convoCode});
    if (!convocation.next()) {
        m_prompter.message(u"Master records not found"_s, u"No records"_s, PromptIcon::Information);
        return {};
    }

    Workbook book(m_session.folder.outputPath((rankOnly ? u"RankLedger_"_s : u"Ledger_"_s) + safeFilePart(s.degree)
                                              + u".xlsx"_s));
    Worksheet &sheet = book.addSheet(u"Sheet1"_s);
    const QString special = rows.text(rankOnly ? u"fspecial"_s : u"fdegreespecial"_s);
    const QString institution = m_session.instTitle.isEmpty() ? m_session.instAddress[0] : m_session.instTitle;
    QString course = (rankOnly ? u" RANK LIST"_s : u" CONVOCATION LIST"_s) + u" - "_s + rows.text(u"fdescpn"_s);
    if (!special.trimmed().isEmpty())
        course += u" ["_s + special + u" ]"_s;
    course += u" ( "_s + rows.text(u"fexamdate"_s) + u" EXAMINATION"_s + u" )"_s;
    layOutLedger(sheet, institution,
                 convocation.text(0) + u" Convocation ("_s + convocation.text(1) + u")\n"_s + course);

    using A = CellFormat::Align;
    const CellFormat columnFormats[] = {ledgerCell(A::Centre),
                                        ledgerCell(A::Centre, true),
                                        ledgerCell(A::Left),
                                        ledgerCell(A::Centre),
                                        ledgerCell(A::Left),
                                        ledgerCell(A::Left),
                                        ledgerCell(A::Centre, false, CellFormat::VAlign::Top),
                                        ledgerCell(A::Centre),
                                        ledgerCell(A::Left),
                                        ledgerCell(A::Centre)};
    int row = 1;
    do {
        sheet.setRowHeight(row, 100);
        const QStringList values = ledgerValues(rows, row, rankOnly);
        for (int c = 0; c < values.size(); ++c)
            sheet.write(row, c, values[c], columnFormats[c]);
        const QString photo = m_session.folder.findWithExtensions(u"Photos"_s, values[1], kPhotoExtensions);
        if (!photo.isEmpty())
            sheet.insertPicture(row, 7, photo, QSizeF(1.2 * 72, 1.3 * 72), QPointF(4, 4));
        ++row;
    } while (rows.next());
    book.close();
    return book.path();
}

} // namespace sw
