// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace sw {

class BatchTool;

// cancel, cancel-range.
void addCancellationCommands(BatchTool &tool);

} // namespace sw
