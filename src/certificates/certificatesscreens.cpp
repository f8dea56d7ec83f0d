// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/certificatesscreens.h"

#include "certificates/cancellation/cancellationscreens.h"
#include "certificates/printing/certificateprintscreen.h"
#include "certificates/printing/stationeryledger.h"
#include "certificates/ranks/rankscreens.h"
#include "certificates/reccert/recentcertificatesform.h"
#include "certificates/verification/verificationscreens.h"
#include "shell/forms/screenregistry.h"

namespace sw {

void registerCertificatesScreens(ScreenRegistry &screens)
{
    registerVerificationScreens(screens);
    registerPrintingScreens(screens);
    registerRecentCertificatesScreens(screens);
    registerRankScreens(screens);
    registerCancellationScreens(screens);
    screens.addSessionSetup(installNumberAuthority);
}

} // namespace sw
