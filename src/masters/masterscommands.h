// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace sw {

class BatchTool;

// The command-line commands of the masters subsystem's screens.
void addMastersCommands(BatchTool &tool);

} // namespace sw
