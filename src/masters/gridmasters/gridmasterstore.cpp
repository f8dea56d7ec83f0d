// SPDX-License-Identifier: GPL-3.0-or-later
#include "masters/gridmasters/gridmasterstore.h"
#include "shell/core/dates.h"
#include "shell/core/legacytext.h"

#include "shell/audit/audittrail.h"
#include "shell/core/importtally.h"
#include "shell/core/prompter.h"
#include "shell/db/database.h"

#include <QHash>

using namespace Qt::StringLiterals;

namespace sw {

bool GridChangeSet::contains(const QString &code) const
{
    const QString key = GridMasterStore::cleanCode(code);
    return std::any_of(m_rows.begin(), m_rows.end(),
                       [&key](const GridRow &r) { return r.code.compare(key, Qt::CaseInsensitive) == 0; });
}

void GridChangeSet::record(const GridRow &gridRow, bool deleteTicked)
{
    GridRow row = gridRow;
    row.code = GridMasterStore::cleanCode(row.code);
    row.name = legacytext::storedText(row.name);
    row.date = row.date.trimmed();
    for (GridRow &known : m_rows) {
        // The servers compare codes without regard to case, and so does the grid.
        if (known.code.compare(row.code, Qt::CaseInsensitive) != 0)
            continue;
        const GridRowMode before = known.mode;
        known.name = row.name;
        known.date = row.date;
        known.active = row.active;
        if (deleteTicked)
            known.mode = GridRowMode::Deleted;
        else if (before == GridRowMode::Added)
            known.mode = GridRowMode::Added;
        else
            known.mode = GridRowMode::Updated;
        return;
    }
    row.mode = GridRowMode::Added;
    m_rows.push_back(row);
}

GridMasterStore::GridMasterStore(Database &db, const GridMasterKind &kind)
    : m_db(db)
    , m_kind(kind)
{
}

QString GridMasterStore::cleanCode(const QString &code) { return legacytext::storedText(code).toUpper(); }

BoundSql GridMasterStore::browseStatement() const
{
    return {u"select * from "_s + m_db.table(m_kind.table) + u" order by "_s + m_kind.codeColumn, {}};
}

std::vector<GridRow> GridMasterStore::load() const
{
    const QString extra = m_kind.convocation ? u", fdate, factive"_s : QString();
    Rows rows = m_db.query(u"select "_s + m_kind.codeColumn + u", "_s + m_kind.nameColumn + extra + u" from "_s
                           + m_db.table(m_kind.table) + u" order by "_s + m_kind.codeColumn);
    std::vector<GridRow> out;
    while (rows.next()) {
        GridRow row;
        row.code = rows.text(0);
        row.name = rows.text(1);
        if (m_kind.convocation) {
            row.date = rows.text(2);
            row.active = rows.text(3) == u"T"_s;
        }
        out.push_back(row);
    }
    return out;
}

std::optional<GridProblem> GridMasterStore::checkCells(const GridRow &row, int index) const
{
    const QString code = cleanCode(row.code);
    if (row.name.trimmed().isEmpty())
        return GridProblem{index, GridProblem::Cell::Name, m_kind.nameMissing()};
    for (const auto &[text, cell] :
         {std::pair{code, GridProblem::Cell::Code}, std::pair{row.name, GridProblem::Cell::Name},
          std::pair{row.date, GridProblem::Cell::Date}}) {
        if (const auto why = storableTextProblem(text, 0))
            return GridProblem{index, cell, u"%1 %2: the text %3"_s.arg(m_kind.noun, code, *why)};
    }
    // The screens cap each cell at its column width; files and other callers are
    // held to the same widths here so that no server truncates a value silently.
    if (code.size() > m_kind.codeWidth)
        return GridProblem{index, GridProblem::Cell::Code,
                           u"%1 code %2 is longer than %3 characters"_s.arg(m_kind.noun, code).arg(m_kind.codeWidth)};
    if (row.name.trimmed().size() > m_kind.nameWidth)
        return GridProblem{
            index, GridProblem::Cell::Name,
            u"%1 Name of %2 is longer than %3 characters"_s.arg(m_kind.noun, code).arg(m_kind.nameWidth)};
    if (m_kind.convocation && row.date.trimmed().size() > GridMasterKind::kDateWidth)
        return GridProblem{
            index, GridProblem::Cell::Date,
            u"Convocation Date of %1 is longer than %2 characters"_s.arg(code).arg(GridMasterKind::kDateWidth)};
    // The date is kept as text but printed as a date: one that does not exist is refused.
    if (m_kind.convocation && !row.date.trimmed().isEmpty() && !parseDmy(row.date).isValid())
        return GridProblem{
            index, GridProblem::Cell::Date,
            u"Convocation Date of %1, \"%2\", is not a date (dd/mm/yyyy)"_s.arg(code, row.date.trimmed())};
    return std::nullopt;
}

std::optional<GridProblem> GridMasterStore::checkActive(const std::vector<GridRow> &rows, int index) const
{
    // The login and every convocation's work take the active convocation: there is one.
    if (!m_kind.convocation || !rows[size_t(index)].active || rows[size_t(index)].mode == GridRowMode::Deleted)
        return std::nullopt;
    for (int other = 0; other < int(rows.size()); ++other) {
        const GridRow &r = rows[size_t(other)];
        if (other != index && r.active && r.mode != GridRowMode::Deleted && !cleanCode(r.code).isEmpty())
            return GridProblem{index, GridProblem::Cell::Code,
                               u"Only one convocation can be active: %1 and %2 are both ticked"_s.arg(
                                   cleanCode(r.code), cleanCode(rows[size_t(index)].code))};
    }
    return std::nullopt;
}

std::optional<GridProblem> GridMasterStore::checkRow(const std::vector<GridRow> &rows, int index) const
{
    const GridRow &row = rows[size_t(index)];
    if (row.mode == GridRowMode::Deleted)
        return std::nullopt;
    const QString code = cleanCode(row.code);
    if (code.isEmpty())
        return GridProblem{index, GridProblem::Cell::Code, m_kind.codeMissing()};
    for (int other = 0; other < int(rows.size()); ++other) {
        if (other != index && cleanCode(rows[size_t(other)].code) == code)
            return GridProblem{other, GridProblem::Cell::Code, m_kind.codeDuplicate()};
    }
    if (auto problem = checkCells(row, index))
        return problem;
    return checkActive(rows, index);
}

std::optional<GridProblem> GridMasterStore::check(const std::vector<GridRow> &rows) const
{
    // One pass with the codes in a hash: a grid of thousands of rows is checked on
    // every save, so the row-by-row scan of checkRow would be quadratic here.
    QHash<QString, int> firstRow;
    firstRow.reserve(qsizetype(rows.size()));
    int firstActive = -1;
    for (int i = 0; i < int(rows.size()); ++i) {
        const QString code = cleanCode(rows[size_t(i)].code);
        if (!firstRow.contains(code))
            firstRow.insert(code, i);
    }
    for (int i = 0; i < int(rows.size()); ++i) {
        const GridRow &row = rows[size_t(i)];
        if (row.mode == GridRowMode::Deleted)
            continue;
        const QString code = cleanCode(row.code);
        if (code.isEmpty())
            return GridProblem{i, GridProblem::Cell::Code, m_kind.codeMissing()};
        const int first = firstRow.value(code);
        if (first != i)
            return GridProblem{first, GridProblem::Cell::Code, m_kind.codeDuplicate()};
        if (auto problem = checkCells(row, i))
            return problem;
        if (m_kind.convocation && row.active) {
            if (firstActive >= 0)
                return GridProblem{i, GridProblem::Cell::Code,
                                   u"Only one convocation can be active: %1 and %2 are both ticked"_s.arg(
                                       cleanCode(rows[size_t(firstActive)].code), code)};
            firstActive = i;
        }
    }
    return std::nullopt;
}

int GridMasterStore::candidatesUsing(const QString &code) const
{
    return m_db.scalar(u"select count(*) from convo where "_s + m_kind.candidateColumn + u" = ?"_s, {cleanCode(code)})
        .toInt();
}

std::optional<QString> GridMasterStore::deletionRefused(const std::vector<GridRow> &rows) const
{
    for (const GridRow &row : rows) {
        if (row.mode != GridRowMode::Deleted)
            continue;
        if (const int using_ = candidatesUsing(row.code); using_ > 0)
            return m_kind.stillUsed(cleanCode(row.code), using_);
    }
    return std::nullopt;
}

void GridMasterStore::apply(const GridRow &row)
{
    const QString table = m_db.table(m_kind.table);
    const QString code = cleanCode(row.code);
    const QString name = legacytext::storedText(row.name);
    if (row.mode == GridRowMode::Loaded)
        return;
    // The audit line, with the row as it was and as it is now.
    std::vector<std::pair<QString, QString>> before;
    std::vector<std::pair<QString, QString>> after;
    const QString nameColumn = m_kind.convocation ? u"fconvoname"_s : m_kind.nameColumn.toLower();
    if (row.mode != GridRowMode::Added) {
        const QString extra = m_kind.convocation ? u", fdate, factive"_s : QString();
        Rows old = m_db.query(u"select "_s + nameColumn + extra + u" from "_s + table + u" where "_s + m_kind.codeColumn
                                  + u" = ?"_s,
                              {code});
        if (old.next()) {
            before.emplace_back(nameColumn, old.text(0));
            if (m_kind.convocation) {
                before.emplace_back(u"fdate"_s, old.text(1));
                before.emplace_back(u"factive"_s, old.text(2));
            }
        }
    }
    if (row.mode != GridRowMode::Deleted) {
        after.emplace_back(nameColumn, name);
        if (m_kind.convocation) {
            after.emplace_back(u"fdate"_s, row.date.trimmed());
            after.emplace_back(u"factive"_s, row.active ? u"T"_s : u"F"_s);
        }
    }
    const auto [was, now] = row.mode == GridRowMode::Deleted
                                ? std::pair{AuditTrail::difference({}, before).second, QString()}
                                : AuditTrail::difference(before, after);
    const QString action = row.mode == GridRowMode::Added     ? u"add"_s
                           : row.mode == GridRowMode::Deleted ? u"delete"_s
                                                              : u"edit"_s;
    AuditTrail(m_db).record(m_actor, {u"masters"_s, action, m_kind.table.toLower(), code, was, now});
    switch (row.mode) {
    case GridRowMode::Loaded: return;
    case GridRowMode::Deleted:
        m_db.exec(u"delete from "_s + table + u" where "_s + m_kind.codeColumn + u" = ?"_s, {code});
        return;
    case GridRowMode::Updated:
        if (m_kind.convocation)
            m_db.exec(u"update "_s + table + u" set fconvoname = ?, fdate = ?, factive = ? where fconvocode = ?"_s,
                      {name, row.date.trimmed(), row.active ? u"T"_s : u"F"_s, code});
        else
            m_db.exec(u"update "_s + table + u" set "_s + m_kind.nameColumn + u" = ? where "_s + m_kind.codeColumn
                          + u" = ?"_s,
                      {name, code});
        return;
    case GridRowMode::Added:
        if (m_kind.convocation)
            m_db.exec(u"insert into "_s + table + u" (fconvocode, fconvoname, fdate, factive) values (?, ?, ?, ?)"_s,
                      {code, name, row.date.trimmed(), row.active ? u"T"_s : u"F"_s});
        else
            m_db.exec(u"insert into "_s + table + u" ("_s + m_kind.codeColumn + u", "_s + m_kind.nameColumn
                          + u") values (?, ?)"_s,
                      {code, name});
        return;
    }
}

void GridMasterStore::write(const std::vector<GridRow> &rows)
{
    WriteScope scope(m_db);
    for (const GridRow &row : rows)
        apply(row);
    scope.commit();
}

bool GridMasterStore::save(const std::vector<GridRow> &rows, Prompter &prompter)
{
    if (rows.empty()) {
        prompter.message(u"No Details found."_s, u"Message"_s, PromptIcon::Exclamation);
        return false;
    }
    // Candidates that still refer to a code would lose their degree's college or university.
    if (const auto refused = deletionRefused(rows)) {
        prompter.message(*refused, u"Delete"_s, PromptIcon::Exclamation);
        return false;
    }
    try {
        write(rows);
        return true;
    } catch (const DbError &error) {
        // The scope has rolled every row back; the screen keeps its mode so the
        // user can correct the row and save again.
        prompter.message(error.description(), u"Message"_s, PromptIcon::Exclamation);
        return false;
    }
}

} // namespace sw
