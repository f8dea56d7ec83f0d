// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace sw {

class IssuerKey;
class Session;
struct CertificateRow;

// A printed degree certificate as a W3C Verifiable Credential 2.0 that a wallet can take:
// the candidate, the degree, class, convocation and date of issue, issued by the
// institution (the verification page's address), with `credentialStatus` pointing at
// the certificate's places on the published revocation and suspension lists. It is
// secured as a JWS (EdDSA with the institution's key, `typ` vc+jwt).
class DegreeCredential
{
public:
    DegreeCredential(Session &session, QString pageUrl);

    // The credential of one printed certificate whose places on the lists are `list`, `index`.
    QJsonObject credential(const CertificateRow &row, int list, long long index) const;
    // Writes CERTNO.jwt into `folder` for each certificate printed for the register numbers
    // from..to of the session's convocation; returns the files written. StopError when none.
    QStringList write(const QString &regnoFrom, const QString &regnoTo, const QString &folder, const IssuerKey &key);

private:
    Session &m_session;
    QString m_pageUrl;
};

} // namespace sw
