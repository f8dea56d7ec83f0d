// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace sw {

class BatchTool;

// The command-line commands of the certificates subsystem's screens.
void addCertificatesCommands(BatchTool &tool);

} // namespace sw
