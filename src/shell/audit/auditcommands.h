// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace sw {

class BatchTool;

// "audit": lists the audit trail (ADMIN only).
void addAuditCommands(BatchTool &tool);

} // namespace sw
