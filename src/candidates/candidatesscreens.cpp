// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/candidatesscreens.h"

#include "candidates/entry/entryscreens.h"
#include "candidates/imports/importscreens.h"

namespace sw {

void registerCandidatesScreens(ScreenRegistry &screens)
{
    registerEntryScreens(screens);
    registerImportScreens(screens);
}

} // namespace sw
