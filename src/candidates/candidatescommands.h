// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace sw {

class BatchTool;

// The command-line commands of the candidates subsystem's screens.
void addCandidatesCommands(BatchTool &tool);

} // namespace sw
