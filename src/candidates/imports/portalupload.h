// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/db/bulkinsert.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace sw {

class Database;

// One candidate as the portal's `dcstud` holds it.
struct PortalRow
{
    QString regno, name, college, degree, caste, convoCode, certNo, className, courseYear, examText, totalMax,
        totalSecured, deleted = QStringLiteral("F");
};

// The directory import's upload of candidates to the portal's `dcstud`: each row is
// written once, keyed by register number and convocation (with degree and college, so
// two degrees of one student stay two rows, as the portal update finds them): a new
// key is inserted, a known one updated when its values differ. Values are bound, so a
// "|" or a backslash in a name reaches the portal as it is. Rows go in blocks: one
// look-up and one multi-row insert for many rows.
class PortalUpload
{
public:
    struct Counts
    {
        int inserted = 0;
        int updated = 0;   // rows whose values changed
        int unchanged = 0; // rows the portal already had as they are
        int refused = 0;
    };
    // A row the portal cannot take: the row's tag, the field and why.
    using Refusal = std::function<void(int tag, const QString &field, const QString &reason)>;

    PortalUpload(Database &portal, Refusal refusal);

    // Queues a row; a value wider than its portal column is refused at once.
    void add(const PortalRow &row, int tag);
    // Writes what is queued.
    void flush();
    const Counts &counts() const { return m_counts; }

    static constexpr int kBlockRows = 500;

private:
    QVariantList values(const PortalRow &row) const;

    Database &m_portal;
    Refusal m_refusal;
    BulkInsert m_insert;
    std::vector<std::pair<PortalRow, int>> m_queue;
    Counts m_counts;
};

} // namespace sw
