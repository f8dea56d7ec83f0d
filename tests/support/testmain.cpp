// SPDX-License-Identifier: GPL-3.0-or-later
// The main of every test program: a QApplication on the offscreen platform, so
// widgets, fonts and painting work without a display.
#include "shell/core/headless.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    sw::prepareHeadlessEnvironment();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
