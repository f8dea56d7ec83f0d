// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/labels/addresslabels.h"

#include "reports/lists/ranges.h"
#include "shell/core/prompter.h"
#include "shell/document/documentoutput.h"
#include "shell/document/odtwriter.h"
#include "shell/session.h"

using namespace Qt::StringLiterals;

namespace sw {

void LabelSelection::normaliseRanges()
{
    printed.normaliseRanges();
    // Certificate numbers are a prefix and six digits: "0" to "ZZZ..." covers them all.
    ranges::complete(fromCertNo, toCertNo, u"0"_s, u"ZZZZZZZZZZZZZZZZZZZZ"_s);
}

AddressLabels::AddressLabels(Session &session, Prompter &prompter)
    : m_session(session)
    , m_prompter(prompter)
{
}

namespace {

// Whether `part` stands in `line` as whole words: "Suvarnapura" in "Ward 3, Suvarnapura".
bool holdsWords(const QString &line, const QString &part)
{
    const QString simplified = line.simplified();
    const qsizetype at = simplified.indexOf(part.simplified(), 0, Qt::CaseInsensitive);
    if (part.simplified().isEmpty() || at < 0)
        return false;
    const qsizetype end = at + part.simplified().size();
    return (at == 0 || !simplified.at(at - 1).isLetterOrNumber())
           && (end == simplified.size() || !simplified.at(end).isLetterOrNumber());
}

} // namespace

QString AddressLabels::labelText(const Rows &row)
{
    QStringList lines{row.text(u"fname"_s).trimmed().toUpper()};
    auto add = [&lines](const QString &text) {
        const QString line = text.trimmed();
        const bool already = std::any_of(lines.begin(), lines.end(),
                                         [&line](const QString &earlier) { return holdsWords(earlier, line); });
        if (!line.isEmpty() && !already)
            lines << line;
    };
    for (const QString &column : {u"faddr1"_s, u"faddr2"_s, u"faddr3"_s, u"faddr4"_s, u"fcity"_s, u"fstate"_s})
        add(row.text(column));
    if (const QString pin = row.text(u"fpincode"_s).trimmed(); !pin.isEmpty())
        lines << u"Pincode - "_s + pin;
    if (const QString mobile = row.text(u"fmobile"_s).trimmed(); !mobile.isEmpty())
        lines << u"Mobile : "_s + mobile;
    lines << u"Reg. No: "_s + row.text(u"fregno"_s).trimmed() + u'\t' + u"Cert. No: "_s
                 + row.text(u"fcertno"_s).trimmed();
    if (row.text(u"fscheme"_s) == u"Tatkal"_s)
        lines.append(u"[Tatkal]"_s);
    return lines.join(u'\n');
}

std::optional<Document> AddressLabels::compose(const LabelSelection &s)
{
    const Database &db = m_session.db();
    const SqlDialect &d = db.dialect();
    const PrintedListSelection &p = s.printed;
    QString sql =
        u"select a.*, c.fcertno from convo c, convofee a where a.fregno = c.fregno and c.factive = 'T' and "_s
        + d.coalesce(u"c.fcertno"_s, u"''"_s)
        + u" <> '' and c.fprintdate between ? and ? and c.fdegree between ? and ? and c.fcollcode between ? and ? "
          "and c.fconvocode = ?"_s;
    if (s.tatkalOnly)
        sql += u" and "_s + d.coalesce(u"a.fscheme"_s, u"''"_s) + u" = 'Tatkal'"_s;
    if (s.postOnly)
        sql += u" and "_s + d.coalesce(u"a.freccer"_s, u"''"_s) + u" = 'Post'"_s;
    sql += u" and c.fcertno between ? and ? order by c.fcollcode, c.fdegree, c.fregno"_s;
    Rows rows = db.query(sql, {p.fromDate, p.toDate, p.fromDegree, p.toDegree, p.fromCollege, p.toCollege,
                               m_session.convoCode, s.fromCertNo, s.toCertNo});
    m_labels = 0;
    if (!rows.next()) {
        m_prompter.message(u"No Data found for the given for the range"_s, u"Message"_s, PromptIcon::Exclamation);
        return std::nullopt;
    }

    Document document;
    DocumentBuilder b(document);
    PageSetup &page = b.page();
    page.paperInches = PageSetup::a4();
    page.leftInches = page.rightInches = 0.8;
    page.topInches = page.bottomInches = 0.5;
    page.headerInches = 0.3;
    b.setFont(u"Calibri"_s, 10);
    b.setSpaceAfter(kGapPoints);
    b.beginTable({kColumnInches, kGapInches, kColumnInches}, false, kRowInches);
    int index = 0;
    do {
        b.cell(index / 2, index % 2 == 0 ? 0 : 2, labelText(rows));
        ++index;
    } while (rows.next());
    m_labels = index;
    if (index % 2 == 1)
        b.cell(index / 2, 2, {}); // the right-hand label of the last row stays blank
    b.endTable();
    return document;
}

void AddressLabels::write(const Document &sheet, const QString &odtPath, const QString &pdfPath)
{
    if (!odtPath.isEmpty())
        OdtWriter::write(sheet, odtPath);
    if (!pdfPath.isEmpty())
        documentoutput::writePdf(sheet, pdfPath);
    m_prompter.message(u"Report Generated Successfully"_s, u"Report generation"_s, PromptIcon::Information);
}

int AddressLabels::labelSheets(const LabelSelection &s, const QString &odtPath, const QString &pdfPath)
{
    const std::optional<Document> sheet = compose(s);
    if (!sheet)
        return 0;
    write(*sheet, odtPath, pdfPath);
    return m_labels;
}

} // namespace sw
