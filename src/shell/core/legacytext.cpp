// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/core/legacytext.h"

#include <QStringDecoder>

#include <array>

namespace sw::legacytext {

namespace {
// Windows-1252 0x80..0x9F; 0 marks the five undefined bytes, held as U+0080 + n.
constexpr std::array<char16_t, 32> kHigh = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                            0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                            0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                            0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t charOf(unsigned char b)
{
    if (b >= 0x80 && b <= 0x9F && kHigh[b - 0x80] != 0)
        return kHigh[b - 0x80];
    return b;
}

int byteOf(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i) {
        if (kHigh[size_t(i)] == 0 ? c == 0x80 + i : kHigh[size_t(i)] == c)
            return 0x80 + i;
    }
    return -1;
}
} // namespace

QString fromBytes(const QByteArray &bytes)
{
    // Latin-1 is the right answer for every byte but 0x80..0x9F; mend those after the
    // fast conversion (report files of many megabytes come through here).
    QString out = QString::fromLatin1(bytes);
    const char *data = bytes.constData();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        if (b >= 0x80 && b <= 0x9F)
            out[i] = QChar(charOf(b));
    }
    return out;
}

QByteArray toBytes(const QString &text)
{
    QByteArray out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const int b = byteOf(c.unicode());
        out.append(b < 0 ? '?' : char(b));
    }
    return out;
}

bool isEightBit(const QString &text)
{
    for (const QChar c : text) {
        if (byteOf(c.unicode()) < 0)
            return false;
    }
    return true;
}

QString decodeFile(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text.startsWith(QChar(0xFEFF)) ? text.mid(1) : text;
    return fromBytes(bytes);
}

std::optional<Encoding> encodingNamed(const QString &name)
{
    const QString n = name.trimmed().toLower();
    if (n == QLatin1String("cp1252") || n == QLatin1String("windows-1252") || n == QLatin1String("8bit"))
        return Encoding::Cp1252;
    if (n == QLatin1String("utf-8") || n == QLatin1String("utf8"))
        return Encoding::Utf8;
    return std::nullopt;
}

QString encodingName(Encoding encoding)
{
    return encoding == Encoding::Utf8 ? QStringLiteral("utf-8") : QStringLiteral("cp1252");
}

QString decode(const QByteArray &bytes, Encoding encoding)
{
    if (encoding == Encoding::Cp1252)
        return fromBytes(bytes);
    const QString text = QString::fromUtf8(bytes);
    return text.startsWith(QChar(0xFEFF)) ? text.mid(1) : text;
}

QByteArray encode(const QString &text, Encoding encoding)
{
    return encoding == Encoding::Cp1252 ? toBytes(text) : text.toUtf8();
}

QString graveApostrophes(QString text) { return text.replace(u'\'', u'`'); }

QString storedText(const QString &text) { return graveApostrophes(text.trimmed()); }

QString withTown(const QString &name, const QString &town)
{
    return town.trimmed().isEmpty() ? name.trimmed() : name.trimmed() + QStringLiteral(", ") + town.trimmed();
}

} // namespace sw::legacytext
