// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/lists/certprintedlist.h"
#include "reports/lists/otherlists.h"
#include "shell/batch/batchcommand.h"

#include <initializer_list>
#include <vector>

namespace sw::reportoptions {

// --degree-from/--degree-to and --college-from/--college-to, every one when not given.
const std::vector<BatchOption> &ranges();
// --from/--to, the two dates a list of printed or cancelled certificates runs between.
const std::vector<BatchOption> &dates();
std::vector<BatchOption> joined(std::initializer_list<std::vector<BatchOption>> parts);

RangeSelection rangeSelection(BatchContext &c);
// The ranges and the two dates; a date that is missing or wrong stops the command and
// says which values it was given.
PrintedListSelection printedSelection(BatchContext &c);

} // namespace sw::reportoptions
