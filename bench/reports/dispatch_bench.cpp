// SPDX-License-Identifier: GPL-3.0-or-later
// Dispatch figures on a generated SQLite database: the CDSL depository workbook of
// 50,000 printed certificates (every tenth without its PDF copy), with the peak
// memory before and after, and the address labels of 10,000 candidates to PDF.
// Prints its figures; asserts nothing.
#include "reports/labels/addresslabels.h"
#include "reports/nad/nadexport.h"
#include "shell/batch/consoleprompter.h"
#include "shell/core/headless.h"
#include "shell/db/connectionsettings.h"
#include "shell/db/connector.h"
#include "shell/db/schemaupgrade.h"
#include "shell/document/documentoutput.h"
#include "shell/session.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

double msSince(const QElapsedTimer &t) { return double(t.nsecsElapsed()) / 1e6; }

// Processor time of this process, in ms: the machine may be shared, so wall time alone misleads.
double cpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3)
           + (double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3);
}

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

QString regno(int i) { return QStringLiteral("R%1").arg(i, 9, 10, QChar(u'0')); }

void fill(sw::Database &db, const sw::AppFolder &folder, int certificates)
{
    sw::WriteScope scope(db);
    if (db.exec(u"update control set fnadid = 'NAD0001'"_s) == 0)
        db.exec(u"insert into control (funitcode, fnadid) values ('003', 'NAD0001')"_s);
    db.exec(u"insert into degree (fdegree, fdescpn, fcoursecode, feventid, fcredit) "
            "values ('BSC', 'BACHELOR OF SCIENCE', 'CRS1', 'EV1', 'T')"_s);
    db.exec(u"insert into class (fclasscode, fclassdesc) values ('FC', 'FIRST CLASS')"_s);
    for (int c = 0; c < 100; ++c)
        db.exec(u"insert into college (fcollcode, fcollname, ftown) values (?, ?, 'DHARWAD')"_s,
                {QStringLiteral("C%1").arg(c, 3, 10, QChar(u'0')), QStringLiteral("COLLEGE NUMBER %1").arg(c)});
    sw::Statement candidate = db.prepare(
        u"insert into convo (fregno, fname, fdegree, fcollcode, fyear, fexamtype, fexamdate, fclasscode, fcertno, "
        "fdate, fprintdate, fconvocode, factive) values (?, ?, 'BSC', ?, '2025', '1', 'APRIL 2025', 'FC', ?, ?, ?, "
        "'C025', 'T')"_s);
    sw::Statement fee = db.prepare(
        u"insert into convofee (fappno, fregno, fname, faddr1, faddr2, fcity, fstate, fpincode, fmobile, fscheme, "
        "freccer) values (?, ?, ?, 'HOUSE 12, SECOND CROSS', 'VIDYAGIRI', 'DHARWAD', 'KARNATAKA', '580004', "
        "'9876543210', ?, 'Post')"_s);
    QDir().mkpath(folder.filePath(u"CSV/DCPDF"_s));
    for (int i = 0; i < certificates; ++i) {
        candidate.exec({regno(i), QStringLiteral("CANDIDATE NAME %1").arg(i),
                        QStringLiteral("C%1").arg(i % 100, 3, 10, QChar(u'0')),
                        QStringLiteral("DC%1").arg(i, 6, 10, QChar(u'0')), QDate(2025, 12, 20), QDate(2025, 12, 1)});
        fee.exec({QStringLiteral("A%1").arg(i), regno(i), QStringLiteral("Candidate Name %1").arg(i),
                  i % 7 == 0 ? u"Tatkal"_s : u"Normal"_s});
        if (i % 10 != 9) {
            QFile copy(folder.filePath(u"CSV/DCPDF/DC_003_"_s + regno(i) + u"_F_2025_1.pdf"_s));
            copy.open(QIODevice::WriteOnly);
        }
    }
    scope.commit();
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    sw::prepareHeadlessEnvironment();
    QApplication app(argc, argv);
    const int certificates = argc > 1 ? std::atoi(argv[1]) : 50000;
    const int labels = argc > 2 ? std::atoi(argv[2]) : 10000;

    QTemporaryDir dir;
    sw::AppFolder folder(dir.path());
    QFile marker(folder.filePath(u"CONVO.DBS"_s));
    marker.open(QIODevice::WriteOnly);
    marker.close();
    sw::ConnectionSettings settings;
    settings.dbType = u"SQLITE"_s;
    sw::Connector::Options options;
    options.createIfMissing = true;
    QTextStream out(stdout), err(stderr);
    sw::ConsolePrompter prompter(out, err);
    sw::Session session;
    session.folder = folder;
    session.cn = sw::Connector::open(settings, folder, options);
    sw::SchemaUpgrade(session.db(), prompter).run();
    session.convoCode = u"C025"_s;
    session.instCode = u"003"_s;
    QElapsedTimer t;
    t.start();
    fill(session.db(), folder, std::max(certificates, labels));
    std::printf("database of %d printed certificates and their PDF copies made in %.0f ms\n",
                std::max(certificates, labels), msSince(t));

    // A small export first, so the peak after it is the baseline the big one is held to.
    sw::NadExport run(session);
    sw::NadSelection small{u"0"_s, {}, u"C000"_s, u"C000"_s};
    small.normaliseRanges();
    run.Gen_NAD_Report_CDSL(small, folder.filePath(u"small.xlsx"_s));
    const double before = peakMegabytes();
    sw::NadSelection all;
    all.normaliseRanges();
    t.restart();
    double cpu = cpuMs();
    const int rows = run.Gen_NAD_Report_CDSL(all, folder.filePath(u"NAD_CDSL.xlsx"_s));
    const double exportMs = msSince(t);
    const double exportCpu = cpuMs() - cpu;
    std::printf("CDSL workbook of %d certificates (%d rows, %zu left out for a missing copy): %.0f ms "
                "(%.0f ms of processor; target < 5000 ms), %.1f MB; peak memory %.1f MB before, %.1f MB after\n",
                certificates, rows, run.missingCopies().size(), exportMs, exportCpu,
                double(QFileInfo(folder.filePath(u"NAD_CDSL.xlsx"_s)).size()) / 1e6, before, peakMegabytes());

    sw::LabelSelection s;
    if (!s.printed.takeDates(u"01/12/2025"_s, u"01/12/2025"_s).isEmpty())
        return 1;
    s.fromCertNo = u"DC000000"_s;
    s.toCertNo = QStringLiteral("DC%1").arg(labels - 1, 6, 10, QChar(u'0'));
    s.normaliseRanges();
    sw::AddressLabels sheet(session, prompter);
    t.restart();
    cpu = cpuMs();
    const auto document = sheet.compose(s);
    const double composeMs = msSince(t);
    t.restart();
    sw::documentoutput::writePdf(*document, folder.filePath(u"labels.pdf"_s));
    const double pdfMs = msSince(t);
    const double labelsCpu = cpuMs() - cpu;
    std::printf("address labels of %d candidates: composed in %.0f ms, PDF written in %.0f ms, %.0f ms in all "
                "(%.0f ms of processor; target < 5000 ms), %.1f MB\n",
                sheet.labels(), composeMs, pdfMs, composeMs + pdfMs, labelsCpu,
                double(QFileInfo(folder.filePath(u"labels.pdf"_s)).size()) / 1e6);
    return 0;
}
