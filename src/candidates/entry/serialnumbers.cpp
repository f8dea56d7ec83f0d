// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/entry/serialnumbers.h"

#include "shell/core/stoperror.h"
#include "shell/db/database.h"

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
    m_db.exec(u"update control set fversion = fversion"_s);
    // Without the settings row there is nothing to lock and two workstations could
    // take the same number: refuse rather than risk it.
    if (!m_db.exists(u"select 1 from control"_s))
        throw StopError(u"The settings row (table control) is missing: print serial numbers cannot be given."_s,
                        PromptIcon::Exclamation);
}

QString SerialNumbers::next() const
{
    // Serial numbers are five-digit texts, so the text maximum is the numeric one; an
    // empty text sorts below every number. Without a condition the maximum comes
    // straight from the column's index.
    const QString highest = m_db.scalar(u"select max(fprintord) from convo"_s).toString().trimmed();
    if (highest.isEmpty())
        return format(1);
    bool ok = false;
    const int number = highest.toInt(&ok);
    if (!ok)
        throw StopError(u"The highest print serial number in the table, \""_s + highest
                            + u"\", is not a number: correct it before activating."_s,
                        PromptIcon::Exclamation);
    return format(number + 1);
}

QString SerialNumbers::format(int number)
{
    return QString::number(number).rightJustified(5, u'0');
}

} // namespace sw
