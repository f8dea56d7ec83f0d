// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/imports/directoryimport.h"
#include "candidates/entry/academicid.h"
#include "shell/db/failures.h"
#include "shell/core/legacytext.h"

#include "candidates/imports/candidateimporter.h"
#include "candidates/imports/candidaterules.h"
#include "candidates/imports/importerror.h"
#include "candidates/imports/resultfile.h"
#include "shell/db/rowbatch.h"
#include "shell/session.h"
#include "shell/online/onlinelink.h"
#include "candidates/imports/importaudit.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

const QString kCaption = u"Import Data Directorywise . . ."_s;

void collect(const QString &folder, QStringList &files)
{
    const QDir dir(folder);
    const QFileInfoList own = dir.entryInfoList({u"*.cnv"_s}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &f : own)
        files << f.filePath();
    const QFileInfoList subfolders =
        dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &sub : subfolders)
        collect(sub.filePath(), files);
}

// Masters before the candidates that refer to them; files of no kind last.
int rank(const QString &path)
{
    switch (kindFromNameEnding(path)) {
    case ResultKind::Degrees: return 0;
    case ResultKind::Colleges: return 1;
    case ResultKind::Candidates: return 2;
    case ResultKind::None: break;
    }
    return 3;
}

// What the upload sends beside the candidate's own values, in this order.
enum UploadExtra { kClassDesc, kCourseYear, kExamText, kTotalMax, kTotalSecured };

// The fields a directory file holds beyond the candidate's own, by institution (003's
// short class codes, 027's parents and exam text) and for the portal's upload. Each
// is required where it is read: a file without it is refused before any row is read.
struct DirectoryFields
{
    DirectoryFields(const ResultRows &rows, const QString &inst, bool upload)
        : classShort(inst == u"003"_s ? rows.require(u"FCLASSSHT"_s) : -1)
        , parents(inst == u"027"_s)
        , examText((parents || upload) ? rows.require(u"FCEXAM"_s) : -1)
        , father(parents ? rows.require(u"FFATNAME"_s) : -1)
        , mother(parents ? rows.require(u"FMOTNAME"_s) : -1)
        , courseYear(upload ? rows.require(u"FCYEAR"_s) : -1)
        , totalMax(upload ? rows.require(u"FCLMAX"_s) : -1)
        , totalSecured(upload ? rows.require(u"FCLSEC"_s) : -1)
    {
    }

    // The institution's own fields of the record's candidate.
    void complete(ResultCandidate &c, const ResultRows &rows) const
    {
        if (classShort >= 0)
            c.classCode = rows.text(classShort).toUpper();
        if (parents) {
            c.examDate = rows.text(examText);
            c.fatherName = rows.text(father);
            c.motherName = rows.text(mother);
        }
    }

    // The names the checks give the fields they refuse.
    CandidateFieldNames names() const
    {
        CandidateFieldNames n;
        if (classShort >= 0)
            n.classCode = u"FCLASSSHT"_s;
        if (parents)
            n.examDate = u"FCEXAM"_s;
        return n;
    }

    // What the upload sends beside the candidate (UploadExtra's order); `classDesc` is
    // the class as the file describes it.
    QStringList uploadExtra(const ResultRows &rows, const QString &classDesc) const
    {
        return {classDesc, rows.text(courseYear), rows.text(examText), rows.text(totalMax), rows.text(totalSecured)};
    }

    int classShort;
    bool parents;
    int examText;
    int father;
    int mother;
    int courseYear;
    int totalMax;
    int totalSecured;
};

} // namespace

DirectoryImport::DirectoryImport(Session &session, Prompter &prompter, Progress progress)
    : m_session(session)
    , m_prompter(prompter)
    , m_progress(std::move(progress))
{
}

QStringList DirectoryImport::listFiles(const QString &folder)
{
    QStringList files;
    if (folder.isEmpty() || !QDir(folder).exists())
        return files;
    collect(folder, files);
    std::stable_sort(files.begin(), files.end(), [](const QString &a, const QString &b) { return rank(a) < rank(b); });
    return files;
}

void DirectoryImport::setCaption(const QString &text)
{
    if (m_caption)
        m_caption(text);
}

Database &DirectoryImport::portal()
{
    if (!m_linkOpened) {
        OnlineLink::open(m_session);
        m_linkOpened = true;
    }
    return *m_session.cnOnline;
}

QString DirectoryImport::summary(const std::vector<FileOutcome> &outcomes)
{
    QStringList lines;
    for (const FileOutcome &f : outcomes) {
        if (f.skipped)
            lines << f.file + u": passed over (no kind in its name)"_s;
        else if (!f.refused.isEmpty())
            lines << f.file + u": refused, nothing of it saved: "_s + f.refused;
        else
            lines << f.file + u": "_s + f.counts.summaryLine()
                         + (f.counts.rejectFile.isEmpty()
                                ? QString()
                                : u"; listed in "_s + QDir::toNativeSeparators(f.counts.rejectFile));
        for (const QString &warning : f.counts.warnings)
            lines << u"  "_s + warning;
    }
    return lines.join(u'\r');
}

std::optional<std::vector<DirectoryImport::FileOutcome>> DirectoryImport::run(const QString &folder,
                                                                              const Options &options)
{
    const QStringList files = listFiles(folder);
    if (files.isEmpty()) {
        m_prompter.message(u"No files are selected for Importing"_s, u"Message"_s, PromptIcon::Exclamation);
        return std::nullopt;
    }
    std::vector<FileOutcome> outcomes;
    m_linkOpened = false;
    const auto stopped = [&](const QString &text) {
        // Say what the files before the stop did: they stay imported.
        const QString done = summary(outcomes);
        m_prompter.message(text + (done.isEmpty() ? QString() : u"\r\rBefore the stop:\r"_s + done), u"Message"_s,
                           PromptIcon::Critical);
        setCaption(kCaption);
        return std::nullopt;
    };
    try {
        for (qsizetype i = 0; i < files.size(); ++i) {
            setCaption(u"Import Data Directorywise . . . Total Files Selected: "_s + QString::number(files.size())
                       + u", Imported Files : "_s + QString::number(i) + u", Remaining Files : "_s
                       + QString::number(files.size() - i));
            report(m_progress, {}, 0);
            outcomes.push_back(importFile(files[i], options));
        }
    } catch (const ImportFailure &e) {
        const QString where = e.place().describe();
        return stopped(errorText(ErrorForm::Numbered, e.number(), e.description())
                       + (where.isEmpty() ? QString() : u'\r' + where));
    } catch (const StopError &e) {
        return stopped(failureText(e, ErrorForm::Numbered));
    } catch (const DbError &e) {
        return stopped(failureText(e, ErrorForm::Numbered));
    }
    report(m_progress, {}, 0);
    m_prompter.info(u"Imported data Successfully"_s + u"\r\r"_s + summary(outcomes));
    setCaption(kCaption);
    return outcomes;
}

DirectoryImport::FileOutcome DirectoryImport::importFile(const QString &path, const Options &options)
{
    const QString name = QFileInfo(path).fileName();
    FileOutcome outcome{name, false, {}, {}, {}};
    const ResultKind kind = kindFromNameEnding(path);
    if (kind == ResultKind::None) {
        outcome.skipped = true;
        return outcome;
    }
    const bool local = !(options.uploadToOnline && options.onlineOnly);
    if (kind != ResultKind::Candidates && !local)
        return outcome;
    report(m_progress, u"Importing "_s + name + u" Data"_s, 0);
    try {
        DbfTable table(makeWorkingCopy(m_session.folder, path), name);
        ResultRows rows(table);
        ImportTally tally(path, m_session.folder, u"record"_s, rows.fieldNames(), legacytext::Encoding::Cp1252);
        tally.counts().total = rows.count();
        if (kind == ResultKind::Candidates) {
            importCandidates(rows, tally, outcome, options);
        } else {
            const bool degrees = kind == ResultKind::Degrees;
            importMasterRows(m_session.db(), rows, tally, degrees, !degrees, m_progress);
        }
        outcome.counts = tally.finish();
        if (outcome.counts.total > 0)
            recordImport(m_session, u"result folder"_s, path, outcome.counts.summaryLine());
    } catch (const MissingField &missing) {
        outcome.refused = u"Some field is missing from cnv file ("_s + missing.field + u')';
    } catch (const ImportFailure &e) {
        // A file whose form is broken is refused before any of it is written; a failure
        // at a record is a stop of the run.
        if (e.place().record > 0)
            throw;
        outcome.refused =
            e.description() + (e.place().field.isEmpty() ? QString() : u" (field "_s + e.place().field + u')');
    }
    return outcome;
}

PortalRow DirectoryImport::portalRow(const ResultCandidate &c, const StoredCandidate *stored,
                                     const QStringList &extra) const
{
    PortalRow row;
    if (stored && stored->printed()) {
        // A printed candidate is published as it is stored, under its own convocation.
        row = {stored->regno, stored->name,      stored->college, stored->degree,
               stored->caste, stored->convoCode, stored->certNo};
    } else {
        row = {c.regno, c.name, c.college, c.degree, c.caste, m_session.convoCode, {}};
    }
    row.className = extra.value(kClassDesc);
    row.courseYear = extra.value(kCourseYear);
    row.examText = legacytext::graveApostrophes(extra.value(kExamText));
    row.totalMax = extra.value(kTotalMax);
    row.totalSecured = extra.value(kTotalSecured);
    return row;
}

bool DirectoryImport::askToMove(const ResultCandidate &c, const StoredCandidate &stored)
{
    return m_prompter.ask(u"This Student ("_s + c.regno
                              + u") may Applied for Improvement!! Do you want to overwrite the Data!!\r\n"
                                "Current Convocation No. : "_s
                              + m_session.convoCode + u"\r\nPrevious Convocation No. : "_s + stored.convoCode,
                          u"Message"_s, PromptIcon::Information, PromptButtons::YesNo, PromptAnswer::Yes)
           == PromptAnswer::Yes;
}

void DirectoryImport::importCandidates(ResultRows &rows, ImportTally &tally, FileOutcome &outcome,
                                       const Options &options)
{
    const QString inst = m_session.instCode.trimmed();
    const bool upload = options.uploadToOnline;
    const bool local = !(upload && options.onlineOnly);
    const CandidateColumns columns(rows);
    const DirectoryFields fields(rows, inst, upload);
    if (rows.count() == 0)
        return;

    const CandidateFieldNames names = fields.names();
    Database &db = m_session.db();
    const MasterCodes masters(db);
    RowBatch batch(db);

    std::optional<PortalUpload> uploader;
    if (upload) {
        uploader.emplace(portal(), [&](int record, const QString &field, const QString &reason) {
            if (local) {
                tally.note(record, u"not uploaded"_s, field, {}, reason, rows.textsOf(record));
            } else {
                tally.reject(record, field, {}, reason, rows.textsOf(record));
            }
        });
    }

    CandidateImporter::Options o;
    o.writer.anyConvocation = true;
    o.writer.withParents = fields.parents;
    o.writer.withAbcId = columns.abcId >= 0;
    AcademicId abcIds(db);
    if (inst == u"008"_s)
        o.writer.univCode = inst;
    o.writeLocally = local;
    o.fieldsOf = [&rows](int record) { return rows.textsOf(record); };
    o.moveFromOtherConvocation = [this](const ResultCandidate &c, const StoredCandidate &stored) {
        return askToMove(c, stored);
    };
    if (uploader) {
        o.done = [&](const ResultCandidate &c, const StoredCandidate *stored, CandidateFate fate, int record,
                     const QStringList &extra) {
            if (fate != CandidateFate::Skipped && fate != CandidateFate::Rejected)
                uploader->add(portalRow(c, stored, extra), record);
        };
    }
    CandidateImporter importer(db, m_session.convoCode, m_session.userName, tally, batch, o);
    CandidateProgress progress(m_progress, rows.count());
    QMap<QString, int> unknownClasses;
    int record = 0;
    try {
        while (rows.next()) {
            record = rows.recordNumber();
            if (rows.tallyIfUnusable(tally))
                continue;
            ResultCandidate c = columns.read(rows);
            const QString classDesc = c.classCode;
            fields.complete(c, rows);
            if (c.name.isEmpty()) {
                tally.skip(record, u"the name is empty"_s, rows.texts(), names.name);
                continue;
            }
            if (const auto problem = checkCandidate(c, names, masters)) {
                tally.reject(record, problem->field, problem->value, problem->reason, rows.texts());
                continue;
            }
            if (const auto problem = local ? checkAbcIdHolder(c, names, abcIds, m_session.convoCode) : std::nullopt) {
                tally.reject(record, problem->field, problem->value, problem->reason, rows.texts());
                continue;
            }
            if (local && !masters.hasClass(c.classCode))
                ++unknownClasses[c.classCode];
            progress.row(record, c.college, c.regno);
            importer.add(c, record, uploader ? fields.uploadExtra(rows, classDesc) : QStringList());
        }
        importer.finish();
        if (uploader)
            uploader->flush();
    } catch (const DbError &e) {
        throw rowStop(e, {rows.fileName(), importer.firstUnwritten(record), {}});
    }
    if (uploader) {
        outcome.uploaded = uploader->counts();
        if (!local) {
            // Online only: the file's rows went to the portal alone, and are counted there.
            tally.counts().inserted = outcome.uploaded.inserted;
            tally.counts().refreshed = outcome.uploaded.updated + outcome.uploaded.unchanged;
        }
    }
    for (auto it = unknownClasses.cbegin(); it != unknownClasses.cend(); ++it)
        tally.warn(u"Class "_s + it.key() + u" is not in the class master ("_s + QString::number(it.value())
                   + u" candidates); add it before printing."_s);
}

} // namespace sw
