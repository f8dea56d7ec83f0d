// SPDX-License-Identifier: GPL-3.0-or-later
// The Kannada converter, both ways, on any text: it never loses a character it cannot
// read (it copies and counts it), and a valid text read and written back reads again
// as the same Unicode (and a written text writes again as the same codes).
#include "fuzzsupport.h"
#include "shell/core/kannadatext.h"
#include "shell/core/legacytext.h"

using namespace Qt::StringLiterals;
namespace kn = sw::kannada;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = sw::fuzz::bytes(data, size);

    // As legacy codes, the way the database holds them.
    const QString legacy = sw::legacytext::fromBytes(input);
    for (const auto font : {kn::LegacyFont::NudiE, kn::LegacyFont::NudiK}) {
        const kn::Conversion read = kn::toUnicode(legacy, font);
        sw::fuzz::require(read.unconverted <= legacy.size());
        sw::fuzz::require((read.unconverted == 0) == read.firstUnconverted.isEmpty());
        if (read.unconverted == 0 && font == kn::LegacyFont::NudiE) {
            const kn::Conversion written = kn::fromUnicode(read.text);
            sw::fuzz::require(written.eightBit);
            sw::fuzz::require(kn::toUnicode(written.text).text == read.text);
        }
    }

    // As Unicode typed by a clerk.
    const QString typed = QString::fromUtf8(input);
    const kn::Conversion written = kn::fromUnicode(typed);
    if (written.eightBit) {
        sw::fuzz::require(sw::legacytext::isEightBit(written.text));
        if (written.unconverted == 0)
            sw::fuzz::require(kn::fromUnicode(kn::toUnicode(written.text).text).text == written.text);
    }
    return 0;
}
