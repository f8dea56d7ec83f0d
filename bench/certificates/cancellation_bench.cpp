// SPDX-License-Identifier: GPL-3.0-or-later
// Speed of certificate cancellation on SQLite, printed as figures:
//   loading the printed candidates of one degree and college into the range grid,
//   cancelling all of them in one transaction (number and date cleared, a stationery
//   register row each), and cancelling one certificate with its register line.
// Usage: cancellation_bench [N]   (5,000 when not given)
#include "app/demo/demofolder.h"
#include "certificates/cancellation/cancellationstore.h"
#include "shell/batch/consoleprompter.h"
#include "shell/core/headless.h"
#include "shell/core/inifile.h"
#include "shell/session.h"
#include "shell/db/connectionsettings.h"
#include "shell/db/connector.h"
#include "shell/startup/startup.h"
#include "demosession.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

// `count` printed candidates of BA at C001, register numbers `prefix`000000 onwards.
void addPrinted(Database &db, int count, const QString &prefix)
{
    WriteScope scope(db);
    Statement insert = db.prepare(
        u"insert into convo (fregno, fname, fdegree, fcollcode, fexamdate, fyear, fexamtype, factive, ffeepaid, "
        "fconvocode, fcertno, fdate, fprintedby) values (?, ?, 'BA', 'C001', 'APRIL 2025', '2025', '1', 'T', 'T', ?, "
        "?, ?, 'ADMIN')"_s);
    for (int i = 0; i < count; ++i) {
        const QString serial = QString::number(i).rightJustified(6, u'0');
        insert.exec({QString(prefix + serial), QString(u"BENCH CANDIDATE "_s + QString::number(i)),
                     DemoFolder::currentConvocation(), QString(prefix.mid(1) + serial), QDate(2025, 12, 20)});
    }
    scope.commit();
}

} // namespace

int main(int argc, char **argv)
{
    prepareHeadlessEnvironment();
    QGuiApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 5000;

    QTemporaryDir dir;
    const AppFolder folder(dir.filePath(u"app"_s));
    Session session = bench::demoSession(folder);
    addPrinted(session.db(), count, u"9CX"_s);

    QTextStream out(stdout);
    QTextStream err(stderr);
    ConsolePrompter silent(out, err, ConsolePrompter::Policy::Yes);
    CancellationStore store(session, silent);
    // The demo's own printed candidates of BA at C001 are in the grid too.
    QElapsedTimer wall;
    wall.start();
    std::vector<PrintedRow> grid = store.loadPrinted(u"BA"_s, u"C001"_s);
    const double loadMs = wall.nsecsElapsed() / 1e6;
    for (PrintedRow &row : grid)
        row.ticked = true;
    wall.restart();
    const int cancelled = store.cancelTicked(u"BA"_s, u"C001"_s, grid, u"bench"_s);
    const double cancelMs = wall.nsecsElapsed() / 1e6;
    std::printf("Range grid of %zu printed candidates loaded:  %8.1f ms\n", grid.size(), loadMs);
    std::printf("Range cancellation of %d certificates:       %8.1f ms (one transaction, %.3f ms each)\n", cancelled,
                cancelMs, cancelMs / std::max(1, cancelled));

    // A candidate of its own: those above keep their rows after the range cancellation.
    addPrinted(session.db(), 1, u"9CY"_s);
    wall.restart();
    const auto single = store.cancelOne(u"9CY000000"_s, u"bench"_s);
    std::printf("Single cancellation with its register line:  %8.2f ms (%s)\n", wall.nsecsElapsed() / 1e6,
                single ? "done" : "refused");
    return 0;
}
