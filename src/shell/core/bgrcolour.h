// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QString>

namespace sw {

// Settings and layouts hold colours as text in the "&H" notation: hexadecimal blue,
// green and red bytes ("&H0000FF" is red, "&HC0FFFF" pale yellow), a trailing "&"
// allowed. Values with the high bit set ("&H80000008") name a colour of the desktop's
// scheme: screens take it from the application's palette, pages print it black.
enum class SystemColour { FromPalette, Black };

// Invalid for text of any other form.
QColor colourFromBgrText(const QString &text, SystemColour system = SystemColour::FromPalette);
// The "&H" text of a colour, blue byte first, six digits.
QString bgrTextFromColour(const QColor &colour);

} // namespace sw
