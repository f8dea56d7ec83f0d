// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/candidatescommands.h"

#include "candidates/entry/entrycommands.h"
#include "candidates/imports/importcommands.h"
#include "shell/batch/batchcommand.h"

namespace sw {

void addCandidatesCommands(BatchTool &tool)
{
    addEntryCommands(tool);
    addImportCommands(tool);
}

} // namespace sw
