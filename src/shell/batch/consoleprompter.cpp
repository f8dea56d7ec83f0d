// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/batch/consoleprompter.h"

#include "shell/core/stoperror.h"

#include <cstdio>
#include <string>

#include <termios.h>
#include <unistd.h>

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

PromptAnswer ConsolePrompter::ask(const QString &text, const QString &, PromptIcon, PromptButtons buttons, PromptAnswer)
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
    case Policy::Unanswered: break;
    }
    throw UnansweredQuestion(text);
}

std::optional<QString> ConsolePrompter::input(const QString &text, const QString &, const QString &)
{
    throw UnansweredQuestion(text);
}

// A PIN or password is read from standard input (a line; not echoed on a terminal),
// so a script can pipe it in and it never appears among the arguments.
std::optional<QString> ConsolePrompter::inputSecret(const QString &text, const QString &)
{
    m_err << consoleText(text) << u": "_s << Qt::flush;
    const bool terminal = isatty(STDIN_FILENO) == 1;
    termios saved{};
    if (terminal && tcgetattr(STDIN_FILENO, &saved) == 0) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    std::string line;
    bool read = false;
    for (int c; (c = std::fgetc(stdin)) != EOF;) {
        read = true;
        if (c == '\n')
            break;
        line.push_back(char(c));
    }
    if (terminal)
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    m_err << Qt::endl;
    if (!read)
        throw StopError(u"No answer for \""_s + text
                            + u"\": type it on standard input (a line; a script can pipe it "
                              "in)."_s,
                        PromptIcon::Exclamation);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return QString::fromStdString(line);
}

std::optional<QString> ConsolePrompter::chooseFile(const QString &caption, const QString &, const QString &, FileMode)
{
    throw UnansweredQuestion(caption);
}

} // namespace sw
