// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/db/failures.h"

using namespace Qt::StringLiterals;

namespace sw {

QString failureText(const std::exception &error, ErrorForm form)
{
    if (const auto *db = dynamic_cast<const DbError *>(&error))
        return db->message(form);
    if (const auto *stop = dynamic_cast<const StopError *>(&error))
        return stop->text();
    return errorText(form, u"0"_s, QString::fromLocal8Bit(error.what()));
}

void showFailure(Prompter &prompter, ErrorForm form, PromptIcon dbIcon)
{
    try {
        throw;
    } catch (const StopError &e) {
        prompter.message(e.text(), e.title(), e.icon());
    } catch (const DbError &e) {
        prompter.message(e.message(form), u"Message"_s, dbIcon);
    }
}

} // namespace sw
