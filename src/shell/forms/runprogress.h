// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/progress.h"

#include <QElapsedTimer>
#include <QPointer>

class QProgressBar;

namespace sw {

class ChildForm;

// A long run's progress on its screen: the status in the screen's hint panel, the
// percentage in the screen's bar, and the wait cursor while it runs. The screen repaints
// while the run holds the event loop, at most a few times a second and whenever the bar
// moves on by a whole percent, so painting never slows a large run down; the clerk's
// keys and clicks wait until the run is over. Lives as long as its screen, GUI thread only.
class RunProgress
{
public:
    enum class Bar { AlwaysShown, ShownWhileRunning };

    RunProgress(ChildForm &screen, QProgressBar *bar, Bar shown);
    ~RunProgress();
    RunProgress(const RunProgress &) = delete;
    RunProgress &operator=(const RunProgress &) = delete;

    // The bar at 0 (and shown), the wait cursor; the progress to hand the run.
    Progress start();
    // The cursor as it was, the bar back at 0 (hidden unless always shown), the hint cleared.
    void end();
    bool running() const { return m_running; }

private:
    void paint(const QString &status, int percent);

    ChildForm &m_screen;
    QPointer<QProgressBar> m_bar;
    Bar m_shown;
    QElapsedTimer m_sincePaint;
    int m_paintedPercent = -1;
    bool m_running = false;
};

} // namespace sw
