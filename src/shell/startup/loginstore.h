// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/prompter.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace sw {

class Database;
class Session;

// The rules of the login window, without the window: the lists it offers, the
// checks of its OK button and the session values a successful login sets.
class LoginStore
{
public:
    explicit LoginStore(Database &db);

    QStringList users() const;
    // "ADMN" first, then every convocation code.
    QStringList convocations() const;

    enum class Field { User, Password, Convocation };
    struct Refusal
    {
        QString text;
        QString title;
        PromptIcon icon;
        Field field;
        bool clearPassword = false;
    };

    // The OK button's checks in order; nullopt when the user, password and
    // convocation are accepted. Every login, failed login and lock is recorded in the
    // audit trail; a user whose fifth failure in a row was less than a minute ago is
    // refused whatever he types. A password still kept in the legacy encoding is
    // replaced by its hash once it has been accepted.
    std::optional<Refusal> check(const QString &user, const QString &password, const QString &convocation) const;

    // Sets the session values of a successful login and reads the user's
    // permission string; throws StopError when the user's row has gone.
    void establish(Session &session, const QString &user, const QString &convocation) const;

    // check + establish, for callers without a window (the command-line tool).
    std::optional<Refusal> login(Session &session, const QString &user, const QString &password,
                                 const QString &convocation) const;

    // The pause after the `failures`-th wrong password in a row, in milliseconds.
    static unsigned long pauseAfterFailure(int failures);

private:
    std::optional<Refusal> checkPassword(const QString &user, const QString &password,
                                         const QString &convocation) const;
    // Replaces a password kept in the legacy encoding by its hash, after a login with it.
    void rehash(const QString &user, const QString &stored, const QString &password) const;

    Database &m_db;
};

} // namespace sw
