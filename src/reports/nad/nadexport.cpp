// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/nad/nadexport.h"

#include "reports/lists/ranges.h"
#include "shell/core/csvwriter.h"
#include "shell/core/kannadatext.h"
#include "shell/session.h"
#include "shell/core/stoperror.h"
#include "shell/signing/pdfsignature.h"
#include "shell/workbook/workbook.h"
#include "shell/settings/controlstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSet>
#include <QSqlRecord>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// The 84 columns of the CDSL award sheet, in the depository's order.
const QStringList &cdslColumns()
{
    static const QStringList names = {u"yearofExam"_s,
                                      u"yearofExamR"_s,
                                      u"monthofExam"_s,
                                      u"monthofExamR"_s,
                                      u"NADCertificateID"_s,
                                      u"AICourseId"_s,
                                      u"programmeNameD"_s,
                                      u"programmeNameDR"_s,
                                      u"discipline"_s,
                                      u"disciplineR"_s,
                                      u"Schoolof"_s,
                                      u"SchoolofR"_s,
                                      u"facultyname"_s,
                                      u"facultynameR"_s,
                                      u"eventID"_s,
                                      u"examNo"_s,
                                      u"session"_s,
                                      u"sessionR"_s,
                                      u"convocationDate"_s,
                                      u"upldMode"_s,
                                      u"Rec_Type"_s,
                                      u"RecNo"_s,
                                      u"StudExamIdenName"_s,
                                      u"StudExamIdenValue"_s,
                                      u"StudProgIdenName"_s,
                                      u"StudProgIdenValue"_s,
                                      u"AADHAAR"_s,
                                      u"NADID"_s,
                                      u"name"_s,
                                      u"nameR"_s,
                                      u"gender"_s,
                                      u"DOB"_s,
                                      u"DOBR"_s,
                                      u"caste"_s,
                                      u"religion"_s,
                                      u"nationality"_s,
                                      u"PWD"_s,
                                      u"address1"_s,
                                      u"address2"_s,
                                      u"address3"_s,
                                      u"city"_s,
                                      u"pin"_s,
                                      u"state"_s,
                                      u"district"_s,
                                      u"email"_s,
                                      u"mobile"_s,
                                      u"fatherName"_s,
                                      u"fatherNameR"_s,
                                      u"motherName"_s,
                                      u"motherNameR"_s,
                                      u"guardianName"_s,
                                      u"guardianNameR"_s,
                                      u"photo"_s,
                                      u"sign"_s,
                                      u"NADInstituteId"_s,
                                      u"AIInstituteId"_s,
                                      u"Institutename"_s,
                                      u"InstitutenameR"_s,
                                      u"Institutenamezone"_s,
                                      u"InstitutenamePIN"_s,
                                      u"resDescNAD"_s,
                                      u"resDesc"_s,
                                      u"resDescR"_s,
                                      u"gradeObt"_s,
                                      u"classObt"_s,
                                      u"ClassObtainedR"_s,
                                      u"percObt"_s,
                                      u"certIssueDate"_s,
                                      u"certNo"_s,
                                      u"imageName"_s,
                                      u"publishDate"_s,
                                      u"AIRefNo"_s,
                                      u"Add_info1"_s,
                                      u"Add_info2"_s,
                                      u"Add_info3"_s,
                                      u"Add_info4"_s,
                                      u"Add_info5"_s,
                                      u"subjectCode"_s,
                                      u"subjectName"_s,
                                      u"subjectNameR"_s,
                                      u"Add_sub_info1"_s,
                                      u"Add_sub_info2"_s,
                                      u"Add_sub_info3"_s,
                                      u"thesis"_s};
    return names;
}

// Zero-based columns of SHEET_01 that the export fills.
namespace cdsl {
constexpr int kYear = 0, kMonth = 2, kCourse = 5, kEvent = 14, kMode = 19, kRecType = 20, kRecNo = 21, kExamIdName = 22,
              kExamIdValue = 23, kProgIdName = 24, kProgIdValue = 25, kName = 28, kGender = 30, kCaste = 33,
              kReligion = 34, kNationality = 35, kPwd = 36, kResult = 60, kGrade = 63, kClass = 64, kImage = 69,
              kPublished = 70, kStudentAccount = 27, kNameR = 29, kFatherNameR = 47, kMotherNameR = 49;
} // namespace cdsl

const QStringList kProgramHeaders = {u"Sr No"_s,
                                     u"Course Name"_s,
                                     u"Course Code"_s,
                                     u"Level Id"_s,
                                     u"Mode Id"_s,
                                     u"Discipline"_s,
                                     u"Dept. Name"_s,
                                     u"Faculty Name"_s,
                                     u"Course Duration in Years"_s,
                                     u"Course Duration in Months"_s,
                                     u"Exam System Id"_s,
                                     u"Evaluation Pattern"_s,
                                     u"Language Medium"_s};

const QStringList kDataHeaders = {u"AI Code"_s,
                                  u"Program ID"_s,
                                  u"Year of Exam"_s,
                                  u"Month of Exam"_s,
                                  u"Exam Name"_s,
                                  u"Student name"_s,
                                  u"Reg. No."_s,
                                  u"Date of Birth"_s,
                                  u"Mobile No."_s,
                                  u"Email ID"_s,
                                  u"Nationality"_s,
                                  u"Religion"_s,
                                  u"Gender"_s,
                                  u"Category"_s,
                                  u"Differently abled"_s,
                                  u"College ID"_s,
                                  u"College name"_s,
                                  u"College Pin Code"_s,
                                  u"Method of Marking"_s,
                                  u"Result"_s,
                                  u"Aadhaar No"_s,
                                  u"Image name"_s,
                                  u"Photo"_s,
                                  u"Signature"_s};

// The temporary table's columns, in the order each result table's rows are selected into it.
const QStringList kDetailColumns = {
    u"faicode"_s, u"fdegree"_s,   u"fexamno"_s,   u"fexamdate"_s, u"fexamname"_s,   u"fname"_s,    u"fregno"_s,
    u"fdob"_s,    u"fmobile"_s,   u"femail"_s,    u"fnational"_s, u"freligion"_s,   u"fsex"_s,     u"fgroup"_s,
    u"fph"_s,     u"fcollcode"_s, u"fcollname"_s, u"fcollpin"_s,  u"fcredit"_s,     u"fpercent"_s, u"fcgpa"_s,
    u"fresult"_s, u"fclass"_s,    u"feligible"_s, u"faadhar"_s,   u"fclassdescpn"_s};

CellFormat bold()
{
    CellFormat f;
    f.bold = true;
    return f;
}

// Every sheet of both layouts prints its header row on each page, the date at the
// top left and the page number at the foot.
void datedPages(Worksheet &sheet)
{
    sheet.setRepeatRows(0, 0);
    sheet.setHeader(PageText().at(PageText::Section::Left).field(PageText::Field::Date));
    sheet.setFooter(PageText().at(PageText::Section::Centre).field(PageText::Field::Page));
}

// The names of the PDF copies present, lower-cased: the copies were made on a
// system that does not tell "X.PDF" from "x.pdf".
QSet<QString> copiesPresent(const AppFolder &folder)
{
    QSet<QString> names;
    const QDir dir(folder.filePath(u"CSV/DCPDF"_s));
    for (const QString &name : dir.entryList(QDir::Files))
        names.insert(name.toLower());
    return names;
}

} // namespace

void NadSelection::normaliseRanges()
{
    ranges::complete(fromDegree, toDegree, u"0000"_s, u"ZZZZ"_s);
    ranges::complete(fromCollege, toCollege, u"0000"_s, u"ZZZZ"_s);
}

NadExport::NadExport(Session &session)
    : m_session(session)
{
}

QString NadExport::defaultPath(bool cdsl) const
{
    return m_session.folder.outputPath(cdsl ? u"NAD_CDSL.xlsx"_s : u"NAD_NSDL.xlsx"_s);
}

const QString NadExport::kNoCopy = u"no PDF copy"_s;
const QString NadExport::kNotSigned = u"not signed"_s;

QString NadExport::missingListPath(const QString &workbookPath)
{
    const QFileInfo info(workbookPath);
    return info.dir().filePath(info.completeBaseName() + u"_MissingPDF.csv"_s);
}

QString NadExport::missingMessage(const QString &workbookPath) const
{
    if (m_missing.empty())
        return {};
    QStringList noCopy;
    QStringList notSigned;
    QStringList refused;
    for (const MissingCopy &m : m_missing)
        (m.reason == kNoCopy ? noCopy : m.reason == kNotSigned ? notSigned : refused).append(m.regno);
    const auto some = [](const QStringList &regnos) -> QString {
        return regnos.mid(0, 5).join(u", "_s) + (regnos.size() > 5 ? u", ..."_s : QString());
    };
    QStringList parts;
    if (!noCopy.isEmpty())
        parts.append(QString::number(noCopy.size()) + u" certificate(s) left out: no PDF copy in CSV/DCPDF ("_s
                     + some(noCopy) + u")."_s);
    if (!notSigned.isEmpty())
        parts.append(QString::number(notSigned.size())
                     + u" certificate(s) left out: the PDF copy is not signed (no _signed.pdf in CSV/DCPDF; sign the "
                       "copies with PDF Generation, Sign ticked) ("_s
                     + some(notSigned) + u")."_s);
    if (!refused.isEmpty())
        parts.append(QString::number(refused.size())
                     + u" certificate(s) left out: the signed copy's signature is not valid ("_s + some(refused)
                     + u")."_s);
    return parts.join(u' ') + u" The list is in "_s + missingListPath(workbookPath) + u'.';
}

QString NadExport::depositoryId() const
{
    const QString id = ControlStore(m_session.db()).institution().depositoryId;
    if (id.isEmpty())
        throw StopError(u"The institution's depository id (control.fnadid) is not set: enter the NAD id in the "
                        "settings before exporting."_s,
                        PromptIcon::Exclamation);
    return id;
}

void NadExport::checkDegreeCodes(const NadSelection &s) const
{
    const Database &db = m_session.db();
    const SqlDialect &d = db.dialect();
    Rows rows = db.query(u"select distinct degree.fdegree, degree.fcoursecode, degree.feventid from convo, degree "
                         "where convo.fdegree = degree.fdegree and convo.factive = 'T' and "_s
                             + d.coalesce(u"convo.fcertno"_s, u"''"_s)
                             + u" <> '' and convo.fdegree between ? and ? and convo.fcollcode between ? and ? "
                               "and convo.fconvocode = ? and ("_s
                             + d.coalesce(u"degree.fcoursecode"_s, u"''"_s) + u" = '' or "_s
                             + d.coalesce(u"degree.feventid"_s, u"''"_s) + u" = '') order by degree.fdegree"_s,
                         {s.fromDegree, s.toDegree, s.fromCollege, s.toCollege, m_session.convoCode});
    QStringList problems;
    while (rows.next()) {
        QStringList lacks;
        if (rows.text(1).trimmed().isEmpty())
            lacks.append(u"course code"_s);
        if (rows.text(2).trimmed().isEmpty())
            lacks.append(u"event id"_s);
        problems.append(u"degree "_s + rows.text(0) + u" has no "_s + lacks.join(u" and no "_s));
    }
    if (!problems.isEmpty())
        throw StopError(u"The depository needs each degree's course code and event id: "_s + problems.join(u"; "_s)
                            + u". Enter them in the degree master first."_s,
                        PromptIcon::Exclamation);
}

QString AwardRecord::copyName(const QString &instCode) const
{
    return u"DC_"_s + instCode.trimmed() + u'_' + regno + u"_F_"_s + year + u'_' + examType + u".pdf"_s;
}

std::vector<AwardRecord> NadExport::selectAwards(const NadSelection &s) const
{
    const Database &db = m_session.db();
    Rows rows = db.query(
        u"select convo.*, college.fcollname, degree.fdescpn, degree.fcoursecode, degree.feventid, degree.fcredit, "
        "degree.fdescpnkan, degree.fspecial as fdegspecial, degree.fspecialkan as fdegspecialkan "
        "from convo, college, degree where convo.fdegree = degree.fdegree and convo.fcollcode = college.fcollcode "
        "and convo.factive = 'T' and "_s
            + db.dialect().coalesce(u"convo.fcertno"_s, u"''"_s)
            + u" <> '' and convo.fdegree between ? and ? and convo.fcollcode between ? and ? "
              "and convo.fconvocode = ? order by convo.fdegree, convo.fcollcode, convo.fregno"_s,
        {s.fromDegree, s.toDegree, s.fromCollege, s.toCollege, m_session.convoCode});
    if (!rows.next())
        throw StopError(u"No students found for the given range"_s, PromptIcon::Exclamation);

    Statement classQuery = db.prepare(u"select fclassdesc from class where fclasscode = ?"_s);
    QHash<QString, QString> classDescriptions;
    const auto classDescription = [&](const QString &code) -> QString {
        const auto found = classDescriptions.constFind(code);
        if (found != classDescriptions.constEnd())
            return *found;
        Rows r = classQuery.run({code});
        const QString text = r.next() ? r.text(0) : QString();
        classDescriptions.insert(code, text);
        return text;
    };
    // Columns looked up once: fifty thousand rows make name look-ups add up.
    const QSqlRecord record = rows.query().record();
    const auto column = [&record](const char *name) { return record.indexOf(QLatin1StringView(name)); };
    const int cRegno = column("fregno"), cYear = column("fyear"), cExamType = column("fexamtype"),
              cDegree = column("fdegree"), cCollege = column("fcollcode"), cCertNo = column("fcertno"),
              cExamDate = column("fexamdate"), cClass = column("fclasscode"), cCredit = column("fcredit"),
              cIssued = column("fdate"), cCourse = column("fcoursecode"), cEvent = column("feventid"),
              cName = column("fname"), cNameKan = column("fnamekan"), cFather = column("ffatname"),
              cFatherKan = column("ffatnamekan"), cMother = column("fmotname"), cMotherKan = column("fmotnamekan"),
              cSex = column("fsex"), cDob = column("fdob"), cDegreeName = column("fdescpn"),
              cDegreeNameKan = column("fdescpnkan"), cSpecial = column("fdegspecial"),
              cSpecialKan = column("fdegspecialkan"), cAbcId = column("fabcid");
    std::vector<AwardRecord> awards;
    do {
        AwardRecord a;
        a.regno = rows.text(cRegno);
        a.name = rows.text(cName);
        a.nameKan = rows.text(cNameKan);
        a.fatherName = rows.text(cFather);
        a.fatherNameKan = rows.text(cFatherKan);
        a.motherName = rows.text(cMother);
        a.motherNameKan = rows.text(cMotherKan);
        a.sex = rows.text(cSex);
        a.dob = rows.text(cDob);
        a.abcId = rows.text(cAbcId).trimmed();
        a.degree = rows.text(cDegree);
        a.college = rows.text(cCollege);
        a.certNo = rows.text(cCertNo);
        a.examDate = rows.text(cExamDate);
        a.year = rows.text(cYear);
        a.examType = rows.text(cExamType);
        a.classDesc = classDescription(rows.text(cClass));
        a.degreeName = rows.text(cDegreeName);
        a.degreeNameKan = rows.text(cDegreeNameKan);
        a.speciality = rows.text(cSpecial);
        a.specialityKan = rows.text(cSpecialKan);
        a.courseCode = rows.text(cCourse);
        a.eventId = rows.text(cEvent);
        a.credit = rows.text(cCredit) == u"T"_s;
        a.issued = rows.date(cIssued);
        awards.push_back(std::move(a));
    } while (rows.next());
    return awards;
}

std::vector<AwardRecord> NadExport::withCopies(const std::vector<AwardRecord> &awards)
{
    m_missing.clear();
    const QSet<QString> present = copiesPresent(m_session.folder);
    const bool signedNames = m_session.instCode.trimmed() == u"003"_s;
    const QString database = SignatureSettings::load(m_session.folder).database;
    std::vector<AwardRecord> kept;
    for (const AwardRecord &a : awards) {
        const QString fileName = a.copyName(m_session.instCode);
        if (!present.contains(fileName.toLower())) {
            m_missing.push_back({a.regno, a.degree, a.college, a.certNo, fileName, kNoCopy});
            continue;
        }
        // The row names the signed copy: it must be there, and be one the depository accepts.
        const QString signedName = QString(fileName).replace(u".pdf"_s, u"_signed.pdf"_s);
        if (signedNames && !present.contains(signedName.toLower())) {
            m_missing.push_back({a.regno, a.degree, a.college, a.certNo, signedName, kNotSigned});
            continue;
        }
        if (signedNames) {
            const QString path = m_session.folder.findFileAnyCase(u"CSV/DCPDF/"_s + signedName);
            const SignatureCheck check = verifyPdfSignature(path, database);
            if (!check.valid) {
                m_missing.push_back(
                    {a.regno, a.degree, a.college, a.certNo, signedName, u"signature not valid: "_s + check.problem});
                continue;
            }
        }
        kept.push_back(a);
    }
    return kept;
}

CdslRow NadExport::cdslRow(const AwardRecord &a, int recNo, const QString &instCode, bool unicodeKannada)
{
    const bool signedCopies = instCode.trimmed() == u"003"_s;
    const QString fileName = a.copyName(instCode);
    CdslRow row = {
        {cdsl::kYear, a.examDate.right(4)},
        {cdsl::kMonth, a.examDate.left(3)},
        {cdsl::kCourse, a.courseCode},
        {cdsl::kEvent, a.eventId},
        {cdsl::kMode, u"I"_s},
        {cdsl::kRecType, u"O"_s},
        {cdsl::kRecNo, double(recNo)},
        {cdsl::kExamIdName, u"Reg. No."_s},
        {cdsl::kExamIdValue, a.regno},
        {cdsl::kProgIdName, u"Reg. No."_s},
        {cdsl::kProgIdValue, a.regno},
        {cdsl::kName, a.name},
    };
    // The layout's NADID is the student's depository account, the ABC ID since the depository took that name.
    if (!a.abcId.isEmpty())
        row.push_back({cdsl::kStudentAccount, a.abcId});
    if (unicodeKannada) {
        row.push_back({cdsl::kNameR, kannada::readable(a.nameKan)});
        row.push_back({cdsl::kFatherNameR, kannada::readable(a.fatherNameKan)});
        row.push_back({cdsl::kMotherNameR, kannada::readable(a.motherNameKan)});
    }
    for (int c : {cdsl::kGender, cdsl::kCaste, cdsl::kReligion, cdsl::kNationality, cdsl::kPwd})
        row.push_back({c, u"X"_s});
    row.push_back({cdsl::kResult, signedCopies ? u"Pass"_s : a.classDesc});
    if (signedCopies && a.credit)
        row.push_back({cdsl::kGrade, a.classDesc});
    if (signedCopies && !a.credit)
        row.push_back({cdsl::kClass, a.classDesc});
    row.push_back({cdsl::kImage, signedCopies ? QString(fileName).replace(u".pdf"_s, u"_signed.pdf"_s) : fileName});
    row.push_back(
        {cdsl::kPublished, a.issued.isValid() ? a.issued.toString(u"yyyy-MM-dd"_s) + u" 00:00:00"_s : QString()});
    return row;
}

void NadExport::writeCdslWorkbook(const QString &path, const QString &nadId, const std::vector<CdslRow> &rows)
{
    Workbook book(path, Workbook::Memory::Constant);
    Worksheet &head = book.addSheet(u"HEAD"_s);
    head.write(0, 0, u"BatchNo"_s, bold());
    head.write(0, 1, u"AI_NAD_Code"_s, bold());
    head.write(1, 0, 1.0);
    head.write(1, 1, nadId);

    Worksheet &sheet = book.addSheet(u"SHEET_01"_s);
    CellFormat text;
    text.numberFormat = u"@"_s;
    sheet.setColumn(cdsl::kPublished, cdsl::kPublished, 20, text);
    const QStringList &columns = cdslColumns();
    for (int c = 0; c < columns.size(); ++c)
        sheet.write(0, c, columns[c], bold());
    datedPages(sheet);
    sheet.setMarginsInches(0.25, 0.25, 0.5, 0.5);
    sheet.setHeaderFooterMarginsInches(0.25, 0.3);
    int r = 0;
    for (const CdslRow &row : rows) {
        ++r;
        for (const auto &[c, value] : row) {
            if (value.typeId() == QMetaType::Double)
                sheet.write(r, c, value.toDouble());
            else if (c == cdsl::kPublished)
                sheet.write(r, c, value.toString(), text);
            else
                sheet.write(r, c, value.toString());
        }
    }

    Worksheet &tail = book.addSheet(u"TAIL"_s);
    tail.write(0, 0, u"AWARD_TOTAL_REC"_s, bold());
    tail.write(0, 1, u"AWARD_XMLVer"_s, bold());
    tail.write(1, 0, double(rows.size()));
    tail.write(1, 1, 1.0);
    book.close();
}

int NadExport::Gen_NAD_Report_CDSL(const NadSelection &s, const QString &path)
{
    m_missing.clear();
    const std::vector<AwardRecord> awards = selectAwards(s);
    const QString nadId = depositoryId();
    checkDegreeCodes(s);

    std::vector<CdslRow> rows;
    for (const AwardRecord &award : withCopies(awards))
        rows.push_back(cdslRow(award, int(rows.size()) + 1, m_session.instCode, s.unicodeKannada));
    writeCdslWorkbook(path, nadId, rows);
    writeMissingList(path);
    return int(rows.size());
}

void NadExport::writeMissingList(const QString &workbookPath) const
{
    const QString listPath = missingListPath(workbookPath);
    if (m_missing.empty()) {
        QFile::remove(listPath); // an earlier run's list no longer applies
        return;
    }
    QSaveFile file(listPath);
    if (!file.open(QIODevice::WriteOnly))
        throw StopError(u"The list of certificates without a PDF copy cannot be written to "_s + listPath + u": "_s
                        + file.errorString());
    QByteArray lines = "Reg. No.,Degree,College,Cert. No.,PDF copy expected in CSV/DCPDF,Why left out\r\n";
    for (const MissingCopy &m : m_missing)
        lines += csv::record(QStringList{m.regno, m.degree, m.college, m.certNo, m.fileName, m.reason}) + "\r\n";
    file.write(lines);
    if (!file.commit())
        throw StopError(u"The list of certificates without a PDF copy cannot be written to "_s + listPath + u": "_s
                        + file.errorString());
}

// --- NSDL ------------------------------------------------------------------

const std::vector<std::pair<QString, QStringList>> &NadExport::resultColumns()
{
    static const std::vector<std::pair<QString, QStringList>> tables = [] {
        std::vector<std::pair<QString, QStringList>> list = {
            {u"student"_s,
             {u"fdegree"_s, u"fregno"_s, u"fname"_s, u"fdob"_s, u"fmobile"_s, u"femail"_s, u"fnational"_s,
              u"freligion"_s, u"fsex"_s, u"fgroup"_s}}};
        for (char letter = 'A'; letter <= 'J'; ++letter)
            list.push_back({u"result"_s + QChar::fromLatin1(letter),
                            {u"fdegree"_s, u"fexamno"_s, u"fyear"_s, u"fexamtype"_s, u"fcollcode"_s, u"fregno"_s,
                             u"fpercent"_s, u"fcgpa"_s, u"fresult"_s, u"fclass"_s, u"feligible"_s, u"factive"_s}});
        list.push_back({u"degree"_s,
                        {u"fdegree"_s, u"fdescpn"_s, u"fexamno"_s, u"fyear"_s, u"fexamtype"_s, u"fexamdate"_s,
                         u"fexamname"_s, u"fmaxtype"_s, u"fcredit"_s}});
        list.push_back({u"reason"_s, {u"freasoncd"_s, u"fdescpn"_s}});
        return list;
    }();
    return tables;
}

// The result tables belong to the result-processing database; say exactly which of
// them or of their columns is missing rather than fail on the first statement.
void NadExport::checkResultTables() const
{
    const Database &db = m_session.db();
    QStringList problems;
    for (const auto &[table, columns] : resultColumns()) {
        const BoundSql listing = db.dialect().columnListing(db.table(table));
        Rows rows = db.query(listing.sql, listing.params);
        QSet<QString> present;
        while (rows.next())
            present.insert(rows.text(1).toLower());
        if (present.isEmpty()) {
            problems.append(u"the table "_s + table + u" is missing"_s);
            continue;
        }
        QStringList absent;
        for (const QString &column : columns) {
            if (!present.contains(column))
                absent.append(column);
        }
        if (!absent.isEmpty())
            problems.append(u"the table "_s + table + u" has no column "_s + absent.join(u", "_s));
    }
    if (!problems.isEmpty())
        throw StopError(u"The NSDL layout reads the examination-result tables of this database, and "_s
                            + problems.join(u"; "_s) + u'.',
                        PromptIcon::Exclamation);
}

QString NadExport::buildTemporaryTable(bool passOnly)
{
    Database &db = m_session.db();
    const SqlDialect &d = db.dialect();
    const QString tableName = QString::fromLatin1(kTemporaryTable);
    const QString tmp = db.temporaryTable(tableName);

    QStringList definitions;
    for (const QString &column : kDetailColumns)
        definitions.append(column + (column == u"fcollname"_s ? u" VARCHAR(200)"_s : u" VARCHAR(100)"_s));
    try {
        db.exec(d.createTemporaryTable(tableName, definitions));
    } catch (const DbError &e) {
        // Left by an earlier export on this connection: it lives as long as the connection.
        if (!e.description().contains(tableName, Qt::CaseInsensitive))
            throw;
        db.exec(d.dropTemporaryTable(tableName));
        db.exec(d.createTemporaryTable(tableName, definitions));
    }

    const QString insert =
        u"insert into "_s + tmp + u" ("_s + kDetailColumns.mid(0, kDetailColumns.size() - 1).join(u", "_s)
        + u") select distinct 'AI Code', r.fdegree, r.fexamno, d.fexamdate, d.fexamname, s.fname, r.fregno, s.fdob, "
          "s.fmobile, s.femail, s.fnational, s.freligion, s.fsex, s.fgroup, '', r.fcollcode, "_s
        + d.concat({u"c.fcollname"_s, u"', '"_s, u"c.ftown"_s})
        + u", '', d.fcredit, r.fpercent, r.fcgpa, r.fresult, r.fclass, r.feligible, '' from "_s + db.table(u"degree"_s)
        + u" d, "_s + db.table(u"student"_s) + u" s, %1 r, "_s + db.table(u"college"_s)
        + u" c where r.fdegree = d.fdegree and r.fexamno = d.fexamno and r.fyear = d.fyear "
          "and r.fexamtype = d.fexamtype and r.fdegree = s.fdegree and r.fregno = s.fregno "
          "and r.fcollcode = c.fcollcode and r.factive = 'T' and "_s
        + d.coalesce(u"r.fresult"_s, u"''"_s) + u" <> '' and "_s + d.coalesce(u"r.fresult"_s, u"''"_s) + u" <> 'W'"_s
        + (passOnly ? u" and r.fresult = 'P' and r.feligible = 'T'"_s : QString());
    for (char letter = 'A'; letter <= 'J'; ++letter)
        db.exec(insert.arg(db.table(u"result"_s + QChar::fromLatin1(letter))));

    db.exec(u"update "_s + tmp + u" set fclassdescpn = case when fresult = 'P' then 'Pass' else 'Fail' end"_s);
    const QString reason = db.table(u"reason"_s);
    db.exec(u"update "_s + tmp + u" set fclassdescpn = (select max(x.fdescpn) from "_s + reason
            + u" x where x.freasoncd = "_s + tmp
            + u".fclass) where fresult = 'P' and fclass <> '0' and feligible = 'T' "
              "and exists (select 1 from "_s
            + reason + u" x where x.freasoncd = "_s + tmp + u".fclass)"_s);
    return tmp;
}

int NadExport::Gen_NAD_Report_NSDL(bool passOnly, const QString &path)
{
    checkResultTables();
    Database &db = m_session.db();
    Workbook book(path, Workbook::Memory::Constant);

    Worksheet &program = book.addSheet(u"Program"_s);
    for (int c = 0; c < kProgramHeaders.size(); ++c)
        program.write(0, c, kProgramHeaders[c], bold());
    datedPages(program);
    Rows degrees = db.query(u"select distinct fdegree, fdescpn, 'Full Time' as fcoursetype, fmaxtype, fcredit from "_s
                            + db.table(u"degree"_s) + u" order by fdegree"_s);
    int row = 0;
    while (degrees.next()) {
        ++row;
        const QStringList values = {QString::number(row),
                                    degrees.text(1),
                                    degrees.text(0),
                                    {},
                                    degrees.text(2),
                                    u"Discipline"_s,
                                    u"Department"_s,
                                    u"Faculty"_s,
                                    u"Course Duration in Years"_s,
                                    u"Course Duration in Months"_s,
                                    u"Annual / Semester"_s,
                                    degrees.text(4) == u"T"_s ? u"CGPA"_s : u"Marks"_s,
                                    u"English"_s};
        program.write(row, 0, double(row));
        for (int c = 1; c < values.size(); ++c) {
            if (!values[c].isEmpty())
                program.write(row, c, values[c]);
        }
    }

    const QString tmp = buildTemporaryTable(passOnly);
    Worksheet &data = book.addSheet(u"Data"_s);
    for (int c = 0; c < kDataHeaders.size(); ++c)
        data.write(0, c, kDataHeaders[c], bold());
    datedPages(data);
    Rows details = db.query(u"select * from "_s + tmp + u" order by fdegree, fexamno, fcollcode, fregno"_s);
    int written = 0;
    while (details.next()) {
        const int r = ++written;
        const bool credit = details.text(u"fcredit"_s) == u"T"_s;
        const QString regno = details.text(u"fregno"_s);
        const QString examDate = details.text(u"fexamdate"_s);
        // The photographs are kept under Photos/, as for every other use of them.
        const QString photo = m_session.folder.findFileAnyCase(u"Photos/"_s + regno + u".jpg"_s);
        const QString bitmap = m_session.folder.findFileAnyCase(u"Photos/"_s + regno + u".bmp"_s);
        const QStringList values = {{},
                                    details.text(u"fdegree"_s),
                                    examDate,
                                    examDate,
                                    details.text(u"fexamname"_s),
                                    details.text(u"fname"_s),
                                    regno,
                                    details.text(u"fdob"_s),
                                    details.text(u"fmobile"_s),
                                    details.text(u"femail"_s),
                                    details.text(u"fnational"_s),
                                    details.text(u"freligion"_s),
                                    details.text(u"fsex"_s),
                                    details.text(u"fgroup"_s),
                                    {},
                                    details.text(u"fcollcode"_s),
                                    details.text(u"fcollname"_s),
                                    {},
                                    credit ? u"CGPA"_s : u"Marks"_s,
                                    details.text(credit ? u"fcgpa"_s : u"fpercent"_s) + u" / "_s
                                        + details.text(u"fclassdescpn"_s),
                                    {},
                                    photo.isEmpty() ? QString() : regno + u".jpg"_s,
                                    bitmap.isEmpty() ? QString() : regno + u".bmp"_s,
                                    {}};
        for (int c = 0; c < values.size(); ++c) {
            if (!values[c].isEmpty())
                data.write(r, c, values[c]);
        }
    }
    book.close();
    return written;
}

} // namespace sw
