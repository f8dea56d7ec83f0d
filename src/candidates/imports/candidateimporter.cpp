// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/imports/candidateimporter.h"

#include "shell/core/importtally.h"
#include "shell/db/rowbatch.h"

#include <QHash>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace sw {

CandidateImporter::CandidateImporter(Database &db, const QString &convoCode, const QString &userName,
                                     ImportTally &tally, RowBatch &batch, Options options)
    : m_db(db)
    , m_convoCode(convoCode.trimmed())
    , m_tally(tally)
    , m_batch(batch)
    , m_options(std::move(options))
    , m_writer(db, convoCode, userName, m_options.writer)
{
    m_block.reserve(kBlockRows);
}

void CandidateImporter::add(const ResultCandidate &c, int record, const QStringList &extra)
{
    const QString key = c.key();
    if (m_blockKeys.contains(key))
        writeBlock();
    m_blockKeys.insert(key);
    m_block.push_back({c, record, extra, CandidateFate::Inserted, std::nullopt});
    if (int(m_block.size()) >= kBlockRows)
        writeBlock();
}

void CandidateImporter::finish() { writeBlock(); }

std::optional<StoredCandidate> CandidateImporter::target(const std::vector<const StoredCandidate *> &found) const
{
    // The current convocation's row first: it is the one a refresh is for.
    const StoredCandidate *best = nullptr;
    for (const StoredCandidate *s : found) {
        if (s->convoCode.compare(m_convoCode, Qt::CaseInsensitive) != 0)
            continue;
        if (!best || (best->printed() && !s->printed()))
            best = s;
    }
    if (best)
        return *best;
    if (!m_options.writer.anyConvocation)
        return std::nullopt;
    // Under other convocations only: an unprinted row, the latest convocation first.
    for (const StoredCandidate *s : found) {
        if (!best || (best->printed() && !s->printed())
            || (best->printed() == s->printed() && s->convoCode.compare(best->convoCode, Qt::CaseInsensitive) > 0))
            best = s;
    }
    return best ? std::optional<StoredCandidate>(*best) : std::nullopt;
}

void CandidateImporter::decide(Pending &p, const std::vector<const StoredCandidate *> &found)
{
    p.stored = target(found);
    if (!p.stored) {
        p.fate = m_options.writeLocally ? CandidateFate::Inserted : CandidateFate::Uploaded;
        return;
    }
    if (p.stored->printed()) {
        p.fate = m_options.writeLocally ? CandidateFate::Frozen : CandidateFate::Uploaded;
        return;
    }
    if (!m_options.writeLocally) {
        p.fate = CandidateFate::Uploaded;
        return;
    }
    const bool elsewhere = p.stored->convoCode.compare(m_convoCode, Qt::CaseInsensitive) != 0;
    if (elsewhere && m_options.moveFromOtherConvocation) {
        // No transaction waits on the clerk's answer.
        m_batch.commitNow();
        if (!m_options.moveFromOtherConvocation(p.candidate, *p.stored)) {
            p.fate = CandidateFate::Skipped;
            return;
        }
    }
    p.fate = CandidateFate::Refreshed;
}

void CandidateImporter::conclude(Pending &p)
{
    ImportCounts &counts = m_tally.counts();
    switch (p.fate) {
    case CandidateFate::Inserted: ++counts.inserted; break;
    case CandidateFate::Refreshed: ++counts.refreshed; break;
    case CandidateFate::Frozen: ++counts.frozen; break;
    case CandidateFate::Skipped:
        m_tally.skip(p.record,
                     u"stored under convocation "_s + p.stored->convoCode
                         + u"; the question whether to move it here was answered No"_s,
                     fieldsOf(p.record), QString(), p.candidate.regno);
        break;
    case CandidateFate::Rejected:
    case CandidateFate::Uploaded: break; // counted where the reason is known
    }
    if (m_options.done)
        m_options.done(p.candidate, p.stored ? &*p.stored : nullptr, p.fate, p.record, p.extra);
}

QStringList CandidateImporter::fieldsOf(int record) const
{
    return m_options.fieldsOf ? m_options.fieldsOf(record) : QStringList();
}

void CandidateImporter::writeBlock()
{
    if (m_block.empty())
        return;
    QStringList regnos;
    QSet<QString> seen;
    for (const Pending &p : m_block) {
        if (!seen.contains(p.candidate.regno)) {
            seen.insert(p.candidate.regno);
            regnos << p.candidate.regno;
        }
    }
    const std::vector<StoredCandidate> stored = m_writer.findAll(regnos);
    QHash<QString, std::vector<const StoredCandidate *>> byKey;
    for (const StoredCandidate &s : stored)
        byKey[s.key()].push_back(&s);

    QHash<int, size_t> byRecord;
    for (size_t i = 0; i < m_block.size(); ++i) {
        Pending &p = m_block[i];
        byRecord.insert(p.record, i);
        decide(p, byKey.value(p.candidate.key()));
        if (p.fate == CandidateFate::Inserted)
            m_writer.queueInsert(p.candidate, p.record);
        else if (p.fate == CandidateFate::Refreshed && m_writer.refreshChanges(p.candidate, *p.stored))
            m_writer.queueRefresh(p.candidate, *p.stored, p.record);
    }
    CandidateWriter::Written written;
    {
        // Joins the batch's transaction; left by a failure, it makes the commit undo the whole block.
        WriteScope block(m_db);
        written = m_writer.flush();
        block.commit();
    }
    m_batch.commitNow();
    for (const BulkInsert::Refused &r : written.refused) {
        Pending &p = m_block[byRecord.value(r.tag)];
        p.fate = CandidateFate::Rejected;
        m_tally.reject(p.record, QString(), p.candidate.regno,
                       u"the database refused the row: "_s + r.error.description(), fieldsOf(p.record));
    }
    for (Pending &p : m_block)
        conclude(p);
    // Another workstation printed a candidate between the look-up and the refresh:
    // the refresh left it alone, as every refresh of a printed candidate does.
    m_tally.counts().refreshed -= written.frozenMeanwhile;
    m_tally.counts().frozen += written.frozenMeanwhile;

    m_block.clear();
    m_blockKeys.clear();
}

} // namespace sw
