// SPDX-License-Identifier: GPL-3.0-or-later
// What the institution publishes: the signed status lists, read back and checked by an
// independent Ed25519 implementation (PyNaCl) and zlib, and the verification page run in a
// real browser (headless chromium) on genuine, changed, revoked and suspended codes.
#include "../printing/printingfixture.h"

#include "certificates/layouts/verificationcode.h"
#include "certificates/printing/stationeryledger.h"
#include "certificates/printing/statusregister.h"
#include "certificates/publication/statuslist.h"
#include "certificates/publication/verifypage.h"
#include "shell/core/issuerkey.h"
#include "shell/core/filewrite.h"
#include "support/python.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QStandardPaths>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

const QByteArray kPassphrase = "status lists";
const QString kPage = u"https://verify.varada.example/certificates/"_s;

// A JWS checked with the public key (argv 1) by PyNaCl, libsodium's Python binding, not
// our code: the script goes on with `header` and `payload` of the file argv 2.
const QString kCheckJws = uR"py(
import base64, gzip, json, sys
from nacl.exceptions import BadSignatureError
from nacl.signing import VerifyKey
def b64(text):
    return base64.urlsafe_b64decode(text + '=' * (-len(text) % 4))
key = VerifyKey(b64(open(sys.argv[1]).read().strip()))
header, payload, signature = open(sys.argv[2]).read().strip().split('.')
try:
    key.verify((header + '.' + payload).encode('ascii'), b64(signature))
except BadSignatureError:
    print(json.dumps({'signature': 'forged'}))
    sys.exit(0)
)py"_s;

// Reads a signed status list as a verifier elsewhere would: its JWS checked, the list
// inflated by Python's gzip, and the places whose bit is set.
const QString kReadList = kCheckJws + uR"py(
credential = json.loads(b64(payload))
subject = credential['credentialSubject']
bits = gzip.decompress(b64(subject['encodedList'][1:]))
places = [i for i in range(len(bits) * 8) if bits[i // 8] & (0x80 >> (i % 8))]
print(json.dumps({'header': json.loads(b64(header)), 'credential': credential, 'bytes': len(bits),
                  'multibase': subject['encodedList'][0], 'places': places}))
)py"_s;

class PublicationTest : public test::PrintingFixture
{
protected:
    void SetUp() override
    {
        test::PrintingFixture::SetUp();
        if (IsSkipped())
            return;
        ASSERT_NO_FATAL_FAILURE(useSignedCode(kPassphrase, kPage));
        m_prompter.answerInput(QString::fromUtf8(kPassphrase));
        printAll();
    }
    IssuerKey key() const { return IssuerKey::unlock(m_session.folder, kPassphrase); }
    QString site() const { return m_out.filePath(u"site"_s); }
    long long place(const QString &certNo) const { return StatusRegister(m_session.db()).find(certNo)->index; }

    // The code printed on the candidate's sheet (its claims as the run made them).
    QString codeOf(const QString &regno) const
    {
        const QString certNo = this->certNo(regno);
        const auto entry = StatusRegister(m_session.db()).find(certNo);
        CertificateClaims c;
        c.certNo = certNo;
        c.regno = regno;
        c.name = u"Name "_s + regno;
        c.degree = u"Bachelor of Arts"_s;
        c.issued = QDate(2026, 3, 12);
        c.statusList = entry->list;
        c.statusIndex = entry->index;
        return VerificationCode::signedPayload(c, key());
    }
    void publish()
    {
        VerifyPage::write(site(), u"Varada University <Suvarnapura>"_s, key().publicKey());
        StatusListWriter(m_session.db(), kPage).write(site(), key());
    }
    void cancel(const QString &regno, const QString &reason)
    {
        StationeryLedger ledger(m_session.db(), m_session.convoCode, u"CLERK"_s, u"WS1"_s);
        WriteScope scope(m_session.db());
        ASSERT_TRUE(ledger.cancel(certNo(regno), regno, u"BA"_s, reason));
        scope.commit();
    }
    QJsonObject readList(const QString &file) const
    {
        return test::runPython(kReadList, {QDir(site()).filePath(u"issuer.pub"_s), QDir(site()).filePath(file)});
    }

    struct PageView
    {
        QString status, verdict, explanation, name, certNo;
    };
    // The page opened from its folder with `fragment`, as a phone would open the scanned link.
    PageView open(const QString &fragment) const
    {
        const QString url = QUrl::fromLocalFile(QDir(site()).filePath(u"index.html"_s)).toString() + u'#' + fragment;
        const test::BatchRun run =
            test::runProgram(u"chromium"_s, {u"--headless"_s, u"--no-sandbox"_s, u"--disable-gpu"_s,
                                             u"--user-data-dir="_s + m_out.filePath(u"profile"_s),
                                             u"--virtual-time-budget=10000"_s, u"--dump-dom"_s, url});
        EXPECT_EQ(run.exitCode, 0) << run.both();
        const auto element = [&](const QString &pattern) {
            const QRegularExpressionMatch m = QRegularExpression(pattern).match(run.out);
            return m.hasMatch() ? m.captured(1) : QString();
        };
        PageView v;
        v.status = element(u"<main id=\"result\" data-status=\"([^\"]*)\""_s);
        v.verdict = element(u"<p id=\"verdict\">(.*?)</p>"_s).remove(QRegularExpression(u"<[^>]*>"_s));
        v.explanation = element(u"<p id=\"explanation\">(.*?)</p>"_s);
        v.name = element(u"<td id=\"name\">(.*?)</td>"_s);
        v.certNo = element(u"<td id=\"certno\">(.*?)</td>"_s);
        return v;
    }
};

TEST_P(PublicationTest, TheListsAreSignedBitstringsThatAnIndependentReaderChecks)
{
    cancel(u"R1"_s, u"Name misspelt"_s);
    StatusRegister(m_session.db(), u"ADMIN"_s).hold(certNo(u"R2"_s), true, u"fee dispute"_s);
    publish();

    const QJsonObject revocation = readList(u"status-1-revocation.jwt"_s);
    ASSERT_FALSE(revocation.isEmpty());
    EXPECT_EQ(revocation[u"header"_s][u"alg"_s].toString(), u"EdDSA"_s);
    EXPECT_EQ(revocation[u"header"_s][u"kid"_s].toString(), key().keyId());
    // At least 131,072 places (16 KB), the least the standard allows, GZIP in multibase base64url.
    EXPECT_EQ(revocation[u"bytes"_s].toInt(), 16384);
    EXPECT_EQ(revocation[u"multibase"_s].toString(), u"u"_s);
    const QJsonObject credential = revocation[u"credential"_s].toObject();
    EXPECT_EQ(credential[u"type"_s].toArray(),
              (QJsonArray{u"VerifiableCredential"_s, u"BitstringStatusListCredential"_s}));
    EXPECT_EQ(credential[u"@context"_s].toArray().first().toString(), u"https://www.w3.org/ns/credentials/v2"_s);
    EXPECT_EQ(credential[u"id"_s].toString(), kPage + u"status-1-revocation.jwt"_s);
    EXPECT_EQ(credential[u"credentialSubject"_s][u"statusPurpose"_s].toString(), u"revocation"_s);
    EXPECT_EQ(revocation[u"places"_s].toArray(), (QJsonArray{place(u"A000017"_s)}));

    const QJsonObject suspension = readList(u"status-1-suspension.jwt"_s);
    EXPECT_EQ(suspension[u"credential"_s][u"credentialSubject"_s][u"statusPurpose"_s].toString(), u"suspension"_s);
    EXPECT_EQ(suspension[u"places"_s].toArray(), (QJsonArray{place(certNo(u"R2"_s))}));

    // A list changed after signing is refused by the independent reader.
    QFile file(QDir(site()).filePath(u"status-1-revocation.jwt"_s));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray jws = file.readAll().trimmed();
    file.close();
    const qsizetype at = jws.indexOf('.') + 40;
    jws[at] = jws[at] == 'A' ? 'B' : 'A';
    writeWholeFile(file.fileName(), jws);
    EXPECT_EQ(readList(u"status-1-revocation.jwt"_s), (QJsonObject{{u"signature"_s, u"forged"_s}}));
}

TEST_P(PublicationTest, TheBitsStandWhereTheStandardPutsThem)
{
    // Place 0 is the most significant bit of the first byte; the last place the last bit.
    const QByteArray bits =
        StatusListWriter::decodedList(StatusListWriter::encodedList({0, 9, StatusRegister::kListSize - 1}, 131072));
    ASSERT_EQ(bits.size(), 16384);
    EXPECT_EQ(uchar(bits[0]), 0x80);
    EXPECT_EQ(uchar(bits[1]), 0x40);
    EXPECT_EQ(uchar(bits[16383]), 0x01);
    EXPECT_EQ(bits.count('\0'), 16381);
    EXPECT_TRUE(StatusListWriter::decodedList("zAAAA").isEmpty());
}

TEST_P(PublicationTest, ThePageSaysGenuineRevokedSuspendedOrNotGenuineInABrowser)
{
    if (QStandardPaths::findExecutable(u"chromium"_s).isEmpty())
        GTEST_FAIL() << "chromium is not installed: run scripts/install-deps";
    const QString r1 = codeOf(u"R1"_s);
    const QString r2 = codeOf(u"R2"_s);
    publish();
    PageView page = open(r1);
    EXPECT_EQ(page.status, u"GENUINE"_s);
    EXPECT_EQ(page.verdict, u"GENUINE · ಅಸಲಿ"_s);
    EXPECT_EQ(page.name, u"Name R1"_s);
    EXPECT_EQ(page.certNo, u"A000017"_s);

    // One changed character: not the institution's.
    QString changed = r1;
    changed[10] = changed[10] == u'A' ? u'B' : u'A';
    page = open(changed);
    EXPECT_EQ(page.status, u"NOT GENUINE"_s);
    EXPECT_EQ(page.verdict, u"NOT GENUINE · ಅಸಲಿ ಅಲ್ಲ"_s);
    EXPECT_EQ(page.name, u""_s);
    EXPECT_EQ(open(u"hello"_s).status, u"NOT GENUINE"_s);

    // Cancelled, and the lists published again: revoked, with the reason and the day.
    cancel(u"R1"_s, u"Name misspelt"_s);
    StatusRegister(m_session.db(), u"ADMIN"_s).hold(certNo(u"R2"_s), true, u"fee dispute"_s);
    StatusListWriter(m_session.db(), kPage).write(site(), key());
    page = open(r1);
    EXPECT_EQ(page.status, u"REVOKED"_s);
    EXPECT_TRUE(page.explanation.startsWith(u"Revoked on "_s + QDate::currentDate().toString(u"dd/MM/yyyy"_s)
                                            + u": cancelled: Name misspelt"_s))
        << page.explanation.toStdString();
    page = open(r2);
    EXPECT_EQ(page.status, u"SUSPENDED"_s);
    EXPECT_TRUE(page.explanation.contains(u": fee dispute"_s)) << page.explanation.toStdString();

    // Lists that are not the institution's (another key signed them) check nothing.
    AppFolder other(m_out.filePath(u"other"_s));
    IssuerKey::create(other, "x");
    StatusListWriter(m_session.db(), kPage).write(site(), IssuerKey::unlock(other, "x"));
    EXPECT_EQ(open(r1).status, u"UNCHECKED"_s);
}

// The commands: the page and its lists written by verify-page, a hold put and lifted.
TEST_P(PublicationTest, VerifyPageAndHoldFromTheCommandLine)
{
    test::BatchRun run = batch({u"verify-page"_s, u"--out"_s, site()}, kPassphrase + '\n');
    ASSERT_EQ(run.exitCode, 0) << run.both();
    for (const QString &file : {u"index.html"_s, u"verify.js"_s, u"verify.css"_s, u"nacl-fast.min.js"_s,
                                u"tweetnacl-LICENSE.txt"_s, u"status.js"_s, u"status-reasons.jwt"_s})
        EXPECT_TRUE(QFileInfo::exists(QDir(site()).filePath(file))) << file.toStdString();
    QFile html(QDir(site()).filePath(u"index.html"_s));
    ASSERT_TRUE(html.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(html.readAll());
    EXPECT_TRUE(text.contains(QString::fromLatin1(base64Url(key().publicKey())))) << text.toStdString();
    // The page fetches nothing from elsewhere.
    EXPECT_FALSE(text.contains(u"http"_s)) << text.toStdString();

    run = batch({u"hold"_s, u"--number"_s, u"A000018"_s, u"--reason"_s, u"enquiry"_s});
    EXPECT_EQ(run.exitCode, 0) << run.both();
    EXPECT_TRUE(StatusRegister(m_session.db()).find(u"A000018"_s)->suspended);
    EXPECT_EQ(value(u"select count(*) from audit where faction = 'hold' and fkey = 'A000018'"_s), u"1"_s);
    run = batch({u"hold"_s, u"--number"_s, u"A000018"_s, u"--lift"_s});
    EXPECT_EQ(run.exitCode, 0) << run.both();
    EXPECT_FALSE(StatusRegister(m_session.db()).find(u"A000018"_s)->suspended);
    run = batch({u"hold"_s, u"--number"_s, u"A000999"_s, u"--reason"_s, u"enquiry"_s});
    EXPECT_TRUE(test::endedWith(run, 1, u"has no place on the status lists"_s));

    // A wrong passphrase writes no list.
    run = batch({u"status-list"_s, u"--out"_s, m_out.filePath(u"again"_s)}, "wrong\n");
    EXPECT_TRUE(test::endedWith(run, 1, u"is wrong"_s));
    EXPECT_FALSE(QFileInfo::exists(m_out.filePath(u"again/status.js"_s)));
}

// A credential a wallet can take: a VC 2.0 JWS that PyNaCl verifies with the public key,
// that the data model's published JSON schema accepts (checked by python3-jsonschema), pointing at the
// certificate's places on the published lists.
TEST_P(PublicationTest, TheCredentialVerifiesWithAnIndependentImplementationAndPointsAtTheLists)
{
    const QString folder = m_out.filePath(u"credentials"_s);
    test::BatchRun run =
        batch({u"credential"_s, u"--regno"_s, u"R1"_s, u"--to"_s, u"R2"_s, u"--out"_s, folder}, kPassphrase + '\n');
    ASSERT_EQ(run.exitCode, 0) << run.both();
    EXPECT_TRUE(run.out.endsWith(u"2 credentials written\n"_s)) << run.both();
    const QString publicKey = m_session.folder.filePath(QString::fromLatin1(IssuerKey::kPublicFile));

    const QString readCredential = kCheckJws + uR"py(
print(json.dumps({'header': json.loads(b64(header)), 'credential': json.loads(b64(payload))}))
)py"_s;
    const QJsonObject read = test::runPython(readCredential, {publicKey, QDir(folder).filePath(u"A000017.jwt"_s)});
    ASSERT_TRUE(read.contains(u"credential"_s)) << QJsonDocument(read).toJson().toStdString();
    EXPECT_EQ(read[u"header"_s][u"alg"_s].toString(), u"EdDSA"_s);
    EXPECT_EQ(read[u"header"_s][u"typ"_s].toString(), u"vc+jwt"_s);
    const QJsonObject vc = read[u"credential"_s].toObject();
    EXPECT_EQ(vc[u"@context"_s].toArray().first().toString(), u"https://www.w3.org/ns/credentials/v2"_s);
    EXPECT_EQ(vc[u"type"_s].toArray().first().toString(), u"VerifiableCredential"_s);
    EXPECT_EQ(vc[u"issuer"_s][u"id"_s].toString(), kPage);
    EXPECT_EQ(vc[u"validFrom"_s].toString(), u"2026-03-12T00:00:00Z"_s);
    const QJsonObject subject = vc[u"credentialSubject"_s].toObject();
    EXPECT_EQ(subject[u"name"_s].toString(), u"Name R1"_s);
    EXPECT_EQ(subject[u"registerNumber"_s].toString(), u"R1"_s);
    EXPECT_EQ(subject[u"certificateNumber"_s].toString(), u"A000017"_s);
    EXPECT_EQ(subject[u"degree"_s][u"name"_s].toString(), u"Bachelor of Arts"_s);
    const QJsonArray status = vc[u"credentialStatus"_s].toArray();
    ASSERT_EQ(status.size(), 2);
    for (int i = 0; i < 2; ++i) {
        const QString purpose = i == 0 ? u"revocation"_s : u"suspension"_s;
        const QJsonObject entry = status[i].toObject();
        EXPECT_EQ(entry[u"type"_s].toString(), u"BitstringStatusListEntry"_s);
        EXPECT_EQ(entry[u"statusPurpose"_s].toString(), purpose);
        EXPECT_EQ(entry[u"statusListIndex"_s].toString(), QString::number(place(u"A000017"_s)));
        EXPECT_EQ(entry[u"statusListCredential"_s].toString(), kPage + u"status-1-"_s + purpose + u".jwt"_s);
    }
    // The credential as the data model's JSON schemas check it (the one the working group
    // publishes and ours with the Recommendation's further MUSTs), and, so each check is seen to
    // bite, the same credential with each of a few things a wallet would refuse.
    const QString schemaCheck = uR"py(
import json, sys
import jsonschema
vc = json.loads(sys.argv[1])
spoiled = {}
spoiled['context'] = dict(vc, **{'@context': ['https://www.w3.org/2018/credentials/v1']})
spoiled['type'] = dict(vc, type=['UniversityDegreeCredential'])
spoiled['validFrom'] = dict(vc, validFrom=vc['validFrom'][:10])
spoiled['status'] = dict(vc, credentialStatus=[{'id': s.get('id')} for s in vc['credentialStatus']])
spoiled['issuer'] = {k: v for k, v in vc.items() if k != 'issuer'}
checked = {}
for path in sys.argv[2].split(':'):
    validator = jsonschema.Draft202012Validator(json.load(open(path)))
    def errors(document):
        return sorted('/'.join(str(p) for p in e.absolute_path) + ': ' + e.message for e in validator.iter_errors(document))
    checked[path.rsplit('/', 1)[-1]] = {'errors': errors(vc), 'spoiled': {k: errors(v) for k, v in spoiled.items()}}
print(json.dumps(checked))
)py"_s;
    const QJsonObject checked = test::runPython(
        schemaCheck, {QString::fromUtf8(QJsonDocument(vc).toJson()), QStringLiteral(SCROLLWISE_VC_SCHEMAS)});
    ASSERT_EQ(checked.keys(), (QStringList{u"vc2-credential.schema.json"_s, u"w3c-vc2-credential.schema.json"_s}))
        << QJsonDocument(checked).toJson().toStdString();
    for (const QString &schema : checked.keys()) {
        const QJsonObject result = checked[schema].toObject();
        EXPECT_EQ(result[u"errors"_s].toArray(), QJsonArray())
            << schema.toStdString() << ": " << QJsonDocument(result).toJson().toStdString();
        const QJsonObject spoiled = result[u"spoiled"_s].toObject();
        for (const QString &what : {u"context"_s, u"type"_s, u"validFrom"_s, u"status"_s, u"issuer"_s})
            EXPECT_FALSE(spoiled[what].toArray().isEmpty()) << what.toStdString() << " passed " << schema.toStdString();
    }

    // Changed after signing, it is refused.
    QFile file(QDir(folder).filePath(u"A000018.jwt"_s));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray jws = file.readAll().trimmed();
    file.close();
    jws.replace(jws.indexOf('.') + 30, 1, jws.at(jws.indexOf('.') + 30) == 'A' ? "B" : "A");
    writeWholeFile(file.fileName(), jws);
    EXPECT_EQ(test::runPython(readCredential, {publicKey, file.fileName()}),
              (QJsonObject{{u"signature"_s, u"forged"_s}}));

    run = batch({u"credential"_s, u"--regno"_s, u"R9"_s, u"--out"_s, folder}, kPassphrase + '\n');
    EXPECT_TRUE(test::endedWith(run, 1, u"No printed certificate of Reg. No. R9"_s));
}

INSTANTIATE_TEST_SUITE_P(Backends, PublicationTest, test::bothBackends(), test::backendName);

} // namespace
