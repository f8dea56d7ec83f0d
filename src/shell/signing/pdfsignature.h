// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/appfolder.h"

#include <QDateTime>
#include <QRectF>
#include <QString>

#include <memory>
#include <optional>

namespace sw {

class InstitutionConfig;
class Prompter;

// How the institution signs its PDF copies: the [SIGNING] section of Institution.ini.
// The key stays in an NSS certificate database (or on a PKCS#11 token that database
// knows), never in a file of ours; its PIN is asked for and kept in memory only.
struct SignatureSettings
{
    QString database; // folder of the NSS database; relative paths are under the application folder
    QString nickname; // the certificate's nickname ("Token name:nickname" for a token)
    QString suffix;   // added before ".pdf" of the unsigned copy's name
    QRectF boxInches; // the visible signature box, from the page's top-left corner
    int page = 1;     // page of the box, from 1
    QString reason;
    QString location;

    static constexpr const char *kSection = "SIGNING";
    static SignatureSettings load(const AppFolder &folder);
    static SignatureSettings fromConfig(const InstitutionConfig &config, const AppFolder &folder);
    bool configured() const { return !database.isEmpty() && !nickname.isEmpty(); }
    // DC_003_X_F_2025_1.pdf -> DC_003_X_F_2025_1_signed.pdf, in the same folder.
    QString signedPath(const QString &unsignedPath) const;
    bool isSignedName(const QString &fileName) const;
};

// Signs PDF files with the institution's certificate: an incremental update that adds
// a visible signature field (signer, date, reason, location) and a detached PKCS#7
// signature with SHA-256 over the whole file, as PDF readers and the depository check
// it. The PIN of the database or token is asked through the prompter once, at open().
// One signer per run. open() on the GUI thread; sign() may then be called from several
// threads at once, once one call has finished (it sets up the libraries' shared tables).
class PdfSigner
{
public:
    PdfSigner(SignatureSettings settings, Prompter &prompter);
    ~PdfSigner();
    PdfSigner(const PdfSigner &) = delete;
    PdfSigner &operator=(const PdfSigner &) = delete;

    // Opens the database, finds the certificate and its key, and logs in (asking the
    // PIN when the key needs one). Throws StopError saying what is missing or wrong.
    void open();
    // The signer's name as the certificate gives it (its common name).
    QString signerName() const;
    // `pdf` signed, as the bytes of a complete file. Throws StopError.
    QByteArray sign(const QByteArray &pdf, const QDateTime &when = QDateTime::currentDateTime()) const;
    // Signs the file `from` into `to` (written whole or not at all).
    void signFile(const QString &from, const QString &to) const;

    const SignatureSettings &settings() const { return m_settings; }

private:
    struct State;
    SignatureSettings m_settings;
    Prompter &m_prompter;
    std::unique_ptr<State> m_state;
};

// What the check of a signed PDF found.
struct SignatureCheck
{
    bool valid = false; // signed, signature good, certificate trusted, file unchanged since
    QString signer;     // the certificate's common name
    QDateTime signedAt; // the signing time the signature carries
    QString problem;    // why it is not valid; empty when valid
    // "valid: signed by NAME on dd/MM/yyyy hh:mm:ss" or "NOT VALID: PROBLEM".
    QString describe() const;
};

// Checks the last signature of `path`: that the signature matches the bytes it covers,
// that it covers the whole file (nothing was added after signing), and that the signer's
// certificate is trusted by the NSS database `database` (the institution's, from
// Institution.ini; without one, only by the certificates the signature carries).
SignatureCheck verifyPdfSignature(const QString &path, const QString &database = {});
SignatureCheck verifyPdfSignature(const QByteArray &pdf, const QString &database = {});

} // namespace sw
