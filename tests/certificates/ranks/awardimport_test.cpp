// SPDX-License-Identifier: GPL-3.0-or-later
// Loading gold-medal and cash-prize awards from a file: what a good file writes,
// and for each kind of bad line the message that names file, line and field; the bad
// line is rejected into the reject file and the good ones are registered.
#include "../printing/printingfixture.h"

#include "certificates/ranks/awardimport.h"

#include "shell/core/importtally.h"

#include <QFile>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

class AwardImportTest : public test::PrintingFixture
{
protected:
    QString writeFile(const QByteArray &content) { return test::writeFile(m_out.filePath(u"awards.csv"_s), content); }
    int awardRows() const { return value(u"select count(*) from rankreg where fcerttype in ('GC', 'CC')"_s).toInt(); }
};

TEST_P(AwardImportTest, GoodFileWritesEveryAwardWithItsDonorSubjectAndAmount)
{
    AwardImport import(m_session);
    const AwardBatch batch =
        import.read(writeFile("type,regno,degree,college,donor,subject,amount,remarks\r\n"
                              "GC,r1,ba,101,\"Sri K. D'Souza, Dharwad\",History,,\r\n"
                              "CC,R2,BA,101,Smt. Kamala Endowment,Kannada,5000,first in Kannada\r\n"));
    ASSERT_TRUE(batch.ok()) << batch.errors.join(u'\n').toStdString();
    EXPECT_EQ(import.apply(batch).inserted, 2);
    // The import is in the audit trail, with its file and how many awards it brought.
    Rows audit = m_session.db().query(u"select fusername, fkey, fnew from audit where faction = 'awards import'"_s);
    ASSERT_TRUE(audit.next());
    EXPECT_EQ(audit.text(0) + u' ' + audit.text(1) + u' ' + audit.text(2), u"CLERK awards.csv 2 awards"_s);

    Rows rows = m_session.db().query(u"select fcerttype, fregno, fdegree, fdonername, fsubject, famount, fremarks, "
                                     "fconvocode, fusername, fslno, fcertno from rankreg order by fslno"_s);
    ASSERT_TRUE(rows.next());
    EXPECT_EQ(rows.text(0), u"GC"_s);
    EXPECT_EQ(rows.text(1), u"R1"_s);
    EXPECT_EQ(rows.text(2), u"BA"_s);
    EXPECT_EQ(rows.text(3), u"Sri K. D`Souza, Dharwad"_s);
    EXPECT_EQ(rows.text(4), u"History"_s);
    EXPECT_EQ(rows.text(5), u""_s);
    EXPECT_EQ(rows.text(7), u"C26"_s);
    EXPECT_EQ(rows.text(8), u"CLERK"_s);
    EXPECT_EQ(rows.text(10), u""_s);
    ASSERT_TRUE(rows.next());
    EXPECT_EQ(rows.text(0), u"CC"_s);
    EXPECT_EQ(rows.text(5), u"5000"_s);
    EXPECT_EQ(rows.text(6), u"first in Kannada"_s);
    EXPECT_EQ(rows.value(9).toInt(), 2);
}

TEST_P(AwardImportTest, EveryBadLineIsNamedAndRejectedAndTheGoodOnesRegistered)
{
    AwardImport import(m_session);
    ASSERT_EQ(import.apply(import.read(writeFile("GC,R1,BA,101,Donor,History,\n"))).inserted, 1);
    test::insertCandidate(m_session.db(), u"S1"_s, {{u"fdegree"_s, u"BSC"_s}});
    const QByteArray good = "CC,R2,BA,101,Donor,Kannada,100\n";
    struct Case
    {
        QByteArray line;
        QString error;
    };
    const std::vector<Case> cases = {
        {"CC,R3,BA,101,Donor,Kannada,12a\n",
         u"awards.csv, line 2, field amount: \"12a\" is not an amount in rupees (digits, up to two decimals)"_s},
        {"CC,R3,BA,101,Donor,Kannada,\n", u"awards.csv, line 2, field amount: a cash prize needs its amount"_s},
        {"XX,R3,BA,101,Donor,Kannada,1\n",
         u"awards.csv, line 2, field type: \"XX\" is not an award type: GC (gold medal) or CC (cash prize)"_s},
        {"GC,NOPE,BA,101,Donor,Kannada,\n",
         u"awards.csv, line 2, field regno: NOPE is not a candidate of degree BA and college 101 in convocation C26"_s},
        {"GC,S1,BA,101,Donor,Kannada,\n",
         u"awards.csv, line 2, field regno: S1 is not a candidate of degree BA and college 101 in convocation C26"_s},
        {"GC,R3,MA,101,Donor,Kannada,\n", u"awards.csv, line 2, field degree: unknown degree code \"MA\""_s},
        {"GC,R3,BA,999,Donor,Kannada,\n", u"awards.csv, line 2, field college: unknown college code \"999\""_s},
        {"GC,R3,BA,101,,Kannada,\n", u"awards.csv, line 2, field donor: the donor's name is empty"_s},
        {"GC,R3,BA,101,Donor,,\n", u"awards.csv, line 2, field subject: the subject is empty"_s},
        {"GC,R1,BA,101,Donor,history,\n",
         u"awards.csv, line 2, field subject: this award of R1 is already registered"_s},
        {"CC,R2,BA,101,Other,KANNADA,50\n", u"awards.csv, line 2, field subject: the same award is on line 1"_s},
        {"GC,R3,BA,101\n",
         u"awards.csv, line 2: 7 fields expected (type, regno, degree, college, donor, subject, amount), found 4"_s},
    };
    for (const Case &c : cases) {
        const QString path = writeFile(good + c.line);
        const AwardBatch batch = import.read(path);
        EXPECT_EQ(batch.errors, QStringList{c.error}) << c.line.toStdString();
        const ImportCounts counts = import.apply(batch);
        EXPECT_EQ(counts.inserted, 1);
        EXPECT_EQ(counts.rejected, 1);
        EXPECT_EQ(counts.total, 2);
        EXPECT_EQ(awardRows(), 2) << c.line.toStdString();
        QFile rejects(RejectFile::pathBeside(path));
        ASSERT_TRUE(rejects.open(QIODevice::ReadOnly));
        EXPECT_EQ(rejects.readAll().count('\n'), 2) << c.line.toStdString();
        m_session.db().exec(u"delete from rankreg where fregno = 'R2' and fcerttype = 'CC'"_s);
    }
    const AwardBatch missing = import.read(m_out.filePath(u"none.csv"_s));
    ASSERT_EQ(missing.errors.size(), 1);
    EXPECT_TRUE(missing.errors.front().endsWith(u"none.csv: no such file"_s));
    const AwardBatch empty = import.read(writeFile("type,regno,degree,college,donor,subject,amount\n"));
    EXPECT_EQ(empty.errors, QStringList{u"awards.csv: the file holds no awards"_s});
}

INSTANTIATE_TEST_SUITE_P(Backends, AwardImportTest, test::bothBackends(), test::backendName);

} // namespace
