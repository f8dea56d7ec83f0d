// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/errortext.h"
#include "shell/core/prompter.h"
#include "shell/core/stoperror.h"
#include "shell/db/dberror.h"

#include <QString>

#include <exception>

namespace sw {

// How a run, a screen or a command shows the failure that ended its work. A StopError
// carries a message written for the clerk and is shown as it stands; a DbError shows
// its number and description in the form of the place (ErrorForm); anything else its
// text under the number 0.
QString failureText(const std::exception &error, ErrorForm form);

// Shows the StopError or DbError being handled; call it from inside the catch block. A
// StopError keeps its own title and icon, a DbError is a "Message" with `dbIcon`.
// Anything else is thrown on.
void showFailure(Prompter &prompter, ErrorForm form, PromptIcon dbIcon = PromptIcon::Critical);

// Runs `work`; when a StopError or DbError ends it, shows it (showFailure) and returns
// false. What `work` wrote before the failure stays written unless its own write scope
// undoes it.
template <typename Work>
bool runShowingFailures(Prompter &prompter, ErrorForm form, Work &&work, PromptIcon dbIcon = PromptIcon::Critical)
{
    try {
        work();
        return true;
    } catch (const StopError &) {
        showFailure(prompter, form, dbIcon);
    } catch (const DbError &) {
        showFailure(prompter, form, dbIcon);
    }
    return false;
}

} // namespace sw
