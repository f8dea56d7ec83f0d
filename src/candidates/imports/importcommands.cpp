// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/imports/importcommands.h"

#include "shell/batch/batchcommand.h"

namespace sw {

void addImportCommands(BatchTool &)
{
}

} // namespace sw
