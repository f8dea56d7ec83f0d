// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/imports/autonomousimport.h"

#include "candidates/imports/importerror.h"
#include "candidates/imports/rowbatch.h"
#include "shell/core/legacytext.h"
#include "shell/core/session.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// The fields the import reads, by position.
enum AutonomousField { kRegno = 1, kName = 2, kSex = 3, kCaste = 4, kClass = 14, kYear = 15, kExamType = 16, kExamDate = 17 };
constexpr int kFieldsWithoutHeader = 18;
// The description a new class gets until someone completes it in the class master.
const QString kUnknownClass = QStringLiteral("?\?\?\?");

} // namespace

std::vector<AutonomousLine> parseAutonomousFile(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw importStop(QString::fromLatin1(kBadFileNumber), u"The file cannot be opened: "_s + file.errorString(), {name});
    const QStringList lines = legacytext::decodeFile(file.readAll()).split(u'\n');
    std::vector<AutonomousLine> out;
    int expected = kFieldsWithoutHeader;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString text = lines[i];
        if (text.endsWith(u'\r'))
            text.chop(1);
        if (!text.contains(u'|'))
            continue;
        QStringList fields = text.split(u'|');
        const int lineNo = int(i + 1);
        if (fields.first().trimmed().compare(u"SLNO"_s, Qt::CaseInsensitive) == 0) {
            expected = std::max(int(fields.size() - (fields.last().trimmed().isEmpty() ? 1 : 0)), kFieldsWithoutHeader);
            continue;
        }
        // A line ended by "|" has an empty last field that is not one of the columns.
        if (fields.size() == expected + 1 && fields.last().trimmed().isEmpty())
            fields.removeLast();
        if (fields.size() != expected) {
            throw importStop(QString::fromLatin1(kBadFileNumber),
                             u"The line has "_s + QString::number(fields.size()) + u" fields separated by \"|\"; "_s
                                 + QString::number(expected) + u" are expected."_s,
                             {name, lineNo, fields.size() < expected ? u"field "_s + QString::number(fields.size()) : QString(), true});
        }
        AutonomousLine l;
        l.line = lineNo;
        l.regno = u"ZQ"_s + fields[kRegno].trimmed();
        l.name = graveApostrophes(fields[kName].trimmed());
        l.sex = fields[kSex].trimmed();
        l.caste = fields[kCaste].trimmed();
        l.classCode = fields[kClass].trimmed();
        l.year = fields[kYear].trimmed();
        l.examType = fields[kExamType].trimmed();
        l.examDate = fields[kExamDate].trimmed();
        out.push_back(std::move(l));
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
    if (codes.univCode.trimmed().isEmpty() || codes.collegeCode.trimmed().isEmpty() || codes.degreeCode.trimmed().isEmpty()) {
        m_prompter.message(u"Degree, College code and Univ code should be entered"_s, u"Message"_s, PromptIcon::Exclamation);
        return std::nullopt;
    }
    try {
        const ImportCounts counts = apply(codes, parseAutonomousFile(path), QFileInfo(path).fileName());
        report(m_progress, {}, 0);
        m_prompter.info(importedMessage(counts));
        return counts;
    } catch (const StopError &e) {
        report(m_progress, {}, 0);
        m_prompter.message(e.text(), e.title(), e.icon());
        return std::nullopt;
    } catch (const DbError &e) {
        report(m_progress, {}, 0);
        m_prompter.message(e.screenMessage(), u"Message"_s, PromptIcon::Critical);
        return std::nullopt;
    }
}

ImportCounts AutonomousImport::apply(const AutonomousCodes &codes, const std::vector<AutonomousLine> &lines,
                                     const QString &file)
{
    Database &db = m_session.db();
    const QString notPrinted = db.dialect().coalesce(u"fcertno"_s, u"''"_s) + u" = ''"_s;
    Statement find = db.prepare(u"select fregno from convo where fregno = ?"_s);
    Statement insert = db.prepare(
        u"insert into convo (fregno, fname, fdegree, fsex, fcaste, fcollcode, fclasscode, fexamdate, fyear, fexamtype, "
        "factive, fmanual, fspecial, fusername, fconvocode, funivcode) "
        "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'F', 'F', '', ?, ?, ?)"_s);
    Statement refresh = db.prepare(
        u"update convo set fname = ?, fclasscode = ?, fexamdate = ?, fyear = ?, fexamtype = ?, fconvocode = ?, "
        "funivcode = ?, fcollcode = ? where fregno = ? and fdegree = ? and "_s
        + notPrinted);
    Statement findClass = db.prepare(u"select fclasscode from class where fclasscode = ?"_s);
    Statement insertClass = db.prepare(u"insert into class (fclasscode, fclassdesc) values (?, ?)"_s);

    const QString degree = codes.degreeCode.trimmed(), college = codes.collegeCode.trimmed(),
                  univ = codes.univCode.trimmed();
    ImportCounts counts{int(lines.size()), 0};
    RowBatch batch(db);
    int done = 0;
    for (const AutonomousLine &l : lines) {
        try {
            report(m_progress, u"Importing, please wait..."_s + l.regno, int(qint64(++done) * 100 / counts.total));
            if (!find.run({l.regno}).next()) {
                insert.exec({l.regno, l.name, degree, l.sex, l.caste, college, l.classCode, l.examDate, l.year,
                             l.examType, m_session.userName, m_session.convoCode, univ});
                ++counts.imported;
            } else {
                refresh.exec({l.name, l.classCode, l.examDate, l.year, l.examType, m_session.convoCode, univ, college,
                              l.regno, degree});
            }
            if (!findClass.run({l.classCode}).next())
                insertClass.exec({l.classCode, kUnknownClass});
            batch.rowDone();
        } catch (const DbError &e) {
            throw rowStop(e, {file, l.line, {}, true});
        }
    }
    return counts;
}

} // namespace sw
