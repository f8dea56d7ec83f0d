// SPDX-License-Identifier: GPL-3.0-or-later
// The online link: rows from the institution file, the distance-education variant,
// and the connection to a real portal database on the MariaDB server.
#include "shell/core/inifile.h"
#include "shell/core/institutionconfig.h"
#include "shell/core/stoperror.h"
#include "shell/online/onlinelink.h"
#include "shell/online/portalschema.h"
#include "shell/session.h"
#include "support/testdatabase.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

class OnlineLinkTest : public ::testing::Test
{
protected:
    void SetUp() override { m_folder = AppFolder(m_dir.path()); }
    void write(const QString &section, const QString &key, const QString &value)
    {
        IniFile ini(m_folder.filePath(QString::fromLatin1(InstitutionConfig::kFileName)), IniFile::Encoding::Utf8);
        ini.load();
        ini.setValue(section, key, value);
        ASSERT_TRUE(ini.save());
    }
    void writeRow(const QString &key, const QString &database, const QString &title)
    {
        write(u"ONLINE "_s + key, u"USER"_s, u"user_"_s + key);
        write(u"ONLINE "_s + key, u"DATABASE"_s, database);
        write(u"ONLINE "_s + key, u"PASSWORD"_s, u"pw"_s);
        write(u"ONLINE "_s + key, u"TITLE"_s, title);
    }
    QTemporaryDir m_dir;
    AppFolder m_folder;
};

TEST_F(OnlineLinkTest, RowsByCodeAndVariant)
{
    write(u"ONLINE"_s, u"SERVER"_s, u"portal.example"_s);
    writeRow(u"003"_s, u"univ003"_s, u"UNIVERSITY"_s);
    writeRow(u"003D"_s, u"dist003"_s, u"DISTANCE EDUCATION"_s);
    writeRow(u"005"_s, u"univ005"_s, u"FIVE"_s);
    write(u"ONLINE 025"_s, u"SERVER"_s, u"other.example"_s);
    writeRow(u"025"_s, u"univ025"_s, u"OWN SERVER"_s);
    const InstitutionConfig config = InstitutionConfig::load(m_folder);
    const OnlineLink link(config);

    EXPECT_EQ(link.commonServer(), u"portal.example"_s);
    EXPECT_EQ(link.driver(), u"QMYSQL"_s);
    EXPECT_EQ(link.odbcDriver(), u"MySQL ODBC 3.51 Driver"_s);
    EXPECT_EQ(link.row(u"003"_s, {})->database, u"univ003"_s);
    EXPECT_EQ(link.row(u"003"_s, u"D"_s)->database, u"dist003"_s);
    EXPECT_EQ(link.row(u"003"_s, u"D"_s)->title, u"DISTANCE EDUCATION"_s);
    // Codes without a variant row use their own row under the variant too.
    EXPECT_EQ(link.row(u"005"_s, u"D"_s)->database, u"univ005"_s);
    EXPECT_EQ(link.row(u"025"_s, {})->server, u"other.example"_s);
    EXPECT_TRUE(link.row(u"003"_s, {})->server.isEmpty());
    EXPECT_FALSE(link.row(u"099"_s, {}));
    EXPECT_FALSE(link.row(u"099"_s, u"D"_s));
}

TEST_F(OnlineLinkTest, VariantFollowsTheMarkerFileAndTheOdbcTextKeepsItsShape)
{
    EXPECT_EQ(OnlineLink::variant(m_folder), QString());
    IniFile marker(m_folder.filePath(u"CONVODIST.DBS"_s));
    ASSERT_TRUE(marker.save());
    EXPECT_EQ(OnlineLink::variant(m_folder), u"D"_s);
    EXPECT_EQ(OnlineLink::odbcConnectionString(u"u"_s, u"p"_s, u"s"_s, u"MySQL ODBC 3.51 Driver"_s, u"d"_s),
              u"uid=u;pwd=p;server=s;driver={MySQL ODBC 3.51 Driver};database=d;dsn=;"_s);
    EXPECT_EQ(OnlineLink::odbcConnectionString(u"u"_s, u"p;w{d}"_s, u"s"_s, u"MySQL ODBC 3.51 Driver"_s, u"d"_s),
              u"uid=u;pwd={p;w{d}}};server=s;driver={MySQL ODBC 3.51 Driver};database=d;dsn=;"_s);
}

TEST_F(OnlineLinkTest, ACodeWithoutARowFailsWithTheLinkMessage)
{
    write(u"ONLINE"_s, u"SERVER"_s, u"127.0.0.1:1"_s);
    Session session;
    session.folder = m_folder;
    session.instCode = u"099"_s;
    session.instTitle = u"LOCAL TITLE"_s;
    try {
        OnlineLink::open(session);
        FAIL() << "the link opened without a row";
    } catch (const StopError &e) {
        // The link's own message, then the section that is missing, without trying a login.
        EXPECT_EQ(e.text(), u"Error in connecting to database!!\rInstitution.ini has no section [ONLINE 099] for the "
                            "institution code 099."_s);
    }
    EXPECT_EQ(session.onlineServer, u"127.0.0.1:1"_s);
    EXPECT_TRUE(session.onlineUser.isEmpty());
    EXPECT_TRUE(session.onlineDatabase.isEmpty());
    EXPECT_EQ(session.instTitle, u"LOCAL TITLE"_s);
    EXPECT_FALSE(session.cnOnline);
}

TEST_F(OnlineLinkTest, OpensTheDistanceEducationPortalAndTakesItsTitle)
{
    if (!test::backendAvailable(test::TestBackend::MariaDB))
        return;
    const auto server = test::MariaDbServer::fromEnvironment();
    auto admin = OnlineLink::connect(u"QMYSQL"_s, server->hostPort, server->user, server->password, {});
    const QString dist = test::uniqueName(u"swdist"_s);
    portalschema::createDatabase(*admin, dist);
    portalschema::create(*admin);

    write(u"ONLINE"_s, u"SERVER"_s, server->hostPort);
    writeRow(u"003"_s, u"no_such_database"_s, u"UNIVERSITY"_s);
    writeRow(u"003D"_s, dist, u"DISTANCE EDUCATION"_s);
    write(u"ONLINE 003D"_s, u"USER"_s, server->user);
    write(u"ONLINE 003D"_s, u"PASSWORD"_s, server->password);
    IniFile marker(m_folder.filePath(u"CONVODIST.DBS"_s));
    ASSERT_TRUE(marker.save());

    Session session;
    session.folder = m_folder;
    session.instCode = u"003"_s;
    OnlineLink::open(session);
    ASSERT_TRUE(session.cnOnline && session.cnOnline->isOpen());
    EXPECT_EQ(session.onlineVariant, u"D"_s);
    EXPECT_EQ(session.onlineDatabase, dist);
    EXPECT_EQ(session.cnOnline->currentDatabaseName(), dist);
    EXPECT_EQ(session.instTitle, u"DISTANCE EDUCATION"_s);
    EXPECT_EQ(session.cnOnline->query(u"select fregno from dcstud"_s).query().size(), 0);
    admin->exec(u"DROP DATABASE `"_s + dist + u'`');
}

TEST(TestPortal, TheTestScriptsPortalHasItsTables)
{
    const QByteArray name = qgetenv("SCROLLWISE_TEST_PORTAL");
    if (name.isEmpty() || !test::backendAvailable(test::TestBackend::MariaDB))
        GTEST_SKIP() << "no portal database (run scripts/test)";
    const auto server = test::MariaDbServer::fromEnvironment();
    auto portal =
        OnlineLink::connect(u"QMYSQL"_s, server->hostPort, server->user, server->password, QString::fromLatin1(name));
    EXPECT_TRUE(portal->query(u"select fappno, fpaystatus from dctran where 1 = 0"_s).query().isActive());
    EXPECT_TRUE(portal->query(u"select fregno, fcnvno from dcstud where 1 = 0"_s).query().isActive());
    EXPECT_EQ(portal->scalar(u"select @@global.local_infile"_s).toInt(), 1);
}

} // namespace
