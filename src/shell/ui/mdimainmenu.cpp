// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/mdimainmenu.h"

#include "shell/core/session.h"
#include "shell/core/versiontext.h"
#include "shell/startup/startup.h"

#include <QDateTime>
#include <QLabel>
#include <QMdiArea>
#include <QStatusBar>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace sw {

MdiMainMenu::MdiMainMenu(Session &session, QWidget *parent)
    : QMainWindow(parent)
    , m_session(session)
    , m_mdi(new QMdiArea(this))
{
    setObjectName(u"MdiMainMenu"_s);
    setWindowTitle(Startup::mainWindowCaption(session));
    m_mdi->setObjectName(u"mdiArea"_s);
    setCentralWidget(m_mdi);

    m_date = new QLabel(this);
    m_time = new QLabel(this);
    m_version = new QLabel(this);
    m_sessionPanel = new QLabel(this);
    m_date->setObjectName(u"StatusBar1_1"_s);
    m_time->setObjectName(u"StatusBar1_2"_s);
    m_version->setObjectName(u"StatusBar1_3"_s);
    m_sessionPanel->setObjectName(u"StatusBar1_4"_s);
    statusBar()->setObjectName(u"StatusBar1"_s);
    statusBar()->addWidget(m_date);
    statusBar()->addWidget(m_time);
    statusBar()->addWidget(m_version);
    statusBar()->addWidget(m_sessionPanel, 1);

    auto *clock = new QTimer(this);
    connect(clock, &QTimer::timeout, this, &MdiMainMenu::tick);
    clock->start(1000);
    tick();
    resize(1024, 720);
}

void MdiMainMenu::setUpStatusBar()
{
    m_version->setText(u"Version:"_s + programVersion());
    m_sessionPanel->setText(m_session.convoCode + u" / "_s + m_session.db().currentDatabaseName() + u" / "_s
                            + m_session.userName);
}

void MdiMainMenu::tick()
{
    const QDateTime now = QDateTime::currentDateTime();
    m_date->setText(now.date().toString(u"dd/MM/yyyy"_s));
    m_time->setText(now.time().toString(u"hh:mm:ss"_s));
}

} // namespace sw
