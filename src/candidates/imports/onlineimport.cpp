// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/imports/onlineimport.h"
#include "shell/db/failures.h"
#include "shell/core/legacytext.h"

#include "candidates/entry/academicid.h"
#include "shell/db/rowbatch.h"
#include "shell/core/importtally.h"
#include "shell/session.h"
#include "shell/core/stoperror.h"
#include "shell/db/schema.h"
#include "shell/online/onlinelink.h"
#include "candidates/imports/importaudit.h"

#include <QDateTime>
#include <QDir>
#include <QHash>
#include <QSet>
#include <QSqlRecord>

#include <array>
#include <tuple>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// convofee's columns in the order of its insert, and the portal column each comes from.
struct FeeColumn
{
    const char16_t *local;
    const char16_t *portal;
};
constexpr std::array<FeeColumn, 24> kFeeColumns = {{
    {u"FAPPNO", u"FAPPNO"},     {u"FREGNO", u"FREGNO"},     {u"FNAME", u"FNAME"},       {u"FDOB", u"FDOB"},
    {u"FMOBILE", u"FMOBILE"},   {u"FEMAIL", u"FEMAIL"},     {u"FADDR1", u"FPOSTADDR1"}, {u"FADDR2", u"FPOSTADDR2"},
    {u"FADDR3", u"FPOSTADDR3"}, {u"FADDR4", u"FPOSTADDR4"}, {u"FAMOUNT", u"FAMOUNT"},   {u"FPHOTOPATH", u"FPHOTOPATH"},
    {u"FREGDATE", u"FREGDATE"}, {u"FREGIP", u"FREGIP"},     {u"FPAYTYPE", u"FPAYTYPE"}, {u"FPAYSTATUS", u"FPAYSTATUS"},
    {u"FPAYDATE", u"FPAYDATE"}, {u"FTRANID", u"FTRANID"},   {u"FCATPATH", u"FCATPATH"}, {u"FRECCER", u"FRECCER"},
    {u"FSCHEME", u"FSCHEME"},   {u"FCITY", u"FCITY"},       {u"FSTATE", u"FSTATE"},     {u"FPINCODE", u"FPINCODE"},
}};

// The candidate columns the application fills, and where each comes from.
constexpr std::array<FeeColumn, 6> kCandidateColumns = {{
    {u"FADDR1", u"FPOSTADDR1"},
    {u"FADDR2", u"FPOSTADDR2"},
    {u"FADDR3", u"FPOSTADDR3"},
    {u"FADDR4", u"FPOSTADDR4"},
    {u"FMOBILE", u"FMOBILE"},
    {u"FEMAIL", u"FEMAIL"},
}};

QString insertFeeSql()
{
    QStringList columns, marks;
    for (const FeeColumn &c : kFeeColumns) {
        columns << QString::fromUtf16(c.local);
        marks << u"?"_s;
    }
    return u"insert into convofee ("_s + columns.join(u", "_s) + u") values ("_s + marks.join(u", "_s) + u')';
}

// One paid application as read from the portal, its texts ready to store.
struct Application
{
    QHash<QString, QVariant> values; // by portal column, upper case
    QString abcIdColumn;             // the portal's column of the student's ABC ID; empty when it has none
    QString text(const QString &column) const
    {
        const QVariant v = values.value(column);
        return v.isNull() ? QString() : v.toString();
    }
    QString appNo() const { return text(u"FAPPNO"_s).trimmed(); }
    QString regno() const { return text(u"FREGNO"_s).trimmed().toUpper(); }
    QString abcId() const { return abcIdColumn.isEmpty() ? QString() : text(abcIdColumn).trimmed(); }
    QStringList fields() const
    {
        QStringList out;
        for (const FeeColumn &c : kFeeColumns)
            out << text(QString::fromUtf16(c.portal));
        return out;
    }
};

Application readApplication(const Rows &row, const QSqlRecord &record)
{
    Application a;
    for (int i = 0; i < record.count(); ++i) {
        const QString column = record.fieldName(i).toUpper();
        if (a.abcIdColumn.isEmpty() && AcademicId::isColumnName(column))
            a.abcIdColumn = column;
        QVariant v = row.value(i);
        if (column.startsWith(u"FPOSTADDR"_s))
            v = legacytext::graveApostrophes(v.isNull() ? QString() : v.toString());
        a.values.insert(column, v);
    }
    // The register number is compared and stored without the blanks a form may leave.
    a.values.insert(u"FREGNO"_s, a.regno());
    return a;
}

// The value as it goes into convofee: the registration date with its time, the amount
// as a number, the rest as text.
QVariant feeValue(const Application &a, const FeeColumn &c)
{
    const QString portal = QString::fromUtf16(c.portal);
    const QVariant v = a.values.value(portal);
    if (portal == u"FREGDATE"_s) {
        if (v.isNull())
            return QVariant(QMetaType::fromType<QDateTime>());
        return v.metaType().id() == QMetaType::QDate ? QVariant(v.toDate().startOfDay()) : QVariant(v.toDateTime());
    }
    if (portal == u"FAMOUNT"_s)
        return v.isNull() ? QVariant(QMetaType::fromType<double>()) : QVariant(v.toDouble());
    return v.isNull() ? Database::nullText() : QVariant(v.toString());
}

// The payment's moment: the payment date as the portal writes it, else the registration's.
QDateTime paidAt(const Application &a)
{
    const QString text = a.text(u"FPAYDATE"_s).trimmed();
    for (const QString &format :
         {u"dd/MM/yyyy HH:mm:ss"_s, u"dd/MM/yyyy HH:mm"_s, u"dd/MM/yyyy"_s, u"yyyy-MM-dd HH:mm:ss"_s,
          u"yyyy-MM-ddTHH:mm:ss"_s, u"yyyy-MM-dd"_s, u"dd-MM-yyyy HH:mm:ss"_s, u"dd-MM-yyyy"_s}) {
        const QDateTime d = QDateTime::fromString(text, format);
        if (d.isValid())
            return d;
    }
    return a.values.value(u"FREGDATE"_s).toDateTime();
}

// Why the application cannot be stored: a value wider than its convofee or convo column.
std::optional<std::pair<QString, QString>> tooWide(const Application &a)
{
    for (const FeeColumn &c : kFeeColumns) {
        const QString portal = QString::fromUtf16(c.portal);
        const int width = schema::columnWidth(u"CONVOFEE"_s, QString::fromUtf16(c.local));
        if (width > 0 && a.text(portal).size() > width)
            return std::pair{portal, u"holds %1 characters; convofee.%2 takes %3"_s.arg(a.text(portal).size())
                                         .arg(QString::fromUtf16(c.local))
                                         .arg(width)};
    }
    for (const FeeColumn &c : kCandidateColumns) {
        const QString portal = QString::fromUtf16(c.portal);
        const int width = schema::columnWidth(u"CONVO"_s, QString::fromUtf16(c.local));
        if (width > 0 && a.text(portal).size() > width)
            return std::pair{portal, u"holds %1 characters; the candidate's %2 takes %3"_s.arg(a.text(portal).size())
                                         .arg(QString::fromUtf16(c.local))
                                         .arg(width)};
    }
    return std::nullopt;
}

// Why the application's ABC ID cannot be stored: not twelve digits, or held by another student.
QString abcIdProblem(const Application &a, AcademicId &ids)
{
    const QString id = a.abcId();
    if (const QString why = AcademicId::formatProblem(id); !why.isEmpty() || id.isEmpty())
        return why;
    const AcademicId::Candidate applicant{a.regno(), a.text(u"FNAME"_s), a.text(u"FDOB"_s), {}, {}};
    const QString why = ids.holderProblem(id, applicant);
    if (why.isEmpty())
        ids.remember(id, applicant);
    return why;
}

} // namespace

OnlineApplicationImport::OnlineApplicationImport(Session &session, Prompter &prompter, Progress progress)
    : m_session(session)
    , m_prompter(prompter)
    , m_progress(std::move(progress))
{
}

QString OnlineApplicationImport::portalQuery()
{
    return u" select t.* from dctran t, dcstud s where t.fregno = s.fregno and t.fpaystatus = 'success'"_s
           + u" and ifnull(s.fcertno,'') = '' order by t.fregno"_s;
}

QString OnlineApplicationImport::completedMessage(const Counts &counts)
{
    QString text = u"Completed Successfully\r\rApplications Read: "_s + QString::number(counts.remoteRows)
                   + u"\rNew Applications: "_s + QString::number(counts.newApplications) + u"\rAlready Taken: "_s
                   + QString::number(counts.knownApplications) + u"\rRejected: "_s + QString::number(counts.rejected)
                   + u"\rCandidates Marked Paid: "_s + QString::number(counts.candidatesMarked);
    if (!counts.rejectFile.isEmpty())
        text += u"\r\rThe rejected applications are listed in "_s + QDir::toNativeSeparators(counts.rejectFile);
    if (!counts.unmatched.isEmpty()) {
        // The whole list is in convofee; a message shows its beginning.
        constexpr int kShown = 50;
        text += u"\r\rApplications of no candidate ("_s + QString::number(counts.unmatched.size()) + u"): "_s
                + counts.unmatched.mid(0, kShown).join(u", "_s)
                + (counts.unmatched.size() > kShown
                       ? u" and "_s + QString::number(counts.unmatched.size() - kShown) + u" more"_s
                       : QString());
    }
    return text;
}

std::optional<OnlineApplicationImport::Counts> OnlineApplicationImport::run()
{
    try {
        OnlineLink::open(m_session);
        const Counts counts = import();
        report(m_progress, {}, 0);
        if (counts.remoteRows > 0)
            recordImport(m_session, u"online"_s, u"portal"_s, completedMessage(counts));
        // Nothing paid yet is an answer, not a failure.
        if (counts.remoteRows < 1) {
            m_prompter.message(u"No Records found to import"_s, u"Message"_s, PromptIcon::Information);
            return counts;
        }
        m_prompter.message(completedMessage(counts), u"Message"_s,
                           counts.rejected > 0 || !counts.unmatched.isEmpty() ? PromptIcon::Exclamation
                                                                              : PromptIcon::Information);
        return counts;
    } catch (const std::exception &) {
        showFailure(m_prompter, ErrorForm::Screen);
        report(m_progress, {}, 0);
    }
    return std::nullopt;
}

OnlineApplicationImport::Counts OnlineApplicationImport::import()
{
    // The portal's rows come over whole (the driver buffers the result), so a link
    // that drops afterwards cannot cut the run short in the middle. An application is
    // taken once even when the portal lists its student twice.
    std::vector<Application> applications;
    {
        Rows remote = m_session.cnOnline->query(portalQuery());
        const QSqlRecord record = remote.query().record();
        QSet<QString> seen;
        while (remote.next()) {
            Application a = readApplication(remote, record);
            if (seen.contains(a.appNo()))
                continue;
            seen.insert(a.appNo());
            applications.push_back(std::move(a));
        }
    }
    Counts counts;
    counts.remoteRows = int(applications.size());
    if (applications.empty())
        return counts;

    // The latest payment of each register number is the one whose address the candidate
    // takes (of the applications that can be stored).
    QHash<QString, size_t> latest;
    for (size_t i = 0; i < applications.size(); ++i) {
        const Application &a = applications[i];
        if (tooWide(a))
            continue;
        const auto known = latest.constFind(a.regno());
        if (known == latest.cend()) {
            latest.insert(a.regno(), i);
            continue;
        }
        const Application &b = applications[*known];
        if (std::tuple(paidAt(a), a.values.value(u"FREGDATE"_s).toDateTime(), a.appNo())
            > std::tuple(paidAt(b), b.values.value(u"FREGDATE"_s).toDateTime(), b.appNo()))
            latest.insert(a.regno(), i);
    }

    Database &db = m_session.db();
    QStringList portalColumns;
    for (const FeeColumn &c : kFeeColumns)
        portalColumns << QString::fromUtf16(c.portal);
    ImportTally tally(m_session.folder.filePath(u"CSV/dctran"_s), m_session.folder, u"row"_s, portalColumns,
                      legacytext::Encoding::Cp1252);
    const QString coalesce = db.dialect().coalesce(u"fcertno"_s, u"''"_s);
    Statement findFee = db.prepare(u"select fappno from convofee where fappno = ?"_s);
    Statement insertFee = db.prepare(insertFeeSql());
    Statement findCandidate = db.prepare(u"select fdegree from convo where fregno = ?"_s);
    // An application without an ID leaves the one the candidate holds.
    Statement markPaid = db.prepare(
        u"update convo set faddr1 = ?, faddr2 = ?, faddr3 = ?, faddr4 = ?, fmobile = ?, femail = ?, ffeepaid = 'T', "
        "fabcid = coalesce(nullif(?, ''), fabcid) where fregno = ? and "_s
        + coalesce + u" = '' and "_s + db.dialect().coalesce(u"ffeepaid"_s, u"''"_s) + u" <> 'T'"_s);
    AcademicId abcIds(db);
    RowBatch batch(db, 1000);
    int row = 0;
    for (size_t i = 0; i < applications.size(); ++i) {
        const Application &a = applications[i];
        ++row;
        report(m_progress, u"Downloading Details ..."_s, int(qint64(row) * 100 / counts.remoteRows));
        if (const auto wide = tooWide(a)) {
            tally.reject(row, wide->first, a.text(wide->first).left(60),
                         u"application "_s + a.appNo() + u": "_s + wide->second, a.fields());
            ++counts.rejected;
            continue;
        }
        if (const QString why = abcIdProblem(a, abcIds); !why.isEmpty()) {
            tally.reject(row, a.abcIdColumn, a.abcId().left(60), u"application "_s + a.appNo() + u": "_s + why,
                         a.fields());
            ++counts.rejected;
            continue;
        }
        if (!findFee.run({a.appNo()}).next()) {
            QVariantList values;
            for (const FeeColumn &c : kFeeColumns)
                values << feeValue(a, c);
            insertFee.exec(values);
            ++counts.newApplications;
        } else {
            ++counts.knownApplications;
        }
        if (!findCandidate.run({a.regno()}).next())
            counts.unmatched << a.appNo() + u" ("_s + a.regno() + u')';
        else if (latest.value(a.regno()) == i)
            counts.candidatesMarked += markPaid.exec({a.text(u"FPOSTADDR1"_s), a.text(u"FPOSTADDR2"_s),
                                                      a.text(u"FPOSTADDR3"_s), a.text(u"FPOSTADDR4"_s),
                                                      a.text(u"FMOBILE"_s), a.text(u"FEMAIL"_s), a.abcId(), a.regno()});
        findCandidate.finish();
        batch.rowDone();
    }
    counts.rejectFile = tally.finish().rejectFile;
    return counts;
}

} // namespace sw
