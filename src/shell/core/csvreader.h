// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/legacytext.h"

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
// that span lines) with libcsv. The file's encoding is given (see legacytext); without
// one, valid UTF-8 is read as UTF-8 and anything else as 8-bit legacy text. Blanks
// around unquoted fields are dropped, empty lines skipped.
class CsvReader
{
public:
    struct Result
    {
        std::vector<CsvRecord> records;
        QString error; // empty when the whole file was read
    };

    static Result readFile(const QString &path, char delimiter = ',',
                           std::optional<legacytext::Encoding> encoding = std::nullopt);
    static Result parse(const QByteArray &bytes, char delimiter = ',',
                        std::optional<legacytext::Encoding> encoding = std::nullopt);
};

} // namespace sw
