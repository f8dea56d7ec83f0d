// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/imports/candidatewriter.h"

#include <utility>

using namespace Qt::StringLiterals;

namespace sw {

void ResultCandidate::applyDegreeRule()
{
    if (!subdegree.isEmpty() && subdegree != degree)
        std::swap(degree, subdegree);
}

namespace {

QString findSql(bool anyConvocation)
{
    if (anyConvocation)
        return u"select fregno, fconvocode, fcertno, fdate from convo where fregno = ? and fdegree = ? and fcollcode = ?"_s;
    return u"select fregno, fconvocode, fcertno from convo where fregno = ? and fdegree = ? and fcollcode = ? "
           "and convo.fconvocode = ?"_s;
}

QString insertSql(const CandidateWriter::Options &o, int rows = 1)
{
    QString columns = u"fregno, fname, fdegree, fsubdegree, fcollcode, fclasscode, fexamdate, fyear, fexamtype, "
                      "fsex, fcaste, factive, fmanual, fspecial, fusername, fconvocode"_s;
    QString values = u"?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'F', 'F', '', ?, ?"_s;
    if (!o.univCode.isEmpty()) {
        columns += u", funivcode"_s;
        values += u", ?"_s;
    }
    if (o.withParents) {
        columns += u", ffatname, fmotname"_s;
        values += u", ?, ?"_s;
    }
    QStringList tuples;
    for (int i = 0; i < rows; ++i)
        tuples << u'(' + values + u')';
    return u"insert into convo ("_s + columns + u") values "_s + tuples.join(u", "_s);
}

QString refreshSql(const Database &db, const CandidateWriter::Options &o)
{
    return u"update convo set fname = ?, fclasscode = ?, fexamdate = ?, fyear = ?, fexamtype = ?, fsex = ?, "
           "fcaste = ?, fspecial = '', fconvocode = ?"_s
        + (o.withParents ? u", ffatname = ?, fmotname = ?"_s : QString())
        + u" where fregno = ? and fdegree = ? and fcollcode = ? and "_s + db.dialect().coalesce(u"fcertno"_s, u"''"_s)
        + u" = ''"_s;
}

} // namespace

CandidateWriter::CandidateWriter(Database &db, const QString &convoCode, const QString &userName,
                                 const Options &options)
    : m_db(db)
    , m_convoCode(convoCode)
    , m_userName(userName)
    , m_options(options)
    , m_find(db.prepare(findSql(options.anyConvocation)))
    , m_insert(db.prepare(insertSql(options)))
    , m_refresh(db.prepare(refreshSql(db, options)))
{
}

std::optional<FoundCandidate> CandidateWriter::find(const ResultCandidate &c)
{
    QVariantList params{c.regno, c.degree, c.college};
    if (!m_options.anyConvocation)
        params << m_convoCode;
    Rows rows = m_find.run(params);
    if (!rows.next())
        return std::nullopt;
    return FoundCandidate{rows.text(1).trimmed(), rows.text(2)};
}

QVariantList CandidateWriter::insertValues(const ResultCandidate &c) const
{
    QVariantList params{c.regno,    c.name,     c.degree, c.subdegree, c.college, c.classCode, c.examDate,
                        c.year,     c.examType, c.sex,    c.caste,     m_userName, m_convoCode};
    if (!m_options.univCode.isEmpty())
        params << m_options.univCode;
    if (m_options.withParents)
        params << c.fatherName << c.motherName;
    return params;
}

void CandidateWriter::insert(const ResultCandidate &c)
{
    m_insert.exec(insertValues(c));
}

void CandidateWriter::queueInsert(const ResultCandidate &c, int record)
{
    m_queued << insertValues(c);
    m_queuedRecords.push_back(record);
    if (int(m_queuedRecords.size()) >= kRowsPerStatement)
        flush();
}

void CandidateWriter::flush()
{
    if (m_queuedRecords.empty())
        return;
    const QVariantList values = std::exchange(m_queued, {});
    const std::vector<int> records = std::exchange(m_queuedRecords, {});
    const int rows = int(records.size());
    try {
        if (rows == kRowsPerStatement) {
            if (!m_insertMany)
                m_insertMany.emplace(m_db.prepare(insertSql(m_options, kRowsPerStatement)));
            m_insertMany->exec(values);
        } else {
            m_db.exec(insertSql(m_options, rows), values);
        }
        return;
    } catch (const DbError &) {
        // Found below, row by row.
    }
    const qsizetype perRow = values.size() / rows;
    for (int i = 0; i < rows; ++i) {
        try {
            m_insert.exec(values.mid(i * perRow, perRow));
        } catch (const DbError &e) {
            throw QueuedInsertFailed{records[size_t(i)], e};
        }
    }
}

int CandidateWriter::refresh(const ResultCandidate &c)
{
    QVariantList params{c.name, c.classCode, c.examDate, c.year, c.examType, c.sex, c.caste, m_convoCode};
    if (m_options.withParents)
        params << c.fatherName << c.motherName;
    params << c.regno << c.degree << c.college;
    return m_refresh.exec(params);
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
