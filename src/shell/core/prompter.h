// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace sw {

enum class PromptIcon { None, Information, Exclamation, Critical, Question };
enum class PromptButtons { Ok, YesNo, YesNoCancel, OkCancel };
enum class PromptAnswer { Ok, Yes, No, Cancel };

// Every message box, question, input box and file dialog of the system goes
// through a Prompter: the GUI shows real dialogs, the command-line tool prints
// and answers from its flags, tests script the answers. Texts are passed exactly
// as the screens word them. Implementations are used from the GUI thread only.
class Prompter
{
public:
    virtual ~Prompter();

    virtual void message(const QString &text, const QString &title, PromptIcon icon) = 0;

    // `defaultAnswer` is the button that Enter chooses.
    virtual PromptAnswer ask(const QString &text, const QString &title, PromptIcon icon, PromptButtons buttons,
                             PromptAnswer defaultAnswer) = 0;

    // An input box; nullopt when cancelled.
    virtual std::optional<QString> input(const QString &text, const QString &title, const QString &initial) = 0;
    // An input box whose text is not shown as it is typed (a password).
    virtual std::optional<QString> inputSecret(const QString &text, const QString &title)
    {
        return input(text, title, {});
    }

    enum class FileMode { Open, Save, Folder };
    // A file or folder dialog; nullopt when cancelled.
    virtual std::optional<QString> chooseFile(const QString &caption, const QString &startDir, const QString &filter,
                                              FileMode mode) = 0;

    // Shorthands for the two most common shapes.
    void info(const QString &text, const QString &title = QStringLiteral("Message"))
    {
        message(text, title, PromptIcon::Information);
    }
    bool askYesNo(const QString &text, const QString &title = QStringLiteral("Message"),
                  PromptIcon icon = PromptIcon::Question, PromptAnswer defaultAnswer = PromptAnswer::Yes)
    {
        return ask(text, title, icon, PromptButtons::YesNo, defaultAnswer) == PromptAnswer::Yes;
    }
};

} // namespace sw
