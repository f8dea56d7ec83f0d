// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/lists/certprintedlist.h"
#include "shell/core/errortext.h"
#include "shell/core/csvwriter.h"
#include "shell/core/dates.h"

#include "shell/core/legacytext.h"
#include "reports/lists/ranges.h"
#include "shell/core/prompter.h"
#include "shell/session.h"
#include "shell/core/stoperror.h"
#include "shell/online/onlinelink.h"

#include <QDir>

#include <algorithm>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace sw {

void PrintedListSelection::normaliseRanges()
{
    ranges::degrees(fromDegree, toDegree);
    ranges::colleges(fromCollege, toCollege);
}

QString PrintedListSelection::takeDates(const QString &fromText, const QString &toText)
{
    // An untouched date box reads "__/__/____" (or "//" without its blanks).
    const auto isEmpty = [](const QString &text) {
        return std::none_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
    };
    if (isEmpty(fromText) || isEmpty(toText))
        return u"Information should be entered"_s;
    const QDate from = parseDmy(fromText);
    const QDate to = parseDmy(toText);
    if (!from.isValid() || !to.isValid())
        return u"Invalid date format"_s;
    if (from > to)
        return u"From Date should be < To Date"_s;
    fromDate = from;
    toDate = to;
    return {};
}

CertPrintedReports::CertPrintedReports(Session &session, Prompter &prompter, PageHeaderSource header)
    : m_session(session)
    , m_prompter(prompter)
    , m_header(std::move(header))
{
}

QString CertPrintedReports::csvFileName(const QDate &day)
{
    return u"CSV/CERTDET"_s + day.toString(u"ddMMyyyy"_s) + u".csv"_s;
}

QString CertPrintedReports::printedCondition(const QString &extraTables, const QString &extraCondition) const
{
    return u" from convo, college, degree"_s + extraTables
           + u" where convo.fdegree = degree.fdegree and convo.fcollcode = college.fcollcode "
             "and convo.factive = 'T' and "_s
           + m_session.db().dialect().coalesce(u"convo.fcertno"_s, u"''"_s)
           + u" <> '' and convo.fprintdate between ? and ? and convo.fdegree between ? and ? "
             "and convo.fcollcode between ? and ? and convo.fconvocode = ?"_s
           + extraCondition + u" order by convo.fdate, convo.fdegree, convo.fcollcode, convo.fregno"_s;
}

QVariantList CertPrintedReports::printedParameters(const PrintedListSelection &s) const
{
    return {s.fromDate, s.toDate, s.fromDegree, s.toDegree, s.fromCollege, s.toCollege, m_session.convoCode};
}

void CertPrintedReports::noRows()
{
    m_prompter.message(u"No records found for the range"_s, u"Message"_s, PromptIcon::Exclamation);
}

bool CertPrintedReports::printedList(const PrintedListSelection &s, const QString &reportFile)
{
    Rows rows = m_session.db().query(u"select convo.*, college.fcollname, degree.fdescpn"_s + printedCondition(),
                                     printedParameters(s));
    if (!rows.next()) {
        noRows();
        return false;
    }
    ReportLayout layout;
    layout.titles = {(m_session.convoName + u" Convocation"_s).toUpper(), u"CERTIFICATE PRINTED DETAILS"_s};
    layout.headings = {u"Sl.  Reg.        Student                 Cert.   Degree           College      "_s,
                       u"No.  No.         Name                     No.                           "_s};
    ReportWriter writer(reportFile, layout, m_header);
    using namespace reportline;
    QDate day;
    int serial = 1;
    do {
        QStringList lines;
        const QDate issued = rows.date(u"fdate"_s);
        if (serial == 1 || issued != day) {
            day = issued;
            lines << QString() << underlined(u"Date: "_s + formatDmy(issued));
        }
        lines << number(serial++, 3) + u"  "_s + text(rows.text(u"fregno"_s), 10) + u"  "_s
                     + text(rows.text(u"fname"_s), 20) + u"  "_s + text(rows.text(u"fcertno"_s), 8) + u"  "_s
                     + text(rows.text(u"fdescpn"_s), 15) + u"  "_s + text(rows.text(u"fcollname"_s), 15);
        writer.writeRow(lines);
    } while (rows.next());
    writer.finish();
    return true;
}

bool CertPrintedReports::countPerConvocation(const PrintedListSelection &s, const QString &reportFile)
{
    const SqlDialect &d = m_session.db().dialect();
    Rows rows = m_session.db().query(
        u"select c.fconvocode, m.fconvoname, count(c.fdegree) as cercount from convo c, masconvo m where "_s
            + d.coalesce(u"c.fconvocode"_s, u"''"_s) + u" <> '' and "_s + d.coalesce(u"c.fdegree"_s, u"''"_s)
            + u" <> '' and "_s + d.coalesce(u"c.fcertno"_s, u"''"_s)
            + u" <> '' and c.fdegree between ? and ? and c.fprintdate between ? and ? "
              "and c.fconvocode = m.fconvocode group by c.fconvocode, m.fconvoname "
              "order by c.fconvocode, m.fconvoname"_s,
        {s.fromDegree, s.toDegree, s.fromDate, s.toDate});
    if (!rows.next()) {
        noRows();
        return false;
    }
    m_prompter.message(u" You are going to generate the Certificate Printed Details (Summary) of all convocations"_s,
                       u"Report"_s, PromptIcon::Information);
    ReportLayout layout;
    layout.titles = {u"CERTIFICATE PRINTED DETAILS (ALL CONVOCATIONS) "_s,
                     (u"Date Range : "_s + formatDmy(s.fromDate) + u" to "_s + formatDmy(s.toDate)).toUpper()};
    layout.headings = {u"Sl.  Convo.    Convocation Name                    Total Cert."_s,
                       u"No.  Code                                           Printed"_s};
    ReportWriter writer(reportFile, layout, m_header);
    using namespace reportline;
    qint64 total = 0;
    int serial = 1;
    do {
        const qint64 count = rows.value(u"cercount"_s).toLongLong();
        total += count;
        writer.writeRow(number(serial++, 3) + u"  "_s + number(rows.text(u"fconvocode"_s), 5) + QString(5, u' ')
                        + text(rows.text(u"fconvoname"_s) + u" Convocation"_s, 35) + u"  "_s + number(count, 7));
    } while (rows.next());
    writer.writeTail(
        {ruler(u'-', layout.lineWidth), u"         Total Certificates                         "_s + number(total, 7)});
    writer.finish();
    return true;
}

bool CertPrintedReports::convocationLedger(const PrintedListSelection &s, const QString &reportFile)
{
    const bool printedOnly = m_prompter.askYesNo(u"Do you want to generate Certificate printed list Only??"_s,
                                                 u"Certificate Print"_s, PromptIcon::Question);
    Database &db = m_session.db();
    QVariantList params;
    QString printedPart;
    if (printedOnly) {
        printedPart = u" and "_s + db.dialect().coalesce(u"convo.fcertno"_s, u"''"_s)
                      + u" <> '' and convo.fprintdate between ? and ?"_s;
        params << s.fromDate << s.toDate;
    }
    params << s.fromDegree << s.toDegree << s.fromCollege << s.toCollege << m_session.convoCode;
    Rows rows =
        db.query(u"select convo.*, degree.fdescpn, degree.fspecial as fdegreespecial, masconvo.fdate as fconvodate, "
                 "college.fcollname, college.ftown from convo, degree, masconvo, college "
                 "where convo.fdegree = degree.fdegree and convo.factive = 'T'"_s
                     + printedPart
                     + u" and convo.fdegree between ? and ? and convo.fcollcode between ? and ? "
                       "and convo.fconvocode = ? and convo.fconvocode = masconvo.fconvocode "
                       "and college.fcollcode = convo.fcollcode "
                       "order by convo.fcollcode, convo.fdegree, convo.fregno"_s,
                 params);
    if (!rows.next()) {
        noRows();
        return false;
    }
    ReportLayout layout;
    layout.lineWidth = 120;
    layout.linesPerPage = 25;
    layout.headings = {
        u" Sl.   Reg.        Student                        Class/    Cert.       Cert.            Remarks"_s,
        u" No.   No.         Name                           Grade     No.         Date"_s};
    ReportWriter writer(reportFile, layout, m_header);
    using namespace reportline;
    QString college, degree;
    int serial = 1;
    bool first = true;
    do {
        const QString degreeCode = rows.text(u"fdegree"_s);
        const QString collegeCode = rows.text(u"fcollcode"_s);
        if (first || degreeCode != degree) {
            // Each course starts a page of its own, under its own titles.
            QString course = u"Course: "_s + degreeCode + u" - "_s + rows.text(u"fdescpn"_s);
            // convo has a speciality column of its own: the degree's comes under another name.
            if (!rows.text(u"fdegreespecial"_s).trimmed().isEmpty())
                course += u'[' + rows.text(u"fdegreespecial"_s) + u']';
            writer.newPage({(u"Convocation Ledger - "_s + m_session.convoName + u" Convocation ["_s
                             + rows.text(u"fconvodate"_s) + u']')
                                .toUpper(),
                            (u"Year of Passing: "_s + rows.text(u"fexamdate"_s)).toUpper(), course.toUpper()});
        }
        QStringList lines;
        if (first || collegeCode != college) {
            const QString heading =
                collegeCode + u" - "_s + legacytext::withTown(rows.text(u"fcollname"_s), rows.text(u"ftown"_s));
            lines << underlined(heading);
        }
        first = false;
        college = collegeCode;
        degree = degreeCode;
        lines << u' ' + number(serial++, 4) + u"  "_s + text(rows.text(u"fregno"_s), 10) + u"  "_s
                     + text(rows.text(u"fname"_s), 30) + u"  "_s + text(rows.text(u"fclasscode"_s), 7) + u"  "_s
                     + text(rows.text(u"fcertno"_s), 10) + u"  "_s + text(formatDmy(rows.date(u"fprintdate"_s)), 12)
                     + u"  "_s;
        writer.writeRow(lines);
    } while (rows.next());
    writer.finish();
    return true;
}

int CertPrintedReports::certificateDetailsCsv(const PrintedListSelection &s, const QDate &today)
{
    Rows rows = m_session.db().query(u"select convo.*"_s + printedCondition(), printedParameters(s));
    if (!rows.next()) {
        noRows();
        return -1;
    }
    const QString path = m_session.folder.filePath(csvFileName(today));
    QDir().mkpath(m_session.folder.filePath(u"CSV"_s));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw StopError(reportFileError(FileErrorNumber::PathAccess, path, file.errorString()));
    int count = 0;
    do {
        const QStringList fields = {rows.text(u"fdegree"_s),
                                    rows.text(u"fyear"_s),
                                    rows.text(u"fexamtype"_s),
                                    rows.text(u"fcollcode"_s),
                                    rows.text(u"fregno"_s),
                                    rows.text(u"fcertno"_s),
                                    formatDmy(rows.date(u"fprintdate"_s)),
                                    formatDmy(rows.date(u"fdate"_s))};
        QList<QByteArray> encoded;
        for (const QString &field : fields)
            encoded << legacytext::toBytes(field);
        file.write(csv::record(encoded) + "\r\n");
        ++count;
    } while (rows.next());
    if (!file.commit())
        throw StopError(reportFileError(FileErrorNumber::PathAccess, path, file.errorString()));
    m_prompter.message(u"Total No. of Records Exported : "_s + QString::number(count), u"Export Data"_s,
                       PromptIcon::Information);
    return count;
}

} // namespace sw

namespace sw {

int CertPrintedReports::updatePortal(const PrintedListSelection &s, const Progress &progress)
{
    const PromptAnswer onlyOnline =
        m_prompter.ask(u"Do you want to update only for Online payment data!!"_s, u"Update data"_s,
                       PromptIcon::Question, PromptButtons::YesNoCancel, PromptAnswer::Yes);
    if (onlyOnline == PromptAnswer::Cancel)
        return -1;
    // Candidates with an online application: one row each, however many applications.
    const QString paidOnline = u" and exists (select 1 from convofee where convofee.fregno = convo.fregno)"_s;
    Rows rows = m_session.db().query(
        u"select convo.*"_s + printedCondition({}, onlyOnline == PromptAnswer::Yes ? paidOnline : QString()),
        printedParameters(s));
    if (!rows.next()) {
        noRows();
        return -1;
    }
    OnlineLink::open(m_session);
    Database &portal = *m_session.cnOnline;
    const QString match = u" where fdegree = ? and fregno = ? and fcollcode = ? and fcnvno = ?"_s;
    Statement update = portal.prepare(u"update dcstud set fcertno = ?, fcertdate = ?"_s + match);
    // An update that changed nothing either found the row already up to date or found no
    // row at all; only the second is a candidate the portal does not know.
    Statement known = portal.prepare(u"select count(*) from dcstud"_s + match);
    int count = 0;
    QStringList refused;
    QStringList notInPortal;
    do {
        const QString regno = rows.text(u"fregno"_s);
        const QString certNo = rows.text(u"fcertno"_s);
        const QVariantList key{rows.text(u"fdegree"_s), regno, rows.text(u"fcollcode"_s), rows.text(u"fconvocode"_s)};
        report(progress, u"Updating... Regno: "_s + regno + u" - "_s + certNo + u"..."_s);
        try {
            if (update.exec(QVariantList{certNo, rows.date(u"fdate"_s).toString(u"yyyy-MM-dd"_s)} + key) > 0) {
                ++count;
                continue;
            }
            Rows found = known.run(key);
            if (found.next() && found.value(0).toInt() > 0)
                ++count;
            else
                notInPortal << regno;
        } catch (const DbError &e) {
            refused << regno + u": "_s + e.description();
        }
    } while (rows.next());
    QString message = u"Total No. of Records Updated : "_s + QString::number(count);
    if (!notInPortal.isEmpty())
        message +=
            u"\r\nNot in the portal ("_s + QString::number(notInPortal.size()) + u"): "_s + notInPortal.join(u", "_s);
    if (!refused.isEmpty())
        message += u"\r\nNot updated ("_s + QString::number(refused.size()) + u"):\r\n"_s + refused.join(u"\r\n"_s);
    m_prompter.message(message, u"Update to Online"_s,
                       refused.isEmpty() && notInPortal.isEmpty() ? PromptIcon::Information : PromptIcon::Exclamation);
    return count;
}

} // namespace sw
