// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Kannada boxes as a clerk meets them: what a box shows on this machine, and text typed
// through a system input method (which QTest's key clicks cannot send).

#include <QLineEdit>
#include <QString>

namespace sw::test {

// Whether Kannada in `legacyFamily` is shown through Unicode here: the family is not
// installed and a Unicode Kannada font is.
bool kannadaShownThroughUnicode(const QString &legacyFamily = QStringLiteral("Nudi 01 e"));

// Checks that `box` is a Kannada box for `legacyFamily`: drawn in that font where it is
// installed, else showing the Unicode reading in the Unicode font with its marker.
void expectKannadaBox(const QLineEdit *box, const QString &legacyFamily);

// Types `text` into `widget` as an input method commits it, one character at a time.
void typeThroughInputMethod(QWidget *widget, const QString &text);

} // namespace sw::test
