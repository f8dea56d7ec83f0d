// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/db/dberror.h"

#include <QString>

#include <optional>

namespace sw {

class Database;

// A seam for the tests of failure paths: the Nth statement run from the moment it is
// armed (or the Nth whose text contains a pattern) fails as if the server had dropped
// the connection under it, with the DbError such a failure gives. Every statement of
// the system counts, as Database runs it: a query, a prepared statement's execution,
// and the BEGIN and COMMIT of a write scope.
//
// Compiled in always and inert until armed: by a test in the same process
// (ScopedStatementFault), or, for the command-line program driven from outside, by
// the environment variable SCROLLWISE_FAIL_STATEMENT ("N" or "N:pattern"), read once
// at the program's first statement. A fault fires once; the statements after it run.
// Thread-safe; the count is the process's, unless the fault is tied to one connection.
class StatementFault
{
public:
    struct Plan
    {
        int nth = 0; // 1 fails the first statement counted; 0 only counts
        QString pattern;
        const Database *connection = nullptr; // count only this connection's statements
        DbErrorKind kind = DbErrorKind::ServerUnreachable;
    };

    static void arm(const Plan &plan);
    static void disarm();
    // The statements counted since the fault was armed (those matching its pattern),
    // the failed one included.
    static int counted();
    static bool fired();

    // Database's hook: counts `sql` when it is to be counted and returns the error to
    // throw when it is the one to fail.
    static std::optional<DbError> strike(const Database &db, const QString &sql);
};

// Arms the fault for a scope: one test case, one N.
class ScopedStatementFault
{
public:
    explicit ScopedStatementFault(const StatementFault::Plan &plan) { StatementFault::arm(plan); }
    ~ScopedStatementFault() { StatementFault::disarm(); }
    ScopedStatementFault(const ScopedStatementFault &) = delete;
    ScopedStatementFault &operator=(const ScopedStatementFault &) = delete;

    int counted() const { return StatementFault::counted(); }
    bool fired() const { return StatementFault::fired(); }
};

} // namespace sw
