// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/scriptedprompter.h"

#include <gtest/gtest.h>

namespace sw::test {

void ScriptedPrompter::message(const QString &text, const QString &title, PromptIcon icon)
{
    m_shown.push_back({text, title, icon, false});
}

PromptAnswer ScriptedPrompter::ask(const QString &text, const QString &title, PromptIcon icon, PromptButtons buttons,
                                   PromptAnswer defaultAnswer)
{
    m_shown.push_back({text, title, icon, true, defaultAnswer});
    if (onQuestion)
        onQuestion();
    if (buttons == PromptButtons::Ok)
        return PromptAnswer::Ok;
    for (const auto &[ending, a] : m_standing) {
        if (text.endsWith(ending))
            return a;
    }
    if (m_answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return defaultAnswer;
    }
    const PromptAnswer a = m_answers.front();
    m_answers.pop_front();
    return a;
}

std::optional<QString> ScriptedPrompter::input(const QString &text, const QString &title, const QString &)
{
    m_shown.push_back({text, title, PromptIcon::Question, true});
    if (m_inputs.empty()) {
        ADD_FAILURE() << "unexpected input box: " << text.toStdString();
        return std::nullopt;
    }
    auto v = m_inputs.front();
    m_inputs.pop_front();
    return v;
}

std::optional<QString> ScriptedPrompter::chooseFile(const QString &caption, const QString &, const QString &, FileMode)
{
    m_shown.push_back({caption, caption, PromptIcon::Question, true});
    if (m_files.empty()) {
        ADD_FAILURE() << "unexpected file dialog: " << caption.toStdString();
        return std::nullopt;
    }
    auto v = m_files.front();
    m_files.pop_front();
    return v;
}

QStringList ScriptedPrompter::texts() const
{
    QStringList out;
    for (const Shown &s : m_shown)
        out.append(s.text);
    return out;
}

} // namespace sw::test
