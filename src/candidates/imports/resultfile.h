// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "candidates/imports/candidatewriter.h"
#include "candidates/imports/dbftable.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace sw {

class ImportTally;

// What a result file holds, decided by its name.
enum class ResultKind { None, Candidates, Degrees, Colleges };

// The file screen's rule: the file name (after the last '\' or '/') holds "STU"
// anywhere, else "DEG", else "COL", compared in upper case.
ResultKind kindFromFileName(const QString &path);
// The directory run's rule: the three characters before a four-character extension
// ("...STU.cnv") are "STU", "DEG" or "COL".
ResultKind kindFromNameEnding(const QString &path);

// A field the import reads is not in the file.
struct MissingField
{
    QString file;
    QString field;
};

// Every record of a result file in the file's order, deleted ones included (the import
// counts and names them). Records are streamed: memory stays the same whatever the
// file's size.
class ResultRows
{
public:
    explicit ResultRows(DbfTable &table);

    // The index of a field the caller reads; throws MissingField when absent and
    // ImportFailure when it is a memo field, whose text the file does not hold.
    int require(const QString &name) const;
    // -1 when absent (a memo field is refused as by require()).
    int optional(const QString &name) const;

    // Records in the file, deleted ones included.
    int count() const { return m_count; }
    // Moves to the next record; false after the last. Throws StopError on an unreadable record.
    bool next();
    bool isDeleted() const { return m_table.isDeleted(); }
    // A record that does not begin with a deletion flag: the file is damaged there.
    bool isDamaged() const { return !m_table.hasDeletionFlag(); }
    // Counts the current record in `tally` when no import takes it: a damaged record
    // rejected, a deleted one skipped. True for such a record.
    bool tallyIfUnusable(ImportTally &tally) const;
    // The record's number in the file, from 1.
    int recordNumber() const { return m_record + 1; }
    QString text(int field) const { return m_table.text(field); }
    // Every field of the record as text, in the file's order, and the fields' names.
    QStringList texts() const;
    // The same of another record, read again; the current record must not be read after it.
    QStringList textsOf(int recordNumber);
    QStringList fieldNames() const;
    QString fileName() const;

private:
    DbfTable &m_table;
    int m_count = 0;
    int m_record = -1;
};

// The candidate fields of a result file, looked up once. Reading a row trims every
// value, upper-cases the codes (register number, degree, sub-degree, college, class),
// turns the name's apostrophes into grave accents and applies the degree rule.
struct CandidateColumns
{
    explicit CandidateColumns(const ResultRows &rows);
    ResultCandidate read(const ResultRows &rows) const;

    int regno, name, degree, subdegree, college, classDesc, examDate, year, examType, sex, caste;
    int abcId; // the students' ABC IDs (FABCID), -1 in a file without them
};

} // namespace sw
