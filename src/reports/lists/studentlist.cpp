// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/lists/studentlist.h"
#include "shell/core/dates.h"

#include "shell/core/prompter.h"
#include "shell/session.h"

using namespace Qt::StringLiterals;

namespace sw {

namespace {
const QString kNoRows = u"No records found for the range"_s;
} // namespace

void StudentListSelection::normaliseColleges()
{
    degree = degree.trimmed();
    fromCollege = fromCollege.trimmed();
    if (fromCollege.isEmpty()) {
        fromCollege = u"0000"_s;
        toCollege = u"ZZZZ"_s;
    } else if (toCollege.trimmed().isEmpty()) {
        toCollege = fromCollege;
    }
    toCollege = toCollege.trimmed();
}

StudentListReports::StudentListReports(Session &session, Prompter &prompter, PageHeaderSource header)
    : m_session(session)
    , m_prompter(prompter)
    , m_header(std::move(header))
{
}

QStringList StudentListReports::titles(const StudentListSelection &s, bool withDegree) const
{
    QStringList lines;
    lines << (m_session.convoName + u" Convocation"_s).toUpper();
    lines << (u"Student Details "_s + (s.printedOnly ? u"(Certificate Printed Only)"_s : QString())).toUpper();
    if (withDegree) {
        Rows degree = m_session.db().query(u"select fdescpn, fspecial from degree where fdegree = ?"_s, {s.degree});
        if (degree.next()) {
            lines << degree.text(0);
            if (!degree.text(1).trimmed().isEmpty())
                lines << u"("_s + degree.text(1) + u')';
        }
    }
    lines << u"College Range "_s + s.fromCollege + u" to "_s + s.toCollege;
    return lines;
}

bool StudentListReports::studentList(const StudentListSelection &s, const QString &reportFile)
{
    Database &db = m_session.db();
    const QString printed =
        s.printedOnly ? u" and "_s + db.dialect().coalesce(u"convo.fcertno"_s, u"''"_s) + u" <> ''"_s : QString();
    // The columns the list prints, read by position: a list of every candidate of a
    // large convocation spends its time here.
    Rows rows =
        db.query(u"select convo.fcollcode, college.fcollname, convo.fregno, convo.fname, convo.fyear, "
                 "convo.fclasscode, convo.fcertno, convo.fdate from convo, college, degree "
                 "where convo.fdegree = degree.fdegree and convo.fdegree = ? "
                 "and convo.fcollcode between ? and ? and convo.fcollcode = college.fcollcode"_s
                     + printed + u" and convo.fconvocode = ? order by convo.fdegree, convo.fcollcode, convo.fregno"_s,
                 {s.degree, s.fromCollege, s.toCollege, m_session.convoCode});
    if (!rows.next()) {
        m_prompter.message(kNoRows, u"Message"_s, PromptIcon::Exclamation);
        return false;
    }

    ReportLayout layout;
    layout.titles = titles(s, true);
    layout.headings = {u"Sl.  Reg.        Student                         Year  Class   Cert.      Date"_s,
                       u"No.  No.         Name                                           No.           "_s};
    ReportWriter writer(reportFile, layout, m_header);
    QString college;
    int serial = 1;
    do {
        QStringList lines;
        const QString code = rows.text(0);
        if (serial == 1 || code != college) {
            college = code;
            lines << QString() << reportline::underlined(u"College: "_s + code + u" - "_s + rows.text(1));
        }
        using namespace reportline;
        lines << number(serial++, 3) + u"  "_s + text(rows.text(2), 10) + u"  "_s + text(rows.text(3), 30) + u"  "_s
                     + text(rows.text(4), 4) + u"  "_s + text(rows.text(5), 5) + u"  "_s + text(rows.text(6), 8)
                     + u"  "_s + text(formatDmy(rows.date(7)), 10);
        writer.writeRow(lines);
    } while (rows.next());
    writer.finish();
    return true;
}

bool StudentListReports::degreeSummary(const StudentListSelection &s, const QString &reportFile)
{
    Database &db = m_session.db();
    const QString printedCase =
        u"case when "_s + db.dialect().coalesce(u"c.fcertno"_s, u"''"_s) + u" <> '' then 1 else 0 end"_s;
    const QString special = db.dialect().coalesce(u"d.fspecial"_s, u"''"_s);
    // The degree box does not narrow the summary: every degree of the range is counted.
    Rows rows = db.query(u"select c.fdegree, d.fdescpn, "_s + special
                             + u" as fspecial, count(c.fregno) as ftotcnt, sum("_s + printedCase
                             + u") as fprinted from convo c, degree d where c.fdegree = d.fdegree "
                               "and c.fcollcode between ? and ? and c.fconvocode = ? "
                               "group by c.fdegree, d.fdescpn, "_s
                             + special + u" order by d.fdescpn"_s,
                         {s.fromCollege, s.toCollege, m_session.convoCode});
    if (!rows.next()) {
        m_prompter.message(kNoRows, u"Message"_s, PromptIcon::Exclamation);
        return false;
    }
    ReportLayout layout;
    layout.linesPerPage = 50;
    layout.titles = titles(s, false);
    layout.headings = {u"Sl.  Degree                                                Elig. <----Cert---->"_s,
                       u"No.                                                        Cand. Printed   Pend"_s};
    ReportWriter writer(reportFile, layout, m_header);
    using namespace reportline;
    qint64 total = 0, printed = 0, pending = 0;
    int serial = 1;
    do {
        const qint64 eligible = rows.value(u"ftotcnt"_s).toLongLong();
        const qint64 done = rows.value(u"fprinted"_s).toLongLong();
        total += eligible;
        printed += done;
        pending += eligible - done;
        const QString description = rows.text(u"fdescpn"_s) + u' ' + rows.text(u"fspecial"_s);
        writer.writeRow(number(serial++, 3) + u"  "_s + text(description, 50) + u"  "_s + number(eligible, 6) + u"  "_s
                        + number(done, 6) + u"  "_s + number(eligible - done, 6));
    } while (rows.next());
    writer.writeTail({ruler(u'-', layout.lineWidth), QString(3, u' ') + u"  "_s + text(u"Total"_s, 50) + u"  "_s
                                                         + number(total, 6) + u"  "_s + number(printed, 6) + u"  "_s
                                                         + number(pending, 6)});
    writer.finish(ReportWriter::FinalFeed::Yes);
    return true;
}

} // namespace sw
