// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace sw {

// The forms a failure's number and description are shown in. Each kind of place has
// its own, as the installations have always shown them.
enum class ErrorForm {
    Screen,   // "Error Occurred : 123 . text": the screens
    Report,   // "Error Message  : Err No. 123  text": report and layout runs
    Startup,  // "123  text": start-up and the upgrade
    Numbered, // "123 text": the restore and the folder imports
};

// The one place a failure's text is put together.
QString errorText(ErrorForm form, const QString &number, const QString &description);

// The numbers the report runs give a file they cannot use.
enum class FileErrorNumber {
    BadFileName = 52,  // no report file name is free
    FileNotFound = 53, // a file to read is not there
    PathAccess = 75,   // a file cannot be created, written or removed
};

// A report run's failure over a file: "Error Message  : Err No. 75  text".
QString reportFileError(FileErrorNumber number, const QString &description);
// The same with the usual description, "path: reason".
QString reportFileError(FileErrorNumber number, const QString &path, const QString &reason);

} // namespace sw
