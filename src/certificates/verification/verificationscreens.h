// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace sw {

class ScreenRegistry;

// Registers the fee verification and activation screens in the main window's registry, by menu code.
void registerVerificationScreens(ScreenRegistry &screens);

} // namespace sw
