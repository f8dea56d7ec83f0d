// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace sw {

class BatchTool;

// print, pdf, preview and stationery: the printing screen's runs and the stationery register.
void addPrintingCommands(BatchTool &tool);

} // namespace sw
