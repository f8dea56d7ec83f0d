// SPDX-License-Identifier: GPL-3.0-or-later
// The page header every text report starts its pages with.
#include "reports/output/reportpageheader.h"
#include "support/testdatabase.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

using ReportPageHeaderTest = test::InstalledFolderTest;

TEST_P(ReportPageHeaderTest, CentresNameAndAddressCountsPagesAndHasItsFixedNameWithoutSettings)
{
    m_db->exec(u"update control set fcompany = 'UNIVERSITY OF VARADA', fadd1 = 'VIDYA BHAVANA', fadd2 = ''"_s);
    const ReportPageHeader header = ReportPageHeader::read(*m_db, m_folder->folder());
    int page = 0;
    const QStringList lines = header.lines(80, page, QDate(2026, 3, 7));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].isEmpty());
    EXPECT_EQ(lines[1], QString(30, u' ') + u"UNIVERSITY OF VARADA"_s);
    // An empty second address line is left out, with its comma.
    EXPECT_EQ(lines[2], QString(34, u' ') + u"VIDYA BHAVANA"_s);
    EXPECT_EQ(lines[3], u"Date : 07/03/2026"_s + QString(45, u' ') + u"Page No : 1"_s);
    EXPECT_TRUE(header.lines(80, page).last().endsWith(u"Page No : 2"_s));
    EXPECT_EQ(page, 2);

    m_db->exec(u"update control set fadd2 = 'SUVARNAPURA'"_s);
    EXPECT_EQ(ReportPageHeader::read(*m_db, m_folder->folder()).address(), u"VIDYA BHAVANA, SUVARNAPURA"_s);

    // Without a settings row: the fixed name and the town of the institution file.
    m_db->exec(u"delete from control"_s);
    QFile ini(m_folder->folder().filePath(u"Institution.ini"_s));
    ASSERT_TRUE(ini.open(QIODevice::Append));
    ini.write("\n[HEADER]\nTOWN=MYSURU\n");
    ini.close();
    const ReportPageHeader fixed = ReportPageHeader::read(*m_db, m_folder->folder());
    EXPECT_EQ(fixed.company(), u"Quanvex"_s);
    EXPECT_EQ(fixed.address(), u"MYSURU"_s);
    // A line narrower than the texts centres nothing and never fails.
    page = 0;
    const QStringList narrow = fixed.lines(4, page);
    EXPECT_EQ(narrow[1], u"Quanvex"_s);
    EXPECT_TRUE(narrow[3].contains(u"Page No : 1"_s));
}

INSTANTIATE_TEST_SUITE_P(Backends, ReportPageHeaderTest, test::bothBackends(), test::backendName);

} // namespace
