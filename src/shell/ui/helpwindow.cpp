// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ui/helpwindow.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace sw {

namespace {
// The size the window would like; an office screen of 1366 x 768 has room for it with
// the window manager's frame around it.
constexpr int kWidth = 1000;
constexpr int kHeight = 680;
constexpr int kFrameWidth = 16;
constexpr int kFrameHeight = 48;
} // namespace

HelpWindow::HelpWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_page(new QTextBrowser(this))
    , m_find(new QLineEdit(this))
    , m_found(new QLabel(this))
{
    setObjectName(u"HelpWindow"_s);
    setWindowTitle(u"Scrollwise: help"_s);
    m_page->setObjectName(u"helpPage"_s);
    m_page->setOpenExternalLinks(true);
    m_find->setObjectName(u"helpFind"_s);
    m_find->setPlaceholderText(u"Find in the help (Enter: next)"_s);
    m_found->setObjectName(u"helpFound"_s);

    auto *back = new QPushButton(u"&Back"_s, this);
    auto *forward = new QPushButton(u"&Forward"_s, this);
    auto *contents = new QPushButton(u"&Contents"_s, this);
    auto *next = new QPushButton(u"Find &Next"_s, this);
    for (QPushButton *b : {back, forward, contents, next})
        b->setAutoDefault(false);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QPushButton::clicked, m_page, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, m_page, &QTextBrowser::forward);
    connect(m_page, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(m_page, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
    connect(contents, &QPushButton::clicked, this, [this] {
        m_topic.clear();
        m_page->verticalScrollBar()->setValue(0);
    });
    connect(m_find, &QLineEdit::returnPressed, this, [this] { find(m_find->text()); });
    connect(next, &QPushButton::clicked, this, [this] { find(m_find->text()); });

    auto *bar = new QHBoxLayout;
    bar->addWidget(back);
    bar->addWidget(forward);
    bar->addWidget(contents);
    bar->addSpacing(20);
    bar->addWidget(new QLabel(u"Find:"_s, this));
    bar->addWidget(m_find, 1);
    bar->addWidget(next);
    bar->addWidget(m_found);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_page, 1);

    const QScreen *screen = parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen();
    const QSize room =
        screen ? screen->availableGeometry().size() - QSize(kFrameWidth, kFrameHeight) : QSize(kWidth, kHeight);
    setMaximumSize(room.expandedTo(QSize(400, 300)));
    resize(QSize(kWidth, kHeight).boundedTo(room));
}

void HelpWindow::showTopic(const QUrl &page, const QString &topic)
{
    if (m_page->source() != page)
        m_page->setSource(page);
    m_topic = topic;
    m_found->clear();
    // It first opens over the middle of the main window, not in a corner of the screen.
    if (!isVisible() && parentWidget()) {
        const QRect over = parentWidget()->window()->frameGeometry();
        move(over.center() - QPoint(width() / 2, height() / 2));
    }
    show();
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    // Laid out for the window's width first, so the section lands at the top.
    m_page->document()->setTextWidth(m_page->viewport()->width());
    m_page->verticalScrollBar()->setValue(0);
    if (!topic.isEmpty())
        m_page->scrollToAnchor(topic);
    m_page->setFocus();
}

void HelpWindow::startSearch()
{
    m_find->setFocus();
    m_find->selectAll();
}

bool HelpWindow::find(const QString &text)
{
    m_found->clear();
    if (text.trimmed().isEmpty())
        return false;
    if (m_page->find(text))
        return true;
    // From the top again, once round.
    QTextCursor top(m_page->document());
    m_page->setTextCursor(top);
    if (m_page->find(text))
        return true;
    m_found->setText(u"Not found"_s);
    return false;
}

QString HelpWindow::firstLineInView() const
{
    const QTextCursor at = m_page->cursorForPosition(QPoint(4, 4));
    return at.block().text();
}

void HelpWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    // Ctrl+F goes to the Find box, as in every browser.
    if (event->matches(QKeySequence::Find)) {
        startSearch();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace sw
