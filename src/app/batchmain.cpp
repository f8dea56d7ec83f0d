// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/demo/demofolder.h"
#include "candidates/candidatescommands.h"
#include "certificates/certificatescommands.h"
#include "masters/masterscommands.h"
#include "reports/reportscommands.h"
#include "shell/batch/batchcommand.h"
#include "shell/batch/shellcommands.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

#include <unistd.h>

#include <cstdio>

int main(int argc, char **argv)
{
    // Documents are composed with Qt's painter, which needs a GUI application;
    // without a display the offscreen platform serves.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt warns on every start when the runtime folder is not set, as under cron or CI.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString runtime = QDir::tempPath() + QStringLiteral("/scrollwise-runtime-") + QString::number(getuid());
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    }
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("scrollwise-batch"));

    QTextStream out(stdout);
    QTextStream err(stderr);
    sw::BatchTool tool;
    sw::addShellCommands(tool);
    sw::addMastersCommands(tool);
    sw::addCandidatesCommands(tool);
    sw::addCertificatesCommands(tool);
    sw::addReportsCommands(tool);
    sw::addDemoCommand(tool);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    return tool.main(arguments, out, err);
}
