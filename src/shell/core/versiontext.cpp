// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/core/versiontext.h"

#include "shell/core/version.h"

namespace sw {

QString programVersion()
{
    return QString::fromLatin1(kVersionText);
}

VersionOrder compareVersionText(const QString &program, const QString &database)
{
    const int order = QString::compare(database, program, Qt::CaseSensitive);
    if (order < 0)
        return VersionOrder::DatabaseOlder;
    if (order > 0)
        return VersionOrder::DatabaseNewer;
    return VersionOrder::Equal;
}

} // namespace sw
