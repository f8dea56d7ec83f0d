// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/db/sqldialect.h"

#include <QString>

#include <vector>

namespace sw {

class Session;

// How a typed part matches: the three entries of the search screen's mode list.
enum class SearchMatch { BeginsWith, Contains, EndsWith };

// What the four boxes of the search screen hold; empty boxes take no part.
struct SearchCriteria
{
    QString name;
    QString certno;
    QString appno;
    QString regno;
    SearchMatch match = SearchMatch::BeginsWith;

    bool isEmpty() const;
};

// One line of the result grid.
struct SearchHit
{
    QString regno;
    QString name;
    QString certno;
    QString printedDate; // convo.fdate as dd/mm/yyyy
    QString appno;
    QString mobile;
    QString email;
    bool active = false;
};

// Candidate search within the session's convocation, with the contact data of their
// online applications (a candidate with several applications is listed once for each).
// Only reads. Register-number and "Begins with" searches are index range scans.
class CandidateSearch
{
public:
    explicit CandidateSearch(const Session &session);

    // The hits in name order (then register number); none when every box is empty.
    std::vector<SearchHit> find(const SearchCriteria &criteria) const;

    // The statement `find` runs, with its values (for the query plan); it leaves the
    // order to `find`.
    BoundSql statement(const SearchCriteria &criteria) const;

    // The LIKE pattern of a typed part: an apostrophe becomes a grave accent, as typing does.
    // "%" and "_" typed are those characters, not wildcards: they are escaped with "!"
    // (kLikeEscape) for a condition that declares it (needsEscape).
    static QString pattern(const QString &typed, SearchMatch match);
    static bool needsEscape(const QString &typed);

private:
    const Session &m_session;
};

} // namespace sw
