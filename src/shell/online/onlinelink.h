// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/appfolder.h"

#include <QString>

#include <memory>
#include <optional>

namespace sw {

class Database;
class InstitutionConfig;
class Session;

// One row of the online link table: where an institution's portal database lives.
struct OnlineLinkRow
{
    QString server; // empty: the common server
    QString user;
    QString database;
    QString password;
    QString shortName;
    QString title;
    QString remark; // kept with the row, not used for the connection
};

// The link to the institution's portal database (a remote MySQL server). The link
// table is deployment data kept in the institution file of the application folder:
//
//   [ONLINE]              the common settings
//   SERVER=host[:port]    the server most institutions share
//   DRIVER=QMYSQL         Qt's driver; QODBC goes through the ODBC driver below
//   ODBCDRIVER=MySQL ODBC 3.51 Driver
//   [ONLINE 003]          one row per institution code, "[ONLINE 003D]" for the
//   USER=... DATABASE=... PASSWORD=... SHORTNAME=... TITLE=... REMARK=...
//   SERVER=...            only for a code whose portal has a server of its own
class OnlineLink
{
public:
    explicit OnlineLink(const InstitutionConfig &config);

    // "D" when the marker file CONVODIST.DBS is in the application folder.
    static QString variant(const AppFolder &folder);
    // The row of `instCode`, the variant's row first ("003" + "D"); nullopt when the
    // table has none.
    std::optional<OnlineLinkRow> row(const QString &instCode, const QString &variant) const;
    QString commonServer() const;
    QString driver() const;
    QString odbcDriver() const;

    // The ODBC connection text in the shape the installations use.
    static QString odbcConnectionString(const QString &user, const QString &password, const QString &server,
                                        const QString &odbcDriver, const QString &database);

    // OpenOnlineLink: sets the session's online values (InstTitle becomes the row's
    // title) and opens `Session::cnOnline`. A code without a row gets only the server,
    // and its connection fails. Throws StopError "Error in connecting to database!!"
    // when the portal cannot be reached or refuses the login.
    static void open(Session &session);

    // A connection to a portal server; throws DbError when it cannot be opened.
    static std::unique_ptr<Database> connect(const QString &driver, const QString &server, const QString &user,
                                             const QString &password, const QString &database,
                                             const QString &odbcDriver = {});

private:
    const InstitutionConfig &m_config;
};

} // namespace sw
