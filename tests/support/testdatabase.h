// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/appfolder.h"
#include "shell/db/database.h"
#include "shell/session.h"
#include "shell/startup/installer.h"
#include "support/scriptedprompter.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <ostream>

namespace sw::test {

// The MariaDB server the test script started, from SCROLLWISE_TEST_MYSQL
// (host:port), SCROLLWISE_TEST_MYSQL_USER and SCROLLWISE_TEST_MYSQL_PASSWORD.
struct MariaDbServer
{
    QString hostPort;
    QString user;
    QString password;

    static std::optional<MariaDbServer> fromEnvironment();
    // Under CI the server must be there: its absence is a failure, not a skip.
    static bool required();
};

enum class TestBackend { SQLite, MariaDB };
std::ostream &operator<<(std::ostream &os, TestBackend b);
// For INSTANTIATE_TEST_SUITE_P names.
std::string backendName(const ::testing::TestParamInfo<TestBackend> &info);
// The parameters of a suite run on both backends.
inline auto bothBackends() { return ::testing::Values(TestBackend::SQLite, TestBackend::MariaDB); }

// Skips (or, under CI, fails) the current test when `backend` is MariaDB and no server is configured.
// Returns false when the test must stop.
bool backendAvailable(TestBackend backend);

// A fresh application folder in a temporary directory, installed on `backend`
// (institution 003 unless given). The MariaDB database has a name of its own and
// is dropped again when the folder goes.
class InstalledFolder
{
public:
    explicit InstalledFolder(TestBackend backend, const QString &institution = QStringLiteral("003"));
    ~InstalledFolder();

    const AppFolder &folder() const { return m_folder; }
    TestBackend backend() const { return m_backend; }
    QString databaseName() const { return m_databaseName; }
    // A new connection to the folder's database.
    std::unique_ptr<Database> connect() const;
    // A new connection that is a program's session: it counts among those working on the
    // database (Presence) as long as it is open.
    std::unique_ptr<Database> connectSession(const QString &what = QStringLiteral("test")) const;
    const Installer::Result &installResult() const { return m_result; }

private:
    TestBackend m_backend;
    QTemporaryDir m_dir;
    AppFolder m_folder;
    QString m_databaseName;
    Installer::Result m_result;
};

// The fixture of tests run on an installed folder of each backend: the folder and a
// connection to its database; the test is skipped where the backend is not there. A
// fixture that adds to SetUp calls this one first and stops when IsSkipped().
class InstalledFolderTest : public ::testing::TestWithParam<TestBackend>
{
protected:
    void SetUp() override
    {
        if (!backendAvailable(GetParam()))
            GTEST_SKIP();
        m_folder = std::make_unique<InstalledFolder>(GetParam());
        m_db = m_folder->connect();
    }

    std::unique_ptr<InstalledFolder> m_folder;
    std::unique_ptr<Database> m_db;
};

// The same with a clerk's session on convocation C26 over a connection of its own.
class InstalledSessionTest : public InstalledFolderTest
{
protected:
    void SetUp() override
    {
        InstalledFolderTest::SetUp();
        if (IsSkipped())
            return;
        m_session.folder = m_folder->folder();
        m_session.cn = m_folder->connect();
        m_session.convoCode = QStringLiteral("C26");
        m_session.userName = QStringLiteral("CLERK");
    }

    Session m_session;
};

// A new, empty MariaDB database of its own (dropped with the object), for tests
// that build their schema by hand.
class ScratchMariaDb
{
public:
    ScratchMariaDb();
    ~ScratchMariaDb();
    Database &db() { return *m_db; }
    QString name() const { return m_name; }

private:
    QString m_name;
    std::unique_ptr<Database> m_db;
};

// A new connection to the database an application folder's configuration file names.
std::unique_ptr<Database> connectTo(const AppFolder &folder);

// A unique name for a database or table of one test.
QString uniqueName(const QString &prefix);

} // namespace sw::test
