// SPDX-License-Identifier: GPL-3.0-or-later
#include "masters/mastersscreens.h"

#include "masters/gridmasters/gridmasterform.h"
#include "masters/namelibrary/kannadalibraryscreen.h"
#include "masters/namelibrary/kannadanameupdatescreen.h"
#include "masters/recordmasters/recordmasterform.h"
#include "shell/forms/screenregistry.h"

using namespace Qt::StringLiterals;

namespace sw {

namespace {

void addRecordMaster(ScreenRegistry &screens, const QString &menuCode, const QString &formName)
{
    const RecordMasterKind *kind = RecordMasterKind::find(formName);
    screens.add(menuCode, {formName, false,
                           [kind](const FormContext &c, const QString &) { return new RecordMasterForm(c, *kind); }});
}

void addGridMaster(ScreenRegistry &screens, const QString &menuCode, const QString &formName)
{
    const GridMasterKind *kind = GridMasterKind::find(formName);
    screens.add(menuCode, {formName, false,
                           [kind](const FormContext &c, const QString &) { return new GridMasterForm(c, *kind); }});
}

} // namespace

void registerMastersScreens(ScreenRegistry &screens)
{
    addRecordMaster(screens, u"N14"_s, u"MASCONVOKAN"_s);
    addRecordMaster(screens, u"N11"_s, u"DEGREE"_s);
    addGridMaster(screens, u"N12"_s, u"COLLEGE"_s);
    addRecordMaster(screens, u"N13"_s, u"MASCLASS"_s);
    addGridMaster(screens, u"N15"_s, u"MASUNIV"_s);
    screens.add(u"N2A"_s, {u"UPDKANNAME"_s, false,
                           [](const FormContext &c, const QString &) { return new KannadaNameUpdateScreen(c); }});
    screens.add(u"N44"_s, {u"AUTOCORRECT"_s, false,
                           [](const FormContext &c, const QString &) { return new KannadaLibraryScreen(c); }});
}

} // namespace sw
