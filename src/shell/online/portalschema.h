// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace sw {

class Database;

// The portal database's two tables as this system reads and writes them: `dctran`
// (paid online transactions) and `dcstud` (the candidates the directory import
// uploads; the printed list writes certificate numbers back). The portal itself is a
// foreign system; these definitions serve a new installation and the test server.
// Text columns are Latin-1 so the legacy 8-bit names pass through unchanged.
namespace portalschema {

// The statements that create the tables when they are missing.
QStringList createStatements();
// The width of a text column of `dctran` or `dcstud` as defined here; 0 when none.
int columnWidth(const QString &table, const QString &column);
// Creates the tables on `portal` (a MySQL/MariaDB connection); throws DbError.
void create(Database &portal);
// Creates the database `name` (letters, digits, underscores) when missing, Latin-1 by
// default; throws DbError.
void createDatabase(Database &server, const QString &name);

} // namespace portalschema

} // namespace sw
