// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace sw {

class ScreenRegistry;

// CERTCAN (N25) and CERTCANRANGE (N29).
void registerCancellationScreens(ScreenRegistry &screens);

} // namespace sw
