// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/appfolder.h"
#include "shell/db/connectionsettings.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace sw {

class Database;
class PresenceKeeper;

// Which programs are working on the database now, seen alike from every server of a
// cluster (a server's own list of connections shows only its own).
//
// Every session writes a row to PRESENCE when it starts and keeps it alive: a thread
// of its own, on a connection of its own, touches the row every few seconds, also
// while the clerk answers a question. A row not touched for a lease's length belongs
// to a program that ended without saying so (killed, cut off from the server) and
// counts no more. The same rows carry two other leases: a printing run's (its sheets
// at the printer cannot be settled elsewhere while it lives) and a restore's gate
// (while it stands no session starts and no sheet is reserved).
//
// The times are the database server's, so workstations whose clocks differ agree.
class Presence
{
public:
    // How long a row lives untouched: 30 seconds, or SCROLLWISE_LEASE_SECONDS (at least 2;
    // tests that kill programs shorten it). A row is touched six times in that time.
    static int leaseSeconds();
    static int beatMilliseconds() { return leaseSeconds() * 1000 / 6; }

    enum class Kind { Session, Run, Restore };

    struct Entry
    {
        QString id;
        Kind kind = Kind::Session;
        QString user;
        QString workstation;
        QString what;
        long long quietSeconds = 0;

        // "ADMIN on OFFICE-2 (printing run)"
        QString describe() const;
    };

    // A row kept alive until the object goes (then removed).
    class Lease
    {
    public:
        ~Lease();
        Lease(const Lease &) = delete;
        Lease &operator=(const Lease &) = delete;
        const QString &id() const { return m_id; }

    private:
        friend class Presence;
        Lease(std::shared_ptr<PresenceKeeper> keeper, QString id);
        std::shared_ptr<PresenceKeeper> m_keeper;
        QString m_id;
    };

    // Registers the session of `db` (opened from `settings` and `folder`) and keeps it
    // alive for as long as `db` is open. Throws StopError when a restore holds the
    // database. A database without the PRESENCE table (not yet upgraded) keeps none.
    static void join(Database &db, const ConnectionSettings &settings, const AppFolder &folder, const QString &what);
    // The user who logged in on the session.
    static void setUser(Database &db, const QString &user);

    // A lease of `db`'s session: a printing run's sheets, a restore's gate. Null when the
    // session keeps no presence (a database opened by a test or a tool).
    static std::unique_ptr<Lease> hold(Database &db, Kind kind, const QString &id, const QString &user,
                                       const QString &what);

    // Every live row but those of `db`'s own session and leases and those of `alsoOwn`.
    static std::vector<Entry> others(const Database &db, const QStringList &alsoOwn = {});
    // The ids of `db`'s own session and leases.
    static QStringList ownIds(const Database &db);
    // The live row `id`, if its program is still alive.
    static std::optional<Entry> live(const Database &db, const QString &id);
    // Throws StopError when another program's restore holds the database.
    static void refuseWhileRestoring(const Database &db);
    // Removes every row but `db`'s own (after a restore, whose copy holds the rows of
    // programs long gone).
    static void forgetOthers(Database &db);

    // The workstation's name as the register and the audit trail show it:
    // SCROLLWISE_WORKSTATION when set (machines cloned from one image share a host
    // name), else the host name.
    static QString workstation();

    static QString kindText(Kind kind);
};

} // namespace sw
