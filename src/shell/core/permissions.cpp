// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/core/permissions.h"

using namespace Qt::StringLiterals;

namespace sw::permissions {

QString governedCodes()
{
    return u"N1*N11*N12*N13"_s + u"*N2*N21*N22*N23*N24*N25*N26*N27*N28*N29"_s
           + u"*N3*N31*N32*N33*N34*N35*N36*N37*N38*N39"_s + u"*N4*N41*N42*N43*N44*N45*N46*N47*N48*N49*"_s;
}

bool allows(const QString &permissionString, const QString &menuCode, bool isAdministrator)
{
    if (menuCode.isEmpty())
        return true;
    const bool adminOnly = menuCode == u"N43"_s || menuCode == u"N45"_s || menuCode == u"N48"_s;
    if (isAdministrator)
        return true;
    if (permissionString.contains(menuCode))
        return !adminOnly;
    return openToEveryUser(menuCode);
}

bool openToEveryUser(const QString &menuCode) { return !menuCode.isEmpty() && !governedCodes().contains(menuCode); }

} // namespace sw::permissions
