// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace sw {

class ScreenRegistry;

// RANKREG (N2B).
void registerRankScreens(ScreenRegistry &screens);

} // namespace sw
