// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/batch/shellcommands.h"

#include "shell/audit/auditcommands.h"
#include "shell/audit/audittrail.h"
#include "shell/backup/backuprun.h"
#include "shell/backup/upgraderun.h"
#include "shell/batch/batchcommand.h"
#include "shell/core/versiontext.h"
#include "shell/db/schemaupgrade.h"
#include "shell/core/inifile.h"
#include "shell/core/issuerkey.h"
#include "shell/core/stoperror.h"
#include "shell/db/connectionsettings.h"
#include "shell/db/connector.h"
#include "shell/db/presence.h"
#include "shell/batch/documentcommands.h"
#include "shell/common/textcommands.h"
#include "shell/forms/formscommands.h"
#include "shell/settings/controlstore.h"
#include "shell/startup/installer.h"
#include "shell/startup/loginstore.h"
#include "shell/startup/startup.h"
#include "shell/users/usercommands.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// Logs in on `db` (the administration code, no convocation) and refuses anyone but
// ADMIN: what follows can change the whole installation. With `menuCode`, the refusal
// is the menu item's, as for every other command.
void requireAdministrator(BatchContext &c, Database &db, const QString &what, const QString &menuCode = {})
{
    if (c.user.isEmpty())
        throw UsageError(u"\""_s + what + u"\" needs the ADMIN login: --user ADMIN --password PW."_s);
    const LoginStore store(db);
    if (const auto refusal = store.login(c.session, c.user, c.password, Session::adminConvocation()))
        throw StopError(refusal->text);
    if (!menuCode.isEmpty()) {
        if (const QString refusal = menuRefusal(c, menuCode, what); !refusal.isEmpty())
            throw StopError(refusal);
    }
    if (!c.session.isAdministrator())
        throw StopError(u"Only ADMIN may run \""_s + what + u"\"; "_s + c.session.userName + u" may not."_s);
}

// Opens the folder's database without start-up's version check, which would send an
// older database to the upgrade and refuse a newer one.
void connectDirectly(BatchContext &c)
{
    IniFile ini(Startup::iniPath(c.folder));
    if (!ini.exists())
        throw StopError(u"The configuration file "_s + ini.path() + u" does not exist: run scrollwise-batch init."_s);
    ini.load();
    c.session.folder = c.folder;
    c.session.iniFile = ini.path();
    const ConnectionSettings settings = ConnectionSettings::read(ini);
    c.session.cn = Connector::open(settings, c.folder);
    Presence::join(*c.session.cn, settings, c.folder, QCoreApplication::applicationName());
}

// Makes the institution's key pair, asking its passphrase twice (a line each on standard
// input), and prints the public key.
void makeKeys(BatchContext &c, bool replace)
{
    const auto first =
        c.prompter.inputSecret(u"The passphrase that will guard the institution's signing key"_s, u"Keys"_s);
    const auto second = c.prompter.inputSecret(u"The same passphrase again"_s, u"Keys"_s);
    if (!first || !second || *first != *second)
        throw StopError(u"The two passphrases differ: no key pair was made."_s);
    IssuerKey::create(c.folder, first->toUtf8(), replace);
    c.out << u"a new Ed25519 key pair: "_s << QString::fromLatin1(IssuerKey::kSecretFile)
          << u" (the secret key, sealed with the passphrase)"_s << Qt::endl;
}

void printPublicKey(BatchContext &c)
{
    const auto key = IssuerKey::publicKey(c.folder);
    if (!key)
        throw StopError(u"The folder holds no key pair: make one with \"scrollwise-batch keys --new\"."_s);
    c.out << u"public key (Ed25519, base64url): "_s << QString::fromLatin1(base64Url(*key)) << Qt::endl;
    c.out << u"in "_s << QString::fromLatin1(IssuerKey::kPublicFile) << u"; publish it with the verification page"_s
          << Qt::endl;
}

int runKeys(BatchContext &c)
{
    if (c.args.has(u"new"_s)) {
        if (c.session.userName.compare(u"ADMIN"_s, Qt::CaseInsensitive) != 0)
            throw StopError(u"Only ADMIN may make the institution's key pair."_s);
        const auto before = IssuerKey::publicKey(c.folder);
        makeKeys(c, c.args.has(u"replace"_s));
        // A new key makes every code signed before unverifiable: the trail says who made it.
        AuditTrail(c.session.db())
            .record(c.session.userName,
                    {u"settings"_s, u"keys"_s, u"keys"_s, QString::fromLatin1(IssuerKey::kPublicFile),
                     before ? QString::fromLatin1(base64Url(*before)) : QString(),
                     QString::fromLatin1(base64Url(*IssuerKey::publicKey(c.folder)))});
    }
    printPublicKey(c);
    return batchexit::kOk;
}

int runInit(BatchContext &c)
{
    Installer::Options o;
    o.institution = c.required(u"institution"_s);
    o.type = c.args.value(u"type"_s, u"SQLITE"_s).toUpper();
    o.server = c.args.value(u"server"_s);
    o.dbPassword = c.args.value(u"db-password"_s);
    o.adminUser = c.args.value(u"admin-user"_s);
    o.databaseName = c.args.value(u"db-name"_s);
    o.dist = c.args.has(u"dist"_s);
    // Setting a configured folder up again keeps its database unless another is named:
    // "init --force" must not quietly move an installation to a new SQLite file.
    IniFile current(Startup::iniPath(c.folder));
    if (!c.args.has(u"type"_s) && current.exists() && current.load()) {
        const ConnectionSettings configured = ConnectionSettings::read(current);
        if (!configured.dbType.trimmed().isEmpty()) {
            o.type = configured.dbType.trimmed().toUpper();
            if (!c.args.has(u"server"_s))
                o.server = configured.serverName;
            if (!c.args.has(u"db-password"_s))
                o.dbPassword = configured.dbPassword;
            if (!c.args.has(u"admin-user"_s))
                o.adminUser = configured.adminUser;
            if (!c.args.has(u"db-name"_s))
                o.databaseName = configured.databaseName;
            if (!c.args.has(u"dist"_s))
                o.dist = Connector::markedDatabase(c.folder) == u"CONVODIST"_s;
        }
    }
    if (ConnectionSettings::namesServer(backendOfType(o.type)) && o.server.isEmpty())
        throw UsageError(u"--server is required for database type "_s + o.type + u'.');
    QString reinstalled; // the database set up again, which the audit trail names
    if (auto existing = Installer::openExisting(c.folder, o)) {
        const QString name = existing->currentDatabaseName();
        reinstalled = name;
        if (!c.args.has(u"force"_s))
            throw StopError(u"The folder "_s + c.folder.root() + u" already holds the database "_s + name
                            + u": init would rewrite its institution code and version. To set it up again, give "
                              "--force with --user ADMIN --password PW."_s);
        requireAdministrator(c, *existing, u"init --force"_s);
        if (!c.prompter.askRisky(u"The database "_s + name
                                 + u" already exists. Set it up again with institution code "_s + o.institution + u'?'))
            throw StopError(u"Nothing was changed."_s, PromptIcon::Information);
    }
    const Installer::Result result = Installer::install(c.folder, o, c.prompter);
    // Setting a folder's database up again is a change to the folder: the trail says who did it.
    if (!reinstalled.isEmpty()) {
        if (auto installed = Installer::openExisting(c.folder, o))
            AuditTrail(*installed)
                .record(
                    c.session.userName,
                    {u"folder"_s, u"init --force"_s, u"control"_s, reinstalled, {}, u"funitcode="_s + o.institution});
    }
    for (const QString &line : result.done)
        c.out << line << Qt::endl;
    c.out << u"installed in "_s << c.folder.root() << Qt::endl;
    if (c.args.has(u"keys"_s)) {
        makeKeys(c, false);
        printPublicKey(c);
    }
    return batchexit::kOk;
}

int runUpgrade(BatchContext &c)
{
    connectDirectly(c);
    requireAdministrator(c, c.session.db(), u"upgrade"_s);
    UpgradeRun upgrade(c.session.db(), c.folder, c.prompter);
    upgrade.setUser(c.session.userName);
    const UpgradeRun::Result result = upgrade.run(programVersion());
    if (result.outcome == UpgradeRun::Outcome::Refused)
        return batchexit::kRefused;
    const UpgradeReport &report = result.report;
    c.out << u"tables created: "_s << report.createdTables.join(u", "_s) << Qt::endl;
    c.out << u"columns added: "_s << report.addedColumns.join(u", "_s) << Qt::endl;
    c.out << u"columns re-declared: "_s << report.redeclaredColumns << Qt::endl;
    for (const QString &s : std::as_const(report.skippedStatements))
        c.out << u"skipped: "_s << s << Qt::endl;
    return result.outcome == UpgradeRun::Outcome::Upgraded ? batchexit::kOk : batchexit::kRefused;
}

int runLoginCheck(BatchContext &c)
{
    const Session &s = c.session;
    const std::pair<const char *, QString> values[] = {
        {"IniFile", s.iniFile},
        {"DbType", s.dbType},
        {"ServerName", s.serverName},
        {"Database", s.db().currentDatabaseName()},
        {"InstCode", s.instCode},
        {"InstTitle", s.instTitle},
        {"InstAddress1", s.instAddress[0]},
        {"InstAddress2", s.instAddress[1]},
        {"InstAddress3", s.instAddress[2]},
        {"InstAddress4", s.instAddress[3]},
        {"UserName", s.userName},
        {"UserSection", s.userSection},
        {"ConvoCode", s.convoCode},
        {"ConvoName", s.convoName},
    };
    for (const auto &[name, value] : values)
        c.out << QString::fromLatin1(name) << u'=' << value << Qt::endl;
    return batchexit::kOk;
}

int runBackup(BatchContext &c)
{
    BackupRun run(c.session, c.prompter, [&c](const QString &status, int) { c.out << status << Qt::endl; });
    const BackupRun::Result result = run.run();
    if (!result.done)
        return batchexit::kRefused;
    c.out << u"backup file: "_s << result.file << Qt::endl;
    c.out << u"candidates without a convocation removed: "_s << result.removedCandidates << Qt::endl;
    return batchexit::kOk;
}

// Restore needs no working database: when the installation's database is missing or
// unreadable, the ADMIN password is checked against the backup's own users instead.
int runRestore(BatchContext &c)
{
    if (c.args.positionals.size() != 1)
        throw UsageError(u"restore needs the backup file: scrollwise-batch restore FILE"_s);
    if (c.user.isEmpty())
        throw UsageError(u"\"restore\" needs the ADMIN login: --user ADMIN --password PW."_s);
    bool usable = false;
    try {
        connectDirectly(c);
        ControlStore(c.session.db()).version();
        usable = true;
    } catch (const DbError &e) {
        if (e.kind() != DbErrorKind::ServerUnreachable && e.kind() != DbErrorKind::MissingTable
            && e.kind() != DbErrorKind::NotADatabase)
            throw;
        c.err << u"The database cannot be opened ("_s << e.description()
              << u"): the ADMIN password is checked against the backup's own users."_s << Qt::endl;
    }
    if (usable)
        requireAdministrator(c, c.session.db(), u"restore"_s, u"N45"_s);
    // The session's own connection is closed first: the database under it is replaced.
    c.session.cn.reset();
    RestoreRun run(c.folder, c.prompter, [&c](const QString &status, int) { c.out << status << Qt::endl; });
    run.setUser(c.user);
    if (!usable)
        run.requireAdministratorOfCopy(c.password);
    switch (run.run(c.args.positionals.first())) {
    case RestoreRun::Outcome::Restored: return batchexit::kOk;
    case RestoreRun::Outcome::Declined:
    case RestoreRun::Outcome::Refused: break;
    }
    return batchexit::kRefused;
}

} // namespace

void addShellCommands(BatchTool &tool)
{
    tool.add({.name = u"help"_s,
              .arguments = u"[COMMAND]"_s,
              .summary = u"Lists the commands (or those of COMMAND) and their options."_s,
              .run = [&tool](BatchContext &c) {
                  const QString topic = c.args.positionals.join(u' ');
                  const QString text = tool.helpText(topic);
                  if (!topic.isEmpty() && !text.contains(u"\n  "_s + topic))
                      throw UsageError(u"No command \""_s + topic + u"\": scrollwise-batch help lists them."_s);
                  c.out << text;
                  return batchexit::kOk;
              }});
    tool.add(
        {.name = u"init"_s,
         .summary = u"Sets up the application folder: configuration, marker file, database, schema, settings row "
                    "and the user ADMIN (first password ADMIN)."_s,
         .options = {{u"institution"_s, u"CODE"_s, u"institution code of the settings row"_s},
                     {u"type"_s, u"SQLITE|MYSQL|SQLSRVR|ORACLE"_s, u"database type (SQLITE when not given)"_s},
                     {u"server"_s, u"HOST[:PORT]"_s, u"database server (data source for ORACLE)"_s},
                     {u"db-password"_s, u"PW"_s, u"password of the server's administrator login"_s},
                     {u"admin-user"_s, u"NAME"_s,
                      u"the server's administrator login (root for MYSQL, sa for SQLSRVR)"_s},
                     {u"db-name"_s, u"NAME"_s, u"database name instead of CONVO / CONVODIST"_s},
                     {u"dist"_s, {}, u"use the CONVODIST database (marker CONVODIST.DBS)"_s},
                     {u"force"_s, {}, u"set up a folder that already holds a database again (ADMIN login, asks)"_s},
                     {u"keys"_s, {}, u"also make the institution's signing key pair (asks its passphrase twice)"_s}},
         .run = runInit});
    tool.add({.name = u"keys"_s,
              .summary = u"Prints the institution's public key, which checks the certificates' verification codes; "
                         "with --new (ADMIN), makes the key pair first, asking its passphrase twice."_s,
              .options = {{u"new"_s, {}, u"make the key pair"_s},
                          {u"replace"_s,
                           {},
                           u"with --new: replace an existing pair (codes signed with it stop "
                           "verifying)"_s}},
              .needsLogin = true,
              .needsDatabase = true,
              .run = runKeys});
    tool.add(
        {.name = u"upgrade"_s,
         .summary =
             u"Brings the database's tables up to this program's schema and stamps its version (ADMIN only; a copy "
             "of the database goes to Backup/ first)."_s,
         .run = runUpgrade});
    tool.add({.name = u"backup"_s,
              .summary =
                  u"Backs the database up to Backup/ (database name + ddmmyyyy + .bak), then removes the candidates "
                  "without a convocation code."_s,
              .menuCode = u"N47"_s,
              .needsLogin = true,
              .needsDatabase = true,
              .run = runBackup});
    tool.add({.name = u"restore"_s,
              .arguments = u"FILE"_s,
              .summary =
                  u"Puts a backup in place of the database the installation uses, also a missing or unreadable one "
                  "(ADMIN only; asks before overwriting one: --yes / --no)."_s,
              .run = runRestore});
    tool.add({.name = u"login-check"_s,
              .summary = u"Logs in with --user/--password/--convo and prints the session values."_s,
              .needsLogin = true,
              .needsDatabase = true,
              .run = runLoginCheck});
    addDocumentCommands(tool);
    addTextCommands(tool);
    addFormsCommands(tool);
    addUserCommands(tool);
    addAuditCommands(tool);
}

} // namespace sw
