// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/core/versiontext.h"

#include "shell/core/version.h"

#include <QList>
#include <QStringList>

namespace sw {

namespace {
// The numbers of a version text; empty when it is not one.
QList<qlonglong> versionNumbers(const QString &text)
{
    QList<qlonglong> numbers;
    const QStringList parts = text.trimmed().split(u'.');
    for (const QString &part : parts) {
        bool ok = false;
        const qlonglong n = part.toLongLong(&ok);
        if (!ok || n < 0)
            return {};
        numbers.append(n);
    }
    return numbers;
}
} // namespace

QString programVersion() { return QString::fromLatin1(kVersionText); }

VersionOrder compareVersionText(const QString &program, const QString &database)
{
    const QList<qlonglong> p = versionNumbers(program);
    const QList<qlonglong> d = versionNumbers(database);
    if (d.isEmpty())
        return p.isEmpty() ? VersionOrder::Equal : VersionOrder::DatabaseOlder;
    for (qsizetype i = 0; i < std::max(p.size(), d.size()); ++i) {
        const qlonglong pi = i < p.size() ? p.at(i) : 0;
        const qlonglong di = i < d.size() ? d.at(i) : 0;
        if (di < pi)
            return VersionOrder::DatabaseOlder;
        if (di > pi)
            return VersionOrder::DatabaseNewer;
    }
    return VersionOrder::Equal;
}

} // namespace sw
