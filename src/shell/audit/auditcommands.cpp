// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/audit/auditcommands.h"
#include "shell/core/dates.h"

#include "shell/audit/audittrail.h"
#include "shell/batch/batchcommand.h"
#include "shell/db/database.h"

using namespace Qt::StringLiterals;

namespace sw {

namespace {

QDate dateOption(const BatchContext &c, const QString &name)
{
    if (!c.args.has(name))
        return {};
    const QDate d = parseDmy(c.args.value(name));
    if (!d.isValid())
        throw UsageError(u"--"_s + name + u" takes a date dd/mm/yyyy, not \""_s + c.args.value(name) + u"\"."_s);
    return d;
}

int runAudit(BatchContext &c)
{
    c.prompter.keepOutputForReport();
    AuditTrail::Filter filter;
    filter.from = dateOption(c, u"from"_s);
    filter.to = dateOption(c, u"to"_s);
    filter.user = c.args.value(u"user"_s).trimmed().toUpper();
    filter.what = c.args.value(u"what"_s).trimmed().toLower();
    static const QStringList kinds = {u"login"_s,        u"users"_s,   u"masters"_s, u"settings"_s,
                                      u"certificates"_s, u"imports"_s, u"restore"_s, u"upgrade"_s};
    if (!filter.what.isEmpty() && !kinds.contains(filter.what))
        throw UsageError(u"--what takes "_s + kinds.join(u", "_s) + u", not \""_s + filter.what + u"\"."_s);
    c.out << u"when\tuser\tworkstation\twhat\taction\ttable\tkey\told\tnew"_s << Qt::endl;
    for (const AuditTrail::Line &l : AuditTrail(c.session.db()).lines(filter)) {
        const AuditEntry &e = l.entry;
        c.out << QStringList{l.when, l.user, l.workstation, e.what, e.action, e.table, e.key, e.oldValue, e.newValue}
                     .join(u'\t')
              << Qt::endl;
    }
    return batchexit::kOk;
}

} // namespace

void addAuditCommands(BatchTool &tool)
{
    BatchCommand audit{
        u"audit"_s,
        {},
        u"Lists the audit trail: logins, failed logins and locks, and the changes to users, masters, "
        "settings and certificate numbers, restores and upgrades, with who, when, where and the old "
        "and new values (ADMIN only)."_s,
        {{u"from"_s, u"dd/mm/yyyy"_s, u"from this day"_s},
         {u"to"_s, u"dd/mm/yyyy"_s, u"up to this day"_s},
         {u"user"_s, u"NAME"_s, u"only what this user did"_s},
         {u"what"_s, u"KIND"_s, u"only login, users, masters, settings, certificates, imports, restore or upgrade"_s}},
        {},
        true,
        true,
        runAudit};
    audit.administratorOnly = true;
    tool.add(std::move(audit));
}

} // namespace sw
