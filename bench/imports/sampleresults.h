// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace sw::bench {

// Writes a candidates result file of `records` rows as a university's result section
// sends them: ordered by college and register number, about a hundred colleges,
// a dozen degrees, some sub-degrees, names with apostrophes and blanks.
void writeSampleResults(const QString &path, int records);

} // namespace sw::bench
