// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/forms/screenregistry.h"
#include "shell/ui/guiapplication.h"

int main(int argc, char **argv)
{
    // Each subsystem adds its screens here (registerMastersScreens(screens), ...);
    // menu codes without one open a "not yet available" child.
    sw::ScreenRegistry screens;
    return sw::runGui(argc, argv, screens);
}
