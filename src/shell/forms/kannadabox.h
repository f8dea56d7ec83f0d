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
    // Column `column` of `view` holds legacy codes in `family`: drawn in that font, or
    // shown as their Unicode reading where the font is missing.
    static void showColumn(QAbstractItemView *view, int column, const QString &family, double pointSize);

private:
    KannadaBox(QLineEdit *box, kannada::LegacyFont font);
    static KannadaBox *of(const QLineEdit *box);
    void textChanged(const QString &text);

    QLineEdit *m_box;
    kannada::LegacyFont m_font;
    QString m_codes;      // the codes last set by the screen
    QString m_reading;    // their Unicode reading as shown
    bool m_updating = false;
};

} // namespace sw
