// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace sw {

// The numbers printed on pre-numbered stationery: a prefix and a running number in
// six digits (A + 17 = A000017).
namespace sheetnumbers {

// The highest running number six digits can print.
inline constexpr long long kHighest = 999999;

QString format(const QString &prefix, long long number);

struct Parsed
{
    QString prefix;
    long long number = 0;
};
// The prefix and running number of a stored certificate number: the last six
// characters are the digits, the rest is the prefix. Nullopt for any other text
// (numbers typed by hand long ago, "DC1").
std::optional<Parsed> parse(const QString &certNo);

// A list of sheets as a clerk types it: "17, 19-21" or full numbers with the prefix
// ("A000017"); every number once, in order. Throws StopError naming the item that is
// not a number of this prefix, or a range that runs backwards or is too long.
std::vector<long long> parseList(const QString &list, const QString &prefix);

} // namespace sheetnumbers
} // namespace sw
