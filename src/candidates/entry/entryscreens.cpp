// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/entry/entryscreens.h"

#include "shell/forms/screenregistry.h"

namespace sw {

void registerEntryScreens(ScreenRegistry &)
{
}

} // namespace sw
