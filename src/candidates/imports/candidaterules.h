// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "candidates/imports/candidatewriter.h"

#include <QSet>
#include <QString>

#include <optional>

namespace sw {

class AcademicId;
class Database;

// The codes of the masters an imported candidate refers to, read once at the start of
// a file: a look-up per row would cost a round trip each. Compared without regard to case.
class MasterCodes
{
public:
    explicit MasterCodes(const Database &db);
    bool hasDegree(const QString &code) const { return m_degrees.contains(code.trimmed().toUpper()); }
    bool hasCollege(const QString &code) const { return m_colleges.contains(code.trimmed().toUpper()); }
    bool hasClass(const QString &code) const { return m_classes.contains(code.trimmed().toUpper()); }
    bool hasUniversity(const QString &code) const { return m_universities.contains(code.trimmed().toUpper()); }
    void addClass(const QString &code) { m_classes.insert(code.trimmed().toUpper()); }

private:
    QSet<QString> m_degrees, m_colleges, m_classes, m_universities;
};

// What the input calls each value of a candidate, for the messages and the reject file.
struct CandidateFieldNames
{
    QString regno = QStringLiteral("FREGNO");
    QString name = QStringLiteral("FNAME");
    QString degree = QStringLiteral("FDEGREE");
    QString subdegree = QStringLiteral("FSUBDEGREE");
    QString college = QStringLiteral("FCOLLCODE");
    QString classCode = QStringLiteral("FCLASSDESC");
    QString examDate = QStringLiteral("FEXAMDATE");
    QString year = QStringLiteral("FYEAR");
    QString examType = QStringLiteral("FEXAMTYPE");
    QString sex = QStringLiteral("FSEX");
    QString caste = QStringLiteral("FCASTE");
    QString father = QStringLiteral("FFATNAME");
    QString mother = QStringLiteral("FMOTNAME");
    QString abcId = QStringLiteral("FABCID");
};

// A value that keeps a row from being stored: the field, its value (cut short when
// long) and why.
struct RowProblem
{
    QString field;
    QString value;
    QString reason;
};

// The checks every imported candidate passes before any statement runs, alike on
// every backend: no control characters and no value wider than its `convo` column; a
// register number, given and without blanks; a degree and a college that are in their
// masters; a class code. (A class missing from the class master is the caller's to
// report: the autonomous import adds it, the result files keep the row with a warning.)
std::optional<RowProblem> checkCandidate(const ResultCandidate &c, const CandidateFieldNames &names,
                                         const MasterCodes &masters);

// Why the row's ABC ID cannot be given to its candidate: another student holds it (see
// AcademicId), or an earlier row of the same run gave it to one. A row that may hold it
// is remembered for the rows after it.
std::optional<RowProblem> checkAbcIdHolder(const ResultCandidate &c, const CandidateFieldNames &names, AcademicId &ids,
                                           const QString &convoCode);

// A value as a message shows it: long ones cut to their beginning.
QString shownValue(const QString &value);

} // namespace sw
