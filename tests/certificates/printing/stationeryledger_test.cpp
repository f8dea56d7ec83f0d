// SPDX-License-Identifier: GPL-3.0-or-later
// The stationery ledger: every number used once, whatever used it; sheets
// registered as spoiled after the run stored their numbers give the number back
// and use it up; pending sheets settled; the register counts each sheet once.
#include "printingfixture.h"

#include "certificates/printing/sheetnumbers.h"
#include "certificates/printing/stationeryledger.h"
#include "shell/db/presence.h"
#include "certificates/printing/stationeryreport.h"
#include "shell/db/database.h"
#include "shell/db/dberror.h"
#include "support/statementfaults.h"
#include "support/stoptext.h"

#include <QScopeGuard>
#include <QSet>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::TestBackend;

namespace {

TEST(SpoiledSheetNumbers, ListsAndRangesWithOrWithoutThePrefix)
{
    using V = std::vector<long long>;
    EXPECT_EQ(sheetnumbers::parseList(u"17, 19-21"_s, u"A"_s), (V{17, 19, 20, 21}));
    EXPECT_EQ(sheetnumbers::parseList(u"a000018,A000017 , 18,"_s, u"A"_s), (V{17, 18}));
    EXPECT_EQ(sheetnumbers::parseList(u"A000020-A000021"_s, u"A"_s), (V{20, 21}));
    EXPECT_EQ(sheetnumbers::parseList(u"999999"_s, {}), V{999999});

    EXPECT_EQ(test::stopText([] { sheetnumbers::parseList(u"21-19"_s, u"A"_s); }),
              u"The range \"21-19\" runs backwards: give it from its first number."_s);
    EXPECT_TRUE(test::stopText([] {
                    sheetnumbers::parseList(u"17, B000018"_s, u"A"_s);
                }).startsWith(u"\"B000018\" is not a sheet number"_s));
    EXPECT_TRUE(test::stopText([] { sheetnumbers::parseList(u"-5"_s, u"A"_s); }).startsWith(u"\"-5\" is not"_s));
    EXPECT_TRUE(test::stopText([] { sheetnumbers::parseList(u"1000000"_s, {}); }).startsWith(u"\"1000000\" is not"_s));
    EXPECT_TRUE(
        test::stopText([] { sheetnumbers::parseList(u"1-20000"_s, {}); }).contains(u"more than 10000 sheets"_s));
    EXPECT_EQ(test::stopText([] { sheetnumbers::parseList(u" , "_s, {}); }), u"No sheet numbers are given."_s);
}

class SpoiledSheetsTest : public test::PrintingFixture
{
protected:
    // The current layout stores every sheet as it prints, without asking: 17..20.
    void printWithoutAsking()
    {
        PrintSelection s = selection();
        s.temp = true;
        m_prompter.answer(PromptAnswer::Yes); // R3 without a photograph
        ASSERT_EQ(print(s).printed, 4);
    }
    StationeryLedger sheets() { return StationeryLedger(m_session.db(), u"C26"_s, u"CLERK"_s, u"WS2"_s); }
    QStringList audit(long long from, long long to) { return StationeryReport(m_session.db()).lines(u"A"_s, from, to); }
};

TEST_P(SpoiledSheetsTest, TakenBackNumbersAreUsedUpAndTheCandidatePrintsAgainAndABadListRegistersNothing)
{
    printWithoutAsking();
    const std::vector<long long> numbers = sheetnumbers::parseList(u"18, 21"_s, u"A"_s);
    EXPECT_EQ(sheets().planSpoiled(u"A"_s, numbers),
              (QStringList{u"A000018: taken back from Reg. No. R2, who prints again on a new sheet; the sheet is "
                           "registered as spoiled"_s,
                           u"A000021: no candidate holds it; the sheet is registered as spoiled"_s}));
    EXPECT_EQ(certNo(u"R2"_s), u"A000018"_s); // planning writes nothing
    sheets().registerSpoiled(u"A"_s, numbers, u"paper jam"_s);
    EXPECT_EQ(certNo(u"R2"_s), u"");
    // Registered by a clerk after the run: each sheet is in the audit trail with who did it.
    Rows trail = m_session.db().query(u"select fusername, fkey, fold, fnew from audit where faction = 'spoil' "
                                      "order by fkey"_s);
    QStringList spoiled;
    while (trail.next())
        spoiled << trail.text(0) + u' ' + trail.text(1) + u' ' + trail.text(2) + u" -> "_s + trail.text(3);
    EXPECT_EQ(spoiled,
              (QStringList{u"CLERK A000018 state=PRINTED -> state=spoiled; paper jam; taken back from Reg. No. R2"_s,
                           u"CLERK A000021 state=never used -> state=spoiled; paper jam"_s}));
    EXPECT_EQ(certNo(u"R1"_s), u"A000017"_s);
    EXPECT_EQ(registerRows(),
              (QStringList{u"A000017 PRINTED R1 WS1"_s, u"A000018 PRINTED R2 WS1"_s, u"A000018 SPOILED R2 WS2"_s,
                           u"A000019 PRINTED R3 WS1"_s, u"A000020 PRINTED R4 WS1"_s, u"A000021 SPOILED  WS2"_s}));
    // Printed and then spoiled is still one sheet.
    EXPECT_EQ(audit(17, 21).last(),
              u"5 numbers: 3 printed, 2 spoiled, 0 void, 0 pending, 0 never used; 0 used more than once"_s);
    EXPECT_TRUE(audit(17, 21).join(u'\n').contains(u"paper jam; taken back from Reg. No. R2"_s));

    // A spoiled number is given to nobody: a run over it is refused before it prints.
    PrintSelection again = selection();
    again.startNumber = u"21"_s;
    print(again);
    EXPECT_EQ(m_prompter.last(), u"Certificate No. already exist!!\nA000021 - spoiled sheet"_s);
    again.startNumber = u"22"_s;
    m_prompter.answer(PromptAnswer::Yes);
    EXPECT_EQ(print(again).printed, 1);
    EXPECT_EQ(certNo(u"R2"_s), u"A000022"_s);

    // A list with one bad number registers nothing.
    const QStringList before = registerRows();
    EXPECT_EQ(test::stopText([&] {
                  sheets().registerSpoiled(u"A"_s, {23, 18}, {});
              }),
              u"Certificate No. A000018 is already registered as spoiled. Nothing is registered; correct the list and "
              "register it again."_s);
    // Printed for a candidate who gave the number back another way (cancelled, taken back on the recent-certificates
    // screen).
    m_session.db().exec(u"update convo set fcertno = null where fregno = 'R4'"_s);
    EXPECT_TRUE(test::stopText([&] {
                    sheets().registerSpoiled(u"A"_s, {19, 20}, {});
                }).startsWith(u"Certificate No. A000020 was printed for Reg. No. R4, who no longer holds it"_s));
    EXPECT_TRUE(test::stopText([&] { sheets().planSpoiled(u"A B"_s, {30}); }).contains(u"contains a blank"_s));
    // Another convocation's candidate keeps its number: the sheet is that convocation's to register.
    test::insertCandidate(m_session.db(), u"X1"_s, {{u"fconvocode"_s, u"C25"_s}, {u"fcertno"_s, u"A000031"_s}});
    EXPECT_TRUE(test::stopText([&] {
                    sheets().planSpoiled(u"A"_s, {31});
                }).startsWith(u"Certificate No. A000031 is held by Reg. No. X1 of convocation C25"_s));

    EXPECT_EQ(registerRows(), before);
    EXPECT_EQ(certNo(u"R3"_s), u"A000019"_s);
    // An award's number is taken back from the rank register, and the award prints again.
    m_session.db().exec(u"insert into rankreg (fdegree, fregno, frank, fconvocode, fcertno, fcerttype) values "
                        "('BA', 'R9', 'I', 'C26', 'A000030', 'RC')"_s);
    sheets().registerSpoiled(u"A"_s, {30}, {});
    EXPECT_EQ(value(u"select fcertno from rankreg where fregno = 'R9'"_s), u""_s);
}

} // namespace

namespace {

// Every use of a number keeps it from ever being given again: the number check
// before a run names the use, in this convocation or another.
TEST_P(SpoiledSheetsTest, EveryUseOfANumberKeepsItFromBeingGivenAgain)
{
    Database &db = m_session.db();
    StationeryLedger ledger = sheets();
    const SheetHolder r1{SheetHolder::Kind::Degree, u"R1"_s, u"BA"_s, u"101"_s, {}, {}};
    const struct
    {
        const char *what;
        std::function<void()> use;
        QString line;
    } uses[] = {
        {"another convocation's candidate",
         [&] {
             test::insertCandidate(db, u"X1"_s, {{u"fconvocode"_s, u"C25"_s}, {u"fcertno"_s, u"A000040"_s}});
         },
         u"X1 - A000040 (convocation C25)"_s},
        {"an award of another convocation",
         [&] {
             db.exec(u"insert into rankreg (fdegree, fregno, frank, fconvocode, fcertno, fcerttype) values "
                     "('BA', 'X2', 'I', 'C25', 'A000041', 'RC')"_s);
         },
         u"X2 - A000041 (convocation C25) (rank register)"_s},
        {"a spoiled sheet", [&] { ledger.registerSpoiled(u"A"_s, {42}, u"jammed"_s); }, u"A000042 - spoiled sheet"_s},
        {"a sheet waiting for its answer", [&] { ASSERT_TRUE(sheets().reserve(u"A"_s, 43, u"1"_s, r1, {}).sheet); },
         u"A000043 - sent to the printer for Reg. No. R1, never confirmed"_s},
        {"a cancelled certificate",
         [&] {
             db.exec(u"update convo set fcertno = 'A000044' where fregno = 'R4'"_s);
             WriteScope scope(db);
             ASSERT_TRUE(ledger.cancel(u"A000044"_s, u"R4"_s, u"BA"_s, u"Wrong name"_s));
             scope.commit();
         },
         u"A000044 - void: cancelled: Wrong name"_s},
    };
    for (const auto &u : uses) {
        u.use();
        const long long number = 40 + (&u - uses);
        EXPECT_EQ(ledger.usedNumbers(u"A"_s, number, number), QStringList{u.line}) << u.what;
        // A run whose stationery starts on it is refused before anything prints.
        PrintSelection s = selection();
        s.startNumber = QString::number(number);
        m_prompter.clear();
        EXPECT_EQ(print(s).printed, 0) << u.what;
        EXPECT_TRUE(m_prompter.texts().contains(u"Certificate No. already exist!!\n"_s + u.line))
            << u.what << '\n'
            << m_prompter.texts().join(u'\n').toStdString();
    }
    // The next free number passes them all.
    EXPECT_EQ(ledger.nextUnused(u"A"_s, 40), 45);
}

// Two workstations can never reserve one number: the second is refused with the
// first one's use, and the database itself refuses a second row for a number.
TEST_P(SpoiledSheetsTest, OneNumberIsReservedByOneWorkstationOnly)
{
    auto other = m_folder->connect();
    StationeryLedger first(m_session.db(), u"C26"_s, u"CLERK"_s, u"WS1"_s);
    StationeryLedger second(*other, u"C26"_s, u"CLERK"_s, u"WS2"_s);
    SheetHolder r1{SheetHolder::Kind::Degree, u"R1"_s, u"BA"_s, u"101"_s, {}, {}};
    SheetHolder r2{SheetHolder::Kind::Degree, u"R2"_s, u"BA"_s, u"101"_s, {}, {}};
    ASSERT_TRUE(first.reserve(u"A"_s, 50, u"1"_s, r1, {}).sheet);
    EXPECT_EQ(test::stopText([&] { second.reserve(u"A"_s, 50, u"1"_s, r2, {}); }),
              u"Certificate No. A000050 is used already:\nA000050 - sent to the printer for Reg. No. R1, never "
              "confirmed\nA number printed on a sheet belongs to that sheet for ever."_s);
    // R1's sheet waits at a printer: another run passes R1 over rather than print it twice.
    EXPECT_EQ(second.reserve(u"A"_s, 51, u"1"_s, r1, {}).passedOver,
              u"Reg. No. R1 has sheet A000050 at a printer, not yet confirmed: settle that sheet first"_s);
    try {
        other->exec(u"insert into certsheet (fprefix, fnumber, fstate) values ('A', 50, 'SPOILED')"_s);
        ADD_FAILURE() << "the register took a second row for A000050";
    } catch (const DbError &e) {
        EXPECT_EQ(e.kind(), DbErrorKind::Duplicate) << e.description().toStdString();
    }
}

// A sheet the printer never confirmed is settled by the clerk: printed stores the
// number on its candidate, spoiled uses it up; nothing else is settled that way.
TEST_P(SpoiledSheetsTest, PendingSheetsAreSettledPrintedOrSpoiled)
{
    SheetHolder r1{SheetHolder::Kind::Degree, u"R1"_s, u"BA"_s, u"101"_s, {}, {}};
    SheetHolder r2{SheetHolder::Kind::Degree, u"R2"_s, u"BA"_s, u"101"_s, {}, {}};
    IssueDetails issue;
    issue.issueDate = QDate(2026, 3, 12);
    ASSERT_TRUE(sheets().reserve(u"A"_s, 60, u"1"_s, r1, issue).sheet);
    ASSERT_TRUE(sheets().reserve(u"A"_s, 61, u"1"_s, r2, issue).sheet);
    EXPECT_EQ(sheets().pendingSheets(u"A"_s).size(), 2);
    // R2 was printed on another sheet since: its waiting sheet cannot be stored.
    m_session.db().exec(u"update convo set fcertno = 'A000099' where fregno = 'R2'"_s);
    EXPECT_TRUE(test::stopText([&] {
                    sheets().settle(u"A"_s, {60, 61}, true, {});
                })
                    .startsWith(u"Certificate No. A000061 cannot be stored: Reg. No. R2 was printed on another "
                                "workstation (certificate A000099). Settle it as spoiled."_s));
    EXPECT_EQ(certNo(u"R1"_s), u""_s); // nothing was settled
    EXPECT_EQ(sheets().settle(u"A"_s, {60}, true, {}),
              QStringList{u"A000060: printed for Reg. No. R1; the number is stored"_s});
    EXPECT_EQ(certNo(u"R1"_s), u"A000060"_s);
    EXPECT_EQ(m_session.db().scalar(u"select fdate from convo where fregno = 'R1'"_s).toDate(), issue.issueDate);
    sheets().settle(u"A"_s, {61}, false, u"never came out"_s);
    EXPECT_TRUE(sheets().pendingSheets(u"A"_s).isEmpty());
    // Each settling is in the audit trail with the clerk who made it (it was not).
    Rows audit = m_session.db().query(u"select faction, fkey, fnew from audit where fwhat = 'certificates' and "
                                      "faction like 'settle%' order by fkey"_s);
    QStringList settled;
    while (audit.next())
        settled << audit.text(0) + u' ' + audit.text(1) + u": "_s + audit.text(2);
    EXPECT_EQ(settled, (QStringList{u"settle printed A000060: state=printed; settled by CLERK"_s,
                                    u"settle spoiled A000061: state=spoiled; settled by CLERK: never came out"_s}));
    EXPECT_TRUE(test::stopText([&] {
                    sheets().settle(u"A"_s, {62}, false, {});
                }).startsWith(u"Certificate No. A000062 is not waiting for confirmation (it was never used)"_s));

    bool accounted = false;
    const QStringList stock = StationeryReport(m_session.db()).reconcile(u"A"_s, 60, 63, &accounted);
    EXPECT_TRUE(accounted) << stock.join(u'\n').toStdString();
    EXPECT_EQ(stock[1], u"  printed 1, spoiled 1, void 0, pending 0, in stock (never used) 2"_s);
}

// A sheet is settled by the run that sent it while that run lives; once its program has
// gone (ended, killed, cut off) and its lease has run out, a clerk settles it elsewhere.
TEST_P(SpoiledSheetsTest, ASheetAtThePrinterOfARunGoingOnIsSettledByThatRunOnly)
{
    // The run's rows are touched every tenth of a long lease, so none is touched between
    // the ageing below and the checks after it (with the usual 5 s beat, one now and then was).
    const QByteArray lease = qgetenv("SCROLLWISE_LEASE_SECONDS");
    qputenv("SCROLLWISE_LEASE_SECONDS", "600");
    const auto restoreLease = qScopeGuard([&lease] {
        if (lease.isEmpty())
            qunsetenv("SCROLLWISE_LEASE_SECONDS");
        else
            qputenv("SCROLLWISE_LEASE_SECONDS", lease);
    });
    const auto printing = m_folder->connectSession(u"printing"_s);
    SheetHolder r1{SheetHolder::Kind::Degree, u"R1"_s, u"BA"_s, u"101"_s, {}, {}};
    auto run = std::make_unique<StationeryLedger>(*printing, u"C26"_s, u"CLERK"_s, u"WS1"_s);
    ASSERT_TRUE(run->reserve(u"A"_s, 70, u"1"_s, r1, {}).sheet);

    const QString workstation = Presence::workstation();
    for (const bool printed : {true, false})
        EXPECT_TRUE(test::stopText([&] {
                        sheets().settle(u"A"_s, {70}, printed, {});
                    }).startsWith(u"Certificate No. A000070 is at the printer on "_s + workstation))
            << "printed " << printed;
    EXPECT_TRUE(test::stopText([&] {
                    sheets().registerSpoiled(u"A"_s, {70}, u"paper jam"_s);
                }).contains(u"is at the printer on "_s + workstation));
    ASSERT_EQ(sheets().pendingSheets(u"A"_s).size(), 1);
    EXPECT_TRUE(sheets().pendingSheets(u"A"_s)[0].endsWith(u", at the printer on "_s + workstation
                                                           + u" (the run is going on)"_s));
    EXPECT_TRUE(audit(70, 70).join(u'\n').contains(u"(the run is going on)"_s));

    // A killed run's lease ages out: its row is no longer touched.
    m_session.db().exec(u"update presence set falive = falive - 3600"_s);
    EXPECT_TRUE(sheets().pendingSheets(u"A"_s)[0].endsWith(u", never confirmed"_s));
    EXPECT_EQ(sheets().settle(u"A"_s, {70}, false, u"killed"_s),
              QStringList{u"A000070: spoiled; Reg. No. R1 prints again on a new sheet"_s});
}

// A run that ends gives its lease back at once.
TEST_P(SpoiledSheetsTest, ARunThatEndedLeavesItsSheetToBeSettled)
{
    const auto printing = m_folder->connectSession(u"printing"_s);
    SheetHolder r1{SheetHolder::Kind::Degree, u"R1"_s, u"BA"_s, u"101"_s, {}, {}};
    {
        StationeryLedger run(*printing, u"C26"_s, u"CLERK"_s, u"WS1"_s);
        ASSERT_TRUE(run.reserve(u"A"_s, 71, u"1"_s, r1, {}).sheet);
        EXPECT_EQ(Presence::others(m_session.db()).size(), 2u); // the session and its run
    }
    EXPECT_EQ(Presence::others(m_session.db()).size(), 1u);
    EXPECT_EQ(sheets().settle(u"A"_s, {71}, true, {}),
              QStringList{u"A000071: printed for Reg. No. R1; the number is stored"_s});
}

// While a sheet prints another workstation restores an older backup: the register
// no longer holds the run's sheet, and the run stops before the next one.
class ReplacingOutput final : public SheetOutput
{
public:
    explicit ReplacingOutput(std::unique_ptr<Database> other)
        : m_other(std::move(other))
    {
    }
    void print(const Document &, const QString &certNo, const QString &) override
    {
        // The reservation is in the register before the sheet reaches the printer.
        states << m_other->scalar(u"select fstate from certsheet where fcertno = ?"_s, {certNo}).toString();
        if (states.size() == 2)
            m_other->exec(u"delete from certsheet"_s);
    }
    QStringList states;

private:
    std::unique_ptr<Database> m_other;
};

TEST_P(SpoiledSheetsTest, ARunStopsWhenTheDatabaseIsReplacedUnderIt)
{
    ReplacingOutput output(m_folder->connect());
    PrintingRun run(m_session, m_prompter);
    m_prompter.answer(PromptAnswer::Yes);
    m_prompter.answer(PromptAnswer::Yes);
    const PrintingResult r = run.run(selection(), output);
    EXPECT_EQ(output.states, (QStringList{u"PENDING"_s, u"PENDING"_s}));
    EXPECT_FALSE(r.completed);
    EXPECT_EQ(r.printed, 1);
    EXPECT_TRUE(m_prompter.last().startsWith(u"The register no longer holds certificate A000018, which this run used: "
                                             "the database was replaced"_s))
        << m_prompter.last().toStdString();
    EXPECT_EQ(certNo(u"R2"_s), u""_s);
}

// A question the server could not prepare (a connection lost, a table away for a moment)
// is an error the caller is told, and the ledger asks it again next time: it once left
// an empty place among its prepared statements, which the next clean-up read and crashed.
TEST_P(SpoiledSheetsTest, AStatementTheServerCouldNotPrepareIsAskedAgainNextTime)
{
    printWithoutAsking();
    const StationeryLedger ledger = sheets();
    m_session.db().exec(u"alter table certsheet rename to certsheet_away"_s);
    EXPECT_THROW(ledger.usedNumbers(u"A"_s, 17, 20), DbError);
    EXPECT_THROW(ledger.pendingSheets(u"A"_s), DbError);
    m_session.db().exec(u"alter table certsheet_away rename to certsheet"_s);
    EXPECT_EQ(ledger.usedNumbers(u"A"_s, 17, 17).size(), 1);
    EXPECT_EQ(ledger.pendingSheets(u"A"_s), QStringList());
}

// Whichever statement of a printing run fails (the server lost under it), no number is used
// twice or lost: every sheet the printer got is in the register, a sheet left waiting is
// named in the run's message, a candidate holds a number only as its printed sheet, and
// once the waiting sheet is settled the next run prints the rest on sheets of its own.
TEST_P(SpoiledSheetsTest, AStatementFailingAnywhereInARunLosesNoSheetAndUsesNoNumberTwice)
{
    m_prompter.answerEvery(u"without photo?"_s, PromptAnswer::Yes);
    PrintSelection s = selection();
    s.temp = true; // each sheet stored as it prints
    s.regnoFrom = u"R1"_s;
    s.regnoTo = u"R3"_s;
    std::optional<FolderOutput> output;
    const auto reset = [&] {
        Database &db = m_session.db();
        for (const QString &table : {u"certsheet"_s, u"stationery"_s, u"certstatus"_s, u"reccert"_s})
            db.exec(u"delete from "_s + table);
        db.exec(u"update convo set fcertno = null, fdate = null"_s);
        output.emplace(m_out.path());
        m_prompter.clear();
    };
    const auto print = [&](const PrintSelection &selection, SheetOutput &to) {
        PrintingRun run(m_session, m_prompter);
        run.setWorkstation(u"WS1"_s);
        return run.run(selection, to);
    };
    const auto sheetsIn = [&](const QString &state) {
        std::vector<long long> numbers;
        Rows rows = m_session.db().query(u"select fnumber from certsheet where fstate = ? order by fnumber"_s, {state});
        while (rows.next())
            numbers.push_back(rows.value(0).toLongLong());
        return numbers;
    };
    const auto holdersAreTheirSheets = [&] {
        QSet<QString> held;
        Rows holders = m_session.db().query(u"select fregno, fcertno from convo where coalesce(fcertno, '') <> ''"_s);
        while (holders.next()) {
            EXPECT_FALSE(held.contains(holders.text(1))) << holders.text(1).toStdString() << " held twice";
            held.insert(holders.text(1));
            EXPECT_EQ(value(u"select fstate from certsheet where fcertno = ? and fregno = ?"_s,
                            {holders.text(1), holders.text(0)}),
                      u"PRINTED"_s);
        }
        EXPECT_EQ(int(held.size()), int(sheetsIn(u"PRINTED"_s).size()));
    };
    const auto check = [&](int) {
        const QString said = m_prompter.texts().join(u'\n');
        for (const QString &file : output->written()) {
            const QString certNo = QFileInfo(file).baseName().section(u'_', 0, 0);
            const QString state = value(u"select fstate from certsheet where fcertno = ?"_s, {certNo});
            EXPECT_FALSE(state.isEmpty()) << certNo.toStdString() << " was printed and is not in the register";
            if (state == u"PENDING"_s) {
                EXPECT_TRUE(said.contains(certNo)) << said.toStdString();
            }
        }
        holdersAreTheirSheets();

        if (const auto waiting = sheetsIn(u"PENDING"_s); !waiting.empty())
            sheets().settle(u"A"_s, waiting, false, u"the server was lost"_s);
        PrintSelection rest = selection(); // every candidate not printed yet
        rest.temp = true;
        rest.startNumber = QString::number(sheets().nextUnused(u"A"_s, 17));
        FolderOutput more(m_out.path());
        m_prompter.clear();
        print(rest, more);
        holdersAreTheirSheets();
        for (const QString &regno : {u"R1"_s, u"R2"_s, u"R3"_s})
            EXPECT_FALSE(certNo(regno).isEmpty()) << regno.toStdString() << ": " << m_prompter.last().toStdString();
    };
    const int statements = test::failEachStatement(
        &m_session.db(), reset, [&] { print(s, *output); }, check);
    EXPECT_GT(statements, 10);
}

INSTANTIATE_TEST_SUITE_P(Backends, SpoiledSheetsTest, test::bothBackends(), test::backendName);
} // namespace
