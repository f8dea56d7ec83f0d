// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/imports/importscreens.h"

#include "shell/forms/screenregistry.h"

namespace sw {

void registerImportScreens(ScreenRegistry &)
{
}

} // namespace sw
