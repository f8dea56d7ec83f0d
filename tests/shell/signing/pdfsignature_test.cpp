// SPDX-License-Identifier: GPL-3.0-or-later
// Signing and checking PDFs with a throw-away certificate; poppler's pdfsig is the
// independent reader of what was signed.
#include "shell/core/stoperror.h"
#include "support/pdftext.h"
#include "support/scriptedprompter.h"
#include "support/signing.h"
#include "support/stoptext.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

// Failures print texts as texts.
inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }

namespace {

struct SignerTest : ::testing::Test
{
    void SetUp() override
    {
        if (!sw::ThrowAwaySigner::certutilAvailable())
            GTEST_SKIP() << "certutil (libnss3-tools) is not installed";
        signer = sw::test::testSigner();
        settings.database = signer.database;
        settings.nickname = signer.nickname;
        settings.suffix = u"_signed"_s;
        settings.boxInches = QRectF(0.5, 10.75, 2.7, 0.7);
        settings.reason = u"Degree certificate"_s;
        settings.location = u"Suvarnapura"_s;
    }
    QByteArray signedPdf(const QString &text = u"Certificate DC000101"_s)
    {
        prompter.answerInput(signer.pin);
        sw::PdfSigner pdfSigner(settings, prompter);
        pdfSigner.open();
        return pdfSigner.sign(sw::test::smallPdf(text), when);
    }

    // Within the certificate's validity, to the second, as the signature keeps it.
    const QDateTime when = QDateTime::fromSecsSinceEpoch(QDateTime::currentSecsSinceEpoch());
    sw::ThrowAwaySigner signer;
    sw::SignatureSettings settings;
    sw::test::ScriptedPrompter prompter;
    QTemporaryDir dir;
};

TEST_F(SignerTest, ASignedCopyIsValidForPdfsigAndForTheCheckAndShowsItsBox)
{
    const QByteArray pdf = signedPdf();
    ASSERT_EQ(prompter.shown().size(), 1u) << "the PIN is asked once";
    EXPECT_TRUE(prompter.shown()[0].text.contains(u"\"Registrar\""_s));
    const QString path = dir.filePath(u"copy_signed.pdf"_s);
    ASSERT_TRUE(sw::test::writeBytes(path, pdf));

    const QString report = sw::test::pdfsig(path);
    for (const QString &says : {u"Signature Validation: Signature is Valid."_s, u"Total document signed"_s,
                                u"adbe.pkcs7.detached"_s, u"SHA-256"_s, u"Common Name: The Registrar"_s})
        EXPECT_TRUE(report.contains(says)) << says.toStdString() << " in\n" << report.toStdString();

    const sw::SignatureCheck check = sw::verifyPdfSignature(path, signer.database);
    EXPECT_TRUE(check.valid) << check.problem.toStdString();
    EXPECT_EQ(check.signer, u"The Registrar"_s);
    EXPECT_EQ(check.signedAt, when);

    // The visible box: its four lines where the page shows them.
    const QString page = sw::test::pdfLayoutText(path);
    const QString date = u"Date: "_s + when.toString(u"dd/MM/yyyy hh:mm:ss"_s);
    for (const QString &line : QStringList{u"Digitally signed by The Registrar"_s, date,
                                           u"Reason: Degree certificate"_s, u"Location: Suvarnapura"_s})
        EXPECT_TRUE(page.contains(line)) << line.toStdString() << " in\n" << page.toStdString();
}

// OpenSSL, a third reader, takes the signature as strict DER (it writes it back byte for
// byte) and verifies it over the byte ranges the file says it covers.
TEST_F(SignerTest, TheSignatureIsDerThatOpensslVerifiesOverTheSignedRanges)
{
    if (QStandardPaths::findExecutable(u"openssl"_s).isEmpty())
        GTEST_SKIP() << "openssl is not installed";
    const sw::test::SignatureParts parts = sw::test::signatureParts(signedPdf());
    ASSERT_FALSE(parts.cms.isEmpty());
    const QString cms = dir.filePath(u"signature.der"_s), covered = dir.filePath(u"covered.bin"_s);
    ASSERT_TRUE(sw::test::writeBytes(cms, parts.cms) && sw::test::writeBytes(covered, parts.covered));
    struct Run
    {
        int exitCode;
        QByteArray out, err;
    };
    const auto openssl = [](const QStringList &arguments) {
        QProcess p;
        p.start(u"openssl"_s, arguments);
        p.waitForFinished(60000);
        return Run{p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
    };
    const Run verified = openssl({u"cms"_s, u"-verify"_s, u"-binary"_s, u"-inform"_s, u"DER"_s, u"-in"_s, cms,
                                  u"-content"_s, covered, u"-noverify"_s, u"-out"_s, u"/dev/null"_s});
    EXPECT_EQ(verified.exitCode, 0) << verified.err.toStdString();
    EXPECT_TRUE(verified.err.contains("Verification successful")) << verified.err.toStdString();
    const Run written =
        openssl({u"cms"_s, u"-cmsout"_s, u"-inform"_s, u"DER"_s, u"-in"_s, cms, u"-outform"_s, u"DER"_s});
    EXPECT_EQ(written.exitCode, 0) << written.err.toStdString();
    EXPECT_EQ(written.out, parts.cms) << "the signature is not in DER as OpenSSL writes it";

    // One covered byte changed: OpenSSL refuses it.
    QByteArray changed = parts.covered;
    changed[changed.size() / 2] = char(changed[changed.size() / 2] ^ 0x01);
    ASSERT_TRUE(sw::test::writeBytes(covered, changed));
    EXPECT_NE(openssl({u"cms"_s, u"-verify"_s, u"-binary"_s, u"-inform"_s, u"DER"_s, u"-in"_s, cms, u"-content"_s,
                       covered, u"-noverify"_s, u"-out"_s, u"/dev/null"_s})
                  .exitCode,
              0);
}

struct SpoiledCase
{
    const char *name;
    sw::test::Spoil how;
    const char16_t *problem;
};

struct SpoiledCopyTest : SignerTest, ::testing::WithParamInterface<SpoiledCase>
{
};

TEST_P(SpoiledCopyTest, IsRefusedWithItsReason)
{
    const QString path = dir.filePath(u"spoiled.pdf"_s);
    ASSERT_TRUE(sw::test::writeBytes(path, sw::test::spoiled(signedPdf(), GetParam().how)));
    const sw::SignatureCheck check = sw::verifyPdfSignature(path, signer.database);
    EXPECT_FALSE(check.valid);
    EXPECT_TRUE(check.problem.startsWith(QString::fromUtf16(GetParam().problem))) << check.problem.toStdString();
    EXPECT_TRUE(check.describe().startsWith(u"NOT VALID: "_s));
    EXPECT_FALSE(sw::test::pdfsig(path).contains(u"Signature is Valid."_s)
                 && GetParam().how == sw::test::Spoil::FlipSignedByte);
}

INSTANTIATE_TEST_SUITE_P(
    Signatures, SpoiledCopyTest,
    ::testing::Values(SpoiledCase{"ByteChanged", sw::test::Spoil::FlipSignedByte,
                                  u"the document was changed after it was signed"},
                      SpoiledCase{"BytesAppended", sw::test::Spoil::AppendUpdate,
                                  u"the document was changed after it was signed (26 bytes added)"},
                      SpoiledCase{"NoSignature", sw::test::Spoil::DropSignature, u"the document is not signed"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(SignerTest, AnUnsignedOrUnreadableFileIsNotValid)
{
    const QString plain = dir.filePath(u"plain.pdf"_s);
    ASSERT_TRUE(sw::test::writeBytes(plain, sw::test::smallPdf(u"unsigned"_s)));
    EXPECT_EQ(sw::verifyPdfSignature(plain, signer.database).problem, u"the document is not signed"_s);
    const QString junk = dir.filePath(u"junk.pdf"_s);
    ASSERT_TRUE(sw::test::writeBytes(junk, "not a PDF at all"));
    EXPECT_TRUE(
        sw::verifyPdfSignature(junk, signer.database).problem.startsWith(u"the file cannot be read as a PDF"_s));
    EXPECT_TRUE(sw::verifyPdfSignature(dir.filePath(u"absent.pdf"_s), signer.database)
                    .problem.startsWith(u"the file cannot be read"_s));
}

// What stops a signer before the first copy: each says what to put right.
TEST_F(SignerTest, OpeningRefusesAWrongPinAMissingPinAndAnUnknownCertificate)
{
    prompter.answerInput(u"wrong"_s);
    EXPECT_TRUE(
        sw::test::stopText([&] { sw::PdfSigner(settings, prompter).open(); }).startsWith(u"The PIN is wrong"_s));
    prompter.answerInput(std::nullopt);
    EXPECT_EQ(sw::test::stopText([&] { sw::PdfSigner(settings, prompter).open(); }),
              u"No PIN was given: the PDF copies are not signed."_s);
    sw::SignatureSettings unknown = settings;
    unknown.nickname = u"Nobody"_s;
    EXPECT_TRUE(
        sw::test::stopText([&] { sw::PdfSigner(unknown, prompter).open(); }).contains(u"no certificate \"Nobody\""_s));
    sw::SignatureSettings unset;
    EXPECT_TRUE(sw::test::stopText([&] { sw::PdfSigner(unset, prompter).open(); }).contains(u"[SIGNING]"_s));
}

TEST(SignatureSettings, ReadFromTheInstitutionFileWithTheSignedName)
{
    QTemporaryDir dir;
    const sw::AppFolder folder(dir.path());
    sw::IniFile ini(folder.filePath(u"Institution.ini"_s), sw::IniFile::Encoding::Utf8);
    ini.setValue(u"SIGNING"_s, u"Database"_s, u"NSS"_s);
    ini.setValue(u"SIGNING"_s, u"Nickname"_s, u"Registrar"_s);
    ini.setValue(u"SIGNING"_s, u"BoxTop"_s, u"1.5"_s);
    ASSERT_TRUE(ini.save());
    const sw::SignatureSettings s = sw::SignatureSettings::load(folder);
    EXPECT_EQ(s.database, folder.filePath(u"NSS"_s)) << "a relative folder is under the application folder";
    EXPECT_EQ(s.boxInches.top(), 1.5);
    EXPECT_EQ(s.boxInches.left(), 0.5);
    EXPECT_EQ(s.signedPath(u"/x/CSV/DCPDF/DC_003_R1_F_2025_1.pdf"_s), u"/x/CSV/DCPDF/DC_003_R1_F_2025_1_signed.pdf"_s);
    EXPECT_TRUE(s.isSignedName(u"DC_003_R1_F_2025_1_SIGNED.PDF"_s));
    EXPECT_FALSE(s.isSignedName(u"DC_003_R1_F_2025_1.pdf"_s));
}

} // namespace
