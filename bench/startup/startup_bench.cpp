// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up figures: the whole schema on a new SQLite file, and the program from
// process start to the login window ready on the demonstration folder.
// Prints its figures; asserts nothing.
#include "app/demo/demofolder.h"
#include "shell/batch/consoleprompter.h"
#include "shell/core/headless.h"
#include "shell/db/connectionsettings.h"
#include "shell/db/connector.h"
#include "shell/db/schemaupgrade.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

struct Figures
{
    double best;
    double median;
};

Figures summarise(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    return {ms.front(), ms[ms.size() / 2]};
}

Figures schemaOnNewSqliteFile(int runs)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QTemporaryDir dir;
        sw::AppFolder folder(dir.path());
        QFile marker(folder.filePath(u"CONVO.DBS"_s));
        marker.open(QIODevice::WriteOnly);
        marker.close();
        sw::ConnectionSettings settings;
        settings.dbType = u"SQLITE"_s;
        settings.databaseName = u"CONVO"_s;
        sw::Connector::Options options;
        options.createIfMissing = true;
        QElapsedTimer t;
        t.start();
        const auto db = sw::Connector::open(settings, folder, options);
        QTextStream out(stdout), err(stderr);
        sw::ConsolePrompter prompter(out, err);
        sw::SchemaUpgrade(*db, prompter).run();
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    return summarise(ms);
}

Figures guiToLoginWindow(const QString &folder, int runs, std::vector<double> *inProcess)
{
    std::vector<double> ms;
    static const QRegularExpression reported(u"after (\\d+) ms"_s);
    for (int i = 0; i < runs; ++i) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        p.setProcessEnvironment(env);
        QElapsedTimer t;
        t.start();
        p.start(QStringLiteral(SCROLLWISE_GUI_PATH), {u"--folder"_s, folder, u"--exit-at-login"_s});
        p.waitForFinished(60000);
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
        const auto m = reported.match(QString::fromUtf8(p.readAllStandardOutput()));
        if (m.hasMatch())
            inProcess->push_back(m.captured(1).toDouble());
    }
    return summarise(ms);
}

} // namespace

int main(int argc, char **argv)
{
    sw::prepareHeadlessEnvironment();
    QGuiApplication app(argc, argv);
    const int runs = 15;

    const Figures schema = schemaOnNewSqliteFile(runs);
    std::printf("schema on a new SQLite file (14 tables, indexes): best %.1f ms, median %.1f ms (target < 200 ms)\n",
                schema.best, schema.median);

    QTemporaryDir dir;
    const QString folder = dir.filePath(u"demo"_s);
    QTextStream out(stdout), err(stderr);
    sw::ConsolePrompter prompter(out, err);
    QElapsedTimer demo;
    demo.start();
    sw::DemoFolder::build(sw::AppFolder(folder), prompter);
    std::printf("demonstration folder built in %.0f ms\n", double(demo.nsecsElapsed()) / 1e6);

    std::vector<double> inProcess;
    const Figures gui = guiToLoginWindow(folder, runs, &inProcess);
    std::printf("program start to login window ready (whole process, offscreen): best %.0f ms, median %.0f ms "
                "(target < 300 ms)\n",
                gui.best, gui.median);
    if (!inProcess.empty()) {
        const Figures own = summarise(inProcess);
        std::printf("  of which inside the program (its own clock): best %.0f ms, median %.0f ms\n", own.best,
                    own.median);
    }
    return 0;
}
