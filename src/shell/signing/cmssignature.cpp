// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/signing/cmssignature.h"

#include "shell/core/stoperror.h"

#include <QScopeGuard>

#pragma push_macro("slots")
#undef slots
#include <cryptohi.h>
#include <secasn1.h>
#include <secder.h>
#include <secoid.h>
#pragma pop_macro("slots")

#include <algorithm>
#include <initializer_list>

using namespace Qt::StringLiterals;

namespace sw::cms {

namespace {

enum Tag : quint8 {
    Integer = 0x02,
    OctetString = 0x04,
    ObjectId = 0x06,
    UtcTime = 0x17,
    GeneralizedTime = 0x18,
    Sequence = 0x30,
    Set = 0x31,
    ContextZero = 0xa0, // [0], constructed
};

QByteArray bytesOf(const SECItem &item)
{
    return QByteArray(reinterpret_cast<const char *>(item.data), qsizetype(item.len));
}

QByteArray element(quint8 tag, const QByteArray &content)
{
    QByteArray length;
    if (content.size() < 0x80) {
        length.append(char(content.size()));
    } else {
        for (qsizetype n = content.size(); n > 0; n >>= 8)
            length.prepend(char(n & 0xff));
        length.prepend(char(0x80 | length.size()));
    }
    return char(tag) + length + content;
}

QByteArray sequence(std::initializer_list<QByteArray> parts)
{
    QByteArray content;
    for (const QByteArray &part : parts)
        content += part;
    return element(Sequence, content);
}

// A SET OF in DER holds its members in the order of their encodings.
QByteArray sortedMembers(std::vector<QByteArray> members)
{
    std::sort(members.begin(), members.end());
    QByteArray content;
    for (const QByteArray &member : members)
        content += member;
    return content;
}

QByteArray objectId(SECOidTag tag)
{
    const SECOidData *data = SECOID_FindOIDByTag(tag);
    if (!data)
        throw StopError(u"The signature cannot be made: NSS does not know an algorithm it needs."_s);
    return element(ObjectId, bytesOf(data->oid));
}

// An algorithm as NSS writes it (the NULL parameters RSA takes, none for a digest).
QByteArray algorithm(PLArenaPool *arena, SECOidTag tag)
{
    SECAlgorithmID id{};
    SECItem encoded{siBuffer, nullptr, 0};
    if (SECOID_SetAlgorithmID(arena, &id, tag, nullptr) != SECSuccess
        || !SEC_ASN1EncodeItem(arena, &encoded, &id, SEC_ASN1_GET(SECOID_AlgorithmIDTemplate)))
        throw StopError(u"The signature cannot be made: "_s + nss::lastError());
    return bytesOf(encoded);
}

QByteArray attribute(SECOidTag type, const QByteArray &value)
{
    return sequence({objectId(type), element(Set, value)});
}

QByteArray signingTime(PLArenaPool *arena, const QDateTime &when)
{
    SECItem time{siBuffer, nullptr, 0};
    if (DER_EncodeTimeChoice(arena, &time, PRTime(when.toMSecsSinceEpoch()) * 1000) != SECSuccess)
        throw StopError(u"The signature cannot be made: "_s + nss::lastError());
    return element(time.type == siGeneralizedTime ? GeneralizedTime : UtcTime, bytesOf(time));
}

QByteArray sign(SECKEYPrivateKey *key, const QByteArray &data)
{
    const SECOidTag algorithmTag = SEC_GetSignatureAlgorithmOidTag(SECKEY_GetPrivateKeyType(key), SEC_OID_SHA256);
    SECItem signature{siBuffer, nullptr, 0};
    if (SEC_SignData(&signature, reinterpret_cast<const unsigned char *>(data.constData()), int(data.size()), key,
                     algorithmTag)
        != SECSuccess)
        throw StopError(u"The signature cannot be made: "_s + nss::lastError());
    const QByteArray out = bytesOf(signature);
    SECITEM_FreeItem(&signature, PR_FALSE);
    return out;
}

// The algorithm a signer info names beside its signature: rsaEncryption for RSA, as
// readers of PDF signatures expect; the signature algorithm itself for other keys.
SECOidTag signatureAlgorithmTag(CERTCertificate *cert, SECKEYPrivateKey *key)
{
    const SECOidTag publicKey = SECOID_GetAlgorithmTag(&cert->subjectPublicKeyInfo.algorithm);
    if (publicKey == SEC_OID_PKCS1_RSA_ENCRYPTION)
        return publicKey;
    return SEC_GetSignatureAlgorithmOidTag(SECKEY_GetPrivateKeyType(key), SEC_OID_SHA256);
}

} // namespace

QByteArray detachedSignature(CERTCertificate *cert, const std::vector<CERTCertificate *> &issuers,
                             SECKEYPrivateKey *key, const QByteArray &digest, const QDateTime &when)
{
    PLArenaPool *arena = PORT_NewArena(2048);
    if (!arena)
        throw StopError(u"The signature cannot be made: "_s + nss::lastError());
    const auto freeArena = qScopeGuard([arena] { PORT_FreeArena(arena, PR_FALSE); });

    const QByteArray version = element(Integer, QByteArray(1, '\x01'));
    const QByteArray sha256 = algorithm(arena, SEC_OID_SHA256);
    // Signed as a SET; stored under [0] in the signer info.
    const QByteArray attributes = sortedMembers({
        attribute(SEC_OID_PKCS9_CONTENT_TYPE, objectId(SEC_OID_PKCS7_DATA)),
        attribute(SEC_OID_PKCS9_SIGNING_TIME, signingTime(arena, when)),
        attribute(SEC_OID_PKCS9_MESSAGE_DIGEST, element(OctetString, digest)),
    });
    const QByteArray signature = sign(key, element(Set, attributes));

    const QByteArray signerInfo =
        sequence({version, sequence({bytesOf(cert->derIssuer), element(Integer, bytesOf(cert->serialNumber))}), sha256,
                  element(ContextZero, attributes), algorithm(arena, signatureAlgorithmTag(cert, key)),
                  element(OctetString, signature)});
    std::vector<QByteArray> certificates{bytesOf(cert->derCert)};
    for (CERTCertificate *issuer : issuers)
        certificates.push_back(bytesOf(issuer->derCert));
    const QByteArray signedData =
        sequence({version, element(Set, sha256), sequence({objectId(SEC_OID_PKCS7_DATA)}),
                  element(ContextZero, sortedMembers(std::move(certificates))), element(Set, signerInfo)});
    return sequence({objectId(SEC_OID_PKCS7_SIGNED_DATA), element(ContextZero, signedData)});
}

} // namespace sw::cms
