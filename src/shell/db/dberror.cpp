// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/db/dberror.h"

using namespace Qt::StringLiterals;

namespace sw {

DbError::DbError(DbErrorKind kind, QString nativeCode, QString description, QString statement)
    : std::runtime_error(description.toStdString())
    , m_kind(kind)
    , m_nativeCode(std::move(nativeCode))
    , m_description(std::move(description))
    , m_statement(std::move(statement))
{
}

QString DbError::number() const
{
    switch (m_kind) {
    case DbErrorKind::LoginRefused: return QString::fromLatin1(dberrnum::kLoginRefused);
    case DbErrorKind::ServerUnreachable: return QString::fromLatin1(dberrnum::kUnspecified);
    case DbErrorKind::CommandText: return QString::fromLatin1(dberrnum::kCommandText);
    case DbErrorKind::Truncation: return QString::fromLatin1(dberrnum::kTruncation);
    case DbErrorKind::MissingTable: return QString::fromLatin1(dberrnum::kMissingTable);
    case DbErrorKind::NotConnected: return QString::fromLatin1(dberrnum::kNotConnected);
    case DbErrorKind::NotADatabase:
    case DbErrorKind::Duplicate:
    case DbErrorKind::Other: break;
    }
    return m_nativeCode.isEmpty() ? u"-1"_s : m_nativeCode;
}

QString DbError::message(ErrorForm form) const { return errorText(form, number(), m_description); }

} // namespace sw
