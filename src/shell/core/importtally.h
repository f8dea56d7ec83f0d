// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/legacytext.h"

#include <QFile>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace sw {

class AppFolder;
class Prompter;

// What an import did with the records (or lines) of one input. Every record has one
// outcome, so the five add up to `total`, always.
struct ImportCounts
{
    int total = 0;
    int inserted = 0;  // new rows
    int refreshed = 0; // rows found and given the input's values (rows already equal to them included)
    int frozen = 0;    // printed candidates: left as they are
    int skipped =
        0; // passed over by a rule: a deleted record, an empty name, a question answered No, a code already there
    int rejected = 0;        // refused: the reject file names the field and the reason
    QString rejectFile;      // where the skipped and rejected records are listed; empty when there are none
    QStringList rejectLines; // the same records, a line each, for the screen ("line 4, rejected: ...")
    QStringList warnings;    // what was kept but deserves a look (a class not in the class master)

    int accounted() const { return inserted + refreshed + frozen + skipped + rejected; }
    // "total records: 16, imported records: 16, refreshed: 0, printed left alone: 0, skipped: 0, rejected: 0"
    QString summaryLine() const;
};

// "Imported Successfully" and the counts, as the import screens end (lines separated
// by single carriage returns), the reject file and the warnings below them.
QString importedMessage(const ImportCounts &counts);
// How an import ends on the screen: importedMessage above the list of the records it
// skipped and rejected (Prompter::showList), so the clerk reads them without the file.
void showImported(Prompter &prompter, const ImportCounts &counts);

// The records of an input that were not written, as "<input>.rejected.csv" beside the
// input (in the application folder's CSV/ when the input's folder cannot be written):
// a line per skipped or rejected record with its place, outcome, the field at fault,
// its value, the reason, and then the record's own fields under the input's names.
// The file is made at the first such record and written in the input's encoding, so a
// clerk can correct the rows and load them again; an older one is removed when a run
// of the same input starts, so what is there always belongs to the last run.
class RejectFile
{
public:
    // `placeName` heads the first column: "record" for dBASE tables, "line" for text files.
    RejectFile(const QString &inputPath, const AppFolder &folder, const QString &placeName, QStringList fieldNames,
               legacytext::Encoding encoding);
    ~RejectFile();
    RejectFile(const RejectFile &) = delete;
    RejectFile &operator=(const RejectFile &) = delete;

    // Throws StopError when neither place can be written.
    void add(int place, const QString &outcome, const QString &field, const QString &value, const QString &reason,
             const QStringList &fields);
    // The file's path once a record was written; empty before.
    QString path() const { return m_written ? m_path : QString(); }
    // Each record written, as a line the screen lists: "line 4, rejected: FREGNO "": reason".
    const QStringList &lines() const { return m_lines; }
    int records() const { return m_records; }
    // Where the file for `inputPath` goes (beside the input).
    static QString pathBeside(const QString &inputPath);

private:
    void open();
    void writeLine(const QStringList &fields);

    QString m_inputPath;
    QString m_fallback;
    QString m_placeName;
    QStringList m_fieldNames;
    legacytext::Encoding m_encoding;
    QString m_path;
    std::unique_ptr<QFile> m_file;
    bool m_written = false;
    int m_records = 0;
    QStringList m_lines;
};

// The counts of one input and its reject file together: each record is given its
// outcome here, so the counts cannot drift from the file.
class ImportTally
{
public:
    ImportTally(const QString &inputPath, const AppFolder &folder, const QString &placeName, QStringList fieldNames,
                legacytext::Encoding encoding);

    ImportCounts &counts() { return m_counts; }
    const ImportCounts &counts() const { return m_counts; }
    void skip(int place, const QString &reason, const QStringList &fields, const QString &field = {},
              const QString &value = {});
    void reject(int place, const QString &field, const QString &value, const QString &reason,
                const QStringList &fields);
    void warn(const QString &text);
    // A line of the reject file about a record whose outcome is counted elsewhere
    // ("not uploaded": written locally, refused by the portal).
    void note(int place, const QString &outcome, const QString &field, const QString &value, const QString &reason,
              const QStringList &fields);
    // The counts with the reject file's path filled in.
    ImportCounts finish();

private:
    ImportCounts m_counts;
    RejectFile m_rejects;
};

// Why a text cannot be stored in a column of `width` characters (0: no limit), or
// nullopt: a control character (codes below 32 and 127) or more characters than fit.
// Worded alike for every backend, before any statement runs.
std::optional<QString> storableTextProblem(const QString &value, int width);

} // namespace sw
