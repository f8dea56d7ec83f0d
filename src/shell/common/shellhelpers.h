// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QTableWidget;

namespace sw {

// The first day of the month after a dd/mm/yyyy date, as dd/mm/yyyy ("01/01/2025"
// after any day of December 2024). Empty when `dmy` is not a date.
QString firstOfNextMonth(const QString &dmy);

// A command line split into the program and its argument: a program path in double
// quotes runs to the closing quote, an unquoted one to the first blank.
struct CommandLine
{
    QString program;
    QString argument;
};
CommandLine splitCommandLine(const QString &commandLine);
// The folder part of a path, up to (not including) its last "\" or "/"; empty when there is none.
QString folderOf(const QString &path);

// Removes every row of a grid.
void clearGrid(QTableWidget *grid);

} // namespace sw
