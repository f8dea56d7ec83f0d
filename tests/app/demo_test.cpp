// SPDX-License-Identifier: GPL-3.0-or-later
// The demonstration folder: what a person trying the program finds in it.
#include "demofixture.h"
#include "shell/core/inifile.h"
#include "shell/core/kannadatext.h"
#include "support/batchrun.h"
#include "support/stoptext.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class DemoFolderTest : public ::testing::Test
{
protected:
    static std::unique_ptr<sw::Database> connect() { return sw::test::BuiltDemo::connect(); }
    static int count(const QString &sql, const QVariantList &params = {})
    {
        return connect()->scalar(sql, params).toInt();
    }

    const sw::AppFolder &m_folder = sw::test::BuiltDemo::folder();
};

TEST_F(DemoFolderTest, CandidatesStandInEveryStateOfTheirRoad)
{
    EXPECT_EQ(count(u"select count(*) from convo"_s), sw::DemoFolder::kCandidates);
    // Imported: neither paid nor active.
    EXPECT_GT(count(u"select count(*) from convo where ffeepaid = 'F' and factive = 'F'"_s), 0);
    // Fee verified but not yet active.
    EXPECT_GT(count(u"select count(*) from convo where ffeepaid = 'T' and factive = 'F'"_s), 0);
    // Active and waiting for their certificate.
    EXPECT_GT(count(u"select count(*) from convo where factive = 'T' and coalesce(fcertno, '') = ''"_s), 0);
    // Printed: number, issue date, print date and time, who printed.
    EXPECT_GT(count(u"select count(*) from convo where coalesce(fcertno, '') <> '' and fdate is not null "
                    "and fprintdate is not null and fprinttime <> '' and fprintedby = 'ADMIN'"_s),
              0);
    // Cancelled: a register row whose candidate is printable again.
    EXPECT_GT(count(u"select count(*) from certcan c join convo v on v.fregno = c.fregno and v.fdegree = c.fdegree "
                    "where coalesce(v.fcertno, '') = '' and v.factive = 'T'"_s),
              0);
}

// No number that must be unique is given twice, and every code a candidate carries is in its master.
TEST_F(DemoFolderTest, UniqueNumbersAreUniqueAndEveryCodeIsInItsMaster)
{
    for (const QString &rows :
         {u"(select fcertno from convo where coalesce(fcertno, '') <> '' group by fcertno having count(*) > 1) d"_s,
          u"(select fprintord from convo where coalesce(fprintord, '') <> '' group by fprintord "
          "having count(*) > 1) d"_s,
          u"certcan c join convo v on v.fcertno = c.fcertno"_s, // a cancelled number still on a candidate
          u"(select fregno, fdegree from convo group by fregno, fdegree having count(*) > 1) d"_s,
          u"convo where fdegree not in (select fdegree from degree)"_s,
          u"convo where fcollcode not in (select fcollcode from college)"_s,
          u"convo where fclasscode not in (select fclasscode from class)"_s,
          u"convo where fconvocode not in (select fconvocode from masconvo)"_s,
          u"college where coalesce(ftown, '') = ''"_s})
        EXPECT_EQ(count(u"select count(*) from "_s + rows), 0) << rows.toStdString();
    EXPECT_GT(count(u"select count(*) from degree where coalesce(fspecial, '') <> ''"_s), 0);
    EXPECT_GT(count(u"select count(*) from degree where coalesce(fspecial, '') = ''"_s), 0);
}

// Names filled from the library are exactly its words joined by blanks.
TEST_F(DemoFolderTest, KannadaNamesFromTheLibraryAreItsWordsJoined)
{
    const auto db = connect();
    auto rows = db->query(u"select fname, fnamekan from convo where fkanupdated = 'T'"_s);
    int checked = 0;
    while (rows.next()) {
        QStringList parts;
        for (const QString &word : rows.text(0).split(u' ')) {
            parts.append(db->scalar(u"select fkanname from kanlib where fengname = ?"_s, {word}).toString());
        }
        EXPECT_EQ(rows.text(1), parts.join(u' ')) << rows.text(0).toStdString();
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

// Every Kannada value of the demonstration reads as Kannada (no code left over) and
// writes back to the very codes it was stored as: the library words, the names filled
// from them, the masters' descriptions and the layout texts of the institution file.
TEST_F(DemoFolderTest, EveryKannadaValueReadsAsKannadaAndWritesBackUnchanged)
{
    const auto db = connect();
    const QStringList columns = {
        u"select fkanname from kanlib"_s,
        u"select fdescpnkan from degree union all select fspecialkan from degree"_s,
        u"select fclassdesckan from class"_s,
        u"select fconvonamekan from masconvo union all select fdatekan from masconvo"_s,
        u"select fnamekan from convo union all select ffatnamekan from convo union all select fmotnamekan from convo "
        "union all select fsirnamekan from convo union all select fexamdatekan from convo"_s,
    };
    QStringList values;
    for (const QString &sql : columns) {
        auto rows = db->query(sql);
        while (rows.next())
            values << rows.text(0);
    }
    sw::IniFile ini(m_folder.filePath(u"Institution.ini"_s), sw::IniFile::Encoding::Utf8);
    ini.load();
    for (const QString &key :
         {u"PreambleKan"_s, u"CampusKan"_s, u"StateKan"_s, u"CountryKan"_s, u"RegNoKan"_s, u"ClassKan"_s,
          u"ExamYearKan"_s, u"ConvoDateKan"_s, u"NotificationKan"_s, u"ConferredKan"_s})
        values << ini.value(u"LAYOUT"_s, key);
    values << ini.value(u"LETTERHEAD"_s, u"NameKan"_s);
    int kannada = 0;
    for (const QString &value : values) {
        if (value.isEmpty())
            continue;
        const sw::kannada::Conversion read = sw::kannada::toUnicode(value);
        EXPECT_EQ(read.unconverted, 0) << value.toStdString() << " leaves " << read.firstUnconverted.toStdString();
        EXPECT_TRUE(sw::kannada::hasUnicodeKannada(read.text)) << value.toStdString();
        EXPECT_EQ(sw::kannada::fromUnicode(read.text).text, value) << read.text.toStdString();
        ++kannada;
    }
    EXPECT_GT(kannada, 400);
    EXPECT_FALSE(
        db->scalar(u"select fconvonamekan from masconvo where fconvocode = ?"_s, {sw::DemoFolder::currentConvocation()})
            .toString()
            .isEmpty());
}

// A demonstration names no real university, college or town.
TEST_F(DemoFolderTest, NamesNoRealInstitution)
{
    const auto db = connect();
    QStringList texts;
    for (const QString &sql :
         {u"select fcompany || ' ' || fadd1 || ' ' || fadd2 || ' ' || fphone from control"_s,
          u"select funivname from masuniv"_s, u"select fcollname || ' ' || ftown from college"_s}) {
        auto rows = db->query(sql);
        while (rows.next())
            texts << rows.text(0);
    }
    QFile file(m_folder.filePath(u"Institution.ini"_s));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    texts << QString::fromUtf8(file.readAll());
    const QString all = texts.join(u'\n');
    for (const QString &real : {u"KARNATAK UNIVERSITY"_s, u"DHARWAD"_s, u"PAVATE"_s, u"MYSURU"_s, u"BELAGAVI"_s,
                                u"CHANNAMMA"_s, u"HUBBALLI"_s, u"GOKAK"_s, u"BAGALKOT"_s, u"CHITRADURGA"_s, u"KU/"_s})
        EXPECT_FALSE(all.contains(real, Qt::CaseInsensitive)) << real.toStdString();
}

TEST_F(DemoFolderTest, MostCandidatesHaveAPhotographInAnyLetterCase)
{
    const QDir photos(m_folder.filePath(u"Photos"_s));
    const QStringList files = photos.entryList(QDir::Files);
    EXPECT_GT(files.size(), sw::DemoFolder::kCandidates * 8 / 10);
    EXPECT_LT(files.size(), sw::DemoFolder::kCandidates);
    bool upper = false;
    for (const QString &f : files)
        upper = upper || f.endsWith(u".JPG"_s);
    EXPECT_TRUE(upper);
    const QImage one(photos.filePath(files.first()));
    EXPECT_FALSE(one.isNull());
    for (const QString &picture : {u"seal.jpg"_s, u"vc.jpg"_s, u"vcm.jpg"_s, u"backpic.jpg"_s, u"img/mcwm.jpg"_s})
        EXPECT_FALSE(QImage(m_folder.filePath(picture)).isNull()) << picture.toStdString();
}

TEST_F(DemoFolderTest, ARunAgainOnTheSameFolderIsRefusedAndChangesNothing)
{
    const int before = count(u"select count(*) from convo"_s);
    sw::test::ScriptedPrompter prompter;
    EXPECT_TRUE(sw::test::stopText([&] {
                    sw::DemoFolder::build(m_folder, prompter);
                }).endsWith(u" already holds a database (CONVO.sqlite); the demo is built only in a new folder."_s));
    EXPECT_EQ(count(u"select count(*) from convo"_s), before);
}

TEST_F(DemoFolderTest, TheAdministratorLogsInOnTheCurrentConvocation)
{
    const sw::test::BatchRun run =
        sw::test::runBatch({u"--folder"_s, m_folder.root(), u"--user"_s, u"ADMIN"_s, u"--password"_s, u"ADMIN"_s,
                            u"--convo"_s, sw::DemoFolder::currentConvocation(), u"login-check"_s});
    const QString &out = run.out;
    EXPECT_EQ(run.exitCode, 0) << run.both();
    EXPECT_TRUE(out.contains(u"InstCode=003"_s)) << out.toStdString();
    EXPECT_TRUE(out.contains(u"InstTitle=Varada University, Suvarnapura"_s)) << out.toStdString();
    EXPECT_TRUE(out.contains(u"ConvoName=75TH"_s)) << out.toStdString();
}

} // namespace
