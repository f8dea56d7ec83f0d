// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace sw {

class BatchTool;

// The command-line commands of the depository export, the covering letters and the
// address labels: `nad-export`, `letters`, `labels`.
void addDispatchCommands(BatchTool &tool);

} // namespace sw
