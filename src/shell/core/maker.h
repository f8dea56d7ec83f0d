// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace sw {

// The firm that makes and supports the program: the splash window names it, the first
// settings row holds it as the company (control.fcompany), and a program older than its
// database sends the clerk to it.
inline QString makerName() { return QStringLiteral("Quanvex"); }

// What a program older than the database it opens says before it ends.
inline QString versionMismatchMessage()
{
    return QStringLiteral("Version Mismatch, Install latest exe or call ") + makerName();
}

} // namespace sw
