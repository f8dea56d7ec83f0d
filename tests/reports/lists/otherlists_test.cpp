// SPDX-License-Identifier: GPL-3.0-or-later
#include "listfixture.h"
#include "reports/lists/otherlists.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace {

class OtherListsTest : public sw::test::ListFixture
{
protected:
    sw::OtherListReports reports() { return {m_session, m_prompter, header}; }
    static sw::RangeSelection everything() { return ListFixture::everything<sw::RangeSelection>(); }
    void photograph(const QString &name)
    {
        QDir().mkpath(m_session.folder.filePath(u"Photos"_s));
        QFile f(m_session.folder.filePath(u"Photos/"_s + name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QString isexist(const QString &regno)
    {
        return m_session.db().scalar(u"select isexist from convo where fregno = ?"_s, {regno}).toString();
    }
};

TEST_P(OtherListsTest, CancelledListLeavesOutRegisterRowsWhoseCandidateIsGone)
{
    add({u"R0001"_s});
    auto &db = m_session.db();
    const QString insert = u"insert into certcan (fdegree, fcollcode, fregno, fcertno, fdate, fremarks) "
                           "values ('BSC', 'C001', ?, ?, ?, ?)"_s;
    db.exec(insert, {u"R0001"_s, u"DC000101"_s, QDate(2025, 12, 3), u"SHEET TORN"_s});
    db.exec(insert, {u"R0009"_s, u"DC000109"_s, QDate(2025, 12, 3), u"NO CANDIDATE"_s});
    ASSERT_TRUE(reports().cancelledList(december(), m_file));
    const QStringList lines = readLines(m_file);
    EXPECT_TRUE(lines.contains(u"Date: 03/12/2025"_s));
    EXPECT_TRUE(lines.contains(u"  1  R0001       NAME OF R0001         DC000101  BSC    C001  SHEET TORN          "_s))
        << lines.join(u'\n').toStdString();
    EXPECT_FALSE(lines.join(u'\n').contains(u"R0009"_s));
}

TEST_P(OtherListsTest, PhotographCheckMarksWhoHasAFileInAnyOfTheThreeKinds)
{
    add({u"R0001"_s});
    add({u"R0002"_s, u"MSCPH"_s});
    add({u"R0003"_s, u"BSC"_s, u"C002"_s});
    add({u"R0004"_s, u"BSC"_s, u"C002"_s, {}, {}, u"C024"_s}); // another convocation: untouched
    photograph(u"R0001.JPG"_s);
    photograph(u"R0002.bmp"_s);
    photograph(u"R0003.png"_s); // not a kind the photograph look-up takes
    ASSERT_TRUE(reports().activatedList(everything(), {true, false}, m_file));
    EXPECT_EQ((QStringList{isexist(u"R0001"_s), isexist(u"R0002"_s), isexist(u"R0003"_s), isexist(u"R0004"_s)}),
              (QStringList{u"1"_s, u"1"_s, u"0"_s, QString()}));
    const QString text = readLines(m_file).join(u'\n');
    EXPECT_TRUE(text.contains(u"STUDENT DETAILS (ALL) - PENDING PHOTOS"_s));
    EXPECT_TRUE(text.contains(u"College : C002 - SECOND COLLEGE, MALLIGEPURA"_s));
    EXPECT_TRUE(text.contains(u"     1  R0003       NAME OF R0003"_s)) << text.toStdString();
    EXPECT_FALSE(text.contains(u"R0001"_s));
    EXPECT_TRUE(text.contains(u"End of College"_s));
}

TEST_P(OtherListsTest, ActivatedListGroupsByCollegeAndDegree)
{
    add({u"R0001"_s});
    add({u"R0002"_s, u"MSCPH"_s});
    add({u"R0003"_s, u"BSC"_s, u"C002"_s});
    ASSERT_TRUE(reports().activatedList(everything(), {false, true}, m_file));
    const QStringList lines = readLines(m_file);
    const qsizetype c1 = lines.indexOf(u"College : C001 - FIRST COLLEGE, SUVARNAPURA"_s);
    const qsizetype physics = lines.indexOf(u"Degree: MSCPH - MASTER OF SCIENCE (PHYSICS)"_s);
    const qsizetype c2 = lines.indexOf(u"College : C002 - SECOND COLLEGE, MALLIGEPURA"_s);
    ASSERT_GE(c1, 0);
    EXPECT_GT(physics, c1);
    EXPECT_GT(c2, physics);
    EXPECT_EQ(lines.value(c2 - 2), u"End of College"_s);
    EXPECT_EQ(lines.count(u"End of College"_s), 2);
}

TEST_P(OtherListsTest, OnlineListCoversEveryConvocation)
{
    add({u"R0001"_s});
    add({u"R0002"_s, u"BSC"_s, u"C001"_s, {}, {}, u"C024"_s});
    add({u"R0003"_s});
    m_session.db().exec(u"update convo set ffeepaid = 'T' where fregno in ('R0001', 'R0002')"_s);
    m_session.db().exec(u"update convo set factive = 'F' where fregno = 'R0002'"_s);
    ASSERT_TRUE(reports().onlineList(everything(), false, m_file));
    QString text = readLines(m_file).join(u'\n');
    EXPECT_LT(text.indexOf(u"Convocation: C024"_s), text.indexOf(u"Convocation: C025"_s));
    EXPECT_TRUE(text.contains(u"R0001"_s));
    EXPECT_FALSE(text.contains(u"R0003"_s));
    ASSERT_TRUE(reports().onlineList(everything(), true, m_file));
    text = readLines(m_file).join(u'\n');
    EXPECT_TRUE(text.contains(u"  1  R0002       NAME OF R0002              BSC - BACHELOR OF SCIENCE       C001"_s))
        << text.toStdString();
    EXPECT_FALSE(text.contains(u"R0001"_s));
}

TEST_P(OtherListsTest, AbcMissingListNamesTheConvocationsCandidatesWithoutAnId)
{
    add({u"R0001"_s});
    add({u"R0002"_s});
    add({u"R0003"_s, u"BSC"_s, u"C001"_s, {}, {}, u"C024"_s}); // another convocation
    add({u"R0004"_s});
    add({u"R0005"_s});
    m_session.db().exec(u"update convo set fabcid = '123456789012' where fregno = 'R0002'"_s);
    m_session.db().exec(u"update convo set fabcid = '' where fregno = 'R0004'"_s);
    m_session.db().exec(u"update convo set factive = 'F' where fregno = 'R0005'"_s);
    ASSERT_TRUE(reports().abcMissingList(everything(), false, m_file));
    QString text = readLines(m_file).join(u'\n');
    EXPECT_TRUE(text.contains(u"CANDIDATES WITHOUT AN ABC ID"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"  1  R0001       NAME OF R0001"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"  2  R0004"_s));
    EXPECT_FALSE(text.contains(u"R0002"_s));
    EXPECT_FALSE(text.contains(u"R0003"_s));
    EXPECT_TRUE(text.contains(u"3 candidate(s) without an ABC ID."_s));
    ASSERT_TRUE(reports().abcMissingList(everything(), true, m_file));
    text = readLines(m_file).join(u'\n');
    EXPECT_FALSE(text.contains(u"R0005"_s));
    EXPECT_TRUE(text.contains(u"2 candidate(s) without an ABC ID."_s));

    m_session.db().exec(u"update convo set fabcid = '111111111111'"_s);
    m_prompter.clear();
    EXPECT_FALSE(reports().abcMissingList(everything(), false, m_file));
    EXPECT_EQ(m_prompter.last(), u"No records found for the range"_s);
}

TEST_P(OtherListsTest, MismatchListNamesCodesWithoutMasterRows)
{
    add({u"R0001"_s, u"BXYZ"_s, u"C001"_s});
    add({u"R0002"_s, u"BSC"_s, u"C099"_s});
    const QString text = [&] {
        reports().mismatchList(m_file);
        return readLines(m_file).join(u'\n');
    }();
    EXPECT_TRUE(text.contains(u"  1  BXYZ"_s));
    EXPECT_TRUE(text.contains(u"  1  C099"_s));
    EXPECT_TRUE(text.contains(u"  1  FC"_s)); // no class rows at all in this folder
    EXPECT_TRUE(text.contains(u"End of Report for College\n~~~~~~~~~~~~~~~~~~~~~~~~~"_s));
}

TEST_P(OtherListsTest, MismatchListWithEveryCodeInItsMasterStillPrintsItsThreeSections)
{
    m_session.db().exec(u"insert into class (fclasscode, fclassdesc) values ('FC', 'FIRST CLASS')"_s);
    add({u"R0001"_s});
    reports().mismatchList(m_file);
    const QString text = readLines(m_file).join(u'\n');
    for (const QString &name : {u"DEGREE"_s, u"COLLEGE"_s, u"CLASS"_s})
        EXPECT_TRUE(text.contains(u"MISMATCH LIST ("_s + name + u')')) << name.toStdString();
    EXPECT_TRUE(text.contains(u"End of Report for Degree"_s));
    EXPECT_TRUE(text.contains(u"End of Report for Class"_s));
    EXPECT_FALSE(text.contains(u"  1  "_s));
    EXPECT_EQ(text.count(QChar(12)), 2);
}

INSTANTIATE_TEST_SUITE_P(Backends, OtherListsTest, sw::test::bothBackends(), sw::test::backendName);

} // namespace
