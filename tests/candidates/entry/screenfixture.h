// SPDX-License-Identifier: GPL-3.0-or-later
// The candidate and gate screens driven through the real main window: a folder with
// masters, a logged-in user, the subsystems' screens registered by menu code, and
// keys and typing sent to whatever has the focus, as a clerk would.
#pragma once

#include "candidates/entry/entryscreens.h"
#include "candidates/entry/seeddata.h"
#include "certificates/printing/stationeryledger.h"
#include "certificates/verification/verificationscreens.h"
#include "shell/forms/commanddispatcher.h"
#include "shell/forms/menutree.h"
#include "shell/forms/screenregistry.h"
#include "shell/forms/formsfixture.h"
#include "support/windowdriver.h"
#include "shell/ui/mainwindow.h"
#include "support/scriptedprompter.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace sw::test {

class CandidateScreensTest : public ::testing::TestWithParam<TestBackend>
{
protected:
    void SetUp() override
    {
        if (!backendAvailable(GetParam()))
            GTEST_SKIP();
        using namespace Qt::StringLiterals;
        m_folder = std::make_unique<LoggedInFolder>(GetParam());
        seedCodes(m_folder->db());
        m_folder->addUser(u"CLERK"_s, u"clerk"_s, u"N2*N22*N23*N27*N2E*"_s);
        registerEntryScreens(m_screens);
        registerVerificationScreens(m_screens);
    }
    // Logs in and opens the main window.
    void start(const QString &user = QStringLiteral("ADMIN"), const QString &password = QStringLiteral("admin"))
    {
        m_folder->login(user, password, QStringLiteral("C26"));
        installNumberAuthority(m_folder->session);
        m_window = std::make_unique<MainWindow>(m_folder->session, m_prompter, m_screens);
        m_window->applyPermissions();
        showActive(*m_window);
    }

    // Opens the screen of a menu code as the menu would; the screen in front.
    template <typename Screen> Screen *open(const QString &menuCode)
    {
        return qobject_cast<Screen *>(openScreen(*m_window, menuCode));
    }

    void press(int key, Qt::KeyboardModifiers modifiers = {}) { test::press(key, modifiers, m_window.get()); }
    void type(const QString &text) { test::type(text); }
    // Types into the focused box and leaves it with Enter.
    void enter(const QString &text) { test::enter(text); }
    // Columns of a stored candidate of C26, joined by "|" when there are several.
    QString stored(const QString &regno, const QStringList &columns)
    {
        using namespace Qt::StringLiterals;
        QStringList values;
        for (const QString &column : columns)
            values << m_folder->db()
                          .scalar(u"select "_s + column + u" from convo where fregno = ? and fconvocode = 'C26'"_s,
                                  {regno})
                          .toString();
        return values.join(u'|');
    }
    QWidget *focused() const { return QApplication::focusWidget(); }
    // The picture of a screen, beside the test program, to be looked at.
    void picture(QWidget *screen, const QString &name)
    {
        QCoreApplication::processEvents();
        EXPECT_TRUE(screen->window()->grab().save(QDir::currentPath() + u'/' + name + QStringLiteral(".png")));
    }

    std::unique_ptr<LoggedInFolder> m_folder;
    ScriptedPrompter m_prompter;
    ScreenRegistry m_screens;
    std::unique_ptr<MainWindow> m_window;
};

} // namespace sw::test
