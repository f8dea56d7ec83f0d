// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/demo/demofolder.h"
#include "candidates/candidatescommands.h"
#include "certificates/certificatescommands.h"
#include "masters/masterscommands.h"
#include "reports/reportscommands.h"
#include "shell/batch/batchcommand.h"
#include "shell/batch/shellcommands.h"
#include "shell/core/headless.h"

#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char **argv)
{
    sw::prepareHeadlessEnvironment();
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
