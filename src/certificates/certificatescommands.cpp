// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/certificatescommands.h"

#include "certificates/cancellation/cancellationcommands.h"
#include "certificates/printing/printingcommands.h"
#include "certificates/printing/stationeryledger.h"
#include "certificates/publication/publicationcommands.h"
#include "certificates/ranks/rankcommands.h"
#include "certificates/verification/verificationcommands.h"
#include "shell/batch/batchcommand.h"

namespace sw {

void addCertificatesCommands(BatchTool &tool)
{
    addVerificationCommands(tool);
    addPrintingCommands(tool);
    addRankCommands(tool);
    addCancellationCommands(tool);
    addPublicationCommands(tool);
    tool.addSessionSetup(installNumberAuthority);
}

} // namespace sw
