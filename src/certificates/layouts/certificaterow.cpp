// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/layouts/certificaterow.h"

#include "shell/db/database.h"
#include "shell/session.h"

using namespace Qt::StringLiterals;

namespace sw {

QString CertificateRow::objectPronoun() const
{
    if (sex == u"F"_s)
        return u"her"_s;
    return sex == u"M"_s ? u"him"_s : QString();
}

std::vector<CertificateRow> selectCertificateRows(const Session &session, const PrintSelection &s, RowOrder order)
{
    const Database &db = session.db();
    const QString op = s.mode == PrintMode::Pdf ? u" <> ''"_s : u" = ''"_s;
    Rows rows = db.query(
        u"select convo.fregno, convo.fname, convo.fnamekan, convo.fcollcode, college.fcollname, degree.fdescpn, "
        "degree.fdescpnkan, convo.fyear, convo.fclasscode, convo.funivcode, class.fclassdesc, class.fclassdesckan, "
        "degree.fspecial, degree.fspecialkan, convo.fexamdate, convo.fexamdatekan, masconvo.fdate, "
        "masconvo.fdatekan, masconvo.fconvocode, masconvo.fconvoname, masconvo.fconvonamekan, convo.fexamtype, "
        "convo.fcertno, convo.fdate as fprinteddate, convo.fdegree, convo.fsex, "
        "masconvo.fexamdatekan as fconvoexamdatekan "
        "from convo, college, degree, class, masconvo "
        "where convo.fdegree = degree.fdegree and convo.fcollcode = college.fcollcode "
        "and convo.fclasscode = class.fclasscode and convo.fconvocode = masconvo.fconvocode "
        "and convo.fdegree = ? and convo.fcollcode between ? and ? and convo.fregno between ? and ? and "_s
            + db.dialect().coalesce(u"convo.fcertno"_s, u"''"_s) + op
            + u" and convo.factive = 'T' and convo.fconvocode = ? order by "_s
            + (order == RowOrder::Regno ? u"convo.fregno, convo.fcollcode"_s : u"convo.fcollcode, convo.fregno"_s),
        {s.degree.trimmed(), s.collegeFrom.trimmed(), s.collegeTo.trimmed(), s.regnoFrom.trimmed(), s.regnoTo.trimmed(),
         session.convoCode});
    std::vector<CertificateRow> out;
    while (rows.next()) {
        CertificateRow r;
        QString *fields[] = {&r.regno,        &r.name,         &r.nameKan,      &r.collCode,   &r.collName,
                             &r.descpn,       &r.descpnKan,    &r.year,         &r.classCode,  &r.univCode,
                             &r.classDesc,    &r.classDescKan, &r.special,      &r.specialKan, &r.examDate,
                             &r.examDateKan,  &r.convoDate,    &r.convoDateKan, &r.convoCode,  &r.convoName,
                             &r.convoNameKan, &r.examType,     &r.certNo};
        int i = 0;
        for (QString *field : fields)
            *field = rows.text(i++).trimmed();
        r.printedDate = rows.date(u"fprinteddate"_s);
        r.degree = rows.text(u"fdegree"_s).trimmed();
        r.sex = rows.text(u"fsex"_s).trimmed().toUpper();
        r.convoExamDateKan = rows.text(u"fconvoexamdatekan"_s).trimmed();
        out.push_back(std::move(r));
    }
    return out;
}

bool stillUnprinted(const Database &db, const QString &convoCode, const CertificateRow &row)
{
    // The college too, so that the candidate is found by its register-number index
    // rather than among every candidate of the convocation's degree.
    return db.exists(u"select 1 from convo where fregno = ? and fdegree = ? and fcollcode = ? and fconvocode = ? and "_s
                         + db.dialect().coalesce(u"fcertno"_s, u"''"_s) + u" = ''"_s,
                     {row.regno, row.degree, row.collCode, convoCode});
}

} // namespace sw
