// SPDX-License-Identifier: GPL-3.0-or-later
// The main of every test program: a QApplication on the offscreen platform, so
// widgets, fonts and painting work without a display, under the project's own font
// configuration (tests/fonts/fonts.conf). SCROLLWISE_TEST_SCREEN=1366x768
// gives the offscreen screen that size, as an office monitor has.
#include "shell/core/headless.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

// The platform's name with a screen of the size asked for, described in `path`, which
// the offscreen platform reads as the application starts.
QByteArray offscreenPlatform(const QString &path)
{
    const QByteArray size = qgetenv("SCROLLWISE_TEST_SCREEN");
    const QList<QByteArray> sides = size.split('x');
    if (sides.size() != 2 || sides[0].toInt() <= 0 || sides[1].toInt() <= 0)
        return "offscreen";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return "offscreen";
    file.write("{\"screens\": [{\"name\": \"office\", \"x\": 0, \"y\": 0, \"width\": " + sides[0]
               + ", \"height\": " + sides[1] + ", \"logicalDpi\": 96, \"logicalBaseDpi\": 96, \"dpr\": 1}]}");
    return "offscreen:configfile=" + QFile::encodeName(path);
}

} // namespace

int main(int argc, char **argv)
{
    const QString screen =
        QDir::temp().filePath(QStringLiteral("scrollwise-screen-%1.json").arg(QCoreApplication::applicationPid()));
    qputenv("QT_QPA_PLATFORM", offscreenPlatform(screen));
    // Pages are drawn with the project's fonts only, whatever else the machine has; a test
    // that compares with the machine's fonts runs its programs under the machine's file.
    if (!qEnvironmentVariableIsSet("FONTCONFIG_FILE"))
        qputenv("FONTCONFIG_FILE", SCROLLWISE_FONTS_CONF);
    sw::prepareHeadlessEnvironment();
    QApplication app(argc, argv);
    QFile::remove(screen);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
