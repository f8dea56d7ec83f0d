// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/appfolder.h"
#include "shell/session.h"

namespace sw::bench {

// The demonstration folder built in `folder` and an administrator's session on its
// database in the current convocation: what the certificate benchmarks measure on.
Session demoSession(const AppFolder &folder);

} // namespace sw::bench
