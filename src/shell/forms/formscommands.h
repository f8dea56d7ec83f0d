// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace sw {

class BatchTool;

// "menu" (the menu tree as a user sees it) and "words" (an amount in words).
void addFormsCommands(BatchTool &tool);

} // namespace sw
