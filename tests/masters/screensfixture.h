// SPDX-License-Identifier: GPL-3.0-or-later
// The main window logged in on a fresh folder, with the screens of the masters and
// utilities registered, for driving them offscreen as a clerk would.
#pragma once

#include "../shell/forms/formsfixture.h"
#include "support/windowdriver.h"

#include "masters/mastersscreens.h"
#include "shell/forms/commanddispatcher.h"
#include "shell/forms/spreadgrid.h"
#include "shell/forms/menutree.h"
#include "shell/forms/screenregistry.h"
#include "shell/ui/mainwindow.h"
#include "support/scriptedprompter.h"
#include "shell/shellscreens.h"

#include <QAction>
#include <QCoreApplication>
#include <QSqlRecord>

#include <gtest/gtest.h>

#include <memory>

namespace sw::test {

using namespace Qt::StringLiterals;

class MastersScreensTest : public ::testing::TestWithParam<TestBackend>
{
protected:
    void SetUp() override
    {
        if (!backendAvailable(GetParam()))
            GTEST_SKIP();
        m_folder = std::make_unique<LoggedInFolder>(GetParam());
        registerShellScreens(m_screens);
        registerMastersScreens(m_screens);
    }
    void openWindow(const QString &user, const QString &password)
    {
        m_folder->login(user, password, u"C26"_s);
        m_window = std::make_unique<MainWindow>(m_folder->session, m_prompter, m_screens);
        m_window->applyPermissions();
        showActive(*m_window);
    }
    template <typename Form> Form *open(const QString &code)
    {
        m_window->menuActions().action(code)->trigger();
        QCoreApplication::processEvents();
        return qobject_cast<Form *>(m_window->dispatcher().activeForm());
    }
    void run(Command c)
    {
        m_window->dispatcher().doCommand(c);
        QCoreApplication::processEvents();
    }
    void shoot(QWidget *form, const QString &name)
    {
        form->grab().save(QStringLiteral(SCROLLWISE_SHOT_DIR) + u'/' + name + u".png"_s);
    }
    // The first row of a query, its columns joined by "|" when there are several.
    QString value(const QString &sql, const QVariantList &params = {})
    {
        Rows rows = m_folder->db().query(sql, params);
        QStringList values;
        const int columns = rows.next() ? rows.query().record().count() : 0;
        for (int i = 0; i < columns; ++i)
            values << rows.text(i);
        return values.join(u'|');
    }

    std::unique_ptr<LoggedInFolder> m_folder;
    ScriptedPrompter m_prompter;
    ScreenRegistry m_screens;
    std::unique_ptr<MainWindow> m_window;
};

} // namespace sw::test
