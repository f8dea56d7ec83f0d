// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/entry/entryscreens.h"

#include "candidates/entry/studentform.h"
#include "candidates/entry/studentsearchform.h"
#include "shell/forms/screenregistry.h"

using namespace Qt::StringLiterals;

namespace sw {

void registerEntryScreens(ScreenRegistry &screens)
{
    screens.add(u"N22"_s,
                {u"STUDENT"_s, false, [](const FormContext &c, const QString &) { return new StudentForm(c); }});
    screens.add(u"N27"_s, {u"STUDSEARCH"_s, false,
                           [](const FormContext &c, const QString &) { return new StudentSearchForm(c); }});
}

} // namespace sw
