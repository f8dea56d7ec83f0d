// SPDX-License-Identifier: GPL-3.0-or-later
// Text that would break a statement built by pasting values into SQL goes through
// every import and the candidate form and comes back stored as it was given
// (apostrophes turned into grave accents, as the section's data keeps them), while
// the tables stay whole.
#include "e2efixture.h"

#include "candidates/imports/cnvwriter.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::BatchFolder;
using sw::test::BatchRun;
using sw::test::TestBackend;

namespace {

// Quotes of both kinds, statement ends, comment markers of every dialect, a backslash
// (an escape character to MySQL) and a percent sign (a LIKE wildcard).
const QStringList kHostile = {
    u"O'BRIEN'); DROP TABLE convo; --"_s,
    u"\"QUOTED\" NAME /* NOT A COMMENT */"_s,
    u"BACK\\SLASH # HASH 100%"_s,
    u"';-- '' \"\" ;"_s,
};

QString stored(const QString &given) { return QString(given).replace(u'\'', u'`').trimmed(); }

using HostileText = test::BatchFolderTest;

TEST_P(HostileText, EveryImportAndTheCandidateFormStoreItAsGiven)
{
    BatchFolder &app = *m_app;
    // Masters from CSV: the college names.
    QByteArray csv = "fcollcode,fcollname\n";
    for (int i = 0; i < kHostile.size(); ++i)
        csv += "H" + QByteArray::number(i) + ",\"" + kHostile[i].toUtf8().replace("\"", "\"\"") + "\"\n";
    test::writeFile(app.scratch(u"college.csv"_s), csv);
    const BatchRun masters = app.run({u"masters"_s, u"import"_s, u"college"_s, app.scratch(u"college.csv"_s)});
    ASSERT_EQ(masters.exitCode, 0) << masters.both();
    for (int i = 0; i < kHostile.size(); ++i)
        EXPECT_EQ(
            app.text(u"select fcollname from college where fcollcode = ?"_s, {QString(u"H"_s + QString::number(i))}),
            stored(kHostile[i]));

    // Every import and the form check the codes against their masters: these are the
    // ones they need, hostile ones among them.
    app.db().exec(
        u"insert into degree (fdegree, fdescpn, fdescpnkan) values ('BA', 'BACHELOR OF ARTS', 'x'), (?, 'B', 'x')"_s,
        {u"B;A"_s});
    app.db().exec(u"insert into class (fclasscode, fclassdesc, fclassdesckan) values ('FC', 'FIRST CLASS', 'x'), "
                  "('SC', 'SECOND CLASS', 'x')"_s);
    app.db().exec(u"insert into masuniv (funivcode, funivname) values ('U1', 'Morvanta University'), (?, 'U')"_s,
                  {u"U'1"_s});
    app.db().exec(u"insert into masconvo (fconvocode, fconvoname, factive) values ('C26', 'Convocation', 'T')"_s);

    // A result file: names and exam dates.
    const QString cnv = app.scratch(u"H26STU.cnv"_s);
    {
        CnvWriter writer(cnv, CnvWriter::candidateFields(false));
        for (int i = 0; i < kHostile.size(); ++i)
            writer.add({u"H"_s + QString::number(i),
                        kHostile[i],
                        u"BA"_s,
                        {},
                        u"H0"_s,
                        u"FC"_s,
                        kHostile[i].left(20),
                        u"2025"_s,
                        u"1"_s,
                        u"F"_s,
                        u"GM"_s});
    }
    const BatchRun file = app.run({u"import-file"_s, cnv});
    ASSERT_EQ(file.exitCode, 0) << file.both();
    for (int i = 0; i < kHostile.size(); ++i)
        EXPECT_EQ(app.text(u"select fname from convo where fregno = ?"_s, {QString(u"H"_s + QString::number(i))}),
                  stored(kHostile[i]));

    // An autonomous college's file: names, and the codes typed for the whole file.
    QByteArray lines;
    for (int i = 0; i < kHostile.size(); ++i)
        lines += QByteArray::number(i) + "|7" + QByteArray::number(i) + "|" + kHostile[i].toLatin1()
                 + "|M|GM|a|b|c|d|e|f|g|h|i|SC|2025|1|APRIL 2025\n";
    test::writeFile(app.scratch(u"AUTO.TXT"_s), lines);
    const BatchRun autonomous = app.run({u"import-auto"_s, app.scratch(u"AUTO.TXT"_s), u"--univ"_s, u"U'1"_s,
                                         u"--college"_s, u"H1"_s, u"--degree"_s, u"B;A"_s});
    ASSERT_EQ(autonomous.exitCode, 0) << autonomous.both();
    for (int i = 0; i < kHostile.size(); ++i) {
        const QString regno = u"ZQ7"_s + QString::number(i);
        EXPECT_EQ(app.text(u"select fname from convo where fregno = ?"_s, {regno}), stored(kHostile[i]));
        EXPECT_EQ(app.text(u"select fdegree from convo where fregno = ?"_s, {regno}), u"B;A"_s);
    }

    // The candidate form: a name typed in.
    const BatchRun typed =
        app.run({u"candidate"_s, u"add"_s,         u"T1"_s,    u"--fname"_s,      kHostile[0], u"--fdegree"_s,
                 u"BA"_s,        u"--fcollcode"_s, u"H0"_s,    u"--fclasscode"_s, u"FC"_s,     u"--fsex"_s,
                 u"M"_s,         u"--fyear"_s,     u"2025"_s,  u"--fexamdate"_s,  kHostile[3], u"--funivcode"_s,
                 u"U1"_s,        u"--ffatname"_s,  kHostile[1]});
    ASSERT_EQ(typed.exitCode, 0) << typed.both();
    EXPECT_EQ(app.text(u"select fname from convo where fregno = 'T1'"_s), stored(kHostile[0]));
    EXPECT_EQ(app.text(u"select ffatname from convo where fregno = 'T1'"_s), stored(kHostile[1]).toUpper());
    EXPECT_EQ(app.text(u"select fexamdate from convo where fregno = 'T1'"_s), stored(kHostile[3]));

    // Searching for the text finds exactly the candidate that has it.
    const BatchRun search = app.run({u"search"_s, u"DROP TABLE"_s, u"--match"_s, u"contains"_s});
    EXPECT_EQ(search.exitCode, 0) << search.both();
    EXPECT_TRUE(search.out.contains(u"H0"_s)) << search.both();

    // The tables are whole: every row that went in is there.
    EXPECT_EQ(app.count(u"select count(*) from college"_s), kHostile.size());
    EXPECT_EQ(app.count(u"select count(*) from convo"_s), 2 * kHostile.size() + 1);
}

INSTANTIATE_TEST_SUITE_P(Backends, HostileText, test::bothBackends(), test::backendName);

} // namespace
