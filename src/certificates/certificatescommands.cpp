// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/certificatescommands.h"

#include "shell/batch/batchcommand.h"

namespace sw {

void addCertificatesCommands(BatchTool &)
{
}

} // namespace sw
