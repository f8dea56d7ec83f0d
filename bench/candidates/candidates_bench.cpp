// SPDX-License-Identifier: GPL-3.0-or-later
// Candidate look-up, search and activation on a large SQLite database.
//
//   candidates_bench [--folder DIR] [--candidates N]
//
// The first run generates the database in DIR (default: a folder under the system's
// temporary folder), N candidates (1,000,000 unless given); later runs reuse it. Prints
// the figures and the query plans; asserts nothing.
#include "candidates/entry/candidatesearch.h"
#include "candidates/entry/candidatestore.h"
#include "certificates/verification/gatestore.h"
#include "shell/batch/consoleprompter.h"
#include "shell/core/inifile.h"
#include "shell/db/connectionsettings.h"
#include "shell/db/connector.h"
#include "shell/session.h"
#include "shell/startup/installer.h"
#include "shell/startup/startup.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTextStream>

#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

QTextStream out(stdout);

const QStringList kSyllables = {u"KA"_s,  u"VYA"_s, u"RA"_s, u"MA"_s, u"SHA"_s, u"NI"_s, u"LA"_s, u"DEV"_s,
                                u"PRI"_s, u"YA"_s,  u"SU"_s, u"RE"_s, u"SH"_s,  u"AN"_s, u"IL"_s, u"KU"_s};

QString nameFor(quint32 seed)
{
    QString name;
    for (int i = 0; i < 4; ++i) {
        name += kSyllables.at(int(seed % 16));
        seed /= 16;
    }
    name += u' ';
    for (int i = 0; i < 3; ++i) {
        name += kSyllables.at(int(seed % 16));
        seed /= 16;
    }
    return name;
}

QString regnoFor(int i) { return u"R"_s + QString::number(i).rightJustified(7, u'0'); }

// Candidates of C26: degree BA, college 101 holds the first 10,000, fee verified and
// inactive (the activation selection); the rest spread over nine colleges.
void generate(Database &db, int count)
{
    db.exec(u"insert into masconvo (fconvocode, fconvoname) values ('C26', 'Convocation 2026')"_s);
    db.exec(u"insert into degree (fdegree, fdescpn) values ('BA', 'Bachelor of Arts')"_s);
    for (int c = 101; c <= 110; ++c)
        db.exec(u"insert into college (fcollcode, fcollname) values (?, ?)"_s,
                {QString::number(c), QString(u"College "_s + QString::number(c))});
    QRandomGenerator random(26);
    QElapsedTimer timer;
    timer.start();
    WriteScope scope(db);
    Statement insert = db.prepare(
        u"insert into convo (fregno, fname, fdegree, fcollcode, fclasscode, fsex, fyear, fexamdate, factive, "
        "fmanual, ffeepaid, fconvocode, funivcode) values (?, ?, 'BA', ?, 'FC', 'F', '2025', 'APRIL 2025', 'F', "
        "'F', ?, 'C26', 'U1')"_s);
    for (int i = 0; i < count; ++i) {
        const bool selection = i < 10000;
        insert.exec({regnoFor(i), nameFor(random.generate()), selection ? u"101"_s : QString::number(102 + i % 9),
                     selection ? u"T"_s : u"F"_s});
        if (i % 100000 == 99999)
            out << u"  generated "_s << i + 1 << u" candidates ("_s << timer.elapsed() / 1000 << u" s)"_s << Qt::endl;
    }
    scope.commit();
    out << u"generated "_s << count << u" candidates in "_s << timer.elapsed() / 1000.0 << u" s"_s << Qt::endl;
}

// The median of `runs` timings of `work`, in milliseconds.
template <typename Work> double medianMs(int runs, Work work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work(i);
        times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void printPlan(Database &db, const BoundSql &bound)
{
    Rows plan = db.query(u"EXPLAIN QUERY PLAN "_s + bound.sql, bound.params);
    while (plan.next())
        out << u"    plan: "_s << plan.text(3) << Qt::endl;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QString folderPath = QDir::tempPath() + u"/scrollwise-candidates-bench"_s;
    int count = 1000000;
    const QStringList args = app.arguments();
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        if (args.at(i) == u"--folder"_s)
            folderPath = args.at(i + 1);
        else if (args.at(i) == u"--candidates"_s)
            count = args.at(i + 1).toInt();
    }
    QTextStream err(stderr);
    ConsolePrompter prompter(out, err, ConsolePrompter::Policy::Yes);
    const AppFolder folder(folderPath);
    const bool fresh = !QFile::exists(Startup::iniPath(folder));
    if (fresh) {
        QDir().mkpath(folderPath);
        Installer::Options options;
        options.institution = u"003"_s;
        Installer::install(folder, options, prompter);
    }
    IniFile ini(Startup::iniPath(folder));
    ini.load();
    Session session;
    session.folder = folder;
    session.cn = Connector::open(ConnectionSettings::read(ini), folder);
    session.convoCode = u"C26"_s;
    session.userName = u"BENCH"_s;
    Database &db = session.db();
    if (fresh)
        generate(db, count);
    count = db.scalar(u"select count(*) from convo"_s).toInt();
    out << u"database: "_s << folderPath << u", "_s << count << u" candidates"_s << Qt::endl;

    CandidateStore store(session, prompter);
    QRandomGenerator random(7);
    const double lookup = medianMs(201, [&](int) { store.find(regnoFor(int(random.bounded(count)))); });
    out << u"register-number look-up (candidate form): median "_s << lookup << u" ms"_s << Qt::endl;

    const CandidateSearch search(session);
    SearchCriteria byRegno;
    byRegno.regno = u"R012345"_s;
    printPlan(db, search.statement(byRegno));
    out << u"register-number prefix search (10 hits): median "_s << medianMs(51, [&](int) { search.find(byRegno); })
        << u" ms"_s << Qt::endl;

    SearchCriteria byName;
    byName.name = nameFor(random.generate()).left(8);
    const size_t nameHits = search.find(byName).size();
    printPlan(db, search.statement(byName));
    out << u"name-prefix search \""_s << byName.name << u"\" ("_s << nameHits << u" hits): median "_s
        << medianMs(51, [&](int) { search.find(byName); }) << u" ms"_s << Qt::endl;

    // For comparison: the same name part with "Ends with!" must read every candidate.
    SearchCriteria scan = byName;
    scan.match = SearchMatch::EndsWith;
    scan.name = nameFor(random.generate()).right(5);
    printPlan(db, search.statement(scan));
    out << u"full scan (\"Ends with!\", "_s << search.find(scan).size() << u" hits): median "_s
        << medianMs(5, [&](int) { search.find(scan); }) << u" ms"_s << Qt::endl;

    // Activation of one selection of 10,000 fee-verified candidates, then back.
    GateStore activate(session, prompter, Gate::Activation);
    const GateSelection selection{u"BA"_s, u"101"_s, u"101"_s};
    for (const bool on : {true, false}) {
        QElapsedTimer t;
        t.start();
        std::vector<GateRow> grid = activate.load(selection);
        const qint64 loaded = t.elapsed();
        for (GateRow &row : grid)
            row.ticked = on;
        activate.save(selection, grid);
        out << (on ? u"activating "_s : u"deactivating "_s) << grid.size() << u" candidates: load "_s << loaded
            << u" ms, save "_s << t.elapsed() - loaded << u" ms, total "_s << t.elapsed() << u" ms"_s << Qt::endl;
    }

    // Activation in the entry form: the write lock, the highest serial number and the
    // update, one candidate a transaction. Withdrawn again afterwards, so every run
    // measures the same work.
    QString quietText;
    QTextStream quiet(&quietText);
    ConsolePrompter yes(quiet, quiet, ConsolePrompter::Policy::Yes);
    CandidateStore form(session, yes);
    const double serial = medianMs(51, [&](int i) {
        CandidateRecord r = *form.find(regnoFor(20000 + i));
        r.set(u"factive"_s, u"T"_s);
        form.save(r, EntryMode::Edit);
    });
    out << u"entry-form activation with a serial number: median "_s << serial << u" ms"_s << Qt::endl;
    for (int i = 0; i < 51; ++i)
        form.withdraw(regnoFor(20000 + i));
    return 0;
}
