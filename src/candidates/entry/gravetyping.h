// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QLineEdit;

namespace sw {

// Turns every apostrophe typed into `edit` into a grave accent, as the candidate
// screens have always done: names such as D'SOUZA are stored as D`SOUZA, and the
// searches and reports that match on them expect that spelling.
void graveAccentTyping(QLineEdit *edit);

} // namespace sw
