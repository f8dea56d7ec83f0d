// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace sw {

class ScreenRegistry;

// Registers the import screens in the main window's registry, by menu code.
void registerImportScreens(ScreenRegistry &screens);

} // namespace sw
