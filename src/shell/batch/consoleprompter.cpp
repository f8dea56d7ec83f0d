// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/batch/consoleprompter.h"

using namespace Qt::StringLiterals;

namespace sw {

namespace {
// Messages break lines with a lone carriage return, as message boxes do; on a
// terminal that would overwrite the line, so it becomes a line feed.
QString consoleText(const QString &text)
{
    QString out = text;
    out.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n');
    return out;
}
} // namespace

ConsolePrompter::ConsolePrompter(QTextStream &out, QTextStream &err, Policy policy)
    : m_out(out)
    , m_err(err)
    , m_policy(policy)
{
}

void ConsolePrompter::message(const QString &text, const QString &, PromptIcon icon)
{
    const bool warning = icon == PromptIcon::Critical || icon == PromptIcon::Exclamation;
    QTextStream &stream = warning || m_outputIsReport ? m_err : m_out;
    stream << consoleText(text) << Qt::endl;
}

PromptAnswer ConsolePrompter::ask(const QString &text, const QString &, PromptIcon, PromptButtons buttons,
                                  PromptAnswer)
{
    QTextStream &stream = m_outputIsReport ? m_err : m_out;
    if (buttons == PromptButtons::Ok) {
        stream << consoleText(text) << Qt::endl;
        return PromptAnswer::Ok;
    }
    switch (m_policy) {
    case Policy::Yes:
        stream << consoleText(text) << u" -> Yes"_s << Qt::endl;
        return buttons == PromptButtons::OkCancel ? PromptAnswer::Ok : PromptAnswer::Yes;
    case Policy::No:
        stream << consoleText(text) << u" -> No"_s << Qt::endl;
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
