// SPDX-License-Identifier: GPL-3.0-or-later
#include "masters/mastersscreens.h"

#include "shell/forms/screenregistry.h"

namespace sw {

void registerMastersScreens(ScreenRegistry &)
{
}

} // namespace sw
