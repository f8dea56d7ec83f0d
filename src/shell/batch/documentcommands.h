// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace sw {

class BatchTool;

// fonts, printers, render.
void addDocumentCommands(BatchTool &tool);

} // namespace sw
