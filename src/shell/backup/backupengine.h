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
    // What a copy must pass before it replaces the database; throws StopError to refuse it.
    using CopyCheck = std::function<void(Database &copy)>;

    // Replaces the application database the installation uses (DBNAME, else CONVO or
    // CONVODIST by its marker file) with the copy in `file`, once `check` accepted it.
    virtual void restore(const ConnectionSettings &settings, const AppFolder &folder, const QString &file,
                         const CopyCheck &check) = 0;

    static std::unique_ptr<BackupEngine> forBackend(Backend backend);
};

} // namespace sw
