// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace sw {

class BatchTool;

// The command-line commands of the result-file, autonomous and online imports.
void addImportCommands(BatchTool &tool);

} // namespace sw
