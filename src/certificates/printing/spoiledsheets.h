// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace sw {

class Database;

// Sheets a clerk registers as spoiled after they left the printer. The layouts that
// store the number as soon as the sheet is printed never ask whether it came out
// well, so a jammed or smudged sheet is registered here: its number is taken back
// from the candidate who holds it (who is then selected by the next run and gets a
// new sheet) and the register records the sheet as spoiled. A sheet spoiled outside
// a run (a test print, a sheet that went in twice) is registered the same way.
//
// A spoiled number is used up: it is given to nobody again (the run's number check
// refuses a range that holds one).
class SpoiledSheets
{
public:
    SpoiledSheets(Database &db, QString convoCode, QString user, QString workstation);

    // "17, 19-21" or full numbers with the prefix ("A000017"); every number once, in
    // order. Throws StopError naming the item that is not a number or a range.
    static std::vector<long long> parseNumbers(const QString &list, const QString &prefix);

    // What registering would do, one line per sheet; throws StopError naming the
    // first number that cannot be registered (already spoiled, a rank certificate's,
    // printed for a candidate who no longer holds it). Writes nothing.
    QStringList plan(const QString &prefix, const std::vector<long long> &numbers) const;

    // Checks as plan() does, then takes the numbers back and registers the sheets, all
    // in one transaction: either every sheet is registered or none is.
    QStringList registerSpoiled(const QString &prefix, const std::vector<long long> &numbers, const QString &reason);

private:
    struct Sheet
    {
        long long number = 0;
        QString certNo;
        QString holder;    // the candidate who holds the number; empty when nobody does
        QString degree;
        QString line;      // what registering does, as plan() tells it
    };
    std::vector<Sheet> check(const QString &prefix, const std::vector<long long> &numbers) const;

    Database &m_db;
    QString m_convoCode;
    QString m_user;
    QString m_workstation;
};

} // namespace sw
