// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

namespace sw {

// Dates are typed, printed and exchanged as dd/mm/yyyy text. This parses and checks
// one (leading and trailing blanks allowed, one- or two-digit day and month); the
// date is invalid when the text is not a real date.
QDate parseDmy(const QString &text);
// dd/mm/yyyy with two-digit day and month; empty for an invalid date.
QString formatDmy(const QDate &date);

// A date column's value as the database hands it back: a date or date-time from
// MariaDB, ISO text ("2024-12-20 00:00:00") from SQLite, dd/mm/yyyy text from files
// written by hand. Invalid when null or not a date.
QDate dateOfValue(const QVariant &value);

} // namespace sw
