// SPDX-License-Identifier: GPL-3.0-or-later
// An autonomous college's "|" file is typed or exported by hand. The parser must
// refuse a malformed file naming the line, or give lines whose register numbers all
// carry the "ZQ" prefix and whose names hold no apostrophe.
#include "candidates/imports/autonomousimport.h"
#include "candidates/imports/importerror.h"
#include "fuzzsupport.h"

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = sw::fuzz::writeScratch(u"AUTO.TXT"_s, sw::fuzz::bytes(data, size));
    try {
        const std::vector<sw::AutonomousLine> lines = sw::parseAutonomousFile(path);
        int previous = 0;
        for (const sw::AutonomousLine &l : lines) {
            sw::fuzz::require(l.line > previous);
            previous = l.line;
            sw::fuzz::require(l.regno.startsWith(u"ZQ"_s));
            sw::fuzz::require(!l.name.contains(u'\''));
        }
    } catch (const sw::ImportFailure &e) {
        sw::fuzz::require(e.place().file == u"AUTO.TXT"_s);
        sw::fuzz::require(e.place().record > 0);
        sw::fuzz::require(!e.text().isEmpty());
    }
    return 0;
}
