// SPDX-License-Identifier: GPL-3.0-or-later
// Size and speed of signed PDF copies, printed as figures:
//   the demonstration folder's BA copies (institution 003's layout, photograph, seal,
//   signature, watermark) signed N times over with its throw-away certificate through
//   PdfSigner (PoDoFo writes the field, NSS signs): signed size against unsigned size,
//   milliseconds per copy; and, when the bench was built with poppler-qt6, the same
//   copies signed by Poppler::PDFConverter::sign for comparison.
//   Checking a signed copy (verify-pdf, the uploads) is timed too.
// Usage: signing_bench [N]   (200 signatures when not given)
#include "app/demo/demofolder.h"
#include "certificates/printing/printingrun.h"
#include "certificates/printing/sheetoutput.h"
#include "shell/batch/consoleprompter.h"
#include "shell/core/headless.h"
#include "shell/core/inifile.h"
#include "shell/session.h"
#include "shell/db/connectionsettings.h"
#include "shell/db/connector.h"
#include "shell/signing/pdfsignature.h"
#include "shell/startup/startup.h"
#include "demosession.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextStream>

#ifdef SCROLLWISE_BENCH_POPPLER
#include <poppler-form.h>
#include <poppler-qt6.h>
#endif

#include <cstdio>

using namespace Qt::StringLiterals;
using namespace sw;

namespace {

class Demo final : public Prompter
{
public:
    void message(const QString &, const QString &, PromptIcon) override { }
    PromptAnswer ask(const QString &, const QString &, PromptIcon, PromptButtons, PromptAnswer) override
    {
        return PromptAnswer::Yes;
    }
    std::optional<QString> input(const QString &, const QString &, const QString &) override { return u"DEMO"_s; }
    std::optional<QString> chooseFile(const QString &, const QString &, const QString &, FileMode) override
    {
        return {};
    }
};

void report(const char *what, int signatures, qint64 unsignedBytes, qint64 signedBytes, double seconds)
{
    std::printf("%-34s %5d signatures: %7.1f ms per copy; unsigned %7.1f KB, signed %7.1f KB (x %.2f)\n", what,
                signatures, 1000 * seconds / signatures, unsignedBytes / 1024.0 / signatures,
                signedBytes / 1024.0 / signatures, double(signedBytes) / double(unsignedBytes));
}

} // namespace

int main(int argc, char **argv)
{
    prepareHeadlessEnvironment();
    QGuiApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 200;

    QTemporaryDir dir;
    const AppFolder folder(dir.filePath(u"app"_s));
    Session session = bench::demoSession(folder);

    Demo demo;
    PrintSelection s;
    s.degree = u"BA"_s;
    s.collegeFrom = s.regnoFrom = u"0"_s;
    s.certType = u"1"_s;
    s.mode = PrintMode::Pdf;
    s.missingPhotographsAccepted = true;
    FolderOutput unused(folder.filePath(u"CSV/DCPDF"_s));
    PrintingRun(session, demo).run(s, unused);
    std::vector<QByteArray> copies;
    const QDir copiesDir(folder.filePath(u"CSV/DCPDF"_s));
    for (const QString &name : copiesDir.entryList({u"*.pdf"_s}, QDir::Files, QDir::Name)) {
        QFile f(copiesDir.filePath(name));
        if (f.open(QIODevice::ReadOnly))
            copies.push_back(f.readAll());
    }
    if (copies.empty()) {
        std::printf("no PDF copies were written; nothing to sign\n");
        return 1;
    }
    const SignatureSettings settings = SignatureSettings::load(folder);
    if (!settings.configured()) {
        std::printf("the demonstration folder has no certificate (certutil missing?); nothing to sign\n");
        return 1;
    }

    {
        PdfSigner signer(settings, demo);
        signer.open();
        qint64 before = 0, after = 0;
        QElapsedTimer wall;
        wall.start();
        for (int i = 0; i < count; ++i) {
            const QByteArray &copy = copies[std::size_t(i) % copies.size()];
            before += copy.size();
            after += signer.sign(copy).size();
        }
        report("PoDoFo 0.9 + NSS (PdfSigner)", count, before, after, wall.nsecsElapsed() / 1e9);

        // Checking, as verify-pdf and the uploads do before listing a copy.
        std::vector<QByteArray> signedCopies;
        for (const QByteArray &copy : copies)
            signedCopies.push_back(signer.sign(copy));
        int valid = 0;
        QElapsedTimer checking;
        checking.start();
        for (int i = 0; i < count; ++i)
            valid += verifyPdfSignature(signedCopies[std::size_t(i) % signedCopies.size()], settings.database).valid;
        std::printf("%-34s %5d checks:     %7.1f ms per copy (%d valid)\n", "checking a signature", count,
                    checking.nsecsElapsed() / 1e6 / count, valid);
    }

#ifdef SCROLLWISE_BENCH_POPPLER
    {
        // The same certificate through poppler; the PIN is given with each signature.
        const QString output = dir.filePath(u"poppler_signed.pdf"_s);
        qint64 before = 0, after = 0;
        const int n = std::min(count, 50);
        QElapsedTimer wall;
        wall.start();
        for (int i = 0; i < n; ++i) {
            const QByteArray &copy = copies[std::size_t(i) % copies.size()];
            before += copy.size();
            std::unique_ptr<Poppler::Document> document = Poppler::Document::loadFromData(copy);
            std::unique_ptr<Poppler::PDFConverter> converter = document->pdfConverter();
            converter->setOutputFileName(output);
            Poppler::PDFConverter::NewSignatureData data;
            data.setCertNickname(settings.nickname);
            data.setPassword(u"DEMO"_s);
            data.setPage(0);
            data.setBoundingRectangle(QRectF(0.06, 0.92, 0.33, 0.06));
            data.setSignatureText(u"Digitally signed by Demonstration Registrar\nReason: "_s + settings.reason);
            if (!converter->sign(data)) {
                std::printf("poppler-qt6: signing failed\n");
                break;
            }
            after += QFileInfo(output).size();
        }
        report("poppler-qt6 PDFConverter::sign", n, before, after, wall.nsecsElapsed() / 1e9);
    }
#else
    std::printf("poppler-qt6 PDFConverter::sign: not built in (libpoppler-qt6-dev absent), no comparison\n");
#endif
    return 0;
}
