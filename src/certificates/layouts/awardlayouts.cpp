// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/layouts/awardlayouts.h"

#include "certificates/ranks/rankstore.h"
#include "shell/document/documentrenderer.h"
#include "shell/common/numberwords.h"
#include "shell/session.h"
#include "shell/core/stoperror.h"
#include "shell/db/database.h"

using namespace Qt::StringLiterals;

namespace sw {

namespace {

const QString kPhraseFont = u"Brush Script MT"_s;
const QString kValueFont = u"AR CENA"_s;
constexpr double kValuePoints = 20;   // the smallest type of the sentence
constexpr double kSmallestPoints = 8; // what a long sentence may shrink to
const QSizeF kSignature(110, 60);     // points
const QString kPhraseColour = u"&H00C07000"_s;
const QString kValueColour = u"&H000000C0"_s;

LayoutProcedure layoutOfType(const QString &certType)
{
    const QString type = certType.trimmed().toUpper();
    if (type == u"R"_s)
        return LayoutProcedure::Rank;
    if (type == u"G"_s)
        return LayoutProcedure::Gold;
    if (type == u"C"_s)
        return LayoutProcedure::Cash;
    return LayoutProcedure::None;
}

// The joins and conditions shared by the selection and its count, with their values.
QString awardConditions(const Session &session, const PrintSelection &s, QVariantList &params)
{
    const LayoutProcedure layout = layoutOfType(s.certType);
    QString where = u" from convo, degree, rankreg, masconvo where convo.fdegree = degree.fdegree "
                    "and convo.fregno = rankreg.fregno and rankreg.fdegree = convo.fdegree "
                    "and rankreg.fconvocode = convo.fconvocode and convo.fconvocode = masconvo.fconvocode"_s;
    if (s.degree.trimmed() != u"99"_s || layout == LayoutProcedure::Cash) {
        where += u" and convo.fdegree = ?"_s;
        params << s.degree.trimmed();
    }
    where += u" and convo.fregno between ? and ? and "_s
             + session.db().dialect().coalesce(u"rankreg.fcertno"_s, u"''"_s)
             + u" = '' and rankreg.fcerttype = ? and convo.fconvocode = ?"_s;
    params << s.regnoFrom.trimmed() << s.regnoTo.trimmed() << awardCertType(layout) << session.convoCode;
    return where;
}

} // namespace

QString awardCertType(LayoutProcedure layout)
{
    switch (layout) {
    case LayoutProcedure::Rank: return u"RC"_s;
    case LayoutProcedure::Gold: return u"GC"_s;
    case LayoutProcedure::Cash: return u"CC"_s;
    default: return {};
    }
}

bool isAwardLayout(LayoutProcedure layout) { return !awardCertType(layout).isEmpty(); }

bool isAwardType(const QString &certType) { return isAwardLayout(layoutOfType(certType)); }

std::vector<AwardRow> selectAwardRows(const Session &session, const PrintSelection &s)
{
    QVariantList params;
    const QString where = awardConditions(session, s, params);
    const QString order = layoutOfType(s.certType) == LayoutProcedure::Rank
                              ? u" order by convo.fdegree, "_s
                                    + session.db().dialect().coalesce(u"rankreg.fslno"_s, u"0"_s) + u", convo.fregno"_s
                              : u" order by convo.fdegree, convo.fcollcode, convo.fregno"_s;
    Rows rows = session.db().query(
        u"select convo.fregno, convo.fname, convo.fcollcode, convo.fdegree, degree.fdescpn, convo.fyear, "
        "convo.fclasscode, degree.fspecial, convo.funivcode, convo.fexamdate, masconvo.fdate, masconvo.fconvocode, "
        "masconvo.fconvoname, rankreg.frank, rankreg.fdonername, rankreg.fsubject, rankreg.famount"_s
            + where + order,
        params);
    std::vector<AwardRow> out;
    while (rows.next()) {
        AwardRow r;
        QString *fields[] = {&r.regno,     &r.name,    &r.collCode, &r.degree,   &r.descpn,    &r.year,
                             &r.classCode, &r.special, &r.univCode, &r.examDate, &r.convoDate, &r.convoCode,
                             &r.convoName, &r.rank,    &r.donor,    &r.subject,  &r.amount};
        int i = 0;
        for (QString *field : fields)
            *field = rows.text(i++).trimmed();
        out.push_back(std::move(r));
    }
    return out;
}

int countAwardRows(const Session &session, const PrintSelection &s)
{
    QVariantList params;
    const QString where = awardConditions(session, s, params);
    return session.db().scalar(u"select count(*)"_s + where, params).toInt();
}

AwardLayouts::AwardLayouts(const Session &session, const PrintSelection &selection)
    : m_session(session)
    , m_selection(selection)
    , m_folder(session.folder)
    , m_config(InstitutionConfig::load(session.folder))
{
    m_distance = session.db().currentDatabaseName().compare(u"CONVODIST"_s, Qt::CaseInsensitive) == 0;
}

void AwardLayouts::heading(DocumentBuilder &b, const AwardRow &row, const QString &title) const
{
    PageSetup &page = b.page();
    page.paperInches = PageSetup::a4();
    page.topInches = m_distance ? 3.1 : 3.9;
    page.bottomInches = 0.25;
    page.leftInches = page.rightInches = 0.8;
    b.setSpaceAfter(0);
    b.setAlignment(Alignment::Centre);
    if (m_distance) {
        b.setFont(u"Arial"_s, 16, true);
        b.type(u"DISTANCE EDUCATION\n"_s);
    }
    if (!row.univCode.isEmpty()) {
        const QVariant university =
            m_session.db().scalar(u"select funivname from masuniv where funivcode = ?"_s, {row.univCode});
        if (!university.isValid())
            throw StopError(u"Error in University"_s);
        b.setFont(u"Calibri"_s, 16, true);
        b.type(university.toString().trimmed() + u'\n');
    }
    b.setFont(u"Algerian"_s, 20, true);
    b.setColour(u"&H00602000"_s);
    b.type(title + u'\n');
    b.setBold(false);
    b.setAlignment(Alignment::Justify);
}

void AwardLayouts::closing(DocumentBuilder &b) const
{
    b.setAlignment(Alignment::Left);
    b.setFont(kPhraseFont, 15);
    b.setColour(QColor(Qt::black));
    b.type(u"Date : "_s + m_selection.issueDate.trimmed() + u'\n');
    QString place = m_config.value(u"LAYOUT"_s, u"PlaceLines"_s);
    const QString town = m_config.value(u"LETTERHEAD"_s, u"CampusTown"_s);
    if (place.isEmpty() && !town.isEmpty())
        place = u"Place : "_s + town;
    const QStringList places = place.split(u'|', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < places.size(); ++i)
        b.type(places[i].trimmed() + (i + 1 < places.size() ? u"\n"_s : QString()));
    b.endParagraph();
    placePicture(b, m_folder, u"seal.jpg"_s, 3.65, sealTop());
    // The signature is drawn in the box of the degree certificates' signatures, whatever its own
    // size, to the right of the seal: its white ground would cut the seal's ring.
    const double pageWidth = b.page().pagePoints().width();
    double signatureLeft = 5.7 * kPointsPerInch;
    for (const AnchoredItem &anchored : b.document().anchored)
        if (const auto *seal = std::get_if<PictureItem>(&anchored.item))
            signatureLeft = std::max(signatureLeft, seal->points.right() + 0.1 * kPointsPerInch);
    signatureLeft = std::min(signatureLeft, pageWidth - 0.25 * kPointsPerInch - kSignature.width());
    const QRectF signature(QPointF(signatureLeft, 6.95 * kPointsPerInch), kSignature);
    placePicture(b, m_folder, u"regsign.jpg"_s, signature.left() / kPointsPerInch, signature.top() / kPointsPerInch,
                 signature.width(), signature.height());
    // The office signs under its signature.
    const double captionWidth = 2.4 * kPointsPerInch;
    const double captionLeft =
        std::min(signature.center().x() - captionWidth / 2, pageWidth - 0.25 * kPointsPerInch - captionWidth);
    b.beginTextBox(QRectF(captionLeft, signature.bottom() + 2, captionWidth, 30));
    b.setAlignment(Alignment::Centre);
    b.setFont(kPhraseFont, 17);
    b.setColour(QColor(Qt::black));
    b.type(u"Registrar (Evaluation)"_s);
    b.endTextBox();
}

// "MASTER OF SCIENCE (PHYSICS)": the degree with its speciality, as the sentence of
// every award certificate names it.
QString AwardLayouts::degreeWithSpeciality(const AwardRow &row)
{
    return row.hasSpeciality() ? row.descpn + u" ("_s + row.special + u')' : row.descpn;
}

QStringList AwardLayouts::gaps(LayoutProcedure layout, const AwardRow &row) const
{
    QStringList gaps;
    if (layout == LayoutProcedure::Rank && !RankStore::rankInWords(row.rank))
        gaps << u"error in rank"_s;
    if (layout == LayoutProcedure::Cash && (row.amount.isEmpty() || !amountInWords(row.amount)))
        gaps << u"The cash prize of Reg. No. "_s + row.regno + u" for "_s + row.subject + u" has the amount \""_s
                    + row.amount + u"\", which is not a number of rupees."_s;
    if (layout == LayoutProcedure::Gold && row.donor.isEmpty())
        gaps << u"The gold medal of Reg. No. "_s + row.regno + u" for "_s + row.subject + u" names no medal"_s;
    if (layout != LayoutProcedure::Rank && row.subject.isEmpty())
        gaps << u"The award of Reg. No. "_s + row.regno + u" names no subject"_s;
    if (row.examDate.isEmpty())
        gaps << u"Exam date not entered for Reg. No. "_s + row.regno;
    if (!row.univCode.isEmpty()
        && !m_session.db().exists(u"select 1 from masuniv where funivcode = ?"_s, {row.univCode}))
        gaps << u"Error in University"_s;
    return gaps;
}

LayoutNeeds AwardLayouts::needs() const
{
    LayoutNeeds n;
    // The place line falls back on the campus town: one of the two is needed.
    if (m_config.value(u"LAYOUT"_s, u"PlaceLines"_s).isEmpty())
        n.settings << u"LETTERHEAD/CampusTown"_s;
    n.pictures = {u"seal.jpg"_s, u"regsign.jpg"_s};
    return n;
}

Document AwardLayouts::compose(LayoutProcedure layout, const AwardRow &row) const
{
    if (layout != LayoutProcedure::Rank && layout != LayoutProcedure::Gold && layout != LayoutProcedure::Cash)
        throw StopError(u"The layout "_s + layoutName(layout) + u" is not an award certificate layout."_s);
    // Every check first, so a certificate that cannot be worded stops the run before it prints.
    const QStringList missing = gaps(layout, row);
    if (!missing.isEmpty())
        throw StopError(missing.front());

    Document doc;
    DocumentBuilder b(doc);
    const QString title = layout == LayoutProcedure::Rank   ? u"RANK CERTIFICATE"_s
                          : layout == LayoutProcedure::Gold ? u"GOLD MEDAL CERTIFICATE"_s
                                                            : u"CASH AWARD CERTIFICATE"_s;
    heading(b, row, title);
    auto phrase = [&](const QString &text) {
        b.setFont(kPhraseFont, 22);
        b.setColour(kPhraseColour);
        b.type(text);
    };
    auto value = [&](const QString &text) {
        b.setFont(kValueFont, kValuePoints);
        b.setColour(kValueColour);
        b.type(text);
    };
    phrase(u"Certified that "_s);
    value(row.name);
    phrase(u" Register No. "_s);
    value(row.regno);
    if (layout == LayoutProcedure::Rank) {
        phrase(u" has secured "_s);
        value(RankStore::rankInWords(row.rank).value_or(QString()));
        phrase(u" Rank in "_s);
        value(degreeWithSpeciality(row));
        phrase(u" Degree Examination held in the month of "_s);
    } else {
        if (layout == LayoutProcedure::Gold) {
            phrase(u" is awarded "_s);
            value(row.donor);
        } else {
            phrase(u" is awarded a cash prize of Rupees "_s);
            value(row.amount + u" ("_s + amountInWords(row.amount).value_or(QString()) + u" only)"_s);
        }
        phrase(u" for securing "_s);
        value(row.subject);
        phrase(u" in the "_s);
        value(degreeWithSpeciality(row));
        phrase(u" Examination held in the month of "_s);
    }
    value(row.examDate);
    b.endParagraph();
    const std::size_t closingLines = doc.flow.size();
    closing(b);
    // A long name, subject or medal makes the text smaller rather than run into the seal
    // and signature below it, down to 8 points; a text longer still is refused before it prints.
    if (fitFlowAbove(doc, closingLines, sealTop() * kPointsPerInch, kSmallestPoints / kValuePoints) == 0.0)
        throw StopError(u"The certificate of Reg. No. "_s + row.regno
                            + u" does not fit above the seal even in 8-point type: its name, subject or award "
                              "is too long for the sheet"_s,
                        PromptIcon::Exclamation);
    return doc;
}

} // namespace sw
