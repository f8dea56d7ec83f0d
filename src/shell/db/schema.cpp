// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/db/schema.h"

#include <QHash>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace sw::schema {

const std::vector<TableDefinition> &tables()
{
    // CONTROL.FNADID (the institution's depository identifier) and COLLEGE.FTOWN
    // (the college's town) are read by the depository export, the printing run and
    // the reports; they close their tables' lists so older databases gain them too.
    // CONVO.FABCID, the student's academic account ID (APAAR / ABC ID, twelve digits),
    // closes the candidate's list for the same reason (schema 1.5.0).
    static const std::vector<TableDefinition> list = {
        {u"CONTROL"_s,
         u"FUNITCODE VARCHAR(10), FCOMPANY VARCHAR(100), FADD1 VARCHAR(50), FADD2 VARCHAR(50), "
         "FADD3 VARCHAR(50), FADD4 VARCHAR(50), FPHONE VARCHAR(50), FFAX VARCHAR(50), FEMAIL VARCHAR(50), "
         "FSIGNAUTH1 VARCHAR(100), FSIGNAUTH2 VARCHAR(100), FFONTSIZE VARCHAR(2), FTDCOL VARCHAR(20), "
         "FTOCOL VARCHAR(20), FSCOL VARCHAR(20), FFONT VARCHAR(30), FFONTCOL VARCHAR(20), "
         "FLBFONTCOL VARCHAR(30), FVERSION VARCHAR(20), FCONVDATE DATETIME, FDEGKAN VARCHAR(1), "
         "FNADID VARCHAR(50)"_s},
        {u"MASCONVO"_s, u"FCONVOCODE VARCHAR(4), FCONVONAME VARCHAR(100), FDATE VARCHAR(50), FACTIVE VARCHAR(1), "
                        "FDATEKAN VARCHAR(50), FCONVONAMEKAN VARCHAR(100), FDELETED VARCHAR(1), "
                        "FEXAMDATEKAN VARCHAR(100)"_s},
        {u"MASUSER"_s, u"FUSERNAME VARCHAR(50), FPASSWD VARCHAR(128), FPERMISSION VARCHAR(500), FSECTION VARCHAR(20), "
                       "FDELETED VARCHAR(1)"_s},
        {u"AUTOCORRECT"_s, u"FREPLACE VARCHAR(100), FWITH VARCHAR(100), FDELETE VARCHAR(1)"_s},
        {u"RECCERT"_s, u"FDEGREE VARCHAR(5), FCOLLCODE VARCHAR(5), FREGNO VARCHAR(10), FCERTNO VARCHAR(20)"_s},
        {u"DEGREE"_s,
         u"FDEGREE VARCHAR(5), FDESCPN VARCHAR(100), FSPECIAL VARCHAR(100), FDELETED VARCHAR(1), "
         "FDESCPNKAN VARCHAR(100), FSPECIALKAN VARCHAR(100), FCOURSECODE VARCHAR(20), FEVENTID VARCHAR(20), "
         "FCREDIT VARCHAR(1)"_s},
        {u"COLLEGE"_s, u"FCOLLCODE VARCHAR(4), FCOLLNAME VARCHAR(100), FDELETED VARCHAR(1), FTOWN VARCHAR(50)"_s},
        {u"CONVO"_s,
         u"FREGNO VARCHAR(10), FNAME VARCHAR(100), FDEGREE VARCHAR(5), FSUBDEGREE VARCHAR(5), "
         "FCOLLCODE VARCHAR(5), FCLASSCODE VARCHAR(4), FEXAMDATE VARCHAR(50), FYEAR VARCHAR(4), "
         "FEXAMTYPE VARCHAR(1), FSEX VARCHAR(1), FCASTE VARCHAR(20), FCERTNO VARCHAR(20), FPREX VARCHAR(5), "
         "FACTIVE VARCHAR(1), FDATE DATETIME, FMANUAL VARCHAR(1), FSPECIAL VARCHAR(100), "
         "FREGISTERNO VARCHAR(100), FUSERNAME VARCHAR(50), FPRINTEDBY VARCHAR(50), FCONVOCODE VARCHAR(4), "
         "FCONVDATE DATETIME, FPHOTOPASTE VARCHAR(1), FPRINTORD VARCHAR(6), FNAMEKAN VARCHAR(100), "
         "FKANUPDATED VARCHAR(1), FEXAMDATEKAN VARCHAR(100), FUNIVCODE VARCHAR(4), FFATNAME VARCHAR(100), "
         "FFATNAMEKAN VARCHAR(100), FMOTNAME VARCHAR(100), FMOTNAMEKAN VARCHAR(100), FSIRNAME VARCHAR(100), "
         "FSIRNAMEKAN VARCHAR(100), FDOB VARCHAR(20), FMOBILE VARCHAR(10), FEMAIL VARCHAR(50), "
         "FADDR1 VARCHAR(50), FADDR2 VARCHAR(50), FADDR3 VARCHAR(50), FADDR4 VARCHAR(50), "
         "FFEEPAID VARCHAR(1), FRANK VARCHAR(4), ISEXIST VARCHAR(1), FPRINTDATE DATETIME, "
         "FPRINTTIME VARCHAR(20), FABCID VARCHAR(12)"_s},
        {u"CLASS"_s,
         u"FCLASSCODE VARCHAR(4), FCLASSDESC VARCHAR(100), FCLASSDESCKAN VARCHAR(100), FDELETED VARCHAR(1)"_s},
        {u"CERTCAN"_s,
         u"FDEGREE VARCHAR(5), FCOLLCODE VARCHAR(5), FREGNO VARCHAR(10), FCERTNO VARCHAR(20), FDATE DATETIME, "
         "FTIME VARCHAR(20), FREMARKS VARCHAR(100), FUSERNAME VARCHAR(50), FPRINTEDBY VARCHAR(50), "
         "FDELETED VARCHAR(1)"_s},
        {u"KANLIB"_s, u"FENGNAME VARCHAR(50), FKANNAME VARCHAR(50)"_s},
        {u"RANKREG"_s,
         u"FDEGREE VARCHAR(5), FREGNO VARCHAR(10), FRANK VARCHAR(4), FCONVOCODE VARCHAR(4), FCERTNO VARCHAR(10), "
         "FCERTDATE DATETIME, FPRINTDATE DATETIME, FPRINTTIME VARCHAR(20), FPRINTEDBY VARCHAR(20), "
         "FDELETED VARCHAR(1), FCERTTYPE VARCHAR(4), FDONERNAME VARCHAR(300), FSUBJECT VARCHAR(300), "
         "FAMOUNT VARCHAR(10), FDATE DATETIME, FSLNO DECIMAL(10,0), FTIME VARCHAR(20), FENGNAME VARCHAR(50), "
         "FKANNAME VARCHAR(50), FREMARKS VARCHAR(100), FUSERNAME VARCHAR(50)"_s},
        {u"MASUNIV"_s, u"FUNIVCODE VARCHAR(4), FUNIVNAME VARCHAR(100), FDELETED VARCHAR(1)"_s},
        {u"CONVOFEE"_s,
         u"FAPPNO VARCHAR(10), FREGNO VARCHAR(10), FNAME VARCHAR(100), FDOB VARCHAR(20), FMOBILE VARCHAR(10), "
         "FEMAIL VARCHAR(100), FADDR1 VARCHAR(50), FADDR2 VARCHAR(50), FADDR3 VARCHAR(50), FADDR4 VARCHAR(50), "
         "FAMOUNT DECIMAL(12,2), FPHOTOPATH VARCHAR(200), FREGDATE DATETIME, FREGIP VARCHAR(20), "
         "FPAYTYPE VARCHAR(50), FPAYSTATUS VARCHAR(50), FPAYREMARKS VARCHAR(500), FPAYDATE VARCHAR(50), "
         "FTRANID VARCHAR(100), FCATPATH VARCHAR(200), FRECCER VARCHAR(20), FSCHEME VARCHAR(20), "
         "FCITY VARCHAR(100), FSTATE VARCHAR(100), FPINCODE VARCHAR(20), FDELETED VARCHAR(1)"_s},
        // The stationery register: one row per certificate sheet a run used (or per
        // candidate it passed over, or per certificate cancelled), so every
        // pre-numbered sheet can be accounted for.
        {u"STATIONERY"_s,
         u"FPREFIX VARCHAR(20), FNUMBER DECIMAL(10,0), FCERTNO VARCHAR(20), FREGNO VARCHAR(10), FDEGREE VARCHAR(5), "
         "FCERTTYPE VARCHAR(4), FOUTCOME VARCHAR(10), FUSERNAME VARCHAR(50), FWORKSTATION VARCHAR(100), "
         "FDATE DATETIME, FTIME VARCHAR(20), FCONVOCODE VARCHAR(4), FREMARKS VARCHAR(200)"_s},
        // The sheets whose numbers are used: one row per prefix and number, kept for
        // ever, with the sheet's state (PENDING while it is at the printer, then
        // PRINTED or SPOILED; VOID once its certificate is cancelled or taken back).
        // Its unique key is what makes a number usable once, whatever the workstation.
        {u"CERTSHEET"_s,
         u"FPREFIX VARCHAR(20), FNUMBER DECIMAL(10,0), FCERTNO VARCHAR(20), FSTATE VARCHAR(10), FCERTTYPE VARCHAR(4), "
         "FREGNO VARCHAR(10), FDEGREE VARCHAR(5), FCOLLCODE VARCHAR(5), FAWARD VARCHAR(300), FCONVOCODE VARCHAR(4), "
         "FUSERNAME VARCHAR(50), FWORKSTATION VARCHAR(100), FRUNID VARCHAR(40), FISSUEDATE DATETIME, "
         "FCONVDATE DATETIME, FDATE DATETIME, FTIME VARCHAR(20), FREMARKS VARCHAR(200)"_s},
        // The audit trail: a row per login, failed login and lock, and per change to
        // masters, users and their permissions, settings and certificate numbers, per
        // restore and upgrade, with who, when (yyyy-mm-dd hh:mm:ss.zzz), where, and the
        // old and new values. Rows are only ever added.
        {u"AUDIT"_s,
         u"FWHEN VARCHAR(23), FUSERNAME VARCHAR(50), FWORKSTATION VARCHAR(100), FWHAT VARCHAR(20), "
         "FACTION VARCHAR(20), FTABLE VARCHAR(30), FKEY VARCHAR(100), FOLD VARCHAR(1000), FNEW VARCHAR(1000)"_s},
        // The programs working on the database now: a row per session, printing run and
        // restore, touched every few seconds by its program (FALIVE, the server's clock in
        // seconds); see Presence.
        // Where each certificate number stands on the published status lists: its list and
        // random place there, and whether it is revoked (cancelled, spoiled, taken back,
        // superseded by a reprint) or suspended (on hold), why and since when.
        {u"CERTSTATUS"_s,
         u"FCERTNO VARCHAR(20), FLIST DECIMAL(6,0), FINDEX DECIMAL(10,0), FREGNO VARCHAR(10), FDEGREE VARCHAR(5), "
         "FREVOKED VARCHAR(1), FSUSPENDED VARCHAR(1), FREASON VARCHAR(200), FHOLDREASON VARCHAR(200), "
         "FDATE DATETIME, FHOLDDATE DATETIME, FSUPERSEDEDBY VARCHAR(20), FUSERNAME VARCHAR(50), FKIND VARCHAR(4)"_s},
        {u"PRESENCE"_s, u"FID VARCHAR(40), FKIND VARCHAR(10), FUSERNAME VARCHAR(50), FWORKSTATION VARCHAR(100), "
                        "FWHAT VARCHAR(100), FSTARTED VARCHAR(23), FALIVE DECIMAL(12,0)"_s},
    };
    return list;
}

const TableDefinition *find(const QString &table)
{
    for (const TableDefinition &t : tables()) {
        if (t.name.compare(table, Qt::CaseInsensitive) == 0)
            return &t;
    }
    return nullptr;
}

QStringList splitDefinitions(const QString &columns) { return columns.split(u", "_s, Qt::SkipEmptyParts); }

QString columnName(const QString &definition)
{
    const QString trimmed = definition.trimmed();
    const qsizetype blank = trimmed.indexOf(u' ');
    return (blank < 0 ? trimmed : trimmed.left(blank)).trimmed();
}

int columnWidth(const QString &table, const QString &column)
{
    static const QHash<QString, int> widths = [] {
        QHash<QString, int> out;
        static const QRegularExpression varchar(u"^(\\w+)\\s+VARCHAR\\((\\d+)\\)$"_s,
                                                QRegularExpression::CaseInsensitiveOption);
        for (const TableDefinition &t : tables()) {
            for (const QString &definition : splitDefinitions(t.columns)) {
                const QRegularExpressionMatch m = varchar.match(definition.trimmed());
                if (m.hasMatch())
                    out.insert(t.name.toUpper() + u'.' + m.captured(1).toUpper(), m.captured(2).toInt());
            }
        }
        return out;
    }();
    return widths.value(table.toUpper() + u'.' + column.toUpper());
}

QString kannadaFont(const QString &column)
{
    static const QStringList nudi = {u"FNAMEKAN"_s, u"FSIRNAMEKAN"_s, u"FFATNAMEKAN"_s, u"FMOTNAMEKAN"_s,
                                     u"FEXAMDATEKAN"_s};
    static const QStringList brh = {u"FDESCPNKAN"_s,    u"FSPECIALKAN"_s, u"FCLASSDESCKAN"_s,
                                    u"FCONVONAMEKAN"_s, u"FDATEKAN"_s,    u"FKANNAME"_s};
    const QString name = column.trimmed().section(u'.', -1).toUpper();
    if (nudi.contains(name))
        return u"Nudi 01 e"_s;
    if (brh.contains(name))
        return u"BRH Kannada"_s;
    return {};
}

const std::vector<IndexDefinition> &indexes()
{
    static const std::vector<IndexDefinition> list = {
        {u"ix_convo_convo_regno"_s, u"CONVO"_s, {u"FCONVOCODE"_s, u"FREGNO"_s}},
        {u"ix_convo_regno_degree"_s, u"CONVO"_s, {u"FREGNO"_s, u"FDEGREE"_s, u"FCOLLCODE"_s}},
        // A candidate is one degree of one student at one college in one convocation:
        // the key that no import, form or grid may store twice.
        {u"ux_convo_candidate"_s, u"CONVO"_s, {u"FCONVOCODE"_s, u"FREGNO"_s, u"FDEGREE"_s, u"FCOLLCODE"_s}, true},
        {u"ix_convo_certno"_s, u"CONVO"_s, {u"FCERTNO"_s}},
        {u"ix_convo_degree_coll"_s, u"CONVO"_s, {u"FCONVOCODE"_s, u"FDEGREE"_s, u"FCOLLCODE"_s}},
        {u"ix_convo_convo_name"_s, u"CONVO"_s, {u"FCONVOCODE"_s, u"FNAME"_s}},
        {u"ix_convo_printord"_s, u"CONVO"_s, {u"FPRINTORD"_s}},
        // Who already holds a student's academic account ID (the check on every entry and import).
        {u"ix_convo_abcid"_s, u"CONVO"_s, {u"FABCID"_s}},
        {u"ix_convofee_regno"_s, u"CONVOFEE"_s, {u"FREGNO"_s}},
        {u"ix_convofee_appno"_s, u"CONVOFEE"_s, {u"FAPPNO"_s}},
        {u"ix_kanlib_engname"_s, u"KANLIB"_s, {u"FENGNAME"_s}},
        {u"ix_certcan_regno"_s, u"CERTCAN"_s, {u"FREGNO"_s}},
        {u"ix_rankreg_regno"_s, u"RANKREG"_s, {u"FREGNO"_s, u"FDEGREE"_s}},
        // The masters every list joins its candidates to, one row per candidate.
        {u"ix_college_code"_s, u"COLLEGE"_s, {u"FCOLLCODE"_s}},
        {u"ix_degree_code"_s, u"DEGREE"_s, {u"FDEGREE"_s}},
        {u"ix_class_code"_s, u"CLASS"_s, {u"FCLASSCODE"_s}},
        {u"ix_masconvo_code"_s, u"MASCONVO"_s, {u"FCONVOCODE"_s}},
        {u"ix_stationery_number"_s, u"STATIONERY"_s, {u"FPREFIX"_s, u"FNUMBER"_s}},
        {u"ix_rankreg_certno"_s, u"RANKREG"_s, {u"FCERTNO"_s}},
        {u"ix_certsheet_certno"_s, u"CERTSHEET"_s, {u"FCERTNO"_s}},
        {u"ix_certsheet_regno"_s, u"CERTSHEET"_s, {u"FREGNO"_s, u"FSTATE"_s}},
        // A number is used once per prefix, on every backend and workstation.
        {u"ux_certsheet_number"_s, u"CERTSHEET"_s, {u"FPREFIX"_s, u"FNUMBER"_s}, true},
        // A user's logins (lockout) and the listing by date.
        {u"ix_audit_user"_s, u"AUDIT"_s, {u"FUSERNAME"_s, u"FWHAT"_s, u"FWHEN"_s}},
        {u"ix_audit_when"_s, u"AUDIT"_s, {u"FWHEN"_s}},
        // Every statement that finds rows has an index to find them by: on a cluster a
        // change found by a scan holds the other servers' commits while it is applied.
        {u"ix_reccert_regno"_s, u"RECCERT"_s, {u"FREGNO"_s, u"FCERTNO"_s}},
        {u"ix_masuser_name"_s, u"MASUSER"_s, {u"FUSERNAME"_s}},
        {u"ix_autocorrect_replace"_s, u"AUTOCORRECT"_s, {u"FREPLACE"_s}},
        {u"ix_control_unit"_s, u"CONTROL"_s, {u"FUNITCODE"_s}},
        {u"ix_certcan_certno"_s, u"CERTCAN"_s, {u"FCERTNO"_s}},
        {u"ix_stationery_regno"_s, u"STATIONERY"_s, {u"FREGNO"_s}},
        {u"ix_certsheet_run"_s, u"CERTSHEET"_s, {u"FRUNID"_s}},
        {u"ux_presence_id"_s, u"PRESENCE"_s, {u"FID"_s}, true},
        // A number has one place on the lists, and a place one number.
        {u"ux_certstatus_certno"_s, u"CERTSTATUS"_s, {u"FCERTNO"_s}, true},
        {u"ux_certstatus_index"_s, u"CERTSTATUS"_s, {u"FLIST"_s, u"FINDEX"_s}, true},
        {u"ix_certstatus_holder"_s, u"CERTSTATUS"_s, {u"FREGNO"_s, u"FDEGREE"_s}},
    };
    return list;
}

} // namespace sw::schema
