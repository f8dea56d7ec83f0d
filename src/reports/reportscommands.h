// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace sw {

class BatchTool;

// The command-line commands of the reports subsystem's screens.
void addReportsCommands(BatchTool &tool);

} // namespace sw
