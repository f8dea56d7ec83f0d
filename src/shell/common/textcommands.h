// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace sw {

class BatchTool;

// "words" (an amount in words) and "kannada" (legacy-font Kannada read as Unicode and
// back): the text routines a script or a clerk at a terminal may want on their own.
void addTextCommands(BatchTool &tool);

} // namespace sw
