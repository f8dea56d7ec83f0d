// SPDX-License-Identifier: GPL-3.0-or-later
// The printing run's cycle for the award certificates of the rank register:
// ranks ("RC"), gold medals ("GC") and cash prizes ("CC"). The numbers are checked
// and stored in `rankreg`; the sheets go through the same output, questions and
// stationery register as the degree certificates.
#include "certificates/printing/printingrun.h"

#include "candidates/entry/serialnumbers.h"
#include "certificates/printing/sheetoutput.h"
#include "shell/core/prompter.h"
#include "shell/core/session.h"
#include "shell/core/stoperror.h"
#include "shell/db/database.h"

#include <QDateTime>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// rankreg.fcertno holds ten characters.
constexpr int kAwardNumberWidth = 10;

bool awardStillUnprinted(const Database &db, const QString &convoCode, const QString &certType, const AwardRow &row)
{
    return db.exists(u"select 1 from rankreg where fregno = ? and fdegree = ? and fcerttype = ? and fconvocode = ? "
                     "and "_s + db.dialect().coalesce(u"fcertno"_s, u"''"_s)
                         + u" = '' and (frank = ? or fsubject = ?)"_s,
                     {row.regno, row.degree, certType, convoCode, row.rank, row.subject});
}

} // namespace

bool PrintingRun::checkAwardBoxes(PrintSelection &s)
{
    const Database &db = m_session.db();
    const QString exclaim = u"Message"_s;
    s.expandAllRanges();
    for (const QString &box : {s.degree, s.regnoFrom, s.regnoTo, s.issueDate, s.startNumber, s.endNumber}) {
        if (box.trimmed().isEmpty()) {
            m_prompter.info(u"Information should be entered"_s);
            return false;
        }
    }
    if (s.mode == PrintMode::Pdf) {
        m_prompter.message(u"Rank, gold-medal and cash-prize certificates have no PDF copies."_s, exclaim,
                           PromptIcon::Exclamation);
        return false;
    }
    const QString type = s.certType.trimmed().toUpper();
    const QString registerType = type == u"R"_s ? u"RC"_s : type == u"G"_s ? u"GC"_s : u"CC"_s;
    // "99" prints the ranks and medals of every degree; cash prizes go one degree at a time.
    const bool everyDegree = s.degree.trimmed() == u"99"_s && type != u"C"_s;
    if (!everyDegree
        && !db.exists(u"select 1 from degree where fdegree = ? and fdegree in (select fdegree from rankreg where "
                      "fcerttype = ? and fconvocode = ? and "_s
                          + db.dialect().coalesce(u"fcertno"_s, u"''"_s) + u" = '')"_s,
                      {s.degree.trimmed(), registerType, m_session.convoCode})) {
        m_prompter.message(u"Invalid Degree/No students exists for the degree"_s, exclaim, PromptIcon::Exclamation);
        return false;
    }
    if (s.regnoFrom.trimmed() != u"00000000"_s
        && !db.exists(u"select 1 from convo where fregno = ? and fconvocode = ?"_s,
                      {s.regnoFrom.trimmed(), m_session.convoCode})) {
        m_prompter.message(u"Reg. No. "_s + s.regnoFrom.trimmed() + u" is not a candidate of convocation "_s
                               + m_session.convoCode + u"."_s,
                           exclaim, PromptIcon::Exclamation);
        return false;
    }
    if (!checkNumbering(s))
        return false;
    const QString widest = s.certificateNumber(s.end());
    if (widest.size() > kAwardNumberWidth) {
        m_prompter.message(u"The certificate number "_s + widest + u" is longer than the "_s
                               + QString::number(kAwardNumberWidth)
                               + u" characters the rank register keeps: shorten the prefix."_s,
                           exclaim, PromptIcon::Exclamation);
        return false;
    }
    return true;
}

void PrintingRun::printAwardCertificates(const PrintSelection &s, LayoutProcedure layout, SheetOutput &output,
                                         PrintingResult &result)
{
    const std::vector<AwardRow> rows = selectAwardRows(m_session, s);
    if (rows.empty()) {
        m_prompter.info(u"No Records found for the given range"_s);
        return;
    }
    m_selected = int(rows.size());
    const AwardLayouts layouts(m_session, s);
    const DegreeLayouts photographs(m_session, s);
    const QString certType = awardCertType(layout);
    const bool printing = s.operation == PrintOperation::Print;
    long long running = s.start();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const AwardRow &row = rows[i];
        CertificateRow sheetOf;
        sheetOf.regno = row.regno;
        sheetOf.degree = row.degree;
        result.nextNumber = running;
        if (stopBeforeSheet(s, running, int(rows.size() - i)))
            return;
        const QString certNo = s.certificateNumber(running);
        report(m_progress, u"Printing Certificate "_s + certNo + u" for Reg. No. - "_s + row.regno,
               int(i * 100 / rows.size()));
        if (photographs.photograph(row.regno).isEmpty()
            && !m_prompter.askYesNo(u"Photo not found. Do you want to print the certificate without photo?"_s)) {
            if (printing)
                recordSheet(s, sheetOf, -1, StationeryRegister::Outcome::Skipped, u"no photograph"_s);
            ++result.skipped;
            continue;
        }
        const Document sheet = layouts.compose(layout, row);
        if (!printing) {
            output.preview(sheet, certNo, row.regno);
            ++result.previewed;
            if (!m_prompter.askYesNo(u"Do you want to continue"_s))
                return;
            ++running;
            continue;
        }
        if (!awardStillUnprinted(m_session.db(), m_session.convoCode, certType, row))
            throw StopError(u"The "_s + layoutName(layout) + u" certificate of Reg. No. "_s + row.regno
                                + u" was printed on another workstation while this run was going on. The run stops "
                                  "here; certificate "_s
                                + certNo + u" was not printed and is the next sheet to use."_s,
                            PromptIcon::Exclamation);
        output.print(sheet, certNo, row.regno);
        settleSheet(s, sheetOf, running, certNo, false, result, [&] { confirmAward(s, layout, row, running); });
        ++running;
    }
    result.nextNumber = running;
    result.completed = true;
    report(m_progress, {}, 100);
    m_prompter.info(u"Printed Successfully"_s);
}

// Stores the number of an award sheet that came out well, under the same lock as
// the degree certificates: a number the rank register already holds in the
// convocation, or an award another workstation numbered first, stops the run and
// the sheet is registered as spoiled.
void PrintingRun::confirmAward(const PrintSelection &s, LayoutProcedure layout, const AwardRow &row, long long running)
{
    Database &db = m_session.db();
    const QString certNo = s.certificateNumber(running);
    const QString certType = awardCertType(layout);
    CertificateRow sheetOf;
    sheetOf.regno = row.regno;
    sheetOf.degree = row.degree;
    WriteScope scope(db);
    SerialNumbers(db).lock();
    const QVariant holder = db.scalar(u"select fregno from rankreg where fcertno = ? and fconvocode = ?"_s,
                                      {certNo, m_session.convoCode});
    QString conflict;
    if (holder.isValid()) {
        conflict = u"Certificate No. "_s + certNo + u" is already stored in the rank register for Reg. No. "_s
                   + holder.toString().trimmed() + u'.';
    } else {
        const QDateTime now = QDateTime::currentDateTime();
        // A rank is told apart by its rank, a medal or prize by its subject.
        const bool rank = layout == LayoutProcedure::Rank;
        const int changed = db.exec(
            u"update rankreg set fcertno = ?, fdate = ?, fprintdate = ?, fprinttime = ?, fprintedby = ? "
            "where fregno = ? and fdegree = ? and fcerttype = ? and fconvocode = ? and "_s
                + (rank ? u"frank = ?"_s : u"fsubject = ?"_s) + u" and "_s
                + db.dialect().coalesce(u"fcertno"_s, u"''"_s) + u" = ''"_s,
            {certNo, parseDmy(s.issueDate), now.date(), now.toString(u"hh:mm:ss AP"_s), m_session.userName, row.regno,
             row.degree, certType, m_session.convoCode, rank ? row.rank : row.subject});
        if (changed == 0)
            conflict = u"The "_s + layoutName(layout) + u" certificate of Reg. No. "_s + row.regno
                       + u" was given a number on another workstation while certificate "_s + certNo
                       + u" was printing."_s;
    }
    if (!conflict.isEmpty()) {
        recordSheet(s, sheetOf, running, StationeryRegister::Outcome::Spoiled, conflict);
        scope.commit();
        throw StopError(conflict + u" The sheet is registered as spoiled and the run stops."_s,
                        PromptIcon::Exclamation);
    }
    recordSheet(s, sheetOf, running, StationeryRegister::Outcome::Printed);
    scope.commit();
}

} // namespace sw
