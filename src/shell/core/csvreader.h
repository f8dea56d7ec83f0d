// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace sw {

// One record of a comma-separated file and the line it ends on.
struct CsvRecord
{
    int line = 0;
    QStringList fields;
};

// Reads comma-separated files (quoted fields, doubled quotes, CRLF or LF, fields
// that span lines) with libcsv. The file is UTF-8 or 8-bit legacy text (see
// legacytext); blanks around unquoted fields are dropped, empty lines skipped.
class CsvReader
{
public:
    struct Result
    {
        std::vector<CsvRecord> records;
        QString error; // empty when the whole file was read
    };

    static Result readFile(const QString &path, char delimiter = ',');
    static Result parse(const QByteArray &bytes, char delimiter = ',');
};

} // namespace sw
