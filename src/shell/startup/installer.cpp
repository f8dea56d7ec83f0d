// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/startup/installer.h"

#include "shell/core/inifile.h"
#include "shell/core/institutionconfig.h"
#include "shell/core/passwordcodec.h"
#include "shell/core/stoperror.h"
#include "shell/core/versiontext.h"
#include "shell/db/connectionsettings.h"
#include "shell/db/connector.h"
#include "shell/settings/controlstore.h"
#include "shell/startup/startup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

void writeConfiguration(const AppFolder &folder, const Installer::Options &o, QStringList &done)
{
    const QString path = Startup::iniPath(folder);
    IniFile ini(path);
    if (!ini.load())
        throw StopError(u"The configuration file "_s + path + u" cannot be read: "_s + ini.errorString());
    const QString section = QString::fromLatin1(ConnectionSettings::kSection);
    ini.setValue(section, u"DBASEPATH"_s, o.type);
    const std::optional<Backend> backend = backendOfType(o.type);
    if (!o.server.isEmpty() || ConnectionSettings::namesServer(backend))
        ini.setValue(section, u"SERVERNAME"_s, o.server);
    if (ConnectionSettings::namesServerAndPassword(backend))
        ini.setValue(section, u"PASSWORD"_s, passwords::encodeIni(o.dbPassword));
    if (!o.adminUser.isEmpty())
        ini.setValue(section, u"ADMINUSER"_s, o.adminUser);
    if (!o.databaseName.isEmpty())
        ini.setValue(section, u"DBNAME"_s, o.databaseName);
    if (!ini.save())
        throw StopError(u"The configuration file "_s + path + u" cannot be written: "_s + ini.errorString());
    done.append(u"configuration "_s + path + u" (database type "_s + o.type + u')');
}

void writeMarker(const AppFolder &folder, bool dist, QStringList &done)
{
    const QString name = dist ? u"CONVODIST.DBS"_s : u"CONVO.DBS"_s;
    if (!folder.findFileAnyCase(name).isEmpty())
        return;
    QFile marker(folder.filePath(name));
    if (!marker.open(QIODevice::WriteOnly))
        throw StopError(u"The marker file "_s + marker.fileName() + u" cannot be written: "_s + marker.errorString());
    done.append(u"marker file "_s + name);
}

void writeInstitutionTemplate(const AppFolder &folder, const QString &code, QStringList &done)
{
    const QString name = QString::fromLatin1(InstitutionConfig::kFileName);
    if (!folder.findFileAnyCase(name).isEmpty())
        return;
    QFile file(folder.filePath(name));
    if (!file.open(QIODevice::WriteOnly))
        return;
    file.write(InstitutionConfig::templateText(code).toUtf8());
    done.append(u"institution file "_s + name);
}

// An open connection to `name` when it holds the settings table; null otherwise.
std::unique_ptr<Database> openApplicationDatabase(const ConnectionSettings &settings, const AppFolder &folder,
                                                  const QString &name)
{
    try {
        Connector::Options options;
        options.database = name;
        auto db = Connector::open(settings, folder, options);
        ControlStore(*db).version();
        return db;
    } catch (const DbError &) {
    } catch (const StopError &) {
    }
    return nullptr;
}

} // namespace

std::unique_ptr<Database> Installer::openExisting(const AppFolder &folder, const Options &o)
{
    IniFile ini(Startup::iniPath(folder));
    if (ini.exists() && ini.load()) {
        const ConnectionSettings current = ConnectionSettings::read(ini);
        if (!current.dbType.trimmed().isEmpty() && !Connector::markedDatabase(folder).isEmpty()) {
            if (auto db = openApplicationDatabase(current, folder, Connector::databaseName(current, folder)))
                return db;
        }
    }
    ConnectionSettings target;
    target.dbType = o.type;
    target.serverName = o.server;
    target.dbPassword = o.dbPassword;
    target.adminUser = o.adminUser;
    target.databaseName = o.databaseName;
    const QString name = !o.databaseName.isEmpty() ? o.databaseName : o.dist ? u"CONVODIST"_s : u"CONVO"_s;
    return openApplicationDatabase(target, folder, name);
}

Installer::Result Installer::install(const AppFolder &folder, const Options &o, Prompter &prompter)
{
    Result result;
    static const QRegularExpression code(u"^[A-Za-z0-9]{1,10}$"_s);
    if (!code.match(o.institution).hasMatch())
        throw StopError(u"The institution code \""_s + o.institution + u"\" must be 1 to 10 letters or digits."_s);
    if (!ConnectionSettings::knownTypes().contains(o.type) || o.type == u"ACCESS"_s)
        throw StopError(u"Unknown database type \""_s + o.type + u"\": use SQLITE, MYSQL, SQLSRVR or ORACLE."_s);
    if (!QDir().mkpath(folder.root()))
        throw StopError(u"The application folder "_s + folder.root() + u" cannot be created."_s);

    // An installation that fails half-way (a server that refuses the tables) leaves the
    // folder as it found it: the files it made go, the configuration it changed returns.
    const QStringList before = QDir(folder.root()).entryList(QDir::Files);
    const QString iniPath = Startup::iniPath(folder);
    QFile previousIni(iniPath);
    const QByteArray previousConfiguration =
        previousIni.open(QIODevice::ReadOnly) ? previousIni.readAll() : QByteArray();
    previousIni.close();
    try {
        writeFolder(folder, o, prompter, result);
    } catch (...) {
        for (const QString &name : QDir(folder.root()).entryList(QDir::Files)) {
            if (!before.contains(name))
                QFile::remove(folder.filePath(name));
        }
        if (before.contains(QFileInfo(iniPath).fileName())) {
            QFile restored(iniPath);
            if (restored.open(QIODevice::WriteOnly | QIODevice::Truncate))
                restored.write(previousConfiguration);
        }
        throw;
    }
    return result;
}

void Installer::writeFolder(const AppFolder &folder, const Options &o, Prompter &prompter, Result &result)
{
    writeConfiguration(folder, o, result.done);
    writeMarker(folder, o.dist, result.done);
    writeInstitutionTemplate(folder, o.institution, result.done);

    IniFile ini(Startup::iniPath(folder));
    ini.load();
    Connector::Options connectOptions;
    connectOptions.createIfMissing = true;
    const auto db = Connector::open(ConnectionSettings::read(ini), folder, connectOptions);

    SchemaUpgrade upgrade(*db, prompter);
    result.schema = upgrade.run();
    if (result.schema.stoppedEarly)
        throw StopError(u"The schema could not be completed; see the message above."_s);
    upgrade.stampVersion(programVersion());
    result.done.append(u"schema: "_s + QString::number(result.schema.createdTables.size()) + u" tables created, "_s
                       + QString::number(result.schema.addedColumns.size()) + u" columns added"_s);

    WriteScope scope(*db);
    ControlStore control(*db);
    if (!control.ensureRow(o.institution, programVersion())) {
        control.setUnitCode(o.institution);
        result.done.append(u"settings row: institution code "_s + o.institution);
    } else {
        result.done.append(u"settings row created: institution code "_s + o.institution);
    }
    if (!db->exists(u"select fusername from masuser where fusername = ?"_s, {u"ADMIN"_s})) {
        db->exec(u"insert into masuser (fusername, fpasswd, fpermission, fsection) values (?, ?, ?, ?)"_s,
                 {u"ADMIN"_s, passwords::hashUser(firstAdminPassword()), u""_s, u"A"_s});
        result.done.append(u"user ADMIN created (password ADMIN)"_s);
    }
    scope.commit();
}

} // namespace sw
