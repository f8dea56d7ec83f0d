// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/audit/audittrail.h"
#include "shell/forms/lookupdialog.h"

#include <QString>

#include <optional>
#include <vector>

namespace sw {

class Database;
class Prompter;

// The users of the application (table masuser). Passwords are kept as salted hashes
// (see passwords::hashUser); a new user's first password is his own name. A deleted user is only
// marked (FDELETED "T") so that the names on printed certificates keep their
// owner; he can no longer log in. Every refusal is said through the prompter with
// the screens' own texts.
class UserStore
{
public:
    struct User
    {
        QString name;
        QString section;
        QString permission;
        bool deleted = false;
    };

    static constexpr int kNameWidth = 50;
    static constexpr int kSectionWidth = 20;
    static constexpr int kPermissionWidth = 500;

    // `actor` is the logged-in user, whom the audit trail names for every change.
    explicit UserStore(Database &db, QString actor = {});

    // The users in name order; deleted ones only when asked for.
    std::vector<User> list(bool withDeleted = false) const;
    // The F1 lookup of user names ("Users"); deleted ones only when asked for.
    static LookupRequest lookup(const Database &db, bool withDeleted = false);
    // The users the screen browses: the live ones, by name.
    static BoundSql browseStatement(const Database &db);
    std::optional<User> find(const QString &name) const;

    bool add(const QString &name, const QString &section, const QString &permission, Prompter &prompter);
    // New section and permissions of an existing user; his password stays.
    bool update(const QString &name, const QString &section, const QString &permission, Prompter &prompter);
    // Marks the user deleted; the administrator cannot be.
    bool remove(const QString &name, Prompter &prompter);

    // The user's own change: the old password must match, the new one be typed twice.
    bool changePassword(const QString &userName, const QString &oldPassword, const QString &newPassword,
                        const QString &confirmation, Prompter &prompter);
    // The administrator sets a password without knowing the old one.
    bool setPassword(const QString &userName, const QString &newPassword, Prompter &prompter);

private:
    bool checkPassword(const QString &password, Prompter &prompter) const;
    // Runs one change and its audit line in one transaction.
    bool writeOne(const QString &sql, const QVariantList &params, const AuditEntry &audit, Prompter &prompter);

    Database &m_db;
    QString m_actor;
};

} // namespace sw
