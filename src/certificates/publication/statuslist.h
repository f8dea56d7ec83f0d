// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace sw {

class Database;
class IssuerKey;

// The status lists of the certificates, published as static files beside the
// verification page (W3C Bitstring Status List v1.0): for each list of the register a
// `revocation` and a `suspension` list credential, each a bitstring of
// StatusRegister::kListSize bits (bit i is the certificate at place i, the first bit the
// most significant of the first byte), GZIP-compressed and written as multibase base64url
// ("u" + base64url) in `encodedList`; each credential is signed as a JWS with the
// institution's key. Beside them, the reasons: the revoked and suspended numbers with why
// and since when, also signed, for the page to say why. The lists name no one and
// track no one: the page reads them whole.
class StatusListWriter
{
public:
    // `pageUrl`: the verification page's address; the lists are published beside it.
    StatusListWriter(Database &db, QString pageUrl);

    struct Written
    {
        QStringList files; // names written in the folder
        int lists = 0;
        int revoked = 0;
        int suspended = 0;
    };
    // Writes the lists, the reasons and status.js (the same, for the page to load from any
    // folder) into `folder`. Each file is written whole or not at all.
    Written write(const QString &folder, const IssuerKey &key, const QDateTime &now = QDateTime::currentDateTimeUtc());

    // "u" + base64url of the GZIP-compressed bitstring with the bits at `places` set.
    static QByteArray encodedList(const std::vector<long long> &places, long long size);
    // The bits of an encodedList again (for the tests and the command's own check).
    static QByteArray decodedList(const QByteArray &encoded);
    static QString listUrl(const QString &pageUrl, int list, const QString &purpose);
    static QString listFile(int list, const QString &purpose);

private:
    Database &m_db;
    QString m_pageUrl;
};

} // namespace sw
