// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/db/rowbatch.h"

namespace sw {

RowBatch::RowBatch(Database &db, int rowsPerCommit)
    : m_db(db)
    , m_rowsPerCommit(rowsPerCommit)
{
    m_scope.emplace(m_db);
}

RowBatch::~RowBatch()
{
    if (!m_scope)
        return;
    try {
        m_scope->commit();
    } catch (...) {
        // The connection itself failed; the run's own error already says so.
    }
}

void RowBatch::rowsDone(int rows)
{
    m_pending += rows;
    if (m_pending >= m_rowsPerCommit)
        commitNow();
}

void RowBatch::commitNow()
{
    m_scope->commit();
    m_scope.reset();
    m_pending = 0;
    m_scope.emplace(m_db);
}

} // namespace sw
