// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/core/csvwriter.h"

#include <csv.h>

namespace sw::csv {

namespace {

bool needsQuotes(const QByteArray &field)
{
    for (const char c : field) {
        if (c == ',' || c == '"' || c == '\r' || c == '\n')
            return true;
    }
    // A field beginning with a byte order mark, first in a file, would be taken for the file's own.
    if (field.startsWith("\xEF\xBB\xBF"))
        return true;
    // A reader drops the blanks around a field that is not quoted.
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    return !field.isEmpty() && (blank(field.front()) || blank(field.back()));
}

} // namespace

QByteArray record(const QList<QByteArray> &fields, Quote quote)
{
    QByteArray line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += ',';
        const QByteArray &raw = fields[i];
        // A record of one empty field is "": an empty line is no record to a reader.
        const bool alone = fields.size() == 1 && raw.isEmpty();
        if (quote == Quote::Needed && !needsQuotes(raw) && !alone) {
            line += raw;
            continue;
        }
        QByteArray quoted(raw.size() * 2 + 2, Qt::Uninitialized);
        quoted.resize(qsizetype(csv_write(quoted.data(), size_t(quoted.size()), raw.constData(), size_t(raw.size()))));
        line += quoted;
    }
    return line;
}

QByteArray record(const QStringList &fields, Quote quote)
{
    QList<QByteArray> encoded;
    encoded.reserve(fields.size());
    for (const QString &field : fields)
        encoded.append(field.toUtf8());
    return record(encoded, quote);
}

} // namespace sw::csv
