// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/entry/entrycommands.h"

#include "shell/batch/batchcommand.h"

namespace sw {

void addEntryCommands(BatchTool &)
{
}

} // namespace sw
