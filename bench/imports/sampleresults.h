// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace sw {
class Database;
}

namespace sw::bench {

// Writes a candidates result file of `records` rows as a university's result section
// sends them: ordered by college and register number, about a hundred colleges,
// a dozen degrees, some sub-degrees, names with apostrophes and blanks. A corrected
// file (`corrected`) has the same candidates with every name and class changed, so
// its import refreshes every row.
void writeSampleResults(const QString &path, int records, bool corrected = false);

// The degrees, colleges and classes the sample's candidates refer to.
void seedSampleMasters(Database &db);

} // namespace sw::bench
