// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>

class QLabel;
class QMdiArea;

namespace sw {

class Session;

// The main window: every screen opens as a child of its MDI area.
class MdiMainMenu : public QMainWindow
{
    Q_OBJECT
public:
    explicit MdiMainMenu(Session &session, QWidget *parent = nullptr);

    QMdiArea *mdiArea() const { return m_mdi; }

    // Status bar panels 1 to 4: date, time, version, convocation / database / user.
    void setUpStatusBar();

private:
    void tick();

    Session &m_session;
    QMdiArea *m_mdi;
    QLabel *m_date;
    QLabel *m_time;
    QLabel *m_version;
    QLabel *m_sessionPanel;
};

} // namespace sw
