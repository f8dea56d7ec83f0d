// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Targets that lay documents out need fonts, so a GUI application without a screen.
#include "fuzzsupport.h"

#include <QGuiApplication>

namespace sw::fuzz {

inline void startGuiApplication()
{
    static int argc = 1;
    static char name[] = "scrollwise-fuzz";
    static char *argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
}

} // namespace sw::fuzz
