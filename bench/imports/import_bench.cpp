// SPDX-License-Identifier: GPL-3.0-or-later
// Result-file import speed and memory. Prints, for SQLite and for MariaDB (the server
// SCROLLWISE_TEST_MYSQL names, as scripts/test sets it, else one the bench starts
// itself the way scripts/test does):
//   - the first import of a 100,000-record file in records per second,
//   - its re-import (every row found, already as the file has it) and the import of a
//     corrected file (every row found and changed),
//   - beside them the limits: a plain multi-row insert of the same rows in one
//     transaction, and on MariaDB the server's own bulk load (LOAD DATA LOCAL INFILE
//     through the mariadb client); and a naive import that prepares, looks up and
//     commits row by row (the baseline),
//   - peak memory of the import of 10,000 / 100,000 / 1,000,000 records, each size in
//     a process of its own so the peaks do not hide each other.
// Usage: bench_imports [--records N] [--sizes 10000,100000,1000000] [--no-memory] [--no-mariadb]
//        bench_imports --memory-run N   (the child run)
#include "candidates/imports/dbftable.h"
#include "candidates/imports/resultfile.h"
#include "candidates/imports/resultimport.h"
#include "mariadbserver.h"
#include "sampleresults.h"
#include "shell/db/bulkinsert.h"
#include "shell/batch/consoleprompter.h"
#include "shell/core/inifile.h"
#include "shell/session.h"
#include "shell/core/stoperror.h"
#include "shell/db/connectionsettings.h"
#include "shell/db/connector.h"
#include "shell/startup/installer.h"
#include "shell/startup/startup.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

#include <sys/resource.h>

#include <cstdio>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

// An installed folder on SQLite or on the MariaDB server, with the sample's masters,
// dropped again afterwards.
class BenchFolder
{
public:
    explicit BenchFolder(const bench::MariaDbServer *server)
        : m_folder(m_dir.path())
    {
        Installer::Options o;
        o.institution = u"003"_s;
        if (server) {
            o.type = u"MYSQL"_s;
            o.server = server->hostPort();
            o.adminUser = server->user();
            o.dbPassword = server->password();
            m_mysqlName = u"swbench_"_s + QString::number(QCoreApplication::applicationPid());
            o.databaseName = m_mysqlName;
        }
        QTextStream sink(stderr);
        ConsolePrompter prompter(sink, sink, ConsolePrompter::Policy::Yes);
        Installer::install(m_folder, o, prompter);
        session.folder = m_folder;
        IniFile ini(Startup::iniPath(m_folder));
        ini.load();
        session.cn = Connector::open(ConnectionSettings::read(ini), m_folder);
        session.instCode = u"003"_s;
        session.userName = u"BENCH"_s;
        session.convoCode = u"C26"_s;
        bench::seedSampleMasters(session.db());
    }
    ~BenchFolder()
    {
        if (!m_mysqlName.isEmpty())
            session.db().exec(u"DROP DATABASE IF EXISTS `"_s + m_mysqlName + u'`');
    }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    void clear() { session.db().exec(u"delete from convo"_s); }

    QTemporaryDir m_dir;
    AppFolder m_folder;
    QString m_mysqlName;
    Session session;
};

double seconds(const QElapsedTimer &t) { return double(t.nsecsElapsed()) / 1e9; }

const QStringList kInserted = {u"fregno"_s,    u"fname"_s,      u"fdegree"_s,   u"fsubdegree"_s,
                               u"fcollcode"_s, u"fclasscode"_s, u"fexamdate"_s, u"fyear"_s,
                               u"fexamtype"_s, u"fsex"_s,       u"fcaste"_s,    u"factive"_s,
                               u"fmanual"_s,   u"fspecial"_s,   u"fusername"_s, u"fconvocode"_s};

// The candidates of a file as the import writes them, one list of values each.
template <typename Each> void eachRow(BenchFolder &f, const QString &file, Each each)
{
    DbfTable table(makeWorkingCopy(f.session.folder, file));
    ResultRows rows(table);
    const CandidateColumns columns(rows);
    while (rows.next()) {
        const ResultCandidate c = columns.read(rows);
        each(QStringList{c.regno, c.name, c.degree, c.subdegree, c.college, c.classCode, c.examDate, c.year, c.examType,
                         c.sex, c.caste, u"F"_s, u"F"_s, QString(), f.session.userName, f.session.convoCode});
    }
}

// A limit: the same rows read from the same file and inserted with the import's
// multi-row statements in one transaction, without look-ups, checks or progress.
double plainInsert(BenchFolder &f, const QString &file)
{
    QElapsedTimer t;
    t.start();
    Database &db = f.session.db();
    WriteScope scope(db);
    BulkInsert insert(db, u"convo"_s, kInserted, QStringList(kInserted.size(), u"?"_s).join(u", "_s));
    int record = 0;
    eachRow(f, file, [&](const QStringList &values) {
        QVariantList params;
        for (const QString &v : values)
            params << v;
        insert.add(params, ++record);
    });
    insert.flush();
    scope.commit();
    return seconds(t);
}

// The server's limit: the same rows loaded by the server itself (LOAD DATA LOCAL INFILE
// through the mariadb client); -1 when the server refuses it.
double serverBulkLoad(BenchFolder &f, const QString &file, const bench::MariaDbServer &server, QString *why)
{
    const QString tsv = f.path(u"rows.tsv"_s);
    {
        QFile out(tsv);
        if (!out.open(QIODevice::WriteOnly)) {
            *why = out.errorString();
            return -1;
        }
        eachRow(f, file, [&](const QStringList &values) { out.write(values.join(u'\t').toUtf8() + '\n'); });
    }
    QElapsedTimer t;
    t.start();
    QProcess client;
    client.start(u"mariadb"_s,
                 {u"--no-defaults"_s, u"--local-infile=1"_s, u"-h"_s, server.host(), u"-P"_s, server.port(),
                  u"-u"_s + server.user(), u"-p"_s + server.password(), f.m_mysqlName, u"-e"_s,
                  u"LOAD DATA LOCAL INFILE '"_s + tsv
                      + u"' INTO TABLE convo CHARACTER SET utf8mb4 FIELDS TERMINATED BY '\\t' ("_s
                      + kInserted.join(u", "_s) + u")"_s});
    client.waitForFinished(-1);
    if (client.exitStatus() != QProcess::NormalExit || client.exitCode() != 0) {
        *why = QString::fromLocal8Bit(client.readAllStandardError()).trimmed();
        return -1;
    }
    return seconds(t);
}

// The baseline: as a first port would do it, every row's statements prepared anew
// and every row committed by itself. Measured on the first `limit` rows.
double naiveImport(BenchFolder &f, const QString &file, int limit, int *done)
{
    QElapsedTimer t;
    t.start();
    DbfTable table(makeWorkingCopy(f.session.folder, file));
    ResultRows rows(table);
    const CandidateColumns columns(rows);
    Database &db = f.session.db();
    *done = 0;
    while (*done < limit && rows.next()) {
        const ResultCandidate c = columns.read(rows);
        const bool found = db.exists(u"select fregno from convo where fregno = ? and fdegree = ? and fcollcode = ? "
                                     "and fconvocode = ?"_s,
                                     {c.regno, c.degree, c.college, f.session.convoCode});
        if (!found)
            db.exec(
                u"insert into convo (fregno, fname, fdegree, fsubdegree, fcollcode, fclasscode, fexamdate, fyear, "
                "fexamtype, fsex, fcaste, factive, fmanual, fspecial, fusername, fconvocode) values (?, ?, ?, ?, ?, "
                "?, ?, ?, ?, ?, ?, 'F', 'F', '', ?, ?)"_s,
                {c.regno, c.name, c.degree, c.subdegree, c.college, c.classCode, c.examDate, c.year, c.examType, c.sex,
                 c.caste, f.session.userName, f.session.convoCode});
        ++*done;
    }
    return seconds(t);
}

ImportCounts realImport(BenchFolder &f, const QString &file, double *time)
{
    QTextStream sink(stderr);
    ConsolePrompter prompter(sink, sink, ConsolePrompter::Policy::Yes);
    ResultFileImport run(f.session, prompter);
    QElapsedTimer t;
    t.start();
    const ImportCounts counts = run.import(file);
    *time = seconds(t);
    return counts;
}

QString rate(int records, double time)
{
    return QString::number(time, 'f', 3).rightJustified(7) + u" s "_s
           + QString::number(records / time, 'f', 0).rightJustified(8) + u" records/s"_s;
}

void speed(const QString &label, const bench::MariaDbServer *server, int records)
{
    BenchFolder f(server);
    const QString file = f.path(u"BENCH_STU.cnv"_s);
    const QString corrected = f.path(u"CORRECTED_STU.cnv"_s);
    QElapsedTimer w;
    w.start();
    bench::writeSampleResults(file, records);
    bench::writeSampleResults(corrected, records, true);
    out() << label << u": wrote "_s << records << u" records twice with shapelib in "_s
          << QString::number(seconds(w), 'f', 2) << u" s"_s << Qt::endl;

    double first = 0, again = 0, changed = 0;
    const ImportCounts firstCounts = realImport(f, file, &first);
    const ImportCounts againCounts = realImport(f, file, &again);
    const ImportCounts changedCounts = realImport(f, corrected, &changed);
    f.clear();
    const double plain = plainInsert(f, file);
    double bulk = -1;
    QString bulkRefused;
    if (server) {
        f.clear();
        bulk = serverBulkLoad(f, file, *server, &bulkRefused);
    }
    f.clear();
    int naiveRows = 0;
    const double naive = naiveImport(f, file, std::min(records, 20000), &naiveRows);

    out() << label << u": first import     "_s << rate(records, first) << u"  ("_s << firstCounts.inserted
          << u" inserted, "_s << firstCounts.rejected << u" rejected)"_s << Qt::endl;
    out() << label << u": re-import        "_s << rate(records, again) << u"  ("_s << againCounts.refreshed
          << u" found, already as the file has them)"_s << Qt::endl;
    out() << label << u": corrected file   "_s << rate(records, changed) << u"  ("_s << changedCounts.refreshed
          << u" found and changed)"_s << Qt::endl;
    out() << label << u": plain insert     "_s << rate(records, plain)
          << u"  (a limit: the same statements in one transaction, no look-ups; the first import takes "_s
          << QString::number(first / plain, 'f', 2) << u"x its time)"_s << Qt::endl;
    if (server) {
        if (bulk > 0)
            out() << label << u": server bulk load "_s << rate(records, bulk)
                  << u"  (the limit: LOAD DATA LOCAL INFILE of the same rows; the first import takes "_s
                  << QString::number(first / bulk, 'f', 2) << u"x its time)"_s << Qt::endl;
        else
            out() << label << u": server bulk load refused: "_s << bulkRefused << Qt::endl;
    }
    out() << label << u": naive import     "_s << rate(naiveRows, naive) << u"  (the baseline, on the first "_s
          << naiveRows << u" rows; the first import is "_s
          << QString::number((naive / std::max(1, naiveRows)) * records / first, 'f', 1) << u"x faster)"_s << Qt::endl;
}

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The child run: only writing the file and the import, then the process's peak.
int memoryRun(int records)
{
    BenchFolder f(nullptr);
    const QString file = f.path(u"MEM_STU.cnv"_s);
    bench::writeSampleResults(file, records);
    const long beforeImport = peakKilobytes();
    double time = 0;
    realImport(f, file, &time);
    out() << records << u' ' << beforeImport << u' ' << peakKilobytes() << u' ' << QString::number(time, 'f', 3)
          << Qt::endl;
    return 0;
}

void memory(const QStringList &sizes)
{
    out() << u"SQLite peak memory of the import (each size in its own process):"_s << Qt::endl;
    for (const QString &size : sizes) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {u"--memory-run"_s, size});
        child.waitForFinished(-1);
        const QStringList figures = QString::fromUtf8(child.readAllStandardOutput()).trimmed().split(u' ');
        if (figures.size() != 4) {
            out() << u"  "_s << size << u": the run failed: "_s << QString::fromUtf8(child.readAllStandardError())
                  << Qt::endl;
            continue;
        }
        out() << u"  "_s << figures[0].rightJustified(8) << u" records: peak "_s
              << QString::number(figures[2].toDouble() / 1024, 'f', 1) << u" MiB (before the import "_s
              << QString::number(figures[1].toDouble() / 1024, 'f', 1) << u" MiB), "_s
              << QString::number(figures[0].toDouble() / figures[3].toDouble(), 'f', 0) << u" records/s"_s << Qt::endl;
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == u"--memory-run"_s)
        return memoryRun(args[2].toInt());

    int records = 100000;
    QStringList sizes{u"10000"_s, u"100000"_s, u"1000000"_s};
    bool withMemory = true;
    bool withMariaDb = true;
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == u"--records"_s && i + 1 < args.size())
            records = args[++i].toInt();
        else if (args[i] == u"--sizes"_s && i + 1 < args.size())
            sizes = args[++i].split(u',');
        else if (args[i] == u"--no-memory"_s)
            withMemory = false;
        else if (args[i] == u"--no-mariadb"_s)
            withMariaDb = false;
    }
    try {
        speed(u"SQLite"_s, nullptr, records);
        if (withMariaDb) {
            QString why;
            const auto server = bench::MariaDbServer::obtain(&why);
            if (server) {
                out() << u"MariaDB: "_s
                      << (server->ownServer() ? u"a server of the bench's own on "_s : u"the server on "_s)
                      << server->hostPort() << Qt::endl;
                speed(u"MariaDB"_s, server.get(), records);
            } else {
                out() << u"MariaDB: no server could be started: "_s << why << Qt::endl;
            }
        }
        if (withMemory)
            memory(sizes);
    } catch (const StopError &e) {
        out() << e.text() << Qt::endl;
        return 1;
    } catch (const DbError &e) {
        out() << e.screenMessage() << Qt::endl;
        return 1;
    }
    return 0;
}
