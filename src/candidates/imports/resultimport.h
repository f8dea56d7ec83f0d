// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/importtally.h"
#include "shell/core/progress.h"
#include "shell/core/prompter.h"

#include <QString>

#include <algorithm>
#include <optional>

namespace sw {

class AppFolder;
class Database;
class DbError;
class Session;
class ResultRows;
struct ImportPlace;
class ImportFailure;

// The import of one result file (".cnv", a dBASE table) into the current convocation
// (`Session::convoCode`): candidates are inserted or refreshed, missing degrees and
// colleges added. The file is first copied to DBFS/convo.dbf in the application folder
// and read from there.
//
// The rule of every import: a file whose form is broken (not a dBASE table, damaged
// header, records missing or uncounted, a field missing or held in a memo file) is
// refused whole before anything is written. Otherwise each record gets one outcome:
// inserted, refreshed, left alone because printed, skipped by a rule (deleted in the
// file, empty name) or rejected (a value that cannot be stored, a degree or college
// not in its master, a row the database refuses); the good records are written, the
// skipped and rejected ones are listed with their reasons in "<file>.rejected.csv"
// beside the file, and the counts add up to the file's records. Rows are committed in
// batches; a run stopped by the server keeps what it committed and says where it stopped.
class ResultFileImport
{
public:
    ResultFileImport(Session &session, Prompter &prompter, Progress progress = {});

    // The Upload button: checks the path ("Path Should be Entered", "Invalid Path"),
    // imports and shows the final message or the error. The counts; nullopt when the
    // run was refused or stopped.
    std::optional<ImportCounts> run(const QString &path);
    // The import alone; throws StopError.
    ImportCounts import(const QString &path);

private:
    void importCandidates(ResultRows &rows, ImportTally &tally);

    Session &m_session;
    Prompter &m_prompter;
    Progress m_progress;
};

// Copies `source` to DBFS/convo.dbf under the application folder (creating DBFS,
// replacing an earlier copy) and returns the copy's path; throws StopError.
QString makeWorkingCopy(const AppFolder &folder, const QString &source);

// Adds the degrees (`degrees`) or colleges of a result file that the master lacks.
// A code already there is skipped (left as it is), as is a record without description;
// colleges may bring their town.
void importMasterRows(Database &db, ResultRows &rows, ImportTally &tally, bool degrees, bool withTown,
                      const Progress &progress);

// The status line of a candidates file as the import goes: redrawn once a percent, since
// at thousands of rows a second nobody reads more and composing it costs time.
class CandidateProgress
{
public:
    CandidateProgress(const Progress &progress, int records)
        : m_progress(progress)
        , m_records(std::max(1, records))
    {
    }
    void row(int record, const QString &college, const QString &regno);

private:
    const Progress &m_progress;
    int m_records;
    int m_shown = -1;
};

// A statement that failed and stopped the run, as the import's stop: the place gets the
// column the server names, and the message says what stays.
ImportFailure rowStop(const DbError &error, ImportPlace place);

} // namespace sw
