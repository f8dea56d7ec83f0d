// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>

#include <vector>

namespace sw {

class Database;

// One line of the audit trail: what was done (`what` is the area: login, users,
// masters, settings, certificates, imports, restore, upgrade; `action` the deed), to which
// row (table and key), and the values before and after ("column=value; ...").
struct AuditEntry
{
    QString what;
    QString action;
    QString table;
    QString key;
    QString oldValue;
    QString newValue;
};

// The audit table: lines are only ever added, each with the user, the time and the
// workstation. It also answers the login's questions: how many failed logins of a
// user in a row, and whether he is locked out.
class AuditTrail
{
public:
    struct Line
    {
        QString when; // yyyy-mm-dd hh:mm:ss.zzz
        QString user;
        QString workstation;
        AuditEntry entry;
    };
    struct Filter
    {
        QDate from; // invalid: no limit
        QDate to;
        QString user;
        QString what;
    };

    static constexpr int kFailuresBeforeLock = 5;
    static constexpr int kLockSeconds = 60;

    explicit AuditTrail(Database &db);

    // Adds a line, in the caller's transaction when there is one. A database that has
    // no audit table yet (not upgraded) keeps no trail; every other failure is thrown.
    void record(const QString &user, const AuditEntry &entry);

    std::vector<Line> lines(const Filter &filter) const;

    // Failed logins of `user` on this workstation since his last login or lock there.
    // A lock is the workstation's: guessing at one desk never locks the user out of another.
    int failuresInARow(const QString &user) const;
    // Seconds the user's lock on this workstation still lasts; 0 when he is not locked.
    int lockRemaining(const QString &user) const;

    // "column=value; ..." of the values that differ between two lists of pairs.
    static std::pair<QString, QString> difference(const std::vector<std::pair<QString, QString>> &before,
                                                  const std::vector<std::pair<QString, QString>> &after);

    static QString workstation();
    static QString stamp(const QDateTime &at);

private:
    QString latest(const QString &user, const QStringList &actions) const;

    Database &m_db;
};

} // namespace sw
