// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/appfolder.h"
#include "shell/db/connectionsettings.h"
#include "shell/db/database.h"

#include <memory>

namespace sw {

// Opens the session's one connection from the configuration: composes the
// connection for the database type, selects the database by marker file and
// sends the session statements. Failures throw DbError (classified, so that
// start-up can tell a refused login from an unreachable server) or StopError
// ("DB name not specified!!").
class Connector
{
public:
    struct Options
    {
        // Create the database (SQLite file, MySQL database) when it does not exist; only `init` does.
        bool createIfMissing = false;
        int connectTimeoutSeconds = 5;
        // The database to open instead of the one the marker file or DBNAME chooses.
        QString database;
    };

    // "CONVO" when CONVO.DBS exists, else "CONVODIST" when CONVODIST.DBS exists, else empty.
    static QString markedDatabase(const AppFolder &folder);
    // The database name to use: DBNAME when configured, else the marked one.
    static QString databaseName(const ConnectionSettings &settings, const AppFolder &folder);

    // A value as an ODBC connection string carries it: braced (with "}" doubled) when it
    // holds a character that would otherwise end or split the attribute, as a password may.
    static QString odbcValue(const QString &value);
    static QString sqlServerConnectionString(const ConnectionSettings &settings);
    static QString oracleConnectionString(const ConnectionSettings &settings);
    // Host and port from SERVERNAME "host" or "host:port" (port 3306 when absent).
    static std::pair<QString, int> mysqlHostPort(const QString &serverName);

    static std::unique_ptr<Database> open(const ConnectionSettings &settings, const AppFolder &folder,
                                          const Options &options);
    static std::unique_ptr<Database> open(const ConnectionSettings &settings, const AppFolder &folder)
    {
        return open(settings, folder, Options{});
    }

    // Why a session cannot start while another workstation restores the database.
    static QString restoreInProgress();

    // A new, unique Qt connection name.
    static QString newConnectionName();
};

} // namespace sw
