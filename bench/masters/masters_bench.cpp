// SPDX-License-Identifier: GPL-3.0-or-later
// Master tables on SQLite: saving a large college grid, the bulk Kannada name fill, and
// teaching the library from the names the fill wrote.
//
//   masters_bench [--colleges N] [--candidates N] [--words N]
//
// Builds a fresh folder under the system's temporary folder each run (5,000 colleges,
// 100,000 candidates and a 20,000-word library unless given). Prints the figures;
// asserts nothing.
#include "masters/gridmasters/gridmasterstore.h"
#include "masters/namelibrary/kannadanameupdate.h"
#include "shell/batch/consoleprompter.h"
#include "shell/core/inifile.h"
#include "shell/core/legacytext.h"
#include "shell/db/connectionsettings.h"
#include "shell/db/connector.h"
#include "shell/db/database.h"
#include "shell/startup/installer.h"
#include "shell/startup/startup.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <ctime>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

QTextStream out(stdout);

// Processor time of this process in milliseconds: on a machine shared with other work the
// wall-clock figure says more about the neighbours than about the code.
qint64 cpuMs() { return qint64(std::clock()) * 1000 / CLOCKS_PER_SEC; }

int option(const QStringList &args, const QString &name, int fallback)
{
    const qsizetype at = args.indexOf(name);
    return at >= 0 && at + 1 < args.size() ? args.at(at + 1).toInt() : fallback;
}

// The n-th English word of the library and its Kannada spelling.
QString englishWord(int n)
{
    QString word;
    do {
        word += QChar(u'A' + n % 26);
        n /= 26;
    } while (n > 0);
    return u"W"_s + word;
}
QString kannadaWord(int n)
{
    QByteArray bytes;
    bytes.append(char(0xC0 + n % 32));
    bytes.append(char(0xA0 + (n / 32) % 32));
    bytes.append(char(0x80 + (n / 1024) % 32));
    return legacytext::fromBytes(bytes);
}

void benchGrid(Database &db, Prompter &prompter, int colleges)
{
    GridMasterStore store(db, *GridMasterKind::find(u"COLLEGE"_s));
    GridChangeSet set;
    set.reset(store.load());
    for (int i = 0; i < colleges; ++i)
        set.record({QString::number(i).rightJustified(4, u'0'), u"GOVERNMENT FIRST GRADE COLLEGE NO. %1"_s.arg(i)},
                   false);
    QElapsedTimer timer;
    timer.start();
    const qint64 cpuStart = cpuMs();
    const bool checked = !store.check(set.rows());
    const qint64 checkMs = timer.elapsed();
    const bool saved = store.save(set.rows(), prompter);
    out << u"grid save, %1 new colleges: check %2 ms, check and save %3 ms, %4 ms of processor time (%5)"_s
               .arg(colleges)
               .arg(checkMs)
               .arg(timer.elapsed())
               .arg(cpuMs() - cpuStart)
               .arg(checked && saved ? u"saved"_s : u"FAILED"_s)
        << Qt::endl;
}

void benchKannadaFill(Database &db, Prompter &prompter, int candidates, int words)
{
    {
        WriteScope scope(db);
        Statement word = db.prepare(u"insert into kanlib (fengname, fkanname) values (?, ?)"_s);
        for (int i = 0; i < words; ++i)
            word.exec({englishWord(i), kannadaWord(i)});
        Statement candidate = db.prepare(
            u"insert into convo (fregno, fname, ffatname, fconvocode, fdegree) values (?, ?, ?, 'C26', 'BA')"_s);
        for (int i = 0; i < candidates; ++i) {
            const QString name =
                englishWord(i % words) + u' ' + englishWord((i * 7) % words) + u' ' + englishWord((i * 13) % words);
            const QString regno = u"R"_s + QString::number(i).rightJustified(7, u'0');
            candidate.exec({regno, name, englishWord((i * 3) % words)});
        }
        scope.commit();
    }
    KannadaNameUpdate update(db, prompter);
    QElapsedTimer timer;
    timer.start();
    const qint64 cpuStart = cpuMs();
    const KannadaNameUpdate::Result result = update.fill();
    out << u"Kannada name fill, %1 candidates, %2 library words: %3 ms, %4 ms of processor time "
           "(%5 rows read, %6 names filled)"_s.arg(candidates)
               .arg(words)
               .arg(timer.elapsed())
               .arg(cpuMs() - cpuStart)
               .arg(result.rows)
               .arg(result.namesFilled)
        << Qt::endl;
}

// Teaching an empty library from the candidates the fill has just given Kannada names:
// every English word looked up (upper-cased) and the new ones added.
void benchLibraryBuild(Database &db, Prompter &prompter)
{
    db.exec(u"delete from kanlib"_s);
    KannadaNameUpdate update(db, prompter);
    QElapsedTimer timer;
    timer.start();
    const qint64 cpuStart = cpuMs();
    const KannadaNameUpdate::Result result = update.build();
    out << u"Kannada library build from %1 distinct name rows: %2 ms, %3 ms of processor time (%4 words added)"_s
               .arg(result.rows)
               .arg(timer.elapsed())
               .arg(cpuMs() - cpuStart)
               .arg(result.wordsAdded)
        << Qt::endl;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    QString quietText;
    QTextStream quiet(&quietText);
    ConsolePrompter prompter(quiet, err, ConsolePrompter::Policy::Yes);

    QTemporaryDir dir;
    const AppFolder folder(dir.path());
    Installer::Options options;
    options.institution = u"003"_s;
    Installer::install(folder, options, prompter);
    IniFile ini(Startup::iniPath(folder));
    ini.load();
    const auto db = Connector::open(ConnectionSettings::read(ini), folder);

    benchGrid(*db, prompter, option(args, u"--colleges"_s, 5000));
    benchKannadaFill(*db, prompter, option(args, u"--candidates"_s, 100000), option(args, u"--words"_s, 20000));
    benchLibraryBuild(*db, prompter);
    return 0;
}
