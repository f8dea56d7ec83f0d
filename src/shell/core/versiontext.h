// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace sw {

// The program's version text: major.minor.revision without leading zeros.
QString programVersion();

enum class VersionOrder { DatabaseOlder, Equal, DatabaseNewer };

// Versions are compared as plain text, character by character: "1.0.10" sorts
// before "1.0.9", so a database stamped 1.0.9 counts as newer than program 1.0.10.
VersionOrder compareVersionText(const QString &program, const QString &database);

} // namespace sw
