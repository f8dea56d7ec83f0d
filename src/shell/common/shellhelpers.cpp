// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/common/shellhelpers.h"

#include "shell/db/database.h"

#include <QTableWidget>

using namespace Qt::StringLiterals;

namespace sw {

QString firstOfNextMonth(const QString &dmy)
{
    const QDate date = parseDmy(dmy);
    if (!date.isValid())
        return {};
    return formatDmy(QDate(date.year(), date.month(), 1).addMonths(1));
}

CommandLine splitCommandLine(const QString &commandLine)
{
    const QString line = commandLine.trimmed();
    if (line.startsWith(u'"')) {
        const qsizetype close = line.indexOf(u'"', 1);
        if (close < 0)
            return {line.mid(1), {}};
        return {line.mid(1, close - 1), line.mid(close + 1).trimmed()};
    }
    const qsizetype blank = line.indexOf(u' ');
    if (blank < 0)
        return {line, {}};
    return {line.left(blank), line.mid(blank + 1).trimmed()};
}

QString folderOf(const QString &path)
{
    const qsizetype at = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    return at < 0 ? QString() : path.left(at);
}

void clearGrid(QTableWidget *grid)
{
    grid->clearContents();
    grid->setRowCount(0);
}

} // namespace sw
