// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/core/issuerkey.h"

#include "shell/core/filewrite.h"
#include "shell/core/prompter.h"
#include "shell/core/stoperror.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include <sodium.h>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

// The first line of the secret key file, naming how it is sealed.
constexpr QByteArrayView kSealed = "scrollwise-ed25519-argon2id-xsalsa20poly1305";

void initialise()
{
    static const int initialised = sodium_init();
    if (initialised < 0)
        throw StopError(u"The cryptography library (libsodium) cannot be initialised."_s);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw StopError(u"The key file "_s + QDir::toNativeSeparators(path) + u" cannot be read: "_s
                        + file.errorString());
    return file.readAll();
}

// The key that seals the secret key, from the passphrase and the file's salt.
QByteArray sealingKey(const QByteArray &passphrase, const QByteArray &salt)
{
    QByteArray key(crypto_secretbox_KEYBYTES, '\0');
    if (crypto_pwhash(reinterpret_cast<unsigned char *>(key.data()), quint64(key.size()), passphrase.constData(),
                      quint64(passphrase.size()), reinterpret_cast<const unsigned char *>(salt.constData()),
                      crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE,
                      crypto_pwhash_ALG_ARGON2ID13)
        != 0)
        throw StopError(u"Out of memory while opening the institution's key."_s);
    return key;
}

const unsigned char *bytes(const QByteArray &b) { return reinterpret_cast<const unsigned char *>(b.constData()); }

} // namespace

QByteArray base64Url(const QByteArray &bytes)
{
    return bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
}

std::optional<QByteArray> fromBase64Url(const QByteArray &text)
{
    auto decoded =
        QByteArray::fromBase64Encoding(text, QByteArray::Base64UrlEncoding | QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return std::nullopt;
    return *decoded;
}

// The seed stays in memory libsodium guards (locked, not swapped) and is wiped when freed.
struct IssuerKey::Secret
{
    unsigned char *key = nullptr; // crypto_sign_SECRETKEYBYTES: the seed, then the public key
    Secret()
        : key(static_cast<unsigned char *>(sodium_malloc(crypto_sign_SECRETKEYBYTES)))
    {
        if (!key)
            throw StopError(u"Out of memory while opening the institution's key."_s);
    }
    ~Secret() { sodium_free(key); }
    Secret(const Secret &) = delete;
    Secret &operator=(const Secret &) = delete;
};

IssuerKey::IssuerKey(std::unique_ptr<Secret> secret, QByteArray publicKey)
    : m_secret(std::move(secret))
    , m_public(std::move(publicKey))
{
}

IssuerKey::IssuerKey(IssuerKey &&) noexcept = default;
IssuerKey &IssuerKey::operator=(IssuerKey &&) noexcept = default;
IssuerKey::~IssuerKey() = default;

bool IssuerKey::exists(const AppFolder &folder)
{
    return QFileInfo::exists(folder.filePath(QString::fromLatin1(kSecretFile)));
}

void IssuerKey::create(const AppFolder &folder, const QByteArray &passphrase, bool replace)
{
    initialise();
    const QString secretPath = folder.filePath(QString::fromLatin1(kSecretFile));
    if (!replace && exists(folder))
        throw StopError(u"The institution already has a key pair ("_s + QDir::toNativeSeparators(secretPath)
                        + u"); replacing it makes every code signed with it unverifiable."_s);
    if (passphrase.isEmpty())
        throw StopError(u"The key's passphrase is empty: the secret key is not kept without one."_s);
    auto secret = std::make_unique<Secret>();
    QByteArray publicKey(crypto_sign_PUBLICKEYBYTES, '\0');
    crypto_sign_keypair(reinterpret_cast<unsigned char *>(publicKey.data()), secret->key);

    QByteArray salt(crypto_pwhash_SALTBYTES, '\0');
    QByteArray nonce(crypto_secretbox_NONCEBYTES, '\0');
    randombytes_buf(salt.data(), size_t(salt.size()));
    randombytes_buf(nonce.data(), size_t(nonce.size()));
    QByteArray key = sealingKey(passphrase, salt);
    QByteArray sealed(crypto_secretbox_MACBYTES + crypto_sign_SEEDBYTES, '\0');
    crypto_secretbox_easy(reinterpret_cast<unsigned char *>(sealed.data()), secret->key, crypto_sign_SEEDBYTES,
                          bytes(nonce), bytes(key));
    sodium_memzero(key.data(), size_t(key.size()));

    QDir().mkpath(QFileInfo(secretPath).absolutePath());
    writeWholeFile(secretPath, kSealed.toByteArray() + '\n' + base64Url(salt) + '\n' + base64Url(nonce) + '\n'
                                   + base64Url(sealed) + '\n');
    QFile::setPermissions(secretPath, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    writeWholeFile(folder.filePath(QString::fromLatin1(kPublicFile)), base64Url(publicKey) + '\n');
}

std::optional<QByteArray> IssuerKey::publicKey(const AppFolder &folder)
{
    const QString path = folder.filePath(QString::fromLatin1(kPublicFile));
    if (!QFileInfo::exists(path))
        return std::nullopt;
    return readPublicKey(path);
}

QByteArray IssuerKey::readPublicKey(const QString &textOrFile)
{
    const bool isFile = QFileInfo(textOrFile).isFile();
    const QByteArray text = (isFile ? readFile(textOrFile) : textOrFile.toLatin1()).trimmed();
    const auto key = fromBase64Url(text);
    if (!key || key->size() != crypto_sign_PUBLICKEYBYTES)
        throw StopError((isFile ? u"The file "_s + QDir::toNativeSeparators(textOrFile) + u" does not hold"_s
                                : u"\""_s + textOrFile + u"\" is not"_s)
                        + u" an Ed25519 public key (43 characters of base64url)."_s);
    return *key;
}

IssuerKey IssuerKey::unlock(const AppFolder &folder, Prompter &prompter)
{
    if (!exists(folder))
        throw StopError(u"The institution has no key pair to sign with: make one with \"scrollwise-batch keys\"."_s);
    const auto answer =
        prompter.inputSecret(u"The passphrase of the institution's signing key"_s, u"Verification code"_s);
    if (!answer || answer->isEmpty())
        throw StopError(u"No passphrase was given: nothing is signed."_s);
    QByteArray passphrase = answer->toUtf8();
    auto key = unlock(folder, passphrase);
    sodium_memzero(passphrase.data(), size_t(passphrase.size()));
    return key;
}

IssuerKey IssuerKey::unlock(const AppFolder &folder, const QByteArray &passphrase)
{
    initialise();
    const QString path = folder.filePath(QString::fromLatin1(kSecretFile));
    const QList<QByteArray> lines = readFile(path).trimmed().split('\n');
    const auto damaged = [&] {
        return StopError(u"The key file "_s + QDir::toNativeSeparators(path) + u" is damaged."_s);
    };
    if (lines.size() != 4 || lines[0].trimmed() != kSealed)
        throw damaged();
    const auto salt = fromBase64Url(lines[1].trimmed());
    const auto nonce = fromBase64Url(lines[2].trimmed());
    const auto sealed = fromBase64Url(lines[3].trimmed());
    if (!salt || !nonce || !sealed || salt->size() != crypto_pwhash_SALTBYTES
        || nonce->size() != crypto_secretbox_NONCEBYTES
        || sealed->size() != crypto_secretbox_MACBYTES + crypto_sign_SEEDBYTES)
        throw damaged();
    QByteArray key = sealingKey(passphrase, *salt);
    auto seed = std::make_unique<Secret>();
    const bool opened =
        crypto_secretbox_open_easy(seed->key, bytes(*sealed), quint64(sealed->size()), bytes(*nonce), bytes(key)) == 0;
    sodium_memzero(key.data(), size_t(key.size()));
    if (!opened)
        throw StopError(u"The passphrase of the institution's signing key is wrong."_s);
    auto secret = std::make_unique<Secret>();
    QByteArray publicKey(crypto_sign_PUBLICKEYBYTES, '\0');
    crypto_sign_seed_keypair(reinterpret_cast<unsigned char *>(publicKey.data()), secret->key, seed->key);
    // A public key file that another pair overwrote would make every code fail later, unseen.
    if (const auto published = IssuerKey::publicKey(folder); published && *published != publicKey)
        throw StopError(u"The public key "_s + QString::fromLatin1(kPublicFile)
                        + u" is not the one of the secret key: put back the right file (scrollwise-batch keys "
                          "prints it)."_s);
    return IssuerKey(std::move(secret), publicKey);
}

bool IssuerKey::verify(const QByteArray &publicKey, const QByteArray &message, const QByteArray &signature)
{
    initialise();
    if (publicKey.size() != crypto_sign_PUBLICKEYBYTES || signature.size() != crypto_sign_BYTES)
        return false;
    return crypto_sign_verify_detached(bytes(signature), bytes(message), quint64(message.size()), bytes(publicKey))
           == 0;
}

QByteArray IssuerKey::sign(const QByteArray &message) const
{
    QByteArray signature(crypto_sign_BYTES, '\0');
    crypto_sign_detached(reinterpret_cast<unsigned char *>(signature.data()), nullptr, bytes(message),
                         quint64(message.size()), m_secret->key);
    return signature;
}

QByteArray IssuerKey::signJws(const QByteArray &payload, const QString &type) const
{
    const QJsonObject header{{u"alg"_s, u"EdDSA"_s}, {u"kid"_s, keyId()}, {u"typ"_s, type}};
    const QByteArray input = base64Url(QJsonDocument(header).toJson(QJsonDocument::Compact)) + '.' + base64Url(payload);
    return input + '.' + base64Url(sign(input));
}

QString IssuerKey::keyId() const
{
    return QString::fromLatin1(base64Url(QCryptographicHash::hash(m_public, QCryptographicHash::Sha256).left(9)));
}

} // namespace sw
