// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/guiapplication.h"

int main(int argc, char **argv)
{
    return sw::runGui(argc, argv);
}
