// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/appfolder.h"
#include "shell/db/schemaupgrade.h"

#include <QDate>
#include <QString>

namespace sw {

class Database;
class Prompter;

// The upgrade window's whole job, and the command line's: brings an older
// database up to this program's schema without risking it. A database stamped by a
// newer program is refused untouched; a copy of the database is written to Backup/
// (the user backup's file of the day) before anything is altered; the version is
// stamped only when every table was treated, so an upgrade that stopped early is
// tried again at the next start.
class UpgradeRun
{
public:
    UpgradeRun(Database &db, AppFolder folder, Prompter &prompter);

    enum class Outcome { Upgraded, Refused, Incomplete };
    struct Result
    {
        Outcome outcome = Outcome::Refused;
        QString databaseVersion; // as stamped before the run
        QString backupFile;      // empty when none was written
        UpgradeReport report;
    };

    // Who upgrades, for the audit trail (empty at start-up, before anyone logged in).
    void setUser(const QString &user) { m_user = user; }

    Result run(const QString &programVersion, const QDate &day = QDate::currentDate());

private:
    QString writeBackup(const QDate &day);

    Database &m_db;
    AppFolder m_folder;
    Prompter &m_prompter;
    QString m_user;
};

} // namespace sw
