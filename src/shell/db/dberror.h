// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/errortext.h"

#include <QString>

#include <stdexcept>

namespace sw {

// The kinds of driver failure the system reacts to differently. Each dialect
// sorts its driver's native errors into these kinds.
enum class DbErrorKind {
    LoginRefused,      // the server refused the user or password
    ServerUnreachable, // no server, no network, no database file
    CommandText,       // the statement is wrong for this database (syntax, unknown or duplicate column)
    Truncation,        // a value does not fit the column
    MissingTable,      // the statement names a table that does not exist
    Duplicate,         // a unique key refused the row: what it holds is stored already
    NotADatabase,      // the file opened as the database is not one
    NotConnected,      // the configured database type opens no connection
    Other,
};

// A failed statement or connection. The number is the one the system shows:
// for the kinds above it is the fixed number the installations know them by,
// otherwise the driver's own code.
class DbError : public std::runtime_error
{
public:
    DbError(DbErrorKind kind, QString nativeCode, QString description, QString statement = {});

    DbErrorKind kind() const { return m_kind; }
    QString number() const;
    const QString &nativeCode() const { return m_nativeCode; }
    const QString &description() const { return m_description; }
    const QString &statement() const { return m_statement; }

    // The number and description in the form the place showing them uses.
    QString message(ErrorForm form) const;
    QString screenMessage() const { return message(ErrorForm::Screen); }
    QString reportMessage() const { return message(ErrorForm::Report); }
    QString startupMessage() const { return message(ErrorForm::Startup); }

private:
    DbErrorKind m_kind;
    QString m_nativeCode;
    QString m_description;
    QString m_statement;
};

// The fixed numbers, as the ADO providers of the first installations reported them.
namespace dberrnum {
inline constexpr const char *kLoginRefused = "-2147217843";
inline constexpr const char *kUnspecified = "-2147467259";
inline constexpr const char *kCommandText = "-2147217900";
inline constexpr const char *kTruncation = "-2147217833";
inline constexpr const char *kMissingTable = "-2147217865";
inline constexpr const char *kNotConnected = "3709";
} // namespace dberrnum

} // namespace sw
