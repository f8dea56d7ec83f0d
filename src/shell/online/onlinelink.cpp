// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/online/onlinelink.h"

#include "shell/core/institutionconfig.h"
#include "shell/core/stoperror.h"
#include "shell/db/connector.h"
#include "shell/db/database.h"
#include "shell/session.h"

#include <QSqlDatabase>
#include <QSqlError>

using namespace Qt::StringLiterals;

namespace sw {

namespace {
const QString kCommon = u"ONLINE"_s;
const QString kDefaultOdbcDriver = u"MySQL ODBC 3.51 Driver"_s;
} // namespace

OnlineLink::OnlineLink(const InstitutionConfig &config)
    : m_config(config)
{
}

QString OnlineLink::variant(const AppFolder &folder)
{
    return folder.findFileAnyCase(u"CONVODIST.DBS"_s).isEmpty() ? QString() : u"D"_s;
}

std::optional<OnlineLinkRow> OnlineLink::row(const QString &instCode, const QString &variant) const
{
    const QString code = instCode.trimmed();
    for (const QString &key : QStringList{code + variant, code}) {
        const QString section = kCommon + u' ' + key;
        OnlineLinkRow r{m_config.value(section, u"SERVER"_s),    m_config.value(section, u"USER"_s),
                        m_config.value(section, u"DATABASE"_s),  m_config.value(section, u"PASSWORD"_s),
                        m_config.value(section, u"SHORTNAME"_s), m_config.value(section, u"TITLE"_s),
                        m_config.value(section, u"REMARK"_s)};
        if (!r.user.isEmpty() || !r.database.isEmpty())
            return r;
        if (variant.isEmpty())
            break;
    }
    return std::nullopt;
}

QString OnlineLink::commonServer() const { return m_config.value(kCommon, u"SERVER"_s); }

QString OnlineLink::driver() const
{
    const QString d = m_config.value(kCommon, u"DRIVER"_s).toUpper();
    return d.isEmpty() ? u"QMYSQL"_s : d;
}

QString OnlineLink::odbcDriver() const
{
    const QString d = m_config.value(kCommon, u"ODBCDRIVER"_s);
    return d.isEmpty() ? kDefaultOdbcDriver : d;
}

QString OnlineLink::odbcConnectionString(const QString &user, const QString &password, const QString &server,
                                         const QString &odbcDriver, const QString &database)
{
    return u"uid="_s + Connector::odbcValue(user) + u";pwd="_s + Connector::odbcValue(password) + u";server="_s
           + Connector::odbcValue(server) + u";driver={"_s + odbcDriver + u"};database="_s
           + Connector::odbcValue(database) + u";dsn=;"_s;
}

std::unique_ptr<Database> OnlineLink::connect(const QString &driver, const QString &server, const QString &user,
                                              const QString &password, const QString &database,
                                              const QString &odbcDriver)
{
    QSqlDatabase handle = QSqlDatabase::addDatabase(driver, Connector::newConnectionName());
    if (driver == u"QODBC"_s) {
        handle.setDatabaseName(odbcConnectionString(user, password, server,
                                                    odbcDriver.isEmpty() ? kDefaultOdbcDriver : odbcDriver, database));
    } else {
        const auto [host, port] = Connector::mysqlHostPort(server);
        handle.setHostName(host);
        handle.setPort(port);
        handle.setUserName(user);
        handle.setPassword(password);
        handle.setDatabaseName(database);
        handle.setConnectOptions(u"MYSQL_OPT_CONNECT_TIMEOUT=10"_s);
    }
    if (!handle.open())
        Database::failOpen(handle, Backend::MySql);
    return std::make_unique<Database>(std::move(handle), SqlDialect::forBackend(Backend::MySql));
}

void OnlineLink::open(Session &session)
{
    const InstitutionConfig config = InstitutionConfig::load(session.folder);
    const OnlineLink link(config);
    session.onlineServer = link.commonServer();
    session.onlineVariant = variant(session.folder);
    session.onlineUser.clear();
    session.onlineDatabase.clear();
    session.onlinePassword.clear();
    const auto r = link.row(session.instCode, session.onlineVariant);
    session.cnOnline.reset();
    if (!r) {
        // Without its section the link would log in with no user and fail later with a
        // stranger message; the clerk's message is the same as for any failed link.
        const QString code = session.instCode.trimmed();
        QString sections = u"["_s + kCommon + u' ' + code + u']';
        if (!session.onlineVariant.isEmpty())
            sections.prepend(u"["_s + kCommon + u' ' + code + session.onlineVariant + u"] or "_s);
        throw StopError(u"Error in connecting to database!!"_s + u'\r'
                            + QString::fromLatin1(InstitutionConfig::kFileName) + u" has no section "_s + sections
                            + u" for the institution code "_s + code + u'.',
                        PromptIcon::Critical);
    }
    if (!r->server.isEmpty())
        session.onlineServer = r->server;
    session.onlineUser = r->user;
    session.onlineDatabase = r->database;
    session.onlinePassword = r->password;
    if (!r->title.isEmpty())
        session.instTitle = r->title;
    try {
        session.cnOnline = connect(link.driver(), session.onlineServer, session.onlineUser, session.onlinePassword,
                                   session.onlineDatabase, link.odbcDriver());
    } catch (const DbError &e) {
        // The clerk's message is the fixed one; the second line is for whoever fixes the link.
        throw StopError(u"Error in connecting to database!!"_s + u'\r' + u"Server: "_s + session.onlineServer
                            + u", database: "_s + session.onlineDatabase + u" (" + e.description() + u')',
                        PromptIcon::Critical);
    }
}

} // namespace sw
