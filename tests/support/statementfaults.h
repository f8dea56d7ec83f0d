// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Failure paths walked statement by statement: a run is made once to count the statements
// it sends over one connection, then once more for each of them with that one failing
// (shell/db/statementfault.h), the state reset before each run and checked after it.
#include "shell/db/statementfault.h"

#include <gtest/gtest.h>

namespace sw::test {

// Calls reset(), run() and check(nth) for nth = 1..N, N being the statements (matching
// `pattern`) that run() sent on `db` (on any connection when null) unhindered; returns N. A run in which the armed
// statement never came (the run took another road) fails the test.
template <typename Reset, typename Run, typename Check>
int failEachStatement(const Database *db, Reset reset, Run run, Check check, const QString &pattern = {})
{
    int statements = 0;
    reset();
    {
        const ScopedStatementFault counting({0, pattern, db});
        run();
        statements = counting.counted();
    }
    for (int nth = 1; nth <= statements; ++nth) {
        SCOPED_TRACE(::testing::Message() << "statement " << nth << " of " << statements << " fails");
        reset();
        {
            const ScopedStatementFault fault({nth, pattern, db});
            run();
            EXPECT_TRUE(fault.fired());
        }
        check(nth);
        if (::testing::Test::HasFatalFailure())
            break;
    }
    return statements;
}

} // namespace sw::test
