// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/printing/stationeryreport.h"
#include "shell/core/dates.h"

#include "certificates/printing/sheetnumbers.h"
#include "certificates/printing/stationeryledger.h"
#include "shell/db/database.h"
#include "shell/db/presence.h"

#include <QMap>
#include <QSet>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

constexpr int kNumberColumn = 12;

QString outcome(StationeryLedger::Outcome o) { return StationeryLedger::outcomeText(o); }

QString state(StationeryLedger::State s) { return StationeryLedger::stateText(s); }

QVariant prefixValue(const QString &prefix)
{
    return prefix.isEmpty() ? QVariant(QStringLiteral("")) : QVariant(prefix);
}

} // namespace

struct StationeryReport::Number
{
    long long number = 0;
    QString certNo;
    QStringList history;
    QString state; // "" when the number was never used
    int uses = 0;
    // Printed, yet nobody holds the number: the database was restored from a backup taken
    // before the sheet was printed, and the candidate shows it unprinted.
    bool unheld = false;
};

StationeryReport::StationeryReport(const Database &db)
    : m_db(db)
{
}

std::vector<StationeryReport::Number> StationeryReport::read(const QString &prefix, long long from, long long to) const
{
    QMap<long long, QStringList> history;
    QMap<long long, QString> lastOutcome;
    QMap<long long, int> journalSheets;
    // A sheet printed for a candidate and later spoiled (taken back from the same
    // candidate) is one sheet, not two.
    QMap<long long, QSet<QString>> printedFor;
    // Sheets printed without a prefix may be journaled with none (null).
    const QString prefixTest =
        prefix.isEmpty() ? m_db.dialect().coalesce(u"fprefix"_s, u"''"_s) + u" = ''"_s : u"fprefix = ?"_s;
    QVariantList params;
    if (!prefix.isEmpty())
        params << prefix;
    params << from << to;
    Rows journal = m_db.query(u"select fnumber, fcertno, foutcome, fregno, fdegree, fcerttype, fusername, "
                              "fworkstation, fdate, ftime, fremarks from stationery where "_s
                                  + prefixTest + u" and fnumber between ? and ? order by fnumber, fdate, ftime"_s,
                              params);
    while (journal.next()) {
        const long long number = journal.value(0).toLongLong();
        QString line = journal.text(1).leftJustified(kNumberColumn) + u' ' + journal.text(2).leftJustified(8) + u' '
                       + journal.text(3).leftJustified(10) + u' ' + journal.text(4).leftJustified(5)
                       + (journal.text(5).isEmpty() ? u"        "_s : u" type "_s + journal.text(5).leftJustified(2))
                       + u' ' + journal.text(6) + u'@' + journal.text(7) + u' ' + formatDmy(journal.date(8)) + u' '
                       + journal.text(9);
        if (!journal.text(10).isEmpty())
            line += u" ("_s + journal.text(10) + u')';
        history[number].append(line);
        const QString what = journal.text(2);
        const QString regno = journal.text(3).trimmed();
        if (what == outcome(StationeryLedger::Outcome::Skipped))
            continue;
        lastOutcome[number] = what;
        if (what == outcome(StationeryLedger::Outcome::Printed)) {
            printedFor[number].insert(regno);
            ++journalSheets[number];
        } else if (what == outcome(StationeryLedger::Outcome::Spoiled)
                   && !(!regno.isEmpty() && printedFor[number].contains(regno))) {
            ++journalSheets[number];
        }
    }
    QMap<long long, QString> sheetState;
    Rows sheets = m_db.query(u"select fnumber, fstate, fregno, fusername, fworkstation, fdate, ftime, fconvocode, "
                             "frunid from certsheet where fprefix = ? and fnumber between ? and ?"_s,
                             {prefixValue(prefix), from, to});
    QMap<long long, QString> pendingRuns;
    while (sheets.next()) {
        const long long number = sheets.value(0).toLongLong();
        sheetState[number] = sheets.text(1);
        if (sheets.text(1) == state(StationeryLedger::State::Pending)) {
            history[number].append(sheetnumbers::format(prefix, number).leftJustified(kNumberColumn) + u' '
                                   + u"PENDING  "_s + sheets.text(2).trimmed().leftJustified(10)
                                   + u" sent to the printer by "_s + sheets.text(3) + u'@' + sheets.text(4) + u' '
                                   + formatDmy(sheets.date(5)) + u' ' + sheets.text(6) + u" (convocation "_s
                                   + sheets.text(7).trimmed() + u')');
            pendingRuns[number] = sheets.text(8);
        }
    }
    sheets.query().finish();
    // A sheet of a run still going on is at its printer; the others were never confirmed.
    for (auto it = pendingRuns.cbegin(); it != pendingRuns.cend(); ++it) {
        const auto run = it.value().isEmpty() ? std::nullopt : Presence::live(m_db, it.value());
        history[it.key()].last() +=
            run ? u", at the printer on "_s + run->workstation + u" (the run is going on)"_s : u", never confirmed"_s;
    }
    // Who holds each number now, in every convocation.
    QMap<long long, int> holders;
    for (const QString &table : {u"convo"_s, u"rankreg"_s}) {
        Rows rows = m_db.query(u"select fcertno from "_s + table + u" where fcertno between ? and ?"_s,
                               {sheetnumbers::format(prefix, from), sheetnumbers::format(prefix, to)});
        while (rows.next()) {
            const auto parsed = sheetnumbers::parse(rows.text(0));
            if (parsed && parsed->prefix.compare(prefix, Qt::CaseInsensitive) == 0 && parsed->number >= from
                && parsed->number <= to)
                ++holders[parsed->number];
        }
    }
    // Numbers withdrawn before the register kept states are in the cancellation register.
    QMap<long long, QString> cancelledFor;
    Rows cancelled = m_db.query(u"select fregno, fcertno, fremarks from certcan where fcertno between ? and ?"_s,
                                {sheetnumbers::format(prefix, from), sheetnumbers::format(prefix, to)});
    while (cancelled.next()) {
        const auto parsed = sheetnumbers::parse(cancelled.text(1));
        if (parsed && parsed->prefix.compare(prefix, Qt::CaseInsensitive) == 0 && parsed->number >= from
            && parsed->number <= to)
            cancelledFor[parsed->number] = cancelled.text(0).trimmed() + u" ("_s + cancelled.text(2) + u')';
    }
    std::vector<Number> out;
    out.reserve(std::size_t(to - from + 1));
    for (long long n = from; n <= to; ++n) {
        Number number;
        number.number = n;
        number.certNo = sheetnumbers::format(prefix, n);
        number.history = history.value(n);
        if (sheetState.contains(n)) {
            number.state = sheetState.value(n);
        } else if (lastOutcome.contains(n)) {
            const QString last = lastOutcome.value(n);
            number.state =
                last == outcome(StationeryLedger::Outcome::Cancelled) ? state(StationeryLedger::State::Void) : last;
        } else if (holders.value(n) > 0) {
            number.state = state(StationeryLedger::State::Printed);
            number.history.append(number.certNo.leftJustified(kNumberColumn)
                                  + u" PRINTED  held by a candidate; no register line"_s);
        } else if (cancelledFor.contains(n)) {
            number.state = state(StationeryLedger::State::Void);
            number.history.append(number.certNo.leftJustified(kNumberColumn) + u" VOID     cancelled for Reg. No. "_s
                                  + cancelledFor.value(n));
        }
        number.uses = std::max({journalSheets.value(n), holders.value(n), number.state.isEmpty() ? 0 : 1});
        if (number.state == state(StationeryLedger::State::Printed) && holders.value(n) == 0) {
            number.unheld = true;
            number.history.append(number.certNo.leftJustified(kNumberColumn)
                                  + u" PRINTED  but no candidate holds the number (the database restored from an "
                                    "earlier backup, or the candidate removed)"_s);
        }
        out.push_back(std::move(number));
    }
    return out;
}

QStringList StationeryReport::lines(const QString &prefix, long long from, long long to, Counts *counts) const
{
    Counts c;
    QStringList out;
    QStringList gaps;
    long long gapStart = -1;
    const auto closeGap = [&](long long end) {
        if (gapStart < 0)
            return;
        gaps << (gapStart == end ? sheetnumbers::format(prefix, gapStart)
                                 : sheetnumbers::format(prefix, gapStart) + u'-' + sheetnumbers::format(prefix, end));
        gapStart = -1;
    };
    for (const Number &n : read(prefix, from, to)) {
        if (n.state.isEmpty()) {
            out << n.certNo.leftJustified(kNumberColumn) + u" NEVER USED"_s;
            ++c.unused;
            if (gapStart < 0)
                gapStart = n.number;
            continue;
        }
        closeGap(n.number - 1);
        out << n.history;
        if (n.state == state(StationeryLedger::State::Printed))
            ++c.printed;
        else if (n.state == state(StationeryLedger::State::Spoiled))
            ++c.spoiled;
        else if (n.state == state(StationeryLedger::State::Pending))
            ++c.pending;
        else
            ++c.voided;
        if (n.uses > 1) {
            out << n.certNo.leftJustified(kNumberColumn) + u" USED "_s + QString::number(n.uses) + u" TIMES"_s;
            ++c.usedTwice;
        }
    }
    closeGap(to);
    if (!gaps.isEmpty())
        out << u"Never used: "_s + gaps.join(u", "_s);
    out << QStringLiteral(
               "%1 numbers: %2 printed, %3 spoiled, %4 void, %5 pending, %6 never used; %7 used more than once")
               .arg(to - from + 1)
               .arg(c.printed)
               .arg(c.spoiled)
               .arg(c.voided)
               .arg(c.pending)
               .arg(c.unused)
               .arg(c.usedTwice);
    if (counts)
        *counts = c;
    return out;
}

QStringList StationeryReport::reconcile(const QString &prefix, long long from, long long to, bool *accounted) const
{
    const std::vector<Number> numbers = read(prefix, from, to);
    Counts c;
    long long lastUsed = -1;
    for (const Number &n : numbers) {
        if (!n.state.isEmpty())
            lastUsed = n.number;
    }
    QStringList pending;
    QStringList twice;
    QStringList gaps;
    QStringList unheld;
    for (const Number &n : numbers) {
        if (n.unheld)
            unheld << n.certNo;
        if (n.state.isEmpty()) {
            ++c.unused;
            if (n.number < lastUsed)
                gaps << n.certNo;
            continue;
        }
        if (n.state == state(StationeryLedger::State::Printed))
            ++c.printed;
        else if (n.state == state(StationeryLedger::State::Spoiled))
            ++c.spoiled;
        else if (n.state == state(StationeryLedger::State::Pending)) {
            ++c.pending;
            pending << n.certNo;
        } else
            ++c.voided;
        if (n.uses > 1) {
            ++c.usedTwice;
            twice << n.certNo;
        }
    }
    QStringList out;
    out << u"Received "_s + sheetnumbers::format(prefix, from) + u" to "_s + sheetnumbers::format(prefix, to) + u": "_s
               + QString::number(to - from + 1) + u" sheets"_s;
    out << QStringLiteral("  printed %1, spoiled %2, void %3, pending %4, in stock (never used) %5")
               .arg(c.printed)
               .arg(c.spoiled)
               .arg(c.voided)
               .arg(c.pending)
               .arg(c.unused);
    if (!pending.isEmpty())
        out << u"  sent to the printer and never confirmed (settle each): "_s + pending.join(u", "_s);
    if (!twice.isEmpty())
        out << u"  used more than once: "_s + twice.join(u", "_s);
    if (!unheld.isEmpty())
        out << u"  printed, but no candidate holds the number (the database restored from an earlier backup, or "
               "the candidate removed; give the candidate his number or print him again): "_s
                   + unheld.join(u", "_s);
    if (!gaps.isEmpty())
        out << u"  never used although later sheets were (they must still be in the stock): "_s + gaps.join(u", "_s);
    const bool ok = pending.isEmpty() && twice.isEmpty();
    out << (ok ? u"Every received sheet is accounted for."_s
               : u"Not every received sheet is accounted for: "_s + QString::number(c.pending) + u" pending, "_s
                     + QString::number(c.usedTwice) + u" used more than once."_s);
    if (accounted)
        *accounted = ok;
    return out;
}

} // namespace sw
