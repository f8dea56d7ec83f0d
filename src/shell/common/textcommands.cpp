// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/common/textcommands.h"

#include "shell/batch/batchcommand.h"
#include "shell/common/numberwords.h"
#include "shell/core/kannadatext.h"
#include "shell/core/legacytext.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

int runWords(BatchContext &c)
{
    if (c.args.positionals.size() != 1)
        throw UsageError(u"words needs one amount: scrollwise-batch words AMOUNT"_s);
    const QString amount = c.args.positionals.first();
    const auto words = amountInWords(amount);
    if (!words)
        throw UsageError(u"words: \""_s + amount
                         + u"\" is not an amount: give digits with at most two decimals, for example 125000.50"_s);
    c.out << *words << Qt::endl;
    return batchexit::kOk;
}

// Legacy-font Kannada and Unicode, either way. Text on the command line is the
// characters of the legacy codes (as the database holds them), or Unicode Kannada.
int runKannada(BatchContext &c)
{
    const int given =
        int(c.args.has(u"to-unicode"_s)) + int(c.args.has(u"from-unicode"_s)) + int(c.args.has(u"file"_s));
    if (given != 1 || !c.args.positionals.isEmpty())
        throw UsageError(u"kannada needs one of --to-unicode TEXT, --from-unicode TEXT, --file FILE"_s);
    const QString fontName = c.args.value(u"font"_s, u"Nudi 01 e"_s);
    const auto font = kannada::legacyFont(fontName);
    if (!font)
        throw UsageError(u"--font takes \"Nudi 01 e\", \"Nudi 01 k\" or \"BRH Kannada\", not \""_s + fontName + u'"');
    auto note = [&c](const kannada::Conversion &r) {
        if (r.unconverted > 0)
            c.err << r.unconverted << u" character(s) are not Kannada and were kept as they are (the first: \""_s
                  << r.firstUnconverted << u"\")"_s << Qt::endl;
    };
    if (c.args.has(u"from-unicode"_s)) {
        const kannada::Conversion r = kannada::fromUnicode(c.args.value(u"from-unicode"_s));
        if (!r.eightBit) {
            c.err << u"\""_s << r.firstNotEightBit
                  << u"\" cannot be written in the legacy Kannada codes: only "
                     "Kannada, digits, punctuation and Latin letters can."_s
                  << Qt::endl;
            return batchexit::kRefused;
        }
        note(r);
        c.out << r.text << Qt::endl;
        return batchexit::kOk;
    }
    QString legacy = c.args.value(u"to-unicode"_s);
    if (c.args.has(u"file"_s)) {
        QFile file(c.args.value(u"file"_s));
        if (!file.open(QIODevice::ReadOnly)) {
            c.err << u"The file "_s << file.fileName() << u" cannot be read: "_s << file.errorString() << Qt::endl;
            return batchexit::kRefused;
        }
        legacy = legacytext::fromBytes(file.readAll());
    }
    const kannada::Conversion r = kannada::toUnicode(legacy, *font);
    note(r);
    c.out << r.text;
    if (!r.text.endsWith(u'\n'))
        c.out << Qt::endl;
    c.out.flush();
    return batchexit::kOk;
}

} // namespace

void addTextCommands(BatchTool &tool)
{
    tool.add(
        {.name = u"kannada"_s,
         .summary = u"Reads legacy-font Kannada as Unicode, or writes Unicode Kannada as the legacy codes."_s,
         .options = {{u"to-unicode"_s, u"TEXT"_s, u"the characters of the legacy codes, as the database holds them"_s},
                     {u"from-unicode"_s, u"TEXT"_s, u"Unicode Kannada: prints the legacy codes it is stored as"_s},
                     {u"file"_s, u"FILE"_s, u"a file of legacy codes (bytes): prints its Unicode reading"_s},
                     {u"font"_s, u"NAME"_s,
                      u"the legacy font of the text (\"Nudi 01 e\" unless given; \"Nudi 01 k\" reads "
                      "digits as Kannada digits)"_s}},
         .run = runKannada});
    tool.add(
        {.name = u"words"_s,
         .arguments = u"AMOUNT"_s,
         .summary = u"Prints an amount in words in the Indian system (crore, lakh, thousand; paise after the point)."_s,
         .run = runWords});
}

} // namespace sw
