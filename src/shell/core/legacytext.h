// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

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

// How a file's text is written. A file holding Kannada in the legacy fonts must be
// read as its bytes: some runs of those bytes happen to be valid UTF-8 and would
// change if the file were guessed to be UTF-8. Files therefore say which they are.
enum class Encoding { Cp1252, Utf8 };
// "cp1252" (also "windows-1252", "8bit") or "utf-8" ("utf8"), any letter case; nullopt otherwise.
std::optional<Encoding> encodingNamed(const QString &name);
QString encodingName(Encoding encoding);
// Cp1252 byte for byte as fromBytes; Utf8 as UTF-8 (a byte-order mark dropped, an
// invalid sequence becomes U+FFFD, which no column accepts).
QString decode(const QByteArray &bytes, Encoding encoding);
// Cp1252 as toBytes; Utf8 as UTF-8 without a byte-order mark.
QByteArray encode(const QString &text, Encoding encoding);

// An apostrophe in English text is stored as a grave accent: the records written
// before this program quoted their values with apostrophes, and every reader of them
// (reports, searches, the other workstations) expects none inside a value. Kannada
// text in a legacy font keeps its bytes: there 0x27 is a letter.
QString graveApostrophes(QString text);
// English text as it is stored: trimmed, apostrophes as grave accents.
QString storedText(const QString &text);
// A college's name and town as headings and letters print them: "NAME, TOWN", or the name
// alone when the college has no town (never a dangling "NAME, ").
QString withTown(const QString &name, const QString &town);

} // namespace sw::legacytext
