// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/db/database.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

namespace sw {

// Where a certificate number stands on the published status lists. Each number the
// stationery gives gets a random place on a list (a list holds kListSize places; a new
// list starts when one is half full, so a free place is found at once and the places
// say nothing about the order of issue). The place is signed into the sheet's code; the
// published list says at that place whether the certificate is revoked or suspended.
//
// Every change is made within the caller's transaction, so a cancellation and the
// revocation it causes are committed together or not at all.
class StatusRegister
{
public:
    static constexpr long long kListSize = 131072; // 16 KB of bits, the least the lists' standard allows

    struct Entry
    {
        QString certNo;
        int list = 0;
        long long index = -1;
        QString regno;
        QString degree;
        bool revoked = false;
        bool suspended = false;
        QString reason;       // why revoked
        QDate revokedOn;      // when
        QString holdReason;   // why suspended
        QDate heldOn;         // since when
        QString supersededBy; // the number of the reprint that replaced it
        // What the verifier is told: "superseded by No. X (Name misspelt)", the reason alone, or "".
        QString revocationText() const;
    };

    // One register serves a whole run: it keeps its statements and the open list.
    explicit StatusRegister(Database &db, QString user = {});

    // What a number certifies, so that a reprint supersedes only its own kind: "D" for a
    // degree certificate, the rank register's type ("RC", "GC", "CC") for an award.
    static constexpr const char *kDegree = "D";

    // The number's place, given now when it has none. Within the caller's transaction.
    Entry assign(const QString &certNo, const QString &regno, const QString &degree,
                 const QString &kind = QString::fromLatin1(kDegree));
    std::optional<Entry> find(const QString &certNo) const;
    // Revokes the number (no place yet: it gets one, so the revocation is published).
    void revoke(const QString &certNo, const QString &regno, const QString &degree, const QString &reason,
                const QString &kind = QString::fromLatin1(kDegree));
    // The holder's earlier numbers of the same kind, revoked and not yet replaced, are
    // superseded by `certNo`.
    void supersede(const QString &regno, const QString &degree, const QString &kind, const QString &certNo);
    // Sets (or, with `hold` false, lifts) the suspension of a number that has a place.
    // False when the number has none.
    bool hold(const QString &certNo, bool hold, const QString &reason);
    // Every entry of `list` (the whole register when list is 0), by list and place.
    std::vector<Entry> entries(int list = 0) const;
    // The lists that hold any entry.
    std::vector<int> lists() const;

private:
    // The list new places go on: counted once, then kept up with the places this register
    // gives, so a run does not count the whole register for every sheet. Places other
    // workstations give meanwhile are not counted; a list may pass half full by as many.
    struct OpenList
    {
        int list = 0;
        long long entries = 0;
    };
    int openList();

    Database &m_db;
    QString m_user;
    std::optional<OpenList> m_open;
    std::optional<Statement> m_placeTaken;
    std::optional<Statement> m_insert;
};

} // namespace sw
