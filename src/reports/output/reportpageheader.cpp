// SPDX-License-Identifier: GPL-3.0-or-later
#include "reports/output/reportpageheader.h"

#include "shell/core/appfolder.h"
#include "shell/core/institutionconfig.h"
#include "shell/core/maker.h"
#include "shell/db/database.h"
#include "shell/settings/controlstore.h"

using namespace Qt::StringLiterals;

namespace sw {

ReportPageHeader::ReportPageHeader(QString company, QString address)
    : m_company(std::move(company))
    , m_address(std::move(address))
{
}

ReportPageHeader ReportPageHeader::read(Database &db, const AppFolder &folder)
{
    const InstitutionDetails institution = ControlStore(db).institution();
    if (!institution.rowExists)
        return {makerName(), InstitutionConfig::load(folder).value(u"HEADER"_s, u"TOWN"_s)};
    QString address = institution.address[0];
    if (!institution.address[1].isEmpty())
        address += u", "_s + institution.address[1];
    return {institution.company, address.trimmed()};
}

QString ReportPageHeader::centred(const QString &text, int width)
{
    const qsizetype blanks = width / 2 - text.size() / 2;
    return QString(std::max<qsizetype>(0, blanks), u' ') + text;
}

QStringList ReportPageHeader::lines(int width, int &page, const QDate &today) const
{
    ++page;
    return {QString(), centred(m_company, width), centred(m_address, width),
            u"Date : "_s + today.toString(u"dd/MM/yyyy"_s) + QString(std::max(0, width - 35), u' ') + u"Page No : "_s
                + QString::number(page)};
}

} // namespace sw
