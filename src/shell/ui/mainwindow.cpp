// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/mainwindow.h"

#include "shell/common/appearance.h"
#include "shell/core/helppage.h"
#include "shell/core/institutionconfig.h"
#include "shell/core/prompter.h"
#include "shell/session.h"
#include "shell/core/versiontext.h"
#include "shell/db/dberror.h"
#include "shell/db/failures.h"
#include "shell/settings/controlstore.h"
#include "shell/document/fonttable.h"
#include "shell/forms/childform.h"
#include "shell/forms/commandactions.h"
#include "shell/forms/commanddispatcher.h"
#include "shell/forms/menutree.h"
#include "shell/forms/screenregistry.h"
#include "shell/startup/loginstore.h"
#include "shell/startup/startup.h"
#include "shell/ui/helpwindow.h"
#include "shell/ui/noticepanel.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDesktopServices>
#include <QDialog>
#include <QGuiApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <cmath>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

const QString kMessageTitle = u"Scrollwise"_s;
// The property that names the menu code a screen was opened from (its help section).
const char *const kMenuCode = "menuCode";

QString plainCaption(const QString &caption)
{
    QString c = caption;
    return c.remove(u'&');
}

QString describe(const std::exception &e) { return failureText(e, ErrorForm::Screen); }

} // namespace

MainWindow::MainWindow(Session &session, Prompter &prompter, const ScreenRegistry &screens, QWidget *parent)
    : QMainWindow(parent)
    , m_session(session)
    , m_prompter(prompter)
    , m_screens(screens)
    , m_mdi(new QMdiArea(this))
    , m_menu(new MenuActions(this))
    , m_commands(new CommandActions(this))
    , m_dispatcher(new CommandDispatcher(*m_commands, prompter, this))
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    setObjectName(u"MdiMainMenu"_s);
    setWindowTitle(Startup::mainWindowCaption(session));
    m_mdi->setObjectName(u"mdiArea"_s);
    m_mdi->viewport()->installEventFilter(this);
    setCentralWidget(m_mdi);
    const QString picture = session.folder.isValid() ? session.folder.findFileAnyCase(u"backpic.jpg"_s) : QString();
    if (!picture.isEmpty())
        m_mdi->setBackground(QBrush(QPixmap(picture)));

    buildMenus();
    addSessionItems();
    buildToolbar();
    buildStatusBar();
    connect(m_commands, &CommandActions::triggered, this, &MainWindow::commandChosen);
    connect(m_mdi, &QMdiArea::subWindowActivated, this, &MainWindow::subWindowActivated);
    connect(m_dispatcher, &CommandDispatcher::activeCaptionChanged, m_panels[4], &QLabel::setText);
    connect(m_dispatcher, &CommandDispatcher::modeTextChanged, m_panels[5], &QLabel::setText);
    connect(m_dispatcher, &CommandDispatcher::exited, this, [this] {
        m_panels[1]->clear();
        m_panels[4]->clear();
        m_panels[5]->clear();
    });

    try {
        if (session.cn && session.db().isOpen()) {
            loadControlValues(session);
            removeLeftoverReports(session.folder.root());
        }
    } catch (const DbError &e) {
        prompter.message(e.startupMessage(), u"Message"_s, PromptIcon::None);
    }
    resize(1024, 720);
    QGuiApplication::restoreOverrideCursor();
}

MainWindow::~MainWindow()
{
    // Screens go before the dispatcher they report to. They are deleted, not closed:
    // the questions about unsaved work were asked when the window was closed.
    for (QMdiSubWindow *sub : m_mdi->subWindowList())
        delete sub;
}

void MainWindow::buildMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(u"menuBar"_s);
    QMenu *current = nullptr;
    for (const MenuEntry &entry : menuTree()) {
        QAction *action = m_menu->action(entry.code);
        if (entry.parent.isEmpty()) {
            if (entry.code == u"MnuExit"_s) {
                connect(action, &QAction::triggered, this, &MainWindow::quitFromMenu);
                bar->addAction(action);
                current = nullptr;
                continue;
            }
            current = new QMenu(plainCaption(entry.caption), this);
            current->setObjectName(entry.code + u"_menu"_s);
            current->installEventFilter(this);
            action->setMenu(current);
            bar->addAction(action);
            if (entry.code == u"mnuwindow"_s) {
                m_windowMenu = current;
                connect(current, &QMenu::aboutToShow, this, &MainWindow::fillWindowMenu);
                // Ctrl+F4 closes the screen in front whether or not the menu is open.
                m_closeScreen = new QAction(u"&Close"_s, this);
                m_closeScreen->setObjectName(u"mnuClose"_s);
                m_closeScreen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));
                connect(m_closeScreen, &QAction::triggered, this, &MainWindow::closeActiveScreen);
                addAction(m_closeScreen);
            }
            continue;
        }
        // The menu tree begins with a top-level menu, so an item always has one to go in.
        current->addAction(action); // NOLINT(clang-analyzer-core.CallAndMessage)
        if (entry.separator)
            continue;
        if (entry.code == u"mnuAlt"_s) {
            auto *keys = new QMenu(plainCaption(entry.caption), this);
            keys->setObjectName(u"mnuAlt_menu"_s);
            keys->installEventFilter(this);
            for (int i = 1; i <= kCommandCount; ++i)
                keys->addAction(m_commands->action(commandAt(i)));
            action->setMenu(keys);
        } else if (entry.code == u"mnuhlpsearch"_s) {
            connect(action, &QAction::triggered, this, &MainWindow::helpSearch);
        } else {
            const QString code = entry.code;
            connect(action, &QAction::triggered, this, [this, code] { openScreen(code); });
        }
    }
}

// Log Out and Change Convocation under Utilities, below its items: they belong to no
// menu code, so every user has them.
void MainWindow::addSessionItems()
{
    QAction *utilities = m_menu->action(u"N4"_s);
    QMenu *menu = utilities ? utilities->menu() : nullptr;
    if (!menu)
        return;
    menu->addSeparator();
    QAction *change = menu->addAction(u"Change Con&vocation..."_s, this, &MainWindow::changeConvocation);
    change->setObjectName(u"mnuChangeConvo"_s);
    QAction *out = menu->addAction(u"Log &Out"_s, this, &MainWindow::logOut);
    out->setObjectName(u"mnuLogOut"_s);
}

void MainWindow::buildToolbar()
{
    m_toolbar = addToolBar(u"Toolbar1"_s);
    m_toolbar->setObjectName(u"Toolbar1"_s);
    m_toolbar->setMovable(false);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (int i = 1; i <= kCommandCount; ++i) {
        // The search button stays hidden in every mode, so it is never placed.
        if (commandAt(i) != Command::Search)
            m_toolbar->addAction(m_commands->action(commandAt(i)));
    }
}

void MainWindow::buildStatusBar()
{
    statusBar()->setObjectName(u"StatusBar1"_s);
    for (std::size_t i = 0; i < m_panels.size(); ++i) {
        auto *panel = new QLabel(this);
        panel->setObjectName(u"StatusBar1_"_s + QString::number(i + 1));
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setMinimumWidth(i == 3 || i == 4 ? 200 : 90);
        panel->installEventFilter(this);
        statusBar()->addWidget(panel, i == 4 ? 1 : 0);
        m_panels[i] = panel;
    }
    // Notices go into a panel of their own: a passing message of the bar would hide the
    // date, the user and the convocation. A line of its own would take height from the
    // screens, which an office screen of 768 lines cannot spare: a long notice is
    // shortened at a word, and a click shows it whole.
    m_notice = new NoticePanel(this);
    m_notice->setVisible(false);
    connect(m_notice, &NoticePanel::opened, this,
            [this](const QString &notice) { m_prompter.message(notice, u"Notice"_s, PromptIcon::Information); });
    // The notice takes most of the room the panels leave: the screen's caption needs little.
    statusBar()->addPermanentWidget(m_notice, 3);
    auto *clock = new QTimer(this);
    connect(clock, &QTimer::timeout, this, &MainWindow::tick);
    clock->start(1000);
    tick();
}

void MainWindow::showNotice(const QString &text, int milliseconds)
{
    m_notice->setNotice(text);
    m_notice->setVisible(!text.isEmpty());
    if (milliseconds > 0) {
        // A later notice keeps its own time: only the text this timer was set for goes.
        QTimer::singleShot(milliseconds, m_notice, [this, text] {
            if (m_notice->notice() == text)
                m_notice->hide();
        });
    }
}

void MainWindow::applyPermissions() { m_menu->applyPermissions(m_session); }

void MainWindow::setUpStatusBar()
{
    m_panels[2]->setText(u"Version:"_s + programVersion());
    const QString database = m_session.cn ? m_session.db().currentDatabaseName() : QString();
    m_panels[3]->setText(m_session.convoCode + u" / "_s + database + u" / "_s + m_session.userName);
}

void MainWindow::tick()
{
    const QDateTime now = QDateTime::currentDateTime();
    m_panels[0]->setText(now.date().toString(u"dd/MM/yyyy"_s));
    m_panels[1]->setText(now.time().toString(u"hh:mm:ss"_s));
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_activatedOnce) {
        m_activatedOnce = true;
        firstActivation();
    }
}

void MainWindow::firstActivation()
{
    m_dispatcher->setToolMode(ToolMode::Disabled);
    // Said once, as the window first shows: where the legacy Kannada fonts are missing,
    // Kannada is read through Unicode.
    if (const QString notice = FontTable::kannadaNotice(); !notice.isEmpty())
        showNotice(notice, kKannadaNoticeMs);
    if (!m_session.cn || !m_session.db().isOpen())
        return;
    try {
        const InstitutionDetails institution = ControlStore(m_session.db()).institution();
        if (!institution.rowExists)
            return;
        m_session.instCode = institution.unitCode;
        if (m_session.instCode == u"000"_s) {
            m_session.instTitle = u"CONVO"_s;
            setWindowTitle(centredCaption(m_session.instTitle));
        }
        m_session.instAddress = institution.address;
    } catch (const DbError &e) {
        m_prompter.message(e.screenMessage(), u"Message"_s, PromptIcon::Critical);
    }
}

QString MainWindow::centredCaption(const QString &title)
{
    // Halves round to the even neighbour, as the caption always has.
    const auto half = static_cast<qsizetype>(std::nearbyint(double(title.size()) / 2.0));
    return QString(std::max<qsizetype>(0, 80 - half), u' ') + title;
}

void MainWindow::loadControlValues(Session &session)
{
    const ControlStore control(session.db());
    const InstitutionDetails institution = control.institution();
    if (!institution.rowExists)
        return;
    const AppearanceSettings look = control.appearance(AppearanceSettings::whenNull());
    session.signAuthority1 = institution.signingAuthority1;
    session.fontSize = look.fontSize;
    session.contactLine = contactLine(institution);
    session.fieldColour = look.fieldColour;
    session.editColour = look.onlineFieldColour;
}

QString MainWindow::contactLine(const InstitutionDetails &institution)
{
    QStringList parts;
    if (!institution.phone.isEmpty())
        parts.append(u"Tel - "_s + institution.phone);
    if (!institution.fax.isEmpty())
        parts.append(u"Fax - "_s + institution.fax);
    if (!institution.email.isEmpty())
        parts.append(u"E-mail: "_s + institution.email);
    return parts.join(u", "_s);
}

int MainWindow::removeLeftoverReports(const QString &folder)
{
    QDir dir(folder);
    if (folder.isEmpty() || !dir.exists())
        return 0;
    int removed = 0;
    // Names match in any letter case (REP001.Prn is the usual spelling).
    for (const QString &name : dir.entryList(QDir::Files)) {
        const QString lower = name.toLower();
        if (lower.startsWith(u"rep"_s)
            && (lower.endsWith(u".prn"_s) || lower.endsWith(u".txt"_s) || lower.endsWith(u".doc"_s))) {
            removed += dir.remove(name) ? 1 : 0;
        }
    }
    return removed;
}

void MainWindow::commandChosen(Command command)
{
    m_dispatcher->doCommand(command);
    // The mode panel follows the screen's own mode (the dispatcher reports it).
    if (command == Command::Add || command == Command::Edit || command == Command::Delete)
        m_dispatcher->setLastModeIndex(commandIndex(command));
}

void MainWindow::subWindowActivated(QMdiSubWindow *window)
{
    if (!window) {
        // The area also reports "none" when the program loses the focus; only an
        // empty area means no screen is left.
        if (m_mdi->subWindowList().isEmpty())
            m_dispatcher->activate(nullptr);
        return;
    }
    auto *form = qobject_cast<ChildForm *>(window->widget());
    m_dispatcher->activate(form);
    if (!form)
        m_panels[4]->setText(window->windowTitle());
}

void MainWindow::openScreen(const QString &menuCode)
{
    const MenuEntry *entry = findMenuEntry(menuCode);
    if (!entry || entry->separator)
        return;
    if (entry->convocationCommand && m_session.isAdminConvocation())
        return;
    // The menu is the protection; asking for a disabled item directly changes nothing.
    if (!m_menu->action(menuCode)->isEnabled())
        return;
    const ScreenEntry *registered = m_screens.find(menuCode);
    const QString formName = registered ? registered->formName : menuCode;
    for (QMdiSubWindow *sub : m_mdi->subWindowList()) {
        if (sub->widget() && sub->widget()->objectName() == formName) {
            m_mdi->setActiveSubWindow(sub);
            return;
        }
    }
    if (!registered) {
        showNotYetAvailable(menuCode, entry->caption);
        return;
    }
    try {
        const FormContext context{m_session, m_prompter, *m_dispatcher};
        QWidget *screen = registered->create(context, menuCode);
        if (!screen)
            return;
        screen->setProperty(kMenuCode, menuCode);
        if (m_session.cn && m_session.db().isOpen())
            Appearance::read(m_session.db()).apply(screen, m_session.fontSize, m_session.folder);
        if (registered->modal) {
            std::unique_ptr<QWidget> owned(screen);
            if (auto *dialog = qobject_cast<QDialog *>(screen)) {
                dialog->setParent(this, Qt::Dialog);
                dialog->exec();
            }
            return;
        }
        addChild(screen);
    } catch (const std::exception &e) {
        m_prompter.message(describe(e), u"Message"_s, PromptIcon::Critical);
    }
}

void MainWindow::addChild(QWidget *screen)
{
    QMdiSubWindow *sub = m_mdi->addSubWindow(screen);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    // The sub-window's own menu closes on Ctrl+W on some desktops; the record commands' keys win.
    if (QMenu *system = sub->systemMenu()) {
        for (QAction *a : system->actions()) {
            QList<QKeySequence> kept;
            for (const QKeySequence &key : a->shortcuts()) {
                // Ctrl+F4 is the Window menu's Close, which asks about open changes.
                bool taken = key == m_closeScreen->shortcut();
                for (int i = 1; i <= kCommandCount; ++i)
                    taken = taken || key == commandShortcut(commandAt(i));
                if (!taken)
                    kept.append(key);
            }
            a->setShortcuts(kept);
        }
    }
    sub->setWindowTitle(screen->windowTitle());
    sub->adjustSize();
    sub->move(std::max(0, (m_mdi->viewport()->width() - sub->width()) / 2),
              std::max(0, (m_mdi->viewport()->height() - sub->height()) / 2));
    sub->show();
    m_mdi->setActiveSubWindow(sub);
}

void MainWindow::showNotYetAvailable(const QString &menuCode, const QString &caption)
{
    auto *placeholder = new QWidget;
    placeholder->setObjectName(menuCode);
    placeholder->setProperty(kMenuCode, menuCode);
    placeholder->setWindowTitle(plainCaption(caption));
    auto *layout = new QVBoxLayout(placeholder);
    auto *label = new QLabel(plainCaption(caption) + u": this screen is not yet available."_s, placeholder);
    label->setObjectName(u"notYetAvailable"_s);
    layout->addWidget(label);
    placeholder->resize(420, 120);
    addChild(placeholder);
}

void MainWindow::fillWindowMenu()
{
    m_windowMenu->clear();
    m_windowMenu->addAction(m_closeScreen);
    m_closeScreen->setEnabled(m_mdi->activeSubWindow() != nullptr);
    m_windowMenu->addSeparator();
    int n = 0;
    for (QMdiSubWindow *sub : m_mdi->subWindowList()) {
        QAction *a = m_windowMenu->addAction(u"&"_s + QString::number(++n) + u' ' + sub->windowTitle());
        a->setCheckable(true);
        a->setChecked(sub == m_mdi->activeSubWindow());
        connect(a, &QAction::triggered, this, [this, sub] { m_mdi->setActiveSubWindow(sub); });
    }
}

QUrl MainWindow::helpPageUrl() const
{
    QString page = InstitutionConfig::load(m_session.folder).value(u"HELP"_s, u"PAGE"_s).trimmed();
    if (page.contains(u"://"_s))
        return QUrl(page);
    if (!page.isEmpty())
        return QUrl::fromLocalFile(m_session.folder.filePath(page));
    // The folder's own copy first, then the one that ships with the program.
    const QString own = m_session.folder.filePath(u"Help/index.html"_s);
    const QString bundled = bundledHelpFolder();
    if (QFileInfo::exists(own) || bundled.isEmpty())
        return QUrl::fromLocalFile(own);
    return QUrl::fromLocalFile(bundled + u"/index.html"_s);
}

void MainWindow::showHelp(const QString &topic)
{
    const QUrl url = helpPageUrl();
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) {
        m_prompter.message(u"The help page "_s + url.toLocalFile() + u" does not exist."_s, u"Message"_s,
                           PromptIcon::Information);
        return;
    }
    if (url.isLocalFile()) {
        if (!m_help)
            m_help = new HelpWindow(this);
        m_help->showTopic(url, topic);
        return;
    }
    QUrl at = url;
    if (!topic.isEmpty())
        at.setFragment(topic);
    if (QDesktopServices::openUrl(at))
        return;
    // Say which part is missing: the desktop's opener, or a browser it knows.
    const QString why = QStandardPaths::findExecutable(u"xdg-open"_s).isEmpty()
                            ? u"xdg-open (package xdg-utils) is not installed"_s
                            : u"no web browser is set up for the desktop (xdg-open found none)"_s;
    m_prompter.message(u"The help page cannot be shown: "_s + why + u". Open "_s + at.toString()
                           + u" in a web browser."_s,
                       u"Message"_s, PromptIcon::Information);
}

void MainWindow::helpSearch()
{
    showHelp({});
    if (m_help && m_help->isVisible())
        m_help->startSearch();
}

QString MainWindow::activeScreenTopic() const
{
    const QMdiSubWindow *sub = m_mdi->activeSubWindow();
    return sub && sub->widget() ? sub->widget()->property(kMenuCode).toString() : QString();
}

void MainWindow::helpFromMenu(QMenu *menu)
{
    QString topic;
    if (const QAction *item = menu->activeAction()) {
        topic = item->objectName();
        // The record commands of Alternate Keys have the keys' section.
        if (topic.startsWith(u"mnuFile_"_s))
            topic = u"mnuAlt"_s;
    }
    if (topic.isEmpty() || topic.endsWith(u"_menu"_s))
        topic = menu->objectName().chopped(5); // "N2_menu": the menu's own section
    // The menus close first, as Esc would close them, and the help opens over the window.
    while (QWidget *popup = QApplication::activePopupWidget())
        popup->close();
    QTimer::singleShot(0, this, [this, topic] { showHelp(topic); });
}

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        showHelp(activeScreenTopic());
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void MainWindow::closeActiveScreen()
{
    QMdiSubWindow *sub = m_mdi->activeSubWindow();
    if (!sub)
        return;
    if (sub->widget() == m_dispatcher->activeForm() && m_dispatcher->isEnabled(Command::Exit))
        m_dispatcher->doCommand(Command::Exit);
    else
        sub->close();
}

bool MainWindow::closeEveryScreen()
{
    for (QMdiSubWindow *sub : m_mdi->subWindowList()) {
        m_mdi->setActiveSubWindow(sub);
        if (!sub->close())
            return false;
    }
    QCoreApplication::processEvents();
    return true;
}

void MainWindow::logOut()
{
    if (!closeEveryScreen())
        return;
    m_ending = Ending::LogOut;
    m_quitConfirmed = true;
    close();
}

void MainWindow::changeConvocation()
{
    if (!m_session.cn || !closeEveryScreen())
        return;
    try {
        const LoginStore store(m_session.db());
        const QStringList codes = store.convocations();
        const std::optional<QString> typed = m_prompter.input(u"Convocation (one of "_s + codes.join(u", "_s) + u"):"_s,
                                                              u"Change Convocation"_s, m_session.convoCode);
        if (!typed || typed->trimmed().isEmpty())
            return;
        const QString code = typed->trimmed().toUpper();
        if (!codes.contains(code, Qt::CaseInsensitive)) {
            m_prompter.message(u"There is no convocation "_s + code + u"; the work goes on in "_s + m_session.convoCode
                                   + u'.',
                               u"Message"_s, PromptIcon::Information);
            return;
        }
        store.establish(m_session, m_session.userName, code);
        m_screens.setUpSession(m_session);
        applyPermissions();
        setUpStatusBar();
        setWindowTitle(Startup::mainWindowCaption(m_session));
    } catch (const std::exception &e) {
        m_prompter.message(describe(e), u"Message"_s, PromptIcon::Critical);
    }
}

void MainWindow::quitFromMenu()
{
    if (m_prompter.ask(u"Are You Sure About Quiting ?"_s, kMessageTitle, PromptIcon::Critical, PromptButtons::YesNo,
                       PromptAnswer::No)
        != PromptAnswer::Yes)
        return;
    m_quitConfirmed = true;
    close();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_quitConfirmed
        && m_prompter.ask(u"Are You sure about Quiting ?"_s, kMessageTitle, PromptIcon::Critical, PromptButtons::YesNo,
                          PromptAnswer::No)
               != PromptAnswer::Yes) {
        event->ignore();
        return;
    }
    // Work in progress on any screen is saved or dropped as the clerk says, screen by
    // screen; Cancel on any of them keeps the program running with that work open.
    for (QMdiSubWindow *sub : m_mdi->subWindowList()) {
        auto *form = qobject_cast<ChildForm *>(sub->widget());
        if (!form || !form->hasUnsavedWork())
            continue;
        m_mdi->setActiveSubWindow(sub);
        if (!form->settleWork()) {
            m_quitConfirmed = false;
            event->ignore();
            return;
        }
    }
    m_quitConfirmed = true;
    event->accept();
}

void MainWindow::chooseBackground()
{
    const auto file =
        m_prompter.chooseFile(u"Background Picture"_s, m_session.folder.root(), u"*.*"_s, Prompter::FileMode::Open);
    if (!file)
        return;
    const QPixmap picture(*file);
    if (picture.isNull()) {
        m_prompter.message(u"Invalid picture: "_s + *file, u"Message"_s, PromptIcon::Critical);
        return;
    }
    m_mdi->setBackground(QBrush(picture));
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F1
        && static_cast<QKeyEvent *>(event)->modifiers() == Qt::NoModifier) {
        if (auto *menu = qobject_cast<QMenu *>(watched)) {
            helpFromMenu(menu);
            return true;
        }
    }
    if (watched == m_mdi->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        chooseBackground();
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == m_panels[3]) {
            m_prompter.message(u"option to change user"_s, kMessageTitle, PromptIcon::None);
            return true;
        }
        if (watched == m_panels[4]) {
            m_prompter.message(u"About the application"_s, kMessageTitle, PromptIcon::None);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace sw
