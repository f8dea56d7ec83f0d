// SPDX-License-Identifier: GPL-3.0-or-later
// Result files (".cnv", dBASE IV) arrive from examination sections on any medium and
// are often cut short or damaged. The reader must refuse such a file with its
// message or read every record and field of it; it must never read past the file.
#include "candidates/imports/dbftable.h"
#include "fuzzsupport.h"
#include "shell/core/stoperror.h"

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = sw::fuzz::writeScratch(u"fuzz.dbf"_s, sw::fuzz::bytes(data, size));
    try {
        sw::DbfTable table(path, u"FUZZ.CNV"_s);
        const int fields = table.fieldCount();
        sw::fuzz::require(fields >= 0 && table.recordCount() >= 0);
        for (int f = 0; f < fields; ++f) {
            sw::fuzz::require(table.fieldIndex(table.fieldName(f)) >= 0);
            (void)table.fieldType(f);
        }
        // The first records and the last one: every record goes through the same code,
        // and a header announcing thousands of one-byte records would make an input slow.
        const int records = table.recordCount();
        for (int r = 0; r < records; r = (r < 31 || r == records - 1) ? r + 1 : records - 1) {
            if (!table.read(r))
                continue;
            (void)table.isDeleted();
            for (int f = 0; f < fields; ++f) {
                (void)table.raw(f);
                (void)table.text(f);
            }
        }
        sw::fuzz::require(table.fieldIndex(u"NO SUCH FIELD"_s) == -1);
    } catch (const sw::StopError &e) {
        sw::fuzz::require(!e.text().isEmpty() && e.text().contains(u"FUZZ.CNV"_s));
    }
    return 0;
}
