// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/appfolder.h"
#include "shell/db/database.h"

#include <memory>

namespace sw::test {

// A portal database of its own on the test MariaDB server, with the portal tables,
// and the application folder's online link pointing at it (institution `code`).
class TestPortal
{
public:
    TestPortal(const AppFolder &folder, const QString &code, const QString &title = QStringLiteral("PORTAL TITLE"));
    ~TestPortal();
    Database &db() { return *m_db; }
    QString name() const { return m_name; }

    // Writes the institution file's [ONLINE] rows.
    static void writeLink(const AppFolder &folder, const QString &code, const QString &server, const QString &user,
                          const QString &password, const QString &database, const QString &title);

private:
    QString m_name;
    std::unique_ptr<Database> m_db;
};

} // namespace sw::test
