// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/stoperror.h"

#include <QString>

namespace sw {

// Where an import stopped: the file, the record (counted from 1; 0 when the file as a
// whole is at fault) and the field (empty when none is).
struct ImportPlace
{
    QString file;
    int record = 0;
    QString field;
    bool textFile = false; // the record is a line of a text file

    // "File: X, Record: 12, Field: FNAME" ("Line: 12" in a text file) with the parts that are known.
    QString describe() const;
};

// The number the screens give an unreadable or malformed input file.
inline constexpr const char *kBadFileNumber = "-2147467259";
// The number the screens give a field the file does not have.
inline constexpr const char *kMissingFieldNumber = "3265";
inline constexpr const char *kMissingFieldText =
    "Item cannot be found in the collection corresponding to the requested name or ordinal.";

// The stop of an import in the screens' shape, "Error Occurred : N . text", with the
// place on a line of its own so the clerk knows which file and record to look at.
// The parts stay apart for the runs that word the message differently.
class ImportFailure : public StopError
{
public:
    ImportFailure(QString number, QString description, ImportPlace place);
    const QString &number() const { return m_number; }
    const QString &description() const { return m_description; }
    const ImportPlace &place() const { return m_place; }

private:
    QString m_number;
    QString m_description;
    ImportPlace m_place;
};

ImportFailure importStop(const QString &number, const QString &description, const ImportPlace &place);

} // namespace sw
