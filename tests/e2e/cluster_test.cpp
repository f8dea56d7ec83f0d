// SPDX-License-Identifier: GPL-3.0-or-later
// Campuses on a MariaDB Galera cluster (scripts/cluster starts three nodes on loopback):
// every workstation a scrollwise-batch process with a folder of its own naming its
// campus's node. Print runs of one convocation race on every node; a restore goes through
// one node while another prints; a node is killed under a run and rejoins; workstations
// log in at once on every node; `init` meets a cluster that requires primary keys.
// Afterwards no certificate number is held twice, on paper or in the register, every
// printed candidate is in the register once, and the three nodes hold the same register.
// Each test prints its figures (runs, sheets, duplicates, refusals, seconds).
#include "e2efixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlRecord>
#include <QThread>

#include <gtest/gtest.h>

#include <barrier>
#include <functional>
#include <iostream>
#include <thread>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::BatchFolder;
using sw::test::BatchRun;
using sw::test::GaleraCluster;
using sw::test::Workstation;

namespace {

constexpr int kCandidates = 60;

QStringList printArgs(const QString &prefix, int start, const QString &output)
{
    return {u"--yes"_s,  u"print"_s,   u"--degree"_s,          u"BA"_s,
            u"--type"_s, u"1"_s,       u"--no-temp"_s,         u"--prefix"_s,
            prefix,      u"--start"_s, QString::number(start), u"--end"_s,
            u"999"_s,    u"--date"_s,  u"15/03/2026"_s,        u"--output"_s,
            output};
}

int countOf(const QString &text, const QString &pattern)
{
    const QRegularExpressionMatch m = QRegularExpression(pattern).match(text);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

int printedBy(const QString &out) { return countOf(out, u"printed: (\\d+)"_s); }

// The sheets on paper: every CERTNO_REGNO.pdf a run wrote into `folders`.
struct Sheet
{
    QString certNo;
    QString regNo;
};
std::vector<Sheet> sheetsIn(const QStringList &folders)
{
    std::vector<Sheet> sheets;
    for (const QString &folder : folders)
        for (const QString &file : QDir(folder).entryList({u"*.pdf"_s}, QDir::Files))
            sheets.push_back({file.section(u'_', 0, 0), file.section(u'_', 1).section(u'.', 0, 0)});
    return sheets;
}

// What one node holds, read with causal reads on, so every write the cluster has
// committed is seen whichever node it went through.
class NodeView
{
public:
    explicit NodeView(const Workstation &station)
        : m_db(test::connectTo(station.folder))
    {
        m_db->exec(u"set session wsrep_sync_wait = 1"_s);
    }
    int count(const QString &sql, const QVariantList &params = {}) const { return m_db->scalar(sql, params).toInt(); }
    QStringList rows(const QString &sql) const
    {
        QStringList lines;
        Rows r = m_db->query(sql);
        while (r.next()) {
            QStringList fields;
            for (int i = 0; i < r.query().record().count(); ++i)
                fields << r.text(i);
            lines << fields.join(u'|');
        }
        return lines;
    }

private:
    std::unique_ptr<Database> m_db;
};

// Transactions the nodes rolled back for another node's: certification failures of their
// own and aborts of local ones by a replicated change, summed over `nodes`.
int conflicts(const std::vector<Workstation> &nodes)
{
    int sum = 0;
    for (const Workstation &station : nodes)
        sum += NodeView(station).count(u"select sum(variable_value) from information_schema.global_status where "
                                       "variable_name in ('wsrep_local_cert_failures', 'wsrep_local_bf_aborts')"_s);
    return sum;
}

// The sheets on paper the register does not hold (with their candidate); the first few are named.
int notInRegister(const NodeView &node, const std::vector<Sheet> &sheets)
{
    QStringList missing;
    for (const Sheet &sheet : sheets)
        if (node.count(u"select count(*) from certsheet where fcertno = ? and fregno = ?"_s,
                       {sheet.certNo, sheet.regNo})
            != 1)
            missing << sheet.certNo + u" of "_s + sheet.regNo;
    if (!missing.isEmpty())
        ADD_FAILURE() << missing.size()
                      << " sheets printed and not in the register: " << missing.mid(0, 5).join(u", "_s).toStdString()
                      << (missing.size() > 5 ? ", ..." : "");
    return int(missing.size());
}

class ClusterStress : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_cluster = GaleraCluster::fromEnvironment();
        if (!m_cluster)
            GTEST_SKIP() << "SCROLLWISE_TEST_CLUSTER is not set (scripts/test --cluster starts a cluster)";
        m_app = std::make_unique<BatchFolder>(m_cluster->server(1));
        ASSERT_TRUE(m_app->ready());
        test::seedPrintingMasters(*m_app, {u"C26"_s});
        test::importCandidates(*m_app, u"C26"_s, u"W"_s, kCandidates, kCandidates);
    }

    // A workstation of the campus on node `node` (1..3).
    Workstation on(int node, const QString &name) const
    {
        return m_app->workstation(name, m_cluster->nodes.value(node - 1));
    }
    QString output(const QString &name) const { return m_app->scratch(u"sheets-"_s + name); }

    // The guarantees, on every node: no number held twice, every printed candidate in the
    // register once, every sheet on paper in the register, and the same register on all
    // three. Returns the numbers found twice (on paper or in the register). After a restore
    // (`restoredPrefix`), sheets printed since the backup stay PRINTED in the register while
    // the restored candidates do not hold them: each such number must be named by `stationery`.
    int expectEveryNumberHeldOnce(const std::vector<Workstation> &nodes, const QStringList &outputs,
                                  const QString &restoredPrefix = {})
    {
        QHash<QString, int> onPaper;
        QStringList twiceOnPaper;
        const std::vector<Sheet> sheets = sheetsIn(outputs);
        for (const Sheet &sheet : sheets)
            if (++onPaper[sheet.certNo] == 2)
                twiceOnPaper << sheet.certNo;
        int duplicates = int(twiceOnPaper.size());
        if (duplicates > 0)
            ADD_FAILURE() << duplicates << " numbers are on two sheets of paper: "
                          << twiceOnPaper.mid(0, 5).join(u", "_s).toStdString() << (duplicates > 5 ? ", ..." : "");
        QStringList first;
        for (const Workstation &station : nodes) {
            const NodeView node(station);
            const std::string where = " (through " + station.name.toStdString() + ")";
            const int twice = node.count(u"select count(*) from (select fprefix from certsheet group by fprefix, "
                                         "fnumber having count(*) > 1) d"_s);
            duplicates += twice;
            EXPECT_EQ(twice, 0) << "a number used twice in the register" << where;
            EXPECT_EQ(node.count(u"select count(*) from (select fcertno from convo where coalesce(fcertno, '') <> '' "
                                 "group by fcertno having count(*) > 1) d"_s),
                      0)
                << "a number on two candidates" << where;
            EXPECT_EQ(node.count(u"select count(*) from convo c where coalesce(c.fcertno, '') <> '' and (select "
                                 "count(*) from certsheet s where s.fcertno = c.fcertno and s.fregno = c.fregno and "
                                 "s.fstate = 'PRINTED') <> 1"_s),
                      0)
                << "a printed candidate not in the register once" << where;
            const QStringList unheld =
                node.rows(u"select s.fcertno from certsheet s where s.fstate = 'PRINTED' and not exists (select 1 "
                          "from convo c where c.fcertno = s.fcertno and c.fregno = s.fregno) order by s.fnumber"_s);
            if (restoredPrefix.isEmpty()) {
                EXPECT_EQ(unheld, QStringList()) << "a printed sheet whose candidate does not hold it" << where;
            } else if (!unheld.isEmpty()) {
                const int last = node.count(u"select max(fnumber) from certsheet where fprefix = ?"_s.replace(
                    u"?"_s, u"'"_s + restoredPrefix + u"'"_s));
                const BatchRun report = station.run({u"stationery"_s, u"--prefix"_s, restoredPrefix, u"--from"_s,
                                                     u"1"_s, u"--to"_s, QString::number(last)});
                for (const QString &certNo : unheld)
                    EXPECT_TRUE(
                        report.out.contains(QRegularExpression(QRegularExpression::escape(certNo.trimmed())
                                                               + u" +PRINTED +but no candidate holds the number"_s)))
                        << certNo.toStdString() << " printed and held by nobody, not named" << where;
            }
            EXPECT_EQ(notInRegister(node, sheets), 0) << where;
            const QStringList reg = node.rows(u"select fprefix, fnumber, fregno, fstate from certsheet order by "
                                              "fprefix, fnumber"_s);
            if (first.isEmpty())
                first = reg;
            else
                EXPECT_EQ(reg, first) << "the nodes hold different registers" << where;
        }
        return duplicates;
    }

    std::optional<GaleraCluster> m_cluster;
    std::unique_ptr<BatchFolder> m_app;
};

// Two workstations on each node print the same candidates of one convocation from one
// stack of stationery, each starting where another's numbers lie ahead of it, so they
// meet each other's candidates and numbers; between rounds the certificates are
// cancelled, and the next round starts above every number used, so every round races again.
TEST_F(ClusterStress, WorkstationsOnEveryNodeNeverHoldANumberTwice)
{
    std::vector<Workstation> stations;
    for (int node = 1; node <= 3; ++node)
        for (const char *desk : {"A", "B"})
            stations.push_back(on(node, u"CAMPUS%1%2"_s.arg(node).arg(QString::fromLatin1(desk))));
    constexpr int kRounds = 5;
    std::vector<BatchRun> runs;
    int printed = 0, spoiled = 0;
    const std::vector<Workstation> nodes{stations[0], stations[2], stations[4]};
    const int conflictsBefore = conflicts(nodes);
    QElapsedTimer clock;
    clock.start();
    for (int round = 0; round < kRounds; ++round) {
        const int base =
            NodeView(stations[0]).count(u"select coalesce(max(fnumber), 0) from certsheet where fprefix = 'G'"_s) + 1;
        std::vector<BatchRun> roundRuns(stations.size());
        std::vector<std::thread> threads;
        for (size_t i = 0; i < stations.size(); ++i)
            threads.emplace_back([&, i] {
                roundRuns[i] = stations[i].run(printArgs(u"G"_s, base + 7 * int(i), output(stations[i].name))
                                               + QStringList{u"--printed-ok"_s});
            });
        for (std::thread &t : threads)
            t.join();
        for (BatchRun &r : roundRuns) {
            printed += printedBy(r.out);
            spoiled += countOf(r.out, u"spoiled: (\\d+)"_s);
            runs.push_back(std::move(r));
        }
        if (round + 1 < kRounds) {
            const BatchRun cancelled =
                stations.back().run({u"--yes"_s, u"cancel-range"_s, u"--degree"_s, u"BA"_s, u"--college"_s, u"C01"_s,
                                     u"--all-printed"_s, u"--reason"_s, u"another round"_s});
            EXPECT_EQ(cancelled.exitCode, 0) << cancelled.both();
        }
    }
    const double seconds = clock.elapsed() / 1000.0;

    // A run that met another's number stopped before that sheet and said why; a
    // certification conflict between nodes is retried, never shown to the clerk.
    int stopped = 0;
    for (const BatchRun &r : runs) {
        if (r.exitCode != 0)
            ++stopped;
        EXPECT_TRUE(r.exitCode == 0 || r.exitCode == 1) << r.both();
        EXPECT_FALSE((r.exitCode ? r.err : r.out).trimmed().isEmpty()) << "a run said nothing: " << r.both();
        EXPECT_FALSE(r.err.contains(u"1213"_s) || r.err.contains(u"Deadlock"_s)) << r.both();
    }
    QStringList outputs;
    for (const Workstation &st : stations)
        outputs << output(st.name);
    const int duplicates = expectEveryNumberHeldOnce(nodes, outputs);
    const int inRegister = NodeView(nodes[0]).count(u"select count(*) from certsheet where fprefix = 'G'"_s);
    EXPECT_EQ(inRegister, printed + spoiled);
    const int last = NodeView(nodes[1]).count(u"select max(fnumber) from certsheet where fprefix = 'G'"_s);
    const BatchRun report = nodes[1].run(
        {u"stationery"_s, u"--prefix"_s, u"G"_s, u"--from"_s, u"1"_s, u"--to"_s, QString::number(std::max(last, 1))});
    EXPECT_TRUE(report.out.contains(u"; 0 used more than once"_s)) << report.both();
    std::cout << "cluster race: " << runs.size() << " runs on 3 nodes, " << printed << " sheets printed and " << spoiled
              << " spoiled, " << inRegister << " in the register, " << duplicates << " numbers twice, " << stopped
              << " runs stopped on another's number, " << conflicts(nodes) - conflictsBefore
              << " conflicts between nodes retried, " << seconds << " s\n";
}

// A restore through node 1 while a run prints through node 2 would replace the register
// under the run: it must be refused, or the run's sheets must still be in the register
// when both are done. First with the run waiting at its question, then at random moments.
TEST_F(ClusterStress, ARestoreThroughOneNodeKeepsTheSheetsPrintedThroughAnother)
{
    const Workstation admin = on(1, u"CAMPUS1"_s);
    const Workstation printer = on(2, u"CAMPUS2"_s);
    const Workstation clerk = on(3, u"CAMPUS3"_s);
    const BatchRun backup = admin.run({u"backup"_s}, u"ADMN"_s);
    ASSERT_EQ(backup.exitCode, 0) << backup.both();
    const QStringList backups = QDir(admin.folder.filePath(u"Backup"_s)).entryList({u"*.bak"_s}, QDir::Files);
    ASSERT_EQ(backups.size(), 1);
    const QString file = admin.folder.filePath(u"Backup/"_s + backups.first());
    m_app->disconnect();
    QStringList outputs;

    // The run stands at "Is certificate printed Successfully?" for its first sheet.
    bool waitingRunRefused = false;
    {
        const QString out = output(u"waiting"_s);
        outputs << out;
        QProcess run;
        printer.start(run, printArgs(u"R"_s, 1, out)
                               + QStringList{u"--regno-from"_s, test::regnoOf(u"W"_s, 1), u"--regno-to"_s,
                                             test::regnoOf(u"W"_s, 2)});
        QString said;
        while (!said.contains(u"[y/n]"_s) && run.waitForReadyRead(60000))
            said += QString::fromUtf8(run.readAllStandardOutput());
        ASSERT_TRUE(said.contains(u"[y/n]"_s)) << said.toStdString();
        const BatchRun restore = admin.run({u"--yes"_s, u"restore"_s, file}, u"ADMN"_s);
        waitingRunRefused = restore.exitCode == 1 && restore.err.contains(u"The database is in use by"_s);
        EXPECT_EQ(restore.exitCode, 1) << "a restore through node 1 while node 2 prints: " << restore.both();
        EXPECT_TRUE(restore.err.contains(u"The database is in use by"_s)) << restore.both();
        run.write("y\ny\n");
        run.closeWriteChannel();
        ASSERT_TRUE(run.waitForFinished(120000));
        EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
    }

    // Restores at random moments of a run over the whole convocation.
    QRandomGenerator random(20261207);
    constexpr int kRounds = 4;
    int refused = 0, restored = 0, printed = 0;
    for (int round = 0; round < kRounds; ++round) {
        const QString out = output(u"round"_s + QString::number(round));
        outputs << out;
        QProcess run;
        // From the first number the register shows free, as the clerk would: a register
        // that forgot sheets gives their numbers again.
        m_app->reconnect();
        const int next = m_app->count(u"select coalesce(max(fnumber), 0) from certsheet where fprefix = 'R'"_s) + 1;
        m_app->disconnect();
        printer.start(run, printArgs(u"R"_s, next, out) + QStringList{u"--printed-ok"_s});
        ASSERT_TRUE(run.waitForStarted());
        QThread::msleep(random.bounded(300, 3000));
        const BatchRun restore = admin.run({u"--yes"_s, u"restore"_s, file}, u"ADMN"_s);
        if (restore.exitCode == 0)
            ++restored;
        else if (restore.err.contains(u"The database is in use by"_s))
            ++refused;
        else
            ADD_FAILURE() << "the restore neither worked nor was refused: " << restore.both();
        ASSERT_TRUE(run.waitForFinished(240000));
        printed += printedBy(QString::fromUtf8(run.readAllStandardOutput()));
        // The next round prints them again.
        const BatchRun cancelled = clerk.run({u"--yes"_s, u"cancel-range"_s, u"--degree"_s, u"BA"_s, u"--college"_s,
                                              u"C01"_s, u"--all-printed"_s, u"--reason"_s, u"another round"_s});
        EXPECT_NE(cancelled.exitCode, 2) << cancelled.both();
    }
    m_app->reconnect();
    const std::vector<Sheet> sheets = sheetsIn(outputs);
    const int lost = notInRegister(NodeView(printer), sheets);
    const int duplicates = expectEveryNumberHeldOnce({admin, printer, clerk}, outputs, u"R"_s);
    std::cout << "cluster restore: through node 1 while node 2 printed: with the run at its question "
              << (waitingRunRefused ? "refused" : "not refused") << "; at random moments " << refused << " refused, "
              << restored << " done of " << kRounds << "; " << sheets.size() << " sheets on paper (" << printed
              << " counted by the runs), " << lost << " not in the register, " << duplicates << " numbers twice\n";
}

// A node dies under a run: the run on it stops and says so; the runs on the other nodes
// go on; the node rejoins, takes the others' changes and works again; no number twice.
TEST_F(ClusterStress, ANodeKilledUnderARunRejoinsAndNoNumberIsUsedTwice)
{
    if (m_cluster->folder.isEmpty())
        GTEST_SKIP() << "SCROLLWISE_CLUSTER_DIR is not set: the cluster's nodes cannot be killed from here";
    std::vector<Workstation> stations{on(1, u"CAMPUS1"_s), on(2, u"CAMPUS2"_s), on(3, u"CAMPUS3"_s)};
    QProcess runs[3];
    QStringList outputs;
    for (int i = 0; i < 3; ++i) {
        outputs << output(stations[i].name);
        // Numbers far apart: a run stops only for the node it is on, not on another's number.
        stations[i].start(runs[i], printArgs(u"K"_s, 1 + 200 * i, outputs[i]) + QStringList{u"--printed-ok"_s});
        ASSERT_TRUE(runs[i].waitForStarted());
    }
    // Node 3 goes once its workstation has sheets out.
    QElapsedTimer clock;
    clock.start();
    while (sheetsIn({outputs[2]}).size() < 2 && runs[2].state() == QProcess::Running && clock.elapsed() < 120000)
        QThread::msleep(50);
    const size_t beforeKill = sheetsIn(outputs).size();
    // A machine fast enough to finish the run first leaves nothing to see on node 3.
    const bool printingAtKill = runs[2].state() == QProcess::Running;
    const BatchRun killed = m_cluster->kill(3);
    ASSERT_EQ(killed.exitCode, 0) << killed.both();

    QString out[3], err[3];
    bool finished[3];
    for (int i = 0; i < 3; ++i) {
        finished[i] = runs[i].waitForFinished(240000);
        out[i] = QString::fromUtf8(runs[i].readAllStandardOutput());
        err[i] = QString::fromUtf8(runs[i].readAllStandardError());
    }
    const double stoppedAfter = clock.elapsed() / 1000.0;
    // The node comes back before anything is judged: the next test needs all three.
    QElapsedTimer rejoinClock;
    rejoinClock.start();
    const BatchRun rejoined = m_cluster->rejoin(3);
    const double rejoinSeconds = rejoinClock.elapsed() / 1000.0;
    ASSERT_EQ(rejoined.exitCode, 0) << rejoined.both();
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(finished[i]) << stations[i].name.toStdString() << " did not finish";

    // The others went on to the end.
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(runs[i].exitCode(), 0) << QString(out[i] + err[i]).toStdString();
    // The run on the dead node stopped and said so in words, not in a driver's noise.
    if (printingAtKill) {
        EXPECT_EQ(runs[2].exitCode(), 1) << QString(out[2] + err[2]).toStdString();
        EXPECT_FALSE(err[2].trimmed().isEmpty());
        EXPECT_FALSE(err[2].contains(u"QMYSQLResult::cleanup"_s)) << err[2].toStdString();
        EXPECT_FALSE(err[2].contains(u"-2147467259"_s)) << err[2].toStdString();
    } else {
        std::cout << "the run on node 3 had ended before the node was killed\n";
    }

    // A sheet the dead run left at the printer is named by its message.
    const QStringList pending =
        NodeView(stations[0]).rows(u"select fcertno from certsheet where fprefix = 'K' and fstate = 'PENDING'"_s);
    for (const QString &certNo : pending)
        EXPECT_TRUE(err[2].contains(certNo)) << certNo.toStdString() << " is pending and not named:\n"
                                             << err[2].toStdString();
    const int duplicates = expectEveryNumberHeldOnce(stations, outputs);
    // The rejoined node serves its workstation again.
    const BatchRun report =
        stations[2].run({u"stationery"_s, u"--prefix"_s, u"K"_s, u"--from"_s, u"1"_s, u"--to"_s, u"200"_s});
    EXPECT_EQ(report.exitCode, 0) << report.both();
    EXPECT_TRUE(report.out.contains(u"; 0 used more than once"_s)) << report.both();
    const int printed = printedBy(out[0]) + printedBy(out[1]) + printedBy(out[2]);
    std::cout << "cluster kill: node 3 killed after " << beforeKill << " sheets; the runs ended " << stoppedAfter
              << " s after the start, " << printed << " sheets printed (" << printedBy(out[0]) << ", "
              << printedBy(out[1]) << " on the live nodes), " << pending.size() << " left pending, " << duplicates
              << " numbers twice; node 3 rejoined in " << rejoinSeconds << " s\n";
}

// Workstations of every campus log in at the same moments: every login gets in, whichever
// node it reaches, though each writes its audit line alongside the others'. Every desk is
// named OFFICE, as machines set up from one image often are, so two campuses' audit lines
// of one millisecond are the same row, written on two nodes at once.
TEST_F(ClusterStress, LoginsAtOnceOnEveryNodeAllGetIn)
{
    constexpr int kDesks = 8, kLogins = 15;
    std::vector<Workstation> stations;
    for (int node = 1; node <= 3; ++node)
        stations.push_back(on(node, u"OFFICE"_s));
    std::vector<BatchRun> runs(3 * kDesks * kLogins);
    QElapsedTimer clock;
    clock.start();
    // Every desk starts each of its logins when all the others start theirs.
    std::barrier together(3 * kDesks);
    std::vector<std::thread> threads;
    for (int node = 0; node < 3; ++node)
        for (int desk = 0; desk < kDesks; ++desk)
            threads.emplace_back([&, node, desk] {
                for (int i = 0; i < kLogins; ++i) {
                    together.arrive_and_wait();
                    runs[(node * kDesks + desk) * kLogins + i] = stations[node].run({u"login-check"_s});
                }
            });
    for (std::thread &t : threads)
        t.join();
    int failed = 0, conflicts = 0;
    for (const BatchRun &r : runs) {
        if (r.exitCode == 0)
            continue;
        if (++failed <= 3)
            ADD_FAILURE() << "a login failed: " << r.both();
        if (r.err.contains(u"1213"_s))
            ++conflicts;
    }
    EXPECT_EQ(failed, 0);
    std::cout << "cluster logins: " << runs.size() << " logins on 3 nodes, " << failed << " failed (" << conflicts
              << " with 1213), " << clock.elapsed() / 1000.0 << " s\n";
}

// A cluster may refuse tables without a primary key (wsrep_mode=REQUIRED_PRIMARY_KEY, set
// here on every node for the test and put back after): a folder is set up on it, its
// candidates imported and printed, through different nodes.
TEST(ClusterKeys, InitWorksOnAClusterThatRequiresPrimaryKeys)
{
    const auto cluster = GaleraCluster::fromEnvironment();
    if (!cluster)
        GTEST_SKIP() << "SCROLLWISE_TEST_CLUSTER is not set (scripts/test --cluster starts a cluster)";
    auto onNode = [&](int node, const QString &sql) {
        const QString host = cluster->nodes.value(node - 1);
        return test::runProgram(u"mariadb"_s,
                                {u"--no-defaults"_s, u"-h"_s, host.section(u':', 0, 0), u"-P"_s, host.section(u':', 1),
                                 u"-u"_s, cluster->user, u"-p"_s + cluster->password, u"-N"_s, u"-B"_s, u"-e"_s, sql});
    };
    QStringList before;
    for (int node = 1; node <= 3; ++node) {
        const BatchRun mode = onNode(node, u"select @@global.wsrep_mode"_s);
        ASSERT_EQ(mode.exitCode, 0) << mode.both();
        before << mode.out.trimmed();
    }
    // Every node's mode goes back as it was, whatever the test finds.
    struct Restore
    {
        std::function<void()> undo;
        ~Restore() { undo(); }
    } restore{[&] {
        for (int node = 1; node <= 3; ++node)
            onNode(node, u"set global wsrep_mode = '%1'"_s.arg(before.value(node - 1)));
    }};
    for (int node = 1; node <= 3; ++node) {
        if (before.value(node - 1).contains(u"REQUIRED_PRIMARY_KEY"_s))
            continue;
        const QString mode = before.value(node - 1).isEmpty() ? u"REQUIRED_PRIMARY_KEY"_s
                                                              : before.value(node - 1) + u",REQUIRED_PRIMARY_KEY"_s;
        const BatchRun set = onNode(node, u"set global wsrep_mode = '%1'"_s.arg(mode));
        ASSERT_EQ(set.exitCode, 0) << set.both();
    }

    BatchFolder app(cluster->server(2));
    if (!app.ready()) {
        EXPECT_FALSE(QFileInfo::exists(app.path(u"Morvanta.INI"_s))) << "a failed init left a half-made folder";
        return;
    }
    test::seedPrintingMasters(app, {u"C26"_s});
    test::importCandidates(app, u"C26"_s, u"W"_s, 3, 3);
    const Workstation third = app.workstation(u"CAMPUS3"_s, cluster->nodes.value(2));
    const BatchRun run = third.run(printArgs(u"P"_s, 1, app.scratch(u"sheets"_s)) + QStringList{u"--printed-ok"_s});
    EXPECT_EQ(run.exitCode, 0) << run.both();
    EXPECT_TRUE(run.out.contains(u"printed: 3"_s)) << run.both();
}

} // namespace
