// SPDX-License-Identifier: GPL-3.0-or-later
// The depository workbooks read back by openpyxl, sheet by sheet and cell by cell.
#include "../lists/listfixture.h"
#include "reports/nad/nadexport.h"
#include "resulttables.h"
#include "shell/core/stoperror.h"
#include "support/python.h"
#include "support/signing.h"
#include "support/stoptext.h"

#include <QDir>
#include <QJsonArray>

using namespace Qt::StringLiterals;
using sw::test::TestBackend;

// Failures print texts as texts.
inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }

namespace {

const QString kReadBook = uR"PY(
import json, sys
import openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
out = {'sheets': wb.sheetnames}
for ws in wb.worksheets:
    rows = []
    formats = {}
    bold = []
    for row in ws.iter_rows():
        rows.append([c.value for c in row])
        for c in row:
            if c.value is not None and c.number_format != 'General':
                formats[c.coordinate] = c.number_format
            if c.value is not None and c.font.b:
                bold.append(c.coordinate)
    m = ws.page_margins
    out[ws.title] = {'rows': rows, 'formats': formats, 'bold': bold,
                     'titles': ws.print_title_rows or '',
                     'header': ws.oddHeader.left.text or '', 'footer': ws.oddFooter.center.text or '',
                     'margins': [m.left, m.right, m.top, m.bottom, m.header]}
print(json.dumps(out))
)PY"_s;

// Reads one cell of a sheet dump: null reads as an invalid value.
QJsonValue at(const QJsonObject &sheet, int row, int column)
{
    const QJsonArray rows = sheet[u"rows"_s].toArray();
    if (row >= rows.size())
        return {};
    const QJsonArray cells = rows[row].toArray();
    return column < cells.size() ? cells[column] : QJsonValue();
}

// The cells of `columns` in one row of a sheet dump, in that order.
QJsonArray cells(const QJsonObject &sheet, int row, std::initializer_list<int> columns)
{
    QJsonArray out;
    for (int column : columns)
        out.append(at(sheet, row, column));
    return out;
}

// A row written as its cells joined by '|'; an empty cell is an empty one in the sheet.
QJsonArray row(const QString &cells)
{
    QJsonArray out;
    for (const QString &cell : cells.split(u'|'))
        out.append(cell.isEmpty() ? QJsonValue() : QJsonValue(cell));
    return out;
}

class NadExportTest : public sw::test::ListFixture
{
protected:
    void SetUp() override
    {
        ListFixture::SetUp();
        if (IsSkipped() || !m_installed)
            return;
        if (!sw::ThrowAwaySigner::certutilAvailable())
            GTEST_SKIP() << "certutil (libnss3-tools) is not installed";
        sw::test::configureSigning(m_session.folder);
        m_session.instCode = u"003"_s;
        sw::Database &db = m_session.db();
        db.exec(u"update control set fnadid = 'NAD000123'"_s);
        db.exec(u"update degree set fcoursecode = 'CRS-BSC', feventid = 'EV1', fcredit = 'T' where fdegree = 'BSC'"_s);
        db.exec(
            u"update degree set fcoursecode = 'CRS-MSC', feventid = 'EV2', fcredit = 'F' where fdegree = 'MSCPH'"_s);
        db.exec(u"insert into class (fclasscode, fclassdesc) values ('FC', 'FIRST CLASS')"_s);
        QDir().mkpath(m_session.folder.filePath(u"CSV/DCPDF"_s));
    }

    // A printed candidate (fexamdate 'APRIL 2025', year 2025, exam type 1, issued 20/12/2025) with its PDF copy.
    void printed(const QString &regno, const QString &degree, const QString &college, const QString &certNo,
                 bool withCopy = true)
    {
        add({regno, degree, college, certNo});
        if (withCopy)
            copy(u"DC_"_s + m_session.instCode + u'_' + regno + u"_F_2025_1.pdf"_s);
    }
    // A PDF copy; 003's rows name the signed copy, so for 003 it is signed too unless told otherwise.
    void copy(const QString &name, bool sign = true)
    {
        const QString path = m_session.folder.filePath(u"CSV/DCPDF/"_s + name);
        ASSERT_TRUE(sw::test::writeBytes(path, sw::test::smallPdf(name)));
        if (!sign || m_session.instCode != u"003"_s)
            return;
        if (!m_signer) {
            m_prompter.answerInput(sw::test::testSigner().pin);
            m_signer = std::make_unique<sw::PdfSigner>(sw::SignatureSettings::load(m_session.folder), m_prompter);
            m_signer->open();
        }
        const QFileInfo info(path);
        m_signer->signFile(path, info.dir().filePath(info.completeBaseName() + u"_signed."_s + info.suffix()));
    }
    // Every file the workbook's imageName column names, that is not in CSV/DCPDF.
    QStringList namedButAbsent(const QJsonObject &sheet)
    {
        constexpr int kImageName = 69;
        QStringList absent;
        const QJsonArray rows = sheet[u"rows"_s].toArray();
        for (int r = 1; r < rows.size(); ++r) {
            const QString name = at(sheet, r, kImageName).toString();
            if (m_session.folder.findFileAnyCase(u"CSV/DCPDF/"_s + name).isEmpty())
                absent << name;
        }
        return absent;
    }
    static sw::NadSelection all() { return everything<sw::NadSelection>(); }
    QString out(const QString &name = u"nad.xlsx"_s) { return m_dir.filePath(name); }
    QJsonObject read(const QString &path) { return sw::test::runPython(kReadBook, {path}); }

    std::unique_ptr<sw::PdfSigner> m_signer;
};

TEST_P(NadExportTest, CdslSheetsHoldOneRowPerCertificateWithACopy)
{
    printed(u"R0001"_s, u"BSC"_s, u"C001"_s, u"DC000101"_s);
    printed(u"R0002"_s, u"BSC"_s, u"C002"_s, u"DC000102"_s, false); // no PDF copy
    printed(u"R0003"_s, u"MSCPH"_s, u"C001"_s, u"DC000103"_s, false);
    copy(u"dc_003_R0003_F_2025_1.PDF"_s);                                 // made where case does not count
    add({u"R0004"_s, u"BSC"_s, u"C001"_s});                               // not printed
    add({u"R0005"_s, u"BSC"_s, u"C001"_s, u"DC000099"_s, {}, u"C024"_s}); // another convocation
    copy(u"DC_003_R0004_F_2025_1.pdf"_s);
    copy(u"DC_003_R0005_F_2025_1.pdf"_s);
    // The student's ABC ID goes into NADID, the layout's student account column; R0003 has none yet.
    m_session.db().exec(u"update convo set fabcid = '012345678901' where fregno = 'R0001'"_s);

    sw::NadExport run(m_session);
    EXPECT_EQ(run.Gen_NAD_Report_CDSL(all(), out()), 2);
    const QJsonObject book = read(out());
    EXPECT_EQ(book[u"sheets"_s].toArray(), (QJsonArray{u"HEAD"_s, u"SHEET_01"_s, u"TAIL"_s}));

    const QJsonObject head = book[u"HEAD"_s].toObject();
    EXPECT_EQ(head[u"rows"_s].toArray(),
              (QJsonArray{QJsonArray{u"BatchNo"_s, u"AI_NAD_Code"_s}, QJsonArray{1, u"NAD000123"_s}}));
    EXPECT_EQ(head[u"bold"_s].toArray(), (QJsonArray{u"A1"_s, u"B1"_s}));

    const QJsonObject sheet = book[u"SHEET_01"_s].toObject();
    ASSERT_EQ(sheet[u"rows"_s].toArray().size(), 3);
    const QJsonArray names = sheet[u"rows"_s].toArray()[0].toArray();
    ASSERT_EQ(names.size(), 84);
    EXPECT_EQ(cells(sheet, 0, {0, 14, 28, 60, 69, 70, 83}),
              (QJsonArray{u"yearofExam"_s, u"eventID"_s, u"name"_s, u"resDescNAD"_s, u"imageName"_s, u"publishDate"_s,
                          u"thesis"_s}));
    EXPECT_EQ(sheet[u"bold"_s].toArray().size(), 84);

    // Row 2: the BSC (credit) candidate; row 3 the MSC one, in degree, college, register order.
    EXPECT_EQ(cells(sheet, 1, {0, 1, 2, 5, 14, 19, 20, 21, 22, 23, 24, 25, 28}),
              (QJsonArray{u"2025"_s, QJsonValue(), u"APR"_s, u"CRS-BSC"_s, u"EV1"_s, u"I"_s, u"O"_s, 1, u"Reg. No."_s,
                          u"R0001"_s, u"Reg. No."_s, u"R0001"_s, u"NAME OF R0001"_s}));
    EXPECT_EQ(cells(sheet, 1, {30, 31, 33, 34, 35, 36}),
              (QJsonArray{u"X"_s, QJsonValue(), u"X"_s, u"X"_s, u"X"_s, u"X"_s}));
    // The credit degree gives its grade (column 63), the marks degree its class (64).
    EXPECT_EQ(cells(sheet, 1, {60, 63, 64, 69, 70}),
              (QJsonArray{u"Pass"_s, u"FIRST CLASS"_s, QJsonValue(), u"DC_003_R0001_F_2025_1_signed.pdf"_s,
                          u"2025-12-20 00:00:00"_s}));
    // Text, so the leading zero stays and a spreadsheet does not show it as 1.2E+10.
    EXPECT_EQ(cells(sheet, 0, {27}), (QJsonArray{u"NADID"_s}));
    EXPECT_EQ(cells(sheet, 1, {27}), (QJsonArray{u"012345678901"_s}));
    EXPECT_EQ(cells(sheet, 2, {27}), (QJsonArray{QJsonValue()}));
    EXPECT_EQ(cells(sheet, 2, {5, 21, 23, 63, 64}),
              (QJsonArray{u"CRS-MSC"_s, 2, u"R0003"_s, QJsonValue(), u"FIRST CLASS"_s}));
    EXPECT_EQ(sheet[u"formats"_s][u"BS2"_s], u"@"_s);
    EXPECT_EQ(sheet[u"formats"_s][u"BS3"_s], u"@"_s);
    EXPECT_EQ(sheet[u"formats"_s].toObject().size(), 2) << "only publishDate is text-formatted";

    EXPECT_EQ(sheet[u"titles"_s], u"$1:$1"_s);
    EXPECT_EQ(sheet[u"header"_s].toString(), u"&D"_s);
    EXPECT_EQ(sheet[u"footer"_s].toString(), u"&P"_s);
    EXPECT_EQ(sheet[u"margins"_s].toArray(), (QJsonArray{0.25, 0.25, 0.5, 0.5, 0.25}));

    const QJsonObject tail = book[u"TAIL"_s].toObject();
    EXPECT_EQ(tail[u"rows"_s].toArray(),
              (QJsonArray{QJsonArray{u"AWARD_TOTAL_REC"_s, u"AWARD_XMLVer"_s}, QJsonArray{2, 1}}));

    ASSERT_EQ(run.missingCopies().size(), 1u);
    EXPECT_EQ(run.missingCopies()[0].regno, u"R0002"_s);
    EXPECT_TRUE(run.missingMessage(out()).startsWith(u"1 certificate(s) left out: no PDF copy in CSV/DCPDF (R0002)"_s))
        << run.missingMessage(out()).toStdString();
    const QStringList list = readLines(sw::NadExport::missingListPath(out()));
    EXPECT_EQ(list.value(1), u"R0002,BSC,C002,DC000102,DC_003_R0002_F_2025_1.pdf,no PDF copy"_s);
    EXPECT_EQ(namedButAbsent(sheet), QStringList());
}

// Issue: the workbook named DC_..._signed.pdf for copies never signed, and said nothing.
// A copy without its signed copy is left out and listed, with the message the clerk sees.
TEST_P(NadExportTest, CdslLeavesOutACopyThatWasNeverSignedAndSaysSo)
{
    printed(u"R0001"_s, u"BSC"_s, u"C001"_s, u"DC000101"_s);
    printed(u"R0002"_s, u"BSC"_s, u"C001"_s, u"DC000102"_s, false);
    copy(u"DC_003_R0002_F_2025_1.pdf"_s, false);
    printed(u"R0003"_s, u"BSC"_s, u"C001"_s, u"DC000103"_s, false);

    sw::NadExport run(m_session);
    EXPECT_EQ(run.Gen_NAD_Report_CDSL(all(), out()), 1);
    const QJsonObject sheet = read(out())[u"SHEET_01"_s].toObject();
    EXPECT_EQ(at(sheet, 1, 69), u"DC_003_R0001_F_2025_1_signed.pdf"_s);
    EXPECT_EQ(namedButAbsent(sheet), QStringList());

    ASSERT_EQ(run.missingCopies().size(), 2u);
    EXPECT_EQ(run.missingCopies()[0].reason, u"not signed"_s);
    EXPECT_EQ(run.missingCopies()[1].reason, u"no PDF copy"_s);
    const QString said = run.missingMessage(out());
    EXPECT_TRUE(said.contains(u"1 certificate(s) left out: no PDF copy in CSV/DCPDF (R0003)."_s)) << said.toStdString();
    EXPECT_TRUE(said.contains(u"1 certificate(s) left out: the PDF copy is not signed"_s)) << said.toStdString();
    EXPECT_TRUE(said.contains(u"(R0002)"_s)) << said.toStdString();
    const QStringList list = readLines(sw::NadExport::missingListPath(out()));
    EXPECT_EQ(list.value(1), u"R0002,BSC,C001,DC000102,DC_003_R0002_F_2025_1_signed.pdf,not signed"_s);
}

// The regional-language name columns stay empty as the layout has them, or hold the
// Kannada names' Unicode reading when asked; the stored codes stay as they were.
TEST_P(NadExportTest, CdslRegionalNamesAreTheKannadaNamesInUnicodeWhenAsked)
{
    printed(u"R0001"_s, u"BSC"_s, u"C001"_s, u"DC000101"_s);
    m_session.db().exec(u"update convo set fnamekan = ?, ffatnamekan = ? where fregno = 'R0001'"_s,
                        {u"D£ÀAzï"_s, u"gÁªÀÄ"_s});
    constexpr int kNameR = 29, kFatherNameR = 47, kMotherNameR = 49;
    for (const bool unicode : {false, true}) {
        sw::NadSelection s = all();
        s.unicodeKannada = unicode;
        ASSERT_EQ(sw::NadExport(m_session).Gen_NAD_Report_CDSL(s, out()), 1);
        const QJsonObject sheet = read(out())[u"SHEET_01"_s].toObject();
        const QJsonArray names = sheet[u"rows"_s].toArray()[0].toArray();
        EXPECT_EQ(names[kNameR], u"nameR"_s);
        EXPECT_EQ(names[kFatherNameR], u"fatherNameR"_s);
        EXPECT_EQ(names[kMotherNameR], u"motherNameR"_s);
        EXPECT_EQ(at(sheet, 1, kNameR), unicode ? QJsonValue(u"ಆನಂದ್"_s) : QJsonValue()) << unicode;
        EXPECT_EQ(at(sheet, 1, kFatherNameR), unicode ? QJsonValue(u"ರಾಮ"_s) : QJsonValue()) << unicode;
        EXPECT_EQ(at(sheet, 1, kMotherNameR), QJsonValue()) << "no mother's name in Kannada";
    }
    EXPECT_EQ(m_session.db().scalar(u"select fnamekan from convo where fregno = 'R0001'"_s).toString(), u"D£ÀAzï"_s);
}

TEST_P(NadExportTest, CdslOfOtherInstitutionsGivesTheClassAndTheUnsignedName)
{
    m_session.instCode = u"008"_s;
    printed(u"R0001"_s, u"BSC"_s, u"C001"_s, u"DC000101"_s);
    sw::NadExport run(m_session);
    ASSERT_EQ(run.Gen_NAD_Report_CDSL(all(), out()), 1);
    const QJsonObject sheet = read(out())[u"SHEET_01"_s].toObject();
    EXPECT_EQ(cells(sheet, 1, {60, 63, 64, 69}),
              (QJsonArray{u"FIRST CLASS"_s, QJsonValue(), QJsonValue(), u"DC_008_R0001_F_2025_1.pdf"_s}));
    EXPECT_TRUE(run.missingMessage(out()).isEmpty());
    EXPECT_FALSE(QFile::exists(sw::NadExport::missingListPath(out())));
}

TEST_P(NadExportTest, CdslWithoutAnyCopyHasOnlyItsHeaderAndAZeroTotal)
{
    printed(u"R0001"_s, u"BSC"_s, u"C001"_s, u"DC000101"_s, false);
    printed(u"R0002"_s, u"BSC"_s, u"C002"_s, u"DC000102"_s, false);
    sw::NadExport run(m_session);
    EXPECT_EQ(run.Gen_NAD_Report_CDSL(all(), out()), 0);
    const QJsonObject book = read(out());
    EXPECT_EQ(book[u"SHEET_01"_s][u"rows"_s].toArray().size(), 1);
    EXPECT_EQ(at(book[u"TAIL"_s].toObject(), 1, 0), 0);
    EXPECT_EQ(run.missingCopies().size(), 2u);
    EXPECT_EQ(readLines(sw::NadExport::missingListPath(out())).size(), 4); // heading, two rows, final newline
}

TEST_P(NadExportTest, CdslRangesLimitDegreesAndColleges)
{
    printed(u"R0001"_s, u"BSC"_s, u"C001"_s, u"DC000101"_s);
    printed(u"R0002"_s, u"BSC"_s, u"C002"_s, u"DC000102"_s);
    printed(u"R0003"_s, u"MSCPH"_s, u"C002"_s, u"DC000103"_s);
    sw::NadSelection s{u"BSC"_s, {}, u"C002"_s, u"C002"_s};
    s.normaliseRanges();
    EXPECT_EQ(s.toDegree, u"BSC"_s);
    sw::NadExport run(m_session);
    ASSERT_EQ(run.Gen_NAD_Report_CDSL(s, out()), 1);
    EXPECT_EQ(at(read(out())[u"SHEET_01"_s].toObject(), 1, 23), u"R0002"_s);

    sw::NadSelection zero{u"0"_s, u"X"_s, {}, u"C001"_s};
    zero.normaliseRanges();
    EXPECT_EQ((QStringList{zero.fromDegree, zero.toDegree, zero.fromCollege, zero.toCollege}),
              (QStringList{u"0000"_s, u"ZZZZ"_s, u"0000"_s, u"ZZZZ"_s}));
}

// A refused export names what is missing and leaves the previous workbook untouched.
TEST_P(NadExportTest, CdslRefusalsWriteNothing)
{
    QFile previous(out());
    ASSERT_TRUE(previous.open(QIODevice::WriteOnly));
    previous.write("yesterday's workbook");
    previous.close();
    sw::NadExport run(m_session);
    const auto untouched = [&] {
        QFile f(out());
        return f.open(QIODevice::ReadOnly) && f.readAll() == "yesterday's workbook";
    };

    EXPECT_EQ(sw::test::stopText([&] { run.Gen_NAD_Report_CDSL(all(), out()); }),
              u"No students found for the given range"_s);
    EXPECT_TRUE(untouched());

    printed(u"R0001"_s, u"BSC"_s, u"C001"_s, u"DC000101"_s);
    printed(u"R0002"_s, u"MSCPH"_s, u"C001"_s, u"DC000102"_s);
    m_session.db().exec(u"update control set fnadid = '  '"_s);
    EXPECT_TRUE(sw::test::stopText([&] { run.Gen_NAD_Report_CDSL(all(), out()); }).contains(u"control.fnadid"_s));
    EXPECT_TRUE(untouched());

    m_session.db().exec(u"update control set fnadid = 'NAD000123'"_s);
    m_session.db().exec(u"update degree set fcoursecode = null where fdegree = 'BSC'"_s);
    m_session.db().exec(u"update degree set feventid = '' where fdegree = 'MSCPH'"_s);
    const QString text = sw::test::stopText([&] { run.Gen_NAD_Report_CDSL(all(), out()); });
    EXPECT_TRUE(text.contains(u"degree BSC has no course code"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"degree MSCPH has no event id"_s)) << text.toStdString();
    EXPECT_TRUE(untouched());
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{u"nad.xlsx"_s});

    // A degree outside the range does not stop the export of the others.
    sw::NadSelection mscOnly{u"MSCPH"_s, {}, {}, {}};
    mscOnly.normaliseRanges();
    EXPECT_TRUE(sw::test::stopText([&] { run.Gen_NAD_Report_CDSL(mscOnly, out()); }).contains(u"MSCPH"_s));
    m_session.db().exec(u"update degree set feventid = 'EV2' where fdegree = 'MSCPH'"_s);
    EXPECT_EQ(run.Gen_NAD_Report_CDSL(mscOnly, out()), 1);
}

// --- NSDL ------------------------------------------------------------------------

class NsdlTest : public NadExportTest
{
protected:
    void SetUp() override
    {
        NadExportTest::SetUp();
        if (IsSkipped() || !m_installed)
            return;
        sw::test::addDegreeResultColumns(m_session.db());
        sw::test::createResultTables(m_session.db());
    }
};

TEST_P(NsdlTest, ProgramAndDataSheetsFromTheResultTables)
{
    sw::Database &db = m_session.db();
    const auto student = [&db](auto &&...args) { sw::test::addStudent(db, args...); };
    const auto result = [&db](auto &&...args) { sw::test::addResult(db, args...); };
    db.exec(u"insert into reason (freasoncd, fdescpn) values ('1', 'FIRST CLASS WITH DISTINCTION')"_s);
    for (const QString &regno : {u"S001"_s, u"S002"_s, u"S003"_s, u"S004"_s, u"S005"_s, u"S006"_s})
        student(regno);
    student(u"M001"_s, u"MSCPH"_s);
    result(u"A"_s, u"S002"_s, u"P"_s, u"1"_s);                 // pass with a class of the reasons
    result(u"C"_s, u"S001"_s, u"P"_s, u"0"_s);                 // pass without a class: "Pass"
    result(u"J"_s, u"S003"_s, u"F"_s, u"0"_s);                 // fail
    result(u"B"_s, u"S004"_s, u"W"_s, u"0"_s);                 // withheld: left out
    result(u"B"_s, u"S005"_s, u"P"_s, u"1"_s, u"T"_s, u"F"_s); // inactive: left out
    result(u"E"_s, u"S006"_s, u"P"_s, u"1"_s, u"F"_s);         // pass, not eligible: "Pass"
    result(u"D"_s, u"M001"_s, u"P"_s, u"1"_s, u"T"_s, u"T"_s, u"MSCPH"_s);
    // The image names come from Photos/; a picture left in the folder itself is no photograph.
    ASSERT_TRUE(QDir(m_session.folder.root()).mkpath(u"Photos"_s));
    for (const QString &file : {u"Photos/S001.JPG"_s, u"Photos/S002.bmp"_s, u"S003.jpg"_s, u"S006.bmp"_s}) {
        QFile picture(m_session.folder.filePath(file));
        ASSERT_TRUE(picture.open(QIODevice::WriteOnly));
    }

    sw::NadExport run(m_session);
    EXPECT_EQ(run.Gen_NAD_Report_NSDL(false, out()), 5);
    const QJsonObject book = read(out());
    EXPECT_EQ(book[u"sheets"_s].toArray(), (QJsonArray{u"Program"_s, u"Data"_s}));

    const QJsonObject program = book[u"Program"_s].toObject();
    EXPECT_EQ(program[u"rows"_s].toArray()[0].toArray().size(), 13);
    EXPECT_EQ(at(program, 0, 0), u"Sr No"_s);
    EXPECT_EQ(at(program, 0, 12), u"Language Medium"_s);
    EXPECT_EQ(program[u"rows"_s].toArray()[1].toArray(),
              (QJsonArray{1, u"BACHELOR OF SCIENCE"_s, u"BSC"_s, QJsonValue(), u"Full Time"_s, u"Discipline"_s,
                          u"Department"_s, u"Faculty"_s, u"Course Duration in Years"_s, u"Course Duration in Months"_s,
                          u"Annual / Semester"_s, u"CGPA"_s, u"English"_s}));
    EXPECT_EQ(cells(program, 2, {0, 2, 11}), (QJsonArray{2, u"MSCPH"_s, u"Marks"_s}));
    EXPECT_EQ(program[u"titles"_s], u"$1:$1"_s);
    EXPECT_EQ(program[u"footer"_s].toString(), u"&P"_s);

    const QJsonObject data = book[u"Data"_s].toObject();
    const QJsonArray rows = data[u"rows"_s].toArray();
    ASSERT_EQ(rows.size(), 6);
    EXPECT_EQ(rows[0].toArray().size(), 24);
    EXPECT_EQ(cells(data, 0, {0, 19, 23}), (QJsonArray{u"AI Code"_s, u"Result"_s, u"Signature"_s}));
    EXPECT_EQ(data[u"bold"_s].toArray().size(), 24);
    EXPECT_EQ(rows[1].toArray(),
              row(u"|BSC|APRIL 2025|APRIL 2025|VI SEMESTER|STUDENT S001|S001|01/02/2003|9876543210|"
                  "s001@mail.in|INDIAN|HINDU|F|GM||C001|FIRST COLLEGE, SUVARNAPURA||CGPA|8.10 / Pass||"
                  "S001.jpg||"_s));
    EXPECT_EQ(cells(data, 2, {6, 19, 21, 22}),
              (QJsonArray{u"S002"_s, u"8.10 / FIRST CLASS WITH DISTINCTION"_s, QJsonValue(), u"S002.bmp"_s}));
    // S003.jpg and S006.bmp are not under Photos/: no image name.
    EXPECT_EQ(cells(data, 3, {6, 19, 21}), (QJsonArray{u"S003"_s, u"8.10 / Fail"_s, QJsonValue()}));
    EXPECT_EQ(cells(data, 4, {6, 19, 22}), (QJsonArray{u"S006"_s, u"8.10 / Pass"_s, QJsonValue()}));
    EXPECT_EQ(cells(data, 5, {1, 18, 19}),
              (QJsonArray{u"MSCPH"_s, u"Marks"_s, u"72.50 / FIRST CLASS WITH DISTINCTION"_s}));

    // A second export on the same connection finds the temporary table of the first.
    EXPECT_EQ(run.Gen_NAD_Report_NSDL(true, out()), 3);
    const QJsonArray passes = read(out())[u"Data"_s][u"rows"_s].toArray();
    ASSERT_EQ(passes.size(), 4);
    EXPECT_EQ(passes[1].toArray()[6], u"S001"_s);
    EXPECT_EQ(passes[2].toArray()[6], u"S002"_s);
    EXPECT_EQ(passes[3].toArray()[6], u"M001"_s);
}

TEST_P(NsdlTest, WithoutResultsTheDataSheetHasItsHeaderOnly)
{
    sw::NadExport run(m_session);
    EXPECT_EQ(run.Gen_NAD_Report_NSDL(false, out()), 0);
    const QJsonObject book = read(out());
    EXPECT_EQ(book[u"Data"_s][u"rows"_s].toArray().size(), 1);
    EXPECT_EQ(book[u"Program"_s][u"rows"_s].toArray().size(), 3);
}

TEST_P(NadExportTest, NsdlNamesAMissingResultTableOrColumnIsNamed)
{
    sw::Database &db = m_session.db();
    sw::NadExport run(m_session);
    QString text = sw::test::stopText([&] { run.Gen_NAD_Report_NSDL(false, out()); });
    EXPECT_TRUE(text.contains(u"the table student is missing"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"the table resultJ is missing"_s)) << text.toStdString();
    EXPECT_TRUE(
        text.contains(u"the table degree has no column fexamno, fyear, fexamtype, fexamdate, fexamname, fmaxtype"_s))
        << text.toStdString();

    sw::test::addDegreeResultColumns(db);
    sw::test::createResultTables(db, {u"resultC"_s, u"student.fgroup"_s});
    text = sw::test::stopText([&] { run.Gen_NAD_Report_NSDL(false, out()); });
    EXPECT_EQ(text, u"The NSDL layout reads the examination-result tables of this database, and the table student has "
                    "no column fgroup; the table resultC is missing."_s);
    EXPECT_FALSE(QFile::exists(out()));
    EXPECT_TRUE(QDir(m_dir.path()).entryList(QDir::Files).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Backends, NadExportTest, sw::test::bothBackends(), sw::test::backendName);
INSTANTIATE_TEST_SUITE_P(Backends, NsdlTest, sw::test::bothBackends(), sw::test::backendName);

} // namespace
