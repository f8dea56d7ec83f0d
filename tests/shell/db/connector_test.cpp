// SPDX-License-Identifier: GPL-3.0-or-later
// Opening the connection: connection texts, marker files, and what each failure is.
#include "shell/core/stoperror.h"
#include "shell/db/connector.h"
#include "support/testdatabase.h"
#include "support/stoptext.h"

#include <QFile>
#include <QTemporaryDir>

#include <functional>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

void touch(const QString &path, const QByteArray &bytes = {})
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
}

TEST(ConnectionText, SqlServerKeepsItsShape)
{
    ConnectionSettings s;
    s.dbType = u"SQLSRVR"_s;
    s.serverName = u"DBHOST"_s;
    s.dbPassword = u"secret"_s;
    EXPECT_EQ(Connector::sqlServerConnectionString(s), u"Driver={FreeTDS};Server=DBHOST;Uid=sa;Pwd=secret;"_s);
    s.dbPassword = u"   "_s;
    s.odbcDriver = u"ODBC Driver 18 for SQL Server"_s;
    s.adminUser = u"convoadmin"_s;
    EXPECT_EQ(Connector::sqlServerConnectionString(s),
              u"Driver={ODBC Driver 18 for SQL Server};Server=DBHOST;Uid=convoadmin;Pwd=;"_s);
}

TEST(ConnectionText, APasswordThatWouldSplitTheTextIsBraced)
{
    ConnectionSettings s;
    s.dbType = u"SQLSRVR"_s;
    s.serverName = u"DBHOST"_s;
    s.dbPassword = u"se;cret}x"_s;
    EXPECT_EQ(Connector::sqlServerConnectionString(s), u"Driver={FreeTDS};Server=DBHOST;Uid=sa;Pwd={se;cret}}x};"_s);
    EXPECT_EQ(Connector::odbcValue(u"a=b"_s), u"{a=b}"_s);
    EXPECT_EQ(Connector::odbcValue(u" lead"_s), u"{ lead}"_s);
    EXPECT_EQ(Connector::odbcValue(u"plain-pass_1"_s), u"plain-pass_1"_s);
    EXPECT_EQ(Connector::odbcValue(QString()), QString());
}

TEST(ConnectionText, OracleAndMysqlHosts)
{
    ConnectionSettings s;
    s.dbType = u"ORACLE"_s;
    s.serverName = u"ORCL"_s;
    EXPECT_EQ(Connector::oracleConnectionString(s), u"Driver={Oracle};Dbq=ORCL;Uid=convo;Pwd=convo;"_s);
    EXPECT_EQ(Connector::mysqlHostPort(u"db.local:3307"_s), std::make_pair(u"db.local"_s, 3307));
    EXPECT_EQ(Connector::mysqlHostPort(u"db.local"_s), std::make_pair(u"db.local"_s, 3306));
    EXPECT_EQ(Connector::mysqlHostPort(u"db.local:x"_s), std::make_pair(u"db.local:x"_s, 3306));
}

TEST(MarkerFiles, ConvoWinsOverConvodistAndNoneIsRefused)
{
    QTemporaryDir dir;
    const AppFolder folder(dir.path());
    EXPECT_EQ(Connector::markedDatabase(folder), QString());
    ConnectionSettings s;
    EXPECT_EQ(test::stopText([&] { Connector::databaseName(s, folder); }), u"DB name not specified!!"_s);
    touch(dir.filePath(u"CONVODIST.DBS"_s));
    EXPECT_EQ(Connector::markedDatabase(folder), u"CONVODIST"_s);
    touch(dir.filePath(u"convo.dbs"_s));
    EXPECT_EQ(Connector::markedDatabase(folder), u"CONVO"_s);
    s.databaseName = u"CONVO_TEST"_s;
    EXPECT_EQ(Connector::databaseName(s, folder), u"CONVO_TEST"_s);
}

DbErrorKind openAndClassify(const ConnectionSettings &s, const AppFolder &folder)
{
    try {
        Connector::open(s, folder);
    } catch (const DbError &e) {
        return e.kind();
    }
    return DbErrorKind::Other;
}

TEST(SqliteOpen, AMissingFileIsUnreachableAndAGarbageFileIsNoDatabase)
{
    QTemporaryDir dir;
    const AppFolder folder(dir.path());
    touch(dir.filePath(u"CONVO.DBS"_s));
    ConnectionSettings s;
    s.dbType = u"SQLITE"_s;
    EXPECT_EQ(openAndClassify(s, folder), DbErrorKind::ServerUnreachable);
    EXPECT_FALSE(QFile::exists(dir.filePath(u"CONVO.sqlite"_s))) << "a failed open must not create the file";

    const QByteArray garbage(4096, 'g');
    touch(dir.filePath(u"CONVO.sqlite"_s), garbage);
    EXPECT_EQ(openAndClassify(s, folder), DbErrorKind::NotADatabase);
    QFile f(dir.filePath(u"CONVO.sqlite"_s));
    f.open(QIODevice::ReadOnly);
    EXPECT_EQ(f.readAll(), garbage) << "the file must stay as it was";
}

TEST(UnknownTypes, OpenNothing)
{
    QTemporaryDir dir;
    ConnectionSettings s;
    for (const QString &type : {u"ACCESS"_s, u"FOXPRO"_s, u""_s}) {
        s.dbType = type;
        auto db = Connector::open(s, AppFolder(dir.path()));
        EXPECT_FALSE(db->isOpen()) << type.toStdString();
    }
}

class MariaDbOpen : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!test::backendAvailable(test::TestBackend::MariaDB))
            GTEST_SKIP();
        m_server = test::MariaDbServer::fromEnvironment();
        touch(m_dir.filePath(u"CONVO.DBS"_s));
        m_settings.dbType = u"MYSQL"_s;
        m_settings.serverName = m_server->hostPort;
        m_settings.adminUser = m_server->user;
        m_settings.dbPassword = m_server->password;
    }
    std::optional<test::MariaDbServer> m_server;
    QTemporaryDir m_dir;
    ConnectionSettings m_settings;
};

TEST_F(MariaDbOpen, EachFailureIsOfItsKind)
{
    const struct
    {
        const char *name;
        std::function<void(ConnectionSettings &)> spoil;
        DbErrorKind kind;
    } cases[] = {
        {"a wrong password", [](auto &s) { s.dbPassword = u"wrong'password"_s; }, DbErrorKind::LoginRefused},
        // Nothing listens on port 1 of the loopback address.
        {"a closed port", [](auto &s) { s.serverName = u"127.0.0.1:1"_s; }, DbErrorKind::ServerUnreachable},
        {"a missing database", [](auto &s) { s.databaseName = test::uniqueName(u"absent"_s); },
         DbErrorKind::ServerUnreachable},
        {"a bad name", [](auto &s) { s.databaseName = u"x`; DROP DATABASE mysql; --"_s; }, DbErrorKind::CommandText},
    };
    for (const auto &c : cases) {
        ConnectionSettings settings = m_settings;
        c.spoil(settings);
        EXPECT_EQ(openAndClassify(settings, AppFolder(m_dir.path())), c.kind) << c.name;
    }
}

} // namespace
