// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/guiapplication.h"

#include "shell/core/headless.h"
#include "shell/forms/screenregistry.h"
#include "shell/session.h"
#include "shell/startup/startup.h"
#include "shell/ui/configurationdialog.h"
#include "shell/ui/logindialog.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/qtprompter.h"
#include "shell/ui/splashwindow.h"
#include "shell/ui/upgradewindow.h"

#include "shell/document/fonttable.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include <cstdio>
#include <cstring>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

class GuiStartupUi final : public StartupUi
{
public:
    explicit GuiStartupUi(QtPrompter &prompter)
        : m_prompter(prompter)
    {
    }
    Prompter &prompter() override { return m_prompter; }
    void showConfigurationDialog(const QString &iniFile) override
    {
        ConfigurationDialog dialog(iniFile, m_prompter);
        dialog.exec();
    }
    void showUpgrade(Database &db, const AppFolder &folder) override
    {
        UpgradeWindow window(db, folder, m_prompter);
        window.exec();
    }
    void processEvents() override { QCoreApplication::processEvents(); }
    bool offersRestore() const override { return true; }

private:
    QtPrompter &m_prompter;
};

} // namespace

namespace {
bool hasArgument(int argc, char **argv, const char *name)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0)
            return true;
    }
    return false;
}
} // namespace

int runGui(int argc, char **argv, const ScreenRegistry &screens)
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    const bool noDisplay = qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
                           && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    if (noDisplay) {
        if (!hasArgument(argc, argv, "--exit-at-login") && !hasArgument(argc, argv, "--screenshot")) {
            std::fprintf(stderr, "scrollwise: there is no display (DISPLAY is not set). Start it on a desktop, "
                                 "or use scrollwise-batch, which needs none.\n");
            return 1;
        }
    }
    prepareHeadlessEnvironment();
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Scrollwise"_s);

    QCommandLineParser parser;
    parser.setApplicationDescription(u"Scrollwise: degree certificates of a convocation"_s);
    parser.addHelpOption();
    const QCommandLineOption folderOption(u"folder"_s, u"The application folder."_s, u"DIR"_s);
    const QCommandLineOption exitAtLogin(u"exit-at-login"_s, u"Stop when the login window is ready."_s);
    const QCommandLineOption screenshot(u"screenshot"_s, u"Save the login window as a PNG and stop."_s, u"FILE"_s);
    parser.addOptions({folderOption, exitAtLogin, screenshot});
    parser.process(app);

    Session session;
    QtPrompter prompter;
    QPointer<SplashWindow> splash = new SplashWindow;
    splash->show();
    QCoreApplication::processEvents();

    GuiStartupUi ui(prompter);
    Startup startup(AppFolder::resolve(parser.value(folderOption)), ui);
    if (startup.run(session) != Startup::Outcome::ReadyForLogin)
        return 0;
    if (splash)
        splash->showInstitution(session.instTitle);

    LoginDialog login(session, prompter);
    if (splash)
        splash->loginOpened();
    if (parser.isSet(exitAtLogin) || parser.isSet(screenshot)) {
        login.show();
        QCoreApplication::processEvents();
        std::printf("login window ready after %lld ms\n", static_cast<long long>(sinceStart.elapsed()));
        if (parser.isSet(screenshot)) {
            if (!login.grab().save(parser.value(screenshot))) {
                std::fprintf(stderr, "cannot save %s\n", qPrintable(parser.value(screenshot)));
                return 1;
            }
        }
        return 0;
    }
    if (login.exec() != QDialog::Accepted)
        return 0;
    if (splash)
        splash->close();
    // The window's status bar says it too (see MainWindow::firstActivation).
    if (const QString notice = FontTable::kannadaNotice(); !notice.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(notice));
    // A clerk who logs out hands the workstation to the next login.
    for (;;) {
        screens.setUpSession(session);
        MainWindow main(session, prompter, screens);
        main.applyPermissions();
        main.setUpStatusBar();
        main.showMaximized();
        const int code = QApplication::exec();
        if (main.ending() != MainWindow::Ending::LogOut)
            return code;
        main.hide();
        LoginDialog next(session, prompter);
        if (next.exec() != QDialog::Accepted)
            return 0;
    }
}

} // namespace sw
