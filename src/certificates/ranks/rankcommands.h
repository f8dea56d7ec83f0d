// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace sw {

class BatchTool;

// rank add, rank list, awards import.
void addRankCommands(BatchTool &tool);

} // namespace sw
