// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "candidates/imports/candidatewriter.h"

#include <QSet>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace sw {

class ImportTally;
class RowBatch;

// What became of one candidate row of a file.
enum class CandidateFate {
    Inserted,  // a new candidate
    Refreshed, // the stored candidate took the file's values (or already had them)
    Frozen,    // printed: left as it is
    Skipped,   // passed over (a question answered No)
    Rejected,  // the database refused it
    Uploaded,  // online only: nothing local was written
};

// The candidate rows of one result file, checked rows in, written in blocks: one
// look-up for a block's register numbers, then its inserts and refreshes together.
// A register number, degree and college that comes again within a block closes the
// block first, so the later row refreshes the one the earlier inserted, as row by row.
// A block's writes are one unit, committed at its end: a statement that fails leaves every
// row before the block written and none of the block's, so the import can say where it
// stopped (firstUnwritten). Each row's outcome goes into the tally; the refresh finds the
// candidate of the current convocation, and (directory run) one stored only under another convocation
// is moved here when the question says so.
class CandidateImporter
{
public:
    struct Options
    {
        CandidateWriter::Options writer;
        bool writeLocally = true; // false: online only, nothing local is written
        // Directory run: a candidate found only under another convocation. true moves
        // it to the current one; false skips the row. Unset: never asked.
        std::function<bool(const ResultCandidate &, const StoredCandidate &)> moveFromOtherConvocation;
        // Each row once its outcome is known, with the stored row it met (none for a new
        // one) and the extra values add() was given with it.
        std::function<void(const ResultCandidate &, const StoredCandidate *, CandidateFate, int record,
                           const QStringList &extra)>
            done;
        // The record's fields as the file has them, for the reject file (read again only
        // for the rare row that is refused or skipped).
        std::function<QStringList(int record)> fieldsOf;
    };

    CandidateImporter(Database &db, const QString &convoCode, const QString &userName, ImportTally &tally,
                      RowBatch &batch, Options options);

    void add(const ResultCandidate &c, int record, const QStringList &extra = {});
    // Writes what is left.
    void finish();
    // After a statement failed while the row of record `current` was read or written: the
    // first record whose row is not written (the first of the block that failed or waited).
    int firstUnwritten(int current) const { return m_block.empty() ? current : m_block.front().record; }

    static constexpr int kBlockRows = 2000;

private:
    struct Pending
    {
        ResultCandidate candidate;
        int record = 0;
        QStringList extra;
        CandidateFate fate = CandidateFate::Inserted;
        std::optional<StoredCandidate> stored;
    };

    void writeBlock();
    std::optional<StoredCandidate> target(const std::vector<const StoredCandidate *> &found) const;
    void decide(Pending &p, const std::vector<const StoredCandidate *> &found);
    void conclude(Pending &p);
    QStringList fieldsOf(int record) const;

    Database &m_db;
    QString m_convoCode;
    ImportTally &m_tally;
    RowBatch &m_batch;
    Options m_options;
    CandidateWriter m_writer;
    std::vector<Pending> m_block;
    QSet<QString> m_blockKeys;
};

} // namespace sw
