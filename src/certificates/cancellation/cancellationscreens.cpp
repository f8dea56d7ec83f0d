// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/cancellation/cancellationscreens.h"

#include "certificates/cancellation/cancellationform.h"
#include "shell/forms/screenregistry.h"

using namespace Qt::StringLiterals;

namespace sw {

void registerCancellationScreens(ScreenRegistry &screens)
{
    screens.add(u"N25"_s, {u"CERTCAN"_s, false, [](const FormContext &c, const QString &) {
                               return new CancellationForm(c, CancellationScreen::Register);
                           }});
    screens.add(u"N29"_s, {u"CERTCANRANGE"_s, false, [](const FormContext &c, const QString &) {
                               return new CancellationForm(c, CancellationScreen::Range);
                           }});
}

} // namespace sw
