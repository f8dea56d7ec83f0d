// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/common/reportpageheader.h"

#include "shell/core/appfolder.h"
#include "shell/core/institutionconfig.h"
#include "shell/db/database.h"

using namespace Qt::StringLiterals;

namespace sw {

ReportPageHeader::ReportPageHeader(QString company, QString address)
    : m_company(std::move(company))
    , m_address(std::move(address))
{
}

ReportPageHeader ReportPageHeader::read(const Database &db, const AppFolder &folder)
{
    Rows rows = db.query(u"select fcompany, fadd1, fadd2 from control"_s);
    if (!rows.next())
        return {u"Quanvex"_s, InstitutionConfig::load(folder).value(u"HEADER"_s, u"TOWN"_s)};
    QString address = rows.text(1);
    if (!rows.text(2).isEmpty())
        address += u", "_s + rows.text(2);
    return {rows.text(0), address.trimmed()};
}

QString ReportPageHeader::centred(const QString &text, int width)
{
    const qsizetype blanks = width / 2 - text.size() / 2;
    return QString(std::max<qsizetype>(0, blanks), u' ') + text;
}

QStringList ReportPageHeader::lines(int width, int &page, const QDate &today) const
{
    ++page;
    return {QString(),
            centred(m_company, width),
            centred(m_address, width),
            u"Date : "_s + today.toString(u"dd/MM/yyyy"_s) + QString(std::max(0, width - 35), u' ') + u"Page No : "_s
                + QString::number(page)};
}

} // namespace sw
