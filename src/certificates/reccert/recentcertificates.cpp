// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/reccert/recentcertificates.h"

#include "certificates/printing/stationeryledger.h"
#include "shell/core/stoperror.h"
#include "shell/db/database.h"
#include "shell/db/presence.h"
#include "shell/session.h"

#include <QSysInfo>

using namespace Qt::StringLiterals;

namespace sw {

RecentCertificates::RecentCertificates(Session &session)
    : m_session(session)
{
}

BoundSql RecentCertificates::browseStatement()
{
    return {u"select reccert.*, convo.fname from reccert, convo where convo.fregno = reccert.fregno "
            "order by reccert.fcertno"_s,
            {}};
}

std::vector<RecentCertificates::Row> RecentCertificates::load() const
{
    Rows rows = m_session.db().query(u"select reccert.fregno, convo.fname, reccert.fcertno from reccert, convo "
                                     "where convo.fregno = reccert.fregno order by reccert.fcertno"_s);
    std::vector<Row> out;
    while (rows.next())
        out.push_back({rows.text(0).trimmed(), rows.text(1).trimmed(), rows.text(2).trimmed(), false});
    return out;
}

int RecentCertificates::save(const std::vector<Row> &rows)
{
    if (rows.empty())
        throw StopError(u"No student Details found"_s, PromptIcon::Information);
    WriteScope scope(m_session.db());
    StationeryLedger ledger(m_session.db(), m_session.convoCode, m_session.userName, Presence::workstation());
    int cleared = 0;
    for (const Row &row : rows) {
        if (row.takeBack && ledger.takeBack(row.certNo, row.regno))
            ++cleared;
    }
    scope.commit();
    return cleared;
}

} // namespace sw
