// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace sw {

enum class PromptIcon { None, Information, Exclamation, Critical, Question };
enum class PromptButtons { Ok, YesNo, YesNoCancel, OkCancel };
// `None` is only a default: no button is, and neither Enter nor Esc answers.
enum class PromptAnswer { Ok, Yes, No, Cancel, None };

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

    // Findings that may be many (the check before printing, an import's rejected
    // records, an export's refusals): `text` above a list of `lines`, one finding a
    // line. The GUI scrolls the list and keeps the text and the button in view; by
    // default it is one message, the lines below the text.
    virtual void showList(const QString &text, const QStringList &lines, const QString &title, PromptIcon icon);
    // The same with `question` below the list: the question and its buttons stay in
    // view however long the list is.
    virtual PromptAnswer askWithList(const QString &text, const QStringList &lines, const QString &question,
                                     const QString &title, PromptIcon icon, PromptButtons buttons,
                                     PromptAnswer defaultAnswer);

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
    // A question whose Yes loses work or uses stationery: No is the default, so a
    // hurried Enter or Esc answers it the safe way. The GUI also lets no Space answer
    // it: the clerk says Yes with Y (or Alt+Y) or a click.
    bool askRisky(const QString &text, const QString &title = QStringLiteral("Message"),
                  PromptIcon icon = PromptIcon::Question)
    {
        return askYesNo(text, title, icon, PromptAnswer::No);
    }
    // A question both of whose answers count (Yes registers one thing, No another):
    // it has no default, so Enter, Esc and Space answer nothing and a hurried key
    // cannot decide it; the clerk answers with Y or N (or a click).
    bool askEither(const QString &text, const QString &title = QStringLiteral("Message"),
                   PromptIcon icon = PromptIcon::Question)
    {
        return ask(text, title, icon, PromptButtons::YesNo, PromptAnswer::None) == PromptAnswer::Yes;
    }
    // Whether a question with this default is answered only by its own keys.
    static bool guarded(PromptAnswer defaultAnswer)
    {
        return defaultAnswer != PromptAnswer::Yes && defaultAnswer != PromptAnswer::Ok;
    }
};

} // namespace sw
