// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/appfolder.h"

#include <QStringList>

namespace sw {

class BatchTool;
class Prompter;

// Builds a complete demonstration application folder on SQLite: institution 003 with
// its settings row and institution file, two convocations, universities, colleges,
// classes, degrees with and without speciality, a Kannada name library, about three
// hundred candidates spread over every state of their road (imported, fee verified,
// active, printed, cancelled), online fee payments, photographs for most candidates,
// and the seal, signature and background pictures. The data is the same on every run.
// The masters and the candidates are also written as result files (".cnv") under DBFS/,
// one candidates file per convocation, so a folder can be refilled by importing them:
// DEMODEG.cnv and DEMOCOL.cnv, then C024STU.cnv logged in to C024 and C025STU.cnv to C025.
class DemoFolder
{
public:
    struct Summary
    {
        QStringList lines;
    };

    // Refuses (StopError) a folder that already holds a database: the demo never
    // overwrites an installation.
    static Summary build(const AppFolder &folder, Prompter &prompter);

    static constexpr int kCandidates = 300;
    static QString currentConvocation() { return QStringLiteral("C025"); }
    static QString previousConvocation() { return QStringLiteral("C024"); }
    // Where the result files are written, below the application folder, and the
    // candidates file of a convocation ("C025STU.cnv").
    static QString resultFolder() { return QStringLiteral("DBFS"); }
    static QString resultFileName(const QString &convocation) { return convocation + QStringLiteral("STU.cnv"); }
};

// "demo DIR".
void addDemoCommand(BatchTool &tool);

} // namespace sw
