// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/ranks/awardimport.h"
#include "masters/mastercodes.h"
#include "shell/audit/audittrail.h"
#include "shell/core/legacytext.h"

#include "shell/common/numberwords.h"
#include "shell/core/csvreader.h"
#include "shell/db/database.h"
#include "shell/session.h"

#include <QDateTime>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

constexpr int kRequiredFields = 7;
constexpr int kDonorWidth = 300;
constexpr int kSubjectWidth = 300;
constexpr int kAmountWidth = 10;
constexpr int kRemarksWidth = 100;

} // namespace

AwardImport::AwardImport(Session &session)
    : m_session(session)
{
}

AwardBatch AwardImport::read(const QString &path) const
{
    AwardBatch batch;
    batch.file = QFileInfo(path).fileName();
    batch.path = path;
    const auto unreadable = [&batch](const QString &why) {
        batch.errors << why;
        batch.readable = false;
        return batch;
    };
    if (!QFileInfo(path).isFile())
        return unreadable(path + u": no such file"_s);
    const CsvReader::Result csv = CsvReader::readFile(path);
    if (!csv.error.isEmpty())
        return unreadable(batch.file + u": "_s + csv.error);
    for (const CsvRecord &record : csv.records) {
        if (&record == &csv.records.front()
            && record.fields.value(0).trimmed().compare(u"type"_s, Qt::CaseInsensitive) == 0)
            continue;
        ++batch.lines;
        const auto refuse = [&](const std::vector<std::pair<QString, QString>> &faults) {
            QStringList reasons;
            for (const auto &[field, text] : faults) {
                batch.errors << batch.file + u", line "_s + QString::number(record.line)
                                    + (field.isEmpty() ? QString() : u", field "_s + field) + u": "_s + text;
                reasons << (field.isEmpty() ? text : field + u": "_s + text);
            }
            batch.rejected.push_back({record.line, faults.front().first, reasons.join(u"; "_s), record.fields});
        };
        if (record.fields.size() < kRequiredFields) {
            refuse(
                {{QString(), QString::number(kRequiredFields)
                                 + u" fields expected (type, regno, degree, college, donor, subject, amount), found "_s
                                 + QString::number(record.fields.size())}});
            continue;
        }
        const QStringList &f = record.fields;
        AwardLine award{record.line,
                        f[0].trimmed().toUpper(),
                        f[1].trimmed().toUpper(),
                        f[2].trimmed().toUpper(),
                        f[3].trimmed().toUpper(),
                        legacytext::storedText(f[4]),
                        legacytext::storedText(f[5]),
                        f[6].trimmed(),
                        legacytext::storedText(f.value(7))};
        if (const auto faults = checkLine(award, batch.awards); !faults.empty()) {
            refuse(faults);
            continue;
        }
        batch.awards.push_back(award);
    }
    if (batch.lines == 0)
        return unreadable(batch.file + u": the file holds no awards"_s);
    return batch;
}

std::vector<std::pair<QString, QString>> AwardImport::checkLine(const AwardLine &a,
                                                                const std::vector<AwardLine> &earlier) const
{
    const Database &db = m_session.db();
    std::vector<std::pair<QString, QString>> faults;
    auto fault = [&](const QString &field, const QString &text) { faults.emplace_back(field, text); };
    if (a.certType != u"GC"_s && a.certType != u"CC"_s)
        fault(u"type"_s, u"\""_s + a.certType + u"\" is not an award type: GC (gold medal) or CC (cash prize)"_s);
    const MasterCodes codes(m_session);
    const bool degreeKnown = codes.describe(MasterCodes::Master::Degree, a.degree).has_value();
    if (!degreeKnown)
        fault(u"degree"_s, u"unknown degree code \""_s + a.degree + u'"');
    const bool collegeKnown = codes.describe(MasterCodes::Master::College, a.college).has_value();
    if (!collegeKnown)
        fault(u"college"_s, u"unknown college code \""_s + a.college + u'"');
    if (a.regno.isEmpty())
        fault(u"regno"_s, u"the register number is empty"_s);
    else if (degreeKnown && collegeKnown
             && !db.exists(
                 u"select 1 from convo where fregno = ? and fdegree = ? and fcollcode = ? and fconvocode = ?"_s,
                 {a.regno, a.degree, a.college, m_session.convoCode}))
        fault(u"regno"_s, a.regno + u" is not a candidate of degree "_s + a.degree + u" and college "_s + a.college
                              + u" in convocation "_s + m_session.convoCode);
    for (const auto &[field, value] :
         {std::pair{u"donor"_s, a.donor}, std::pair{u"subject"_s, a.subject}, std::pair{u"remarks"_s, a.remarks}}) {
        if (const auto why = storableTextProblem(value, 0))
            fault(field, u"the text "_s + *why);
    }
    if (a.donor.isEmpty())
        fault(u"donor"_s, u"the donor's name is empty"_s);
    else if (a.donor.size() > kDonorWidth)
        fault(u"donor"_s, u"longer than "_s + QString::number(kDonorWidth) + u" characters"_s);
    if (a.subject.isEmpty())
        fault(u"subject"_s, u"the subject is empty"_s);
    else if (a.subject.size() > kSubjectWidth)
        fault(u"subject"_s, u"longer than "_s + QString::number(kSubjectWidth) + u" characters"_s);
    if (a.amount.isEmpty()) {
        if (a.certType == u"CC"_s)
            fault(u"amount"_s, u"a cash prize needs its amount"_s);
    } else if (!amountInWords(a.amount) || a.amount.size() > kAmountWidth) {
        fault(u"amount"_s, u"\""_s + a.amount + u"\" is not an amount in rupees (digits, up to two decimals)"_s);
    }
    if (a.remarks.size() > kRemarksWidth)
        fault(u"remarks"_s, u"longer than "_s + QString::number(kRemarksWidth) + u" characters"_s);
    // The printing run stores a prize's number by candidate, type and subject: one award each.
    for (const AwardLine &e : earlier) {
        if (e.certType == a.certType && e.regno == a.regno && e.degree == a.degree
            && e.subject.compare(a.subject, Qt::CaseInsensitive) == 0) {
            fault(u"subject"_s, u"the same award is on line "_s + QString::number(e.line));
            return faults;
        }
    }
    if (db.exists(u"select 1 from rankreg where fregno = ? and fdegree = ? and fcerttype = ? and fsubject = ? and "
                  "fconvocode = ?"_s,
                  {a.regno, a.degree, a.certType, a.subject, m_session.convoCode}))
        fault(u"subject"_s, u"this award of "_s + a.regno + u" is already registered"_s);
    return faults;
}

ImportCounts AwardImport::apply(const AwardBatch &batch)
{
    if (!batch.readable)
        return {};
    Database &db = m_session.db();
    ImportTally tally(
        batch.path, m_session.folder, u"line"_s,
        {u"type"_s, u"regno"_s, u"degree"_s, u"college"_s, u"donor"_s, u"subject"_s, u"amount"_s, u"remarks"_s},
        legacytext::Encoding::Cp1252);
    tally.counts().total = batch.lines;
    for (const AwardRejected &r : batch.rejected)
        tally.reject(r.line, r.field, {}, r.reason, r.fields);
    const QDateTime now = QDateTime::currentDateTime();
    WriteScope scope(db);
    Statement insert = db.prepare(
        u"insert into rankreg (fdegree, fregno, fconvocode, fcerttype, fdonername, fsubject, famount, fdate, ftime, "
        "fremarks, fusername, fslno) values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s);
    int serial = 1;
    for (const AwardLine &a : batch.awards) {
        insert.exec({a.degree, a.regno, m_session.convoCode, a.certType, a.donor, a.subject, a.amount, now.date(),
                     now.toString(u"hh:mm ap"_s), a.remarks, m_session.userName, serial++});
        ++tally.counts().inserted;
    }
    if (tally.counts().inserted > 0)
        AuditTrail(db).record(m_session.userName, {u"certificates"_s,
                                                   u"awards import"_s,
                                                   u"rankreg"_s,
                                                   QFileInfo(batch.path).fileName(),
                                                   {},
                                                   QString::number(tally.counts().inserted) + u" awards"_s});
    scope.commit();
    return tally.finish();
}

} // namespace sw
