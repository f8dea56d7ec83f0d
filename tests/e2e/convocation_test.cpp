// SPDX-License-Identifier: GPL-3.0-or-later
// A convocation's whole road through scrollwise-batch, as the certificate section
// travels it, on SQLite and on the MariaDB server: set-up, masters from CSV, result
// files and an autonomous college's file, online applications from the portal, fee
// verification, activation, printing with a spoiled sheet, PDF copies, the printed
// list, the portal update, gold-medal and cash-prize certificates, both
// depositories' workbooks, the covering letters, the address labels, backup and restore. After each step the database
// and the files are compared with what that step must have changed; at the end the stationery register accounts for
// every sheet.
#include "e2efixture.h"

#include "candidates/imports/cnvwriter.h"
#include "reports/nad/resulttables.h"
#include "support/testportal.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::BatchFolder;
using sw::test::BatchRun;
using sw::test::TestBackend;

namespace {

// Kannada texts as the legacy fonts store them: 8-bit characters.
QByteArray kan(const char *bytes) { return QByteArray(bytes); }

// The printing day's neighbours, so a run across midnight still falls inside.
QString yesterday() { return QDate::currentDate().addDays(-1).toString(u"dd/MM/yyyy"_s); }
QString tomorrow() { return QDate::currentDate().addDays(1).toString(u"dd/MM/yyyy"_s); }

class ConvocationRoad : public test::BatchFolderTest
{
protected:
    // Runs a command that must succeed.
    BatchRun ok(const QStringList &command)
    {
        BatchRun r = app().run(command);
        EXPECT_EQ(r.exitCode, 0) << command.join(u' ').toStdString() << "\n" << r.both();
        return r;
    }

    QString candidate(const QString &regno, const QString &column)
    {
        return app().text(u"select "_s + column + u" from convo where fregno = ? and fconvocode = 'C26'"_s, {regno});
    }
    // Checks that `text` names every printed candidate with the certificate number; how many there are.
    int expectEveryPrintedIn(const QString &text)
    {
        Rows printed = app().db().query(u"select fregno, fcertno from convo where fcertno <> ''"_s);
        int listed = 0;
        for (; printed.next(); ++listed) {
            for (int column = 0; column < 2; ++column)
                EXPECT_TRUE(text.contains(printed.text(column).trimmed())) << printed.text(column).toStdString();
        }
        return listed;
    }
    int printedCount()
    {
        return app().count(u"select count(*) from convo where fcertno is not null and fcertno <> ''"_s);
    }

    void mastersFromCsv();
    void resultFileAndAutonomousFile();
    void onlineApplications();
    void verificationAndActivation();
    void printingWithASpoiledSheet();
    void pdfCopiesAndPrintedList();
    void portalUpdate();
    void backupAndRestore();
    void stationeryAccountsForEverySheet();
    void goldMedalAndCashPrize();
    void depositoryWorkbook();
    void nsdlWorkbook();
    void coveringLetters();
    void addressLabels();

    std::unique_ptr<test::TestPortal> m_portal;
};

void ConvocationRoad::mastersFromCsv()
{
    // init made the schema, the settings row and ADMIN.
    EXPECT_TRUE(app().initOutput().contains(u"user ADMIN created"_s)) << app().initOutput().toStdString();
    EXPECT_EQ(app().count(u"select count(*) from masuser where fusername = 'ADMIN'"_s), 1);
    EXPECT_EQ(app().count(u"select count(*) from convo"_s), 0);

    const QString dir = app().scratch(u"masters"_s);
    test::writeFile(dir + u"/masuniv.csv"_s, "funivcode,funivname\nU1,Morvanta University\n");
    test::writeFile(dir + u"/college.csv"_s,
                    "fcollcode,fcollname\nC01,Government College\nC02,\"St. Joseph's College; Hall -- east\"\n");
    test::writeFile(dir + u"/class.csv"_s, "fclasscode,fclassdesc\nFC,FIRST CLASS\nSC,SECOND CLASS\n");
    test::writeFile(dir + u"/masconvo.csv"_s,
                    "fconvocode,fconvoname,fdate,factive\nC26,26th Annual Convocation,12/03/2026,T\n");
    test::writeFile(dir + u"/degree.csv"_s, "fdegree,fdescpn,fspecial,fdescpnkan,fspecialkan\n"
                                            "BA,BACHELOR OF ARTS,,"
                                                + kan("\xb1\xc2\xa8")
                                                + ",\n"
                                                  "BSC,BACHELOR OF SCIENCE,,"
                                                + kan("\xb1\xc2\xa9") + ",\n");
    // A bad row is rejected, named with its line, field and reason in the file's reject
    // list, and the good rows are added.
    test::writeFile(dir + u"/degree-bad.csv"_s, "fdegree,fdescpn,fspecial,fdescpnkan,fspecialkan\n"
                                                "BA,BACHELOR OF ARTS,,"
                                                    + kan("\xb1\xc2\xa8") + ",\nMSC,MASTER OF SCIENCE,,,\n");
    const BatchRun bad = app().run({u"masters"_s, u"import"_s, u"degree"_s, dir + u"/degree-bad.csv"_s});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.err.contains(u"degree-bad.csv.rejected.csv"_s)) << bad.both(); // its lines: MasterImportTest
    EXPECT_EQ(app().count(u"select count(*) from degree"_s), 1);

    for (const QString &table : {u"masuniv"_s, u"college"_s, u"class"_s, u"masconvo"_s, u"degree"_s})
        ok({u"masters"_s, u"import"_s, table, dir + u'/' + table + u".csv"_s});
    EXPECT_EQ(app().count(u"select count(*) from college"_s), 2);
    // BA came in with the file that had a bad row; loading it again left it as it was.
    EXPECT_EQ(app().count(u"select count(*) from degree"_s), 2);
    EXPECT_EQ(app().count(u"select count(*) from class"_s), 2);
    // Apostrophes become grave accents; semicolons and comment markers are plain text.
    EXPECT_EQ(app().text(u"select fcollname from college where fcollcode = 'C02'"_s),
              u"St. Joseph`s College; Hall -- east"_s);
    EXPECT_EQ(app().text(u"select fdescpnkan from degree where fdegree = 'BSC'"_s),
              QString::fromLatin1("\xb1\xc2\xa9"));
    // The Kannada wordings of classes, the convocation and the exam session are typed on
    // their own screens, which have no command: stored here as those screens store them.
    app().db().exec(u"update class set fclassdesckan = ?"_s, {QString::fromLatin1("\xaa\xc0\xa5")});
    app().db().exec(u"update masconvo set fconvonamekan = ?, fdatekan = ?"_s,
                    {QString::fromLatin1("\xa8\xc0\xb5"), QString::fromLatin1("\xb1\xc2\xa8")});
    app().db().exec(u"insert into kanlib (fengname, fkanname) values (?, ?)"_s,
                    {u"APRIL 2025"_s, QString::fromLatin1("\xa5\xc1\xb2")});
}

void ConvocationRoad::resultFileAndAutonomousFile()
{
    // Sixteen candidates: BA 1-10, BSC 11-16; odd numbers at C01, even ones at C02.
    const QString cnv = app().scratch(u"results/R26STU.cnv"_s);
    QDir().mkpath(app().scratch(u"results"_s));
    {
        CnvWriter writer(cnv, CnvWriter::candidateFields(false));
        for (int i = 1; i <= 16; ++i)
            writer.add(test::resultRow(test::regnoOf(u"U"_s, i), u"NAME O'"_s + QString::number(i),
                                       i <= 10 ? u"BA"_s : u"BSC"_s, i % 2 ? u"C01"_s : u"C02"_s));
    }
    const BatchRun imported = ok({u"import-file"_s, cnv});
    EXPECT_TRUE(imported.out.contains(u"total records: 16, imported records: 16"_s)) << imported.both();
    EXPECT_EQ(app().count(u"select count(*) from convo where fconvocode = 'C26'"_s), 16);
    EXPECT_EQ(candidate(u"U0007"_s, u"fname"_s), u"NAME O`7"_s);
    EXPECT_EQ(candidate(u"U0012"_s, u"fcollcode"_s), u"C02"_s);
    EXPECT_EQ(candidate(u"U0012"_s, u"fdegree"_s), u"BSC"_s);

    // A malformed line of an autonomous file is rejected with its line; the good line goes in.
    const QString bad = app().scratch(u"AUTOBAD.TXT"_s);
    test::writeFile(bad, "1|501|AUTO ONE|M|GM|a|b|c|d|e|f|g|h|i|SC|2025|1|APRIL 2025\n2|502|SHORT\n");
    const BatchRun refused =
        app().run({u"import-auto"_s, bad, u"--univ"_s, u"U1"_s, u"--college"_s, u"C02"_s, u"--degree"_s, u"BSC"_s});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.out.contains(u"total records: 2, imported records: 1, refreshed: 0, printed left alone: 0, "
                                     "skipped: 0, rejected: 1"_s))
        << refused.both();
    EXPECT_TRUE(refused.err.contains(u"AUTOBAD.TXT.rejected.csv"_s)) << refused.both();

    const QString autonomous = app().scratch(u"AUTO.TXT"_s);
    QByteArray lines = "SLNO|REGNO|NAME|SEX|CASTE|5|6|7|8|9|10|11|12|13|CLASS|YEAR|TYPE|DATE\r\n";
    for (int i = 1; i <= 3; ++i)
        lines += QByteArray::number(i) + "|50" + QByteArray::number(i) + "|AUTO O'NE " + QByteArray::number(i)
                 + "|M|GM|a|b|c|d|e|f|g|h|i|SC|2025|1|APRIL 2025\r\n";
    test::writeFile(autonomous, lines);
    const BatchRun autoRun =
        ok({u"import-auto"_s, autonomous, u"--univ"_s, u"U1"_s, u"--college"_s, u"C02"_s, u"--degree"_s, u"BSC"_s});
    EXPECT_TRUE(autoRun.out.contains(u"total records: 3, imported records: 2, refreshed: 1"_s)) << autoRun.both();
    EXPECT_EQ(app().count(u"select count(*) from convo where fregno like 'ZQ%' and fdegree = 'BSC' "
                          "and fcollcode = 'C02' and funivcode = 'U1' and fconvocode = 'C26'"_s),
              3);
    EXPECT_EQ(candidate(u"ZQ502"_s, u"fname"_s), u"AUTO O`NE 2"_s);
}

void ConvocationRoad::onlineApplications()
{
    if (!test::MariaDbServer::fromEnvironment()) {
        EXPECT_FALSE(test::MariaDbServer::required()) << "the portal needs the MariaDB server";
        return;
    }
    m_portal = std::make_unique<test::TestPortal>(app().folder(), u"003"_s);
    // U0002 and U0004 paid; U0006's payment failed.
    int app_no = 0;
    for (const auto &[regno, status] : std::vector<std::pair<QString, QString>>{
             {u"U0002"_s, u"success"_s}, {u"U0004"_s, u"success"_s}, {u"U0006"_s, u"failed"_s}}) {
        const QString appNo = u"A"_s + QString::number(++app_no);
        m_portal->db().exec(u"insert into dcstud (fregno, fdegree, fcollcode, fcnvno) values (?, 'BA', 'C02', 'C26')"_s,
                            {regno});
        m_portal->db().exec(
            u"insert into dctran (fappno, fregno, fname, fmobile, femail, fpostaddr1, famount, fregdate, fpaystatus, "
            "fpincode) values (?, ?, ?, '9876543210', ?, ?, 550, ?, ?, '570001')"_s,
            {appNo, regno, QString(u"NAME "_s + regno), QString(regno + u"@mail.test"_s),
             u"1, O'BRIEN ROAD; -- FLAT 2"_s, QDate(2026, 3, 1), status});
    }
    const BatchRun r = ok({u"import-online"_s});
    EXPECT_EQ(app().count(u"select count(*) from convofee"_s), 2) << r.both();
    EXPECT_EQ(app().text(u"select fregno from convofee where fappno = 'A2'"_s), u"U0004"_s);
    EXPECT_EQ(app().text(u"select faddr1 from convofee where fappno = 'A1'"_s), u"1, O`BRIEN ROAD; -- FLAT 2"_s);
    EXPECT_EQ(candidate(u"U0002"_s, u"ffeepaid"_s), u"T"_s);
    EXPECT_EQ(candidate(u"U0004"_s, u"ffeepaid"_s), u"T"_s);
    EXPECT_NE(candidate(u"U0006"_s, u"ffeepaid"_s), u"T"_s);
    EXPECT_EQ(candidate(u"U0004"_s, u"femail"_s), u"U0004@mail.test"_s);
}

void ConvocationRoad::verificationAndActivation()
{
    const BatchRun verified = ok({u"verify"_s, u"--degree"_s, u"BA"_s, u"--college"_s, u"C01"_s});
    EXPECT_TRUE(verified.out.contains(u"5 of 5 candidates changed"_s)) << verified.both();
    EXPECT_EQ(
        app().count(u"select count(*) from convo where ffeepaid = 'T' and fcollcode = 'C01' and fdegree = 'BA'"_s), 5);
    EXPECT_NE(candidate(u"U0011"_s, u"ffeepaid"_s), u"T"_s); // BSC stays as it was

    ok({u"activate"_s, u"--degree"_s, u"BA"_s, u"--college"_s, u"C01"_s, u"--to-college"_s, u"C02"_s});
    // Only fee-verified candidates become active: the five of C01 and the two who paid online.
    const bool portal = m_portal != nullptr;
    EXPECT_EQ(app().count(u"select count(*) from convo where factive = 'T'"_s), portal ? 7 : 5);
    EXPECT_EQ(candidate(u"U0006"_s, u"factive"_s), u"F"_s);
    EXPECT_EQ(candidate(u"U0009"_s, u"factive"_s), u"T"_s);
}

void ConvocationRoad::printingWithASpoiledSheet()
{
    // The plain layout asks after every sheet; the third sheet comes out badly.
    const BatchRun r =
        app().run({u"--yes"_s, u"print"_s, u"--degree"_s, u"BA"_s, u"--type"_s, u"1"_s, u"--no-temp"_s, u"--start"_s,
                   u"1001"_s, u"--end"_s, u"1100"_s, u"--date"_s, u"15/03/2026"_s, u"--output"_s,
                   app().scratch(u"sheets"_s), u"--printed-ok"_s, u"--spoiled"_s, u"1003"_s});
    ASSERT_EQ(r.exitCode, 0) << r.both();
    const bool portal = m_portal != nullptr;
    const int printed = portal ? 6 : 4;
    EXPECT_TRUE(r.out.contains(u"printed: "_s + QString::number(printed)
                               + u", spoiled: 1, passed over: 0, previewed: 0, PDF copies: 0"_s))
        << r.both();
    // Sheets follow college then register number: 1001 U0001, 1002 U0003, 1003 spoiled on U0005.
    EXPECT_EQ(candidate(u"U0001"_s, u"fcertno"_s), u"001001"_s);
    EXPECT_EQ(candidate(u"U0003"_s, u"fcertno"_s), u"001002"_s);
    EXPECT_EQ(candidate(u"U0005"_s, u"fcertno"_s), QString());
    EXPECT_EQ(candidate(u"U0007"_s, u"fcertno"_s), u"001004"_s);
    EXPECT_EQ(app().db().scalar(u"select fdate from convo where fregno = 'U0007'"_s).toDate(), QDate(2026, 3, 15));
    EXPECT_EQ(printedCount(), printed);
    EXPECT_EQ(app().count(u"select count(*) from stationery where foutcome = 'SPOILED' and fnumber = 1003 "
                          "and fregno = 'U0005'"_s),
              1);
    // Every sheet went to a PDF file named by its number, readable by an independent reader;
    // the spoiled one was moved out of the way of the valid ones, into Spoiled/.
    const QStringList sheets = QDir(app().scratch(u"sheets"_s)).entryList({u"*.pdf"_s}, QDir::Files, QDir::Name);
    EXPECT_EQ(sheets.size(), printed) << sheets.join(u' ').toStdString();
    EXPECT_EQ(QDir(app().scratch(u"sheets/Spoiled"_s)).entryList({u"*.pdf"_s}, QDir::Files),
              QStringList{u"001003_U0005.pdf"_s});
    EXPECT_TRUE(test::pdfLayoutText(app().scratch(u"sheets/001004_U0007.pdf"_s)).contains(u"NAME O`7"_s));

    // The spoiled candidate is printed on the next run, on the next sheet.
    // --yes answered the run's first question, which named the numbers and the date.
    const QString last = QString::number(1001 + printed), next = QString::number(1001 + printed + 1);
    EXPECT_TRUE(r.out.contains(QString::number(printed + 1) + u" certificates, 001001 to 00"_s + last
                               + u", date of issue 15/03/2026: go on? -> Yes"_s))
        << r.both();
    EXPECT_TRUE(r.out.contains(u"numbers used: 001001 to 00"_s + last + u"\nnext certificate number: 00"_s + next))
        << r.both();
    const BatchRun again = app().run({u"--yes"_s, u"print"_s, u"--degree"_s, u"BA"_s, u"--type"_s, u"1"_s,
                                      u"--no-temp"_s, u"--start"_s, next, u"--end"_s, u"1100"_s, u"--date"_s,
                                      u"15/03/2026"_s, u"--output"_s, app().scratch(u"sheets2"_s), u"--printed-ok"_s});
    ASSERT_EQ(again.exitCode, 0) << again.both();
    EXPECT_EQ(candidate(u"U0005"_s, u"fcertno"_s), u"00"_s + next);
    EXPECT_EQ(printedCount(), printed + 1);
}

void ConvocationRoad::pdfCopiesAndPrintedList()
{
    const int printed = printedCount();
    const BatchRun copies = ok({u"--yes"_s, u"pdf"_s, u"--degree"_s, u"BA"_s, u"--type"_s, u"1"_s, u"--no-temp"_s});
    const QStringList files = QDir(app().path(u"CSV/DCPDF"_s)).entryList({u"*.pdf"_s}, QDir::Files, QDir::Name);
    EXPECT_EQ(files.size(), printed) << copies.both();
    EXPECT_TRUE(files.contains(u"DC_003_U0007_F_2025_1.pdf"_s)) << files.join(u' ').toStdString();
    EXPECT_TRUE(test::pdfLayoutText(app().path(u"CSV/DCPDF/DC_003_U0007_F_2025_1.pdf"_s)).contains(u"NAME O`7"_s));
    // Copies change nothing in the database.
    EXPECT_EQ(printedCount(), printed);

    const QString list = app().scratch(u"printed.Prn"_s);
    // The list goes by the day the sheets were printed (today), not by the date of issue.
    ok({u"report"_s, u"printed-list"_s, u"--from"_s, yesterday(), u"--to"_s, tomorrow(), u"--out"_s, list});
    const QString text = test::fileText(list);
    EXPECT_EQ(expectEveryPrintedIn(text), printed);
    EXPECT_FALSE(text.contains(u"U0006"_s)); // never printed
}

void ConvocationRoad::portalUpdate()
{
    if (!m_portal)
        return;
    // --yes: only the candidates who paid online.
    const BatchRun r = ok({u"--yes"_s, u"online-update"_s, u"--from"_s, yesterday(), u"--to"_s, tomorrow()});
    EXPECT_TRUE(r.out.contains(u"Total No. of Records Updated : 2"_s)) << r.both();
    for (const QString &regno : {u"U0002"_s, u"U0004"_s}) {
        EXPECT_EQ(m_portal->db().scalar(u"select fcertno from dcstud where fregno = ?"_s, {regno}).toString(),
                  candidate(regno, u"fcertno"_s))
            << regno.toStdString();
    }
    EXPECT_TRUE(m_portal->db().scalar(u"select fcertno from dcstud where fregno = 'U0006'"_s).isNull());
}

void ConvocationRoad::backupAndRestore()
{
    const int candidates = app().count(u"select count(*) from convo"_s);
    const QString certOf7 = candidate(u"U0007"_s, u"fcertno"_s);
    const BatchRun b = ok({u"backup"_s});
    const QStringList backups = QDir(app().path(u"Backup"_s)).entryList({u"*.bak"_s}, QDir::Files);
    ASSERT_EQ(backups.size(), 1) << b.both();

    // A mistake after the backup: candidates lost.
    app().db().exec(u"delete from convo where fregno in ('U0007', 'U0008')"_s);
    ASSERT_EQ(app().count(u"select count(*) from convo"_s), candidates - 2);

    const QString file = app().path(u"Backup/"_s + backups.first());
    app().disconnect(); // a restore waits until no other program is connected
    const BatchRun refused = app().run({u"--no"_s, u"restore"_s, file}, u"ADMN"_s);
    app().reconnect();
    EXPECT_EQ(app().count(u"select count(*) from convo"_s), candidates - 2) << refused.both();
    app().disconnect();
    const BatchRun r = app().run({u"--yes"_s, u"restore"_s, file}, u"ADMN"_s);
    app().reconnect();
    ASSERT_EQ(r.exitCode, 0) << r.both();
    EXPECT_EQ(app().count(u"select count(*) from convo"_s), candidates);
    EXPECT_EQ(candidate(u"U0007"_s, u"fcertno"_s), certOf7);
    EXPECT_GT(app().count(u"select count(*) from stationery"_s), 0);
}

void ConvocationRoad::stationeryAccountsForEverySheet()
{
    // Two runs used the sheets from 1001 on without a gap: one spoiled, the rest printed.
    const long long first = 1001;
    const long long last = app().db().scalar(u"select max(fnumber) from stationery"_s).toLongLong();
    EXPECT_EQ(last, first + printedCount()); // every printed candidate and the spoiled sheet
    // Every stored number is a PRINTED sheet of its candidate.
    Rows stored = app().db().query(u"select fregno, fcertno from convo where fcertno <> ''"_s);
    int storedCount = 0;
    while (stored.next()) {
        ++storedCount;
        EXPECT_EQ(app().count(u"select count(*) from stationery where fregno = ? and fcertno = ? "
                              "and foutcome = 'PRINTED'"_s,
                              {stored.text(0).trimmed(), stored.text(1).trimmed()}),
                  1)
            << stored.text(0).toStdString();
    }
    // The register as the clerk reads it: each number used once (none never used, none used twice),
    // as many printed as candidates hold a number, the one spoiled sheet.
    const BatchRun r = ok({u"stationery"_s, u"--from"_s, QString::number(first), u"--to"_s, QString::number(last)});
    EXPECT_TRUE(r.out.contains(QString::number(last - first + 1) + u" numbers: "_s + QString::number(storedCount)
                               + u" printed, 1 spoiled, 0 void, 0 pending, 0 never used; 0 used more than once"_s))
        << r.both();
    EXPECT_TRUE(r.out.contains(u"SPOILED"_s)) << r.both();
}

void ConvocationRoad::goldMedalAndCashPrize()
{
    const QString good = app().scratch(u"awards.csv"_s);
    test::writeFile(good, "type,regno,degree,college,donor,subject,amount\n"
                          "GC,U0005,BA,C01,Endowment Trust,History,\n"
                          "CC,U0007,BA,C01,O'Neil; -- Fund,Kannada,2500.50\n");
    const BatchRun imported = ok({u"awards"_s, u"import"_s, good});
    EXPECT_TRUE(imported.out.contains(u"2 awards of awards.csv registered"_s)) << imported.both();

    const QString degreeCertificate = candidate(u"U0005"_s, u"fcertno"_s);
    // The prefix is stationery's, typed in any case.
    for (const auto &[type, prefix] : {std::pair{u"G"_s, u"GM"_s}, std::pair{u"C"_s, u"cp"_s}})
        ok({u"--yes"_s, u"print"_s, u"--degree"_s, u"BA"_s, u"--type"_s, type, u"--prefix"_s, prefix, u"--start"_s,
            u"1"_s, u"--end"_s, u"50"_s, u"--date"_s, u"15/03/2026"_s, u"--output"_s,
            app().scratch(u"awards-"_s + type), u"--printed-ok"_s});
    EXPECT_EQ(app().text(u"select fcertno from rankreg where fregno = 'U0005' and fcerttype = 'GC'"_s), u"GM000001"_s);
    EXPECT_EQ(app().text(u"select fcertno from rankreg where fregno = 'U0007' and fcerttype = 'CC'"_s), u"CP000001"_s);
    EXPECT_EQ(app().text(u"select fdonername from rankreg where fregno = 'U0007' and fcerttype = 'CC'"_s),
              u"O`Neil; -- Fund"_s);
    EXPECT_EQ(candidate(u"U0005"_s, u"fcertno"_s), degreeCertificate);
    for (const QString &prefix : {u"GM"_s, u"CP"_s})
        EXPECT_EQ(app().count(u"select count(*) from stationery where fprefix = ? and fnumber = 1 "
                              "and foutcome = 'PRINTED'"_s,
                              {prefix}),
                  1)
            << prefix.toStdString();
    EXPECT_TRUE(test::pdfLayoutText(app().scratch(u"awards-C/CP000001_U0007.pdf"_s)).contains(u"2500.50"_s));

    // The convocation's awards as the clerk lists them: each with its own sheet.
    const BatchRun list = ok({u"rank"_s, u"list"_s, u"--degree"_s, u"BA"_s});
    EXPECT_TRUE(list.out.contains(u"BA\tU0005\tNAME O`5\tGC\tHistory\tGM000001\n"_s)) << list.both();
    EXPECT_TRUE(list.out.contains(u"BA\tU0007\tNAME O`7\tCC\tKannada, Rs. 2500.50\tCP000001\n"_s)) << list.both();
    EXPECT_TRUE(list.out.contains(u"2 awards"_s)) << list.both();
}

void ConvocationRoad::depositoryWorkbook()
{
    const QString book = app().scratch(u"nad.xlsx"_s);
    app().db().exec(u"update control set fnadid = 'NAD000777'"_s);
    app().db().exec(u"update degree set fcoursecode = "_s + app().db().dialect().concat({u"'CRS-'"_s, u"fdegree"_s})
                    + u", feventid = 'EV1', fcredit = 'F'"_s);
    const BatchRun r = ok({u"nad-export"_s, u"--layout"_s, u"cdsl"_s, u"--out"_s, book});

    // Every printed candidate whose PDF copy the pdf command made is found (the copies' names
    // are the ones the export looks for); as none was signed, 003's rows, which name the
    // signed copies, leave each out and say so. The rows themselves are NadExportTest's.
    const QStringList copies = QDir(app().path(u"CSV/DCPDF"_s)).entryList({u"*.pdf"_s}, QDir::Files);
    int withACopy = 0;
    Rows printed = app().db().query(u"select fregno from convo where fcertno <> ''"_s);
    while (printed.next())
        withACopy += copies.filter(u"_"_s + printed.text(0).trimmed() + u"_"_s).isEmpty() ? 0 : 1;
    ASSERT_GT(withACopy, 0);
    EXPECT_EQ(r.out, book + u" (0 rows)\n"_s) << r.both();
    EXPECT_TRUE(r.err.contains(QString::number(withACopy) + u" certificate(s) left out: the PDF copy is not signed"_s))
        << r.both();
}

void ConvocationRoad::nsdlWorkbook()
{
    // The other depository reads the result-processing tables kept in the same database.
    const QString book = app().scratch(u"nsdl.xlsx"_s);
    Database &db = app().db();
    test::addDegreeResultColumns(db);
    test::createResultTables(db);
    for (const QString &regno : {u"U0001"_s, u"U0003"_s, u"U0011"_s})
        test::addStudent(db, regno, regno == u"U0011"_s ? u"BSC"_s : u"BA"_s);
    test::addResult(db, u"A"_s, u"U0001"_s, u"P"_s, u"0"_s, u"T"_s, u"T"_s, u"BA"_s, u"C01"_s);
    test::addResult(db, u"A"_s, u"U0003"_s, u"F"_s, u"0"_s, u"T"_s, u"T"_s, u"BA"_s, u"C01"_s);
    test::addResult(db, u"B"_s, u"U0011"_s, u"P"_s, u"0"_s, u"T"_s, u"T"_s, u"BSC"_s, u"C01"_s);

    // --pass-only leaves U0003's fail out; which rows and columns: NsdlTest.
    for (const auto &[passOnly, rows] : {std::pair{false, 3}, std::pair{true, 2}}) {
        QStringList command{u"nad-export"_s, u"--layout"_s, u"nsdl"_s, u"--out"_s, book};
        if (passOnly)
            command << u"--pass-only"_s;
        const BatchRun r = ok(command);
        EXPECT_EQ(r.out, book + u" ("_s + QString::number(rows) + u" rows)\n"_s) << r.both();
    }
}

void ConvocationRoad::coveringLetters()
{
    // A letter per college lists every certificate printed today with its number.
    const QString letters = app().scratch(u"letters.pdf"_s);
    ok({u"letters"_s, u"college"_s, u"--from"_s, yesterday(), u"--to"_s, tomorrow(), u"--out"_s, letters});
    const QString text = test::pdfLayoutText(letters);
    EXPECT_GT(expectEveryPrintedIn(text), 0);
    EXPECT_TRUE(text.contains(u"Enclosed: Total"_s)) << text.toStdString();
}

void ConvocationRoad::addressLabels()
{
    const QString labels = app().scratch(u"labels.pdf"_s);
    const QStringList command{u"labels"_s, u"--from"_s, yesterday(), u"--to"_s, tomorrow(), u"--out"_s, labels};
    if (!m_portal) {
        // Labels go to candidates who applied with an address; without the portal none did.
        EXPECT_TRUE(test::endedWith(app().run(command), 1, u"No Data found"_s));
        EXPECT_FALSE(QFile::exists(labels));
        return;
    }
    const BatchRun r = ok(command);
    EXPECT_TRUE(r.out.contains(u"(2 labels)"_s)) << r.both();
    const QString text = test::pdfLayoutText(labels);
    for (const QString &regno : {u"U0002"_s, u"U0004"_s}) {
        EXPECT_TRUE(text.contains(u"Cert. No: "_s + candidate(regno, u"fcertno"_s))) << text.toStdString();
        EXPECT_TRUE(text.contains(u"NAME "_s + regno)) << regno.toStdString();
    }
    EXPECT_TRUE(text.contains(u"1, O`BRIEN ROAD; -- FLAT 2"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"Pincode - 570001"_s)) << text.toStdString();
}

TEST_P(ConvocationRoad, FromSetUpToRestoreEveryStepChangesWhatItMust)
{
    // Each step builds on the one before: the road stops at the first step that fails.
    ASSERT_NO_FATAL_FAILURE(mastersFromCsv());
    ASSERT_NO_FATAL_FAILURE(resultFileAndAutonomousFile());
    ASSERT_NO_FATAL_FAILURE(onlineApplications());
    ASSERT_NO_FATAL_FAILURE(verificationAndActivation());
    ASSERT_NO_FATAL_FAILURE(printingWithASpoiledSheet());
    ASSERT_NO_FATAL_FAILURE(pdfCopiesAndPrintedList());
    ASSERT_NO_FATAL_FAILURE(portalUpdate());
    ASSERT_NO_FATAL_FAILURE(stationeryAccountsForEverySheet());
    ASSERT_NO_FATAL_FAILURE(goldMedalAndCashPrize());
    ASSERT_NO_FATAL_FAILURE(depositoryWorkbook());
    ASSERT_NO_FATAL_FAILURE(nsdlWorkbook());
    ASSERT_NO_FATAL_FAILURE(coveringLetters());
    ASSERT_NO_FATAL_FAILURE(addressLabels());
    ASSERT_NO_FATAL_FAILURE(backupAndRestore());
}

INSTANTIATE_TEST_SUITE_P(Backends, ConvocationRoad, test::bothBackends(), test::backendName);

} // namespace
