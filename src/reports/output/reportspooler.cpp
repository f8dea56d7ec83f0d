// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/output/reportspooler.h"

#include "reports/output/reportpaper.h"
#include "reports/output/reportpreview.h"
#include "shell/core/stoperror.h"

#include <QProcess>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace sw {

QString ReportSpooler::command() { return QStandardPaths::findExecutable(u"lp"_s); }

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
    // The file goes as it is (a line printer's queue prints it in its own pitch); a
    // queue that typesets text takes the paper and pitch at which no line wraps and
    // every page keeps to its sheet.
    for (const QString &option : ReportPaper::fitting(ReportPreview::load(reportFile)).printOptions())
        arguments << u"-o"_s << option;
    arguments << reportFile;
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
