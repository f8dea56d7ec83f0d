// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "candidates/imports/candidatewriter.h"
#include "candidates/imports/dbftable.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace sw {

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

// The live records of a result file in the order the import reads them: ordered by
// `orderBy` (compared without regard to case; equal keys keep their file order),
// deleted records left out. Result files usually come already in that order; then
// the rows are streamed and memory stays flat; otherwise an index of record numbers
// is sorted first. Throws MissingField when a required field is absent.
class ResultRows
{
public:
    ResultRows(DbfTable &table, const QStringList &orderBy);

    // The index of a field the caller reads; throws MissingField when absent.
    int require(const QString &name) const;
    // -1 when absent.
    int optional(const QString &name) const { return m_table.fieldIndex(name); }

    int count() const { return m_count; }
    // Moves to the next row; false after the last. Throws StopError on an unreadable record.
    bool next();
    // 1-based position in the import order, and the record's number in the file.
    int rowNumber() const { return m_position; }
    int recordNumber() const { return m_record + 1; }
    QString text(int field) const { return m_table.text(field); }
    QString fileName() const;

private:
    bool readRecord(int record);
    QByteArray key() const;

    DbfTable &m_table;
    std::vector<int> m_keyFields;
    std::vector<int> m_order; // empty when the file is already in order
    int m_count = 0;
    int m_position = 0;
    int m_record = -1;
    int m_scan = -1; // next physical record when streaming
};

// The candidate fields of a result file, looked up once. Reading a row trims every
// value, turns the name's apostrophes into grave accents and applies the degree rule.
struct CandidateColumns
{
    explicit CandidateColumns(const ResultRows &rows);
    ResultCandidate read(const ResultRows &rows) const;

    int regno, name, degree, subdegree, college, classDesc, examDate, year, examType, sex, caste;
};

} // namespace sw
