// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/stoperror.h"

#include <QString>

namespace sw::test {

// What a step that must stop says to the clerk: its StopError's text, or "(ran
// through)" when it did not stop, so that a test compares the message itself rather
// than the exception's type.
template <typename Step> QString stopText(Step &&step)
{
    try {
        step();
    } catch (const StopError &stop) {
        return stop.text();
    }
    return QStringLiteral("(ran through)");
}

} // namespace sw::test
