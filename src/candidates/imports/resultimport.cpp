// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/imports/resultimport.h"

#include "candidates/imports/importerror.h"
#include "candidates/imports/resultfile.h"
#include "candidates/imports/rowbatch.h"
#include "shell/core/session.h"
#include "shell/core/stoperror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace sw {

QString importedMessage(const ImportCounts &counts)
{
    return u"Imported Successfully\r\rTotal Records: "_s + QString::number(counts.total) + u"\rImported Records: "_s
        + QString::number(counts.imported);
}

QString makeWorkingCopy(const AppFolder &folder, const QString &source)
{
    const QString dir = folder.filePath(u"DBFS"_s);
    const QString copy = dir + u"/convo.dbf"_s;
    const QString name = QFileInfo(source).fileName();
    if (!QDir().mkpath(dir))
        throw importStop(QString::fromLatin1(kBadFileNumber), u"The folder "_s + dir + u" cannot be created."_s, {name});
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
    return importStop(error.number(), error.description(), place);
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
        // A candidates file without rows ends the run with nothing done and nothing said.
        if (counts.total > 0 || kindFromFileName(path) != ResultKind::Candidates)
            m_prompter.info(importedMessage(counts));
        return counts;
    } catch (const StopError &e) {
        report(m_progress, {}, 0);
        m_prompter.message(e.text(), e.title(), e.icon());
        return std::nullopt;
    } catch (const DbError &e) {
        // A statement that failed before any row (a missing table, a lost connection).
        report(m_progress, {}, 0);
        m_prompter.message(e.screenMessage(), u"Message"_s, PromptIcon::Critical);
        return std::nullopt;
    }
}

ImportCounts ResultFileImport::import(const QString &path)
{
    report(m_progress, {}, 0);
    const QString name = QFileInfo(path).fileName();
    DbfTable table(makeWorkingCopy(m_session.folder, path), name);
    try {
        switch (kindFromFileName(path)) {
        case ResultKind::Candidates: {
            ResultRows rows(table, {u"fcollcode"_s, u"fregno"_s});
            return importCandidates(rows);
        }
        case ResultKind::Degrees: {
            ResultRows rows(table, {u"fdegree"_s});
            return importMasterRows(m_session.db(), rows, true, false, m_progress);
        }
        case ResultKind::Colleges: {
            ResultRows rows(table, {u"fcollcode"_s});
            return importMasterRows(m_session.db(), rows, false, false, m_progress);
        }
        case ResultKind::None:
            break;
        }
    } catch (const MissingField &missing) {
        throw importStop(QString::fromLatin1(kMissingFieldNumber), QString::fromLatin1(kMissingFieldText),
                         {missing.file, 0, missing.field});
    }
    return {};
}

ImportCounts ResultFileImport::importCandidates(ResultRows &rows)
{
    const CandidateColumns columns(rows);
    ImportCounts counts{rows.count(), 0};
    if (counts.total == 0)
        return counts;
    Database &db = m_session.db();
    CandidateWriter writer(db, m_session.convoCode, m_session.userName, {});
    RowBatch batch(db);
    const QString tail = u" / "_s + QString::number(counts.total);
    // A convocation's first import cannot meet a candidate already stored, only an
    // earlier row of the same file; as rows come ordered by college and register
    // number, that row is one of the current register number's, so remembering those
    // answers the look-up without asking the database, and memory stays flat.
    const bool firstImport = !db.exists(u"select fregno from convo where fconvocode = ?"_s, {m_session.convoCode});
    QString groupCollege, groupRegno;
    QStringList groupDegrees;
    int shownPercent = -1;
    try {
        while (rows.next()) {
            try {
                const ResultCandidate c = columns.read(rows);
                bool found = false;
                if (firstImport) {
                    if (c.college.compare(groupCollege, Qt::CaseInsensitive) != 0
                        || c.regno.compare(groupRegno, Qt::CaseInsensitive) != 0) {
                        groupCollege = c.college;
                        groupRegno = c.regno;
                        groupDegrees.clear();
                    }
                    found = groupDegrees.contains(c.degree, Qt::CaseInsensitive);
                } else {
                    found = writer.find(c).has_value();
                }
                const int percent = int(qint64(rows.rowNumber()) * 100 / counts.total);
                if (c.name.isEmpty())
                    continue;
                if (!found) {
                    if (firstImport) {
                        writer.queueInsert(c, rows.recordNumber());
                        groupDegrees << c.degree;
                    } else {
                        writer.insert(c);
                    }
                    ++counts.imported;
                } else {
                    writer.flush(); // the row it refreshes may still be waiting
                    writer.refresh(c);
                }
                batch.rowDone();
                // The status line is redrawn once per percent: at thousands of rows a
                // second nobody reads more, and composing it for every row costs time.
                if (percent != shownPercent) {
                    shownPercent = percent;
                    report(m_progress,
                           found ? QString()
                                 : u"Importing, Please wait, College: "_s + c.college + u", Reg. No.: "_s + c.regno
                                       + u" Record No.: "_s + QString::number(rows.rowNumber()) + tail,
                           percent);
                }
            } catch (const DbError &e) {
                throw rowStop(e, {rows.fileName(), rows.recordNumber(), {}});
            }
        }
        writer.flush();
    } catch (const QueuedInsertFailed &failed) {
        throw rowStop(failed.error, {rows.fileName(), failed.record, {}});
    } catch (...) {
        // Rows read before the failure are written before it is reported.
        try {
            writer.flush();
        } catch (const QueuedInsertFailed &failed) {
            throw rowStop(failed.error, {rows.fileName(), failed.record, {}});
        }
        throw;
    }
    return counts;
}

ImportCounts importMasterRows(Database &db, ResultRows &rows, bool degrees, bool withTown, const Progress &progress)
{
    const int codeField = rows.require(degrees ? u"FDEGREE"_s : u"FCOLLCODE"_s);
    const int textField = rows.require(degrees ? u"FDESCPN"_s : u"FCOLLNAME"_s);
    const int townField = withTown && !degrees ? rows.require(u"FTOWN"_s) : -1;
    ImportCounts counts{rows.count(), 0};
    MasterWriter writer(db, degrees ? MasterWriter::Master::Degree : MasterWriter::Master::College, withTown);
    RowBatch batch(db);
    const QString label = degrees ? u"Importing, Please wait, Degree: "_s : u"Importing, Please wait, College: "_s;
    const QString tail = u" / "_s + QString::number(counts.total);
    while (rows.next()) {
        try {
            const QString code = rows.text(codeField);
            const QString description = graveApostrophes(rows.text(textField));
            if (description.isEmpty())
                continue;
            if (writer.addIfMissing(code, description, townField < 0 ? QString() : rows.text(townField))) {
                ++counts.imported;
                batch.rowDone();
            }
            report(progress, label + code + u" Record No.: "_s + QString::number(rows.rowNumber()) + tail,
                   int(qint64(rows.rowNumber()) * 100 / counts.total));
        } catch (const DbError &e) {
            throw rowStop(e, {rows.fileName(), rows.recordNumber(), {}});
        }
    }
    return counts;
}

} // namespace sw
