// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/prompter.h"

#include <QDialog>

#include <map>

class QAbstractButton;
class QDialogButtonBox;
class QLabel;
class QPlainTextEdit;

namespace sw {

// A message or question with a list that may be long: the text on top, the list in
// the middle, the question and the buttons at the foot. However many lines the list
// has, the window stays within the screen: the list scrolls (arrow, Page, Home and
// End keys, which it keeps while it has the focus), and the question and its buttons
// stay in view. The buttons take no focus, so Space answers nothing: Enter chooses
// the default, Esc the safe answer (No, Cancel), Y and N (or Alt+Y, Alt+N) their
// buttons. Without a default (PromptAnswer::None) Enter and Esc answer nothing either.
// Used by the GUI's prompter; GUI thread only.
class ListDialog : public QDialog
{
    Q_OBJECT
public:
    ListDialog(const QString &text, const QStringList &lines, const QString &question, const QString &title,
               PromptIcon icon, PromptButtons buttons, PromptAnswer defaultAnswer, QWidget *parent = nullptr);

    // The clerk's answer once the dialog is closed (Esc gives the safe one).
    PromptAnswer answer() const { return m_answer; }
    QPlainTextEdit *list() const { return m_list; }
    QAbstractButton *button(PromptAnswer answer) const;
    QAbstractButton *defaultButton() const;

    // The room a window may take on the screen of `near` with its frame around it.
    static QSize roomOnScreen(const QWidget *near);

    // Esc and the window's close button give the safe answer, or none for a question
    // without a default.
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void choose(PromptAnswer answer);
    void fitToScreen();

    QPlainTextEdit *m_list;
    QDialogButtonBox *m_box;
    std::map<PromptAnswer, QAbstractButton *> m_buttons;
    PromptAnswer m_default;
    PromptAnswer m_escape;
    PromptAnswer m_answer;
};

} // namespace sw
