// SPDX-License-Identifier: GPL-3.0-or-later
#include "masters/masterscommands.h"

#include "shell/batch/batchcommand.h"

namespace sw {

void addMastersCommands(BatchTool &)
{
}

} // namespace sw
