// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/db/bulkinsert.h"
#include "shell/db/database.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace sw {

// One candidate of a result file, its values trimmed, its codes upper case and the
// degree rule applied.
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
    QString abcId;                    // the student's academic account ID, when the file has the field
    bool degreeFromSubdegree = false; // the degree rule exchanged the two

    // A sub-degree that is given and differs from the degree takes its place; the
    // file's degree then becomes the sub-degree.
    void applyDegreeRule();
    // Register number, degree and college, upper case: how two rows are told apart.
    QString key() const;
};

// A candidate as stored, found by an import's look-up.
struct StoredCandidate
{
    QString regno;
    QString degree;
    QString college;
    QString convoCode;
    QString certNo;
    QString name;
    QString classCode;
    QString examDate;
    QString year;
    QString examType;
    QString sex;
    QString caste;
    QString special;
    QString fatherName;
    QString motherName;
    QString abcId;

    bool printed() const { return !certNo.trimmed().isEmpty(); }
    QString key() const;
};

// The statements the result-file imports write `convo` with. Look-ups and writes go
// in blocks: one look-up for many register numbers, inserts in multi-row statements,
// refreshes through a temporary table joined in one statement where the server has
// one (MariaDB), else row by row with one prepared statement. A printed candidate
// (one with a certificate number) is never changed: every refresh requires the
// number to be empty. Values must have passed the import's checks.
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
        // The file has the students' ABC IDs: they are stored, an empty one keeping the ID held.
        bool withAbcId = false;
    };

    CandidateWriter(Database &db, const QString &convoCode, const QString &userName, const Options &options);
    ~CandidateWriter();
    CandidateWriter(const CandidateWriter &) = delete;
    CandidateWriter &operator=(const CandidateWriter &) = delete;

    // Every stored candidate with one of `regnos` (in the current convocation, or in any).
    std::vector<StoredCandidate> findAll(const QStringList &regnos);

    // Whether a refresh would change the stored row at all.
    bool refreshChanges(const ResultCandidate &c, const StoredCandidate &stored) const;

    // Queues the insert of a new candidate, inactive and not typed in; `tag` names it
    // should the database refuse it.
    void queueInsert(const ResultCandidate &c, int tag);
    // Queues the refresh of `stored` with the file's values; it moves to the current convocation.
    void queueRefresh(const ResultCandidate &c, const StoredCandidate &stored, int tag);

    struct Written
    {
        int inserted = 0;
        int refreshed = 0;
        int frozenMeanwhile = 0; // refreshes another workstation's printing overtook
        std::vector<BulkInsert::Refused> refused;
    };
    // Writes what is queued.
    Written flush();

private:
    QVariantList insertValues(const ResultCandidate &c) const;
    QVariantList refreshValues(const ResultCandidate &c, const StoredCandidate &stored) const;
    int refreshRowByRow(std::vector<BulkInsert::Refused> &refused);
    int refreshJoined();

    Database &m_db;
    QString m_convoCode;
    QString m_userName;
    Options m_options;
    BulkInsert m_insert;
    std::optional<QString> m_joinedUpdate;   // the joined refresh, when the server has one
    std::optional<BulkInsert> m_refreshRows; // into the temporary table
    std::optional<Statement> m_refreshOne;
    bool m_temporaryTable = false;
    std::vector<std::pair<QVariantList, int>> m_insertQueue;
    std::vector<std::pair<QVariantList, int>> m_refreshes;
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
