// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/verification/verificationcommands.h"

#include "shell/batch/batchcommand.h"

namespace sw {

void addVerificationCommands(BatchTool &)
{
}

} // namespace sw
