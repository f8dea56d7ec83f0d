// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/common/numberwords.h"

#include <QRegularExpression>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

QString units(int n)
{
    static const QStringList words{u"One"_s, u"Two"_s,   u"Three"_s, u"Four"_s, u"Five"_s,
                                   u"Six"_s, u"Seven"_s, u"Eight"_s, u"Nine"_s};
    return n >= 1 && n <= 9 ? words.at(n - 1) : QString();
}

QString teens(int n)
{
    static const QStringList words{u"Eleven"_s,  u"Twelve"_s,    u"Thirteen"_s, u"Fourteen"_s, u"Fifteen"_s,
                                   u"Sixteen"_s, u"Seventeen"_s, u"Eighteen"_s, u"Nineteen"_s};
    return words.at(n - 11);
}

QString tens(int n)
{
    static const QStringList words{u"Twenty"_s, u"Thirty"_s,  u"Forty"_s,  u"Fifty"_s,
                                   u"Sixty"_s,  u"Seventy"_s, u"Eighty"_s, u"Ninety"_s};
    return words.at(n - 2);
}

QString twoDigits(int n)
{
    if (n == 0)
        return {};
    if (n < 10)
        return units(n);
    if (n == 10)
        return u"Ten"_s;
    if (n < 20)
        return teens(n);
    return n % 10 == 0 ? tens(n / 10) : tens(n / 10) + u' ' + units(n % 10);
}

QString threeDigits(int n)
{
    const int hundreds = n / 100;
    const int rest = n % 100;
    if (hundreds == 0)
        return twoDigits(rest);
    return units(hundreds) + (rest != 0 ? u" Hundred And "_s + twoDigits(rest) : u" Hundred"_s);
}

QString join(const QStringList &parts)
{
    QStringList kept;
    for (const QString &p : parts) {
        if (!p.trimmed().isEmpty())
            kept.append(p.simplified());
    }
    return kept.join(u' ');
}

QString wordsOf(const QString &s)
{
    if (s.size() <= 3)
        return threeDigits(s.toInt());
    const QString last3 = s.right(3);
    const QString upper = s.left(s.size() - 3);
    const QString thousand = upper.right(2);
    const QString aboveThousand = upper.left(std::max<qsizetype>(0, upper.size() - 2));
    const QString lakh = aboveThousand.right(2);
    const QString crore = aboveThousand.left(std::max<qsizetype>(0, aboveThousand.size() - 2));
    const QString croreWords = crore.isEmpty() ? QString() : wordsOf(crore);
    return join({croreWords.isEmpty() ? QString() : croreWords + u" Crore"_s,
                 lakh.isEmpty() || lakh.toInt() == 0 ? QString() : twoDigits(lakh.toInt()) + u" Lakh"_s,
                 thousand.toInt() == 0 ? QString() : twoDigits(thousand.toInt()) + u" Thousand"_s,
                 threeDigits(last3.toInt())});
}

} // namespace

QString numberToWords(const QString &digits)
{
    const QString s = digits.trimmed();
    static const QRegularExpression onlyDigits(u"^[0-9]+$"_s);
    if (!onlyDigits.match(s).hasMatch())
        return {};
    return wordsOf(s);
}

std::optional<QString> amountInWords(const QString &amount)
{
    static const QRegularExpression shape(u"^([0-9]+)(?:\\.([0-9]{0,2}))?$"_s);
    const QRegularExpressionMatch m = shape.match(amount.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const QString rupees = numberToWords(m.captured(1));
    const QString paiseDigits = QString(m.captured(2) + u"00"_s).left(2);
    const QString paise = numberToWords(paiseDigits);
    if (paise.isEmpty())
        return rupees.isEmpty() ? u"Zero"_s : rupees;
    const QString paiseWords = paise + u" Paise"_s;
    return rupees.isEmpty() ? paiseWords : rupees + u" And "_s + paiseWords;
}

} // namespace sw
