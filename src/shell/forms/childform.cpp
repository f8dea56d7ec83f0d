// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/forms/childform.h"

#include "shell/core/prompter.h"
#include "shell/core/stoperror.h"
#include "shell/db/dberror.h"
#include "shell/forms/commanddispatcher.h"
#include "shell/forms/fieldframe.h"
#include "shell/ui/fieldkeys.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QSpacerItem>
#include <QStatusBar>
#include <QVBoxLayout>

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
    m_statusBar->addWidget(m_outcome, 1);
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
    QString text;
    if (const auto *db = dynamic_cast<const DbError *>(&error))
        text = db->screenMessage();
    else if (const auto *stop = dynamic_cast<const StopError *>(&error))
        text = u"Error Occurred : 0 . "_s + stop->text();
    else
        text = u"Error Occurred : 0 . "_s + QString::fromLocal8Bit(error.what());
    m_context.prompter.message(text, u"Message"_s, PromptIcon::Critical);
}

void ChildForm::setHint(const QString &text) { m_hint->setText(text); }

void ChildForm::setLegend(const QString &text) { m_legend->setText(text); }

QString ChildForm::hint() const { return m_hint->text(); }

QString ChildForm::legend() const { return m_legend->text(); }

void ChildForm::showOutcome(const QString &text) { m_outcome->setText(text); }

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
