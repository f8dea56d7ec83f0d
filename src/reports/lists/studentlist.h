// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "reports/output/reportwriter.h"

#include <QString>

namespace sw {

class Prompter;
class Session;

// What the student list screen selects: one degree of the current convocation and a
// range of colleges.
struct StudentListSelection
{
    QString degree;
    QString fromCollege;
    QString toCollege;
    bool printedOnly = false; // "&Certificate Printed Only"
    bool activeOnly = false;  // "&Active only" (spreadsheet lists)
    // The Kannada-name workbook writes the names' Unicode reading (in a Unicode Kannada
    // font) instead of the legacy codes in "BRH Kannada".
    bool unicodeKannada = false;

    // The screen's rule for the college range: a blank From College means every
    // college ("0000" to "ZZZZ"); a given one is also the To College.
    void normaliseColleges();
};

// The printed lists of candidates of the student list screen: the student list by
// college and the summary by degree, written as text reports.
class StudentListReports
{
public:
    StudentListReports(Session &session, Prompter &prompter, PageHeaderSource header);

    // The student list. Returns true when a report was written to `reportFile` (the
    // preview follows); false when there were no rows (the user has been told). (Gen_Report_Data)
    bool studentList(const StudentListSelection &selection, const QString &reportFile);

    // Eligible, printed and pending candidates of every degree of the convocation in
    // the college range, with their totals. (Gen_Report_Data_Sum)
    bool degreeSummary(const StudentListSelection &selection, const QString &reportFile);

    // The spreadsheet lists, written under Output/ and left for the user to open; each
    // returns the workbook's path, or an empty text when there were no rows (the user
    // has been told).
    // The list with the Kannada names (Gen_Report_Data_Xls).
    QString kannadaNamesWorkbook(const StudentListSelection &selection);
    // The convocation list by college (Gen_Report_Data_Xls_Convo).
    QString convocationWorkbook(const StudentListSelection &selection);
    // The ledger with photographs, for the whole convocation or (after the question)
    // for the rank holders only (Gen_Report_Data_Xls_Ledger).
    QString ledgerWorkbook(const StudentListSelection &selection);

private:
    QStringList titles(const StudentListSelection &selection, bool withDegree) const;
    QString candidateQuery(const StudentListSelection &selection, bool withActive, const QString &extraColumns) const;
    void noSheetRows();

    Session &m_session;
    Prompter &m_prompter;
    PageHeaderSource m_header;
};

} // namespace sw
