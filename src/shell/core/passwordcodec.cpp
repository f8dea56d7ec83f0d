// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/core/passwordcodec.h"

#include <sodium.h>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace sw::passwords {

namespace {
QString shifted(const QString &text, int by)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text)
        out.append(QChar(char16_t(c.unicode() + by)));
    return out;
}
} // namespace

QString encodeIni(const QString &plain) { return shifted(plain, int(plain.size())); }

QString decodeIni(const QString &stored) { return shifted(stored, -int(stored.size())); }

QString encodeUser(const QString &plain) { return shifted(plain.toUpper(), int(plain.size())); }

namespace {
void initialiseSodium()
{
    static const int initialised = sodium_init();
    if (initialised < 0)
        throw std::runtime_error("libsodium cannot be initialised");
}
} // namespace

QString hashUser(const QString &plain)
{
    initialiseSodium();
    const QByteArray password = plain.toUpper().toUtf8();
    char stored[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(stored, password.constData(), quint64(password.size()), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE)
        != 0)
        throw std::runtime_error("out of memory while hashing a password");
    return QString::fromLatin1(stored);
}

bool isLegacyUser(const QString &stored) { return !stored.startsWith(u"$argon2"_s); }

bool matchesUser(const QString &stored, const QString &typed)
{
    if (isLegacyUser(stored))
        return !stored.isEmpty() && stored.toUpper() == encodeUser(typed).toUpper();
    initialiseSodium();
    const QByteArray hash = stored.toLatin1();
    const QByteArray password = typed.toUpper().toUtf8();
    return crypto_pwhash_str_verify(hash.constData(), password.constData(), quint64(password.size())) == 0;
}

bool hasOuterBlanks(const QString &password)
{
    return !password.isEmpty() && (password.front().isSpace() || password.back().isSpace());
}

QString outerBlanksMessage() { return u"A password must not begin or end with a blank."_s; }

} // namespace sw::passwords
