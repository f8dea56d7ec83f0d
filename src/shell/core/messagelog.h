// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace sw {

// A transcript of what the program said to the clerk, for support and for the desktop
// test that drives the program with real keys: when the environment variable
// SCROLLWISE_MESSAGE_LOG names a file, every message, question (with its answer) and
// screen outcome is appended to it as one tab-separated line:
//   kind <TAB> title or screen <TAB> text [<TAB> answer]
// with the text's line breaks written as " | ". Without the variable nothing is written.
// GUI thread only.
namespace messagelog {

bool enabled();
void append(const QString &kind, const QString &title, const QString &text, const QString &answer = {});

} // namespace messagelog

} // namespace sw
