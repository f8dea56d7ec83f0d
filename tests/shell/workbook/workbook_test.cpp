// SPDX-License-Identifier: GPL-3.0-or-later
// Workbooks read back by python3-openpyxl (and zipfile for the pictures): what a
// spreadsheet program opening them finds.
#include "shell/workbook/workbook.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "support/python.h"
#include "support/stoptext.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

QJsonObject python(const QString &script, const QString &file) { return sw::test::runPython(script, {file}); }

const QString kReadWorkbook = uR"PY(
import json, re, sys, zipfile
import openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
out = {'sheets': wb.sheetnames, 'active': wb.active.title}
head = wb['HEAD']
def cell(ws, ref):
    c = ws[ref]
    return {'value': c.value, 'type': c.data_type, 'format': c.number_format, 'font': c.font.name,
            'size': c.font.sz, 'bold': bool(c.font.b), 'align': c.alignment.horizontal,
            'wrap': bool(c.alignment.wrap_text), 'border': c.border.left.style}
out['A1'] = cell(head, 'A1')
out['B1'] = cell(head, 'B1')
out['A2'] = cell(head, 'A2')
out['B2'] = cell(head, 'B2')
out['merged'] = sorted(str(r) for r in head.merged_cells.ranges)
out['C3'] = cell(head, 'C3')
out['rowHeight'] = head.row_dimensions[2].height
out['colWidth'] = head.column_dimensions['B'].width
out['titleRows'] = head.print_title_rows
out['header'] = head.oddHeader.center.text
out['footer'] = head.oddFooter.right.text
out['margins'] = [head.page_margins.left, head.page_margins.right, head.page_margins.top, head.page_margins.bottom]
out['paper'] = head.page_setup.paperSize
out['orientation'] = head.page_setup.orientation
out['zoom'] = head.sheet_view.zoomScale
data = wb['Data']
out['dataRows'] = data.max_row
out['dataLast'] = [data.cell(row=data.max_row, column=1).value, data.cell(row=data.max_row, column=2).value]
z = zipfile.ZipFile(sys.argv[1])
out['media'] = [n for n in z.namelist() if n.startswith('xl/media/')]
drawings = [z.read(n).decode() for n in z.namelist() if re.match(r'xl/drawings/drawing\d+\.xml$', n)]
anchors = []
for d in drawings:
    for m in re.finditer(r'<xdr:from><xdr:col>(\d+)</xdr:col><xdr:colOff>(\d+)</xdr:colOff><xdr:row>(\d+)</xdr:row>.*?<a:ext cx="(\d+)" cy="(\d+)"', d, re.S):
        anchors.append([int(g) for g in m.groups()])
out['anchors'] = anchors
out['definedNames'] = re.findall(r'<definedName[^>]*>([^<]*)</definedName>', z.read('xl/workbook.xml').decode())
print(json.dumps(out))
)PY"_s;

class WorkbookTest : public ::testing::Test
{
protected:
    QString picture(int width, int height)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        const QString path = m_dir.filePath(u"photo.png"_s);
        image.save(path);
        return path;
    }
    QTemporaryDir m_dir;
};

TEST_F(WorkbookTest, SheetsValuesFormatsMergesPicturesAndPageSetupReadBack)
{
    const QString path = m_dir.filePath(u"upload.xlsx"_s);
    const QString photo = picture(120, 160);
    {
        Workbook book(path);
        Worksheet &head = book.addSheet(u"Sheet1"_s);
        book.addSheet(u"TAIL"_s);
        Worksheet &data = book.addSheet(u"Data"_s);
        book.rename(head, u"HEAD"_s);
        EXPECT_EQ(book.sheet(u"head"_s), &head);
        EXPECT_EQ(book.sheet(u"Sheet1"_s), nullptr);

        CellFormat text;
        text.numberFormat = u"@"_s;
        CellFormat heading;
        heading.fontName = u"Arial"_s;
        heading.fontSize = 14;
        heading.bold = true;
        heading.align = CellFormat::Align::Centre;
        heading.border = true;
        CellFormat wrapped;
        wrapped.wrap = true;
        wrapped.align = CellFormat::Align::Right;
        head.write(0, 0, u"REGNO"_s, heading);
        head.write(0, 1, u"NAME"_s, heading);
        head.write(1, 0, u"00123"_s, text); // leading zeros kept: text, not a number
        head.write(1, 1, 42.5);
        head.merge(2, 2, 2, 5, u"CONVOCATION 2026"_s, heading);
        head.write(3, 0, u"a long address that wraps"_s, wrapped);
        head.setRowHeight(1, 30);
        head.setColumnWidth(1, 1, 25);
        head.insertPicture(4, 1, photo, QSizeF(54, 72), QPointF(3, 0));
        head.setRepeatRows(0, 0);
        head.setHeader(sw::PageText().at(sw::PageText::Section::Centre).text(u"Certificates"_s));
        head.setFooter(sw::PageText()
                           .at(sw::PageText::Section::Right)
                           .text(u"Page "_s)
                           .field(sw::PageText::Field::Page)
                           .text(u" of "_s)
                           .field(sw::PageText::Field::Pages));
        head.setMarginsInches(0.5, 0.4, 0.75, 0.6);
        head.setPaper(9);
        head.setLandscape(true);
        head.setZoom(85);
        head.select();
        for (int r = 0; r < 100; ++r) {
            data.write(r, 0, u"R"_s + QString::number(r));
            data.write(r, 1, double(r));
        }
        book.close();
    }
    const QJsonObject o = python(kReadWorkbook, path);
    ASSERT_FALSE(o.isEmpty());
    EXPECT_EQ(o[u"sheets"_s].toArray(), (QJsonArray{u"HEAD"_s, u"TAIL"_s, u"Data"_s}));
    EXPECT_EQ(o[u"active"_s].toString(), u"HEAD"_s);

    const QJsonObject a1 = o[u"A1"_s].toObject();
    EXPECT_EQ(a1[u"value"_s].toString(), u"REGNO"_s);
    EXPECT_EQ(a1[u"font"_s].toString(), u"Arial"_s);
    EXPECT_EQ(a1[u"size"_s].toDouble(), 14);
    EXPECT_TRUE(a1[u"bold"_s].toBool());
    EXPECT_EQ(a1[u"align"_s].toString(), u"center"_s);
    EXPECT_EQ(a1[u"border"_s].toString(), u"thin"_s);
    const QJsonObject a2 = o[u"A2"_s].toObject();
    EXPECT_EQ(a2[u"value"_s].toString(), u"00123"_s);
    EXPECT_EQ(a2[u"type"_s].toString(), u"s"_s);
    EXPECT_EQ(a2[u"format"_s].toString(), u"@"_s);
    const QJsonObject b2 = o[u"B2"_s].toObject();
    EXPECT_EQ(b2[u"value"_s].toDouble(), 42.5);
    EXPECT_EQ(b2[u"type"_s].toString(), u"n"_s);
    EXPECT_EQ(o[u"merged"_s].toArray(), QJsonArray{u"C3:F3"_s});
    EXPECT_EQ(o[u"C3"_s].toObject()[u"value"_s].toString(), u"CONVOCATION 2026"_s);

    EXPECT_EQ(o[u"rowHeight"_s].toDouble(), 30);
    EXPECT_NEAR(o[u"colWidth"_s].toDouble(), 25, 1);
    EXPECT_EQ(o[u"titleRows"_s].toString(), u"$1:$1"_s);
    // The print titles name the sheet by its new name.
    EXPECT_EQ(o[u"definedNames"_s].toArray(), QJsonArray{u"'HEAD'!$1:$1"_s});
    EXPECT_EQ(o[u"header"_s].toString(), u"Certificates"_s);
    EXPECT_EQ(o[u"footer"_s].toString(), u"Page &P of &N"_s);
    const QJsonArray margins = o[u"margins"_s].toArray();
    EXPECT_EQ(margins, (QJsonArray{0.5, 0.4, 0.75, 0.6}));
    EXPECT_EQ(o[u"paper"_s].toInt(), 9);
    EXPECT_EQ(o[u"orientation"_s].toString(), u"landscape"_s);
    EXPECT_EQ(o[u"zoom"_s].toInt(), 85);

    EXPECT_EQ(o[u"dataRows"_s].toInt(), 100);
    EXPECT_EQ(o[u"dataLast"_s].toArray(), (QJsonArray{u"R99"_s, 99}));

    // The picture is embedded once, over B5, 54 x 72 points (12700 EMU to the point).
    EXPECT_EQ(o[u"media"_s].toArray().size(), 1);
    const QJsonArray anchors = o[u"anchors"_s].toArray();
    ASSERT_EQ(anchors.size(), 1);
    const QJsonArray anchor = anchors[0].toArray();
    EXPECT_EQ(anchor[0].toInt(), 1);        // column B
    EXPECT_EQ(anchor[2].toInt(), 4);        // row 5
    EXPECT_EQ(anchor[1].toInt(), 3 * 9525); // 3 pixels into the cell
    EXPECT_NEAR(anchor[3].toDouble(), 54 * 12700, 9525);
    EXPECT_NEAR(anchor[4].toDouble(), 72 * 12700, 9525);
}

TEST_F(WorkbookTest, ConstantMemoryWritesRowsInOrder)
{
    const QString path = m_dir.filePath(u"big.xlsx"_s);
    {
        Workbook book(path, Workbook::Memory::Constant);
        Worksheet &data = book.addSheet(u"Data"_s);
        Worksheet &head = book.addSheet(u"HEAD"_s);
        CellFormat text;
        text.numberFormat = u"@"_s;
        for (int r = 0; r < 5000; ++r) {
            data.write(r, 0, u"R"_s + QString::number(r), text);
            data.write(r, 1, double(r));
        }
        head.write(0, 0, u"x"_s);
        book.rename(head, u"HEAD2"_s);
        book.close();
    }
    const QJsonObject o = python(uR"PY(
import json, sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1], read_only=True)
ws = wb['Data']
rows = list(ws.iter_rows(values_only=True))
print(json.dumps({'sheets': wb.sheetnames, 'count': len(rows), 'last': list(rows[-1])}))
)PY"_s,
                                 path);
    EXPECT_EQ(o[u"sheets"_s].toArray(), (QJsonArray{u"Data"_s, u"HEAD2"_s}));
    EXPECT_EQ(o[u"count"_s].toInt(), 5000);
    EXPECT_EQ(o[u"last"_s].toArray(), (QJsonArray{u"R4999"_s, 4999}));
}

// The ledger's centre header was "&14" followed by "75TH ...": read as font size 1475,
// and "75" was lost. Each case is one sheet, its centre header read back by openpyxl.
TEST_F(WorkbookTest, HeaderTextNeverReadsAsACode)
{
    using Section = PageText::Section;
    struct Case
    {
        PageText header;
        QString text;
        int size;
    };
    const std::vector<Case> cases = {
        {PageText().at(Section::Centre).font(14, true).text(u"75TH Convocation (20/12/2025)"_s),
         u"75TH Convocation (20/12/2025)"_s, 14},
        {PageText().at(Section::Centre).font(12).text(u"A&B COLLEGE & 2 HOSTELS"_s), u"A&B COLLEGE & 2 HOSTELS"_s, 12},
        {PageText().at(Section::Centre).font(9).text(u"2"_s).text(u"025"_s), u"2025"_s, 9},
    };
    const QString path = m_dir.filePath(u"headers.xlsx"_s);
    {
        Workbook book(path);
        for (std::size_t i = 0; i < cases.size(); ++i)
            book.addSheet(u"S"_s + QString::number(i)).setHeader(cases[i].header);
        book.close();
    }
    const QJsonObject o = python(uR"PY(
import json, sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
# openpyxl leaves a doubled ampersand as it is; the spreadsheet prints one.
print(json.dumps({'headers': [[(ws.oddHeader.center.text or '').replace('&&', '&'), ws.oddHeader.center.size]
                              for ws in wb.worksheets]}))
)PY"_s,
                                 path);
    const QJsonArray headers = o[u"headers"_s].toArray();
    ASSERT_EQ(headers.size(), qsizetype(cases.size()));
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].header.codes().toStdString());
        const QJsonArray read = headers[qsizetype(i)].toArray();
        EXPECT_EQ(read[0].toString(), cases[i].text);
        EXPECT_EQ(read[1].toInt(), cases[i].size);
    }
}

TEST_F(WorkbookTest, MistakesAreNamedAndLeaveNoFile)
{
    const QString path = m_dir.filePath(u"list.xlsx"_s);
    {
        Workbook book(path);
        Worksheet &sheet = book.addSheet(u"SHEET_01"_s);
        EXPECT_TRUE(test::stopText([&] { book.addSheet(u"sheet_01"_s); }).contains(u"already has a sheet named"_s));
        EXPECT_TRUE(test::stopText([&] { book.addSheet(u"a/b"_s); }).contains(u"\"a/b\" cannot be used"_s));
        EXPECT_TRUE(test::stopText([&] { book.addSheet(QString(40, u'X')); }).contains(u"cannot be used"_s));
        EXPECT_TRUE(test::stopText([&] { book.rename(sheet, u"x:y"_s); }).contains(u"cannot be used"_s));
        const QString missing =
            test::stopText([&] { sheet.insertPicture(0, 0, m_dir.filePath(u"9999.jpg"_s), QSizeF(10, 10)); });
        EXPECT_TRUE(missing.contains(u"Sheet \"SHEET_01\", picture at A1"_s)) << missing.toStdString();
        EXPECT_TRUE(missing.contains(u"9999.jpg does not exist"_s));
        EXPECT_TRUE(test::stopText([&] { sheet.write(2000000, 0, u"x"_s); }).contains(u"cell A2000001"_s));
        sheet.write(0, 0, u"kept?"_s);
        // Not closed: the run stopped. Nothing is left, not even the temporary file.
    }
    EXPECT_TRUE(QDir(m_dir.path()).entryList(QDir::Files).isEmpty());

    const QString unwritable = m_dir.filePath(u"no/such/folder/list.xlsx"_s);
    EXPECT_TRUE(test::stopText([&] { Workbook book(unwritable); }).contains(unwritable));
}

} // namespace
