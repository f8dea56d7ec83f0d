// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/testdatabase.h"

#include "shell/core/inifile.h"
#include "shell/db/connectionsettings.h"
#include "shell/db/connector.h"
#include "shell/db/presence.h"
#include "shell/startup/startup.h"

#include <QCoreApplication>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace sw::test {

std::optional<MariaDbServer> MariaDbServer::fromEnvironment()
{
    const QString hostPort = qEnvironmentVariable("SCROLLWISE_TEST_MYSQL");
    if (hostPort.isEmpty())
        return std::nullopt;
    return MariaDbServer{hostPort, qEnvironmentVariable("SCROLLWISE_TEST_MYSQL_USER", u"root"_s),
                         qEnvironmentVariable("SCROLLWISE_TEST_MYSQL_PASSWORD")};
}

bool MariaDbServer::required() { return qEnvironmentVariable("CI") == u"true"_s; }

std::ostream &operator<<(std::ostream &os, TestBackend b)
{
    return os << (b == TestBackend::SQLite ? "SQLite" : "MariaDB");
}

std::string backendName(const ::testing::TestParamInfo<TestBackend> &info)
{
    return info.param == TestBackend::SQLite ? "SQLite" : "MariaDB";
}

bool backendAvailable(TestBackend backend)
{
    if (backend != TestBackend::MariaDB || MariaDbServer::fromEnvironment())
        return true;
    if (MariaDbServer::required())
        ADD_FAILURE() << "CI=true but SCROLLWISE_TEST_MYSQL is not set: the test script must start MariaDB";
    else
        GTEST_MESSAGE_("SCROLLWISE_TEST_MYSQL is not set (run scripts/test to start a MariaDB server)",
                       ::testing::TestPartResult::kSkip);
    return false;
}

QString uniqueName(const QString &prefix)
{
    return prefix + u'_' + QString::number(QCoreApplication::applicationPid()) + u'_'
           + QString::number(QRandomGenerator::global()->bounded(1000000));
}

InstalledFolder::InstalledFolder(TestBackend backend, const QString &institution)
    : m_backend(backend)
    , m_folder(m_dir.path())
{
    Installer::Options o;
    o.institution = institution;
    if (backend == TestBackend::MariaDB) {
        const auto server = MariaDbServer::fromEnvironment();
        if (!server)
            throw std::runtime_error("no MariaDB server configured");
        o.type = u"MYSQL"_s;
        o.server = server->hostPort;
        o.adminUser = server->user;
        o.dbPassword = server->password;
        m_databaseName = uniqueName(u"swt"_s);
        o.databaseName = m_databaseName;
    }
    ScriptedPrompter prompter;
    m_result = Installer::install(m_folder, o, prompter);
}

InstalledFolder::~InstalledFolder()
{
    if (m_databaseName.isEmpty())
        return;
    try {
        auto db = connect();
        db->exec(u"DROP DATABASE IF EXISTS `"_s + m_databaseName + u'`');
    } catch (const DbError &) {
    }
}

std::unique_ptr<Database> connectTo(const AppFolder &folder)
{
    IniFile ini(Startup::iniPath(folder));
    ini.load();
    return Connector::open(ConnectionSettings::read(ini), folder);
}

std::unique_ptr<Database> InstalledFolder::connect() const { return connectTo(m_folder); }

std::unique_ptr<Database> InstalledFolder::connectSession(const QString &what) const
{
    IniFile ini(Startup::iniPath(m_folder));
    ini.load();
    const ConnectionSettings settings = ConnectionSettings::read(ini);
    auto db = Connector::open(settings, m_folder);
    Presence::join(*db, settings, m_folder, what);
    return db;
}

ScratchMariaDb::ScratchMariaDb()
    : m_name(uniqueName(u"swscratch"_s))
{
    const auto server = MariaDbServer::fromEnvironment();
    if (!server)
        throw std::runtime_error("no MariaDB server configured");
    ConnectionSettings s;
    s.dbType = u"MYSQL"_s;
    s.serverName = server->hostPort;
    s.adminUser = server->user;
    s.dbPassword = server->password;
    s.databaseName = m_name;
    QTemporaryDir dir;
    const AppFolder folder(dir.path());
    IniFile marker(folder.filePath(u"CONVO.DBS"_s));
    marker.save();
    Connector::Options options;
    options.createIfMissing = true;
    m_db = Connector::open(s, folder, options);
}

ScratchMariaDb::~ScratchMariaDb()
{
    try {
        m_db->exec(u"DROP DATABASE IF EXISTS `"_s + m_name + u'`');
    } catch (const DbError &) {
    }
}

} // namespace sw::test
