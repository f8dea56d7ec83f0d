// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/signing/nsssession.h"

#include <QByteArray>
#include <QDateTime>

#include <vector>

namespace sw::cms {

// The detached CMS SignedData (PKCS #7) a PDF signature field holds, in DER: the
// SHA-256 `digest` of the signed byte ranges, the signing time, the signer's
// certificate and the chain above it, and the signature made with `key`.
//
// NSS's own CMS encoder finds the private key from the certificate for every
// signature, and a key kept in the certificate database is decrypted from it on each
// use (about 40 ms for a 2048-bit RSA key, twenty times the signature itself). Here
// the caller passes the key, so a copy held in memory for the run signs. The signer
// is named by issuer and serial number, which every reader of signed PDFs finds.
// Throws StopError when NSS cannot sign.
QByteArray detachedSignature(CERTCertificate *cert, const std::vector<CERTCertificate *> &issuers,
                             SECKEYPrivateKey *key, const QByteArray &digest, const QDateTime &when);

} // namespace sw::cms
