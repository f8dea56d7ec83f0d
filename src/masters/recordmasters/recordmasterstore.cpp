// SPDX-License-Identifier: GPL-3.0-or-later
#include "masters/recordmasters/recordmasterstore.h"
#include "shell/core/dates.h"
#include "shell/core/legacytext.h"

#include "shell/core/importtally.h"
#include "shell/core/prompter.h"
#include "shell/db/database.h"

using namespace Qt::StringLiterals;

namespace sw {

RecordMasterStore::RecordMasterStore(Database &db, const RecordMasterKind &kind)
    : m_db(db)
    , m_kind(kind)
{
}

BoundSql RecordMasterStore::browseStatement() const
{
    return {u"select * from "_s + m_db.table(m_kind.table) + u" order by "_s + m_kind.key().column, {}};
}

QStringList RecordMasterStore::codes() const
{
    Rows rows = m_db.query(u"select "_s + m_kind.key().column + u" from "_s + m_db.table(m_kind.table) + u" order by "_s
                           + m_kind.key().column);
    QStringList out;
    while (rows.next())
        out << rows.text(0);
    return out;
}

std::optional<MasterRecord> RecordMasterStore::find(const QString &code) const
{
    QStringList columns;
    for (const RecordMasterField &f : m_kind.fields)
        columns << f.column;
    if (!m_kind.flagColumn.isEmpty())
        columns << m_kind.flagColumn;
    Rows rows = m_db.query(u"select "_s + columns.join(u", "_s) + u" from "_s + m_db.table(m_kind.table) + u" where "_s
                               + m_kind.key().column + u" = ?"_s,
                           {code.trimmed()});
    if (!rows.next())
        return std::nullopt;
    MasterRecord record;
    for (int i = 0; i < int(m_kind.fields.size()); ++i)
        record.values << rows.text(i);
    if (!m_kind.flagColumn.isEmpty())
        record.flag = rows.text(int(m_kind.fields.size())) == u"T"_s;
    return record;
}

MasterRecord RecordMasterStore::cleaned(const MasterRecord &record) const
{
    MasterRecord out = record;
    for (int i = 0; i < int(m_kind.fields.size()); ++i) {
        QString value = i < out.values.size() ? out.values[i] : QString();
        // Kannada bytes are kept exactly: 0x27 is a letter of the legacy font, not a quote.
        if (!m_kind.fields[size_t(i)].kannada)
            value = legacytext::storedText(value);
        // Codes are upper case, as typing makes them, and compared without regard to case.
        if (i == 0)
            value = value.toUpper();
        if (i < out.values.size())
            out.values[i] = value;
        else
            out.values << value;
    }
    return out;
}

std::optional<RecordProblem> RecordMasterStore::check(const MasterRecord &record) const
{
    const MasterRecord clean = cleaned(record);
    for (int i = 0; i < int(m_kind.fields.size()); ++i) {
        const RecordMasterField &f = m_kind.fields[size_t(i)];
        const QString &value = clean.values[i];
        if (f.mandatory && value.trimmed().isEmpty())
            return RecordProblem{i, u"Information should be entered"_s};
        if (value.size() > f.width)
            return RecordProblem{i, u"%1 is longer than %2 characters"_s.arg(f.label).arg(f.width)};
        if (const auto why = storableTextProblem(value, 0))
            return RecordProblem{i, f.label + u": the text "_s + *why};
        if (f.date && !value.trimmed().isEmpty() && !parseDmy(value).isValid())
            return RecordProblem{i, u"%1 \"%2\" is not a date (dd/mm/yyyy)"_s.arg(f.label, value.trimmed())};
    }
    return std::nullopt;
}

std::vector<std::pair<QString, QString>> RecordMasterStore::auditValues(const MasterRecord &record) const
{
    std::vector<std::pair<QString, QString>> out;
    for (int i = 0; i < int(m_kind.fields.size()) && i < record.values.size(); ++i)
        out.emplace_back(m_kind.fields[size_t(i)].column.toLower(), record.values.at(i));
    return out;
}

bool RecordMasterStore::write(const QString &sql, const QVariantList &params, const AuditEntry &audit,
                              Prompter &prompter)
{
    try {
        WriteScope scope(m_db);
        m_db.exec(sql, params);
        AuditTrail(m_db).record(m_actor, audit);
        scope.commit();
        return true;
    } catch (const DbError &error) {
        prompter.message(error.description(), u"Message"_s, PromptIcon::Exclamation);
        return false;
    }
}

bool RecordMasterStore::insert(const MasterRecord &record, Prompter &prompter)
{
    const MasterRecord clean = cleaned(record);
    // Nothing in the table keeps a key unique, so the store does.
    if (find(clean.values.front())) {
        prompter.message(u"%1 %2 already exists"_s.arg(m_kind.key().label, clean.values.front()), u"Message"_s,
                         PromptIcon::Exclamation);
        return false;
    }
    QStringList columns;
    QStringList marks;
    QVariantList params;
    for (int i = 0; i < int(m_kind.fields.size()); ++i) {
        columns << m_kind.fields[size_t(i)].column;
        marks << u"?"_s;
        params << clean.values[i];
    }
    if (!m_kind.flagColumn.isEmpty()) {
        columns << m_kind.flagColumn;
        marks << u"?"_s;
        params << flagText(clean);
    }
    const QString now = AuditTrail::difference({}, auditValues(clean)).second;
    return write(u"insert into "_s + m_db.table(m_kind.table) + u" ("_s + columns.join(u", "_s) + u") values ("_s
                     + marks.join(u", "_s) + u')',
                 params, {u"masters"_s, u"add"_s, m_kind.table.toLower(), clean.values.front(), {}, now}, prompter);
}

bool RecordMasterStore::update(const MasterRecord &record, Prompter &prompter)
{
    const MasterRecord clean = cleaned(record);
    QStringList sets;
    QVariantList params;
    for (int i = 1; i < int(m_kind.fields.size()); ++i) {
        sets << m_kind.fields[size_t(i)].column + u" = ?"_s;
        params << clean.values[i];
    }
    if (!m_kind.flagColumn.isEmpty()) {
        sets << m_kind.flagColumn + u" = ?"_s;
        params << flagText(clean);
    }
    params << clean.values.front();
    const auto before = find(clean.values.front());
    const auto [was, now] =
        AuditTrail::difference(before ? auditValues(*before) : auditValues(MasterRecord{}), auditValues(clean));
    return write(u"update "_s + m_db.table(m_kind.table) + u" set "_s + sets.join(u", "_s) + u" where "_s
                     + m_kind.key().column + u" = ?"_s,
                 params, {u"masters"_s, u"edit"_s, m_kind.table.toLower(), clean.values.front(), was, now}, prompter);
}

int RecordMasterStore::candidatesUsing(const QString &code) const
{
    return m_db
        .scalar(u"select count(*) from "_s + m_db.table(u"CONVO"_s) + u" where "_s + m_kind.candidateColumn + u" = ?"_s,
                {code.trimmed()})
        .toInt();
}

bool RecordMasterStore::remove(const QString &code, Prompter &prompter)
{
    const int using_ = candidatesUsing(code);
    if (using_ > 0) {
        prompter.message(u"%1 candidate record(s) use %2 %3: it is not deleted."_s.arg(using_).arg(m_kind.key().label,
                                                                                                   code.trimmed()),
                         u"Delete"_s, PromptIcon::Exclamation);
        return false;
    }
    const auto before = find(code.trimmed());
    const QString was = before ? AuditTrail::difference({}, auditValues(*before)).second : QString();
    return write(u"delete from "_s + m_db.table(m_kind.table) + u" where "_s + m_kind.key().column + u" = ?"_s,
                 {code.trimmed()}, {u"masters"_s, u"delete"_s, m_kind.table.toLower(), code.trimmed(), was, {}},
                 prompter);
}

} // namespace sw
