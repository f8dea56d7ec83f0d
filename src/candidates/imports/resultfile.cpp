// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/imports/resultfile.h"
#include "shell/core/legacytext.h"

#include "candidates/imports/importerror.h"
#include "shell/core/importtally.h"
#include "shell/db/rowbatch.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace sw {

namespace {
QString baseNameOf(const QString &path)
{
    const qsizetype cut = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    return path.mid(cut + 1);
}
} // namespace

ResultKind kindFromFileName(const QString &path)
{
    const QString name = baseNameOf(path).toUpper();
    if (name.contains(u"STU"_s))
        return ResultKind::Candidates;
    if (name.contains(u"DEG"_s))
        return ResultKind::Degrees;
    if (name.contains(u"COL"_s))
        return ResultKind::Colleges;
    return ResultKind::None;
}

ResultKind kindFromNameEnding(const QString &path)
{
    const QString name = baseNameOf(path).toUpper();
    if (name.size() < 7)
        return ResultKind::None;
    const QString code = name.mid(name.size() - 7, 3);
    if (code == u"STU"_s)
        return ResultKind::Candidates;
    if (code == u"DEG"_s)
        return ResultKind::Degrees;
    if (code == u"COL"_s)
        return ResultKind::Colleges;
    return ResultKind::None;
}

ResultRows::ResultRows(DbfTable &table)
    : m_table(table)
    , m_count(table.recordCount())
{
}

int ResultRows::require(const QString &name) const
{
    const int index = optional(name);
    if (index < 0)
        throw MissingField{fileName(), name.toUpper()};
    return index;
}

int ResultRows::optional(const QString &name) const
{
    const int index = m_table.fieldIndex(name);
    if (index >= 0 && m_table.isMemo(index))
        throw importStop(QString::fromLatin1(kBadFileNumber),
                         u"The field is a memo field (type "_s + QChar::fromLatin1(m_table.fieldType(index))
                             + u"): its text is kept in a memo file beside the table, which the import does not read. "
                               "Save the table with the field as a character field."_s,
                         {fileName(), 0, name.toUpper()});
    return index;
}

QString ResultRows::fileName() const { return m_table.displayName(); }

bool ResultRows::tallyIfUnusable(ImportTally &tally) const
{
    if (isDamaged()) {
        tally.reject(recordNumber(), {}, {},
                     u"the record does not begin with a deletion flag: the file is damaged here"_s, texts());
        return true;
    }
    if (isDeleted()) {
        tally.skip(recordNumber(), u"deleted in the file"_s, texts());
        return true;
    }
    return false;
}

QStringList ResultRows::texts() const
{
    QStringList out;
    for (int f = 0; f < m_table.fieldCount(); ++f)
        out << m_table.text(f);
    return out;
}

QStringList ResultRows::textsOf(int recordNumber)
{
    if (!m_table.read(recordNumber - 1))
        return {};
    return texts();
}

QStringList ResultRows::fieldNames() const
{
    QStringList out;
    for (int f = 0; f < m_table.fieldCount(); ++f)
        out << m_table.fieldName(f);
    return out;
}

bool ResultRows::next()
{
    if (m_record + 1 >= m_count)
        return false;
    ++m_record;
    if (!m_table.read(m_record))
        throw importStop(QString::fromLatin1(kBadFileNumber), u"The record cannot be read."_s,
                         {fileName(), m_record + 1, {}});
    return true;
}

CandidateColumns::CandidateColumns(const ResultRows &rows)
    : regno(rows.require(u"FREGNO"_s))
    , name(rows.require(u"FNAME"_s))
    , degree(rows.require(u"FDEGREE"_s))
    , subdegree(rows.require(u"FSUBDEGREE"_s))
    , college(rows.require(u"FCOLLCODE"_s))
    , classDesc(rows.require(u"FCLASSDESC"_s))
    , examDate(rows.require(u"FEXAMDATE"_s))
    , year(rows.require(u"FYEAR"_s))
    , examType(rows.require(u"FEXAMTYPE"_s))
    , sex(rows.require(u"FSEX"_s))
    , caste(rows.require(u"FCASTE"_s))
    , abcId(rows.optional(u"FABCID"_s))
{
}

ResultCandidate CandidateColumns::read(const ResultRows &rows) const
{
    ResultCandidate c;
    c.regno = rows.text(regno).toUpper();
    c.name = legacytext::graveApostrophes(rows.text(name));
    c.degree = rows.text(degree).toUpper();
    c.subdegree = rows.text(subdegree).toUpper();
    c.college = rows.text(college).toUpper();
    c.classCode = rows.text(classDesc).toUpper();
    c.examDate = rows.text(examDate);
    c.year = rows.text(year);
    c.examType = rows.text(examType);
    c.sex = rows.text(sex);
    c.caste = rows.text(caste);
    if (abcId >= 0)
        c.abcId = rows.text(abcId);
    c.applyDegreeRule();
    return c;
}

} // namespace sw
