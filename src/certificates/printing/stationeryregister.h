// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <memory>

namespace sw {

class Database;
class Statement;

// Every sheet of pre-numbered stationery that a run used: printed and confirmed,
// spoiled, or printed for a candidate another workstation had given a number
// first. A candidate passed over (no photograph) is recorded without a number,
// since no sheet was used, and so is nothing of a cancellation but its number,
// user and reason. An auditor reads the register by number range.
class StationeryRegister
{
public:
    // A cancellation uses no sheet: it records who withdrew a printed number and why.
    enum class Outcome { Printed, Spoiled, Skipped, Cancelled };

    struct Entry
    {
        QString prefix;
        long long number = -1; // -1: no sheet was used
        QString certNo;
        QString regno;
        QString degree;
        QString certType;
        Outcome outcome = Outcome::Printed;
        QString remarks;
    };

    StationeryRegister(Database &db, QString convoCode, QString user, QString workstation);

    // One row; the caller's transaction (if any) holds it with the candidate's update.
    void record(const Entry &entry);

    // The cancellation of a printed certificate number; the prefix and running number
    // are read back from the number as the run composed it (prefix + six digits).
    void recordCancellation(const QString &certNo, const QString &regno, const QString &degree,
                            const QString &reason);

    // The register of prefix + from..to: every number with its rows, each number
    // that no row accounts for, and each number used for more than one sheet.
    QStringList report(const QString &prefix, long long from, long long to) const;

    static QString outcomeText(Outcome outcome);

private:
    Database &m_db;
    QString m_convoCode;
    QString m_user;
    QString m_workstation;
    // Prepared on first use: a range cancellation records thousands of rows.
    std::shared_ptr<Statement> m_insert;
};

} // namespace sw
