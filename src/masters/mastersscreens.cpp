// SPDX-License-Identifier: GPL-3.0-or-later
#include "masters/mastersscreens.h"

#include "masters/gridmasters/gridmasterform.h"
#include "masters/namelibrary/kannadalibraryscreen.h"
#include "masters/namelibrary/kannadanameupdatescreen.h"
#include "masters/recordmasters/recordmasterform.h"
#include "shell/audit/audittrailscreen.h"
#include "shell/backup/restorescreen.h"
#include "shell/forms/screenregistry.h"
#include "shell/settings/institutionform.h"
#include "shell/settings/projectsettingsscreen.h"
#include "shell/users/passworddialog.h"
#include "shell/users/usersscreen.h"

using namespace Qt::StringLiterals;

namespace sw {

namespace {

void addRecordMaster(ScreenRegistry &screens, const QString &menuCode, const QString &formName)
{
    const RecordMasterKind *kind = RecordMasterKind::find(formName);
    screens.add(menuCode, {formName, false, [kind](const FormContext &c, const QString &) {
                               return new RecordMasterForm(c, *kind);
                           }});
}

void addGridMaster(ScreenRegistry &screens, const QString &menuCode, const QString &formName)
{
    const GridMasterKind *kind = GridMasterKind::find(formName);
    screens.add(menuCode, {formName, false, [kind](const FormContext &c, const QString &) {
                               return new GridMasterForm(c, *kind);
                           }});
}

} // namespace

void registerMastersScreens(ScreenRegistry &screens)
{
    addRecordMaster(screens, u"N14"_s, u"MASCONVOKAN"_s);
    addRecordMaster(screens, u"N11"_s, u"DEGREE"_s);
    addGridMaster(screens, u"N12"_s, u"COLLEGE"_s);
    addRecordMaster(screens, u"N13"_s, u"MASCLASS"_s);
    addGridMaster(screens, u"N15"_s, u"MASUNIV"_s);
    screens.add(u"N2A"_s, {u"UPDKANNAME"_s, false, [](const FormContext &c, const QString &) {
                               return new KannadaNameUpdateScreen(c);
                           }});
    screens.add(u"N44"_s, {u"AUTOCORRECT"_s, false, [](const FormContext &c, const QString &) {
                               return new KannadaLibraryScreen(c);
                           }});

    // The utilities of the shell (users, settings, backup) are registered here with the
    // screens of the same delivery rather than through a registration function of their own.
    screens.add(u"N42"_s, {u"FRMPASS"_s, true, [](const FormContext &c, const QString &) {
                               return new PasswordDialog(c.session, c.prompter);
                           }});
    screens.add(u"N43"_s, {u"users"_s, false, [](const FormContext &c, const QString &) { return new UsersScreen(c); }});
    screens.add(u"N41"_s, {u"CONTROLE"_s, false, [](const FormContext &c, const QString &) {
                               return new InstitutionForm(c);
                           }});
    screens.add(u"N49"_s, {u"SETTINGS"_s, false, [](const FormContext &c, const QString &) {
                               return new ProjectSettingsScreen(c);
                           }});
    registerBackupScreens(screens);
    registerAuditScreens(screens);
}

} // namespace sw
