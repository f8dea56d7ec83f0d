// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

namespace sw {

class Database;

// What a restore must not take back: the sheets of the stationery register, the lines
// of its journal and of the audit trail written after the backup was taken, and the
// certificates' places and status on the published lists (a revocation stays one). The paper
// of a printed sheet exists whatever the backup says, so its number stays used; what
// was done, and by whom, stays on record.
//
// Read from the database about to be replaced, applied to the restored one: every row
// the copy lacks is added, and a sheet the copy holds in an earlier state (pending,
// where the database replaced had it printed, spoiled or void) takes the later one.
class RegisterCarryOver
{
public:
    // Reads the rows to keep; a database that has none of the tables keeps nothing.
    static RegisterCarryOver read(const Database &live);

    struct Result
    {
        int sheets = 0;
        int journalLines = 0;
        int auditLines = 0;
        int statuses = 0; // certificates whose place or status on the lists was kept
        // "Reg. No. R0001 (BSC): certificate DC000101 ..." for every candidate whose sheet
        // was printed after the backup and whom the backup shows without that number.
        QStringList unprintedInCopy;
        bool empty() const { return sheets == 0 && journalLines == 0 && auditLines == 0 && statuses == 0; }
    };
    // Adds what the restored database lacks, in one transaction.
    Result apply(Database &restored) const;

private:
    struct Table
    {
        QString name;
        QStringList columns;
        std::vector<QVariantList> rows;
    };
    int carrySheets(Database &restored, const Table &table, QStringList &unprinted) const;
    static int carryLines(Database &restored, const Table &table);
    static int carryStatuses(Database &restored, const Table &table);

    std::vector<Table> m_tables;
};

} // namespace sw
