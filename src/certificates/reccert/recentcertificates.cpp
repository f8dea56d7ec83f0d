// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/reccert/recentcertificates.h"

#include "shell/core/stoperror.h"
#include "shell/db/database.h"

using namespace Qt::StringLiterals;

namespace sw {

RecentCertificates::RecentCertificates(Database &db)
    : m_db(db)
{
}

std::vector<RecentCertificates::Row> RecentCertificates::load() const
{
    Rows rows = m_db.query(u"select reccert.fregno, convo.fname, reccert.fcertno from reccert, convo "
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
    WriteScope scope(m_db);
    Statement clear = m_db.prepare(u"update convo set fcertno = null, fdate = null where fregno = ? and fcertno = ?"_s);
    Statement forget = m_db.prepare(u"delete from reccert where fregno = ? and fcertno = ?"_s);
    int cleared = 0;
    for (const Row &row : rows) {
        if (!row.takeBack)
            continue;
        cleared += clear.exec({row.regno, row.certNo});
        forget.exec({row.regno, row.certNo});
    }
    scope.commit();
    return cleared;
}

} // namespace sw
