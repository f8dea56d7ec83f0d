// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/testportal.h"

#include "shell/core/inifile.h"
#include "shell/core/institutionconfig.h"
#include "shell/online/onlinelink.h"
#include "shell/online/portalschema.h"
#include "support/testdatabase.h"

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace sw::test {

TestPortal::TestPortal(const AppFolder &folder, const QString &code, const QString &title)
    : m_name(uniqueName(u"swportal"_s))
{
    const auto server = MariaDbServer::fromEnvironment();
    if (!server)
        throw std::runtime_error("no MariaDB server configured");
    m_db = OnlineLink::connect(u"QMYSQL"_s, server->hostPort, server->user, server->password, {});
    portalschema::createDatabase(*m_db, m_name);
    portalschema::create(*m_db);
    writeLink(folder, code, server->hostPort, server->user, server->password, m_name, title);
}

TestPortal::~TestPortal()
{
    try {
        m_db->exec(u"DROP DATABASE IF EXISTS `"_s + m_name + u'`');
    } catch (const DbError &) {
    }
}

void TestPortal::writeLink(const AppFolder &folder, const QString &code, const QString &server, const QString &user,
                           const QString &password, const QString &database, const QString &title)
{
    IniFile ini(folder.filePath(QString::fromLatin1(InstitutionConfig::kFileName)), IniFile::Encoding::Utf8);
    ini.load();
    ini.setValue(u"ONLINE"_s, u"SERVER"_s, server);
    const QString section = u"ONLINE "_s + code;
    ini.setValue(section, u"USER"_s, user);
    ini.setValue(section, u"PASSWORD"_s, password);
    ini.setValue(section, u"DATABASE"_s, database);
    ini.setValue(section, u"TITLE"_s, title);
    ini.save();
}

} // namespace sw::test
