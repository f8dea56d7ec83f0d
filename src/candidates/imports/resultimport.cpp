// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/imports/resultimport.h"
#include "shell/db/failures.h"
#include "shell/core/legacytext.h"

#include "candidates/entry/academicid.h"
#include "candidates/imports/candidateimporter.h"
#include "candidates/imports/candidaterules.h"
#include "candidates/imports/importerror.h"
#include "candidates/imports/resultfile.h"
#include "shell/db/rowbatch.h"
#include "shell/session.h"
#include "shell/core/stoperror.h"
#include "shell/db/schema.h"
#include "candidates/imports/importaudit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace sw {

QString makeWorkingCopy(const AppFolder &folder, const QString &source)
{
    const QString dir = folder.filePath(u"DBFS"_s);
    const QString copy = dir + u"/convo.dbf"_s;
    const QString name = QFileInfo(source).fileName();
    if (!QDir().mkpath(dir))
        throw importStop(QString::fromLatin1(kBadFileNumber), u"The folder "_s + dir + u" cannot be created."_s,
                         {name});
    QFile::remove(copy);
    QFile in(source);
    if (!in.copy(copy))
        throw importStop(QString::fromLatin1(kBadFileNumber),
                         u"The file cannot be copied to "_s + copy + u": "_s + in.errorString(), {name});
    return copy;
}

ImportFailure rowStop(const DbError &error, ImportPlace place)
{
    // Servers name the column of a value that does not fit; the clerk then knows the field.
    static const QRegularExpression column(u"column '([A-Za-z0-9_]+)'"_s);
    const QRegularExpressionMatch m = column.match(error.description());
    if (place.field.isEmpty() && m.hasMatch())
        place.field = m.captured(1).toUpper();
    return importStop(error.number(),
                      error.description()
                          + u"\rThe import stopped at this record; the records before it stay written. Importing "
                            "the file again takes up the rest."_s,
                      place);
}

void CandidateProgress::row(int record, const QString &college, const QString &regno)
{
    const int percent = int(qint64(record) * 100 / m_records);
    if (percent == m_shown)
        return;
    m_shown = percent;
    report(m_progress,
           u"Importing, Please wait, College: "_s + college + u", Reg. No.: "_s + regno + u" Record No.: "_s
               + QString::number(record) + u" / "_s + QString::number(m_records),
           percent);
}

ResultFileImport::ResultFileImport(Session &session, Prompter &prompter, Progress progress)
    : m_session(session)
    , m_prompter(prompter)
    , m_progress(std::move(progress))
{
}

std::optional<ImportCounts> ResultFileImport::run(const QString &path)
{
    if (path.trimmed().isEmpty()) {
        m_prompter.message(u"Path Should be Entered"_s, u"Message"_s, PromptIcon::Exclamation);
        return std::nullopt;
    }
    if (!QFileInfo(path).isFile()) {
        m_prompter.message(u"Invalid Path"_s, u"Message"_s, PromptIcon::Exclamation);
        return std::nullopt;
    }
    try {
        const ImportCounts counts = import(path);
        report(m_progress, {}, 0);
        if (counts.total > 0)
            recordImport(m_session, u"result file"_s, path, counts.summaryLine());
        // A candidates file without rows ends the run with nothing done and nothing said.
        if (counts.total > 0 || kindFromFileName(path) != ResultKind::Candidates)
            showImported(m_prompter, counts);
        return counts;
    } catch (const std::exception &) {
        // A DbError here is a statement that failed before any row (a missing table, a lost connection).
        showFailure(m_prompter, ErrorForm::Screen);
        report(m_progress, {}, 0);
        return std::nullopt;
    }
}

ImportCounts ResultFileImport::import(const QString &path)
{
    report(m_progress, {}, 0);
    const ResultKind kind = kindFromFileName(path);
    if (kind == ResultKind::None)
        return {};
    const QString name = QFileInfo(path).fileName();
    DbfTable table(makeWorkingCopy(m_session.folder, path), name);
    ResultRows rows(table);
    try {
        ImportTally tally(path, m_session.folder, u"record"_s, rows.fieldNames(), legacytext::Encoding::Cp1252);
        tally.counts().total = rows.count();
        if (kind == ResultKind::Candidates)
            importCandidates(rows, tally);
        else
            importMasterRows(m_session.db(), rows, tally, kind == ResultKind::Degrees, false, m_progress);
        return tally.finish();
    } catch (const MissingField &missing) {
        throw importStop(QString::fromLatin1(kMissingFieldNumber), QString::fromLatin1(kMissingFieldText),
                         {missing.file, 0, missing.field});
    }
}

void ResultFileImport::importCandidates(ResultRows &rows, ImportTally &tally)
{
    const CandidateColumns columns(rows);
    if (rows.count() == 0)
        return;
    Database &db = m_session.db();
    const MasterCodes masters(db);
    const CandidateFieldNames names;
    RowBatch batch(db);
    CandidateImporter::Options options;
    options.fieldsOf = [&rows](int record) { return rows.textsOf(record); };
    options.writer.withAbcId = columns.abcId >= 0;
    AcademicId abcIds(db);
    CandidateImporter importer(db, m_session.convoCode, m_session.userName, tally, batch, options);
    CandidateProgress progress(m_progress, rows.count());
    QMap<QString, int> unknownClasses;
    int record = 0;
    try {
        while (rows.next()) {
            record = rows.recordNumber();
            if (rows.tallyIfUnusable(tally))
                continue;
            const ResultCandidate c = columns.read(rows);
            if (c.name.isEmpty()) {
                tally.skip(record, u"the name is empty"_s, rows.texts(), names.name);
                continue;
            }
            if (const auto problem = checkCandidate(c, names, masters)) {
                tally.reject(record, problem->field, problem->value, problem->reason, rows.texts());
                continue;
            }
            if (const auto problem = checkAbcIdHolder(c, names, abcIds, m_session.convoCode)) {
                tally.reject(record, problem->field, problem->value, problem->reason, rows.texts());
                continue;
            }
            if (!masters.hasClass(c.classCode))
                ++unknownClasses[c.classCode];
            progress.row(record, c.college, c.regno);
            importer.add(c, record);
        }
        importer.finish();
    } catch (const DbError &e) {
        throw rowStop(e, {rows.fileName(), importer.firstUnwritten(record), {}});
    }
    for (auto it = unknownClasses.cbegin(); it != unknownClasses.cend(); ++it)
        tally.warn(u"Class "_s + it.key() + u" is not in the class master ("_s + QString::number(it.value())
                   + u" candidates); add it before printing."_s);
}

void importMasterRows(Database &db, ResultRows &rows, ImportTally &tally, bool degrees, bool withTown,
                      const Progress &progress)
{
    const QString codeName = degrees ? u"FDEGREE"_s : u"FCOLLCODE"_s;
    const QString textName = degrees ? u"FDESCPN"_s : u"FCOLLNAME"_s;
    const int codeField = rows.require(codeName);
    const int textField = rows.require(textName);
    const int townField = withTown && !degrees ? rows.require(u"FTOWN"_s) : -1;
    const QString table = degrees ? u"DEGREE"_s : u"COLLEGE"_s;
    const QString master = degrees ? u"degree"_s : u"college"_s;
    MasterWriter writer(db, degrees ? MasterWriter::Master::Degree : MasterWriter::Master::College, withTown);
    RowBatch batch(db);
    const QString label = degrees ? u"Importing, Please wait, Degree: "_s : u"Importing, Please wait, College: "_s;
    const QString tail = u" / "_s + QString::number(tally.counts().total);
    int record = 0;
    try {
        while (rows.next()) {
            record = rows.recordNumber();
            if (rows.tallyIfUnusable(tally))
                continue;
            const QString code = rows.text(codeField).toUpper();
            const QString description = legacytext::graveApostrophes(rows.text(textField));
            const QString town = townField < 0 ? QString() : rows.text(townField);
            if (description.isEmpty()) {
                tally.skip(record, u"the description is empty"_s, rows.texts(), textName);
                continue;
            }
            std::optional<std::pair<QString, QString>> problem; // field, reason
            if (code.isEmpty())
                problem = {codeName, u"the code is empty"_s};
            else if (auto why = storableTextProblem(code, schema::columnWidth(table, codeName)))
                problem = {codeName, *why};
            else if (auto why = storableTextProblem(description, schema::columnWidth(table, textName)))
                problem = {textName, *why};
            else if (auto why = storableTextProblem(town, schema::columnWidth(table, u"FTOWN"_s)))
                problem = {u"FTOWN"_s, *why};
            if (problem) {
                const QString value = problem->first == codeName   ? code
                                      : problem->first == textName ? description
                                                                   : town;
                tally.reject(record, problem->first, shownValue(value), problem->second, rows.texts());
                continue;
            }
            if (writer.addIfMissing(code, description, town)) {
                ++tally.counts().inserted;
                batch.rowDone();
            } else {
                tally.skip(record, u"already in the "_s + master + u" master: left as it is"_s, rows.texts(), codeName,
                           code);
            }
            report(progress, label + code + u" Record No.: "_s + QString::number(record) + tail,
                   int(qint64(record) * 100 / std::max(1, tally.counts().total)));
        }
    } catch (const DbError &e) {
        throw rowStop(e, {rows.fileName(), record, {}});
    }
}

} // namespace sw
