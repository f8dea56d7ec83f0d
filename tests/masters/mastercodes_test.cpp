// SPDX-License-Identifier: GPL-3.0-or-later
// The masters' codes as every screen offers them, on the real databases: the lookup's
// captions and columns (the speciality tells two degrees of one description apart),
// the description beside a code and the message for an unknown one; and the lookup
// window opening on the box's current value.
#include "masters/mastercodes.h"
#include "shell/forms/lookupdialog.h"
#include "shell/session.h"
#include "support/testdatabase.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

class MasterCodesTest : public test::InstalledSessionTest
{
protected:
    void SetUp() override
    {
        InstalledSessionTest::SetUp();
        if (IsSkipped())
            return;
        Database &db = m_session.db();
        db.exec(u"insert into "_s + db.table(u"DEGREE"_s)
                + u" (fdegree, fdescpn, fspecial) values ('MSCCH', 'MASTER OF SCIENCE', 'CHEMISTRY'), "
                  "('MSCPH', 'MASTER OF SCIENCE', 'PHYSICS'), ('BA', 'BACHELOR OF ARTS', '')"_s);
        db.exec(u"insert into "_s + db.table(u"COLLEGE"_s)
                + u" (fcollcode, fcollname) values ('C001', 'CITY COLLEGE')"_s);
        db.exec(u"insert into "_s + db.table(u"CLASS"_s) + u" (fclasscode, fclassdesc) values ('FC', 'FIRST CLASS')"_s);
        db.exec(u"insert into "_s + db.table(u"MASUNIV"_s)
                + u" (funivcode, funivname) values ('U1', 'THE UNIVERSITY')"_s);
    }
    QStringList rowsOf(const LookupRequest &request)
    {
        const BoundSql all = request.statement();
        Rows rows = m_session.db().query(all.sql, all.params);
        QStringList out;
        while (rows.next()) {
            QStringList cells;
            for (int c = 0; c < request.parsedColumns().size(); ++c)
                cells << rows.text(c);
            out << cells.join(u'|');
        }
        return out;
    }
};

TEST_P(MasterCodesTest, EachMasterIsLookedUpDescribedAndRefusedTheSameWay)
{
    using Master = MasterCodes::Master;
    const MasterCodes codes(m_session);
    struct Case
    {
        Master master;
        QString code;
        QString description;
        QString invalid;
        QStringList headings;
    };
    const Case cases[] = {
        {Master::Degree,
         u"mscph"_s,
         u"MASTER OF SCIENCE"_s,
         u"Invalid Degree Code"_s,
         {u"Code"_s, u"Description"_s, u"Speciality"_s}},
        {Master::College, u"C001"_s, u"CITY COLLEGE"_s, u"Invalid College Code"_s, {u"Code"_s, u"Description"_s}},
        {Master::Class, u"FC"_s, u"FIRST CLASS"_s, u"Invalid Class Code"_s, {u"Code"_s, u"Description"_s}},
        {Master::University, u"U1"_s, u"THE UNIVERSITY"_s, u"Invalid University Code"_s, {u"Code"_s, u"Description"_s}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.invalid.toStdString());
        const LookupRequest request = codes.lookup(c.master);
        EXPECT_EQ(request.headings, c.headings);
        EXPECT_EQ(request.parsedColumns().size(), c.headings.size());
        EXPECT_EQ(codes.describe(c.master, c.code), c.description); // codes compare without case
        EXPECT_EQ(codes.describe(c.master, u"NOPE"_s), std::nullopt);
        const CodeSource source = codes.source(c.master);
        EXPECT_EQ(source.invalidMessage, c.invalid);
        EXPECT_EQ(source.describe(c.code), c.description);
    }
    // Two degrees of one description differ by their speciality.
    EXPECT_EQ(rowsOf(codes.lookup(Master::Degree)),
              (QStringList{u"BA|BACHELOR OF ARTS|"_s, u"MSCCH|MASTER OF SCIENCE|CHEMISTRY"_s,
                           u"MSCPH|MASTER OF SCIENCE|PHYSICS"_s}));
    EXPECT_EQ(codes.degreeWithSpeciality(u"MSCCH"_s), u"MASTER OF SCIENCE (CHEMISTRY)"_s);
    // A screen narrows a lookup to the codes it deals in.
    EXPECT_EQ(rowsOf(codes.lookup(Master::Degree, u"fspecial = ?"_s, {u"PHYSICS"_s})),
              QStringList{u"MSCPH|MASTER OF SCIENCE|PHYSICS"_s});
}

TEST_P(MasterCodesTest, TheLookupWindowOpensOnTheBoxsValueUnderItsCaptions)
{
    Database &db = m_session.db();
    WriteScope scope(db);
    Statement insert =
        db.prepare(u"insert into "_s + db.table(u"COLLEGE"_s) + u" (fcollcode, fcollname) values (?, ?)"_s);
    // More colleges than one page of the window reads at a time.
    for (int i = 2; i <= 260; ++i)
        insert.exec({u"C%1"_s.arg(i, 3, 10, QChar(u'0')), u"COLLEGE NUMBER %1"_s.arg(i)});
    scope.commit();
    const MasterCodes codes(m_session);
    LookupDialog window(db, codes.lookup(MasterCodes::Master::College), nullptr, u"c250"_s);
    EXPECT_EQ(window.currentCode(), u"C250"_s);
    LookupDialog fresh(db, codes.lookup(MasterCodes::Master::College));
    EXPECT_EQ(fresh.currentCode(), u"C001"_s); // an empty box opens on the first row
}

INSTANTIATE_TEST_SUITE_P(Backends, MasterCodesTest, test::bothBackends(), test::backendName);

} // namespace
