// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/core/dates.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace sw {

QDate parseDmy(const QString &text)
{
    static const QRegularExpression pattern(u"^\\s*(\\d{1,2})/(\\d{1,2})/(\\d{4})\\s*$"_s);
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return {};
    return QDate(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
}

QString formatDmy(const QDate &date) { return date.isValid() ? date.toString(u"dd/MM/yyyy"_s) : QString(); }

QDate dateOfValue(const QVariant &value)
{
    if (value.isNull())
        return {};
    if (value.metaType().id() == QMetaType::QDate)
        return value.toDate();
    if (value.metaType().id() == QMetaType::QDateTime)
        return value.toDateTime().date();
    const QString text = value.toString().trimmed();
    const QDate iso = QDate::fromString(text.left(10), Qt::ISODate);
    return iso.isValid() ? iso : parseDmy(text);
}

} // namespace sw
