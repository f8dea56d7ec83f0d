// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace sw::permissions {

// Every menu code that permissions govern, as one text; codes not in it
// (N14, N15, N2A..N2F, N3A) are never taken away.
QString governedCodes();

// Whether a user with `permissionString` may use menu item `menuCode`. The tests
// are plain substring tests, so a top menu is granted with any of its items
// ("N1" occurs in "N11"). Security (N43), restore (N45) and the audit trail (N48)
// belong to the administrator alone, who has every other item too.
bool allows(const QString &permissionString, const QString &menuCode, bool isAdministrator);

// Whether `menuCode` is one of the items no permission string governs (N14, N15,
// N2A..N2F, N3A): every user who can log in may use it.
bool openToEveryUser(const QString &menuCode);

} // namespace sw::permissions
