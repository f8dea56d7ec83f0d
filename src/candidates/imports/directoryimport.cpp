// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/imports/directoryimport.h"

#include "candidates/imports/importerror.h"
#include "candidates/imports/resultfile.h"
#include "candidates/imports/rowbatch.h"
#include "shell/core/legacytext.h"
#include "shell/core/session.h"
#include "shell/online/onlinelink.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

const QString kCaption = u"Import Data Directorywise . . ."_s;

// The upload file, written as the legacy 8-bit bytes the portal's Latin-1 columns keep.
class UploadFile
{
public:
    explicit UploadFile(const QString &path)
        : m_file(path)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile::remove(path);
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw importStop(QString::fromLatin1(kBadFileNumber), u"The upload file cannot be written: "_s + m_file.errorString(),
                             {QFileInfo(path).fileName()});
    }
    void write(const QStringList &fields)
    {
        m_file.write(legacytext::toBytes(fields.join(u'|')) + '\n');
        ++m_lines;
    }
    void close() { m_file.close(); }
    int lines() const { return m_lines; }

private:
    QFile m_file;
    int m_lines = 0;
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
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists())
        return files;
    const QFileInfoList own = dir.entryInfoList({u"*.cnv"_s}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &f : own)
        files << f.filePath();
    const QFileInfoList subfolders = dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &sub : subfolders)
        files << listFiles(sub.filePath());
    return files;
}

QString DirectoryImport::uploadFilePath() const
{
    return m_session.folder.filePath(u"CSV/CNVAPPDATA.csv"_s);
}

QString DirectoryImport::loadStatement(const QString &uploadFile)
{
    // A file name cannot be a bound value in LOAD DATA; it is our own path, quoted.
    QString path = uploadFile;
    path.replace(u"\\"_s, u"\\\\"_s).replace(u"'"_s, u"\\'"_s);
    return u"LOAD DATA local INFILE '"_s + path + u"' INTO TABLE "_s + u"dcstud"_s + u" FIELDS TERMINATED BY '|' ("_s
        + u"fregno, fname, fcollcode, fdegree, fcaste, fcnvno, fcertno, fclass, fcyear, fcexam, ftotmax, ftotsec, fdeleted"_s
        + u")"_s;
}

void DirectoryImport::setCaption(const QString &text)
{
    if (m_caption)
        m_caption(text);
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
    try {
        for (qsizetype i = 0; i < files.size(); ++i) {
            setCaption(u"Import Data Directorywise . . . Total Files Selected: "_s + QString::number(files.size())
                       + u", Imported Files : "_s + QString::number(i) + u", Remaining Files : "_s
                       + QString::number(files.size() - i));
            report(m_progress, {}, 0);
            outcomes.push_back(importFile(files[i], options));
        }
    } catch (const MissingField &missing) {
        m_prompter.message(u"Some field is missing from cnv file"_s + u'\r'
                               + ImportPlace{missing.file, 0, missing.field}.describe(),
                           u"Message"_s, PromptIcon::Critical);
        setCaption(kCaption);
        return std::nullopt;
    } catch (const ImportFailure &e) {
        const QString where = e.place().describe();
        m_prompter.message(e.number() + u' ' + e.description() + (where.isEmpty() ? QString() : u'\r' + where),
                           u"Message"_s, PromptIcon::Critical);
        setCaption(kCaption);
        return std::nullopt;
    } catch (const StopError &e) {
        m_prompter.message(e.text(), e.title(), e.icon());
        setCaption(kCaption);
        return std::nullopt;
    } catch (const DbError &e) {
        m_prompter.message(e.number() + u' ' + e.description(), u"Message"_s, PromptIcon::Critical);
        setCaption(kCaption);
        return std::nullopt;
    }
    report(m_progress, {}, 0);
    m_prompter.info(u"Imported data Successfully"_s);
    setCaption(kCaption);
    return outcomes;
}

DirectoryImport::FileOutcome DirectoryImport::importFile(const QString &path, const Options &options)
{
    const QString name = QFileInfo(path).fileName();
    FileOutcome outcome{name, false, {}, 0};
    const ResultKind kind = kindFromNameEnding(path);
    if (kind == ResultKind::None) {
        outcome.skipped = true;
        return outcome;
    }
    report(m_progress, u"Importing "_s + name + u" Data"_s, 0);
    DbfTable table(makeWorkingCopy(m_session.folder, path), name);
    const bool local = !(options.uploadToOnline && options.onlineOnly);
    switch (kind) {
    case ResultKind::Degrees:
    case ResultKind::Colleges: {
        if (!local)
            return outcome;
        const bool degrees = kind == ResultKind::Degrees;
        ResultRows rows(table, {degrees ? u"fdegree"_s : u"fcollcode"_s});
        outcome.counts = importMasterRows(m_session.db(), rows, degrees, !degrees, m_progress);
        return outcome;
    }
    case ResultKind::Candidates: {
        ResultRows rows(table, {u"fcollcode"_s, u"fregno"_s});
        return importCandidates(rows, options);
    }
    case ResultKind::None:
        break;
    }
    return outcome;
}

DirectoryImport::FileOutcome DirectoryImport::importCandidates(ResultRows &rows, const Options &options)
{
    const QString inst = m_session.instCode.trimmed();
    const bool upload = options.uploadToOnline;
    const bool local = !(upload && options.onlineOnly);
    const bool parents = inst == u"027"_s;
    const CandidateColumns columns(rows);
    const int classShort = inst == u"003"_s ? rows.require(u"FCLASSSHT"_s) : -1;
    const int cexam = (parents || upload) ? rows.require(u"FCEXAM"_s) : -1;
    const int father = parents ? rows.require(u"FFATNAME"_s) : -1;
    const int mother = parents ? rows.require(u"FMOTNAME"_s) : -1;
    const int cyear = upload ? rows.require(u"FCYEAR"_s) : -1;
    const int clmax = upload ? rows.require(u"FCLMAX"_s) : -1;
    const int clsec = upload ? rows.require(u"FCLSEC"_s) : -1;

    FileOutcome outcome{rows.fileName(), false, {rows.count(), 0}, 0};
    Database &db = m_session.db();
    CandidateWriter::Options writerOptions;
    writerOptions.anyConvocation = true;
    writerOptions.withParents = parents;
    if (inst == u"008"_s)
        writerOptions.univCode = inst;
    CandidateWriter writer(db, m_session.convoCode, m_session.userName, writerOptions);
    std::optional<UploadFile> uploadFile;
    if (upload)
        uploadFile.emplace(uploadFilePath());

    {
        RowBatch batch(db);
        const QString tail = u" / "_s + QString::number(outcome.counts.total);
        while (rows.next()) {
            try {
                ResultCandidate c = columns.read(rows);
                const QString classDesc = c.classCode;
                if (classShort >= 0)
                    c.classCode = rows.text(classShort);
                if (parents) {
                    c.examDate = rows.text(cexam);
                    c.fatherName = rows.text(father);
                    c.motherName = rows.text(mother);
                }
                const std::optional<FoundCandidate> found = writer.find(c);
                const int percent = int(qint64(rows.rowNumber()) * 100 / outcome.counts.total);
                if (c.name.isEmpty())
                    continue;
                if (local) {
                    const QString where = u", Reg. No.: "_s + c.regno + u" Record No.: "_s
                        + QString::number(rows.rowNumber()) + tail;
                    if (!found) {
                        writer.insert(c);
                        ++outcome.counts.imported;
                        report(m_progress, u"Importing, Please wait, College: "_s + c.college + where, percent);
                    } else {
                        if (found->convoCode != m_session.convoCode.trimmed()) {
                            batch.commitNow();
                            const bool overwrite = m_prompter.ask(
                                u"This Student ("_s + c.regno
                                    + u") may Applied for Improvement!! Do you want to overwrite the Data!!\r\n"
                                      "Current Convocation No. : "_s
                                    + m_session.convoCode + u"\r\nPrevious Convocation No. : "_s + found->convoCode,
                                u"Message"_s, PromptIcon::Information, PromptButtons::YesNo,
                                PromptAnswer::Yes) == PromptAnswer::Yes;
                            if (!overwrite)
                                continue;
                        }
                        writer.refresh(c);
                        report(m_progress, u"Updating, Please wait, College: "_s + c.college + where, percent);
                    }
                    batch.rowDone();
                } else {
                    report(m_progress, {}, percent);
                }
                if (uploadFile) {
                    uploadFile->write({c.regno, c.name, c.college, c.degree, c.caste, m_session.convoCode,
                                       found ? found->certNo : QString(), classDesc, rows.text(cyear),
                                       graveApostrophes(rows.text(cexam)), rows.text(clmax), rows.text(clsec), u"F"_s});
                }
            } catch (const DbError &e) {
                throw rowStop(e, {rows.fileName(), rows.recordNumber(), {}});
            }
        }
    }
    if (uploadFile) {
        uploadFile->close();
        outcome.uploaded = uploadFile->lines();
        loadIntoPortal(uploadFilePath());
    }
    return outcome;
}

void DirectoryImport::loadIntoPortal(const QString &uploadFile)
{
    if (!m_linkOpened) {
        OnlineLink::open(m_session);
        m_linkOpened = true;
    }
    try {
        m_session.cnOnline->exec(loadStatement(QFileInfo(uploadFile).absoluteFilePath()));
    } catch (const DbError &e) {
        throw importStop(e.number(), e.description(), {QFileInfo(uploadFile).fileName()});
    }
}

} // namespace sw
