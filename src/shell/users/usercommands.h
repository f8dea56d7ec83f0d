// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace sw {

class BatchTool;

// users add|list|permit|passwd of the command-line tool.
void addUserCommands(BatchTool &tool);

} // namespace sw
