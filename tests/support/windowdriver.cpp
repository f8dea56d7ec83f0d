// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/windowdriver.h"

#include "shell/forms/childform.h"
#include "shell/forms/commandactions.h"
#include "shell/forms/commanddispatcher.h"
#include "shell/forms/menutree.h"
#include "shell/ui/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }

namespace sw {

void PrintTo(EditMode mode, std::ostream *os) { *os << "EditMode " << QString(editModeLetter(mode)).toStdString(); }

} // namespace sw

namespace sw::test {

void showActive(QWidget &window)
{
    window.show();
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
}

void chooseFromMenu(QWidget &window, QMenu *menu, QAction *item)
{
    menu->popup(window.mapToGlobal(QPoint(10, 10)));
    EXPECT_TRUE(QTest::qWaitForWindowExposed(menu));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    if (menu->isVisible())
        menu->close();
    QCoreApplication::processEvents();
}

void clickToolbar(MainWindow &window, Command command)
{
    QWidget *button = window.toolbar()->widgetForAction(window.commandActions().action(command));
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
}

QImage renderWithMenus(MainWindow &window)
{
    const QPixmap main = window.grab();
    std::vector<std::pair<QString, QPixmap>> menus;
    const auto add = [&menus](const QString &title, QMenu *menu) {
        menu->ensurePolished();
        menu->resize(menu->sizeHint());
        menus.emplace_back(title, menu->grab());
    };
    for (QAction *top : window.menuBar()->actions()) {
        if (auto *menu = top->menu<QMenu *>()) {
            add(QString(top->text()).remove(u'&'), menu);
            for (QAction *item : menu->actions()) {
                if (auto *sub = item->menu<QMenu *>())
                    add(QString(item->text()).remove(u'&'), sub);
            }
        }
    }
    const int gap = 12;
    const int titleHeight = 20;
    int width = 0;
    int height = 0;
    for (const auto &[title, pixmap] : menus) {
        width += pixmap.width() + gap;
        height = std::max(height, pixmap.height());
    }
    QImage image(std::max(width, main.width()), main.height() + titleHeight + height + gap, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.drawPixmap(0, 0, main);
    int x = 0;
    for (const auto &[title, pixmap] : menus) {
        p.drawText(QRect(x, main.height() + 2, pixmap.width(), titleHeight), Qt::AlignLeft | Qt::AlignVCenter, title);
        p.drawPixmap(x, main.height() + titleHeight, pixmap);
        x += pixmap.width() + gap;
    }
    return image;
}

QWidget *focused()
{
    if (QWidget *focus = QApplication::focusWidget())
        return focus;
    return QApplication::activeWindow();
}

void press(int key, Qt::KeyboardModifiers modifiers, QWidget *fallback)
{
    QWidget *target = focused();
    if (!target)
        target = fallback;
    if (!target) {
        ADD_FAILURE() << "no widget to press the key on";
        return;
    }
    QTest::keyClick(target, Qt::Key(key), modifiers);
    QCoreApplication::processEvents();
}

QStringList focusWalk(int key, int times)
{
    QStringList visited;
    for (int i = 0; i < times; ++i) {
        press(key);
        visited << (focused() ? focused()->objectName() : QString());
    }
    return visited;
}

void type(const QString &text)
{
    QWidget *target = focused();
    if (!target) {
        ADD_FAILURE() << "no widget to type into";
        return;
    }
    QTest::keyClicks(target, text);
}

void enter(const QString &text)
{
    type(text);
    press(Qt::Key_Return);
}

void settle()
{
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

ChildForm *openScreen(MainWindow &window, const QString &menuCode)
{
    window.menuActions().action(menuCode)->trigger();
    QCoreApplication::processEvents();
    return window.dispatcher().activeForm();
}

QString outcomeOf(const QWidget *screen)
{
    const auto *panel = screen ? screen->findChild<QLabel *>(QStringLiteral("StatusBar1_3")) : nullptr;
    return panel ? panel->text() : QString();
}

void whenModalOpens(QObject *owner, std::function<void(QWidget &)> step)
{
    auto *poll = new QTimer(owner);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, step = std::move(step)] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        poll->stop();
        poll->deleteLater();
        step(*modal);
        if (modal->isVisible())
            modal->close();
    });
    poll->start();
}

} // namespace sw::test
