// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/forms/runprogress.h"

#include "shell/forms/childform.h"

#include <QApplication>
#include <QProgressBar>

#include <algorithm>

namespace sw {

namespace {

// Repaints while a run holds the event loop: at most this often, and whenever the bar
// moves on by a whole percent.
constexpr qint64 kPaintIntervalMs = 150;

} // namespace

RunProgress::RunProgress(ChildForm &screen, QProgressBar *bar, Bar shown)
    : m_screen(screen)
    , m_bar(bar)
    , m_shown(shown)
{
}

RunProgress::~RunProgress()
{
    if (m_running)
        QApplication::restoreOverrideCursor();
}

Progress RunProgress::start()
{
    if (m_bar) {
        m_bar->setValue(0);
        m_bar->setVisible(true);
    }
    m_paintedPercent = -1;
    m_sincePaint.start();
    if (!m_running)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    m_running = true;
    return [this](const QString &status, int percent) { paint(status, percent); };
}

void RunProgress::end()
{
    if (m_running)
        QApplication::restoreOverrideCursor();
    m_running = false;
    if (m_bar) {
        m_bar->setValue(0);
        m_bar->setVisible(m_shown == Bar::AlwaysShown);
    }
    m_screen.setHint({});
}

void RunProgress::paint(const QString &status, int percent)
{
    const bool moved = percent >= 0 && percent != m_paintedPercent;
    if (!moved && !status.isEmpty() && m_sincePaint.elapsed() < kPaintIntervalMs)
        return;
    if (percent >= 0 && m_bar) {
        m_bar->setValue(std::clamp(percent, 0, 100));
        m_paintedPercent = percent;
    }
    m_screen.setHint(status);
    m_sincePaint.restart();
    // Painting is all that is let through: the clerk may not type into the screen while it runs.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace sw
