// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace sw {

class BatchTool;

// "menu": the menu tree as a user sees it.
void addFormsCommands(BatchTool &tool);

} // namespace sw
