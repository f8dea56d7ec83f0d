// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/audit/audittrail.h"
#include "masters/recordmasters/recordmasterkind.h"
#include "shell/db/sqldialect.h"

#include <QStringList>

#include <optional>

namespace sw {

class Database;
class Prompter;

// One row of a record master: a value per field of its kind, and the check box.
struct MasterRecord
{
    QStringList values;
    bool flag = false;
};

// A field that fails the checks and the message the screen shows for it.
struct RecordProblem
{
    int field = -1;
    QString message;
};

// Reads and writes the rows of one record master. Kannada fields are stored as the
// 8-bit characters they were typed in; English fields have apostrophes turned into
// grave accents.
class RecordMasterStore
{
public:
    RecordMasterStore(Database &db, const RecordMasterKind &kind);

    const RecordMasterKind &kind() const { return m_kind; }
    // The logged-in user, whom the audit trail names for every change.
    void setActor(const QString &user) { m_actor = user; }

    // The rows the screen browses, by key.
    BoundSql browseStatement() const;
    // Every key in order, for browsing.
    QStringList codes() const;
    std::optional<MasterRecord> find(const QString &code) const;

    // Mandatory fields ("Information should be entered") and column widths.
    std::optional<RecordProblem> check(const MasterRecord &record) const;

    // Insert or update in one transaction; a database error (an existing key on
    // insert among them) is shown and false returned.
    bool insert(const MasterRecord &record, Prompter &prompter);
    bool update(const MasterRecord &record, Prompter &prompter);

    // How many candidate records refer to the code.
    int candidatesUsing(const QString &code) const;
    // Removes the row unless candidates still refer to it, which is said instead.
    bool remove(const QString &code, Prompter &prompter);

    // The record with each value made ready to store.
    MasterRecord cleaned(const MasterRecord &record) const;

private:
    QString flagText(const MasterRecord &record) const
    {
        return record.flag ? QStringLiteral("T") : QStringLiteral("F");
    }
    // The change and its audit line, in one transaction.
    bool write(const QString &sql, const QVariantList &params, const AuditEntry &audit, Prompter &prompter);
    // "column=value" of each field, for the audit trail.
    std::vector<std::pair<QString, QString>> auditValues(const MasterRecord &record) const;

    Database &m_db;
    const RecordMasterKind &m_kind;
    QString m_actor;
};

} // namespace sw
