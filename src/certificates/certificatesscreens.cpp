// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/certificatesscreens.h"

#include "certificates/verification/verificationscreens.h"

namespace sw {

void registerCertificatesScreens(ScreenRegistry &screens)
{
    registerVerificationScreens(screens);
}

} // namespace sw
