// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/reportscommands.h"

#include "shell/batch/batchcommand.h"

namespace sw {

void addReportsCommands(BatchTool &)
{
}

} // namespace sw
