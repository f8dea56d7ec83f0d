// SPDX-License-Identifier: GPL-3.0-or-later
// Checking a signed PDF: PoDoFo finds the signature dictionaries, NSS checks the PKCS#7
// signature against the bytes it covers and the signer's certificate against the database.
#include "shell/signing/pdfsignature.h"

#include "shell/signing/nsssession.h"

#include <QFile>
#include <QScopeGuard>

#include <podofo/podofo.h>

#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

QByteArray hashRanges(const QByteArray &file, const std::vector<std::pair<qint64, qint64>> &ranges, SECOidTag alg)
{
    const HASH_HashType type = HASH_GetHashTypeByOidTag(alg);
    HASHContext *context = type == HASH_AlgNULL ? nullptr : HASH_Create(type);
    if (!context)
        return {};
    HASH_Begin(context);
    for (const auto &[start, length] : ranges)
        HASH_Update(context, reinterpret_cast<const unsigned char *>(file.constData() + start), unsigned(length));
    QByteArray digest(HASH_LENGTH_MAX, Qt::Uninitialized);
    unsigned length = 0;
    HASH_End(context, reinterpret_cast<unsigned char *>(digest.data()), &length, HASH_LENGTH_MAX);
    HASH_Destroy(context);
    digest.resize(length);
    return digest;
}

} // namespace

// --- checking ---------------------------------------------------------------

QString SignatureCheck::describe() const
{
    if (!valid)
        return u"NOT VALID: "_s + problem;
    const QString signedBy = u"signed by "_s + signer + u" on "_s + signedAt.toString(u"dd/MM/yyyy hh:mm:ss"_s);
    // Unchanged since signing, but by whom nobody can say: a stranger's certificate reads the same.
    if (!problem.isEmpty())
        return u"UNCHECKED: "_s + signedBy + u"; "_s + problem;
    return u"valid: "_s + signedBy;
}

namespace {

struct SignatureField
{
    std::vector<qint64> byteRange;
    QByteArray contents;
};

// The signature dictionaries of the file (those with a ByteRange and Contents).
std::vector<SignatureField> signatureFields(const QByteArray &pdf)
{
    using namespace PoDoFo;
    std::vector<SignatureField> fields;
    PdfMemDocument document;
    document.LoadFromBuffer(pdf.constData(), long(pdf.size()), false);
    for (PdfObject *object : document.GetObjects()) {
        if (!object || !object->IsDictionary())
            continue;
        const PdfDictionary &dict = object->GetDictionary();
        const PdfObject *range = dict.GetKey(PdfName("ByteRange"));
        const PdfObject *contents = dict.GetKey(PdfName("Contents"));
        if (!range || !contents || !range->IsArray() || !(contents->IsString() || contents->IsHexString()))
            continue;
        SignatureField field;
        for (const PdfObject &n : range->GetArray())
            field.byteRange.push_back(n.IsNumber() ? qint64(n.GetNumber()) : -1);
        const PdfString &s = contents->GetString();
        field.contents = QByteArray(s.GetString(), qsizetype(s.GetLength()));
        fields.push_back(std::move(field));
    }
    return fields;
}

QString statusText(NSSCMSVerificationStatus status)
{
    switch (status) {
    case NSSCMSVS_GoodSignature: return {};
    case NSSCMSVS_DigestMismatch: return u"the document was changed after it was signed"_s;
    case NSSCMSVS_BadSignature: return u"the signature does not match its certificate"_s;
    case NSSCMSVS_SigningCertNotFound: return u"the signer's certificate is not in the signature"_s;
    case NSSCMSVS_SigningCertNotTrusted:
        return u"the signer's certificate is not trusted by the certificate database"_s;
    case NSSCMSVS_SignatureAlgorithmUnknown:
    case NSSCMSVS_SignatureAlgorithmUnsupported: return u"the signature's algorithm is not supported"_s;
    case NSSCMSVS_MalformedSignature: return u"the signature is malformed"_s;
    default: return u"the signature could not be checked: "_s + nss::lastError();
    }
}

SignatureCheck checkField(const QByteArray &pdf, const SignatureField &field, bool trustChecked)
{
    SignatureCheck check;
    const auto &r = field.byteRange;
    const qint64 size = pdf.size();
    if (r.size() != 4 || r[0] != 0 || r[1] < 0 || r[2] < r[1] || r[3] < 0 || r[2] + r[3] > size) {
        check.problem = u"its byte range is not valid"_s;
        return check;
    }
    // Bytes after the signed ranges were added after signing.
    if (r[2] + r[3] != size) {
        check.problem = u"the document was changed after it was signed ("_s + QString::number(size - r[2] - r[3])
                        + u" bytes added)"_s;
        return check;
    }
    QByteArray der = field.contents;
    SECItem item{siBuffer, reinterpret_cast<unsigned char *>(der.data()), unsigned(der.size())};
    NSSCMSMessage *cms = NSS_CMSMessage_CreateFromDER(&item, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    if (!cms) {
        check.problem = u"the signature cannot be read"_s;
        return check;
    }
    const auto destroy = qScopeGuard([cms] { NSS_CMSMessage_Destroy(cms); });
    NSSCMSContentInfo *content = NSS_CMSMessage_ContentLevel(cms, 0);
    if (!content || NSS_CMSContentInfo_GetContentTypeTag(content) != SEC_OID_PKCS7_SIGNED_DATA) {
        check.problem = u"the signature is not a PKCS#7 signature"_s;
        return check;
    }
    auto *signedData = static_cast<NSSCMSSignedData *>(NSS_CMSContentInfo_GetContent(content));
    NSSCMSSignerInfo *signer = signedData ? NSS_CMSSignedData_GetSignerInfo(signedData, 0) : nullptr;
    if (!signer) {
        check.problem = u"the signature names no signer"_s;
        return check;
    }
    const SECOidTag alg = SECOID_GetAlgorithmTag(&signer->digestAlg);
    QByteArray digest = hashRanges(pdf, {{r[0], r[1]}, {r[2], r[3]}}, alg);
    if (digest.isEmpty()) {
        check.problem = u"the signature's digest algorithm is not supported"_s;
        return check;
    }
    SECItem digestItem{siBuffer, reinterpret_cast<unsigned char *>(digest.data()), unsigned(digest.size())};
    NSS_CMSSignedData_SetDigestValue(signedData, alg, &digestItem);
    CERTCertDBHandle *db = CERT_GetDefaultCertDB();
    NSS_CMSSignedData_ImportCerts(signedData, db, certUsageEmailSigner, PR_FALSE);
    NSS_CMSSignedData_VerifySignerInfo(signedData, 0, db, certUsageEmailSigner);
    if (CERTCertificate *cert = NSS_CMSSignerInfo_GetSigningCertificate(signer, db))
        check.signer = nss::commonName(cert);
    PRTime when = 0;
    if (NSS_CMSSignerInfo_GetSigningTime(signer, &when) == SECSuccess)
        check.signedAt = QDateTime::fromMSecsSinceEpoch(when / 1000);
    const NSSCMSVerificationStatus status = NSS_CMSSignerInfo_GetVerificationStatus(signer);
    if (status == NSSCMSVS_SigningCertNotTrusted && !trustChecked) {
        check.valid = true;
        check.problem = u"the signer is unchecked: Institution.ini names no certificate database ([SIGNING] "
                        "Database) to check the certificate against"_s;
        return check;
    }
    check.problem = statusText(status);
    check.valid = check.problem.isEmpty();
    return check;
}

} // namespace

SignatureCheck verifyPdfSignature(const QByteArray &pdf, const QString &database)
{
    nss::ensureOpen(database);
    std::vector<SignatureField> fields;
    try {
        fields = signatureFields(pdf);
    } catch (const PoDoFo::PdfError &e) {
        SignatureCheck check;
        check.problem = u"the file cannot be read as a PDF ("_s
                        + QString::fromUtf8(PoDoFo::PdfError::ErrorMessage(e.GetError())) + u')';
        return check;
    }
    if (fields.empty()) {
        SignatureCheck check;
        check.problem = u"the document is not signed"_s;
        return check;
    }
    // The signature that covers the most of the file is the last one made.
    const auto last = std::max_element(fields.begin(), fields.end(), [](const auto &a, const auto &b) {
        const auto end = [](const SignatureField &f) {
            return f.byteRange.size() == 4 ? f.byteRange[2] + f.byteRange[3] : 0;
        };
        return end(a) < end(b);
    });
    return checkField(pdf, *last, nss::hasDatabase());
}

SignatureCheck verifyPdfSignature(const QString &path, const QString &database)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        SignatureCheck check;
        check.problem = u"the file cannot be read: "_s + file.errorString();
        return check;
    }
    return verifyPdfSignature(file.readAll(), database);
}

} // namespace sw
