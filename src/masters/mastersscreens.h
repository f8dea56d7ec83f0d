// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace sw {

class ScreenRegistry;

// Registers the screens of the masters in the main window's registry, by menu code.
void registerMastersScreens(ScreenRegistry &screens);

} // namespace sw
