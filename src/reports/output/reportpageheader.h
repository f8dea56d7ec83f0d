// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace sw {

class AppFolder;
class Database;

// The page header of every text report: an empty line, the institution's name
// and its address centred on the line width, then "Date : " + today and, at the
// right, "Page No : " + the page number. The report writer puts these lines at
// the top of each page.
class ReportPageHeader
{
public:
    // The name and address from the settings row (FCOMPANY; FADD1 and FADD2 joined
    // by ", ", the second left out when empty). Without a settings row the fixed
    // company name and the town of the institution file ([HEADER] TOWN) stand in.
    static ReportPageHeader read(Database &db, const AppFolder &folder);
    ReportPageHeader(QString company, QString address);

    // Increments `page` and returns the header's lines for a report `width` characters wide.
    QStringList lines(int width, int &page, const QDate &today = QDate::currentDate()) const;

    const QString &company() const { return m_company; }
    const QString &address() const { return m_address; }

    // `text` preceded by width div 2 - length div 2 blanks (none when that is negative).
    static QString centred(const QString &text, int width);

private:
    QString m_company;
    QString m_address;
};

} // namespace sw
