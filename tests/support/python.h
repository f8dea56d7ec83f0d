// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonObject>
#include <QStringList>

namespace sw::test {

// Runs a script with Debian's python3 (the one that has openpyxl and dbf) and reads
// the JSON object it prints; an empty object, with a test failure naming the
// script's error output, when it prints none.
QJsonObject runPython(const QString &script, const QStringList &arguments);

} // namespace sw::test
