// SPDX-License-Identifier: GPL-3.0-or-later
// The library's bulk paths answer from memory: they must agree with what the table says.
#include "masters/namelibrary/kannadanameupdate.h"
#include "masters/namelibrary/namelibrary.h"
#include "shell/core/legacytext.h"
#include "support/scriptedprompter.h"
#include "support/testdatabase.h"

#include <QProcess>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::TestBackend;

namespace {

class NameLibraryBulkTest : public test::InstalledFolderTest
{
protected:
    QString spelling(const QString &word)
    {
        return m_db->scalar(u"select fkanname from kanlib where fengname = ?"_s, {word}).toString();
    }
    int count(const QString &word)
    {
        return m_db->scalar(u"select count(*) from kanlib where upper(fengname) = ?"_s, {word}).toInt();
    }
};

TEST_P(NameLibraryBulkTest, BuildingKeepsWordsTypedInAnyCaseAndTheFirstSpellingOfANewWord)
{
    // A word the candidate form stored as typed counts as known in upper case.
    m_db->exec(u"insert into kanlib (fengname, fkanname) values ('Rama', ?)"_s, {legacytext::fromBytes("\xF0")});
    const QString first = legacytext::fromBytes("\xE6\xD2");
    const QString second = legacytext::fromBytes("\xE7\xD3");
    m_db->exec(u"insert into convo (fregno, fname, fnamekan) values ('A1', 'RAMA KUMAR', ?)"_s,
               {QString(legacytext::fromBytes("\xF1 ") + first)});
    m_db->exec(u"insert into convo (fregno, fname, fnamekan) values ('A2', 'KUMAR', ?)"_s, {second});
    test::ScriptedPrompter prompter;
    const KannadaNameUpdate::Result result = KannadaNameUpdate(*m_db, prompter).build();
    ASSERT_TRUE(result.done) << prompter.last().toStdString();
    EXPECT_EQ(result.wordsAdded, 1);
    EXPECT_EQ(count(u"RAMA"_s), 1);
    EXPECT_EQ(spelling(u"Rama"_s), legacytext::fromBytes("\xF0"));
    EXPECT_EQ(count(u"KUMAR"_s), 1);
    // Rows are read in English name order: "KUMAR" before "RAMA KUMAR".
    EXPECT_EQ(spelling(u"KUMAR"_s), second);
}

TEST_P(NameLibraryBulkTest, AKannadaNameEndingInTheFontsByteA0KeepsIt)
{
    // 0xA0 is a letter of the legacy font though Unicode calls it a blank.
    const QByteArray withA0("\xC5\xA0");
    m_db->exec(u"insert into convo (fregno, fname, fnamekan) values ('B1', 'GOWDA', ?)"_s,
               {legacytext::fromBytes(withA0)});
    m_db->exec(u"insert into convo (fregno, fname) values ('B2', 'GOWDA')"_s);
    test::ScriptedPrompter prompter;
    ASSERT_TRUE(KannadaNameUpdate(*m_db, prompter).build().done);
    EXPECT_EQ(legacytext::toBytes(spelling(u"GOWDA"_s)), withA0);
    ASSERT_TRUE(KannadaNameUpdate(*m_db, prompter).fill().done);
    EXPECT_EQ(legacytext::toBytes(m_db->scalar(u"select fnamekan from convo where fregno = 'B2'"_s).toString()),
              withA0);
    EXPECT_EQ(NameLibrary::trimBlanks(legacytext::fromBytes("  \xA0X\xA0 ")), legacytext::fromBytes("\xA0X\xA0"));
}

TEST_P(NameLibraryBulkTest, TheCommandFillsTheNamesAndPrintsALinePerPercentNotPerCandidate)
{
    m_db->exec(u"insert into kanlib (fengname, fkanname) values ('RAVI', ?)"_s, {legacytext::fromBytes("\xF2\xB5")});
    {
        WriteScope scope(*m_db);
        for (int i = 0; i < 300; ++i)
            m_db->exec(u"insert into convo (fregno, fname, fconvocode) values (?, 'RAVI', 'C26')"_s,
                       {QString(u"N%1"_s.arg(i, 4, 10, QChar(u'0')))});
        scope.commit();
    }
    m_db.reset();
    QProcess p;
    p.start(QStringLiteral(SCROLLWISE_BATCH_PATH), {u"--folder"_s, m_folder->folder().root(), u"--user"_s, u"ADMIN"_s,
                                                    u"--password"_s, u"ADMIN"_s, u"kannada-fill"_s});
    ASSERT_TRUE(p.waitForFinished(60000));
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_TRUE(out.contains(u"Kannada names filled: 300\n"_s)) << out.toStdString();
    EXPECT_LE(out.count(u"Updating Reg. No.: "_s), 101) << out.toStdString();
    EXPECT_EQ(m_folder->connect()->scalar(u"select count(*) from convo where fnamekan is not null"_s).toInt(), 300);
}

INSTANTIATE_TEST_SUITE_P(Backends, NameLibraryBulkTest, ::testing::Values(TestBackend::SQLite, TestBackend::MariaDB),
                         test::backendName);

} // namespace
