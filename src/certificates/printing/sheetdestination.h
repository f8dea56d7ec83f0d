// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <memory>

namespace sw {

class Session;
class SheetOutput;

// Where this workstation's certificates go: a printer the system knows, or a folder
// in which each sheet is written as a PDF file (a workstation without a printer still
// makes the sheets). Remembered in the workstation's configuration file
// (Morvanta.INI, section [CERTPRINT], keys PRINTER and FOLDER), so the printing
// screen opens on the choice made last.
struct SheetDestination
{
    // An empty printer means the system's default printer.
    QString printer;
    // Not empty: the sheets go to this folder instead of a printer.
    QString folder;

    bool toFolder() const { return !folder.isEmpty(); }
    std::unique_ptr<SheetOutput> output() const;

    static SheetDestination remembered(const Session &session);
    // Writes the choice into the configuration file; false when it cannot be written.
    bool remember(const Session &session) const;

    // The date of issue of this workstation's last printing run (key ISSUEDATE), which the
    // printing screen opens with; empty when none was printed here or it is no date.
    static QString rememberedIssueDate(const Session &session);
    static bool rememberIssueDate(const Session &session, const QString &date);

    // The printers the system knows, the default first.
    static QStringList printers();
    static QString defaultPrinter();
};

} // namespace sw
