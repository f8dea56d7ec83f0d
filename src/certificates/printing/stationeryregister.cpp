// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/printing/stationeryregister.h"

#include "shell/db/database.h"

#include <QMap>

using namespace Qt::StringLiterals;

namespace sw {

StationeryRegister::StationeryRegister(Database &db, QString convoCode, QString user, QString workstation)
    : m_db(db)
    , m_convoCode(std::move(convoCode))
    , m_user(std::move(user))
    , m_workstation(std::move(workstation))
{
}

QString StationeryRegister::outcomeText(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Printed:
        return u"PRINTED"_s;
    case Outcome::Spoiled:
        return u"SPOILED"_s;
    case Outcome::Skipped:
        return u"SKIPPED"_s;
    case Outcome::Cancelled:
        return u"CANCELLED"_s;
    }
    return {};
}

void StationeryRegister::record(const Entry &e)
{
    const QDateTime now = QDateTime::currentDateTime();
    if (!m_insert)
        m_insert = std::make_shared<Statement>(
            m_db.prepare(u"insert into stationery (fprefix, fnumber, fcertno, fregno, fdegree, fcerttype, foutcome, "
                         "fusername, fworkstation, fdate, ftime, fconvocode, fremarks) "
                         "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s));
    m_insert->exec({e.prefix, e.number < 0 ? QVariant() : QVariant(e.number), e.certNo, e.regno, e.degree, e.certType,
               outcomeText(e.outcome), m_user, m_workstation, now.date(), now.toString(u"hh:mm:ss"_s), m_convoCode,
               e.remarks});
}

void StationeryRegister::recordCancellation(const QString &certNo, const QString &regno, const QString &degree,
                                            const QString &reason)
{
    Entry e;
    e.certNo = certNo;
    e.regno = regno;
    e.degree = degree;
    e.outcome = Outcome::Cancelled;
    e.remarks = reason;
    // Numbers stored by other means (typed on the candidate screen) keep only their text.
    static constexpr int kDigits = 6;
    const QString digits = certNo.right(kDigits);
    bool numeric = certNo.size() >= kDigits;
    for (const QChar c : digits)
        numeric = numeric && c.isDigit();
    if (numeric) {
        e.prefix = certNo.left(certNo.size() - kDigits);
        e.number = digits.toLongLong();
    }
    record(e);
}

QStringList StationeryRegister::report(const QString &prefix, long long from, long long to) const
{
    QMap<long long, QStringList> byNumber;
    QMap<long long, int> sheets;
    // A sheet printed for a candidate and later registered as spoiled (taken back
    // from the same candidate) is one sheet, not two.
    QMap<long long, QStringList> printedFor;
    // Sheets printed without a prefix are stored with none (null), so both sides compare as text.
    Rows rows = m_db.query(u"select fnumber, fcertno, foutcome, fregno, fdegree, fcerttype, fusername, fworkstation, "
                           "fdate, ftime, fremarks from stationery where "_s
                               + m_db.dialect().coalesce(u"fprefix"_s, u"''"_s)
                               + u" = ? and fnumber between ? and ? order by fnumber, fdate, ftime"_s,
                           {prefix.isNull() ? u""_s : prefix, from, to});
    while (rows.next()) {
        const long long number = rows.value(0).toLongLong();
        QString line = rows.text(1).leftJustified(12) + u' ' + rows.text(2).leftJustified(8) + u' '
                       + rows.text(3).leftJustified(10) + u' ' + rows.text(4).leftJustified(5) + u" type "_s
                       + rows.text(5).leftJustified(2) + u' ' + rows.text(6) + u'@' + rows.text(7) + u' '
                       + formatDmy(rows.date(u"fdate"_s)) + u' ' + rows.text(9);
        if (!rows.text(10).isEmpty())
            line += u" ("_s + rows.text(10) + u')';
        byNumber[number].append(line);
        const QString outcome = rows.text(2);
        const QString regno = rows.text(3).trimmed();
        // A cancellation withdraws the number of a sheet already counted.
        if (outcome == outcomeText(Outcome::Cancelled))
            continue;
        if (outcome == outcomeText(Outcome::Printed) && !regno.isEmpty())
            printedFor[number].append(regno);
        if (outcome == outcomeText(Outcome::Spoiled) && !regno.isEmpty() && printedFor[number].contains(regno))
            continue;
        ++sheets[number];
    }
    QStringList out;
    int gaps = 0;
    int twice = 0;
    for (long long n = from; n <= to; ++n) {
        const QString certNo = prefix + QStringLiteral("%1").arg(n, 6, 10, QLatin1Char('0'));
        if (!byNumber.contains(n)) {
            out << certNo.leftJustified(12) + u" NOT ACCOUNTED FOR"_s;
            ++gaps;
            continue;
        }
        out << byNumber[n];
        if (sheets[n] > 1) {
            out << certNo.leftJustified(12) + u" USED "_s + QString::number(sheets[n]) + u" TIMES"_s;
            ++twice;
        }
    }
    out << QStringLiteral("%1 numbers, %2 not accounted for, %3 used more than once").arg(to - from + 1).arg(gaps).arg(twice);
    return out;
}

} // namespace sw
