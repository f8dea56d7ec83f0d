// SPDX-License-Identifier: GPL-3.0-or-later
// The dBASE reader against files of our own writer and of an independent one
// (python3-dbf), and against files that are broken in the ways result files arrive.
#include "candidates/imports/cnvwriter.h"
#include "candidates/imports/dbftable.h"
#include "candidates/imports/importerror.h"
#include "candidates/imports/resultfile.h"
#include "shell/core/legacytext.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

// Writes files with python3-dbf, the Debian package, so the reader is checked against
// a writer that shares no code with ours.
void writeWithPython(const QString &script)
{
    QProcess p;
    p.start(u"/usr/bin/python3"_s, {u"-c"_s, script});
    ASSERT_TRUE(p.waitForFinished(60000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
}

QString stopText(const std::function<void()> &f)
{
    try {
        f();
    } catch (const StopError &e) {
        return e.text();
    }
    return {};
}

class DbfReaderTest : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

TEST_F(DbfReaderTest, ReadsAnIndependentlyWrittenFileWithDeletedRecordsBlankNumbersAndEmptyDates)
{
    const QString file = path(u"py.dbf"_s);
    writeWithPython(uR"(import dbf
t = dbf.Table(r'%1', 'FREGNO C(10); FNAME C(40); FYEAR N(4,0); FCLMAX N(7,2); FEXAMDATE D', dbf_type='db3', codepage='cp1252')
t.open(dbf.READ_WRITE)
t.append(('R1', 'ANU', 2023, 600.5, dbf.Date(2023, 4, 15)))
t.append(('R2', 'DELETED ONE', 2023, 1, None))
t.append(('R3', '\u00c0\u00c1\u00e9\u00ff', None, None, None))
dbf.delete(t[1])
t.close()
)"_s.arg(file));
    DbfTable table(file);
    ASSERT_EQ(table.recordCount(), 3);
    const int regno = table.fieldIndex(u"fregno"_s), name = table.fieldIndex(u"FName"_s),
              year = table.fieldIndex(u"FYEAR"_s), clmax = table.fieldIndex(u"FCLMAX"_s),
              date = table.fieldIndex(u"FEXAMDATE"_s);
    ASSERT_GE(std::min({regno, name, year, clmax, date}), 0);

    ASSERT_TRUE(table.read(0));
    EXPECT_FALSE(table.isDeleted());
    EXPECT_EQ(table.text(regno), u"R1"_s);
    EXPECT_EQ(table.text(year), u"2023"_s);
    EXPECT_EQ(table.text(clmax), u"600.5"_s);
    EXPECT_EQ(table.text(date), u"15/04/2023"_s);

    ASSERT_TRUE(table.read(1));
    EXPECT_TRUE(table.isDeleted());

    ASSERT_TRUE(table.read(2));
    // 8-bit characters come back as their bytes, not converted.
    EXPECT_EQ(legacytext::toBytes(table.text(name)), QByteArray("\xC0\xC1\xE9\xFF"));
    EXPECT_EQ(table.text(year), QString());
    EXPECT_EQ(table.text(clmax), QString());
    EXPECT_EQ(table.text(date), QString());
    EXPECT_EQ(table.fieldIndex(u"NOSUCH"_s), -1);
}

TEST_F(DbfReaderTest, EveryByteOfALegacyNameSurvivesOurWriterAndReader)
{
    QByteArray all;
    for (int b = 0x21; b < 0x100; ++b)
        all.append(char(b));
    const QString file = path(u"bytes.dbf"_s);
    {
        CnvWriter writer(file, {{u"FNAMEKAN"_s, 'C', 254}});
        writer.add({legacytext::fromBytes(all)});
    }
    DbfTable table(file);
    ASSERT_TRUE(table.read(0));
    EXPECT_EQ(legacytext::toBytes(table.text(0)), all);
    EXPECT_EQ(table.raw(0).left(all.size()), all);
}

TEST_F(DbfReaderTest, BrokenFilesStopWithTheFileNamed)
{
    const QString text = path(u"notes_STU.dbf"_s);
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("REGNO|NAME\nR1|ANU\n");
    f.close();
    const QString notDbf = stopText([&] { DbfTable t(text); });
    EXPECT_TRUE(notDbf.startsWith(u"Error Occurred : "_s));
    EXPECT_TRUE(notDbf.contains(u"not a dBASE table"_s)) << notDbf.toStdString();
    EXPECT_TRUE(notDbf.contains(u"File: notes_STU.dbf"_s));

    const QString empty = path(u"empty.dbf"_s);
    QFile(empty).open(QIODevice::WriteOnly);
    EXPECT_TRUE(stopText([&] { DbfTable t(empty); }).contains(u"not a dBASE table"_s));

    const QString cut = path(u"cut.dbf"_s);
    {
        CnvWriter writer(cut, CnvWriter::candidateFields(false));
        for (int i = 0; i < 10; ++i)
            writer.add({u"R"_s + QString::number(i), u"NAME"_s});
    }
    QFile c(cut);
    ASSERT_TRUE(c.open(QIODevice::ReadWrite));
    ASSERT_TRUE(c.resize(c.size() - 150));
    c.close();
    const QString truncated = stopText([&] { DbfTable t(cut, u"SHOWN_STU.cnv"_s); });
    EXPECT_TRUE(truncated.contains(u"cut short"_s)) << truncated.toStdString();
    EXPECT_TRUE(truncated.contains(u"announces 10 records"_s)) << truncated.toStdString();
    EXPECT_TRUE(truncated.contains(u"File: SHOWN_STU.cnv"_s));
}

TEST_F(DbfReaderTest, RowsComeInKeyOrderWithoutDeletedRecords)
{
    const QString file = path(u"order.dbf"_s);
    {
        CnvWriter writer(file, CnvWriter::candidateFields(false));
        const QStringList regnos{u"R3"_s, u"R1"_s, u"R9"_s, u"R2"_s, u"R2"_s};
        const QStringList colleges{u"C2"_s, u"C2"_s, u"C1"_s, u"c2"_s, u"C2"_s};
        for (int i = 0; i < regnos.size(); ++i) {
            writer.add({regnos[i], u"N"_s + QString::number(i), u"BA"_s, {}, colleges[i]});
            if (i == 2)
                writer.deleteLast();
        }
    }
    DbfTable table(file);
    ResultRows rows(table, {u"fcollcode"_s, u"fregno"_s});
    EXPECT_EQ(rows.count(), 4);
    const int name = rows.require(u"FNAME"_s);
    QStringList seen;
    while (rows.next())
        seen << rows.text(name) + u'@' + QString::number(rows.recordNumber());
    // Equal keys keep the file's order; case does not separate keys.
    EXPECT_EQ(seen, (QStringList{u"N1@2"_s, u"N3@4"_s, u"N4@5"_s, u"N0@1"_s}));
}

TEST_F(DbfReaderTest, AFileLargerThanTheReadBufferReadsRightInAnyOrder)
{
    // Descending register numbers make the reader sort, then jump backwards through
    // a file several read buffers long.
    const QString file = path(u"large.dbf"_s);
    constexpr int kRecords = 6000;
    {
        CnvWriter writer(file, CnvWriter::candidateFields(true));
        for (int i = kRecords; i >= 1; --i)
            writer.add({u"R"_s + QString::number(i).rightJustified(5, u'0'), u"NAME "_s + QString::number(i), u"BA"_s,
                        {}, u"C01"_s});
    }
    ASSERT_GT(QFile(file).size(), 3 * 256 * 1024);
    DbfTable table(file);
    ResultRows rows(table, {u"fcollcode"_s, u"fregno"_s});
    ASSERT_EQ(rows.count(), kRecords);
    const int name = rows.require(u"FNAME"_s);
    int expected = 1;
    while (rows.next()) {
        ASSERT_EQ(rows.text(name), u"NAME "_s + QString::number(expected)) << "row " << rows.rowNumber();
        ASSERT_EQ(rows.recordNumber(), kRecords - expected + 1);
        ++expected;
    }
    EXPECT_EQ(expected, kRecords + 1);
}

TEST_F(DbfReaderTest, AMissingFieldIsNamed)
{
    const QString file = path(u"deg.dbf"_s);
    {
        CnvWriter writer(file, {{u"FDEGREE"_s, 'C', 5}});
        writer.add({u"BA"_s});
    }
    DbfTable table(file, u"X_DEG.cnv"_s);
    try {
        ResultRows rows(table, {u"fdegree"_s});
        rows.require(u"FDESCPN"_s);
        FAIL() << "a missing field was not reported";
    } catch (const MissingField &m) {
        EXPECT_EQ(m.field, u"FDESCPN"_s);
        EXPECT_EQ(m.file, u"X_DEG.cnv"_s);
    }
}

struct KindCase
{
    const char *name;
    ResultKind byName;
    ResultKind byEnding;
};

class ResultKindTest : public ::testing::TestWithParam<KindCase>
{
};

TEST_P(ResultKindTest, FileNameDecidesTheKind)
{
    const QString name = QString::fromLatin1(GetParam().name);
    EXPECT_EQ(kindFromFileName(name), GetParam().byName) << GetParam().name;
    EXPECT_EQ(kindFromNameEnding(name), GetParam().byEnding) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Names, ResultKindTest,
    ::testing::Values(KindCase{"BSC2023STU.cnv", ResultKind::Candidates, ResultKind::Candidates},
                      KindCase{"stu_bsc.cnv", ResultKind::Candidates, ResultKind::None},
                      KindCase{"C:\\RESULTS\\colSTUdeg.CNV", ResultKind::Candidates, ResultKind::Degrees},
                      KindCase{"/data/STU/2023deg.cnv", ResultKind::Degrees, ResultKind::Degrees},
                      KindCase{"DEGCOL.cnv", ResultKind::Degrees, ResultKind::Colleges},
                      KindCase{"college.cnv", ResultKind::Colleges, ResultKind::None},
                      KindCase{"MARKS.cnv", ResultKind::None, ResultKind::None},
                      KindCase{"STU.cnv", ResultKind::Candidates, ResultKind::Candidates},
                      KindCase{"TU.cnv", ResultKind::None, ResultKind::None}));

} // namespace
