// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/cancellation/cancellationstore.h"
#include "masters/mastercodes.h"
#include "shell/db/failures.h"
#include "shell/core/legacytext.h"

#include "certificates/printing/invalidsheetfiles.h"
#include "certificates/printing/stationeryledger.h"
#include "shell/core/prompter.h"
#include "shell/core/stoperror.h"
#include "shell/db/database.h"
#include "shell/db/presence.h"
#include "shell/session.h"

#include <QDateTime>
#include <QSysInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

constexpr int kReasonWidth = 100;

} // namespace

CancellationStore::CancellationStore(Session &session, Prompter &prompter)
    : m_session(session)
    , m_prompter(prompter)
    , m_workstation(Presence::workstation())
{
}

void CancellationStore::exclaim(const QString &text) const
{
    m_prompter.message(text, u"Message"_s, PromptIcon::Exclamation);
}

bool CancellationStore::checkHeader(const QString &degree, const QString &college) const
{
    if (degree.trimmed().isEmpty() || college.trimmed().isEmpty()) {
        m_prompter.info(u"Information should be entered"_s);
        return false;
    }
    if (!MasterCodes(m_session).describe(MasterCodes::Master::Degree, degree)) {
        exclaim(u"Invalid Degree Code"_s);
        return false;
    }
    if (!MasterCodes(m_session).describe(MasterCodes::Master::College, college)) {
        exclaim(u"Invalid College Code"_s);
        return false;
    }
    return true;
}

bool CancellationStore::hasRegister(const QString &degree, const QString &college) const
{
    return m_session.db().exists(
        u"select 1 from certcan, convo where certcan.fregno = convo.fregno and certcan.fdegree = convo.fdegree "
        "and certcan.fdegree = ? and certcan.fcollcode = ? and convo.fconvocode = ?"_s,
        {degree.trimmed(), college.trimmed(), m_session.convoCode});
}

std::vector<CancelRow> CancellationStore::loadRegister(const QString &degree, const QString &college) const
{
    Rows rows = m_session.db().query(
        u"select certcan.fregno, convo.fname, certcan.fcertno, certcan.fremarks from certcan, degree, college, convo "
        "where certcan.fcollcode = college.fcollcode and certcan.fregno = convo.fregno "
        "and certcan.fdegree = convo.fdegree and certcan.fdegree = degree.fdegree and certcan.fdegree = ? "
        "and certcan.fcollcode = ? and convo.fconvocode = ? order by certcan.fregno, certcan.fdate"_s,
        {degree.trimmed(), college.trimmed(), m_session.convoCode});
    std::vector<CancelRow> grid;
    while (rows.next())
        grid.push_back(
            {rows.text(0).trimmed(), rows.text(1).trimmed(), rows.text(2).trimmed(), rows.text(3).trimmed(), {}});
    if (grid.empty())
        m_prompter.info(u"No records found"_s);
    return grid;
}

bool CancellationStore::hasPrinted(const QString &degree, const QString &college) const
{
    return m_session.db().exists(u"select 1 from convo where fdegree = ? and fcollcode = ? and fconvocode = ? and "_s
                                     + m_session.db().dialect().coalesce(u"fcertno"_s, u"''"_s) + u" <> ''"_s,
                                 {degree.trimmed(), college.trimmed(), m_session.convoCode});
}

std::vector<PrintedRow> CancellationStore::loadPrinted(const QString &degree, const QString &college) const
{
    Rows rows = m_session.db().query(
        u"select convo.fregno, convo.fname, convo.fcertno, convo.fdate from degree, college, convo "
        "where convo.fdegree = degree.fdegree and convo.fcollcode = college.fcollcode and convo.fdegree = ? "
        "and convo.fcollcode = ? and "_s
            + m_session.db().dialect().coalesce(u"convo.fcertno"_s, u"''"_s)
            + u" <> '' and convo.fconvocode = ? order by convo.fdate, convo.fregno"_s,
        {degree.trimmed(), college.trimmed(), m_session.convoCode});
    std::vector<PrintedRow> grid;
    while (rows.next())
        grid.push_back({rows.text(0).trimmed(), rows.text(1).trimmed(), rows.text(2).trimmed(), rows.date(3), false});
    if (grid.empty())
        m_prompter.info(u"No records found"_s);
    return grid;
}

std::optional<CancelRow> CancellationStore::newRow(const QString &degree, const QString &college, const QString &regno,
                                                   const std::vector<CancelRow> &grid) const
{
    const QString code = regno.trimmed().toUpper();
    if (code.isEmpty()) {
        exclaim(u"Reg. No. should be entered"_s);
        return std::nullopt;
    }
    Rows rows = m_session.db().query(
        u"select fname, fcertno from convo where fregno = ? and fdegree = ? and fcollcode = ? and fconvocode = ?"_s,
        {code, degree.trimmed(), college.trimmed(), m_session.convoCode});
    if (!rows.next()) {
        exclaim(u"Invalid Reg. No."_s);
        return std::nullopt;
    }
    CancelRow row{code, rows.text(0).trimmed(), rows.text(1).trimmed(), {}, u"A"_s};
    // A candidate entered twice is cancelled on the row that holds the number.
    while (row.certNo.isEmpty() && rows.next())
        row = {code, rows.text(0).trimmed(), rows.text(1).trimmed(), {}, u"A"_s};
    if (row.certNo.isEmpty()) {
        exclaim(u"Certificate is not printed for Reg. No. "_s + code + u": there is no number to cancel."_s);
        return std::nullopt;
    }
    for (const CancelRow &other : grid) {
        // The same number twice in one save: the register would hold one cancellation twice.
        if (other.state == u"A"_s && other.regno.compare(code, Qt::CaseInsensitive) == 0) {
            exclaim(u"Reg. No. already defined"_s);
            return std::nullopt;
        }
    }
    return row;
}

int CancellationStore::saveRegister(const QString &degree, const QString &college, const std::vector<CancelRow> &grid)
{
    std::vector<CancelRow> lines;
    std::copy_if(grid.begin(), grid.end(), std::back_inserter(lines),
                 [](const CancelRow &r) { return !r.regno.trimmed().isEmpty(); });
    if (lines.empty()) {
        m_prompter.info(u"No student Details found"_s);
        return -1;
    }
    if (!checkHeader(degree, college))
        return -1;
    // Every line is checked before anything is written.
    std::vector<CancelRow> checked;
    for (CancelRow &line : lines) {
        if (line.state == u"A"_s) {
            const std::optional<CancelRow> fresh = newRow(degree, college, line.regno, checked);
            if (!fresh)
                return -1;
            if (!line.certNo.trimmed().isEmpty() && line.certNo.trimmed() != fresh->certNo) {
                exclaim(u"Reg. No. "_s + fresh->regno + u" now holds certificate "_s + fresh->certNo + u", not "_s
                        + line.certNo.trimmed() + u": load the line again."_s);
                return -1;
            }
            line.regno = fresh->regno;
            line.certNo = fresh->certNo;
        }
        if (line.state != QString() && line.reason.trimmed().isEmpty()) {
            exclaim(u"Reason should be entered"_s);
            return -1;
        }
        if (legacytext::storedText(line.reason).size() > kReasonWidth) {
            exclaim(u"The reason for Reg. No. "_s + line.regno + u" is longer than "_s + QString::number(kReasonWidth)
                    + u" characters."_s);
            return -1;
        }
        checked.push_back(line);
    }

    Database &db = m_session.db();
    const QDateTime now = QDateTime::currentDateTime();
    const QString user = m_session.userName;
    int cancelled = 0;
    m_setAside = {};
    InvalidSheetFiles files(m_session, InvalidSheetFiles::Why::Cancelled, m_sheetsFolder);
    try {
        WriteScope scope(db);
        StationeryLedger stationery(db, m_session.convoCode, user, m_workstation);
        for (const CancelRow &line : lines) {
            if (line.state == u"A"_s) {
                files.note(line.certNo);
                db.exec(u"insert into certcan (fdegree, fcollcode, fregno, fcertno, fdate, ftime, fremarks, fusername, "
                        "fprintedby) values (?, ?, ?, ?, ?, ?, ?, ?, ?)"_s,
                        {degree.trimmed(), college.trimmed(), line.regno, line.certNo, now.date(),
                         now.toString(u"hh:mm ap"_s), legacytext::storedText(line.reason), user, user});
                if (!stationery.cancel(line.certNo, line.regno, degree.trimmed(), legacytext::storedText(line.reason)))
                    throw StopError(u"Certificate No. "_s + line.certNo + u" no longer belongs to Reg. No. "_s
                                        + line.regno + u": nothing was cancelled."_s,
                                    PromptIcon::Exclamation);
                ++cancelled;
            } else if (line.state == u"E"_s) {
                db.exec(u"update certcan set fremarks = ? where fregno = ? and fcertno = ?"_s,
                        {legacytext::storedText(line.reason), line.regno, line.certNo});
            }
        }
        scope.commit();
    } catch (const StopError &) {
        showFailure(m_prompter, ErrorForm::Screen);
        return -1;
    }
    m_setAside = files.moveAside();
    return cancelled;
}

int CancellationStore::cancelTicked(const QString &degree, const QString &college, const std::vector<PrintedRow> &grid,
                                    const QString &reason)
{
    if (grid.empty()) {
        m_prompter.info(u"No student Details found"_s);
        return -1;
    }
    if (!checkHeader(degree, college))
        return -1;
    const QString why =
        legacytext::storedText(reason).isEmpty() ? u"Range cancellation"_s : legacytext::storedText(reason);
    if (why.size() > kReasonWidth * 2) {
        exclaim(u"The reason is longer than "_s + QString::number(kReasonWidth * 2) + u" characters."_s);
        return -1;
    }
    Database &db = m_session.db();
    int cancelled = 0;
    m_setAside = {};
    InvalidSheetFiles files(m_session, InvalidSheetFiles::Why::Cancelled, m_sheetsFolder);
    try {
        WriteScope scope(db);
        StationeryLedger stationery(db, m_session.convoCode, m_session.userName, m_workstation);
        for (const PrintedRow &row : grid) {
            if (!row.ticked || row.regno.trimmed().isEmpty())
                continue;
            files.note(row.certNo);
            if (!stationery.cancel(row.certNo.trimmed(), row.regno.trimmed(), degree.trimmed(), why))
                throw StopError(u"Certificate No. "_s + row.certNo.trimmed() + u" no longer belongs to Reg. No. "_s
                                    + row.regno.trimmed() + u": nothing was cancelled. Load the candidates again."_s,
                                PromptIcon::Exclamation);
            ++cancelled;
        }
        scope.commit();
    } catch (const StopError &) {
        showFailure(m_prompter, ErrorForm::Screen);
        return -1;
    }
    m_setAside = files.moveAside();
    return cancelled;
}

std::optional<QString> CancellationStore::cancelOne(const QString &regno, const QString &reason, const QString &degree)
{
    const QString code = regno.trimmed().toUpper();
    if (reason.trimmed().isEmpty()) {
        exclaim(u"Reason should be entered"_s);
        return std::nullopt;
    }
    QString sql = u"select fdegree, fcollcode, fcertno from convo where fregno = ? and fconvocode = ?"_s;
    QVariantList params{code, m_session.convoCode};
    if (!degree.trimmed().isEmpty()) {
        sql += u" and fdegree = ?"_s;
        params << degree.trimmed().toUpper();
    }
    Rows rows = m_session.db().query(sql, params);
    struct Held
    {
        QString degree, college, certNo;
    };
    std::vector<Held> held;
    bool known = false;
    while (rows.next()) {
        known = true;
        if (!rows.text(2).trimmed().isEmpty())
            held.push_back({rows.text(0).trimmed(), rows.text(1).trimmed(), rows.text(2).trimmed()});
    }
    if (!known) {
        exclaim(u"Invalid Reg. No.: "_s + code + u" is not a candidate of convocation "_s + m_session.convoCode
                + (degree.trimmed().isEmpty() ? QString() : u" for degree "_s + degree.trimmed().toUpper()) + u'.');
        return std::nullopt;
    }
    if (held.empty()) {
        exclaim(u"Certificate is not printed for Reg. No. "_s + code + u": there is no number to cancel."_s);
        return std::nullopt;
    }
    if (held.size() > 1) {
        exclaim(u"Reg. No. "_s + code + u" holds certificates of more than one degree: name the degree."_s);
        return std::nullopt;
    }
    const Held &h = held.front();
    if (saveRegister(h.degree, h.college, {{code, {}, h.certNo, reason, u"A"_s}}) != 1)
        return std::nullopt;
    return h.certNo;
}

LookupRequest CancellationStore::degreeLookup() const
{
    return MasterCodes(m_session).lookup(MasterCodes::Master::Degree,
                                         u"fdegree in (select fdegree from convo where "_s
                                             + m_session.db().dialect().coalesce(u"fcertno"_s, u"''"_s)
                                             + u" <> '' and convo.fconvocode = ?)"_s,
                                         {m_session.convoCode});
}

LookupRequest CancellationStore::collegeLookup(const QString &degree) const
{
    QString condition = u"fcollcode in (select fcollcode from convo where "_s
                        + m_session.db().dialect().coalesce(u"fcertno"_s, u"''"_s) + u" <> '' and "_s;
    QVariantList params;
    if (!degree.trimmed().isEmpty()) {
        condition += u"fdegree = ? and "_s;
        params << degree.trimmed();
    }
    params << m_session.convoCode;
    return MasterCodes(m_session).lookup(MasterCodes::Master::College, condition + u"convo.fconvocode = ?)"_s, params);
}

LookupRequest CancellationStore::regnoLookup(const QString &degree, const QString &college) const
{
    return {u"convo"_s,
            u"fregno, fname"_s,
            u"fdegree = ? and fcollcode = ? and fconvocode = ? and "_s
                + m_session.db().dialect().coalesce(u"fcertno"_s, u"''"_s) + u" <> ''"_s,
            {degree.trimmed(), college.trimmed(), m_session.convoCode},
            {},
            {}};
}

} // namespace sw
