// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/users/userstore.h"

#include "shell/core/passwordcodec.h"
#include "shell/core/prompter.h"
#include "shell/db/database.h"

using namespace Qt::StringLiterals;

namespace sw {

namespace {

const QString kMessage = u"Message"_s;

} // namespace

UserStore::UserStore(Database &db, QString actor)
    : m_db(db)
    , m_actor(std::move(actor))
{
}

BoundSql UserStore::browseStatement(const Database &db)
{
    return {u"select * from "_s + db.table(u"MASUSER"_s) + u" where "_s + db.dialect().coalesce(u"fdeleted"_s, u"''"_s)
                + u" <> 'T' order by fusername"_s,
            {}};
}

LookupRequest UserStore::lookup(const Database &db, bool withDeleted)
{
    return LookupRequest{db.table(u"MASUSER"_s),
                         u"fusername as Users, fusername as Name"_s,
                         withDeleted ? QString() : db.dialect().coalesce(u"fdeleted"_s, u"''"_s) + u" <> 'T'"_s,
                         {},
                         {},
                         {},
                         {}};
}

std::vector<UserStore::User> UserStore::list(bool withDeleted) const
{
    Rows rows = m_db.query(u"select fusername, fsection, fpermission, fdeleted from "_s + m_db.table(u"MASUSER"_s)
                           + u" order by fusername"_s);
    std::vector<User> out;
    while (rows.next()) {
        User u{rows.text(0), rows.text(1), rows.text(2), rows.text(3) == u"T"_s};
        if (withDeleted || !u.deleted)
            out.push_back(u);
    }
    return out;
}

std::optional<UserStore::User> UserStore::find(const QString &name) const
{
    Rows rows = m_db.query(u"select fusername, fsection, fpermission, fdeleted from "_s + m_db.table(u"MASUSER"_s)
                               + u" where fusername = ?"_s,
                           {name.trimmed().toUpper()});
    if (!rows.next())
        return std::nullopt;
    return User{rows.text(0), rows.text(1), rows.text(2), rows.text(3) == u"T"_s};
}

bool UserStore::writeOne(const QString &sql, const QVariantList &params, const AuditEntry &audit, Prompter &prompter)
{
    try {
        WriteScope scope(m_db);
        m_db.exec(sql, params);
        AuditTrail(m_db).record(m_actor, audit);
        scope.commit();
        return true;
    } catch (const DbError &error) {
        prompter.message(error.screenMessage(), kMessage, PromptIcon::Exclamation);
        return false;
    }
}

bool UserStore::add(const QString &name, const QString &section, const QString &permission, Prompter &prompter)
{
    const QString user = name.trimmed().toUpper();
    if (user.isEmpty()) {
        prompter.message(u"Information should be entered"_s, kMessage, PromptIcon::Information);
        return false;
    }
    // The first password is the name itself, so the name is held to the password's limits.
    if (user.size() > passwords::kMaxUserPasswordLength || user.contains(u'\'')) {
        prompter.message(u"User Name %1 must be at most %2 characters without apostrophes"_s.arg(user).arg(
                             passwords::kMaxUserPasswordLength),
                         kMessage, PromptIcon::Exclamation);
        return false;
    }
    if (const auto existing = find(user)) {
        // A deleted user's name is taken again by clearing the mark, with a fresh password.
        if (!existing->deleted) {
            prompter.message(u"User Name already exists"_s, kMessage, PromptIcon::Exclamation);
            return false;
        }
        return writeOne(
            u"update "_s + m_db.table(u"MASUSER"_s)
                + u" set fsection = ?, fpermission = ?, fpasswd = ?, fdeleted = ? where fusername = ?"_s,
            {section.trimmed().left(kSectionWidth), permission.left(kPermissionWidth), passwords::hashUser(user),
             u"F"_s, user},
            {u"users"_s, u"add"_s, u"masuser"_s, user,
             u"section="_s + existing->section + u"; permission="_s + existing->permission + u"; deleted=T"_s,
             u"section="_s + section.trimmed() + u"; permission="_s + permission},
            prompter);
    }
    return writeOne(u"insert into "_s + m_db.table(u"MASUSER"_s)
                        + u" (fusername, fsection, fpasswd, fpermission, fdeleted) values (?, ?, ?, ?, ?)"_s,
                    {user, section.trimmed().left(kSectionWidth), passwords::hashUser(user),
                     permission.left(kPermissionWidth), u"F"_s},
                    {u"users"_s,
                     u"add"_s,
                     u"masuser"_s,
                     user,
                     {},
                     u"section="_s + section.trimmed() + u"; permission="_s + permission},
                    prompter);
}

bool UserStore::update(const QString &name, const QString &section, const QString &permission, Prompter &prompter)
{
    const auto user = find(name);
    if (!user || user->deleted) {
        prompter.message(u"Invalid User Name"_s, kMessage, PromptIcon::Exclamation);
        return false;
    }
    const auto [was, now] = AuditTrail::difference(
        {{u"section"_s, user->section}, {u"permission"_s, user->permission}},
        {{u"section"_s, section.trimmed().left(kSectionWidth)}, {u"permission"_s, permission.left(kPermissionWidth)}});
    return writeOne(u"update "_s + m_db.table(u"MASUSER"_s)
                        + u" set fpermission = ?, fsection = ? where fusername = ?"_s,
                    {permission.left(kPermissionWidth), section.trimmed().left(kSectionWidth), user->name},
                    {u"users"_s, u"permit"_s, u"masuser"_s, user->name, was, now}, prompter);
}

bool UserStore::remove(const QString &name, Prompter &prompter)
{
    const auto user = find(name);
    if (!user || user->deleted) {
        prompter.message(u"Invalid User Name"_s, kMessage, PromptIcon::Exclamation);
        return false;
    }
    if (user->name.compare(u"ADMIN"_s, Qt::CaseInsensitive) == 0) {
        prompter.message(u"The user ADMIN cannot be deleted"_s, kMessage, PromptIcon::Exclamation);
        return false;
    }
    return writeOne(u"update "_s + m_db.table(u"MASUSER"_s) + u" set fdeleted = ? where fusername = ?"_s,
                    {u"T"_s, user->name},
                    {u"users"_s, u"delete"_s, u"masuser"_s, user->name, u"deleted=F"_s, u"deleted=T"_s}, prompter);
}

bool UserStore::checkPassword(const QString &password, Prompter &prompter) const
{
    if (password.size() > passwords::kMaxUserPasswordLength) {
        prompter.message(u"Enter New Password Max 10 characters"_s, kMessage, PromptIcon::Exclamation);
        return false;
    }
    if (passwords::hasOuterBlanks(password)) {
        prompter.message(passwords::outerBlanksMessage(), kMessage, PromptIcon::Exclamation);
        return false;
    }
    return true;
}

bool UserStore::changePassword(const QString &userName, const QString &oldPassword, const QString &newPassword,
                               const QString &confirmation, Prompter &prompter)
{
    if (oldPassword.isEmpty() || newPassword.isEmpty() || confirmation.isEmpty()) {
        prompter.message(u"Information Should be Entered"_s, kMessage, PromptIcon::Exclamation);
        return false;
    }
    const QVariant stored =
        m_db.scalar(u"select fpasswd from "_s + m_db.table(u"MASUSER"_s) + u" where fusername = ?"_s, {userName});
    if (!stored.isValid() || !passwords::matchesUser(stored.toString(), oldPassword)) {
        prompter.message(u"Invalid Password"_s, kMessage, PromptIcon::Exclamation);
        return false;
    }
    if (newPassword != confirmation) {
        prompter.message(u"Mismatch - Confirm New Password"_s, kMessage, PromptIcon::Exclamation);
        return false;
    }
    if (!checkPassword(newPassword, prompter))
        return false;
    if (!writeOne(u"update "_s + m_db.table(u"MASUSER"_s) + u" set fpasswd = ? where fusername = ?"_s,
                  {passwords::hashUser(newPassword), userName},
                  {u"users"_s, u"password"_s, u"masuser"_s, userName, {}, {}}, prompter))
        return false;
    prompter.message(u"Password has been changed Successfully"_s, kMessage, PromptIcon::Information);
    return true;
}

bool UserStore::setPassword(const QString &userName, const QString &newPassword, Prompter &prompter)
{
    const auto user = find(userName);
    if (!user || user->deleted) {
        prompter.message(u"Invalid User Name"_s, kMessage, PromptIcon::Exclamation);
        return false;
    }
    if (newPassword.isEmpty()) {
        prompter.message(u"Information Should be Entered"_s, kMessage, PromptIcon::Exclamation);
        return false;
    }
    if (!checkPassword(newPassword, prompter))
        return false;
    return writeOne(u"update "_s + m_db.table(u"MASUSER"_s) + u" set fpasswd = ? where fusername = ?"_s,
                    {passwords::hashUser(newPassword), user->name},
                    {u"users"_s, u"password"_s, u"masuser"_s, user->name, {}, {}}, prompter);
}

} // namespace sw
