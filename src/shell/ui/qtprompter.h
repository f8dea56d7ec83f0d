// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/prompter.h"

#include <QPointer>
#include <QWidget>

namespace sw {

// The GUI's prompter: QMessageBox, QInputDialog and QFileDialog, parented to the
// window that asks; ListDialog for long lists and long messages. A question whose
// default is not Yes (Prompter::guarded) takes no Space: its buttons take no focus,
// Enter and Esc give the safe answer, Y or Alt+Y says Yes.
class QtPrompter final : public Prompter
{
public:
    explicit QtPrompter(QWidget *parent = nullptr);
    void setParent(QWidget *parent) { m_parent = parent; }

    void message(const QString &text, const QString &title, PromptIcon icon) override;
    PromptAnswer ask(const QString &text, const QString &title, PromptIcon icon, PromptButtons buttons,
                     PromptAnswer defaultAnswer) override;
    std::optional<QString> input(const QString &text, const QString &title, const QString &initial) override;
    std::optional<QString> inputSecret(const QString &text, const QString &title) override;
    std::optional<QString> chooseFile(const QString &caption, const QString &startDir, const QString &filter,
                                      FileMode mode) override;
    void showList(const QString &text, const QStringList &lines, const QString &title, PromptIcon icon) override;
    PromptAnswer askWithList(const QString &text, const QStringList &lines, const QString &question,
                             const QString &title, PromptIcon icon, PromptButtons buttons,
                             PromptAnswer defaultAnswer) override;

    // A message of more lines than this goes into the scrolling list dialog, so no
    // message box grows taller than the screen.
    static constexpr int kMostLinesInABox = 20;

private:
    QPointer<QWidget> m_parent;
};

} // namespace sw
