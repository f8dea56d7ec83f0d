// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/layouts/degreelayouts.h"

#include "certificates/layouts/kannadaphrases.h"
#include "shell/core/dates.h"

#include "shell/document/documentrenderer.h"
#include "shell/session.h"
#include "shell/core/stoperror.h"
#include "shell/db/database.h"
#include "shell/settings/controlstore.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

const QString kBrh = u"BRH Kannada"_s;
const QString kNudi = u"Nudi 01 e"_s;
const QString kValueColour = u"&H00675825"_s;

constexpr double pt(double inches) { return inches * kPointsPerInch; }

} // namespace

LayoutProcedure chooseLayout(const QString &instCode, const PrintSelection &s)
{
    const QString code = instCode.trimmed();
    const QString type = s.certType.trimmed().toUpper();
    if (code == u"001"_s)
        return LayoutProcedure::Datareport;
    if (code != u"003"_s && code != u"008"_s)
        return LayoutProcedure::None;
    if (type == u"1"_s || type == u"2"_s) {
        if (!s.temp)
            return LayoutProcedure::GenDataReport;
        if (code == u"008"_s)
            return type == u"1"_s ? LayoutProcedure::Inst008 : LayoutProcedure::Inst008Speciality;
        return LayoutProcedure::Tcs;
    }
    if (type == u"3"_s)
        return LayoutProcedure::Phd;
    if (type == u"R"_s)
        return LayoutProcedure::Rank;
    if (type == u"G"_s)
        return LayoutProcedure::Gold;
    if (type == u"C"_s)
        return LayoutProcedure::Cash;
    return LayoutProcedure::None;
}

QString layoutName(LayoutProcedure layout)
{
    switch (layout) {
    case LayoutProcedure::None: return u"none"_s;
    case LayoutProcedure::GenDataReport: return u"Gen_Data_Report"_s;
    case LayoutProcedure::Tcs: return u"Gen_Data_Report_TCS"_s;
    case LayoutProcedure::Phd: return u"Gen_Data_Report_Phd"_s;
    case LayoutProcedure::Inst008: return u"Gen_Data_Report_Inst008"_s;
    case LayoutProcedure::Inst008Speciality: return u"Gen_Data_Report_Inst008_2"_s;
    case LayoutProcedure::Datareport: return u"Gen_Data_Report_Datareport"_s;
    case LayoutProcedure::Rank: return u"Gen_Data_Rank"_s;
    case LayoutProcedure::Gold: return u"Gen_Data_Gold"_s;
    case LayoutProcedure::Cash: return u"Gen_Data_Cash"_s;
    }
    return {};
}

bool confirmsWithoutAsking(LayoutProcedure layout)
{
    return layout == LayoutProcedure::Tcs || layout == LayoutProcedure::Inst008
           || layout == LayoutProcedure::Inst008Speciality;
}

bool keepsPdfCopy(LayoutProcedure layout) { return layout == LayoutProcedure::Tcs; }

DegreeLayouts::DegreeLayouts(const Session &session, const PrintSelection &selection)
    : m_session(session)
    , m_selection(selection)
    , m_folder(session.folder)
    , m_config(InstitutionConfig::load(session.folder))
{
    const Database &db = session.db();
    m_distance = db.currentDatabaseName().compare(u"CONVODIST"_s, Qt::CaseInsensitive) == 0;
    m_degreeInKannada = ControlStore(session.db()).institution().degreeInKannada;
}

// The Photos folder is listed once for the run rather than once per candidate:
// with thousands of photographs the listing costs more than the certificate.
QString DegreeLayouts::photograph(const QString &regno) const
{
    if (!m_photos) {
        m_photos.emplace();
        const QDir dir(m_folder.filePath(u"Photos"_s));
        for (const QString &entry : dir.entryList(QDir::Files))
            m_photos->insert(entry.toLower(), dir.filePath(entry));
    }
    if (regno.isEmpty())
        return {};
    for (const QString &ext : {u"jpg"_s, u"jpeg"_s, u"bmp"_s}) {
        const QString path = m_photos->value((regno + u'.' + ext).toLower());
        // A photograph removed since the listing is as good as missing.
        if (!path.isEmpty() && QFileInfo::exists(path))
            return path;
    }
    return {};
}

QString DegreeLayouts::signatureFile() const { return m_selection.facsimile ? u"vc.jpg"_s : u"vcm.jpg"_s; }

QString DegreeLayouts::issueDate(const CertificateRow &row) const
{
    if (m_selection.mode == PrintMode::Pdf && row.printedDate.isValid())
        return formatDmy(row.printedDate);
    const QDate typed = parseDmy(m_selection.issueDate);
    return typed.isValid() ? formatDmy(typed) : m_selection.issueDate.trimmed();
}

// A picture's own size in points: its own resolution when it has one, else 96
// pixels to the inch. Read once per file when the caller keeps the sizes.
constexpr double kPrintableMarginInches = 0.25;
constexpr double kSmallestTypePoints = 8;

static QSizeF naturalSize(const QString &file, PictureSizes *known)
{
    if (known) {
        const auto found = known->constFind(file);
        if (found != known->constEnd())
            return *found;
    }
    const QImage image(file);
    QSizeF size;
    if (!image.isNull()) {
        const double dpi = image.dotsPerMeterX() > 0 ? image.dotsPerMeterX() * 0.0254 : 96.0;
        size = QSizeF(image.width() * 72.0 / dpi, image.height() * 72.0 / dpi);
    }
    if (known)
        known->insert(file, size);
    return size;
}

void placePicture(DocumentBuilder &b, const AppFolder &folder, const QString &relative, double leftInches,
                  double topInches, double widthPt, double heightPt, PictureSizes *sizes)
{
    const QString file = relative.startsWith(u'/') ? relative : folder.findFileAnyCase(relative);
    if (file.isEmpty())
        return;
    if (widthPt <= 0 || heightPt <= 0) {
        const QSizeF natural = naturalSize(file, sizes);
        if (natural.isEmpty())
            return;
        widthPt = natural.width();
        heightPt = natural.height();
        // A picture that would run past the printable area (a quarter inch from each edge,
        // where printers clip) is made smaller, keeping its proportions.
        const QSizeF page = b.page().pagePoints();
        const double margin = pt(kPrintableMarginInches);
        const double room = std::min((page.width() - margin - pt(leftInches)) / widthPt,
                                     (page.height() - margin - pt(topInches)) / heightPt);
        if (room < 1.0) {
            widthPt *= room;
            heightPt *= room;
        }
    }
    b.picture(file, QRectF(pt(leftInches), pt(topInches), widthPt, heightPt));
}

void DegreeLayouts::picture(DocumentBuilder &b, const QString &relative, double leftInches, double topInches,
                            double widthPt, double heightPt) const
{
    placePicture(b, m_folder, relative, leftInches, topInches, widthPt, heightPt, &m_pictureSizes);
}

std::optional<QString> DegreeLayouts::kannadaExamDate(const CertificateRow &row) const
{
    const QVariant kan = m_session.db().scalar(u"select fkanname from kanlib where fengname = ?"_s, {row.examDate});
    if (!kan.isValid())
        return std::nullopt;
    return kan.toString().trimmed();
}

std::optional<QString> DegreeLayouts::universityName(const CertificateRow &row) const
{
    const QVariant name = m_session.db().scalar(u"select funivname from masuniv where funivcode = ?"_s, {row.univCode});
    if (!name.isValid())
        return std::nullopt;
    return name.toString().trimmed();
}

// What the Kannada layouts print of every candidate: missing, a line of the
// certificate would be blank or a sentence broken.
void DegreeLayouts::kannadaGaps(const CertificateRow &row, bool convocationName, QStringList &gaps) const
{
    if (row.classDescKan.isEmpty())
        gaps << u"Error kannada class for "_s + row.classDesc;
    if (convocationName && row.convoNameKan.isEmpty())
        gaps << u"Error kannada convo name for "_s + row.convoName;
    if (row.descpnKan.isEmpty())
        gaps << u"Error kannada degree for "_s + row.descpn;
    if (row.hasSpeciality() && row.specialKan.isEmpty())
        gaps << u"Speciality in kannada not entered for degree"_s;
}

QStringList DegreeLayouts::gaps(LayoutProcedure layout, const CertificateRow &row) const
{
    QStringList gaps = stoppingGaps(layout, row);
    // 003's layouts print the certificate without the Kannada name line, as they always
    // did (the name is often typed in later); the check names the candidate all the same.
    if (row.nameKan.isEmpty() && layout != LayoutProcedure::Inst008 && layout != LayoutProcedure::Inst008Speciality)
        gaps << u"Kannada name not entered for Reg. No. "_s + row.regno;
    return gaps;
}

QStringList DegreeLayouts::stoppingGaps(LayoutProcedure layout, const CertificateRow &row) const
{
    QStringList gaps;
    const bool typeOne = m_selection.certType.trimmed() == u"1"_s;
    switch (layout) {
    case LayoutProcedure::GenDataReport:
        if (!kannadaExamDate(row))
            gaps << u"Error in kannada exam date "_s + row.examDate;
        kannadaGaps(row, true, gaps);
        if (typeOne && row.classDesc.isEmpty())
            gaps << u"Please check class description for "_s + row.classCode;
        if (!row.univCode.isEmpty() && !universityName(row))
            gaps << u"Error in University"_s;
        break;
    case LayoutProcedure::Tcs:
    case LayoutProcedure::Phd:
        if (layout == LayoutProcedure::Tcs && (row.classDesc == u"????"_s || row.classDesc.isEmpty()))
            gaps << u"Please check class description for "_s + row.classCode;
        kannadaGaps(row, true, gaps);
        if (row.examDate.isEmpty())
            gaps << u"Exam date not entered for Reg. No. "_s + row.regno;
        break;
    case LayoutProcedure::Inst008:
    case LayoutProcedure::Inst008Speciality:
        if (layout == LayoutProcedure::Inst008Speciality && row.specialKan.isEmpty())
            gaps << u"Speciality in Degree name (Kannada) not defined"_s;
        if (layout == LayoutProcedure::Inst008Speciality && row.special.isEmpty())
            gaps << u"Speciality in Degree name not defined"_s;
        // The Kannada name opens 008's sentence: without it the sentence is broken.
        if (row.nameKan.isEmpty())
            gaps << u"Kannada name not entered for Reg. No. "_s + row.regno;
        kannadaGaps(row, false, gaps);
        if (row.examDate.isEmpty())
            gaps << u"Exam date not entered for Reg. No. "_s + row.regno;
        // Named once for the convocation, where it is entered for all its candidates.
        if (row.kannadaExamDate().isEmpty())
            gaps << u"Convocation "_s + row.convoCode
                        + u": the Kannada exam date is not entered (Convocation screen, \"Exam date (Kan)\")"_s;
        if (row.classDesc.isEmpty())
            gaps << u"Please check class description for "_s + row.classCode;
        if (row.objectPronoun().isEmpty())
            gaps << u"Sex (M or F) not entered for Reg. No. "_s + row.regno
                        + u": the certificate says \"conferred on him\" or \"on her\""_s;
        break;
    default: gaps << u"The layout "_s + layoutName(layout) + u" is not a degree certificate layout."_s; break;
    }
    gaps.removeDuplicates();
    return gaps;
}

LayoutNeeds DegreeLayouts::needs(LayoutProcedure layout) const
{
    LayoutNeeds n;
    const QString signature = signatureFile();
    switch (layout) {
    case LayoutProcedure::GenDataReport:
        n.settings = {u"LAYOUT/PreambleKan"_s, u"LAYOUT/UniversityName"_s, u"LAYOUT/CampusKan"_s,
                      u"LAYOUT/Campus"_s,      u"LAYOUT/PinLine"_s,        u"LAYOUT/StateKan"_s,
                      u"LAYOUT/State"_s,       u"LAYOUT/CountryKan"_s,     u"LAYOUT/Country"_s};
        n.pictures = {u"seal.jpg"_s, signature};
        break;
    case LayoutProcedure::Tcs:
        n.settings = {u"LAYOUT/PreambleKan"_s, u"LAYOUT/RegNoKan"_s,     u"LAYOUT/ClassKan"_s,
                      u"LAYOUT/ExamYearKan"_s, u"LAYOUT/ConvoDateKan"_s, u"LAYOUT/Campus"_s,
                      u"LAYOUT/PinLine"_s,     u"LAYOUT/State"_s,        u"LAYOUT/Country"_s};
        n.pictures = {u"seal.jpg"_s, signature, u"img/mcwm.jpg"_s};
        break;
    case LayoutProcedure::Phd:
        n.settings = {u"LAYOUT/PreambleKan"_s, u"LAYOUT/NotificationKan"_s, u"LAYOUT/ConvoDateKan"_s,
                      u"LAYOUT/Campus"_s,      u"LAYOUT/PinLine"_s,         u"LAYOUT/State"_s,
                      u"LAYOUT/Country"_s};
        n.pictures = {u"seal.jpg"_s, signature};
        break;
    case LayoutProcedure::Inst008:
    case LayoutProcedure::Inst008Speciality:
        n.settings = {u"LAYOUT/ConferredKan"_s, u"LETTERHEAD/CampusTown"_s};
        n.pictures = {signature};
        break;
    default: break;
    }
    n.photograph = true;
    return n;
}

Document DegreeLayouts::compose(LayoutProcedure layout, const CertificateRow &row) const
{
    // Every check first, so a certificate that would print with a blank line stops the
    // run before its sheet is used.
    const QStringList missing = stoppingGaps(layout, row);
    if (!missing.isEmpty())
        throw StopError(missing.front());
    Document doc;
    switch (layout) {
    case LayoutProcedure::GenDataReport: doc = genDataReport(row); break;
    case LayoutProcedure::Tcs: doc = tcs(row, false); break;
    case LayoutProcedure::Phd: doc = tcs(row, true); break;
    case LayoutProcedure::Inst008: doc = inst008(row, false); break;
    default: doc = inst008(row, true); break;
    }
    // Long names and degrees make the text smaller rather than run on to a second sheet,
    // or into the seal below it; a text longer still is refused before its sheet is used.
    if (!keepTextAboveSeal(doc))
        throw StopError(u"The certificate of Reg. No. "_s + row.regno
                            + u" does not fit its sheet even in smaller type: its name or degree is too long"_s,
                        PromptIcon::Exclamation);
    return doc;
}

namespace {

// The three kinds of text of the designed certificate: fixed Kannada phrases in
// black, the candidate's Kannada values in the value colour, English in black.
class CertificatePen
{
public:
    explicit CertificatePen(DocumentBuilder &b)
        : m_b(b)
    {
    }
    void fixed(double size, const QString &text)
    {
        m_b.setFont(kBrh, size, true);
        m_b.setColour(QColor(Qt::black));
        m_b.type(text);
    }
    void value(double size, const QString &text)
    {
        m_b.setFont(kNudi, size, true);
        m_b.setColour(kValueColour);
        m_b.type(text);
    }
    void english(const QString &font, double size, const QString &text)
    {
        m_b.setFont(font, size, true);
        m_b.setColour(QColor(Qt::black));
        m_b.type(text);
    }

private:
    DocumentBuilder &m_b;
};

const QString kAntiqua = u"Book Antiqua"_s;

} // namespace

void DegreeLayouts::startSheet(DocumentBuilder &b, double topInches) const
{
    PageSetup &page = b.page();
    page.paperInches = PageSetup::a4();
    page.topInches = topInches;
    page.bottomInches = 0.25;
    page.leftInches = page.rightInches = 0.7 - m_selection.marginAdjust;
    b.setLineSpacing(1.2);
    b.setAlignment(Alignment::Centre);
}

// The address block stands in a box of its own under the photograph, from its left edge to
// the seal: the same place on every sheet, whatever the length of the text above.
void DegreeLayouts::placeAddressAndPictures(Document &doc, DocumentBuilder &b, const CertificateRow &row,
                                            const SheetPictures &at, AddressWriter address) const
{
    const double top = at.photo.bottom() + 6;
    const double bottom = b.page().pagePoints().height() - pt(kPrintableMarginInches);
    const double right = (at.sealInches ? pt(at.sealInches->x()) : pt(3.65)) - 7;
    b.beginTextBox(QRectF(at.photo.left(), top, right - at.photo.left(), bottom - top));
    (this->*address)(b, row);
    b.endTextBox();
    placePictures(doc, b, row, at);
}

bool DegreeLayouts::keepTextAboveSeal(Document &doc)
{
    // Smaller type gives the text room, but none of it below 8 points, which a reader of
    // the certificate could no longer read at arm's length.
    double smallestType = 0;
    for (const Block &block : doc.flow)
        if (const auto *p = std::get_if<Paragraph>(&block))
            for (const Run &run : p->runs)
                if (!run.text.trimmed().isEmpty())
                    smallestType = smallestType > 0 ? std::min(smallestType, run.format.size) : run.format.size;
    const double floor = smallestType > 0 ? std::max(0.6, kSmallestTypePoints / smallestType) : 0.6;
    for (const AnchoredItem &anchored : doc.anchored) {
        const auto *picture = std::get_if<PictureItem>(&anchored.item);
        if (picture && QFileInfo(picture->file).fileName().compare(u"seal.jpg"_s, Qt::CaseInsensitive) == 0) {
            // The seal's ring is drawn over the text beside it: the text ends above its top.
            return fitFlowAbove(doc, doc.flow.size(), picture->points.top(), floor) > 0;
        }
    }
    return fitFlowOnOnePage(doc, floor) > 0;
}

void DegreeLayouts::placePictures(Document &doc, DocumentBuilder &b, const CertificateRow &row,
                                  const SheetPictures &at) const
{
    if (at.sealInches)
        picture(b, u"seal.jpg"_s, at.sealInches->x(), at.sealInches->y());
    const QRectF signature(pt(at.signatureInches.x()), pt(at.signatureInches.y()), at.signatureSize.width(),
                           at.signatureSize.height());
    picture(b, signatureFile(), at.signatureInches.x(), at.signatureInches.y(), signature.width(), signature.height());
    placePhotograph(b, row, at.photo);
    doc.keepClear = {at.photo, signature};
    // The address box under the photograph, where there is one.
    for (const AnchoredItem &anchored : doc.anchored)
        if (const auto *box = std::get_if<TextBoxItem>(&anchored.item))
            doc.keepClear.push_back(box->points);
}

Document DegreeLayouts::genDataReport(const CertificateRow &row) const
{
    const bool typeOne = m_selection.certType.trimmed() == u"1"_s;
    Document doc;
    DocumentBuilder b(doc);
    startSheet(b, (m_distance || !row.univCode.isEmpty()) ? 3.2 : 3.3);
    b.setSpaceAfter(0);
    b.setBold(true);
    typeDataReportKannada(b, row, typeOne);
    typeDataReportEnglish(b, row, typeOne);

    double photoTop = 8.425;
    if (row.hasSpeciality())
        photoTop = typeOne ? (m_distance ? 8.7 : 8.65) : 8.43;
    else if (m_distance)
        photoTop = 8.4;
    const SheetPictures at{QPointF(3.65, 10.1), QPointF(6.2, 10.7), QSizeF(90, 40),
                           QRectF(pt(0.6), pt(photoTop), 75, 95)};
    placeAddressAndPictures(doc, b, row, at, &DegreeLayouts::typeDataReportAddress);
    return doc;
}

void DegreeLayouts::typeDataReportKannada(DocumentBuilder &b, const CertificateRow &row, bool typeOne) const
{
    if (m_distance) {
        b.setFont(u"Calibri"_s, 16, true);
        b.type(u"DISTANCE EDUCATION\n"_s);
    }
    if (!row.univCode.isEmpty()) {
        b.setFont(u"Calibri"_s, 14, true);
        b.type(universityName(row).value_or(QString()) + u'\n');
    }
    CertificatePen pen(b);
    if (!config(u"PreambleKan"_s).isEmpty())
        pen.fixed(15, config(u"PreambleKan"_s) + u'\n');
    if (!row.nameKan.isEmpty()) // not typed in yet: the line is left out
        pen.value(19, row.nameKan + u'\n');
    pen.fixed(15, kannadaphrase::kThisPerson);
    pen.english(kAntiqua, 13, row.regno);
    pen.fixed(15, kannadaphrase::kWithRegisterNumber);
    b.endParagraph();
    pen.value(16, kannadaExamDate(row).value_or(QString()));
    pen.fixed(15, typeOne ? kannadaphrase::kInExaminationOfYear : kannadaphrase::kExaminedInYear);
    if (row.degree.compare(u"MPL"_s, Qt::CaseInsensitive) == 0)
        pen.fixed(15, kannadaphrase::kMPhil);
    else
        pen.value(16, row.classDescKan);
    pen.fixed(15, typeOne ? kannadaphrase::kCertifiedPassedInClass : kannadaphrase::kCertifiedQualifiedForDegree);
    pen.fixed(15, kannadaphrase::kDate);
    pen.value(16, row.convoDateKan);
    pen.fixed(15, kannadaphrase::kHeldOn);
    pen.value(16, row.convoNameKan);
    pen.fixed(15, kannadaphrase::kAtConvocationThisPerson);
    if (m_degreeInKannada) {
        b.setFont(kNudi, 19, true);
        b.setColour(u"&H000000C0"_s);
        b.type(row.descpnKan + u'\n');
        if (row.hasSpeciality())
            pen.value(14, u"("_s + row.specialKan + u")\n"_s);
    }
    pen.fixed(15, kannadaphrase::kAdmittedToDegree);
}

void DegreeLayouts::typeDataReportEnglish(DocumentBuilder &b, const CertificateRow &row, bool typeOne) const
{
    CertificatePen pen(b);
    pen.english(kAntiqua, 12,
                u"We, the Chancellor, the Pro-Chancellor, the Vice-Chancellor, the members of the Academic Council "
                "and Syndicate of "_s
                    + config(u"UniversityName"_s) + u", certify that, "_s);
    if (!typeOne && m_selection.certType.trimmed() == u"2"_s)
        pen.english(kAntiqua, 12, u"on the recommendation of the Board of Examiners,"_s);
    b.endParagraph();
    pen.english(u"Verdana"_s, 14, row.name + u'\n');
    pen.english(kAntiqua, 12, u"bearing Register Number "_s);
    pen.english(kAntiqua, 13, row.regno);
    pen.english(kAntiqua, 13, u" has been admitted to the degree of\n"_s);
    pen.english(u"Verdana"_s, 14, row.descpn + u'\n');
    if (row.hasSpeciality())
        pen.english(u"Verdana"_s, 10, u"("_s + row.special + u")\n"_s);
    pen.english(kAntiqua, 12, u"at the "_s);
    pen.english(kAntiqua, 13, row.convoName);
    pen.english(kAntiqua, 13, u" Convocation held on "_s);
    pen.english(kAntiqua, 13, row.convoDate);
    if (typeOne) {
        pen.english(kAntiqua, 13, u" having passed in the prescribed examination held in the year "_s);
        pen.english(kAntiqua, 13, row.examDate);
        pen.english(kAntiqua, 13, u" and placed in "_s);
        pen.english(kAntiqua, 13, row.classDesc);
    }
    b.endParagraph();
    pen.fixed(13, kannadaphrase::kGivenUnderSeal);
    pen.english(kAntiqua, 12, u"Given under the seal of the University.\n"_s);
}

void DegreeLayouts::typeDataReportAddress(DocumentBuilder &b, const CertificateRow &row) const
{
    // A line the institution file leaves empty is left out.
    CertificatePen pen(b);
    b.setAlignment(Alignment::Left);
    if (!config(u"CampusKan"_s).isEmpty())
        pen.fixed(10, config(u"CampusKan"_s) + u'\n');
    for (const QString &key : {u"Campus"_s, u"PinLine"_s}) {
        if (!config(key).isEmpty())
            pen.english(kAntiqua, 8, config(key) + u'\n');
    }
    for (const QString &key : {u"State"_s, u"Country"_s}) {
        if (!config(key + u"Kan"_s).isEmpty())
            pen.fixed(10, config(key + u"Kan"_s) + u" / "_s);
        if (!config(key).isEmpty() || !config(key + u"Kan"_s).isEmpty())
            pen.english(kAntiqua, 8, config(key) + u'\n');
    }
    pen.fixed(10, kannadaphrase::kDateOf);
    pen.english(kAntiqua, 8, u"Date : "_s + issueDate(row) + u'\n');
    pen.english(kAntiqua, 8, u"College / Dept. : "_s + row.collCode);
    b.endParagraph();
}

// The candidate's photograph in the box the stationery prints for it.
void DegreeLayouts::placePhotograph(DocumentBuilder &b, const CertificateRow &row, const QRectF &box) const
{
    const QString photo = photograph(row.regno);
    if (!photo.isEmpty())
        picture(b, photo, box.left() / kPointsPerInch, box.top() / kPointsPerInch, box.width(), box.height());
}

Document DegreeLayouts::tcs(const CertificateRow &row, bool doctorate) const
{
    const bool typeOne = m_selection.certType.trimmed() == u"1"_s;
    const bool univ027 = row.univCode == u"027"_s;

    Document doc;
    DocumentBuilder b(doc);
    startSheet(b, (m_distance ? 3.0 : 3.1) - (univ027 ? 0.1 : 0.0));

    typeTcsBody(b, row, doctorate);
    typeTcsDetails(b, row, doctorate);

    // The photograph box of the sheet sits lower on type-1 sheets and on the
    // distance-education stationery, higher for university 027.
    double photoTop = typeOne ? 8.6 : 8.3;
    if (m_distance)
        photoTop += 0.1;
    if (univ027)
        photoTop -= 0.1;
    const SheetPictures at{QPointF(3.65, 10.0), QPointF(6.2, 10.3), QSizeF(110, 60),
                           QRectF(pt(0.5), pt(photoTop), 75, 95)};
    placeAddressAndPictures(doc, b, row, at, &DegreeLayouts::typeTcsAddress);
    return doc;
}

void DegreeLayouts::typeTcsBody(DocumentBuilder &b, const CertificateRow &row, bool doctorate) const
{
    // Each Kannada line is followed by its English line.
    auto pair = [&](const QString &kannada, const QString &englishText) {
        if (!kannada.isEmpty()) {
            b.setFont(kBrh, 15, true);
            b.type(kannada + u'\n');
        }
        b.setFont(u"Book Antiqua"_s, 14, false, true);
        b.type(englishText + u'\n');
    };
    pair(config(u"PreambleKan"_s), u"We, the Chancellor, the Pro-Chancellor, the Vice-Chancellor,"_s);
    b.setFont(u"Book Antiqua"_s, 14, false, true);
    b.type(u"the members of the Academic Council and the Syndicate\n"_s);
    b.setFont(u"Old English Text MT"_s, 20);
    b.type(u"Certify that\n"_s);
    b.setFont(kNudi, 19, true);
    b.setColour(kValueColour);
    if (!row.nameKan.isEmpty()) // not typed in yet: the line is left out
        b.type(row.nameKan + u'\n');
    b.setColour(QColor(Qt::black));
    b.setFont(u"Arial"_s, 18, true);
    b.type(row.name + u'\n');
    b.setFont(u"Book Antiqua"_s, 14, false, true);
    if (doctorate)
        b.type(u"on the recommendation of the Board of Examiners, admitted to the degree of\n"_s);
    else
        b.type(m_selection.diploma ? u"has been duly admitted to the\n"_s
                                   : u"has been duly admitted to the Degree of\n"_s);
    b.setFont(kNudi, 19, true);
    b.setColour(kValueColour);
    b.type(row.descpnKan + (row.hasSpeciality() ? u" ("_s + row.specialKan + u')' : QString()) + u'\n');
    b.setColour(QColor(Qt::black));
    b.setFont(u"Old English Text MT"_s, 22);
    b.type(row.descpn);
    if (row.hasSpeciality()) {
        // "Master of Science in Physics": the speciality is the field of the degree.
        b.setFont(u"Arial"_s, 14);
        b.type(u" in "_s + row.special);
    }
    b.endParagraph();
    b.setFont(u"Book Antiqua"_s, 14, false, true);
    b.type(u"in recognition of the fulfilment of requirements\n"_s);
    b.type(u"for the said Degree at the "_s + row.convoName + u" Convocation as indicated below:\n"_s);
}

void DegreeLayouts::typeTcsDetails(DocumentBuilder &b, const CertificateRow &row, bool doctorate) const
{
    auto detail = [&](const QString &kannada, const QString &caption, const QString &value) {
        if (!kannada.isEmpty()) {
            b.setFont(kBrh, 15, true);
            b.type(kannada + u" / "_s);
        }
        b.setFont(u"Arial"_s, 13);
        b.type(caption);
        b.setFont(u"Arial"_s, 12, true);
        b.type(value + u'\n');
    };
    if (doctorate) {
        detail(config(u"NotificationKan"_s), u"Date of Notification : "_s, row.examDate);
    } else {
        detail(config(u"RegNoKan"_s), u"Reg. No. : "_s, row.regno);
        detail(config(u"ClassKan"_s), u"Class / Grade : "_s, row.classDesc);
        detail(config(u"ExamYearKan"_s), u"Year of Examination : "_s, row.examDate);
    }
    detail(config(u"ConvoDateKan"_s), u"Date of Convocation : "_s, row.convoDate);
    b.setFont(kBrh, 15, true);
    b.type(kannadaphrase::kGivenUnderSeal);
    b.setFont(u"Book Antiqua"_s, 14, false, true);
    b.type(u"Given under the seal of the University.\n"_s);
}

void DegreeLayouts::typeTcsAddress(DocumentBuilder &b, const CertificateRow &row) const
{
    b.setAlignment(Alignment::Left);
    b.setFont(u"Arial"_s, 8);
    for (const QString &key : {u"Campus"_s, u"PinLine"_s, u"State"_s, u"Country"_s}) {
        if (!config(key).isEmpty())
            b.type(config(key) + u'\n');
    }
    b.type(u"Date of Issue : "_s + issueDate(row));
    b.endParagraph();
}

Document DegreeLayouts::inst008(const CertificateRow &row, bool speciality) const
{
    const QString town = m_config.value(u"LETTERHEAD"_s, u"CampusTown"_s);

    Document doc;
    DocumentBuilder b(doc);
    startSheet(b, 3.2);

    auto kan = [&](const QString &font, double size, const QString &text) {
        b.setFont(font, size, true);
        b.type(text);
    };
    kan(kNudi, 19, row.nameKan + u'\n');
    kan(kBrh, 15, kannadaphrase::kThisPerson);
    kan(kNudi, 16, row.kannadaExamDate() + kannadaphrase::kHeldIn);
    kan(kBrh, 15, kannadaphrase::kInExamination);
    kan(kNudi, 16, row.classDescKan + kannadaphrase::kInClass);
    kan(kBrh, 15, kannadaphrase::kCertifiedPassedToThisPerson);
    kan(kNudi, 16, row.descpnKan + (speciality ? u" ("_s + row.specialKan + u')' : QString()) + u' ');
    kan(kBrh, 15, config(u"ConferredKan"_s) + u'\n');
    kan(kNudi, 16, row.convoDateKan + kannadaphrase::kOn);

    b.setFont(u"Cooper Black"_s, 18);
    b.type(row.name + u'\n');
    b.setFont(u"Bookman Old Style"_s, 12);
    b.type(u"Reg.no : "_s + row.regno + u'\n');
    b.setFont(u"Arial"_s, 12);
    b.type((speciality ? u"has passed the "_s + row.descpn + u" Examination held in "_s
                       : u"has passed the Bachelor's Degree Examination held in "_s)
           + row.examDate + u'\n');
    b.type(u"in "_s + row.classDesc + u'\n');
    b.setFont(u"Calibri"_s, 14, true);
    b.type(u"The Degree of "_s + row.descpn + (speciality ? u" ("_s + row.special + u')' : QString()) + u'\n');
    b.setFont(u"Arial"_s, 12);
    // Conferred at the convocation; the date of issue follows only where it is another day,
    // so the same date is never printed twice nor run into the one before it.
    QString conferred =
        u"has been conferred on "_s + row.objectPronoun() + u" at "_s + town + u" on the "_s + row.convoDate;
    if (const QString issued = issueDate(row); parseDmy(issued) != parseDmy(row.convoDate))
        conferred += u"\nDate of Issue : "_s + issued;
    b.type(conferred);
    b.endParagraph();

    placePictures(doc, b, row, {std::nullopt, QPointF(6.2, 10.5), QSizeF(110, 60), QRectF(pt(0.6), pt(8.4), 75, 95)});
    return doc;
}

} // namespace sw
