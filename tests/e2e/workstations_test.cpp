// SPDX-License-Identifier: GPL-3.0-or-later
// Four workstations on one MariaDB server at once, each a scrollwise-batch process:
// two give candidates their print serial numbers from opposite ends of one range,
// two print overlapping selections on stationery of their own. Afterwards no
// certificate number is stored twice, no serial number repeats, every confirmed
// sheet is on its candidate and every run that stopped said why.
#include "e2efixture.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <thread>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::BatchFolder;
using sw::test::BatchRun;
using sw::test::TestBackend;

namespace {

constexpr int kCandidates = 40;

QString regno(int i) { return test::regnoOf(u"W"_s, i); }

class Workstations : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!test::backendAvailable(TestBackend::MariaDB))
            GTEST_SKIP();
        m_app = std::make_unique<BatchFolder>(TestBackend::MariaDB);
        ASSERT_TRUE(m_app->ready());
        test::seedPrintingMasters(*m_app, {u"C26"_s});
        // The first half is active already; the serial-number workstations activate the rest.
        test::importCandidates(*m_app, u"C26"_s, u"W"_s, kCandidates, kCandidates / 2);
    }

    struct Station
    {
        std::vector<BatchRun> runs;
    };

    // One workstation printing a register-number range again and again on its own stationery.
    void printRounds(Station &station, const QString &from, const QString &to, int firstSheet)
    {
        int next = firstSheet;
        for (int round = 0; round < 3; ++round) {
            BatchRun r = m_app->run({u"--yes"_s,
                                     u"print"_s,
                                     u"--degree"_s,
                                     u"BA"_s,
                                     u"--type"_s,
                                     u"1"_s,
                                     u"--no-temp"_s,
                                     u"--regno-from"_s,
                                     from,
                                     u"--regno-to"_s,
                                     to,
                                     u"--start"_s,
                                     QString::number(next),
                                     u"--end"_s,
                                     QString::number(firstSheet + 999),
                                     u"--date"_s,
                                     u"15/03/2026"_s,
                                     u"--output"_s,
                                     m_app->scratch(u"sheets-"_s + QString::number(firstSheet)),
                                     u"--printed-ok"_s});
            const QRegularExpressionMatch m = QRegularExpression(u"next certificate number: 0*(\\d+)"_s).match(r.out);
            if (m.hasMatch())
                next = m.captured(1).toInt();
            station.runs.push_back(std::move(r));
        }
    }

    // One workstation giving candidates their serial numbers, one at a time.
    void activateOneByOne(Station &station, const std::vector<int> &order)
    {
        for (int i : order)
            station.runs.push_back(m_app->run({u"candidate"_s, u"edit"_s, regno(i), u"--factive"_s, u"T"_s}));
    }

    std::unique_ptr<BatchFolder> m_app;
};

TEST_F(Workstations, FourAtOnceNeverStoreANumberTwice)
{
    std::vector<int> up, down;
    for (int i = kCandidates / 2 - 4; i <= kCandidates; ++i)
        up.push_back(i);
    down.assign(up.rbegin(), up.rend());

    Station stations[4];
    {
        std::vector<std::thread> threads;
        threads.emplace_back([&] { printRounds(stations[0], regno(1), regno(30), 2001); });
        threads.emplace_back([&] { printRounds(stations[1], regno(10), regno(kCandidates), 5001); });
        threads.emplace_back([&] { activateOneByOne(stations[2], up); });
        threads.emplace_back([&] { activateOneByOne(stations[3], down); });
        for (std::thread &t : threads)
            t.join();
    }

    Database &db = m_app->db();
    // No certificate number twice, no candidate with two numbers, no serial number twice.
    EXPECT_FALSE(db.exists(u"select fcertno from convo where fcertno <> '' group by fcertno having count(*) > 1"_s));
    EXPECT_FALSE(db.exists(u"select fregno from stationery where foutcome = 'PRINTED' group by fregno "
                           "having count(*) > 1"_s));
    EXPECT_FALSE(db.exists(u"select fprintord from convo where fprintord <> '' group by fprintord "
                           "having count(*) > 1"_s));
    EXPECT_FALSE(db.exists(u"select fnumber from certsheet group by fprefix, fnumber having count(*) > 1"_s));
    EXPECT_FALSE(db.exists(u"select 1 from certsheet where fstate = 'PENDING'"_s));
    // Every candidate the serial-number workstations reached is active with a serial number.
    EXPECT_EQ(m_app->count(u"select count(*) from convo where factive = 'T' and fregno between ? and ? and "
                           "(fprintord is null or fprintord = '')"_s,
                           {regno(kCandidates / 2 + 1), regno(kCandidates)}),
              0);

    // Every stored number is a confirmed sheet of that candidate, and the other way round.
    Rows stored = db.query(u"select fregno, fcertno from convo where fcertno <> ''"_s);
    int storedCount = 0;
    while (stored.next()) {
        ++storedCount;
        EXPECT_EQ(m_app->count(u"select count(*) from stationery where fregno = ? and fcertno = ? "
                               "and foutcome = 'PRINTED'"_s,
                               {stored.text(0).trimmed(), stored.text(1).trimmed()}),
                  1)
            << stored.text(0).toStdString();
    }
    EXPECT_EQ(m_app->count(u"select count(*) from stationery where foutcome = 'PRINTED'"_s), storedCount);
    // The first half was active from the start, so the printers printed at least that much.
    EXPECT_GE(storedCount, kCandidates / 2);

    // A run that stopped said why; a run that went on to the end said what it did.
    for (const Station &station : stations) {
        for (const BatchRun &r : station.runs) {
            if (r.exitCode != 0)
                EXPECT_FALSE(r.err.trimmed().isEmpty()) << "a run stopped without a message: " << r.out.toStdString();
            else
                EXPECT_FALSE(r.out.trimmed().isEmpty());
            EXPECT_NE(r.exitCode, 2) << r.both(); // never a usage error
        }
    }
}

} // namespace
