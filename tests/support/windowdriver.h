// SPDX-License-Identifier: GPL-3.0-or-later
// Driving the main window and its screens offscreen as a clerk does: real key events
// to whatever has the focus, menus clicked; and pictures of it.
#pragma once

#include "shell/forms/command.h"
#include "shell/forms/editmode.h"

#include <QImage>
#include <QString>
#include <QStringList>

#include <functional>

#include <ostream>

class QAction;
class QMenu;
class QWidget;

// Test failures show texts as text.
void PrintTo(const QString &text, std::ostream *os);

namespace sw {
class ChildForm;
class MainWindow;
// Test failures name the mode by its letter.
void PrintTo(EditMode mode, std::ostream *os);
} // namespace sw

namespace sw::test {

// Shows a top-level window and waits until it is the active one (keys reach it).
void showActive(QWidget &window);
// Pops `menu` up and clicks `item` in it, as a mouse would; a click on a disabled item does nothing.
void chooseFromMenu(QWidget &window, QMenu *menu, QAction *item);
// Clicks the toolbar button of `command`.
void clickToolbar(MainWindow &window, Command command);
// The window with every top menu (and the "Alternate Keys" submenu) drawn open beneath it.
QImage renderWithMenus(MainWindow &window);

// Delivers what the last step posted (a screen's close, its deletion, a queued focus
// move) without waiting on the clock.
void settle();
// The widget with the keyboard focus (the active window when none has it).
QWidget *focused();
// A key pressed on whatever has the focus (`fallback` when nothing has), events processed after.
void press(int key, Qt::KeyboardModifiers modifiers = {}, QWidget *fallback = nullptr);
// Characters typed into whatever has the focus.
void type(const QString &text);
// Types into the focused box and leaves it with Enter.
void enter(const QString &text);
// Presses `key` `times` times; the object names of the widgets that had the focus after
// each press, in order (how Enter, Down or Up walk a screen's boxes).
QStringList focusWalk(int key, int times);
// Opens a menu item's screen as choosing it does; the screen in front, or nullptr.
ChildForm *openScreen(MainWindow &window, const QString &menuCode);
// What the screen's status bar says in its message panel (StatusBar1_3).
QString outcomeOf(const QWidget *screen);
// Runs `step` on the next modal window as soon as it is up (a lookup, a dialog the
// test is about to open with a key) and closes it afterwards if `step` left it open.
void whenModalOpens(QObject *owner, std::function<void(QWidget &)> step);

} // namespace sw::test
