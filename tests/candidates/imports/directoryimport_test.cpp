// SPDX-License-Identifier: GPL-3.0-or-later
// The directory-wise import: files by the kind their names end in (masters first),
// candidates of an earlier convocation, files refused whole, and the upload to the
// portal's dcstud.
#include "candidates/imports/directoryimport.h"
#include "importfixture.h"

#include <QDir>
#include <QFile>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::StuRow;
using sw::test::TestBackend;

namespace {

class DirectoryImportTest : public test::ImportTest
{
protected:
    void SetUp() override
    {
        test::ImportTest::SetUp();
        m_dir = inputPath(u"results"_s);
        QDir().mkpath(m_dir + u"/sub"_s);
    }
    std::optional<std::vector<DirectoryImport::FileOutcome>> importDir(DirectoryImport::Options options = {})
    {
        DirectoryImport run(m_session, m_prompter);
        return run.run(m_dir, options);
    }
    QString writeIn(const QString &name, const std::vector<StuRow> &rows)
    {
        test::writeStuFile(m_dir + u'/' + name, rows, true);
        return m_dir + u'/' + name;
    }
    static StuRow row(const QString &regno, const QString &name, const QString &college = u"C01"_s)
    {
        return {regno,       name,      u"BA"_s,   {},      college, u"DIST"_s,         u"APRIL 2026"_s,
                u"2026"_s,   u"R"_s,    u"M"_s,    u"SC"_s, u"I"_s,  u"B.A. O'APRIL"_s, u"FATHER"_s,
                u"MOTHER"_s, u"2026"_s, u"1200"_s, u"845"_s};
    }
    QString m_dir;
};

TEST_P(DirectoryImportTest, ImportsFilesOfKnownKindsMastersFirstAndSkipsTheRest)
{
    // The candidates' degree comes with the degree file, which sorts after them by name.
    writeIn(u"2026STU.cnv"_s, {row(u"R1"_s, u"ONE"_s), row(u"R2"_s, u"TWO"_s)});
    m_session.db().exec(u"delete from degree where fdegree = 'BA'"_s);
    CnvWriter deg(m_dir + u"/sub/ARTSDEG.cnv"_s, CnvWriter::degreeFields());
    deg.add({u"BA"_s, u"BACHELOR OF ARTS"_s});
    deg.close();
    CnvWriter col(m_dir + u"/2026COL.cnv"_s, CnvWriter::collegeFields(true));
    col.add({u"C05"_s, u"GOVT COLLEGE"_s, u"MYSURU"_s});
    col.close();
    writeIn(u"MARKS.cnv"_s, {row(u"R9"_s, u"NINE"_s)});
    QStringList captions;
    DirectoryImport run(m_session, m_prompter);
    run.onCaption([&](const QString &c) { captions << c; });
    const auto outcomes = run.run(m_dir, {});
    ASSERT_TRUE(outcomes) << m_prompter.last().toStdString();
    ASSERT_EQ(outcomes->size(), 4u);
    EXPECT_EQ(DirectoryImport::listFiles(m_dir).size(), 4);
    // Degrees, colleges, candidates, then the files of no kind.
    EXPECT_EQ((*outcomes)[0].file, u"ARTSDEG.cnv"_s);
    EXPECT_EQ((*outcomes)[1].file, u"2026COL.cnv"_s);
    EXPECT_EQ((*outcomes)[2].file, u"2026STU.cnv"_s);
    EXPECT_EQ((*outcomes)[2].counts.inserted, 2);
    EXPECT_EQ((*outcomes)[3].file, u"MARKS.cnv"_s);
    EXPECT_TRUE((*outcomes)[3].skipped);
    EXPECT_TRUE(m_prompter.last().startsWith(
        u"Imported data Successfully\r\rARTSDEG.cnv: total records: 1, imported records: 1"_s))
        << m_prompter.last().toStdString();
    EXPECT_TRUE(m_prompter.last().contains(u"\rMARKS.cnv: passed over (no kind in its name)"_s));
    EXPECT_EQ(captions.first(),
              u"Import Data Directorywise . . . Total Files Selected: 4, Imported Files : 0, Remaining Files : 4"_s);
    EXPECT_EQ(captions.last(), u"Import Data Directorywise . . ."_s);

    EXPECT_EQ(count(u"select count(*) from convo"_s), 2);
    EXPECT_TRUE(candidate(u"R9"_s, u"BA"_s, u"C01"_s).empty());
    EXPECT_EQ(m_session.db().scalar(u"select ftown from college where fcollcode = 'C05'"_s).toString(), u"MYSURU"_s);
    EXPECT_EQ(count(u"select count(*) from degree where fdegree = 'BA'"_s), 1);
    // Institution 003 stores the short class code.
    EXPECT_EQ(candidate(u"R1"_s, u"BA"_s, u"C01"_s).at(u"fclasscode"_s), u"I"_s);
}

TEST_P(DirectoryImportTest, InstitutionVariantsStoreTheirExtraColumns)
{
    writeIn(u"ASTU.cnv"_s, {row(u"R1"_s, u"ONE"_s)});
    m_session.instCode = u"008"_s;
    ASSERT_TRUE(importDir());
    EXPECT_EQ(test::columns(candidate(u"R1"_s, u"BA"_s, u"C01"_s), {u"funivcode"_s, u"fclasscode"_s}), u"008|DIST"_s);

    m_session.instCode = u"027"_s;
    m_session.db().exec(u"delete from convo"_s);
    ASSERT_TRUE(importDir());
    EXPECT_EQ(test::columns(candidate(u"R1"_s, u"BA"_s, u"C01"_s), {u"fexamdate"_s, u"ffatname"_s, u"fmotname"_s}),
              u"B.A. O'APRIL|FATHER|MOTHER"_s);
}

TEST_P(DirectoryImportTest, ACandidateOfAnEarlierConvocationMovesOnlyWhenTheAnswerIsYes)
{
    addCandidate(u"R1"_s, u"OLD"_s, u"C25"_s);
    addCandidate(u"R2"_s, u"OLD"_s, u"C25"_s);
    const QString file = writeIn(u"ASTU.cnv"_s, {row(u"R1"_s, u"NEW ONE"_s), row(u"R2"_s, u"NEW TWO"_s)});
    m_prompter.answer(PromptAnswer::No);
    m_prompter.answer(PromptAnswer::Yes);
    const auto outcomes = importDir();
    ASSERT_TRUE(outcomes);
    const QStringList shown = m_prompter.texts();
    ASSERT_GE(shown.size(), 2);
    EXPECT_EQ(shown[0], u"This Student (R1) may Applied for Improvement!! Do you want to overwrite the Data!!\r\n"
                        "Current Convocation No. : C26\r\nPrevious Convocation No. : C25"_s);
    EXPECT_EQ(test::columns(candidate(u"R1"_s, u"BA"_s, u"C01"_s), {u"fconvocode"_s, u"fname"_s}), u"C25|OLD"_s);
    EXPECT_EQ(test::columns(candidate(u"R2"_s, u"BA"_s, u"C01"_s), {u"fconvocode"_s, u"fname"_s}), u"C26|NEW TWO"_s);
    EXPECT_FALSE(m_prompter.answersLeft());
    // The row answered No is counted and named.
    test::expectCounts(outcomes->front().counts, {2, 0, 1, 0, 1, 0});
    EXPECT_TRUE(rejectFile(file).at(1).value(4).startsWith(u"stored under convocation C25"_s));

    // A candidate of both convocations is refreshed in the current one, without a question.
    addCandidate(u"R1"_s, u"HERE"_s, u"C26"_s);
    m_prompter.clear();
    const auto again = importDir();
    ASSERT_TRUE(again) << m_prompter.last().toStdString();
    EXPECT_EQ(again->front().counts.refreshed, 2);
    EXPECT_EQ(candidate(u"R1"_s, u"BA"_s, u"C01"_s, u"C26"_s).at(u"fname"_s), u"NEW ONE"_s);
    EXPECT_EQ(candidate(u"R1"_s, u"BA"_s, u"C01"_s, u"C25"_s).at(u"fname"_s), u"OLD"_s);
}

TEST_P(DirectoryImportTest, ABrokenFileIsRefusedWholeAndTheRunGoesOn)
{
    EXPECT_FALSE(importDir());
    EXPECT_EQ(m_prompter.last(), u"No files are selected for Importing"_s);

    {
        CnvWriter writer(m_dir + u"/BADSTU.cnv"_s,
                         CnvWriter::candidateFields(false)); // without FCLASSSHT, which 003 reads
        writer.add({u"R1"_s, u"ONE"_s, u"BA"_s});
    }
    writeIn(u"GOODSTU.cnv"_s, {row(u"R2"_s, u"TWO"_s)});
    const auto outcomes = importDir();
    ASSERT_TRUE(outcomes) << m_prompter.last().toStdString();
    ASSERT_EQ(outcomes->size(), 2u);
    EXPECT_EQ((*outcomes)[0].refused, u"Some field is missing from cnv file (FCLASSSHT)"_s);
    EXPECT_TRUE(m_prompter.last().contains(
        u"BADSTU.cnv: refused, nothing of it saved: Some field is missing from cnv file (FCLASSSHT)"_s))
        << m_prompter.last().toStdString();
    EXPECT_EQ(count(u"select count(*) from convo"_s), 1);
    EXPECT_FALSE(candidate(u"R2"_s, u"BA"_s, u"C01"_s).empty());
}

// The portal's candidates as the upload leaves them, one line each.
QStringList portalRows(Database &portal)
{
    QStringList out;
    Rows rows = portal.query(u"select fregno, fname, fcnvno, fcertno, fclass, fcexam, ftotmax, ftotsec, fdeleted "
                             "from dcstud order by fregno, fcnvno"_s);
    while (rows.next()) {
        QStringList values;
        for (int i = 0; i < 9; ++i)
            values << rows.text(i);
        out << values.join(u'|');
    }
    return out;
}

TEST_P(DirectoryImportTest, TheUploadWritesEachCandidateOnceWithItsValuesWhole)
{
    if (GetParam() != TestBackend::MariaDB)
        GTEST_SKIP() << "the portal lives on the MariaDB server; once is enough";
    test::TestPortal portal(m_session.folder, u"003"_s);
    // Printed under the last convocation: its row goes up as it is stored, not with the file's values.
    m_session.db().exec(u"insert into convo (fregno, fname, fdegree, fcollcode, fconvocode, fcertno, fcaste) values "
                        "('R1', 'STORED NAME', 'BA', 'C01', 'C25', 'DC000007', 'SC')"_s);
    // A "|" once shifted every column after it; a backslash was lost to LOAD DATA's escaping.
    writeIn(u"ASTU.cnv"_s, {row(u"R1"_s, u"NEW NAME"_s), row(u"R2"_s, u"D'COSTA | \\ \u00c0\u00e9"_s)});
    DirectoryImport::Options options;
    options.uploadToOnline = true;
    for (int run = 0; run < 2; ++run) {
        const auto outcomes = importDir(options);
        ASSERT_TRUE(outcomes) << m_prompter.last().toStdString();
        EXPECT_EQ(outcomes->front().uploaded.inserted, run == 0 ? 2 : 0);
        EXPECT_EQ(outcomes->front().uploaded.unchanged, run == 0 ? 0 : 2);
        EXPECT_EQ(outcomes->front().counts.frozen, 1);
        // Uploading again appends nothing: the portal holds each candidate once.
        EXPECT_EQ(portalRows(portal.db()),
                  (QStringList{u"R1|STORED NAME|C25|DC000007|DIST|B.A. O`APRIL|1200|845|F"_s,
                               u"R2|D`COSTA | \\ \u00c0\u00e9|C26||DIST|B.A. O`APRIL|1200|845|F"_s}));
    }
    EXPECT_FALSE(QFile::exists(m_session.folder.filePath(u"CSV/CNVAPPDATA.csv"_s)));
    // A corrected file updates the portal's row in place.
    writeIn(u"ASTU.cnv"_s, {row(u"R2"_s, u"RENAMED"_s)});
    const auto corrected = importDir(options);
    ASSERT_TRUE(corrected);
    EXPECT_EQ(corrected->front().uploaded.updated, 1);
    EXPECT_EQ(portal.db().scalar(u"select fname from dcstud where fregno = 'R2'"_s).toString(), u"RENAMED"_s);
    EXPECT_EQ(portal.db().scalar(u"select count(*) from dcstud"_s).toInt(), 2);
    // The link replaced the title with the portal's.
    EXPECT_EQ(m_session.instTitle, u"PORTAL TITLE"_s);
}

TEST_P(DirectoryImportTest, OnlineOnlyChangesNothingLocally)
{
    if (GetParam() != TestBackend::MariaDB)
        GTEST_SKIP() << "the portal lives on the MariaDB server; once is enough";
    test::TestPortal portal(m_session.folder, u"003"_s);
    addCandidate(u"R1"_s, u"OLD"_s, u"C25"_s);
    writeIn(u"ASTU.cnv"_s, {row(u"R1"_s, u"NEW"_s), row(u"R2"_s, u"TWO"_s)});
    CnvWriter deg(m_dir + u"/XDEG.cnv"_s, CnvWriter::degreeFields());
    deg.add({u"MEd"_s, u"MASTER OF EDUCATION"_s});
    deg.close();
    DirectoryImport::Options options;
    options.uploadToOnline = true;
    options.onlineOnly = true;
    const auto outcomes = importDir(options);
    ASSERT_TRUE(outcomes) << m_prompter.last().toStdString();
    EXPECT_EQ(count(u"select count(*) from convo"_s), 1);
    EXPECT_EQ(candidate(u"R1"_s, u"BA"_s, u"C01"_s).at(u"fname"_s), u"OLD"_s);
    EXPECT_EQ(count(u"select count(*) from degree where fdegree = 'MED'"_s), 0);
    EXPECT_EQ(portal.db().scalar(u"select count(*) from dcstud"_s).toInt(), 2);
    // The counts are the upload's.
    EXPECT_EQ(outcomes->back().counts.inserted, 2);
    EXPECT_EQ(outcomes->back().counts.accounted(), 2);
}

TEST_P(DirectoryImportTest, AnUnreachablePortalStopsBeforeTheFileIsWritten)
{
    test::TestPortal::writeLink(m_session.folder, u"003"_s, u"127.0.0.1:1"_s, u"nobody"_s, u"x"_s, u"nodb"_s, u"T"_s);
    writeIn(u"ASTU.cnv"_s, {row(u"R1"_s, u"ONE"_s)});
    DirectoryImport::Options options;
    options.uploadToOnline = true;
    EXPECT_FALSE(importDir(options));
    EXPECT_TRUE(m_prompter.last().startsWith(u"Error in connecting to database!!\r"_s))
        << m_prompter.last().toStdString();
    // The link is opened before the file's rows are written, so the file is not half done.
    EXPECT_EQ(count(u"select count(*) from convo"_s), 0);
}

INSTANTIATE_TEST_SUITE_P(Backends, DirectoryImportTest, test::bothBackends(), test::backendName);

} // namespace
