// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QLineEdit;

namespace sw {

// Turns every character typed into `edit` into upper case, keeping the cursor where it was.
void upperCaseTyping(QLineEdit *edit);

} // namespace sw
