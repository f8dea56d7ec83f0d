// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace sw {

class BatchTool;

// The command-line commands of candidate entry, search, and their records.
void addEntryCommands(BatchTool &tool);

} // namespace sw
