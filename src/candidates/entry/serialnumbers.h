// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace sw {

class Database;

// Print serial numbers (`convo.fprintord`): five digits (six past 99999), the table's
// highest plus one, over every convocation, compared as numbers. Several workstations
// may activate at the same moment, so the number is read and written under a write
// lock that lasts until the caller's transaction ends.
class SerialNumbers
{
public:
    explicit SerialNumbers(Database &db);

    // Takes the write lock: an update of the settings row, which every backend holds
    // until commit or rollback. A second workstation waits here until the first has
    // committed its number. Must be the first statement of its transaction, so that
    // the reads after it see what the other workstation committed.
    void lock();

    // The next number ("00001" when no candidate has one). Call under lock(). A stored
    // value that is not a number takes no part; `ignored`, when given, receives each
    // such candidate ("R12 (C025): 12A", the first few) so the caller can name them.
    // Throws StopError when the numbers are used up (999999).
    QString next(QStringList *ignored = nullptr) const;

    static QString format(int number);

private:
    Database &m_db;
};

} // namespace sw
