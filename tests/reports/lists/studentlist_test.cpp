// SPDX-License-Identifier: GPL-3.0-or-later
#include "listfixture.h"
#include "reports/lists/studentlist.h"

using namespace Qt::StringLiterals;

namespace {

class StudentListTest : public sw::test::ListFixture
{
protected:
    void candidate(const QString &regno, const QString &degree, const QString &college, const QString &certNo = {},
                   const QString &convocation = u"C025"_s)
    {
        add({regno, degree, college, certNo, {}, convocation});
    }
    QStringList report(bool summary, sw::StudentListSelection s)
    {
        s.normaliseColleges();
        sw::StudentListReports reports(m_session, m_prompter, header);
        m_written = summary ? reports.degreeSummary(s, m_file) : reports.studentList(s, m_file);
        return readLines(m_file);
    }

    bool m_written = false;
};

TEST_P(StudentListTest, ListsTheDegreeByCollegeWithFixedWidthColumns)
{
    candidate(u"R0002"_s, u"BSC"_s, u"C002"_s);
    candidate(u"R0001"_s, u"BSC"_s, u"C001"_s, u"DC000101"_s);
    candidate(u"R0003"_s, u"BSC"_s, u"C002"_s);
    candidate(u"R0004"_s, u"MSCPH"_s, u"C001"_s);              // another degree
    candidate(u"R0005"_s, u"BSC"_s, u"C001"_s, {}, u"C024"_s); // another convocation
    const QStringList lines = report(false, {u"bsc"_s.toUpper(), {}, {}});
    ASSERT_TRUE(m_written);
    EXPECT_EQ(lines.value(0), u"HEADER 1"_s);
    EXPECT_TRUE(lines.contains(sw::reportline::centred(u"75TH CONVOCATION"_s, 80)));
    EXPECT_TRUE(lines.contains(sw::reportline::centred(u"College Range 0000 to ZZZZ"_s, 80)));
    const qsizetype first = lines.indexOf(u"College: C001 - FIRST COLLEGE"_s);
    ASSERT_GE(first, 0);
    EXPECT_EQ(lines.value(first + 1), QString(29, u'~'));
    EXPECT_EQ(lines.value(first + 2),
              u"  1  R0001       NAME OF R0001                   2025  FC     DC000101  20/12/2025"_s);
    const qsizetype second = lines.indexOf(u"College: C002 - SECOND COLLEGE"_s);
    EXPECT_GT(second, first);
    EXPECT_TRUE(lines.value(second + 2).startsWith(u"  2  R0002"_s));
    EXPECT_TRUE(lines.value(second + 3).startsWith(u"  3  R0003"_s));
    EXPECT_FALSE(lines.join(u'\n').contains(u"R0004"_s));
    EXPECT_FALSE(lines.join(u'\n').contains(u"R0005"_s));
    EXPECT_TRUE(lines.contains(u"End of Report"_s));
}

TEST_P(StudentListTest, PrintedOnlyNarrowsTheListAndSaysSoInTheTitle)
{
    candidate(u"R0001"_s, u"BSC"_s, u"C001"_s, u"DC000101"_s);
    candidate(u"R0002"_s, u"BSC"_s, u"C001"_s);
    sw::StudentListSelection s{u"BSC"_s, u"C001"_s, {}};
    s.printedOnly = true;
    const QString text = report(false, s).join(u'\n');
    EXPECT_TRUE(text.contains(u"STUDENT DETAILS (CERTIFICATE PRINTED ONLY)"_s));
    EXPECT_TRUE(text.contains(u"College Range C001 to C001"_s));
    EXPECT_TRUE(text.contains(u"R0001"_s));
    EXPECT_FALSE(text.contains(u"R0002"_s));
}

TEST_P(StudentListTest, NoRowsSaysSoAndWritesNoReport)
{
    report(false, {u"BSC"_s, {}, {}});
    EXPECT_FALSE(m_written);
    EXPECT_EQ(m_prompter.last(), u"No records found for the range"_s);
    EXPECT_FALSE(QFile::exists(m_file));
}

TEST_P(StudentListTest, SummaryCountsEveryDegreeOfTheRangeAndTotalsThem)
{
    candidate(u"R0001"_s, u"BSC"_s, u"C001"_s, u"DC000101"_s);
    candidate(u"R0002"_s, u"BSC"_s, u"C001"_s);
    candidate(u"R0003"_s, u"BSC"_s, u"C002"_s, u"DC000102"_s);
    candidate(u"R0004"_s, u"MSCPH"_s, u"C001"_s);
    const QStringList lines = report(true, {u"BSC"_s, {}, {}});
    ASSERT_TRUE(m_written);
    using namespace sw::reportline;
    EXPECT_TRUE(lines.contains(u"  1  "_s + text(u"BACHELOR OF SCIENCE "_s, 50) + u"       3       2       1"_s))
        << lines.join(u'\n').toStdString();
    EXPECT_TRUE(lines.contains(u"  2  "_s + text(u"MASTER OF SCIENCE PHYSICS"_s, 50) + u"       1       0       1"_s));
    EXPECT_TRUE(lines.contains(u"     "_s + text(u"Total"_s, 50) + u"       4       2       2"_s));
    // The report ends with its marker and a form feed.
    EXPECT_EQ(lines.value(lines.size() - 2), QString(QChar(12)));
}

TEST(StudentListSelection, ABlankFromCollegeMeansAllAndAGivenOneIsAlsoTheTo)
{
    sw::StudentListSelection all{u" BSC "_s, u"  "_s, u"C009"_s};
    all.normaliseColleges();
    EXPECT_EQ(all.degree, u"BSC"_s);
    EXPECT_EQ(all.fromCollege, u"0000"_s);
    EXPECT_EQ(all.toCollege, u"ZZZZ"_s);
    sw::StudentListSelection one{u"BSC"_s, u"C003"_s, {}};
    one.normaliseColleges();
    EXPECT_EQ(one.toCollege, u"C003"_s);
}

INSTANTIATE_TEST_SUITE_P(Backends, StudentListTest, sw::test::bothBackends(), sw::test::backendName);

} // namespace
