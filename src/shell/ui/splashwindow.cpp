// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/splashwindow.h"

#include "shell/core/maker.h"
#include "shell/core/versiontext.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace sw {

SplashWindow::SplashWindow(QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(u"FrmFlash"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setCursor(Qt::WaitCursor);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, QColor(0x00, 0x80, 0x80));
    p.setColor(QPalette::WindowText, Qt::white);
    setPalette(p);

    auto *title = new QLabel(u"Scrollwise"_s, this);
    title->setObjectName(u"lblProductName"_s);
    QFont big = title->font();
    big.setPointSize(28);
    big.setBold(true);
    title->setFont(big);
    m_software = new QLabel(u"Software By :"_s, this);
    m_software->setObjectName(u"lblSoftwareBy"_s);
    auto *maker = new QLabel(makerName(), this);
    maker->setObjectName(u"lblCompany"_s);
    auto *version = new QLabel(u"Version "_s + programVersion(), this);
    version->setObjectName(u"lblVer"_s);
    m_labelName = new QLabel(this);
    m_labelName->setObjectName(u"labelname"_s);
    m_labelName->setWordWrap(true);
    m_labelName->hide();
    m_ok = new QPushButton(u"OK"_s, this);
    m_ok->setObjectName(u"CmdOk"_s);
    m_sysInfo = new QPushButton(u"&System Info..."_s, this);
    m_sysInfo->setObjectName(u"cmdSysInfo"_s);
    m_ok->setEnabled(false);
    m_sysInfo->setEnabled(false);
    m_ok->hide();
    m_sysInfo->hide();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 24, 32, 24);
    layout->addWidget(title);
    layout->addWidget(m_labelName);
    layout->addStretch();
    layout->addWidget(m_software);
    layout->addWidget(maker);
    layout->addWidget(version);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_sysInfo);
    layout->addLayout(buttons);
    resize(520, 300);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void SplashWindow::showInstitution(const QString &title)
{
    m_labelName->setText(title);
    unsetCursor();
    m_labelName->show();
}

void SplashWindow::loginOpened()
{
    m_ok->show();
    m_sysInfo->show();
    m_software->hide();
}

void SplashWindow::keyPressEvent(QKeyEvent *) { close(); }

void SplashWindow::mousePressEvent(QMouseEvent *) { close(); }

} // namespace sw
