// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace sw {

class ScreenRegistry;

// The GUI program: splash, start-up, login, main window. Returns the exit code.
//   --folder DIR         the application folder
//   --exit-at-login      stop as soon as the login window is ready (prints the time taken)
//   --screenshot FILE    save the login window as a PNG and stop
// `screens` holds the screens the subsystems offer (see shell/forms/screenregistry.h).
int runGui(int argc, char **argv, const ScreenRegistry &screens);

} // namespace sw
