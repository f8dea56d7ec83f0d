// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QString>

class QWidget;

namespace sw {

class AppFolder;
class Database;

// A colour held as text in the "&H" notation: hexadecimal blue, green, red bytes
// ("&HC0FFFF" is pale yellow). Values with the high bit set ("&H80000008") name a
// colour of the desktop's scheme and are taken from the application's palette.
// Invalid when `text` is neither.
QColor colourFromVb(const QString &text);
// The "&H" text of a colour, blue byte first.
QString vbFromColour(const QColor &colour);

// The look of every screen, from the settings row: background, the font of the
// controls, the text colours of entry controls and labels and the background of
// fields being edited. Values that are null take the defaults below.
struct Appearance
{
    QString screenColour = QStringLiteral("&H808000");   // FSCOL
    QString fontName = QStringLiteral("MS Sans Serif");  // FFONT
    QString fontSize = QStringLiteral("8");              // FFONTSIZE
    QString fontColour = QStringLiteral("&H808000");     // FFONTCOL
    QString labelColour = QStringLiteral("&HFFFFFF");    // FLBFONTCOL
    QString editColour = QStringLiteral("&HC0FFFF");     // FTOCOL

    // Reads the settings row; an empty table first gets the default row
    // (fcompany 'Quanvex'), as the screens always have.
    static Appearance read(Database &db);

    // Colours `form` and its controls: labels, check and option boxes on the screen
    // colour in the label colour; text, date, combo and list boxes on the edit
    // colour in the font colour; grids on the screen colour, in `gridFontSize`
    // (the session's FontSize); everything else in the font and size above, bold.
    // "backpic.jpg" of the application folder, when there is one, is the
    // background picture.
    void apply(QWidget *form, const QString &gridFontSize, const AppFolder &folder) const;

    // FFONTSIZE as a point size; 8 when it is not a number.
    double pointSize() const;
};

} // namespace sw
