// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace sw {

// Hands a text report to the operating system's print command: CUPS's `lp`, with
// the printer named in the configuration or the system's default printer, and the
// paper and pitch of ReportPaper for CUPS's text filter.
class ReportSpooler
{
public:
    // Throws StopError when there is no print command or it refuses the file.
    static void print(const QString &reportFile, const QString &printer = {});
    // The print command's path, empty when CUPS's client is not installed.
    static QString command();
};

} // namespace sw
