// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <vector>

namespace sw {

// One text box of a single-record master screen and the column it edits.
struct RecordMasterField
{
    QString column;
    QString label;
    int width = 0; // the column width, the box's maximum length
    bool mandatory = false;
    bool kannada = false; // legacy 8-bit Kannada text, stored byte for byte
    bool date = false;    // a dd/mm/yyyy date kept as text: one that does not exist is refused
};

// One of the three master tables edited one row at a time, with their Kannada
// texts: degrees, classes of result, convocations. Field 0 is the key.
struct RecordMasterKind
{
    QString menuCode;
    QString caption;
    QString table;
    std::vector<RecordMasterField> fields;
    QString flagColumn; // a "T"/"F" check box column; empty when the screen has none
    QString flagLabel;
    QString invalidMessage;  // a code that is not in the table, in edit or delete
    QString lookupFields;    // what the F1 lookup shows
    QString candidateColumn; // the candidates' column that refers to the code

    const RecordMasterField &key() const { return fields.front(); }

    static const std::vector<RecordMasterKind> &all();
    // By menu code, case-insensitive; nullptr when none.
    static const RecordMasterKind *find(const QString &menuCode);
};

} // namespace sw
