// SPDX-License-Identifier: GPL-3.0-or-later
// The demonstration folder's road to DigiLocker through the command-line tool, as a
// clerk takes it: sign the copies (the PIN typed once), check them with pdfsig and with
// verify-pdf, spoil one, and see both verify-pdf and the upload refuse it.
#include "app/demo/throwawaysigner.h"
#include "support/batchrun.h"
#include "support/signing.h"

#include <QDir>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

TEST(DemoSigning, SignedCopiesAreValidAndASpoiledOneIsRefusedEverywhere)
{
    if (!sw::ThrowAwaySigner::certutilAvailable())
        GTEST_SKIP() << "certutil (libnss3-tools) is not installed";
    QTemporaryDir dir;
    const QString demo = dir.filePath(u"demo"_s);
    ASSERT_EQ(sw::test::runBatch({u"demo"_s, demo}).exitCode, 0);
    const QStringList login = {u"--folder"_s,   demo,       u"--user"_s,  u"ADMIN"_s,
                               u"--password"_s, u"ADMIN"_s, u"--convo"_s, u"C025"_s};

    // No PIN typed: the run says how to give it, and writes no copy.
    const QStringList pdfSign = {u"--yes"_s, u"pdf"_s, u"--degree"_s, u"BSC"_s, u"--type"_s, u"1"_s, u"--sign"_s};
    const sw::test::BatchRun noPin = sw::test::runBatch(login + pdfSign);
    EXPECT_EQ(noPin.exitCode, 1) << noPin.both();
    EXPECT_TRUE(noPin.err.contains(u"type it on standard input"_s)) << noPin.both();
    EXPECT_TRUE(QDir(demo + u"/CSV/DCPDF"_s).isEmpty());

    const sw::test::BatchRun sign = sw::test::runBatch(login + pdfSign, "DEMO\nDEMO\n");
    ASSERT_EQ(sign.exitCode, 0) << sign.both();
    EXPECT_TRUE(sign.err.contains(u"The PIN of"_s)) << sign.both();
    const QDir copies(demo + u"/CSV/DCPDF"_s);
    const QStringList signedCopies = copies.entryList({u"*_signed.pdf"_s}, QDir::Files, QDir::Name);
    ASSERT_GE(signedCopies.size(), 2);
    EXPECT_TRUE(sign.out.contains(u"signed: "_s + QString::number(signedCopies.size()))) << sign.both();
    QFile log(demo + u"/mcverifypdf.log"_s);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(log.readAll()).count(u" SIGNED "_s), signedCopies.size());

    QStringList paths;
    for (const QString &name : signedCopies) {
        paths.append(copies.filePath(name));
        const QString report = sw::test::pdfsig(paths.back(), demo + u"/NSS"_s);
        EXPECT_TRUE(report.contains(u"Signature is Valid."_s)) << name.toStdString() << report.toStdString();
        EXPECT_TRUE(report.contains(u"Certificate is Trusted."_s)) << name.toStdString() << report.toStdString();
    }
    const sw::test::BatchRun allValid = sw::test::runBatch(QStringList{u"--folder"_s, demo, u"verify-pdf"_s} + paths);
    EXPECT_EQ(allValid.exitCode, 0) << allValid.both();
    EXPECT_EQ(allValid.out.count(u": valid: signed by Demonstration Registrar on "_s), paths.size()) << allValid.both();

    // Without a certificate database the signer cannot be checked: a stranger's certificate would
    // read the same, so the copy is not told valid and the command says so.
    const QString bare = dir.filePath(u"bare"_s);
    ASSERT_EQ(sw::test::runBatch({u"demo"_s, bare}).exitCode, 0);
    sw::IniFile ini(bare + u"/Institution.ini"_s, sw::IniFile::Encoding::Utf8);
    ini.load();
    ini.setValue(u"SIGNING"_s, u"Database"_s, QString());
    ASSERT_TRUE(ini.save());
    const sw::test::BatchRun unchecked =
        sw::test::runBatch(QStringList{u"--folder"_s, bare, u"verify-pdf"_s, paths.front()});
    EXPECT_EQ(unchecked.exitCode, 1) << unchecked.both();
    EXPECT_TRUE(unchecked.err.contains(u": UNCHECKED: signed by Demonstration Registrar on "_s)) << unchecked.both();
    EXPECT_TRUE(unchecked.err.contains(u"the signer is unchecked"_s)) << unchecked.both();

    // A copy changed after signing.
    QFile first(paths.front());
    ASSERT_TRUE(first.open(QIODevice::ReadOnly));
    const QByteArray good = first.readAll();
    first.close();
    ASSERT_TRUE(sw::test::writeBytes(paths.front(), sw::test::spoiled(good, sw::test::Spoil::FlipSignedByte)));
    EXPECT_FALSE(sw::test::pdfsig(paths.front(), demo + u"/NSS"_s).contains(u"Signature is Valid."_s));
    const sw::test::BatchRun oneBad = sw::test::runBatch(QStringList{u"--folder"_s, demo, u"verify-pdf"_s} + paths);
    EXPECT_EQ(oneBad.exitCode, 1);
    EXPECT_TRUE(
        oneBad.err.contains(signedCopies.front() + u": NOT VALID: the document was changed after it was signed"_s))
        << oneBad.both();

    const QString zip = dir.filePath(u"upload.zip"_s);
    const sw::test::BatchRun upload =
        sw::test::runBatch(login
                           + QStringList{u"nad-export"_s, u"--layout"_s, u"digilocker"_s, u"--degree-from"_s, u"BSC"_s,
                                         u"--degree-to"_s, u"BSC"_s, u"--out"_s, zip});
    // The spoiled copy is refused: the rest are written, and a script is told by the exit code.
    EXPECT_EQ(upload.exitCode, 1) << upload.both();
    EXPECT_TRUE(upload.both().find(QString::number(paths.size() - 1).toStdString() + " certificate(s) written to")
                != std::string::npos)
        << upload.both();
    EXPECT_TRUE(upload.err.contains(u"the signature of "_s + signedCopies.front() + u" is not valid"_s))
        << upload.both();
    EXPECT_TRUE(QFile::exists(zip));
}

} // namespace
