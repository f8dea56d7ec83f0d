// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace sw {

class ScreenRegistry;

// The shell's own screens: the institution's details, the project settings, users and
// passwords, restore and the audit trail.
void registerShellScreens(ScreenRegistry &screens);

} // namespace sw
