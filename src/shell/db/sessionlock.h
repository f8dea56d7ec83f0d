// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <memory>

namespace sw {

// Tells whether other programs are working on an SQLite database file, so that a
// restore never replaces a database under a running session (a printing run would
// otherwise carry on into the restored copy and lose the sheets it printed).
//
// Every connection holds a shared lock on a small file beside the database
// (CONVO.sqlite.sessions) for as long as it is open; a restore asks for the
// exclusive lock, which the operating system grants only when no other process
// holds the shared one. The locks are the operating system's own, so a program
// that crashes or is killed releases its lock at once.
//
// The locks belong to the process, not to one connection: a process that opens
// several connections to one file shares one descriptor between them (closing a
// second one would otherwise drop the first one's lock too), and its own shared lock
// never stands in the way of its own restore.
class SessionLock
{
public:
    // Takes the shared lock for a connection to `databaseFile`; released when the
    // returned object goes. Null while another process restores the database (holds
    // the exclusive lock) for longer than a few seconds. Where the lock file cannot be
    // made (a read-only folder) the session simply holds none.
    static std::shared_ptr<SessionLock> shared(const QString &databaseFile);

    // The exclusive lock, when no other process holds a shared one; null otherwise.
    // Held until the returned object goes.
    static std::shared_ptr<SessionLock> exclusive(const QString &databaseFile);

    static QString lockFile(const QString &databaseFile) { return databaseFile + QStringLiteral(".sessions"); }

    ~SessionLock();
    SessionLock(const SessionLock &) = delete;
    SessionLock &operator=(const SessionLock &) = delete;

    // The process's open lock file (sessionlock.cpp).
    struct Descriptor;

private:
    explicit SessionLock(std::shared_ptr<Descriptor> descriptor, bool exclusive);

    std::shared_ptr<Descriptor> m_descriptor;
    bool m_exclusive;
};

} // namespace sw
