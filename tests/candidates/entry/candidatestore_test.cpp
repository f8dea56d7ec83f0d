// SPDX-License-Identifier: GPL-3.0-or-later
// The candidate form's rules on the real databases: checks, saves, serial numbers,
// the frozen printed candidate, withdrawal, the name library and photographs.
#include "candidates/entry/candidatestore.h"
#include "candidates/entry/seeddata.h"
#include "shell/session.h"
#include "support/scriptedprompter.h"
#include "support/testdatabase.h"

#include <QColor>
#include <QDir>
#include <QImage>
#include <QImageReader>
#include <QFile>
#include <QSqlRecord>
#include <QTemporaryDir>

#include "certificates/printing/stationeryledger.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

class CandidateStoreTest : public test::InstalledSessionTest
{
protected:
    void SetUp() override
    {
        InstalledSessionTest::SetUp();
        if (IsSkipped())
            return;
        installNumberAuthority(m_session);
        test::seedMasters(db());
    }
    Database &db() { return m_session.db(); }
    CandidateStore store() { return CandidateStore(m_session, m_prompter); }

    // A complete new candidate as the form would hold it.
    static CandidateRecord newCandidate(const QString &regno)
    {
        CandidateRecord r;
        const std::pair<const char16_t *, QString> values[] = {
            {u"fregno", regno},        {u"fname", u"Asha Rao"_s},       {u"fdegree", u"BA"_s},
            {u"fcollcode", u"101"_s},  {u"fclasscode", u"FC"_s},        {u"fsex", u"F"_s},
            {u"fyear", u"2025"_s},     {u"fexamdate", u"APRIL 2025"_s}, {u"factive", u"F"_s},
            {u"fconvocode", u"C26"_s}, {u"funivcode", u"U1"_s}};
        for (const auto &[column, value] : values)
            r.set(QString::fromUtf16(column), value);
        return r;
    }
    // Every column of a candidate's row, to see that nothing at all changed.
    QString row(const QString &regno)
    {
        Rows rows = db().query(u"select * from convo where fregno = ?"_s, {regno});
        QString out;
        if (rows.next()) {
            const int columns = rows.query().record().count();
            for (int i = 0; i < columns; ++i)
                out += rows.text(i) + u'|';
        }
        return out;
    }
    // Columns of a candidate of C26, joined by "|" when there are several.
    QString column(const QString &regno, const QStringList &names)
    {
        QStringList values;
        for (const QString &name : names)
            values << db().scalar(u"select "_s + name + u" from convo where fregno = ? and fconvocode = 'C26'"_s,
                                  {regno})
                          .toString();
        return values.join(u'|');
    }
    int kanlibRows() { return db().scalar(u"select count(*) from kanlib"_s).toInt(); }

    test::ScriptedPrompter m_prompter;
};

TEST_P(CandidateStoreTest, AddInsertsOneManualRowAsTyped)
{
    CandidateRecord r = newCandidate(u"r100"_s);
    r.set(u"fname"_s, u"Mary D'Souza"_s);
    r.set(u"ffatname"_s, u"john d'souza"_s);
    r.set(u"fnamekan"_s, u"\u00aeÉÃ¯'a"_s);
    r.set(u"factive"_s, u"T"_s);
    // Typing upper-cases all but the name and turns apostrophes into grave accents, Kannada letters kept.
    const CandidateRecord typed = r.typed();
    EXPECT_EQ(
        QStringList({typed.regno(), typed.value(u"fname"_s), typed.value(u"ffatname"_s), typed.value(u"fnamekan"_s)}),
        (QStringList{u"R100"_s, u"Mary D`Souza"_s, u"JOHN D`SOUZA"_s, u"\u00aeÉÃ¯`a"_s}));
    const CandidateSaveOutcome outcome = store().save(typed, EntryMode::Add);
    ASSERT_TRUE(outcome.saved) << m_prompter.last().toStdString();
    // Adding gives no serial number, even to an active candidate: only activation in an edit does.
    EXPECT_EQ(
        column(u"R100"_s, {u"fname"_s, u"fnamekan"_s, u"fmanual"_s, u"fusername"_s, u"factive"_s, u"fprintord"_s}),
        u"Mary D`Souza|\u00aeÉÃ¯`a|T|CLERK|T|"_s);
    EXPECT_TRUE(outcome.serialNumber.isEmpty());
    EXPECT_TRUE(m_prompter.shown().empty());
    const auto found = store().find(u"R100"_s);
    ASSERT_TRUE(found);
    EXPECT_EQ(store().describe(*found).college, u"Govt College"_s);
    EXPECT_EQ(store().describe(*found).university, u"Varada University"_s);
}

struct BadValue
{
    const char *column;
    const char *value;
    const char *message;
    int box;
    PromptIcon icon;
};

TEST_P(CandidateStoreTest, EveryBadValueIsRefusedWithItsMessageAndNothingIsSaved)
{
    test::insertCandidate(db(), u"R1"_s);
    const BadValue cases[] = {
        {"fregno", "R1", "This Code already exist!!", 0, PromptIcon::Information},
        {"fregno", "R 200", "Invalid Reg. No.", 0, PromptIcon::Exclamation},
        {"fregno", "r200", "Invalid Reg. No.", 0, PromptIcon::Exclamation},
        {"fregno", "R2000000000", "Reg. No. holds at most 10 characters.", 0, PromptIcon::Exclamation},
        {"fname", "", "Information should be entered", 1, PromptIcon::Information},
        {"fdegree", "ZZ", "Invalid Degree Code", 2, PromptIcon::Exclamation},
        {"fcollcode", "999", "Invalid College Code", 3, PromptIcon::Exclamation},
        {"fclasscode", "XX", "Invalid Class Code", 4, PromptIcon::Exclamation},
        {"funivcode", "U9", "Invalid University Code", 18, PromptIcon::Exclamation},
        {"fsex", "X", "Enter M - Male, F - Female", 5, PromptIcon::Information},
        {"fsex", "", "Enter M - Male, F - Female", 5, PromptIcon::Information},
        {"fyear", "20A5", "Year takes digits and \".\" only", 7, PromptIcon::Exclamation},
        {"fexamdate", "  ", "Information should be entered", 8, PromptIcon::Information},
        {"factive", "Y", "Enter T - Activate, F - Deactivate", 10, PromptIcon::Information},
        {"fconvocode", "C99", "Invalid Convocation Code", 17, PromptIcon::Exclamation},
        {"fconvocode", "", "Enter Convocation number", 17, PromptIcon::Exclamation},
        {"fabcid", "12345678901", "ABC ID: must be 12 digits", 28, PromptIcon::Exclamation},
        {"fabcid", "1234567890123", "ABC ID: must be 12 digits", 28, PromptIcon::Exclamation},
        {"fabcid", "1234 5678 9012", "ABC ID: must be 12 digits", 28, PromptIcon::Exclamation},
        {"fabcid", "12345678901A", "ABC ID: must be 12 digits", 28, PromptIcon::Exclamation},
    };
    for (const BadValue &c : cases) {
        SCOPED_TRACE(std::string(c.column) + " = '" + c.value + "'");
        m_prompter.clear();
        CandidateRecord r = newCandidate(u"R200"_s);
        r.set(QString::fromLatin1(c.column), QString::fromLatin1(c.value));
        const CandidateSaveOutcome outcome = store().save(r, EntryMode::Add);
        EXPECT_FALSE(outcome.saved);
        ASSERT_TRUE(outcome.problem);
        EXPECT_EQ(outcome.problem->box, c.box);
        ASSERT_EQ(m_prompter.shown().size(), 1U);
        EXPECT_EQ(m_prompter.last(), QString::fromLatin1(c.message));
        EXPECT_EQ(m_prompter.shown().front().icon, c.icon);
        EXPECT_EQ(m_prompter.shown().front().title, u"Message"_s);
        EXPECT_EQ(db().scalar(u"select count(*) from convo"_s).toInt(), 1);
    }
}

// An academic account ID names one student: another candidate may hold it only as the
// same student (same name and date of birth) taking another degree, in any convocation.
TEST_P(CandidateStoreTest, AnAbcIdHeldByAnotherStudentIsRefusedNamingTheHolder)
{
    test::insertCandidate(db(), u"R1"_s,
                          {{u"fname"_s, u"Asha Rao"_s},
                           {u"fdob"_s, u"01/02/2003"_s},
                           {u"fabcid"_s, u"123456789012"_s},
                           {u"fconvocode"_s, u"C25"_s}});
    struct Case
    {
        const char *what;
        QString name, dob, degree;
        bool saved;
    };
    const Case cases[] = {
        {"same student, another degree", u"ASHA  RAO"_s, u"01/02/2003"_s, u"BSC"_s, true},
        {"same name, another date of birth", u"Asha Rao"_s, u"02/02/2003"_s, u"BSC"_s, false},
        {"same student, same degree again", u"Asha Rao"_s, u"01/02/2003"_s, u"BA"_s, false},
        {"no date of birth to tell", u"Asha Rao"_s, QString(), u"BSC"_s, false},
        {"another student", u"Ravi Kumar"_s, u"01/02/2003"_s, u"BSC"_s, false},
    };
    int regno = 300;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        m_prompter.clear();
        CandidateRecord r = newCandidate(u"R"_s + QString::number(++regno));
        r.set(u"fname"_s, c.name);
        r.set(u"fdob"_s, c.dob);
        r.set(u"fdegree"_s, c.degree);
        r.set(u"fabcid"_s, u"123456789012"_s);
        const CandidateSaveOutcome outcome = store().save(r, EntryMode::Add);
        EXPECT_EQ(outcome.saved, c.saved) << m_prompter.last().toStdString();
        if (c.saved)
            continue;
        ASSERT_TRUE(outcome.problem);
        EXPECT_EQ(outcome.problem->box, 28);
        EXPECT_TRUE(m_prompter.last().startsWith(
            u"ABC ID: 123456789012 is already held by R1 Asha Rao (degree BA, convocation C25)"_s))
            << m_prompter.last().toStdString();
        EXPECT_EQ(column(r.regno(), {u"fregno"_s}), QString());
    }
    // The holder's own correction keeps its ID; a new, free ID is taken and stored.
    test::insertCandidate(db(), u"R2"_s, {{u"fabcid"_s, u"999999999999"_s}});
    auto holder = store().find(u"R2"_s);
    ASSERT_TRUE(holder);
    CandidateRecord corrected = *holder;
    corrected.set(u"fcaste"_s, u"GM"_s);
    EXPECT_TRUE(store().save(corrected, EntryMode::Edit, {}, holder).saved) << m_prompter.last().toStdString();
    corrected.set(u"fabcid"_s, u"000000000042"_s);
    EXPECT_TRUE(store().save(corrected, EntryMode::Edit, {}, *store().find(u"R2"_s)).saved);
    EXPECT_EQ(column(u"R2"_s, {u"fabcid"_s, u"fcaste"_s}), u"000000000042|GM"_s);
}

TEST_P(CandidateStoreTest, EditChangesTheBoxesAndRefusesAnUnknownRegisterNumber)
{
    test::insertCandidate(db(), u"R1"_s);
    CandidateRecord r = *store().find(u"R1"_s);
    r.set(u"fcollcode"_s, u"102"_s);
    r.set(u"fname"_s, u"Changed Name"_s);
    ASSERT_TRUE(store().save(r, EntryMode::Edit).saved) << m_prompter.last().toStdString();
    // An edit does not make an imported row manual.
    EXPECT_EQ(column(u"R1"_s, {u"fcollcode"_s, u"fname"_s, u"fmanual"_s}), u"102|Changed Name|F"_s);

    // A box the clerk changes is checked; the boxes left as stored are not, so an
    // imported class that is no code of the class master does not block a correction.
    r.set(u"fcollcode"_s, u"999"_s);
    EXPECT_FALSE(store().save(r, EntryMode::Edit).saved);
    EXPECT_EQ(m_prompter.last(), u"Invalid College Code"_s);
    test::insertCandidate(db(), u"R2"_s, {{u"fclasscode"_s, u"DIST"_s}});
    CandidateRecord imported = *store().find(u"R2"_s);
    imported.set(u"fname"_s, u"Corrected"_s);
    EXPECT_TRUE(store().save(imported, EntryMode::Edit).saved) << m_prompter.last().toStdString();
    EXPECT_EQ(column(u"R2"_s, {u"fname"_s}), u"Corrected"_s);

    r.set(u"fregno"_s, u"R9"_s);
    EXPECT_FALSE(store().save(r, EntryMode::Edit).saved);
    EXPECT_EQ(m_prompter.last(), u"Invalid Reg. No."_s);
    // The same register number in another convocation is not this convocation's candidate.
    test::insertCandidate(db(), u"R5"_s, {{u"fconvocode"_s, u"C25"_s}});
    EXPECT_FALSE(store().find(u"R5"_s));
}

TEST_P(CandidateStoreTest, BrowsingWalksTheConvocationByDegreeCollegeAndRegisterNumber)
{
    test::insertCandidate(db(), u"R3"_s, {{u"fdegree"_s, u"BSC"_s}});
    test::insertCandidate(db(), u"R2"_s, {{u"fcollcode"_s, u"102"_s}});
    test::insertCandidate(db(), u"R9"_s);
    test::insertCandidate(db(), u"R1"_s);
    test::insertCandidate(db(), u"R0"_s, {{u"fconvocode"_s, u"C25"_s}});
    EXPECT_EQ(store().browseOrder(), (QStringList{u"R1"_s, u"R9"_s, u"R2"_s, u"R3"_s}));
}

TEST_P(CandidateStoreTest, ActivationGivesTheNextSerialNumberOnceOverAllConvocations)
{
    test::insertCandidate(db(), u"R1"_s);
    test::insertCandidate(db(), u"R2"_s);
    test::insertCandidate(db(), u"R3"_s);
    CandidateRecord r1 = *store().find(u"R1"_s);
    r1.set(u"factive"_s, u"T"_s);
    CandidateSaveOutcome outcome = store().save(r1, EntryMode::Edit);
    ASSERT_TRUE(outcome.saved) << m_prompter.last().toStdString();
    EXPECT_EQ(outcome.serialNumber, u"00001"_s);
    EXPECT_EQ(m_prompter.last(), u"Sl. No. is \r\n00001"_s);
    EXPECT_EQ(column(u"R1"_s, {u"fprintord"_s, u"factive"_s}), u"00001|T"_s);

    // Saving the active candidate again keeps its number and says nothing of one.
    m_prompter.clear();
    outcome = store().save(*store().find(u"R1"_s), EntryMode::Edit);
    EXPECT_TRUE(outcome.serialNumber.isEmpty());
    EXPECT_TRUE(m_prompter.shown().empty());
    EXPECT_EQ(column(u"R1"_s, {u"fprintord"_s}), u"00001"_s);

    // The highest number of any convocation counts.
    test::insertCandidate(db(), u"R9"_s, {{u"fconvocode"_s, u"C25"_s}, {u"fprintord"_s, u"00041"_s}});
    CandidateRecord r2 = *store().find(u"R2"_s);
    r2.set(u"factive"_s, u"T"_s);
    EXPECT_EQ(store().save(r2, EntryMode::Edit).serialNumber, u"00042"_s);

    // Deactivating in an edit keeps the number; the fixed width carries on past 9.
    db().exec(u"update convo set fprintord = '09999' where fregno = 'R9'"_s);
    CandidateRecord r3 = *store().find(u"R3"_s);
    r3.set(u"factive"_s, u"T"_s);
    EXPECT_EQ(store().save(r3, EntryMode::Edit).serialNumber, u"10000"_s);
}

TEST_P(CandidateStoreTest, APrintedCandidateIsFrozenOnEveryPath)
{
    test::insertCandidate(db(), u"R1"_s, {{u"fcertno"_s, u"DC000123"_s}, {u"factive"_s, u"F"_s}});
    const QString before = row(u"R1"_s);
    CandidateRecord r = *store().find(u"R1"_s);
    r.set(u"fname"_s, u"Someone Else"_s);
    r.set(u"factive"_s, u"T"_s);
    r.set(u"fcertno"_s, u"DC999999"_s);

    // An ordinary user's edit, activation included, reaches nothing.
    const CandidateSaveOutcome edit = store().save(r, EntryMode::Edit);
    EXPECT_TRUE(edit.saved);
    EXPECT_TRUE(edit.serialNumber.isEmpty());
    EXPECT_EQ(row(u"R1"_s), before);

    // Withdrawal neither.
    m_prompter.answer(PromptAnswer::Yes);
    EXPECT_EQ(store().withdraw(u"R1"_s), 0);
    EXPECT_EQ(row(u"R1"_s), before);

    // The administrator may rewrite the number (and the active flag), nothing else,
    // and still no serial number is given to a printed candidate.
    m_session.userName = u"ADMIN"_s;
    EXPECT_TRUE(store().save(r, EntryMode::Edit, {}, *store().find(u"R1"_s)).saved);
    EXPECT_EQ(column(u"R1"_s, {u"fcertno"_s, u"factive"_s, u"fname"_s, u"fprintord"_s}), u"DC999999|T|Name R1|"_s);
}

// The administrator reads an unprinted candidate, a printing workstation stores its
// number, then the administrator saves what he read: the stored number stays.
TEST_P(CandidateStoreTest, AnAdministratorsStaleEditKeepsANumberPrintedMeanwhile)
{
    test::insertCandidate(db(), u"R1"_s, {{u"factive"_s, u"T"_s}});
    m_session.userName = u"ADMIN"_s;
    const CandidateRecord asRead = *store().find(u"R1"_s);
    ASSERT_TRUE(asRead.certno().isEmpty());
    db().exec(u"update convo set fcertno = 'DC000777' where fregno = 'R1'"_s); // the other workstation
    CandidateRecord r = asRead;
    r.set(u"fname"_s, u"Corrected Name"_s);
    EXPECT_TRUE(store().save(r, EntryMode::Edit, {}, asRead).saved);
    EXPECT_EQ(column(u"R1"_s, {u"fcertno"_s, u"fname"_s}), u"DC000777|Name R1"_s); // printed now: frozen

    // Read afresh, the number is his to rewrite; an unprinted candidate's too.
    r = *store().find(u"R1"_s);
    r.set(u"fcertno"_s, u"DC000778"_s);
    EXPECT_TRUE(store().save(r, EntryMode::Edit, {}, *store().find(u"R1"_s)).saved);
    EXPECT_EQ(column(u"R1"_s, {u"fcertno"_s}), u"DC000778"_s);
    test::insertCandidate(db(), u"R2"_s, {{u"factive"_s, u"T"_s}});
    r = *store().find(u"R2"_s);
    r.set(u"fcertno"_s, u"DC000900"_s);
    EXPECT_TRUE(store().save(r, EntryMode::Edit, {}, *store().find(u"R2"_s)).saved);
    EXPECT_EQ(column(u"R2"_s, {u"fcertno"_s}), u"DC000900"_s);
}

// The administrator's number goes through the stationery register: one a sheet used
// already is refused, whatever used it, and the number replaced is used up for ever.
TEST_P(CandidateStoreTest, AnAdministratorsNumberIsOneNoSheetHasUsed)
{
    test::insertCandidate(db(), u"R1"_s, {{u"fcertno"_s, u"DC000123"_s}, {u"factive"_s, u"T"_s}});
    test::insertCandidate(db(), u"X1"_s, {{u"fconvocode"_s, u"C25"_s}, {u"fcertno"_s, u"DC000200"_s}});
    StationeryLedger(db(), u"C26"_s, u"CLERK"_s, u"WS1"_s).registerSpoiled(u"DC"_s, {201}, u"jammed"_s);
    m_session.userName = u"ADMIN"_s;
    const struct
    {
        QString number;
        QString refusal;
    } refused[] = {
        {u"DC000200"_s, u"Certificate No. DC000200 is used already:\nX1 - DC000200 (convocation C25)"_s},
        {u"DC000201"_s, u"Certificate No. DC000201 is used already:\nDC000201 - spoiled sheet"_s},
        {u"DC12"_s, u"\"DC12\" is not a certificate number"_s},
    };
    for (const auto &c : refused) {
        CandidateRecord r = *store().find(u"R1"_s);
        r.set(u"fcertno"_s, c.number);
        const CandidateSaveOutcome outcome = store().save(r, EntryMode::Edit, {}, *store().find(u"R1"_s));
        EXPECT_FALSE(outcome.saved) << c.number.toStdString();
        ASSERT_TRUE(outcome.problem);
        EXPECT_TRUE(outcome.problem->message.startsWith(c.refusal)) << outcome.problem->message.toStdString();
        EXPECT_EQ(column(u"R1"_s, {u"fcertno"_s}), u"DC000123"_s);
    }
    CandidateRecord r = *store().find(u"R1"_s);
    r.set(u"fcertno"_s, u"DC000202"_s);
    EXPECT_TRUE(store().save(r, EntryMode::Edit, {}, *store().find(u"R1"_s)).saved);
    EXPECT_EQ(column(u"R1"_s, {u"fcertno"_s}), u"DC000202"_s);
    EXPECT_EQ(db().scalar(u"select fstate from certsheet where fcertno = 'DC000123'"_s).toString(), u"VOID"_s);
    EXPECT_EQ(db().scalar(u"select fstate from certsheet where fcertno = 'DC000202'"_s).toString(), u"PRINTED"_s);
    // The number replaced is given to nobody again.
    r = *store().find(u"R1"_s);
    r.set(u"fcertno"_s, u"DC000123"_s);
    EXPECT_FALSE(store().save(r, EntryMode::Edit, {}, *store().find(u"R1"_s)).saved);
}

// A clerk corrects a name on a record read before another workstation activated the
// candidate: the name is corrected and the activation stays.
TEST_P(CandidateStoreTest, ACorrectionWritesOnlyWhatTheClerkChanged)
{
    test::insertCandidate(db(), u"R1"_s, {{u"factive"_s, u"F"_s}});
    const CandidateRecord asRead = *store().find(u"R1"_s);
    db().exec(u"update convo set factive = 'T', fprintord = '000041' where fregno = 'R1'"_s); // the other workstation
    CandidateRecord r = asRead;
    r.set(u"fname"_s, u"Corrected Name"_s);
    EXPECT_TRUE(store().save(r, EntryMode::Edit, {}, asRead).saved) << m_prompter.last().toStdString();
    EXPECT_EQ(column(u"R1"_s, {u"fname"_s, u"factive"_s, u"fprintord"_s}), u"Corrected Name|T|000041"_s);
}

TEST_P(CandidateStoreTest, SavingTeachesTheNameLibraryOnlyPairsOfEqualWordCounts)
{
    db().exec(u"insert into kanlib (fengname, fkanname) values ('RAO', 'old')"_s);
    CandidateRecord r = newCandidate(u"R400"_s);
    r.set(u"fname"_s, u"ASHA RAO"_s);
    r.set(u"fnamekan"_s, u"ÀA± gÁªï"_s);
    r.set(u"ffatname"_s, u"RAMA KRISHNA RAO"_s);
    r.set(u"ffatnamekan"_s, u"gÁªÀÄ"_s); // one word for three: teaches nothing
    const CandidateSaveOutcome outcome = store().save(r, EntryMode::Add);
    ASSERT_TRUE(outcome.saved) << m_prompter.last().toStdString();
    EXPECT_EQ(outcome.learnedWords, QStringList{u"ASHA"_s});
    EXPECT_EQ(kanlibRows(), 2);
    // A word already in the library keeps its spelling.
    EXPECT_EQ(db().scalar(u"select fkanname from kanlib where fengname = 'RAO'"_s).toString(), u"old"_s);
    EXPECT_EQ(db().scalar(u"select fkanname from kanlib where fengname = 'ASHA'"_s).toString(), u"ÀA±"_s);
}

TEST_P(CandidateStoreTest, PhotographsAreFoundInAnyCaseAndAChosenOneIsAPictureReplacingTheOldOnlyOnYes)
{
    const QString photos = m_session.folder.filePath(u"Photos"_s);
    QDir().mkpath(photos);
    QTemporaryDir elsewhere;
    const auto picture = [&](const QString &name, Qt::GlobalColor colour) {
        const QString path = elsewhere.filePath(name);
        QImage image(30, 40, QImage::Format_RGB32);
        image.fill(colour);
        EXPECT_TRUE(image.save(path));
        return path;
    };
    const auto write = [](const QString &path, const QByteArray &content) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    };
    // Photographs are found in any letter case, ".bmp" before the others.
    write(photos + u"/R9.JPG"_s, "jpg");
    EXPECT_EQ(store().photoPath(u"R9"_s), photos + u"/R9.JPG"_s);
    write(photos + u"/R9.Bmp"_s, "bmp");
    EXPECT_EQ(store().photoPath(u"R9"_s), photos + u"/R9.Bmp"_s);
    EXPECT_EQ(store().photoFiles(u"R9"_s).size(), 2);
    EXPECT_EQ(store().photoPath(u"R1"_s), QString());
    test::insertCandidate(db(), u"R1"_s);

    // Found in the field: a text file given as the photograph was stored as R1.jpg, and
    // as ".jpg" is looked for before ".jpeg" it hid the candidate's real picture.
    const QString text = elsewhere.filePath(u"notes.jpg"_s);
    write(text, "not a picture");
    CandidateSaveOutcome outcome = store().save(*store().find(u"R1"_s), EntryMode::Edit, text);
    EXPECT_FALSE(outcome.saved);
    EXPECT_TRUE(m_prompter.last().contains(u"is not a picture that can be read"_s)) << m_prompter.last().toStdString();
    EXPECT_TRUE(store().photoFiles(u"R1"_s).isEmpty());
    EXPECT_TRUE(QFile::exists(text));

    // The candidate's picture is a .jpeg; a new one asks, and No keeps the old one.
    ASSERT_TRUE(QFile::copy(picture(u"old.jpg"_s, Qt::red), photos + u"/R1.JPEG"_s));
    const QString chosen = picture(u"camera.jpg"_s, Qt::blue);
    m_prompter.answer(PromptAnswer::No);
    outcome = store().save(*store().find(u"R1"_s), EntryMode::Edit, chosen);
    ASSERT_TRUE(outcome.saved);
    EXPECT_TRUE(outcome.photo.isEmpty());
    EXPECT_EQ(store().photoFiles(u"R1"_s), QStringList{photos + u"/R1.JPEG"_s});
    EXPECT_TRUE(QFile::exists(chosen));

    // Yes puts the new one in its place: one picture, the new one, found by every look-up.
    m_prompter.answer(PromptAnswer::Yes);
    outcome = store().save(*store().find(u"R1"_s), EntryMode::Edit, chosen);
    ASSERT_TRUE(outcome.saved);
    EXPECT_EQ(outcome.photo, photos + u"/R1.jpg"_s);
    EXPECT_EQ(store().photoFiles(u"R1"_s), QStringList{photos + u"/R1.jpg"_s});
    const QColor stored = QImage(store().photoPath(u"R1"_s)).pixelColor(0, 0);
    EXPECT_TRUE(stored.blue() > 200 && stored.red() < 50) << stored.name().toStdString(); // a JPEG is near enough
    EXPECT_FALSE(QFile::exists(chosen));
    EXPECT_FALSE(m_prompter.answersLeft());

    // A picture of another kind is stored as a JPEG; a new candidate is not asked.
    const QString png = elsewhere.filePath(u"scan.png"_s);
    QImage scan(20, 20, QImage::Format_RGB32);
    scan.fill(Qt::green);
    ASSERT_TRUE(scan.save(png));
    outcome = store().save(newCandidate(u"R2"_s), EntryMode::Add, png);
    ASSERT_TRUE(outcome.saved);
    EXPECT_EQ(outcome.photo, photos + u"/R2.jpg"_s);
    EXPECT_EQ(QImageReader(outcome.photo).format(), QByteArray("jpeg"));
}

INSTANTIATE_TEST_SUITE_P(Backends, CandidateStoreTest, test::bothBackends(), test::backendName);

} // namespace
