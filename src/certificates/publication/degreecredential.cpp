// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/publication/degreecredential.h"

#include "certificates/layouts/certificaterow.h"
#include "certificates/layouts/verificationcode.h"
#include "certificates/printing/statusregister.h"
#include "certificates/publication/statuslist.h"
#include "shell/core/filewrite.h"
#include "shell/core/issuerkey.h"
#include "shell/core/stoperror.h"
#include "shell/db/database.h"
#include "shell/session.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QUuid>

using namespace Qt::StringLiterals;

namespace sw {

DegreeCredential::DegreeCredential(Session &session, QString pageUrl)
    : m_session(session)
    , m_pageUrl(std::move(pageUrl))
{
}

QJsonObject DegreeCredential::credential(const CertificateRow &row, int list, long long index) const
{
    const CertificateClaims claims = CertificateClaims::of(row);
    const auto statusEntry = [&](const QString &purpose) -> QJsonObject {
        const QString listUrl = StatusListWriter::listUrl(m_pageUrl, list, purpose);
        const QString entryId = listUrl + u'#' + QString::number(index);
        return QJsonObject{{u"id"_s, entryId},
                           {u"type"_s, u"BitstringStatusListEntry"_s},
                           {u"statusPurpose"_s, purpose},
                           {u"statusListIndex"_s, QString::number(index)},
                           {u"statusListCredential"_s, listUrl}};
    };
    // The same number always names the same credential.
    const QString name = m_pageUrl + u'|' + claims.certNo;
    const QString id =
        u"urn:uuid:"_s
        + QUuid::createUuidV5(QUuid(u"6f1d2c4e-9a57-4d43-8f1a-2b7d5c0e9e31"_s), name).toString(QUuid::WithoutBraces);
    const QString validFrom =
        claims.issued.isValid() ? claims.issued.toString(u"yyyy-MM-dd"_s) + u"T00:00:00Z"_s : QString();
    QJsonObject degree{{u"type"_s, u"Degree"_s},
                       {u"name"_s, claims.degree},
                       {u"class"_s, claims.className},
                       {u"convocation"_s, claims.convocation},
                       {u"examination"_s, row.examDate}};
    return QJsonObject{{u"@context"_s, QJsonArray{u"https://www.w3.org/ns/credentials/v2"_s}},
                       {u"id"_s, id},
                       {u"type"_s, QJsonArray{u"VerifiableCredential"_s, u"DegreeCredential"_s}},
                       {u"issuer"_s, QJsonObject{{u"id"_s, m_pageUrl}, {u"name"_s, m_session.instTitle.trimmed()}}},
                       {u"validFrom"_s, validFrom},
                       {u"name"_s, claims.degree},
                       {u"credentialSubject"_s, QJsonObject{{u"name"_s, claims.name},
                                                            {u"registerNumber"_s, claims.regno},
                                                            {u"certificateNumber"_s, claims.certNo},
                                                            {u"degree"_s, degree}}},
                       {u"credentialStatus"_s, QJsonArray{statusEntry(u"revocation"_s), statusEntry(u"suspension"_s)}}};
}

QStringList DegreeCredential::write(const QString &regnoFrom, const QString &regnoTo, const QString &folder,
                                    const IssuerKey &key)
{
    Database &db = m_session.db();
    // The one selection of the certificates (as the PDF copies take them), degree by degree.
    Rows degrees = db.query(u"select distinct fdegree from convo where fregno between ? and ? and fconvocode = ? and "_s
                                + db.dialect().coalesce(u"fcertno"_s, u"''"_s) + u" <> '' order by fdegree"_s,
                            {regnoFrom, regnoTo, m_session.convoCode});
    std::vector<CertificateRow> rows;
    while (degrees.next()) {
        PrintSelection s;
        s.mode = PrintMode::Pdf;
        s.degree = degrees.text(0).trimmed();
        s.collegeFrom = u"0000"_s;
        s.collegeTo = u"ZZZZ"_s;
        s.regnoFrom = regnoFrom;
        s.regnoTo = regnoTo;
        for (CertificateRow &row : selectCertificateRows(m_session, s))
            rows.push_back(std::move(row));
    }
    if (rows.empty())
        throw StopError(u"No printed certificate of Reg. No. "_s + regnoFrom
                        + (regnoTo != regnoFrom ? u".."_s + regnoTo : QString()) + u" in convocation "_s
                        + m_session.convoCode + u'.');
    if (!QDir().mkpath(folder))
        throw StopError(u"The folder "_s + QDir::toNativeSeparators(folder) + u" cannot be made."_s);
    QStringList written;
    StatusRegister status(db, m_session.userName);
    for (const CertificateRow &row : rows) {
        WriteScope scope(db);
        const StatusRegister::Entry place = status.assign(row.certNo, row.regno, row.degree);
        scope.commit();
        const QByteArray payload =
            QJsonDocument(credential(row, place.list, place.index)).toJson(QJsonDocument::Compact);
        const QString file = QDir(folder).filePath(row.certNo + u".jwt"_s);
        writeWholeFile(file, key.signJws(payload, u"vc+jwt"_s) + '\n');
        written << file;
    }
    return written;
}

} // namespace sw
