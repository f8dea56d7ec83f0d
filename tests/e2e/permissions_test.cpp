// SPDX-License-Identifier: GPL-3.0-or-later
// Every command asks for the menu item of its screen: a clerk granted only the
// candidate screen and the search is refused the rest by name, and a refused command
// changes nothing. (The items N14, N15, N2A to N2F and N3A are open to every user, as
// the permission strings of the installed base expect; the README says so.)
#include "e2efixture.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::BatchFolder;
using sw::test::BatchRun;
using sw::test::TestBackend;

namespace {

TEST(CommandPermissions, ACommandOutsideTheUsersMenuItemsOrAConvocationsWorkUnderAdmnIsRefused)
{
    BatchFolder app(TestBackend::SQLite);
    ASSERT_TRUE(app.ready());
    Database &db = app.db();
    db.exec(u"insert into convo (fregno, fname, fdegree, fcollcode, fconvocode, factive, ffeepaid) "
            "values ('U0001', 'ONE', 'BA', 'C01', 'C26', 'F', 'T')"_s);
    const BatchRun added = app.run({u"users"_s, u"add"_s, u"CLERK"_s, u"--permit"_s, u"N22*N27*"_s}, u"ADMN"_s);
    ASSERT_EQ(added.exitCode, 0) << added.both();
    const QStringList clerk = {u"--folder"_s, app.folder().root(), u"--user"_s, u"CLERK"_s, u"--password"_s,
                               u"CLERK"_s,    u"--convo"_s,        u"C26"_s,    u"--yes"_s};

    const std::vector<std::pair<QString, QStringList>> refused = {
        {u"N23"_s, {u"activate"_s, u"--degree"_s, u"BA"_s, u"--college"_s, u"C01"_s}},
        {u"N24"_s,
         {u"print"_s, u"--degree"_s, u"BA"_s, u"--type"_s, u"1"_s, u"--start"_s, u"1"_s, u"--end"_s, u"9"_s,
          u"--output"_s, app.scratch(u"sheets"_s), u"--printed-ok"_s}},
        {u"N28"_s, {u"import-file"_s, app.scratch(u"none.cnv"_s)}},
        {u"N47"_s, {u"backup"_s}},
        {u"N45"_s, {u"restore"_s, app.scratch(u"none.bak"_s)}},
        {u"N43"_s, {u"users"_s, u"list"_s}},
        {u"N43"_s, {u"masters"_s, u"list"_s, u"masuser"_s}}, // the users' table is the security screen's
        {u"N12"_s, {u"masters"_s, u"import"_s, u"college"_s, app.scratch(u"none.csv"_s)}},
        {u"N31"_s, {u"report"_s, u"student-list"_s, u"--degree"_s, u"BA"_s}},
        {u"N33"_s, {u"online-update"_s, u"--from"_s, u"01/01/2026"_s, u"--to"_s, u"31/12/2026"_s}},
    };
    // The administrator himself, logged in under the administration code, is kept out of a
    // convocation's work on the command line as the menu keeps him out of it on screen.
    const QStringList convocationWork = {u"N23"_s, u"N28"_s, u"N31"_s};
    for (const auto &[code, command] : refused) {
        EXPECT_TRUE(test::endedWith(test::runBatch(clerk + command), 1, u"User CLERK may not use menu item "_s + code));
        if (convocationWork.contains(code)) {
            EXPECT_TRUE(test::endedWith(app.run(command, u"ADMN"_s), 1,
                                        u"is the work of a convocation (menu item "_s + code
                                            + u"): log in with --convo CODE, not ADMN."_s));
        }
    }
    // Nothing of what was refused happened.
    EXPECT_EQ(app.text(u"select factive from convo where fregno = 'U0001'"_s), u"F"_s);
    EXPECT_EQ(app.count(u"select count(*) from stationery"_s), 0);
    EXPECT_FALSE(QDir(app.path(u"Backup"_s)).exists() && !QDir(app.path(u"Backup"_s)).isEmpty());

    // What he was granted he may do, and work that is not a convocation's goes on under the
    // administration code.
    const BatchRun search = test::runBatch(clerk + QStringList{u"search"_s, u"ONE"_s});
    EXPECT_EQ(search.exitCode, 0) << search.both();
    EXPECT_TRUE(search.out.contains(u"U0001"_s));
    const BatchRun show = test::runBatch(clerk + QStringList{u"candidate"_s, u"show"_s, u"U0001"_s});
    EXPECT_EQ(show.exitCode, 0) << show.both();
    const BatchRun users = app.run({u"users"_s, u"list"_s}, u"ADMN"_s);
    EXPECT_EQ(users.exitCode, 0) << users.both();
    EXPECT_TRUE(users.out.contains(u"ADMIN"_s)) << users.both();
}

} // namespace
