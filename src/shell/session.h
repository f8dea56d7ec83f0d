// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/appfolder.h"
#include "shell/certificatenumbers.h"
#include "shell/db/database.h"

#include <QString>

#include <array>
#include <memory>

namespace sw {

// The values one run of the program works with: created at start-up, filled by
// start-up and login, then handed to every screen and run. Nothing else holds
// session state. Owned by the application; not shared between threads.
class Session
{
public:
    AppFolder folder;

    // Configuration and connection.
    QString iniFile;
    QString dbType;
    QString serverName;
    QString dbPassword;
    std::unique_ptr<Database> cn;

    // The installation's settings row.
    QString instCode;
    QString instTitle;
    std::array<QString, 4> instAddress;

    // Login.
    QString userName;
    QString userSection;
    QString convoCode;
    QString convoName;
    QString permissions;

    // Read when the main window loads.
    QString signAuthority1;
    QString fontSize = QStringLiteral("8");
    QString contactLine;
    QString fieldColour = QStringLiteral("&HFFFFFF");
    QString editColour = QStringLiteral("&HC0FFFF");

    // The online link to the portal's database, opened by OnlineLink::open.
    QString onlineVariant;
    QString onlineServer;
    QString onlineUser;
    QString onlineDatabase;
    QString onlinePassword;
    std::unique_ptr<Database> cnOnline;

    // The stationery ledger, installed after the login by the printing subsystem:
    // the only way a correction may change a stored certificate number.
    std::unique_ptr<CertificateNumberAuthority> numberAuthority;

    Database &db() const { return *cn; }

    // "ADMIN" in any letter case has every menu item.
    bool isAdministrator() const;
    // The pseudo-convocation "ADMN" opens only the screens that need no convocation.
    bool isAdminConvocation() const;

    static QString adminConvocation() { return QStringLiteral("ADMN"); }
};

} // namespace sw
