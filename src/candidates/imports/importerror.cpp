// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/imports/importerror.h"

#include "shell/core/errortext.h"

using namespace Qt::StringLiterals;

namespace sw {

QString ImportPlace::describe() const
{
    QStringList parts;
    if (!file.isEmpty())
        parts << u"File: "_s + file;
    if (record > 0)
        parts << (textFile ? u"Line: "_s : u"Record: "_s) + QString::number(record);
    if (!field.isEmpty())
        parts << u"Field: "_s + field;
    return parts.join(u", "_s);
}

namespace {
QString screenText(const QString &number, const QString &description, const ImportPlace &place)
{
    QString text = errorText(ErrorForm::Screen, number, description);
    const QString where = place.describe();
    if (!where.isEmpty())
        text += u'\r' + where;
    return text;
}
} // namespace

ImportFailure::ImportFailure(QString number, QString description, ImportPlace place)
    : StopError(screenText(number, description, place), PromptIcon::Critical)
    , m_number(std::move(number))
    , m_description(std::move(description))
    , m_place(std::move(place))
{
}

ImportFailure importStop(const QString &number, const QString &description, const ImportPlace &place)
{
    return ImportFailure(number, description, place);
}

} // namespace sw
