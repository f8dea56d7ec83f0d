// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/output/reportpreviewdialog.h"
#include "reports/reportsscreens.h"
#include "shell/forms/commandactions.h"
#include "shell/forms/commanddispatcher.h"
#include "shell/forms/menutree.h"
#include "shell/forms/screenregistry.h"
#include "shell/ui/mainwindow.h"
#include "support/windowdriver.h"

#include <QCoreApplication>

#include <functional>
#include <memory>

namespace sw::test {

// `Base` (a fixture with a session and a scripted prompter) with the real main window
// carrying the report screens, as the clerk opens them from its menu.
template <typename Base> class ReportWindowFixture : public Base
{
protected:
    void SetUp() override
    {
        Base::SetUp();
        if (this->IsSkipped() || !this->m_installed)
            return;
        this->m_session.userName = QStringLiteral("ADMIN");
        this->m_session.instCode = QStringLiteral("003");
        registerReportsScreens(m_screens);
        m_window = std::make_unique<MainWindow>(this->m_session, this->m_prompter, m_screens);
        m_window->applyPermissions();
        m_window->show();
    }
    template <typename Screen> Screen *open(const QString &code)
    {
        m_window->menuActions().action(code)->trigger();
        QCoreApplication::processEvents();
        return qobject_cast<Screen *>(m_window->dispatcher().activeForm());
    }
    // Gives the preview command (or runs `command`) and returns the text the preview
    // window showed, empty when none opened; the window is closed as the clerk closes it.
    QString preview(const std::function<void()> &command = {})
    {
        QString shown;
        QObject watch; // stops watching when no window came
        whenModalOpens(&watch, [&shown](QWidget &modal) {
            if (auto *window = qobject_cast<ReportPreviewDialog *>(&modal))
                shown = window->preview().text();
        });
        if (command)
            command();
        else
            m_window->dispatcher().doCommand(Command::Preview);
        return shown;
    }
    // Leaves a picture of `screen` for a person to look at, when SCROLLWISE_SCREENSHOT_DIR names a folder.
    void picture(QWidget *screen, const QString &name)
    {
        const QByteArray out = qgetenv("SCROLLWISE_SCREENSHOT_DIR");
        if (out.isEmpty())
            return;
        m_window->resize(1000, 700);
        QCoreApplication::processEvents();
        screen->grab().save(QString::fromLocal8Bit(out) + u'/' + name + QStringLiteral(".png"));
    }

    ScreenRegistry m_screens;
    std::unique_ptr<MainWindow> m_window;
};

} // namespace sw::test
