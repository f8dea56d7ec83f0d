// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace sw {

class ScreenRegistry;

// Registers the candidates subsystem's screens in the main window's registry.
void registerCandidatesScreens(ScreenRegistry &screens);

} // namespace sw
