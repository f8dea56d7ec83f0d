// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/appfolder.h"
#include "shell/db/connectionsettings.h"
#include "shell/db/sqldialect.h"

#include <QString>

#include <functional>
#include <memory>

namespace sw {

class Database;

// How one kind of database server is copied to a file and put back from one.
// Each implementation keeps the database whole: a backup is written under a
// temporary name and renamed when complete; a restore replaces the database in
// one step, so a failure leaves the database as it was.
class BackupEngine
{
public:
    virtual ~BackupEngine();

    // Writes a consistent copy of the connection's database to `file`.
    virtual void backup(Database &db, const QString &file) = 0;
    // What is done to the copy before it replaces the database: checks that may refuse
    // it (StopError), and what is written into it (the register kept from the database
    // it replaces). The copy is writable and not the backup file itself. A step that
    // fails leaves the database as it was (on SQL Server, whose RESTORE replaces the
    // database itself, the step runs on the restored database).
    using CopyStep = std::function<void(Database &copy)>;

    // Replaces the application database the installation uses (DBNAME, else CONVO or
    // CONVODIST by its marker file) with the copy in `file`, once `step` has run on it.
    virtual void restore(const ConnectionSettings &settings, const AppFolder &folder, const QString &file,
                         const CopyStep &step) = 0;

    static std::unique_ptr<BackupEngine> forBackend(Backend backend);
};

} // namespace sw
