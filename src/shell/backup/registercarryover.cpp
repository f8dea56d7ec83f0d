// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/backup/registercarryover.h"

#include "shell/db/database.h"
#include "shell/db/schema.h"

#include <QHash>
#include <QSet>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

const QStringList &keptTables()
{
    static const QStringList tables = {u"CERTSHEET"_s, u"STATIONERY"_s, u"AUDIT"_s, u"CERTSTATUS"_s};
    return tables;
}

QStringList columnsOf(const QString &table)
{
    QStringList out;
    for (const QString &definition : schema::splitDefinitions(schema::find(table)->columns))
        out << schema::columnName(definition);
    return out;
}

// A value as two databases of different ages compare it: trimmed text, a whole number as such.
QString comparable(const QVariant &value)
{
    if (value.isNull())
        return {};
    bool whole = false;
    const double number = value.toDouble(&whole);
    if (whole && value.typeId() != QMetaType::QString)
        return QString::number(qint64(number));
    return value.toString().trimmed();
}

QString rowKey(const QVariantList &row)
{
    QStringList parts;
    for (const QVariant &v : row)
        parts << comparable(v);
    return parts.join(QChar(0x1f));
}

// Later states win: a sheet at the printer is settled later, a settled one may be voided.
int stateRank(const QString &state)
{
    const QString s = state.trimmed().toUpper();
    if (s == u"VOID"_s)
        return 3;
    if (s == u"PRINTED"_s || s == u"SPOILED"_s)
        return 2;
    return s == u"PENDING"_s ? 1 : 0;
}

bool isAward(const QString &certType)
{
    const QString t = certType.trimmed().toUpper();
    return t == u"R"_s || t == u"G"_s || t == u"C"_s;
}

QString insertStatement(const Database &db, const QString &table, const QStringList &columns)
{
    return u"insert into %1 (%2) values (%3)"_s.arg(db.table(table), columns.join(u", "_s),
                                                    QStringList(columns.size(), u"?"_s).join(u", "_s));
}

} // namespace

RegisterCarryOver RegisterCarryOver::read(const Database &live)
{
    RegisterCarryOver out;
    for (const QString &name : keptTables()) {
        Table table{name, columnsOf(name), {}};
        try {
            Rows rows = live.query(u"select %1 from %2"_s.arg(table.columns.join(u", "_s), live.table(name)));
            while (rows.next()) {
                QVariantList row;
                for (int i = 0; i < table.columns.size(); ++i)
                    row << rows.value(i);
                table.rows.push_back(std::move(row));
            }
        } catch (const DbError &e) {
            // A database too old to have the table has nothing of it to keep; a damaged one
            // gives what it can, and the restore goes on.
            if (e.kind() != DbErrorKind::MissingTable && e.kind() != DbErrorKind::CommandText
                && e.kind() != DbErrorKind::NotADatabase)
                throw;
            table.rows.clear();
        }
        out.m_tables.push_back(std::move(table));
    }
    return out;
}

// A copy older than the status lists gets their table before the revocations are carried
// into it (outside the carry's transaction: a server commits around a table's creation).
void ensureStatusTable(Database &restored)
{
    try {
        restored.scalar(u"select count(*) from "_s + restored.table(u"CERTSTATUS"_s));
        return;
    } catch (const DbError &e) {
        if (e.kind() != DbErrorKind::MissingTable && e.kind() != DbErrorKind::CommandText)
            throw;
    }
    QStringList definitions = schema::splitDefinitions(schema::find(u"CERTSTATUS"_s)->columns);
    if (const auto rowKey = restored.dialect().rowKeyDefinition())
        definitions.append(*rowKey);
    restored.exec(restored.dialect().createTable(u"CERTSTATUS"_s, definitions));
}

RegisterCarryOver::Result RegisterCarryOver::apply(Database &restored) const
{
    Result result;
    for (const Table &table : m_tables) {
        if (table.name == u"CERTSTATUS"_s && !table.rows.empty())
            ensureStatusTable(restored);
    }
    WriteScope scope(restored);
    for (const Table &table : m_tables) {
        if (table.rows.empty())
            continue;
        if (table.name == u"CERTSHEET"_s)
            result.sheets = carrySheets(restored, table, result.unprintedInCopy);
        else if (table.name == u"STATIONERY"_s)
            result.journalLines = carryLines(restored, table);
        else if (table.name == u"CERTSTATUS"_s)
            result.statuses = carryStatuses(restored, table);
        else
            result.auditLines = carryLines(restored, table);
    }
    scope.commit();
    return result;
}

int RegisterCarryOver::carrySheets(Database &restored, const Table &table, QStringList &unprinted) const
{
    const auto at = [&](const QVariantList &row, const QString &column) {
        return row.at(table.columns.indexOf(column));
    };
    QHash<QString, QString> copyStates; // "prefix|number" -> state
    {
        Rows rows = restored.query(u"select fprefix, fnumber, fstate from "_s + restored.table(table.name));
        while (rows.next())
            copyStates.insert(comparable(rows.value(0)) + u'|' + comparable(rows.value(1)), rows.text(2));
    }
    Statement insert = restored.prepare(insertStatement(restored, table.name, table.columns));
    QStringList assignments;
    for (const QString &c : table.columns)
        assignments << c + u" = ?"_s;
    Statement update = restored.prepare(u"update %1 set %2 where fprefix = ? and fnumber = ?"_s.arg(
        restored.table(table.name), assignments.join(u", "_s)));
    int carried = 0;
    for (const QVariantList &row : table.rows) {
        const QString key = comparable(at(row, u"FPREFIX"_s)) + u'|' + comparable(at(row, u"FNUMBER"_s));
        const QString state = at(row, u"FSTATE"_s).toString();
        const auto found = copyStates.constFind(key);
        if (found == copyStates.cend()) {
            insert.exec(row);
        } else if (stateRank(state) > stateRank(found.value())) {
            update.exec(QVariantList(row) << at(row, u"FPREFIX"_s) << at(row, u"FNUMBER"_s));
        } else {
            continue;
        }
        ++carried;
        const QString certNo = at(row, u"FCERTNO"_s).toString().trimmed();
        if (state.trimmed().toUpper() != u"PRINTED"_s || isAward(at(row, u"FCERTTYPE"_s).toString()))
            continue;
        Rows holder = restored.query(
            u"select fcertno from convo where fregno = ? and fdegree = ? and fcollcode = ? "
            "and fconvocode = ?"_s,
            {at(row, u"FREGNO"_s), at(row, u"FDEGREE"_s), at(row, u"FCOLLCODE"_s), at(row, u"FCONVOCODE"_s)});
        if (holder.next() && holder.text(0).trimmed() != certNo)
            unprinted << u"Reg. No. %1 (%2): certificate %3 was printed after the backup was taken"_s.arg(
                at(row, u"FREGNO"_s).toString().trimmed(), at(row, u"FDEGREE"_s).toString().trimmed(), certNo);
    }
    return carried;
}

// The register's word on a certificate is always the later one: a revocation, a hold or
// its lifting made after the backup stands, and a number keeps its place on the lists.
int RegisterCarryOver::carryStatuses(Database &restored, const Table &table)
{
    const qsizetype certNo = table.columns.indexOf(u"FCERTNO"_s);
    QStringList assignments;
    for (const QString &c : table.columns)
        assignments << c + u" = ?"_s;
    Statement update = restored.prepare(
        u"update %1 set %2 where fcertno = ?"_s.arg(restored.table(table.name), assignments.join(u", "_s)));
    Statement insert = restored.prepare(insertStatement(restored, table.name, table.columns));
    QHash<QString, QString> copy; // certificate number -> the copy's row
    {
        Rows rows = restored.query(u"select %1 from %2"_s.arg(table.columns.join(u", "_s), restored.table(table.name)));
        while (rows.next()) {
            QVariantList row;
            for (int i = 0; i < table.columns.size(); ++i)
                row << rows.value(i);
            copy.insert(comparable(row.at(certNo)), rowKey(row));
        }
    }
    int carried = 0;
    for (const QVariantList &row : table.rows) {
        const auto found = copy.constFind(comparable(row.at(certNo)));
        if (found == copy.cend())
            insert.exec(row);
        else if (found.value() != rowKey(row))
            update.exec(QVariantList(row) << row.at(certNo));
        else
            continue;
        ++carried;
    }
    return carried;
}

int RegisterCarryOver::carryLines(Database &restored, const Table &table)
{
    QSet<QString> present;
    {
        Rows rows = restored.query(u"select %1 from %2"_s.arg(table.columns.join(u", "_s), restored.table(table.name)));
        while (rows.next()) {
            QVariantList row;
            for (int i = 0; i < table.columns.size(); ++i)
                row << rows.value(i);
            present.insert(rowKey(row));
        }
    }
    Statement insert = restored.prepare(insertStatement(restored, table.name, table.columns));
    int carried = 0;
    for (const QVariantList &row : table.rows) {
        if (present.contains(rowKey(row)))
            continue;
        insert.exec(row);
        ++carried;
    }
    return carried;
}

} // namespace sw
