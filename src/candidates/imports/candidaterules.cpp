// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/imports/candidaterules.h"

#include "candidates/entry/academicid.h"
#include "shell/core/importtally.h"
#include "shell/db/database.h"
#include "shell/db/schema.h"

using namespace Qt::StringLiterals;

namespace sw {

namespace {

QSet<QString> codesOf(const Database &db, const QString &table, const QString &column)
{
    QSet<QString> out;
    Rows rows = db.query(u"select "_s + column + u" from "_s + db.table(table));
    while (rows.next())
        out.insert(rows.text(0).trimmed().toUpper());
    return out;
}

} // namespace

MasterCodes::MasterCodes(const Database &db)
    : m_degrees(codesOf(db, u"DEGREE"_s, u"fdegree"_s))
    , m_colleges(codesOf(db, u"COLLEGE"_s, u"fcollcode"_s))
    , m_classes(codesOf(db, u"CLASS"_s, u"fclasscode"_s))
    , m_universities(codesOf(db, u"MASUNIV"_s, u"funivcode"_s))
{
}

QString shownValue(const QString &value)
{
    constexpr int kShown = 60;
    return value.size() <= kShown ? value : value.left(kShown) + u"..."_s;
}

std::optional<RowProblem> checkCandidate(const ResultCandidate &c, const CandidateFieldNames &names,
                                         const MasterCodes &masters)
{
    // The file's own field for the degree and sub-degree, whichever the degree rule put where.
    const QString degreeField = c.degreeFromSubdegree ? names.subdegree : names.degree;
    const QString subdegreeField = c.degreeFromSubdegree ? names.degree : names.subdegree;
    const struct
    {
        const QString &field;
        const QString &value;
        const char16_t *column;
    } texts[] = {
        {names.regno, c.regno, u"FREGNO"},          {names.name, c.name, u"FNAME"},
        {degreeField, c.degree, u"FDEGREE"},        {subdegreeField, c.subdegree, u"FSUBDEGREE"},
        {names.college, c.college, u"FCOLLCODE"},   {names.classCode, c.classCode, u"FCLASSCODE"},
        {names.examDate, c.examDate, u"FEXAMDATE"}, {names.year, c.year, u"FYEAR"},
        {names.examType, c.examType, u"FEXAMTYPE"}, {names.sex, c.sex, u"FSEX"},
        {names.caste, c.caste, u"FCASTE"},          {names.father, c.fatherName, u"FFATNAME"},
        {names.mother, c.motherName, u"FMOTNAME"},
    };
    for (const auto &t : texts) {
        if (auto why = storableTextProblem(t.value, schema::columnWidth(u"CONVO"_s, QString::fromUtf16(t.column))))
            return RowProblem{t.field, shownValue(t.value), *why};
    }
    if (c.regno.isEmpty())
        return RowProblem{names.regno, c.regno, u"the register number is empty"_s};
    if (c.regno.contains(u' '))
        return RowProblem{names.regno, c.regno, u"a register number holds no blank"_s};
    if (c.degree.isEmpty())
        return RowProblem{degreeField, c.degree, u"the degree code is empty"_s};
    if (!masters.hasDegree(c.degree))
        return RowProblem{degreeField, c.degree, u"degree "_s + c.degree + u" is not in the degree master"_s};
    if (c.college.isEmpty())
        return RowProblem{names.college, c.college, u"the college code is empty"_s};
    if (!masters.hasCollege(c.college))
        return RowProblem{names.college, c.college, u"college "_s + c.college + u" is not in the college master"_s};
    if (c.classCode.isEmpty())
        return RowProblem{names.classCode, c.classCode, u"the class code is empty"_s};
    if (const QString why = AcademicId::formatProblem(c.abcId); !why.isEmpty())
        return RowProblem{names.abcId, shownValue(c.abcId), why};
    return std::nullopt;
}

std::optional<RowProblem> checkAbcIdHolder(const ResultCandidate &c, const CandidateFieldNames &names, AcademicId &ids,
                                           const QString &convoCode)
{
    if (c.abcId.isEmpty())
        return std::nullopt;
    const AcademicId::Candidate candidate{c.regno, c.name, {}, c.degree, convoCode};
    if (const QString why = ids.holderProblem(c.abcId, candidate); !why.isEmpty())
        return RowProblem{names.abcId, c.abcId, why};
    ids.remember(c.abcId, candidate);
    return std::nullopt;
}

} // namespace sw
