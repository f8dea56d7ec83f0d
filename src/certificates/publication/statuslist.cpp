// SPDX-License-Identifier: GPL-3.0-or-later
#include "certificates/publication/statuslist.h"

#include "certificates/printing/statusregister.h"
#include "shell/core/filewrite.h"
#include "shell/core/issuerkey.h"
#include "shell/core/stoperror.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

#include <zlib.h>

#include <map>

using namespace Qt::StringLiterals;

namespace sw {

namespace {

QByteArray gzip(const QByteArray &bytes)
{
    z_stream z{};
    // 16 + 15 window bits: a GZIP member rather than a bare zlib stream.
    if (deflateInit2(&z, Z_BEST_COMPRESSION, Z_DEFLATED, 16 + 15, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        throw StopError(u"The status list cannot be compressed."_s);
    QByteArray out(int(deflateBound(&z, uLong(bytes.size()))) + 32, '\0');
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(bytes.constData()));
    z.avail_in = uInt(bytes.size());
    z.next_out = reinterpret_cast<Bytef *>(out.data());
    z.avail_out = uInt(out.size());
    const int done = deflate(&z, Z_FINISH);
    out.truncate(int(z.total_out));
    deflateEnd(&z);
    if (done != Z_STREAM_END)
        throw StopError(u"The status list cannot be compressed."_s);
    return out;
}

QByteArray gunzip(const QByteArray &bytes)
{
    z_stream z{};
    if (inflateInit2(&z, 16 + 15) != Z_OK)
        return {};
    QByteArray out;
    QByteArray chunk(65536, '\0');
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(bytes.constData()));
    z.avail_in = uInt(bytes.size());
    int done = Z_OK;
    while (done == Z_OK) {
        z.next_out = reinterpret_cast<Bytef *>(chunk.data());
        z.avail_out = uInt(chunk.size());
        done = inflate(&z, Z_NO_FLUSH);
        out.append(chunk.constData(), chunk.size() - qsizetype(z.avail_out));
    }
    inflateEnd(&z);
    return done == Z_STREAM_END ? out : QByteArray();
}

QString isoTime(const QDateTime &t) { return t.toUTC().toString(Qt::ISODate); }

QString isoDate(const QDate &d) { return d.isValid() ? d.toString(u"yyyy-MM-dd"_s) : QString(); }

} // namespace

StatusListWriter::StatusListWriter(Database &db, QString pageUrl)
    : m_db(db)
    , m_pageUrl(std::move(pageUrl))
{
}

QByteArray StatusListWriter::encodedList(const std::vector<long long> &places, long long size)
{
    QByteArray bits(qsizetype(size / 8), '\0');
    for (const long long place : places) {
        if (place >= 0 && place < size)
            bits[qsizetype(place / 8)] = char(uchar(bits[qsizetype(place / 8)]) | (0x80 >> (place % 8)));
    }
    return 'u' + base64Url(gzip(bits));
}

QByteArray StatusListWriter::decodedList(const QByteArray &encoded)
{
    if (!encoded.startsWith('u'))
        return {};
    const auto compressed = fromBase64Url(encoded.mid(1));
    return compressed ? gunzip(*compressed) : QByteArray();
}

QString StatusListWriter::listFile(int list, const QString &purpose)
{
    return u"status-%1-%2.jwt"_s.arg(list).arg(purpose);
}

QString StatusListWriter::listUrl(const QString &pageUrl, int list, const QString &purpose)
{
    return QUrl(pageUrl).resolved(QUrl(listFile(list, purpose))).toString();
}

StatusListWriter::Written StatusListWriter::write(const QString &folder, const IssuerKey &key, const QDateTime &now)
{
    if (m_pageUrl.isEmpty())
        throw StopError(u"The verification page's address is not configured: [VERIFICATION] PageUrl in "
                        "Institution.ini."_s);
    if (!QDir().mkpath(folder))
        throw StopError(u"The folder "_s + QDir::toNativeSeparators(folder) + u" cannot be made."_s);
    const StatusRegister register_(m_db);
    std::map<int, std::vector<StatusRegister::Entry>> byList;
    for (StatusRegister::Entry &e : register_.entries())
        byList[e.list].push_back(std::move(e));
    if (byList.empty())
        byList[1]; // an empty list still says that nothing is revoked

    Written written;
    QJsonObject lists;
    QJsonObject revoked;
    QJsonObject suspended;
    const auto writeSigned = [&](const QString &name, const QByteArray &jws) {
        writeWholeFile(QDir(folder).filePath(name), jws + '\n');
        written.files << name;
    };
    for (const auto &[list, entries] : byList) {
        QJsonObject signedLists;
        for (const QString &purpose : {u"revocation"_s, u"suspension"_s}) {
            std::vector<long long> places;
            for (const StatusRegister::Entry &e : entries) {
                if (purpose == u"revocation"_s ? e.revoked : e.suspended)
                    places.push_back(e.index);
            }
            const QString id = listUrl(m_pageUrl, list, purpose);
            const QString subjectId = id + u"#list"_s;
            const QString encoded = QString::fromLatin1(encodedList(places, StatusRegister::kListSize));
            const QJsonObject credential{
                {u"@context"_s, QJsonArray{u"https://www.w3.org/ns/credentials/v2"_s}},
                {u"id"_s, id},
                {u"type"_s, QJsonArray{u"VerifiableCredential"_s, u"BitstringStatusListCredential"_s}},
                {u"issuer"_s, m_pageUrl},
                {u"validFrom"_s, isoTime(now)},
                {u"credentialSubject"_s, QJsonObject{{u"id"_s, subjectId},
                                                     {u"type"_s, u"BitstringStatusList"_s},
                                                     {u"statusPurpose"_s, purpose},
                                                     {u"encodedList"_s, encoded}}}};
            const QByteArray jws = key.signJws(QJsonDocument(credential).toJson(QJsonDocument::Compact), u"vc+jwt"_s);
            writeSigned(listFile(list, purpose), jws);
            signedLists.insert(purpose, QString::fromLatin1(jws));
        }
        lists.insert(QString::number(list), signedLists);
        for (const StatusRegister::Entry &e : entries) {
            if (e.revoked) {
                revoked.insert(e.certNo,
                               QJsonObject{{u"reason"_s, e.revocationText()}, {u"date"_s, isoDate(e.revokedOn)}});
                ++written.revoked;
            }
            if (e.suspended) {
                suspended.insert(e.certNo, QJsonObject{{u"reason"_s, e.holdReason}, {u"date"_s, isoDate(e.heldOn)}});
                ++written.suspended;
            }
        }
        ++written.lists;
    }
    const QJsonObject reasons{
        {u"issuer"_s, m_pageUrl}, {u"validFrom"_s, isoTime(now)}, {u"revoked"_s, revoked}, {u"suspended"_s, suspended}};
    const QByteArray reasonsJws =
        key.signJws(QJsonDocument(reasons).toJson(QJsonDocument::Compact), u"application/json"_s);
    writeSigned(u"status-reasons.jwt"_s, reasonsJws);
    // The page reads the same signed texts from a script, which a browser loads from a
    // plain folder (file://) as well as from a web server.
    const QJsonObject page{{u"lists"_s, lists}, {u"reasons"_s, QString::fromLatin1(reasonsJws)}};
    writeWholeFile(QDir(folder).filePath(u"status.js"_s),
                   "window.scrollwiseStatus = " + QJsonDocument(page).toJson(QJsonDocument::Compact) + ";\n");
    written.files << u"status.js"_s;
    return written;
}

} // namespace sw
