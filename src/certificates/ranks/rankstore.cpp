// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/ranks/rankstore.h"
#include "masters/mastercodes.h"
#include "shell/core/legacytext.h"

#include "shell/core/prompter.h"
#include "shell/db/database.h"
#include "shell/session.h"

#include <QDateTime>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

void exclaim(Prompter &prompter, const QString &text) { prompter.message(text, u"Message"_s, PromptIcon::Exclamation); }

} // namespace

RankStore::RankStore(Session &session, Prompter &prompter)
    : m_session(session)
    , m_prompter(prompter)
{
}

std::optional<QString> RankStore::rankInWords(const QString &rank)
{
    static const QStringList numerals = {u"I"_s,  u"II"_s,  u"III"_s,  u"IV"_s, u"V"_s,
                                         u"VI"_s, u"VII"_s, u"VIII"_s, u"IX"_s, u"X"_s};
    static const QStringList words = {u"First"_s, u"Second"_s,  u"Third"_s,  u"Fourth"_s, u"Fifth"_s,
                                      u"Sixth"_s, u"Seventh"_s, u"Eighth"_s, u"Ninth"_s,  u"Tenth"_s};
    const qsizetype at = numerals.indexOf(rank.trimmed().toUpper());
    if (at < 0)
        return std::nullopt;
    return words[at];
}

bool RankStore::checkDegree(const QString &degree) const
{
    if (degree.trimmed().isEmpty()) {
        m_prompter.info(u"Information should be entered"_s);
        return false;
    }
    if (!MasterCodes(m_session).describe(MasterCodes::Master::Degree, degree)) {
        exclaim(m_prompter, u"Invalid Degree Code"_s);
        return false;
    }
    return true;
}

bool RankStore::hasRanks(const QString &degree) const
{
    return m_session.db().exists(u"select 1 from rankreg where fdegree = ? and fcerttype = 'RC' and fconvocode = ?"_s,
                                 {degree.trimmed(), m_session.convoCode});
}

std::vector<RankRow> RankStore::load(const QString &degree) const
{
    Rows rows = m_session.db().query(
        u"select rankreg.fregno, convo.fname, rankreg.frank, rankreg.fremarks from rankreg, degree, convo "
        "where rankreg.fregno = convo.fregno and rankreg.fdegree = degree.fdegree and rankreg.fdegree = ? "
        "and convo.fdegree = rankreg.fdegree and rankreg.fcerttype = 'RC' and rankreg.fconvocode = ? "
        "and convo.fconvocode = ? order by rankreg.frank, rankreg.fregno"_s,
        {degree.trimmed(), m_session.convoCode, m_session.convoCode});
    std::vector<RankRow> grid;
    while (rows.next())
        grid.push_back(
            {rows.text(0).trimmed(), rows.text(1).trimmed(), rows.text(2).trimmed(), rows.text(3).trimmed(), u"U"_s});
    if (grid.empty())
        m_prompter.info(u"No records found"_s);
    return grid;
}

std::optional<QString> RankStore::nameForNewRow(const QString &degree, const QString &regno,
                                                const std::vector<RankRow> &grid) const
{
    const QString code = regno.trimmed();
    if (code.isEmpty()) {
        exclaim(m_prompter, u"Reg. No. should be entered"_s);
        return std::nullopt;
    }
    for (const RankRow &row : grid) {
        if (row.regno.trimmed().compare(code, Qt::CaseInsensitive) == 0) {
            exclaim(m_prompter, u"Reg. No. already defined"_s);
            return std::nullopt;
        }
    }
    Rows rows = m_session.db().query(u"select fname from convo where fregno = ? and fdegree = ? and fconvocode = ?"_s,
                                     {code, degree.trimmed(), m_session.convoCode});
    if (!rows.next()) {
        exclaim(m_prompter, u"Invalid Reg. No."_s);
        return std::nullopt;
    }
    const QString name = rows.text(0).trimmed();
    // A rank registered earlier (by another workstation, or under another grid) is edited, not added twice.
    const QVariant held = m_session.db().scalar(
        u"select frank from rankreg where fregno = ? and fdegree = ? and fcerttype = 'RC' and fconvocode = ?"_s,
        {code, degree.trimmed(), m_session.convoCode});
    if (held.isValid()) {
        exclaim(m_prompter, u"Reg. No. "_s + code + u" already holds rank "_s + held.toString().trimmed()
                                + u" of degree "_s + degree.trimmed() + u": edit that line instead."_s);
        return std::nullopt;
    }
    return name;
}

bool RankStore::checkRank(const QString &rank) const
{
    if (rank.trimmed().isEmpty()) {
        exclaim(m_prompter, u"Rank No. should be entered"_s);
        return false;
    }
    if (!rankInWords(rank)) {
        exclaim(m_prompter,
                u"The rank \""_s + rank.trimmed() + u"\" cannot be printed: type it as a Roman numeral from I to X."_s);
        return false;
    }
    return true;
}

bool RankStore::checkLine(const QString &degree, const RankRow &row, const std::vector<RankRow> &grid,
                          size_t index) const
{
    if (row.state == u"A"_s) {
        std::vector<RankRow> others(grid.begin(), grid.begin() + qsizetype(index));
        if (!nameForNewRow(degree, row.regno, others))
            return false;
    }
    return checkRank(row.rank);
}

int RankStore::save(const QString &degree, const std::vector<RankRow> &grid)
{
    std::vector<size_t> lines;
    for (size_t i = 0; i < grid.size(); ++i) {
        if (!grid[i].regno.trimmed().isEmpty())
            lines.push_back(i);
    }
    if (lines.empty()) {
        m_prompter.info(u"No student Details found"_s);
        return 0;
    }
    if (!checkDegree(degree))
        return 0;
    for (size_t i : lines) {
        if (!checkLine(degree, grid[i], grid, i))
            return 0;
    }
    Database &db = m_session.db();
    const QDateTime now = QDateTime::currentDateTime();
    const QString time = now.toString(u"hh:mm ap"_s);
    const QString code = degree.trimmed();
    WriteScope scope(db);
    Statement insert =
        db.prepare(u"insert into rankreg (fdegree, fregno, frank, fdate, ftime, fremarks, fusername, fslno, fcerttype, "
                   "fconvocode) values (?, ?, ?, ?, ?, ?, ?, ?, 'RC', ?)"_s);
    // The rank goes on the candidate's row; the date only on an unprinted one, since a
    // printed candidate's date is the date of issue its sheet carries.
    Statement mark = db.prepare(u"update convo set frank = ? where fdegree = ? and fconvocode = ? and fregno = ?"_s);
    Statement markDate = db.prepare(u"update convo set fdate = ? where fdegree = ? and fconvocode = ? and fregno = ? "
                                    "and "_s
                                    + db.dialect().coalesce(u"fcertno"_s, u"''"_s) + u" = ''"_s);
    // Only the rank certificate line of the candidate: gold-medal and cash-prize lines stay as loaded.
    Statement change = db.prepare(u"update rankreg set frank = ?, fremarks = ? where fregno = ? and "
                                  "fdegree = ? and fcerttype = 'RC' and fconvocode = ?"_s);
    int serial = 1;
    for (size_t i : lines) {
        const RankRow &row = grid[i];
        const QString regno = row.regno.trimmed().toUpper();
        const QString rank = row.rank.trimmed().toUpper();
        if (row.state == u"A"_s) {
            insert.exec({code, regno, rank, now.date(), time, legacytext::storedText(row.remarks), m_session.userName,
                         serial, m_session.convoCode});
            mark.exec({rank, code, m_session.convoCode, regno});
            markDate.exec({now.date(), code, m_session.convoCode, regno});
        } else {
            change.exec({rank, legacytext::storedText(row.remarks), regno, code, m_session.convoCode});
        }
        ++serial;
    }
    scope.commit();
    return int(lines.size());
}

std::vector<AwardListing> RankStore::awards(const QString &degree) const
{
    QString sql = u"select rankreg.fdegree, rankreg.fregno, convo.fname, rankreg.fcerttype, rankreg.frank, "
                  "rankreg.fsubject, rankreg.famount, rankreg.fcertno from rankreg, convo "
                  "where rankreg.fregno = convo.fregno and rankreg.fdegree = convo.fdegree "
                  "and convo.fconvocode = rankreg.fconvocode and rankreg.fconvocode = ?"_s;
    QVariantList params{m_session.convoCode};
    if (!degree.isEmpty()) {
        sql += u" and rankreg.fdegree = ?"_s;
        params << degree;
    }
    Rows rows = m_session.db().query(
        sql + u" order by rankreg.fdegree, rankreg.fcerttype desc, rankreg.fslno, rankreg.fregno"_s, params);
    std::vector<AwardListing> list;
    while (rows.next()) {
        const auto text = [&rows](int column) { return rows.text(column).trimmed(); };
        list.push_back({text(0), text(1), text(2), text(3), text(4), text(5), text(6), text(7)});
    }
    return list;
}

LookupRequest RankStore::degreeLookup(bool editing) const
{
    const QString ranked =
        editing ? u"fconvocode = ? and "_s + m_session.db().dialect().coalesce(u"frank"_s, u"''"_s) + u" <> ''"_s
                : u"fconvocode = ?"_s;
    return MasterCodes(m_session).lookup(MasterCodes::Master::Degree,
                                         u"fdegree in (select fdegree from convo where "_s + ranked + u')',
                                         {m_session.convoCode});
}

LookupRequest RankStore::regnoLookup(const QString &degree) const
{
    return {u"convo"_s,
            u"fregno, fname"_s,
            u"fdegree = ? and fconvocode = ?"_s,
            {degree.trimmed(), m_session.convoCode},
            {},
            {}};
}

} // namespace sw
