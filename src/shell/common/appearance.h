// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/bgrcolour.h"
#include "shell/settings/controlstore.h"
#include <QColor>
#include <QString>

class QWidget;

namespace sw {

class AppFolder;
class Database;

// The look of every screen, from the settings row: background, the font of the
// controls, the text colours of entry controls and labels and the background of
// fields being edited. Null columns read as AppearanceSettings::whenNull().
struct Appearance : AppearanceSettings
{
    // Reads the settings row; an empty table first gets the default row
    // (fcompany the maker's name), as the screens always have.
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
