// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace sw {

class ScreenRegistry;

// Registers the candidate entry and search screens in the main window's registry, by menu code.
void registerEntryScreens(ScreenRegistry &screens);

} // namespace sw
