// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/imports/autonomousimport.h"

#include "candidates/entry/academicid.h"
#include "candidates/imports/candidaterules.h"
#include "candidates/imports/importerror.h"
#include "candidates/imports/resultimport.h"
#include "shell/db/failures.h"
#include "shell/db/rowbatch.h"
#include "shell/core/legacytext.h"
#include "shell/session.h"
#include "candidates/imports/importaudit.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// The fields the import reads, by position.
enum AutonomousField {
    kRegno = 1,
    kName = 2,
    kSex = 3,
    kCaste = 4,
    kClass = 14,
    kYear = 15,
    kExamType = 16,
    kExamDate = 17
};
constexpr int kFieldsWithoutHeader = 18;
// The description a new class gets until someone completes it in the class master.
const QString kUnknownClass = QStringLiteral("?\?\?\?");
// The register numbers of autonomous colleges are told apart from the university's by this prefix.
const QString kPrefix = u"ZQ"_s;

QString fieldName(const QStringList &names, int field)
{
    return names.value(field, u"field "_s + QString::number(field));
}

} // namespace

AutonomousFile parseAutonomousFile(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw importStop(QString::fromLatin1(kBadFileNumber), u"The file cannot be opened: "_s + file.errorString(),
                         {name});
    const QByteArray bytes = file.readAll();
    AutonomousFile out;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString asUtf8 = utf8.decode(bytes);
    out.encoding = utf8.hasError() ? legacytext::Encoding::Cp1252 : legacytext::Encoding::Utf8;
    const QStringList lines = legacytext::decode(bytes, out.encoding).split(u'\n');
    int expected = kFieldsWithoutHeader;
    // Only a header can name a column beyond the fixed ones, such as the students' ABC IDs.
    qsizetype abcIdField = -1;
    for (int i = 0; i < kFieldsWithoutHeader; ++i)
        out.fieldNames << u"field "_s + QString::number(i);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString text = lines[i];
        if (text.endsWith(u'\r'))
            text.chop(1);
        if (!text.contains(u'|'))
            continue;
        QStringList fields = text.split(u'|');
        if (fields.first().trimmed().compare(u"SLNO"_s, Qt::CaseInsensitive) == 0) {
            if (fields.last().trimmed().isEmpty())
                fields.removeLast();
            expected = std::max(int(fields.size()), kFieldsWithoutHeader);
            out.fieldNames.clear();
            for (int f = 0; f < expected; ++f)
                out.fieldNames << (f < fields.size() && !fields[f].trimmed().isEmpty()
                                       ? fields[f].trimmed()
                                       : u"field "_s + QString::number(f));
            abcIdField = -1;
            for (qsizetype f = kFieldsWithoutHeader; f < out.fieldNames.size() && abcIdField < 0; ++f) {
                if (AcademicId::isColumnName(out.fieldNames[f]))
                    abcIdField = f;
            }
            continue;
        }
        AutonomousLine l;
        l.line = int(i + 1);
        // A line ended by "|" has an empty last field that is not one of the columns.
        if (fields.size() == expected + 1 && fields.last().trimmed().isEmpty())
            fields.removeLast();
        l.fields = fields;
        if (fields.size() != expected) {
            l.problem = u"the line has "_s + QString::number(fields.size()) + u" fields separated by \"|\"; "_s
                        + QString::number(expected) + u" are expected"_s;
            out.lines.push_back(std::move(l));
            continue;
        }
        const QString regno = fields[kRegno].trimmed().toUpper();
        l.regno = regno.isEmpty() ? QString() : kPrefix + regno;
        l.name = legacytext::graveApostrophes(fields[kName].trimmed());
        l.sex = fields[kSex].trimmed();
        l.caste = fields[kCaste].trimmed();
        l.classCode = fields[kClass].trimmed().toUpper();
        l.year = fields[kYear].trimmed();
        l.examType = fields[kExamType].trimmed();
        l.examDate = fields[kExamDate].trimmed();
        if (abcIdField >= 0)
            l.abcId = fields[abcIdField].trimmed();
        out.lines.push_back(std::move(l));
    }
    return out;
}

AutonomousImport::AutonomousImport(Session &session, Prompter &prompter, Progress progress)
    : m_session(session)
    , m_prompter(prompter)
    , m_progress(std::move(progress))
{
}

std::optional<ImportCounts> AutonomousImport::run(const AutonomousCodes &codes, const QString &path)
{
    if (path.trimmed().isEmpty()) {
        m_prompter.message(u"Path Should be Entered"_s, u"Message"_s, PromptIcon::Exclamation);
        return std::nullopt;
    }
    if (!QFileInfo(path).isFile()) {
        m_prompter.message(u"Invalid Path"_s, u"Message"_s, PromptIcon::Exclamation);
        return std::nullopt;
    }
    if (codes.univCode.trimmed().isEmpty() || codes.collegeCode.trimmed().isEmpty()
        || codes.degreeCode.trimmed().isEmpty()) {
        m_prompter.message(u"Degree, College code and Univ code should be entered"_s, u"Message"_s,
                           PromptIcon::Exclamation);
        return std::nullopt;
    }
    try {
        // The typed codes hold for every line: one that is not in its master refuses the file.
        const MasterCodes masters(m_session.db());
        const auto refuse = [this](const QString &text) {
            m_prompter.message(text, u"Message"_s, PromptIcon::Exclamation);
            return std::nullopt;
        };
        if (!masters.hasUniversity(codes.univCode))
            return refuse(u"Invalid University Code"_s);
        if (!masters.hasCollege(codes.collegeCode))
            return refuse(u"Invalid College Code"_s);
        if (!masters.hasDegree(codes.degreeCode))
            return refuse(u"Invalid Degree Code"_s);
        const ImportCounts counts = apply(codes, parseAutonomousFile(path), path);
        report(m_progress, {}, 0);
        recordImport(m_session, u"autonomous file"_s, path,
                     u"%1 %2 %3: %4"_s.arg(codes.univCode, codes.collegeCode, codes.degreeCode, counts.summaryLine()));
        showImported(m_prompter, counts);
        return counts;
    } catch (const std::exception &) {
        showFailure(m_prompter, ErrorForm::Screen);
        report(m_progress, {}, 0);
        return std::nullopt;
    }
}

ImportCounts AutonomousImport::apply(const AutonomousCodes &codes, const AutonomousFile &file, const QString &path)
{
    Database &db = m_session.db();
    const QString notPrinted = db.dialect().coalesce(u"fcertno"_s, u"''"_s) + u" = ''"_s;
    Statement find = db.prepare(u"select fcollcode, fconvocode, fcertno from convo where fregno = ? and fdegree = ?"_s);
    Statement insert = db.prepare(
        u"insert into convo (fregno, fname, fdegree, fsex, fcaste, fcollcode, fclasscode, fexamdate, fyear, fexamtype, "
        "factive, fmanual, fspecial, fusername, fconvocode, funivcode, fabcid) "
        "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'F', 'F', '', ?, ?, ?, ?)"_s);
    Statement refresh = db.prepare(
        u"update convo set fname = ?, fclasscode = ?, fexamdate = ?, fyear = ?, fexamtype = ?, fconvocode = ?, "
        "funivcode = ?, fcollcode = ?, fabcid = coalesce(nullif(?, ''), fabcid) where fregno = ? and fdegree = ? and fcollcode = ? and fconvocode = ? and "_s
        + notPrinted);
    Statement insertClass = db.prepare(u"insert into class (fclasscode, fclassdesc) values (?, ?)"_s);

    const QString degree = codes.degreeCode.trimmed().toUpper(), college = codes.collegeCode.trimmed().toUpper(),
                  univ = codes.univCode.trimmed().toUpper(), convo = m_session.convoCode.trimmed();
    MasterCodes masters(db);
    ImportTally tally(path, m_session.folder, u"line"_s, file.fieldNames, file.encoding);
    ImportCounts &counts = tally.counts();
    counts.total = int(file.lines.size());
    CandidateFieldNames names;
    names.regno = fieldName(file.fieldNames, kRegno);
    names.name = fieldName(file.fieldNames, kName);
    names.sex = fieldName(file.fieldNames, kSex);
    names.caste = fieldName(file.fieldNames, kCaste);
    names.classCode = fieldName(file.fieldNames, kClass);
    names.year = fieldName(file.fieldNames, kYear);
    names.examType = fieldName(file.fieldNames, kExamType);
    names.examDate = fieldName(file.fieldNames, kExamDate);
    names.degree = u"the degree code typed"_s;
    names.college = u"the college code typed"_s;
    for (const QString &field : file.fieldNames) {
        if (AcademicId::isColumnName(field))
            names.abcId = field;
    }
    AcademicId abcIds(db);

    RowBatch batch(db);
    int done = 0;
    for (const AutonomousLine &l : file.lines) {
        try {
            report(m_progress, u"Importing, please wait..."_s + l.regno, int(qint64(++done) * 100 / counts.total));
            if (!l.problem.isEmpty()) {
                tally.reject(l.line, {}, {}, l.problem, l.fields);
                continue;
            }
            if (l.name.isEmpty()) {
                tally.skip(l.line, u"the name is empty"_s, l.fields, names.name);
                continue;
            }
            ResultCandidate c;
            c.regno = l.regno;
            c.name = l.name;
            c.degree = degree;
            c.college = college;
            c.classCode = l.classCode;
            c.examDate = l.examDate;
            c.year = l.year;
            c.examType = l.examType;
            c.sex = l.sex;
            c.caste = l.caste;
            c.abcId = l.abcId;
            std::optional<RowProblem> problem = checkCandidate(c, names, masters);
            if (!problem)
                problem = checkAbcIdHolder(c, names, abcIds, convo);
            if (problem) {
                // The prefix is the program's: an empty register number is named as the file has it.
                tally.reject(l.line, problem->field,
                             problem->field == names.regno ? l.fields.value(kRegno) : problem->value, problem->reason,
                             l.fields);
                continue;
            }
            // The candidate of this convocation and college first, then of this convocation,
            // then one stored under another convocation, which moves here.
            struct Found
            {
                QString college, convo, certNo;
                int rank;
            };
            std::optional<Found> target;
            Rows rows = find.run({c.regno, degree});
            while (rows.next()) {
                Found f{rows.text(0).trimmed(), rows.text(1).trimmed(), rows.text(2).trimmed(), 0};
                const bool here = f.convo.compare(convo, Qt::CaseInsensitive) == 0;
                f.rank = (here ? 4 : 0) + (here && f.college.compare(college, Qt::CaseInsensitive) == 0 ? 2 : 0)
                         + (f.certNo.isEmpty() ? 1 : 0);
                if (!target || f.rank > target->rank
                    || (f.rank == target->rank && f.convo.compare(target->convo, Qt::CaseInsensitive) > 0))
                    target = f;
            }
            if (!target) {
                insert.exec({c.regno, c.name, degree, c.sex, c.caste, college, c.classCode, c.examDate, c.year,
                             c.examType, m_session.userName, m_session.convoCode, univ, c.abcId});
                ++counts.inserted;
            } else if (!target->certNo.isEmpty()) {
                ++counts.frozen;
            } else {
                refresh.exec({c.name, c.classCode, c.examDate, c.year, c.examType, m_session.convoCode, univ, college,
                              c.abcId, c.regno, degree, target->college, target->convo});
                ++counts.refreshed;
            }
            if (!masters.hasClass(c.classCode)) {
                insertClass.exec({c.classCode, kUnknownClass});
                masters.addClass(c.classCode);
                tally.warn(u"Class "_s + c.classCode + u" was added to the class master with the description "_s
                           + kUnknownClass + u"; complete it before printing."_s);
            }
            batch.rowDone();
        } catch (const DbError &e) {
            if (!isRefusedRow(e))
                throw rowStop(e, {QFileInfo(path).fileName(), l.line, {}, true});
            tally.reject(l.line, {}, {}, u"the database refused the row: "_s + e.description(), l.fields);
        }
    }
    return tally.finish();
}

} // namespace sw
