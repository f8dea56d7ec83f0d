// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/letters/coveringletters.h"
#include "shell/core/dates.h"
#include "shell/core/legacytext.h"

#include "shell/core/institutionconfig.h"
#include "shell/core/prompter.h"
#include "shell/document/documentoutput.h"
#include "shell/document/documentrenderer.h"
#include "shell/document/odtwriter.h"
#include "shell/session.h"

#include <QImageReader>
#include <QTextLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

const QString kBodyFont = u"Calibri"_s;
constexpr double kBodySize = 11;
constexpr double kTableSize = 9;
constexpr double kWideTableSize = 8; // the tables of seven columns

// The letter head's lines, in points, for placing the picture and the body below it.
constexpr double kKannadaLinePoints = 24;
constexpr double kNameLinePoints = 18;
constexpr double kAddressLinePoints = 14;
constexpr double kPageLinePoints = 12;
constexpr double kPictureHeightPoints = 0.6 * kPointsPerInch;
constexpr double kGapBelowHeadPoints = 14;

// The degree's description and its speciality (selected as fdegspecial: convo has an
// fspecial of its own).
QString degreeText(const Rows &rows)
{
    const QString special = rows.text(u"fdegspecial"_s).trimmed();
    return rows.text(u"fdescpn"_s) + (special.isEmpty() ? QString() : u" ("_s + special + u')');
}

void paragraph(DocumentBuilder &b, const QString &text)
{
    b.type(text);
    b.endParagraph();
}

// A letter's opening: the salutation, the subject and its paragraph, justified.
void opening(DocumentBuilder &b, const QString &subject, const QString &body)
{
    paragraph(b, u"Sir / Madam,"_s);
    paragraph(b, {});
    paragraph(b, u"Subject: "_s + subject);
    paragraph(b, {});
    b.setAlignment(Alignment::Justify);
    paragraph(b, body);
    b.setAlignment(Alignment::Left);
    paragraph(b, {});
}

QString amountText(const QVariant &value)
{
    if (value.isNull() || value.toString().trimmed().isEmpty())
        return {};
    bool ok = false;
    const double amount = value.toDouble(&ok);
    return ok ? QString::number(amount, 'f', 2) : value.toString();
}

// The widths were chosen for the word processor's Calibri and may add up to more than
// the body between the margins: then the wide columns (degree, name) give up the
// difference, so the narrow number columns keep their width.
std::vector<double> fitted(std::vector<double> widths, double bodyInches, const std::vector<int> &wide)
{
    double total = 0;
    double wideTotal = 0;
    for (std::size_t c = 0; c < widths.size(); ++c) {
        total += widths[c];
        if (std::find(wide.begin(), wide.end(), int(c)) != wide.end())
            wideTotal += widths[c];
    }
    const double excess = total - bodyInches;
    if (excess <= 0 || wideTotal <= excess)
        return widths;
    for (int c : wide)
        widths[std::size_t(c)] *= (wideTotal - excess) / wideTotal;
    return widths;
}

// The code columns (serial, register and certificate numbers, dates) grow to their
// longest text so that none wraps; the wide columns give up what they take.
void fitCodeColumns(Table &t, const std::vector<int> &wide)
{
    // The renderer keeps 5.4 points of each cell's sides clear; a little more for safety.
    constexpr double kPaddingInches = 12.0 / kPointsPerInch;
    double taken = 0;
    double wideTotal = 0;
    for (std::size_t c = 0; c < t.columnInches.size(); ++c) {
        if (std::find(wide.begin(), wide.end(), int(c)) != wide.end()) {
            wideTotal += t.columnInches[c];
            continue;
        }
        double need = 0;
        for (const auto &row : t.rows) {
            const auto layout = layoutParagraph(row[c], 1e9, nullptr, 1, 1);
            need = std::max(need, layout->maximumWidth() / DocumentRenderer::kUnitsPerInch + kPaddingInches);
        }
        if (need > t.columnInches[c]) {
            taken += need - t.columnInches[c];
            t.columnInches[c] = need;
        }
    }
    if (taken <= 0 || wideTotal <= taken)
        return;
    for (int c : wide)
        t.columnInches[std::size_t(c)] *= (wideTotal - taken) / wideTotal;
}

void endTable(DocumentBuilder &b, Document &document, const std::vector<int> &wide)
{
    b.endTable();
    fitCodeColumns(std::get<Table>(document.flow.back()), wide);
}

void table(DocumentBuilder &b, const std::vector<double> &widths, const std::vector<int> &wide, double fontSize,
           const QStringList &heading)
{
    const PageSetup &page = b.page();
    b.setFontSize(fontSize);
    b.beginTable(fitted(widths, page.paperInches.width() - page.leftInches - page.rightInches, wide));
    b.repeatHeadingRows(1);
    for (int c = 0; c < heading.size(); ++c)
        b.cell(0, c, heading[c]);
}

} // namespace

CoveringLetters::CoveringLetters(Session &session, Prompter &prompter, PageHeaderSource header, QDate today)
    : m_session(session)
    , m_prompter(prompter)
    , m_header(std::move(header))
    , m_today(today)
{
}

QStringList CoveringLetters::kindNames()
{
    return {u"list"_s, u"college"_s, u"checklist"_s, u"student"_s, u"student-no-ack"_s};
}

std::optional<CoveringLetters::Kind> CoveringLetters::kindFromName(const QString &name)
{
    const qsizetype at = kindNames().indexOf(name.toLower());
    if (at < 0)
        return std::nullopt;
    return Kind(at);
}

QString CoveringLetters::printedCondition(const QString &order) const
{
    return u" from convo, college, degree where convo.fdegree = degree.fdegree and convo.fcollcode = college.fcollcode "
           "and convo.factive = 'T' and "_s
           + m_session.db().dialect().coalesce(u"convo.fcertno"_s, u"''"_s)
           + u" <> '' and convo.fprintdate between ? and ? and convo.fdegree between ? and ? "
             "and convo.fcollcode between ? and ? and convo.fconvocode = ? order by "_s
           + order;
}

QVariantList CoveringLetters::printedParameters(const PrintedListSelection &s) const
{
    return {s.fromDate, s.toDate, s.fromDegree, s.toDegree, s.fromCollege, s.toCollege, m_session.convoCode};
}

void CoveringLetters::noData()
{
    m_prompter.message(u"No Data found for the given for the range"_s, u"Message"_s, PromptIcon::Exclamation);
}

// --- The text list ---------------------------------------------------------------

bool CoveringLetters::dispatchList(const PrintedListSelection &s, bool ejectAtCollege, const QString &reportFile)
{
    Rows rows = m_session.db().query(u"select convo.*, college.fcollname, college.ftown, degree.fdescpn"_s
                                         + printedCondition(u"convo.fcollcode, convo.fdegree, convo.fregno"_s),
                                     printedParameters(s));
    if (!rows.next()) {
        m_prompter.message(u"No records found for the range"_s, u"Message"_s, PromptIcon::Exclamation);
        return false;
    }
    using namespace reportline;
    const auto titles = [&](const QString &college) {
        return QStringList{
            m_session.convoName + u" Convocation"_s,
            u"Certificate Printed Details : "_s + formatDmy(s.fromDate) + u" to "_s + formatDmy(s.toDate), college};
    };
    const auto collegeTitle = [&rows]() -> QString {
        return u"College: "_s + rows.text(u"fcollcode"_s) + u" - "_s
               + legacytext::withTown(rows.text(u"fcollname"_s), rows.text(u"ftown"_s));
    };
    ReportLayout layout;
    layout.titles = titles(collegeTitle());
    layout.headings = {u"  Reg. No.   Cert. no.    Reg. No.  Cert. no.     Reg. No.  Cert. no."_s};
    ReportWriter writer(reportFile, layout, m_header);

    QString college = rows.text(u"fcollcode"_s);
    QString degree;
    QString line;
    // A degree's heading goes out with its first line of numbers, so that a page never
    // ends on a heading whose numbers stand on the next.
    QStringList heading;
    int inLine = 0;
    int collegeCount = 0;
    int total = 0;
    const auto flushLine = [&] {
        if (inLine > 0)
            writer.writeRow(heading + QStringList{QString(u"  "_s + line).trimmed().prepend(u"  "_s)});
        heading.clear();
        line.clear();
        inLine = 0;
    };
    const auto closeCollege = [&] {
        flushLine();
        writer.writeRow(
            QStringList{QString(), u"  College Total ("_s + college + u") : "_s + QString::number(collegeCount)});
    };
    do {
        const QString code = rows.text(u"fcollcode"_s);
        if (code != college) {
            closeCollege();
            college = code;
            collegeCount = 0;
            degree.clear();
            if (ejectAtCollege) {
                writer.newPage(titles(collegeTitle()));
            } else {
                // The college's pages are headed with it; where it begins part-way down a
                // page, its own heading marks the change.
                writer.setTitles(titles(collegeTitle()));
                if (!writer.nextRowStartsPage())
                    writer.writeRow(QStringList{QString(), centred(collegeTitle(), layout.lineWidth)});
            }
        }
        if (rows.text(u"fdegree"_s) != degree) {
            flushLine();
            degree = rows.text(u"fdegree"_s);
            heading = QStringList{QString()} + underlined(degree + u" - "_s + rows.text(u"fdescpn"_s));
        }
        line += text(rows.text(u"fregno"_s), 11) + text(rows.text(u"fcertno"_s), 13);
        ++collegeCount;
        ++total;
        if (++inLine == 3)
            flushLine();
    } while (rows.next());
    closeCollege();
    writer.writeRow(QStringList{QString(), u"Total Certificates : "_s + QString::number(total)});
    writer.finish();
    return true;
}

// --- The documents ---------------------------------------------------------------

void CoveringLetters::startDocument(DocumentBuilder &b) const
{
    const InstitutionConfig config = InstitutionConfig::load(m_session.folder);
    const QString nameKan = config.value(u"LETTERHEAD"_s, u"NameKan"_s);
    QString name = config.value(u"LETTERHEAD"_s, u"Line1"_s);
    if (name.isEmpty())
        name = m_session.instTitle.isEmpty() ? m_session.instAddress[0] : m_session.instTitle;
    const QString address = config.value(u"LETTERHEAD"_s, u"Line2"_s);

    PageSetup &page = b.page();
    page.paperInches = PageSetup::a4();
    page.landscape = false;
    page.leftInches = page.rightInches = 0.8;
    page.bottomInches = 0.5;
    page.headerInches = 0.3;

    // "ms.jpg" as the installations spell it, in either case; no picture is no error.
    QString picture = m_session.folder.findFileAnyCase(u"ms.jpg"_s);
    QSizeF pictureSize;
    if (!picture.isEmpty()) {
        const QSize pixels = QImageReader(picture).size();
        if (pixels.isValid() && pixels.height() > 0)
            pictureSize = QSizeF(kPictureHeightPoints * pixels.width() / pixels.height(), kPictureHeightPoints);
        else
            picture.clear();
    }

    double y = page.headerInches * kPointsPerInch;
    b.beginHeader();
    b.setAlignment(Alignment::Centre);
    if (!nameKan.isEmpty()) {
        b.setFont(u"Nudi 01 k"_s, 18);
        paragraph(b, nameKan);
        y += kKannadaLinePoints;
    }
    if (!picture.isEmpty()) {
        const double width = page.pagePoints().width();
        b.headerPicture(picture,
                        QRectF((width - pictureSize.width()) / 2, y, pictureSize.width(), pictureSize.height()));
        // An empty line as tall as the picture keeps the name below it.
        b.setFont(u"Times New Roman"_s, 1);
        b.setSpaceAfter(pictureSize.height() + 2);
        b.endParagraph();
        b.setSpaceAfter(0);
        y += pictureSize.height() + 4;
    }
    b.setFont(u"Times New Roman"_s, 15, true);
    paragraph(b, name);
    b.setFont(u"Times New Roman"_s, 10);
    paragraph(b, address);
    b.setAlignment(Alignment::Right);
    b.setFont(kBodyFont, 8);
    b.type(u"Page "_s);
    b.typeField(Run::Field::PageNumber);
    b.type(u" of "_s);
    b.typeField(Run::Field::PageCount);
    b.endParagraph();
    b.endHeader();
    y += kNameLinePoints + kAddressLinePoints + kPageLinePoints + kGapBelowHeadPoints;
    // The body starts below the letter head, however tall the institution's head is.
    page.topInches = std::max(0.5, y / kPointsPerInch);

    b.setAlignment(Alignment::Left);
    b.setFont(kBodyFont, kBodySize);
}

void CoveringLetters::referenceLine(DocumentBuilder &b) const
{
    const QString prefix = InstitutionConfig::load(m_session.folder).value(u"LETTERHEAD"_s, u"ReferencePrefix"_s);
    paragraph(b, u"Ref : "_s + prefix + u"\t\t\t\t\t\tDate: "_s + formatDmy(m_today));
}

std::optional<Document> CoveringLetters::collegeLetters(const PrintedListSelection &s)
{
    Rows rows = m_session.db().query(
        u"select convo.*, college.fcollname, college.ftown, degree.fdescpn, degree.fspecial as fdegspecial"_s
            + printedCondition(u"convo.fcollcode, convo.fdegree, convo.fregno"_s),
        printedParameters(s));
    if (!rows.next()) {
        noData();
        return std::nullopt;
    }
    const QString office = InstitutionConfig::load(m_session.folder).value(u"LETTERHEAD"_s, u"SigningOffice"_s);
    Document document;
    DocumentBuilder b(document);
    startDocument(b);
    QString college;
    int count = 0;
    int row = 0;
    const auto closing = [&] {
        endTable(b, document, {1, 3});
        b.setFontSize(kBodySize);
        paragraph(b, {});
        b.setAlignment(Alignment::Right);
        paragraph(b, u"   Yours Faithfully"_s);
        paragraph(b, {});
        paragraph(b, {});
        paragraph(b, office + u' ');
        b.setAlignment(Alignment::Left);
        paragraph(b, u"Enclosed: Total "_s + QString::number(count) + u" Degree Certificates "_s);
    };
    bool first = true;
    do {
        if (first || rows.text(u"fcollcode"_s) != college) {
            if (!first) {
                closing();
                b.sectionBreak(); // each college's letter numbers its own pages
            }
            first = false;
            college = rows.text(u"fcollcode"_s);
            count = 0;
            row = 0;
            referenceLine(b);
            paragraph(b, {});
            paragraph(b, u"To,"_s);
            paragraph(b, u"The Principal/Chairman/Co-ordinator,"_s);
            paragraph(b, college + u" - "_s + rows.text(u"fcollname"_s));
            paragraph(b, rows.text(u"ftown"_s));
            paragraph(b, {});
            opening(b, u"Dispatching of the Degree certificates."_s,
                    u"With reference to the above subject, below are the details of the degree certificates of "
                    "successful candidates of your college. If there are any discrepancies in the degree "
                    "certificates, the same may be brought to the notice of the undersigned duly returning the "
                    "original degree certificate together with details of discrepancies."_s);
            table(b, {0.48, 2.24, 0.82, 2.41, 0.84}, {1, 3}, kTableSize,
                  {u"Sl.no"_s, u"Degree"_s, u"Reg.no."_s, u"Student Name"_s, u"Cert. no."_s});
        }
        ++row;
        ++count;
        b.cell(row, 0, QString::number(row));
        b.cell(row, 1, degreeText(rows));
        b.cell(row, 2, rows.text(u"fregno"_s));
        b.cell(row, 3, rows.text(u"fname"_s));
        b.cell(row, 4, rows.text(u"fcertno"_s));
    } while (rows.next());
    closing();
    return document;
}

std::optional<Document> CoveringLetters::checklist(const PrintedListSelection &s)
{
    Rows rows = m_session.db().query(
        u"select convo.*, college.fcollname, college.ftown, degree.fdescpn, degree.fspecial as fdegspecial"_s
            + printedCondition(u"convo.fcertno"_s),
        printedParameters(s));
    if (!rows.next()) {
        noData();
        return std::nullopt;
    }
    Document document;
    DocumentBuilder b(document);
    startDocument(b);
    b.setAlignment(Alignment::Centre);
    b.setBold(true);
    paragraph(b, u"Certificate Printed Details from "_s + formatDmy(s.fromDate) + u" to "_s + formatDmy(s.toDate));
    b.setBold(false);
    b.setAlignment(Alignment::Left);
    paragraph(b, {});
    table(b, {0.48, 0.61, 2.38, 0.83, 1.62, 0.81, 0.89}, {2, 4}, kWideTableSize,
          {u"Sl.no"_s, u"College"_s, u"Degree"_s, u"Reg.no."_s, u"Student Name"_s, u"Cert. no."_s, u"Printed Date"_s});
    int row = 0;
    do {
        ++row;
        b.cell(row, 0, QString::number(row));
        b.cell(row, 1, rows.text(u"fcollcode"_s));
        b.cell(row, 2, degreeText(rows));
        b.cell(row, 3, rows.text(u"fregno"_s));
        b.cell(row, 4, rows.text(u"fname"_s));
        b.cell(row, 5, rows.text(u"fcertno"_s));
        b.cell(row, 6, formatDmy(rows.date(u"fprintdate"_s)));
    } while (rows.next());
    endTable(b, document, {2, 4});
    b.setFontSize(kBodySize);
    paragraph(b, {});
    paragraph(b, u"Total No. of Certificates : "_s + QString::number(row));
    return document;
}

std::optional<Document> CoveringLetters::studentLetters(const PrintedListSelection &s)
{
    return studentLetters(s, true);
}

std::optional<Document> CoveringLetters::studentLettersWithoutAck(const PrintedListSelection &s)
{
    return studentLetters(s, false);
}

std::optional<Document> CoveringLetters::studentLetters(const PrintedListSelection &s, bool acknowledgement)
{
    // The candidate's name and certificate come from convo, the postal details from
    // the fee record: only candidates with one get a letter.
    Rows rows = m_session.db().query(
        u"select convo.fregno, convo.fname, convo.fcertno, convo.fcollcode, convo.fdegree, convofee.fappno, "
        "convofee.faddr1, convofee.faddr2, convofee.faddr3, convofee.faddr4, convofee.fcity, convofee.fstate, "
        "convofee.fpincode, convofee.fmobile, convofee.fscheme, convofee.famount, college.fcollname, college.ftown, "
        "degree.fdescpn, degree.fspecial as fdegspecial from convo, college, degree, convofee where convo.fdegree = "
        "degree.fdegree "
        "and convo.fcollcode = college.fcollcode and convo.factive = 'T' and "_s
            + m_session.db().dialect().coalesce(u"convo.fcertno"_s, u"''"_s)
            + u" <> '' and convo.fprintdate between ? and ? and convo.fdegree between ? and ? "
              "and convo.fcollcode between ? and ? and convo.fregno = convofee.fregno and convo.fconvocode = ? "
              "order by convo.fcollcode, convo.fdegree, convo.fregno"_s,
        printedParameters(s));
    if (!rows.next()) {
        noData();
        return std::nullopt;
    }
    Document document;
    DocumentBuilder b(document);
    startDocument(b);
    bool first = true;
    do {
        if (!first)
            b.sectionBreak(); // each candidate's letter numbers its own pages
        first = false;
        referenceLine(b);
        paragraph(b, {});
        paragraph(b, u"To,"_s);
        paragraph(b, u"Mr / Mrs "_s + rows.text(u"fname"_s) + u" ["_s + rows.text(u"fappno"_s) + u']');
        for (const QString &column : {u"faddr1"_s, u"faddr2"_s, u"faddr3"_s, u"faddr4"_s, u"fcity"_s, u"fstate"_s}) {
            const QString line = rows.text(column).trimmed();
            if (!line.isEmpty())
                paragraph(b, line);
        }
        paragraph(b, u"Pincode: "_s + rows.text(u"fpincode"_s));
        paragraph(b, u"Mobile: "_s + rows.text(u"fmobile"_s));
        paragraph(b, {});
        opening(b, u"Dispatching of the Degree certificate."_s,
                u"With reference to the above subject, below are the details of the degree certificate. If there "
                "are any discrepancies in the degree certificate, the same may be brought to the notice of the "
                "undersigned duly returning the original degree certificate together with details of "
                "discrepancies within 30 days."_s);
        table(b, {0.46, 2.2, 0.78, 2.4, 0.78, 0.67, 0.67}, {1, 3}, kWideTableSize,
              {u"Sl.no"_s, u"Degree"_s, u"Reg.no."_s, u"Student Name"_s, u"Cert. no."_s, u"Quota"_s, u"Amount"_s});
        b.cell(1, 0, u"1"_s);
        b.cell(1, 1, degreeText(rows));
        b.cell(1, 2, rows.text(u"fregno"_s));
        b.cell(1, 3, rows.text(u"fname"_s));
        b.cell(1, 4, rows.text(u"fcertno"_s));
        b.cell(1, 5, rows.text(u"fscheme"_s));
        b.cell(1, 6, amountText(rows.value(u"famount"_s)));
        endTable(b, document, {1, 3});
        b.setFontSize(kBodySize);
        paragraph(b, {});
        b.setAlignment(Alignment::Right);
        paragraph(b, u"    Yours Faithfully"_s);
        b.setAlignment(Alignment::Left);
        if (acknowledgement) {
            paragraph(b, {});
            b.setFontSize(9);
            paragraph(b, QString(142, u'-'));
            b.setFontSize(kBodySize);
            b.setAlignment(Alignment::Centre);
            b.setBold(true);
            paragraph(b, u"Office Copy"_s);
            b.setBold(false);
            b.setAlignment(Alignment::Left);
            referenceLine(b);
        }
    } while (rows.next());
    return document;
}

bool CoveringLetters::writeDocument(Kind kind, const PrintedListSelection &s, const QString &odtPath,
                                    const QString &pdfPath)
{
    std::optional<Document> document;
    switch (kind) {
    case Kind::College: document = collegeLetters(s); break;
    case Kind::Checklist: document = checklist(s); break;
    case Kind::Student: document = studentLetters(s); break;
    case Kind::StudentWithoutAck: document = studentLettersWithoutAck(s); break;
    case Kind::List: break;
    }
    if (!document)
        return false;
    if (!odtPath.isEmpty())
        OdtWriter::write(*document, odtPath);
    if (!pdfPath.isEmpty())
        documentoutput::writePdf(*document, pdfPath);
    m_prompter.message(u"Report Generated Successfully"_s, u"Report generation"_s, PromptIcon::Information);
    return true;
}

} // namespace sw
