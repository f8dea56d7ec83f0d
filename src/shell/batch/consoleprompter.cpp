// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/batch/consoleprompter.h"

using namespace Qt::StringLiterals;

namespace sw {

ConsolePrompter::ConsolePrompter(QTextStream &out, QTextStream &err, Policy policy)
    : m_out(out)
    , m_err(err)
    , m_policy(policy)
{
}

void ConsolePrompter::message(const QString &text, const QString &, PromptIcon icon)
{
    QTextStream &stream = (icon == PromptIcon::Critical || icon == PromptIcon::Exclamation) ? m_err : m_out;
    stream << text << Qt::endl;
}

PromptAnswer ConsolePrompter::ask(const QString &text, const QString &, PromptIcon, PromptButtons buttons,
                                  PromptAnswer)
{
    if (buttons == PromptButtons::Ok) {
        m_out << text << Qt::endl;
        return PromptAnswer::Ok;
    }
    switch (m_policy) {
    case Policy::Yes:
        m_out << text << u" -> Yes"_s << Qt::endl;
        return buttons == PromptButtons::OkCancel ? PromptAnswer::Ok : PromptAnswer::Yes;
    case Policy::No:
        m_out << text << u" -> No"_s << Qt::endl;
        return buttons == PromptButtons::OkCancel ? PromptAnswer::Cancel : PromptAnswer::No;
    case Policy::Unanswered:
        break;
    }
    throw UnansweredQuestion(text);
}

std::optional<QString> ConsolePrompter::input(const QString &text, const QString &, const QString &)
{
    throw UnansweredQuestion(text);
}

std::optional<QString> ConsolePrompter::chooseFile(const QString &caption, const QString &, const QString &, FileMode)
{
    throw UnansweredQuestion(caption);
}

} // namespace sw
