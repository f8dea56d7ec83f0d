// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace sw {

class BatchTool;

// help, init, upgrade, login-check.
void addShellCommands(BatchTool &tool);

} // namespace sw
