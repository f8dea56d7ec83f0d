// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace sw {

class ScreenRegistry;

// Registers the certificates subsystem's screens in the main window's registry.
void registerCertificatesScreens(ScreenRegistry &screens);

} // namespace sw
