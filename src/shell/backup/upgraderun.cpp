// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/backup/upgraderun.h"

#include "shell/audit/audittrail.h"
#include "shell/backup/backupengine.h"
#include "shell/backup/backuprun.h"
#include "shell/core/maker.h"
#include "shell/core/prompter.h"
#include "shell/core/stoperror.h"
#include "shell/core/versiontext.h"
#include "shell/db/database.h"
#include "shell/db/failures.h"
#include "shell/settings/controlstore.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace sw {

UpgradeRun::UpgradeRun(Database &db, AppFolder folder, Prompter &prompter)
    : m_db(db)
    , m_folder(std::move(folder))
    , m_prompter(prompter)
{
}

QString UpgradeRun::writeBackup(const QDate &day)
{
    const auto engine = BackupEngine::forBackend(m_db.backend());
    if (!engine)
        return {};
    const QString folder = m_folder.filePath(u"Backup"_s);
    if (!QDir().mkpath(folder))
        throw StopError(u"The folder "_s + folder + u" cannot be created."_s);
    const QString file = folder + u'/' + BackupRun::fileName(m_db.currentDatabaseName(), day);
    engine->backup(m_db, file);
    return file;
}

UpgradeRun::Result UpgradeRun::run(const QString &programVersion, const QDate &day)
{
    Result result;
    try {
        result.databaseVersion = ControlStore(m_db).version();
        if (compareVersionText(programVersion, result.databaseVersion) == VersionOrder::DatabaseNewer) {
            m_prompter.message(versionMismatchMessage(), u"Message"_s, PromptIcon::Critical);
            return result;
        }
        try {
            result.backupFile = writeBackup(day);
        } catch (const StopError &e) {
            throw StopError(u"The database was not upgraded: the copy to be taken first could not be written. "_s
                            + e.text());
        } catch (const DbError &e) {
            throw StopError(u"The database was not upgraded: the copy to be taken first could not be written. "_s
                            + e.screenMessage());
        }
        if (!result.backupFile.isEmpty())
            m_prompter.message(u"A copy of the database as it was before the upgrade: "_s + result.backupFile,
                               u"Message"_s, PromptIcon::Information);

        SchemaUpgrade upgrade(m_db, m_prompter);
        result.report = upgrade.run();
        if (result.report.stoppedEarly) {
            result.outcome = Outcome::Incomplete;
            m_prompter.message(u"The upgrade did not complete: the database keeps its version "_s
                                   + (result.databaseVersion.isEmpty() ? u"(none)"_s : result.databaseVersion)
                                   + u" and is upgraded again at the next start."_s,
                               u"Message"_s, PromptIcon::Exclamation);
            return result;
        }
        upgrade.stampVersion(programVersion);
        AuditTrail(m_db).record(m_user, {u"upgrade"_s, u"upgrade"_s, u"control"_s, m_db.currentDatabaseName(),
                                         u"fversion="_s + result.databaseVersion, u"fversion="_s + programVersion});
    } catch (const DbError &) {
        showFailure(m_prompter, ErrorForm::Numbered, PromptIcon::Exclamation);
        result.outcome = result.report.stoppedEarly ? Outcome::Incomplete : Outcome::Refused;
        return result;
    } catch (const StopError &) {
        showFailure(m_prompter, ErrorForm::Numbered);
        return result;
    }
    result.outcome = Outcome::Upgraded;
    m_prompter.message(u"Database modified successfully. Restart the Application"_s, u"Message"_s,
                       PromptIcon::Information);
    return result;
}

} // namespace sw
