// SPDX-License-Identifier: GPL-3.0-or-later
// Loading master tables from files: a good file; a file whose header is wrong, refused
// whole; bad rows, rejected with line, field and reason while the good ones are added;
// the declared encoding; the screens' rules for codes, dates and the active convocation.
#include "masters/masterimport.h"
#include "shell/core/csvreader.h"
#include "shell/core/importtally.h"
#include "shell/core/legacytext.h"
#include "shell/db/database.h"
#include "support/testdatabase.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "support/batchrun.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

class MasterImportTest : public test::InstalledFolderTest
{
protected:
    QString file(const QByteArray &content)
    {
        const QString path = m_dir.filePath(u"colleges.csv"_s);
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(content);
        return path;
    }
    int count(const QString &table) { return m_db->scalar(u"select count(*) from "_s + m_db->table(table)).toInt(); }
    MasterImport::Result load(const QString &table, const QByteArray &content,
                              legacytext::Encoding encoding = legacytext::Encoding::Cp1252)
    {
        MasterImport import(*m_db, m_folder->folder());
        return import.run(table, file(content), encoding);
    }
    // The reject file's lines below its header: line, field and reason of each.
    QStringList rejected()
    {
        QStringList out;
        const CsvReader::Result read = CsvReader::readFile(RejectFile::pathBeside(m_dir.filePath(u"colleges.csv"_s)));
        for (size_t i = 1; i < read.records.size(); ++i)
            out << read.records[i].fields.mid(0, 5).join(u'|');
        return out;
    }
    test::BatchRun batch(const QStringList &arguments, const QString &convo = u"C26"_s)
    {
        return test::runBatch(QStringList{u"--folder"_s, m_folder->folder().root(), u"--user"_s, u"ADMIN"_s,
                                          u"--password"_s, u"ADMIN"_s, u"--convo"_s, convo}
                              + arguments);
    }

    QTemporaryDir m_dir;
};

TEST_P(MasterImportTest, AGoodFileAddsEveryRow)
{
    const auto result = load(u"COLLEGE"_s, "FCOLLNAME,fcollcode\r\n\"Govt. College, Town\",001\r\nSt. Mary's,a02\r\n");
    ASSERT_TRUE(result.done) << result.error.toStdString();
    EXPECT_EQ(result.counts.inserted, 2);
    EXPECT_EQ(result.counts.accounted(), 2);
    EXPECT_TRUE(result.counts.rejectFile.isEmpty());
    // Codes are upper case, as typing makes them.
    EXPECT_EQ(
        m_db->scalar(u"select fcollname from "_s + m_db->table(u"COLLEGE"_s) + u" where fcollcode = ?"_s, {u"A02"_s})
            .toString(),
        u"St. Mary`s"_s);
}

TEST_P(MasterImportTest, AFileWhoseHeaderIsWrongIsRefusedWhole)
{
    const std::pair<QByteArray, QString> cases[] = {
        {"fcollcode\n001\n", u"colleges.csv line 1: column \"fcollname\" is missing"_s},
        {"fcollcode,fcollname,fphone\n001,One,X\n",
         u"colleges.csv line 1: unknown column \"fphone\" (known: fcollcode, fcollname, ftown, fdeleted)"_s},
        {"fcollcode,fcollcode\n001,One\n", u"colleges.csv line 1: column \"fcollcode\" is named twice"_s},
        {"", u"colleges.csv: the file is empty; its first line must name the columns"_s},
    };
    for (const auto &[content, message] : cases) {
        const auto result = load(u"college"_s, content);
        EXPECT_FALSE(result.done);
        EXPECT_EQ(result.error.toStdString(), message.toStdString());
        EXPECT_EQ(count(u"COLLEGE"_s), 0) << message.toStdString();
    }
}

TEST_P(MasterImportTest, EachBadRowIsRejectedWithLineFieldAndReasonAndTheGoodOnesAdded)
{
    m_db->exec(u"insert into "_s + m_db->table(u"COLLEGE"_s) + u" (fcollcode, fcollname) values ('C09', 'There')"_s);
    const auto result = load(u"college"_s, "fcollcode,fcollname\n"
                                           "001,One\n"         // 2: good
                                           "003,\n"            // 3: no name
                                           ",Two\n"            // 4: no code
                                           "001,Again\n"       // 5: twice in the file
                                           "00001,Long\n"      // 6: too wide
                                           "004,Two,extra\n"   // 7: a field too many
                                           "c09,Already\n"     // 8: in the table (any case): left alone
                                           "005,Tab\there\n"); // 9: a control character
    ASSERT_TRUE(result.done) << result.error.toStdString();
    EXPECT_EQ(result.counts.total, 8);
    EXPECT_EQ(result.counts.inserted, 1);
    EXPECT_EQ(result.counts.skipped, 1);
    EXPECT_EQ(result.counts.rejected, 6);
    EXPECT_EQ(count(u"COLLEGE"_s), 2);
    EXPECT_EQ(
        rejected(),
        (QStringList{u"3|rejected|fcollname||College Name should be entered."_s,
                     u"4|rejected|fcollcode||College code should be Entered"_s,
                     u"5|rejected|fcollcode|001|College Code already Entered on line 2"_s,
                     u"6|rejected|fcollcode|00001|College code 00001 is longer than 4 characters"_s,
                     u"7|rejected|||3 fields where the header names 2"_s,
                     u"8|skipped|fcollcode|C09|already in the table: left as it is"_s,
                     u"9|rejected|fcollname|Tab\there|College Name: the text holds the control character 0x09"_s}));
    EXPECT_EQ(m_db->scalar(u"select fcollname from "_s + m_db->table(u"COLLEGE"_s) + u" where fcollcode = 'C09'"_s)
                  .toString(),
              u"There"_s);
}

TEST_P(MasterImportTest, DegreeKannadaBytesComeThroughTheFileUnchanged)
{
    QByteArray kannada;
    for (int b = 0x80; b <= 0xE3; ++b) // 100 bytes, the column's width
        if (b != '"' && b != ',')
            kannada.append(char(b));
    const auto result = load(u"degree"_s, "fdegree,fdescpn,fdescpnkan,fcredit\nBSC,Science,\"" + kannada
                                              + "\",T\nBA,Arts,\xFF\xFE,F\n");
    ASSERT_TRUE(result.done) << result.error.toStdString();
    Rows rows = m_db->query(u"select fdescpnkan, fcredit from "_s + m_db->table(u"DEGREE"_s) + u" order by fdegree"_s);
    ASSERT_TRUE(rows.next());
    EXPECT_EQ(legacytext::toBytes(rows.text(0)), QByteArray("\xFF\xFE"));
    EXPECT_EQ(rows.text(1), u"F"_s);
    ASSERT_TRUE(rows.next());
    EXPECT_EQ(legacytext::toBytes(rows.text(0)), kannada);
    EXPECT_EQ(rows.text(1), u"T"_s);

    const auto twice =
        load(u"degree"_s, "fdegree,fdescpn,fdescpnkan,fcredit\nMA,Master,\xE0,T\nMA,Again,\xE1,\nMCOM,Yes,\xE2,Y\n");
    ASSERT_TRUE(twice.done);
    EXPECT_EQ(rejected(), (QStringList{u"3|rejected|fdegree|MA|Degree code already Entered on line 2"_s,
                                       u"4|rejected|fcredit|Y|Credit System takes T or F, not \"Y\""_s}));
    EXPECT_EQ(count(u"DEGREE"_s), 3);
}

TEST_P(MasterImportTest, KannadaBytesThatLookLikeUtf8StayAsTheyAreUnlessTheFileSaysUtf8)
{
    // Found in the field: "\xC3\xA0" is two glyphs of the legacy font, and also the UTF-8 of
    // one character; the file was taken for UTF-8 and its Kannada bytes changed.
    const QByteArray content = "fclasscode,fclassdesc,fclassdesckan\nFC,First Class,\xC3\xA0\xC3\xA8\n";
    ASSERT_TRUE(load(u"class"_s, content).done);
    EXPECT_EQ(legacytext::toBytes(m_db->scalar(u"select fclassdesckan from "_s + m_db->table(u"CLASS"_s)).toString()),
              QByteArray("\xC3\xA0\xC3\xA8"));
    // A UTF-8 file says so, and its characters become the legacy bytes they stand for.
    ASSERT_TRUE(load(u"class"_s, "fclasscode,fclassdesc,fclassdesckan\nSC,Second,\xC3\xA0\xC3\xA8\n",
                     legacytext::Encoding::Utf8)
                    .done);
    EXPECT_EQ(legacytext::toBytes(m_db->scalar(u"select fclassdesckan from "_s + m_db->table(u"CLASS"_s)
                                               + u" where fclasscode = 'SC'"_s)
                                      .toString()),
              QByteArray("\xE0\xE8"));
}

TEST_P(MasterImportTest, ConvocationsTakeTheirKannadaColumnsRealDatesAndOneActive)
{
    const auto result = load(u"masconvo"_s, "fconvocode,fconvoname,fdate,factive,fconvonamekan,fdatekan\n"
                                            "C25,Old,12/03/2025,T,\xE0\xE1,\xF0\n"
                                            "C26,New,31/02/2026,F,\xE2,\xF1\n"
                                            "C27,Newer,01/03/2027,T,\xE3,\xF2\n"
                                            "C28,Later,,F,,\n");
    ASSERT_TRUE(result.done) << result.error.toStdString();
    EXPECT_EQ(result.counts.inserted, 2);
    EXPECT_EQ(rejected(),
              (QStringList{u"3|rejected|fdate|31/02/2026|Convocation Date \"31/02/2026\" is not a date (dd/mm/yyyy)"_s,
                           u"4|rejected|factive|T|Only one convocation can be active: C25 and C27 are both ticked"_s}));
    Rows rows = m_db->query(u"select fconvonamekan, fdatekan from "_s + m_db->table(u"MASCONVO"_s)
                            + u" where fconvocode = 'C25'"_s);
    ASSERT_TRUE(rows.next());
    EXPECT_EQ(legacytext::toBytes(rows.text(0)), QByteArray("\xE0\xE1"));
    EXPECT_EQ(legacytext::toBytes(rows.text(1)), QByteArray("\xF0"));
}

TEST_P(MasterImportTest, TheCommandLineLoadsAndListsATable)
{
    const QString path = file("fconvocode,fconvoname,fdate,factive\nC26,Convocation 2026,04/12/2026,T\n");
    // The convocation screen is greyed under the administration code, and so is its load.
    const test::BatchRun admn = batch({u"masters"_s, u"import"_s, u"masconvo"_s, path}, u"ADMN"_s);
    EXPECT_EQ(admn.exitCode, 1);
    EXPECT_TRUE(admn.err.contains(u"is the work of a convocation (menu item N14)"_s)) << admn.err.toStdString();
    EXPECT_EQ(count(u"MASCONVO"_s), 0);

    const test::BatchRun loaded = batch({u"masters"_s, u"import"_s, u"masconvo"_s, path});
    ASSERT_EQ(loaded.exitCode, 0) << loaded.err.toStdString();
    EXPECT_TRUE(loaded.out.startsWith(u"rows added to masconvo: 1\ntotal records: 1, imported records: 1"_s))
        << loaded.out.toStdString();

    const test::BatchRun list = batch({u"masters"_s, u"list"_s, u"masconvo"_s});
    ASSERT_EQ(list.exitCode, 0) << list.err.toStdString();
    EXPECT_TRUE(list.out.startsWith(u"fconvocode\tfconvoname\tfdate\tfactive\t"_s)) << list.out.toStdString();
    EXPECT_TRUE(list.out.contains(u"\nC26\tConvocation 2026\t04/12/2026\tT\t"_s)) << list.out.toStdString();

    const test::BatchRun encoding = batch({u"masters"_s, u"import"_s, u"class"_s, path, u"--encoding"_s, u"latin9"_s});
    EXPECT_EQ(encoding.exitCode, 2);
    const test::BatchRun unknown = batch({u"masters"_s, u"list"_s, u"convo"_s});
    EXPECT_EQ(unknown.exitCode, 2);
}

// Issue: masters list wrote columns (fdeleted, ftown) that masters import refused, so
// a listing could not be loaded into another folder. Each master table, filled with the
// awkward values a section's data holds (legacy Kannada bytes, commas, quotes, a deleted
// row, flags given and left empty, a college's town), is listed to a file, loaded into a fresh
// folder with the defaults, and listed there again: the two listings are the same. The
// listing on standard output loads the same with --encoding utf-8.
TEST_P(MasterImportTest, AListingLoadsIntoAnotherFolderAsItWas)
{
    const QString kannada = legacytext::fromBytes(QByteArray("\xA5\xC0\x78\xC0\xAA\xC0\xC4"));
    const struct
    {
        QString table;
        QString insert;
        QVariantList rows[2];
    } tables[] = {
        {u"masuniv"_s,
         u"funivcode, funivname, fdeleted"_s,
         {{u"U1"_s, u"Varada University, Suvarnapura"_s, QString()}, {u"U2"_s, u"Old \"Board\""_s, u"T"_s}}},
        {u"college"_s,
         u"fcollcode, fcollname, ftown, fdeleted"_s,
         {{u"101"_s, u"Govt College, Arts"_s, u"Suvarnapura"_s, QString()},
          {u"102"_s, u"City College"_s, QString(), u"F"_s}}},
        {u"class"_s,
         u"fclasscode, fclassdesc, fclassdesckan, fdeleted"_s,
         {{u"FC"_s, u"FIRST CLASS"_s, kannada, QString()}, {u"SC"_s, u"SECOND, WITH \"MERIT\""_s, QString(), u"T"_s}}},
        {u"masconvo"_s,
         u"fconvocode, fconvoname, fdate, factive, fdatekan, fconvonamekan, fdeleted, fexamdatekan"_s,
         {{u"C25"_s, u"Convocation 2025"_s, u"20/12/2025"_s, u"F"_s, kannada, kannada, QString(), kannada},
          {u"C26"_s, u"Convocation, 2026"_s, u"04/12/2026"_s, u"T"_s, QString(), QString(), QString(), QString()}}},
        {u"degree"_s,
         u"fdegree, fdescpn, fspecial, fdeleted, fdescpnkan, fspecialkan, fcoursecode, feventid, fcredit"_s,
         {{u"BSC"_s, u"BACHELOR OF SCIENCE"_s, QString(), QString(), kannada, QString(), u"UG-BSC-01"_s, u"EV1"_s,
           u"T"_s},
          {u"MSCPH"_s, u"MASTER OF SCIENCE"_s, u"PHYSICS, APPLIED"_s, u"T"_s, kannada, kannada, QString(), QString(),
           u"F"_s}}},
    };
    test::InstalledFolder other(GetParam());
    const auto listOf = [&](const test::InstalledFolder &folder, const QString &table) {
        const test::BatchRun run =
            test::runBatch({u"--folder"_s, folder.folder().root(), u"--user"_s, u"ADMIN"_s, u"--password"_s, u"ADMIN"_s,
                            u"--convo"_s, u"C26"_s, u"masters"_s, u"list"_s, table});
        EXPECT_EQ(run.exitCode, 0) << run.both();
        return run.out;
    };
    for (const auto &t : tables) {
        const QString marks = QStringList(t.insert.count(u',') + 1, u"?"_s).join(u", "_s);
        for (const QVariantList &row : t.rows)
            m_db->exec(u"insert into "_s + m_db->table(t.table.toUpper()) + u" ("_s + t.insert + u") values ("_s + marks
                           + u')',
                       row);
        const QString listing = m_dir.filePath(t.table + u".txt"_s);
        const test::BatchRun written = batch({u"masters"_s, u"list"_s, t.table, u"--out"_s, listing});
        ASSERT_EQ(written.exitCode, 0) << written.both();
        const test::BatchRun loaded =
            test::runBatch({u"--folder"_s, other.folder().root(), u"--user"_s, u"ADMIN"_s, u"--password"_s, u"ADMIN"_s,
                            u"--convo"_s, u"C26"_s, u"masters"_s, u"import"_s, t.table, listing});
        ASSERT_EQ(loaded.exitCode, 0) << t.table.toStdString() << loaded.both();
        EXPECT_TRUE(loaded.out.contains(u"imported records: 2"_s)) << t.table.toStdString() << loaded.both();
        EXPECT_EQ(listOf(other, t.table), listOf(*m_folder, t.table)) << t.table.toStdString();
    }

    // Standard output is UTF-8: it loads with --encoding utf-8 into a third folder.
    test::InstalledFolder third(GetParam());
    const QString shown = m_dir.filePath(u"shown.txt"_s);
    {
        QFile f(shown);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(listOf(*m_folder, u"class"_s).toUtf8());
    }
    const test::BatchRun utf8 = test::runBatch({u"--folder"_s, third.folder().root(), u"--user"_s, u"ADMIN"_s,
                                                u"--password"_s, u"ADMIN"_s, u"--convo"_s, u"C26"_s, u"masters"_s,
                                                u"import"_s, u"class"_s, shown, u"--encoding"_s, u"utf-8"_s});
    ASSERT_EQ(utf8.exitCode, 0) << utf8.both();
    EXPECT_EQ(listOf(third, u"class"_s), listOf(*m_folder, u"class"_s));
}

INSTANTIATE_TEST_SUITE_P(Backends, MasterImportTest, test::bothBackends(), test::backendName);

} // namespace
