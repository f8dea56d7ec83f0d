// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/kannadatext.h"

#include <QObject>
#include <QString>

class QAbstractItemView;
class QLineEdit;

namespace sw {

// The one place where screens show Kannada. A Kannada box holds the codes of a legacy
// font (the way the database keeps them). Where that font is installed the box draws
// them in it, as always. Where it is missing the box shows their Unicode reading in the
// installed Unicode Kannada font and carries a small "ಅ" marker saying so; text typed in
// Unicode (a system input method) is written back as the legacy codes when the screen
// stores it, and codes nobody changed are stored exactly as they were read.
//
// Screens set and clear the box's text as before (setText with the stored codes) and
// read what to store with storedText(); grids and lists show a column through
// showColumn(). The helper lives as a child of the box it serves.
//
// The column's width counts legacy codes, and a reading is seldom as long as its codes
// (ಕ is two codes, ಕಿ one): such a box takes over the box's maximum length and applies
// it to the codes the typed text is stored as, refusing a keystroke that would not fit.
class KannadaBox : public QObject
{
public:
    // Makes `box` a Kannada box in the legacy `family` ("Nudi 01 e", "BRH Kannada") at
    // `pointSize`; the box's own bold setting is kept. Calling it again only refreshes the font.
    static void attach(QLineEdit *box, const QString &family, double pointSize);
    // What to store from `box`: the legacy codes of a Kannada box, the text of any other.
    static QString storedText(const QLineEdit *box);
    // Whether `box` shows the Unicode reading (its legacy font is missing).
    static bool showsUnicode(const QLineEdit *box);
    // The most codes `box` stores: its maximum length, counted in legacy codes.
    static int maxLength(const QLineEdit *box);
    // The height a box of `font` needs beyond the font's own line so that the stacked
    // letters of Kannada (ಲಕ್ಷ್ಮೀ, ಭೌತಶಾಸ್ತ್ರ), which reach above and below the
    // font's line, are drawn whole: the line edit centres its line, so twice the
    // larger overhang.
    static int stackedLettersRoom(const QFont &font);
    // Column `column` of `view` holds legacy codes in `family`: drawn in that font, or
    // shown as their Unicode reading where the font is missing. Calling it again changes nothing.
    static void showColumn(QAbstractItemView *view, int column, const QString &family, double pointSize);

private:
    KannadaBox(QLineEdit *box, kannada::LegacyFont font);
    static KannadaBox *of(const QLineEdit *box);
    void textChanged(const QString &text);
    void textEdited(const QString &text);

    QLineEdit *m_box;
    kannada::LegacyFont m_font;
    int m_maxCodes;     // the column's width
    QString m_codes;    // the codes last set by the screen
    QString m_reading;  // their Unicode reading as shown
    QString m_accepted; // the text last shown that fits the column
    bool m_updating = false;
};

} // namespace sw
