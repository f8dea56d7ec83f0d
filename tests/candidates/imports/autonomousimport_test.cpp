// SPDX-License-Identifier: GPL-3.0-or-later
// The autonomous-college import: the "|" file's oddities, then the rows it writes.
#include "candidates/imports/autonomousimport.h"
#include "importfixture.h"

#include <QFile>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

// A line of 18 fields: serial, register number, name, sex, caste, nine unread fields, class, year, type, date.
QByteArray line(const QByteArray &serial, const QByteArray &regno, const QByteArray &name,
                const QByteArray &klass = "FCD")
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
    int lines;           // candidate lines
    int problems;        // of them, lines that cannot be read
    const char *problem; // part of the first problem
};

class AutonomousParseTest : public ::testing::TestWithParam<ParseCase>
{
};

TEST_P(AutonomousParseTest, ReadsEveryCandidateLineAndMarksTheUnreadable)
{
    QTemporaryDir dir;
    const AutonomousFile file = parseAutonomousFile(writeFile(dir, u"auto.csv"_s, GetParam().content));
    EXPECT_EQ(int(file.lines.size()), GetParam().lines) << GetParam().story;
    QStringList problems;
    for (const AutonomousLine &l : file.lines) {
        if (!l.problem.isEmpty())
            problems << QString::number(l.line) + u": "_s + l.problem;
    }
    EXPECT_EQ(int(problems.size()), GetParam().problems) << GetParam().story;
    if (!problems.isEmpty()) {
        EXPECT_TRUE(problems.first().contains(QString::fromLatin1(GetParam().problem)))
            << problems.first().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, AutonomousParseTest,
    ::testing::Values(ParseCase{"header, CRLF and blank lines",
                                "SLNO|REGNO|NAME|SEX|CASTE|5|6|7|8|9|10|11|12|13|CLASS|YEAR|TYPE|DATE\r\n"
                                    + line("1", "101", "ANU") + "\r\n\r\n" + line("2", "102", "BHAVYA") + "\r\n",
                                2, 0, ""},
                      ParseCase{"no header, trailing bar, lines without a bar",
                                "just a title\n" + line("1", "101", "ANU") + "|\n\n", 1, 0, ""},
                      ParseCase{"too few fields", line("1", "101", "ANU") + "\n1|102|SHORT|F\n", 2, 1,
                                "2: the line has 4 fields"},
                      ParseCase{"too many fields", line("1", "101", "ANU") + "|x|y\n", 1, 1, "has 20 fields"},
                      ParseCase{"an empty file", "", 0, 0, ""}));

TEST(AutonomousParse, ValuesArePrefixedTrimmedUpperCasedAndGraved)
{
    QTemporaryDir dir;
    const AutonomousFile file =
        parseAutonomousFile(writeFile(dir, u"a.csv"_s, line(" 1", " 101a ", " D'SOUZA O'NEIL ", " fc ")));
    ASSERT_EQ(file.lines.size(), 1u);
    const AutonomousLine &l = file.lines[0];
    EXPECT_EQ(QStringList({l.regno, l.name, l.classCode, l.sex, l.caste, l.year, l.examType, l.examDate}).join(u'|'),
              u"ZQ101A|D`SOUZA O`NEIL|FC|F|SC|2026|R|APRIL 2026"_s);
    // Without a register number there is none to prefix: "ZQ" alone is no candidate.
    const AutonomousFile empty = parseAutonomousFile(writeFile(dir, u"b.csv"_s, line("1", " ", "NOBODY")));
    EXPECT_EQ(empty.lines.at(0).regno, QString());
}

class AutonomousImportTest : public test::ImportTest
{
protected:
    void SetUp() override
    {
        test::ImportTest::SetUp();
        if (IsSkipped() || !m_session.cn)
            return;
        m_session.db().exec(u"insert into masuniv (funivcode, funivname) values ('U1', 'UNIVERSITY ONE')"_s);
    }
    std::optional<ImportCounts> importAuto(const QByteArray &content,
                                           AutonomousCodes codes = {u"U1"_s, u"AC01"_s, u"BCOM"_s})
    {
        AutonomousImport run(m_session, m_prompter);
        return run.run(codes, writeFile(m_inputs, u"auto.csv"_s, content));
    }
};

TEST_P(AutonomousImportTest, InsertsRefreshesAndAddsUnknownClasses)
{
    m_session.db().exec(u"insert into class (fclasscode, fclassdesc) values ('FCD', 'FIRST CLASS WITH DISTINCTION')"_s);
    addCandidate(u"ZQ102"_s, u"OLD"_s, u"C25"_s, u"BCOM"_s);
    addCandidate(u"ZQ103"_s, u"PRINTED"_s, u"C25"_s, u"BCOM"_s);
    print(u"ZQ103"_s, u"DC9"_s);
    const auto counts = importAuto(line("1", "101", "ANU") + '\n' + line("2", "102", "BHAVYA", "NEWC") + '\n'
                                   + line("3", "103", "CHANGED") + '\n');
    ASSERT_TRUE(counts) << m_prompter.last().toStdString();
    test::expectCounts(*counts, {3, 1, 1, 1, 0, 0});
    EXPECT_TRUE(m_prompter.last().startsWith(u"Imported Successfully\r\rTotal Records: 3\rImported Records: 1\r"_s));
    EXPECT_TRUE(m_prompter.last().contains(u"Class NEWC was added to the class master"_s));

    EXPECT_EQ(
        test::columns(candidate(u"ZQ101"_s, u"BCOM"_s, u"AC01"_s),
                      {u"funivcode"_s, u"fconvocode"_s, u"factive"_s, u"fmanual"_s, u"fusername"_s, u"fclasscode"_s}),
        u"U1|C26|F|F|CLERK|FCD"_s);
    // A known register number moves into this convocation and college; a printed one is left alone.
    EXPECT_EQ(test::columns(candidate(u"ZQ102"_s, u"BCOM"_s, u"AC01"_s), {u"fname"_s, u"fconvocode"_s}),
              u"BHAVYA|C26"_s);
    EXPECT_EQ(test::columns(candidate(u"ZQ103"_s, u"BCOM"_s, u"C01"_s), {u"fname"_s}), u"PRINTED"_s);

    EXPECT_EQ(m_session.db().scalar(u"select fclassdesc from class where fclasscode = 'NEWC'"_s).toString(), u"????"_s);
    EXPECT_EQ(count(u"select count(*) from class"_s), 2); // FCD kept, NEWC added once
}

TEST_P(AutonomousImportTest, CandidatesKnownUnderAnotherDegreeAreImported)
{
    // Found in the field: the look-up took the register number alone and the refresh
    // its degree too, so a file of students known under another degree said
    // "Imported Records: 0" and stored nothing.
    m_session.db().exec(u"insert into class (fclasscode, fclassdesc) values ('FCD', 'FIRST CLASS')"_s);
    m_session.db().exec(u"insert into convo (fregno, fname, fdegree, fcollcode, fconvocode) values "
                        "('ZQ101', 'ANU', 'BA', 'AC01', 'C25'), ('ZQ102', 'BHAVYA', 'BA', 'AC01', 'C26')"_s);
    const auto counts = importAuto(line("1", "101", "ANU") + '\n' + line("2", "102", "BHAVYA") + '\n');
    ASSERT_TRUE(counts) << m_prompter.last().toStdString();
    EXPECT_EQ(counts->inserted, 2);
    EXPECT_EQ(count(u"select count(*) from convo where fdegree = 'BCOM' and fconvocode = 'C26'"_s), 2);
    EXPECT_EQ(count(u"select count(*) from convo where fdegree = 'BA'"_s), 2);
}

TEST_P(AutonomousImportTest, BadLinesAreRejectedAndNamedAndTheGoodOnesImported)
{
    m_session.db().exec(u"insert into class (fclasscode, fclassdesc) values ('FCD', 'FIRST CLASS')"_s);
    // A name of a million characters once went in whole on SQLite and stopped MariaDB half-way.
    const QByteArray huge(1000000, 'N');
    const auto counts =
        importAuto(line("1", "101", "ANU") + '\n' + line("2", "", "NO NUMBER") + '\n' + line("3", "103", huge) + '\n'
                   + line("4", "104", "NO CLASS", "") + '\n' + "5|105|SHORT\n" + line("6", "106", "") + '\n');
    ASSERT_TRUE(counts) << m_prompter.last().toStdString();
    test::expectCounts(*counts, {6, 1, 0, 0, 1, 4});
    EXPECT_EQ(count(u"select count(*) from convo"_s), 1);
    // No class without a code, and no candidate called "ZQ".
    EXPECT_EQ(count(u"select count(*) from class where fclasscode = '' or fclasscode is null"_s), 0);
    EXPECT_EQ(count(u"select count(*) from convo where fregno = 'ZQ'"_s), 0);

    const auto lines = rejectFile(inputPath(u"auto.csv"_s));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0].mid(0, 5), (QStringList{u"line"_s, u"outcome"_s, u"field"_s, u"value"_s, u"reason"_s}));
    EXPECT_EQ(lines[1].mid(0, 5),
              (QStringList{u"2"_s, u"rejected"_s, u"field 1"_s, u""_s, u"the register number is empty"_s}));
    EXPECT_EQ(lines[2].value(2), u"field 2"_s);
    EXPECT_EQ(lines[2].value(4), u"holds 1000000 characters; the column takes 100"_s);
    EXPECT_EQ(lines[3].value(4), u"the class code is empty"_s);
    EXPECT_EQ(lines[4].value(4), u"the line has 3 fields separated by \"|\"; 18 are expected"_s);
    EXPECT_EQ(lines[5].mid(0, 5), (QStringList{u"6"_s, u"skipped"_s, u"field 2"_s, u""_s, u"the name is empty"_s}));
}

// A header may add the students' ABC IDs after the fixed fields: each is checked, a bad
// one refuses its line (named by the header's field), an empty one keeps the ID held.
TEST_P(AutonomousImportTest, AnAbcIdColumnIsStoredCheckedAndAnEmptyOneKeepsTheIdHeld)
{
    m_session.db().exec(u"insert into class (fclasscode, fclassdesc) values ('FCD', 'FIRST CLASS')"_s);
    m_session.db().exec(u"insert into convo (fregno, fname, fdegree, fcollcode, fconvocode, fabcid) values "
                        "('ZQ104', 'DIVYA', 'BCOM', 'AC01', 'C26', '444444444444'), "
                        "('R9', 'SOMEONE ELSE', 'BA', 'C01', 'C25', '555555555555')"_s);
    const QByteArray header = "SLNO|REGNO|NAME|SEX|CASTE|5|6|7|8|9|10|11|12|13|CLASS|YEAR|TYPE|DATE|ABC_ACCOUNT_ID\n";
    const auto counts = importAuto(header + line("1", "101", "ANU") + "|111111111111\n" + line("2", "102", "BHAVYA")
                                   + "|12345\n" + line("3", "103", "CHETAN") + "|555555555555\n"
                                   + line("4", "104", "DIVYA") + "|\n" + line("5", "105", "EKTA") + "|111111111111\n");
    ASSERT_TRUE(counts) << m_prompter.last().toStdString();
    test::expectCounts(*counts, {5, 1, 1, 0, 0, 3});
    EXPECT_EQ(test::columns(candidate(u"ZQ101"_s, u"BCOM"_s, u"AC01"_s), {u"fabcid"_s}), u"111111111111"_s);
    EXPECT_EQ(test::columns(candidate(u"ZQ104"_s, u"BCOM"_s, u"AC01"_s), {u"fname"_s, u"fabcid"_s}),
              u"DIVYA|444444444444"_s);

    const auto lines = rejectFile(inputPath(u"auto.csv"_s));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1].mid(0, 5),
              (QStringList{u"3"_s, u"rejected"_s, u"ABC_ACCOUNT_ID"_s, u"12345"_s, u"ABC ID: must be 12 digits"_s}));
    EXPECT_EQ(lines[2].value(0), u"4"_s);
    EXPECT_TRUE(lines[2].value(4).startsWith(u"ABC ID: 555555555555 is already held by R9 SOMEONE ELSE"_s))
        << lines[2].value(4).toStdString();
    // An ID an earlier line of the same file gave another student.
    EXPECT_EQ(lines[3].value(0), u"6"_s);
    EXPECT_TRUE(lines[3].value(4).contains(u"already held by ZQ101 ANU"_s)) << lines[3].value(4).toStdString();
}

TEST_P(AutonomousImportTest, CodesMissingOrUnknownRefuseTheFile)
{
    EXPECT_FALSE(importAuto(line("1", "101", "ANU"), {u"U1"_s, QString(), u"BCOM"_s}));
    EXPECT_EQ(m_prompter.last(), u"Degree, College code and Univ code should be entered"_s);
    for (const auto &[codes, message] :
         {std::pair{AutonomousCodes{u"U9"_s, u"AC01"_s, u"BCOM"_s}, u"Invalid University Code"_s},
          std::pair{AutonomousCodes{u"U1"_s, u"AC09"_s, u"BCOM"_s}, u"Invalid College Code"_s},
          std::pair{AutonomousCodes{u"U1"_s, u"AC01"_s, u"BXX"_s}, u"Invalid Degree Code"_s}}) {
        EXPECT_FALSE(importAuto(line("1", "101", "ANU"), codes));
        EXPECT_EQ(m_prompter.last(), message);
    }
    EXPECT_EQ(count(u"select count(*) from convo"_s), 0);

    // A database without the class master refuses before any row is written.
    m_session.db().exec(u"drop table class"_s);
    EXPECT_FALSE(importAuto(line("1", "101", "ANU") + '\n'));
    EXPECT_TRUE(m_prompter.last().startsWith(u"Error Occurred : "_s)) << m_prompter.last().toStdString();
    EXPECT_EQ(count(u"select count(*) from convo"_s), 0);
}

INSTANTIATE_TEST_SUITE_P(Backends, AutonomousImportTest, test::bothBackends(), test::backendName);

} // namespace
