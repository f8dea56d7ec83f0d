// SPDX-License-Identifier: GPL-3.0-or-later
// A clerk's day on the real program, as he has it: an X server of 1366 x 768 (Xvfb) with a
// window manager (openbox), and nothing but key presses (xdotool) sent to the windows the
// program shows. He logs in, reads the help of a menu item, enters a candidate, prints his
// certificate into a PDF folder (a hurried Enter on the run's question first), closes the
// screens by keyboard and logs out. What the program said (its message transcript) must
// agree with the database and the files, and no window may be larger than the screen.
//
// Skipped with the reason when Xvfb, openbox or xdotool is missing (CI=true fails instead:
// scripts/install-deps installs them). ctest label: desktop.
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

constexpr int kScreenWidth = 1366;
constexpr int kScreenHeight = 768;
// How long a step may take before the test gives up on it (a guard, not a measure).
constexpr int kPatienceMs = 20000;

const QString kRegNo = u"2KD9900001"_s;

// Polls `done` until it holds or the patience runs out.
template <typename F> bool waitFor(F done, int patienceMs = kPatienceMs)
{
    for (int waited = 0; waited < patienceMs; waited += 100) {
        if (done())
            return true;
        std::this_thread::sleep_for(100ms);
    }
    return done();
}

// One X display of its own with its window manager and the program on it.
class Desk
{
public:
    ~Desk()
    {
        for (QProcess *p : {m_program.get(), m_windowManager.get(), m_server.get()}) {
            if (p && p->state() != QProcess::NotRunning) {
                p->terminate();
                if (!p->waitForFinished(3000))
                    p->kill();
                p->waitForFinished(3000);
            }
        }
    }

    // The reason the desk cannot be set up, or empty.
    QString start()
    {
        for (const char *tool : {"Xvfb", "openbox", "xdotool"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                return QString::fromLatin1(tool) + u" is not installed (scripts/install-deps installs it)"_s;
        }
        // The server picks a free display number itself and says which.
        m_server = std::make_unique<QProcess>();
        m_server->start(u"Xvfb"_s, {u"-displayfd"_s, u"1"_s, u"-screen"_s, u"0"_s,
                                    u"%1x%2x24"_s.arg(kScreenWidth).arg(kScreenHeight), u"-nolisten"_s, u"tcp"_s});
        const bool named = m_server->waitForStarted() && waitFor([this] {
                               m_server->waitForReadyRead(100);
                               return m_server->canReadLine();
                           });
        if (!named) {
            m_broken = true;
            return u"Xvfb did not start: "_s + QString::fromLocal8Bit(m_server->readAllStandardError());
        }
        m_display = u':' + QString::fromLatin1(m_server->readLine().trimmed());
        m_windowManager = std::make_unique<QProcess>();
        m_windowManager->setProcessEnvironment(environment());
        m_windowManager->start(u"openbox"_s, {});
        // The window manager is up once it names the desktop.
        if (!m_windowManager->waitForStarted() || !waitFor([this] { return xdo({u"get_desktop"_s}).ok; })) {
            m_broken = true;
            return u"openbox did not start on "_s + m_display;
        }
        return {};
    }

    // The tools are there but would not start: a fault, not a missing tool.
    bool broken() const { return m_broken; }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"DISPLAY"_s, m_display);
        env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        env.remove(u"WAYLAND_DISPLAY"_s);
        return env;
    }

    void startProgram(const QString &folder, const QString &transcript)
    {
        QProcessEnvironment env = environment();
        env.insert(u"SCROLLWISE_MESSAGE_LOG"_s, transcript);
        m_program = std::make_unique<QProcess>();
        m_program->setProcessEnvironment(env);
        m_program->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_program->start(QStringLiteral(SCROLLWISE_GUI_PATH), {u"--folder"_s, folder});
        m_program->waitForStarted();
    }
    QProcess &program() const { return *m_program; }

    struct Result
    {
        bool ok;
        QString out;
    };
    Result xdo(const QStringList &arguments) const
    {
        QProcess p;
        p.setProcessEnvironment(environment());
        p.start(u"xdotool"_s, arguments);
        p.waitForFinished(10000);
        return {p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0,
                QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed()};
    }

    // Keys pressed as a clerk presses them, a moment apart.
    void key(const QString &keys) const
    {
        xdo(QStringList{u"key"_s, u"--delay"_s, u"80"_s} + keys.split(u' '));
        std::this_thread::sleep_for(250ms);
    }
    void type(const QString &text) const
    {
        if (!text.isEmpty())
            xdo({u"type"_s, u"--delay"_s, u"40"_s, text});
    }
    // Types into the box with the focus and leaves it with Enter.
    void enter(const QString &text) const
    {
        type(text);
        key(u"Return"_s);
    }

    // The visible windows whose title matches `title`.
    QStringList windows(const QString &title) const
    {
        const Result r = xdo({u"search"_s, u"--onlyvisible"_s, u"--name"_s, title});
        return r.ok ? r.out.split(u'\n', Qt::SkipEmptyParts) : QStringList{};
    }
    // Waits for a window titled `title` and gives it the keyboard, as a click on it would.
    bool waitForWindow(const QString &title) const
    {
        QStringList found;
        if (!waitFor([&] { return !(found = windows(title)).isEmpty(); }))
            return false;
        xdo({u"windowactivate"_s, u"--sync"_s, found.last()});
        std::this_thread::sleep_for(300ms);
        return true;
    }
    bool waitUntilGone(const QString &title) const
    {
        return waitFor([&] { return windows(title).isEmpty(); });
    }

    // Every visible window larger than the screen, with its size.
    QStringList tooLarge() const
    {
        QStringList out;
        for (const QString &id : windows(u"."_s)) {
            const Result g = xdo({u"getwindowgeometry"_s, id});
            const auto m = QRegularExpression(uR"(Geometry: (\d+)x(\d+))"_s).match(g.out);
            if (m.hasMatch() && (m.captured(1).toInt() > kScreenWidth || m.captured(2).toInt() > kScreenHeight))
                out << xdo({u"getwindowname"_s, id}).out + u' ' + m.captured(1) + u'x' + m.captured(2);
        }
        return out;
    }

    // A picture of the screen for the record, when ImageMagick's import is at hand.
    void photograph(const QString &file) const
    {
        if (QStandardPaths::findExecutable(u"import"_s).isEmpty())
            return;
        QProcess p;
        p.setProcessEnvironment(environment());
        p.start(u"import"_s, {u"-window"_s, u"root"_s, file});
        p.waitForFinished(10000);
    }

private:
    std::unique_ptr<QProcess> m_server, m_windowManager, m_program;
    QString m_display;
    bool m_broken = false;
};

// What the program said, one line a message, question or outcome (tab-separated).
class Transcript
{
public:
    explicit Transcript(QString path)
        : m_path(std::move(path))
    {
    }
    QStringList lines() const
    {
        QFile file(m_path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            return {};
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }
    // Waits for a line that holds every one of `parts`; the line, or empty.
    QString waitFor(const QStringList &parts) const
    {
        QString found;
        ::waitFor([&] {
            for (const QString &line : lines()) {
                if (std::all_of(parts.begin(), parts.end(), [&](const QString &p) { return line.contains(p); })) {
                    found = line;
                    return true;
                }
            }
            return false;
        });
        return found;
    }

private:
    QString m_path;
};

// The demo folder's database, read as it is at the moment, apart from the program.
struct Register
{
    explicit Register(const QString &file)
        : name(u"clerkday"_s)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
        db.setDatabaseName(file);
        db.setConnectOptions(u"QSQLITE_OPEN_READONLY"_s);
        db.open();
    }
    ~Register() { QSqlDatabase::removeDatabase(name); }
    QStringList row(const QString &sql, const QVariantList &values) const
    {
        QSqlQuery q(QSqlDatabase::database(name));
        q.prepare(sql);
        for (const QVariant &v : values)
            q.addBindValue(v);
        if (!q.exec()) {
            ADD_FAILURE() << q.lastError().text().toStdString();
            return {};
        }
        QStringList out;
        if (q.next()) {
            for (int i = 0; i < q.record().count(); ++i)
                out << q.value(i).toString().trimmed();
        }
        return out;
    }
    QString name;
};

class ClerkDay : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString why = m_desk.start();
        if (!why.isEmpty()) {
            if (m_desk.broken() || qEnvironmentVariable("CI") == u"true"_s)
                FAIL() << "CI=true but the desktop test cannot run: " << why.toStdString();
            GTEST_SKIP() << "the desktop test needs an X server, a window manager and xdotool: " << why.toStdString();
        }
        QProcess demo;
        demo.start(QStringLiteral(SCROLLWISE_BATCH_PATH), {u"demo"_s, folder()});
        ASSERT_TRUE(demo.waitForFinished(120000)) << "the demo folder was not made";
        ASSERT_EQ(demo.exitCode(), 0) << demo.readAllStandardError().toStdString();
        QDir().mkpath(kShots);
    }
    QString folder() const { return m_dir.filePath(u"demo"_s); }
    void shot(const QString &name) const { m_desk.photograph(kShots + u'/' + name + u".png"_s); }
    // No window larger than the screen at this step.
    void windowsFit(const char *step) const
    {
        for (const QString &w : m_desk.tooLarge())
            ADD_FAILURE() << step << ": a window larger than the screen: " << w.toStdString();
    }

    const QString kShots = QStringLiteral(SCROLLWISE_SCREENS_DIR) + u"/clerk-day"_s;
    QTemporaryDir m_dir;
    Desk m_desk;
};

TEST_F(ClerkDay, LogInEnterACandidatePrintHimToAFolderCloseByKeysAndLogOut)
{
    const QString log = m_dir.filePath(u"messages.txt"_s);
    const Transcript said(log);
    const QString loginsBefore =
        Register(folder() + u"/CONVO.sqlite"_s)
            .row(u"select count(*) from audit where fwhat = 'login' and faction = 'login'"_s, {})
            .value(0);
    m_desk.startProgram(folder(), log);

    // The login: user, password, convocation, each left with Enter.
    ASSERT_TRUE(m_desk.waitForWindow(u"^Sign Up"_s)) << "no login window";
    shot(u"01-login"_s);
    m_desk.enter(u"ADMIN"_s);
    m_desk.enter(u"admin"_s);
    m_desk.enter(u"C025"_s);
    ASSERT_TRUE(m_desk.waitForWindow(u"^Scrollwise, "_s)) << "no main window after the login";
    windowsFit("the main window");
    shot(u"02-main-window"_s);

    // F1 on a highlighted menu item: the help at its section; Esc closes it.
    m_desk.key(u"alt+t"_s);
    m_desk.key(u"s"_s); // the first item of that letter: Student Entry
    m_desk.key(u"F1"_s);
    ASSERT_TRUE(m_desk.waitForWindow(u"^Scrollwise: help$"_s)) << "F1 on the menu opened no help";
    windowsFit("the help window");
    shot(u"03-help-at-student-entry"_s);
    m_desk.key(u"Escape"_s);
    ASSERT_TRUE(m_desk.waitUntilGone(u"^Scrollwise: help$"_s));
    ASSERT_TRUE(m_desk.waitForWindow(u"^Scrollwise, "_s));

    // Student Entry: F4, every box in its order, F6.
    m_desk.key(u"alt+t"_s);
    m_desk.key(u"s Return"_s);
    m_desk.key(u"F4"_s);
    for (const QString &box :
         {kRegNo,   u"ANITHA RAO"_s,   u""_s,   u""_s,    u""_s,  u"RAMESH RAO"_s, u""_s,     u""_s,           u""_s,
          u"BSC"_s, u"C001"_s,         u"FC"_s, u"003"_s, u"F"_s, u""_s,           u"2025"_s, u"APRIL 2025"_s, u"1"_s,
          u""_s,    u"123456789012"_s, u""_s,   u""_s,    u"T"_s})
        m_desk.enter(box);
    shot(u"04-student-entry"_s);
    m_desk.key(u"F6"_s);
    const QString saved = said.waitFor({u"outcome\tSTUDENT\t"_s, u"Saved "_s + kRegNo});
    ASSERT_FALSE(saved.isEmpty()) << "the save said nothing: " << said.lines().join(u'\n').toStdString();
    {
        const Register db(folder() + u"/CONVO.sqlite"_s);
        EXPECT_EQ(db.row(u"select fname, ffatname, fdegree, fcollcode, fclasscode, funivcode, fsex, fyear, fexamdate, "
                         "fexamtype, factive, fmanual, coalesce(fcertno, ''), fabcid from convo where fregno = ? and "
                         "fconvocode = 'C025'"_s,
                         {kRegNo}),
                  (QStringList{u"ANITHA RAO"_s, u"RAMESH RAO"_s, u"BSC"_s, u"C001"_s, u"FC"_s, u"003"_s, u"F"_s,
                               u"2025"_s, u"APRIL 2025"_s, u"1"_s, u"T"_s, u"T"_s, u""_s, u"123456789012"_s}));
    }
    m_desk.key(u"ctrl+t"_s); // the screen closes

    // Degree Certificate Printing, into the PDF folder the screen offers where no printer is.
    m_desk.key(u"alt+t"_s);
    m_desk.key(u"d Return"_s);
    for (const QString &box : {u"BSC"_s, u"C001"_s, u"C001"_s, kRegNo})
        m_desk.enter(box);
    // He has no photograph: leaving his register number asks whether to go on.
    shot(u"05-photograph-question"_s);
    ASSERT_TRUE(m_desk.waitForWindow(u"^Message$"_s)) << "no question about the photograph";
    m_desk.key(u"y"_s);
    // To Reg. No. follows From Reg. No.: the same candidate.
    ASSERT_TRUE(m_desk.waitForWindow(u"^Scrollwise, "_s));
    m_desk.key(u"ctrl+a"_s);
    m_desk.enter(kRegNo);
    // Date of Issue (today's, as it opens), the prefix, the stationery's numbers, the type.
    for (const QString &box : {u""_s, u"DC"_s, u"500"_s, u"501"_s, u"1"_s})
        m_desk.enter(box);
    shot(u"06-printing-screen"_s);

    // Print; the check lists what is missing; a hurried Enter on the run's question prints nothing.
    m_desk.key(u"ctrl+p"_s);
    ASSERT_TRUE(m_desk.waitForWindow(u"^Check before printing$"_s)) << "no check before printing";
    windowsFit("the check before printing");
    shot(u"07-check-before-printing"_s);
    m_desk.key(u"y"_s);
    ASSERT_TRUE(m_desk.waitForWindow(u"^Certificate print$"_s)) << "no question before the run";
    shot(u"08-run-question"_s);
    m_desk.key(u"Return"_s);
    const QString declined = said.waitFor({u"question\tCertificate print\t"_s, u": go on?\tNo"_s});
    EXPECT_FALSE(declined.isEmpty()) << "Enter did not answer the run's question No";
    {
        const Register db(folder() + u"/CONVO.sqlite"_s);
        EXPECT_EQ(db.row(u"select coalesce(fcertno, '') from convo where fregno = ?"_s, {kRegNo}), QStringList{u""_s});
        EXPECT_EQ(db.row(u"select count(*) from certsheet where fprefix = 'DC' and fnumber between 500 and 501"_s, {}),
                  QStringList{u"0"_s});
    }
    // Now with his own key: the check he accepted is not asked again for the same
    // selection; Y to the run.
    ASSERT_TRUE(m_desk.waitForWindow(u"^Scrollwise, "_s));
    m_desk.key(u"ctrl+p"_s);
    ASSERT_TRUE(m_desk.waitForWindow(u"^Certificate print$"_s));
    m_desk.key(u"y"_s);
    // The demo's sheets carry the signed verification code: its key's passphrase, once a run.
    ASSERT_TRUE(m_desk.waitForWindow(u"^Verification code$"_s)) << "the key's passphrase was not asked";
    m_desk.enter(u"DEMO"_s);
    const QString printed = said.waitFor({u"message\t"_s, u"Printed Successfully: 1 certificate, DC000500"_s});
    ASSERT_FALSE(printed.isEmpty()) << "the run said nothing: " << said.lines().join(u'\n').toStdString();
    shot(u"09-printed"_s);
    m_desk.key(u"Return"_s); // OK

    // The folder the message names holds the sheet; the candidate and the register agree.
    const QString where = QRegularExpression(u"in the folder (.+)\\.$"_s).match(printed).captured(1);
    EXPECT_TRUE(QFileInfo::exists(where + u"/DC000500_"_s + kRegNo + u".pdf"_s)) << printed.toStdString();
    {
        const Register db(folder() + u"/CONVO.sqlite"_s);
        EXPECT_EQ(db.row(u"select fcertno, fprintedby, fdate from convo where fregno = ?"_s, {kRegNo}),
                  (QStringList{u"DC000500"_s, u"ADMIN"_s, QDate::currentDate().toString(Qt::ISODate)}));
        EXPECT_EQ(db.row(u"select fstate, fregno from certsheet where fprefix = 'DC' and fnumber = 500"_s, {}),
                  (QStringList{u"PRINTED"_s, kRegNo}));
        EXPECT_EQ(db.row(u"select count(*) from certsheet where fprefix = 'DC' and fnumber = 501"_s, {}),
                  QStringList{u"0"_s});
    }

    // Esc closes the printing screen; Utilities > Log Out brings the login back, and
    // its Cancel ends the program.
    ASSERT_TRUE(m_desk.waitForWindow(u"^Scrollwise, "_s));
    m_desk.key(u"Escape"_s);
    m_desk.key(u"alt+u"_s);
    m_desk.key(u"o"_s); // Log Out
    ASSERT_TRUE(m_desk.waitForWindow(u"^Sign Up"_s)) << "Log Out did not bring the login back";
    EXPECT_TRUE(m_desk.windows(u"^Scrollwise, "_s).isEmpty()) << "the main window stayed after Log Out";
    shot(u"10-logged-out"_s);
    m_desk.key(u"Escape"_s);
    EXPECT_FALSE(said.waitFor({u"message\t"_s, u"Application Terminated"_s}).isEmpty());
    ASSERT_TRUE(m_desk.waitForWindow(u"^Message$"_s));
    m_desk.key(u"Return"_s);
    EXPECT_TRUE(m_desk.program().waitForFinished(kPatienceMs)) << "the program did not end at the login's Cancel";

    // Nothing was asked that the day did not expect: no question about unsaved work.
    for (const QString &line : said.lines())
        EXPECT_FALSE(line.contains(u"save"_s, Qt::CaseInsensitive) && line.startsWith(u"question"_s))
            << line.toStdString();
    const Register db(folder() + u"/CONVO.sqlite"_s);
    // One login, his, in the audit trail.
    EXPECT_EQ(db.row(u"select count(*) from audit where fwhat = 'login' and faction = 'login'"_s, {}).value(0).toInt(),
              loginsBefore.toInt() + 1);
}

} // namespace
