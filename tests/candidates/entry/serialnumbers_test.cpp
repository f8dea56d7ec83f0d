// SPDX-License-Identifier: GPL-3.0-or-later
// Two workstations activating at the same moment: each on its own connection, in
// its own thread, as two programs on two machines would be.
#include "candidates/entry/candidatestore.h"
#include "candidates/entry/seeddata.h"
#include "candidates/entry/serialnumbers.h"
#include "shell/session.h"
#include "shell/core/stoperror.h"
#include "shell/db/dberror.h"
#include "support/scriptedprompter.h"
#include "support/testdatabase.h"
#include "support/stoptext.h"

#include <QSet>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

class SerialNumbersTest : public test::SeededFolderTest
{
protected:
    QString regno(int i) const { return u"R"_s + QString::number(i).rightJustified(3, u'0'); }
};

TEST_P(SerialNumbersTest, ASecondWorkstationWaitsForTheFirstAndTakesTheNextNumber)
{
    test::insertCandidate(*m_db, u"R1"_s);
    test::insertCandidate(*m_db, u"R2"_s);

    auto a = m_folder->connect();
    WriteScope first(*a);
    SerialNumbers serialsA(*a);
    serialsA.lock();
    const QString numberA = serialsA.next();

    // While the first holds the lock, a workstation that will not wait for it is refused:
    // the lock excludes, whatever the timing.
    {
        auto impatient = m_folder->connect();
        impatient->exec(GetParam() == test::TestBackend::MariaDB ? u"set session innodb_lock_wait_timeout = 0"_s
                                                                 : u"pragma busy_timeout = 0"_s);
        // (SQLite refuses at the start of its write scope, a server at the lock.)
        EXPECT_THROW(
            {
                WriteScope refused(*impatient);
                SerialNumbers(*impatient).lock();
            },
            DbError);
    }

    // One that waits takes the next number once the first has stored its own.
    QString numberB;
    std::thread workstationB([&] {
        auto b = m_folder->connect();
        WriteScope second(*b);
        SerialNumbers serialsB(*b);
        serialsB.lock();
        numberB = serialsB.next();
        b->exec(u"update convo set fprintord = ? where fregno = 'R2'"_s, {numberB});
        second.commit();
    });
    a->exec(u"update convo set fprintord = ? where fregno = 'R1'"_s, {numberA});
    first.commit();
    workstationB.join();

    EXPECT_EQ(numberA, u"00001"_s);
    EXPECT_EQ(numberB, u"00002"_s);
}

TEST_P(SerialNumbersTest, TwoWorkstationsActivatingTogetherNeverShareANumber)
{
    constexpr int perWorkstation = 15;
    for (int i = 0; i < 2 * perWorkstation; ++i)
        test::insertCandidate(*m_db, regno(i));

    auto activate = [this](int firstIndex, std::atomic<int> *failures) {
        Session session;
        session.folder = m_folder->folder();
        session.cn = m_folder->connect();
        session.convoCode = u"C26"_s;
        session.userName = u"CLERK"_s;
        test::ScriptedPrompter prompter;
        CandidateStore store(session, prompter);
        for (int i = firstIndex; i < firstIndex + perWorkstation; ++i) {
            CandidateRecord r = *store.find(regno(i));
            r.set(u"factive"_s, u"T"_s);
            if (store.save(r, EntryMode::Edit).serialNumber.isEmpty())
                ++*failures;
        }
    };
    std::atomic<int> failures = 0;
    std::thread one(activate, 0, &failures);
    std::thread two(activate, perWorkstation, &failures);
    one.join();
    two.join();
    EXPECT_EQ(failures.load(), 0);

    QSet<QString> numbers;
    Rows rows = m_db->query(u"select fprintord from convo where fconvocode = 'C26'"_s);
    while (rows.next())
        numbers.insert(rows.text(0));
    EXPECT_EQ(numbers.size(), 2 * perWorkstation);
    EXPECT_TRUE(numbers.contains(u"00001"_s));
    EXPECT_TRUE(numbers.contains(SerialNumbers::format(2 * perWorkstation)));
}

TEST_P(SerialNumbersTest, NumbersAreComparedAsNumbersPastFiveDigits)
{
    // Found in the field: the highest was taken as text, so after 99999 ("100000" sorts
    // below it) three activations in a row were all given 100000.
    test::insertCandidate(*m_db, u"R1"_s, {{u"fprintord"_s, u"99998"_s}});
    QStringList given;
    for (int i = 0; i < 3; ++i) {
        WriteScope scope(*m_db);
        SerialNumbers serials(*m_db);
        serials.lock();
        given << serials.next();
        test::insertCandidate(*m_db, regno(i), {{u"fprintord"_s, given.back()}});
        scope.commit();
    }
    EXPECT_EQ(given, (QStringList{u"99999"_s, u"100000"_s, u"100001"_s}));
}

TEST_P(SerialNumbersTest, ALockNeedsATransactionAndAValueThatIsNoNumberIsNamedAndPassedOver)
{
    EXPECT_EQ(test::stopText([&] { SerialNumbers(*m_db).lock(); }),
              u"A print serial number can only be taken inside a transaction."_s);
    // One garbage value used to stop every activation of every convocation.
    test::insertCandidate(*m_db, u"R1"_s, {{u"fprintord"_s, u"00041"_s}});
    test::insertCandidate(*m_db, u"R2"_s, {{u"fprintord"_s, u"12A"_s}});
    WriteScope scope(*m_db);
    SerialNumbers serials(*m_db);
    serials.lock();
    QStringList ignored;
    EXPECT_EQ(serials.next(&ignored), u"00042"_s);
    EXPECT_EQ(ignored, QStringList{u"R2 (C26): 12A"_s});
    EXPECT_EQ(serials.next(), u"00042"_s);
}

INSTANTIATE_TEST_SUITE_P(Backends, SerialNumbersTest, test::bothBackends(), test::backendName);

} // namespace
