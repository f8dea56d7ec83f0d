// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/forms/formscommands.h"

#include "shell/batch/batchcommand.h"
#include "shell/forms/menutree.h"

#include <QAction>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// One line per item, tab-separated: code, caption, enabled or disabled; the items
// of a top menu are indented by two blanks under it.
int runMenu(BatchContext &c)
{
    MenuActions menu;
    menu.applyPermissions(c.session);
    for (const MenuEntry &entry : menuTree()) {
        if (entry.separator)
            continue;
        const QAction *a = menu.action(entry.code);
        c.out << (entry.parent.isEmpty() ? QString() : u"  "_s) << entry.code << u'\t' << entry.caption << u'\t'
              << (a->isEnabled() ? u"enabled"_s : u"disabled"_s) << Qt::endl;
    }
    return batchexit::kOk;
}

} // namespace

void addFormsCommands(BatchTool &tool)
{
    tool.add({.name = u"menu"_s,
              .summary =
                  u"Logs in and prints the main window's menu tree as that user sees it: code, caption, enabled or "
                  "disabled (--convo ADMN disables the convocation commands)."_s,
              .needsLogin = true,
              .needsDatabase = true,
              .run = runMenu});
}

} // namespace sw
