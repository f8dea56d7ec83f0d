// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/printing/statusregister.h"

#include "shell/core/stoperror.h"
#include "shell/db/database.h"

#include <QRandomGenerator>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

constexpr int kReasonWidth = 200;

const QString kColumns = u"fcertno, flist, findex, fregno, fdegree, frevoked, fsuspended, freason, fdate, "
                         "fholdreason, fholddate, fsupersededby"_s;

StatusRegister::Entry entryOf(const Rows &rows)
{
    StatusRegister::Entry e;
    e.certNo = rows.text(0).trimmed();
    e.list = rows.value(1).toInt();
    e.index = rows.value(2).toLongLong();
    e.regno = rows.text(3).trimmed();
    e.degree = rows.text(4).trimmed();
    e.revoked = rows.text(5).trimmed() == u"T"_s;
    e.suspended = rows.text(6).trimmed() == u"T"_s;
    e.reason = rows.text(7).trimmed();
    e.revokedOn = rows.date(8);
    e.holdReason = rows.text(9).trimmed();
    e.heldOn = rows.date(10);
    e.supersededBy = rows.text(11).trimmed();
    return e;
}

} // namespace

QString StatusRegister::Entry::revocationText() const
{
    if (!revoked)
        return {};
    if (supersededBy.isEmpty())
        return reason;
    return u"superseded by No. "_s + supersededBy + (reason.isEmpty() ? QString() : u" ("_s + reason + u')');
}

StatusRegister::StatusRegister(Database &db, QString user)
    : m_db(db)
    , m_user(std::move(user))
{
}

std::optional<StatusRegister::Entry> StatusRegister::find(const QString &certNo) const
{
    Rows rows = m_db.query(u"select "_s + kColumns + u" from certstatus where fcertno = ?"_s, {certNo.trimmed()});
    if (!rows.next())
        return std::nullopt;
    return entryOf(rows);
}

int StatusRegister::openList()
{
    if (m_open && m_open->entries < kListSize / 2)
        return m_open->list;
    // The first list less than half full: a random place there is free at the first or second try.
    Rows rows = m_db.query(u"select flist, count(*) from certstatus group by flist order by flist"_s);
    OpenList open{1, 0};
    while (rows.next()) {
        if (rows.value(0).toInt() != open.list)
            break;
        if (const long long entries = rows.value(1).toLongLong(); entries < kListSize / 2) {
            open.entries = entries;
            break;
        }
        ++open.list;
    }
    m_open = open;
    return open.list;
}

StatusRegister::Entry StatusRegister::assign(const QString &certNo, const QString &regno, const QString &degree,
                                             const QString &kind)
{
    if (auto existing = find(certNo))
        return *existing;
    const int list = openList();
    if (!m_placeTaken) {
        m_placeTaken = m_db.prepare(u"select 1 from certstatus where flist = ? and findex = ?"_s);
        m_insert = m_db.prepare(u"insert into certstatus (fcertno, flist, findex, fregno, fdegree, frevoked, "
                                "fsuspended, fusername, fkind) values (?, ?, ?, ?, ?, 'F', 'F', ?, ?)"_s);
    }
    long long index = -1;
    for (int attempt = 0; attempt < 64 && index < 0; ++attempt) {
        const long long candidate = QRandomGenerator::system()->bounded(kListSize);
        const bool taken = m_placeTaken->run({list, candidate}).next();
        m_placeTaken->finish();
        if (!taken)
            index = candidate;
    }
    if (index < 0)
        throw StopError(u"No free place on status list "_s + QString::number(list) + u" for certificate "_s + certNo
                        + u'.');
    m_insert->exec({certNo.trimmed(), list, index, regno.trimmed(), degree.trimmed(), m_user, kind});
    ++m_open->entries;
    Entry e;
    e.certNo = certNo.trimmed();
    e.list = list;
    e.index = index;
    e.regno = regno.trimmed();
    e.degree = degree.trimmed();
    return e;
}

void StatusRegister::revoke(const QString &certNo, const QString &regno, const QString &degree, const QString &reason,
                            const QString &kind)
{
    assign(certNo, regno, degree, kind);
    m_db.exec(u"update certstatus set frevoked = 'T', freason = ?, fdate = ?, fusername = ? where fcertno = ?"_s,
              {reason.trimmed().left(kReasonWidth), QDate::currentDate(), m_user, certNo.trimmed()});
}

void StatusRegister::supersede(const QString &regno, const QString &degree, const QString &kind, const QString &certNo)
{
    m_db.exec(u"update certstatus set fsupersededby = ?, fusername = ? where fregno = ? and fdegree = ? and "
              "fkind = ? and frevoked = 'T' and fcertno <> ? and "_s
                  + m_db.dialect().coalesce(u"fsupersededby"_s, u"''"_s) + u" = ''"_s,
              {certNo.trimmed(), m_user, regno.trimmed(), degree.trimmed(), kind, certNo.trimmed()});
}

bool StatusRegister::hold(const QString &certNo, bool hold, const QString &reason)
{
    return m_db.exec(u"update certstatus set fsuspended = ?, fholdreason = ?, fholddate = ?, fusername = ? "
                     "where fcertno = ?"_s,
                     {hold ? u"T"_s : u"F"_s, hold ? reason.trimmed().left(kReasonWidth) : QString(),
                      hold ? QVariant(QDate::currentDate()) : QVariant(QMetaType(QMetaType::QDate)), m_user,
                      certNo.trimmed()})
           > 0;
}

std::vector<StatusRegister::Entry> StatusRegister::entries(int list) const
{
    std::vector<Entry> out;
    Rows rows =
        list > 0 ? m_db.query(u"select "_s + kColumns + u" from certstatus where flist = ? order by findex"_s, {list})
                 : m_db.query(u"select "_s + kColumns + u" from certstatus order by flist, findex"_s);
    while (rows.next())
        out.push_back(entryOf(rows));
    return out;
}

std::vector<int> StatusRegister::lists() const
{
    std::vector<int> out;
    Rows rows = m_db.query(u"select distinct flist from certstatus order by flist"_s);
    while (rows.next())
        out.push_back(rows.value(0).toInt());
    return out;
}

} // namespace sw
