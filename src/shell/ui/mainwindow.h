// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/forms/command.h"

#include <QMainWindow>
#include <QUrl>

#include <array>

class QLabel;
class QMdiArea;
class QMenu;
class QMdiSubWindow;
class QToolBar;

namespace sw {

struct InstitutionDetails;

class CommandActions;
class CommandDispatcher;
class HelpWindow;
class NoticePanel;
class MenuActions;
class Prompter;
class ScreenRegistry;
class Session;

// The main window (object name `MdiMainMenu`): every screen opens as a child of its MDI area.
// It carries the menu tree (items named by their menu codes, enabled as the
// user's permission string allows), the toolbar `Toolbar1` and the "Alternate
// Keys" menu with the fourteen record commands and their function keys, and the
// status bar `StatusBar1` with six panels: date, time, version, convocation /
// database / user, the active screen's caption and the current mode.
//
// Screens come from the ScreenRegistry (see shell/forms/screenregistry.h); a menu
// code without a screen opens a "not yet available" child. Lives from the login
// to the end of the program; the session, prompter and registry outlive it.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    MainWindow(Session &session, Prompter &prompter, const ScreenRegistry &screens, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Enables the menu items the logged-in user may use; called after the login and
    // after the convocation is changed.
    void applyPermissions();
    // Status bar panels 3 and 4: version, and convocation / database / user.
    void setUpStatusBar();

    // What a menu item does when chosen: opens its screen (or brings it to the
    // front when it is open); nothing for an item the user's permissions disable,
    // nor for a convocation command while the convocation is "ADMN".
    void openScreen(const QString &menuCode);

    QMdiArea *mdiArea() const { return m_mdi; }
    QToolBar *toolbar() const { return m_toolbar; }
    MenuActions &menuActions() const { return *m_menu; }
    CommandActions &commandActions() const { return *m_commands; }
    CommandDispatcher &dispatcher() const { return *m_dispatcher; }
    // Panel 1..6 of the status bar.
    QLabel *statusPanel(int index) const { return m_panels.at(std::size_t(index - 1)); }
    // A notice (such as Kannada shown through Unicode) in the status bar's last panel,
    // shortened when the bar has not the room for it and whole in its tip and on a click;
    // it goes after `milliseconds` (0: it stays until the next notice). An empty text
    // hides the panel.
    void showNotice(const QString &text, int milliseconds);
    NoticePanel *noticePanel() const { return m_notice; }
    // How the window ended: the program quits, or the clerk logged out and the login
    // window opens again.
    enum class Ending { Quit, LogOut };
    Ending ending() const { return m_ending; }
    // Utilities > Log Out: settles every screen's work as quitting does, then ends the
    // window for the next login. Nothing happens when the clerk keeps a screen open.
    void logOut();
    // Utilities > Change Convocation: closes every screen (settling their work), asks
    // for the convocation and works on it, with the menu and status bar following it.
    void changeConvocation();
    // Window > Close (Ctrl+F4): closes the screen in front as Exit does, or asks about
    // its open change as closing it with the mouse does.
    void closeActiveScreen();

    // The help page: [HELP] PAGE of the institution file (a URL, or a path in the
    // application folder), else Help/index.html in the application folder, else the
    // page that ships with the program.
    QUrl helpPageUrl() const;
    // Opens the help window at the section of `topic` (a menu code such as "N22"; empty:
    // the beginning). F1 on a highlighted menu item or on a screen comes here; a page
    // on the web (a URL in [HELP] PAGE) goes to the desktop's browser instead.
    void showHelp(const QString &topic);
    // The help window, once opened (nullptr before).
    HelpWindow *helpWindow() const { return m_help; }
    // The section F1 opens for the screen in front: its menu code.
    QString activeScreenTopic() const;

    // Values of the settings row the screens and reports use (SignAuthority1,
    // FontSize, ContactLine, FieldColour, EditColour), with their defaults.
    static void loadControlValues(Session &session);
    // "Tel - ..., Fax - ..., E-mail: ...", leaving out the parts that are null.
    static QString contactLine(const InstitutionDetails &institution);
    // The caption of an institution without a title of its own: blanks to centre it.
    static QString centredCaption(const QString &title);
    // Removes the report files a previous run left: rep*.prn, rep*.txt, rep*.doc.
    static int removeLeftoverReports(const QString &folder);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    // F1 that no box or grid of the screen in front took (for its lookup) opens the help
    // at that screen's section.
    void keyPressEvent(QKeyEvent *event) override;

private:
    // How long the notice of Kannada shown through Unicode stays in the status bar.
    static constexpr int kKannadaNoticeMs = 20000;

    void buildMenus();
    void buildToolbar();
    void buildStatusBar();
    void firstActivation();
    void commandChosen(Command command);
    void subWindowActivated(QMdiSubWindow *window);
    void addChild(QWidget *screen);
    void showNotYetAvailable(const QString &menuCode, const QString &caption);
    void fillWindowMenu();
    void addSessionItems();
    // Closes every screen, asking about each one's unsaved work; false when one stays open.
    bool closeEveryScreen();
    void helpSearch();
    // F1 on an open menu: the highlighted item's section (or the menu's own).
    void helpFromMenu(QMenu *menu);
    void quitFromMenu();
    void chooseBackground();
    void tick();

    Session &m_session;
    Prompter &m_prompter;
    const ScreenRegistry &m_screens;
    QMdiArea *m_mdi;
    MenuActions *m_menu;
    CommandActions *m_commands;
    CommandDispatcher *m_dispatcher;
    QToolBar *m_toolbar = nullptr;
    QMenu *m_windowMenu = nullptr;
    QAction *m_closeScreen = nullptr;
    NoticePanel *m_notice = nullptr;
    HelpWindow *m_help = nullptr;
    Ending m_ending = Ending::Quit;
    std::array<QLabel *, 6> m_panels{};
    bool m_activatedOnce = false;
    bool m_quitConfirmed = false;
};

} // namespace sw
