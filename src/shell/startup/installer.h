// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/appfolder.h"
#include "shell/db/schemaupgrade.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace sw {

class Database;
class Prompter;

// Sets up an application folder for a new installation: configuration file,
// marker file, database and schema, version stamp, the settings row with the
// institution code and the administrator. Running it again on an installed
// folder brings the schema up to date and changes nothing else that exists.
class Installer
{
public:
    struct Options
    {
        QString institution;
        QString type = QStringLiteral("SQLITE");
        QString server;
        QString dbPassword;
        QString adminUser;    // administrator login of the server (MYSQL / SQLSRVR)
        QString databaseName; // instead of CONVO / CONVODIST
        bool dist = false;    // CONVODIST.DBS instead of CONVO.DBS
    };

    struct Result
    {
        QStringList done; // one line per thing done, for the command line
        UpgradeReport schema;
    };

    // The application database already in place for the folder: the one its
    // configuration names, or the one `options` would create; null when there is
    // none (no database, or one without the settings table). Setting up over it would
    // rewrite its institution code and version, so the caller asks first.
    static std::unique_ptr<Database> openExisting(const AppFolder &folder, const Options &options);

    // Throws DbError or StopError when it cannot finish, and leaves the folder's files as
    // they were (a database server keeps what it created).
    static Result install(const AppFolder &folder, const Options &options, Prompter &prompter);

    // The administrator's first password.
    static QString firstAdminPassword() { return QStringLiteral("ADMIN"); }

private:
    static void writeFolder(const AppFolder &folder, const Options &o, Prompter &prompter, Result &result);
};

} // namespace sw
