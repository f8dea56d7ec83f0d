// SPDX-License-Identifier: GPL-3.0-or-later
// Driving and picturing the main window offscreen.
#pragma once

#include "shell/forms/command.h"

#include <QImage>

class QAction;
class QMenu;
class QWidget;

namespace sw {
class MdiMainMenu;
}

namespace sw::test {

// Shows a top-level window and waits until it is the active one (keys reach it).
void showActive(QWidget &window);
// Pops `menu` up and clicks `item` in it, as a mouse would; a click on a disabled item does nothing.
void chooseFromMenu(QWidget &window, QMenu *menu, QAction *item);
// Clicks the toolbar button of `command`.
void clickToolbar(MdiMainMenu &window, Command command);
// The window with every top menu (and the "Alternate Keys" submenu) drawn open beneath it.
QImage renderWithMenus(MdiMainMenu &window);

} // namespace sw::test
