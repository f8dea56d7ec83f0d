// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/forms/childform.h"

#include "shell/core/messagelog.h"

#include "shell/core/prompter.h"
#include "shell/core/stoperror.h"
#include "shell/db/dberror.h"
#include "shell/db/failures.h"
#include "shell/forms/commanddispatcher.h"
#include "shell/forms/fieldframe.h"
#include "shell/ui/fieldkeys.h"

#include <QCloseEvent>
#include <QResizeEvent>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMdiSubWindow>
#include <QSpacerItem>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

using namespace Qt::StringLiterals;

namespace sw {

ChildForm::ChildForm(const FormContext &context, const QString &formName, const QString &caption, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_body(new QVBoxLayout)
    , m_statusBar(new QStatusBar(this))
    , m_hint(new QLabel(this))
    , m_legend(new QLabel(this))
    , m_outcome(new QLabel(this))
{
    // Enter presses a focused button on every screen and dialog.
    enterPressesButtons();
    setObjectName(formName);
    setWindowTitle(caption);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addLayout(m_body, 1);
    m_body->setContentsMargins(8, 8, 8, 8);
    m_statusBar->setObjectName(u"StatusBar1"_s);
    m_statusBar->setSizeGripEnabled(false);
    m_hint->setObjectName(u"StatusBar1_1"_s);
    m_legend->setObjectName(u"StatusBar1_2"_s);
    m_outcome->setObjectName(u"StatusBar1_3"_s);
    // The outcome of a save or run is read whole: it stands on its own line above the
    // status bar and wraps, rather than sharing the bar with the hint and being cut.
    m_outcome->setWordWrap(true);
    m_outcome->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_outcome->setContentsMargins(8, 2, 8, 2);
    m_outcome->hide();
    outer->addWidget(m_outcome);
    // The hint gives way to nothing but the key legend; its whole text is its tooltip.
    // On a narrow screen both wrap rather than being cut.
    m_hint->setMinimumWidth(0);
    m_hint->setWordWrap(true);
    m_legend->setWordWrap(true);
    m_statusBar->addWidget(m_hint, 1);
    m_statusBar->addPermanentWidget(m_legend);
    outer->addWidget(m_statusBar);
}

void ChildForm::unload()
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
    else
        close();
}

void ChildForm::showError(const std::exception &error)
{
    m_context.prompter.message(failureText(error, ErrorForm::Screen), u"Message"_s, PromptIcon::Critical);
}

namespace {

// Calls back when the window it watches is blocked by a modal dialog.
class BlockWatch final : public QObject
{
public:
    BlockWatch(std::function<void()> blocked, QObject *parent)
        : QObject(parent)
        , m_blocked(std::move(blocked))
    {
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::WindowBlocked)
            m_blocked();
        return false;
    }

private:
    std::function<void()> m_blocked;
};

} // namespace

void ChildForm::setHint(const QString &text)
{
    m_busy = false;
    m_hint->setText(text);
    m_hint->setToolTip(text);
    // A hint that wraps on to another line makes room for it rather than squeezing the screen.
    if (!text.isEmpty() && m_hint->width() > 0 && m_hint->heightForWidth(m_hint->width()) > m_hint->height())
        growWindowToFit();
}

void ChildForm::setBusyHint(const QString &text)
{
    setHint(text);
    m_busy = true;
    if (!m_blockWatch)
        m_blockWatch = new BlockWatch(
            [this] {
                if (m_busy)
                    setHint({});
            },
            this);
    if (QWidget *top = window(); top && top != m_watched) {
        if (m_watched)
            m_watched->removeEventFilter(m_blockWatch);
        top->installEventFilter(m_blockWatch);
        m_watched = top;
    }
}

void ChildForm::setLegend(const QString &text)
{
    m_legend->setText(text);
    m_legend->setToolTip(text);
    const int natural = m_legend->fontMetrics().horizontalAdvance(text) + 8;
    m_legend->setMinimumWidth(width() > 0 ? std::min(natural, width() / 2) : natural);
}

QString ChildForm::hint() const { return m_hint->text(); }

QString ChildForm::legend() const { return m_legend->text(); }

void ChildForm::showOutcome(const QString &text)
{
    m_outcome->setText(text);
    m_outcome->setVisible(!text.isEmpty());
    if (!text.isEmpty())
        messagelog::append(u"outcome"_s, objectName(), text);
    // The window grows to hold the line rather than squeezing the boxes above it.
    if (!text.isEmpty())
        growWindowToFit();
}

void ChildForm::growWindowToFit()
{
    auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget());
    if (!sub)
        return;
    if (!m_growsWhenRestored) {
        // Maximised now, it is fitted again when it is restored to its own size.
        m_growsWhenRestored = true;
        connect(sub, &QMdiSubWindow::windowStateChanged, this, [this](Qt::WindowStates, Qt::WindowStates now) {
            if (!(now & (Qt::WindowMaximized | Qt::WindowMinimized)))
                growWindowToFit();
        });
    }
    // Once the layouts have taken the new sizes of the boxes in (their requests are posted).
    QTimer::singleShot(0, this, [this, sub = QPointer<QMdiSubWindow>(sub)] {
        if (!sub || sub->isMaximized() || sub->isMinimized())
            return;
        if (QLayout *frame = sub->layout())
            frame->activate();
        QSize wanted = sub->size().expandedTo(sub->sizeHint()).expandedTo(sub->minimumSizeHint());
        QPoint at = sub->pos();
        // Within the main window's area: moved up or left as far as it must be.
        if (const QWidget *area = sub->parentWidget()) {
            wanted = wanted.boundedTo(area->size());
            at.setX(std::max(0, std::min(at.x(), area->width() - wanted.width())));
            at.setY(std::max(0, std::min(at.y(), area->height() - wanted.height())));
        }
        sub->setGeometry(QRect(at, wanted));
    });
}

void ChildForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The key legend keeps its one line while it takes at most half the bar; the hint
    // wraps in the rest.
    const int natural = m_legend->fontMetrics().horizontalAdvance(m_legend->text()) + 8;
    m_legend->setMinimumWidth(std::min(natural, width() / 2));
}

QString ChildForm::outcome() const { return m_outcome->text(); }

void ChildForm::addCentred(QWidget *frame)
{
    if (!m_above) {
        m_above = new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Expanding);
        m_body->addItem(m_above);
    }
    if (m_below)
        m_body->removeItem(m_below);
    m_body->addWidget(frame, 0, Qt::AlignHCenter);
    if (!m_below)
        m_below = new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Expanding);
    m_body->addItem(m_below);
}

FieldFrame *ChildForm::addFieldFrame()
{
    auto *frame = new FieldFrame(this, m_context.session, m_context.prompter);
    addCentred(frame->box());
    connect(frame, &FieldFrame::focused, this, [this](QWidget *, const QString &hint) { setHint(hint); });
    return frame;
}

void ChildForm::addGrowing(QWidget *widget, int stretch)
{
    // What grows takes the room the spacers kept around the frame.
    for (QSpacerItem **spacer : {&m_above, &m_below}) {
        if (*spacer) {
            m_body->removeItem(*spacer);
            delete *spacer;
            *spacer = nullptr;
        }
    }
    m_body->addWidget(widget, stretch);
}

void ChildForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && !(event->modifiers() & ~Qt::KeypadModifier) && commands().activeForm() == this
        && commands().isEnabled(Command::Exit)) {
        commands().doCommand(Command::Exit);
        return;
    }
    QWidget::keyPressEvent(event);
}

void ChildForm::closeEvent(QCloseEvent *event)
{
    // Closing with the clerk's work open asks first; Cancel keeps the screen as it is.
    if (hasUnsavedWork() && !settleWork()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

} // namespace sw
