// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/lists/photopaste.h"

#include "reports/lists/ranges.h"
#include "shell/core/legacytext.h"
#include "shell/core/prompter.h"
#include "shell/document/documentoutput.h"
#include "shell/document/odtwriter.h"
#include "shell/session.h"
#include "shell/workbook/workbook.h"

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// Institution 027 prints its sheets user by user, in the order of activation.
bool perUser(const Session &session) { return session.instCode.trimmed() == u"027"_s; }

struct Candidate
{
    QString regno;
    QString printOrder;
    QString name;
};

constexpr int kAcross = 4;

void addSet(DocumentBuilder &b, const std::vector<Candidate> &set)
{
    const std::vector<double> columns = {1.6, 0.2, 1.6, 0.2, 1.6, 0.2, 1.6};
    b.setFont(u"Arial"_s, 10);
    b.setAlignment(Alignment::Centre);
    // The gaps have no borders, and neither have the boxes of a last, short set.
    std::vector<int> borderless = {1, 3, 5};
    for (std::size_t i = set.size(); i < kAcross; ++i)
        borderless.push_back(int(i) * 2);
    b.beginTable(columns, true, 1.8, borderless);
    for (std::size_t i = 0; i < set.size(); ++i)
        b.cell(0, int(i) * 2, u"Affix Photo Here"_s);
    b.endTable();
    b.beginTable(columns, false, 0.2);
    b.cell(0, 0, {});
    b.endTable();
    b.setFont(u"Arial"_s, 8);
    b.setAlignment(Alignment::Left);
    b.beginTable(columns, false);
    for (std::size_t i = 0; i < set.size(); ++i) {
        b.cell(0, int(i) * 2, set[i].regno + u" - "_s + set[i].printOrder);
        b.cell(1, int(i) * 2, u"Name: "_s + set[i].name);
    }
    b.endTable();
}

} // namespace

void PhotoPasteSelection::normaliseRanges()
{
    ranges::degrees(fromDegree, toDegree);
    ranges::colleges(fromCollege, toCollege);
    ranges::complete(fromRegno, toRegno, u"0"_s, u"ZZZZZZZZ"_s);
}

PhotoPasteSheet::PhotoPasteSheet(Session &session, Prompter &prompter)
    : m_session(session)
    , m_prompter(prompter)
{
}

QString PhotoPasteSheet::restrictions(const PhotoPasteSelection &s, QVariantList &params) const
{
    QString sql =
        u" and convo.fdegree between ? and ? and convo.fcollcode between ? and ? and convo.fregno between ? and ?"_s;
    params << s.fromDegree << s.toDegree << s.fromCollege << s.toCollege << s.fromRegno << s.toRegno;
    if (s.activeOnly)
        sql += u" and convo.factive = 'T'"_s;
    if (s.freshOnly)
        sql += u" and "_s + m_session.db().dialect().coalesce(u"convo.fphotopaste"_s, u"''"_s) + u" <> 'T'"_s;
    if (perUser(m_session)) {
        sql += u" and convo.fusername = ?"_s;
        params << m_session.userName;
    }
    return sql;
}

std::optional<Rows> PhotoPasteSheet::candidates(const PhotoPasteSelection &s)
{
    QVariantList params;
    const QString where = restrictions(s, params);
    Rows rows = m_session.db().query(
        u"select convo.fdegree, convo.fcollcode, college.fcollname, college.ftown, convo.fregno, convo.fname, "
        "convo.fprintord from convo, college where convo.fcollcode = college.fcollcode"_s
            + where
            + (perUser(m_session) ? u" order by convo.fprintord, convo.fregno"_s
                                  : u" order by convo.fdegree, convo.fcollcode, convo.fregno"_s),
        params);
    if (!rows.next()) {
        m_prompter.message(u"No records found"_s, u"Message"_s, PromptIcon::Information);
        return std::nullopt;
    }
    return rows;
}

std::optional<Document> PhotoPasteSheet::compose(const PhotoPasteSelection &s)
{
    std::optional<Rows> found = candidates(s);
    if (!found)
        return std::nullopt;
    Rows &rows = *found;
    Document document;
    DocumentBuilder b(document);
    PageSetup &page = b.page();
    page.topInches = 0.8;
    page.bottomInches = 0.5;
    page.leftInches = page.rightInches = 0.7;
    page.headerInches = 0.3;

    // Each college's candidates of a degree start on a page of their own, headed with
    // the college and the degree and numbered from 1, so that the sheets of a college
    // can go to it as they are.
    const QString institution = m_session.instTitle.isEmpty() ? m_session.instAddress[0] : m_session.instTitle;
    const auto groupHeader = [&] {
        b.beginHeader();
        b.setAlignment(Alignment::Centre);
        b.setFont(u"Arial"_s, 12, true);
        b.type(institution);
        b.endParagraph();
        b.setFont(u"Arial"_s, 8);
        b.type(legacytext::withTown(rows.text(u"fcollname"_s), rows.text(u"ftown"_s)) + u" - "_s
               + rows.text(u"fdegree"_s) + u"  (Photo Paste Format)"_s);
        b.endParagraph();
        b.setFont(u"Arial"_s, 10);
        b.typeField(Run::Field::PageNumber);
        b.type(u" of "_s);
        b.typeField(Run::Field::PageCount);
        b.endParagraph();
        b.endHeader();
    };

    std::vector<Candidate> set;
    QString group;
    do {
        const QString thisGroup = rows.text(u"fdegree"_s) + u'|' + rows.text(u"fcollcode"_s);
        if (thisGroup != group) {
            if (!set.empty())
                addSet(b, set);
            set.clear();
            if (!group.isEmpty())
                b.sectionBreak();
            group = thisGroup;
            groupHeader();
        }
        set.push_back({rows.text(u"fregno"_s), rows.text(u"fprintord"_s), rows.text(u"fname"_s)});
        if (set.size() == kAcross) {
            addSet(b, set);
            set.clear();
        }
    } while (rows.next());
    if (!set.empty())
        addSet(b, set);
    return document;
}

int PhotoPasteSheet::markPasted(const PhotoPasteSelection &s)
{
    QVariantList params;
    PhotoPasteSelection marked = s;
    marked.activeOnly = true; // only active candidates are marked, whatever the sheet showed
    const QString where = restrictions(marked, params);
    WriteScope scope(m_session.db());
    const int count = m_session.db().exec(u"update convo set fphotopaste = 'T' where 1 = 1"_s + where, params);
    scope.commit();
    return count;
}

QString PhotoPasteSheet::photoSheet(const PhotoPasteSelection &s, const QString &pdfPath)
{
    const std::optional<Document> sheet = compose(s);
    if (!sheet)
        return {};
    const QString path = m_session.folder.outputPath(u"PhotoPaste.odt"_s);
    OdtWriter::write(*sheet, path);
    if (!pdfPath.isEmpty())
        documentoutput::writePdf(*sheet, pdfPath);
    if (s.update)
        markPasted(s);
    return path;
}

QString PhotoPasteSheet::photoWorkbook(const PhotoPasteSelection &s)
{
    std::optional<Rows> found = candidates(s);
    if (!found)
        return {};
    Rows &rows = *found;
    Workbook book(m_session.folder.outputPath(u"PhotoPaste.xlsx"_s));
    Worksheet &sheet = book.addSheet(u"Sheet1"_s);
    sheet.setHeader(PageText()
                        .at(PageText::Section::Centre)
                        .font(18, true)
                        .text(rows.text(u"fcollname"_s) + u"\n"_s)
                        .font(14)
                        .text(rows.text(u"ftown"_s)));
    sheet.setFooter(PageText()
                        .at(PageText::Section::Left)
                        .field(PageText::Field::Date)
                        .at(PageText::Section::Centre)
                        .field(PageText::Field::Page)
                        .text(u" of "_s)
                        .field(PageText::Field::Pages)
                        .at(PageText::Section::Right)
                        .field(PageText::Field::Time));
    CellFormat title;
    title.bold = true;
    CellFormat box;
    box.border = true;
    box.align = CellFormat::Align::Centre;
    box.valign = CellFormat::VAlign::Centre;
    CellFormat small;
    small.fontSize = 8;
    small.wrap = true;
    for (int c = 0; c < 7; ++c)
        sheet.setColumnWidth(c, c, c % 2 ? 2 : 16);
    sheet.merge(0, 0, 0, 6,
                u"Degree : "_s + rows.text(u"fdegree"_s) + u", College : "_s + rows.text(u"fcollcode"_s)
                    + u", Reg. No. : "_s + rows.text(u"fregno"_s),
                title);
    int row = 2;
    int across = 0;
    do {
        const int column = across * 2;
        if (across == 0) {
            sheet.setRowHeight(row, 130); // 1.8 inches
            sheet.setRowHeight(row + 1, 14);
        }
        sheet.write(row, column, u"Affix Photo Here"_s, box);
        sheet.write(row + 2, column, rows.text(u"fregno"_s) + u" - "_s + rows.text(u"fprintord"_s), small);
        sheet.write(row + 3, column, u"Name: "_s + rows.text(u"fname"_s), small);
        if (++across == kAcross) {
            across = 0;
            row += 5;
        }
    } while (rows.next());
    book.close();
    if (s.update)
        markPasted(s);
    return book.path();
}

QString PhotoPasteSheet::run(const PhotoPasteSelection &s, const QString &pdfPath)
{
    return perUser(m_session) ? photoWorkbook(s) : photoSheet(s, pdfPath);
}

} // namespace sw
