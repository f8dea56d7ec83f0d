// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/forms/formscommands.h"

#include "shell/batch/batchcommand.h"
#include "shell/common/numberwords.h"
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

int runWords(BatchContext &c)
{
    if (c.args.positionals.size() != 1)
        throw UsageError(u"words needs one amount: scrollwise-batch words AMOUNT"_s);
    const QString amount = c.args.positionals.first();
    const auto words = amountInWords(amount);
    if (!words)
        throw UsageError(u"words: \""_s + amount
                         + u"\" is not an amount: give digits with at most two decimals, for example 125000.50"_s);
    c.out << *words << Qt::endl;
    return batchexit::kOk;
}

} // namespace

void addFormsCommands(BatchTool &tool)
{
    tool.add({u"menu"_s, {},
              u"Logs in and prints the main window's menu tree as that user sees it: code, caption, enabled or "
              "disabled (--convo ADMN disables the convocation commands)."_s,
              {}, {}, true, true, runMenu});
    tool.add({u"words"_s, u"AMOUNT"_s,
              u"Prints an amount in words in the Indian system (crore, lakh, thousand; paise after the point)."_s, {},
              {}, false, false, runWords});
}

} // namespace sw
