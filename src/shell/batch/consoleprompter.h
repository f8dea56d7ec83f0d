// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/prompter.h"

#include <QTextStream>

#include <stdexcept>

namespace sw {

// A question the command line could not answer: no --yes/--no and no option of
// the command's own. Its text names the question.
class UnansweredQuestion : public std::runtime_error
{
public:
    explicit UnansweredQuestion(const QString &question)
        : std::runtime_error(question.toStdString())
        , m_question(question)
    {
    }
    const QString &question() const { return m_question; }

private:
    QString m_question;
};

// The command-line tool's prompter: every message on its own line (warnings and
// errors on standard error, the rest on standard output unless it carries a report),
// questions answered by --yes/--no.
class ConsolePrompter final : public Prompter
{
public:
    enum class Policy { Unanswered, Yes, No };

    ConsolePrompter(QTextStream &out, QTextStream &err, Policy policy = Policy::Unanswered);
    void setPolicy(Policy policy) { m_policy = policy; }
    Policy policy() const { return m_policy; }
    // Standard output carries the command's report: from now on every message and
    // every question answered goes to standard error, so none ends up in the report.
    void keepOutputForReport() { m_outputIsReport = true; }

    void message(const QString &text, const QString &title, PromptIcon icon) override;
    PromptAnswer ask(const QString &text, const QString &title, PromptIcon icon, PromptButtons buttons,
                     PromptAnswer defaultAnswer) override;
    std::optional<QString> input(const QString &text, const QString &title, const QString &initial) override;
    std::optional<QString> inputSecret(const QString &text, const QString &title) override;
    std::optional<QString> chooseFile(const QString &caption, const QString &startDir, const QString &filter,
                                      FileMode mode) override;

private:
    QTextStream &m_out;
    QTextStream &m_err;
    Policy m_policy;
    bool m_outputIsReport = false;
};

} // namespace sw
