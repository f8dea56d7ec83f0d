// SPDX-License-Identifier: GPL-3.0-or-later
// The spreadsheet lists read back by openpyxl, as the clerk's spreadsheet program would.
#include "listfixture.h"
#include "reports/lists/studentlist.h"
#include "shell/document/fonttable.h"
#include "support/python.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>

using namespace Qt::StringLiterals;

namespace {

const QString kReadSheet = uR"PY(
import json, sys, zipfile
import openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
ws = wb.active
rows = [[c.value for c in row] for row in ws.iter_rows()]
fonts = {ref: ws[ref].font.name for ref in sys.argv[2:]}
formats = {ref: ws[ref].number_format for ref in sys.argv[2:]}
pictures = [n for n in zipfile.ZipFile(sys.argv[1]).namelist() if n.startswith('xl/media/')]
# openpyxl drops pictures without Pillow: read their anchors from the drawing itself.
import re
z = zipfile.ZipFile(sys.argv[1])
anchors = []
for name in sorted(n for n in z.namelist() if n.startswith('xl/drawings/drawing')):
    xml = z.read(name).decode()
    for block in re.findall(r'<xdr:from>(.*?)</xdr:from>', xml):
        anchors.append((int(re.search(r'<xdr:row>(\d+)', block).group(1)), int(re.search(r'<xdr:col>(\d+)', block).group(1))))
anchors.sort()
# The font sizes of the header's codes, read by openpyxl's own pattern for them.
import html
from openpyxl.worksheet.header_footer import SIZE_REGEX
head = re.search(r'<oddHeader>(.*?)</oddHeader>', z.read('xl/worksheets/sheet1.xml').decode(), re.S)
sizes = [int(size) for size in re.findall(SIZE_REGEX, html.unescape(head.group(1)) if head else '')]
print(json.dumps({'headerSizes': sizes, 'rows': rows, 'merged': [str(m) for m in ws.merged_cells.ranges], 'fonts': fonts,
                  'formats': formats, 'pictures': len(pictures), 'anchors': anchors,
                  'paper': ws.page_setup.paperSize, 'orientation': ws.page_setup.orientation,
                  'header': z.read('xl/worksheets/sheet1.xml').decode(), 'footer': ws.oddFooter.center.text or '',
                  'titles': ws.print_title_rows or ''}))
)PY"_s;

class StudentListSheetsTest : public sw::test::ListFixture
{
protected:
    sw::StudentListReports reports() { return {m_session, m_prompter, header}; }
    sw::StudentListSelection bsc()
    {
        sw::StudentListSelection s{u"BSC"_s, {}, {}};
        s.normaliseColleges();
        return s;
    }
    QJsonObject read(const QString &path, const QStringList &cells = {})
    {
        return sw::test::runPython(kReadSheet, QStringList{path} + cells);
    }
    static QString cell(const QJsonObject &sheet, int row, int column)
    {
        return sheet[u"rows"_s].toArray()[row].toArray()[column].toString();
    }
};

TEST_P(StudentListSheetsTest, KannadaListHasItsFourteenColumnsInTheLegacyFontOrInUnicode)
{
    add({u"R0001"_s, u"BSC"_s, u"C001"_s, u"DC000101"_s});
    add({u"R0002"_s, u"BSC"_s, u"C002"_s});
    m_session.db().exec(u"update convo set fnamekan = ?, fprintord = '00007' where fregno = 'R0001'"_s, {u"D£ÀAzï"_s});
    const QString path = reports().kannadaNamesWorkbook(bsc());
    ASSERT_FALSE(path.isEmpty());
    EXPECT_TRUE(path.startsWith(m_session.folder.filePath(u"Output/"_s))) << path.toStdString();
    const QJsonObject sheet = read(path, {u"E2"_s, u"C2"_s});
    EXPECT_EQ(cell(sheet, 0, 4), u"Name (In Kannada)"_s);
    EXPECT_EQ(cell(sheet, 0, 13), u"Cert.Date"_s);
    EXPECT_EQ(cell(sheet, 1, 0), u"1"_s);
    EXPECT_EQ(cell(sheet, 1, 2), u"R0001"_s);
    EXPECT_EQ(cell(sheet, 1, 4), u"D£ÀAzï"_s); // the legacy bytes, unchanged
    EXPECT_EQ(cell(sheet, 1, 11), u"00007"_s); // text, leading zeros kept
    EXPECT_EQ(cell(sheet, 1, 13), u"20/12/2025"_s);
    EXPECT_EQ(sheet[u"fonts"_s][u"E2"_s].toString(), u"BRH Kannada"_s);
    EXPECT_EQ(sheet[u"formats"_s][u"C2"_s].toString(), u"@"_s);
    EXPECT_EQ(sheet[u"rows"_s].toArray().size(), 3);
    EXPECT_EQ(sheet[u"titles"_s].toString(), u"$1:$1"_s);

    // Asked for Unicode, the Kannada column holds the names' Unicode reading in a Unicode
    // Kannada font; the stored codes stay as they were.
    sw::StudentListSelection s = bsc();
    s.unicodeKannada = true;
    const QJsonObject unicode = read(reports().kannadaNamesWorkbook(s), {u"E2"_s, u"D2"_s});
    EXPECT_EQ(cell(unicode, 1, 4), u"ಆನಂದ್"_s);
    const QString unicodeFont = sw::FontTable::unicodeKannadaFamily();
    EXPECT_EQ(unicode[u"fonts"_s][u"E2"_s].toString(), unicodeFont.isEmpty() ? u"Noto Sans Kannada"_s : unicodeFont);
    EXPECT_NE(unicode[u"fonts"_s][u"D2"_s].toString(), unicode[u"fonts"_s][u"E2"_s].toString())
        << "English stays Latin";
    EXPECT_EQ(m_session.db().scalar(u"select fnamekan from convo where fregno = 'R0001'"_s).toString(), u"D£ÀAzï"_s);
}

TEST_P(StudentListSheetsTest, ConvocationListRestartsItsSerialUnderEachCollege)
{
    add({u"R0001"_s, u"BSC"_s, u"C001"_s});
    add({u"R0002"_s, u"BSC"_s, u"C001"_s});
    add({u"R0003"_s, u"BSC"_s, u"C002"_s});
    const QJsonObject sheet = read(reports().convocationWorkbook(bsc()));
    EXPECT_EQ(cell(sheet, 0, 3), u"Class / \nGrade"_s);
    EXPECT_EQ(cell(sheet, 1, 0), u"College Code and Name: C001 - FIRST COLLEGE, SUVARNAPURA"_s);
    EXPECT_EQ(cell(sheet, 3, 0), u"2"_s);
    EXPECT_EQ(cell(sheet, 4, 0), u"College Code and Name: C002 - SECOND COLLEGE, MALLIGEPURA"_s);
    EXPECT_EQ(cell(sheet, 5, 0), u"1"_s);
    EXPECT_EQ(cell(sheet, 5, 1), u"R0003"_s);
    EXPECT_EQ(cell(sheet, 5, 4), u"APRIL 2025"_s);
    const QJsonArray merged = sheet[u"merged"_s].toArray();
    EXPECT_TRUE(merged.contains(u"A2:E2"_s) && merged.contains(u"A5:E5"_s));
}

TEST_P(StudentListSheetsTest, LedgerPlacesEachPhotographOnItsRowWhateverItsKind)
{
    add({u"R0001"_s, u"BSC"_s, u"C001"_s, u"DC000101"_s});
    add({u"R0002"_s, u"BSC"_s, u"C001"_s});
    add({u"R0003"_s, u"BSC"_s, u"C001"_s});
    QDir().mkpath(m_session.folder.filePath(u"Photos"_s));
    QImage photo(60, 80, QImage::Format_RGB32);
    photo.fill(Qt::gray);
    ASSERT_TRUE(photo.save(m_session.folder.filePath(u"Photos/R0001.jpg"_s)));
    ASSERT_TRUE(photo.save(m_session.folder.filePath(u"Photos/R0003.bmp"_s), "BMP"));
    m_session.instTitle = u"Varada University, Suvarnapura"_s;
    m_prompter.answer(sw::PromptAnswer::No); // the whole convocation, not the rank holders
    const QJsonObject sheet = read(reports().ledgerWorkbook(bsc()));
    EXPECT_EQ(sheet[u"pictures"_s].toInt(), 2);
    const QJsonArray anchors = sheet[u"anchors"_s].toArray();
    ASSERT_EQ(anchors.size(), 2);
    EXPECT_EQ(anchors[0].toArray()[0].toInt(), 1); // R0001's row
    EXPECT_EQ(anchors[0].toArray()[1].toInt(), 7); // the photograph column
    EXPECT_EQ(anchors[1].toArray()[0].toInt(), 3); // R0003's row; R0002 has none
    EXPECT_EQ(cell(sheet, 1, 6), u"DC000101"_s);
    EXPECT_EQ(cell(sheet, 1, 4), u"FIRST COLLEGE, SUVARNAPURA"_s);
    EXPECT_EQ(sheet[u"paper"_s].toVariant().toInt(), 5);
    EXPECT_EQ(sheet[u"orientation"_s].toString(), u"landscape"_s);
    EXPECT_TRUE(
        sheet[u"header"_s].toString().contains(u"CONVOCATION LIST - BACHELOR OF SCIENCE ( APRIL 2025 EXAMINATION )"_s))
        << sheet[u"header"_s].toString().toStdString();
    EXPECT_TRUE(sheet[u"header"_s].toString().contains(u"75TH Convocation (20/12/2025)"_s));
    // The convocation's name begins with digits: they must not join the font size before it.
    EXPECT_EQ(sheet[u"headerSizes"_s].toArray(), (QJsonArray{16, 11, 14}));
}

TEST_P(StudentListSheetsTest, RankLedgerListsOnlyRankHoldersInTheirOrder)
{
    add({u"R0001"_s, u"BSC"_s, u"C001"_s, u"DC000101"_s});
    add({u"R0002"_s, u"BSC"_s, u"C001"_s, u"DC000102"_s});
    add({u"R0003"_s, u"BSC"_s, u"C001"_s});
    const QString insert = u"insert into rankreg (fdegree, fregno, frank, fconvocode, fcertno, fslno) "
                           "values ('BSC', ?, ?, 'C025', ?, ?)"_s;
    m_session.db().exec(insert, {u"R0002"_s, u"1"_s, u"RC000001"_s, 1});
    m_session.db().exec(insert, {u"R0001"_s, u"2"_s, QVariant(), 2});
    m_prompter.answer(sw::PromptAnswer::Yes);
    const QJsonObject sheet = read(reports().ledgerWorkbook(bsc()));
    EXPECT_EQ(sheet[u"rows"_s].toArray().size(), 3);
    EXPECT_EQ(cell(sheet, 1, 1), u"R0002"_s);
    EXPECT_EQ(cell(sheet, 1, 3), u"1"_s);
    EXPECT_EQ(cell(sheet, 1, 6), u"DC000102\nRC000001"_s);
    EXPECT_EQ(cell(sheet, 2, 1), u"R0001"_s);
    EXPECT_TRUE(sheet[u"header"_s].toString().contains(u" RANK LIST - "_s));
}

TEST_P(StudentListSheetsTest, NoRowsWritesNoWorkbook)
{
    EXPECT_TRUE(reports().kannadaNamesWorkbook(bsc()).isEmpty());
    EXPECT_EQ(m_prompter.last(), u"No Records found for the given range"_s);
    EXPECT_FALSE(QDir(m_session.folder.filePath(u"Output"_s)).exists()
                 && !QDir(m_session.folder.filePath(u"Output"_s)).entryList({u"*.xlsx"_s}).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Backends, StudentListSheetsTest, sw::test::bothBackends(), sw::test::backendName);

} // namespace
