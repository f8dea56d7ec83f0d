// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/db/statementfault.h"

#include <QMutex>
#include <QMutexLocker>

#include <atomic>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

struct FaultState
{
    QMutex mutex;
    std::optional<StatementFault::Plan> plan;
    int counted = 0;
    bool fired = false;
};

FaultState &state()
{
    static FaultState s;
    return s;
}

// Read by every statement without the lock: a program never armed pays one load.
std::atomic<bool> g_armed{false};

void armLocked(FaultState &s, const StatementFault::Plan &plan)
{
    s.plan = plan;
    s.counted = 0;
    s.fired = false;
    g_armed.store(true, std::memory_order_release);
}

// SCROLLWISE_FAIL_STATEMENT="N" or "N:pattern", for a program under test from outside.
void armFromEnvironmentOnce()
{
    static const bool once = [] {
        const QString setting = qEnvironmentVariable("SCROLLWISE_FAIL_STATEMENT");
        if (setting.isEmpty())
            return true;
        const qsizetype colon = setting.indexOf(u':');
        bool ok = false;
        const int nth = setting.left(colon).trimmed().toInt(&ok);
        if (!ok || nth < 0)
            return true;
        StatementFault::Plan plan;
        plan.nth = nth;
        if (colon >= 0)
            plan.pattern = setting.mid(colon + 1);
        FaultState &s = state();
        QMutexLocker lock(&s.mutex);
        armLocked(s, plan);
        return true;
    }();
    Q_UNUSED(once);
}

} // namespace

void StatementFault::arm(const Plan &plan)
{
    FaultState &s = state();
    QMutexLocker lock(&s.mutex);
    armLocked(s, plan);
}

void StatementFault::disarm()
{
    FaultState &s = state();
    QMutexLocker lock(&s.mutex);
    g_armed.store(false, std::memory_order_release);
    s.plan.reset();
}

int StatementFault::counted()
{
    FaultState &s = state();
    QMutexLocker lock(&s.mutex);
    return s.counted;
}

bool StatementFault::fired()
{
    FaultState &s = state();
    QMutexLocker lock(&s.mutex);
    return s.fired;
}

std::optional<DbError> StatementFault::strike(const Database &db, const QString &sql)
{
    armFromEnvironmentOnce();
    if (!g_armed.load(std::memory_order_acquire))
        return std::nullopt;
    FaultState &s = state();
    QMutexLocker lock(&s.mutex);
    if (!s.plan || (s.plan->connection && s.plan->connection != &db))
        return std::nullopt;
    if (!s.plan->pattern.isEmpty() && !sql.contains(s.plan->pattern, Qt::CaseInsensitive))
        return std::nullopt;
    ++s.counted;
    if (s.fired || s.counted != s.plan->nth)
        return std::nullopt;
    s.fired = true;
    return DbError(s.plan->kind, u"2013"_s,
                   u"Lost connection to the server during the statement (fault at statement "_s
                       + QString::number(s.counted) + u")"_s,
                   sql);
}

} // namespace sw
