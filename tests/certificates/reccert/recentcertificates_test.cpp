// SPDX-License-Identifier: GPL-3.0-or-later
// The last designed-layout run, reviewed and taken back.
#include "../printing/printingfixture.h"

#include "certificates/layouts/designerlayout.h"
#include "certificates/reccert/recentcertificates.h"
#include "support/stoptext.h"

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

class RecentCertificatesTest : public test::PrintingFixture
{
protected:
    QString institution() const override { return u"001"_s; }
    void SetUp() override
    {
        test::PrintingFixture::SetUp();
        if (IsSkipped())
            return;
        DesignerLayout::writeStarterLayouts(m_session.folder);
        PrintSelection s = selection();
        s.startNumber = u"1"_s;
        ASSERT_EQ(print(s).printed, 4);
    }
};

TEST_P(RecentCertificatesTest, TakingBackClearsOnlyANumberTheCandidateStillHolds)
{
    RecentCertificates recent(m_session);
    EXPECT_EQ(test::stopText([&] { recent.save({}); }), u"No student Details found"_s);
    std::vector<RecentCertificates::Row> rows = recent.load();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1].regno, u"R2"_s);
    EXPECT_EQ(rows[1].name, u"Name R2"_s);
    EXPECT_EQ(rows[1].certNo, u"A000002"_s);

    // R3's certificate was cancelled and reprinted with another number since.
    m_session.db().exec(u"update convo set fcertno = 'A000099' where fregno = 'R3'"_s);
    rows[1].takeBack = true;
    rows[2].takeBack = true;
    EXPECT_EQ(recent.save(rows), 1);
    EXPECT_EQ(certNo(u"R2"_s), u""_s);
    EXPECT_TRUE(m_session.db().scalar(u"select fdate from convo where fregno = 'R2'"_s).isNull());
    EXPECT_EQ(certNo(u"R3"_s), u"A000099"_s);
    EXPECT_EQ(certNo(u"R1"_s), u"A000001"_s);
    const std::vector<RecentCertificates::Row> left = recent.load();
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[0].regno + left[1].regno, u"R1R4"_s);
    // No cancellation register row: taking back is not a cancellation. The sheet is used up.
    EXPECT_FALSE(m_session.db().exists(u"select 1 from certcan"_s));
    EXPECT_EQ(value(u"select fstate from certsheet where fcertno = 'A000002'"_s), u"VOID"_s);

    // The candidate taken back is printed again by the next run, with a new number.
    PrintSelection again = selection();
    again.startNumber = u"10"_s;
    print(again);
    EXPECT_EQ(certNo(u"R2"_s), u"A000010"_s);
}

INSTANTIATE_TEST_SUITE_P(Backends, RecentCertificatesTest, test::bothBackends(), test::backendName);

} // namespace
