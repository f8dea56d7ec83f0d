// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/appfolder.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

namespace sw {

class Prompter;

// base64url without padding (RFC 4648, section 5): the alphabet of the verification
// code, the status lists and JWS.
QByteArray base64Url(const QByteArray &bytes);
// nullopt when `text` holds anything but the base64url alphabet (padding is accepted).
std::optional<QByteArray> fromBase64Url(const QByteArray &text);

// The institution's Ed25519 key pair, which signs the certificates' verification codes,
// the status lists and the credentials. The public key (Keys/issuer.pub, base64url) is
// for anyone; the secret key (Keys/issuer.key) is kept encrypted with a passphrase
// (Argon2id, then XSalsa20-Poly1305), which is asked once per run through the prompter
// and kept in memory only, as the signing certificate's PIN is. Neither the key nor the
// passphrase goes into the database or a report.
class IssuerKey
{
public:
    static constexpr const char *kPublicFile = "Keys/issuer.pub";
    static constexpr const char *kSecretFile = "Keys/issuer.key";
    static constexpr int kPublicBytes = 32;
    static constexpr int kSignatureBytes = 64;

    // Makes a new pair in the folder. An existing pair is kept (StopError) unless
    // `replace`: codes signed with the old key then no longer verify.
    static void create(const AppFolder &folder, const QByteArray &passphrase, bool replace = false);
    static bool exists(const AppFolder &folder);
    // The public key of the folder; nullopt when there is none. StopError when damaged.
    static std::optional<QByteArray> publicKey(const AppFolder &folder);
    // A public key given as base64url text or as a file holding it.
    static QByteArray readPublicKey(const QString &textOrFile);
    // Asks the passphrase and opens the secret key. StopError when there is no key,
    // no passphrase was given or it is wrong.
    static IssuerKey unlock(const AppFolder &folder, Prompter &prompter);
    static IssuerKey unlock(const AppFolder &folder, const QByteArray &passphrase);

    static bool verify(const QByteArray &publicKey, const QByteArray &message, const QByteArray &signature);

    IssuerKey(IssuerKey &&) noexcept;
    IssuerKey &operator=(IssuerKey &&) noexcept;
    ~IssuerKey();

    QByteArray sign(const QByteArray &message) const;
    // `payload` (JSON) as a JWS in compact serialisation (RFC 7515), signed with EdDSA
    // (RFC 8037); the header names the key ("kid") and the media type ("typ").
    QByteArray signJws(const QByteArray &payload, const QString &type) const;
    QByteArray publicKey() const { return m_public; }
    // A short name of the key (base64url of the first 9 bytes of its SHA-256): the "kid" of JWS.
    QString keyId() const;

private:
    struct Secret;
    IssuerKey(std::unique_ptr<Secret> secret, QByteArray publicKey);
    std::unique_ptr<Secret> m_secret;
    QByteArray m_public;
};

} // namespace sw
