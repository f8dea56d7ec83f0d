// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/db/database.h"

#include <optional>

namespace sw {

// The write scope of a long run over many rows (the imports, the Kannada name update):
// rows are committed in batches, so a large file neither holds one huge transaction
// nor pays a commit per row. Whatever happens, the rows written before a failure
// stay: the destructor commits them (a failed statement changes nothing, so what is
// committed is exactly the rows done), and the run's message then says at which
// record it stopped.
class RowBatch
{
public:
    explicit RowBatch(Database &db, int rowsPerCommit = 10000);
    ~RowBatch();
    RowBatch(const RowBatch &) = delete;
    RowBatch &operator=(const RowBatch &) = delete;

    // One more row written; commits when the batch is full.
    void rowDone() { rowsDone(1); }
    void rowsDone(int rows);
    // Commits now (before a question to the user, so no lock is held while they think).
    void commitNow();

private:
    Database &m_db;
    int m_rowsPerCommit;
    int m_pending = 0;
    std::optional<WriteScope> m_scope;
};

} // namespace sw
