// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace sw {

class Session;

// Every import that reached the database leaves a line in the audit trail: who
// imported which file (or the portal), of what kind, and its counts.
void recordImport(Session &session, const QString &kind, const QString &source, const QString &counts);

} // namespace sw
