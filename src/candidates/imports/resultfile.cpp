// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/imports/resultfile.h"

#include "candidates/imports/importerror.h"
#include "candidates/imports/rowbatch.h"

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

ResultRows::ResultRows(DbfTable &table, const QStringList &orderBy)
    : m_table(table)
{
    for (const QString &name : orderBy)
        m_keyFields.push_back(require(name));

    // One pass counts the live records and sees whether they are already in order.
    std::vector<std::pair<QByteArray, int>> keys;
    QByteArray previous;
    bool ordered = true;
    for (int r = 0; r < table.recordCount(); ++r) {
        if (!readRecord(r) || table.isDeleted())
            continue;
        QByteArray k = key();
        if (ordered && m_count > 0 && k < previous) {
            ordered = false;
            // Collect the keys seen so far, then go on collecting.
            keys.reserve(size_t(table.recordCount()));
            for (int s = 0; s < r; ++s) {
                if (readRecord(s) && !table.isDeleted())
                    keys.emplace_back(key(), s);
            }
            readRecord(r);
        }
        if (!ordered)
            keys.emplace_back(k, r);
        previous = std::move(k);
        ++m_count;
    }
    if (!ordered) {
        std::stable_sort(keys.begin(), keys.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
        m_order.reserve(keys.size());
        for (const auto &k : keys)
            m_order.push_back(k.second);
    }
}

int ResultRows::require(const QString &name) const
{
    const int index = m_table.fieldIndex(name);
    if (index < 0)
        throw MissingField{fileName(), name.toUpper()};
    return index;
}

QString ResultRows::fileName() const
{
    return m_table.displayName();
}

bool ResultRows::readRecord(int record)
{
    m_record = record;
    if (!m_table.read(record))
        throw importStop(QString::fromLatin1(kBadFileNumber), u"The record cannot be read."_s,
                         {fileName(), record + 1, {}});
    return true;
}

QByteArray ResultRows::key() const
{
    // The fields' bytes, trimmed and upper-cased, each closed by a byte below any
    // printable one, so "AB"+"C" sorts apart from "A"+"BC".
    QByteArray k;
    for (const int f : m_keyFields)
        k += m_table.raw(f).trimmed().toUpper() + '\x01';
    return k;
}

bool ResultRows::next()
{
    if (m_position >= m_count)
        return false;
    if (!m_order.empty()) {
        readRecord(m_order[size_t(m_position)]);
    } else {
        do {
            readRecord(++m_scan);
        } while (m_table.isDeleted());
    }
    ++m_position;
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
{
}

ResultCandidate CandidateColumns::read(const ResultRows &rows) const
{
    ResultCandidate c;
    c.regno = rows.text(regno);
    c.name = graveApostrophes(rows.text(name));
    c.degree = rows.text(degree);
    c.subdegree = rows.text(subdegree);
    c.college = rows.text(college);
    c.classCode = rows.text(classDesc);
    c.examDate = rows.text(examDate);
    c.year = rows.text(year);
    c.examType = rows.text(examType);
    c.sex = rows.text(sex);
    c.caste = rows.text(caste);
    c.applyDegreeRule();
    return c;
}

} // namespace sw
