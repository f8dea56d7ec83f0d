// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/core/prompter.h"

namespace sw {
Prompter::~Prompter() = default;

namespace {
QString joined(const QStringList &parts)
{
    QStringList shown;
    for (const QString &part : parts) {
        if (!part.isEmpty())
            shown << part;
    }
    return shown.join(QStringLiteral("\n\n"));
}
} // namespace

void Prompter::showList(const QString &text, const QStringList &lines, const QString &title, PromptIcon icon)
{
    message(joined({text, lines.join(u'\n')}), title, icon);
}

PromptAnswer Prompter::askWithList(const QString &text, const QStringList &lines, const QString &question,
                                   const QString &title, PromptIcon icon, PromptButtons buttons,
                                   PromptAnswer defaultAnswer)
{
    return ask(joined({text, lines.join(u'\n'), question}), title, icon, buttons, defaultAnswer);
}
} // namespace sw
