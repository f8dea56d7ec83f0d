// SPDX-License-Identifier: GPL-3.0-or-later
// The stationery under stress, through scrollwise-batch processes as workstations run
// it: four printers racing on overlapping candidates and numbers in two convocations
// while sheets are spoiled, candidates withdrawn and others given serial numbers;
// runs killed at random moments; a restore tried while a run is printing; a disk that
// fills up under a run. Afterwards no number is on two candidates or used twice, no
// serial number repeats, every sheet that could have reached the printer is in the
// register, and every register line is settled or pending and named.
#include "e2efixture.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QThread>

#include <gtest/gtest.h>

#include <thread>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::BatchFolder;
using sw::test::BatchRun;
using sw::test::TestBackend;

namespace {

constexpr int kCandidates = 30;
constexpr int kLeaseSeconds = 3;

class StationeryStress : public test::BatchFolderTest
{
protected:
    void SetUp() override
    {
        // A killed run's lease on its sheets runs out in seconds here, not half a minute.
        qputenv("SCROLLWISE_LEASE_SECONDS", QByteArray::number(kLeaseSeconds));
        BatchFolderTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        test::seedPrintingMasters(*m_app, {u"C26"_s, u"C27"_s});
        test::importCandidates(*m_app, u"C26"_s, u"W"_s, kCandidates, kCandidates);
        test::importCandidates(*m_app, u"C27"_s, u"V"_s, kCandidates, kCandidates);
    }

    QStringList printArgs(const QString &prefix, int start, const QString &output) const
    {
        return {u"--yes"_s,  u"print"_s,   u"--degree"_s,          u"BA"_s,
                u"--type"_s, u"1"_s,       u"--no-temp"_s,         u"--prefix"_s,
                prefix,      u"--start"_s, QString::number(start), u"--end"_s,
                u"999"_s,    u"--date"_s,  u"15/03/2026"_s,        u"--output"_s,
                output};
    }
    static int nextNumber(const BatchRun &r, int otherwise)
    {
        const QRegularExpressionMatch m = QRegularExpression(u"next certificate number: [A-Z]*0*(\\d+)"_s).match(r.out);
        return m.hasMatch() ? m.captured(1).toInt() : otherwise;
    }

    // The guarantees, read from the database after everything settled.
    void expectEveryNumberUsedOnce(const QString &prefix)
    {
        Database &db = m_app->db();
        const QString certNo = db.dialect().coalesce(u"fcertno"_s, u"''"_s);
        EXPECT_FALSE(db.exists(u"select fcertno from convo where "_s + certNo
                               + u" <> '' group by fcertno having count(*) > 1"_s))
            << "a number on two candidates";
        EXPECT_FALSE(db.exists(u"select fnumber from certsheet group by fprefix, fnumber having count(*) > 1"_s));
        EXPECT_FALSE(db.exists(u"select 1 from convo where "_s + certNo + u" <> '' and factive <> 'T'"_s))
            << "an inactive candidate printed";
        // Every confirmed sheet is on its candidate, and every stored number is a confirmed sheet.
        Rows printed = db.query(u"select fcertno, fregno, fconvocode from certsheet where fstate = 'PRINTED'"_s);
        int sheets = 0;
        while (printed.next()) {
            ++sheets;
            EXPECT_EQ(m_app->count(u"select count(*) from convo where fcertno = ? and fregno = ? and fconvocode = ?"_s,
                                   {printed.text(0), printed.text(1), printed.text(2)}),
                      1)
                << printed.text(0).toStdString() << " is not on " << printed.text(1).toStdString();
        }
        EXPECT_EQ(m_app->count(u"select count(*) from convo where "_s + certNo + u" <> ''"_s), sheets);
        // The register as the clerk reads it: nothing used twice.
        const int last = m_app->count(u"select max(fnumber) from certsheet where fprefix = ?"_s, {prefix});
        const BatchRun report = m_app->run({u"stationery"_s, u"--prefix"_s, prefix, u"--from"_s, u"1"_s, u"--to"_s,
                                            QString::number(std::max(last, 1))});
        EXPECT_EQ(report.exitCode, 0) << report.both();
        EXPECT_TRUE(report.out.contains(u"; 0 used more than once"_s)) << report.both();
    }
};

// Four workstations print at once, two in each convocation, on one stack of
// stationery with overlapping candidates and numbers; another spoils sheets ahead of
// them and withdraws candidates; two more give candidates their serial numbers from
// opposite ends while a fifth printer prints them; several rounds each.
TEST_P(StationeryStress, RacingWorkstationsNeverUseANumberTwice)
{
    if (GetParam() != TestBackend::MariaDB)
        GTEST_SKIP() << "several workstations share a server, not a file";
    // Fee verified, the first half active: the serial-number workstations go over them
    // from S0006 on, activating the rest, giving each a serial number.
    constexpr int kWaiting = 20;
    test::importCandidates(*m_app, u"C26"_s, u"S"_s, kWaiting, kWaiting / 2);
    struct Station
    {
        QString prefix;
        QString convocation;
        QString from;
        QString to;
        int start;
        std::vector<BatchRun> runs;
    };
    using test::regnoOf;
    // Each starts where it finds free stationery and runs into the next one's numbers.
    // The fifth, on stationery of its own, prints the candidates that are given their
    // serial numbers meanwhile.
    Station stations[] = {{u"Q"_s, u"C26"_s, regnoOf(u"W"_s, 1), regnoOf(u"W"_s, 20), 1, {}},
                          {u"Q"_s, u"C26"_s, regnoOf(u"W"_s, 10), regnoOf(u"W"_s, kCandidates), 12, {}},
                          {u"Q"_s, u"C27"_s, regnoOf(u"V"_s, 1), regnoOf(u"V"_s, 20), 24, {}},
                          {u"Q"_s, u"C27"_s, regnoOf(u"V"_s, 10), regnoOf(u"V"_s, kCandidates), 36, {}},
                          {u"P"_s, u"C26"_s, regnoOf(u"S"_s, 1), regnoOf(u"S"_s, kWaiting), 1, {}}};
    std::vector<BatchRun> racing, serials[2];
    {
        std::vector<std::thread> threads;
        for (Station &st : stations) {
            threads.emplace_back([&, index = &st - stations] {
                int next = st.start;
                for (int round = 0; round < 4; ++round) {
                    QStringList args = printArgs(st.prefix, next, m_app->scratch(u"sheets"_s + QString::number(index)));
                    args << u"--regno-from"_s << st.from << u"--regno-to"_s << st.to << u"--printed-ok"_s
                         << u"--spoiled"_s << QString::number(next + 1);
                    BatchRun r = m_app->run(args, st.convocation);
                    next = nextNumber(r, next + 1);
                    st.runs.push_back(std::move(r));
                }
            });
        }
        for (int way = 0; way < 2; ++way) {
            threads.emplace_back([&, way] {
                for (int i = 6; i <= kWaiting; ++i)
                    serials[way].push_back(
                        m_app->run({u"candidate"_s, u"edit"_s, regnoOf(u"S"_s, way ? kWaiting + 6 - i : i),
                                    u"--factive"_s, u"T"_s}));
            });
        }
        threads.emplace_back([&] {
            for (int i = 0; i < 6; ++i) {
                racing.push_back(m_app->run({u"stationery"_s, u"spoil"_s, u"--prefix"_s, u"Q"_s, u"--numbers"_s,
                                             QString::number(12 + 7 * i), u"--reason"_s, u"racing"_s}));
                racing.push_back(m_app->run({u"--yes"_s, u"candidate"_s, u"withdraw"_s, regnoOf(u"W"_s, 25 - i)}));
                racing.push_back(
                    m_app->run({u"activate"_s, u"--degree"_s, u"BA"_s, u"--college"_s, u"C01"_s, u"--from"_s,
                                regnoOf(u"V"_s, 24 - i), u"--to"_s, regnoOf(u"V"_s, 24 - i), u"--unset"_s},
                               u"C27"_s));
            }
        });
        for (std::thread &t : threads)
            t.join();
    }
    expectEveryNumberUsedOnce(u"Q"_s);
    expectEveryNumberUsedOnce(u"P"_s);
    Database &db = m_app->db();
    EXPECT_FALSE(db.exists(u"select 1 from certsheet where fstate = 'PENDING'"_s));
    // No serial number twice; every candidate the serial-number workstations reached has one.
    EXPECT_FALSE(db.exists(u"select fprintord from convo where fprintord <> '' group by fconvocode, fprintord "
                           "having count(*) > 1"_s));
    EXPECT_EQ(m_app->count(u"select count(*) from convo where fregno between ? and ? and factive = 'T' and "
                           "(fprintord is null or fprintord = '')"_s,
                           {regnoOf(u"S"_s, kWaiting / 2 + 1), regnoOf(u"S"_s, kWaiting)}),
              0);
    // The stack was shared: somebody met somebody else's numbers and said so.
    int printed = 0;
    for (const Station &st : stations) {
        for (const BatchRun &r : st.runs) {
            const QRegularExpressionMatch m = QRegularExpression(u"printed: (\\d+)"_s).match(r.out);
            if (m.hasMatch())
                printed += m.captured(1).toInt();
        }
    }
    // A run that stopped said why, one that went to the end said what it did; never a usage error.
    for (const std::vector<BatchRun> *runs : {&stations[0].runs, &stations[1].runs, &stations[2].runs,
                                              &stations[3].runs, &stations[4].runs, &serials[0], &serials[1]}) {
        for (const BatchRun &r : *runs) {
            EXPECT_NE(r.exitCode, 2) << r.both();
            EXPECT_FALSE((r.exitCode ? r.err : r.out).trimmed().isEmpty()) << "a run said nothing: " << r.both();
        }
    }
    // Every sheet a run stored is still printed, or was taken back by the spoiling workstation.
    const int takenBack =
        m_app->count(u"select count(*) from stationery where foutcome = 'SPOILED' and fremarks like '%taken back%'"_s);
    EXPECT_EQ(m_app->count(u"select count(*) from certsheet where fstate = 'PRINTED'"_s) + takenBack, printed);
    // The fifth printer's first round alone prints the active half of its range but the sheet it spoils.
    EXPECT_GE(printed, kWaiting / 2 - 1);
    std::cout << "racing: " << printed << " sheets printed, "
              << m_app->count(u"select count(*) from certsheet where fstate = 'SPOILED'"_s) << " spoiled, "
              << m_app->count(u"select count(*) from stationery where foutcome = 'SKIPPED'"_s) << " passed over\n";
}

// A run killed at any moment leaves every sheet that could have reached the printer
// in the register: printed, spoiled, or pending until a clerk settles it.
TEST_P(StationeryStress, AKilledRunLeavesEverySheetItOutputInTheRegister)
{
    const QString output = m_app->scratch(u"killed"_s);
    QRandomGenerator random(20261207);
    int next = 1;
    int pendingSettled = 0;
    constexpr int kRounds = 8;
    for (int round = 0; round < kRounds; ++round) {
        QProcess p;
        p.start(QStringLiteral(SCROLLWISE_BATCH_PATH),
                m_app->as(u"C26"_s) + printArgs(u"K"_s, next, output) + QStringList{u"--printed-ok"_s});
        ASSERT_TRUE(p.waitForStarted());
        QThread::msleep(random.bounded(100, 1500));
        p.kill();
        p.waitForFinished();

        // Every sheet written in full is in the register.
        for (const QString &file : QDir(output).entryList({u"*.pdf"_s}, QDir::Files)) {
            const QString certNo = file.section(u'_', 0, 0);
            EXPECT_EQ(m_app->count(u"select count(*) from certsheet where fcertno = ?"_s, {certNo}), 1)
                << file.toStdString() << " reached the printer without a register line";
        }
        // What the run left unconfirmed is named, and settled by the clerk once the
        // killed run's lease has run out (before, another workstation could not tell it
        // from a run still printing).
        Rows pending = m_app->db().query(u"select fnumber from certsheet where fprefix = 'K' and fstate = 'PENDING'"_s);
        QStringList numbers;
        while (pending.next())
            numbers << pending.text(0);
        if (!numbers.isEmpty()) {
            const BatchRun early = m_app->run(
                {u"stationery"_s, u"settle"_s, u"--prefix"_s, u"K"_s, u"--numbers"_s, numbers.first(), u"--spoiled"_s});
            if (early.exitCode == 0)
                ++pendingSettled; // the lease had run out already
            else
                EXPECT_TRUE(QString(early.out + early.err).contains(u"is at the printer on"_s)) << early.both();
            QThread::msleep((kLeaseSeconds + 2) * 1000);
            if (early.exitCode == 0)
                numbers.removeFirst();
        }
        if (!numbers.isEmpty()) {
            const BatchRun listed =
                m_app->run({u"stationery"_s, u"--prefix"_s, u"K"_s, u"--from"_s, u"1"_s, u"--to"_s, u"999"_s});
            EXPECT_TRUE(listed.out.contains(u"never confirmed"_s)) << listed.both();
            const BatchRun settled = m_app->run({u"stationery"_s, u"settle"_s, u"--prefix"_s, u"K"_s, u"--numbers"_s,
                                                 numbers.join(u','), round % 2 ? u"--printed"_s : u"--spoiled"_s});
            EXPECT_EQ(settled.exitCode, 0) << settled.both();
            pendingSettled += int(numbers.size());
        }
        const int last = m_app->count(u"select max(fnumber) from certsheet where fprefix = 'K'"_s);
        next = std::max(next, last + 1);
        // Cancelled, the candidates print again in the next round: every round has work.
        const BatchRun cancelled = m_app->run({u"--yes"_s, u"cancel-range"_s, u"--degree"_s, u"BA"_s, u"--college"_s,
                                               u"C01"_s, u"--all-printed"_s, u"--reason"_s, u"another round"_s},
                                              u"C26"_s);
        EXPECT_NE(cancelled.exitCode, 2) << cancelled.both();
    }
    expectEveryNumberUsedOnce(u"K"_s);
    std::cout << "killed " << kRounds
              << " runs: " << m_app->count(u"select count(*) from certsheet where fprefix = 'K'"_s)
              << " sheets in the register, " << pendingSettled << " left pending and settled\n";
}

// A restore while a run is printing would put the run's sheets out of the register:
// it is refused, naming the other session, and works once the run has ended.
TEST_P(StationeryStress, ARestoreWaitsForTheRunThatIsPrinting)
{
    ASSERT_EQ(m_app->run({u"backup"_s}, u"ADMN"_s).exitCode, 0);
    const QStringList backups = QDir(m_app->path(u"Backup"_s)).entryList({u"*.bak"_s}, QDir::Files);
    ASSERT_EQ(backups.size(), 1);
    m_app->disconnect();

    QProcess run;
    run.start(QStringLiteral(SCROLLWISE_BATCH_PATH), m_app->as(u"C26"_s)
                                                         + printArgs(u"R"_s, 1, m_app->scratch(u"restore-run"_s))
                                                         + QStringList{u"--regno-from"_s, test::regnoOf(u"W"_s, 1),
                                                                       u"--regno-to"_s, test::regnoOf(u"W"_s, 2)});
    QString out;
    while (!out.contains(u"[y/n]"_s) && run.waitForReadyRead(60000))
        out += QString::fromUtf8(run.readAllStandardOutput());
    ASSERT_TRUE(out.contains(u"[y/n]"_s)) << out.toStdString();

    const QString file = m_app->path(u"Backup/"_s + backups.first());
    const BatchRun refused = m_app->run({u"--yes"_s, u"restore"_s, file}, u"ADMN"_s);
    EXPECT_EQ(refused.exitCode, 1) << refused.both();
    EXPECT_TRUE(refused.err.contains(u"The database is in use by"_s)) << refused.both();

    run.write("y\ny\n");
    run.closeWriteChannel();
    ASSERT_TRUE(run.waitForFinished(60000));
    EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
    const BatchRun restored = m_app->run({u"--yes"_s, u"restore"_s, file}, u"ADMN"_s);
    EXPECT_EQ(restored.exitCode, 0) << restored.both();
    m_app->reconnect();
}

// Runs started at random moments of a restore are refused, or print with every sheet
// in the register afterwards: never a sheet the restore takes back.
TEST_P(StationeryStress, RunsStartedDuringARestoreAreRefusedOrKeepTheirSheets)
{
    ASSERT_EQ(m_app->run({u"backup"_s}, u"ADMN"_s).exitCode, 0);
    const QStringList backups = QDir(m_app->path(u"Backup"_s)).entryList({u"*.bak"_s}, QDir::Files);
    ASSERT_EQ(backups.size(), 1);
    const QString file = m_app->path(u"Backup/"_s + backups.first());
    m_app->disconnect();
    QRandomGenerator random(20261208);
    int next = 1;
    int refusedRuns = 0;
    int refusedRestores = 0;
    constexpr int kRounds = 6;
    for (int round = 0; round < kRounds; ++round) {
        const QString output = m_app->scratch(u"during-restore-%1"_s.arg(round));
        QProcess restore;
        restore.start(QStringLiteral(SCROLLWISE_BATCH_PATH),
                      m_app->as(u"ADMN"_s) + QStringList{u"--yes"_s, u"restore"_s, file});
        ASSERT_TRUE(restore.waitForStarted());
        QThread::msleep(random.bounded(0, 400));
        const BatchRun printed = m_app->run(printArgs(u"Q"_s, next, output) + QStringList{u"--printed-ok"_s});
        ASSERT_TRUE(restore.waitForFinished(120000));
        const QString restoreText = QString::fromUtf8(restore.readAllStandardOutput() + restore.readAllStandardError());
        if (restore.exitCode() != 0) {
            ++refusedRestores;
            EXPECT_TRUE(restoreText.contains(u"The database is in use by"_s)) << restoreText.toStdString();
        }
        if (printed.exitCode != 0 && QString(printed.out + printed.err).contains(u"being restored"_s))
            ++refusedRuns;

        m_app->reconnect();
        // Every sheet written is in the register, whatever the restore did.
        const QStringList sheets = QDir(output).entryList({u"*.pdf"_s}, QDir::Files);
        for (const QString &sheet : sheets) {
            const QString certNo = sheet.section(u'_', 0, 0);
            EXPECT_EQ(
                m_app->count(u"select count(*) from certsheet where fcertno = ? and fstate = 'PRINTED'"_s, {certNo}), 1)
                << "round " << round << ": " << sheet.toStdString() << " is not in the register\n"
                << printed.both() << restoreText.toStdString();
        }
        next = std::max(next, m_app->count(u"select max(fnumber) from certsheet where fprefix = 'Q'"_s) + 1);
        m_app->disconnect();
    }
    m_app->reconnect();
    EXPECT_FALSE(m_app->db().exists(u"select fnumber from certsheet group by fprefix, fnumber having count(*) > 1"_s));
    std::cout << kRounds << " restores with a run started during each: " << refusedRestores << " restores refused, "
              << refusedRuns << " runs refused, "
              << m_app->count(u"select count(*) from certsheet where fprefix = 'Q'"_s) << " sheets in the register\n";
}

// The disk fills up under a run writing its sheets: the sheet that could not be
// written whole is not stored as printed, and the message names the file and why.
TEST_P(StationeryStress, AFullDiskSpoilsTheSheetAndSaysWhy)
{
    if (GetParam() != TestBackend::SQLite)
        GTEST_SKIP() << "a property of the output, the same on every database";
    const QString disk = m_app->scratch(u"tiny"_s);
    QDir().mkpath(disk);
    QStringList command = m_app->as(u"C26"_s) + printArgs(u"F"_s, 1, disk) + QStringList{u"--printed-ok"_s};
    for (QString &word : command)
        word = u'\'' + word + u'\'';
    QProcess p;
    // A disk of its own, in a mount namespace of its own, so nothing else sees it.
    p.start(u"unshare"_s, {u"-m"_s, u"sh"_s, u"-c"_s,
                           u"mount -t tmpfs -o size=160k tmpfs '"_s + disk + u"' || exit 77; exec '"_s
                               + QStringLiteral(SCROLLWISE_BATCH_PATH) + u"' "_s + command.join(u' ')});
    ASSERT_TRUE(p.waitForFinished(120000));
    if (p.exitCode() == 77 || p.error() == QProcess::FailedToStart)
        GTEST_SKIP() << "no private tmpfs here (needs mount rights): " << p.readAllStandardError().toStdString();
    const QString err = QString::fromUtf8(p.readAllStandardError());
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_EQ(p.exitCode(), 1) << err.toStdString() << out.toStdString();
    EXPECT_TRUE(err.contains(u"No space left on device"_s)) << err.toStdString();
    EXPECT_TRUE(err.contains(disk)) << err.toStdString();
    const int printed = m_app->count(u"select count(*) from certsheet where fprefix = 'F' and fstate = 'PRINTED'"_s);
    EXPECT_EQ(m_app->count(u"select count(*) from certsheet where fprefix = 'F' and fstate = 'SPOILED'"_s), 1);
    EXPECT_EQ(m_app->count(u"select count(*) from convo where fcertno like 'F%'"_s), printed);
    EXPECT_TRUE(out.contains(u"printed: "_s + QString::number(printed) + u", spoiled: 1"_s)) << out.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Backends, StationeryStress, test::bothBackends(), test::backendName);

} // namespace
