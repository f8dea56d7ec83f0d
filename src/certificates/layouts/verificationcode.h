// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "shell/core/appfolder.h"
#include "shell/core/institutionconfig.h"
#include "shell/document/document.h"

#include <QImage>
#include <QString>
#include <optional>

namespace sw {

class Database;

// The optional verification code of a certificate: a QR code holding the
// certificate number, the register number and a keyed signature (HMAC-SHA256 with
// the institution's secret), so a scanned code can be told genuine. Configured in
// the [VERIFICATION] section of the institution file (Left, Top and Size in inches,
// Secret); without all four the certificates stay exactly as the stationery expects.
class VerificationCode
{
public:
    static std::optional<VerificationCode> fromConfig(const InstitutionConfig &config);
    VerificationCode(QString secret, QRectF inches);

    // "SW1|CERTNO|REGNO|SIGNATURE": the text the code holds.
    QString payload(const QString &certNo, const QString &regno) const;
    // The code drawn black on white, one pixel a module, with the quiet zone.
    static QImage image(const QString &text);
    // Puts the code on the sheet at its place (the picture is kept under Output/qr).
    void addTo(Document &doc, const AppFolder &folder, const QString &certNo, const QString &regno) const;

    struct Verdict
    {
        bool genuine = false;
        QString text; // what to tell the person who scanned it
    };
    // Whether a scanned text is a genuine code, and whose certificate it is.
    Verdict verify(const Database &db, const QString &scanned) const;

private:
    QString signature(const QString &certNo, const QString &regno) const;

    QString m_secret;
    QRectF m_inches;
};

} // namespace sw
