// SPDX-License-Identifier: GPL-3.0-or-later
// The dBASE reader against files of our own writer and of an independent one
// (python3-dbf), and against files that are broken in the ways result files arrive.
#include "candidates/imports/cnvwriter.h"
#include "candidates/imports/dbftable.h"
#include "candidates/imports/resultfile.h"
#include "shell/core/legacytext.h"
#include "support/stoptext.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

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
    EXPECT_EQ((QStringList{table.text(regno), table.text(year), table.text(clmax), table.text(date)}),
              (QStringList{u"R1"_s, u"2023"_s, u"600.5"_s, u"15/04/2023"_s}));

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

TEST_F(DbfReaderTest, FilesThatAreNoTablesStopWithTheFileNamed)
{
    const QString text = path(u"notes_STU.dbf"_s);
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("REGNO|NAME\nR1|ANU\n");
    f.close();
    const QString notDbf = test::stopText([&] { DbfTable t(text); });
    EXPECT_TRUE(notDbf.startsWith(u"Error Occurred : "_s));
    EXPECT_TRUE(notDbf.contains(u"not a dBASE table"_s)) << notDbf.toStdString();
    EXPECT_TRUE(notDbf.contains(u"File: notes_STU.dbf"_s));

    const QString empty = path(u"empty.dbf"_s);
    QFile(empty).open(QIODevice::WriteOnly);
    EXPECT_TRUE(test::stopText([&] { DbfTable t(empty); }).contains(u"not a dBASE table"_s));
}

// A good file of ten records, then one way a result file arrives broken: each was read
// before as if nothing were wrong, dropping or garbling records without a word.
struct BrokenHeaderCase
{
    const char *story;
    std::function<void(QByteArray &)> breakIt;
    const char *message;
};

class BrokenHeaderTest : public ::testing::TestWithParam<BrokenHeaderCase>
{
};

constexpr int kFieldsOfTheGoodFile = 11; // candidateFields(false)
constexpr int kTerminator = 32 + 32 * kFieldsOfTheGoodFile;

void setLittle(QByteArray &b, int at, quint32 value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        b[at + i] = char((value >> (8 * i)) & 0xFF);
}

TEST_P(BrokenHeaderTest, IsRefusedWithWhatIsWrong)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(u"broken.dbf"_s);
    {
        CnvWriter writer(file, CnvWriter::candidateFields(false));
        for (int i = 0; i < 10; ++i)
            writer.add({u"R"_s + QString::number(i), u"NAME"_s});
    }
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray bytes = f.readAll();
    f.close();
    ASSERT_EQ(quint8(bytes[kTerminator]), 0x0D);
    GetParam().breakIt(bytes);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
    f.close();
    const QString text = test::stopText([&] { DbfTable t(file, u"SHOWN_STU.cnv"_s); });
    EXPECT_TRUE(text.contains(QString::fromUtf8(GetParam().message))) << GetParam().story << ": " << text.toStdString();
    EXPECT_TRUE(text.contains(u"File: SHOWN_STU.cnv"_s)) << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Files, BrokenHeaderTest,
    ::testing::Values(
        BrokenHeaderCase{"a copy cut off in transfer", [](QByteArray &b) { b.chop(150); },
                         "cut short: its header announces 10 records but only 8 are complete"},
        BrokenHeaderCase{"the header counts fewer records than the file holds",
                         [](QByteArray &b) { setLittle(b, 4, 7, 4); }, "announces 7 records but the file holds 10"},
        BrokenHeaderCase{"the field list has no 0x0D end mark", [](QByteArray &b) { b[kTerminator] = ' '; },
                         "no end mark (0x0D)"},
        BrokenHeaderCase{"the header length leaves the end mark out (records one byte off)",
                         [](QByteArray &b) { setLittle(b, 8, kTerminator, 2); }, "no end mark (0x0D)"},
        BrokenHeaderCase{"a field descriptor of an unknown type", [](QByteArray &b) { b[32 + 32 + 11] = 'X'; },
                         "Field descriptor 2 of the header is damaged (name \"FNAME\", type 0x58)"},
        BrokenHeaderCase{"a record length the fields do not make up",
                         [](QByteArray &b) { setLittle(b, 10, quint32(quint8(b[10]) | quint8(b[11]) << 8) + 1, 2); },
                         "do not make up the record length"}),
    [](const ::testing::TestParamInfo<BrokenHeaderCase> &info) { return "case" + std::to_string(info.index); });

TEST_F(DbfReaderTest, AMemoFieldTheImportReadsIsRefusedByName)
{
    // python3-dbf keeps the name in a memo file beside the table: the table holds only
    // a block number, which used to be read as an empty name.
    const QString file = path(u"memo.dbf"_s);
    writeWithPython(uR"(import dbf
t = dbf.Table(r'%1', 'FREGNO C(10); FNAME M', dbf_type='db3')
t.open(dbf.READ_WRITE)
t.append(('R1', 'ANU SHARMA'))
t.close()
)"_s.arg(file));
    DbfTable table(file, u"MEMO_STU.cnv"_s);
    ResultRows rows(table);
    EXPECT_EQ(rows.require(u"FREGNO"_s), 0);
    const QString text = test::stopText([&] { rows.require(u"FNAME"_s); });
    EXPECT_TRUE(text.contains(u"memo field"_s)) << text.toStdString();
    EXPECT_TRUE(text.endsWith(u"File: MEMO_STU.cnv, Field: FNAME"_s)) << text.toStdString();
}

TEST_F(DbfReaderTest, AFileLargerThanTheReadBufferReadsRightAndRecordsReadAgain)
{
    const QString file = path(u"large.dbf"_s);
    constexpr int kRecords = 6000;
    {
        CnvWriter writer(file, CnvWriter::candidateFields(true));
        for (int i = 1; i <= kRecords; ++i)
            writer.add({u"R"_s + QString::number(i).rightJustified(5, u'0'),
                        u"NAME "_s + QString::number(i),
                        u"BA"_s,
                        {},
                        u"C01"_s});
    }
    ASSERT_GT(QFile(file).size(), 3 * 256 * 1024);
    DbfTable table(file);
    ResultRows rows(table);
    ASSERT_EQ(rows.count(), kRecords);
    const int name = rows.require(u"FNAME"_s);
    int expected = 1;
    while (rows.next()) {
        ASSERT_EQ(rows.text(name), u"NAME "_s + QString::number(expected)) << "record " << rows.recordNumber();
        // Jumping back a few buffers and forward again leaves the walk where it was.
        if (expected % 1000 == 0) {
            ASSERT_EQ(rows.textsOf(expected - 900).value(1), u"NAME "_s + QString::number(expected - 900));
        }
        ++expected;
    }
    EXPECT_EQ(expected, kRecords + 1);
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

INSTANTIATE_TEST_SUITE_P(Names, ResultKindTest,
                         ::testing::Values(KindCase{"BSC2023STU.cnv", ResultKind::Candidates, ResultKind::Candidates},
                                           KindCase{"stu_bsc.cnv", ResultKind::Candidates, ResultKind::None},
                                           KindCase{"C:\\RESULTS\\colSTUdeg.CNV", ResultKind::Candidates,
                                                    ResultKind::Degrees},
                                           KindCase{"/data/STU/2023deg.cnv", ResultKind::Degrees, ResultKind::Degrees},
                                           KindCase{"DEGCOL.cnv", ResultKind::Degrees, ResultKind::Colleges},
                                           KindCase{"college.cnv", ResultKind::Colleges, ResultKind::None},
                                           KindCase{"MARKS.cnv", ResultKind::None, ResultKind::None},
                                           KindCase{"STU.cnv", ResultKind::Candidates, ResultKind::Candidates},
                                           KindCase{"TU.cnv", ResultKind::None, ResultKind::None}));

} // namespace
