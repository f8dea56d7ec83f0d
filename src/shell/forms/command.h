// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QKeySequence>
#include <QString>

#include <array>
#include <optional>

namespace sw {

// The fourteen record commands that the main window's toolbar, its "Alternate Keys"
// menu and the function keys send to the active screen. The numbers are the
// button and menu indices (1..14) the installations know them by.
enum class Command {
    Add = 1,
    Edit,
    Delete,
    Save,
    Cancel,
    Exit,
    Search,
    Preview,
    Print,
    Spool,
    First,
    Previous,
    Next,
    Last,
};

inline constexpr int kCommandCount = 14;

// Enabled state of the fourteen commands, indexed by index(command).
using ToolStates = std::array<bool, kCommandCount>;

constexpr int commandIndex(Command c) { return static_cast<int>(c); }
constexpr std::size_t slot(Command c) { return static_cast<std::size_t>(commandIndex(c) - 1); }
constexpr Command commandAt(int index) { return static_cast<Command>(index); }

// "add", "edit", ... as the commands travel between menu, toolbar and screens.
QString commandName(Command c);
std::optional<Command> commandFromName(const QString &name);
// "&Add", "&Edit", ... as the "Alternate Keys" menu shows them.
QString commandCaption(Command c);
QKeySequence commandShortcut(Command c);
// Whether the command's menu item is enabled before any screen sets the toolbar.
bool enabledAtDesign(Command c);

// The toolbar modes: "N" browsing, "U" a change in progress, "D" no record screen.
enum class ToolMode { Browse, Update, Disabled };

} // namespace sw
