// SPDX-License-Identifier: GPL-3.0-or-later
// The lookup window's rows: paged reading, narrowing as the clerk types, and the
// requests it refuses.
#include "formsfixture.h"

#include "shell/forms/lookupdialog.h"
#include "support/kannadatyping.h"
#include "support/scriptedprompter.h"

#include <QAbstractItemModelTester>
#include <QLabel>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::TestBackend;

namespace {

class LookupTest : public ::testing::TestWithParam<TestBackend>
{
protected:
    void SetUp() override
    {
        if (!test::backendAvailable(GetParam()))
            GTEST_SKIP();
        m_folder = std::make_unique<test::LoggedInFolder>(GetParam());
        WriteScope scope(m_folder->db());
        Statement insert = m_folder->db().prepare(u"insert into kanlib (fengname, fkanname) values (?, ?)"_s);
        // 250 names: ENG000 .. ENG249; every tenth also spelled with an underscore.
        for (int i = 0; i < 250; ++i) {
            const QString n = QString::number(i).rightJustified(3, u'0');
            insert.exec({QString(u"ENG"_s + n), QString((i % 10 == 0 ? u"K_"_s : u"K"_s) + n)});
        }
        scope.commit();
    }
    LookupRequest names() const { return {u"kanlib"_s, u"fengname as English, fkanname as Kannada"_s, {}, {}, {}, {}}; }
    std::unique_ptr<test::LoggedInFolder> m_folder;
    test::ScriptedPrompter m_prompter;
};

TEST_P(LookupTest, RowsAreReadAPageAtATime)
{
    LookupModel model(m_folder->db());
    model.run(names());
    // Watches the paging from here on (the tester itself fetches inside a reset, which no view does).
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_GE(model.rowCount(), LookupModel::kPageSize);
    EXPECT_EQ(model.columnCount(), 2);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), u"English"_s);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), u"Kannada"_s);
    EXPECT_EQ(model.code(0), u"ENG000"_s);
    while (model.canFetchMore({}))
        model.fetchMore({});
    EXPECT_EQ(model.rowCount(), 250);
    EXPECT_EQ(model.code(249), u"ENG249"_s);
}

TEST_P(LookupTest, TypingNarrowsOnTheCodeOrTheNameLiterallyAndTheRequestsPartsShapeTheRows)
{
    LookupModel model(m_folder->db());
    model.run(names(), u"eng24"_s);
    EXPECT_EQ(model.rowCount(), 10);
    model.run(names(), u"K_"_s);
    EXPECT_EQ(model.rowCount(), 25); // "_" is no wildcard
    model.run(names(), u"%"_s);
    EXPECT_EQ(model.rowCount(), 0);

    // The condition, group and order parts shape the rows.
    LookupRequest r{u"kanlib"_s,   u"fengname as English"_s, u"fengname like ?"_s, {u"ENG00%"_s},
                    u"fengname"_s, u"fengname desc"_s};
    model.run(r);
    ASSERT_EQ(model.rowCount(), 10);
    EXPECT_EQ(model.columnCount(), 1);
    EXPECT_EQ(model.code(0), u"ENG009"_s);
    EXPECT_EQ(r.statement().sql, u"Select fengname as English from kanlib where (fengname like ?) group by fengname "
                                 "order by fengname desc"_s);
}

TEST_P(LookupTest, TheWindowNarrowsAsTheClerkTypesAndShowsTheHighlightedCodeOrSaysATableIsMissing)
{
    LookupDialog window(m_folder->db(), names());
    window.show();
    auto *search = window.findChild<QLineEdit *>(u"txtSearch"_s);
    auto *status = window.findChild<QLabel *>(u"StatusBar1_1"_s);
    EXPECT_EQ(status->text(), u"Code : ENG000"_s);
    QTest::keyClicks(search, u"eng12"_s);
    EXPECT_EQ(window.currentCode(), u"ENG120"_s);
    QTest::keyClick(search, Qt::Key_Down);
    EXPECT_EQ(status->text(), u"Code : ENG121"_s);
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(window.chosenCode(), u"ENG121"_s);

    // A missing table is said and nothing is chosen.
    LookupRequest none = names();
    none.table.clear();
    EXPECT_FALSE(LookupDialog::choose(m_folder->db(), m_prompter, none));
    LookupRequest missing = names();
    missing.table = u"nosuchtable"_s;
    EXPECT_FALSE(LookupDialog::choose(m_folder->db(), m_prompter, missing));
    EXPECT_EQ(m_prompter.texts(), (QStringList{u"Table not found."_s, u"Table not found."_s}));
}

// The name library's Kannada column, where "BRH Kannada" is missing: the rows show the
// Unicode reading, and a name typed in Unicode finds the row that holds its codes.
TEST_P(LookupTest, AKannadaColumnReadsAsUnicodeAndIsSearchedInUnicode)
{
    if (!test::kannadaShownThroughUnicode(u"BRH Kannada"_s))
        GTEST_SKIP() << "\"BRH Kannada\" is installed: the column draws the codes";
    m_folder->db().exec(u"insert into kanlib (fengname, fkanname) values ('SURYA', ?)"_s, {u"¸ÀÆAiÀÄð"_s});
    LookupDialog window(m_folder->db(), names());
    window.show();
    auto *list = window.findChild<QTableView *>(u"DataList1"_s);
    const auto *kannada = dynamic_cast<const QStyledItemDelegate *>(list->itemDelegateForColumn(1));
    ASSERT_NE(kannada, nullptr);
    EXPECT_EQ(list->itemDelegateForColumn(0), nullptr) << "the English column is drawn as it is";
    EXPECT_EQ(kannada->displayText(u"¸ÀÆAiÀÄð"_s, QLocale()), u"ಸೂರ್ಯ"_s);

    auto *search = window.findChild<QLineEdit *>(u"txtSearch"_s);
    search->setFocus();
    test::typeThroughInputMethod(search, u"ಸೂರ್ಯ"_s);
    EXPECT_EQ(window.currentCode(), u"SURYA"_s);
    EXPECT_EQ(list->model()->rowCount(), 1);
}

TEST(LookupRequestColumns, SplitAtTopLevelCommasWithOrWithoutHeadings)
{
    const LookupRequest r{u"t"_s, u"fcode AS Code, coalesce(fa, fb) as Name, fthird"_s, {}, {}, {}, {}};
    const auto cols = r.parsedColumns();
    ASSERT_EQ(cols.size(), 3);
    EXPECT_EQ(cols[0].expression, u"fcode"_s);
    EXPECT_EQ(cols[0].heading, u"Code"_s);
    EXPECT_EQ(cols[1].expression, u"coalesce(fa, fb)"_s);
    EXPECT_EQ(cols[1].heading, u"Name"_s);
    EXPECT_EQ(cols[2].heading, u"fthird"_s);
}

INSTANTIATE_TEST_SUITE_P(Backends, LookupTest, sw::test::bothBackends(), test::backendName);

} // namespace
