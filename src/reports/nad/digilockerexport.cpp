// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/nad/digilockerexport.h"

#include "shell/core/csvreader.h"
#include "shell/core/csvwriter.h"
#include "shell/core/filewrite.h"
#include "shell/core/institutionconfig.h"
#include "shell/core/kannadatext.h"
#include "shell/core/stoperror.h"
#include "shell/document/zipbuilder.h"
#include "shell/session.h"
#include "shell/signing/pdfsignature.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <functional>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

constexpr int kYoungestGraduate = 14;
constexpr int kOldestGraduate = 110;

bool isDate(const QString &text) { return QDate::fromString(text, u"dd/MM/yyyy"_s).isValid(); }

// M, F or T from what the candidate form stores ("M", "F", "T", or the words).
QString genderLetter(const QString &stored)
{
    const QString s = stored.trimmed().toUpper();
    static const QHash<QString, QString> words = {
        {u"MALE"_s, u"M"_s}, {u"FEMALE"_s, u"F"_s}, {u"TRANSGENDER"_s, u"T"_s}};
    return words.value(s, s);
}

QString monthOf(const QString &examDate)
{
    // "APRIL 2025" -> "APRIL"
    const QStringList words = examDate.simplified().split(u' ');
    return words.size() > 1 ? words.mid(0, words.size() - 1).join(u' ') : QString();
}

} // namespace

QString DigiLockerResult::headline() const
{
    QString text = QString::number(written) + u" certificate(s) written"_s;
    if (!parts.isEmpty())
        text += u" to "_s + parts.join(u", "_s);
    return text + u"; "_s + QString::number(refused.size()) + u" refused"_s + (refused.empty() ? u"."_s : u":"_s);
}

QStringList DigiLockerResult::refusalLines() const
{
    QStringList lines;
    for (const DigiLockerRefusal &r : refused)
        lines << r.regno + u" ("_s + r.certNo + u"): "_s + r.reason;
    return lines;
}

QString DigiLockerResult::summary() const
{
    QString text = headline();
    for (const QString &line : refusalLines())
        text += u"\n  "_s + line;
    return text;
}

DigiLockerExport::DigiLockerExport(Session &session)
    : m_session(session)
    , m_config(InstitutionConfig::load(session.folder))
    , m_signing(SignatureSettings::fromConfig(m_config, session.folder))
{
}

const QStringList &DigiLockerExport::defaultColumns()
{
    static const QStringList columns = {u"ORG_NAME"_s,     u"ORG_NAME_L"_s,    u"ACADEMIC_COURSE_ID"_s,
                                        u"COURSE_NAME"_s,  u"COURSE_NAME_L"_s, u"STREAM"_s,
                                        u"STREAM_L"_s,     u"SESSION"_s,       u"REGN_NO"_s,
                                        u"RROLL"_s,        u"CNAME"_s,         u"CNAME_L"_s,
                                        u"GENDER"_s,       u"DOB"_s,           u"DOI"_s,
                                        u"YEAR"_s,         u"MONTH"_s,         u"RESULT"_s,
                                        u"DIVISION"_s,     u"GRADE"_s,         u"CGPA"_s,
                                        u"CERT_NO"_s,      u"REMARKS"_s,       u"ABC_ACCOUNT_ID"_s,
                                        u"AADHAAR_NAME"_s, u"PHOTO"_s,         u"MRKS_REC_STATUS"_s,
                                        u"FILE_NAME"_s};
    return columns;
}

const QStringList &DigiLockerExport::mandatoryColumns()
{
    static const QStringList columns = {u"ACADEMIC_COURSE_ID"_s,
                                        u"COURSE_NAME"_s,
                                        u"REGN_NO"_s,
                                        u"RROLL"_s,
                                        u"CNAME"_s,
                                        u"DOB"_s,
                                        u"CERT_NO"_s,
                                        u"DOI"_s,
                                        u"FILE_NAME"_s};
    return columns;
}

QStringList DigiLockerExport::templateColumns(const AppFolder &folder)
{
    const QString path = folder.findFileAnyCase(QString::fromLatin1(kTemplateFile));
    if (path.isEmpty())
        return defaultColumns();
    const CsvReader::Result read = CsvReader::readFile(path, ',', legacytext::Encoding::Utf8);
    if (read.records.empty())
        throw StopError(u"The template "_s + QDir::toNativeSeparators(path) + u" has no line of column names"_s
                            + (read.error.isEmpty() ? QString() : u": "_s + read.error) + u'.',
                        PromptIcon::Exclamation);
    QStringList columns;
    for (QString field : read.records.front().fields) {
        if (field.startsWith(QChar(0xFEFF)))
            field.remove(0, 1);
        columns.append(field.trimmed().toUpper());
    }
    QSet<QString> seen;
    for (int i = 0; i < columns.size(); ++i) {
        if (columns[i].isEmpty())
            throw StopError(u"The template "_s + QDir::toNativeSeparators(path) + u", line 1: column "_s
                                + QString::number(i + 1) + u" has no name."_s,
                            PromptIcon::Exclamation);
        if (seen.contains(columns[i]))
            throw StopError(u"The template "_s + QDir::toNativeSeparators(path) + u", line 1: the column "_s
                                + columns[i] + u" is named twice."_s,
                            PromptIcon::Exclamation);
        seen.insert(columns[i]);
    }
    return columns;
}

QString DigiLockerExport::signedCopyName(const AwardRecord &award) const
{
    return QFileInfo(m_signing.signedPath(award.copyName(m_session.instCode))).fileName();
}

QString DigiLockerExport::copyPath(const QString &name) const
{
    return m_copies.value(name.toLower(), m_session.folder.filePath(u"CSV/DCPDF/"_s + name));
}

QStringList DigiLockerExport::rowValues(const QStringList &columns, const AwardRecord &a) const
{
    const InstitutionConfig &config = m_config;
    const QString orgName = config.value(u"DIGILOCKER"_s, u"OrgName"_s).trimmed();
    using Value = std::function<QString()>;
    const QHash<QString, Value> values = {
        {u"ORG_NAME"_s, [&] { return orgName.isEmpty() ? m_session.instTitle.trimmed() : orgName; }},
        {u"ORG_NAME_L"_s, [&] { return kannada::readable(config.value(u"DIGILOCKER"_s, u"OrgNameKan"_s)); }},
        {u"ACADEMIC_COURSE_ID"_s, [&] { return a.courseCode; }},
        {u"COURSE_NAME"_s, [&] { return a.degreeName; }},
        {u"COURSE_NAME_L"_s, [&] { return kannada::readable(a.degreeNameKan); }},
        {u"STREAM"_s, [&] { return a.speciality; }},
        {u"STREAM_L"_s, [&] { return kannada::readable(a.specialityKan); }},
        {u"SESSION"_s, [&] { return a.year; }},
        {u"REGN_NO"_s, [&] { return a.regno; }},
        {u"RROLL"_s, [&] { return a.regno; }},
        {u"CNAME"_s, [&] { return a.name; }},
        {u"CNAME_L"_s, [&] { return kannada::readable(a.nameKan); }},
        {u"FNAME"_s, [&] { return a.fatherName; }},
        {u"FNAME_L"_s, [&] { return kannada::readable(a.fatherNameKan); }},
        {u"MNAME"_s, [&] { return a.motherName; }},
        {u"MNAME_L"_s, [&] { return kannada::readable(a.motherNameKan); }},
        {u"GENDER"_s, [&] { return genderLetter(a.sex); }},
        {u"DOB"_s, [&] { return a.dob.trimmed(); }},
        {u"DOI"_s, [&] { return a.issued.isValid() ? a.issued.toString(u"dd/MM/yyyy"_s) : QString(); }},
        {u"YEAR"_s, [&] { return a.examDate.trimmed().right(4); }},
        {u"MONTH"_s, [&] { return monthOf(a.examDate); }},
        {u"RESULT"_s, [&] { return u"PASS"_s; }},
        {u"DIVISION"_s, [&] { return a.classDesc; }},
        {u"GRADE"_s, [&] { return a.credit ? a.classDesc : QString(); }},
        {u"CERT_NO"_s, [&] { return a.certNo; }},
        {u"ABC_ACCOUNT_ID"_s, [&] { return a.abcId; }},
        {u"DOC_TYPE"_s, [&] { return u"DGCER"_s; }},
        {u"MRKS_REC_STATUS"_s, [&] { return u"O"_s; }},
        {u"FILE_NAME"_s, [&] { return signedCopyName(a); }},
    };
    QStringList row;
    row.reserve(columns.size());
    for (const QString &column : columns) {
        const auto value = values.constFind(column);
        row.append(value == values.constEnd() ? QString() : (*value)().trimmed());
    }
    return row;
}

QString DigiLockerExport::rowProblem(const QStringList &columns, const QStringList &values,
                                     const QString &signedPath) const
{
    const auto valueOf = [&](const QString &column) -> std::optional<QString> {
        const qsizetype i = columns.indexOf(column);
        return i < 0 ? std::nullopt : std::optional<QString>(values.value(i));
    };
    QStringList problems;
    for (const QString &column : mandatoryColumns()) {
        const auto v = valueOf(column);
        if (v && v->isEmpty())
            problems.append(column + u" is empty"_s);
    }
    for (const QString &column : {u"DOB"_s, u"DOI"_s}) {
        const auto v = valueOf(column);
        if (v && !v->isEmpty() && !isDate(*v))
            problems.append(column + u" \""_s + *v + u"\" is not a date dd/mm/yyyy"_s);
    }
    if (const auto dob = valueOf(u"DOB"_s); dob && isDate(*dob)) {
        const QDate born = QDate::fromString(*dob, u"dd/MM/yyyy"_s);
        const auto doi = valueOf(u"DOI"_s);
        const QDate issued = doi && isDate(*doi) ? QDate::fromString(*doi, u"dd/MM/yyyy"_s) : QDate::currentDate();
        // Nobody holds a degree before the age of 14; a century and more is a typing slip.
        if (born.addYears(kYoungestGraduate) > issued || born.addYears(kOldestGraduate) < issued)
            problems.append(u"DOB \""_s + *dob + u"\" is not a possible date of birth for a certificate issued on "_s
                            + issued.toString(u"dd/MM/yyyy"_s));
    }
    if (const auto gender = valueOf(u"GENDER"_s); gender && *gender != u"M"_s && *gender != u"F"_s && *gender != u"T"_s)
        problems.append(u"GENDER is \""_s + *gender + u"\", not M, F or T"_s);
    if (!QFileInfo::exists(signedPath)) {
        problems.append(u"no signed copy "_s + QFileInfo(signedPath).fileName() + u" in CSV/DCPDF"_s);
    } else {
        const SignatureCheck check = verifyPdfSignature(signedPath, m_signing.database);
        if (!check.valid)
            problems.append(u"the signature of "_s + QFileInfo(signedPath).fileName() + u" is not valid: "_s
                            + check.problem);
    }
    return problems.join(u"; "_s);
}

DigiLockerResult DigiLockerExport::run(const NadSelection &selection, const QString &zipPath, qint64 partLimit)
{
    const QStringList columns = templateColumns(m_session.folder);
    const std::vector<AwardRecord> awards = NadExport(m_session).selectAwards(selection);
    m_copies.clear();
    const QDir copies(m_session.folder.filePath(u"CSV/DCPDF"_s));
    for (const QString &name : copies.entryList(QDir::Files))
        m_copies.insert(name.toLower(), copies.filePath(name));
    const qsizetype fileColumn = columns.indexOf(u"FILE_NAME"_s);
    DigiLockerResult result;
    std::vector<Row> rows;
    QSet<QString> names;
    for (const AwardRecord &award : awards) {
        const QStringList values = rowValues(columns, award);
        const QString signedPath = copyPath(signedCopyName(award));
        const QString problem = rowProblem(columns, values, signedPath);
        if (!problem.isEmpty()) {
            result.refused.push_back({award.regno, award.certNo, problem});
            continue;
        }
        const QString pdfName = fileColumn >= 0 ? values[fileColumn] : QFileInfo(signedPath).fileName();
        // Two degrees of one candidate in one year share a copy's name: the second
        // would overwrite the first in the upload.
        if (names.contains(pdfName.toLower())) {
            result.refused.push_back(
                {award.regno, award.certNo, u"an earlier row has the same file name "_s + pdfName});
            continue;
        }
        names.insert(pdfName.toLower());
        rows.push_back(
            {award.regno, award.certNo, csv::record(values), pdfName, signedPath, QFileInfo(signedPath).size()});
    }
    result.parts = writeParts(columns, rows, zipPath, partLimit, result);
    return result;
}

// Rows go into a part in order until the next would take it past the limit; a part
// holds the CSV of its own rows, so each can be uploaded on its own.
QStringList DigiLockerExport::writeParts(const QStringList &columns, const std::vector<Row> &rows,
                                         const QString &zipPath, qint64 partLimit, DigiLockerResult &result) const
{
    const QByteArray header = csv::record(columns) + "\r\n";
    const QFileInfo target(zipPath);
    const QString csvName = target.completeBaseName() + u".csv"_s;
    std::vector<std::vector<const Row *>> parts(1);
    qint64 used = ZipBuilder::kEndRecordSize + ZipBuilder::storedSize(csvName, header.size());
    for (const Row &row : rows) {
        const qint64 needs = ZipBuilder::storedSize(row.pdfName, row.pdfSize) + row.csv.size() + 2;
        const qint64 alone = ZipBuilder::kEndRecordSize + ZipBuilder::storedSize(csvName, header.size()) + needs;
        if (alone > partLimit) {
            result.refused.push_back({row.regno, row.certNo,
                                      u"the signed copy is larger than an upload file may be ("_s
                                          + QString::number(partLimit / 1000000) + u" MB)"_s});
            continue;
        }
        if (used + needs > partLimit && !parts.back().empty()) {
            parts.emplace_back();
            used = ZipBuilder::kEndRecordSize + ZipBuilder::storedSize(csvName, header.size());
        }
        parts.back().push_back(&row);
        used += needs;
    }
    QStringList written;
    if (parts.back().empty())
        return written; // nothing to upload: no file is better than an empty one
    for (std::size_t p = 0; p < parts.size(); ++p) {
        const QString path =
            parts.size() == 1
                ? zipPath
                : target.dir().filePath(target.completeBaseName() + u"_part"_s + QString::number(p + 1) + u".zip"_s);
        const QString partCsv = QFileInfo(path).completeBaseName() + u".csv"_s;
        ZipBuilder zip(u"The upload file "_s + QDir::toNativeSeparators(path));
        QByteArray table = header;
        for (const Row *row : parts[p]) {
            table += row->csv + "\r\n";
            QFile pdf(row->pdfPath);
            if (!pdf.open(QIODevice::ReadOnly))
                throw StopError(u"The signed copy "_s + QDir::toNativeSeparators(row->pdfPath) + u" cannot be read: "_s
                                + pdf.errorString());
            // PDFs hardly shrink: stored, they are written fast and their size is known.
            zip.add(row->pdfName, pdf.readAll(), true);
        }
        zip.add(partCsv, table);
        writeWholeFile(path, zip.finish());
        written.append(path);
        result.written += int(parts[p].size());
    }
    return written;
}

} // namespace sw
