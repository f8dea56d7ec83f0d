// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/db/database.h"

#include <QString>

#include <optional>
#include <vector>

namespace sw {

// One candidate of a result file, its values trimmed and the degree rule applied.
struct ResultCandidate
{
    QString regno;
    QString name; // apostrophes already grave accents
    QString degree;
    QString subdegree;
    QString college;
    QString classCode;
    QString examDate;
    QString year;
    QString examType;
    QString sex;
    QString caste;
    QString fatherName; // written only by the institutions whose files carry them
    QString motherName;

    // A sub-degree that is given and differs from the degree takes its place; the
    // file's degree then becomes the sub-degree.
    void applyDegreeRule();
};

// A candidate found by register number, degree and college.
struct FoundCandidate
{
    QString convoCode;
    QString certNo;
};

// The statements the result-file imports write `convo` with, prepared once and
// reused for every row. A printed candidate (one with a certificate number) is never
// changed: the refresh matches only rows without one.
class CandidateWriter
{
public:
    struct Options
    {
        // The file screen looks in the current convocation only; the directory run in all.
        bool anyConvocation = false;
        // Institution 008 also stores its code as the university.
        QString univCode;
        // Institution 027 also stores the parents' names.
        bool withParents = false;
    };

    CandidateWriter(Database &db, const QString &convoCode, const QString &userName, const Options &options);

    std::optional<FoundCandidate> find(const ResultCandidate &c);
    // Inserts the candidate, inactive and not typed in.
    void insert(const ResultCandidate &c);
    // The same insert, gathered with others into one multi-row statement (one round
    // trip to a server for many rows); `record` names the row should it fail. The
    // queue goes out when full and at flush().
    void queueInsert(const ResultCandidate &c, int record);
    // Writes the queued rows. When the multi-row statement fails (and so wrote
    // nothing), the rows are inserted one by one: those before the failing one stay,
    // and QueuedInsertFailed names it.
    void flush();
    static constexpr int kRowsPerStatement = 50;
    // Refreshes the examination values and moves the candidate to the current
    // convocation; returns the rows changed (0 when it is printed).
    int refresh(const ResultCandidate &c);

private:
    QVariantList insertValues(const ResultCandidate &c) const;

    Database &m_db;
    QString m_convoCode;
    QString m_userName;
    Options m_options;
    Statement m_find;
    Statement m_insert;
    Statement m_refresh;
    std::optional<Statement> m_insertMany; // prepared on first use
    QVariantList m_queued;
    std::vector<int> m_queuedRecords;
};

// A queued insert failed: the record it came from, and why.
struct QueuedInsertFailed
{
    int record;
    DbError error;
};

// The rows of the degree and college masters an import adds when missing.
class MasterWriter
{
public:
    enum class Master { Degree, College };
    MasterWriter(Database &db, Master master, bool withTown);
    // Adds the row unless its code is there; true when it was added.
    bool addIfMissing(const QString &code, const QString &description, const QString &town = {});

private:
    bool m_withTown;
    Statement m_find;
    Statement m_insert;
};

} // namespace sw
