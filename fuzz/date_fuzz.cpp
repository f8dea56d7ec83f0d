// SPDX-License-Identifier: GPL-3.0-or-later
// The dd/mm/yyyy parser behind every date box and file date: any text either is
// refused or gives a real date that prints back and parses to itself.
#include "fuzzsupport.h"
#include "shell/core/dates.h"

#include <QDate>

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input = sw::fuzz::bytes(data, size);
    for (const QString &text : {QString::fromUtf8(input), QString::fromLatin1(input)}) {
        const QDate date = sw::parseDmy(text);
        if (!date.isValid()) {
            sw::fuzz::require(sw::formatDmy(date).isEmpty());
            continue;
        }
        sw::fuzz::require(date.year() >= 0 && date.year() <= 9999);
        const QString printed = sw::formatDmy(date);
        sw::fuzz::require(printed.size() == 10);
        sw::fuzz::require(sw::parseDmy(printed) == date);
    }
    return 0;
}
