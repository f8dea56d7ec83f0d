// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/entry/serialnumbers.h"

#include "shell/core/stoperror.h"
#include "shell/db/database.h"
#include "shell/settings/controlstore.h"

using namespace Qt::StringLiterals;

namespace sw {

SerialNumbers::SerialNumbers(Database &db)
    : m_db(db)
{
}

void SerialNumbers::lock()
{
    if (m_db.transactionDepth() == 0)
        throw StopError(u"A print serial number can only be taken inside a transaction."_s);
    if (!ControlStore(m_db).lockRow())
        throw StopError(u"The settings row (table control) is missing: print serial numbers cannot be given."_s,
                        PromptIcon::Exclamation);
}

namespace {

// The column's value with every digit taken out: empty for a number, on every backend.
QString withoutDigits(const QString &column)
{
    QString expression = u"ltrim(rtrim("_s + column + u"))"_s;
    for (char digit = '0'; digit <= '9'; ++digit)
        expression = u"replace("_s + expression + u", '"_s + QLatin1Char(digit) + u"', '')"_s;
    return expression;
}

constexpr int kHighest = 999999; // the column holds six characters

} // namespace

QString SerialNumbers::next(QStringList *ignored) const
{
    // Compared as numbers: as text "99999" sorts above "100000", and the same number would
    // be given again and again past it.
    const QString digitsOnly = withoutDigits(u"fprintord"_s) + u" = ''"_s;
    const QString given = m_db.dialect().coalesce(u"fprintord"_s, u"''"_s) + u" <> ''"_s;
    Rows rows = m_db.query(u"select max(case when "_s + digitsOnly
                           + u" then ltrim(rtrim(fprintord)) + 0 end), "
                             "sum(case when "_s
                           + digitsOnly + u" then 0 else 1 end) from convo where "_s + given);
    qint64 highest = 0;
    int garbage = 0;
    if (rows.next()) {
        highest = rows.value(0).isNull() ? 0 : qint64(rows.value(0).toDouble());
        garbage = rows.value(1).toInt();
    }
    if (garbage > 0 && ignored) {
        Rows bad = m_db.query(u"select fregno, fconvocode, fprintord from convo where "_s + given + u" and "_s
                              + withoutDigits(u"fprintord"_s) + u" <> ''"_s);
        while (bad.next() && ignored->size() < 5)
            *ignored << bad.text(0).trimmed() + u" ("_s + bad.text(1).trimmed() + u"): "_s + bad.text(2);
        if (garbage > ignored->size())
            *ignored << u"and "_s + QString::number(garbage - ignored->size()) + u" more"_s;
    }
    if (highest >= kHighest)
        throw StopError(u"The print serial numbers are used up: "_s + QString::number(kHighest)
                            + u" is the highest the column holds."_s,
                        PromptIcon::Exclamation);
    return format(int(highest + 1));
}

QString SerialNumbers::format(int number) { return QString::number(number).rightJustified(5, u'0'); }

} // namespace sw
