// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/reportsscreens.h"

#include "shell/forms/screenregistry.h"

namespace sw {

void registerReportsScreens(ScreenRegistry &)
{
}

} // namespace sw
