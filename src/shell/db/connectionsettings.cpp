// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/db/connectionsettings.h"

#include "shell/core/inifile.h"
#include "shell/core/passwordcodec.h"

using namespace Qt::StringLiterals;

namespace sw {

ConnectionSettings ConnectionSettings::read(const IniFile &ini)
{
    const QString section = QString::fromLatin1(kSection);
    ConnectionSettings s;
    s.dbType = ini.value(section, u"DBASEPATH"_s);
    s.serverName = ini.value(section, u"SERVERNAME"_s);
    s.dbPassword = passwords::decodeIni(ini.value(section, u"PASSWORD"_s));
    s.odbcDriver = ini.value(section, u"ODBCDRIVER"_s);
    s.adminUser = ini.value(section, u"ADMINUSER"_s);
    s.databaseName = ini.value(section, u"DBNAME"_s);
    s.oracleUser = ini.value(section, u"ORACLEUSER"_s);
    s.oraclePassword = passwords::decodeIni(ini.value(section, u"ORACLEPASSWORD"_s));
    return s;
}

QString ConnectionSettings::effectiveOdbcDriver() const
{
    if (!odbcDriver.isEmpty())
        return odbcDriver;
    return backend() == Backend::Oracle ? u"Oracle"_s : u"FreeTDS"_s;
}

QString ConnectionSettings::effectiveAdminUser() const
{
    if (!adminUser.isEmpty())
        return adminUser;
    return backend() == Backend::MySql ? u"root"_s : u"sa"_s;
}

QString ConnectionSettings::effectiveOracleUser() const { return oracleUser.isEmpty() ? u"convo"_s : oracleUser; }

QString ConnectionSettings::effectiveOraclePassword() const
{
    return oraclePassword.isEmpty() ? u"convo"_s : oraclePassword;
}

QStringList ConnectionSettings::knownTypes()
{
    return {u"SQLITE"_s, u"MYSQL"_s, u"SQLSRVR"_s, u"ORACLE"_s, u"ACCESS"_s};
}

} // namespace sw
