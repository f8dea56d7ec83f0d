// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "certificates/printing/printselection.h"

#include <QDate>
#include <QString>
#include <vector>

namespace sw {

class Database;
class Session;

// One candidate as the degree layouts print it: the candidate joined with its
// college, degree, class and convocation.
struct CertificateRow
{
    QString regno, name, nameKan, collCode, collName, degree, descpn, descpnKan, year, classCode, univCode, classDesc,
        classDescKan, special, specialKan, examDate, examDateKan, convoDate, convoDateKan, convoCode, convoName,
        convoNameKan, examType, certNo, sex;
    QString convoExamDateKan; // masconvo.fexamdatekan: the convocation's, for candidates without their own
    QDate printedDate;        // convo.fdate: the date of issue of a printed certificate

    bool hasSpeciality() const { return !special.trimmed().isEmpty(); }
    // The exam's month and year in Kannada: the candidate's own, else the convocation's.
    QString kannadaExamDate() const { return examDateKan.isEmpty() ? convoExamDateKan : examDateKan; }
    // "him" or "her" by the candidate's sex ("M" or "F"); empty when it is neither.
    QString objectPronoun() const;
};

// The order the stationery is fed in: by college, then register number (the degree layouts),
// or by register number alone (the designed layouts of 001).
enum class RowOrder { CollegeThenRegno, Regno };

// The one selection of every layout and of the PDF copies: the active candidates of the
// convocation's degree within the college and register-number ranges, unprinted (or, in Pdf
// mode, printed, with their numbers and dates of issue).
std::vector<CertificateRow> selectCertificateRows(const Session &session, const PrintSelection &selection,
                                                  RowOrder order = RowOrder::CollegeThenRegno);

// Whether the candidate is still unprinted (another workstation may have printed it since the selection).
bool stillUnprinted(const Database &db, const QString &convoCode, const CertificateRow &row);

} // namespace sw
