// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

namespace sw {

// Whole rupees in words in the Indian system: the last three digits as hundreds,
// then two digits each for thousand and lakh, the rest for crore (1,23,45,678 is
// "One Crore Twenty Three Lakh Forty Five Thousand Six Hundred And Seventy
// Eight"). "Hundred And" only when tens or units follow. The part above the crore
// group is written out the same way ("One Hundred And Twenty Three Crore").
// Words are joined by single blanks; 0 gives an empty text. `digits` is a text
// of decimal digits (blanks around it allowed); anything else gives an empty text.
QString numberToWords(const QString &digits);

// An amount with up to two decimals: the rupees as above, then " And " + the
// paise in words + " Paise" when there are any ("101.50" is "One Hundred And One
// And Fifty Paise"); "Zero" for nothing at all. nullopt when `amount` is not
// digits with at most two decimals.
std::optional<QString> amountInWords(const QString &amount);

} // namespace sw
