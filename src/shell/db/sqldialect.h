// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/db/dberror.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <memory>
#include <optional>

class QSqlError;

namespace sw {

// A statement with its bound values.
struct BoundSql
{
    QString sql;
    QVariantList params;
};

enum class Backend { SQLite, MySql, SqlServer, Oracle };

// The backend a configuration's database type names: "SQLITE", "MYSQL", "SQLSRVR" or
// "ORACLE", in any letter case, blanks around it ignored. nullopt for a type that opens
// no database ("ACCESS", still offered by the configuration dialog) and for any other text.
std::optional<Backend> backendOfType(const QString &type);

// The few constructs that differ between the database servers. Every query of the
// system is written once in the portable subset and asks the dialect only for these.
class SqlDialect
{
public:
    virtual ~SqlDialect();

    virtual Backend backend() const = 0;
    virtual QString name() const = 0;     // "SQLITE", "MYSQL", "SQLSRVR", "ORACLE"
    virtual QString qtDriver() const = 0; // QSQLITE, QMYSQL, QODBC

    // Null replacement: COALESCE everywhere but Oracle.
    virtual QString coalesce(const QString &expression, const QString &replacement) const;
    virtual QString concat(const QStringList &parts) const;
    virtual QString length(const QString &expression) const;

    // The name a table is created and addressed under. MySQL on Linux tells
    // `convo` from `CONVO`, so tables live there in lower case.
    virtual QString tableName(const QString &name) const { return name; }

    // Statements sent once after the connection opens.
    virtual QStringList sessionStatements() const { return {}; }

    // Schema changes. A definition is "NAME TYPE" as the table list holds it.
    virtual QString columnDefinition(const QString &definition) const { return definition; }
    virtual QString createTable(const QString &table, const QStringList &definitions) const;
    virtual QString addColumn(const QString &table, const QString &definition) const;
    // nullopt when the backend cannot re-declare an existing column (SQLite).
    virtual std::optional<QString> alterColumn(const QString &table, const QString &definition) const = 0;
    // Lists a table's columns, one row each, the column name in the second field, in column order.
    virtual BoundSql columnListing(const QString &table) const = 0;
    // A query that yields a row when index `index` exists on `table`.
    virtual BoundSql indexListing(const QString &table, const QString &index) const = 0;
    virtual QString createIndex(const QString &index, const QString &table, const QStringList &columns,
                                bool unique = false) const;
    // Temporary tables live as long as the connection. `table` is the plain name; the
    // statements that use the table address it by temporaryTableName() (SQL Server keeps
    // a connection's temporary tables under "#" names).
    virtual QString temporaryTableName(const QString &table) const { return tableName(table); }
    virtual QString createTemporaryTable(const QString &table, const QStringList &definitions) const;
    virtual QString dropTemporaryTable(const QString &table) const;

    // The statement that opens a write transaction holding the write lock from its start;
    // nullopt where the driver's own begin does (the servers lock row by row as they write).
    virtual std::optional<QString> beginWriteStatement() const { return std::nullopt; }

    // A query of the connection's current database name; nullopt where the name is the
    // connection's file (SQLite).
    virtual std::optional<QString> currentDatabaseQuery() const = 0;

    // One statement that updates the rows of `table` matching the rows of the temporary
    // table `source` on `keys`, setting each of `columns` from the source row and every
    // `fixed` assignment as given ("fspecial = ''"), where `condition` holds; the
    // condition names, without qualifier, only columns the source does not have.
    // nullopt when the backend has no such statement: the caller updates row by row.
    virtual std::optional<QString> joinedUpdate(const QString &table, const QString &source, const QStringList &keys,
                                                const QStringList &columns, const QStringList &fixed,
                                                const QString &condition) const;

    // The server's clock as whole seconds since 1970 (UTC): what workstations whose own
    // clocks differ agree on.
    virtual QString nowSeconds() const;
    // The declaration of the key column FROWID every table carries, where the backend
    // needs one declared (a cluster replicates rows by their primary key); nullopt
    // where every table has one of its own (SQLite's rowid).
    virtual std::optional<QString> rowKeyDefinition() const { return std::nullopt; }

    // The most values one statement may bind.
    virtual int maxBoundValues() const { return 999; }

    // Sorts a driver error into the kinds the system reacts to.
    virtual DbErrorKind classify(const QSqlError &error) const = 0;

    static std::unique_ptr<SqlDialect> forBackend(Backend backend);
};

} // namespace sw
