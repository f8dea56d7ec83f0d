// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QLineEdit;

namespace sw {

// Turns every character typed into `edit` into upper case, keeping the cursor where it was.
void upperCaseTyping(QLineEdit *edit);

// From the first call on, Enter (or the keypad's Enter) on a focused push button presses
// it, in every window of the program, as Space does; a dialog's default button is still
// what Enter presses when the focus is in one of its boxes. Idempotent.
void enterPressesButtons();

} // namespace sw
