// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/printing/printselection.h"

using namespace Qt::StringLiterals;

namespace sw {

void PrintSelection::expandAllRanges()
{
    if (collegeFrom.trimmed() == u"0"_s) {
        collegeFrom = u"0000"_s;
        collegeTo = u"ZZZZ"_s;
    }
    if (regnoFrom.trimmed() == u"0"_s) {
        regnoFrom = u"00000000"_s;
        regnoTo = u"ZZZZZZZZ"_s;
    }
}

QString PrintSelection::certificateNumber(long long running) const
{
    return prefix + QStringLiteral("%1").arg(running, 6, 10, QLatin1Char('0'));
}

QString PrintSelection::numbersOf(long long count) const
{
    const QString first = certificateNumber(start());
    if (count == 1)
        return u"1 certificate, "_s + first;
    return QString::number(count) + u" certificates, "_s + first + u" to "_s + certificateNumber(start() + count - 1);
}

} // namespace sw
