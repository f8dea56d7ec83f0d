// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/candidatescommands.h"

#include "shell/batch/batchcommand.h"

namespace sw {

void addCandidatesCommands(BatchTool &)
{
}

} // namespace sw
