// SPDX-License-Identifier: GPL-3.0-or-later
// The CSV reader the master, award and DigiLocker imports use takes any bytes a clerk's
// spreadsheet or another program wrote. Whatever it reads, its records carry the lines
// they end on in order, and what it read, written back by the CSV writer the reports use,
// reads again as the same records.
#include "fuzzsupport.h"
#include "shell/core/csvreader.h"
#include "shell/core/csvwriter.h"

#include <optional>

namespace {

std::optional<sw::legacytext::Encoding> encodingOf(uint8_t choice)
{
    switch (choice % 3) {
    case 0: return std::nullopt; // decided by the file, as the award import reads
    case 1: return sw::legacytext::Encoding::Utf8;
    default: return sw::legacytext::Encoding::Cp1252;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The first byte chooses the encoding; the rest is the file.
    if (size == 0)
        return 0;
    const QByteArray content = sw::fuzz::bytes(data + 1, size - 1);
    const sw::CsvReader::Result read = sw::CsvReader::parse(content, ',', encodingOf(data[0]));

    const int lines = int(content.count('\n')) + 1;
    int previous = 1;
    for (const sw::CsvRecord &record : read.records) {
        sw::fuzz::require(record.line >= previous && record.line <= lines);
        sw::fuzz::require(!record.fields.isEmpty());
        previous = record.line;
    }
    if (!read.error.isEmpty())
        return 0;

    QByteArray written;
    for (const sw::CsvRecord &record : read.records)
        written += sw::csv::record(record.fields) + "\r\n";
    const sw::CsvReader::Result again = sw::CsvReader::parse(written, ',', sw::legacytext::Encoding::Utf8);
    sw::fuzz::require(again.error.isEmpty());
    sw::fuzz::require(again.records.size() == read.records.size());
    for (size_t i = 0; i < again.records.size(); ++i)
        sw::fuzz::require(again.records[i].fields == read.records[i].fields);
    return 0;
}
