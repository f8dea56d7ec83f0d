// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace sw::csv {

// Which fields a record puts between double quotes (a quote inside is doubled).
enum class Quote {
    All,   // every field: the lists a clerk corrects and loads again
    Needed // only fields holding a comma, a quote, a line break or edge blanks, and a lone empty field
};

// One CSV record of already encoded fields, joined by commas, without its line end.
QByteArray record(const QList<QByteArray> &fields, Quote quote = Quote::Needed);
// The same of texts, in UTF-8.
QByteArray record(const QStringList &fields, Quote quote = Quote::Needed);

} // namespace sw::csv
