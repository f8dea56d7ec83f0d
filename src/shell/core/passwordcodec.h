// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace sw::passwords {

// The configuration file keeps the server password shifted: each character's
// code plus the password's length. Applied to the text exactly as typed.
QString encodeIni(const QString &plain);
// Reverses encodeIni: each code minus the stored text's length.
QString decodeIni(const QString &stored);

// masuser.FPASSWD as the legacy installations kept it: the password in upper case,
// each code shifted by its length. Still accepted at login, never written again.
QString encodeUser(const QString &plain);

// masuser.FPASSWD from now on: a salted, slow hash of the password in upper case
// (libsodium's Argon2id string, "$argon2id$..."), so "abc" and "ABC" stay one password.
QString hashUser(const QString &plain);
// Whether a stored FPASSWD accepts the password typed: a hash is verified, a legacy
// value compared with the legacy encoding.
bool matchesUser(const QString &stored, const QString &typed);
// A stored value in the legacy encoding, to be replaced by a hash at the next login.
bool isLegacyUser(const QString &stored);

// Passwords are at most ten characters (the shifted codes then stay below 256).
inline constexpr int kMaxUserPasswordLength = 10;

// A password that begins or ends with a blank cannot be encoded consistently
// (its length counts the blanks, its text would not), so login, user creation
// and password change all refuse it with this one message.
bool hasOuterBlanks(const QString &password);
QString outerBlanksMessage();

} // namespace sw::passwords
