// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/output/reportwriter.h"
#include "shell/core/progress.h"

#include <QDate>
#include <QString>

namespace sw {

class Prompter;
class Session;

// What the printed-certificate list screen selects: degree and college ranges of the
// current convocation and the dates on which the certificates were printed.
struct PrintedListSelection
{
    QString fromDegree;
    QString toDegree;
    QString fromCollege;
    QString toCollege;
    QDate fromDate;
    QDate toDate;

    // Blank (or "0") first fields of a range mean the whole range.
    void normaliseRanges();

    // Checks the two date boxes (dd/mm/yyyy) and takes them; the screen's message when
    // they are not right, empty when they are.
    QString takeDates(const QString &fromText, const QString &toText);
};

// The reports of the printed-certificate list screen: the list by date of issue, the
// count per convocation, the convocation ledger on 120 columns, and the day's CSV file.
class CertPrintedReports
{
public:
    CertPrintedReports(Session &session, Prompter &prompter, PageHeaderSource header);

    // The certificates printed in the range, by date of issue (Gen_Report_Data).
    bool printedList(const PrintedListSelection &selection, const QString &reportFile);
    // How many were printed, per convocation, over every convocation (Gen_Report_Data_Count).
    bool countPerConvocation(const PrintedListSelection &selection, const QString &reportFile);
    // The convocation ledger on 120 columns (Gen_Report_Data_Ledger).
    bool convocationLedger(const PrintedListSelection &selection, const QString &reportFile);

    // Writes CSV/CERTDET<ddmmyyyy>.csv in the application folder (today's file is
    // replaced) and returns the number of lines; -1 when there were no rows. (Gen_Report_Data_CSV)
    int certificateDetailsCsv(const PrintedListSelection &selection, const QDate &today = QDate::currentDate());

    // Writes the certificate numbers and dates of the range back to the portal's
    // dcstud, after asking whether only the candidates who paid online are meant.
    // Returns the number of rows updated; -1 when the user cancelled or there was
    // nothing to update. A row the portal refuses is named and the run goes on.
    // (Gen_Report_Data_Online)
    int updatePortal(const PrintedListSelection &selection, const Progress &progress = {});
    static QString csvFileName(const QDate &day);

private:
    QString printedCondition(const QString &extraTables = {}, const QString &extraCondition = {}) const;
    QVariantList printedParameters(const PrintedListSelection &s) const;
    void noRows();

    Session &m_session;
    Prompter &m_prompter;
    PageHeaderSource m_header;
};

} // namespace sw
