// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/audit/audittrail.h"

#include "shell/db/database.h"
#include "shell/db/presence.h"

#include <QDateTime>
#include <QSysInfo>

using namespace Qt::StringLiterals;

namespace sw {

namespace {
constexpr int kValueWidth = 1000;
const QString kLogin = u"login"_s;
} // namespace

AuditTrail::AuditTrail(Database &db)
    : m_db(db)
{
}

QString AuditTrail::workstation() { return Presence::workstation(); }

QString AuditTrail::stamp(const QDateTime &at) { return at.toString(u"yyyy-MM-dd HH:mm:ss.zzz"_s); }

void AuditTrail::record(const QString &user, const AuditEntry &e)
{
    try {
        m_db.exec(u"insert into "_s + m_db.table(u"AUDIT"_s)
                      + u" (fwhen, fusername, fworkstation, fwhat, faction, ftable, fkey, fold, fnew) "
                        "values (?, ?, ?, ?, ?, ?, ?, ?, ?)"_s,
                  {stamp(QDateTime::currentDateTime()), user.left(50), workstation(), e.what.left(20),
                   e.action.left(20), e.table.left(30), e.key.left(100), e.oldValue.left(kValueWidth),
                   e.newValue.left(kValueWidth)});
    } catch (const DbError &error) {
        if (error.kind() != DbErrorKind::MissingTable)
            throw;
    }
}

std::vector<AuditTrail::Line> AuditTrail::lines(const Filter &filter) const
{
    QString sql = u"select fwhen, fusername, fworkstation, fwhat, faction, ftable, fkey, fold, fnew from "_s
                  + m_db.table(u"AUDIT"_s) + u" where 1 = 1"_s;
    QVariantList params;
    if (filter.from.isValid()) {
        sql += u" and fwhen >= ?"_s;
        params << filter.from.toString(Qt::ISODate);
    }
    if (filter.to.isValid()) {
        sql += u" and fwhen < ?"_s;
        params << filter.to.addDays(1).toString(Qt::ISODate);
    }
    if (!filter.user.isEmpty()) {
        sql += u" and fusername = ?"_s;
        params << filter.user;
    }
    if (!filter.what.isEmpty()) {
        sql += u" and fwhat = ?"_s;
        params << filter.what;
    }
    Rows rows = m_db.query(sql + u" order by fwhen"_s, params);
    std::vector<Line> out;
    while (rows.next())
        out.push_back({rows.text(0),
                       rows.text(1),
                       rows.text(2),
                       {rows.text(3), rows.text(4), rows.text(5), rows.text(6), rows.text(7), rows.text(8)}});
    return out;
}

QString AuditTrail::latest(const QString &user, const QStringList &actions) const
{
    QStringList marks;
    QVariantList params{user, kLogin, workstation()};
    for (const QString &a : actions) {
        marks << u"?"_s;
        params << a;
    }
    try {
        return m_db
            .scalar(u"select max(fwhen) from %1 where fusername = ? and fwhat = ? and fworkstation = ? and "
                    "faction in (%2)"_s.arg(m_db.table(u"AUDIT"_s), marks.join(u", "_s)),
                    params)
            .toString();
    } catch (const DbError &error) {
        if (error.kind() != DbErrorKind::MissingTable)
            throw;
        return {};
    }
}

int AuditTrail::failuresInARow(const QString &user) const
{
    const QString since = latest(user, {u"login"_s, u"locked"_s});
    QVariantList params{user, kLogin, u"failed"_s, workstation()};
    QString sql = u"select count(*) from "_s + m_db.table(u"AUDIT"_s)
                  + u" where fusername = ? and fwhat = ? and faction = ? and fworkstation = ?"_s;
    if (!since.isEmpty()) {
        sql += u" and fwhen > ?"_s;
        params << since;
    }
    try {
        return m_db.scalar(sql, params).toInt();
    } catch (const DbError &error) {
        if (error.kind() != DbErrorKind::MissingTable)
            throw;
        return 0;
    }
}

int AuditTrail::lockRemaining(const QString &user) const
{
    const QString locked = latest(user, {u"locked"_s});
    if (locked.isEmpty())
        return 0;
    const QDateTime at = QDateTime::fromString(locked, u"yyyy-MM-dd HH:mm:ss.zzz"_s);
    if (!at.isValid())
        return 0;
    const qint64 left = kLockSeconds - at.secsTo(QDateTime::currentDateTime());
    return left > 0 ? int(std::min<qint64>(left, kLockSeconds)) : 0;
}

std::pair<QString, QString> AuditTrail::difference(const std::vector<std::pair<QString, QString>> &before,
                                                   const std::vector<std::pair<QString, QString>> &after)
{
    QStringList was;
    QStringList now;
    for (const auto &[column, value] : after) {
        QString old;
        for (const auto &[c, v] : before) {
            if (c == column)
                old = v;
        }
        if (old == value)
            continue;
        was << column + u'=' + old;
        now << column + u'=' + value;
    }
    return {was.join(u"; "_s), now.join(u"; "_s)};
}

} // namespace sw
