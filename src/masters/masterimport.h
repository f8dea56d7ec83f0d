// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace sw {

class Database;

// Bulk load of a master table from a comma-separated file whose first line names
// the columns. Every row gets the checks of the table's screen; the first bad row
// is reported with its file, line and field, and then nothing of the file is saved.
// Codes already in the table are refused, never overwritten.
class MasterImport
{
public:
    struct Result
    {
        bool done = false;
        int rows = 0;    // rows added
        QString error;   // "FILE line N, field COLUMN: message" when not done
    };

    // The tables a file can be loaded into.
    static QStringList tables();

    explicit MasterImport(Database &db);
    Result run(const QString &table, const QString &path);

private:
    Database &m_db;
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
