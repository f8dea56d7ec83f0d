// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/db/sqldialect.h"

#include <QString>
#include <vector>

namespace sw {

class Session;

// The certificates of the last run of the designed layout (institution 001), kept
// in reccert, and taking any of them back at once (a batch that jammed in the
// printer). Taking back clears the candidate's number and issue date, but only
// while the candidate still holds that number, and leaves no cancellation row:
// the next printing run selects the candidate again. The stationery ledger
// registers the number as void: the sheet it was printed on is used up.
class RecentCertificates
{
public:
    struct Row
    {
        QString regno;
        QString name;
        QString certNo;
        bool takeBack = false;
    };

    explicit RecentCertificates(Session &session);

    // In certificate-number order.
    std::vector<Row> load() const;
    // The rows the screen browses, with the candidates' names, in certificate-number order.
    static BoundSql browseStatement();
    // Takes back the marked rows in one transaction; returns how many candidates lost their number.
    int save(const std::vector<Row> &rows);

private:
    Session &m_session;
};

} // namespace sw
