// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/entry/candidatesearch.h"
#include "shell/core/dates.h"
#include "shell/core/legacytext.h"

#include "shell/core/kannadatext.h"
#include "shell/db/database.h"
#include "shell/session.h"

#include <QStringList>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace sw {

bool SearchCriteria::isEmpty() const
{
    return name.trimmed().isEmpty() && certno.trimmed().isEmpty() && appno.trimmed().isEmpty()
           && regno.trimmed().isEmpty();
}

CandidateSearch::CandidateSearch(const Session &session)
    : m_session(session)
{
}

namespace {

// The escape character of the patterns with a "%" or "_" typed in them. Only such patterns
// carry an ESCAPE clause: without one, SQLite and MariaDB search a prefix by its index.
constexpr char16_t kLikeEscape = u'!';

} // namespace

bool CandidateSearch::needsEscape(const QString &typed)
{
    return typed.contains(u'%') || typed.contains(u'_') || typed.contains(kLikeEscape);
}

QString CandidateSearch::pattern(const QString &typed, SearchMatch match)
{
    QString text = legacytext::storedText(typed);
    if (needsEscape(text)) {
        QString escaped;
        for (const QChar ch : text) {
            if (ch == u'%' || ch == u'_' || ch == kLikeEscape)
                escaped += QChar(kLikeEscape);
            escaped += ch;
        }
        text = escaped;
    }
    switch (match) {
    case SearchMatch::BeginsWith: return text + u'%';
    case SearchMatch::Contains: return u'%' + text + u'%';
    case SearchMatch::EndsWith: return u'%' + text;
    }
    return text;
}

BoundSql CandidateSearch::statement(const SearchCriteria &c) const
{
    QStringList conditions;
    QVariantList params;
    const std::pair<const QString *, QString> boxes[] = {
        {&c.name, u"convo.fname like ?"_s},
        {&c.certno, u"convo.fcertno like ?"_s},
        {&c.appno, u"convofee.fappno like ?"_s},
        {&c.regno, u"convo.fregno like ?"_s},
    };
    for (const auto &[value, condition] : boxes) {
        if (value->trimmed().isEmpty())
            continue;
        // A name typed in Unicode Kannada is looked for in the Kannada names, as the codes it is stored as.
        if (value == &c.name && kannada::hasUnicodeKannada(*value)) {
            const QString typed = kannada::fromUnicode(value->trimmed()).text;
            const QString like = needsEscape(typed) ? u" like ? escape '!'"_s : u" like ?"_s;
            conditions << u"(convo.fnamekan%1 or convo.fsirnamekan%1 or convo.ffatnamekan%1 or convo.fmotnamekan%1)"_s
                              .arg(like);
            const QString codes = pattern(typed, c.match);
            params << codes << codes << codes << codes;
            continue;
        }
        conditions << (needsEscape(*value) ? condition + u" escape '!'"_s : condition);
        params << pattern(*value, c.match);
    }
    conditions << u"convo.fconvocode = ?"_s;
    params << m_session.convoCode;
    return {
        u"select convo.fregno, convo.fname, convo.fcertno, convo.fdate, convo.factive, convofee.fappno, "
        "convofee.fmobile, convofee.femail, convo.fnamekan, convo.fsirnamekan, convo.ffatnamekan, convo.fmotnamekan "
        "from convo left outer join convofee on convo.fregno = convofee.fregno "
        "where "_s
            + conditions.join(u" and "_s),
        params};
}

std::vector<SearchHit> CandidateSearch::find(const SearchCriteria &c) const
{
    std::vector<SearchHit> hits;
    if (c.isEmpty())
        return hits;
    const BoundSql bound = statement(c);
    Rows rows = m_session.db().query(bound.sql, bound.params);
    // The database compares the codes without regard to case, but in the legacy codes
    // upper and lower case are different letters: a Kannada match is checked here exactly.
    const bool kannadaName = kannada::hasUnicodeKannada(c.name);
    const QString codes = kannadaName ? kannada::fromUnicode(c.name.trimmed()).text : QString();
    while (rows.next()) {
        if (kannadaName) {
            bool exact = false;
            for (int column = 8; column < 12 && !exact; ++column) {
                const QString stored = rows.text(column);
                exact = c.match == SearchMatch::BeginsWith ? stored.startsWith(codes)
                        : c.match == SearchMatch::EndsWith ? stored.endsWith(codes)
                                                           : stored.contains(codes);
            }
            if (!exact)
                continue;
        }
        SearchHit hit;
        hit.regno = rows.text(0);
        hit.name = rows.text(1);
        hit.certno = rows.text(2);
        hit.printedDate = formatDmy(rows.date(u"fdate"_s));
        hit.active = rows.text(4) == u"T"_s;
        hit.appno = rows.text(5);
        hit.mobile = rows.text(6);
        hit.email = rows.text(7);
        hits.push_back(std::move(hit));
    }
    // Name order is made here rather than by the statement: an ORDER BY on the name
    // tempts the planner into walking the convocation's name index even when the
    // register number's index would find the few rows at once. Names compare without
    // regard to case, as the database's collation does.
    std::stable_sort(hits.begin(), hits.end(), [](const SearchHit &a, const SearchHit &b) {
        if (const int byName = a.name.compare(b.name, Qt::CaseInsensitive); byName != 0)
            return byName < 0;
        return a.regno.compare(b.regno, Qt::CaseInsensitive) < 0;
    });
    return hits;
}

} // namespace sw
