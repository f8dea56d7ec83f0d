// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/certificatescommands.h"

#include "certificates/printing/printingcommands.h"
#include "certificates/verification/verificationcommands.h"
#include "shell/batch/batchcommand.h"

namespace sw {

void addCertificatesCommands(BatchTool &tool)
{
    addVerificationCommands(tool);
    addPrintingCommands(tool);
}

} // namespace sw
