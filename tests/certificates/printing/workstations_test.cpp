// SPDX-License-Identifier: GPL-3.0-or-later
// Two workstations printing overlapping ranges at once on the MariaDB server:
// no number is stored twice, no candidate gets two numbers, every sheet is in
// the register and every stored number is a confirmed sheet of its candidate.
#include "printingfixture.h"

#include "shell/db/database.h"

#include <QThread>

#include <thread>

using namespace Qt::StringLiterals;
using namespace sw;
using sw::test::TestBackend;

namespace {

// The clerk at each workstation answers Yes to every question.
class YesPrompter final : public Prompter
{
public:
    QStringList messages;
    void message(const QString &text, const QString &, PromptIcon) override { messages << text; }
    PromptAnswer ask(const QString &, const QString &, PromptIcon, PromptButtons, PromptAnswer) override
    {
        return PromptAnswer::Yes;
    }
    std::optional<QString> input(const QString &, const QString &, const QString &) override { return {}; }
    std::optional<QString> chooseFile(const QString &, const QString &, const QString &, FileMode) override
    {
        return {};
    }
};

// A printer that takes a moment per sheet, so the two runs interleave.
class SlowPrinter final : public SheetOutput
{
public:
    int sheets = 0;
    void print(const Document &, const QString &, const QString &) override
    {
        QThread::msleep(15);
        ++sheets;
    }
    void preview(const Document &, const QString &, const QString &) override {}
};

class WorkstationsTest : public test::PrintingFixture
{
};

TEST_P(WorkstationsTest, OverlappingRunsNeverStoreANumberTwice)
{
    Database &db = m_session.db();
    for (int i = 10; i < 40; ++i)
        test::insertCandidate(db, u"R"_s + QString::number(i), {{u"factive"_s, u"T"_s}, {u"fexamtype"_s, u"1"_s}});

    struct Station
    {
        QString name;
        QString regnoFrom;
        QString start;
        YesPrompter prompter;
        SlowPrinter printer;
        PrintingResult result;
    };
    // The second workstation starts inside the first one's candidates and numbers.
    Station stations[2] = {{u"WS1"_s, u"R1"_s, u"100"_s, {}, {}, {}}, {u"WS2"_s, u"R20"_s, u"110"_s, {}, {}, {}}};
    std::vector<std::thread> threads;
    for (Station &st : stations) {
        threads.emplace_back([this, &st] {
            Session session;
            session.folder = m_session.folder;
            session.cn = m_folder->connect();
            session.convoCode = m_session.convoCode;
            session.userName = st.name;
            session.instCode = m_session.instCode;
            PrintSelection s = selection();
            s.regnoFrom = st.regnoFrom;
            s.regnoTo = u"R9"_s;
            s.startNumber = st.start;
            s.endNumber = u"999"_s;
            PrintingRun run(session, st.prompter);
            run.setWorkstation(st.name);
            st.result = run.run(s, st.printer);
            session.cn.reset();
        });
    }
    for (std::thread &t : threads)
        t.join();

    const QString certno = db.dialect().coalesce(u"fcertno"_s, u"''"_s);
    EXPECT_FALSE(db.exists(u"select fcertno from convo where "_s + certno
                           + u" <> '' group by fcertno having count(*) > 1"_s));
    // Every stored number is a printed sheet of that candidate, and the other way round.
    Rows stored = db.query(u"select fregno, fcertno from convo where "_s + certno + u" <> '' order by fregno"_s);
    int storedCount = 0;
    while (stored.next()) {
        ++storedCount;
        EXPECT_TRUE(db.exists(u"select 1 from stationery where fregno = ? and fcertno = ? and foutcome = 'PRINTED'"_s,
                              {stored.text(0), stored.text(1)}))
            << stored.text(0).toStdString() << ' ' << stored.text(1).toStdString();
    }
    EXPECT_EQ(db.scalar(u"select count(*) from stationery where foutcome = 'PRINTED'"_s).toInt(), storedCount);
    // Every sheet that went to a printer is in the register.
    const int sheets = stations[0].printer.sheets + stations[1].printer.sheets;
    EXPECT_EQ(db.scalar(u"select count(*) from certsheet"_s).toInt(), sheets);
    EXPECT_FALSE(db.exists(u"select 1 from certsheet where fstate = 'PENDING'"_s));
    EXPECT_EQ(stations[0].result.printed + stations[1].result.printed, storedCount);
    // Both could not have printed everything they selected: the later one met the earlier one's work.
    EXPECT_GT(storedCount, 0);
    for (const Station &st : stations) {
        for (const QString &m : st.prompter.messages)
            std::cout << st.name.toStdString() << ": " << m.toStdString() << '\n';
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, WorkstationsTest, ::testing::Values(TestBackend::MariaDB), test::backendName);

} // namespace
