// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/lists/otherlists.h"
#include "shell/core/dates.h"
#include "shell/core/legacytext.h"

#include "reports/lists/ranges.h"
#include "shell/core/prompter.h"
#include "shell/session.h"

using namespace Qt::StringLiterals;

namespace sw {

namespace {

const QStringList kPhotoExtensions = {u"jpg"_s, u"jpeg"_s, u"bmp"_s};

} // namespace

void RangeSelection::normaliseRanges()
{
    ranges::degrees(fromDegree, toDegree);
    ranges::colleges(fromCollege, toCollege);
}

OtherListReports::OtherListReports(Session &session, Prompter &prompter, PageHeaderSource header)
    : m_session(session)
    , m_prompter(prompter)
    , m_header(std::move(header))
{
}

void OtherListReports::noRows()
{
    m_prompter.message(u"No records found for the range"_s, u"Message"_s, PromptIcon::Exclamation);
}

bool OtherListReports::cancelledList(const PrintedListSelection &s, const QString &reportFile)
{
    // Inner joins: a register row whose candidate has gone from convo is left out.
    Rows rows = m_session.db().query(
        u"select certcan.fdegree, certcan.fcollcode, certcan.fregno, certcan.fremarks, convo.fname, "
        "college.fcollname, degree.fdescpn, certcan.fdate, certcan.fcertno from certcan, college, convo, degree "
        "where certcan.fdegree = convo.fdegree and certcan.fcollcode = convo.fcollcode "
        "and certcan.fregno = convo.fregno and certcan.fdegree = degree.fdegree "
        "and certcan.fcollcode = college.fcollcode and certcan.fdate between ? and ? "
        "and certcan.fdegree between ? and ? and certcan.fcollcode between ? and ? and convo.fconvocode = ? "
        "order by certcan.fdate, certcan.fdegree, certcan.fcollcode, certcan.fregno"_s,
        {s.fromDate, s.toDate, s.fromDegree, s.toDegree, s.fromCollege, s.toCollege, m_session.convoCode});
    if (!rows.next()) {
        noRows();
        return false;
    }
    ReportLayout layout;
    layout.titles = {(m_session.convoName + u" Convocation"_s).toUpper(), u"CERTIFICATES CANCELLED DETAILS"_s};
    layout.headings = {u"Sl.  Reg.        Student                Cert.    Deg.   Coll. Reason     "_s,
                       u"No.  No.         Name                    No.                           "_s};
    ReportWriter writer(reportFile, layout, m_header);
    using namespace reportline;
    QDate day;
    int serial = 1;
    do {
        QStringList lines;
        const QDate cancelled = rows.date(u"fdate"_s);
        if (serial == 1 || cancelled != day) {
            day = cancelled;
            lines << QString();
            lines << reportline::underlined(u"Date: "_s + formatDmy(cancelled));
        }
        lines << number(serial++, 3) + u"  "_s + text(rows.text(u"fregno"_s), 10) + u"  "_s
                     + text(rows.text(u"fname"_s), 20) + u"  "_s + text(rows.text(u"fcertno"_s), 8) + u"  "_s
                     + text(rows.text(u"fdegree"_s), 5) + u"  "_s + text(rows.text(u"fcollcode"_s), 4) + u"  "_s
                     + text(rows.text(u"fremarks"_s), 20);
        writer.writeRow(lines);
    } while (rows.next());
    writer.finish();
    return true;
}

QString OtherListReports::rangeQuery(const RangeSelection &, bool activeOnly, bool pendingPhotosOnly) const
{
    return u"select convo.*, college.fcollname, college.ftown, degree.fdescpn, "_s
           + m_session.db().dialect().coalesce(u"degree.fspecial"_s, u"''"_s)
           + u" as fdegreespecial from convo, college, degree where convo.fdegree = degree.fdegree "
             "and convo.fdegree between ? and ? and convo.fcollcode between ? and ? "
             "and convo.fcollcode = college.fcollcode"_s
           + (activeOnly ? u" and convo.factive = 'T'"_s : QString())
           + (pendingPhotosOnly ? u" and convo.isexist = '0'"_s : QString())
           + u" and convo.fconvocode = ? order by convo.fcollcode, convo.fdegree, convo.fregno"_s;
}

int OtherListReports::checkPhotographs(const RangeSelection &s, bool activeOnly)
{
    Database &db = m_session.db();
    WriteScope scope(db);
    db.exec(u"update convo set isexist = '0' where isexist is null and fconvocode = ?"_s, {m_session.convoCode});
    Statement found =
        db.prepare(u"update convo set isexist = '1' where fregno = ? and fdegree = ? and fconvocode = ?"_s);
    Rows rows = db.query(rangeQuery(s, activeOnly, false),
                         {s.fromDegree, s.toDegree, s.fromCollege, s.toCollege, m_session.convoCode});
    int looked = 0;
    while (rows.next()) {
        ++looked;
        const QString regno = rows.text(u"fregno"_s);
        if (!m_session.folder.findWithExtensions(u"Photos"_s, regno, kPhotoExtensions).isEmpty())
            found.exec({regno, rows.text(u"fdegree"_s), m_session.convoCode});
    }
    scope.commit();
    return looked;
}

bool OtherListReports::activatedList(const RangeSelection &s, ActivatedOptions options, const QString &reportFile)
{
    if (checkPhotographs(s, options.activeOnly) == 0) {
        m_prompter.message(u"No Records Found"_s, u"Photo pending list"_s, PromptIcon::Information);
        return false;
    }
    Rows rows = m_session.db().query(rangeQuery(s, options.activeOnly, options.pendingPhotosOnly),
                                     {s.fromDegree, s.toDegree, s.fromCollege, s.toCollege, m_session.convoCode});
    if (!rows.next()) {
        noRows();
        return false;
    }
    QString second;
    if (options.activeOnly)
        second = options.pendingPhotosOnly ? u"Student Details (Active only) - Pending Photos"_s
                                           : u"Student Details (Active only)"_s;
    else
        second = options.pendingPhotosOnly ? u"Student Details (All) - Pending Photos"_s : u"Student Details"_s;
    ReportLayout layout;
    layout.titles = {(m_session.convoName + u" Convocation"_s).toUpper(), second.toUpper()};
    layout.headings = {u"Sl.No.  Reg. No.    Student Name                              Exam Date"_s};
    ReportWriter writer(reportFile, layout, m_header);
    using namespace reportline;
    QString college, degree;
    int serial = 1;
    bool first = true;
    do {
        QStringList lines;
        const QString collegeCode = rows.text(u"fcollcode"_s);
        const QString degreeCode = rows.text(u"fdegree"_s);
        if (first || collegeCode != college) {
            if (!first)
                lines << u"End of College"_s;
            lines << QString();
            lines << reportline::underlined(u"College : "_s + collegeCode + u" - "_s
                                            + legacytext::withTown(rows.text(u"fcollname"_s), rows.text(u"ftown"_s)));
        }
        if (first || collegeCode != college || degreeCode != degree) {
            QString heading = u"Degree: "_s + degreeCode + u" - "_s + rows.text(u"fdescpn"_s);
            if (!rows.text(u"fdegreespecial"_s).trimmed().isEmpty())
                heading += u" ("_s + rows.text(u"fdegreespecial"_s) + u')';
            lines << heading;
        }
        first = false;
        college = collegeCode;
        degree = degreeCode;
        lines << number(serial++, 6) + u"  "_s + text(rows.text(u"fregno"_s), 10) + u"  "_s
                     + text(rows.text(u"fname"_s), 40) + u"  "_s + text(rows.text(u"fexamdate"_s), 20);
        writer.writeRow(lines);
    } while (rows.next());
    writer.writeTail({u"End of College"_s});
    writer.finish();
    return true;
}

bool OtherListReports::onlineList(const RangeSelection &s, bool notActiveOnly, const QString &reportFile)
{
    Database &db = m_session.db();
    Rows rows =
        db.query(u"select convo.*, college.fcollname, degree.fdescpn from convo, college, degree "
                 "where convo.fdegree = degree.fdegree and convo.fdegree between ? and ? "
                 "and convo.fcollcode between ? and ? and convo.fcollcode = college.fcollcode "
                 "and convo.ffeepaid = 'T'"_s
                     + (notActiveOnly ? u" and "_s + db.dialect().coalesce(u"convo.factive"_s, u"''"_s) + u" <> 'T'"_s
                                      : QString())
                     + u" order by convo.fconvocode, convo.fdegree, convo.fcollcode, convo.fregno"_s,
                 {s.fromDegree, s.toDegree, s.fromCollege, s.toCollege});
    if (!rows.next()) {
        noRows();
        return false;
    }
    ReportLayout layout;
    layout.titles = {u"ONLINE FEE PAID STUDENT DETAILS"_s,
                     (u"Course between "_s + s.fromDegree + u" and "_s + s.toDegree).toUpper(),
                     (u"College between "_s + s.fromCollege + u" and "_s + s.toCollege).toUpper()};
    layout.headings = {u"Sl.  Reg.        Student                    Degree                       College"_s,
                       u"No.  No.         Name                                    "_s};
    ReportWriter writer(reportFile, layout, m_header);
    using namespace reportline;
    QString convocation;
    int serial = 1;
    do {
        QStringList lines;
        const QString code = rows.text(u"fconvocode"_s);
        if (serial == 1 || code != convocation) {
            convocation = code;
            lines << QString();
            lines << reportline::underlined(u"Convocation: "_s + code);
        }
        lines << number(serial++, 3) + u"  "_s + text(rows.text(u"fregno"_s), 10) + u"  "_s
                     + text(rows.text(u"fname"_s), 25) + u"  "_s
                     + text(rows.text(u"fdegree"_s) + u" - "_s + rows.text(u"fdescpn"_s), 30) + u"  "_s
                     + text(rows.text(u"fcollcode"_s), 4);
        writer.writeRow(lines);
    } while (rows.next());
    writer.finish();
    return true;
}

bool OtherListReports::abcMissingList(const RangeSelection &s, bool activeOnly, const QString &reportFile)
{
    Database &db = m_session.db();
    const SqlDialect &d = db.dialect();
    Rows rows = db.query(
        u"select convo.fregno, convo.fname, convo.fdegree, convo.fcollcode, convo.fcertno "
        "from convo where convo.fconvocode = ? and convo.fdegree between ? and ? and convo.fcollcode between ? and ? "
        "and "_s
            + d.coalesce(u"convo.fabcid"_s, u"''"_s) + u" = ''"_s
            + (activeOnly ? u" and convo.factive = 'T'"_s : QString())
            + u" order by convo.fdegree, convo.fcollcode, convo.fregno"_s,
        {m_session.convoCode, s.fromDegree, s.toDegree, s.fromCollege, s.toCollege});
    if (!rows.next()) {
        noRows();
        return false;
    }
    ReportLayout layout;
    layout.titles = {u"CANDIDATES WITHOUT AN ABC ID"_s, u"CONVOCATION "_s + m_session.convoCode.toUpper(),
                     (u"Course between "_s + s.fromDegree + u" and "_s + s.toDegree).toUpper(),
                     (u"College between "_s + s.fromCollege + u" and "_s + s.toCollege).toUpper()};
    layout.headings = {u"Sl.  Reg.        Student                         Degree  College  Cert."_s,
                       u"No.  No.         Name                                             No."_s};
    ReportWriter writer(reportFile, layout, m_header);
    using namespace reportline;
    int serial = 1;
    do {
        writer.writeRow(number(serial++, 3) + u"  "_s + text(rows.text(0), 10) + u"  "_s + text(rows.text(1), 30)
                        + u"  "_s + text(rows.text(2), 6) + u"  "_s + text(rows.text(3), 7) + u"  "_s
                        + rows.text(4).trimmed());
    } while (rows.next());
    writer.writeTail({QString(), QString::number(serial - 1) + u" candidate(s) without an ABC ID."_s});
    writer.finish();
    return true;
}

void OtherListReports::mismatchList(const QString &reportFile)
{
    struct Section
    {
        QString column;
        QString master;
        QString name;
    };
    static const Section sections[] = {{u"fdegree"_s, u"degree"_s, u"Degree"_s},
                                       {u"fcollcode"_s, u"college"_s, u"College"_s},
                                       {u"fclasscode"_s, u"class"_s, u"Class"_s}};
    ReportLayout layout;
    ReportWriter writer(reportFile, layout, m_header);
    using namespace reportline;
    for (const Section &section : sections) {
        writer.newPage({(u"Mismatch List ("_s + section.name + u')').toUpper()});
        writer.setHeadings({u"Sl.  "_s + section.name, u"No.  "_s});
        writer.ensurePage();
        // Column and table names come from the list above, never from input.
        Rows rows = m_session.db().query(u"select distinct "_s + section.column + u" from convo where "_s
                                         + section.column + u" not in (select "_s + section.column + u" from "_s
                                         + section.master + u") order by "_s + section.column);
        int serial = 1;
        while (rows.next())
            writer.writeRow(number(serial++, 3) + u"  "_s + rows.text(0));
        QStringList closing;
        closing << reportline::underlined(u"End of Report for "_s + section.name);
        writer.writeTail(closing);
    }
    writer.close();
}

} // namespace sw
