// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/verification/gatestore.h"

#include "masters/mastercodes.h"
#include "shell/core/prompter.h"
#include "shell/db/database.h"
#include "shell/session.h"

#include <QMap>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace sw {

GateStore::GateStore(Session &session, Prompter &prompter, Gate gate)
    : m_session(session)
    , m_prompter(prompter)
    , m_gate(gate)
{
}

QString GateStore::unprinted(const QString &column) const
{
    return m_session.db().dialect().coalesce(column, u"''"_s) + u" = ''"_s;
}

// Verification handles candidates not yet active; activation, fee-verified ones.
QString GateStore::gateCondition(const QString &prefix) const
{
    if (m_gate == Gate::Verification)
        return m_session.db().dialect().coalesce(prefix + u"factive"_s, u"''"_s) + u" <> 'T'"_s;
    return prefix + u"ffeepaid = 'T'"_s;
}

bool GateStore::checkHeader(const GateSelection &s) const
{
    const QString boxes[] = {s.degree, s.collegeFrom, s.collegeTo};
    for (const QString &box : boxes) {
        if (box.trimmed().isEmpty()) {
            m_prompter.info(u"Information should be entered"_s);
            return false;
        }
    }
    using Master = MasterCodes::Master;
    const MasterCodes codes(m_session);
    if (!codes.describe(Master::Degree, s.degree)) {
        m_prompter.message(MasterCodes::invalidMessage(Master::Degree), u"Message"_s, PromptIcon::Exclamation);
        return false;
    }
    for (const QString &college : {s.collegeFrom, s.collegeTo}) {
        if (!codes.describe(Master::College, college)) {
            m_prompter.message(MasterCodes::invalidMessage(Master::College), u"Message"_s, PromptIcon::Exclamation);
            return false;
        }
    }
    return true;
}

bool GateStore::hasCandidates(const GateSelection &s) const
{
    return m_session.db().exists(
        u"select 1 from convo where fdegree = ? and fcollcode between ? and ? and "_s + unprinted()
            + u" and fconvocode = ? and "_s + gateCondition(),
        {s.degree.trimmed(), s.collegeFrom.trimmed(), s.collegeTo.trimmed(), m_session.convoCode});
}

std::vector<GateRow> GateStore::load(const GateSelection &s) const
{
    const QString flag = m_gate == Gate::Verification ? u"convo.ffeepaid"_s : u"convo.factive"_s;
    Rows rows = m_session.db().query(
        u"select convo.fregno, convo.fname, "_s + flag
            + u" from convo, degree, college where convo.fcollcode = college.fcollcode and "
              "convo.fdegree = degree.fdegree and convo.fdegree = ? and convo.fcollcode between ? and ? and "_s
            + unprinted(u"convo.fcertno"_s) + u" and convo.fconvocode = ? and "_s + gateCondition(u"convo."_s),
        {s.degree.trimmed(), s.collegeFrom.trimmed(), s.collegeTo.trimmed(), m_session.convoCode});
    std::vector<GateRow> grid;
    while (rows.next()) {
        const QString flagText = rows.text(2).trimmed();
        grid.push_back({rows.text(0), rows.text(1), flagText == u"T"_s, false, flagText});
    }
    // Register-number order is made here: an ORDER BY would lead SQLite, which has no
    // statistics, to walk the whole convocation in register-number order instead of
    // reading the degree and colleges from their index.
    std::sort(grid.begin(), grid.end(),
              [](const GateRow &a, const GateRow &b) { return a.regno.compare(b.regno, Qt::CaseInsensitive) < 0; });
    if (grid.empty())
        m_prompter.info(u"No records found"_s);
    return grid;
}

std::optional<QString> GateStore::nameForNewRow(const GateSelection &s, const QString &regno,
                                                const std::vector<GateRow> &grid) const
{
    const QString code = regno.trimmed();
    if (code.isEmpty()) {
        m_prompter.message(u"Reg. No. should be entered"_s, u"Message"_s, PromptIcon::Exclamation);
        return std::nullopt;
    }
    for (const GateRow &row : grid) {
        if (row.regno.trimmed().compare(code, Qt::CaseInsensitive) == 0) {
            m_prompter.message(u"Reg. No. already defined"_s, u"Message"_s, PromptIcon::Exclamation);
            return std::nullopt;
        }
    }
    Rows rows = m_session.db().query(u"select fname, fdegree, fcollcode, fcertno, factive, ffeepaid from convo "
                                     "where fregno = ? and fconvocode = ? order by fdegree"_s,
                                     {code, m_session.convoCode});
    QStringList otherDegrees;
    QString refusal;
    while (rows.next()) {
        const QString degree = rows.text(1).trimmed();
        if (degree.compare(s.degree.trimmed(), Qt::CaseInsensitive) != 0) {
            otherDegrees << degree;
            continue;
        }
        const QString college = rows.text(2).trimmed();
        const QString certNo = rows.text(3).trimmed();
        if (!certNo.isEmpty())
            refusal =
                u"Reg. No. %1 is printed (certificate %2): it is passed through no gate again."_s.arg(code, certNo);
        else if (m_gate == Gate::Verification && rows.text(4).trimmed() == u"T"_s)
            refusal = u"Reg. No. %1 is active already: its fee is not changed here."_s.arg(code);
        else if (m_gate == Gate::Verification && college.compare(s.collegeFrom.trimmed(), Qt::CaseInsensitive) != 0)
            refusal = u"Reg. No. %1 is of college %2, not of college %3."_s.arg(code, college, s.collegeFrom.trimmed());
        else if (m_gate == Gate::Activation && rows.text(5).trimmed() != u"T"_s)
            refusal = u"Reg. No. %1: the fee is not verified. Verify it first."_s.arg(code);
        else
            return rows.text(0);
    }
    if (refusal.isEmpty() && otherDegrees.isEmpty())
        refusal = u"Invalid Reg. No."_s;
    else if (refusal.isEmpty())
        refusal = u"Reg. No. %1 is a candidate of degree %2, not of degree %3."_s.arg(code, otherDegrees.join(u", "_s),
                                                                                      s.degree.trimmed());
    m_prompter.message(refusal, u"Message"_s, PromptIcon::Exclamation);
    return std::nullopt;
}

LookupRequest GateStore::degreeLookup() const
{
    return MasterCodes(m_session).lookup(MasterCodes::Master::Degree,
                                         u"fdegree in (select fdegree from convo where "_s + unprinted()
                                             + u" and fconvocode = ? and "_s + gateCondition() + u')',
                                         {m_session.convoCode});
}

LookupRequest GateStore::collegeLookup(const QString &degree) const
{
    // Activation offers every college with unprinted candidates of the degree;
    // verification only those with candidates not yet active.
    const QString extra = m_gate == Gate::Verification ? u" and "_s + gateCondition() : QString();
    return MasterCodes(m_session).lookup(MasterCodes::Master::College,
                                         u"fcollcode in (select fcollcode from convo where "_s + unprinted()
                                             + u" and fdegree = ? and fconvocode = ?"_s + extra + u')',
                                         {degree.trimmed(), m_session.convoCode});
}

LookupRequest GateStore::regnoLookup(const QString &degree, const QString &college) const
{
    const QString extra = m_gate == Gate::Activation ? u" and "_s + gateCondition() : QString();
    return {u"convo"_s,
            u"fregno, fname"_s,
            u"fdegree = ? and fcollcode = ? and "_s + unprinted() + extra + u" and fconvocode = ?"_s,
            {degree.trimmed(), college.trimmed(), m_session.convoCode},
            {},
            {}};
}

std::vector<std::pair<QString, QString>> GateStore::choices(const LookupRequest &request) const
{
    const BoundSql statement = request.statement();
    std::vector<std::pair<QString, QString>> out;
    Rows rows = m_session.db().query(statement.sql, statement.params);
    while (rows.next())
        out.emplace_back(rows.text(0), rows.text(1));
    return out;
}

std::vector<std::pair<QString, QString>> GateStore::degreeChoices() const { return choices(degreeLookup()); }

std::vector<std::pair<QString, QString>> GateStore::collegeChoices(const QString &degree) const
{
    return choices(collegeLookup(degree));
}

std::vector<std::pair<QString, QString>> GateStore::regnoChoices(const QString &degree, const QString &college) const
{
    return choices(regnoLookup(degree, college));
}

int GateStore::save(const GateSelection &s, const std::vector<GateRow> &grid) { return saveReporting(s, grid).written; }

std::optional<QString> GateStore::whyRefused(const QString &regno, const GateRow &row) const
{
    Rows rows =
        m_session.db().query(u"select fcertno, factive, ffeepaid from convo where fregno = ? and fconvocode = ?"_s,
                             {regno, m_session.convoCode});
    if (!rows.next())
        return u"not in this convocation"_s;
    if (!rows.text(0).trimmed().isEmpty())
        return u"printed"_s;
    if (m_gate == Gate::Verification && rows.text(1).trimmed() == u"T"_s)
        return u"active"_s;
    if (m_gate == Gate::Activation && rows.text(2).trimmed() != u"T"_s)
        return u"fee not verified"_s;
    // A server that counts only the rows a statement changed reports none for a flag
    // that already held the value: the row is as the grid asks.
    const QString stored = rows.text(m_gate == Gate::Verification ? 2 : 1).trimmed();
    if (stored == (row.ticked ? u"T"_s : u"F"_s))
        return std::nullopt;
    if (row.flagAsRead)
        return u"changed on another workstation"_s;
    return u"not of this degree"_s;
}

QString GateStore::SaveReport::summary(Gate gate) const
{
    QString text = u"Saved %1 of %2 rows (%3 %4)"_s.arg(written).arg(rows).arg(ticked).arg(
        gate == Gate::Verification ? u"fee paid"_s : u"active"_s);
    if (refused.empty())
        return text;
    QMap<QString, int> reasons;
    for (const auto &[regno, reason] : refused)
        reasons[reason] += 1;
    QStringList parts;
    for (auto it = reasons.cbegin(); it != reasons.cend(); ++it)
        parts << QString::number(it.value()) + u' ' + it.key();
    return text + u"; "_s + QString::number(refused.size()) + u" refused: "_s + parts.join(u", "_s);
}

GateStore::SaveReport GateStore::saveReporting(const GateSelection &s, const std::vector<GateRow> &grid)
{
    SaveReport report;
    if (grid.empty()) {
        m_prompter.info(u"No student Details found"_s);
        return report;
    }
    Database &db = m_session.db();
    WriteScope scope(db);
    // The candidate's own college decides the row to change, so a row added on screen
    // reaches its candidate even when it lies outside the header's range.
    Statement collegeOf = db.prepare(u"select fcollcode from convo where fregno = ? and fconvocode = ?"_s);
    const QString column = m_gate == Gate::Verification ? u"ffeepaid"_s : u"factive"_s;
    const QString update = u"update convo set "_s + column
                           + u" = ? where fdegree = ? and fcollcode = ? and fregno = ? and "_s + unprinted()
                           + u" and fconvocode = ? and "_s + gateCondition();
    Statement write = db.prepare(update);
    // A flag read as NULL is bound as NULL too: both sides are compared as text.
    Statement writeIfUnchanged = db.prepare(update + u" and "_s + db.dialect().coalesce(column, u"''"_s) + u" = "_s
                                            + db.dialect().coalesce(u"?"_s, u"''"_s));
    for (const GateRow &row : grid) {
        const QString regno = row.regno.trimmed();
        if (regno.isEmpty())
            continue;
        ++report.rows;
        QString college;
        {
            Rows found = collegeOf.run({regno, m_session.convoCode});
            if (!found.next()) {
                report.refused.emplace_back(regno, u"not in this convocation"_s);
                continue;
            }
            college = m_gate == Gate::Verification ? s.collegeFrom.trimmed() : found.text(0);
        }
        QVariantList params{row.ticked ? u"T"_s : u"F"_s, s.degree.trimmed(), college, regno, m_session.convoCode};
        const int reached = row.flagAsRead ? writeIfUnchanged.exec(params << *row.flagAsRead) : write.exec(params);
        const std::optional<QString> refusal = reached > 0 ? std::nullopt : whyRefused(regno, row);
        if (refusal) {
            report.refused.emplace_back(regno, *refusal);
        } else {
            ++report.written;
            report.ticked += row.ticked ? 1 : 0;
        }
    }
    scope.commit();
    return report;
}

int GateStore::deactivateAll(const GateSelection &s)
{
    if (!m_prompter.askRisky(u"Confirm Deletion"_s, u"Delete"_s, PromptIcon::Question))
        return 0;
    Database &db = m_session.db();
    WriteScope scope(db);
    // Both screens' Delete deactivates; activation keeps to fee-verified candidates.
    const QString extra = m_gate == Gate::Activation ? u" and "_s + gateCondition() : QString();
    const int changed =
        db.exec(u"update convo set factive = 'F' where fdegree = ? and fcollcode between ? and ? "
                "and fconvocode = ? and "_s
                    + unprinted() + extra,
                {s.degree.trimmed(), s.collegeFrom.trimmed(), s.collegeTo.trimmed(), m_session.convoCode});
    scope.commit();
    return changed;
}

} // namespace sw
