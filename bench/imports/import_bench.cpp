// SPDX-License-Identifier: GPL-3.0-or-later
// Result-file import speed and memory. Prints, for SQLite (and MariaDB when
// SCROLLWISE_TEST_MYSQL names a server, as scripts/test sets it):
//   - the import of a 100,000-record file in records per second,
//   - beside it a plain insert of the same rows in one transaction (the limit) and a
//     naive import that prepares, looks up and commits row by row (the baseline),
//   - peak memory of the import of 10,000 / 100,000 / 1,000,000 records, each size in
//     a process of its own so the peaks do not hide each other.
// Usage: bench_imports [--records N] [--sizes 10000,100000,1000000] [--no-memory]
//        bench_imports --memory-run N   (the child run)
#include "candidates/imports/dbftable.h"
#include "candidates/imports/resultfile.h"
#include "candidates/imports/resultimport.h"
#include "sampleresults.h"
#include "shell/batch/consoleprompter.h"
#include "shell/core/inifile.h"
#include "shell/core/session.h"
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

struct Server
{
    QString hostPort, user, password;
};

// An installed folder on SQLite or on the MariaDB server, dropped again afterwards.
class BenchFolder
{
public:
    explicit BenchFolder(const std::optional<Server> &server)
        : m_folder(m_dir.path())
    {
        Installer::Options o;
        o.institution = u"003"_s;
        if (server) {
            o.type = u"MYSQL"_s;
            o.server = server->hostPort;
            o.adminUser = server->user;
            o.dbPassword = server->password;
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

double seconds(const QElapsedTimer &t)
{
    return double(t.nsecsElapsed()) / 1e9;
}

// The limit: the same rows read from the same file and inserted with the same
// multi-row statements in one transaction, without look-ups, progress or working copy.
double plainInsert(BenchFolder &f, const QString &file)
{
    QElapsedTimer t;
    t.start();
    DbfTable table(makeWorkingCopy(f.session.folder, file));
    ResultRows rows(table, {u"fcollcode"_s, u"fregno"_s});
    const CandidateColumns columns(rows);
    Database &db = f.session.db();
    WriteScope scope(db);
    CandidateWriter writer(db, f.session.convoCode, f.session.userName, {});
    while (rows.next())
        writer.queueInsert(columns.read(rows), rows.recordNumber());
    writer.flush();
    scope.commit();
    return seconds(t);
}

// The baseline: as a first port would do it, every row's statements prepared anew
// and every row committed by itself. Measured on the first `limit` rows.
double naiveImport(BenchFolder &f, const QString &file, int limit, int *done)
{
    QElapsedTimer t;
    t.start();
    DbfTable table(makeWorkingCopy(f.session.folder, file));
    ResultRows rows(table, {u"fcollcode"_s, u"fregno"_s});
    const CandidateColumns columns(rows);
    Database &db = f.session.db();
    *done = 0;
    while (*done < limit && rows.next()) {
        const ResultCandidate c = columns.read(rows);
        const bool found = db.exists(u"select fregno from convo where fregno = ? and fdegree = ? and fcollcode = ? "
                                     "and fconvocode = ?"_s,
                                     {c.regno, c.degree, c.college, f.session.convoCode});
        if (!found)
            db.exec(u"insert into convo (fregno, fname, fdegree, fsubdegree, fcollcode, fclasscode, fexamdate, fyear, "
                    "fexamtype, fsex, fcaste, factive, fmanual, fspecial, fusername, fconvocode) values (?, ?, ?, ?, ?, "
                    "?, ?, ?, ?, ?, ?, 'F', 'F', '', ?, ?)"_s,
                    {c.regno, c.name, c.degree, c.subdegree, c.college, c.classCode, c.examDate, c.year, c.examType,
                     c.sex, c.caste, f.session.userName, f.session.convoCode});
        ++*done;
    }
    return seconds(t);
}

double realImport(BenchFolder &f, const QString &file, int *imported)
{
    QTextStream sink(stderr);
    ConsolePrompter prompter(sink, sink, ConsolePrompter::Policy::Yes);
    ResultFileImport run(f.session, prompter);
    QElapsedTimer t;
    t.start();
    *imported = run.import(file).imported;
    return seconds(t);
}

void speed(const QString &label, const std::optional<Server> &server, int records)
{
    BenchFolder f(server);
    const QString file = f.path(u"BENCH_STU.cnv"_s);
    QElapsedTimer w;
    w.start();
    bench::writeSampleResults(file, records);
    out() << label << u": wrote "_s << records << u" records with shapelib in "_s << QString::number(seconds(w), 'f', 2)
          << u" s"_s << Qt::endl;

    int imported = 0;
    const double import = realImport(f, file, &imported);
    int reimported = 0;
    const double again = realImport(f, file, &reimported);
    f.clear();
    const double plain = plainInsert(f, file);
    f.clear();
    int naiveRows = 0;
    const double naive = naiveImport(f, file, std::min(records, 20000), &naiveRows);
    const double naivePerRecord = naive / std::max(1, naiveRows);

    const double rate = records / import;
    out() << label << u": import        "_s << QString::number(import, 'f', 3) << u" s  "_s
          << QString::number(rate, 'f', 0) << u" records/s ("_s << imported << u" inserted)"_s << Qt::endl;
    out() << label << u": re-import     "_s << QString::number(again, 'f', 3) << u" s  "_s
          << QString::number(records / again, 'f', 0) << u" records/s (every row found and refreshed)"_s << Qt::endl;
    out() << label << u": plain insert  "_s << QString::number(plain, 'f', 3) << u" s  "_s
          << QString::number(records / plain, 'f', 0) << u" records/s (the limit; import takes "_s
          << QString::number(import / plain, 'f', 2) << u"x its time)"_s << Qt::endl;
    out() << label << u": naive import  "_s << QString::number(naivePerRecord * records, 'f', 3) << u" s  "_s
          << QString::number(1.0 / naivePerRecord, 'f', 0) << u" records/s (the baseline, measured on "_s << naiveRows
          << u" rows; import is "_s << QString::number(naivePerRecord * records / import, 'f', 1) << u"x faster)"_s
          << Qt::endl;
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
    BenchFolder f(std::nullopt);
    const QString file = f.path(u"MEM_STU.cnv"_s);
    bench::writeSampleResults(file, records);
    const long beforeImport = peakKilobytes();
    int imported = 0;
    const double time = realImport(f, file, &imported);
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
              << QString::number(figures[0].toDouble() / figures[3].toDouble(), 'f', 0) << u" records/s"_s
              << Qt::endl;
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
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == u"--records"_s && i + 1 < args.size())
            records = args[++i].toInt();
        else if (args[i] == u"--sizes"_s && i + 1 < args.size())
            sizes = args[++i].split(u',');
        else if (args[i] == u"--no-memory"_s)
            withMemory = false;
    }
    try {
        speed(u"SQLite"_s, std::nullopt, records);
        const QString mysql = qEnvironmentVariable("SCROLLWISE_TEST_MYSQL");
        if (!mysql.isEmpty())
            speed(u"MariaDB"_s,
                  Server{mysql, qEnvironmentVariable("SCROLLWISE_TEST_MYSQL_USER"),
                         qEnvironmentVariable("SCROLLWISE_TEST_MYSQL_PASSWORD")},
                  records);
        else
            out() << u"MariaDB: skipped (SCROLLWISE_TEST_MYSQL names no server)"_s << Qt::endl;
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
