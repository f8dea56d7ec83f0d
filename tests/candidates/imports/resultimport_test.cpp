// SPDX-License-Identifier: GPL-3.0-or-later
// The file import on SQLite and on the MariaDB server: candidate rows checked one by one,
// every record's outcome counted, the refused ones named in the reject file.
#include "candidates/imports/resultimport.h"
#include "importfixture.h"
#include "support/statementfaults.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

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
    const QString file =
        writeStu(u"BSC_STU.cnv"_s, {row(u"R002"_s, u"MEERA"_s), row(u"R001"_s, u"ARUN"_s, u"BSC"_s, u"BSCCS"_s)});
    const auto counts = importFile(file);
    ASSERT_TRUE(counts) << m_prompter.last().toStdString();
    test::expectCounts(*counts, {2, 2, 0, 0, 0, 0});
    EXPECT_TRUE(m_prompter.last().startsWith(
        u"Imported Successfully\r\rTotal Records: 2\rImported Records: 2\rRefreshed Records: 0\r"
        "Printed, Left Alone: 0\rSkipped Records: 0\rRejected Records: 0"_s))
        << m_prompter.last().toStdString();
    // A class the class master does not know is kept, and said.
    EXPECT_TRUE(m_prompter.last().contains(u"Class I is not in the class master (2 candidates)"_s));
    EXPECT_FALSE(QFile::exists(RejectFile::pathBeside(file)));

    EXPECT_EQ(test::columns(candidate(u"R002"_s, u"BSC"_s, u"C01"_s),
                            {u"fname"_s, u"fsubdegree"_s, u"fclasscode"_s, u"fexamdate"_s, u"fyear"_s, u"fexamtype"_s,
                             u"fsex"_s, u"fcaste"_s, u"factive"_s, u"fmanual"_s, u"fspecial"_s, u"fusername"_s,
                             u"fconvocode"_s, u"fcertno"_s}),
              u"MEERA||I|APRIL 2026|2026|R|F|GM|F|F||CLERK|C26|"_s);

    // A different sub-degree takes the degree's place.
    EXPECT_EQ(test::columns(candidate(u"R001"_s, u"BSCCS"_s, u"C01"_s), {u"fsubdegree"_s}), u"BSC"_s);
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
    // The deleted record is a record of the file: counted as skipped and named.
    test::expectCounts(*counts, {3, 2, 0, 0, 1, 0});
    const auto rejects = rejectFile(file);
    ASSERT_EQ(rejects.size(), 2u);
    EXPECT_EQ(rejects[1].mid(0, 5), (QStringList{u"2"_s, u"skipped"_s, {}, {}, u"deleted in the file"_s}));
    const QStringList read{u"fname"_s, u"fexamdate"_s, u"fyear"_s};
    EXPECT_EQ(test::columns(candidate(u"P2"_s, u"BA"_s, u"C01"_s), read), u"RAMA \u00c0\u00e9|30/04/2026|2026"_s);
    EXPECT_EQ(test::columns(candidate(u"P3"_s, u"BA"_s, u"C01"_s), read), u"SITA||"_s);
    EXPECT_TRUE(candidate(u"P1"_s, u"BA"_s, u"C01"_s).empty());
}

TEST_P(ResultImportTest, ReimportRefreshesEveryRowButAPrintedOne)
{
    const QString file = writeStu(u"X_STU.cnv"_s, {row(u"R1"_s, u"ONE"_s), row(u"R2"_s, u"TWO"_s)});
    ASSERT_TRUE(importFile(file));
    m_session.db().exec(u"update convo set fname = 'OLD', fspecial = 'SPECIAL' where fregno = 'R1'"_s);
    m_session.db().exec(u"update convo set fname = 'FIRST' where fregno = 'R2'"_s);
    print(u"R2"_s, u"DC000001"_s);
    const auto counts = importFile(file);
    ASSERT_TRUE(counts);
    test::expectCounts(*counts, {2, 0, 1, 1, 0, 0});
    EXPECT_EQ(count(u"select count(*) from convo"_s), 2);
    EXPECT_EQ(test::columns(candidate(u"R1"_s, u"BSC"_s, u"C01"_s), {u"fname"_s, u"fspecial"_s}), u"ONE|"_s);
    EXPECT_EQ(test::columns(candidate(u"R2"_s, u"BSC"_s, u"C01"_s), {u"fname"_s, u"fcertno"_s}), u"FIRST|DC000001"_s);
}

TEST_P(ResultImportTest, ReimportingUnderAnotherConvocationNeverMakesASecondRow)
{
    // Found in the field: a file imported under C25 and then twice under C26 gave two
    // identical C26 rows, since the refresh looked in every convocation; both then got a
    // serial number and could have got two certificates.
    const QString file = writeStu(u"R_STU.cnv"_s, {row(u"R1"_s, u"ONE"_s), row(u"R2"_s, u"TWO"_s)});
    m_session.convoCode = u"C25"_s;
    ASSERT_TRUE(importFile(file));
    m_session.convoCode = u"C26"_s;
    ASSERT_TRUE(importFile(file));
    const auto second = importFile(file);
    ASSERT_TRUE(second);
    test::expectCounts(*second, {2, 0, 2, 0, 0, 0});
    EXPECT_EQ(count(u"select count(*) from convo where fconvocode = 'C26'"_s), 2);
    EXPECT_EQ(count(u"select count(*) from convo where fconvocode = 'C25'"_s), 2);
    EXPECT_EQ(count(u"select count(*) from convo"_s), 4);
}

TEST_P(ResultImportTest, NoBackendKeepsTwoRowsOfOneCandidateWhateverTheCase)
{
    addCandidate(u"R1"_s, u"A"_s, u"C26"_s);
    for (const QString &regno : {u"R1"_s, u"r1"_s}) {
        try {
            m_session.db().exec(
                u"insert into convo (fregno, fname, fdegree, fcollcode, fconvocode) values (?, 'B', 'ba', 'c01', 'C26')"_s,
                {regno});
            ADD_FAILURE() << "a second row of " << regno.toStdString() << " was stored";
        } catch (const DbError &e) {
            EXPECT_EQ(e.kind(), DbErrorKind::Duplicate) << e.description().toStdString();
        }
    }
    // Neither was stored (another convocation's row of the key is checked by the imports below).
    EXPECT_EQ(count(u"select count(*) from convo"_s), 1);
}

TEST_P(ResultImportTest, EdgesOfTheKeyAndTheValues)
{
    // The same key in another convocation is a new candidate of the current one.
    addCandidate(u"R1"_s, u"OLD"_s, u"C25"_s);
    const QString file = writeStu(u"mixedstuff.cnv"_s,
                                  {row(u"R1"_s, u"NEW"_s, u"BA"_s), row(u"R2"_s, u"D'SOUZA O'NEIL"_s, u"BA"_s, u"BA"_s),
                                   row(u"R3"_s, QString(), u"BA"_s), row(u"R4"_s, u"  PADDED  "_s, u"ba"_s)});
    const auto counts = importFile(file);
    ASSERT_TRUE(counts) << m_prompter.last().toStdString();
    test::expectCounts(*counts, {4, 3, 0, 0, 1, 0});
    EXPECT_EQ(candidate(u"R1"_s, u"BA"_s, u"C01"_s, u"C25"_s).at(u"fname"_s), u"OLD"_s);
    EXPECT_EQ(candidate(u"R1"_s, u"BA"_s, u"C01"_s, u"C26"_s).at(u"fname"_s), u"NEW"_s);
    // Sub-degree equal to the degree: no exchange. Both apostrophes become grave accents.
    EXPECT_EQ(test::columns(candidate(u"R2"_s, u"BA"_s, u"C01"_s), {u"fsubdegree"_s, u"fname"_s}),
              u"BA|D`SOUZA O`NEIL"_s);
    // An empty name is skipped and named; values are trimmed and codes upper case.
    EXPECT_TRUE(candidate(u"R3"_s, u"BA"_s, u"C01"_s).empty());
    EXPECT_EQ(rejectFile(file).at(1).mid(0, 5),
              (QStringList{u"3"_s, u"skipped"_s, u"FNAME"_s, {}, u"the name is empty"_s}));
    EXPECT_EQ(test::columns(candidate(u"R4"_s, u"BA"_s, u"C01"_s), {u"fname"_s, u"fdegree"_s}), u"PADDED|BA"_s);
}

TEST_P(ResultImportTest, ARowRepeatedInTheFileRefreshesTheFirst)
{
    // Within one block of look-ups the repeated row must still find the one written before it.
    const auto counts = importFile(
        writeStu(u"DUP_STU.cnv"_s, {row(u"R1"_s, u"FIRST"_s, u"BA"_s), row(u"R1"_s, u"OTHER DEGREE"_s, u"BSC"_s),
                                    row(u"r1"_s, u"SECOND"_s, u"ba"_s), row(u"R2"_s, u"TWO"_s, u"BA"_s)}));
    ASSERT_TRUE(counts) << m_prompter.last().toStdString();
    test::expectCounts(*counts, {4, 3, 1, 0, 0, 0});
    EXPECT_EQ(count(u"select count(*) from convo where fregno = 'R1'"_s), 2);
    EXPECT_EQ(candidate(u"R1"_s, u"BA"_s, u"C01"_s).at(u"fname"_s), u"SECOND"_s);
    EXPECT_EQ(candidate(u"R1"_s, u"BSC"_s, u"C01"_s).at(u"fname"_s), u"OTHER DEGREE"_s);
}

// Rows that cannot be stored, one of each fault, beside a good row: each is rejected
// with the file's field and the reason, worded alike on every backend, before any
// statement runs; the good row is imported.
struct BadRow
{
    StuRow row;
    QString field;
    QString reason;
};

// A result file with an FABCID field gives the students' ABC IDs: stored on insert and
// refresh, a bad one refusing its record, an empty one keeping the ID held.
TEST_P(ResultImportTest, AnAbcIdFieldIsStoredCheckedAndAnEmptyOneKeepsTheIdHeld)
{
    addCandidate(u"R2"_s, u"HELD"_s, u"C26"_s, u"BSC"_s);
    m_session.db().exec(u"update convo set fabcid = '222222222222' where fregno = 'R2'"_s);
    auto fields = CnvWriter::candidateFields(false);
    fields.push_back({u"FABCID"_s, 'C', 14});
    const QString file = inputPath(u"ABC_STU.cnv"_s);
    {
        CnvWriter writer(file, fields);
        const auto add = [&](const QString &regno, const QString &name, const QString &abcId) {
            writer.add(row(regno, name).values().mid(0, qsizetype(fields.size()) - 1) << abcId);
        };
        add(u"R1"_s, u"ANU"_s, u"111111111111"_s);
        add(u"R2"_s, u"HELD"_s, {});
        add(u"R3"_s, u"SHORT"_s, u"1111111111"_s);
        add(u"R4"_s, u"OTHER"_s, u"222222222222"_s);
    }
    const auto counts = importFile(file);
    ASSERT_TRUE(counts) << m_prompter.last().toStdString();
    test::expectCounts(*counts, {4, 1, 1, 0, 0, 2});
    EXPECT_EQ(test::columns(candidate(u"R1"_s, u"BSC"_s, u"C01"_s), {u"fabcid"_s}), u"111111111111"_s);
    EXPECT_EQ(m_session.db().scalar(u"select fabcid from convo where fregno = 'R2'"_s).toString(), u"222222222222"_s);
    const auto lines = rejectFile(file);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].mid(0, 5),
              (QStringList{u"3"_s, u"rejected"_s, u"FABCID"_s, u"1111111111"_s, u"ABC ID: must be 12 digits"_s}));
    EXPECT_TRUE(lines[2].value(4).startsWith(u"ABC ID: 222222222222 is already held by R2 HELD"_s))
        << lines[2].value(4).toStdString();
}

TEST_P(ResultImportTest, EveryBadRowIsRejectedWithItsFieldAndReasonAndTheRestImported)
{
    auto wide = CnvWriter::candidateFields(false);
    wide[1].width = 200; // room for a name wider than the column
    auto r = [](const QString &regno, const QString &name, const QString &degree, const QString &subdegree,
                const QString &college, const QString &klass) {
        return StuRow{regno,           name,      degree, subdegree, college, klass,
                      u"APRIL 2026"_s, u"2026"_s, u"R"_s, u"F"_s,    u"GM"_s};
    };
    const std::vector<BadRow> bad = {
        {r({}, u"NO NUMBER"_s, u"BA"_s, {}, u"C01"_s, u"I"_s), u"FREGNO"_s, u"the register number is empty"_s},
        {r(u"R 5"_s, u"BLANK"_s, u"BA"_s, {}, u"C01"_s, u"I"_s), u"FREGNO"_s, u"a register number holds no blank"_s},
        {r(u"R6"_s, u"UNKNOWN DEGREE"_s, u"BXX"_s, {}, u"C01"_s, u"I"_s), u"FDEGREE"_s,
         u"degree BXX is not in the degree master"_s},
        {r(u"R7"_s, u"UNKNOWN SUBDEGREE"_s, u"BA"_s, u"BAXX"_s, u"C01"_s, u"I"_s), u"FSUBDEGREE"_s,
         u"degree BAXX is not in the degree master"_s},
        {r(u"R8"_s, u"UNKNOWN COLLEGE"_s, u"BA"_s, {}, u"Z99"_s, u"I"_s), u"FCOLLCODE"_s,
         u"college Z99 is not in the college master"_s},
        {r(u"R9"_s, u"NO CLASS"_s, u"BA"_s, {}, u"C01"_s, {}), u"FCLASSDESC"_s, u"the class code is empty"_s},
        {r(u"R10"_s, u"BELL\u0007RINGS"_s, u"BA"_s, {}, u"C01"_s, u"I"_s), u"FNAME"_s,
         u"holds the control character 0x07"_s},
        {r(u"R11"_s, QString(120, u'W'), u"BA"_s, {}, u"C01"_s, u"I"_s), u"FNAME"_s,
         u"holds 120 characters; the column takes 100"_s},
    };
    const QString file = inputPath(u"BAD_STU.cnv"_s);
    {
        CnvWriter writer(file, wide);
        writer.add(r(u"R1"_s, u"GOOD"_s, u"BA"_s, {}, u"C01"_s, u"I"_s).values());
        for (const BadRow &b : bad)
            writer.add(b.row.values());
        writer.add(r(u"R12"_s, u"NUL_HERE"_s, u"BA"_s, {}, u"C01"_s, u"I"_s).values());
    }
    // A NUL inside a name, as a writer that pads with NULs leaves it.
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    QByteArray bytes = f.readAll();
    bytes.replace("NUL_HERE", QByteArray("NUL\0HERE", 8));
    f.seek(0);
    f.write(bytes);
    f.close();

    const auto counts = importFile(file);
    ASSERT_TRUE(counts) << m_prompter.last().toStdString();
    const int rejected = int(bad.size()) + 1;
    test::expectCounts(*counts, {rejected + 1, 1, 0, 0, 0, rejected});
    EXPECT_EQ(count(u"select count(*) from convo"_s), 1);
    EXPECT_FALSE(candidate(u"R1"_s, u"BA"_s, u"C01"_s).empty());
    EXPECT_EQ(counts->rejectFile, RejectFile::pathBeside(file));
    EXPECT_TRUE(m_prompter.last().contains(u"The skipped and rejected records are listed in "_s));

    const auto lines = rejectFile(file);
    ASSERT_EQ(int(lines.size()), rejected + 1);
    EXPECT_EQ(lines[0].mid(0, 6),
              (QStringList{u"record"_s, u"outcome"_s, u"field"_s, u"value"_s, u"reason"_s, u"FREGNO"_s}));
    for (size_t i = 0; i < bad.size(); ++i) {
        const QStringList &l = lines[i + 1];
        EXPECT_EQ(l.value(0), QString::number(i + 2));
        EXPECT_EQ(l.value(1), u"rejected"_s);
        EXPECT_EQ(l.value(2), bad[i].field) << bad[i].reason.toStdString();
        EXPECT_EQ(l.value(4), bad[i].reason);
        // The record's own fields follow, as the file has them.
        EXPECT_EQ(l.value(5), bad[i].row.regno);
    }
    EXPECT_EQ(lines.back().value(2), u"FNAME"_s);
    EXPECT_EQ(lines.back().value(4), u"holds the control character 0x00"_s);
}

TEST_P(ResultImportTest, DegreeAndCollegeFilesAddOnlyMissingRows)
{
    m_session.db().exec(u"delete from degree where fdegree = 'BA'"_s);
    m_session.db().exec(u"insert into degree (fdegree, fdescpn) values ('BA', 'KEEP')"_s);
    const QString degreeFile = inputPath(u"2026DEG.cnv"_s);
    {
        // Codes wider than the degree column's five characters arrive too.
        CnvWriter writer(degreeFile, {{u"FDEGREE"_s, 'C', 10}, {u"FDESCPN"_s, 'C', 100}});
        for (const QStringList &r : std::vector<QStringList>{{u"ba"_s, u"BACHELOR OF ARTS"_s},
                                                             {u"mcom"_s, u"MASTER'S"_s},
                                                             {u"XX"_s, {}},
                                                             {u"TOOLONG"_s, u"SEVEN LETTERS"_s}})
            writer.add(r);
    }
    const auto degrees = importFile(degreeFile);
    ASSERT_TRUE(degrees);
    test::expectCounts(*degrees, {4, 1, 0, 0, 2, 1});
    EXPECT_EQ(m_session.db().scalar(u"select fdescpn from degree where fdegree = 'BA'"_s).toString(), u"KEEP"_s);
    EXPECT_EQ(m_session.db().scalar(u"select fdescpn from degree where fdegree = 'MCOM'"_s).toString(), u"MASTER`S"_s);
    EXPECT_EQ(count(u"select count(*) from degree where fdegree = 'XX'"_s), 0);

    const auto colleges = importFile(writeMaster(u"ALLCOL.cnv"_s, {{u"C05"_s, u"GOVT COLLEGE"_s}}, false));
    ASSERT_TRUE(colleges);
    test::expectCounts(*colleges, {1, 1, 0, 0, 0, 0});
    EXPECT_EQ(m_session.db().scalar(u"select fcollname from college where fcollcode = 'C05'"_s).toString(),
              u"GOVT COLLEGE"_s);

    // A name of no kind imports nothing.
    const int before = count(u"select count(*) from college"_s);
    const auto none = importFile(writeMaster(u"MARKS.cnv"_s, {{u"C06"_s, u"X"_s}}, false));
    ASSERT_TRUE(none);
    EXPECT_EQ(none->total, 0);
    EXPECT_EQ(count(u"select count(*) from college"_s), before);
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

TEST_P(ResultImportTest, ARowTheDatabaseRefusesIsRejectedWithItsReasonAndTheRestImported)
{
    // A trigger stands in for any statement the server refuses on one row.
    if (GetParam() == TestBackend::SQLite)
        m_session.db().exec(u"create trigger refuse_bad before insert on convo when new.fregno = 'R0503' "
                            "begin select raise(abort, 'refused by the test'); end"_s);
    else
        m_session.db().exec(
            u"create trigger refuse_bad before insert on convo for each row begin "
            "if new.fregno = 'R0503' then signal sqlstate '45000' set message_text = 'refused by the test'; "
            "end if; end"_s);
    std::vector<StuRow> rows;
    for (int i = 1; i <= 600; ++i)
        rows.push_back(row(u"R"_s + QString::number(i).rightJustified(4, u'0'), u"NAME"_s));
    const QString file = writeStu(u"BIG_STU.cnv"_s, rows);
    const auto counts = importFile(file);
    ASSERT_TRUE(counts) << m_prompter.last().toStdString();
    test::expectCounts(*counts, {600, 599, 0, 0, 0, 1});
    EXPECT_EQ(count(u"select count(*) from convo where fregno like 'R%'"_s), 599);
    const auto lines = rejectFile(file);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].value(0), u"503"_s);
    EXPECT_TRUE(lines[1].value(4).contains(u"refused by the test"_s)) << lines[1].value(4).toStdString();
}

// Whichever statement of an import fails, the message names the record it stopped at,
// every record before that one is written and none after, and importing the file again
// takes up the rest. The repeated R001 closes the first block of rows, so the file is
// written in two blocks; R003 is refreshed.
TEST_P(ResultImportTest, AStatementFailingAnywhereStopsAtARecordWithEveryRecordBeforeItWritten)
{
    const std::vector<StuRow> file = {row(u"R001"_s, u"ASHA"_s), row(u"R002"_s, u"MEERA"_s),
                                      row(u"R001"_s, u"ASHA RAO"_s), row(u"R003"_s, u"ARUN"_s),
                                      row(u"R004"_s, u"RAVI"_s)};
    const QString path = writeStu(u"BSC_STU.cnv"_s, file);
    // The candidates after the file's first `records` records: "REGNO NAME", by register number.
    const auto after = [&](int records) {
        std::map<QString, QString> names{{u"R003"_s, u"OLD NAME"_s}};
        for (int i = 0; i < records; ++i)
            names[file[size_t(i)].regno] = file[size_t(i)].name;
        QStringList out;
        for (const auto &[regno, name] : names)
            out << regno + u' ' + name;
        return out;
    };
    const auto stored = [&] {
        Rows rows = m_session.db().query(u"select fregno, fname from convo order by fregno"_s);
        QStringList out;
        while (rows.next())
            out << rows.text(0) + u' ' + rows.text(1);
        return out;
    };
    std::optional<ImportCounts> counts;
    const auto reset = [&] {
        m_session.db().exec(u"delete from convo"_s);
        addCandidate(u"R003"_s, u"OLD NAME"_s, u"C26"_s, u"BSC"_s);
        m_prompter.clear();
    };
    const int statements = test::failEachStatement(
        &m_session.db(), reset, [&] { counts = importFile(path); },
        [&](int) {
            static const QRegularExpression record(u"Record: (\\d+)"_s);
            const QRegularExpressionMatch stopped = record.match(m_prompter.last());
            if (counts) {
                EXPECT_EQ(stored(), after(5));
                return;
            }
            // The rows written are the file's first ones, at least every one before the record
            // named (a statement failing after a block was committed may leave more written than
            // it says: importing again refreshes them). A statement before the first record or
            // after the last names none.
            const int first = stopped.hasMatch() ? stopped.captured(1).toInt() : 1;
            EXPECT_TRUE(!stopped.hasMatch() || m_prompter.last().contains(u"the records before it stay written"_s))
                << m_prompter.last().toStdString();
            int written = -1;
            for (int k = 0; k <= int(file.size()); ++k) {
                if (stored() == after(k))
                    written = k;
            }
            EXPECT_GE(written, first - 1) << stored().join(u", "_s).toStdString() << "\n"
                                          << m_prompter.last().toStdString();
            m_prompter.clear();
            ASSERT_TRUE(importFile(path)) << m_prompter.last().toStdString();
            EXPECT_EQ(stored(), after(5));
        });
    EXPECT_GT(statements, 5);
}

INSTANTIATE_TEST_SUITE_P(Backends, ResultImportTest, test::bothBackends(), test::backendName);

} // namespace
