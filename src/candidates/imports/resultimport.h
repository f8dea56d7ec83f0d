// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/progress.h"
#include "shell/core/prompter.h"

#include <QString>

#include <optional>

namespace sw {

class AppFolder;
class Database;
class DbError;
class Session;
struct ImportPlace;
class ImportFailure;

// What one import did: rows read and rows inserted (refreshed and skipped rows are
// read but not inserted).
struct ImportCounts
{
    int total = 0;
    int imported = 0;
};

// "Imported Successfully", the counts below it, as the import screens end.
QString importedMessage(const ImportCounts &counts);

// The import of one result file (".cnv", a dBASE table) into the current convocation
// (`Session::convoCode`): candidates are inserted or refreshed, missing degrees and
// colleges added. The file is first copied to DBFS/convo.dbf in the application folder
// and read from there. Rows are committed in batches; when the run stops, the rows
// before the failing record stay and the message names file, record and field.
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
    ImportCounts importCandidates(class ResultRows &rows);

    Session &m_session;
    Prompter &m_prompter;
    Progress m_progress;
};

// Copies `source` to DBFS/convo.dbf under the application folder (creating DBFS,
// replacing an earlier copy) and returns the copy's path; throws StopError.
QString makeWorkingCopy(const AppFolder &folder, const QString &source);

// Adds the degrees (`degrees`) or colleges of a result file that the master lacks; rows
// with an empty description are passed over. Colleges may bring their town.
ImportCounts importMasterRows(Database &db, class ResultRows &rows, bool degrees, bool withTown,
                              const Progress &progress);

// A statement that failed on a row, as the import's stop: the place gets the column
// the server names, when it names one.
ImportFailure rowStop(const DbError &error, ImportPlace place);

} // namespace sw
