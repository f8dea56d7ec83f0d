// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace sw::legacytext {

// Kannada names are the 8-bit characters of the legacy display fonts. Inside the
// program each byte is held as its Windows-1252 character (0xE0 is U+00E0, 0x80 is
// U+20AC); the five bytes Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) are held as the control characters of the same number, so every byte has
// exactly one character and comes back unchanged.
QString fromBytes(const QByteArray &bytes);
// The bytes of such a text; a character outside the 256 (real Unicode text) becomes '?'.
QByteArray toBytes(const QString &text);
// Whether every character of `text` is one of the 256.
bool isEightBit(const QString &text);

// A text file that may be UTF-8 (with or without a byte-order mark) or 8-bit:
// valid UTF-8 is read as such, anything else byte by byte as above.
QString decodeFile(const QByteArray &bytes);

} // namespace sw::legacytext
