// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/verification/verificationscreens.h"

#include "certificates/verification/gateform.h"
#include "shell/forms/screenregistry.h"

using namespace Qt::StringLiterals;

namespace sw {

void registerVerificationScreens(ScreenRegistry &screens)
{
    screens.add(u"N2E"_s, {u"VERIFY"_s, false,
                           [](const FormContext &c, const QString &) { return new GateForm(c, Gate::Verification); }});
    screens.add(u"N23"_s, {u"ACTIVATE"_s, false,
                           [](const FormContext &c, const QString &) { return new GateForm(c, Gate::Activation); }});
}

} // namespace sw
