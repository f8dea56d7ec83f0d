// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/appfolder.h"
#include "shell/db/connectionsettings.h"

#include <QString>

namespace sw {

class Database;
class Prompter;
class Session;

// What start-up needs from the screen in front of it. The GUI shows its dialogs;
// the command-line tool answers without them.
class StartupUi
{
public:
    virtual ~StartupUi();
    virtual Prompter &prompter() = 0;
    // The configuration dialog, modal. The program ends after it whatever was chosen.
    virtual void showConfigurationDialog(const QString &iniFile) = 0;
    // The upgrade window: upgrades and stamps the database (its copy goes to the
    // folder's Backup/). The program ends after it.
    virtual void showUpgrade(Database &db, const AppFolder &folder) = 0;
    // Lets the window repaint while start-up goes on.
    virtual void processEvents() = 0;
    // Whether the administrator may be offered a restore when the database cannot be
    // opened (the program's window asks; the command line has its own restore command).
    virtual bool offersRestore() const { return false; }
};

// The start-up sequence up to the login: configuration file, connection, schema
// version check, the settings row and the institution's title and address.
// Every failure is shown through the StartupUi's prompter with the message the
// installations know; `run` then returns Ended and the program ends.
class Startup
{
public:
    enum class Outcome { ReadyForLogin, Ended };

    Startup(AppFolder folder, StartupUi &ui);

    Outcome run(Session &session);

    static QString iniFileName() { return QStringLiteral("Morvanta.INI"); }
    // The INI path of a folder: an existing file in any letter case, else the canonical name.
    static QString iniPath(const AppFolder &folder);

    // "Scrollwise, " + the institution's title.
    static QString mainWindowCaption(const Session &session);

    // Reads the settings row into the session (institution code, title, address).
    static void loadControl(Session &session);

private:
    // When the database is missing or unreadable: asks whether the administrator
    // restores it from a backup now. True when a restore was attempted (the program
    // then ends; the user starts it again).
    bool offerRestore();
    Outcome readConfiguration(Session &session);
    Outcome connect(Session &session);
    Outcome checkVersion(Session &session);

    AppFolder m_folder;
    StartupUi &m_ui;
    ConnectionSettings m_settings;
};

} // namespace sw
