// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/core/csvreader.h"

#include "shell/core/legacytext.h"

#include <QFile>
#include <QStringDecoder>

#include <csv.h>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

struct Collector
{
    std::vector<CsvRecord> records;
    QList<QByteArray> fields;
    int line = 1;
    bool utf8 = true;
};

void onField(void *data, size_t length, void *context)
{
    auto *c = static_cast<Collector *>(context);
    c->fields.append(QByteArray(static_cast<const char *>(data), qsizetype(length)));
}

// A field's text as written: a U+FEFF at its start is a character of the field (the file's
// own byte order mark is gone before parsing), where QString::fromUtf8 would drop it.
QString fieldText(const QByteArray &field)
{
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    return utf8.decode(field);
}

void onRecord(int, void *context)
{
    auto *c = static_cast<Collector *>(context);
    CsvRecord record;
    record.line = c->line;
    for (const QByteArray &f : std::as_const(c->fields))
        record.fields.append(c->utf8 ? fieldText(f) : legacytext::fromBytes(f));
    c->fields.clear();
    c->records.push_back(std::move(record));
}

} // namespace

CsvReader::Result CsvReader::readFile(const QString &path, char delimiter, std::optional<legacytext::Encoding> encoding)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, path + u": "_s + file.errorString()};
    Result r = parse(file.readAll(), delimiter, encoding);
    if (!r.error.isEmpty())
        r.error = path + u", "_s + r.error;
    return r;
}

CsvReader::Result CsvReader::parse(const QByteArray &input, char delimiter,
                                   std::optional<legacytext::Encoding> encoding)
{
    QByteArray bytes = input;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    Collector collector;
    if (encoding) {
        collector.utf8 = *encoding == legacytext::Encoding::Utf8;
    } else {
        // The whole file decides the encoding, so one field cannot be read differently from the next.
        QStringDecoder utf8(QStringDecoder::Utf8);
        // The decoding result is lazy: it has to be turned into a string for the error to be seen.
        const QString decoded = utf8.decode(bytes);
        collector.utf8 = !utf8.hasError();
    }

    csv_parser parser;
    csv_init(&parser, CSV_STRICT | CSV_STRICT_FINI);
    csv_set_delim(&parser, static_cast<unsigned char>(delimiter));
    Result result;
    // Fed line by line so that every record knows the line it ends on.
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        end = end < 0 ? bytes.size() : end + 1;
        const QByteArray chunk = bytes.mid(start, end - start);
        if (csv_parse(&parser, chunk.constData(), size_t(chunk.size()), onField, onRecord, &collector)
            != size_t(chunk.size())) {
            result.error = u"line "_s + QString::number(collector.line) + u": "_s
                           + QString::fromLatin1(csv_strerror(csv_error(&parser)));
            csv_free(&parser);
            result.records = std::move(collector.records);
            return result;
        }
        if (bytes.at(end - 1) == '\n')
            ++collector.line;
        start = end;
    }
    if (csv_fini(&parser, onField, onRecord, &collector) != 0)
        result.error = u"line "_s + QString::number(collector.line) + u": "_s
                       + QString::fromLatin1(csv_strerror(csv_error(&parser)));
    csv_free(&parser);
    result.records = std::move(collector.records);
    return result;
}

} // namespace sw
