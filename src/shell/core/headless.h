// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace sw {

// Before the Qt application object exists: choose the offscreen platform when there
// is no display (documents are composed with Qt's painter, which needs a GUI
// application), and give Qt a private runtime folder when none is set, as under cron or CI.
void prepareHeadlessEnvironment();

} // namespace sw
