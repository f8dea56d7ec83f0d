// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/verification/verificationscreens.h"

#include "shell/forms/screenregistry.h"

namespace sw {

void registerVerificationScreens(ScreenRegistry &)
{
}

} // namespace sw
