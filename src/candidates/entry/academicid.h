// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/db/database.h"

#include <QHash>
#include <QString>

#include <optional>

namespace sw {

// The student's academic account ID (APAAR / ABC ID): twelve digits, given once to a
// student for life. Two candidates may share one only when they are the same student
// taking another degree; everywhere else it names one student.
class AcademicId
{
public:
    static constexpr int kLength = 12;
    // What the field is called in every message.
    static QString caption() { return QStringLiteral("ABC ID"); }

    // Whether a file's column of this name holds the IDs: "ABC_ACCOUNT_ID", "ABC ID",
    // "APAAR_ID", "FABCID" and the like, in any letter case.
    static bool isColumnName(const QString &name);

    // Why `id` is not an ID ("ABC ID: must be 12 digits"); empty for an ID or an empty value.
    static QString formatProblem(const QString &id);

    // A candidate an ID is to be given to, or one holding it.
    struct Candidate
    {
        QString regno;
        QString name;
        QString dob;
        QString degree;
        QString convoCode;

        // The same student: the same name and date of birth (both given), another degree.
        bool sameStudentAs(const Candidate &other) const;
        // Rows of one student by the university's own number: the same register number
        // (the candidate's own row, or the same student under another degree or convocation).
        bool sameRegisterNumber(const Candidate &other) const;
        QString described() const;
    };

    explicit AcademicId(const Database &db);

    // Why `candidate` cannot hold `id`: the other candidate that holds it, named. Empty when
    // the ID is free, or held only by this candidate or the same student under another
    // degree. Holders remembered in this run (rows of one file not yet written) count too.
    QString holderProblem(const QString &id, const Candidate &candidate);
    // Notes that `candidate` now holds `id` (a row of an import about to be written).
    void remember(const QString &id, const Candidate &candidate);

private:
    Statement m_holders;
    QMultiHash<QString, Candidate> m_remembered;
};

} // namespace sw
