// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/entry/academicid.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace sw {

QString AcademicId::formatProblem(const QString &id)
{
    static const QRegularExpression digits(u"^[0-9]{%1}$"_s.arg(kLength));
    const QString value = id.trimmed();
    if (value.isEmpty() || digits.match(value).hasMatch())
        return {};
    return u"%1: must be %2 digits"_s.arg(caption()).arg(kLength);
}

bool AcademicId::isColumnName(const QString &name)
{
    static const QRegularExpression notLetters(u"[^A-Z0-9]"_s);
    const QString bare = name.toUpper().remove(notLetters);
    static const QStringList names = {u"ABCID"_s, u"ABCACCOUNTID"_s, u"APAARID"_s,
                                      u"APAAR"_s, u"FABCID"_s,       u"APAARABCID"_s};
    return names.contains(bare);
}

bool AcademicId::Candidate::sameStudentAs(const Candidate &other) const
{
    const auto sameText = [](const QString &a, const QString &b) {
        return !a.simplified().isEmpty() && a.simplified().compare(b.simplified(), Qt::CaseInsensitive) == 0;
    };
    return sameText(name, other.name) && sameText(dob, other.dob)
           && degree.trimmed().compare(other.degree.trimmed(), Qt::CaseInsensitive) != 0;
}

bool AcademicId::Candidate::sameRegisterNumber(const Candidate &other) const
{
    return regno.trimmed().compare(other.regno.trimmed(), Qt::CaseInsensitive) == 0;
}

QString AcademicId::Candidate::described() const
{
    return u"%1 %2 (degree %3, convocation %4)"_s.arg(regno.trimmed(), name.simplified(), degree.trimmed(),
                                                      convoCode.trimmed());
}

AcademicId::AcademicId(const Database &db)
    : m_holders(db.prepare(u"select fregno, fname, fdob, fdegree, fconvocode from convo where fabcid = ?"_s))
{
}

QString AcademicId::holderProblem(const QString &id, const Candidate &candidate)
{
    const QString value = id.trimmed();
    if (value.isEmpty())
        return {};
    std::vector<Candidate> holders;
    Rows rows = m_holders.run({value});
    while (rows.next())
        holders.push_back({rows.text(0), rows.text(1), rows.text(2), rows.text(3), rows.text(4)});
    m_holders.finish();
    for (auto it = m_remembered.constFind(value); it != m_remembered.cend() && it.key() == value; ++it)
        holders.push_back(*it);
    for (const Candidate &holder : holders) {
        if (holder.sameRegisterNumber(candidate) || holder.sameStudentAs(candidate))
            continue;
        return u"%1: %2 is already held by %3, who is not the same student (name and date of birth differ, "
               "or the degree is the same)"_s.arg(caption(), value, holder.described());
    }
    return {};
}

void AcademicId::remember(const QString &id, const Candidate &candidate)
{
    if (!id.trimmed().isEmpty())
        m_remembered.insert(id.trimmed(), candidate);
}

} // namespace sw
