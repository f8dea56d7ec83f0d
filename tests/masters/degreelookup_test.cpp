// SPDX-License-Identifier: GPL-3.0-or-later
// The degree lookup's second column, run on the real databases through the lookup's own statement.
#include "masters/recordmasters/recordmasterform.h"
#include "shell/forms/frmhlpitem.h"
#include "support/testdatabase.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::TestBackend;

namespace {

class DegreeLookupTest : public ::testing::TestWithParam<TestBackend>
{
};

TEST_P(DegreeLookupTest, TheDescriptionCarriesTheSpecialityInBracketsOnlyWhenThereIsOne)
{
    if (!test::backendAvailable(GetParam()))
        GTEST_SKIP();
    test::InstalledFolder folder(GetParam());
    const auto db = folder.connect();
    const QString table = db->table(u"DEGREE"_s);
    db->exec(u"insert into "_s + table + u" (fdegree, fdescpn, fspecial) values ('BSC', 'BACHELOR OF SCIENCE', 'PHYSICS')"_s);
    db->exec(u"insert into "_s + table + u" (fdegree, fdescpn, fspecial) values ('BA', 'BACHELOR OF ARTS', '')"_s);
    db->exec(u"insert into "_s + table + u" (fdegree, fdescpn) values ('BCOM', 'BACHELOR OF COMMERCE')"_s);

    const LookupRequest request{table, u"fdegree as fdegree, "_s + RecordMasterForm::degreeDescription(db->dialect())
                                           + u" as fdesc"_s,
                                {}, {}, {}, {}};
    ASSERT_EQ(request.parsedColumns().size(), 2);
    EXPECT_EQ(request.parsedColumns().at(1).heading, u"fdesc"_s);
    QStringList shown;
    const BoundSql all = request.statement();
    Rows rows = db->query(all.sql, all.params);
    while (rows.next())
        shown << rows.text(0) + u'=' + rows.text(1);
    EXPECT_EQ(shown, (QStringList{u"BA=BACHELOR OF ARTS"_s, u"BCOM=BACHELOR OF COMMERCE"_s,
                                  u"BSC=BACHELOR OF SCIENCE (PHYSICS)"_s}));

    // Typing narrows on the code or the composed description.
    const BoundSql narrowed = request.statement(u"BACHELOR OF SCIENCE (P"_s);
    Rows found = db->query(narrowed.sql, narrowed.params);
    ASSERT_TRUE(found.next());
    EXPECT_EQ(found.text(0), u"BSC"_s);
    EXPECT_FALSE(found.next());
}

INSTANTIATE_TEST_SUITE_P(Backends, DegreeLookupTest, ::testing::Values(TestBackend::SQLite, TestBackend::MariaDB),
                         test::backendName);

} // namespace
