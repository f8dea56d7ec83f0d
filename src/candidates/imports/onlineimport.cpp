// SPDX-License-Identifier: GPL-3.0-or-later
#include "candidates/imports/onlineimport.h"

#include "candidates/imports/rowbatch.h"
#include "shell/core/session.h"
#include "shell/core/stoperror.h"
#include "shell/online/onlinelink.h"

#include <QDateTime>
#include <QSqlRecord>

#include <array>

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
    {u"FAPPNO", u"FAPPNO"},         {u"FREGNO", u"FREGNO"},         {u"FNAME", u"FNAME"},
    {u"FDOB", u"FDOB"},             {u"FMOBILE", u"FMOBILE"},       {u"FEMAIL", u"FEMAIL"},
    {u"FADDR1", u"FPOSTADDR1"},     {u"FADDR2", u"FPOSTADDR2"},     {u"FADDR3", u"FPOSTADDR3"},
    {u"FADDR4", u"FPOSTADDR4"},     {u"FAMOUNT", u"FAMOUNT"},       {u"FPHOTOPATH", u"FPHOTOPATH"},
    {u"FREGDATE", u"FREGDATE"},     {u"FREGIP", u"FREGIP"},         {u"FPAYTYPE", u"FPAYTYPE"},
    {u"FPAYSTATUS", u"FPAYSTATUS"}, {u"FPAYDATE", u"FPAYDATE"},     {u"FTRANID", u"FTRANID"},
    {u"FCATPATH", u"FCATPATH"},     {u"FRECCER", u"FRECCER"},       {u"FSCHEME", u"FSCHEME"},
    {u"FCITY", u"FCITY"},           {u"FSTATE", u"FSTATE"},         {u"FPINCODE", u"FPINCODE"},
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

// The portal's value as it goes into convofee: the address lines with grave accents,
// the registration date as a date (the column holds dates only), the rest as read.
QVariant feeValue(const Rows &row, const FeeColumn &c)
{
    const QString portal = QString::fromUtf16(c.portal);
    const QVariant v = row.value(portal);
    if (portal.startsWith(u"FPOSTADDR"_s))
        return graveApostrophes(row.text(portal));
    if (portal == u"FREGDATE"_s) {
        if (v.isNull())
            return QVariant(QMetaType::fromType<QDate>());
        if (v.metaType().id() == QMetaType::QDateTime)
            return v.toDateTime().date();
        return v.toDate();
    }
    if (portal == u"FAMOUNT"_s)
        return v.isNull() ? QVariant(QMetaType::fromType<double>()) : QVariant(v.toDouble());
    return v.isNull() ? Database::nullText() : QVariant(v.toString());
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

std::optional<OnlineApplicationImport::Counts> OnlineApplicationImport::run()
{
    try {
        OnlineLink::open(m_session);
        const Counts counts = import();
        report(m_progress, {}, 0);
        if (counts.remoteRows < 1) {
            m_prompter.message(u"No Records found to import"_s, u"Message"_s, PromptIcon::Exclamation);
            return std::nullopt;
        }
        m_prompter.info(u"Completed Successfully"_s);
        return counts;
    } catch (const StopError &e) {
        report(m_progress, {}, 0);
        m_prompter.message(e.text(), e.title(), e.icon());
    } catch (const DbError &e) {
        report(m_progress, {}, 0);
        m_prompter.message(e.screenMessage(), u"Message"_s, PromptIcon::Critical);
    }
    return std::nullopt;
}

OnlineApplicationImport::Counts OnlineApplicationImport::import()
{
    Counts counts;
    // The portal's rows come over whole (the driver buffers the result), so a link
    // that drops afterwards cannot cut the run short in the middle.
    Rows remote = m_session.cnOnline->query(portalQuery());
    int total = remote.query().size();
    Database &db = m_session.db();
    const QString coalesce = db.dialect().coalesce(u"fcertno"_s, u"''"_s);
    Statement findFee = db.prepare(u"select fappno from convofee where fappno = ?"_s);
    Statement insertFee = db.prepare(insertFeeSql());
    Statement markPaid = db.prepare(
        u"update convo set faddr1 = ?, faddr2 = ?, faddr3 = ?, faddr4 = ?, fmobile = ?, femail = ?, ffeepaid = 'T' "
        "where fregno = ? and "_s
        + coalesce + u" = '' and "_s + db.dialect().coalesce(u"ffeepaid"_s, u"''"_s) + u" <> 'T'"_s);
    RowBatch batch(db, 1000);
    while (remote.next()) {
        ++counts.remoteRows;
        report(m_progress, u"Downloading Details ..."_s, total > 0 ? int(qint64(counts.remoteRows) * 100 / total) : -1);
        const QString appNo = remote.text(u"FAPPNO"_s);
        if (!findFee.run({appNo}).next()) {
            QVariantList values;
            for (const FeeColumn &c : kFeeColumns)
                values << feeValue(remote, c);
            insertFee.exec(values);
            ++counts.newApplications;
        }
        counts.candidatesMarked += markPaid.exec(
            {graveApostrophes(remote.text(u"FPOSTADDR1"_s)), graveApostrophes(remote.text(u"FPOSTADDR2"_s)),
             graveApostrophes(remote.text(u"FPOSTADDR3"_s)), graveApostrophes(remote.text(u"FPOSTADDR4"_s)),
             remote.text(u"FMOBILE"_s), remote.text(u"FEMAIL"_s), remote.text(u"FREGNO"_s)});
        batch.rowDone();
    }
    return counts;
}

} // namespace sw
