// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/ranks/rankscreens.h"

#include "certificates/ranks/rankregistrationform.h"
#include "shell/forms/screenregistry.h"

using namespace Qt::StringLiterals;

namespace sw {

void registerRankScreens(ScreenRegistry &screens)
{
    screens.add(u"N2B"_s, {u"RANKREG"_s, false,
                           [](const FormContext &c, const QString &) { return new RankRegistrationForm(c); }});
}

} // namespace sw
