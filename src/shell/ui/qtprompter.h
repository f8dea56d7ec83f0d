// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/prompter.h"

#include <QPointer>
#include <QWidget>

namespace sw {

// The GUI's prompter: QMessageBox, QInputDialog and QFileDialog, parented to the
// window that asks.
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

private:
    QPointer<QWidget> m_parent;
};

} // namespace sw
