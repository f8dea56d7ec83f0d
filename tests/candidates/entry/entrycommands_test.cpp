// SPDX-License-Identifier: GPL-3.0-or-later
// candidate show|add|edit|withdraw and search, run as the real command-line tool.
#include "support/batchrun.h"
#include "candidates/entry/seeddata.h"
#include "support/testdatabase.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::runBatch;

namespace {

class EntryCommandsTest : public test::SeededFolderTest
{
protected:
    QStringList newCandidate(const QString &regno) const
    {
        return as() << u"candidate"_s << u"add"_s << regno << u"--fname"_s << u"Mary D'Souza"_s << u"--fdegree"_s
                    << u"ba"_s << u"--fcollcode"_s << u"101"_s << u"--fclasscode"_s << u"FC"_s << u"--fsex"_s << u"f"_s
                    << u"--fyear"_s << u"2025"_s << u"--fexamdate"_s << u"APRIL 2025"_s << u"--funivcode"_s << u"U1"_s;
    }
    // Columns of a candidate, joined by "|" when there are several.
    QString column(const QString &regno, const QStringList &names)
    {
        QStringList values;
        for (const QString &name : names)
            values << m_db->scalar(u"select "_s + name + u" from convo where fregno = ?"_s, {regno}).toString();
        return values.join(u'|');
    }
};

TEST_P(EntryCommandsTest, AddThenEditActivatesAndPrintsWhatChanged)
{
    test::BatchRun r = runBatch(newCandidate(u"r10"_s));
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(u"added R10"_s)) << r.out.toStdString();
    // Typed as the form would: upper case but the name, apostrophe as grave accent.
    EXPECT_EQ(column(u"R10"_s, {u"fname"_s, u"fdegree"_s, u"factive"_s, u"fmanual"_s}), u"Mary D`Souza|BA|F|T"_s);

    r = runBatch(as() << u"candidate"_s << u"edit"_s << u"R10"_s << u"--factive"_s << u"T"_s);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(u"Sl. No. is"_s)) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(u"R10 factive: F -> T"_s)) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(u"R10 fprintord:  -> 00001"_s)) << r.out.toStdString();

    r = runBatch(as() << u"candidate"_s << u"show"_s << u"R10"_s);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(u"Degree (fdegree): BA  Bachelor of Arts"_s)) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(u"Sl. No. (fprintord): 00001"_s));
    EXPECT_TRUE(r.out.contains(u"Photograph: none"_s));
}

TEST_P(EntryCommandsTest, ABadValueNamesItsFieldAndSavesNothing)
{
    test::BatchRun r = runBatch(newCandidate(u"R11"_s) << u"--fcollcode"_s << u"999"_s);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(u"Nothing saved: College (--fcollcode): Invalid College Code"_s)) << r.err.toStdString();
    EXPECT_EQ(m_db->scalar(u"select count(*) from convo"_s).toInt(), 0);

    r = runBatch(as() << u"candidate"_s << u"add"_s << u"R 12"_s << u"--fname"_s << u"X"_s);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(u"Reg. No. (--fregno): Invalid Reg. No."_s)) << r.err.toStdString();

    // Candidates need a convocation: the administrator's pseudo-convocation has none.
    r = runBatch({u"--folder"_s, m_folder->folder().root(), u"--user"_s, u"ADMIN"_s, u"--password"_s, u"ADMIN"_s,
                  u"candidate"_s, u"show"_s, u"R10"_s});
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(u"log in with --convo CODE"_s)) << r.err.toStdString();
}

TEST_P(EntryCommandsTest, TheAbcIdIsTakenCheckedAndCorrectedByItsOption)
{
    test::BatchRun r = runBatch(newCandidate(u"R13"_s) << u"--abc-id"_s << u"12345678901"_s);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(u"Nothing saved: ABC ID (--abc-id): ABC ID: must be 12 digits"_s))
        << r.err.toStdString();
    EXPECT_EQ(m_db->scalar(u"select count(*) from convo"_s).toInt(), 0);

    r = runBatch(newCandidate(u"R13"_s) << u"--abc-id"_s << u" 123456789012 "_s);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(column(u"R13"_s, {u"fabcid"_s}), u"123456789012"_s);
    r = runBatch(as() << u"candidate"_s << u"edit"_s << u"R13"_s << u"--abc-id"_s << u"210987654321"_s);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(u"R13 fabcid: 123456789012 -> 210987654321"_s)) << r.out.toStdString();
    r = runBatch(as() << u"candidate"_s << u"show"_s << u"R13"_s);
    EXPECT_TRUE(r.out.contains(u"ABC ID (fabcid): 210987654321"_s)) << r.out.toStdString();

    // Another student cannot take it.
    r = runBatch(newCandidate(u"R14"_s) << u"--fname"_s << u"Someone Else"_s << u"--abc-id"_s << u"210987654321"_s);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(
        r.err.contains(u"ABC ID: 210987654321 is already held by R13 Mary D`Souza (degree BA, convocation C26)"_s))
        << r.err.toStdString();
}

TEST_P(EntryCommandsTest, APrintedCandidateStaysAsItWasThroughTheCommands)
{
    test::insertCandidate(*m_db, u"R20"_s, {{u"fcertno"_s, u"DC000050"_s}, {u"factive"_s, u"T"_s}});
    test::BatchRun r = runBatch(as() << u"candidate"_s << u"edit"_s << u"R20"_s << u"--fname"_s << u"Other"_s
                                     << u"--factive"_s << u"T"_s);
    // A change refused is a failed run, on standard error; that the row stays as it was is the
    // store's (CandidateStoreTest.APrintedCandidateIsFrozenOnEveryPath).
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(u"R20: not changed: --fname (certificate DC000050 is printed)"_s))
        << r.err.toStdString();
    r = runBatch(as() << u"candidate"_s << u"edit"_s << u"R20"_s << u"--fcertno"_s << u"DC000077"_s);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(u"only ADMIN may rewrite a certificate number"_s)) << r.err.toStdString();

    r = runBatch(QStringList{u"--yes"_s} << as() << u"candidate"_s << u"withdraw"_s << u"R20"_s);
    EXPECT_EQ(r.exitCode, 1);

    // The administrator may rewrite the number.
    r = runBatch(as(u"ADMIN"_s, u"ADMIN"_s)
                 << u"candidate"_s << u"edit"_s << u"R20"_s << u"--fcertno"_s << u"DC000051"_s);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(u"R20 fcertno: DC000050 -> DC000051"_s)) << r.out.toStdString();
    // The rewrite is a line of the audit trail, with the number before and after.
    Rows audit = m_db->query(u"select fusername, faction, fold, fnew from audit where fwhat = 'certificates'"_s);
    ASSERT_TRUE(audit.next());
    EXPECT_EQ(QStringList({audit.text(0), audit.text(1), audit.text(2), audit.text(3)}).join(u'|'),
              u"ADMIN|rewrite|fcertno=DC000050|fcertno=DC000051"_s);
    EXPECT_FALSE(audit.next());
}

TEST_P(EntryCommandsTest, WithdrawAsksAndSearchLists)
{
    test::insertCandidate(*m_db, u"R30"_s,
                          {{u"fname"_s, u"ZAHEER KHAN"_s}, {u"factive"_s, u"T"_s}, {u"fprintord"_s, u"00003"_s}});
    test::BatchRun r = runBatch(as() << u"candidate"_s << u"withdraw"_s << u"R30"_s);
    EXPECT_EQ(r.exitCode, 1); // the question had no answer
    EXPECT_TRUE(r.err.contains(u"Confirm deletion"_s)) << r.err.toStdString();
    r = runBatch(QStringList{u"--yes"_s} << as() << u"candidate"_s << u"withdraw"_s << u"R30"_s);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(column(u"R30"_s, {u"factive"_s, u"fprintord"_s}), u"F|"_s);

    r = runBatch(as() << u"search"_s << u"khan"_s << u"--match"_s << u"ends"_s);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(u"R30\tZAHEER KHAN\t"_s)) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(u"1 found"_s));
    r = runBatch(as() << u"search"_s << u"R3"_s << u"--by"_s << u"phone"_s);
    EXPECT_EQ(r.exitCode, 2);
}

TEST_P(EntryCommandsTest, APhotographGivenOnAddIsMovedIntoPhotos)
{
    QTemporaryDir elsewhere;
    const QString chosen = elsewhere.filePath(u"face.jpg"_s);
    const QString notes = elsewhere.filePath(u"notes.jpg"_s);
    {
        QImage face(30, 40, QImage::Format_RGB32);
        face.fill(Qt::gray);
        ASSERT_TRUE(face.save(chosen));
        QFile f(notes);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("jpeg");
    }
    // A file that is no picture refuses the candidate's save.
    const test::BatchRun refused = runBatch(newCandidate(u"R40"_s) << u"--photo"_s << notes);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(u"is not a picture that can be read"_s)) << refused.err.toStdString();
    const test::BatchRun r = runBatch(newCandidate(u"R40"_s) << u"--photo"_s << chosen);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString target = m_folder->folder().filePath(u"Photos/R40.jpg"_s);
    EXPECT_TRUE(QFile::exists(target));
    EXPECT_FALSE(QFile::exists(chosen));
    const test::BatchRun show = runBatch(as() << u"candidate"_s << u"show"_s << u"R40"_s);
    EXPECT_TRUE(show.out.contains(u"Photograph: "_s + target)) << show.out.toStdString();
}

// Kannada names given in Unicode are stored as the legacy codes, shown beside their
// Unicode reading, and found by a search typed in Unicode.
TEST_P(EntryCommandsTest, KannadaNamesTravelInUnicodeAndAreStoredAsTheLegacyCodes)
{
    test::BatchRun r =
        runBatch(newCandidate(u"R50"_s) << u"--fnamekan"_s << u"ರಾಮ"_s << u"--ffatnamekan"_s << u"PÀÈµÀÚ"_s);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    // Codes given as codes are kept.
    EXPECT_EQ(column(u"R50"_s, {u"fnamekan"_s, u"ffatnamekan"_s}), u"gÁªÀÄ|PÀÈµÀÚ"_s);

    r = runBatch(as() << u"candidate"_s << u"show"_s << u"R50"_s);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(u"(fnamekan): gÁªÀÄ  ರಾಮ\n"_s)) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(u"(ffatnamekan): PÀÈµÀÚ  ಕೃಷ್ಣ\n"_s)) << r.out.toStdString();

    // The database compares without regard to case; in the codes "G" and "g" are
    // different letters, so R51's name is not the one typed.
    test::insertCandidate(*m_db, u"R51"_s, {{u"fnamekan"_s, u"GÁªÀÄ"_s}});
    r = runBatch(as() << u"search"_s << u"ರಾಮ"_s << u"--match"_s << u"contains"_s);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(u"R50\t"_s)) << r.out.toStdString();
    EXPECT_FALSE(r.out.contains(u"R51\t"_s)) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(u"1 found"_s)) << r.out.toStdString();

    // Another script cannot be written in the codes: refused before anything is saved.
    r = runBatch(as() << u"candidate"_s << u"edit"_s << u"R50"_s << u"--fmotnamekan"_s << u"सीता"_s);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(u"--fmotnamekan: \"स\" cannot be written in the legacy Kannada codes"_s))
        << r.err.toStdString();
    EXPECT_EQ(column(u"R50"_s, {u"fmotnamekan"_s}), QString());
}

INSTANTIATE_TEST_SUITE_P(Backends, EntryCommandsTest, test::bothBackends(), test::backendName);

} // namespace
