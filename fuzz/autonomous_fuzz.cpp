// SPDX-License-Identifier: GPL-3.0-or-later
// An autonomous college's "|" file is typed or exported by hand. The parser must give
// every candidate line in order: one it cannot read carries its problem, the others a
// register number that is empty or carries the "ZQ" prefix and a name without apostrophe.
#include "candidates/imports/autonomousimport.h"
#include "candidates/imports/importerror.h"
#include "fuzzsupport.h"

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = sw::fuzz::writeScratch(u"AUTO.TXT"_s, sw::fuzz::bytes(data, size));
    try {
        const sw::AutonomousFile file = sw::parseAutonomousFile(path);
        sw::fuzz::require(file.fieldNames.size() >= 18);
        int previous = 0;
        for (const sw::AutonomousLine &l : file.lines) {
            sw::fuzz::require(l.line > previous);
            previous = l.line;
            if (!l.problem.isEmpty())
                continue;
            sw::fuzz::require(l.regno.isEmpty() || l.regno.startsWith(u"ZQ"_s));
            sw::fuzz::require(!l.name.contains(u'\''));
        }
    } catch (const sw::ImportFailure &e) {
        sw::fuzz::require(e.place().file == u"AUTO.TXT"_s);
        sw::fuzz::require(e.place().record > 0);
        sw::fuzz::require(!e.text().isEmpty());
    }
    return 0;
}
