// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/printing/spoiledsheets.h"

#include "candidates/entry/serialnumbers.h"
#include "certificates/printing/stationeryregister.h"
#include "shell/core/stoperror.h"
#include "shell/db/database.h"

#include <set>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

constexpr long long kHighestNumber = 999999; // six digits on the stationery
constexpr long long kLongestRange = 10000;

QString certificateNumber(const QString &prefix, long long number)
{
    return prefix + QStringLiteral("%1").arg(number, 6, 10, QLatin1Char('0'));
}

long long parseOne(const QString &text, const QString &prefix, const QString &item)
{
    QString digits = text.trimmed();
    if (!prefix.isEmpty() && digits.startsWith(prefix, Qt::CaseInsensitive))
        digits = digits.mid(prefix.size());
    bool ok = !digits.isEmpty();
    for (const QChar c : digits)
        ok = ok && c.isDigit();
    const long long number = ok ? digits.toLongLong(&ok) : -1;
    if (!ok || number > kHighestNumber)
        throw StopError(u"\""_s + item + u"\" is not a sheet number: give numbers such as 17 or "_s
                            + certificateNumber(prefix, 17) + u", or ranges such as 17-20, separated by commas."_s,
                        PromptIcon::Exclamation);
    return number;
}

bool sameCode(const QString &a, const QString &b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

} // namespace

SpoiledSheets::SpoiledSheets(Database &db, QString convoCode, QString user, QString workstation)
    : m_db(db)
    , m_convoCode(std::move(convoCode))
    , m_user(std::move(user))
    , m_workstation(std::move(workstation))
{
}

std::vector<long long> SpoiledSheets::parseNumbers(const QString &list, const QString &prefix)
{
    std::set<long long> numbers;
    for (const QString &raw : list.split(u',')) {
        const QString item = raw.trimmed();
        if (item.isEmpty())
            continue;
        const qsizetype dash = item.indexOf(u'-');
        if (dash < 0) {
            numbers.insert(parseOne(item, prefix, item));
            continue;
        }
        const long long from = parseOne(item.left(dash), prefix, item);
        const long long to = parseOne(item.mid(dash + 1), prefix, item);
        if (to < from)
            throw StopError(u"The range \""_s + item + u"\" runs backwards: give it from its first number."_s,
                            PromptIcon::Exclamation);
        if (to - from >= kLongestRange)
            throw StopError(u"The range \""_s + item + u"\" holds more than "_s + QString::number(kLongestRange)
                                + u" sheets: give the spoiled sheets, not the whole stationery."_s,
                            PromptIcon::Exclamation);
        for (long long n = from; n <= to; ++n)
            numbers.insert(n);
    }
    if (numbers.empty())
        throw StopError(u"No sheet numbers are given."_s, PromptIcon::Exclamation);
    return {numbers.begin(), numbers.end()};
}

std::vector<SpoiledSheets::Sheet> SpoiledSheets::check(const QString &prefix,
                                                       const std::vector<long long> &numbers) const
{
    if (prefix.contains(u' '))
        throw StopError(u"The certificate prefix \""_s + prefix + u"\" contains a blank: prefixes hold no blanks."_s,
                        PromptIcon::Exclamation);
    Statement registered = m_db.prepare(u"select foutcome, fregno, fconvocode from stationery where fprefix = ? and "
                                        "fnumber = ?"_s);
    Statement candidates = m_db.prepare(u"select fregno, fconvocode, fdegree from convo where fcertno = ?"_s);
    Statement ranks = m_db.prepare(u"select fregno, fconvocode from rankreg where fcertno = ?"_s);
    std::vector<Sheet> sheets;
    for (const long long number : numbers) {
        Sheet sheet;
        sheet.number = number;
        sheet.certNo = certificateNumber(prefix, number);
        const auto refuse = [&](const QString &why) {
            throw StopError(u"Certificate No. "_s + sheet.certNo + u' ' + why
                                + u" Nothing is registered; correct the list and register it again."_s,
                            PromptIcon::Exclamation);
        };
        QString printedFor;
        Rows rows = registered.run({prefix, number});
        while (rows.next()) {
            if (!sameCode(rows.text(2), m_convoCode))
                continue;
            if (rows.text(0) == StationeryRegister::outcomeText(StationeryRegister::Outcome::Spoiled))
                refuse(u"is already registered as spoiled."_s);
            printedFor = rows.text(1).trimmed();
        }
        Rows holders = candidates.run({sheet.certNo});
        while (holders.next()) {
            if (sameCode(holders.text(1), m_convoCode)) {
                sheet.holder = holders.text(0).trimmed();
                sheet.degree = holders.text(2).trimmed();
            }
        }
        Rows rankHolders = ranks.run({sheet.certNo});
        while (rankHolders.next()) {
            if (sameCode(rankHolders.text(1), m_convoCode))
                refuse(u"is the rank certificate of Reg. No. "_s + rankHolders.text(0).trimmed()
                       + u": take it back in the rank register."_s);
        }
        if (sheet.holder.isEmpty() && !printedFor.isEmpty())
            refuse(u"was printed for Reg. No. "_s + printedFor
                   + u", who no longer holds it: the sheet is accounted for already."_s);
        sheet.line = sheet.holder.isEmpty()
                         ? QString(sheet.certNo + u": no candidate holds it; the sheet is registered as spoiled"_s)
                         : sheet.certNo + u": taken back from Reg. No. "_s + sheet.holder
                               + u", who prints again on a new sheet; the sheet is registered as spoiled"_s;
        sheets.push_back(sheet);
    }
    return sheets;
}

QStringList SpoiledSheets::plan(const QString &prefix, const std::vector<long long> &numbers) const
{
    QStringList lines;
    for (const Sheet &sheet : check(prefix, numbers))
        lines << sheet.line;
    return lines;
}

QStringList SpoiledSheets::registerSpoiled(const QString &prefix, const std::vector<long long> &numbers,
                                           const QString &reason)
{
    WriteScope scope(m_db);
    // The printing runs confirm sheets under the same lock: a number is not taken
    // back while a workstation is storing it.
    SerialNumbers(m_db).lock();
    const std::vector<Sheet> sheets = check(prefix, numbers);
    StationeryRegister reg(m_db, m_convoCode, m_user, m_workstation);
    QStringList lines;
    for (const Sheet &sheet : sheets) {
        QString remarks = reason.trimmed();
        if (!sheet.holder.isEmpty()) {
            m_db.exec(u"update convo set fcertno = null, fdate = null where fregno = ? and fcertno = ? and "
                      "fconvocode = ?"_s,
                      {sheet.holder, sheet.certNo, m_convoCode});
            m_db.exec(u"delete from reccert where fregno = ? and fcertno = ?"_s, {sheet.holder, sheet.certNo});
            remarks = (remarks.isEmpty() ? QString() : remarks + u"; "_s) + u"taken back from Reg. No. "_s
                      + sheet.holder;
        }
        reg.record({prefix, sheet.number, sheet.certNo, sheet.holder, sheet.degree, {},
                    StationeryRegister::Outcome::Spoiled, remarks.left(200)});
        lines << sheet.line;
    }
    scope.commit();
    return lines;
}

} // namespace sw
