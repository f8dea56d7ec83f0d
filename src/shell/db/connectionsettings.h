// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/db/sqldialect.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace sw {

class IniFile;

// What the configuration file says about reaching the database. The section is
// [APATH]; DBASEPATH (the historical name) holds the database type.
struct ConnectionSettings
{
    static constexpr const char *kSection = "APATH";

    QString dbType;     // SQLITE, MYSQL, SQLSRVR, ORACLE, ACCESS (trimmed, as stored)
    QString serverName; // SQLSRVR: server; MYSQL: host or host:port; ORACLE: data source
    QString dbPassword; // decoded

    // Deployment configuration, optional keys of the same section.
    QString odbcDriver;     // ODBCDRIVER: SQL Server / Oracle ODBC driver name
    QString adminUser;      // ADMINUSER: administrator login of SQLSRVR / MYSQL
    QString databaseName;   // DBNAME: a database name to use instead of CONVO / CONVODIST
    QString oracleUser;     // ORACLEUSER
    QString oraclePassword; // ORACLEPASSWORD (stored shifted like PASSWORD)

    static ConnectionSettings read(const IniFile &ini);

    // The backend dbType names; nullopt for a type that opens no database.
    std::optional<Backend> backend() const { return backendOfType(dbType); }
    // Whether the backend is reached through SERVERNAME (every one but the SQLite file).
    static bool namesServer(std::optional<Backend> backend) { return backend && backend != Backend::SQLite; }
    // Whether SERVERNAME is the server and PASSWORD the administrator's password for the
    // backend (SQL Server, MySQL); Oracle's SERVERNAME is a connection string, and its
    // user and password are keys of their own.
    static bool namesServerAndPassword(std::optional<Backend> backend)
    {
        return backend == Backend::SqlServer || backend == Backend::MySql;
    }

    QString effectiveOdbcDriver() const;
    QString effectiveAdminUser() const;
    QString effectiveOracleUser() const;
    QString effectiveOraclePassword() const;

    // The database types the configuration dialog offers, in its order.
    static QStringList knownTypes();
};

} // namespace sw
