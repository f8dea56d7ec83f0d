// SPDX-License-Identifier: GPL-3.0-or-later
// Fee verification and activation grids on the real databases.
#include "candidates/entry/seeddata.h"
#include "certificates/verification/gatestore.h"
#include "shell/session.h"
#include "support/scriptedprompter.h"
#include "support/testdatabase.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

class GateStoreTest : public test::InstalledSessionTest
{
protected:
    void SetUp() override
    {
        InstalledSessionTest::SetUp();
        if (IsSkipped())
            return;
        Database &db = m_session.db();
        test::seedMasters(db);
        // Degree BA, college 101: the states a candidate passes through.
        test::insertCandidate(db, u"R1"_s);                                                    // entered
        test::insertCandidate(db, u"R2"_s, {{u"ffeepaid"_s, u"T"_s}});                         // fee verified
        test::insertCandidate(db, u"R3"_s, {{u"ffeepaid"_s, u"T"_s}, {u"factive"_s, u"T"_s}}); // active
        test::insertCandidate(
            db, u"R4"_s, {{u"ffeepaid"_s, u"T"_s}, {u"factive"_s, u"T"_s}, {u"fcertno"_s, u"DC000001"_s}}); // printed
        test::insertCandidate(db, u"R5"_s, {{u"fcollcode"_s, u"102"_s}, {u"ffeepaid"_s, u"T"_s}});
        test::insertCandidate(db, u"R6"_s, {{u"fconvocode"_s, u"C25"_s}, {u"ffeepaid"_s, u"T"_s}});
    }
    GateStore store(Gate gate) { return GateStore(m_session, m_prompter, gate); }
    QString flag(const QString &regno, const QString &column)
    {
        return m_session.db().scalar(u"select "_s + column + u" from convo where fregno = ?"_s, {regno}).toString();
    }
    static QStringList regnos(const std::vector<GateRow> &grid)
    {
        QStringList out;
        for (const GateRow &row : grid)
            out << row.regno + (row.ticked ? u"+"_s : u"-"_s);
        return out;
    }

    test::ScriptedPrompter m_prompter;
};

const GateSelection kBa101{u"BA"_s, u"101"_s, u"101"_s};

TEST_P(GateStoreTest, VerificationShowsOnlyUnprintedInactiveCandidates)
{
    GateStore verify = store(Gate::Verification);
    EXPECT_TRUE(verify.hasCandidates(kBa101));
    std::vector<GateRow> grid = verify.load(kBa101);
    EXPECT_EQ(regnos(grid), (QStringList{u"R1-"_s, u"R2+"_s}));

    // Select-all, then a row for the active candidate (refused as it is typed, and
    // left alone by the save should it come all the same).
    for (GateRow &row : grid)
        row.ticked = true;
    ASSERT_FALSE(verify.nameForNewRow(kBa101, u"R3"_s, grid));
    grid.push_back({u"R3"_s, {}, false, true});
    grid.push_back({u"R4"_s, {}, false, true}); // printed: frozen
    verify.save(kBa101, grid);
    EXPECT_EQ(flag(u"R1"_s, u"ffeepaid"_s), u"T"_s);
    EXPECT_EQ(flag(u"R3"_s, u"ffeepaid"_s), u"T"_s);
    EXPECT_EQ(flag(u"R4"_s, u"ffeepaid"_s), u"T"_s);
}

TEST_P(GateStoreTest, ActivationShowsOnlyFeeVerifiedUnprintedCandidates)
{
    GateStore activate = store(Gate::Activation);
    const GateSelection range{u"BA"_s, u"101"_s, u"102"_s};
    std::vector<GateRow> grid = activate.load(range);
    EXPECT_EQ(regnos(grid), (QStringList{u"R2-"_s, u"R3+"_s, u"R5-"_s}));

    // Meanwhile another clerk with the same grid open activates R5: a row left as loaded
    // does not undo that.
    m_session.db().exec(u"update convo set factive = 'T' where fregno = 'R5'"_s);
    grid[0].ticked = true;  // activate R2
    grid[1].ticked = false; // deactivate R3
    // Typed-in rows for a candidate without verified fee and a printed one reach nothing.
    grid.push_back({u"R1"_s, {}, true, true});
    grid.push_back({u"R4"_s, {}, false, true});
    activate.save(range, grid);
    EXPECT_EQ(flag(u"R2"_s, u"factive"_s), u"T"_s);
    EXPECT_EQ(flag(u"R3"_s, u"factive"_s), u"F"_s);
    EXPECT_EQ(flag(u"R5"_s, u"factive"_s), u"T"_s);
    EXPECT_EQ(flag(u"R1"_s, u"factive"_s), u"F"_s);
    EXPECT_EQ(flag(u"R4"_s, u"factive"_s), u"T"_s);
    EXPECT_EQ(flag(u"R6"_s, u"factive"_s), u"F"_s);
}

TEST_P(GateStoreTest, TheLookUpsOfferWhatEachGateHandles)
{
    const auto codes = [](const std::vector<std::pair<QString, QString>> &list) {
        QStringList out;
        for (const auto &[code, description] : list)
            out << code;
        return out;
    };
    EXPECT_EQ(codes(store(Gate::Activation).regnoChoices(u"BA"_s, u"101"_s)), (QStringList{u"R2"_s, u"R3"_s}));
    EXPECT_EQ(codes(store(Gate::Verification).regnoChoices(u"BA"_s, u"101"_s)),
              (QStringList{u"R1"_s, u"R2"_s, u"R3"_s}));
    EXPECT_EQ(codes(store(Gate::Activation).degreeChoices()), QStringList{u"BA"_s});
    EXPECT_EQ(codes(store(Gate::Activation).collegeChoices(u"BA"_s)), (QStringList{u"101"_s, u"102"_s}));
    // R5 (college 102) is not active, so verification offers 102 too; R3 alone would not.
    EXPECT_EQ(codes(store(Gate::Verification).collegeChoices(u"BA"_s)), (QStringList{u"101"_s, u"102"_s}));
}

TEST_P(GateStoreTest, HeaderAndRowChecksSayWhatIsWrong)
{
    GateStore activate = store(Gate::Activation);
    EXPECT_FALSE(activate.checkHeader({u""_s, u"101"_s, u"101"_s}));
    EXPECT_EQ(m_prompter.last(), u"Information should be entered"_s);
    EXPECT_FALSE(activate.checkHeader({u"ZZ"_s, u"101"_s, u"101"_s}));
    EXPECT_EQ(m_prompter.last(), u"Invalid Degree Code"_s);
    EXPECT_FALSE(activate.checkHeader({u"BA"_s, u"101"_s, u"999"_s}));
    EXPECT_EQ(m_prompter.last(), u"Invalid College Code"_s);
    EXPECT_TRUE(activate.checkHeader(kBa101));

    const std::vector<GateRow> grid = {{u"R2"_s, u"Name R2"_s, false, false}};
    EXPECT_FALSE(activate.nameForNewRow(kBa101, u" "_s, grid));
    EXPECT_EQ(m_prompter.last(), u"Reg. No. should be entered"_s);
    EXPECT_FALSE(activate.nameForNewRow(kBa101, u"r2"_s, grid));
    EXPECT_EQ(m_prompter.last(), u"Reg. No. already defined"_s);
    EXPECT_FALSE(activate.nameForNewRow(kBa101, u"R6"_s, grid)); // another convocation's
    EXPECT_EQ(m_prompter.last(), u"Invalid Reg. No."_s);
    EXPECT_EQ(activate.nameForNewRow(kBa101, u"R3"_s, grid).value_or(QString()), u"Name R3"_s);

    EXPECT_EQ(activate.save(kBa101, {}), 0);
    EXPECT_EQ(m_prompter.last(), u"No student Details found"_s);
    EXPECT_FALSE(store(Gate::Verification).hasCandidates({u"BSC"_s, u"101"_s, u"101"_s}));
    EXPECT_TRUE(store(Gate::Verification).load({u"BSC"_s, u"101"_s, u"101"_s}).empty());
    EXPECT_EQ(m_prompter.last(), u"No records found"_s);
}

// Issue: a register number of another degree was taken on its row and refused only at
// Save. Each row typed is checked as the save would check it, and refused on its row
// with the reason; a candidate the gate handles gets its name.
TEST_P(GateStoreTest, ARowTypedIsRefusedAtOnceWhenTheSaveWouldNotReachIt)
{
    test::insertCandidate(m_session.db(), u"R7"_s, {{u"fdegree"_s, u"BSC"_s}, {u"ffeepaid"_s, u"T"_s}});
    const struct
    {
        Gate gate;
        QString regno;
        QString said; // empty: taken, with the candidate's name
    } rows[] = {
        {Gate::Verification, u"R7"_s, u"Reg. No. R7 is a candidate of degree BSC, not of degree BA."_s},
        {Gate::Activation, u"R7"_s, u"Reg. No. R7 is a candidate of degree BSC, not of degree BA."_s},
        {Gate::Verification, u"R4"_s,
         u"Reg. No. R4 is printed (certificate DC000001): it is passed through no gate "
         "again."_s},
        {Gate::Activation, u"R4"_s,
         u"Reg. No. R4 is printed (certificate DC000001): it is passed through no gate "
         "again."_s},
        {Gate::Verification, u"R3"_s, u"Reg. No. R3 is active already: its fee is not changed here."_s},
        {Gate::Verification, u"R5"_s, u"Reg. No. R5 is of college 102, not of college 101."_s},
        {Gate::Activation, u"R1"_s, u"Reg. No. R1: the fee is not verified. Verify it first."_s},
        {Gate::Verification, u"R9"_s, u"Invalid Reg. No."_s},
        {Gate::Verification, u"R1"_s, {}},
        {Gate::Activation, u"R5"_s, {}}, // activation reaches the candidate's own college
        {Gate::Activation, u"r2"_s, {}},
    };
    for (const auto &r : rows) {
        m_prompter.clear();
        const std::optional<QString> name = store(r.gate).nameForNewRow(kBa101, r.regno, {});
        const std::string what = r.regno.toStdString() + (r.gate == Gate::Activation ? " activation" : " verification");
        if (r.said.isEmpty()) {
            EXPECT_EQ(name.value_or(QString()), u"Name "_s + r.regno.toUpper()) << what;
            EXPECT_TRUE(m_prompter.texts().isEmpty()) << what;
        } else {
            EXPECT_FALSE(name) << what;
            EXPECT_EQ(m_prompter.last(), r.said) << what;
        }
    }
}

TEST_P(GateStoreTest, DeleteDeactivatesEveryUnprintedCandidateOfTheSelection)
{
    m_session.db().exec(u"update convo set factive = 'T'"_s);
    m_prompter.answer(PromptAnswer::No);
    EXPECT_EQ(store(Gate::Verification).deactivateAll(kBa101), 0);
    EXPECT_EQ(m_prompter.shown().back().text, u"Confirm Deletion"_s);

    // Verification's Delete clears the active flag, not the fee, of every unprinted candidate.
    m_prompter.answer(PromptAnswer::Yes);
    EXPECT_EQ(store(Gate::Verification).deactivateAll(kBa101), 3);
    EXPECT_EQ(flag(u"R1"_s, u"factive"_s), u"F"_s);
    EXPECT_EQ(flag(u"R2"_s, u"ffeepaid"_s), u"T"_s);
    EXPECT_EQ(flag(u"R4"_s, u"factive"_s), u"T"_s); // printed
    EXPECT_EQ(flag(u"R5"_s, u"factive"_s), u"T"_s); // other college

    // Activation's keeps to fee-verified candidates.
    m_session.db().exec(u"update convo set factive = 'T'"_s);
    m_prompter.answer(PromptAnswer::Yes);
    EXPECT_EQ(store(Gate::Activation).deactivateAll(kBa101), 2);
    EXPECT_EQ(flag(u"R1"_s, u"factive"_s), u"T"_s);
}

INSTANTIATE_TEST_SUITE_P(Backends, GateStoreTest, test::bothBackends(), test::backendName);

} // namespace
