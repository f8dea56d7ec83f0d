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
    QDate printedDate; // convo.fdate: the date of issue of a printed certificate

    bool hasSpeciality() const { return !special.trimmed().isEmpty(); }
    // "him" or "her" by the candidate's sex ("M" or "F"); empty when it is neither.
    QString objectPronoun() const;
};

// The candidates a run prints (or, in Pdf mode, copies), in the order the
// stationery is fed: by college, then register number.
std::vector<CertificateRow> selectCertificateRows(const Session &session, const PrintSelection &selection);

// Whether the candidate is still unprinted (another workstation may have printed it since the selection).
bool stillUnprinted(const Database &db, const QString &convoCode, const CertificateRow &row);

} // namespace sw
