// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace sw {

// The help folder that ships with the programs (index.html and its pictures): Help/
// beside the executable in a build, share/scrollwise/Help/ beside bin/ where the
// package installed it. Empty when neither holds an index.html.
QString bundledHelpFolder();

// Copies the bundled help folder to `folder`/Help (the demo folder's copy). False,
// and nothing copied, when there is no bundled help.
bool copyBundledHelp(const QString &folder);

} // namespace sw
