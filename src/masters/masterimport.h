// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/importtally.h"
#include "shell/core/legacytext.h"

#include <QString>
#include <QStringList>

namespace sw {

class AppFolder;
class Database;

// Bulk load of a master table from a comma-separated file whose first line names
// the columns: every column of the table's screens, the Kannada ones included. The
// file's encoding is declared (the legacy Kannada bytes are cp1252 text; guessing
// would read some runs of them as UTF-8). Each row gets the checks of the table's
// screens (codes upper case and unique whatever their case, texts within their widths,
// dates that exist, T/F flags, one active convocation). Under the rule of every import
// a file whose header is wrong is refused whole; otherwise the good rows are added in
// one transaction, a code already in the table is skipped (never overwritten), and the
// bad rows are rejected into "<file>.rejected.csv" with their reasons.
class MasterImport
{
public:
    struct Result
    {
        bool done = false;   // the file was read and every row given its outcome
        ImportCounts counts; // rows below the header
        QString error;       // why the file was refused whole
    };

    // The tables a file can be loaded into.
    static QStringList tables();
    // The columns a file for `table` may name.
    static QStringList columns(const QString &table);

    MasterImport(Database &db, const AppFolder &folder);
    Result run(const QString &table, const QString &path, legacytext::Encoding encoding = legacytext::Encoding::Cp1252);

private:
    Database &m_db;
    const AppFolder &m_folder;
};

// Every column of a master table, for listing: the header and one row per record,
// each a list of texts in schema order. Empty when the table is not a master.
struct MasterListing
{
    QStringList header;
    QList<QStringList> rows;
};
MasterListing listMaster(Database &db, const QString &table);
QStringList listableMasters();

} // namespace sw
