// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

namespace sw::kannada {

// Kannada in the legacy display fonts is a string of glyph codes, not of letters:
// the font draws "PÀ" (a consonant body and its head stroke) as ಕ, writes a vowel
// sign before or after the body as it looks, and puts a subjoined consonant or the
// reph after the letter it hangs from. The database keeps those codes (as the
// Windows-1252 characters of legacytext.h); this converter reads them as Unicode
// Kannada and writes Unicode Kannada back as the codes.
//
// The fonts "Nudi 01 e", "Nudi 01 k" and "BRH Kannada" share one glyph layout for
// every letter, sign and subjoined consonant. They differ in the digits: "Nudi 01 k"
// draws the codes of 0..9 as Kannada digits, the other two as Latin ones.
enum class LegacyFont { NudiE, NudiK, Brh };

// The legacy font a family name asks for, if it is one of them (case ignored).
std::optional<LegacyFont> legacyFont(const QString &family);

struct Conversion
{
    QString text;
    // Characters copied as they were because they mean no Kannada: glyph codes that
    // form no syllable (a vowel sign with no letter, a stray head stroke), codes no
    // font has, and in the other direction letters of other scripts. Spaces, digits
    // and punctuation are copied too but not counted: they mean themselves.
    int unconverted = 0;
    // The first of them, for a message.
    QString firstUnconverted;
    // Unicode to legacy only: false when a character outside the 256 codes had to be
    // copied (it cannot be stored as the legacy text), and the first such character.
    bool eightBit = true;
    QString firstNotEightBit;
};

// Legacy glyph codes to Unicode Kannada in NFC. Anything not Kannada is copied.
Conversion toUnicode(const QString &legacy, LegacyFont font = LegacyFont::NudiE);
// Unicode Kannada (any normalisation form) to the glyph codes the fonts draw it with.
Conversion fromUnicode(const QString &unicode);
// What a Kannada column stores of text given by a clerk: Unicode Kannada written as the
// codes, legacy codes as they are. Not eightBit when it holds a character the codes
// cannot hold (another script).
Conversion toStoredCodes(const QString &given);

// Shorthands when only the text is wanted.
inline QString readable(const QString &legacy, LegacyFont font = LegacyFont::NudiE)
{
    return toUnicode(legacy, font).text;
}

// Whether the text holds any character of the Kannada block (typed in Unicode).
bool hasUnicodeKannada(const QString &text);

} // namespace sw::kannada
