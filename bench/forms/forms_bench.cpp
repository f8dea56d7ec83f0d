// SPDX-License-Identifier: GPL-3.0-or-later
// How long the clerk waits for the main window after the login, and for the F1
// lookup on a large table to open and to narrow on each keystroke. Prints figures;
// asserts nothing. Runs offscreen on a demonstration folder in a temporary directory.
#include "app/demo/demofolder.h"
#include "shell/batch/consoleprompter.h"
#include "shell/core/headless.h"
#include "shell/forms/lookupdialog.h"
#include "shell/forms/screenregistry.h"
#include "shell/session.h"
#include "shell/startup/loginstore.h"
#include "shell/startup/startup.h"
#include "shell/ui/mainwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

class QuietUi final : public StartupUi
{
public:
    explicit QuietUi(Prompter &p)
        : m_prompter(p)
    {
    }
    Prompter &prompter() override { return m_prompter; }
    void showConfigurationDialog(const QString &) override { }
    void showUpgrade(Database &, const AppFolder &) override { }
    void processEvents() override { }

private:
    Prompter &m_prompter;
};

struct Figures
{
    std::vector<double> ms;
    void add(qint64 ns) { ms.push_back(double(ns) / 1e6); }
    void print(const char *what)
    {
        std::sort(ms.begin(), ms.end());
        std::printf("%-52s median %8.2f ms   min %8.2f ms   max %8.2f ms   (%zu runs)\n", what, ms[ms.size() / 2],
                    ms.front(), ms.back(), ms.size());
    }
};

void mainWindowAfterLogin(Session &session, Prompter &prompter)
{
    const ScreenRegistry screens;
    Figures figures;
    for (int run = 0; run < 15; ++run) {
        QElapsedTimer t;
        t.start();
        MainWindow window(session, prompter, screens);
        window.applyPermissions();
        window.setUpStatusBar();
        window.showMaximized();
        QCoreApplication::processEvents();
        figures.add(t.nsecsElapsed());
    }
    figures.print("main window shown after login (demo folder)");
}

void lookupOnLargeTable(Session &session, int rows)
{
    Database &db = session.db();
    {
        WriteScope scope(db);
        Statement insert = db.prepare(u"insert into kanlib (fengname, fkanname) values (?, ?)"_s);
        for (int i = 0; i < rows; ++i) {
            const QString n = QString::number(i).rightJustified(6, u'0');
            insert.exec({QString(u"NAME"_s + n), QString(u"KAN"_s + n)});
        }
        scope.commit();
    }
    const LookupRequest request{u"kanlib"_s, u"fengname as English, fkanname as Kannada"_s, {}, {}, {}, {}};
    Figures open;
    Figures keystroke;
    const QString typed = u"name0421"_s;
    for (int run = 0; run < 10; ++run) {
        QElapsedTimer t;
        t.start();
        LookupDialog window(db, request);
        window.show();
        QCoreApplication::processEvents();
        open.add(t.nsecsElapsed());
        auto *search = window.findChild<QLineEdit *>(u"txtSearch"_s);
        for (const QChar c : typed) {
            t.restart();
            QTest::keyClick(search, c.toLatin1());
            QCoreApplication::processEvents();
            keystroke.add(t.nsecsElapsed());
        }
    }
    const QByteArray label = "F1 lookup opens on " + QByteArray::number(rows) + " rows";
    open.print(label.constData());
    keystroke.print("  narrows on one keystroke (typing \"name0421\")");
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    prepareHeadlessEnvironment();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QTextStream out(stdout);
    QTextStream err(stderr);
    ConsolePrompter prompter(out, err);
    const AppFolder folder(dir.filePath(u"demo"_s));
    DemoFolder::build(folder, prompter);

    Session session;
    QuietUi ui(prompter);
    if (Startup(folder, ui).run(session) != Startup::Outcome::ReadyForLogin)
        return 1;
    if (LoginStore(session.db()).login(session, u"ADMIN"_s, u"admin"_s, u"ADMN"_s))
        return 1;
    mainWindowAfterLogin(session, prompter);
    lookupOnLargeTable(session, argc > 1 ? std::atoi(argv[1]) : 100000);
    return 0;
}
