// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/core/kannadatext.h"

#include "shell/core/legacytext.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using namespace Qt::StringLiterals;

namespace sw::kannada {

namespace {

// ---------------------------------------------------------------------------
// The glyph tables. Each consonant is drawn from a few shapes: its body ("base",
// followed by the sign of aa, au or the halant), the letter with its inherent a
// ("full": body + head stroke "À", or one glyph of its own), the letter with i
// (always one glyph of its own), and the body under the e-head ("É"). The signs of
// u and uu stand after the full letter ("Ä", "Æ"; "Å", "Ç" on ಪ, ಫ, ವ whose bodies
// end low). ಮ, ಯ and ಝ are drawn as two shapes and need their e- and o-forms given.
// Every shape here is the one the fonts' glyph charts give (see the README).

enum class Vowel : std::uint8_t { A, AA, I, II, U, UU, R, RR, E, EE, AI, O, OO, AU, Virama };

struct Consonant
{
    char16_t letter;
    std::u16string_view base;
    std::u16string_view full;
    std::u16string_view iForm;
    char16_t vattu;                 // the subjoined form, drawn after the letter it hangs from
    std::u16string_view eHead = {}; // empty: base + "É"
    std::u16string_view oForm = {}; // empty: e-head + the uu sign
    char16_t u = u'\u00C4';         // Ä
    char16_t uu = u'\u00C6';        // Æ
};

constexpr std::array kConsonants = {
    Consonant{u'ಕ', u"P", u"PÀ", u"Q", u'Ì'},
    Consonant{u'ಖ', u"S", u"R", u"T", u'Í'},
    Consonant{u'ಗ', u"U", u"UÀ", u"V", u'Î'},
    Consonant{u'ಘ', u"W", u"WÀ", u"X", u'Ï'},
    Consonant{u'ಙ', u"Y", u"Y", u"YÂ", u'Ð'},
    Consonant{u'ಚ', u"Z", u"ZÀ", u"a", u'Ñ'},
    Consonant{u'ಛ', u"b", u"bÀ", u"c", u'Ò'},
    Consonant{u'ಜ', u"e", u"d", u"f", u'Ó'},
    Consonant{u'ಝ', u"gÀhi", u"gÀhÄ", u"jhÄ", u'Ô', u"gÉhÄ", u"gÉhÆ"},
    Consonant{u'ಞ', u"k", u"k", u"kÂ", u'Õ'},
    Consonant{u'ಟ', u"m", u"l", u"n", u'Ö'},
    Consonant{u'ಠ', u"o", u"oÀ", u"p", u'×'},
    Consonant{u'ಡ', u"q", u"qÀ", u"r", u'Ø'},
    Consonant{u'ಢ', u"qs", u"qsÀ", u"rü", u'Ù'},
    Consonant{u'ಣ', u"u", u"t", u"tÂ", u'Ú'},
    Consonant{u'ತ', u"v", u"vÀ", u"w", u'Û'},
    Consonant{u'ಥ', u"x", u"xÀ", u"y", u'Ü'},
    Consonant{u'ದ', u"z", u"zÀ", u"¢", u'Ý'},
    Consonant{u'ಧ', u"zs", u"zsÀ", u"¢ü", u'Þ'},
    Consonant{u'ನ', u"£", u"£À", u"¤", u'ß'},
    Consonant{u'ಪ', u"¥", u"¥À", u"¦", u'à', {}, {}, u'Å', u'Ç'},
    Consonant{u'ಫ', u"¥s", u"¥sÀ", u"¦ü", u'á', {}, {}, u'Å', u'Ç'},
    Consonant{u'ಬ', u"¨", u"§", u"©", u'â'},
    Consonant{u'ಭ', u"¨s", u"¨sÀ", u"©ü", u'ã'},
    Consonant{u'ಮ', u"ªÀi", u"ªÀÄ", u"«Ä", u'ä', u"ªÉÄ", u"ªÉÆ"},
    Consonant{u'ಯ', u"AiÀi", u"AiÀÄ", u"¬Ä", u'å', u"AiÉÄ", u"AiÉÆ"},
    Consonant{u'ರ', u"g", u"gÀ", u"j", u'æ'},
    Consonant{u'ಲ', u"¯", u"®", u"°", u'è'},
    Consonant{u'ಳ', u"¼", u"¼À", u"½", u'î'},
    Consonant{u'ವ', u"ª", u"ªÀ", u"«", u'é', {}, u"ªÉÇ", u'Å', u'Ç'},
    Consonant{u'ಶ', u"±", u"±À", u"²", u'ê'},
    Consonant{u'ಷ', u"µ", u"µÀ", u"¶", u'ë'},
    Consonant{u'ಸ', u"¸", u"¸À", u"¹", u'ì'},
    Consonant{u'ಹ', u"º", u"ºÀ", u"»", u'í'},
};

struct IndependentVowel
{
    char16_t letter;
    std::u16string_view glyphs;
};

constexpr std::array kVowels = {
    IndependentVowel{u'ಅ', u"C"},  IndependentVowel{u'ಆ', u"D"},  IndependentVowel{u'ಇ', u"E"},
    IndependentVowel{u'ಈ', u"F"},  IndependentVowel{u'ಉ', u"G"},  IndependentVowel{u'ಊ', u"H"},
    IndependentVowel{u'ಋ', u"IÄ"}, IndependentVowel{u'ೠ', u"IÆ"}, IndependentVowel{u'ಎ', u"J"},
    IndependentVowel{u'ಏ', u"K"},  IndependentVowel{u'ಐ', u"L"},  IndependentVowel{u'ಒ', u"M"},
    IndependentVowel{u'ಓ', u"N"},  IndependentVowel{u'ಔ', u"O"},
};

// Signs that stand after a letter and its subjoined consonants.
constexpr char16_t kHalant = u'ï';
constexpr char16_t kHeadE = u'É';
constexpr char16_t kSignAA = u'Á';
constexpr char16_t kSignAU = u'Ë';
constexpr char16_t kLength = u'Ã'; // lengthens i, e and o
constexpr char16_t kSignAI = u'Ê';
constexpr char16_t kSignR = u'È';
constexpr char16_t kSignRR = u'ñ';
constexpr char16_t kReph = u'ð';
constexpr char16_t kNukta = u'ó';
constexpr char16_t kAnusvara = u'A';
constexpr char16_t kVisarga = u'B';
constexpr char16_t kAltRaVattu = u'ç'; // a second shape of the subjoined ra
// Spacing glyphs that only move the next glyph: they carry no letter.
constexpr bool isSpacer(char16_t c) { return c == u'ö' || c == u'÷'; }

constexpr char16_t kUVirama = 0x0CCD;
constexpr char16_t kUNukta = 0x0CBC;
constexpr char16_t kUAnusvara = 0x0C82;
constexpr char16_t kUVisarga = 0x0C83;
constexpr char16_t kZwnj = 0x200C;
constexpr char16_t kZwj = 0x200D;

constexpr std::array<char16_t, 15> kUnicodeSign = {0,      0x0CBE, 0x0CBF, 0x0CC0, 0x0CC1, 0x0CC2, 0x0CC3,  0x0CC4,
                                                   0x0CC6, 0x0CC7, 0x0CC8, 0x0CCA, 0x0CCB, 0x0CCC, kUVirama};

bool isUnicodeConsonant(char16_t c) { return (c >= 0x0C95 && c <= 0x0CB9) || c == 0x0CDE; }

std::optional<Vowel> vowelOfSign(char16_t c)
{
    for (std::size_t i = 1; i < kUnicodeSign.size(); ++i)
        if (kUnicodeSign[i] == c)
            return Vowel(i);
    return std::nullopt;
}

// Legacy shapes of one syllable's letter: what stands before its subjoined
// consonants (`core`) and the length mark that stands after them (`tail`).
struct Shape
{
    std::u16string core;
    char16_t tail = 0;
};

Shape shapeOf(const Consonant &c, Vowel v)
{
    const std::u16string base(c.base);
    const std::u16string full(c.full);
    const std::u16string eHead = c.eHead.empty() ? base + kHeadE : std::u16string(c.eHead);
    const std::u16string oForm = c.oForm.empty() ? eHead + c.uu : std::u16string(c.oForm);
    switch (v) {
    case Vowel::A: return {full};
    case Vowel::AA: return {base + kSignAA};
    case Vowel::I: return {std::u16string(c.iForm)};
    case Vowel::II: return {std::u16string(c.iForm), kLength};
    case Vowel::U: return {full + c.u};
    case Vowel::UU: return {full + c.uu};
    case Vowel::R: return {full + kSignR};
    case Vowel::RR: return {full + kSignRR};
    case Vowel::E: return {eHead};
    case Vowel::EE: return {eHead, kLength};
    case Vowel::AI: return {eHead, kSignAI};
    case Vowel::O: return {oForm};
    case Vowel::OO: return {oForm, kLength};
    case Vowel::AU: return {base + kSignAU};
    case Vowel::Virama: return {base + kHalant};
    }
    return {};
}

constexpr int kVowelCount = int(Vowel::Virama) + 1;

// One entry of the reading table: a letter with its vowel, or an independent vowel.
struct Unit
{
    int consonant = -1; // index into kConsonants, or -1 for an independent vowel
    Vowel vowel = Vowel::A;
    char16_t letter = 0; // the independent vowel
};

// Longest-match lookup of glyph strings; the root is indexed by code for speed.
class Trie
{
public:
    Trie() { m_nodes.emplace_back(); }

    void insert(std::u16string_view key, int unit)
    {
        int node = 0;
        for (char16_t c : key)
            node = child(node, c, true);
        if (m_nodes[std::size_t(node)].unit < 0) // the first shape listed wins
            m_nodes[std::size_t(node)].unit = unit;
    }

    // The unit of the longest key at `s`, and its length (0 when none).
    std::pair<int, int> longest(const char16_t *s, qsizetype n) const
    {
        int node = 0;
        std::pair<int, int> best{-1, 0};
        for (qsizetype i = 0; i < n; ++i) {
            node = child(node, s[i], false);
            if (node < 0)
                break;
            if (m_nodes[std::size_t(node)].unit >= 0)
                best = {m_nodes[std::size_t(node)].unit, int(i + 1)};
        }
        return best;
    }

private:
    struct Node
    {
        int unit = -1;
        std::vector<std::pair<char16_t, int>> next;
    };

    int child(int node, char16_t c, bool create) const
    {
        if (node == 0 && c < m_root.size() && m_root[c] > 0)
            return m_root[c];
        for (const auto &[key, index] : m_nodes[std::size_t(node)].next)
            if (key == c)
                return index;
        return create ? const_cast<Trie *>(this)->add(node, c) : -1;
    }
    int add(int node, char16_t c)
    {
        const int index = int(m_nodes.size());
        m_nodes.emplace_back();
        m_nodes[std::size_t(node)].next.emplace_back(c, index);
        if (node == 0 && c < m_root.size())
            m_root[c] = index;
        return index;
    }

    std::vector<Node> m_nodes;
    std::array<int, 256> m_root{};
};

struct Tables
{
    Trie trie;
    std::vector<Unit> units;
    // Per consonant and vowel, the legacy shape (writing direction).
    std::vector<std::array<Shape, kVowelCount>> shapes;
    std::array<int, 256> vattuOf{};   // glyph code -> consonant index + 1
    std::array<int, 0x80> byLetter{}; // Unicode letter - 0x0C80 -> consonant index + 1

    Tables()
    {
        for (int i = 0; i < int(kConsonants.size()); ++i) {
            const Consonant &c = kConsonants[std::size_t(i)];
            std::array<Shape, kVowelCount> row;
            for (int v = 0; v < kVowelCount; ++v) {
                row[std::size_t(v)] = shapeOf(c, Vowel(v));
                units.push_back({i, Vowel(v), 0});
                trie.insert(row[std::size_t(v)].core, int(units.size()) - 1);
            }
            shapes.push_back(row);
            vattuOf[c.vattu] = i + 1;
            byLetter[c.letter - 0x0C80] = i + 1;
        }
        vattuOf[kAltRaVattu] = vattuOf[u'æ'];
        for (const IndependentVowel &v : kVowels) {
            units.push_back({-1, Vowel::A, v.letter});
            trie.insert(v.glyphs, int(units.size()) - 1);
        }
    }
};

const Tables &tables()
{
    static const Tables t;
    return t;
}

// Characters that are the same in every font and in Unicode.
bool isNeutral(char16_t c) { return c < 0x80 && !((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z')); }

void passThrough(Conversion &out, char16_t c, bool counted)
{
    out.text.append(QChar(c));
    if (counted) {
        if (out.unconverted == 0)
            out.firstUnconverted = QString(QChar(c));
        ++out.unconverted;
    }
}

} // namespace

std::optional<LegacyFont> legacyFont(const QString &family)
{
    const QString f = family.trimmed();
    if (f.compare(u"Nudi 01 e"_s, Qt::CaseInsensitive) == 0 || f.compare(u"Nudi"_s, Qt::CaseInsensitive) == 0)
        return LegacyFont::NudiE;
    if (f.compare(u"Nudi 01 k"_s, Qt::CaseInsensitive) == 0)
        return LegacyFont::NudiK;
    if (f.compare(u"BRH Kannada"_s, Qt::CaseInsensitive) == 0)
        return LegacyFont::Brh;
    return std::nullopt;
}

Conversion toUnicode(const QString &legacy, LegacyFont font)
{
    const Tables &t = tables();
    const auto *s = reinterpret_cast<const char16_t *>(legacy.utf16());
    const qsizetype n = legacy.size();
    Conversion out;
    out.text.reserve(n + n / 2);
    bool afterHalant = false; // a letter with a written halant: a following letter must not join it
    qsizetype i = 0;
    while (i < n) {
        const char16_t c = s[i];
        if (isSpacer(c)) {
            ++i;
            continue;
        }
        const auto [unitIndex, length] = t.trie.longest(s + i, n - i);
        if (unitIndex < 0) {
            afterHalant = false;
            if (font == LegacyFont::NudiK && c >= u'0' && c <= u'9')
                out.text.append(QChar(char16_t(0x0CE6 + (c - u'0'))));
            else
                passThrough(out, c, !isNeutral(c));
            ++i;
            continue;
        }
        const Unit &unit = t.units[std::size_t(unitIndex)];
        i += length;
        if (unit.consonant < 0) {
            afterHalant = false;
            out.text.append(QChar(unit.letter));
            if (i < n && (s[i] == kVisarga || (s[i] == kAnusvara && (i + 1 >= n || s[i + 1] != u'i'))))
                out.text.append(QChar(s[i++] == kAnusvara ? kUAnusvara : kUVisarga));
            continue;
        }

        // A letter: gather what stands after it, in whatever order it was typed.
        Vowel vowel = unit.vowel;
        std::u16string subjoined;
        bool reph = false;
        bool nukta = false;
        char16_t mark = 0;
        for (; i < n; ++i) {
            const char16_t m = s[i];
            if (isSpacer(m))
                continue;
            if (m < 256 && t.vattuOf[m] > 0 && mark == 0) {
                subjoined += kConsonants[std::size_t(t.vattuOf[m] - 1)].letter;
            } else if (m == kLength && (vowel == Vowel::I || vowel == Vowel::E || vowel == Vowel::O)) {
                vowel = vowel == Vowel::I ? Vowel::II : vowel == Vowel::E ? Vowel::EE : Vowel::OO;
            } else if (m == kSignAI && vowel == Vowel::E) {
                vowel = Vowel::AI;
            } else if ((m == u'Æ' || m == u'Ç') && (vowel == Vowel::E || vowel == Vowel::A)) {
                vowel = vowel == Vowel::E ? Vowel::O : Vowel::UU;
            } else if ((m == u'Ä' || m == u'Å') && vowel == Vowel::A) {
                vowel = Vowel::U;
            } else if (m == kSignR && vowel == Vowel::A) {
                vowel = Vowel::R;
            } else if (m == kSignRR && vowel == Vowel::A) {
                vowel = Vowel::RR;
            } else if (m == kReph && !reph) {
                reph = true;
            } else if (m == kNukta && !nukta) {
                nukta = true;
            } else if (mark == 0 && vowel != Vowel::Virama
                       && (m == kVisarga || (m == kAnusvara && (i + 1 >= n || s[i + 1] != u'i')))) {
                mark = m == kAnusvara ? kUAnusvara : kUVisarga;
            } else {
                break;
            }
        }
        if (afterHalant)
            out.text.append(QChar(kZwnj));
        if (reph) {
            out.text.append(QChar(u'ರ'));
            out.text.append(QChar(kUVirama));
        }
        out.text.append(QChar(kConsonants[std::size_t(unit.consonant)].letter));
        if (nukta)
            out.text.append(QChar(kUNukta));
        for (char16_t v : subjoined) {
            out.text.append(QChar(kUVirama));
            out.text.append(QChar(v));
        }
        if (const char16_t sign = kUnicodeSign[std::size_t(vowel)])
            out.text.append(QChar(sign));
        if (mark)
            out.text.append(QChar(mark));
        afterHalant = vowel == Vowel::Virama;
    }
    return out;
}

Conversion fromUnicode(const QString &unicode)
{
    const Tables &t = tables();
    const QString text = unicode.normalized(QString::NormalizationForm_C);
    const auto *s = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype n = text.size();
    Conversion out;
    out.text.reserve(n * 2);
    auto consonantAt = [&](qsizetype i) { return i < n && isUnicodeConsonant(s[i]); };
    auto indexOf = [&](char16_t c) { return t.byLetter[c - 0x0C80] - 1; };
    qsizetype i = 0;
    while (i < n) {
        const char16_t c = s[i];
        if (isUnicodeConsonant(c) && indexOf(c) >= 0) {
            bool reph = false;
            if (c == u'ರ' && i + 2 < n && s[i + 1] == kUVirama && consonantAt(i + 2) && indexOf(s[i + 2]) >= 0) {
                reph = true;
                i += 2;
            }
            const int consonant = indexOf(s[i++]);
            const bool nukta = i < n && s[i] == kUNukta;
            if (nukta)
                ++i;
            std::u16string subjoined;
            // A joiner before the halant asks for the letter with its halant written out.
            const bool writtenHalant = i + 1 < n && s[i] == kZwj && s[i + 1] == kUVirama;
            if (writtenHalant)
                ++i;
            while (!writtenHalant && i + 1 < n && s[i] == kUVirama && consonantAt(i + 1) && indexOf(s[i + 1]) >= 0) {
                subjoined += kConsonants[std::size_t(indexOf(s[i + 1]))].vattu;
                i += 2;
            }
            Vowel vowel = Vowel::A;
            if (i < n) {
                if (const auto v = vowelOfSign(s[i])) {
                    vowel = *v;
                    ++i;
                    if (vowel == Vowel::Virama && i < n && (s[i] == kZwnj || s[i] == kZwj))
                        ++i;
                }
            }
            const Shape &shape = t.shapes[std::size_t(consonant)][std::size_t(vowel)];
            out.text.append(QStringView(shape.core.data(), qsizetype(shape.core.size())));
            if (nukta)
                out.text.append(QChar(kNukta));
            out.text.append(QStringView(subjoined.data(), qsizetype(subjoined.size())));
            if (shape.tail)
                out.text.append(QChar(shape.tail));
            if (reph)
                out.text.append(QChar(kReph));
            if (i < n && (s[i] == kUAnusvara || s[i] == kUVisarga))
                out.text.append(QChar(s[i++] == kUAnusvara ? kAnusvara : kVisarga));
            continue;
        }
        ++i;
        if (c == kUAnusvara || c == kUVisarga) {
            out.text.append(QChar(c == kUAnusvara ? kAnusvara : kVisarga));
            continue;
        }
        if (c == kZwnj || c == kZwj)
            continue; // joining controls only steer the drawing of Unicode text
        if (c >= 0x0CE6 && c <= 0x0CEF) {
            out.text.append(QChar(char16_t(u'0' + (c - 0x0CE6))));
            continue;
        }
        bool vowelFound = false;
        for (const IndependentVowel &v : kVowels) {
            if (v.letter == c) {
                out.text.append(QStringView(v.glyphs.data(), qsizetype(v.glyphs.size())));
                vowelFound = true;
                break;
            }
        }
        if (vowelFound)
            continue;
        // Signs without a letter, other scripts, Latin letters (which the fonts
        // would draw as Kannada glyphs): copied and counted.
        if (!legacytext::isEightBit(QString(QChar(c))) && out.eightBit) {
            out.eightBit = false;
            out.firstNotEightBit = QString(QChar(c));
        }
        passThrough(out, c, !isNeutral(c));
    }
    return out;
}

Conversion toStoredCodes(const QString &given)
{
    if (hasUnicodeKannada(given))
        return fromUnicode(given);
    Conversion out;
    out.text = given;
    for (const QChar c : given) {
        if (!legacytext::isEightBit(QString(c))) {
            out.eightBit = false;
            out.firstNotEightBit = QString(c);
            break;
        }
    }
    return out;
}

bool hasUnicodeKannada(const QString &text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() >= 0x0C80 && c.unicode() <= 0x0CFF; });
}

} // namespace sw::kannada
