// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

namespace sw {

class BatchContext;
class BatchTool;

// Delivers a text report written by `write` to the path it is given: to --out as
// it stands, to --out as a PDF when --out ends in .pdf, or to standard output when
// there is no --out. Messages and questions go to standard error, never into the
// report. Returns the command's exit code (refused when `write` wrote nothing).
int deliverTextReport(BatchContext &c, const QString &out, const std::function<bool(const QString &)> &write);

// The command-line commands of the reports subsystem's screens.
void addReportsCommands(BatchTool &tool);

} // namespace sw
