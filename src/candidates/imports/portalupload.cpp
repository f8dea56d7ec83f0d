// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/imports/portalupload.h"

#include "shell/core/importtally.h"
#include "shell/online/portalschema.h"

#include <QHash>
#include <QSet>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

const QStringList kColumns = {u"fregno"_s,  u"fname"_s,   u"fcollcode"_s, u"fdegree"_s, u"fcaste"_s,
                              u"fcnvno"_s,  u"fcertno"_s, u"fclass"_s,    u"fcyear"_s,  u"fcexam"_s,
                              u"ftotmax"_s, u"ftotsec"_s, u"fdeleted"_s};

QStringList fieldsOf(const PortalRow &r)
{
    return {r.regno,     r.name,       r.college,  r.degree,   r.caste,        r.convoCode, r.certNo,
            r.className, r.courseYear, r.examText, r.totalMax, r.totalSecured, r.deleted};
}

QString keyOf(const QString &regno, const QString &convo, const QString &degree, const QString &college)
{
    return regno.trimmed().toUpper() + u'|' + convo.trimmed().toUpper() + u'|' + degree.trimmed().toUpper() + u'|'
           + college.trimmed().toUpper();
}

} // namespace

PortalUpload::PortalUpload(Database &portal, Refusal refusal)
    : m_portal(portal)
    , m_refusal(std::move(refusal))
    , m_insert(portal, u"dcstud"_s, kColumns, u"?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?"_s)
{
}

QVariantList PortalUpload::values(const PortalRow &row) const
{
    QVariantList out;
    for (const QString &v : fieldsOf(row))
        out << v;
    return out;
}

void PortalUpload::add(const PortalRow &row, int tag)
{
    const QStringList fields = fieldsOf(row);
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (auto why = storableTextProblem(fields[i], portalschema::columnWidth(u"dcstud"_s, kColumns[i]))) {
            ++m_counts.refused;
            m_refusal(tag, kColumns[i].toUpper(), u"the portal's "_s + kColumns[i] + u' ' + *why);
            return;
        }
    }
    m_queue.emplace_back(row, tag);
    if (int(m_queue.size()) >= kBlockRows)
        flush();
}

void PortalUpload::flush()
{
    if (m_queue.empty())
        return;
    const auto queue = std::exchange(m_queue, {});
    QStringList marks;
    QVariantList regnos;
    QSet<QString> asked;
    for (const auto &[row, tag] : queue) {
        if (asked.contains(row.regno.toUpper()))
            continue;
        asked.insert(row.regno.toUpper());
        marks << u"?"_s;
        regnos << row.regno;
    }
    QHash<QString, QStringList> stored;
    Rows rows = m_portal.query(u"select "_s + kColumns.join(u", "_s) + u" from dcstud where fregno in ("_s
                                   + marks.join(u", "_s) + u')',
                               regnos);
    while (rows.next()) {
        QStringList values;
        for (int i = 0; i < kColumns.size(); ++i)
            values << rows.text(i);
        stored.insert(keyOf(values[0], values[5], values[3], values[2]), values);
    }
    Statement update =
        m_portal.prepare(u"update dcstud set fname = ?, fcaste = ?, fcertno = ?, fclass = ?, fcyear = ?, "
                         "fcexam = ?, ftotmax = ?, ftotsec = ?, fdeleted = ? where fregno = ? and "
                         "fcnvno = ? and fdegree = ? and fcollcode = ?"_s);
    int added = 0;
    int insertRefusals = 0;
    const auto refusedInserts = [&](const std::vector<BulkInsert::Refused> &refused) {
        for (const BulkInsert::Refused &r : refused) {
            ++insertRefusals;
            ++m_counts.refused;
            m_refusal(r.tag, {}, u"the portal refused the row: "_s + r.error.description());
        }
    };
    QSet<QString> queuedKeys;
    for (const auto &[row, tag] : queue) {
        const QString key = keyOf(row.regno, row.convoCode, row.degree, row.college);
        const auto found = stored.constFind(key);
        if (found == stored.cend() && !queuedKeys.contains(key)) {
            queuedKeys.insert(key);
            ++added;
            refusedInserts(m_insert.add(values(row), tag));
            continue;
        }
        if (found != stored.cend() && *found == fieldsOf(row)) {
            ++m_counts.unchanged;
            continue;
        }
        // The same candidate twice in the file: its first row must be there to be updated.
        if (found == stored.cend())
            refusedInserts(m_insert.flush());
        try {
            update.exec({row.name, row.caste, row.certNo, row.className, row.courseYear, row.examText, row.totalMax,
                         row.totalSecured, row.deleted, row.regno, row.convoCode, row.degree, row.college});
            ++m_counts.updated;
        } catch (const DbError &e) {
            if (!isRefusedRow(e))
                throw;
            ++m_counts.refused;
            m_refusal(tag, {}, u"the portal refused the row: "_s + e.description());
        }
    }
    refusedInserts(m_insert.flush());
    m_counts.inserted += added - insertRefusals;
}

} // namespace sw
