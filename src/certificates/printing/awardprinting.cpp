// SPDX-License-Identifier: GPL-3.0-or-later
// The award certificates of the rank register: ranks ("RC"), gold medals ("GC")
// and cash prizes ("CC"). Their numbers are stored in `rankreg`; the sheets go
// through the same cycle, questions and stationery ledger as the degree certificates.
#include "certificates/printing/printingrun.h"

#include "certificates/printing/printingchecks.h"
#include "certificates/printing/sheetoutput.h"
#include "shell/core/prompter.h"
#include "shell/core/stoperror.h"
#include "shell/db/database.h"
#include "shell/session.h"

#include <QDateTime>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// rankreg.fcertno holds ten characters.
constexpr int kAwardNumberWidth = 10;

} // namespace

bool PrintingRun::checkAwardBoxes(PrintSelection &s)
{
    const Database &db = m_session.db();
    const QString exclaim = u"Message"_s;
    s.expandAllRanges();
    const QStringList required =
        m_selectionOnly ? QStringList{s.degree, s.regnoFrom, s.regnoTo}
                        : QStringList{s.degree, s.regnoFrom, s.regnoTo, s.issueDate, s.startNumber, s.endNumber};
    for (const QString &box : required) {
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
    if (!PrintingChecks(m_session, m_prompter, s.mode).degree(s.degree, s.certType))
        return false;
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
    if (!m_selectionOnly && widest.size() > kAwardNumberWidth) {
        m_prompter.message(u"The certificate number "_s + widest + u" is longer than the "_s
                               + QString::number(kAwardNumberWidth)
                               + u" characters the rank register keeps: shorten the prefix."_s,
                           exclaim, PromptIcon::Exclamation);
        return false;
    }
    return true;
}

std::vector<PrintingRun::Job> PrintingRun::awardJobs(const PrintSelection &s, LayoutProcedure layout)
{
    auto layouts = std::make_shared<AwardLayouts>(m_session, m_selection);
    const QString registerType = awardCertType(layout);
    std::vector<Job> jobs;
    for (const AwardRow &row : selectAwardRows(m_session, s)) {
        Job job;
        job.holder.kind = SheetHolder::Kind::Award;
        job.holder.regno = row.regno;
        job.holder.degree = row.degree;
        job.holder.college = row.collCode;
        job.holder.awardType = registerType;
        // A rank is told apart by its rank, a medal or prize by its subject.
        job.holder.awardKey = layout == LayoutProcedure::Rank ? row.rank : row.subject;
        job.claims = CertificateClaims::of(row, layout == LayoutProcedure::Rank   ? u"Rank "_s + row.rank
                                                : layout == LayoutProcedure::Gold ? u"Gold medal: "_s + row.subject
                                                                                  : u"Cash prize: "_s + row.subject);
        job.compose = [layouts, layout, row](const QString &) { return layouts->compose(layout, row); };
        jobs.push_back(std::move(job));
    }
    return jobs;
}

} // namespace sw
