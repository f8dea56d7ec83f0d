// SPDX-License-Identifier: GPL-3.0-or-later
// The autonomous-college import: the "|" file's oddities, then the rows it writes.
#include "candidates/imports/autonomousimport.h"
#include "candidates/imports/importerror.h"
#include "importfixture.h"

#include <QFile>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::TestBackend;

namespace {

// A line of 18 fields: serial, register number, name, sex, caste, nine unread fields, class, year, type, date.
QByteArray line(const QByteArray &serial, const QByteArray &regno, const QByteArray &name, const QByteArray &klass = "FCD")
{
    return serial + '|' + regno + '|' + name + "|F|SC|a|b|c|d|e|f|g|h|i|" + klass + "|2026|R|APRIL 2026";
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

struct ParseCase
{
    const char *story;
    QByteArray content;
    int lines;           // parsed lines, or -1 when the file is refused
    const char *message; // part of the refusal
};

class AutonomousParseTest : public ::testing::TestWithParam<ParseCase>
{
};

TEST_P(AutonomousParseTest, ParsesOrRefusesWithThePlace)
{
    QTemporaryDir dir;
    const QString path = writeFile(dir, u"auto.csv"_s, GetParam().content);
    if (GetParam().lines >= 0) {
        const auto lines = parseAutonomousFile(path);
        EXPECT_EQ(int(lines.size()), GetParam().lines) << GetParam().story;
        return;
    }
    try {
        parseAutonomousFile(path);
        FAIL() << GetParam().story << ": not refused";
    } catch (const ImportFailure &e) {
        EXPECT_TRUE(e.text().contains(QString::fromLatin1(GetParam().message))) << e.text().toStdString();
        EXPECT_TRUE(e.text().contains(u"File: auto.csv"_s));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, AutonomousParseTest,
    ::testing::Values(
        ParseCase{"header, CRLF and blank lines", "SLNO|REGNO|NAME|SEX|CASTE|5|6|7|8|9|10|11|12|13|CLASS|YEAR|TYPE|DATE\r\n"
                                                  + line("1", "101", "ANU") + "\r\n\r\n" + line("2", "102", "BHAVYA") + "\r\n",
                  2, ""},
        ParseCase{"no header, trailing bar, lines without a bar", "just a title\n" + line("1", "101", "ANU") + "|\n\n", 1, ""},
        ParseCase{"too few fields", line("1", "101", "ANU") + "\n1|102|SHORT|F\n", -1, "Line: 2, Field: field 4"},
        ParseCase{"too many fields", line("1", "101", "ANU") + "|x|y\n", -1, "has 20 fields"},
        ParseCase{"an empty file", "", 0, ""}));

TEST(AutonomousParse, ValuesArePrefixedTrimmedAndGraved)
{
    QTemporaryDir dir;
    const auto lines = parseAutonomousFile(writeFile(dir, u"a.csv"_s, line(" 1", " 101 ", " D'SOUZA O'NEIL ", " FC ")));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].regno, u"ZQ101"_s);
    EXPECT_EQ(lines[0].name, u"D`SOUZA O`NEIL"_s);
    EXPECT_EQ(lines[0].classCode, u"FC"_s);
    EXPECT_EQ(lines[0].sex, u"F"_s);
    EXPECT_EQ(lines[0].caste, u"SC"_s);
    EXPECT_EQ(lines[0].year, u"2026"_s);
    EXPECT_EQ(lines[0].examType, u"R"_s);
    EXPECT_EQ(lines[0].examDate, u"APRIL 2026"_s);
}

class AutonomousImportTest : public test::ImportTest
{
protected:
    std::optional<ImportCounts> importAuto(const QByteArray &content, AutonomousCodes codes = {u"U1"_s, u"AC01"_s, u"BCOM"_s})
    {
        AutonomousImport run(m_session, m_prompter);
        return run.run(codes, writeFile(m_inputs, u"auto.csv"_s, content));
    }
};

TEST_P(AutonomousImportTest, InsertsRefreshesAndAddsUnknownClasses)
{
    m_session.db().exec(u"insert into class (fclasscode, fclassdesc) values ('FCD', 'FIRST CLASS WITH DISTINCTION')"_s);
    m_session.db().exec(u"insert into convo (fregno, fname, fdegree, fcollcode, fconvocode) values "
                        "('ZQ102', 'OLD', 'BCOM', 'X', 'C25'), ('ZQ103', 'PRINTED', 'BCOM', 'X', 'C25')"_s);
    print(u"ZQ103"_s, u"DC9"_s);
    const auto counts = importAuto(line("1", "101", "ANU") + '\n' + line("2", "102", "BHAVYA", "NEWC") + '\n'
                                   + line("3", "103", "CHANGED") + '\n');
    ASSERT_TRUE(counts) << m_prompter.last().toStdString();
    EXPECT_EQ(counts->total, 3);
    EXPECT_EQ(counts->imported, 1);
    EXPECT_EQ(m_prompter.last(), u"Imported Successfully\r\rTotal Records: 3\rImported Records: 1"_s);

    const auto anu = candidate(u"ZQ101"_s, u"BCOM"_s, u"AC01"_s);
    ASSERT_FALSE(anu.empty());
    EXPECT_EQ(anu.at(u"funivcode"_s), u"U1"_s);
    EXPECT_EQ(anu.at(u"fconvocode"_s), u"C26"_s);
    EXPECT_EQ(anu.at(u"factive"_s), u"F"_s);
    EXPECT_EQ(anu.at(u"fmanual"_s), u"F"_s);
    EXPECT_EQ(anu.at(u"fusername"_s), u"CLERK"_s);
    EXPECT_EQ(anu.at(u"fclasscode"_s), u"FCD"_s);
    // A known register number moves into this convocation and college.
    const auto bhavya = candidate(u"ZQ102"_s, u"BCOM"_s, u"AC01"_s);
    ASSERT_FALSE(bhavya.empty());
    EXPECT_EQ(bhavya.at(u"fname"_s), u"BHAVYA"_s);
    EXPECT_EQ(bhavya.at(u"fconvocode"_s), u"C26"_s);
    // A printed one is left alone.
    EXPECT_EQ(candidate(u"ZQ103"_s, u"BCOM"_s, u"X"_s).at(u"fname"_s), u"PRINTED"_s);

    EXPECT_EQ(m_session.db().scalar(u"select fclassdesc from class where fclasscode = 'NEWC'"_s).toString(), u"????"_s);
    EXPECT_EQ(count(u"select count(*) from class"_s), 2); // FCD kept, NEWC added once
}

TEST_P(AutonomousImportTest, MissingCodesAndABadLineImportNothing)
{
    EXPECT_FALSE(importAuto(line("1", "101", "ANU"), {u"U1"_s, QString(), u"BCOM"_s}));
    EXPECT_EQ(m_prompter.last(), u"Degree, College code and Univ code should be entered"_s);
    EXPECT_FALSE(importAuto(line("1", "101", "ANU") + "\n2|102\n"));
    EXPECT_TRUE(m_prompter.last().startsWith(u"Error Occurred : "_s));
    EXPECT_EQ(count(u"select count(*) from convo"_s), 0);

    // A database without the class master refuses the statements before any row is written.
    m_session.db().exec(u"drop table class"_s);
    EXPECT_FALSE(importAuto(line("1", "101", "ANU") + '\n'));
    EXPECT_TRUE(m_prompter.last().startsWith(u"Error Occurred : "_s)) << m_prompter.last().toStdString();
    EXPECT_EQ(count(u"select count(*) from convo"_s), 0);
}

INSTANTIATE_TEST_SUITE_P(Backends, AutonomousImportTest, ::testing::Values(TestBackend::SQLite, TestBackend::MariaDB),
                         test::backendName);

} // namespace
