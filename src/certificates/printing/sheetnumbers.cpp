// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/printing/sheetnumbers.h"

#include "shell/core/stoperror.h"

#include <set>

using namespace Qt::StringLiterals;

namespace sw::sheetnumbers {

namespace {

constexpr int kDigits = 6;
constexpr long long kLongestRange = 10000;

bool allDigits(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

long long parseOne(const QString &text, const QString &prefix, const QString &item)
{
    QString digits = text.trimmed();
    if (!prefix.isEmpty() && digits.startsWith(prefix, Qt::CaseInsensitive))
        digits = digits.mid(prefix.size());
    bool ok = allDigits(digits) && digits.size() <= 2 * kDigits;
    const long long number = ok ? digits.toLongLong(&ok) : -1;
    if (!ok || number > kHighest)
        throw StopError(u"\""_s + item + u"\" is not a sheet number"_s
                            + (prefix.isEmpty() ? QString() : u" of prefix "_s + prefix)
                            + u": give numbers such as 17 or "_s + format(prefix, 17)
                            + u", or ranges such as 17-20, separated by commas."_s,
                        PromptIcon::Exclamation);
    return number;
}

} // namespace

QString format(const QString &prefix, long long number)
{
    return prefix + QStringLiteral("%1").arg(number, kDigits, 10, QLatin1Char('0'));
}

std::optional<Parsed> parse(const QString &certNo)
{
    const QString text = certNo.trimmed();
    if (text.size() < kDigits || !allDigits(text.right(kDigits)))
        return std::nullopt;
    return Parsed{text.left(text.size() - kDigits), text.right(kDigits).toLongLong()};
}

std::vector<long long> parseList(const QString &list, const QString &prefix)
{
    std::set<long long> numbers;
    for (const QString &raw : list.split(u',')) {
        const QString item = raw.trimmed();
        if (item.isEmpty())
            continue;
        const qsizetype dash = item.indexOf(u'-');
        if (dash < 0) {
            numbers.insert(parseOne(item, prefix, item));
            continue;
        }
        const long long from = parseOne(item.left(dash), prefix, item);
        const long long to = parseOne(item.mid(dash + 1), prefix, item);
        if (to < from)
            throw StopError(u"The range \""_s + item + u"\" runs backwards: give it from its first number."_s,
                            PromptIcon::Exclamation);
        if (to - from >= kLongestRange)
            throw StopError(u"The range \""_s + item + u"\" holds more than "_s + QString::number(kLongestRange)
                                + u" sheets: give the sheets meant, not the whole stationery."_s,
                            PromptIcon::Exclamation);
        for (long long n = from; n <= to; ++n)
            numbers.insert(n);
    }
    if (numbers.empty())
        throw StopError(u"No sheet numbers are given."_s, PromptIcon::Exclamation);
    return {numbers.begin(), numbers.end()};
}

} // namespace sw::sheetnumbers
