// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/printing/stationeryledger.h"

#include "certificates/printing/statusregister.h"
#include "shell/core/dates.h"

#include "certificates/printing/sheetnumbers.h"
#include "shell/audit/audittrail.h"
#include "shell/core/stoperror.h"
#include "shell/db/database.h"
#include "shell/db/presence.h"
#include "shell/session.h"

#include <QDateTime>
#include <QMap>
#include <QScopeGuard>
#include <QSysInfo>
#include <QUuid>

#include <set>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

constexpr int kRemarksWidth = 200;

// A prefix is always stored as text, never null, so the unique key compares it.
QVariant prefixValue(const QString &prefix)
{
    return prefix.isEmpty() ? QVariant(QStringLiteral("")) : QVariant(prefix);
}

QVariant dateValue(const QDate &date)
{
    return date.isValid() ? QVariant(date) : QVariant(QMetaType(QMetaType::QDate));
}

// What a sheet certifies, as the status register tells reprints apart.
QString statusKind(const SheetHolder &holder)
{
    return holder.kind == SheetHolder::Kind::Award ? holder.awardType : QString::fromLatin1(StatusRegister::kDegree);
}

bool sameCode(const QString &a, const QString &b) { return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0; }

bool isAwardType(const QString &certType)
{
    const QString t = certType.trimmed().toUpper();
    return t == u"R"_s || t == u"G"_s || t == u"C"_s;
}

QString awardTypeOf(const QString &certType)
{
    const QString t = certType.trimmed().toUpper();
    return t == u"R"_s ? u"RC"_s : t == u"G"_s ? u"GC"_s : u"CC"_s;
}

// Two workstations changing rows in opposite orders are stopped by the server; the
// change is simply made again.
template <typename Change> auto withRetry(Change change) { return retryingConflicts(change); }

QString holderName(const SheetHolder &holder) { return u"Reg. No. "_s + holder.regno; }

} // namespace

// One use of a number, as the number check and the refusals name it.
struct StationeryLedger::Use
{
    long long number = 0;
    QString text;
    bool heldByCandidate = false;
};

// A row of CERTSHEET.
struct StationeryLedger::Sheet
{
    State state = State::Pending;
    QString certNo;
    QString certType;
    SheetHolder holder;
    QString convoCode;
    QString runId;
    QDate issueDate;
    QDate convocationDate;
    QDate reserved;
    QString reservedTime;
    QString user;
    QString workstation;
    QString remarks;
};

StationeryLedger::StationeryLedger(Database &db, QString convoCode, QString user, QString workstation)
    : m_db(db)
    , m_convoCode(std::move(convoCode))
    , m_user(std::move(user))
    , m_workstation(std::move(workstation))
    , m_places(db, m_user)
{
}

StationeryLedger::~StationeryLedger() = default;

QString StationeryLedger::stateText(State state)
{
    switch (state) {
    case State::Pending: return u"PENDING"_s;
    case State::Printed: return u"PRINTED"_s;
    case State::Spoiled: return u"SPOILED"_s;
    case State::Void: return u"VOID"_s;
    }
    return {};
}

QString StationeryLedger::outcomeText(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Printed: return u"PRINTED"_s;
    case Outcome::Spoiled: return u"SPOILED"_s;
    case Outcome::Skipped: return u"SKIPPED"_s;
    case Outcome::Cancelled: return u"CANCELLED"_s;
    case Outcome::Void: return u"VOID"_s;
    }
    return {};
}

// The write scope just opened holds the write lock from its start (the dialect's
// beginWriteStatement); the rows read before it are let go so that no statement writes
// from a snapshot older than the lock.
void StationeryLedger::beginWrite() { releaseReads(); }

// Every statement is prepared once per ledger: a run asks the same few questions for each
// sheet. One the server refused to prepare is not kept: it is prepared again next time.
Statement &StationeryLedger::statement(const QString &sql) const
{
    if (const auto found = m_statements.constFind(sql); found != m_statements.cend())
        return **found;
    auto prepared = std::make_shared<Statement>(m_db.prepare(sql));
    m_statements.insert(sql, prepared);
    return *prepared;
}

Rows StationeryLedger::query(const QString &sql, const QVariantList &params) const
{
    return statement(sql).run(params);
}

int StationeryLedger::exec(const QString &sql, const QVariantList &params) { return statement(sql).exec(params); }

QVariant StationeryLedger::scalar(const QString &sql, const QVariantList &params) const
{
    Statement &prepared = statement(sql);
    Rows rows = prepared.run(params);
    const QVariant value = rows.next() ? rows.value(0) : QVariant();
    prepared.finish();
    return value;
}

void StationeryLedger::releaseReads() const
{
    for (const std::shared_ptr<Statement> &prepared : std::as_const(m_statements))
        prepared->finish();
}

// --- what uses a number -------------------------------------------------------------

std::vector<StationeryLedger::Use> StationeryLedger::usesOf(const QString &prefix, long long from, long long to) const
{
    QMap<long long, std::vector<Use>> uses;
    const auto add = [&](long long number, const QString &text, bool held = false) {
        std::vector<Use> &list = uses[number];
        for (const Use &u : list) {
            if (u.text == text)
                return;
        }
        list.push_back({number, text, held});
    };
    const QString low = sheetnumbers::format(prefix, from);
    const QString high = sheetnumbers::format(prefix, to);
    const auto inRange = [&](const QString &certNo) -> std::optional<long long> {
        const auto parsed = sheetnumbers::parse(certNo);
        if (!parsed || !sameCode(parsed->prefix, prefix) || parsed->number < from || parsed->number > to)
            return std::nullopt;
        return parsed->number;
    };
    // The candidates and awards that hold a number, in this convocation or another.
    for (const QString &table : {u"convo"_s, u"rankreg"_s}) {
        Rows rows = query(u"select fregno, fcertno, fconvocode from "_s + table + u" where fcertno between ? and ?"_s,
                          {low, high});
        while (rows.next()) {
            const auto number = inRange(rows.text(1));
            if (!number)
                continue;
            QString text = rows.text(0).trimmed() + u" - "_s + rows.text(1).trimmed();
            if (!sameCode(rows.text(2), m_convoCode))
                text += u" (convocation "_s + rows.text(2).trimmed() + u')';
            if (table == u"rankreg"_s)
                text += u" (rank register)"_s;
            add(*number, text, true);
        }
    }
    Rows sheets = query(u"select fnumber, fstate, fregno, fremarks from certsheet where fprefix = ? and "
                        "fnumber between ? and ?"_s,
                        {prefixValue(prefix), from, to});
    while (sheets.next()) {
        const long long number = sheets.value(0).toLongLong();
        const QString certNo = sheetnumbers::format(prefix, number);
        const QString state = sheets.text(1);
        const QString regno = sheets.text(2).trimmed();
        if (state == stateText(State::Pending))
            add(number, certNo + u" - sent to the printer for Reg. No. "_s + regno + u", never confirmed"_s);
        else if (state == stateText(State::Spoiled))
            add(number, certNo + u" - spoiled sheet"_s);
        else if (state == stateText(State::Void))
            add(number, certNo + u" - void: "_s + (sheets.text(3).isEmpty() ? u"taken back"_s : sheets.text(3)));
        else if (uses.value(number).empty())
            add(number, certNo + u" - printed for Reg. No. "_s + regno);
    }
    // The cancellation register keeps numbers withdrawn before the register kept states.
    Rows cancelled = query(u"select fregno, fcertno from certcan where fcertno between ? and ?"_s, {low, high});
    while (cancelled.next()) {
        const auto number = inRange(cancelled.text(1));
        if (number && uses.value(*number).empty())
            add(*number,
                cancelled.text(1).trimmed() + u" - void: cancelled for Reg. No. "_s + cancelled.text(0).trimmed());
    }
    // The journal of the sheets used before the register kept their states.
    const QString prefixTest =
        prefix.isEmpty() ? m_db.dialect().coalesce(u"fprefix"_s, u"''"_s) + u" = ''"_s : u"fprefix = ?"_s;
    QVariantList params;
    if (!prefix.isEmpty())
        params << prefix;
    params << from << to;
    Rows journal = query(u"select fnumber, foutcome, fregno from stationery where "_s + prefixTest
                             + u" and fnumber between ? and ?"_s,
                         params);
    while (journal.next()) {
        const long long number = journal.value(0).toLongLong();
        // Only for sheets the register has no row for: those used before it kept states.
        if (!uses.value(number).empty())
            continue;
        const QString certNo = sheetnumbers::format(prefix, number);
        const QString outcome = journal.text(1);
        if (outcome == outcomeText(Outcome::Spoiled))
            add(number, certNo + u" - spoiled sheet"_s);
        else if (outcome == outcomeText(Outcome::Cancelled))
            add(number, certNo + u" - void: cancelled"_s);
        else if (outcome == outcomeText(Outcome::Void))
            add(number, certNo + u" - void: taken back"_s);
        else if (outcome == outcomeText(Outcome::Printed))
            add(number, certNo + u" - printed for Reg. No. "_s + journal.text(2).trimmed());
    }
    std::vector<Use> out;
    for (auto it = uses.cbegin(); it != uses.cend(); ++it)
        out.insert(out.end(), it.value().begin(), it.value().end());
    return out;
}

QStringList StationeryLedger::usedNumbers(const QString &prefix, long long from, long long to) const
{
    const auto released = qScopeGuard([this] { releaseReads(); });
    QStringList lines;
    for (const Use &use : usesOf(prefix, from, to))
        lines << use.text;
    return lines;
}

QStringList StationeryLedger::pendingSheets(const QString &prefix) const
{
    const auto released = qScopeGuard([this] { releaseReads(); });
    Rows rows = query(u"select fcertno, fregno, fusername, fworkstation, fdate, ftime, fconvocode, frunid "
                      "from certsheet where fprefix = ? and fstate = ? order by fnumber"_s,
                      {prefixValue(prefix), stateText(State::Pending)});
    struct Line
    {
        QString text;
        QString runId;
        QString workstation;
    };
    std::vector<Line> found;
    while (rows.next())
        found.push_back({rows.text(0).trimmed() + u" (Reg. No. "_s + rows.text(1).trimmed() + u", convocation "_s
                             + rows.text(6).trimmed() + u"): sent to the printer by "_s + rows.text(2) + u" at "_s
                             + rows.text(3) + u" on "_s + formatDmy(rows.date(4)) + u' ' + rows.text(5),
                         rows.text(7), rows.text(3).trimmed()});
    rows.query().finish();
    QStringList lines;
    for (const Line &line : found) {
        const std::optional<Presence::Entry> run =
            line.runId.isEmpty() ? std::nullopt : Presence::live(m_db, line.runId);
        lines << line.text
                     + (run ? u", at the printer on "_s + run->workstation + u" (the run is going on)"_s
                            : u", never confirmed"_s);
    }
    return lines;
}

long long StationeryLedger::nextUnused(const QString &prefix, long long from) const
{
    const auto released = qScopeGuard([this] { releaseReads(); });
    constexpr long long kWindow = 256;
    for (long long start = std::max(0LL, from); start <= sheetnumbers::kHighest; start += kWindow) {
        std::set<long long> taken;
        for (const Use &use : usesOf(prefix, start, start + kWindow - 1))
            taken.insert(use.number);
        for (long long n = start; n < start + kWindow; ++n) {
            if (taken.count(n) == 0)
                return n;
        }
    }
    return sheetnumbers::kHighest + 1;
}

void StationeryLedger::clearRecentCertificates()
{
    WriteScope scope(m_db);
    exec(u"delete from reccert"_s);
    scope.commit();
}

std::optional<StationeryLedger::Sheet> StationeryLedger::sheetRow(const QString &prefix, long long number) const
{
    Rows rows = query(u"select fstate, fcertno, fcerttype, fregno, fdegree, fcollcode, faward, fconvocode, "
                      "frunid, fissuedate, fconvdate, fdate, ftime, fusername, fworkstation, fremarks "
                      "from certsheet where fprefix = ? and fnumber = ?"_s,
                      {prefixValue(prefix), number});
    if (!rows.next())
        return std::nullopt;
    Sheet sheet;
    const QString state = rows.text(0);
    for (State s : {State::Pending, State::Printed, State::Spoiled, State::Void}) {
        if (state == stateText(s))
            sheet.state = s;
    }
    sheet.certNo = rows.text(1).trimmed();
    sheet.certType = rows.text(2).trimmed();
    sheet.holder.kind = isAwardType(sheet.certType) ? SheetHolder::Kind::Award : SheetHolder::Kind::Degree;
    sheet.holder.regno = rows.text(3).trimmed();
    sheet.holder.degree = rows.text(4).trimmed();
    sheet.holder.college = rows.text(5).trimmed();
    sheet.holder.awardKey = rows.text(6);
    if (sheet.holder.kind == SheetHolder::Kind::Award)
        sheet.holder.awardType = awardTypeOf(sheet.certType);
    sheet.convoCode = rows.text(7).trimmed();
    sheet.runId = rows.text(8);
    sheet.issueDate = rows.date(9);
    sheet.convocationDate = rows.date(10);
    sheet.reserved = rows.date(11);
    sheet.reservedTime = rows.text(12);
    sheet.user = rows.text(13);
    sheet.workstation = rows.text(14);
    sheet.remarks = rows.text(15);
    return sheet;
}

// "" while the holder is still to be printed; otherwise why it no longer is.
QString StationeryLedger::holderState(const SheetHolder &holder) const
{
    if (holder.kind == SheetHolder::Kind::Award) {
        const bool rank = holder.awardType == u"RC"_s;
        Rows rows = query(u"select fcertno from rankreg where fregno = ? and fdegree = ? and fcerttype = ? and "
                          "fconvocode = ? and "_s
                              + (rank ? u"frank = ?"_s : u"fsubject = ?"_s),
                          {holder.regno, holder.degree, holder.awardType, m_convoCode, holder.awardKey});
        if (!rows.next())
            return u"the award of "_s + holderName(holder) + u" is no longer in the rank register"_s;
        if (!rows.text(0).trimmed().isEmpty())
            return u"the award of "_s + holderName(holder) + u" was printed on another workstation (certificate "_s
                   + rows.text(0).trimmed() + u')';
        return {};
    }
    Rows rows = query(u"select factive, fcertno from convo where fregno = ? and fdegree = ? and fcollcode = ? "
                      "and fconvocode = ?"_s,
                      {holder.regno, holder.degree, holder.college, m_convoCode});
    if (!rows.next())
        return holderName(holder) + u" is no longer a candidate of degree "_s + holder.degree + u" in convocation "_s
               + m_convoCode;
    if (!rows.text(1).trimmed().isEmpty())
        return holderName(holder) + u" was printed on another workstation (certificate "_s + rows.text(1).trimmed()
               + u')';
    if (rows.text(0).trimmed() != u"T"_s)
        return holderName(holder) + u" was deactivated or withdrawn"_s;
    return {};
}

// A sheet of the holder at a printer, not yet confirmed (another run, or one that died).
QString StationeryLedger::waitingSheet(const SheetHolder &holder) const
{
    return scalar(u"select fcertno from certsheet where fregno = ? and fstate = ? and fdegree = ? and fconvocode = ? "
                  "and "_s
                      + m_db.dialect().coalesce(u"faward"_s, u"''"_s) + u" = ?"_s,
                  {holder.regno, stateText(State::Pending), holder.degree, m_convoCode,
                   holder.kind == SheetHolder::Kind::Award ? holder.awardKey : QStringLiteral("")})
        .toString()
        .trimmed();
}

// --- writing ------------------------------------------------------------------------

void StationeryLedger::journal(const QString &prefix, long long number, const QString &certType,
                               const SheetHolder &holder, Outcome outcome, const QString &remarks)
{
    const QDateTime now = QDateTime::currentDateTime();
    if (!m_journal)
        m_journal = std::make_shared<Statement>(
            m_db.prepare(u"insert into stationery (fprefix, fnumber, fcertno, fregno, fdegree, fcerttype, foutcome, "
                         "fusername, fworkstation, fdate, ftime, fconvocode, fremarks) "
                         "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s));
    const bool numbered = number >= 0;
    m_journal->exec({numbered ? prefixValue(prefix) : QVariant(QMetaType(QMetaType::QString)),
                     numbered ? QVariant(number) : QVariant(QMetaType(QMetaType::LongLong)),
                     numbered ? sheetnumbers::format(prefix, number) : prefix, holder.regno, holder.degree,
                     certType.trimmed().toUpper(), outcomeText(outcome), m_user, m_workstation, now.date(),
                     now.toString(u"hh:mm:ss"_s), m_convoCode, remarks.left(kRemarksWidth)});
}

void StationeryLedger::insertSheet(const QString &prefix, long long number, State state, const QString &certType,
                                   const SheetHolder &holder, const QString &runId, const IssueDetails &issue,
                                   const QString &remarks)
{
    const QDateTime now = QDateTime::currentDateTime();
    exec(u"insert into certsheet (fprefix, fnumber, fcertno, fstate, fcerttype, fregno, fdegree, fcollcode, "
         "faward, fconvocode, fusername, fworkstation, frunid, fissuedate, fconvdate, fdate, ftime, fremarks) "
         "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s,
         {prefixValue(prefix), number, sheetnumbers::format(prefix, number), stateText(state),
          certType.trimmed().toUpper(), holder.regno, holder.degree, holder.college, holder.awardKey, m_convoCode,
          m_user, m_workstation, runId, dateValue(issue.issueDate),
          dateValue(issue.designed ? issue.convocationDate : QDate()), now.date(), now.toString(u"hh:mm:ss"_s),
          remarks.left(kRemarksWidth)});
}

void StationeryLedger::setState(const QString &prefix, long long number, State state, const QString &remarks)
{
    exec(u"update certsheet set fstate = ?, fremarks = ? where fprefix = ? and fnumber = ?"_s,
         {stateText(state), remarks.left(kRemarksWidth), prefixValue(prefix), number});
}

int StationeryLedger::storeOnHolder(const SheetHolder &holder, const QString &certNo, const IssueDetails &issue,
                                    const QDateTime &printed)
{
    const QString unprinted = m_db.dialect().coalesce(u"fcertno"_s, u"''"_s) + u" = ''"_s;
    if (holder.kind == SheetHolder::Kind::Award) {
        const bool rank = holder.awardType == u"RC"_s;
        return exec(u"update rankreg set fcertno = ?, fdate = ?, fprintdate = ?, fprinttime = ?, fprintedby = ? "
                    "where fregno = ? and fdegree = ? and fcerttype = ? and fconvocode = ? and "_s
                        + (rank ? u"frank = ?"_s : u"fsubject = ?"_s) + u" and "_s + unprinted,
                    {certNo, dateValue(issue.issueDate), printed.date(), printed.toString(u"hh:mm:ss AP"_s), m_user,
                     holder.regno, holder.degree, holder.awardType, m_convoCode, holder.awardKey});
    }
    const QString where = u" where fregno = ? and fdegree = ? and fcollcode = ? and convo.fconvocode = ? and "_s
                          + unprinted + u" and factive = 'T'"_s;
    if (issue.designed) {
        const int changed = exec(u"update convo set fcertno = ?, fdate = ?, fconvdate = ?, fprintedby = ?"_s + where,
                                 {certNo, dateValue(issue.issueDate), dateValue(issue.convocationDate), m_user,
                                  holder.regno, holder.degree, holder.college, m_convoCode});
        if (changed > 0)
            exec(u"insert into reccert (fdegree, fcollcode, fregno, fcertno) values (?, ?, ?, ?)"_s,
                 {holder.degree, holder.college, holder.regno, certNo});
        return changed;
    }
    return exec(u"update convo set fcertno = ?, fdate = ?, fprintdate = ?, fprinttime = ?, fprintedby = ?"_s + where,
                {certNo, dateValue(issue.issueDate), printed.date(), printed.toString(u"hh:mm:ss AP"_s), m_user,
                 holder.regno, holder.degree, holder.college, m_convoCode});
}

void StationeryLedger::refuseUsed(const QString &certNo, const QStringList &uses) const
{
    throw StopError(u"Certificate No. "_s + certNo + u" is used already:\n"_s + uses.join(u'\n')
                        + u"\nA number printed on a sheet belongs to that sheet for ever."_s,
                    PromptIcon::Exclamation);
}

void StationeryLedger::checkStillOurs(const Reservation &sheet) const
{
    const QString runId = scalar(u"select frunid from certsheet where fprefix = ? and fnumber = ?"_s,
                                 {prefixValue(sheet.prefix), sheet.number})
                              .toString();
    if (runId != sheet.runId)
        refuseReplaced(sheet);
}

void StationeryLedger::refuseReplaced(const Reservation &sheet) const
{
    throw StopError(u"The register no longer holds certificate "_s + sheet.certNo
                        + u", which this run used: the database was replaced (restored from a backup?) while the "
                          "run was going on. The run stops here; compare the register (stationery) with the "
                          "sheets printed before printing again."_s,
                    PromptIcon::Critical);
}

QString StationeryLedger::atPrinter(const Sheet &sheet) const
{
    if (sheet.state != State::Pending || sheet.runId.isEmpty())
        return {};
    const std::optional<Presence::Entry> run = Presence::live(m_db, sheet.runId);
    if (!run)
        return {};
    return u"is at the printer on "_s + run->workstation + u" (a run of "_s + run->user + u" that is going on)"_s;
}

StationeryLedger::ReserveResult StationeryLedger::reserve(const QString &prefix, long long number,
                                                          const QString &certType, const SheetHolder &holder,
                                                          const IssueDetails &issue)
{
    const auto released = qScopeGuard([this] { releaseReads(); });
    if (m_db.transactionDepth() > 0)
        throw std::logic_error("a sheet is reserved in a transaction of its own");
    const QString certNo = sheetnumbers::format(prefix, number);
    const QString runId = m_lastReserved ? m_lastReserved->runId : QUuid::createUuid().toString(QUuid::WithoutBraces);
    // The run's sheets at the printer are its own while it lives: no other workstation
    // settles them meanwhile.
    if (!m_runLease)
        m_runLease = Presence::hold(m_db, Presence::Kind::Run, runId, m_user, u"printing run"_s);
    bool duplicate = false;
    ReserveResult result = withRetry([&] {
        WriteScope scope(m_db);
        beginWrite();
        Presence::refuseWhileRestoring(m_db);
        if (m_lastReserved)
            checkStillOurs(*m_lastReserved);
        ReserveResult r;
        r.passedOver = holderState(holder);
        if (r.passedOver.isEmpty()) {
            const QString waiting = waitingSheet(holder);
            if (!waiting.isEmpty())
                r.passedOver = holderName(holder) + u" has sheet "_s + waiting
                               + u" at a printer, not yet confirmed: settle that sheet first"_s;
        }
        if (!r.passedOver.isEmpty()) {
            scope.commit();
            return r;
        }
        const std::vector<Use> uses = usesOf(prefix, number, number);
        if (!uses.empty()) {
            QStringList lines;
            for (const Use &u : uses)
                lines << u.text;
            refuseUsed(certNo, lines);
        }
        try {
            insertSheet(prefix, number, State::Pending, certType, holder, runId, issue, {});
        } catch (const DbError &e) {
            if (e.kind() != DbErrorKind::Duplicate)
                throw;
            duplicate = true;
            return r;
        }
        const StatusRegister::Entry place = m_places.assign(certNo, holder.regno, holder.degree, statusKind(holder));
        scope.commit();
        r.sheet =
            Reservation{prefix, number, certNo, certType.trimmed().toUpper(), holder, runId, place.list, place.index};
        return r;
    });
    // Another workstation took the number between the check and the insert.
    if (duplicate)
        refuseUsed(certNo, usedNumbers(prefix, number, number));
    if (result.sheet)
        m_lastReserved = result.sheet;
    return result;
}

QString StationeryLedger::confirm(const Reservation &sheet, const IssueDetails &issue)
{
    const auto released = qScopeGuard([this] { releaseReads(); });
    return withRetry([&]() -> QString {
        WriteScope scope(m_db);
        beginWrite();
        const std::optional<Sheet> row = sheetRow(sheet.prefix, sheet.number);
        if (!row || row->runId != sheet.runId)
            refuseReplaced(sheet);
        if (row->state != State::Pending) {
            scope.commit();
            return u"another workstation registered certificate "_s + sheet.certNo + u" as "_s + stateText(row->state)
                   + u" meanwhile"_s;
        }
        const QDateTime now = QDateTime::currentDateTime();
        if (storeOnHolder(sheet.holder, sheet.certNo, issue, now) == 0) {
            const QString why = holderState(sheet.holder);
            const QString reason = why.isEmpty() ? holderName(sheet.holder) + u" could not be given the number"_s : why;
            setState(sheet.prefix, sheet.number, State::Spoiled, reason);
            journal(sheet.prefix, sheet.number, sheet.certType, sheet.holder, Outcome::Spoiled, reason);
            m_places.revoke(sheet.certNo, sheet.holder.regno, sheet.holder.degree, u"spoiled sheet: "_s + reason,
                            statusKind(sheet.holder));
            scope.commit();
            return reason;
        }
        const int settled = exec(u"update certsheet set fstate = ? where fprefix = ? and fnumber = ? and "
                                 "fstate = ? and frunid = ?"_s,
                                 {stateText(State::Printed), prefixValue(sheet.prefix), sheet.number,
                                  stateText(State::Pending), sheet.runId});
        if (settled == 0) {
            // Settled by another workstation between the read and now: nothing of this is kept.
            return u"another workstation settled certificate "_s + sheet.certNo + u" meanwhile"_s;
        }
        journal(sheet.prefix, sheet.number, sheet.certType, sheet.holder, Outcome::Printed, {});
        m_places.supersede(sheet.holder.regno, sheet.holder.degree, statusKind(sheet.holder), sheet.certNo);
        scope.commit();
        return QString();
    });
}

void StationeryLedger::spoil(const Reservation &sheet, const QString &reason)
{
    const auto released = qScopeGuard([this] { releaseReads(); });
    withRetry([&] {
        WriteScope scope(m_db);
        beginWrite();
        const int changed = exec(u"update certsheet set fstate = ?, fremarks = ? where fprefix = ? and "
                                 "fnumber = ? and fstate = ? and frunid = ?"_s,
                                 {stateText(State::Spoiled), reason.left(kRemarksWidth), prefixValue(sheet.prefix),
                                  sheet.number, stateText(State::Pending), sheet.runId});
        if (changed > 0) {
            journal(sheet.prefix, sheet.number, sheet.certType, sheet.holder, Outcome::Spoiled, reason);
            m_places.revoke(sheet.certNo, sheet.holder.regno, sheet.holder.degree, u"spoiled sheet: "_s + reason,
                            statusKind(sheet.holder));
        }
        scope.commit();
    });
}

void StationeryLedger::recordEarlierSheet(const QString &prefix, long long number, State state, const QString &certType,
                                          const SheetHolder &holder, const QString &remarks)
{
    const auto released = qScopeGuard([this] { releaseReads(); });
    WriteScope scope(m_db);
    insertSheet(prefix, number, state, certType, holder, {}, {}, remarks);
    const Outcome outcome = state == State::Printed   ? Outcome::Printed
                            : state == State::Spoiled ? Outcome::Spoiled
                                                      : Outcome::Cancelled;
    journal(prefix, number, certType, holder, outcome, remarks);
    scope.commit();
}

void StationeryLedger::recordPassedOver(const SheetHolder &holder, const QString &certType, const QString &reason)
{
    const auto released = qScopeGuard([this] { releaseReads(); });
    WriteScope scope(m_db);
    journal({}, -1, certType, holder, Outcome::Skipped, reason);
    scope.commit();
}

// --- registering and settling after a run ---------------------------------------------

QStringList StationeryLedger::planSpoiled(const QString &prefix, const std::vector<long long> &numbers) const
{
    const auto released = qScopeGuard([this] { releaseReads(); });
    QStringList lines;
    for (const long long number : numbers) {
        const QString certNo = sheetnumbers::format(prefix, number);
        const auto refuse = [&](const QString &why) {
            throw StopError(u"Certificate No. "_s + certNo + u' ' + why
                                + u" Nothing is registered; correct the list and register it again."_s,
                            PromptIcon::Exclamation);
        };
        if (prefix.contains(u' '))
            throw StopError(u"The certificate prefix \""_s + prefix
                                + u"\" contains a blank: prefixes hold no blanks."_s,
                            PromptIcon::Exclamation);
        const std::optional<Sheet> row = sheetRow(prefix, number);
        if (row) {
            switch (row->state) {
            case State::Spoiled: refuse(u"is already registered as spoiled."_s); break;
            case State::Void:
                refuse(u"was printed for Reg. No. "_s + row->holder.regno
                       + u" and taken back since: the sheet is accounted for already."_s);
                break;
            case State::Pending:
                if (const QString printing = atPrinter(*row); !printing.isEmpty())
                    refuse(printing + u": that run confirms or spoils it."_s);
                lines << certNo + u": sent to the printer for Reg. No. "_s + row->holder.regno
                             + u" and never confirmed; the sheet is registered as spoiled"_s;
                continue;
            case State::Printed: break;
            }
            if (!sameCode(row->convoCode, m_convoCode))
                refuse(u"was printed for Reg. No. "_s + row->holder.regno + u" of convocation "_s + row->convoCode
                       + u": register it logged in to that convocation."_s);
        }
        // Who holds the number now (a sheet printed before the register kept states has no row).
        QString holder;
        QString holderConvo;
        for (const QString &table : {u"convo"_s, u"rankreg"_s}) {
            Rows rows = query(u"select fregno, fconvocode from "_s + table + u" where fcertno = ?"_s, {certNo});
            while (rows.next()) {
                holder = rows.text(0).trimmed();
                holderConvo = rows.text(1).trimmed();
            }
        }
        if (!holder.isEmpty() && !sameCode(holderConvo, m_convoCode))
            refuse(u"is held by Reg. No. "_s + holder + u" of convocation "_s + holderConvo
                   + u": register it logged in to that convocation."_s);
        if (holder.isEmpty()) {
            if (row)
                refuse(u"was printed for Reg. No. "_s + row->holder.regno
                       + u", who no longer holds it: the sheet is accounted for already."_s);
            for (const QString &use : usedNumbers(prefix, number, number)) {
                if (use.contains(u"spoiled sheet"_s))
                    refuse(u"is already registered as spoiled."_s);
                refuse(u"was used already ("_s + use + u"): the sheet is accounted for already."_s);
            }
            lines << certNo + u": no candidate holds it; the sheet is registered as spoiled"_s;
            continue;
        }
        lines << certNo + u": taken back from Reg. No. "_s + holder
                     + u", who prints again on a new sheet; the sheet is registered as spoiled"_s;
    }
    return lines;
}

QStringList StationeryLedger::registerSpoiled(const QString &prefix, const std::vector<long long> &numbers,
                                              const QString &reason)
{
    const auto released = qScopeGuard([this] { releaseReads(); });
    WriteScope scope(m_db);
    beginWrite();
    const QStringList lines = planSpoiled(prefix, numbers);
    for (const long long number : numbers) {
        const QString certNo = sheetnumbers::format(prefix, number);
        std::optional<Sheet> row = sheetRow(prefix, number);
        QString remarks = reason.trimmed();
        SheetHolder holder;
        QString certType;
        if (row) {
            holder = row->holder;
            certType = row->certType;
        }
        if (!row || row->state == State::Printed) {
            // Take the number back from whoever holds it, degree certificate or award.
            Rows rows = query(u"select fregno, fdegree, fcollcode from convo where fcertno = ? and fconvocode = ?"_s,
                              {certNo, m_convoCode});
            if (rows.next()) {
                holder.regno = rows.text(0).trimmed();
                holder.degree = rows.text(1).trimmed();
                holder.college = rows.text(2).trimmed();
                exec(u"update convo set fcertno = null, fdate = null where fregno = ? and fcertno = ? and "
                     "fconvocode = ?"_s,
                     {holder.regno, certNo, m_convoCode});
                exec(u"delete from reccert where fregno = ? and fcertno = ?"_s, {holder.regno, certNo});
            } else if (const QString award = scalar(u"select fregno from rankreg where fcertno = ? and "
                                                    "fconvocode = ?"_s,
                                                    {certNo, m_convoCode})
                                                 .toString()
                                                 .trimmed();
                       !award.isEmpty()) {
                holder.regno = award;
                exec(u"update rankreg set fcertno = null, fprintdate = null, fprinttime = null, "
                     "fprintedby = null where fcertno = ? and fconvocode = ?"_s,
                     {certNo, m_convoCode});
            }
            if (!holder.regno.isEmpty() && (!row || row->state == State::Printed))
                remarks =
                    (remarks.isEmpty() ? QString() : remarks + u"; "_s) + u"taken back from Reg. No. "_s + holder.regno;
        }
        if (row)
            setState(prefix, number, State::Spoiled, remarks);
        else
            insertSheet(prefix, number, State::Spoiled, certType, holder, {}, {}, remarks);
        // A sheet that reached a printer may carry a signed code: the lists say it is void.
        if (row || !holder.regno.isEmpty())
            m_places.revoke(certNo, holder.regno, holder.degree,
                            u"spoiled sheet"_s + (remarks.isEmpty() ? QString() : u": "_s + remarks),
                            statusKind(holder));
        journal(prefix, number, certType, holder, Outcome::Spoiled, remarks);
        // A change to the register after the run, by a clerk: the audit trail names who.
        AuditTrail(m_db).record(m_user, {u"certificates"_s, u"spoil"_s, u"certsheet"_s, certNo,
                                         row ? u"state="_s + stateText(row->state) : u"state=never used"_s,
                                         u"state=spoiled; "_s + remarks});
    }
    scope.commit();
    return lines;
}

QStringList StationeryLedger::settle(const QString &prefix, const std::vector<long long> &numbers, bool printed,
                                     const QString &reason)
{
    const auto released = qScopeGuard([this] { releaseReads(); });
    WriteScope scope(m_db);
    beginWrite();
    std::vector<Sheet> sheets;
    for (const long long number : numbers) {
        const QString certNo = sheetnumbers::format(prefix, number);
        const std::optional<Sheet> row = sheetRow(prefix, number);
        if (!row || row->state != State::Pending)
            throw StopError(u"Certificate No. "_s + certNo + u" is not waiting for confirmation ("_s
                                + (row ? u"it is "_s + stateText(row->state) : u"it was never used"_s)
                                + u"). Nothing is settled."_s,
                            PromptIcon::Exclamation);
        if (const QString printing = atPrinter(*row); !printing.isEmpty())
            throw StopError(u"Certificate No. "_s + certNo + u' ' + printing
                                + u": that run confirms or spoils it. Nothing is settled."_s,
                            PromptIcon::Exclamation);
        if (!sameCode(row->convoCode, m_convoCode))
            throw StopError(u"Certificate No. "_s + certNo + u" was sent to the printer for convocation "_s
                                + row->convoCode + u": settle it logged in to that convocation. Nothing is settled."_s,
                            PromptIcon::Exclamation);
        if (printed) {
            const QString why = holderState(row->holder);
            if (!why.isEmpty())
                throw StopError(u"Certificate No. "_s + certNo + u" cannot be stored: "_s + why
                                    + u". Settle it as spoiled. Nothing is settled."_s,
                                PromptIcon::Exclamation);
        }
        sheets.push_back(*row);
    }
    QStringList lines;
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        const Sheet &sheet = sheets[i];
        const long long number = numbers[i];
        const QString who =
            u"settled by "_s + m_user + (reason.trimmed().isEmpty() ? QString() : u": "_s + reason.trimmed());
        AuditTrail(m_db).record(m_user, {u"certificates"_s, printed ? u"settle printed"_s : u"settle spoiled"_s,
                                         u"certsheet"_s, sheet.certNo, u"state=pending"_s,
                                         (printed ? u"state=printed; "_s : u"state=spoiled; "_s) + who});
        if (printed) {
            IssueDetails issue;
            issue.issueDate = sheet.issueDate;
            issue.designed = sheet.convocationDate.isValid();
            issue.convocationDate = sheet.convocationDate;
            const QDateTime sent(sheet.reserved, QTime::fromString(sheet.reservedTime, u"hh:mm:ss"_s));
            if (storeOnHolder(sheet.holder, sheet.certNo, issue, sent) == 0)
                throw StopError(u"Certificate No. "_s + sheet.certNo + u" could not be stored on Reg. No. "_s
                                    + sheet.holder.regno + u". Nothing is settled."_s,
                                PromptIcon::Exclamation);
            setState(prefix, number, State::Printed, who);
            journal(prefix, number, sheet.certType, sheet.holder, Outcome::Printed, who);
            m_places.supersede(sheet.holder.regno, sheet.holder.degree, statusKind(sheet.holder), sheet.certNo);
            lines << sheet.certNo + u": printed for Reg. No. "_s + sheet.holder.regno + u"; the number is stored"_s;
        } else {
            setState(prefix, number, State::Spoiled, who);
            journal(prefix, number, sheet.certType, sheet.holder, Outcome::Spoiled, who);
            m_places.revoke(sheet.certNo, sheet.holder.regno, sheet.holder.degree, u"spoiled sheet: "_s + who,
                            statusKind(sheet.holder));
            lines << sheet.certNo + u": spoiled; Reg. No. "_s + sheet.holder.regno + u" prints again on a new sheet"_s;
        }
    }
    scope.commit();
    return lines;
}

// --- taking numbers back ----------------------------------------------------------------

void StationeryLedger::voidNumber(const QString &certNo, const SheetHolder &holder, Outcome outcome,
                                  const QString &remarks)
{
    const auto parsed = sheetnumbers::parse(certNo);
    if (!parsed) {
        // A number typed by hand long ago, not of the stationery's form: only the journal keeps it.
        journal(certNo, -1, {}, holder, outcome, remarks);
        return;
    }
    const QString note = outcomeText(outcome).toLower() + (remarks.isEmpty() ? QString() : u": "_s + remarks);
    // Revoked in the same transaction that takes the number back.
    m_places.revoke(certNo, holder.regno, holder.degree, note, statusKind(holder));
    if (exec(u"update certsheet set fstate = ?, fremarks = ? where fprefix = ? and fnumber = ?"_s,
             {stateText(State::Void), note.left(kRemarksWidth), prefixValue(parsed->prefix), parsed->number})
        == 0)
        insertSheet(parsed->prefix, parsed->number, State::Void, {}, holder, {}, {}, note);
    journal(parsed->prefix, parsed->number, {}, holder, outcome, remarks);
}

bool StationeryLedger::cancel(const QString &certNo, const QString &regno, const QString &degree, const QString &reason)
{
    const auto released = qScopeGuard([this] { releaseReads(); });
    WriteScope scope(m_db);
    // The number test makes the cancellation of a number that moved on change nothing.
    if (exec(u"update convo set fcertno = null, fdate = null where fregno = ? and fcertno = ? and "
             "fconvocode = ?"_s,
             {regno, certNo, m_convoCode})
        == 0) {
        scope.commit(); // nothing was written; the caller's transaction stays whole
        return false;
    }
    SheetHolder holder;
    holder.regno = regno;
    holder.degree = degree;
    voidNumber(certNo, holder, Outcome::Cancelled, reason);
    AuditTrail(m_db).record(m_user, {u"certificates"_s, u"cancel"_s, u"convo"_s, regno + u' ' + degree,
                                     u"fcertno="_s + certNo, u"fcertno=; reason="_s + reason});
    scope.commit();
    return true;
}

bool StationeryLedger::takeBack(const QString &certNo, const QString &regno)
{
    const auto released = qScopeGuard([this] { releaseReads(); });
    WriteScope scope(m_db);
    const int cleared =
        exec(u"update convo set fcertno = null, fdate = null where fregno = ? and fcertno = ?"_s, {regno, certNo});
    if (cleared > 0) {
        SheetHolder holder;
        holder.regno = regno;
        voidNumber(certNo, holder, Outcome::Void, u"taken back on Recent Certificates"_s);
        AuditTrail(m_db).record(
            m_user, {u"certificates"_s, u"take back"_s, u"convo"_s, regno, u"fcertno="_s + certNo, u"fcertno="_s});
    }
    exec(u"delete from reccert where fregno = ? and fcertno = ?"_s, {regno, certNo});
    scope.commit();
    return cleared > 0;
}

bool StationeryLedger::rewrite(const QString &regno, const QString &degree, const QString &college,
                               const QString &numberRead, const QString &newNumber)
{
    const auto released = qScopeGuard([this] { releaseReads(); });
    const QString wanted = newNumber.trimmed();
    const QString read = numberRead.trimmed();
    if (wanted == read)
        return true;
    std::optional<sheetnumbers::Parsed> parsed;
    if (!wanted.isEmpty()) {
        parsed = sheetnumbers::parse(wanted);
        if (!parsed)
            throw StopError(u"\""_s + wanted
                                + u"\" is not a certificate number: a number is the prefix followed by "
                                  "six digits, as the sheets carry it (DC000123)."_s,
                            PromptIcon::Exclamation);
        const QStringList uses = usedNumbers(parsed->prefix, parsed->number, parsed->number);
        if (!uses.isEmpty())
            throw StopError(u"Certificate No. "_s + wanted + u" is used already:\n"_s + uses.join(u'\n')
                                + u"\nOnly a number no sheet has used can be stored."_s,
                            PromptIcon::Exclamation);
    }
    WriteScope scope(m_db);
    if (exec(u"update convo set fcertno = ? where fregno = ? and convo.fconvocode = ? and "_s
                 + m_db.dialect().coalesce(u"fcertno"_s, u"''"_s) + u" = ?"_s,
             {wanted.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(wanted), regno, m_convoCode,
              QVariant(read.isEmpty() ? QStringLiteral("") : read)})
        == 0) {
        // Another workstation changed the number since it was read: nothing is written.
        scope.commit();
        return false;
    }
    SheetHolder holder;
    holder.regno = regno;
    holder.degree = degree;
    holder.college = college;
    if (!read.isEmpty())
        voidNumber(read, holder, Outcome::Void,
                   wanted.isEmpty() ? QString(u"taken back by "_s + m_user)
                                    : QString(u"replaced by "_s + m_user + u" with "_s + wanted));
    if (parsed) {
        const QString note = u"stored by "_s + m_user + (read.isEmpty() ? QString() : u" in place of "_s + read);
        try {
            insertSheet(parsed->prefix, parsed->number, State::Printed, {}, holder, {}, {}, note);
        } catch (const DbError &e) {
            if (e.kind() == DbErrorKind::Duplicate)
                throw StopError(u"Certificate No. "_s + wanted + u" was used on another workstation meanwhile."_s,
                                PromptIcon::Exclamation);
            throw;
        }
        journal(parsed->prefix, parsed->number, {}, holder, Outcome::Printed, note);
    }
    AuditTrail(m_db).record(m_user,
                            {u"certificates"_s, u"rewrite"_s, u"convo"_s, regno + u' ' + degree + u' ' + college,
                             u"fcertno="_s + read, u"fcertno="_s + wanted});
    scope.commit();
    return true;
}

// --- the session's authority ------------------------------------------------------------

namespace {

class LedgerAuthority final : public CertificateNumberAuthority
{
public:
    explicit LedgerAuthority(Session &session)
        : m_session(session)
    {
    }
    bool rewrite(const Rewrite &r) override
    {
        StationeryLedger ledger(m_session.db(), m_session.convoCode, m_session.userName, workstationName());
        return ledger.rewrite(r.regno, r.degree, r.college, r.numberRead, r.newNumber);
    }

private:
    static QString workstationName() { return Presence::workstation(); }
    Session &m_session;
};

} // namespace

void installNumberAuthority(Session &session) { session.numberAuthority = std::make_unique<LedgerAuthority>(session); }

} // namespace sw
