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
class SessionLock;

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

    // What shuts the other programs of this computer and the network out of the database
    // until the restore ends, besides the sessions every program registers (Presence): an
    // SQLite file's exclusive session lock. `refused` when another program holds the file.
    struct FileExclusion
    {
        std::shared_ptr<SessionLock> lock;
        bool refused = false;
    };
    virtual FileExclusion excludeOthers(const ConnectionSettings &, const AppFolder &) const { return {}; }
    // Whether a database too damaged to tell its sessions may still be restored over: a
    // file, which its exclusive lock keeps to the restore.
    virtual bool restoresOverDamage() const { return false; }
    // A database whose copy brings back the sessions of the programs that used it then
    // (SQLite keeps them in the file) forgets them: those programs are long gone.
    virtual void forgetCopiedSessions(Database &) const { }

    static std::unique_ptr<BackupEngine> forBackend(Backend backend);
};

} // namespace sw
