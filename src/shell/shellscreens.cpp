// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/shellscreens.h"

#include "shell/audit/audittrailscreen.h"
#include "shell/backup/restorescreen.h"
#include "shell/forms/screenregistry.h"
#include "shell/settings/institutionform.h"
#include "shell/settings/projectsettingsscreen.h"
#include "shell/users/passworddialog.h"
#include "shell/users/usersscreen.h"

using namespace Qt::StringLiterals;

namespace sw {

void registerShellScreens(ScreenRegistry &screens)
{
    screens.add(u"N42"_s, {u"FRMPASS"_s, true, [](const FormContext &c, const QString &) {
                               return new PasswordDialog(c.session, c.prompter);
                           }});
    screens.add(u"N43"_s,
                {u"users"_s, false, [](const FormContext &c, const QString &) { return new UsersScreen(c); }});
    screens.add(u"N41"_s,
                {u"CONTROLE"_s, false, [](const FormContext &c, const QString &) { return new InstitutionForm(c); }});
    screens.add(u"N49"_s, {u"SETTINGS"_s, false,
                           [](const FormContext &c, const QString &) { return new ProjectSettingsScreen(c); }});
    registerBackupScreens(screens);
    registerAuditScreens(screens);
}

} // namespace sw
