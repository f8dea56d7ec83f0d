// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace sw {

class Database;

// The stationery register as a stock controller reads it: for a prefix and a range
// of numbers, what became of every sheet (printed, spoiled, void, pending, never
// used), each with the journal of its events, the gaps, and any number used twice
// (which the ledger prevents; sheets registered before it kept the stationery may
// show one). Reads only.
class StationeryReport
{
public:
    struct Counts
    {
        long long printed = 0;
        long long spoiled = 0;
        long long voided = 0;
        long long pending = 0;
        long long unused = 0;
        long long usedTwice = 0;
        long long total() const { return printed + spoiled + voided + pending + unused; }
    };

    explicit StationeryReport(const Database &db);

    // Every number of `prefix` from..to with its lines, then the gaps and the counts.
    QStringList lines(const QString &prefix, long long from, long long to, Counts *counts = nullptr) const;

    // Whether every sheet received (from..to) is accounted for: used (printed,
    // spoiled, void) or still in stock, none pending and none used twice. The lines
    // say what is not, and which unused numbers lie below the last used one (sheets
    // that must still be in the stock although later ones were used).
    QStringList reconcile(const QString &prefix, long long from, long long to, bool *accounted) const;

private:
    struct Number;
    std::vector<Number> read(const QString &prefix, long long from, long long to) const;

    const Database &m_db;
};

} // namespace sw
