// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/db/presence.h"

#include "shell/core/stoperror.h"
#include "shell/db/connector.h"
#include "shell/db/database.h"

#include <QDateTime>
#include <QSysInfo>
#include <QThread>
#include <QUuid>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

QString kindCode(Presence::Kind kind)
{
    switch (kind) {
    case Presence::Kind::Session: return u"SESSION"_s;
    case Presence::Kind::Run: return u"RUN"_s;
    case Presence::Kind::Restore: return u"RESTORE"_s;
    }
    return {};
}

Presence::Kind kindOf(const QString &code)
{
    if (code.trimmed() == u"RUN"_s)
        return Presence::Kind::Run;
    if (code.trimmed() == u"RESTORE"_s)
        return Presence::Kind::Restore;
    return Presence::Kind::Session;
}

// How long a new session waits for a restore to end: 20 x 250 ms.
constexpr int kRestoreWaitAttempts = 20;
constexpr unsigned long kRestoreWaitStepMs = 250;

QString presenceTable(const Database &db) { return db.table(u"PRESENCE"_s); }

void insertRow(Database &db, const Presence::Entry &e)
{
    db.exec(u"insert into "_s + presenceTable(db)
                + u" (fid, fkind, fusername, fworkstation, fwhat, fstarted, falive) values (?, ?, ?, ?, ?, ?, "_s
                + db.dialect().nowSeconds() + u')',
            {e.id, kindCode(e.kind), e.user.left(50), e.workstation.left(100), e.what.left(100),
             QDateTime::currentDateTime().toString(u"yyyy-MM-dd HH:mm:ss"_s)});
}

} // namespace

// Keeps the rows of one session alive from a thread of its own, on a connection of
// its own: the session's connection belongs to its thread, which may be waiting for a
// clerk's answer for minutes.
class PresenceKeeper
{
public:
    PresenceKeeper(ConnectionSettings settings, AppFolder folder)
        : m_settings(std::move(settings))
        , m_folder(std::move(folder))
        , m_thread([this] { run(); })
    {
    }

    ~PresenceKeeper()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }

    void keep(const Presence::Entry &entry)
    {
        std::lock_guard lock(m_mutex);
        m_rows[entry.id] = entry;
    }

    void setUser(const QString &user)
    {
        std::lock_guard lock(m_mutex);
        for (auto &[id, entry] : m_rows) {
            if (entry.kind == Presence::Kind::Session)
                entry.user = user;
        }
    }

    // Stops keeping `id` and removes its row, waiting (a few seconds at most) until it is gone,
    // so that whoever looks next no longer finds it.
    void release(const QString &id)
    {
        std::unique_lock lock(m_mutex);
        m_rows.erase(id);
        m_removals.push_back(id);
        m_wake.notify_all();
        m_removed.wait_for(lock, std::chrono::seconds(5), [&] { return !m_removals.contains(id); });
    }

    QStringList ids() const
    {
        std::lock_guard lock(m_mutex);
        QStringList out;
        for (const auto &[id, entry] : m_rows)
            out << id;
        return out;
    }

private:
    void run()
    {
        std::unique_ptr<Database> db;
        std::unique_lock lock(m_mutex);
        while (true) {
            const bool stopping = m_stopping;
            const QStringList removals = m_removals;
            std::map<QString, Presence::Entry> rows = m_rows;
            lock.unlock();
            try {
                if (!db)
                    db = Connector::open(m_settings, m_folder);
                for (const QString &id : removals)
                    db->exec(u"delete from "_s + presenceTable(*db) + u" where fid = ?"_s, {id});
                if (stopping) {
                    for (const auto &[id, entry] : rows)
                        db->exec(u"delete from "_s + presenceTable(*db) + u" where fid = ?"_s, {id});
                } else {
                    for (const auto &[id, entry] : rows)
                        beat(*db, entry);
                }
            } catch (...) {
                // A server out of reach: the rows age, as they would for a program cut off.
                // The next beat tries again on a new connection.
                db.reset();
            }
            lock.lock();
            for (const QString &id : removals)
                m_removals.removeAll(id);
            m_removed.notify_all();
            if (stopping)
                break;
            m_wake.wait_for(lock, std::chrono::milliseconds(Presence::beatMilliseconds()),
                            [&] { return m_stopping || !m_removals.isEmpty(); });
        }
        lock.unlock();
        db.reset();
    }

    // A row the database no longer holds (replaced by a restore) is written again.
    static void beat(Database &db, const Presence::Entry &entry)
    {
        const int touched = db.exec(u"update "_s + presenceTable(db) + u" set falive = "_s + db.dialect().nowSeconds()
                                        + u", fusername = ? where fid = ?"_s,
                                    {entry.user.left(50), entry.id});
        if (touched == 0)
            insertRow(db, entry);
    }

    ConnectionSettings m_settings;
    AppFolder m_folder;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_removed;
    std::map<QString, Presence::Entry> m_rows;
    QStringList m_removals;
    bool m_stopping = false;
    std::thread m_thread;
};

QString Presence::Entry::describe() const
{
    const QString who = user.trimmed().isEmpty() ? u"a program"_s : user.trimmed();
    return who + u" on "_s + workstation + (what.isEmpty() ? QString() : u" ("_s + what + u')');
}

QString Presence::kindText(Kind kind) { return kindCode(kind); }

int Presence::leaseSeconds()
{
    bool given = false;
    const int configured = qEnvironmentVariableIntValue("SCROLLWISE_LEASE_SECONDS", &given);
    return given ? std::max(configured, 2) : 30;
}

QString Presence::workstation()
{
    const QString configured = qEnvironmentVariable("SCROLLWISE_WORKSTATION").trimmed();
    return (configured.isEmpty() ? QSysInfo::machineHostName() : configured).left(100);
}

Presence::Lease::Lease(std::shared_ptr<PresenceKeeper> keeper, QString id)
    : m_keeper(std::move(keeper))
    , m_id(std::move(id))
{
}

Presence::Lease::~Lease() { m_keeper->release(m_id); }

void Presence::join(Database &db, const ConnectionSettings &settings, const AppFolder &folder, const QString &what)
{
    Entry own{QUuid::createUuid().toString(QUuid::WithoutBraces), Kind::Session, {}, workstation(), what, 0};
    try {
        insertRow(db, own);
    } catch (const DbError &e) {
        if (e.kind() == DbErrorKind::MissingTable)
            return;
        throw;
    }
    // Written first, looked for second: a restore writes its gate first and looks for
    // sessions second, so of a session and a restore starting together one sees the other.
    // A restore takes seconds: the session waits a little for it before it gives up.
    try {
        for (int attempt = 0;; ++attempt) {
            try {
                refuseWhileRestoring(db);
                break;
            } catch (const StopError &) {
                if (attempt >= kRestoreWaitAttempts)
                    throw;
            }
            QThread::msleep(kRestoreWaitStepMs);
        }
    } catch (...) {
        db.exec(u"delete from "_s + presenceTable(db) + u" where fid = ?"_s, {own.id});
        throw;
    }
    auto keeper = std::make_shared<PresenceKeeper>(settings, folder);
    keeper->keep(own);
    db.holdPresence(std::move(keeper));
}

void Presence::setUser(Database &db, const QString &user)
{
    if (!db.presence())
        return;
    db.presence()->setUser(user);
    for (const QString &id : db.presence()->ids())
        db.exec(u"update "_s + presenceTable(db) + u" set fusername = ? where fid = ? and fkind = ?"_s,
                {user.left(50), id, kindCode(Kind::Session)});
}

std::unique_ptr<Presence::Lease> Presence::hold(Database &db, Kind kind, const QString &id, const QString &user,
                                                const QString &what)
{
    if (!db.presence())
        return nullptr;
    const Entry entry{id, kind, user, workstation(), what, 0};
    insertRow(db, entry);
    db.presence()->keep(entry);
    return std::unique_ptr<Lease>(new Lease(db.presence(), id));
}

namespace {

std::vector<Presence::Entry> liveRows(const Database &db, const QString &condition, const QVariantList &params)
{
    std::vector<Presence::Entry> out;
    QVariantList bound{Presence::leaseSeconds()};
    bound << params;
    const QString now = db.dialect().nowSeconds();
    try {
        Rows rows = db.query(u"select fid, fkind, fusername, fworkstation, fwhat, %1 - falive from %2 "
                             "where falive >= %1 - ?%3"_s.arg(now, presenceTable(db), condition),
                             bound);
        while (rows.next())
            out.push_back({rows.text(0).trimmed(), kindOf(rows.text(1)), rows.text(2).trimmed(), rows.text(3).trimmed(),
                           rows.text(4).trimmed(), rows.value(5).toLongLong()});
    } catch (const DbError &e) {
        if (e.kind() != DbErrorKind::MissingTable)
            throw;
    }
    return out;
}

} // namespace

QStringList Presence::ownIds(const Database &db) { return db.presence() ? db.presence()->ids() : QStringList(); }

std::vector<Presence::Entry> Presence::others(const Database &db, const QStringList &alsoOwn)
{
    const QStringList own = ownIds(db) + alsoOwn;
    std::vector<Entry> out;
    for (Entry &e : liveRows(db, {}, {})) {
        if (!own.contains(e.id))
            out.push_back(std::move(e));
    }
    return out;
}

std::optional<Presence::Entry> Presence::live(const Database &db, const QString &id)
{
    std::vector<Entry> rows = liveRows(db, u" and fid = ?"_s, {id});
    if (rows.empty())
        return std::nullopt;
    return rows.front();
}

void Presence::refuseWhileRestoring(const Database &db)
{
    const QStringList own = ownIds(db);
    for (const Entry &e : liveRows(db, u" and fkind = ?"_s, {kindCode(Kind::Restore)})) {
        if (!own.contains(e.id))
            throw StopError(Connector::restoreInProgress() + u" ("_s + e.describe() + u')', PromptIcon::Exclamation);
    }
}

void Presence::forgetOthers(Database &db)
{
    const QStringList own = ownIds(db);
    QString sql = u"delete from "_s + presenceTable(db);
    QVariantList params;
    if (!own.isEmpty()) {
        sql += u" where fid not in ("_s + QStringList(own.size(), u"?"_s).join(u", "_s) + u')';
        for (const QString &id : own)
            params << id;
    }
    try {
        db.exec(sql, params);
    } catch (const DbError &e) {
        if (e.kind() != DbErrorKind::MissingTable)
            throw;
    }
}

} // namespace sw
