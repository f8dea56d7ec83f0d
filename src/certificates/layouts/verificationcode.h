// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/appfolder.h"
#include "shell/core/institutionconfig.h"
#include "shell/core/issuerkey.h"
#include "shell/document/document.h"

#include <QDate>
#include <QImage>
#include <QString>
#include <optional>

namespace sw {

class Database;
class Prompter;
struct AwardRow;
struct CertificateRow;

// What a certificate's signed code says about it: everything a reader needs to tell the
// certificate in hand is the one the institution issued, with no database to ask.
struct CertificateClaims
{
    static constexpr char kVersion = 2; // the first byte of the signed bytes

    QString certNo, regno, name;
    QString degree;      // with its speciality: "BACHELOR OF SCIENCE (PHYSICS)"
    QString className;   // the class, or the award (rank, medal, prize)
    QString convocation; // the convocation's name
    QDate issued;        // the date of issue
    int statusList = 0;  // the certificate's place on the status lists (0: none)
    long long statusIndex = -1;

    static CertificateClaims of(const CertificateRow &row);
    static CertificateClaims of(const AwardRow &row, const QString &award);

    // What is signed: the version byte, then the nine fields in UTF-8 separated by the
    // unit separator (0x1F): number, Reg. No., name, degree, class, convocation, date of
    // issue (yyyy-mm-dd), status list and place.
    QByteArray signedBytes() const;
    static std::optional<CertificateClaims> fromSignedBytes(const QByteArray &bytes);
    // "certificate DC000211 of Reg. No. 2KD0121121, NAME, DEGREE, CLASS, CONVOCATION, issued dd/mm/yyyy"
    QString describe() const;
};

// What the check of a scanned code found.
struct CodeVerdict
{
    enum class Status { Genuine, Revoked, Suspended, NotGenuine };
    Status status = Status::NotGenuine;
    bool signatureGood = false; // signed by the institution (whatever became of it since)
    std::optional<CertificateClaims> claims;
    QString text; // what to tell the person who scanned it
    bool stands() const { return status == Status::Genuine; }
};

// The verification code of a certificate, configured in the [VERIFICATION] section of the
// institution file (Left, Top and Size in inches place it). With PageUrl, the code is a
// link to the verification page whose fragment holds the certificate's claims signed
// with the institution's Ed25519 key (IssuerKey); with only Secret, the older code
// "SW1|CERTNO|REGNO|HMAC" (still read for sheets printed with it). Without either the
// certificates stay exactly as the stationery expects.
class VerificationCode
{
public:
    static std::optional<VerificationCode> fromConfig(const InstitutionConfig &config);
    VerificationCode(QString secret, QRectF inches, QString pageUrl = {});

    // Signed codes (PageUrl set) need the secret key: asks its passphrase once. A code
    // drawn without it (a preview) carries no signature and verifies as NOT GENUINE.
    bool isSigned() const { return !m_pageUrl.isEmpty(); }
    void unlock(const AppFolder &folder, Prompter &prompter);
    bool unlocked() const { return m_key.has_value(); }

    // "SW1|CERTNO|REGNO|SIGNATURE": the older code.
    QString payload(const QString &certNo, const QString &regno) const;
    // The text of the code for `claims`: PageUrl#payload, or the older code.
    QString text(const CertificateClaims &claims) const;
    // The payload alone: base64url of the signed bytes followed by the 64-byte signature.
    static QString signedPayload(const CertificateClaims &claims, const IssuerKey &key);

    // The code drawn black on white, `pixelsPerModule` pixels a module each way, with the
    // quiet zone; one bit a pixel.
    static QImage image(const QString &text, int pixelsPerModule = 1);
    // On a sheet: a module of a one-inch code is then about 24 pixels to the inch of the
    // picture's 100 or so, so a printer that scales the picture without smoothing keeps the
    // modules square, and the picture stays small to compress on every copy.
    static constexpr int kPixelsPerModule = 4;
    // Stops (StopError) when the code would cover the sheet's text: checked before the sheet uses a number.
    void checkPlace(const Document &doc, const QString &certNo) const;
    // Stops (StopError) when the code would cover `points`, where `what` is printed.
    void checkClearOf(const QRectF &points, const QString &what) const;
    // Puts the code holding `text` on the sheet at its place. The place is the caller's to
    // check first (checkPlace).
    void addTo(Document &doc, const QString &text) const;

    // The older code: whether it is genuine, and whose certificate it is.
    struct Verdict
    {
        bool genuine = false;
        QString text;
    };
    Verdict verify(const Database &db, const QString &scanned) const;

    static bool isOlderCode(const QString &scanned) { return scanned.trimmed().startsWith(QStringLiteral("SW1|")); }
    // A signed code (the link, or its fragment alone) checked with the public key alone.
    static CodeVerdict verifySigned(const QByteArray &publicKey, const QString &scanned);
    // The same, and whether the certificate still stands: the status register says
    // whether it was revoked (cancelled, spoiled, superseded) or is suspended.
    static CodeVerdict verifySigned(const QByteArray &publicKey, const QString &scanned, Database &db);

private:
    QString signature(const QString &certNo, const QString &regno) const;
    QRectF box() const; // in points

    QString m_secret;
    QRectF m_inches;
    QString m_pageUrl;
    std::optional<IssuerKey> m_key;
};

} // namespace sw
