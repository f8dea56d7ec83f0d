// SPDX-License-Identifier: GPL-3.0-or-later
// The signed verification code: printed on every sheet as a link to the verification
// page, read back from the page image by an independent reader (zbar), checked with
// the public key alone, and told revoked, superseded or suspended by the register.
#include "printingfixture.h"

#include "certificates/layouts/verificationcode.h"
#include "certificates/printing/stationeryledger.h"
#include "certificates/printing/statusregister.h"
#include "shell/core/filewrite.h"
#include "shell/core/institutionconfig.h"
#include "shell/core/issuerkey.h"
#include "shell/core/stoperror.h"

#include <QStandardPaths>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

const QByteArray kPassphrase = "correct horse battery staple";
const QString kPage = u"https://verify.varada.example/"_s;

class SignedCodeTest : public test::PrintingFixture
{
protected:
    void SetUp() override
    {
        test::PrintingFixture::SetUp();
        if (IsSkipped())
            return;
        ASSERT_NO_FATAL_FAILURE(useSignedCode(kPassphrase, kPage));
    }
    QByteArray publicKey() const { return *IssuerKey::publicKey(m_session.folder); }

    // Prints the four candidates with the key's passphrase typed once.
    void printSigned()
    {
        m_prompter.answerInput(QString::fromUtf8(kPassphrase));
        printAll();
    }

    // The text of the code on a printed sheet, as a phone reads it from the page: the
    // PDF rendered at 150 dpi by poppler, decoded by zbar.
    QString scan(const QString &certNo, const QString &regno) const
    {
        const QString pdf = QDir(m_out.path()).filePath(certNo + u'_' + regno + u".pdf"_s);
        EXPECT_TRUE(QFileInfo::exists(pdf)) << pdf.toStdString();
        const QString png = QDir(m_out.path()).filePath(certNo);
        const test::BatchRun render =
            test::runProgram(u"pdftoppm"_s, {u"-r"_s, u"150"_s, u"-png"_s, u"-singlefile"_s, pdf, png});
        EXPECT_EQ(render.exitCode, 0) << render.both();
        const test::BatchRun read = test::runProgram(u"zbarimg"_s, {u"--quiet"_s, u"--raw"_s, png + u".png"_s});
        EXPECT_EQ(read.exitCode, 0) << read.both();
        return read.out.trimmed();
    }

    static QString changedAt(QString text, qsizetype at)
    {
        text[at] = text[at] == u'A' ? u'B' : u'A';
        return text;
    }
};

TEST_P(SignedCodeTest, ThePrintedCodeScansToALinkThatVerifiesWithThePublicKeyAlone)
{
    if (QStandardPaths::findExecutable(u"zbarimg"_s).isEmpty())
        GTEST_FAIL() << "zbarimg (zbar-tools) is not installed: run scripts/install-deps";
    printSigned();
    const QString text = scan(u"A000017"_s, u"R1"_s);
    ASSERT_TRUE(text.startsWith(kPage + u'#')) << text.toStdString();

    const CodeVerdict genuine = VerificationCode::verifySigned(publicKey(), text);
    ASSERT_EQ(genuine.status, CodeVerdict::Status::Genuine) << genuine.text.toStdString();
    const CertificateClaims &c = *genuine.claims;
    EXPECT_EQ(c.certNo, u"A000017"_s);
    EXPECT_EQ(c.regno, u"R1"_s);
    EXPECT_EQ(c.name, u"Name R1"_s);
    EXPECT_EQ(c.degree, u"Bachelor of Arts"_s);
    EXPECT_EQ(c.issued, QDate(2026, 3, 12));
    // The place the register gave the sheet before it went to the printer.
    const auto entry = StatusRegister(m_session.db()).find(u"A000017"_s);
    ASSERT_TRUE(entry);
    EXPECT_EQ(c.statusList, entry->list);
    EXPECT_EQ(c.statusIndex, entry->index);
    EXPECT_GE(c.statusIndex, 0);
    EXPECT_LT(c.statusIndex, StatusRegister::kListSize);
    // The fragment alone, as the page reads it, is the same code.
    EXPECT_TRUE(VerificationCode::verifySigned(publicKey(), text.section(u'#', 1)).signatureGood);

    // One changed character anywhere (the claims, the signature, the last character whose
    // spare bits decoding drops) and the code is not genuine.
    const qsizetype start = text.indexOf(u'#') + 1;
    for (const qsizetype at : {start, start + 20, qsizetype(text.size() - 40), qsizetype(text.size() - 1)}) {
        const CodeVerdict forged = VerificationCode::verifySigned(publicKey(), changedAt(text, at));
        EXPECT_EQ(forged.status, CodeVerdict::Status::NotGenuine) << at;
        EXPECT_FALSE(forged.claims) << at;
    }
    // Another institution's key, or the claims re-signed by it, prove nothing here.
    AppFolder other(m_out.filePath(u"other"_s));
    IssuerKey::create(other, "x");
    EXPECT_FALSE(VerificationCode::verifySigned(*IssuerKey::publicKey(other), text).signatureGood);
    EXPECT_FALSE(
        VerificationCode::verifySigned(publicKey(), VerificationCode::signedPayload(c, IssuerKey::unlock(other, "x")))
            .signatureGood);
    EXPECT_EQ(VerificationCode::verifySigned(publicKey(), u"hello"_s).status, CodeVerdict::Status::NotGenuine);
}

TEST_P(SignedCodeTest, TheRegisterSaysWhetherTheCertificateStillStands)
{
    printSigned();
    Database &db = m_session.db();
    const auto code = [&](const QString &regno) {
        const auto claims = [&] {
            CertificateClaims c;
            const auto entry = StatusRegister(db).find(certNo(regno));
            c.certNo = certNo(regno);
            c.regno = regno;
            c.statusList = entry->list;
            c.statusIndex = entry->index;
            return c;
        }();
        return VerificationCode::signedPayload(claims, IssuerKey::unlock(m_session.folder, kPassphrase));
    };
    const QString r1 = code(u"R1"_s);
    const QString r2 = code(u"R2"_s);
    EXPECT_EQ(VerificationCode::verifySigned(publicKey(), r1, db).status, CodeVerdict::Status::Genuine);
    // Every printed sheet has a place of its own.
    EXPECT_EQ(value(u"select count(distinct findex) from certstatus"_s), u"4"_s);

    // Cancelled: revoked with the reason, in the cancellation's own transaction.
    StationeryLedger ledger(db, m_session.convoCode, u"CLERK"_s, u"WS1"_s);
    {
        WriteScope scope(db);
        ASSERT_TRUE(ledger.cancel(u"A000017"_s, u"R1"_s, u"BA"_s, u"Name misspelt"_s));
        scope.commit();
    }
    CodeVerdict revoked = VerificationCode::verifySigned(publicKey(), r1, db);
    EXPECT_EQ(revoked.status, CodeVerdict::Status::Revoked);
    EXPECT_TRUE(revoked.signatureGood);
    EXPECT_TRUE(revoked.text.endsWith(u": cancelled: Name misspelt."_s)) << revoked.text.toStdString();
    // A cancellation that does not happen revokes nothing.
    {
        WriteScope scope(db);
        EXPECT_FALSE(ledger.cancel(u"A000018"_s, u"R4"_s, u"BA"_s, u"wrong holder"_s));
        scope.commit();
    }
    EXPECT_EQ(VerificationCode::verifySigned(publicKey(), r2, db).status, CodeVerdict::Status::Genuine);

    // A spoiled rank certificate of the same candidate and degree is another kind of sheet.
    {
        WriteScope scope(db);
        StatusRegister(db).revoke(u"RK000001"_s, u"R1"_s, u"BA"_s, u"spoiled sheet"_s, u"RC"_s);
        scope.commit();
    }
    // Printed again on a new sheet: the old number is superseded by the new one.
    m_prompter.answerInput(QString::fromUtf8(kPassphrase));
    m_prompter.answer(PromptAnswer::Yes);
    PrintSelection again = selection();
    again.startNumber = u"40"_s;
    ASSERT_EQ(print(again).printed, 1) << m_prompter.texts().join(u" | "_s).toStdString();
    revoked = VerificationCode::verifySigned(publicKey(), r1, db);
    EXPECT_TRUE(revoked.text.contains(u"superseded by No. A000040 (cancelled: Name misspelt)"_s))
        << revoked.text.toStdString();
    EXPECT_EQ(StatusRegister(db).find(u"RK000001"_s)->supersededBy, u""_s);

    // On hold, and the hold lifted.
    StatusRegister status(db, u"ADMIN"_s);
    ASSERT_TRUE(status.hold(certNo(u"R2"_s), true, u"fee dispute"_s));
    const CodeVerdict held = VerificationCode::verifySigned(publicKey(), r2, db);
    EXPECT_EQ(held.status, CodeVerdict::Status::Suspended);
    EXPECT_TRUE(held.text.endsWith(u": fee dispute."_s)) << held.text.toStdString();
    ASSERT_TRUE(status.hold(certNo(u"R2"_s), false, {}));
    EXPECT_EQ(VerificationCode::verifySigned(publicKey(), r2, db).status, CodeVerdict::Status::Genuine);
    EXPECT_FALSE(status.hold(u"A999999"_s, true, u"no such sheet"_s));
}

// The depository's PDF copies carry the same code; a certificate printed before the status
// lists existed gets its place when its copy is written.
TEST_P(SignedCodeTest, PlacesGoOnTheFirstListLessThanHalfFullEvenWhileOneRegisterFillsIt)
{
    // List 1 one place short of half full, written as another run would have left it.
    const QString digit = u"(select 0 as d union all select 1 union all select 2 union all select 3 union all "
                          "select 4 union all select 5 union all select 6 union all select 7 union all select 8 "
                          "union all select 9)"_s;
    m_session.db().exec(u"insert into certstatus (fcertno, flist, findex, fregno, fdegree, frevoked, fsuspended, "
                        "fkind) select n, 1, n, 'R', 'BA', 'F', 'F', 'D' from (select a.d + 10 * b.d + 100 * c.d + "
                        "1000 * e.d + 10000 * f.d as n from "_s
                        + digit + u" a, "_s + digit + u" b, "_s + digit + u" c, "_s + digit + u" e, "_s + digit
                        + u" f) numbers where n < "_s + QString::number(StatusRegister::kListSize / 2 - 1));

    StatusRegister run(m_session.db(), u"ADMIN"_s);
    EXPECT_EQ(run.assign(u"X1"_s, u"R1"_s, u"BA"_s).list, 1);
    EXPECT_EQ(run.assign(u"X2"_s, u"R2"_s, u"BA"_s).list, 2) << "the register counts the places it gives";
    EXPECT_EQ(run.assign(u"X3"_s, u"R3"_s, u"BA"_s).list, 2);
    EXPECT_EQ(StatusRegister(m_session.db()).assign(u"X4"_s, u"R4"_s, u"BA"_s).list, 2);
    EXPECT_EQ(run.assign(u"X1"_s, u"R1"_s, u"BA"_s).list, 1) << "a number keeps the place it has";
}

TEST_P(SignedCodeTest, APdfCopyCarriesTheCodeAndGivesAnOlderCertificateItsPlace)
{
    printSigned();
    m_session.db().exec(u"delete from certstatus where fcertno = 'A000018'"_s);
    PrintSelection copies = selection();
    copies.mode = PrintMode::Pdf;
    copies.regnoFrom = copies.regnoTo = u"R2"_s;
    m_prompter.answerInput(QString::fromUtf8(kPassphrase));
    EXPECT_EQ(print(copies).copies, 1) << m_prompter.texts().join(u" | "_s).toStdString();
    const auto entry = StatusRegister(m_session.db()).find(u"A000018"_s);
    ASSERT_TRUE(entry);

    const QStringList pdfs = QDir(m_session.folder.filePath(u"CSV/DCPDF"_s)).entryList({u"*R2*.pdf"_s});
    ASSERT_EQ(pdfs.size(), 1);
    const QString png = m_out.filePath(u"copy"_s);
    test::runProgram(u"pdftoppm"_s, {u"-r"_s, u"150"_s, u"-png"_s, u"-singlefile"_s,
                                     m_session.folder.filePath(u"CSV/DCPDF/"_s + pdfs.front()), png});
    const test::BatchRun read = test::runProgram(u"zbarimg"_s, {u"--quiet"_s, u"--raw"_s, png + u".png"_s});
    const CodeVerdict copy = VerificationCode::verifySigned(publicKey(), read.out.trimmed(), m_session.db());
    ASSERT_EQ(copy.status, CodeVerdict::Status::Genuine) << read.both();
    EXPECT_EQ(copy.claims->certNo, u"A000018"_s);
    EXPECT_EQ(copy.claims->issued, QDate(2026, 3, 12));
    EXPECT_EQ(copy.claims->statusIndex, entry->index);
}

TEST_P(SignedCodeTest, AWrongOrMissingPassphraseStopsTheRunBeforeASheetIsUsed)
{
    for (const std::optional<QString> &typed : {std::optional<QString>(u"guess"_s), std::optional<QString>()}) {
        m_prompter.answerInput(typed);
        print(selection());
        EXPECT_TRUE(registerRows().isEmpty());
        EXPECT_EQ(certNo(u"R1"_s), u""_s);
    }
    const QString said = m_prompter.texts().join(u'\n');
    EXPECT_TRUE(said.contains(u"The passphrase of the institution's signing key is wrong."_s)) << said.toStdString();
    EXPECT_TRUE(said.contains(u"No passphrase was given: nothing is signed."_s)) << said.toStdString();
}

TEST_P(SignedCodeTest, TheKeyPairIsKeptSealedAndNeverReplacedUnasked)
{
    const QString secret = m_session.folder.filePath(QString::fromLatin1(IssuerKey::kSecretFile));
    QFile file(secret);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray sealed = file.readAll();
    file.close();
    // The passphrase opens it; the file holds neither the seed nor anything readable of it.
    const IssuerKey key = IssuerKey::unlock(m_session.folder, kPassphrase);
    EXPECT_EQ(key.publicKey(), publicKey());
    EXPECT_FALSE(sealed.contains(base64Url(key.publicKey())));
    EXPECT_THROW(IssuerKey::create(m_session.folder, "another"), StopError);
    EXPECT_EQ(IssuerKey::unlock(m_session.folder, kPassphrase).publicKey(), publicKey());

    // A damaged key file, or a public key of another pair put beside it, is named.
    writeWholeFile(secret, sealed.left(sealed.size() - 10) + '\n');
    EXPECT_THROW(IssuerKey::unlock(m_session.folder, kPassphrase), StopError);
    writeWholeFile(secret, sealed);
    const QString pub = m_session.folder.filePath(QString::fromLatin1(IssuerKey::kPublicFile));
    writeWholeFile(pub, base64Url(QByteArray(32, 'k')) + '\n');
    EXPECT_THROW(IssuerKey::unlock(m_session.folder, kPassphrase), StopError);
    EXPECT_THROW(IssuerKey::readPublicKey(u"not-a-key"_s), StopError);

    // Replaced when asked: the old key's codes no longer verify with the new public key.
    IssuerKey::create(m_session.folder, "new passphrase", true);
    EXPECT_NE(IssuerKey::unlock(m_session.folder, "new passphrase").publicKey(), key.publicKey());
}

// The command line: the key pair made by ADMIN, a code checked with nothing but the public key.
TEST_P(SignedCodeTest, VerifyCodeNeedsNoDatabaseAndSaysMoreLoggedIn)
{
    printSigned();
    const QString pub = m_session.folder.filePath(QString::fromLatin1(IssuerKey::kPublicFile));
    const QString key = QString::fromLatin1(base64Url(publicKey()));
    CertificateClaims c;
    c.certNo = certNo(u"R2"_s);
    c.regno = u"R2"_s;
    c.name = u"Name R2"_s;
    const QString text =
        kPage + u'#' + VerificationCode::signedPayload(c, IssuerKey::unlock(m_session.folder, kPassphrase));

    // Another folder, no database at all: the key given on the line.
    const QString empty = m_out.filePath(u"nothing"_s);
    test::BatchRun run = test::runBatch({u"--folder"_s, empty, u"verify-code"_s, u"--public-key"_s, key, text});
    EXPECT_EQ(run.exitCode, 0) << run.both();
    EXPECT_TRUE(run.out.startsWith(u"GENUINE: certificate A000018 of Reg. No. R2, Name R2"_s)) << run.both();
    run = test::runBatch({u"--folder"_s, empty, u"verify-code"_s, u"--public-key"_s, pub, changedAt(text, 50)});
    EXPECT_TRUE(test::endedWith(run, 1, u"NOT GENUINE"_s));
    run = test::runBatch({u"--folder"_s, empty, u"verify-code"_s, text});
    EXPECT_TRUE(test::endedWith(run, 1, u"No public key to check with"_s));

    // Logged in: the register's word too.
    run = batch({u"verify-code"_s, text});
    EXPECT_EQ(run.exitCode, 0) << run.both();
    EXPECT_TRUE(run.out.contains(u"the certificate stands"_s)) << run.both();

    // Only ADMIN makes the pair; the passphrase is typed twice.
    run = batch({u"keys"_s, u"--new"_s, u"--replace"_s}, "a\na\n");
    EXPECT_TRUE(test::endedWith(run, 1, u"Only ADMIN"_s));
    run = batch({u"keys"_s});
    EXPECT_EQ(run.exitCode, 0) << run.both();
    EXPECT_TRUE(run.out.contains(key)) << run.both();
    run = test::runBatch({u"--folder"_s, m_session.folder.root(), u"--user"_s, u"ADMIN"_s, u"--password"_s, u"ADMIN"_s,
                          u"keys"_s, u"--new"_s, u"--replace"_s},
                         "new one\nnew one\n");
    ASSERT_EQ(run.exitCode, 0) << run.both();
    EXPECT_EQ(value(u"select count(*) from audit where faction = 'keys' and fold = ?"_s, {key}), u"1"_s);
    // Codes signed with the key replaced no longer verify.
    EXPECT_FALSE(VerificationCode::verifySigned(publicKey(), text).signatureGood);
}

INSTANTIATE_TEST_SUITE_P(Backends, SignedCodeTest, test::bothBackends(), test::backendName);

} // namespace
