// SPDX-License-Identifier: GPL-3.0-or-later
// The demo folder refilled from its own result files: a fresh installation that imports
// them holds the same candidates, convocation by convocation.
#include "candidates/imports/directoryimport.h"
#include "candidates/imports/resultimport.h"
#include "demofixture.h"
#include "shell/session.h"
#include "support/testdatabase.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

// What an import carries over of a candidate, keyed by register number, degree and college.
using Carried = std::map<QString, QString>;

const QString kCarriedColumns = u"fregno, fdegree, fcollcode, fname, fsubdegree, fclasscode, fexamdate, fyear, "
                                "fexamtype, fsex, fcaste, fconvocode"_s;

Carried carried(Database &db, bool withConvocation)
{
    Carried out;
    Rows rows = db.query(u"select "_s + kCarriedColumns + u" from convo"_s);
    while (rows.next()) {
        QStringList values;
        for (int i = 3; i < (withConvocation ? 12 : 11); ++i)
            values << rows.text(i).trimmed();
        out[rows.text(0) + u'|' + rows.text(1) + u'|' + rows.text(2)] = values.join(u'|');
    }
    return out;
}

class DemoRefillTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_fresh = std::make_unique<test::InstalledFolder>(test::TestBackend::SQLite);
        m_session.folder = m_fresh->folder();
        m_session.cn = m_fresh->connect();
        m_session.instCode = u"003"_s;
        m_session.userName = u"ADMIN"_s;
    }
    static std::unique_ptr<Database> demoDb() { return test::BuiltDemo::connect(); }
    static QString resultFile(const QString &name)
    {
        return test::BuiltDemo::folder().filePath(DemoFolder::resultFolder() + u'/' + name);
    }
    void importFile(const QString &name, const QString &convocation)
    {
        m_session.convoCode = convocation;
        ResultFileImport run(m_session, m_prompter);
        ASSERT_TRUE(run.run(resultFile(name))) << m_prompter.last().toStdString();
    }

    std::unique_ptr<test::InstalledFolder> m_fresh;
    Session m_session;
    test::ScriptedPrompter m_prompter;
};

TEST_F(DemoRefillTest, ImportingEachConvocationsFileBringsBackTheSameCandidates)
{
    importFile(u"DEMODEG.cnv"_s, DemoFolder::currentConvocation());
    importFile(u"DEMOCOL.cnv"_s, DemoFolder::currentConvocation());
    importFile(DemoFolder::resultFileName(DemoFolder::previousConvocation()), DemoFolder::previousConvocation());
    importFile(DemoFolder::resultFileName(DemoFolder::currentConvocation()), DemoFolder::currentConvocation());
    EXPECT_TRUE(m_prompter.last().startsWith(u"Imported Successfully\r\rTotal Records: 270\rImported Records: 270\r"_s))
        << m_prompter.last().toStdString();

    const Carried expected = carried(*demoDb(), true);
    ASSERT_EQ(expected.size(), std::size_t(DemoFolder::kCandidates));
    const Carried refilled = carried(m_session.db(), true);
    ASSERT_EQ(refilled.size(), expected.size());
    for (const auto &[key, values] : expected) {
        const auto found = refilled.find(key);
        ASSERT_NE(found, refilled.end()) << key.toStdString();
        EXPECT_EQ(found->second, values) << key.toStdString();
    }
    // Every degree and college a candidate carries came in with the master files.
    for (const QString &master :
         {u"degree d where d.fdegree = c.fdegree"_s, u"college k where k.fcollcode = c.fcollcode"_s})
        EXPECT_EQ(m_session.db()
                      .scalar(u"select count(*) from convo c where not exists (select 1 from "_s + master + u')')
                      .toInt(),
                  0)
            << master.toStdString();
}

TEST_F(DemoRefillTest, TheWholeFolderInOneDirectoryRunLandsInTheCurrentConvocation)
{
    m_session.convoCode = DemoFolder::currentConvocation();
    DirectoryImport run(m_session, m_prompter);
    const auto outcomes = run.run(test::BuiltDemo::folder().filePath(DemoFolder::resultFolder()), {});
    ASSERT_TRUE(outcomes) << m_prompter.last().toStdString();
    EXPECT_TRUE(m_prompter.last().startsWith(u"Imported data Successfully"_s)) << m_prompter.last().toStdString();
    // The working copy the imports read (convo.dbf) is not a ".cnv" file and is not taken.
    ASSERT_EQ(outcomes->size(), 4u);

    const Carried expected = carried(*demoDb(), false);
    const Carried refilled = carried(m_session.db(), false);
    EXPECT_EQ(refilled, expected);
    EXPECT_EQ(m_session.db()
                  .scalar(u"select count(*) from convo where fconvocode <> ?"_s, {DemoFolder::currentConvocation()})
                  .toInt(),
              0);
    // The directory run also takes the colleges' towns.
    Rows towns = demoDb()->query(u"select fcollcode, ftown from college"_s);
    int colleges = 0;
    while (towns.next()) {
        ++colleges;
        EXPECT_EQ(m_session.db().scalar(u"select ftown from college where fcollcode = ?"_s, {towns.text(0)}).toString(),
                  towns.text(1))
            << towns.text(0).toStdString();
    }
    EXPECT_GT(colleges, 0);
}

} // namespace
