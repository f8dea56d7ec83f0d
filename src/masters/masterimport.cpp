// SPDX-License-Identifier: GPL-3.0-or-later
#include "masters/masterimport.h"
#include "shell/core/dates.h"
#include "shell/core/legacytext.h"

#include "masters/gridmasters/gridmasterkind.h"
#include "masters/gridmasters/gridmasterstore.h"
#include "masters/recordmasters/recordmasterkind.h"
#include "shell/core/appfolder.h"
#include "shell/core/csvreader.h"
#include "shell/db/bulkinsert.h"
#include "shell/db/database.h"
#include "shell/db/schema.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// One column a file may give, with the rules its screens apply to it.
struct CsvColumn
{
    QString column; // lower case
    QString label;  // as messages name it
    bool mandatory = false;
    bool kannada = false; // legacy bytes, kept exactly
    bool date = false;
    bool flag = false; // "T" or "F"
    // A flag given empty stays empty (the soft deletion mark, empty on live rows);
    // the others are stored "F" unless "T".
    bool emptyFlagKept = false;
};

struct CsvTable
{
    QString table;
    std::vector<CsvColumn> columns; // the code first
    QString codeMissing;            // the screens' own messages
    QString nameMissing;
    QString codeRepeated;
    QString activeColumn; // the convocation's active flag
};

CsvTable gridTable(const GridMasterKind &kind)
{
    CsvTable t{kind.table, {}, kind.codeMissing(), kind.nameMissing(), kind.codeDuplicate(), {}};
    t.columns.push_back({kind.codeColumn.toLower(), kind.noun + u" code"_s, true});
    t.columns.push_back({kind.nameColumn.toLower(), kind.noun + u" Name"_s, true});
    if (kind.convocation) {
        t.columns.push_back({u"fdate"_s, u"Convocation Date"_s, false, false, true});
        t.columns.push_back({u"factive"_s, u"Active?"_s, false, false, false, true});
        t.activeColumn = u"factive"_s;
    }
    return t;
}

// The Kannada columns of a table's record screen, which its grid does not show.
void addKannada(CsvTable &t, const RecordMasterKind &kind)
{
    for (const RecordMasterField &f : kind.fields) {
        if (f.kannada)
            t.columns.push_back({f.column.toLower(), f.label, false, true});
    }
}

std::optional<CsvTable> screenLayout(const QString &table);

// Columns every listing (masters list) writes, beyond the screens' ones, so that a
// listing loads back as it is: the soft deletion mark, and the college's town.
void addListedColumns(CsvTable &t)
{
    if (t.table.compare(u"college"_s, Qt::CaseInsensitive) == 0)
        t.columns.push_back({u"ftown"_s, u"Town"_s});
    t.columns.push_back({u"fdeleted"_s, u"Deleted?"_s, false, false, false, true, true});
}

std::optional<CsvTable> tableLayout(const QString &table)
{
    std::optional<CsvTable> t = screenLayout(table);
    if (t)
        addListedColumns(*t);
    return t;
}

// The separator of a file: a listing of masters list is tab-separated, a file made
// by hand or a spreadsheet comma-separated; the header line tells which.
char separatorOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ',';
    return file.readLine().contains('\t') ? '\t' : ',';
}

std::optional<CsvTable> screenLayout(const QString &table)
{
    const QString name = table.toLower();
    if (name == u"degree"_s) {
        const RecordMasterKind &kind = *RecordMasterKind::find(u"DEGREE"_s);
        CsvTable t{kind.table,
                   {},
                   u"Information should be entered"_s,
                   u"Information should be entered"_s,
                   kind.key().label + u" code already Entered"_s,
                   {}};
        for (const RecordMasterField &f : kind.fields)
            t.columns.push_back({f.column.toLower(), f.label, f.mandatory, f.kannada, f.date});
        t.columns.push_back(
            {kind.flagColumn.toLower(), QString(kind.flagLabel).remove(u'&'), false, false, false, true});
        return t;
    }
    const GridMasterKind *grid = GridMasterKind::find(name);
    if (!grid)
        return std::nullopt;
    CsvTable t = gridTable(*grid);
    if (name == u"class"_s)
        addKannada(t, *RecordMasterKind::find(u"MASCLASS"_s));
    if (name == u"masconvo"_s)
        addKannada(t, *RecordMasterKind::find(u"MASCONVOKAN"_s));
    return t;
}

// A file's header: the position of each column it names (lower case).
class CsvHeader
{
public:
    QString read(const CsvRecord &record, const CsvTable &table)
    {
        QStringList known;
        for (const CsvColumn &c : table.columns)
            known << c.column;
        for (int i = 0; i < record.fields.size(); ++i) {
            const QString name = record.fields[i].trimmed().toLower();
            if (!known.contains(name))
                return u"line %1: unknown column \"%2\" (known: %3)"_s.arg(record.line)
                    .arg(record.fields[i], known.join(u", "_s));
            if (m_positions.contains(name))
                return u"line %1: column \"%2\" is named twice"_s.arg(record.line).arg(name);
            m_positions.insert(name, i);
        }
        for (const CsvColumn &c : table.columns) {
            if (c.mandatory && !m_positions.contains(c.column))
                return u"line %1: column \"%2\" is missing"_s.arg(record.line).arg(c.column);
        }
        m_names = record.fields;
        for (QString &n : m_names)
            n = n.trimmed();
        return {};
    }
    int count() const { return int(m_names.size()); }
    const QStringList &names() const { return m_names; }
    bool has(const QString &column) const { return m_positions.contains(column); }
    QString value(const CsvRecord &record, const QString &column) const
    {
        const int at = m_positions.value(column, -1);
        return at < 0 ? QString() : record.fields.value(at);
    }

private:
    QHash<QString, int> m_positions;
    QStringList m_names;
};

// A row's values by column, ready to store; or the field and reason it is refused.
struct CheckedRow
{
    QHash<QString, QString> values;
    QString field;
    QString reason;
};

CheckedRow checkRow(const CsvTable &t, const CsvHeader &header, const CsvRecord &record)
{
    CheckedRow row;
    for (size_t i = 0; i < t.columns.size(); ++i) {
        const CsvColumn &c = t.columns[i];
        if (!header.has(c.column))
            continue;
        QString value = header.value(record, c.column);
        // Kannada bytes are kept exactly: 0x27 is a letter of the legacy font, not a quote.
        if (!c.kannada)
            value = legacytext::storedText(value);
        if (i == 0)
            value = value.toUpper();
        if (c.flag)
            value = value.trimmed().toUpper();
        row.values.insert(c.column, value);
        const auto refuse = [&](const QString &reason) {
            row.field = c.column;
            row.reason = reason;
        };
        if (c.mandatory && value.trimmed().isEmpty())
            refuse(i == 0 ? t.codeMissing : (i == 1 ? t.nameMissing : u"Information should be entered"_s));
        else if (const int width = schema::columnWidth(t.table, c.column); width > 0 && value.size() > width)
            refuse(u"%1 %2 is longer than %3 characters"_s.arg(c.label, i == 0 ? value : QString())
                       .simplified()
                       .arg(width));
        else if (const auto why = storableTextProblem(value, 0))
            refuse(c.label + u": the text "_s + *why);
        else if (c.date && !value.isEmpty() && !parseDmy(value).isValid())
            refuse(u"%1 \"%2\" is not a date (dd/mm/yyyy)"_s.arg(c.label, value));
        else if (c.flag && !value.isEmpty() && value != u"T"_s && value != u"F"_s)
            refuse(u"%1 takes T or F, not \"%2\""_s.arg(c.label, value));
        if (!row.reason.isEmpty())
            return row;
    }
    return row;
}

} // namespace

QStringList MasterImport::tables() { return {u"masuniv"_s, u"college"_s, u"class"_s, u"masconvo"_s, u"degree"_s}; }

QStringList MasterImport::columns(const QString &table)
{
    QStringList out;
    if (const auto t = tableLayout(table)) {
        for (const CsvColumn &c : t->columns)
            out << c.column;
    }
    return out;
}

MasterImport::MasterImport(Database &db, const AppFolder &folder)
    : m_db(db)
    , m_folder(folder)
{
}

MasterImport::Result MasterImport::run(const QString &table, const QString &path, legacytext::Encoding encoding)
{
    Result result;
    const QString fileName = QFileInfo(path).fileName();
    const std::optional<CsvTable> layout = tables().contains(table.toLower()) ? tableLayout(table) : std::nullopt;
    if (!layout) {
        result.error = u"\"%1\" is not a table that can be loaded; use one of: %2"_s.arg(table, tables().join(u", "_s));
        return result;
    }
    const CsvReader::Result read = CsvReader::readFile(path, separatorOf(path), encoding);
    if (!read.error.isEmpty()) {
        result.error = read.error;
        return result;
    }
    if (read.records.empty()) {
        result.error = fileName + u": the file is empty; its first line must name the columns"_s;
        return result;
    }
    CsvHeader header;
    if (const QString error = header.read(read.records.front(), *layout); !error.isEmpty()) {
        result.error = fileName + u' ' + error;
        return result;
    }

    ImportTally tally(path, m_folder, u"line"_s, header.names(), encoding);
    tally.counts().total = int(read.records.size()) - 1;
    const CsvColumn &code = layout->columns.front();
    const QString dbTable = m_db.table(layout->table);
    // The table's codes (and its active convocation) take part in the checks.
    QHash<QString, int> seen; // upper-case code -> line, 0 for the table's own rows
    QString activeCode;
    {
        const QString active = layout->activeColumn.isEmpty() ? u"''"_s : layout->activeColumn;
        Rows rows = m_db.query(u"select "_s + code.column + u", "_s + active + u" from "_s + dbTable);
        while (rows.next()) {
            seen.insert(rows.text(0).trimmed().toUpper(), 0);
            if (rows.text(1) == u"T"_s)
                activeCode = rows.text(0).trimmed().toUpper();
        }
    }
    struct Added
    {
        int line;
        QHash<QString, QString> values;
        QStringList fields;
    };
    std::vector<Added> added;
    for (size_t r = 1; r < read.records.size(); ++r) {
        const CsvRecord &record = read.records[r];
        if (record.fields.size() != header.count()) {
            tally.reject(record.line, {}, {},
                         u"%1 fields where the header names %2"_s.arg(record.fields.size()).arg(header.count()),
                         record.fields);
            continue;
        }
        const CheckedRow row = checkRow(*layout, header, record);
        if (!row.reason.isEmpty()) {
            tally.reject(record.line, row.field, row.values.value(row.field), row.reason, record.fields);
            continue;
        }
        const QString key = row.values.value(code.column);
        if (const auto known = seen.constFind(key); known != seen.cend()) {
            if (*known == 0)
                tally.skip(record.line, u"already in the table: left as it is"_s, record.fields, code.column, key);
            else
                tally.reject(record.line, code.column, key,
                             layout->codeRepeated + u" on line "_s + QString::number(*known), record.fields);
            continue;
        }
        if (!layout->activeColumn.isEmpty() && row.values.value(layout->activeColumn) == u"T"_s) {
            if (!activeCode.isEmpty()) {
                tally.reject(record.line, layout->activeColumn, u"T"_s,
                             u"Only one convocation can be active: %1 and %2 are both ticked"_s.arg(activeCode, key),
                             record.fields);
                continue;
            }
            activeCode = key;
        }
        seen.insert(key, record.line);
        added.push_back({record.line, row.values, record.fields});
    }

    QStringList columns, marks;
    for (const CsvColumn &c : layout->columns) {
        if (header.has(c.column) || (c.flag && !c.emptyFlagKept)) {
            columns << c.column;
            marks << u"?"_s;
        }
    }
    try {
        WriteScope scope(m_db);
        Statement insert = m_db.prepare(u"insert into "_s + dbTable + u" ("_s + columns.join(u", "_s) + u") values ("_s
                                        + marks.join(u", "_s) + u')');
        for (const Added &a : added) {
            QVariantList params;
            for (const QString &c : columns) {
                const QString v = a.values.value(c);
                const auto column = std::find_if(layout->columns.begin(), layout->columns.end(),
                                                 [&c](const CsvColumn &k) { return k.column == c; });
                const bool flag = column != layout->columns.end() && column->flag;
                const bool keptEmpty = flag && column->emptyFlagKept && v.isEmpty();
                params << (!flag || keptEmpty ? v : (v == u"T"_s ? u"T"_s : u"F"_s));
            }
            try {
                insert.exec(params);
                ++tally.counts().inserted;
            } catch (const DbError &e) {
                if (!isRefusedRow(e))
                    throw;
                tally.reject(a.line, {}, {}, u"the database refused the row: "_s + e.description(), a.fields);
            }
        }
        scope.commit();
    } catch (const DbError &error) {
        result.error = fileName + u": the database failed, nothing of the file was saved: "_s + error.description();
        return result;
    }
    result.done = true;
    result.counts = tally.finish();
    return result;
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
