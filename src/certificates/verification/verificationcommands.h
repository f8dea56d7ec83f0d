// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace sw {

class BatchTool;

// The command-line commands of fee verification and activation.
void addVerificationCommands(BatchTool &tool);

} // namespace sw
