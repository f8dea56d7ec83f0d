// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/output/reportfile.h"

#include "shell/core/errortext.h"
#include "shell/core/stoperror.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace sw {

ReportFile::ReportFile(AppFolder folder)
    : m_folder(std::move(folder))
{
}

QString ReportFile::nameFor(int number)
{
    return u"REP"_s + QString::number(number).rightJustified(3, u'0') + u".Prn"_s;
}

QString ReportFile::path()
{
    if (isAllocated())
        return m_path;
    for (int n = 1; n <= kHighestNumber; ++n) {
        const QString candidate = m_folder.filePath(nameFor(n));
        if (QFile::exists(candidate))
            continue;
        // NewOnly: of two screens racing for the same number, one gets it and the other
        // goes on to the next.
        QFile file(candidate);
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            if (QFile::exists(candidate))
                continue;
            throw StopError(
                reportFileError(FileErrorNumber::PathAccess,
                                u"The report file "_s + candidate + u" cannot be created: "_s + file.errorString()));
        }
        m_path = candidate;
        return m_path;
    }
    throw StopError(
        reportFileError(FileErrorNumber::BadFileName, u"All report file names REP001.Prn to REP999.Prn are in use in "_s
                                                          + m_folder.root() + u"; delete the old ones."_s));
}

void ReportFile::remove()
{
    if (!isAllocated() || !QFile::exists(m_path))
        return;
    QFile file(m_path);
    if (!file.remove())
        throw StopError(reportFileError(FileErrorNumber::PathAccess, m_path, file.errorString()));
}

} // namespace sw
