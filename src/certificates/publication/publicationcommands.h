// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace sw {

class BatchTool;

// status-list, verify-page and hold: what the institution publishes for the people who
// check its certificates, and the holds it puts on them.
void addPublicationCommands(BatchTool &tool);

} // namespace sw
