// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/prompter.h"

#include <QString>

#include <stdexcept>

namespace sw {

// A run cannot go on: its message is shown (with its icon and title) and the run
// ends, keeping whatever it had written.
class StopError : public std::runtime_error
{
public:
    explicit StopError(QString text, PromptIcon icon = PromptIcon::Critical, QString title = QStringLiteral("Message"))
        : std::runtime_error(text.toStdString())
        , m_text(std::move(text))
        , m_icon(icon)
        , m_title(std::move(title))
    {
    }
    const QString &text() const { return m_text; }
    PromptIcon icon() const { return m_icon; }
    const QString &title() const { return m_title; }

private:
    QString m_text;
    PromptIcon m_icon;
    QString m_title;
};

} // namespace sw
