// SPDX-License-Identifier: GPL-3.0-or-later
// Report figures on a generated database of 100,000 candidates: the student list of
// all of them (beside a plain copy of the same number of bytes), the preview window
// opening that report, and a search through it that finds nothing. Prints its
// figures; asserts nothing.
#include "reports/lists/studentlist.h"
#include "reports/output/reportpreviewdialog.h"
#include "shell/batch/consoleprompter.h"
#include "shell/core/headless.h"
#include "shell/db/connectionsettings.h"
#include "shell/db/connector.h"
#include "shell/db/schemaupgrade.h"
#include "shell/session.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

double msSince(const QElapsedTimer &t) { return double(t.nsecsElapsed()) / 1e6; }

void fill(sw::Database &db, int candidates)
{
    sw::WriteScope scope(db);
    db.exec(u"insert into degree (fdegree, fdescpn) values ('BSC', 'BACHELOR OF SCIENCE')"_s);
    for (int c = 0; c < 100; ++c)
        db.exec(u"insert into college (fcollcode, fcollname, ftown) values (?, ?, 'DHARWAD')"_s,
                {QStringLiteral("C%1").arg(c, 3, 10, QChar(u'0')), QStringLiteral("COLLEGE NUMBER %1").arg(c)});
    sw::Statement insert = db.prepare(u"insert into convo (fregno, fname, fdegree, fcollcode, fyear, fclasscode, "
                                      u"fcertno, fdate, fconvocode, factive) "
                                      "values (?, ?, 'BSC', ?, '2025', 'FC', ?, ?, 'C025', 'T')"_s);
    for (int i = 0; i < candidates; ++i) {
        const bool printed = i % 3 == 0;
        insert.exec({QStringLiteral("R%1").arg(i, 9, 10, QChar(u'0')), QStringLiteral("CANDIDATE NAME %1").arg(i),
                     QStringLiteral("C%1").arg(i % 100, 3, 10, QChar(u'0')),
                     printed ? QVariant(QStringLiteral("DC%1").arg(i, 6, 10, QChar(u'0'))) : QVariant(),
                     printed ? QVariant(QDate(2025, 12, 20)) : QVariant()});
    }
    scope.commit();
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    sw::prepareHeadlessEnvironment();
    QApplication app(argc, argv);
    const int candidates = argc > 1 ? std::atoi(argv[1]) : 100000;

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
    session.convoName = u"75TH"_s;
    QElapsedTimer t;
    t.start();
    fill(session.db(), candidates);
    std::printf("database of %d candidates made in %.0f ms\n", candidates, msSince(t));

    const QString report = folder.filePath(u"REP001.Prn"_s);
    sw::StudentListSelection s{u"BSC"_s, {}, {}};
    s.normaliseColleges();
    sw::StudentListReports reports(session, prompter, [](int, int page) {
        return QStringList{QString(), u"KARNATAK UNIVERSITY"_s, u"Page No : "_s + QString::number(page)};
    });
    t.restart();
    reports.studentList(s, report);
    const double listMs = msSince(t);
    const double megabytes = double(QFileInfo(report).size()) / 1e6;
    t.restart();
    QFile::copy(report, folder.filePath(u"copy.Prn"_s));
    const double copyMs = msSince(t);
    std::printf("student list of all %d: %.0f ms (target < 1000 ms), %.1f MB at %.1f MB/s; a plain copy of the file: "
                "%.1f ms (%.0f MB/s)\n",
                candidates, listMs, megabytes, megabytes / (listMs / 1000), copyMs, megabytes / (copyMs / 1000));

    t.restart();
    sw::ReportPreviewDialog preview(report, folder, prompter, {});
    preview.show();
    QCoreApplication::processEvents();
    std::printf("preview window open on that report (%d pages): %.0f ms (target < 300 ms)\n",
                preview.preview().pageCount(), msSince(t));
    sw::ReportPreview copy = preview.preview();
    t.restart();
    const qsizetype hit = copy.search(u"NO SUCH TEXT ANYWHERE"_s);
    std::printf("search through the whole report, not found (%lld): %.1f ms (target < 200 ms)\n",
                static_cast<long long>(hit), msSince(t));
    return 0;
}
