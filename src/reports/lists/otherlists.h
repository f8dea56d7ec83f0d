// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/lists/certprintedlist.h"
#include "reports/output/reportwriter.h"

namespace sw {

class Prompter;
class Session;

// Degree and college ranges of the activated and downloaded lists; blank first
// fields mean the whole range.
struct RangeSelection
{
    QString fromDegree;
    QString toDegree;
    QString fromCollege;
    QString toCollege;
    void normaliseRanges();
};

// The smaller text reports: cancelled certificates by date, activated candidates
// with the photograph check, candidates who paid online, and the codes of candidate
// records that have no master row.
class OtherListReports
{
public:
    OtherListReports(Session &session, Prompter &prompter, PageHeaderSource header);

    // Datewise Certificates Cancelled List.
    bool cancelledList(const PrintedListSelection &selection, const QString &reportFile);

    struct ActivatedOptions
    {
        bool pendingPhotosOnly = false; // "&Pending Photos Only"
        bool activeOnly = false;        // "&Active Only"
    };
    // Marks which candidates of the convocation have a photograph file (ISEXIST 1 or
    // 0), then lists them. Returns false when there was nothing to list.
    bool activatedList(const RangeSelection &selection, ActivatedOptions options, const QString &reportFile);
    // The photograph check alone; returns the number of candidates looked at.
    int checkPhotographs(const RangeSelection &selection, bool activeOnly);

    // Candidates of every convocation whose fee was paid online.
    bool onlineList(const RangeSelection &selection, bool notActiveOnly, const QString &reportFile);

    // The convocation's candidates without an ABC ID, whose degrees the depositories
    // cannot file under the student's academic account.
    bool abcMissingList(const RangeSelection &selection, bool activeOnly, const QString &reportFile);

    // Degree, college and class codes used by candidates but missing from their masters.
    void mismatchList(const QString &reportFile);

private:
    QString rangeQuery(const RangeSelection &s, bool activeOnly, bool pendingPhotosOnly) const;
    void noRows();

    Session &m_session;
    Prompter &m_prompter;
    PageHeaderSource m_header;
};

} // namespace sw
