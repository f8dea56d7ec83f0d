// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/imports/candidatewriter.h"

#include "shell/db/schema.h"

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace sw {

void ResultCandidate::applyDegreeRule()
{
    if (!subdegree.isEmpty() && subdegree != degree) {
        std::swap(degree, subdegree);
        degreeFromSubdegree = true;
    }
}

namespace {

QString keyOf(const QString &regno, const QString &degree, const QString &college)
{
    return regno.trimmed().toUpper() + u'|' + degree.trimmed().toUpper() + u'|' + college.trimmed().toUpper();
}

const QString kRefreshTable = u"sw_refresh"_s;

// The values a refresh writes, in the order of the statements below.
const QStringList kRefreshed = {u"fname"_s,     u"fclasscode"_s, u"fexamdate"_s, u"fyear"_s,
                                u"fexamtype"_s, u"fsex"_s,       u"fcaste"_s};
const QStringList kParents = {u"ffatname"_s, u"fmotname"_s};
const QStringList kKey = {u"fregno"_s, u"fdegree"_s, u"fcollcode"_s, u"fconvocode"_s};
const QStringList kAbcId = {u"fabcid"_s};

// The columns only some files give, in the order they follow the others.
QStringList optionalColumns(const CandidateWriter::Options &o)
{
    QStringList columns;
    if (o.withParents)
        columns << kParents;
    if (o.withAbcId)
        columns << kAbcId;
    return columns;
}

QStringList insertColumns(const CandidateWriter::Options &o)
{
    QStringList columns{u"fregno"_s,    u"fname"_s,    u"fdegree"_s,   u"fsubdegree"_s, u"fcollcode"_s, u"fclasscode"_s,
                        u"fexamdate"_s, u"fyear"_s,    u"fexamtype"_s, u"fsex"_s,       u"fcaste"_s,    u"factive"_s,
                        u"fmanual"_s,   u"fspecial"_s, u"fusername"_s, u"fconvocode"_s};
    if (!o.univCode.isEmpty())
        columns << u"funivcode"_s;
    return columns + optionalColumns(o);
}

QString insertRow(const CandidateWriter::Options &o)
{
    QString row = u"?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'F', 'F', '', ?, ?"_s;
    if (!o.univCode.isEmpty())
        row += u", ?"_s;
    for (qsizetype i = 0; i < optionalColumns(o).size(); ++i)
        row += u", ?"_s;
    return row;
}

// A definition of the temporary table's columns, as wide as convo's.
QStringList refreshDefinitions(const CandidateWriter::Options &o)
{
    const QStringList columns = kKey + kRefreshed + optionalColumns(o);
    QStringList out;
    for (const QString &c : columns)
        out << c.toUpper() + u" VARCHAR("_s + QString::number(schema::columnWidth(u"CONVO"_s, c)) + u')';
    return out;
}

} // namespace

QString ResultCandidate::key() const { return keyOf(regno, degree, college); }

QString StoredCandidate::key() const { return keyOf(regno, degree, college); }

CandidateWriter::CandidateWriter(Database &db, const QString &convoCode, const QString &userName,
                                 const Options &options)
    : m_db(db)
    , m_convoCode(convoCode)
    , m_userName(userName)
    , m_options(options)
    , m_insert(db, u"convo"_s, insertColumns(options), insertRow(options))
{
    const QStringList columns = kRefreshed + optionalColumns(options);
    m_joinedUpdate =
        db.dialect().joinedUpdate(u"convo"_s, kRefreshTable, kKey, columns, {u"fspecial = ''"_s, u"fconvocode = ?"_s},
                                  db.dialect().coalesce(u"fcertno"_s, u"''"_s) + u" = ''"_s);
}

CandidateWriter::~CandidateWriter()
{
    if (!m_temporaryTable)
        return;
    try {
        m_db.exec(m_db.dialect().dropTemporaryTable(kRefreshTable));
    } catch (const DbError &) {
        // The connection is gone; its temporary table went with it.
    }
}

std::vector<StoredCandidate> CandidateWriter::findAll(const QStringList &regnos)
{
    std::vector<StoredCandidate> out;
    const QString columns = u"fregno, fdegree, fcollcode, fconvocode, fcertno, fname, fclasscode, fexamdate, fyear, "
                            "fexamtype, fsex, fcaste, fspecial, ffatname, fmotname, fabcid"_s;
    // An IN list as long as the server allows, less the convocation's value.
    const int chunk = std::min(900, m_db.dialect().maxBoundValues() - 1);
    for (qsizetype from = 0; from < regnos.size(); from += chunk) {
        const QStringList part = regnos.mid(from, chunk);
        QVariantList params;
        QString sql = u"select "_s + columns + u" from convo where "_s;
        if (!m_options.anyConvocation) {
            sql += u"fconvocode = ? and "_s;
            params << m_convoCode;
        }
        QStringList marks;
        for (const QString &r : part) {
            marks << u"?"_s;
            params << r;
        }
        sql += u"fregno in ("_s + marks.join(u", "_s) + u')';
        Rows rows = m_db.query(sql, params);
        while (rows.next()) {
            StoredCandidate s;
            s.regno = rows.text(0);
            s.degree = rows.text(1);
            s.college = rows.text(2);
            s.convoCode = rows.text(3).trimmed();
            s.certNo = rows.text(4);
            s.name = rows.text(5);
            s.classCode = rows.text(6);
            s.examDate = rows.text(7);
            s.year = rows.text(8);
            s.examType = rows.text(9);
            s.sex = rows.text(10);
            s.caste = rows.text(11);
            s.special = rows.text(12);
            s.fatherName = rows.text(13);
            s.motherName = rows.text(14);
            s.abcId = rows.text(15).trimmed();
            out.push_back(std::move(s));
        }
    }
    return out;
}

bool CandidateWriter::refreshChanges(const ResultCandidate &c, const StoredCandidate &s) const
{
    if (s.convoCode != m_convoCode.trimmed() || !s.special.isEmpty())
        return true;
    if (c.name != s.name || c.classCode != s.classCode || c.examDate != s.examDate || c.year != s.year
        || c.examType != s.examType || c.sex != s.sex || c.caste != s.caste)
        return true;
    if (m_options.withAbcId && !c.abcId.isEmpty() && c.abcId != s.abcId)
        return true;
    return m_options.withParents && (c.fatherName != s.fatherName || c.motherName != s.motherName);
}

QVariantList CandidateWriter::insertValues(const ResultCandidate &c) const
{
    QVariantList params{c.regno, c.name,     c.degree, c.subdegree, c.college,  c.classCode, c.examDate,
                        c.year,  c.examType, c.sex,    c.caste,     m_userName, m_convoCode};
    if (!m_options.univCode.isEmpty())
        params << m_options.univCode;
    if (m_options.withParents)
        params << c.fatherName << c.motherName;
    if (m_options.withAbcId)
        params << c.abcId;
    return params;
}

// The stored row's key, then the file's values: the temporary table's column order.
QVariantList CandidateWriter::refreshValues(const ResultCandidate &c, const StoredCandidate &s) const
{
    QVariantList params{s.regno,    s.degree, s.college,  s.convoCode, c.name, c.classCode,
                        c.examDate, c.year,   c.examType, c.sex,       c.caste};
    if (m_options.withParents)
        params << c.fatherName << c.motherName;
    // A row without an ID leaves the one the candidate holds.
    if (m_options.withAbcId)
        params << (c.abcId.isEmpty() ? s.abcId : c.abcId);
    return params;
}

void CandidateWriter::queueInsert(const ResultCandidate &c, int tag)
{
    // Written at flush(), with the refreshes: a look-up of the next block must see them.
    m_insertQueue.emplace_back(insertValues(c), tag);
}

void CandidateWriter::queueRefresh(const ResultCandidate &c, const StoredCandidate &stored, int tag)
{
    m_refreshes.emplace_back(refreshValues(c, stored), tag);
}

CandidateWriter::Written CandidateWriter::flush()
{
    Written written;
    const auto inserts = std::exchange(m_insertQueue, {});
    for (const auto &[values, tag] : inserts) {
        auto refused = m_insert.add(values, tag);
        written.refused.insert(written.refused.end(), refused.begin(), refused.end());
    }
    auto refused = m_insert.flush();
    written.refused.insert(written.refused.end(), refused.begin(), refused.end());
    written.inserted = int(inserts.size()) - int(written.refused.size());

    const int queued = int(m_refreshes.size());
    if (queued > 0) {
        const size_t before = written.refused.size();
        int changed = 0;
        if (m_joinedUpdate) {
            try {
                changed = refreshJoined();
            } catch (const DbError &e) {
                if (!isRefusedRow(e))
                    throw;
                changed = refreshRowByRow(written.refused);
            }
        } else {
            changed = refreshRowByRow(written.refused);
        }
        const int refusedRefreshes = int(written.refused.size() - before);
        written.refreshed = changed;
        written.frozenMeanwhile = std::max(0, queued - refusedRefreshes - changed);
        m_refreshes.clear();
    }
    return written;
}

int CandidateWriter::refreshJoined()
{
    if (!m_temporaryTable) {
        m_db.exec(m_db.dialect().dropTemporaryTable(kRefreshTable));
        m_db.exec(m_db.dialect().createTemporaryTable(kRefreshTable, refreshDefinitions(m_options)));
        m_temporaryTable = true;
        const QStringList columns = kKey + kRefreshed + optionalColumns(m_options);
        m_refreshRows.emplace(m_db, m_db.temporaryTable(kRefreshTable), columns,
                              QStringList(columns.size(), u"?"_s).join(u", "_s));
    }
    m_db.exec(u"delete from "_s + m_db.temporaryTable(kRefreshTable));
    for (const auto &[values, tag] : m_refreshes) {
        if (!m_refreshRows->add(values, tag).empty())
            throw DbError(DbErrorKind::Other, {}, u"a row did not fit the refresh table"_s);
    }
    if (!m_refreshRows->flush().empty())
        throw DbError(DbErrorKind::Other, {}, u"a row did not fit the refresh table"_s);
    return m_db.exec(*m_joinedUpdate, {m_convoCode});
}

int CandidateWriter::refreshRowByRow(std::vector<BulkInsert::Refused> &refused)
{
    if (!m_refreshOne) {
        QStringList sets;
        for (const QString &c : kRefreshed + optionalColumns(m_options))
            sets << c + u" = ?"_s;
        m_refreshOne.emplace(m_db.prepare(u"update convo set "_s + sets.join(u", "_s)
                                          + u", fspecial = '', fconvocode = ? where fregno = ? and "
                                            "fdegree = ? and fcollcode = ? and fconvocode = ? and "_s
                                          + m_db.dialect().coalesce(u"fcertno"_s, u"''"_s) + u" = ''"_s));
    }
    int changed = 0;
    for (const auto &[values, tag] : m_refreshes) {
        // The temporary table's order (key, values) turned into the statement's (values, key).
        QVariantList params = values.mid(kKey.size());
        params << m_convoCode << values.mid(0, kKey.size());
        try {
            changed += m_refreshOne->exec(params) > 0 ? 1 : 0;
        } catch (const DbError &e) {
            if (!isRefusedRow(e))
                throw;
            refused.push_back({tag, e});
        }
    }
    return changed;
}

MasterWriter::MasterWriter(Database &db, Master master, bool withTown)
    : m_withTown(withTown && master == Master::College)
    , m_find(db.prepare(master == Master::Degree ? u"select fdegree from degree where fdegree = ?"_s
                                                 : u"select fcollcode from college where fcollcode = ?"_s))
    , m_insert(db.prepare(master == Master::Degree
                              ? u"insert into degree (fdegree, fdescpn) values (?, ?)"_s
                              : (m_withTown ? u"insert into college (fcollcode, fcollname, ftown) values (?, ?, ?)"_s
                                            : u"insert into college (fcollcode, fcollname) values (?, ?)"_s)))
{
}

bool MasterWriter::addIfMissing(const QString &code, const QString &description, const QString &town)
{
    if (m_find.run({code}).next())
        return false;
    QVariantList params{code, description};
    if (m_withTown)
        params << town;
    m_insert.exec(params);
    return true;
}

} // namespace sw
