// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/users/usercommands.h"

#include "shell/batch/batchcommand.h"
#include "shell/core/permissions.h"
#include "shell/users/permissiontree.h"
#include "shell/users/userstore.h"

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// "N1*N11*N12" or "N11,N12": exactly the codes given, each item with its top menu
// (which only opens the menu: "N2" alone grants none of the Transactions items).
QString permissionFrom(const QString &codes)
{
    PermissionTree tree;
    const QStringList list = QString(codes).replace(u',', u'*').split(u'*', Qt::SkipEmptyParts);
    for (const QString &raw : list) {
        const QString code = raw.trimmed().toUpper();
        if (!tree.contains(code))
            throw UsageError(u"\""_s + raw
                             + u"\" is not a menu code; the codes are N1, N11 ... N49 as the menu has them"_s);
        tree.grant(code);
    }
    return tree.permissionString();
}

int runAdd(BatchContext &c)
{
    if (c.args.positionals.size() != 1)
        throw UsageError(u"users add needs the user name: scrollwise-batch users add NAME"_s);
    UserStore store(c.session.db(), c.session.userName);
    if (!store.add(c.args.positionals.first(), c.args.value(u"section"_s), permissionFrom(c.args.value(u"permit"_s)),
                   c.prompter))
        return batchexit::kRefused;
    c.out << u"user "_s << c.args.positionals.first().trimmed().toUpper()
          << u" added; the first password is the user name"_s << Qt::endl;
    return batchexit::kOk;
}

// The menu items the user may use, as his menu shows them.
int runShow(BatchContext &c)
{
    if (c.args.positionals.size() != 1)
        throw UsageError(u"users show needs the user name: scrollwise-batch users show NAME"_s);
    UserStore store(c.session.db(), c.session.userName);
    const auto user = store.find(c.args.positionals.first().trimmed().toUpper());
    if (!user || user->deleted) {
        c.prompter.message(u"Invalid User Name"_s, u"Message"_s, PromptIcon::Exclamation);
        return batchexit::kRefused;
    }
    const bool administrator = user->name.compare(u"ADMIN"_s, Qt::CaseInsensitive) == 0;
    c.out << u"user "_s << user->name << u", section "_s << user->section << u", permission string "_s
          << user->permission << Qt::endl;
    const PermissionTree tree;
    for (const PermissionTree::Node &n : tree.nodes()) {
        if (permissions::allows(user->permission, n.code, administrator))
            c.out << n.code << u'\t' << (n.parent.isEmpty() ? QString() : u"  "_s) << n.text << Qt::endl;
    }
    return batchexit::kOk;
}

int runList(BatchContext &c)
{
    UserStore store(c.session.db(), c.session.userName);
    const bool all = c.args.has(u"deleted"_s);
    c.out << u"user\tsection\tpermission"_s << (all ? u"\tdeleted"_s : QString()) << Qt::endl;
    for (const UserStore::User &u : store.list(all)) {
        c.out << u.name << u'\t' << u.section << u'\t' << u.permission;
        if (all)
            c.out << u'\t' << (u.deleted ? u"T"_s : u"F"_s);
        c.out << Qt::endl;
    }
    return batchexit::kOk;
}

int runPermit(BatchContext &c)
{
    if (c.args.positionals.size() != 2)
        throw UsageError(
            u"users permit needs the user and the menu codes: scrollwise-batch users permit NAME N1*N11"_s);
    UserStore store(c.session.db(), c.session.userName);
    const auto user = store.find(c.args.positionals.at(0));
    const QString section = c.args.has(u"section"_s) ? c.args.value(u"section"_s) : (user ? user->section : QString());
    if (!store.update(c.args.positionals.at(0), section, permissionFrom(c.args.positionals.at(1)), c.prompter))
        return batchexit::kRefused;
    c.out << u"permissions of "_s << user->name << u": "_s << store.find(user->name)->permission << Qt::endl;
    return batchexit::kOk;
}

int runDelete(BatchContext &c)
{
    if (c.args.positionals.size() != 1)
        throw UsageError(u"users delete needs the user name"_s);
    UserStore store(c.session.db(), c.session.userName);
    if (!store.remove(c.args.positionals.first(), c.prompter))
        return batchexit::kRefused;
    c.out << u"user "_s << c.args.positionals.first().trimmed().toUpper() << u" deleted"_s << Qt::endl;
    return batchexit::kOk;
}

// The logged-in user changes his own password (--old, --new, --confirm); the
// administrator may set another user's with --user-name.
int runPasswd(BatchContext &c)
{
    UserStore store(c.session.db(), c.session.userName);
    const QString target = c.args.value(u"user-name"_s);
    bool done = false;
    if (!target.isEmpty() && target.compare(c.session.userName, Qt::CaseInsensitive) != 0) {
        if (!c.session.isAdministrator()) {
            c.err << u"Only ADMIN may set another user's password."_s << Qt::endl;
            return batchexit::kRefused;
        }
        done = store.setPassword(target, c.required(u"new"_s), c.prompter);
    } else {
        done = store.changePassword(c.session.userName, c.args.value(u"old"_s), c.args.value(u"new"_s),
                                    c.args.value(u"confirm"_s, c.args.value(u"new"_s)), c.prompter);
    }
    return done ? batchexit::kOk : batchexit::kRefused;
}

} // namespace

void addUserCommands(BatchTool &tool)
{
    tool.add({.name = u"users add"_s,
              .arguments = u"NAME"_s,
              .summary = u"Adds a user; his first password is his name."_s,
              .options = {{u"section"_s, u"SECTION"_s, u"the user's section"_s},
                          {u"permit"_s, u"CODES"_s, u"menu codes granted, e.g. N1*N11*N12"_s}},
              .menuCode = u"N43"_s,
              .needsLogin = true,
              .needsDatabase = true,
              .run = runAdd});
    tool.add(
        {u"users show"_s, u"NAME"_s, u"Prints the menu items the user may use."_s, {}, u"N43"_s, true, true, runShow});
    tool.add({.name = u"users list"_s,
              .summary = u"Lists the users with section and permission string."_s,
              .options = {{u"deleted"_s, {}, u"include deleted users"_s}},
              .menuCode = u"N43"_s,
              .needsLogin = true,
              .needsDatabase = true,
              .run = runList});
    tool.add({.name = u"users permit"_s,
              .arguments = u"NAME CODES"_s,
              .summary = u"Replaces a user's granted menu codes (and --section)."_s,
              .options = {{u"section"_s, u"SECTION"_s, u"the user's section"_s}},
              .menuCode = u"N43"_s,
              .needsLogin = true,
              .needsDatabase = true,
              .run = runPermit});
    tool.add({.name = u"users delete"_s,
              .arguments = u"NAME"_s,
              .summary = u"Marks a user deleted: he can no longer log in."_s,
              .menuCode = u"N43"_s,
              .needsLogin = true,
              .needsDatabase = true,
              .run = runDelete});
    tool.add({.name = u"users passwd"_s,
              .summary =
                  u"Changes the logged-in user's password (--old, --new, --confirm); ADMIN sets another user's with "
                  "--user-name and --new."_s,
              .options = {{u"old"_s, u"PASSWORD"_s, u"the current password"_s},
                          {u"new"_s, u"PASSWORD"_s, u"the new password, at most 10 characters"_s},
                          {u"confirm"_s, u"PASSWORD"_s, u"the new password again (defaults to --new)"_s},
                          {u"user-name"_s, u"NAME"_s, u"whose password ADMIN sets"_s}},
              .menuCode = u"N42"_s,
              .needsLogin = true,
              .needsDatabase = true,
              .run = runPasswd});
}

} // namespace sw
