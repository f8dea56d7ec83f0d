// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/forms/command.h"

#include <QPointer>
#include <QWidget>

#include <exception>

class QCloseEvent;
class QKeyEvent;
class QSpacerItem;
class QLabel;
class QStatusBar;
class QVBoxLayout;

namespace sw {

class CommandDispatcher;
class FieldFrame;
class Prompter;
class Session;

// What every screen is built with: the session, the prompter, and the dispatcher
// of the main window's commands. Handed to screen factories (ScreenRegistry) and
// on to the screen's constructor; the screen keeps references, the main window
// outlives every screen.
struct FormContext
{
    Session &session;
    Prompter &prompter;
    CommandDispatcher &commands;
};

// A child screen of the main window that takes part in the command machinery: a
// RecordForm (data entry) or a ReportForm (reports). Its object name is its form
// name in capitals (MASCLASS, STUDENT), its window title the caption the main
// window's status bar shows. It carries its own status bar `StatusBar1` with two
// panels (hint and key legend) below the screen's body.
//
// Lifetime: created by a screen factory, shown in a sub-window of the main window's
// MDI area (which owns it), destroyed when closed. Used from the GUI thread only.
class ChildForm : public QWidget
{
    Q_OBJECT
public:
    ChildForm(const FormContext &context, const QString &formName, const QString &caption, QWidget *parent = nullptr);

    QString formName() const { return objectName(); }

    // The dispatcher calls these when the screen becomes the active one and when
    // another screen takes its place.
    virtual void activated() = 0;
    virtual void deactivated() { }

    // Closes the screen (and the sub-window around it).
    void unload();

    // "Error Occurred : " + number + " . " + description, title "Message".
    void showError(const std::exception &error);

    // Status bar panels 1 (hint) and 2 (key legend).
    void setHint(const QString &text);
    // A hint that says the screen is busy ("Generating, Please Wait ..."): it goes as soon
    // as a message or question blocks the window, since the run then waits for the
    // clerk or is over, and when the next hint is set.
    void setBusyHint(const QString &text);
    void setLegend(const QString &text);
    QString hint() const;
    QString legend() const;
    // The message panel `StatusBar1_3`, a line of its own above the status bar that
    // wraps to show its whole text: what the last save, refusal or cancellation did
    // ("Saved 2KD0121121"). It stays until the next outcome.
    void showOutcome(const QString &text);
    QString outcome() const;
    // Grows the screen's sub-window (unless maximised) to what its contents now need:
    // after its boxes grew (a Kannada box's font) or the outcome line appeared.
    void growWindowToFit();

    // Whether closing the screen now would lose the clerk's work (a change in progress).
    virtual bool hasUnsavedWork() const { return false; }
    // Settles unsaved work before the screen or the program closes: asks whether to
    // save it (Yes / No / Cancel), saves or drops it. False when the clerk chose Cancel
    // or the save was refused: the work stays open and nothing closes.
    virtual bool settleWork() { return true; }

protected:
    Session &session() const { return m_context.session; }
    Prompter &prompter() const { return m_context.prompter; }
    CommandDispatcher &commands() const { return m_context.commands; }
    const FormContext &context() const { return m_context; }
    // The screen's own widgets go here, above the status bar.
    QVBoxLayout *body() const { return m_body; }
    // Puts `frame` in the body at its own size, centred, as the frames of the screens
    // stand however large the window is.
    void addCentred(QWidget *frame);
    // Puts `widget` (a grid) below what the body holds, taking the room the window has.
    void addGrowing(QWidget *widget, int stretch = 1);
    // The frame of the screen's boxes (FieldFrame), centred in the body; the box that
    // gets the focus puts its tip into the hint panel.
    FieldFrame *addFieldFrame();

    void closeEvent(QCloseEvent *event) override;
    // Esc closes the screen in front as Exit does, when Exit is enabled (a record
    // screen with a change open cancels it first, see RecordForm).
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

    bool m_firstActivate = true;

private:
    FormContext m_context;
    QVBoxLayout *m_body;
    QStatusBar *m_statusBar;
    QLabel *m_hint;
    QLabel *m_legend;
    QLabel *m_outcome;
    QSpacerItem *m_above = nullptr;
    QSpacerItem *m_below = nullptr;
    bool m_busy = false;
    bool m_growsWhenRestored = false;
    QObject *m_blockWatch = nullptr;
    QPointer<QWidget> m_watched;
};

} // namespace sw
