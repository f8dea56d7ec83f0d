// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace sw::ranges {

// The report screens' rule for a range of codes: a blank (or "0") first field means
// the whole range from `low` to `high`; a first field alone is also the last.
inline void complete(QString &from, QString &to, const QString &low, const QString &high)
{
    from = from.trimmed();
    to = to.trimmed();
    if (from.isEmpty() || from == QStringLiteral("0")) {
        from = low;
        to = high;
    } else if (to.isEmpty()) {
        to = from;
    }
}

inline void degrees(QString &from, QString &to)
{
    complete(from, to, QStringLiteral("00000"), QStringLiteral("ZZZZZ"));
}

inline void colleges(QString &from, QString &to) { complete(from, to, QStringLiteral("0000"), QStringLiteral("ZZZZ")); }

} // namespace sw::ranges
