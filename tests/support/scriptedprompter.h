// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/prompter.h"

#include <QStringList>

#include <deque>
#include <functional>
#include <utility>
#include <vector>

namespace sw::test {

// A prompter for tests: records every message and question, answers questions
// from a queue. A question with no answer queued fails the test.
class ScriptedPrompter final : public Prompter
{
public:
    struct Shown
    {
        QString text;
        QString title;
        PromptIcon icon;
        bool question;
        // The answer Enter would give (a message's OK).
        PromptAnswer defaultAnswer = PromptAnswer::Ok;
    };

    void answer(PromptAnswer a) { m_answers.push_back(a); }
    // Every question whose text ends with `ending` is answered `a`, before the queue is
    // looked at (a question a whole suite answers alike, such as a run's first question).
    void answerEvery(const QString &ending, PromptAnswer a) { m_standing.emplace_back(ending, a); }
    void answerInput(std::optional<QString> v) { m_inputs.push_back(std::move(v)); }
    void answerFile(std::optional<QString> v) { m_files.push_back(std::move(v)); }
    // Called as each question is asked, before it is answered: a look at the screen while a
    // run waits for the answer.
    std::function<void()> onQuestion;

    void message(const QString &text, const QString &title, PromptIcon icon) override;
    PromptAnswer ask(const QString &text, const QString &title, PromptIcon icon, PromptButtons buttons,
                     PromptAnswer defaultAnswer) override;
    std::optional<QString> input(const QString &text, const QString &title, const QString &initial) override;
    std::optional<QString> chooseFile(const QString &caption, const QString &startDir, const QString &filter,
                                      FileMode mode) override;

    const std::vector<Shown> &shown() const { return m_shown; }
    QStringList texts() const;
    QString last() const { return m_shown.empty() ? QString() : m_shown.back().text; }
    bool answersLeft() const { return !m_answers.empty() || !m_inputs.empty() || !m_files.empty(); }
    void clear() { m_shown.clear(); }

private:
    std::vector<Shown> m_shown;
    std::deque<PromptAnswer> m_answers;
    std::vector<std::pair<QString, PromptAnswer>> m_standing;
    std::deque<std::optional<QString>> m_inputs;
    std::deque<std::optional<QString>> m_files;
};

} // namespace sw::test
