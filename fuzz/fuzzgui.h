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
    // Never destroyed: the application's destructor removes the fonts the program loaded
    // (the font table's) through Qt's font cache, whose thread storage is already gone when
    // static objects are destroyed at exit. The pointer keeps it reachable for the leak check.
    static QGuiApplication *app = new QGuiApplication(argc, argv);
    Q_UNUSED(app);
}

} // namespace sw::fuzz
