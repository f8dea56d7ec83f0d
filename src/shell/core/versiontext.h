// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace sw {

// The program's version text: major.minor.revision without leading zeros.
QString programVersion();

enum class VersionOrder { DatabaseOlder, Equal, DatabaseNewer };

// Versions are compared part by part as numbers: a database stamped 1.0.9 is older
// than program 1.0.10. A missing part counts as 0; an empty or unreadable stamp is
// older than any program, so the upgrade stamps it.
VersionOrder compareVersionText(const QString &program, const QString &database);

} // namespace sw
