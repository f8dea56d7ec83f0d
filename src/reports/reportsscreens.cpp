// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/reportsscreens.h"

#include "reports/labels/addresslabelsscreen.h"
#include "reports/letters/coveringlettersscreen.h"
#include "reports/nad/nadexportscreen.h"
#include "reports/screens/listscreens.h"
#include "shell/forms/screenregistry.h"

using namespace Qt::StringLiterals;

namespace sw {

void registerReportsScreens(ScreenRegistry &screens)
{
    screens.add(u"N31"_s,
                {u"STUDLIST"_s, false, [](const FormContext &c, const QString &) { return new StudentListScreen(c); }});
    screens.add(u"N32"_s, {u"STUDACTLIST"_s, false, [](const FormContext &c, const QString &) {
                               return new RangeListScreen(c, RangeListScreen::Kind::Activated);
                           }});
    screens.add(u"N33"_s, {u"CERTDATELIST"_s, false,
                           [](const FormContext &c, const QString &) { return new PrintedListScreen(c); }});
    screens.add(u"N35"_s, {u"CERTCANLIST"_s, false,
                           [](const FormContext &c, const QString &) { return new CancelledListScreen(c); }});
    screens.add(u"N36"_s, {u"MISMATCHLIST"_s, false,
                           [](const FormContext &c, const QString &) { return new MismatchListScreen(c); }});
    screens.add(u"N37"_s, {u"PHOTOPASTE"_s, false,
                           [](const FormContext &c, const QString &) { return new PhotoSheetScreen(c); }});
    screens.add(u"N39"_s, {u"ONLINELIST"_s, false, [](const FormContext &c, const QString &) {
                               return new RangeListScreen(c, RangeListScreen::Kind::Online);
                           }});
    screens.add(u"N34"_s,
                {u"ADDENV"_s, false, [](const FormContext &c, const QString &) { return new AddressLabelsScreen(c); }});
    screens.add(u"N38"_s, {u"COVLETT"_s, false,
                           [](const FormContext &c, const QString &) { return new CoveringLettersScreen(c); }});
    screens.add(u"N3A"_s,
                {u"NADEXP"_s, false, [](const FormContext &c, const QString &) { return new NadExportScreen(c); }});
}

} // namespace sw
