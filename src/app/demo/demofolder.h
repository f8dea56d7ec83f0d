// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/appfolder.h"

#include <QStringList>

namespace sw {

class BatchTool;
class Prompter;

// Builds a complete demonstration application folder on SQLite.
class DemoFolder
{
public:
    struct Summary
    {
        QStringList lines;
    };
    static Summary build(const AppFolder &folder, Prompter &prompter);
};

// "demo DIR".
void addDemoCommand(BatchTool &tool);

} // namespace sw
