// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/candidatesscreens.h"
#include "certificates/certificatesscreens.h"
#include "masters/mastersscreens.h"
#include "reports/reportsscreens.h"
#include "shell/forms/screenregistry.h"
#include "shell/shellscreens.h"
#include "shell/ui/guiapplication.h"

int main(int argc, char **argv)
{
    // Menu codes without a screen open a "not yet available" child.
    sw::ScreenRegistry screens;
    sw::registerShellScreens(screens);
    sw::registerMastersScreens(screens);
    sw::registerCandidatesScreens(screens);
    sw::registerCertificatesScreens(screens);
    sw::registerReportsScreens(screens);
    return sw::runGui(argc, argv, screens);
}
