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
};

// "demo DIR".
void addDemoCommand(BatchTool &tool);

} // namespace sw
