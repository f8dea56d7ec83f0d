// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/output/reportspooler.h"

#include "shell/core/stoperror.h"

#include <QProcess>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace sw {

QString ReportSpooler::command()
{
    return QStandardPaths::findExecutable(u"lp"_s);
}

void ReportSpooler::print(const QString &reportFile, const QString &printer)
{
    const QString lp = command();
    if (lp.isEmpty())
        throw StopError(u"There is no print command (lp) on this computer: install the CUPS client, "
                        "or print through Windows (the document printer)."_s,
                        PromptIcon::Exclamation);
    QStringList arguments;
    if (!printer.trimmed().isEmpty())
        arguments << u"-d"_s << printer.trimmed();
    // Half-inch margins on A4, as the reports are laid out for.
    arguments << u"-o"_s << u"media=A4"_s << u"-o"_s << u"page-left=36"_s << u"-o"_s << u"page-top=36"_s
              << reportFile;
    QProcess process;
    process.start(lp, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QString reason = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        throw StopError(u"The report "_s + reportFile + u" could not be printed"_s
                            + (printer.isEmpty() ? QString() : u" on "_s + printer) + u": "_s
                            + (reason.isEmpty() ? process.errorString() : reason),
                        PromptIcon::Exclamation);
    }
}

} // namespace sw
