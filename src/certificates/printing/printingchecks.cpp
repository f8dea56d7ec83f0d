// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/printing/printingchecks.h"
#include "shell/core/dates.h"
#include "shell/core/legacytext.h"

#include "certificates/layouts/awardlayouts.h"
#include "certificates/printing/sheetnumbers.h"
#include "masters/mastercodes.h"
#include "shell/core/prompter.h"
#include "shell/db/database.h"
#include "shell/session.h"

using namespace Qt::StringLiterals;

namespace sw {

namespace {

const QString kTitle = u"Message"_s;

bool isWholeNumber(const QString &text)
{
    bool ok = false;
    const long long value = text.trimmed().toLongLong(&ok);
    return ok && value >= 0;
}

QString awardRegisterType(const QString &certType)
{
    const QString type = certType.trimmed().toUpper();
    return type == u"R"_s ? u"RC"_s : type == u"G"_s ? u"GC"_s : u"CC"_s;
}

} // namespace

PrintingChecks::PrintingChecks(const Session &session, Prompter &prompter, PrintMode mode)
    : m_session(session)
    , m_prompter(prompter)
    , m_mode(mode)
{
}

bool PrintingChecks::isValidType(const QString &type)
{
    static const QStringList types = {u"1"_s, u"2"_s, u"3"_s, u"R"_s, u"C"_s, u"G"_s};
    return types.contains(type.trimmed().toUpper());
}

QString PrintingChecks::certNoTest() const
{
    return m_session.db().dialect().coalesce(u"fcertno"_s, u"''"_s)
           + (m_mode == PrintMode::Print ? u" = ''"_s : u" <> ''"_s);
}

void PrintingChecks::refuse(const QString &text, const QString &title)
{
    m_prompter.message(text, title, PromptIcon::Exclamation);
}

std::optional<QString> PrintingChecks::convocationDate()
{
    Rows rows =
        m_session.db().query(u"select masconvo.fdate from masconvo where fconvocode = ?"_s, {m_session.convoCode});
    int count = 0;
    QString date;
    while (rows.next()) {
        date = rows.text(0).trimmed();
        ++count;
    }
    if (count == 0) {
        m_prompter.info(u"Activate Convocation Date in Convocation Screen"_s);
        return std::nullopt;
    }
    if (count > 1) {
        m_prompter.info(u"More than one Convocation is Activated!!. Activate One Convocation at a Time"_s);
        return std::nullopt;
    }
    if (date.isEmpty()) {
        m_prompter.info(u"Define Convocation Date in Control Screen"_s);
        return std::nullopt;
    }
    return date;
}

std::optional<QString> PrintingChecks::degree(const QString &code, const QString &certType)
{
    const Database &db = m_session.db();
    const QString degree = code.trimmed();
    const QString type = certType.trimmed().toUpper();
    const bool awardsOnly = isAwardType(type);
    const bool candidatesOnly = !type.isEmpty() && !awardsOnly;
    bool found = false;
    if (!awardsOnly)
        found = db.exists(u"select 1 from degree where fdegree = ? and fdegree in (select fdegree from convo where "_s
                              + certNoTest() + u" and factive = 'T' and convo.fconvocode = ?)"_s,
                          {degree, m_session.convoCode});
    // Awards are printed, never copied; "99" prints the ranks and medals of every degree.
    if (!found && !candidatesOnly && m_mode == PrintMode::Print) {
        const QString unprinted = db.dialect().coalesce(u"fcertno"_s, u"''"_s) + u" = ''"_s;
        QString condition = u"fconvocode = ? and "_s + unprinted;
        QVariantList params{m_session.convoCode};
        if (awardsOnly) {
            condition += u" and fcerttype = ?"_s;
            params << awardRegisterType(type);
        }
        if (degree == u"99"_s && type != u"C"_s) {
            if (db.exists(u"select 1 from rankreg where "_s + condition, params))
                return u"Every degree"_s;
        } else {
            found = db.exists(u"select 1 from degree where fdegree = ? and fdegree in (select fdegree from rankreg "
                              "where "_s
                                  + condition + u')',
                              QVariantList{degree} + params);
        }
    }
    if (!found) {
        refuse(u"Invalid Degree/No students exists for the degree"_s);
        return std::nullopt;
    }
    return MasterCodes(m_session).degreeWithSpeciality(degree).value_or(QString());
}

std::optional<QString> PrintingChecks::college(const QString &degree, const QString &code)
{
    const QString college = code.trimmed();
    if (college == u"0000"_s || college == u"ZZZZ"_s)
        return QString();
    const Database &db = m_session.db();
    Rows rows = db.query(u"select fcollname from college where fcollcode = ? and fcollcode in (select fcollcode from "
                         "convo where "_s
                             + certNoTest()
                             + u" and factive = 'T' and fdegree = ? and "
                               "convo.fconvocode = ?)"_s,
                         {college, degree.trimmed(), m_session.convoCode});
    if (!rows.next()) {
        refuse(u"Invalid College/No students exists for the college"_s);
        return std::nullopt;
    }
    return rows.text(0).trimmed();
}

std::optional<PrintingChecks::Candidate> PrintingChecks::candidate(const QString &regno, bool askPhotograph)
{
    const Database &db = m_session.db();
    Rows r = db.query(u"select convo.factive, convo.fcertno, convo.fcollcode, college.fcollname, college.ftown from "
                      "convo, college where convo.fcollcode = college.fcollcode and convo.fregno = ? and "
                      "convo.fconvocode = ?"_s,
                      {regno.trimmed(), m_session.convoCode});
    if (!r.next()) {
        refuse(u"Reg. No. "_s + regno.trimmed() + u" is not a candidate of convocation "_s + m_session.convoCode
               + u"."_s);
        return std::nullopt;
    }
    Candidate c;
    c.college = r.text(2).trimmed();
    const QString town = r.text(4).trimmed();
    c.collegeAndTown = legacytext::withTown(r.text(3), town);
    if (r.text(0).trimmed() != u"T"_s) {
        refuse(u"Student is not active for printing"_s);
        return std::nullopt;
    }
    c.hasPhotograph =
        !m_session.folder.findWithExtensions(u"Photos"_s, regno.trimmed(), {u"jpg"_s, u"jpeg"_s}).isEmpty();
    if (!c.hasPhotograph && askPhotograph
        && !m_prompter.askYesNo(u"Student photo is not available for printing. Do you want to continue?"_s))
        return std::nullopt;
    if (m_mode == PrintMode::Print && !r.text(1).trimmed().isEmpty()) {
        refuse(u"Certificate is already printed for this Reg. No."_s);
        return std::nullopt;
    }
    return c;
}

bool PrintingChecks::issueDate(const QString &date)
{
    if (parseDmy(date).isValid())
        return true;
    refuse(u"The date of issue \""_s + date.trimmed() + u"\" is not a date: type it as dd/mm/yyyy."_s);
    return false;
}

bool PrintingChecks::prefix(const QString &prefix)
{
    if (!prefix.contains(u' '))
        return true;
    refuse(u"The certificate prefix \""_s + prefix
           + u"\" contains a blank: the prefix is printed before every number and may not hold blanks."_s);
    return false;
}

bool PrintingChecks::numberRange(const QString &start, const QString &end)
{
    if (!isWholeNumber(start) || !isWholeNumber(end)) {
        refuse(u"The certificate numbers \""_s + start.trimmed() + u"\" and \""_s + end.trimmed()
               + u"\" must both be whole numbers."_s);
        return false;
    }
    if (end.trimmed().toLongLong() <= start.trimmed().toLongLong()) {
        refuse(u"Value should be greater than From certificate no"_s, u"Certificate print"_s);
        return false;
    }
    if (end.trimmed().toLongLong() > sheetnumbers::kHighest) {
        refuse(u"The certificate number "_s + end.trimmed()
               + u" has more than six digits: the stationery's numbers "
                 "run to "_s
               + QString::number(sheetnumbers::kHighest) + u'.');
        return false;
    }
    return true;
}

bool PrintingChecks::certificateType(const QString &type)
{
    if (isValidType(type))
        return true;
    refuse(u"Invalid Certificate Type"_s);
    return false;
}

bool PrintingChecks::spoiledNumbers(const PrintSelection &s)
{
    for (const long long spoiled : s.spoiledNumbers) {
        if (spoiled < s.start() || spoiled > s.end()) {
            refuse(u"Sheet "_s + s.certificateNumber(spoiled)
                   + u", given as spoiled, is outside this run's "
                     "stationery "_s
                   + s.certificateNumber(s.start()) + u" to "_s + s.certificateNumber(s.end())
                   + u": nothing is printed. Give the sheets of this run only."_s);
            return false;
        }
    }
    return true;
}

LookupRequest PrintingChecks::degreeLookup() const
{
    return MasterCodes(m_session).lookup(MasterCodes::Master::Degree,
                                         u"fdegree in (select fdegree from convo where "_s + certNoTest()
                                             + u" and factive = 'T' and convo.fconvocode = ?)"_s,
                                         {m_session.convoCode});
}

LookupRequest PrintingChecks::collegeLookup(const QString &degree) const
{
    return MasterCodes(m_session).lookup(MasterCodes::Master::College,
                                         u"fcollcode in (select fcollcode from convo where fdegree = ? and "_s
                                             + certNoTest() + u" and factive = 'T' and convo.fconvocode = ?)"_s,
                                         {degree.trimmed(), m_session.convoCode});
}

LookupRequest PrintingChecks::candidateLookup(const QString &degree, const QString &college) const
{
    LookupRequest request;
    request.table = m_session.db().table(u"convo"_s);
    request.columns = u"fregno, fname"_s;
    request.headings = {u"Reg. No."_s, u"Name"_s};
    request.condition = u"fdegree = ? and fconvocode = ? and "_s + certNoTest() + u" and factive = 'T'"_s;
    request.params = {degree.trimmed(), m_session.convoCode};
    // Within a college when one is given; "0", "0000" or nothing lists every college.
    const QString code = college.trimmed();
    if (!code.isEmpty() && code != u"0"_s && code != u"0000"_s) {
        request.condition += u" and fcollcode = ?"_s;
        request.params << code;
    }
    return request;
}

} // namespace sw
