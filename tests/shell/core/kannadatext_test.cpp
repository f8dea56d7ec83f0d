// SPDX-License-Identifier: GPL-3.0-or-later
// The reading of legacy-font Kannada as Unicode and its writing back.
#include "shell/core/kannadatext.h"
#include "shell/core/legacytext.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
namespace kn = sw::kannada;

namespace {

struct Reading
{
    QString legacy;
    QString unicode;
};

void PrintTo(const Reading &r, std::ostream *os) { *os << r.legacy.toStdString(); }

// The fixed texts of the certificate layouts, as typed under the BRH Kannada font,
// and what a reader of Kannada sees in them.
const Reading kLayoutTexts[] = {
    {u"EªÀgÀÄ "_s, u"ಇವರು "_s},
    {u"£ÉÆÃAzÀtÂ ¸ÀASÉåAiÉÆA¢UÉ "_s, u"ನೋಂದಣಿ ಸಂಖ್ಯೆಯೊಂದಿಗೆ "_s},
    {u"£ÉÃ ªÀµÀðzÀ°è £ÀqÉzÀ ¥ÀjÃPÉëAiÀÄ°è \n"_s, u"ನೇ ವರ್ಷದಲ್ಲಿ ನಡೆದ ಪರೀಕ್ಷೆಯಲ್ಲಿ \n"_s},
    {u"£ÉÃ ªÀµÀðzÀ°è ¥ÀjÃPÀëPÀjAzÀ ¥ÀjÃQë¸À®àlÄÖ \n"_s, u"ನೇ ವರ್ಷದಲ್ಲಿ ಪರೀಕ್ಷಕರಿಂದ ಪರೀಕ್ಷಿಸಲ್ಪಟ್ಟು \n"_s},
    {u"JA. ¦ü¯ï "_s, u"ಎಂ. ಫಿಲ್ "_s},
    {u"¦JZï. r. "_s, u"ಪಿಎಚ್. ಡಿ. "_s},
    {u"zÀeÉðAiÀÄ°è GwÛÃtðgÁVgÀÄªÀgÉAzÀÄ ¥ÀæªÀiÁtÂÃPÀÈvÀªÁVgÀÄªÀÅzÀjAzÀ \n"_s,
     u"ದರ್ಜೆಯಲ್ಲಿ ಉತ್ತೀರ್ಣರಾಗಿರುವರೆಂದು ಪ್ರಮಾಣೀಕೃತವಾಗಿರುವುದರಿಂದ \n"_s},
    {u"¥ÀzÀ«UÁV CºÀðgÁVgÀÄvÁÛgÉAzÀÄ ¥ÀæªÀiÁtÂÃPÀÈvÀªÁVgÀÄªÀÅzÀjAzÀ \n"_s,
     u"ಪದವಿಗಾಗಿ ಅರ್ಹರಾಗಿರುತ್ತಾರೆಂದು ಪ್ರಮಾಣೀಕೃತವಾಗಿರುವುದರಿಂದ \n"_s},
    {u"¢£ÁAPÀ "_s, u"ದಿನಾಂಕ "_s},
    {u"gÀAzÀÄ £ÀqÉzÀ "_s, u"ರಂದು ನಡೆದ "_s},
    {u"WÀnPÉÆÃvÀìªÀzÀ°è EªÀgÀ£ÀÄß \n"_s, u"ಘಟಿಕೋತ್ಸವದಲ್ಲಿ ಇವರನ್ನು \n"_s},
    {u"¥ÀzÀ«UÉ CAVÃPÀj¸À¯ÁVzÉ.\n"_s, u"ಪದವಿಗೆ ಅಂಗೀಕರಿಸಲಾಗಿದೆ.\n"_s},
    {u"«±Àé«zÁå¤®AiÀÄzÀ ªÉÆºÀj£ÉÆA¢UÉ ¤ÃrzÉ.\n"_s, u"ವಿಶ್ವವಿದ್ಯಾನಿಲಯದ ಮೊಹರಿನೊಂದಿಗೆ ನೀಡಿದೆ.\n"_s},
    {u"¢£ÁAPÀ / "_s, u"ದಿನಾಂಕ / "_s},
    {u"gÀ°è dgÀÄVzÀ"_s, u"ರಲ್ಲಿ ಜರುಗಿದ"_s},
    {u"¥ÀjÃPÉëAiÀÄ°è \n"_s, u"ಪರೀಕ್ಷೆಯಲ್ಲಿ \n"_s},
    {u" ±ÉæÃtÂAiÀÄ°è"_s, u" ಶ್ರೇಣಿಯಲ್ಲಿ"_s},
    {u"GwÛÃtðgÁVzÁÝgÉAzÀÄ ¥ÀæªÀiÁtÂÃPÀj¹ EªÀjUÉ\n"_s, u"ಉತ್ತೀರ್ಣರಾಗಿದ್ದಾರೆಂದು ಪ್ರಮಾಣೀಕರಿಸಿ ಇವರಿಗೆ\n"_s},
    {u" gÀAzÀÄ\n"_s, u" ರಂದು\n"_s},
};

using LayoutTexts = testing::TestWithParam<Reading>;

TEST_P(LayoutTexts, ReadAsTheKannadaAReaderExpectsAndWriteBackToTheSameCodes)
{
    const Reading &r = GetParam();
    const kn::Conversion read = kn::toUnicode(r.legacy, kn::LegacyFont::Brh);
    EXPECT_EQ(read.text, r.unicode);
    EXPECT_EQ(read.unconverted, 0) << read.firstUnconverted.toStdString();
    EXPECT_EQ(read.text, read.text.normalized(QString::NormalizationForm_C));
    const kn::Conversion written = kn::fromUnicode(read.text);
    EXPECT_EQ(written.text, r.legacy);
    EXPECT_EQ(written.unconverted, 0);
    EXPECT_TRUE(written.eightBit);
}

INSTANTIATE_TEST_SUITE_P(Certificates, LayoutTexts, testing::ValuesIn(kLayoutTexts));

// Unicode typed by a clerk and the codes it is stored as: one case per rule of the
// shapes (vowel signs before and after the letter, subjoined letters, the reph,
// anusvara and visarga, the two-shape letters ಮ ಯ ಝ, the low-bodied ಪ ಫ ವ).
const Reading kWritings[] = {
    {u"ಕನ್ನಡ"_s, u"PÀ£ÀßqÀ"_s},
    {u"ಕ್ಷ"_s, u"PÀë"_s},
    {u"ಲಕ್ಷ್ಮೀ"_s, u"®QëäÃ"_s},
    {u"ಜ್ಞಾನ"_s, u"eÁÕ£À"_s},
    {u"ಶ್ರೀನಿವಾಸ"_s, u"²æÃ¤ªÁ¸À"_s},
    {u"ಸೂರ್ಯಪ್ರಕಾಶ್"_s, u"¸ÀÆAiÀÄð¥ÀæPÁ±ï"_s},
    {u"ಕೀರ್ತಿ"_s, u"QÃwð"_s},
    {u"ಸ್ವಾತಂತ್ರ್ಯ"_s, u"¸ÁévÀAvÀæå"_s},
    {u"ಮೊಮ್ಮಗ ಮೋಹನ ಮೌನ ಮೈ"_s, u"ªÉÆªÀÄäUÀ ªÉÆÃºÀ£À ªÀiË£À ªÉÄÊ"_s},
    {u"ಯೋಗೀಶ ಯಾದವ"_s, u"AiÉÆÃVÃ±À AiÀiÁzÀªÀ"_s},
    {u"ಝಾನ್ಸಿ ಝೇಂಡಾ"_s, u"gÀhiÁ¤ì gÉhÄÃAqÁ"_s},
    {u"ಪುಷ್ಪ ಪೂಜಾ ವೊಡೆಯರ್ ವೋ ಫೂ"_s, u"¥ÀÅµÀà ¥ÀÇeÁ ªÉÇqÉAiÀÄgï ªÉÇÃ ¥sÀÇ"_s},
    {u"ದುಃಖ ಅಂಕ"_s, u"zÀÄBR CAPÀ"_s},
    {u"ಋಷಿ ಗೌಡ ಕೃಷ್ಣ"_s, u"IÄ¶ UËqÀ PÀÈµÀÚ"_s},
    {u"ಣಿ ಙ ಞಾ"_s, u"tÂ Y kÁ"_s},
    // A written halant before a letter stays written (the joiner keeps it from joining).
    {u"ಕ್\u200Cಕ"_s, u"PïPÀ"_s},
    // Decomposed input is taken as its composed form.
    {u"ಕೆ\u0CD5 ಕೆ\u0CC2"_s, u"PÉÃ PÉÆ"_s},
    {u"ಕ್ಕೊ ಕ್ಕೋ ಕ್ಕು"_s, u"PÉÆÌ PÉÆÌÃ PÀÄÌ"_s},
};

class Writings : public testing::TestWithParam<Reading>
{
};

TEST_P(Writings, StoreTheCodesTheFontsDrawTheWordWith)
{
    const Reading &r = GetParam();
    const kn::Conversion written = kn::fromUnicode(r.legacy);
    EXPECT_EQ(written.text, r.unicode);
    EXPECT_EQ(written.unconverted, 0);
    EXPECT_EQ(kn::toUnicode(written.text).text, r.legacy.normalized(QString::NormalizationForm_C));
}

INSTANTIATE_TEST_SUITE_P(Names, Writings, testing::ValuesIn(kWritings));

// Every letter with every vowel sign, alone, with a subjoined letter, under a reph
// and with an anusvara, goes to the codes and back unchanged, both ways.
TEST(KannadaText, EverySyllableGoesBothWaysUnchanged)
{
    const QString signs = u"\u0CBE\u0CBF\u0CC0\u0CC1\u0CC2\u0CC3\u0CC4\u0CC6\u0CC7\u0CC8\u0CCA\u0CCB\u0CCC\u0CCD"_s;
    const QString letters = u"ಕಖಗಘಙಚಛಜಝಞಟಠಡಢಣತಥದಧನಪಫಬಭಮಯರಲಳವಶಷಸಹ"_s;
    int checked = 0;
    for (const QChar letter : letters) {
        for (int s = -1; s < signs.size(); ++s) {
            const QString sign = s < 0 ? QString() : QString(signs[s]);
            const bool halant = s == signs.size() - 1;
            QStringList words = {letter + sign, u"ರ್"_s + letter + sign, letter + u"್ಯ"_s + sign};
            if (!halant)
                words << letter + sign + u"ಂ"_s << u"ಸ್"_s + letter + u"್ರ"_s + sign + u"ಃ"_s;
            for (const QString &word : words) {
                const kn::Conversion legacy = kn::fromUnicode(word);
                ASSERT_EQ(legacy.unconverted, 0) << word.toStdString();
                const kn::Conversion back = kn::toUnicode(legacy.text);
                EXPECT_EQ(back.text, word) << word.toStdString() << " written " << legacy.text.toStdString();
                EXPECT_EQ(back.unconverted, 0) << legacy.text.toStdString();
                EXPECT_EQ(kn::fromUnicode(back.text).text, legacy.text);
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 2000);
}

// Legacy codes the way clerks type them differ from the canonical order in places;
// they still read right.
TEST(KannadaText, ReadsSignsTypedInAnyOrderAndSkipsSpacers)
{
    EXPECT_EQ(kn::readable(u"PÀÌÄ"_s), u"ಕ್ಕು"_s);                // u typed after the subjoined letter
    EXPECT_EQ(kn::readable(u"PÉÌÆ"_s), u"ಕ್ಕೊ"_s);                // o likewise
    EXPECT_EQ(kn::readable(u"®PÀëöå"_s), u"ಲಕ್ಷ್ಯ"_s);             // the spacer ö moves a glyph, nothing more
    EXPECT_EQ(kn::readable(u"¸ÉÖçöÊmï"_s), u"ಸ್ಟ್ರೈಟ್"_s);          // the second shape of the subjoined ra
    EXPECT_EQ(kn::readable(u"PÀðA"_s), kn::readable(u"PÀAð"_s)); // reph and anusvara in either order
}

struct BadInput
{
    const char *name;
    QString legacy;
    QString unicode;
    int unconverted;
};

void PrintTo(const BadInput &b, std::ostream *os) { *os << b.name; }

const BadInput kBadLegacy[] = {
    {"empty", QString(), QString(), 0},
    {"stray head stroke", u"À"_s, u"À"_s, 1},
    {"stray length mark after a letter", u"PÀÃ"_s, u"ಕÃ"_s, 1},
    {"vowel sign before any letter", u"Ä£À"_s, u"Äನ"_s, 1},
    {"consonant body with no sign", u"P"_s, u"P"_s, 1},
    {"dangling halant ends the word", u"¥ÀA¥ï"_s, u"ಪಂಪ್"_s, 0},
    {"halant with nothing before it", u"ï"_s, u"ï"_s, 1},
    {"digits and punctuation mean themselves", u"12/05/2024 (B.Sc.)"_s, u"12/05/2024 (B.Sಛಿ.)"_s, 2},
    {"undefined code", QString(QChar(0x8D)) + u"PÀ"_s, QString(QChar(0x8D)) + u"ಕ"_s, 1},
    {"aspiration mark alone", u"s"_s, u"s"_s, 1},
};

using BadLegacy = testing::TestWithParam<BadInput>;

TEST_P(BadLegacy, PassesThroughCountedNeverDropped)
{
    const BadInput &b = GetParam();
    const kn::Conversion read = kn::toUnicode(b.legacy);
    EXPECT_EQ(read.text, b.unicode);
    EXPECT_EQ(read.unconverted, b.unconverted);
    EXPECT_EQ(read.firstUnconverted.isEmpty(), b.unconverted == 0);
}

INSTANTIATE_TEST_SUITE_P(Legacy, BadLegacy, testing::ValuesIn(kBadLegacy));

TEST(KannadaText, UnicodeOutsideKannadaIsCountedAndFlaggedWhenItCannotBeStored)
{
    const kn::Conversion latin = kn::fromUnicode(u"ರಾಮ B.Sc"_s);
    EXPECT_EQ(latin.text, u"gÁªÀÄ B.Sc"_s);
    EXPECT_EQ(latin.unconverted, 3);
    EXPECT_EQ(latin.firstUnconverted, u"B"_s);
    EXPECT_TRUE(latin.eightBit);

    const kn::Conversion devanagari = kn::fromUnicode(u"ರಾಮ B. राम"_s);
    EXPECT_FALSE(devanagari.eightBit);
    EXPECT_EQ(devanagari.firstUnconverted, u"B"_s);
    EXPECT_EQ(devanagari.firstNotEightBit, u"र"_s);

    // What a clerk gives a Kannada column: Unicode becomes codes, codes stay, other scripts are flagged.
    EXPECT_EQ(kn::toStoredCodes(u"ರಾಮ"_s).text, u"gÁªÀÄ"_s);
    EXPECT_EQ(kn::toStoredCodes(u"gÁªÀÄ"_s).text, u"gÁªÀÄ"_s);
    EXPECT_TRUE(kn::toStoredCodes(u"gÁªÀÄ"_s).eightBit);
    EXPECT_FALSE(kn::toStoredCodes(u"gÁ सीता"_s).eightBit);
    EXPECT_EQ(kn::toStoredCodes(u"gÁ सीता"_s).firstNotEightBit, u"स"_s);

    const kn::Conversion straySign = kn::fromUnicode(u"\u0CBEಕ"_s);
    EXPECT_FALSE(straySign.eightBit);
    EXPECT_EQ(straySign.unconverted, 1);
}

TEST(KannadaText, TheKannadaDigitFontReadsDigitsAsKannadaDigits)
{
    EXPECT_EQ(kn::readable(u"2024"_s, kn::LegacyFont::NudiK), u"೨೦೨೪"_s);
    EXPECT_EQ(kn::readable(u"2024"_s, kn::LegacyFont::NudiE), u"2024"_s);
    EXPECT_EQ(kn::fromUnicode(u"೨೦೨೪"_s).text, u"2024"_s);
    EXPECT_EQ(kn::legacyFont(u"nudi 01 K"_s), kn::LegacyFont::NudiK);
    EXPECT_EQ(kn::legacyFont(u"BRH Kannada"_s), kn::LegacyFont::Brh);
    EXPECT_FALSE(kn::legacyFont(u"Arial"_s).has_value());
}

// A value as wide as its column (60 codes) reads and writes back whole.
TEST(KannadaText, ValueAtTheColumnWidthRoundTrips)
{
    QString legacy;
    while (legacy.size() + 9 <= 60)
        legacy += u"¸ÀÆAiÀÄð "_s;
    legacy += u"¥ÀA¥ï"_s.left(60 - legacy.size());
    const QString reading = kn::readable(legacy);
    EXPECT_TRUE(sw::legacytext::isEightBit(kn::fromUnicode(reading).text));
    EXPECT_EQ(kn::fromUnicode(reading).text, legacy);
}

} // namespace
