// SPDX-License-Identifier: GPL-3.0-or-later
#include "masters/masterimport.h"

#include "masters/gridmasters/gridmasterstore.h"
#include "masters/recordmasters/recordmasterstore.h"
#include "shell/core/csvreader.h"
#include "shell/db/database.h"
#include "shell/db/schema.h"

#include <QFileInfo>
#include <QHash>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// A file's header: the position of each column it names (lower case).
class CsvHeader
{
public:
    QString read(const CsvRecord &record, const QStringList &known, const QStringList &required)
    {
        for (int i = 0; i < record.fields.size(); ++i) {
            const QString name = record.fields[i].trimmed().toLower();
            if (!known.contains(name))
                return u"line %1: unknown column \"%2\" (known: %3)"_s.arg(record.line).arg(record.fields[i],
                                                                                         known.join(u", "_s));
            if (m_positions.contains(name))
                return u"line %1: column \"%2\" is named twice"_s.arg(record.line).arg(name);
            m_positions.insert(name, i);
        }
        for (const QString &name : required) {
            if (!m_positions.contains(name))
                return u"line %1: column \"%2\" is missing"_s.arg(record.line).arg(name);
        }
        m_count = int(record.fields.size());
        return {};
    }
    int count() const { return m_count; }
    QString value(const CsvRecord &record, const QString &column) const
    {
        const int at = m_positions.value(column, -1);
        return at < 0 ? QString() : record.fields[at];
    }

private:
    QHash<QString, int> m_positions;
    int m_count = 0;
};

QString located(const QString &path, int line, const QString &field, const QString &message)
{
    return u"%1 line %2, field %3: %4"_s.arg(QFileInfo(path).fileName()).arg(line).arg(field, message);
}

QStringList lowered(const QStringList &names)
{
    QStringList out;
    for (const QString &n : names)
        out << n.toLower();
    return out;
}

MasterImport::Result importGrid(Database &db, const GridMasterKind &kind, const QString &path,
                                const std::vector<CsvRecord> &records)
{
    MasterImport::Result result;
    QStringList known = lowered({kind.codeColumn, kind.nameColumn});
    if (kind.convocation)
        known << u"fdate"_s << u"factive"_s;
    CsvHeader header;
    if (QString error = header.read(records.front(), known, lowered({kind.codeColumn, kind.nameColumn}));
        !error.isEmpty()) {
        result.error = QFileInfo(path).fileName() + u' ' + error;
        return result;
    }
    GridMasterStore store(db, kind);
    // The table's own rows take part in the duplicate check but are left as they are.
    std::vector<GridRow> rows = store.load();
    const size_t firstNew = rows.size();
    std::vector<int> lines;
    for (size_t r = 1; r < records.size(); ++r) {
        const CsvRecord &record = records[r];
        if (record.fields.size() != header.count()) {
            result.error = u"%1 line %2: %3 fields where the header names %4"_s.arg(QFileInfo(path).fileName())
                               .arg(record.line)
                               .arg(record.fields.size())
                               .arg(header.count());
            return result;
        }
        GridRow row;
        row.code = GridMasterStore::cleanText(header.value(record, kind.codeColumn.toLower()).trimmed());
        row.name = GridMasterStore::cleanText(header.value(record, kind.nameColumn.toLower()).trimmed());
        row.date = header.value(record, u"fdate"_s).trimmed();
        row.active = header.value(record, u"factive"_s).trimmed().toUpper() == u"T"_s;
        row.mode = GridRowMode::Added;
        rows.push_back(row);
        lines.push_back(record.line);
    }
    for (size_t i = firstNew; i < rows.size(); ++i) {
        const auto problem = store.checkRow(rows, int(i));
        if (!problem)
            continue;
        int line = lines[i - firstNew];
        QString message = problem->message;
        if (problem->row != int(i)) {
            // A duplicate is reported on the later line, naming where the code was met first.
            if (size_t(problem->row) < firstNew) {
                message = kind.codeExistsOnLeave();
            } else {
                const int other = lines[size_t(problem->row) - firstNew];
                message += u" on line %1"_s.arg(std::min(line, other));
                line = std::max(line, other);
            }
        }
        const QString field = problem->cell == GridProblem::Cell::Name   ? kind.nameColumn.toLower()
                              : problem->cell == GridProblem::Cell::Date ? u"fdate"_s
                                                                         : kind.codeColumn.toLower();
        result.error = located(path, line, field, message);
        return result;
    }
    std::vector<GridRow> added(rows.begin() + qsizetype(firstNew), rows.end());
    if (added.empty()) {
        result.error = QFileInfo(path).fileName() + u": no rows below the header"_s;
        return result;
    }
    try {
        store.write(added);
    } catch (const DbError &error) {
        result.error = QFileInfo(path).fileName() + u": the database refused the rows, nothing was saved: "_s
            + error.description();
        return result;
    }
    result.done = true;
    result.rows = int(added.size());
    return result;
}

MasterImport::Result importRecords(Database &db, const RecordMasterKind &kind, const QString &path,
                                   const std::vector<CsvRecord> &records)
{
    MasterImport::Result result;
    QStringList known;
    QStringList required;
    for (const RecordMasterField &f : kind.fields) {
        known << f.column.toLower();
        if (f.mandatory)
            required << f.column.toLower();
    }
    if (!kind.flagColumn.isEmpty())
        known << kind.flagColumn.toLower();
    CsvHeader header;
    if (QString error = header.read(records.front(), known, required); !error.isEmpty()) {
        result.error = QFileInfo(path).fileName() + u' ' + error;
        return result;
    }
    RecordMasterStore store(db, kind);
    QHash<QString, int> seen;
    for (const QString &code : store.codes())
        seen.insert(code, 0);
    std::vector<MasterRecord> cleanRecords;
    for (size_t r = 1; r < records.size(); ++r) {
        const CsvRecord &record = records[r];
        if (record.fields.size() != header.count()) {
            result.error = u"%1 line %2: %3 fields where the header names %4"_s.arg(QFileInfo(path).fileName())
                               .arg(record.line)
                               .arg(record.fields.size())
                               .arg(header.count());
            return result;
        }
        MasterRecord m;
        for (const RecordMasterField &f : kind.fields)
            m.values << header.value(record, f.column.toLower());
        m.flag = header.value(record, kind.flagColumn.toLower()).trimmed().toUpper() == u"T"_s;
        m = store.cleaned(m);
        if (const auto problem = store.check(m)) {
            result.error = located(path, record.line, kind.fields[size_t(problem->field)].column.toLower(),
                                   problem->message);
            return result;
        }
        const QString code = m.values.front();
        if (seen.contains(code)) {
            const int earlier = seen.value(code);
            result.error = located(path, record.line, kind.key().column.toLower(),
                                   earlier == 0 ? u"%1 %2 already exists"_s.arg(kind.key().label, code)
                                                : u"%1 %2 is also on line %3"_s.arg(kind.key().label, code).arg(earlier));
            return result;
        }
        seen.insert(code, record.line);
        cleanRecords.push_back(m);
    }
    QStringList columns;
    QStringList marks;
    for (const RecordMasterField &f : kind.fields) {
        columns << f.column;
        marks << u"?"_s;
    }
    if (!kind.flagColumn.isEmpty()) {
        columns << kind.flagColumn;
        marks << u"?"_s;
    }
    try {
        WriteScope scope(db);
        Statement insert = db.prepare(u"insert into "_s + db.table(kind.table) + u" ("_s + columns.join(u", "_s)
                                      + u") values ("_s + marks.join(u", "_s) + u')');
        for (const MasterRecord &m : cleanRecords) {
            QVariantList params;
            for (const QString &v : m.values)
                params << v;
            if (!kind.flagColumn.isEmpty())
                params << (m.flag ? u"T"_s : u"F"_s);
            insert.exec(params);
        }
        scope.commit();
    } catch (const DbError &error) {
        result.error = QFileInfo(path).fileName() + u": the database refused the rows, nothing was saved: "_s
            + error.description();
        return result;
    }
    result.done = true;
    result.rows = int(cleanRecords.size());
    return result;
}

} // namespace

QStringList MasterImport::tables()
{
    return {u"masuniv"_s, u"college"_s, u"class"_s, u"masconvo"_s, u"degree"_s};
}

MasterImport::MasterImport(Database &db)
    : m_db(db)
{
}

MasterImport::Result MasterImport::run(const QString &table, const QString &path)
{
    Result result;
    const QString name = table.toLower();
    if (!tables().contains(name)) {
        result.error = u"\"%1\" is not a table that can be loaded; use one of: %2"_s.arg(table, tables().join(u", "_s));
        return result;
    }
    const CsvReader::Result read = CsvReader::readFile(path);
    if (!read.error.isEmpty()) {
        result.error = read.error;
        return result;
    }
    if (read.records.empty()) {
        result.error = QFileInfo(path).fileName() + u": the file is empty; its first line must name the columns"_s;
        return result;
    }
    if (name == u"degree"_s)
        return importRecords(m_db, *RecordMasterKind::find(u"DEGREE"_s), path, read.records);
    return importGrid(m_db, *GridMasterKind::find(name), path, read.records);
}

QStringList listableMasters()
{
    return {u"masuniv"_s, u"college"_s, u"class"_s, u"masconvo"_s, u"degree"_s, u"kanlib"_s, u"masuser"_s};
}

MasterListing listMaster(Database &db, const QString &table)
{
    MasterListing listing;
    if (!listableMasters().contains(table.toLower()))
        return listing;
    const schema::TableDefinition *def = schema::find(table);
    for (const QString &d : schema::splitDefinitions(def->columns)) {
        const QString column = schema::columnName(d);
        // Passwords are never listed, not even encoded.
        if (column != u"FPASSWD"_s)
            listing.header << column.toLower();
    }
    Rows rows = db.query(u"select "_s + listing.header.join(u", "_s) + u" from "_s + db.table(def->name)
                         + u" order by "_s + listing.header.front());
    while (rows.next()) {
        QStringList row;
        for (int i = 0; i < listing.header.size(); ++i)
            row << rows.text(i);
        listing.rows << row;
    }
    return listing;
}

} // namespace sw
