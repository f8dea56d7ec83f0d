// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/startup/loginstore.h"

#include "shell/core/passwordcodec.h"
#include "shell/core/session.h"
#include "shell/core/stoperror.h"
#include "shell/db/database.h"

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

    const QString encoded = passwords::encodeUser(password).toUpper();
    const bool found = m_db.exists(u"select fusername from masuser where fusername = ? and fpasswd = ? "
                                     "and coalesce(fdeleted, '') <> 'T'"_s,
                                   {user, encoded});
    if (!found)
        return Refusal{u"Invalid Password"_s, u"Caution"_s, PromptIcon::Information, Field::Password, true};
    return std::nullopt;
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
    Rows convo = m_db.query(u"select fconvoname from masconvo where fconvocode = ?"_s, {convocation});
    if (convo.next())
        session.convoName = convo.text(0);
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
