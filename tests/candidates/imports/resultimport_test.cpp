// SPDX-License-Identifier: GPL-3.0-or-later
// The file import on SQLite and on the MariaDB server: candidate rows checked one by one.
#include "candidates/imports/resultimport.h"
#include "importfixture.h"

#include <QFile>
#include <QProcess>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::StuRow;
using sw::test::TestBackend;

namespace {

class ResultImportTest : public test::ImportTest
{
protected:
    std::optional<ImportCounts> importFile(const QString &path)
    {
        ResultFileImport run(m_session, m_prompter);
        return run.run(path);
    }
    static StuRow row(const QString &regno, const QString &name, const QString &degree = u"BSC"_s,
                      const QString &subdegree = {}, const QString &college = u"C01"_s)
    {
        return {regno, name, degree, subdegree, college, u"I"_s, u"APRIL 2026"_s, u"2026"_s, u"R"_s, u"F"_s, u"GM"_s};
    }
};

TEST_P(ResultImportTest, InsertsCandidatesInactiveAndImportedWithEveryColumn)
{
    const QString file = writeStu(u"BSC_STU.cnv"_s, {row(u"R002"_s, u"MEERA"_s), row(u"R001"_s, u"ARUN"_s, u"BSC"_s, u"BSCCS"_s)});
    const auto counts = importFile(file);
    ASSERT_TRUE(counts) << m_prompter.last().toStdString();
    EXPECT_EQ(counts->total, 2);
    EXPECT_EQ(counts->imported, 2);
    EXPECT_EQ(m_prompter.last(), u"Imported Successfully\r\rTotal Records: 2\rImported Records: 2"_s);

    const auto meera = candidate(u"R002"_s, u"BSC"_s, u"C01"_s);
    ASSERT_FALSE(meera.empty());
    EXPECT_EQ(meera.at(u"fname"_s), u"MEERA"_s);
    EXPECT_EQ(meera.at(u"fsubdegree"_s), QString());
    EXPECT_EQ(meera.at(u"fclasscode"_s), u"I"_s);
    EXPECT_EQ(meera.at(u"fexamdate"_s), u"APRIL 2026"_s);
    EXPECT_EQ(meera.at(u"fyear"_s), u"2026"_s);
    EXPECT_EQ(meera.at(u"fexamtype"_s), u"R"_s);
    EXPECT_EQ(meera.at(u"fsex"_s), u"F"_s);
    EXPECT_EQ(meera.at(u"fcaste"_s), u"GM"_s);
    EXPECT_EQ(meera.at(u"factive"_s), u"F"_s);
    EXPECT_EQ(meera.at(u"fmanual"_s), u"F"_s);
    EXPECT_EQ(meera.at(u"fspecial"_s), QString());
    EXPECT_EQ(meera.at(u"fusername"_s), u"CLERK"_s);
    EXPECT_EQ(meera.at(u"fconvocode"_s), u"C26"_s);
    EXPECT_EQ(meera.at(u"fcertno"_s), QString());

    // A different sub-degree takes the degree's place.
    const auto arun = candidate(u"R001"_s, u"BSCCS"_s, u"C01"_s);
    ASSERT_FALSE(arun.empty());
    EXPECT_EQ(arun.at(u"fsubdegree"_s), u"BSC"_s);
    // The working copy is where the screen reads from.
    EXPECT_TRUE(QFile::exists(m_session.folder.filePath(u"DBFS/convo.dbf"_s)));
}

TEST_P(ResultImportTest, ImportsAFileWrittenByAnIndependentWriter)
{
    // python3-dbf writes the file: numbers and dates as dBASE types, a deleted record,
    // a blank year and an 8-bit name, as other systems' result files have them.
    const QString file = inputPath(u"PYTHON_STU.cnv"_s);
    QProcess p;
    p.start(u"/usr/bin/python3"_s, {u"-c"_s, uR"(import dbf, os
t = dbf.Table(r'%1.dbf', 'FREGNO C(10); FNAME C(40); FDEGREE C(5); FSUBDEGREE C(5); FCOLLCODE C(5); FCLASSDESC C(4); FEXAMDATE D; FYEAR N(4,0); FEXAMTYPE C(1); FSEX C(1); FCASTE C(10)', dbf_type='db3', codepage='cp1252')
t.open(dbf.READ_WRITE)
t.append(('P2', 'RAMA \u00c0\u00e9', 'BA', '', 'C01', 'II', dbf.Date(2026, 4, 30), 2026, 'R', 'M', 'GM'))
t.append(('P1', 'DELETED', 'BA', '', 'C01', 'II', None, 2026, 'R', 'M', 'GM'))
t.append(('P3', 'SITA', 'BA', '', 'C01', 'I', None, None, 'R', 'F', 'SC'))
dbf.delete(t[1])
t.close()
os.rename(r'%1.dbf', r'%1')
)"_s.arg(file)});
    ASSERT_TRUE(p.waitForFinished(60000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();

    const auto counts = importFile(file);
    ASSERT_TRUE(counts) << m_prompter.last().toStdString();
    EXPECT_EQ(counts->total, 2);
    EXPECT_EQ(counts->imported, 2);
    const auto rama = candidate(u"P2"_s, u"BA"_s, u"C01"_s);
    ASSERT_FALSE(rama.empty());
    EXPECT_EQ(rama.at(u"fname"_s), u"RAMA \u00c0\u00e9"_s);
    EXPECT_EQ(rama.at(u"fexamdate"_s), u"30/04/2026"_s);
    EXPECT_EQ(rama.at(u"fyear"_s), u"2026"_s);
    const auto sita = candidate(u"P3"_s, u"BA"_s, u"C01"_s);
    ASSERT_FALSE(sita.empty());
    EXPECT_EQ(sita.at(u"fexamdate"_s), QString());
    EXPECT_EQ(sita.at(u"fyear"_s), QString());
    EXPECT_TRUE(candidate(u"P1"_s, u"BA"_s, u"C01"_s).empty());
}

TEST_P(ResultImportTest, ReimportRefreshesEveryRowAndImportsNone)
{
    const QString file = writeStu(u"X_STU.cnv"_s, {row(u"R1"_s, u"ONE"_s), row(u"R2"_s, u"TWO"_s)});
    ASSERT_TRUE(importFile(file));
    m_session.db().exec(u"update convo set fname = 'OLD', fspecial = 'SPECIAL' where fregno = 'R1'"_s);
    const auto counts = importFile(file);
    ASSERT_TRUE(counts);
    EXPECT_EQ(counts->imported, 0);
    EXPECT_EQ(m_prompter.last(), u"Imported Successfully\r\rTotal Records: 2\rImported Records: 0"_s);
    EXPECT_EQ(count(u"select count(*) from convo"_s), 2);
    const auto r1 = candidate(u"R1"_s, u"BSC"_s, u"C01"_s);
    EXPECT_EQ(r1.at(u"fname"_s), u"ONE"_s);
    EXPECT_EQ(r1.at(u"fspecial"_s), QString());
}

TEST_P(ResultImportTest, APrintedCandidateIsFrozenAndNotCounted)
{
    ASSERT_TRUE(importFile(writeStu(u"A_STU.cnv"_s, {row(u"R1"_s, u"FIRST"_s)})));
    print(u"R1"_s, u"DC000001"_s);
    const auto counts = importFile(writeStu(u"B_STU.cnv"_s, {row(u"R1"_s, u"CHANGED"_s)}));
    ASSERT_TRUE(counts);
    EXPECT_EQ(counts->imported, 0);
    const auto r1 = candidate(u"R1"_s, u"BSC"_s, u"C01"_s);
    EXPECT_EQ(r1.at(u"fname"_s), u"FIRST"_s);
    EXPECT_EQ(r1.at(u"fcertno"_s), u"DC000001"_s);
}

TEST_P(ResultImportTest, EdgesOfTheKeyAndTheValues)
{
    // The same key in another convocation is a new candidate of the current one.
    m_session.db().exec(u"insert into convo (fregno, fname, fdegree, fcollcode, fconvocode) values ('R1', 'OLD', 'BA', 'C01', 'C25')"_s);
    const QString file = writeStu(u"mixedstuff.cnv"_s,
                                  {row(u"R1"_s, u"NEW"_s, u"BA"_s), row(u"R2"_s, u"D'SOUZA O'NEIL"_s, u"BA"_s, u"BA"_s),
                                   row(u"R3"_s, QString(), u"BA"_s), row(u"R4"_s, u"  PADDED  "_s, u"BA"_s)});
    const auto counts = importFile(file);
    ASSERT_TRUE(counts) << m_prompter.last().toStdString();
    EXPECT_EQ(counts->total, 4);
    EXPECT_EQ(counts->imported, 3);
    EXPECT_EQ(candidate(u"R1"_s, u"BA"_s, u"C01"_s, u"C25"_s).at(u"fname"_s), u"OLD"_s);
    EXPECT_EQ(candidate(u"R1"_s, u"BA"_s, u"C01"_s, u"C26"_s).at(u"fname"_s), u"NEW"_s);
    // Sub-degree equal to the degree: no exchange. Both apostrophes become grave accents.
    const auto r2 = candidate(u"R2"_s, u"BA"_s, u"C01"_s);
    EXPECT_EQ(r2.at(u"fsubdegree"_s), u"BA"_s);
    EXPECT_EQ(r2.at(u"fname"_s), u"D`SOUZA O`NEIL"_s);
    // An empty name is skipped; values are trimmed.
    EXPECT_TRUE(candidate(u"R3"_s, u"BA"_s, u"C01"_s).empty());
    EXPECT_EQ(candidate(u"R4"_s, u"BA"_s, u"C01"_s).at(u"fname"_s), u"PADDED"_s);
}

TEST_P(ResultImportTest, ARowRepeatedInTheFileRefreshesTheFirstInEveryKindOfRun)
{
    // The first import of a convocation answers look-ups without the database and
    // queues its inserts; a later import asks the database. Both must give the same rows.
    for (const bool convocationHasRows : {false, true}) {
        m_session.db().exec(u"delete from convo"_s);
        if (convocationHasRows)
            m_session.db().exec(u"insert into convo (fregno, fname, fdegree, fcollcode, fconvocode) values ('Z9', 'OTHER', 'BA', 'C09', 'C26')"_s);
        const auto counts = importFile(writeStu(u"DUP_STU.cnv"_s, {row(u"R1"_s, u"FIRST"_s, u"BA"_s),
                                                                   row(u"R1"_s, u"OTHER DEGREE"_s, u"BSC"_s),
                                                                   row(u"r1"_s, u"SECOND"_s, u"ba"_s),
                                                                   row(u"R2"_s, u"TWO"_s, u"BA"_s)}));
        ASSERT_TRUE(counts) << m_prompter.last().toStdString();
        EXPECT_EQ(counts->total, 4);
        EXPECT_EQ(counts->imported, 3) << "convocation has rows: " << convocationHasRows;
        EXPECT_EQ(count(u"select count(*) from convo where fregno = 'R1'"_s), 2);
        EXPECT_EQ(candidate(u"R1"_s, u"BA"_s, u"C01"_s).at(u"fname"_s), u"SECOND"_s);
        EXPECT_EQ(candidate(u"R1"_s, u"BSC"_s, u"C01"_s).at(u"fname"_s), u"OTHER DEGREE"_s);
    }
}

TEST_P(ResultImportTest, DegreeAndCollegeFilesAddOnlyMissingRows)
{
    m_session.db().exec(u"insert into degree (fdegree, fdescpn) values ('BA', 'KEEP')"_s);
    const auto degrees = importFile(writeMaster(u"2026DEG.cnv"_s,
                                                {{u"BA"_s, u"BACHELOR OF ARTS"_s}, {u"MSC"_s, u"MASTER'S"_s}, {u"XX"_s, {}}}, true));
    ASSERT_TRUE(degrees);
    EXPECT_EQ(degrees->total, 3);
    EXPECT_EQ(degrees->imported, 1);
    EXPECT_EQ(m_session.db().scalar(u"select fdescpn from degree where fdegree = 'BA'"_s).toString(), u"KEEP"_s);
    EXPECT_EQ(m_session.db().scalar(u"select fdescpn from degree where fdegree = 'MSC'"_s).toString(), u"MASTER`S"_s);
    EXPECT_EQ(count(u"select count(*) from degree where fdegree = 'XX'"_s), 0);

    const auto colleges = importFile(writeMaster(u"ALLCOL.cnv"_s, {{u"C01"_s, u"GOVT COLLEGE"_s}}, false));
    ASSERT_TRUE(colleges);
    EXPECT_EQ(colleges->imported, 1);
    EXPECT_EQ(m_session.db().scalar(u"select fcollname from college where fcollcode = 'C01'"_s).toString(), u"GOVT COLLEGE"_s);

    // A name of no kind imports nothing.
    const auto none = importFile(writeMaster(u"MARKS.cnv"_s, {{u"C02"_s, u"X"_s}}, false));
    ASSERT_TRUE(none);
    EXPECT_EQ(none->total, 0);
    EXPECT_EQ(count(u"select count(*) from college"_s), 1);
}

TEST_P(ResultImportTest, PathChecksAndBadFilesGiveTheirMessages)
{
    EXPECT_FALSE(importFile(QString()));
    EXPECT_EQ(m_prompter.last(), u"Path Should be Entered"_s);
    EXPECT_FALSE(importFile(inputPath(u"nothere_STU.cnv"_s)));
    EXPECT_EQ(m_prompter.last(), u"Invalid Path"_s);

    const QString noCaste = inputPath(u"NOCASTE_STU.cnv"_s);
    {
        auto fields = CnvWriter::candidateFields(false);
        fields.pop_back();
        CnvWriter writer(noCaste, fields);
        writer.add(row(u"R1"_s, u"A"_s).values());
    }
    EXPECT_FALSE(importFile(noCaste));
    EXPECT_EQ(m_prompter.last(),
              u"Error Occurred : 3265 . Item cannot be found in the collection corresponding to the requested name or "
              "ordinal.\rFile: NOCASTE_STU.cnv, Field: FCASTE"_s);
    EXPECT_EQ(count(u"select count(*) from convo"_s), 0);

    // A copy cut off in transfer is refused before anything is written.
    const QString cut = writeStu(u"CUT_STU.cnv"_s, {row(u"R1"_s, u"A"_s), row(u"R2"_s, u"B"_s), row(u"R3"_s, u"C"_s)});
    QFile file(cut);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.resize(file.size() - 60));
    file.close();
    EXPECT_FALSE(importFile(cut));
    EXPECT_TRUE(m_prompter.last().contains(u"cut short"_s)) << m_prompter.last().toStdString();
    EXPECT_TRUE(m_prompter.last().endsWith(u"File: CUT_STU.cnv"_s)) << m_prompter.last().toStdString();
    EXPECT_EQ(count(u"select count(*) from convo"_s), 0);

    // A candidates file without rows does nothing and says nothing.
    m_prompter.clear();
    const auto empty = importFile(writeStu(u"EMPTY_STU.cnv"_s, {}));
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->total, 0);
    EXPECT_TRUE(m_prompter.shown().empty());
}

TEST_P(ResultImportTest, AFailingRowStopsTheRunAndKeepsTheRowsBeforeIt)
{
    // A trigger stands in for any statement the server refuses on one row.
    if (GetParam() == TestBackend::SQLite)
        m_session.db().exec(u"create trigger refuse_bad before insert on convo when new.fregno = 'R0503' "
                            "begin select raise(abort, 'refused by the test'); end"_s);
    else
        m_session.db().exec(u"create trigger refuse_bad before insert on convo for each row begin "
                            "if new.fregno = 'R0503' then signal sqlstate '45000' set message_text = 'refused by the test'; "
                            "end if; end"_s);
    std::vector<StuRow> rows;
    for (int i = 1; i <= 600; ++i)
        rows.push_back(row(u"R"_s + QString::number(i).rightJustified(4, u'0'), u"NAME"_s));
    const QString file = writeStu(u"BIG_STU.cnv"_s, rows);
    // Once as the convocation's first import (queued inserts), once with a row already there.
    for (const bool convocationHasRows : {false, true}) {
        m_session.db().exec(u"delete from convo"_s);
        if (convocationHasRows)
            m_session.db().exec(u"insert into convo (fregno, fname, fdegree, fcollcode, fconvocode) values ('Z9', 'OTHER', 'BA', 'C09', 'C26')"_s);
        EXPECT_FALSE(importFile(file));
        EXPECT_TRUE(m_prompter.last().startsWith(u"Error Occurred : "_s)) << m_prompter.last().toStdString();
        EXPECT_TRUE(m_prompter.last().contains(u"refused by the test"_s));
        EXPECT_TRUE(m_prompter.last().endsWith(u"\rFile: BIG_STU.cnv, Record: 503"_s)) << m_prompter.last().toStdString();
        EXPECT_EQ(count(u"select count(*) from convo where fregno like 'R%'"_s), 502);
        EXPECT_EQ(count(u"select count(*) from convo where fregno = 'R0502'"_s), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, ResultImportTest, ::testing::Values(TestBackend::SQLite, TestBackend::MariaDB),
                         test::backendName);

} // namespace
