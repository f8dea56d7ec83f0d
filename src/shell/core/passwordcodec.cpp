// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/core/passwordcodec.h"

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

QString encodeIni(const QString &plain)
{
    return shifted(plain, int(plain.size()));
}

QString decodeIni(const QString &stored)
{
    return shifted(stored, -int(stored.size()));
}

QString encodeUser(const QString &plain)
{
    return shifted(plain.toUpper(), int(plain.size()));
}

bool hasOuterBlanks(const QString &password)
{
    return !password.isEmpty() && (password.front().isSpace() || password.back().isSpace());
}

QString outerBlanksMessage()
{
    return u"A password must not begin or end with a blank."_s;
}

} // namespace sw::passwords
