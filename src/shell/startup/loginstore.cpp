// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/startup/loginstore.h"

#include "shell/audit/audittrail.h"
#include "shell/core/passwordcodec.h"
#include "shell/core/stoperror.h"
#include "shell/db/database.h"
#include "shell/db/presence.h"
#include "shell/session.h"

#include <QThread>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace sw {

LoginStore::LoginStore(Database &db)
    : m_db(db)
{
}

QStringList LoginStore::users() const
{
    QStringList out;
    Rows rows = m_db.query(u"select fusername from masuser where coalesce(fdeleted, '') <> 'T' order by fusername"_s);
    while (rows.next())
        out.append(rows.text(0));
    return out;
}

QStringList LoginStore::convocations() const
{
    QStringList out{Session::adminConvocation()};
    Rows rows = m_db.query(u"select fconvocode from masconvo order by fconvocode"_s);
    while (rows.next())
        out.append(rows.text(0));
    return out;
}

std::optional<LoginStore::Refusal> LoginStore::check(const QString &user, const QString &password,
                                                     const QString &convocation) const
{
    if (user.isEmpty())
        return Refusal{u"Select User"_s, u"Message"_s, PromptIcon::Information, Field::User};
    if (password.trimmed().isEmpty())
        return Refusal{u"Enter Password"_s, u"Message"_s, PromptIcon::Information, Field::Password};
    if (convocation.trimmed().isEmpty())
        return Refusal{u"Select Convocation"_s, u"Message"_s, PromptIcon::Information, Field::Convocation};
    if (passwords::hasOuterBlanks(password))
        return Refusal{passwords::outerBlanksMessage(), u"Message"_s, PromptIcon::Information, Field::Password, true};

    return retryingConflicts([&] { return checkPassword(user, password, convocation); });
}

std::optional<LoginStore::Refusal> LoginStore::checkPassword(const QString &user, const QString &password,
                                                             const QString &convocation) const
{
    AuditTrail audit(m_db);
    const auto loginEntry = [&](const QString &action, const QString &note) {
        return AuditEntry{u"login"_s, action, u"masuser"_s, user, {}, note};
    };
    WriteScope scope(m_db);
    // The logins of one user are checked one at a time: the user's row stays locked to
    // the end of the check, a wrong password's pause included, so twenty guesses sent at
    // once wait for each other and the lock stops those after the fifth.
    m_db.exec(u"update masuser set fusername = fusername where fusername = ?"_s, {user});
    if (const int left = audit.lockRemaining(user); left > 0) {
        audit.record(user, loginEntry(u"refused"_s, u"locked"_s));
        scope.commit();
        return Refusal{u"User "_s + user + u" is locked after "_s + QString::number(AuditTrail::kFailuresBeforeLock)
                           + u" failed logins: try again in "_s + QString::number(left) + u" seconds."_s,
                       u"Caution"_s, PromptIcon::Information, Field::Password, true};
    }
    Rows row =
        m_db.query(u"select fpasswd from masuser where fusername = ? and coalesce(fdeleted, '') <> 'T'"_s, {user});
    const bool known = row.next();
    const QString stored = known ? row.text(0) : QString();
    row.query().finish();
    if (!known || !passwords::matchesUser(stored, password)) {
        audit.record(user, loginEntry(u"failed"_s, {}));
        const int failures = known ? audit.failuresInARow(user) : 0;
        if (failures >= AuditTrail::kFailuresBeforeLock)
            audit.record(user, loginEntry(u"locked"_s, QString::number(AuditTrail::kLockSeconds) + u" seconds"_s));
        else if (failures > 0)
            QThread::msleep(pauseAfterFailure(failures));
        scope.commit();
        return Refusal{u"Invalid Password"_s, u"Caution"_s, PromptIcon::Information, Field::Password, true};
    }
    if (passwords::isLegacyUser(stored))
        rehash(user, stored, password);
    audit.record(user, loginEntry(u"login"_s, convocation));
    scope.commit();
    return std::nullopt;
}

unsigned long LoginStore::pauseAfterFailure(int failures)
{
    // 250 ms after the first wrong password, doubling to 2 s: nothing a clerk who mistyped
    // notices, and a guesser gets five tries in a few seconds before the lock.
    return std::min(250UL << std::min(failures - 1, 3), 2000UL);
}

void LoginStore::rehash(const QString &user, const QString &stored, const QString &password) const
{
    // Only the value just checked is replaced: a password another workstation changed
    // meanwhile stays. A database whose column is not yet wide enough keeps the old value.
    try {
        if (m_db.exec(u"update masuser set fpasswd = ? where fusername = ? and fpasswd = ?"_s,
                      {passwords::hashUser(password), user, stored})
            > 0)
            AuditTrail(m_db).record(user, {u"users"_s, u"password hashed"_s, u"masuser"_s, user, {}, {}});
    } catch (const DbError &) {
    }
}

void LoginStore::establish(Session &session, const QString &user, const QString &convocation) const
{
    Rows row = m_db.query(u"select fsection, fpermission from masuser where fusername = ?"_s, {user});
    if (!row.next())
        throw StopError(u"You have no permissions to use the Software, Contact Admin."_s, PromptIcon::Critical);
    const QVariant section = row.value(0);
    session.userName = user;
    session.userSection = section.isNull() ? u"A"_s : section.toString();
    session.permissions = row.text(1);
    session.convoCode = convocation;
    session.convoName.clear();
    row.query().finish();
    {
        Rows convo = m_db.query(u"select fconvoname from masconvo where fconvocode = ?"_s, {convocation});
        if (convo.next())
            session.convoName = convo.text(0);
    }
    // After the reads are done: on SQLite a write behind an unfinished read would find the
    // other programs' writes since and fail.
    Presence::setUser(m_db, user);
}

std::optional<LoginStore::Refusal> LoginStore::login(Session &session, const QString &user, const QString &password,
                                                     const QString &convocation) const
{
    if (auto refusal = check(user, password, convocation))
        return refusal;
    establish(session, user, convocation);
    return std::nullopt;
}

} // namespace sw
