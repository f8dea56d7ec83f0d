// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/startup/configwriter.h"

#include "shell/core/inifile.h"
#include "shell/core/passwordcodec.h"
#include "shell/db/connectionsettings.h"

using namespace Qt::StringLiterals;

namespace sw {

namespace {
bool needsServerAndPassword(const QString &type)
{
    return ConnectionSettings::namesServerAndPassword(backendOfType(type));
}
} // namespace

QString ConfigWriter::serverCaption(const QString &type)
{
    return needsServerAndPassword(type) ? u"Server name"_s : u"Connection string"_s;
}

bool ConfigWriter::showsServer(const QString &type)
{
    // The embedded database lives in the application folder: there is no server to name.
    return backendOfType(type) != Backend::SQLite;
}

bool ConfigWriter::showsPassword(const QString &type) { return needsServerAndPassword(type); }

std::optional<ConfigWriter::Refusal> ConfigWriter::check(const Choice &choice)
{
    if (choice.type.trimmed().isEmpty())
        return Refusal{u"Database type should be selected"_s, Field::Type};
    if (needsServerAndPassword(choice.type) && choice.server.trimmed().isEmpty())
        return Refusal{u"Server name should be entered"_s, Field::Server};
    if (backendOfType(choice.type) == Backend::Oracle && choice.server.trimmed().isEmpty())
        return Refusal{u"Connectiion to the server should be entered"_s, Field::Server};
    return std::nullopt;
}

bool ConfigWriter::write(const QString &iniPath, const Choice &choice, QString *error)
{
    IniFile ini(iniPath);
    if (!ini.load()) {
        if (error)
            *error = ini.errorString();
        return false;
    }
    const QString section = QString::fromLatin1(ConnectionSettings::kSection);
    ini.setValue(section, u"DBASEPATH"_s, choice.type);
    if (needsServerAndPassword(choice.type)) {
        ini.setValue(section, u"SERVERNAME"_s, choice.server);
        ini.setValue(section, u"PASSWORD"_s, passwords::encodeIni(choice.password));
    } else if (backendOfType(choice.type) == Backend::Oracle) {
        ini.setValue(section, u"SERVERNAME"_s, choice.server);
    }
    if (!ini.save()) {
        if (error)
            *error = ini.errorString();
        return false;
    }
    return true;
}

} // namespace sw
