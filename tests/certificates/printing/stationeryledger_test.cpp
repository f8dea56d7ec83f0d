// SPDX-License-Identifier: GPL-3.0-or-later
// The stationery ledger: every number used once, whatever used it; sheets
// registered as spoiled after the run stored their numbers give the number back
// and use it up; pending sheets settled; the register counts each sheet once.
#include "printingfixture.h"

#include "certificates/printing/sheetnumbers.h"
#include "certificates/printing/stationeryledger.h"
#include "certificates/printing/stationeryreport.h"
#include "shell/core/stoperror.h"
#include "shell/db/database.h"

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::TestBackend;

namespace {

QString refusal(const std::function<void()> &action)
{
    try {
        action();
    } catch (const StopError &e) {
        return e.text();
    }
    return u"(accepted)"_s;
}

TEST(SpoiledSheetNumbers, ListsAndRangesWithOrWithoutThePrefix)
{
    using V = std::vector<long long>;
    EXPECT_EQ(sheetnumbers::parseList(u"17, 19-21"_s, u"A"_s), (V{17, 19, 20, 21}));
    EXPECT_EQ(sheetnumbers::parseList(u"a000018,A000017 , 18,"_s, u"A"_s), (V{17, 18}));
    EXPECT_EQ(sheetnumbers::parseList(u"A000020-A000021"_s, u"A"_s), (V{20, 21}));
    EXPECT_EQ(sheetnumbers::parseList(u"999999"_s, {}), V{999999});

    EXPECT_EQ(refusal([] { sheetnumbers::parseList(u"21-19"_s, u"A"_s); }),
              u"The range \"21-19\" runs backwards: give it from its first number."_s);
    EXPECT_TRUE(refusal([] { sheetnumbers::parseList(u"17, B000018"_s, u"A"_s); })
                    .startsWith(u"\"B000018\" is not a sheet number"_s));
    EXPECT_TRUE(refusal([] { sheetnumbers::parseList(u"-5"_s, u"A"_s); }).startsWith(u"\"-5\" is not"_s));
    EXPECT_TRUE(refusal([] { sheetnumbers::parseList(u"1000000"_s, {}); }).startsWith(u"\"1000000\" is not"_s));
    EXPECT_TRUE(refusal([] { sheetnumbers::parseList(u"1-20000"_s, {}); }).contains(u"more than 10000 sheets"_s));
    EXPECT_EQ(refusal([] { sheetnumbers::parseList(u" , "_s, {}); }), u"No sheet numbers are given."_s);
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

TEST_P(SpoiledSheetsTest, TakenBackNumbersAreUsedUpAndTheCandidatePrintsAgain)
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
    EXPECT_EQ(certNo(u"R1"_s), u"A000017"_s);
    EXPECT_EQ(registerRows(), (QStringList{u"A000017 PRINTED R1 WS1"_s, u"A000018 PRINTED R2 WS1"_s,
                                           u"A000018 SPOILED R2 WS2"_s, u"A000019 PRINTED R3 WS1"_s,
                                           u"A000020 PRINTED R4 WS1"_s, u"A000021 SPOILED  WS2"_s}));
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
}

TEST_P(SpoiledSheetsTest, AListWithOneBadNumberRegistersNothing)
{
    printWithoutAsking();
    sheets().registerSpoiled(u"A"_s, {18}, {});
    const QStringList before = registerRows();

    EXPECT_EQ(refusal([&] { sheets().registerSpoiled(u"A"_s, {22, 18}, {}); }),
              u"Certificate No. A000018 is already registered as spoiled. Nothing is registered; correct the list and "
              "register it again."_s);
    // Printed for a candidate who gave the number back another way (cancelled, taken back on the recent-certificates screen).
    m_session.db().exec(u"update convo set fcertno = null where fregno = 'R4'"_s);
    EXPECT_TRUE(refusal([&] { sheets().registerSpoiled(u"A"_s, {19, 20}, {}); })
                    .startsWith(u"Certificate No. A000020 was printed for Reg. No. R4, who no longer holds it"_s));
    EXPECT_TRUE(refusal([&] { sheets().planSpoiled(u"A B"_s, {30}); }).contains(u"contains a blank"_s));
    // Another convocation's candidate keeps its number: the sheet is that convocation's to register.
    test::insertCandidate(m_session.db(), u"X1"_s, {{u"fconvocode"_s, u"C25"_s}, {u"fcertno"_s, u"A000031"_s}});
    EXPECT_TRUE(refusal([&] { sheets().planSpoiled(u"A"_s, {31}); })
                    .startsWith(u"Certificate No. A000031 is held by Reg. No. X1 of convocation C25"_s));

    EXPECT_EQ(registerRows(), before);
    EXPECT_EQ(certNo(u"R3"_s), u"A000019"_s);
    // An award's number is taken back from the rank register, and the award prints again.
    m_session.db().exec(u"insert into rankreg (fdegree, fregno, frank, fconvocode, fcertno, fcerttype) values "
                        "('BA', 'R9', 'I', 'C26', 'A000030', 'RC')"_s);
    sheets().registerSpoiled(u"A"_s, {30}, {});
    EXPECT_EQ(m_session.db().scalar(u"select fcertno from rankreg where fregno = 'R9'"_s).toString(), u""_s);
}

INSTANTIATE_TEST_SUITE_P(Backends, SpoiledSheetsTest, ::testing::Values(TestBackend::SQLite, TestBackend::MariaDB),
                         test::backendName);

} // namespace
